#include "problem_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace projectile {
namespace {

std::variant<set_request, std::string> parsed(const std::vector<std::string_view>& arguments) {
  return parse_set_arguments(arguments);
}

TEST(SetArguments, TakesEachOptionInEitherForm) {
  const auto defaults = std::get<set_request>(parsed({}));
  EXPECT_EQ(defaults.set, std::nullopt);
  EXPECT_EQ(defaults.count, 10);
  EXPECT_EQ(defaults.form, set_form::run);

  const auto given = std::get<set_request>(parsed({"--count=10000", "--moodle", "--set", "0"}));
  EXPECT_EQ(given.set, 0U);
  EXPECT_EQ(given.count, 10000);
  EXPECT_EQ(given.form, set_form::moodle);

  const auto sheet = std::get<set_request>(parsed({"--worksheet", "--set=4294967295", "--help"}));
  EXPECT_EQ(sheet.set, 4294967295U);
  EXPECT_EQ(sheet.form, set_form::worksheet);
  EXPECT_TRUE(sheet.help);
}

TEST(SetArguments, NamesWhatIsWrong) {
  struct example {
    std::vector<std::string_view> arguments;
    const char* reason;
  };
  for (const auto& [arguments, reason] : {
           example{{"--count", "0"}, "--count must be a whole number from 1 to 10000, not '0'"},
           example{{"--count=10001"},
                   "--count must be a whole number from 1 to 10000, not '10001'"},
           example{{"--count", " 5"}, "--count must be a whole number from 1 to 10000, not ' 5'"},
           example{{"--set", "-1"}, "--set must be a whole number from 0 to 4294967295, not '-1'"},
           example{{"--set=4294967296"},
                   "--set must be a whole number from 0 to 4294967295, not '4294967296'"},
           example{{"--set"}, "--set needs a value"},
           example{{"--count=3", "--count"}, "--count needs a value"},
           example{{"--set", "1", "--set", "1"}, "--set is given twice"},
           example{{"--count", "1", "--count=1"}, "--count is given twice"},
           example{{"--worksheet", "--moodle"},
                   "--worksheet, --moodle and --figures are one choice: give one of them once"},
           example{{"--figures=x", "--moodle"},
                   "--worksheet, --moodle and --figures are one choice: give one of them once"},
           example{{"--figures="}, "--figures needs a folder"},
           example{{"--moodle=yes"}, "--moodle takes no value"},
           example{{"--sets", "1"}, "unknown option '--sets'"},
           example{{"-c", "1"}, "unknown option '-c'"},
           example{{"--bogus=1"}, "unknown option '--bogus=1'"},
           example{{"5"}, "unexpected argument '5'"},
       }) {
    const auto result = parse_set_arguments(arguments);
    ASSERT_TRUE(std::holds_alternative<std::string>(result)) << reason;
    EXPECT_EQ(std::get<std::string>(result), reason);
  }
}

std::string set_text(std::uint32_t set, int count, set_form form) {
  std::string all;
  EXPECT_TRUE(problem_set(set).write(count, form, [&](std::string_view block) {
    all += block;
    return true;
  }));
  return all;
}

// The worksheet holds the run's questions, then its answers under their
// numbers; Moodle's file holds one question and one blank per asked value.
TEST(ProblemSetWrite, TheFormsHoldTheSameQuestionsAndAnswers) {
  const std::string run = set_text(1796634001, 2, set_form::run);
  const std::string sheet = set_text(1796634001, 2, set_form::worksheet);
  const auto answers = sheet.find("\nAnswers\n");
  ASSERT_NE(answers, std::string::npos);
  const auto second = run.find("\n2. ");
  const auto answer_1 = run.find("\nAnswer:\n");
  const auto answer_2 = run.find("\nAnswer:\n", second);
  EXPECT_EQ(sheet.substr(0, answers),
            run.substr(0, answer_1) + run.substr(second, answer_2 - second));
  // The key: its table (exact in cli_test), then each answer under its number.
  const auto key = sheet.find("\n1.\nAnswer:\n");
  ASSERT_NE(key, std::string::npos);
  EXPECT_EQ(
      sheet.substr(answers, key - answers),
      "\nAnswers\n\nNo.  Time of flight (s)  Range (m)  Max height (m)  Impact speed (m/s)  "
      "Impact angle (degrees)\n1    3.62756             94.4616    -               44.0669    "
      "         53.7777\n2    7.42561             253.897    67.546          49.93          "
      "     46.78\n");
  EXPECT_EQ(sheet.substr(key),
            "\n1." + run.substr(answer_1, second - answer_1) + "\n2." + run.substr(answer_2));

  const std::string moodle = set_text(1796634001, 2, set_form::moodle);
  EXPECT_TRUE(moodle.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n"));
  EXPECT_TRUE(moodle.ends_with("</quiz>\n"));
  EXPECT_NE(moodle.find("$course$/top/Projectile motion, set 1796634001<"), std::string::npos);
  // Each question worth 20 marks: four blanks of 5, or five of 4.
  EXPECT_NE(moodle.find("&lt;p&gt;Range: {5:NUMERICAL:=94.4616:0.944616} m&lt;/p&gt;"),
            std::string::npos);
  EXPECT_NE(moodle.find("Max height: {4:NUMERICAL:=67.546:0.67546} m"), std::string::npos);
  EXPECT_NE(moodle.find("{4:NUMERICAL:=46.78:0.4678} degrees below the horizontal"),
            std::string::npos);
}

// A long set is handed on in blocks, all of them, and stops at a failed write.
TEST(ProblemSetWrite, WritesInBlocksAndStopsAtAFailure) {
  std::vector<std::size_t> blocks;
  std::string all;
  EXPECT_TRUE(problem_set(7).write(1000, set_form::run, [&](std::string_view block) {
    blocks.push_back(block.size());
    all += block;
    return true;
  }));
  ASSERT_GT(blocks.size(), 10U);
  for (std::size_t i = 0; i + 1 < blocks.size(); ++i) {
    EXPECT_GE(blocks[i], 16384U);
  }
  EXPECT_NE(all.find("\n1000. "), std::string::npos);
  EXPECT_EQ(all.find("\n1001. "), std::string::npos);

  int calls = 0;
  EXPECT_FALSE(problem_set(7).write(1000, set_form::worksheet, [&](std::string_view) {
    ++calls;
    return false;
  }));
  EXPECT_EQ(calls, 1);
}

// Any question reached at once is the one the run reaches by drawing every
// question before it: the first few hundred against the run's text, and
// far-off ones against the draws themselves.
TEST(ProblemSet, AQuestionAtOnceIsTheRunsQuestion) {
  for (const std::uint32_t set : {0U, 1796634001U, UINT32_MAX}) {
    const problem_set questions(set);
    std::string pieces;
    for (int n = 1; n <= 300; ++n) {
      const problem p = questions.at(n);
      // Appended a piece at a time: GCC 12 warns falsely (-Wrestrict) of
      // "\n" + std::string on 32-bit targets.
      pieces += '\n';
      pieces += question_text(p);
      pieces += '\n';
      pieces += answer_text(p);
    }
    EXPECT_EQ(pieces, set_text(set, 300, set_form::run)) << set;

    crt_rand raw{set};
    for (int n = 1; n <= 200000; ++n) {
      const question drawn = draw_question(raw);
      if (n % 49999 == 0) {
        const problem p = questions.at(n);
        EXPECT_EQ(p.number, n);
        EXPECT_EQ(p.q.type, drawn.type);
        EXPECT_EQ(p.q.speed, drawn.speed);
        EXPECT_EQ(p.q.angle_or_height, drawn.angle_or_height);
      }
    }
  }
}

TEST(ProblemSet, AnAddressNamesASetOrNot) {
  EXPECT_EQ(set_in_address(""), std::nullopt);
  EXPECT_EQ(set_in_address("#practice"), std::nullopt);
  EXPECT_EQ(set_in_address("#sets=5&xset=5"), std::nullopt);
  const auto named = set_in_address("#practice&set=4294967295");
  ASSERT_TRUE(named);
  EXPECT_EQ(named->typed, "4294967295");
  EXPECT_EQ(named->set, UINT32_MAX);
  const auto refused = set_in_address("#set=12x&set=3");
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->typed, "12x");
  EXPECT_EQ(refused->set, std::nullopt);
  EXPECT_EQ(address_set_refused(refused->typed),
            "The address asks for set \"12x\", which is not a whole number from 0 to "
            "4294967295, so this run takes its set from the clock.");
  EXPECT_EQ(set_in_address("#set=")->set, std::nullopt);
}

// Each value's first try counts once, right or wrong; an empty or refused
// value is no try, and nothing counts once the answer is shown.
TEST(PracticeSession, TheTallyCountsValuesAndHints) {
  practice_session practice(1796634001);  // question 1: a horizontal launch, four values
  const auto printed = [&] {
    const auto asked = practice.current().asked.view();
    std::vector<std::string> values(asked.size());
    std::transform(asked.begin(), asked.end(), values.begin(),
                   [](const asked_value& a) { return std::string(a.printed.view()); });
    return values;
  };
  const auto typed_in = [&](const std::vector<std::string>& typed) {
    const std::vector<std::string_view> views(typed.begin(), typed.end());
    return practice.check(views);
  };
  EXPECT_EQ(practice.tally_line(), "Right at the first try: 0 of 0 values \u00B7 0 hints");
  const auto refused = typed_in({"", "abc"});
  EXPECT_EQ(refused.marks[0].given, verdict::empty);
  EXPECT_EQ(refused.marks[0].line, "");
  EXPECT_EQ(refused.first_not_right, 1U);
  EXPECT_EQ(refused.heard, "Range: Expected a number such as 2.04.");
  EXPECT_EQ(practice.tally_line(), "Right at the first try: 0 of 0 values \u00B7 0 hints");
  // The time right, alone: one value tried, right; the focus goes on.
  const auto first = typed_in({printed()[0]});
  EXPECT_EQ(first.marks[0].line, "\u2713 Right.");
  EXPECT_EQ(first.first_not_right, 1U);
  EXPECT_EQ(practice.tally_line(), "Right at the first try: 1 of 1 value \u00B7 0 hints");
  // The range wrong, then right: its first try counted, once.
  typed_in({printed()[0], "1"});
  typed_in({printed()[0], printed()[1]});
  EXPECT_EQ(practice.tally_line(), "Right at the first try: 1 of 2 values \u00B7 0 hints");

  // Hints: the worked answer a line at a time, then all of it.
  EXPECT_EQ(practice.hinted(), "Answer:\n");
  EXPECT_EQ(practice.hint(), "(initial vertical velocity = 0 m/s");
  EXPECT_EQ(practice.hint(), " initial horizontal velocity = 26.04 m/s)");
  EXPECT_EQ(practice.hinted(),
            "Answer:\n(initial vertical velocity = 0 m/s\n initial horizontal velocity = 26.04 "
            "m/s)\n");
  std::string_view line;
  while (!practice.every_line_shown()) {
    line = practice.hint();
  }
  EXPECT_EQ(line,
            "Velocity on impact is 44.0669 m/s at an angle of 53.7777 degrees below the "
            "horizontal.");
  EXPECT_EQ(practice.hint(), "");
  EXPECT_EQ(practice.hinted(), answer_text(practice.current()));
  EXPECT_EQ(practice.tally_line(), "Right at the first try: 1 of 2 values \u00B7 7 hints");

  // Shown: the values not yet tried no longer count.
  EXPECT_EQ(practice.show_answer(), answer_text(practice.current()));
  typed_in(printed());
  EXPECT_EQ(practice.tally_line(), "Right at the first try: 1 of 2 values \u00B7 7 hints");
  practice.next();
  EXPECT_EQ(practice.current().number, 2);
  EXPECT_EQ(practice.hinted(), "Answer:\n");
  typed_in(printed());
  EXPECT_EQ(practice.tally_line(), "Right at the first try: 6 of 7 values \u00B7 7 hints");
}

// A kept record takes the session up where it was; anything else is refused
// and changes nothing.
TEST(PracticeSession, KeepsItsRecord) {
  practice_session practice(1796634001);
  practice.next();
  const std::string typed(practice.current().asked.items[0].printed.view());
  const std::vector<std::string_view> values = {typed};
  practice.check(values);
  practice.hint();
  const std::string kept = practice.record();
  EXPECT_EQ(kept,
            "practice 1 set=1796634001 question=2 tried=1 right=1 hints=1 values=1 lines=1 "
            "shown=0");

  practice_session again(1796634001);
  ASSERT_TRUE(again.resume(kept));
  EXPECT_EQ(again.record(), kept);
  EXPECT_EQ(again.current().number, 2);
  EXPECT_EQ(again.hinted(), practice.hinted());
  // The time's first try was made before the record was kept.
  again.check(std::vector<std::string_view>{"1"});
  EXPECT_EQ(again.tally_line(), practice.tally_line());

  // The kept record with one part changed: each is refused.
  struct change {
    std::string_view from, to;
  };
  for (const auto& [from, to] : {
           change{"practice 1", "practice 2"},
           change{"set=1796634001", "set=1796634002"},
           change{"question=2", "question=0"},
           change{"question=2", "question=02"},
           change{"right=1", "right=2"},
           change{"tried=1", "tried=-1"},
           change{"values=1", "values=32"},
           change{"lines=1", "lines=99"},
           change{"shown=0", "shown=2"},
           change{" shown=0", ""},
           change{"shown=0", "shown=0 "},
           change{"tried=1 right=1", "right=1 tried=1"},
           change{kept, ""},
       }) {
    std::string refused = kept;
    refused.replace(refused.find(from), from.size(), to);
    EXPECT_FALSE(again.resume(refused)) << refused;
    EXPECT_EQ(again.record(), kept);
  }
}

}  // namespace
}  // namespace projectile

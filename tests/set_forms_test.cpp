#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "class_forms.h"
#include "forms.h"
#include "markup.h"
#include "moodle.h"
#include "set_text.h"
#include "set_text_of.h"

namespace projectile {
namespace {

using testing::set_text;

// The worksheet holds the run's questions, then its answers under their
// numbers; Moodle's file holds one question and one blank per asked value.
TEST(ProblemSetWrite, TheFormsHoldTheSameQuestionsAndAnswers) {
  const std::string run = set_text(1796634001, 2, text_form::run);
  const std::string sheet = set_text(1796634001, 2, text_form::worksheet);
  const auto answers = sheet.find("\nAnswers\n");
  ASSERT_NE(answers, std::string::npos);
  const auto second = run.find("\n2. ");
  const auto answer_1 = run.find("\nAnswer:\n");
  const auto answer_2 = run.find("\nAnswer:\n", second);
  EXPECT_EQ(sheet.substr(0, answers),
            run.substr(0, answer_1) + run.substr(second, answer_2 - second));
  // The key: its table (its cells checked against the model in cli_test),
  // then each answer under its number.
  const auto key = sheet.find("\n1.\nAnswer:\n");
  ASSERT_NE(key, std::string::npos);
  EXPECT_EQ(sheet.substr(answers, 22), "\nAnswers\n\nNo.  Time of");
  EXPECT_EQ(sheet.substr(key),
            "\n1." + run.substr(answer_1, second - answer_1) + "\n2." + run.substr(answer_2));

  std::string moodle;
  ASSERT_TRUE(write_moodle(handout_of_set(1796634001, 2), [&](std::string_view block) {
    moodle += block;
    return true;
  }));
  EXPECT_TRUE(moodle.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n"));
  EXPECT_TRUE(moodle.ends_with("</quiz>\n"));
  EXPECT_NE(moodle.find("$course$/top/Projectile motion, set 1796634001<"), std::string::npos);
  // Each question worth 20 marks: four blanks of 5, or five of 4; each value
  // right within the tolerance of it.
  const auto blank = [](const char* weight, const char* printed) {
    return std::string("{") + weight + ":NUMERICAL:=" + printed + ":" +
           std::string(text::format_g(tolerance * std::stod(printed)).view()) + "}";
  };
  EXPECT_NE(moodle.find("&lt;p&gt;Range: " + blank("5", "94.4616") + " m&lt;/p&gt;"),
            std::string::npos);
  EXPECT_NE(moodle.find("Max height: " + blank("4", "67.546") + " m"), std::string::npos);
  EXPECT_NE(moodle.find(blank("4", "46.78") + " degrees below the horizontal"), std::string::npos);
}

// A long set is handed on in blocks, all of them, and stops at a failed write.
TEST(ProblemSetWrite, WritesInBlocksAndStopsAtAFailure) {
  std::vector<std::size_t> blocks;
  std::string all;
  EXPECT_TRUE(write_text(problem_set(7), 1000, text_form::run, [&](std::string_view block) {
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
  EXPECT_FALSE(write_text(problem_set(7), 1000, text_form::worksheet, [&](std::string_view) {
    ++calls;
    return false;
  }));
  EXPECT_EQ(calls, 1);
}

// Each form's limit, where it has one, refuses a question more than it holds
// and says how to split; Canvas's must also fit a zip (checked where it is
// set).
TEST(SetForms, LimitsRefuseAQuestionMore) {
  const set_form& moodle = *form_named("moodle");
  EXPECT_EQ(form_refused(moodle, 4000), "");
  EXPECT_EQ(form_refused(moodle, 4001),
            "a Moodle file holds at most 4000 questions, as Moodle's import runs out of memory "
            "past about 8000; this one would hold 4001: ask for fewer versions or questions a "
            "file, and make more files");
  const set_form& qti = *form_named("qti");
  EXPECT_EQ(form_refused(qti, most_set_count), "");
  EXPECT_EQ(form_refused(qti, most_set_count + 1),
            "a Canvas package holds at most 10000 questions; this one would hold 10001: ask for "
            "fewer versions or questions a package, and make more packages");
  EXPECT_EQ(form_refused(*form_named("worksheet"), 10000000), "");
  EXPECT_EQ(form_named("nothing"), nullptr);
}

// What a spreadsheet would run is kept as text, and what would split a field
// is quoted.
TEST(ClassForms, CsvFieldsAreSafeForSpreadsheets) {
  for (const char* formula : {"=1+1", "+1", "-1", "@SUM(A1)", "\tx", "\rx"}) {
    // (A piece at a time: GCC 12 warns falsely, -Wrestrict, of "'" + std::string.)
    std::string kept_as_text(1, '\'');
    kept_as_text += formula;
    EXPECT_NE(csv_field(formula).find(kept_as_text), std::string::npos) << formula;
  }
  EXPECT_EQ(csv_field("Lee, Sam"), "\"Lee, Sam\"");
  EXPECT_EQ(csv_field("Say \"Hi\""), "\"Say \"\"Hi\"\"\"");
  EXPECT_EQ(csv_field(" Ann"), "\" Ann\"");
  EXPECT_EQ(csv_field("\xE6\x9D\x8E <b>&"), "\xE6\x9D\x8E <b>&");
}

// HTML carried as XML text, as the quiz files carry a statement and its
// feedback: each character that is markup in either is escaped for both.
TEST(HtmlInXml, EscapesMarkupForBoth) {
  text out;
  append_html_in_xml(out, "a<b>c&d\"e'f{g}\u00B0");
  EXPECT_EQ(out.view(), "a&amp;lt;b&amp;gt;c&amp;amp;d&amp;quot;e'f{g}\u00B0");
}

// Every character that is markup in the file's HTML inside XML, or that
// would open, close or split a Cloze blank, is escaped where it stands.
TEST(MoodleText, EscapesWhatMoodleWouldRead) {
  text out;
  append_moodle_text(out, "a{b}c\"d<e>f&g#~/\\h");
  EXPECT_EQ(out.view(), "a&amp;#123;b&amp;#125;c&amp;quot;d&amp;lt;e&amp;gt;f&amp;amp;g#~/\\h");
  out.clear();
  append_cloze_answer(out, "1{2}3#4~5/6\"7\\8<9&");
  EXPECT_EQ(out.view(), "1{2\\}3\\#4\\~5\\/6\\\"7\\\\8&amp;lt;9&amp;amp;");
}

}  // namespace
}  // namespace projectile

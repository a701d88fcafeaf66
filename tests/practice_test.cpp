#include "practice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace projectile {
namespace {

std::optional<double> read_typed(std::string_view typed, quantity what) {
  return read_value(typed, what).value;
}

verdict check(std::string_view typed, const asked_value& asked) {
  return verdict_of(read_value(typed, asked.what), asked);
}

std::vector<std::string> printed_of(const asked_values& asked) {
  std::vector<std::string> printed(asked.size);
  std::transform(asked.view().begin(), asked.view().end(), printed.begin(),
                 [](const asked_value& a) { return std::string(a.printed.view()); });
  return printed;
}

TEST(AskedOf, TheRequestLinesQuantitiesAsPrinted) {
  const auto ground = asked_of(kind::ground, solve({20.0F, 30.0F, 0.0F}));
  EXPECT_EQ(printed_of(ground),
            (std::vector<std::string>{"2.04082", "35.348", "5.10204", "20", "30"}));
  EXPECT_EQ(ground.items[2].what, quantity::max_height);
  EXPECT_EQ(ground.items[1].value, 35.348);

  const auto horizontal = asked_of(kind::horizontal, solve({10.0F, 0.0F, 100.0F}));
  EXPECT_EQ(printed_of(horizontal),
            (std::vector<std::string>{"4.51754", "45.1754", "45.3872", "77.2718"}));
  EXPECT_EQ(horizontal.items[2].what, quantity::impact_speed);
}

// Over many drawn questions, each asked value is the one its line of the
// worked answer prints, read back exactly.
TEST(AskedOf, AgreesWithTheWorkedAnswer) {
  crt_rand raw{2024};
  text out;
  for (int i = 0; i < 20000; ++i) {
    const question q = draw_question(raw);
    const answer a = solve(q.params);
    out.clear();
    write_answer(out, a);
    const std::string_view worked = out.view();
    const auto asked = asked_of(q.type, a);
    ASSERT_EQ(asked.size, q.type == kind::ground ? 5U : 4U);
    for (const auto& v : asked.view()) {
      const std::string printed(v.printed.view());
      std::string line;
      switch (v.what) {
        case quantity::time_of_flight:
          line = "\nTime of flight = " + printed + " s\n";
          break;
        case quantity::range:
          line = "\nRange = " + printed + " m\n";
          break;
        case quantity::max_height:
          line = "\nMax height = " + printed + " m (";
          break;
        case quantity::impact_speed:
          line = "Velocity on impact is " + printed + " m/s";
          break;
        case quantity::impact_angle:
          line = " at an angle of " + printed + " degrees below";
          break;
      }
      ASSERT_NE(worked.find(line), std::string_view::npos) << line << " in " << worked;
      ASSERT_EQ(v.value, std::strtod(printed.c_str(), nullptr)) << printed;
    }
  }
}

TEST(ReadTyped, AcceptsANumberWithTheFieldsOwnUnit) {
  struct example {
    const char* typed;
    quantity what;
    double value;
  };
  for (const auto& [typed, what, value] : {
           example{"2.04", quantity::time_of_flight, 2.04},
           example{"  2.04\t", quantity::time_of_flight, 2.04},
           example{"2.04 s", quantity::time_of_flight, 2.04},
           example{"2.04s", quantity::time_of_flight, 2.04},
           example{"+2", quantity::time_of_flight, 2.0},
           example{"-2.5", quantity::time_of_flight, -2.5},
           example{".5", quantity::range, 0.5},
           example{"5.", quantity::range, 5.0},
           example{"3.5348e1 m", quantity::range, 35.348},
           example{"3.5348E+1", quantity::max_height, 35.348},
           example{"3534.8e-2 m", quantity::max_height, 35.348},
           example{"20 m/s", quantity::impact_speed, 20.0},
           example{"30\u00B0", quantity::impact_angle, 30.0},
           example{"30 \u00B0", quantity::impact_angle, 30.0},
           example{"30 degrees ", quantity::impact_angle, 30.0},
           example{"007", quantity::impact_angle, 7.0},
           example{"0.000000000123", quantity::range, 1.23e-10},
           example{"-0", quantity::range, -0.0},
           // A decimal comma, where it is the one mark; the usual units.
           example{"2,04", quantity::time_of_flight, 2.04},
           example{" -2,5 sec", quantity::time_of_flight, -2.5},
           example{"3,5348e1 m", quantity::range, 35.348},
           example{",5", quantity::range, 0.5},
           example{"2.04 sec", quantity::time_of_flight, 2.04},
           example{"30 deg", quantity::impact_angle, 30.0},
           example{"30deg", quantity::impact_angle, 30.0},
           // Other units of the quantity, converted to the printed one, and
           // the typographic minus.
           example{"10.11 seconds", quantity::time_of_flight, 10.11},
           example{"1 second", quantity::time_of_flight, 1.0},
           example{"0.21484 km", quantity::range, 0.21484 * 1000},
           example{"21484 cm", quantity::max_height, 21484 * 0.01},
           example{"194 km/h", quantity::impact_speed, 194 * (1000.0 / 3600.0)},
           example{"20 m s\u207B\u00B9", quantity::impact_speed, 20.0},
           example{"20 m s-1", quantity::impact_speed, 20.0},
           example{"1.166 rad", quantity::impact_angle, 1.166 * (180 / 3.14159265358979323846)},
           example{"30 degree", quantity::impact_angle, 30.0},
           example{"\u221210.11", quantity::time_of_flight, -10.11},
       }) {
    EXPECT_EQ(read_typed(typed, what), value) << '"' << typed << '"';
  }
}

TEST(ReadTyped, RefusesAnythingElse) {
  struct example {
    const char* typed;
    quantity what;
  };
  for (const auto& [typed, what] : {
           example{"", quantity::time_of_flight},
           example{"   ", quantity::time_of_flight},
           example{"abc", quantity::time_of_flight},
           example{"1,234.5", quantity::time_of_flight},
           example{"1,234,5", quantity::time_of_flight},
           example{",", quantity::time_of_flight},
           example{"1/2", quantity::time_of_flight},
           example{"2 3", quantity::time_of_flight},
           example{"2.0.4", quantity::time_of_flight},
           example{".", quantity::time_of_flight},
           example{"-", quantity::time_of_flight},
           example{"+-2", quantity::time_of_flight},
           example{"2e", quantity::time_of_flight},
           example{"2e+", quantity::time_of_flight},
           example{"e5", quantity::time_of_flight},
           example{"2.04 m", quantity::time_of_flight},
           example{"2.04 s s", quantity::time_of_flight},
           example{"s 2.04", quantity::time_of_flight},
           example{"35 m/s", quantity::range},
           example{"35 M", quantity::range},
           example{"20 m", quantity::impact_speed},
           example{"30 degs", quantity::impact_angle},
           example{"2 secs", quantity::time_of_flight},
           example{"30\u00B0 degrees", quantity::impact_angle},
           example{"30 \u00B0C", quantity::impact_angle},
           example{"inf", quantity::impact_angle},
           example{"nan", quantity::impact_angle},
           example{"0x1p4", quantity::impact_angle},
           example{"\u2212-5", quantity::time_of_flight},
           example{"-\u22125", quantity::time_of_flight},
           example{"5 rad", quantity::range},
           example{"5 km/h", quantity::range},
       }) {
    EXPECT_FALSE(read_typed(typed, what).has_value()) << '"' << typed << '"';
  }
}

TEST(IsRight, WithinTheToleranceOfThePrintedValue) {
  // Just inside and just outside, a hundredth of the tolerance either way.
  const double in = tolerance * 0.99;
  const double out = tolerance * 1.01;
  for (const double printed : {35.348, 0.153845, 1020.0, 20.0}) {
    EXPECT_TRUE(is_right(printed, printed));
    EXPECT_TRUE(is_right(printed * (1 + in), printed)) << printed;
    EXPECT_TRUE(is_right(printed * (1 - in), printed)) << printed;
    EXPECT_FALSE(is_right(printed * (1 + out), printed)) << printed;
    EXPECT_FALSE(is_right(printed * (1 - out), printed)) << printed;
  }
}

TEST(Check, SortsWhatWasTyped) {
  const auto asked = asked_of(kind::ground, solve({20.0F, 30.0F, 0.0F}));
  const asked_value& range = asked.items[1];  // 35.348 m
  EXPECT_EQ(check("35.348", range), verdict::right);
  EXPECT_EQ(check("35.3 m", range), verdict::right);
  EXPECT_EQ(check("40", range), verdict::wrong);
  EXPECT_EQ(check("-35.348", range), verdict::negative);
  EXPECT_EQ(check("-0", range), verdict::wrong);
  EXPECT_EQ(check("1e999", range), verdict::wrong);
  EXPECT_EQ(check("35,348", range), verdict::right);
  EXPECT_EQ(check("35.348 s", range), verdict::unreadable);
  EXPECT_EQ(check("", range), verdict::empty);
  EXPECT_EQ(check(" \t", range), verdict::empty);
}

// What a refused value is told: the reason, and for a unit of another
// quantity, the unit the field wants.
TEST(Check, SaysWhyAValueIsRefused) {
  const auto asked = asked_of(kind::ground, solve({20.0F, 30.0F, 0.0F}));
  const auto line = [&](const char* typed, std::size_t index) {
    const auto read = read_value(typed, asked.items[index].what);
    return mark_line(read, check(typed, asked.items[index]), slip::none, asked.items[index]);
  };
  EXPECT_EQ(line("abc", 0), "? Expected a number such as 2.04.");
  EXPECT_EQ(line("1,234.5", 1),
            "? Type the number with one decimal mark, a point or a comma, and no thousands "
            "separator.");
  EXPECT_EQ(line("3 m", 0), "? Time of flight is in s, not m.");
  EXPECT_EQ(line("20 s", 3), "? Impact speed is in m/s, not s.");
  EXPECT_EQ(line("30 m/s", 4), "? Impact angle is in degrees, not m/s.");
  EXPECT_EQ(line("3 km", 0), "? Time of flight is in s, not km.");
  // A value in another unit is checked, and shown, in the printed one.
  EXPECT_EQ(line("0.035348 km", 1), "35.348 m \u2713 Right.");
  EXPECT_EQ(line("2 km", 1), "2000 m \u2717 Wrong.");
  EXPECT_EQ(line("", 0), "");
  // A wrong value is marked wrong, and its answer is not given away.
  EXPECT_EQ(line("40", 1), "\u2717 Wrong.");
  EXPECT_EQ(line("-30", 4),
            "\u2717 Wrong. The angle is measured below the horizontal, so it is positive.");
}

// Each slip, for each quantity it changes, as a student making it would type
// the value: for a ground launch at 20 m/s and 30 degrees (t 2.04082 s, range
// 35.348 m, height 5.10204 m, 20 m/s at 30 degrees) and a horizontal one at
// 10 m/s from 100 m (t 4.51754 s, range 45.1754 m, 45.3872 m/s at 77.2718
// degrees). A slip that does not change a quantity is never named for it.
TEST(SlipOf, NamesEachSlipForEachQuantityItChanges) {
  const question ground = question_of(kind::ground, 2000, 3000);
  const question horizontal = question_of(kind::horizontal, 1000, 10000);
  struct example {
    const question& q;
    quantity what;
    const char* typed;
    slip named;
  };
  for (const auto& [q, what, typed, named] : {
           // sin and cos exchanged: ux 10, uy 17.3205; range and speed unchanged.
           example{ground, quantity::time_of_flight, "3.535", slip::sin_cos_swapped},
           example{ground, quantity::max_height, "15.31", slip::sin_cos_swapped},
           example{ground, quantity::range, "35.9", slip::none},
           // Radians: cos 30 = 0.154251, sin 30 = -0.988032, atan out in radians.
           example{ground, quantity::time_of_flight, "-4.033", slip::radians},
           example{ground, quantity::range, "-12.44", slip::radians},
           example{ground, quantity::max_height, "19.92", slip::radians},
           example{ground, quantity::impact_angle, "-1.416", slip::radians},
           example{horizontal, quantity::impact_angle, "1.349", slip::radians},
           // The time to the top as the whole flight.
           example{ground, quantity::time_of_flight, "1.02", slip::time_to_top},
           example{ground, quantity::range, "17.67", slip::time_to_top},
           // g as 10: 2 % short from the ground, under 1 % from a height.
           example{ground, quantity::time_of_flight, "2", slip::g_10},
           example{ground, quantity::range, "34.64", slip::g_10},
           example{ground, quantity::max_height, "5", slip::g_10},
           example{horizontal, quantity::time_of_flight, "4.472", slip::none},
           // The drop without the 2: t = sqrt(h / g).
           example{horizontal, quantity::time_of_flight, "3.194", slip::drop_no_2},
           example{horizontal, quantity::range, "31.94", slip::drop_no_2},
           example{horizontal, quantity::impact_speed, "32.86", slip::drop_no_2},
           example{horizontal, quantity::impact_angle, "72.29", slip::drop_no_2},
           // From the vertical.
           example{ground, quantity::impact_angle, "60", slip::from_vertical},
           example{horizontal, quantity::impact_angle, "12.73", slip::from_vertical},
           // One component alone.
           example{ground, quantity::impact_speed, "17.32", slip::one_component},
           example{ground, quantity::impact_speed, "10", slip::one_component},
           example{horizontal, quantity::impact_speed, "10", slip::one_component},
           example{horizontal, quantity::impact_speed, "44.27", slip::one_component},
           // Wrong, but no slip's.
           example{ground, quantity::impact_speed, "25", slip::none},
       }) {
    const auto asked = asked_of(q.type, solve(q.params));
    const auto all = asked.view();
    const quantity wanted = what;  // clang 14 captures no structured binding
    const auto value = std::find_if(all.begin(), all.end(),
                                    [&](const asked_value& a) { return a.what == wanted; });
    ASSERT_NE(value, all.end());
    const auto read = read_typed(typed, what);
    ASSERT_TRUE(read.has_value()) << typed;
    ASSERT_NE(check(typed, *value), verdict::right) << typed;
    EXPECT_EQ(slip_of(q, *value, *read), named) << name_of(what) << " " << typed;
  }
  EXPECT_EQ(id_of(slip::time_to_top), "time-to-top");
  EXPECT_EQ(sentence_of(slip::time_to_top, quantity::time_of_flight),
            "That is the time to the highest point; the flight lasts twice as long.");
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

  // Nothing typed: no try, and a word to say so.
  const auto none = typed_in({});
  EXPECT_TRUE(none.nothing_typed);
  EXPECT_EQ(none.heard, "Type a value in at least one field.");

  // Shown: the values not yet tried no longer count.
  EXPECT_EQ(practice.show_answer(), answer_text(practice.current()));
  typed_in(printed());
  EXPECT_EQ(practice.tally_line(), "Right at the first try: 1 of 2 values \u00B7 7 hints");
  practice.next();
  EXPECT_EQ(practice.current().number, 2);
  EXPECT_EQ(practice.hinted(), "Answer:\n");
  typed_in(printed());
  EXPECT_EQ(practice.tally_line(), "Right at the first try: 6 of 7 values \u00B7 7 hints");

  // A value whose line a hint has shown is tried, but not right at the
  // first try; once every line is out, as after Show answer, nothing counts.
  practice.next();
  for (int k = 0; k < 3; ++k) {
    practice.hint();  // the velocity components, then the time of flight
  }
  const auto values = printed();
  typed_in({values[0], values[1]});
  EXPECT_EQ(practice.tally_line(), "Right at the first try: 7 of 9 values \u00B7 10 hints");
  while (!practice.every_line_shown()) {
    practice.hint();
  }
  typed_in(values);
  EXPECT_EQ(practice.tally_line().substr(0, 37), "Right at the first try: 7 of 9 values");
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
           // Past the last question Practice reaches: the next would overflow.
           change{"question=2", "question=2147483647"},
           change{"question=2", "question=10001"},
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

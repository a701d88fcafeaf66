#include "practice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace projectile {
namespace {

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
           example{"2,04", quantity::time_of_flight},
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
           example{"30 deg", quantity::impact_angle},
           example{"30\u00B0 degrees", quantity::impact_angle},
           example{"30 \u00B0C", quantity::impact_angle},
           example{"inf", quantity::impact_angle},
           example{"nan", quantity::impact_angle},
           example{"0x1p4", quantity::impact_angle},
       }) {
    EXPECT_FALSE(read_typed(typed, what).has_value()) << '"' << typed << '"';
  }
}

TEST(IsRight, WithinOnePercentOfThePrintedValue) {
  for (const double printed : {35.348, 0.153845, 1020.0, 20.0}) {
    EXPECT_TRUE(is_right(printed, printed));
    EXPECT_TRUE(is_right(printed * 1.0099, printed)) << printed;
    EXPECT_TRUE(is_right(printed * 0.9901, printed)) << printed;
    EXPECT_FALSE(is_right(printed * 1.0101, printed)) << printed;
    EXPECT_FALSE(is_right(printed * 0.9899, printed)) << printed;
  }
}

TEST(Check, SortsWhatWasTyped) {
  const auto asked = asked_of(kind::ground, solve({20.0F, 30.0F, 0.0F}));
  const asked_value& range = asked.items[1];  // 35.348 m
  EXPECT_EQ(check("35.348", range), verdict::right);
  EXPECT_EQ(check("35.3 m", range), verdict::right);
  EXPECT_EQ(check("36", range), verdict::wrong);
  EXPECT_EQ(check("-35.348", range), verdict::negative);
  EXPECT_EQ(check("-0", range), verdict::wrong);
  EXPECT_EQ(check("1e999", range), verdict::wrong);
  EXPECT_EQ(check("35,348", range), verdict::unreadable);
  EXPECT_EQ(check("35.348 s", range), verdict::unreadable);
}

}  // namespace
}  // namespace projectile

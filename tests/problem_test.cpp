#include "problem.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "text.h"

namespace projectile {
namespace {

// Hands out the given raw values in order; reading past them is a test failure.
struct scripted {
  std::vector<int> values;
  std::size_t used = 0;
  int operator()() { return values.at(used++); }
};

TEST(CrtRand, MatchesThePublishedSequenceForSeedOne) {
  crt_rand raw{1};
  for (const int expected : {41, 18467, 6334, 26500, 19169}) {
    EXPECT_EQ(raw(), expected);
  }
}

// Every raw value against the integer form of the scaling: the product shifted
// right by 15 bits.
TEST(Random, EqualsTheShiftedProductForEveryRawValue) {
  struct range {
    int lowest, highest;
  };
  for (const auto [lowest, highest] :
       {range{1, 2}, range{1000, 10000}, range{1000, 8000}, range{100, 10000}, range{7, 7}}) {
    for (int r = 0; r <= raw_max; ++r) {
      auto raw = [r] { return r; };
      const int expected = lowest + (((highest - lowest + 1) * r) >> 15);
      ASSERT_EQ(random(raw, lowest, highest), expected) << lowest << ".." << highest << " r=" << r;
    }
  }
}

TEST(Random, EndsOfTheRanges) {
  auto zero = [] { return 0; };
  auto top = [] { return raw_max; };
  auto below_half = [] { return 16383; };
  auto half = [] { return 16384; };
  EXPECT_EQ(random(below_half, 1, 2), 1);
  EXPECT_EQ(random(half, 1, 2), 2);
  EXPECT_EQ(random(zero, 1000, 10000), 1000);
  EXPECT_EQ(random(top, 1000, 10000), 10000);  // 9000.72 truncated
  EXPECT_EQ(random(top, 1000, 8000), 8000);    // 7000.79 truncated
  EXPECT_EQ(random(top, 100, 10000), 10000);   // 9900.70 truncated
  EXPECT_EQ(random(top, 5, 5), 5);
}

// The highest and lowest raw values tell the three draws apart: speed, then
// kind, then angle or height; the fourth value is never taken.
TEST(DrawQuestion, DrawsSpeedThenKindThenAngleOrHeight) {
  struct example {
    std::vector<int> raws;
    kind type;
    float umag, angle, h;
  };
  for (const auto& e : {example{{raw_max, 0, raw_max, 12345}, kind::ground, 100.0F, 80.0F, 0.0F},
                        example{{0, raw_max, 0, 12345}, kind::horizontal, 10.0F, 0.0F, 1.0F}}) {
    scripted raw{e.raws};
    const question q = draw_question(raw);
    EXPECT_EQ(raw.used, 3U);
    EXPECT_EQ(q.type, e.type);
    EXPECT_EQ(q.params.umag, e.umag);
    EXPECT_EQ(q.params.angle, e.angle);
    EXPECT_EQ(q.params.h, e.h);
  }
}

TEST(DrawQuestion, BothKindsAboutHalfTheTime) {
  crt_rand raw{20260101};
  int ground = 0;
  constexpr int n = 20000;
  for (int i = 0; i < n; ++i) {
    const question q = draw_question(raw);
    if (q.type == kind::ground) {
      ++ground;
      ASSERT_EQ(q.params.h, 0.0F);
    } else {
      ASSERT_EQ(q.params.angle, 0.0F);
    }
  }
  EXPECT_GT(ground, n * 47 / 100);
  EXPECT_LT(ground, n * 53 / 100);
}

std::string question_text(int number, const question& q) {
  text out;
  write_question(out, number, q);
  return std::string(out.view());
}

TEST(WriteQuestion, GroundLaunch) {
  EXPECT_EQ(question_text(1, question_of(kind::ground, 2000, 3000)),
            "\n1. A projectile is launched from the ground at a speed of 20 m/s\n"
            " at an angle 30 degrees above the horizontal.\n"
            "Find the time of flight, range, maximum height and velocity on impact.\n");
}

TEST(WriteQuestion, HorizontalLaunchGivesHeightFirst) {
  EXPECT_EQ(question_text(12, question_of(kind::horizontal, 3000, 1250)),
            "\n12. A projectile is launched horizontally from a height of 12.5 m\n"
            " at a speed of 30 m/s\n"
            "Find the time of flight, range and velocity on impact.\n");
}

TEST(WriteQuestion, ParametersPrintAsTheirHundredths) {
  EXPECT_EQ(question_text(7, question_of(kind::ground, 10000, 1001)),
            "\n7. A projectile is launched from the ground at a speed of 100 m/s\n"
            " at an angle 10.01 degrees above the horizontal.\n"
            "Find the time of flight, range, maximum height and velocity on impact.\n");
  EXPECT_EQ(question_text(2147483647, question_of(kind::horizontal, 9999, 100)),
            "\n2147483647. A projectile is launched horizontally from a height of 1 m\n"
            " at a speed of 99.99 m/s\n"
            "Find the time of flight, range and velocity on impact.\n");
}

}  // namespace
}  // namespace projectile

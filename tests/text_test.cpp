#include "text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "printf_text.h"

namespace projectile {
namespace {

// Appends `value` through the program's formatting and through snprintf, and
// returns both, program first.
std::pair<std::string, std::string> both_ways(double value) {
  text fast;
  testing::printf_text reference;
  fast.append_g(value);
  reference.append_g(value);
  return {std::string(fast.view()), std::string(reference.view())};
}

#define EXPECT_FORMATS_AS_PRINTF(value)                     \
  do {                                                      \
    const auto [fast, reference] = both_ways(value);        \
    ASSERT_EQ(fast, reference) << std::hexfloat << (value); \
  } while (false)

TEST(AppendG, ExactTiesRoundToEven) {
  // Exactly halfway between two six-digit decimals: printf rounds to even.
  for (const double v : {1024.125, 1024.375, 512.0625, 512.1875, 0.50000025, 100.0005, 3.0000005,
                         -1024.125, 8192.0625}) {
    EXPECT_FORMATS_AS_PRINTF(v);
  }
  EXPECT_EQ(both_ways(1024.125).first, "1024.12");
  EXPECT_EQ(both_ways(1024.375).first, "1024.38");
}

TEST(AppendG, DecadeEdgesAndCarries) {
  for (const double v :
       {0.001,        0.01, 0.1,      1.0,          10.0,     100.0,     1000.0,      10000.0,
        100000.0,     1e6,  9.999995, 9.9999949999, 99999.95, 99999.949, 0.000999999, 0.00099999951,
        0.0009999995, 0.15, 349.0,    1020.5,       0.153845, -44.2719,  0.0,         -0.0}) {
    EXPECT_FORMATS_AS_PRINTF(v);
    EXPECT_FORMATS_AS_PRINTF(std::nextafter(v, 0.0));
    EXPECT_FORMATS_AS_PRINTF(std::nextafter(v, 2e6));
  }
}

TEST(AppendG, OutsideTheFastRange) {
  for (const double v :
       {1e-300, 1.5e-5, 0.0001, 123456.0, 999999.5, 1e300, std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::denorm_min()}) {
    EXPECT_FORMATS_AS_PRINTF(v);
  }
}

// Random bit patterns across and beyond the fast range, and random floats
// (most printed values are floats widened to double).
TEST(AppendG, RandomDoublesAndFloats) {
  std::mt19937_64 bits(20261207);
  std::uniform_real_distribution<double> exponent(-5.0, 7.0);
  for (int i = 0; i < 400000; ++i) {
    const double v = std::pow(10.0, exponent(bits)) * ((i & 1) != 0 ? -1 : 1);
    EXPECT_FORMATS_AS_PRINTF(v);
    EXPECT_FORMATS_AS_PRINTF(static_cast<double>(static_cast<float>(v)));
  }
}

TEST(AppendI, WholeIntRange) {
  for (const int v :
       {0, 1, -1, 42, std::numeric_limits<int>::max(), std::numeric_limits<int>::min()}) {
    text fast;
    testing::printf_text reference;
    fast.append_i(v);
    reference.append_i(v);
    EXPECT_EQ(fast.view(), reference.view());
  }
}

}  // namespace
}  // namespace projectile

#include "text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "printf_text.h"
#include "problem.h"

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
  std::vector<int> values = {0, -1, std::numeric_limits<int>::max(),
                             std::numeric_limits<int>::min()};
  // Each digit count's first and last value, on both sides of zero.
  for (int p = 1; p <= 1000000000 / 10; p *= 10) {
    values.insert(values.end(), {p, 10 * p - 1, -p, 1 - 10 * p});
  }
  values.push_back(1000000000);
  // All in one text, which grows several times over.
  text fast;
  testing::printf_text reference;
  for (int round = 0; round < 200; ++round) {
    for (const int v : values) {
      fast.append_i(v);
      reference.append_i(v);
      fast.append(" ");
      reference.append(" ");
    }
  }
  EXPECT_EQ(fast.view(), reference.view());
}

// Every whole number of hundredths below a million, beyond the drawn ones,
// and a few that take the general path.
TEST(AppendHundredths, PrintsAsPrintfPrintsTheFloat) {
  for (int n = 0; n < 1000000; ++n) {
    text fast;
    testing::printf_text reference;
    fast.append_hundredths(n, hundredths(n));
    reference.append_hundredths(n, hundredths(n));
    ASSERT_EQ(fast.view(), reference.view()) << n;
  }
  for (const int n : {-1, -1250, 1000000, 123456789, std::numeric_limits<int>::max()}) {
    text fast;
    testing::printf_text reference;
    fast.append_hundredths(n, hundredths(n));
    reference.append_hundredths(n, hundredths(n));
    EXPECT_EQ(fast.view(), reference.view()) << n;
  }
}

}  // namespace
}  // namespace projectile

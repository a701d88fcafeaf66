#include "text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>

namespace projectile {

namespace {

// "-1.23457e-308" and "-2147483648" both fit with room to spare.
constexpr int max_number_chars = 24;

// Every printed answer lies between 0.15 and about 1020, so "%g" always takes
// its fixed form there. In that range the six significant digits are worked
// out exactly with integer arithmetic, much faster than a general formatter;
// everything else goes to std::to_chars.
//
// v = m * 2^-r with a 53-bit m. For 10^-3 <= v < 10^5, r lies in 36..62 and
// the scale 10^s that brings v to six integer digits is at most 10^8 < 2^27,
// so m * 10^s < 2^80 fits a pair of 64-bit words without any 128-bit type
// (there is none on 32-bit targets).
constexpr double fast_lowest = 1e-3;
constexpr double fast_limit = 1e5;

// The double nearest each power of ten from 10^-2 up is not below it, so
// comparing v with these finds floor(log10(v)) exactly; the digit count is
// checked below all the same.
constexpr std::array<double, 7> decade_starts = {1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3, 1e4};
constexpr std::array<std::uint32_t, 9> powers_of_ten = {1,      10,      100,      1000,     10000,
                                                        100000, 1000000, 10000000, 100000000};

// v * 10^s rounded to an integer, ties to even as printf rounds, for v as above.
std::uint64_t scaled_and_rounded(double v, int s) noexcept {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(v);
  const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
  const int r = 1075 - static_cast<int>(bits >> 52);  // v > 0: no sign bit

  // m * p as hi:lo, from the halves of m: m = mh * 2^32 + ml.
  const std::uint64_t p = powers_of_ten[static_cast<std::size_t>(s)];
  const std::uint64_t upper = (m >> 32) * p;          // < 2^48
  const std::uint64_t lower = (m & 0xFFFFFFFFU) * p;  // < 2^59
  const std::uint64_t lo = lower + (upper << 32);
  const std::uint64_t hi = (upper >> 32) + (lo < lower ? 1 : 0);

  const std::uint64_t quotient = (hi << (64 - r)) | (lo >> r);
  const std::uint64_t remainder = lo & ((std::uint64_t{1} << r) - 1);
  const std::uint64_t half = std::uint64_t{1} << (r - 1);
  const bool up = remainder > half || (remainder == half && (quotient & 1) != 0);
  return quotient + (up ? 1 : 0);
}

// "%g" of a v with fast_lowest <= |v| < fast_limit, or nullptr if it cannot
// be done here.
char* fixed_g(char* out, double v) noexcept {
  if (v < 0) {
    *out++ = '-';
    v = -v;
  }
  int e = -3 + static_cast<int>(std::count_if(decade_starts.begin(), decade_starts.end(),
                                              [v](double start) { return v >= start; }));
  std::uint64_t d = scaled_and_rounded(v, 5 - e);
  if (d < 100000 || d > 1000000) {
    return nullptr;
  }
  if (d == 1000000) {  // rounded up into the next decade: 1.00000 * 10^(e+1)
    d = 100000;
    ++e;
  }

  std::array<char, 6> digits{};
  auto rest = static_cast<std::uint32_t>(d);
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    *it = static_cast<char>('0' + rest % 10);
    rest /= 10;
  }
  // Trailing zeros go, but only those after the decimal point.
  const int whole = e + 1;  // digits before the point; <= 0 when v < 1
  int kept = 6;
  while (kept > whole && kept > 1 && digits[static_cast<std::size_t>(kept - 1)] == '0') {
    --kept;
  }

  if (whole <= 0) {
    *out++ = '0';
    *out++ = '.';
    for (int zeros = -whole; zeros > 0; --zeros) {
      *out++ = '0';
    }
  }
  for (int i = 0; i < kept; ++i) {
    if (i == whole && i > 0) {
      *out++ = '.';
    }
    *out++ = digits[static_cast<std::size_t>(i)];
  }
  return out;
}

}  // namespace

void text::append_g(double value) {
  char digits[max_number_chars];
  const double magnitude = value < 0 ? -value : value;
  char* end = nullptr;
  if (magnitude >= fast_lowest && magnitude < fast_limit) {
    end = fixed_g(digits, value);
  }
  if (end == nullptr) {
    // to_chars in general form with a precision is specified as printf's
    // "%.6g" in the C locale: the same characters, whatever the locale.
    end =
        std::to_chars(digits, digits + max_number_chars, value, std::chars_format::general, 6).ptr;
  }
  chars_.append(digits, end);
}

void text::append_i(int value) {
  char digits[max_number_chars];
  const auto result = std::to_chars(digits, digits + max_number_chars, value);
  chars_.append(digits, result.ptr);
}

}  // namespace projectile

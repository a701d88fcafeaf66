#include "input.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

#include "text.h"

namespace projectile {

std::optional<std::string_view> read_line(std::FILE* in, line_buffer& buf) {
  constexpr std::size_t keep = line_buffer{}.size() - 1;  // room for the terminator
  std::size_t size = 0;
  int c = std::getc(in);
  if (c == EOF) {
    buf[0] = '\0';
    return std::nullopt;
  }
  for (; c != EOF && c != '\n'; c = std::getc(in)) {
    if (size < keep) {
      buf[size++] = static_cast<char>(c);
    }
  }
  buf[size] = '\0';
  return std::string_view(buf.data(), size);
}

namespace {
// isspace() in the C locale, without its dependence on the current locale
// and on the sign of char.
constexpr bool is_space(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
}  // namespace

int parse_count(std::string_view line) noexcept {
  std::size_t i = 0;
  while (i < line.size() && is_space(line[i])) {
    ++i;
  }
  bool negative = false;
  if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
    negative = line[i] == '-';
    ++i;
  }
  // Accumulated as a magnitude in long long and clamped once it passes the
  // larger limit, so no digit string can overflow.
  constexpr long long limit = static_cast<long long>(INT_MAX) + 1;
  long long magnitude = 0;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (line[i] - '0');
    if (magnitude > limit) {
      magnitude = limit;
    }
  }
  if (negative) {
    return static_cast<int>(-magnitude);
  }
  return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

std::optional<std::uint32_t> whole_number(std::string_view text) noexcept {
  if (text.empty()) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > UINT32_MAX) {
      return std::nullopt;
    }
  }
  return static_cast<std::uint32_t>(value);
}

std::string whole_number_range(std::uint32_t lowest, std::uint32_t highest) {
  return "a whole number from " + decimal(lowest) + " to " + decimal(highest);
}

typed_choice read_choice(std::string_view typed, std::uint32_t lowest, std::uint32_t highest) {
  const auto value = whole_number(typed);
  if (value && *value >= lowest && *value <= highest) {
    return {value, {}};
  }
  return {std::nullopt,
          "must be " + whole_number_range(lowest, highest) + ", not '" + std::string(typed) + "'"};
}

namespace {

constexpr bool is_digit(char c) noexcept {
  return c >= '0' && c <= '9';
}

// 10^0 .. 10^22: each exactly a double (5^22 < 2^53).
constexpr std::array<double, 23> exact_powers = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int exact_power = 22;

// significand * 10^exponent. With the significand below 2^53 and the power of
// ten at most 10^22, both are exact doubles and this is one correctly rounded
// operation (Clinger's fast path), which covers every value an answer prints
// and all but contrived typing. Otherwise the significand and each further
// factor of 10^22 round once more: within a few units in the last place, far
// inside the 1 % that decides.
double scaled(std::uint64_t significand, int exponent) noexcept {
  auto value = static_cast<double>(significand);
  for (; exponent > exact_power; exponent -= exact_power) {
    value *= exact_powers[exact_power];
  }
  for (; exponent < -exact_power; exponent += exact_power) {
    value /= exact_powers[exact_power];
  }
  return exponent >= 0 ? value * exact_powers[static_cast<std::size_t>(exponent)]
                       : value / exact_powers[static_cast<std::size_t>(-exponent)];
}

}  // namespace

// Read here rather than by strtod, which in the page's C library brings
// quadruple-precision arithmetic a third the size of the page, and reads no
// comma.
scanned scan_number(std::string_view s, char point_mark) noexcept {
  // Beyond 19 significant digits, the rest only count their places.
  constexpr int kept_digits = 19;
  // An exponent beyond this makes any significand infinite or zero.
  constexpr int exponent_limit = 100000;
  std::size_t i = 0;
  const bool negative = i < s.size() && s[i] == '-';
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    ++i;
  }
  std::uint64_t significand = 0;
  int kept = 0;
  long long exponent = 0;
  std::size_t digits = 0;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (s[i] == point_mark && !point) {
      point = true;
      continue;
    }
    if (!is_digit(s[i])) {
      break;
    }
    ++digits;
    const auto digit = static_cast<std::uint64_t>(s[i] - '0');
    if (kept < kept_digits && (significand != 0 || digit != 0)) {
      significand = significand * 10 + digit;
      ++kept;
      exponent -= point ? 1 : 0;
    } else if (significand == 0) {
      exponent -= point ? 1 : 0;  // a leading zero
    } else {
      exponent += point ? 0 : 1;
    }
  }
  if (digits == 0) {
    return {0, 0};
  }
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    const bool below = i < s.size() && s[i] == '-';
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
      ++i;
    }
    const std::size_t start = i;
    long long written = 0;
    for (; i < s.size() && is_digit(s[i]); ++i) {
      written = std::min<long long>(written * 10 + (s[i] - '0'), exponent_limit);
    }
    if (i == start) {
      return {0, 0};  // "2e" or "2e+" is no number, and e no unit
    }
    exponent += below ? -written : written;
  }
  exponent = std::clamp<long long>(exponent, -exponent_limit, exponent_limit);
  const double value = scaled(significand, static_cast<int>(exponent));
  return {i, negative ? -value : value};
}

}  // namespace projectile

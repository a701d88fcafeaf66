#include "practice.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace projectile {

namespace {

constexpr std::string_view blanks = " \t";

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

struct scanned {
  std::size_t length;  // 0 when no number starts there
  double value;
};

// The decimal number at the start of `s`: a sign, digits with at most one
// point, an exponent. Read here rather than by strtod, which in the page's C
// library brings quadruple-precision arithmetic a third the size of the page.
scanned scan_number(std::string_view s) noexcept {
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
    if (s[i] == '.' && !point) {
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

bool is_unit_of(std::string_view unit, quantity what) noexcept {
  if (what == quantity::impact_angle && unit == "\u00B0") {
    return true;
  }
  return unit == unit_of(what);
}

struct quantity_words {
  std::string_view name;
  std::string_view unit;
  std::string_view label;
};

constexpr std::array<quantity_words, 5> words = {{
    {"Time of flight", "s", "Time of flight (s)"},
    {"Range", "m", "Range (m)"},
    {"Max height", "m", "Max height (m)"},
    {"Impact speed", "m/s", "Impact speed (m/s)"},
    {"Impact angle", "degrees", "Impact angle (degrees below the horizontal)"},
}};

constexpr const quantity_words& words_of(quantity what) noexcept {
  return words[static_cast<std::size_t>(what)];
}

}  // namespace

std::string_view name_of(quantity what) noexcept {
  return words_of(what).name;
}
std::string_view unit_of(quantity what) noexcept {
  return words_of(what).unit;
}
std::string_view label_of(quantity what) noexcept {
  return words_of(what).label;
}

std::string_view sign_hint_of(quantity what) noexcept {
  return what == quantity::impact_angle
             ? "The angle is measured below the horizontal, so it is positive."
             : "A time, distance or speed is a size: it is never negative.";
}

asked_values asked_of(kind type, const answer& a) noexcept {
  asked_values asked{};
  const auto add = [&](quantity what, double value) {
    const number_text printed = text::format_g(value);
    asked.items[asked.size++] = {what, printed, scan_number(printed.view()).value};
  };
  add(quantity::time_of_flight, static_cast<double>(a.t));
  add(quantity::range, a.sx);
  if (type == kind::ground) {
    add(quantity::max_height, a.max_height);
  }
  add(quantity::impact_speed, static_cast<double>(a.vmag));
  add(quantity::impact_angle, a.impact_degrees);
  return asked;
}

std::optional<double> read_typed(std::string_view typed, quantity what) {
  const std::size_t first = typed.find_first_not_of(blanks);
  if (first == std::string_view::npos) {
    return std::nullopt;
  }
  // Trimmed in place: substr() may throw, which brings the exception runtime
  // into the page.
  typed.remove_suffix(typed.size() - 1 - typed.find_last_not_of(blanks));
  typed.remove_prefix(first);
  const scanned number = scan_number(typed);
  if (number.length == 0) {
    return std::nullopt;
  }
  std::string_view unit = typed;
  unit.remove_prefix(number.length);
  unit.remove_prefix(std::min(unit.find_first_not_of(blanks), unit.size()));
  if (!unit.empty() && !is_unit_of(unit, what)) {
    return std::nullopt;
  }
  return number.value;
}

bool is_right(double value, double printed) noexcept {
  return std::fabs(value - printed) <= tolerance * printed;
}

verdict check(std::string_view typed, const asked_value& asked) {
  const auto value = read_typed(typed, asked.what);
  if (!value) {
    return verdict::unreadable;
  }
  if (*value < 0) {
    return verdict::negative;
  }
  return is_right(*value, asked.value) ? verdict::right : verdict::wrong;
}

namespace {

constexpr std::string_view expected_number =
    "Expected a number such as 2.04; use a point for decimals.";

std::string printed_with_unit(const asked_value& asked) {
  std::string printed(asked.printed.view());
  printed += ' ';
  printed += unit_of(asked.what);
  return printed;
}

}  // namespace

std::string mark_line(verdict given, const asked_value& asked) {
  switch (given) {
    case verdict::right:
      return "\u2713 Right.";
    case verdict::unreadable:
      return "? " + std::string(expected_number);
    case verdict::negative:
      return "\u2717 Wrong: the answer is " + printed_with_unit(asked) + ". " +
             std::string(sign_hint_of(asked.what));
    case verdict::wrong:
      break;
  }
  return "\u2717 Wrong: the answer is " + printed_with_unit(asked) + ".";
}

std::string heard_line(verdict given, const asked_value& asked) {
  std::string heard(name_of(asked.what));
  switch (given) {
    case verdict::right:
      return heard + ": right.";
    case verdict::unreadable:
      return heard + ": " + std::string(expected_number);
    case verdict::negative:
    case verdict::wrong:
      break;
  }
  return heard + ": wrong, the answer is " + printed_with_unit(asked) + ".";
}

std::string rule_line() {
  // The tolerance as a percentage, printed as the answers print numbers; a
  // no-break space keeps "1 %" on one line.
  text percent;
  percent.append("A value is right when it is within ");
  percent.append_g(tolerance * 100);
  percent.append("\u00A0% of the worked answer\u2019s.");
  return std::string(percent.view());
}

}  // namespace projectile

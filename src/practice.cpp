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
// decimal mark (`point`), an exponent. Read here rather than by strtod, which
// in the page's C library brings quadruple-precision arithmetic a third the
// size of the page, and reads no comma.
scanned scan_number(std::string_view s, char point_mark = '.') noexcept {
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

// The forms in which each quantity's unit is typed, the printed one first.
struct unit_forms {
  quantity what;
  std::array<std::string_view, 3> forms;
};
constexpr std::array<unit_forms, 5> typed_units = {{
    {quantity::time_of_flight, {"s", "sec", ""}},
    {quantity::range, {"m", "", ""}},
    {quantity::max_height, {"m", "", ""}},
    {quantity::impact_speed, {"m/s", "", ""}},
    {quantity::impact_angle, {"degrees", "deg", "\u00B0"}},
}};

bool is_unit_of(std::string_view unit, quantity what) noexcept {
  const auto& forms = typed_units[static_cast<std::size_t>(what)].forms;
  return std::find(forms.begin(), forms.end(), unit) != forms.end();
}

bool is_some_unit(std::string_view unit) noexcept {
  return std::any_of(typed_units.begin(), typed_units.end(),
                     [&](const unit_forms& u) { return is_unit_of(unit, u.what); });
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
std::string_view label_unit_of(quantity what) noexcept {
  // Between the label's parentheses.
  std::string_view unit = words_of(what).label;
  unit.remove_prefix(unit.find('(') + 1);
  unit.remove_suffix(1);
  return unit;
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

reading read_value(std::string_view typed, quantity what) {
  const reading not_a_number{std::nullopt, refusal::not_a_number, {}};
  const std::size_t first = typed.find_first_not_of(blanks);
  if (first == std::string_view::npos) {
    return {std::nullopt, refusal::empty, {}};
  }
  // Trimmed in place: substr() may throw, which brings the exception runtime
  // into the page.
  typed.remove_suffix(typed.size() - 1 - typed.find_last_not_of(blanks));
  typed.remove_prefix(first);
  // No unit holds a comma or a point, so the whole text tells the mark.
  const auto commas = std::count(typed.begin(), typed.end(), ',');
  const bool points = typed.find('.') != std::string_view::npos;
  if (commas > 0 && points) {
    return {std::nullopt, refusal::comma_and_point, {}};
  }
  const scanned number = scan_number(typed, commas == 1 ? ',' : '.');
  if (number.length == 0) {
    return not_a_number;
  }
  std::string_view unit = typed;
  unit.remove_prefix(number.length);
  unit.remove_prefix(std::min(unit.find_first_not_of(blanks), unit.size()));
  if (unit.empty() || is_unit_of(unit, what)) {
    return {number.value, refusal::none, {}};
  }
  if (is_some_unit(unit)) {
    return {std::nullopt, refusal::other_unit, unit};
  }
  return not_a_number;
}

std::optional<double> read_typed(std::string_view typed, quantity what) {
  return read_value(typed, what).value;
}

bool is_right(double value, double printed) noexcept {
  return std::fabs(value - printed) <= tolerance * printed;
}

verdict check(std::string_view typed, const asked_value& asked) {
  return verdict_of(read_value(typed, asked.what), asked);
}

verdict verdict_of(const reading& read, const asked_value& asked) noexcept {
  if (read.why == refusal::empty) {
    return verdict::empty;
  }
  if (!read.value) {
    return verdict::unreadable;
  }
  if (*read.value < 0) {
    return verdict::negative;
  }
  return is_right(*read.value, asked.value) ? verdict::right : verdict::wrong;
}

namespace {

constexpr double pi = 3.14159265358979323846;

// Every asked quantity of a launch as a student works it, in double: the
// slips need only come within 1 % of what a student types.
struct worked {
  double time;
  double range;
  double height;
  double speed;
  double angle;  // below the horizontal at impact, in the calculator's unit
  double vx;     // the two components at impact, as sizes
  double vy;
};

struct working {
  bool swapped = false;  // sine and cosine exchanged
  bool radians = false;  // the calculator set to radians
  bool to_top = false;   // the time to the top as the time of flight
  bool no_2 = false;     // a drop in sqrt(h / g)
  double g = 9.8;
};

worked work(const question& q, const working& how) {
  const auto u = static_cast<double>(q.params.umag);
  const double out = how.radians ? 1.0 : 180 / pi;  // radians to the calculator's unit
  if (q.type == kind::horizontal) {
    const double time = std::sqrt((how.no_2 ? 1 : 2) * static_cast<double>(q.params.h) / how.g);
    const double vy = how.g * time;
    return {time, u * time, 0, std::hypot(u, vy), std::atan(vy / u) * out, u, vy};
  }
  const double in = how.radians ? 1.0 : pi / 180;  // the calculator's unit to radians
  const double angle = static_cast<double>(q.params.angle) * in;
  double ux = u * std::cos(angle);
  double uy = u * std::sin(angle);
  if (how.swapped) {
    std::swap(ux, uy);
  }
  const double time = (how.to_top ? 1 : 2) * uy / how.g;
  return {time,
          ux * time,
          uy * uy / (2 * how.g),
          std::hypot(ux, uy),
          std::atan(uy / ux) * out,
          std::fabs(ux),
          std::fabs(uy)};
}

double value_of(const worked& w, quantity what) noexcept {
  switch (what) {
    case quantity::time_of_flight:
      return w.time;
    case quantity::range:
      return w.range;
    case quantity::max_height:
      return w.height;
    case quantity::impact_speed:
      return w.speed;
    case quantity::impact_angle:
      break;
  }
  return w.angle;
}

struct slip_words {
  std::string_view id;
  std::string_view sentence;
};

constexpr std::array<slip_words, 8> slip_catalogue = {{
    {"", ""},
    {"sin-cos-swapped",
     "That swaps sine and cosine: the horizontal component is u cos \u03B8, the vertical u sin "
     "\u03B8."},
    {"radians", "That is what a calculator set to radians gives; these angles are in degrees."},
    {"time-to-top",
     "That follows from the time to the highest point; the flight lasts twice as long."},
    {"g-10", "That takes g as 10 m/s\u00B2; these answers take 9.8 m/s\u00B2."},
    {"drop-no-2", "That leaves out the 2: a drop from rest takes t = \u221A(2h/g)."},
    {"from-vertical",
     "That angle is measured from the vertical; the answer's is below the horizontal."},
    {"one-component",
     "That is one component alone; the speed is \u221A(vx\u00B2 + vy\u00B2) of both."},
}};

constexpr const slip_words& words_of(slip which) noexcept {
  return slip_catalogue[static_cast<std::size_t>(which)];
}

// Whether `value` is within 1 % of the slip's `candidate`, which lies more
// than 2 % of itself from the printed answer. Measured against the slip's
// own value, g taken as 10 (which makes a ground launch's time, range and
// height 2 % of the answer short, 2.04 % of themselves) is named; and no
// value within 1 % of the answer is ever within 1 % of a slip's.
bool is_slip(double value, double candidate, double printed) noexcept {
  const double size = std::fabs(candidate);
  return std::fabs(candidate - printed) > 2 * tolerance * size &&
         std::fabs(value - candidate) <= tolerance * size;
}

}  // namespace

std::string_view id_of(slip which) noexcept {
  return words_of(which).id;
}

std::string_view sentence_of(slip which, quantity what) noexcept {
  if (which == slip::time_to_top && what == quantity::time_of_flight) {
    return "That is the time to the highest point; the flight lasts twice as long.";
  }
  return words_of(which).sentence;
}

slip slip_of(const question& q, const asked_value& asked, double value) noexcept {
  const quantity what = asked.what;
  const double printed = asked.value;
  const auto by = [&](const working& how) { return value_of(work(q, how), what); };
  const bool ground = q.type == kind::ground;
  // First, as it is the likelier: from the vertical, a ground launch's
  // impact angle is also what swapping sine and cosine gives.
  const worked right = work(q, {});
  if (what == quantity::impact_angle && is_slip(value, 90 - right.angle, printed)) {
    return slip::from_vertical;
  }
  if (ground && is_slip(value, by({.swapped = true}), printed)) {
    return slip::sin_cos_swapped;
  }
  if (is_slip(value, by({.radians = true}), printed)) {
    return slip::radians;
  }
  if (ground && is_slip(value, by({.to_top = true}), printed)) {
    return slip::time_to_top;
  }
  if (is_slip(value, by({.g = 10}), printed)) {
    return slip::g_10;
  }
  if (!ground && is_slip(value, by({.no_2 = true}), printed)) {
    return slip::drop_no_2;
  }
  if (what == quantity::impact_speed &&
      (is_slip(value, right.vx, printed) || is_slip(value, right.vy, printed))) {
    return slip::one_component;
  }
  return slip::none;
}

namespace {

std::string refused_line(const reading& typed, quantity what) {
  switch (typed.why) {
    case refusal::comma_and_point:
      return "Type the number with one decimal mark, a point or a comma, and no thousands "
             "separator.";
    case refusal::other_unit:
      return std::string(name_of(what)) + " is in " + std::string(unit_of(what)) + ", not " +
             std::string(typed.unit) + ".";
    case refusal::none:
    case refusal::empty:
    case refusal::not_a_number:
      break;
  }
  return "Expected a number such as 2.04.";
}

std::string wrong_line(verdict given, slip named, const asked_value& asked) {
  std::string line = "Wrong.";
  if (named != slip::none) {
    line += ' ';
    line += sentence_of(named, asked.what);
  }
  if (given == verdict::negative) {
    line += ' ';
    line += sign_hint_of(asked.what);
  }
  return line;
}

}  // namespace

std::string mark_line(const reading& typed, verdict given, slip named, const asked_value& asked) {
  switch (given) {
    case verdict::empty:
      return "";
    case verdict::right:
      return "\u2713 Right.";
    case verdict::unreadable:
      return "? " + refused_line(typed, asked.what);
    case verdict::negative:
    case verdict::wrong:
      break;
  }
  return "\u2717 " + wrong_line(given, named, asked);
}

std::string heard_line(const reading& typed, verdict given, slip named, const asked_value& asked) {
  const std::string name(name_of(asked.what));
  switch (given) {
    case verdict::empty:
      return "";
    case verdict::right:
      return name + ": right.";
    case verdict::unreadable:
      return name + ": " + refused_line(typed, asked.what);
    case verdict::negative:
    case verdict::wrong:
      break;
  }
  return name + ": " + wrong_line(given, named, asked);
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

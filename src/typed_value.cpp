#include "typed_value.h"

#include <algorithm>
#include <array>
#include <numbers>

#include "input.h"

namespace projectile {

namespace {

constexpr std::string_view blanks = " \t";
// U+2212, the minus sign a word processor or a phone's keyboard gives.
constexpr std::string_view typographic_minus = "\u2212";

// The units a student may write after a value, each with the factor that
// takes it to the unit the answer prints. A unit belongs to a kind of
// quantity: a time, a distance (the range and the height), a speed or an
// angle.
enum class dimension { time, distance, speed, angle };

struct typed_unit {
  dimension of;
  std::string_view form;
  double factor;
};

// Sized by its entries: a count written by hand left two empty units once.
constexpr auto typed_units = std::to_array<typed_unit>({
    {dimension::time, "s", 1},
    {dimension::time, "sec", 1},
    {dimension::time, "second", 1},
    {dimension::time, "seconds", 1},
    {dimension::distance, "m", 1},
    {dimension::distance, "km", 1000},
    {dimension::distance, "cm", 0.01},
    {dimension::speed, "m/s", 1},
    {dimension::speed, "m s\u207B\u00B9", 1},
    {dimension::speed, "m s-1", 1},
    // km/h to m/s: 1000 m in 3600 s, one correctly rounded division.
    {dimension::speed, "km/h", 1000.0 / 3600.0},
    {dimension::angle, "degrees", 1},
    {dimension::angle, "degree", 1},
    {dimension::angle, "deg", 1},
    {dimension::angle, "\u00B0", 1},
    {dimension::angle, "rad", 180 / std::numbers::pi},
});

constexpr dimension dimension_of(quantity what) noexcept {
  switch (what) {
    case quantity::time_of_flight:
      return dimension::time;
    case quantity::range:
    case quantity::max_height:
      return dimension::distance;
    case quantity::impact_speed:
      return dimension::speed;
    case quantity::impact_angle:
      break;
  }
  return dimension::angle;
}

const typed_unit* unit_named(std::string_view form) noexcept {
  const auto* found = std::find_if(typed_units.begin(), typed_units.end(),
                                   [&](const typed_unit& u) { return u.form == form; });
  return found == typed_units.end() ? nullptr : found;
}

}  // namespace

reading read_value(std::string_view typed, quantity what) {
  const reading not_a_number{std::nullopt, refusal::not_a_number, {}, false};
  const std::size_t first = typed.find_first_not_of(blanks);
  if (first == std::string_view::npos) {
    return {std::nullopt, refusal::empty, {}, false};
  }
  // Trimmed in place: substr() may throw, which brings the exception runtime
  // into the page.
  typed.remove_suffix(typed.size() - 1 - typed.find_last_not_of(blanks));
  typed.remove_prefix(first);
  // No unit holds a comma or a point, so the whole text tells the mark.
  const auto commas = std::count(typed.begin(), typed.end(), ',');
  const bool points = typed.find('.') != std::string_view::npos;
  if (commas > 0 && points) {
    return {std::nullopt, refusal::comma_and_point, {}, false};
  }
  const bool minus = typed.starts_with(typographic_minus);
  if (minus) {
    typed.remove_prefix(typographic_minus.size());
    if (typed.starts_with("+") || typed.starts_with("-")) {
      return not_a_number;
    }
  }
  const scanned number = scan_number(typed, commas == 1 ? ',' : '.');
  if (number.length == 0) {
    return not_a_number;
  }
  const double value = minus ? -number.value : number.value;
  std::string_view unit = typed;
  unit.remove_prefix(number.length);
  unit.remove_prefix(std::min(unit.find_first_not_of(blanks), unit.size()));
  if (unit.empty()) {
    return {value, refusal::none, {}, false};
  }
  const typed_unit* named = unit_named(unit);
  if (named == nullptr) {
    return not_a_number;
  }
  if (named->of != dimension_of(what)) {
    return {std::nullopt, refusal::other_unit, unit, false};
  }
  return {value * named->factor, refusal::none, unit, named->factor != 1};
}

}  // namespace projectile

#include "typed_value.h"

#include <algorithm>
#include <array>

#include "input.h"

namespace projectile {

namespace {

constexpr std::string_view blanks = " \t";

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

}  // namespace

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

}  // namespace projectile

#include "quantity.h"

#include <cmath>

#include "input.h"

namespace projectile {

namespace {

struct quantity_words {
  std::string_view name;
  std::string_view unit;
  std::string_view label;
};

constexpr std::array<quantity_words, quantities.size()> quantity_catalogue = {{
    {"Time of flight", "s", "Time of flight (s)"},
    {"Range", "m", "Range (m)"},
    {"Max height", "m", "Max height (m)"},
    {"Impact speed", "m/s", "Impact speed (m/s)"},
    {"Impact angle", "degrees", "Impact angle (degrees below the horizontal)"},
}};

constexpr const quantity_words& words_of(quantity what) noexcept {
  return quantity_catalogue[static_cast<std::size_t>(what)];
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

bool is_right(double value, double printed) noexcept {
  return std::fabs(value - printed) <= tolerance * printed;
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

}  // namespace projectile

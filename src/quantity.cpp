#include "quantity.h"

#include <cmath>

#include "input.h"

namespace projectile {

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
  const std::array<double, quantities.size()> values = {
      static_cast<double>(a.t), a.sx, a.max_height, static_cast<double>(a.vmag), a.impact_degrees};
  for (const quantity what : quantities) {
    if (asks_for(type, what)) {
      add(what, values[static_cast<std::size_t>(what)]);
    }
  }
  return asked;
}

}  // namespace projectile

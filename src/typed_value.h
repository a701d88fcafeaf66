// A value as a student types it for one quantity: the number, its decimal
// mark and its unit, or the reason it is not read.
#pragma once

#include <optional>
#include <string_view>

#include "quantity.h"

namespace projectile {

// Why a typed value is not read.
enum class refusal {
  none,
  empty,            // nothing but blanks
  not_a_number,     // no number, or something other than a unit after it
  comma_and_point,  // "1,234.5": a thousands separator, or two decimal marks
  other_unit,       // the unit of another quantity: "3 m" for a time
};

struct reading {
  std::optional<double> value;  // set exactly when `why` is none, in the unit printed
  refusal why;
  std::string_view unit;  // the unit typed, if any
  bool converted;         // the value was typed in another unit than the one printed
};

// A number as a student may type it for `what`: blanks around it, an optional
// sign (a hyphen or the minus sign U+2212), digits with one decimal mark, an
// optional exponent, and optionally a unit after it: for a time s, sec,
// second(s); for a range or height m, km, cm; for a speed m/s, km/h, m s⁻¹,
// m s-1; for an angle °, deg, degree(s), rad. A value in another unit than
// the printed one is converted to it. The decimal mark is a point, or a comma
// where the value has one comma and no point ("2,5" is 2.5), as Moodle reads
// it. Anything else is refused, with the reason.
reading read_value(std::string_view typed, quantity what);

}  // namespace projectile

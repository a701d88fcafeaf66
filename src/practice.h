// Practice: the quantities a question asks a student for, how a typed value is
// read, and when it counts as right. The page's Practice view and a quiz file
// hold a student to the same rule.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "answer.h"
#include "problem.h"
#include "text.h"

namespace projectile {

// In the order the request line asks for them: the time of flight, the range,
// the maximum height (ground launches only), then the velocity on impact as a
// speed and an angle below the horizontal.
enum class quantity { time_of_flight, range, max_height, impact_speed, impact_angle };

std::string_view name_of(quantity what) noexcept;
// The unit the answer prints after the value ("s", "m", "m/s", "degrees").
std::string_view unit_of(quantity what) noexcept;
// The name with what the value is in: "Impact angle (degrees below the horizontal)".
std::string_view label_of(quantity what) noexcept;
// What the value is in, as the label says it: "degrees below the horizontal".
std::string_view label_unit_of(quantity what) noexcept;
// Why a negative value is wrong, in a line.
std::string_view sign_hint_of(quantity what) noexcept;

// A typed value is right within 1 % of the answer's printed value: the six
// printed digits are the answer a student compares with, and 1 % forgives a
// value worked with g rounded or carried to three digits.
inline constexpr double tolerance = 0.01;

struct asked_value {
  quantity what;
  number_text printed;  // as the worked answer prints it
  double value;         // the printed text read back: what a typed value is held against
};

struct asked_values {
  std::array<asked_value, 5> items;
  std::size_t size;

  [[nodiscard]] std::span<const asked_value> view() const noexcept { return {items.data(), size}; }
};

// What the question's request line asks for, with the answer's printed values.
asked_values asked_of(kind type, const answer& a) noexcept;

// Why a typed value is not read.
enum class refusal {
  none,
  empty,            // nothing but blanks
  not_a_number,     // no number, or something other than a unit after it
  comma_and_point,  // "1,234.5": a thousands separator, or two decimal marks
  other_unit,       // the unit of another quantity: "3 m" for a time
};

struct reading {
  std::optional<double> value;  // set exactly when `why` is none
  refusal why;
  std::string_view unit;  // with other_unit: the unit typed
};

// A number as a student may type it for `what`: blanks around it, an optional
// sign, digits with one decimal mark, an optional exponent, and optionally
// the quantity's unit after it, in one of its usual forms ("2.04 s", "2.04
// sec", "30°", "30 deg", "30 degrees"). The decimal mark is a point, or a
// comma where the value has one comma and no point ("2,5" is 2.5), as Moodle
// reads it. Anything else is refused, with the reason.
reading read_value(std::string_view typed, quantity what);
// The value alone: nullopt for anything refused.
std::optional<double> read_typed(std::string_view typed, quantity what);

// The one rule: |value - printed| <= 1 % of printed.
bool is_right(double value, double printed) noexcept;

enum class verdict {
  empty,       // nothing typed: no attempt, and no mark
  unreadable,  // refused: no attempt
  negative,    // read, and wrong: every asked quantity is positive
  wrong,
  right,
};

verdict check(std::string_view typed, const asked_value& asked);
// The same, of a value already read for it.
verdict verdict_of(const reading& read, const asked_value& asked) noexcept;

// The common slips, and what each gives for each quantity of a launch, as a
// student making it would work the whole question.
enum class slip {
  none,
  sin_cos_swapped,  // the components with sine and cosine exchanged
  radians,          // a calculator set to radians: degrees in, radians out
  time_to_top,      // the time to the highest point taken as the time of flight
  g_10,             // g taken as 10 m/s^2
  drop_no_2,        // a horizontal launch's drop time as sqrt(h / g)
  from_vertical,    // the impact angle measured from the vertical
  one_component,    // the impact speed as one component alone
};

// "sin-cos-swapped", ...: the slip's name in the page (data-slip="ID").
std::string_view id_of(slip which) noexcept;
// One plain sentence that names the slip to a student who typed its value.
std::string_view sentence_of(slip which, quantity what) noexcept;

// The slip that `value`, typed for `asked` of question `q`, comes from: one
// whose value for that quantity lies within 1 % of it, and more than 2 % from
// the printed answer (so that no right value is ever taken for a slip); none
// if there is no such slip.
slip slip_of(const question& q, const asked_value& asked, double value) noexcept;

// The line shown beside a checked value ("✓ Right.", "✗ Wrong." with the slip
// named, "? Expected a number such as 2.04.") and the words a screen reader
// hears of it ("Range: right."); empty for an empty field. A wrong value
// never gives the answer away.
std::string mark_line(const reading& typed, verdict given, slip named, const asked_value& asked);
std::string heard_line(const reading& typed, verdict given, slip named, const asked_value& asked);

// The rule as a student reads it: "A value is right when it is within 1 % of
// the worked answer's."
std::string rule_line();

}  // namespace projectile

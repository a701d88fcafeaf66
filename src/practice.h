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

// A number as a student may type it for `what`: blanks around it, an optional
// sign, digits with at most one decimal point, an optional exponent, and
// optionally the quantity's unit after it ("2.04 s", "30°", "30 degrees").
// nullopt for anything else: a decimal comma, a fraction, a second number, a
// wrong unit, or nothing at all.
std::optional<double> read_typed(std::string_view typed, quantity what);

// The one rule: |value - printed| <= 1 % of printed.
bool is_right(double value, double printed) noexcept;

enum class verdict {
  unreadable,  // not a number in the accepted form: not counted as an attempt
  negative,    // read, and wrong: every asked quantity is positive
  wrong,
  right,
};

verdict check(std::string_view typed, const asked_value& asked);

// The line shown beside a checked value ("✓ Right.", "✗ Wrong: the answer is
// 35.348 m.") and the words a screen reader hears of it ("Range: right.").
std::string mark_line(verdict given, const asked_value& asked);
std::string heard_line(verdict given, const asked_value& asked);

// The rule as a student reads it: "A value is right when it is within 1 % of
// the worked answer's."
std::string rule_line();

}  // namespace projectile

// What a question asks a student for: the quantities of its request line with
// their names and units, the values its worked answer prints for them, and the
// one rule by which a value given for one is right. Practice, the worksheet's
// key and every quiz file hold a student to the same values and rule.
#pragma once

#include <array>
#include <cstddef>
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
inline constexpr std::array<quantity, 5> quantities = {quantity::time_of_flight, quantity::range,
                                                       quantity::max_height, quantity::impact_speed,
                                                       quantity::impact_angle};

std::string_view name_of(quantity what) noexcept;
// The unit the answer prints after the value ("s", "m", "m/s", "degrees").
std::string_view unit_of(quantity what) noexcept;
// The name with what the value is in: "Impact angle (degrees below the horizontal)".
std::string_view label_of(quantity what) noexcept;
// What the value is in, as the label says it: "degrees below the horizontal".
std::string_view label_unit_of(quantity what) noexcept;

// A value is right within 1 % of the answer's printed value: the six printed
// digits are the answer a student compares with, and 1 % forgives a value
// worked with g rounded or carried to three digits.
inline constexpr double tolerance = 0.01;

// The one rule: |value - printed| <= 1 % of printed.
bool is_right(double value, double printed) noexcept;

// The rule as a student reads it: "A value is right when it is within 1 % of
// the worked answer's."
std::string rule_line();

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

}  // namespace projectile

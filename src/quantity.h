// What a question asks a student for: the quantities of its request line with
// their names and units, the values its worked answer prints for them, and the
// one rule by which a value given for one is right. Practice, the worksheet's
// key and every quiz file hold a student to the same values and rule.
#pragma once

#include <algorithm>
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

// What is shown of each quantity: its name; the unit the answer prints after
// the value; what a field's value is in; the key table's heading (the name
// with the unit) and a field's label (the name with what its value is in);
// and the name that files for other programs give it (an answer sheet's
// bubbles, the marks' columns).
struct quantity_words {
  std::string_view name;
  std::string_view unit;
  std::string_view label_unit;
  std::string_view heading;
  std::string_view label;
  std::string_view id;
};
inline constexpr std::array<quantity_words, quantities.size()> quantity_catalogue = {{
    {"Time of flight", "s", "s", "Time of flight (s)", "Time of flight (s)", "time_of_flight"},
    {"Range", "m", "m", "Range (m)", "Range (m)", "range"},
    {"Max height", "m", "m", "Max height (m)", "Max height (m)", "max_height"},
    {"Impact speed", "m/s", "m/s", "Impact speed (m/s)", "Impact speed (m/s)", "impact_speed"},
    {"Impact angle", "degrees", "degrees below the horizontal", "Impact angle (degrees)",
     "Impact angle (degrees below the horizontal)", "impact_angle"},
}};

// "NAME (IN)", as a heading or a label writes it.
constexpr bool names_with(std::string_view whole, std::string_view name, std::string_view in) {
  return whole.size() == name.size() + in.size() + 3 && whole.starts_with(name) &&
         whole.substr(name.size(), 2) == " (" && whole.substr(name.size() + 2, in.size()) == in &&
         whole.ends_with(")");
}
static_assert(std::all_of(quantity_catalogue.begin(), quantity_catalogue.end(),
                          [](const quantity_words& w) {
                            return names_with(w.heading, w.name, w.unit) &&
                                   names_with(w.label, w.name, w.label_unit);
                          }),
              "a heading or label that says other than its name and unit");

constexpr const quantity_words& words_of(quantity what) noexcept {
  return quantity_catalogue[static_cast<std::size_t>(what)];
}
constexpr std::string_view name_of(quantity what) noexcept {
  return words_of(what).name;
}
// "time_of_flight", "range", "max_height", "impact_speed", "impact_angle".
constexpr std::string_view id_of(quantity what) noexcept {
  return words_of(what).id;
}
// Whether a question of `type` asks for `what`: all five of a ground
// launch, all but the maximum height of a horizontal one.
constexpr bool asks_for(kind type, quantity what) noexcept {
  return type == kind::ground || what != quantity::max_height;
}
// The unit the answer prints after the value ("s", "m", "m/s", "degrees").
constexpr std::string_view unit_of(quantity what) noexcept {
  return words_of(what).unit;
}
// The name with what the value is in: "Impact angle (degrees below the horizontal)".
constexpr std::string_view label_of(quantity what) noexcept {
  return words_of(what).label;
}
// What the value is in, as the label says it: "degrees below the horizontal".
constexpr std::string_view label_unit_of(quantity what) noexcept {
  return words_of(what).label_unit;
}

// A value is right within 1 % of the answer's printed value: the six printed
// digits are the answer a student compares with, and 1 % forgives a value
// worked with g rounded or carried to three digits. Every form that marks a
// value follows it: Practice, both quiz files, and the class's copy-proofing.
inline constexpr double tolerance = 0.01;
// The same in parts per ten thousand, for the exact decimal bounds a quiz
// file writes; it must say the same.
inline constexpr unsigned ten_thousand = 10000;
constexpr unsigned parts_per_ten_thousand(double fraction) noexcept {
  unsigned parts = 0;
  while (parts < ten_thousand && parts / double{ten_thousand} < fraction) {
    ++parts;
  }
  return parts;
}
inline constexpr unsigned tolerance_per_10000 = parts_per_ten_thousand(tolerance);
static_assert(tolerance_per_10000 > 0 && tolerance_per_10000 < ten_thousand &&
                  tolerance_per_10000 / double{ten_thousand} == tolerance,
              "the tolerance must be a whole number of parts per ten thousand");

// Every question is worth the same in a quiz, whatever it asks: its values
// share this many points (5 each of four, 4 each of five).
inline constexpr int points_per_question = 20;

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

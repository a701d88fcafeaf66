// A set given to a class: the questions of the run seeded at one second, as
// the console writes them, as a worksheet with its answer key, or as a Moodle
// quiz file; and the arguments of projectile-set, which writes them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace projectile {

enum class set_form {
  run,        // questions and answers, from the first question's empty line on
  worksheet,  // the questions, a line "Answers", then each number and its answer
  moodle,     // Moodle XML: one embedded-answers question per question
};

inline constexpr int default_set_count = 10;
inline constexpr int most_set_count = 10000;

// The set's first `count` questions in `form` (none for a count below 1),
// handed to `write` in blocks of some kilobytes; false as soon as a write
// fails. The console's run is the run form of the clock's set.
bool write_set(std::uint32_t set, int count, set_form form,
               const std::function<bool(std::string_view)>& write);

// What projectile-set is asked for.
struct set_request {
  std::optional<std::uint32_t> set;  // nullopt: the clock's second
  int count = default_set_count;
  set_form form = set_form::run;
  bool help = false;
};

// A count of questions: a whole number from 1 to `most`, digits alone.
std::optional<int> parse_set_count(std::string_view text, int most) noexcept;

// The arguments after the program's name, or the one-line reason they are
// refused, which names the argument at fault.
std::variant<set_request, std::string> parse_set_arguments(
    std::span<const std::string_view> arguments);

}  // namespace projectile

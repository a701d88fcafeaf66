// Practice: a set's questions one at a time, each value a student types
// checked as it is typed (right, wrong with the slip it comes from, or
// refused with the reason), the worked answer a line at a time on request,
// and a tally of how the student did, which can be kept and taken up again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "problem_set.h"
#include "quantity.h"
#include "slip.h"
#include "typed_value.h"
#include "verdict.h"

namespace projectile {

// Practice: the set's questions one at a time, each value checked as it is
// typed, the worked answer a line at a time on request, and a tally of how
// the student did, which can be kept and taken up again.
class practice_session {
 public:
  explicit practice_session(std::uint32_t set);

  [[nodiscard]] const problem_set& set() const noexcept { return set_; }
  [[nodiscard]] const problem& current() const noexcept { return current_; }
  void next();
  // Question 1 again, with nothing tried.
  void start_over() { *this = practice_session(set_.number()); }

  struct mark {
    verdict given;
    slip named;        // with a wrong value: the slip it comes from, if any
    std::string line;  // shown beside the value; empty for an empty field
  };
  struct checked {
    std::vector<mark> marks;                     // one per asked value, in the asked order
    std::string heard;                           // what a screen reader is told
    std::optional<std::size_t> first_not_right;  // of the values typed
    bool nothing_typed;                          // every field empty: `heard` asks for a value
  };
  // `typed` holds one text per asked value; a missing one counts as empty.
  // Each value's first try counts once, right or wrong, and is right at the
  // first try only if no hint had shown its line; an empty or refused value
  // is no try, and nothing counts once every line of the answer is out,
  // shown or hinted.
  checked check(std::span<const std::string_view> typed);

  // The worked answer as far as hints have shown it: "Answer:" and one more
  // line for each hint, all of it (as the console prints it) once every
  // line is shown. hint() shows the next line and returns it; nothing once
  // every line is shown.
  std::string_view hint();
  [[nodiscard]] std::string_view hinted() const noexcept;
  [[nodiscard]] bool every_line_shown() const noexcept;
  // The whole worked answer; checks of this question no longer count.
  std::string_view show_answer();
  [[nodiscard]] bool answer_shown() const noexcept { return shown_; }
  // Whether any of the worked answer is out: a hint taken, or all of it.
  [[nodiscard]] bool answer_begun() const noexcept { return shown_ || lines_shown_ > 0; }

  // "Right at the first try: 7 of 9 values · 2 hints".
  [[nodiscard]] std::string tally_line() const;

  // The session as a line of text to keep, and taken up again from one:
  // false, and nothing changed, for a record that is not one of this set's.
  [[nodiscard]] std::string record() const;
  bool resume(std::string_view kept);

 private:
  void ask(int number);
  [[nodiscard]] std::size_t lines_in_answer() const noexcept;
  [[nodiscard]] std::size_t line_of(quantity what) const noexcept;

  problem_set set_;
  problem current_;
  std::string answer_;           // the current question's worked answer
  std::size_t lines_shown_ = 0;  // of it, after "Answer:", by hints
  unsigned tried_here_ = 0;      // the current question's values tried, one bit each
  bool shown_ = false;
  std::uint32_t tried_ = 0;
  std::uint32_t right_first_ = 0;
  std::uint32_t hints_ = 0;
};

// What Practice says of its state and of the record it keeps.
inline constexpr std::string_view nothing_typed_line = "Type a value in at least one field.";
inline constexpr std::string_view answer_shown_line =
    "The answer is shown: checks of this question no longer count.";
inline constexpr std::string_view record_refused_line =
    "The score kept for this set could not be read, so it starts again.";

}  // namespace projectile

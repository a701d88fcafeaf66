// A set: the questions of the run seeded at one second, which is how they are
// given to a class. Any question of it is reached at once, with all that is
// shown of it; every form of a set (the run, a worksheet, a quiz file) and
// Practice take their questions from here.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "answer.h"
#include "problem.h"
#include "quantity.h"

namespace projectile {

// A set is any seed a run can have.
inline constexpr std::uint32_t highest_set = std::numeric_limits<std::uint32_t>::max();
// How many questions a set's forms hold when no count is asked for, and at
// most: memory stays bounded at any count, but a file of more is no quiz.
inline constexpr int default_set_count = 10;
inline constexpr int most_set_count = 10000;

// One question of a set, with all that is shown of it.
struct problem {
  int number;  // from 1, as the run numbers it
  question q;
  answer a;
  asked_values asked;
};

class problem_set {
 public:
  explicit constexpr problem_set(std::uint32_t set) noexcept : set_(set) {}

  [[nodiscard]] constexpr std::uint32_t number() const noexcept { return set_; }

  // Question `number` (1 or more): drawn from the state the run reaches
  // before it, without drawing the questions before it.
  [[nodiscard]] problem at(int number) const noexcept;

  // Questions 1 to `count` (none for a count below 1), in order, each drawn
  // where the one before it left the generator: the one walk over a set's
  // questions that every form takes. `visit(number, q)` returns false to
  // stop the walk, which then returns false. Counted in long long: an int
  // would overflow after a count of INT_MAX.
  template <class Visit>
  bool each(long long count, Visit visit) const {
    crt_rand raw{set_};
    for (long long n = 1; n <= count; ++n) {
      if (!visit(static_cast<int>(n), draw_question(raw))) {
        return false;
      }
    }
    return true;
  }

 private:
  std::uint32_t set_;
};

// Question `number`, drawn as `q`, with its answer and what it asks for.
problem problem_of(int number, const question& q) noexcept;

// The question as the run writes it, from its number to the request's line
// end, and its worked answer, every line from "Answer:" on.
std::string question_text(const problem& p);
std::string answer_text(const problem& p);

// The same as a quiz file carries them, without the line ends around them,
// and the statement without the run's number ("3. "): the platform numbers
// the questions of a quiz itself, and may shuffle them.
std::string statement_text(const problem& p);
std::string worked_text(const problem& p);

}  // namespace projectile

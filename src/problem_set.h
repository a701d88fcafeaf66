// A set: the questions of the run seeded at one second, which is how they are
// given to a class. Everything that shows a set goes through here: the console
// run, projectile-set (as text, a worksheet or a Moodle quiz file) and the web
// page (its Practice and Worksheet views), with the limits that hold for each.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "answer.h"
#include "practice.h"
#include "problem.h"

namespace projectile {

// Text handed on a block at a time; false when it could not be written.
using block_sink = std::function<bool(std::string_view)>;

enum class set_form {
  run,        // questions and answers, from the first question's empty line on
  worksheet,  // the questions, a line "Answers", then each number and its answer
  moodle,     // Moodle XML: one embedded-answers question per question
};

// A set is any seed a run can have.
inline constexpr std::uint32_t most_set = std::numeric_limits<std::uint32_t>::max();
inline constexpr int default_set_count = 10;
// The most questions projectile-set writes at once.
inline constexpr int most_set_count = 10000;
// The most a page's worksheet lays out: every question is a block of the page
// to lay out and print, and a worksheet of more than a hundred is a book.
inline constexpr int most_sheet_count = 100;

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

  // The set's first `count` questions in `form` (none for a count below 1),
  // handed to `write` in blocks of some kilobytes, made in one pass; false as
  // soon as a write fails.
  bool write(int count, set_form form, const block_sink& write) const;

 private:
  std::uint32_t set_;
};

// The answer key's table: a row per question, its number and each quantity
// as the worked answer prints it ("-" where the question does not ask it).
inline constexpr std::array<std::string_view, 6> key_columns = {"No.",
                                                                "Time of flight (s)",
                                                                "Range (m)",
                                                                "Max height (m)",
                                                                "Impact speed (m/s)",
                                                                "Impact angle (degrees)"};
std::array<std::string, key_columns.size()> key_row(const problem& p);

// The question as the run writes it, from its number to the request's line
// end, and its worked answer, every line from "Answer:" on.
std::string question_text(const problem& p);
std::string answer_text(const problem& p);

// A count of questions: a whole number from 1 to `most`, digits alone (a
// set itself is read by parse_set).
std::optional<int> parse_set_count(std::string_view typed, int most) noexcept;
// "a whole number from LOWEST to HIGHEST": the range a refused value names.
std::string whole_number_range(std::uint32_t lowest, std::uint32_t highest);

// The set an address asks for with "set=S" among its '&'-separated parts
// (after a '#'), if any: nullopt when it names none, else the text and
// whether it is a set.
struct address_set {
  std::string_view typed;
  std::optional<std::uint32_t> set;
};
std::optional<address_set> set_in_address(std::string_view address) noexcept;
// Why an address's set is not taken, and what the run does instead.
std::string address_set_refused(std::string_view typed);

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
  };
  // `typed` holds one text per asked value; a missing one counts as empty.
  // Each value's first try counts once, right or wrong; an empty or refused
  // value is no try, and nothing counts once the answer has been shown.
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

// What Practice says of its state and of the record it keeps, and the name a
// set's record is kept under.
inline constexpr std::string_view answer_shown_line =
    "The answer is shown: checks of this question no longer count.";
inline constexpr std::string_view record_refused_line =
    "The score kept for this set could not be read, so it starts again.";
inline constexpr std::string_view storage_refused_line =
    "This browser keeps nothing for this page, so the score will not be kept once it closes.";
std::string record_key(std::uint32_t set);

// What projectile-set is asked for.
struct set_request {
  std::optional<std::uint32_t> set;  // nullopt: the clock's second
  int count = default_set_count;
  set_form form = set_form::run;
  std::string figures;  // not empty: the folder to write each question's figures into
  bool help = false;
};

// The arguments after the program's name, or the one-line reason they are
// refused, which names the argument at fault.
std::variant<set_request, std::string> parse_set_arguments(
    std::span<const std::string_view> arguments);

}  // namespace projectile

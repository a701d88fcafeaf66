// What the page asks of the library besides main(), exported beside it: for
// the Practice view, the questions of a set in the console run's order, each
// with its text, the quantities it asks for and its worked answer, and the
// verdict on a typed value; for the Worksheet view, any question or answer of
// a set and its Moodle quiz file; and reading a set or count typed into the
// page or its address. The page keeps no text, number or rule of its own. A
// returned string stays valid until the next call that returns one.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "answer.h"
#include "input.h"
#include "practice.h"
#include "problem.h"
#include "set.h"
#include "text.h"

namespace {

struct practice {
  projectile::crt_rand raw{0};
  int number = 0;
  projectile::question question{};
  projectile::answer answer{};
  projectile::asked_values asked{};
};

practice current;
projectile::text returned;

// The returned text, NUL-terminated, from its `from`th character.
const char* give(std::size_t from = 0) {
  returned.append(std::string_view("", 1));
  return returned.view().data() + from;
}

const char* give(std::string_view s) {
  returned.clear();
  returned.append(s);
  return give();
}

// The asked quantity at `index`, or nullptr past the last.
const projectile::asked_value* asked_at(int index) {
  const auto asked = current.asked.view();
  return index >= 0 && static_cast<std::size_t>(index) < asked.size()
             ? &asked[static_cast<std::size_t>(index)]
             : nullptr;
}

}  // namespace

extern "C" {

// The set a page's address or a field names, or -1 when it names none that a
// run can have (exact in a double, as the page's numbers are).
double read_set(const char* typed) {
  const auto set = projectile::parse_set(typed);
  return set ? static_cast<double>(*set) : -1.0;
}

// A worksheet's count, 1 to `most`, or -1.
int read_count(const char* typed, int most) {
  const auto count = projectile::parse_set_count(typed, most);
  return count ? *count : -1;
}

// Question `number` of the set, or its worked answer under the number as a
// worksheet's key gives it ("3." and the answer), each without the empty
// line before it.
const char* set_piece(std::uint32_t set, int number, int answer) {
  projectile::crt_rand raw{set};
  projectile::question q{};
  for (int n = 1; n <= number; ++n) {
    q = projectile::draw_question(raw);
  }
  returned.clear();
  if (answer != 0) {
    returned.append_i(number);
    returned.append(".");
    projectile::write_answer(returned, projectile::solve(q.params));
    return give();
  }
  projectile::write_question(returned, number, q);
  return give(1);
}

// The set's first `count` questions as a Moodle quiz file, as projectile-set
// --moodle writes it.
const char* set_moodle(std::uint32_t set, int count) {
  returned.clear();
  projectile::write_set(set, count, projectile::set_form::moodle, [](std::string_view block) {
    returned.append(block);
    return true;
  });
  return give();
}

// Question 1 of the run seeded at `set` comes next, as srand(set) would start it.
void practice_start(std::uint32_t set) {
  current = {projectile::crt_rand{set}};
}

// Draws the next question; returns how many quantities it asks for.
int practice_next() {
  ++current.number;
  current.question = projectile::draw_question(current.raw);
  current.answer = projectile::solve(current.question.params);
  current.asked = projectile::asked_of(current.question.type, current.answer);
  return static_cast<int>(current.asked.size);
}

// The question as the console writes it, from its number to the request's line end.
const char* practice_question() {
  returned.clear();
  projectile::write_question(returned, current.number, current.question);
  return give(1);  // after the empty line that parts it from the text before
}

// The worked answer as the console writes it, every line from "Answer:" on.
const char* practice_answer() {
  returned.clear();
  projectile::write_answer(returned, current.answer);
  return give(1);
}

const char* practice_label(int index) {
  const auto* asked = asked_at(index);
  return asked ? give(projectile::label_of(asked->what)) : nullptr;
}

const char* practice_name(int index) {
  const auto* asked = asked_at(index);
  return asked ? give(projectile::name_of(asked->what)) : nullptr;
}

// The value as the worked answer prints it, with its unit: "35.348 m".
const char* practice_printed(int index) {
  const auto* asked = asked_at(index);
  if (asked == nullptr) {
    return nullptr;
  }
  returned.clear();
  returned.append(asked->printed);
  returned.append(" ");
  returned.append(projectile::unit_of(asked->what));
  return give();
}

// 0 unreadable, 1 negative, 2 wrong, 3 right (projectile::verdict).
int practice_check(int index, const char* typed) {
  const auto* asked = asked_at(index);
  return static_cast<int>(asked ? projectile::check(typed, *asked)
                                : projectile::verdict::unreadable);
}

// Why a negative value is wrong, in a line: the sign convention of its quantity.
const char* practice_sign_hint(int index) {
  const auto* asked = asked_at(index);
  return asked ? give(projectile::sign_hint_of(asked->what)) : nullptr;
}

}  // extern "C"

#include "problem_set.h"

#include <string_view>

#include "text.h"

namespace projectile {

problem problem_of(int number, const question& q) noexcept {
  const answer a = solve(q.params);
  return {number, q, a, asked_of(q.type, a)};
}

problem problem_set::at(int number) const noexcept {
  crt_rand raw{set_};
  raw.discard(static_cast<std::uint64_t>(number - 1) * draws_per_question);
  return problem_of(number, draw_question(raw));
}

namespace {

// Without the empty line that parts the text from what comes before it.
std::string without_first_line_end(const text& made) {
  std::string_view view = made.view();
  view.remove_prefix(1);
  return std::string(view);
}

}  // namespace

std::string question_text(const problem& p) {
  text out;
  write_question(out, p.number, p.q);
  return without_first_line_end(out);
}

std::string answer_text(const problem& p) {
  text out;
  write_answer(out, p.a);
  return without_first_line_end(out);
}

namespace {

std::string without_line_ends(std::string made) {
  while (!made.empty() && made.back() == '\n') {
    made.pop_back();
  }
  return made;
}

}  // namespace

std::string statement_text(const problem& p) {
  text out;
  write_statement(out, p.q);
  return without_line_ends(std::string(out.view()));
}

std::string worked_text(const problem& p) {
  return without_line_ends(answer_text(p));
}

}  // namespace projectile

// The yardstick for the program's speed: the same text for the same clock,
// written by one plain printf call per piece, as a straightforward program
// would. projectile-printf-baseline COUNT
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "answer.h"
#include "problem.h"

namespace {

struct printf_calls {
  static void append(std::string_view piece) {
    std::printf("%.*s", static_cast<int>(piece.size()), piece.data());
  }
  static void append_g(double value) { std::printf("%g", value); }
  static void append_i(int value) { std::printf("%i", value); }
};

}  // namespace

int main(int argc, char** argv) {
  const long long count = argc > 1 ? std::atoll(argv[1]) : 0;
  auto raw = projectile::seeded_from_clock();
  printf_calls out;
  std::printf(
      "Projectile motion question generator (NOTE: solutions don't use sig figs)\n\n"
      "Number of questions? ");
  for (long long q = 1; q <= count; ++q) {
    const auto question = projectile::draw_question(raw);
    projectile::write_question(out, static_cast<int>(q), question);
    projectile::write_answer(out, projectile::solve(question.params));
  }
  std::printf("Program finished, press enter to exit.");
  return 0;
}

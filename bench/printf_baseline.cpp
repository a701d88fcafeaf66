// The yardstick for the program's speed: the same text for the same clock,
// written by one plain printf call per piece, as a straightforward program
// would. projectile-printf-baseline COUNT
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "answer.h"
#include "printf_text.h"
#include "problem.h"

namespace {

struct printf_calls {
  static void append(std::string_view piece) {
    std::printf("%.*s", static_cast<int>(piece.size()), piece.data());
  }
  static void append(const projectile::number_text& number) { append(number.view()); }
  static void append_g(double value) { std::printf("%g", value); }
  static void append_i(int value) { std::printf("%i", value); }
  // A number printed twice is formatted once, as the program does.
  static projectile::number_text format_g(double value) {
    return projectile::testing::printf_text::format_g(value);
  }
  static void append_hundredths(int /*hundredths*/, float value) {
    append_g(static_cast<double>(value));
  }
};

}  // namespace

int main(int argc, char** argv) {
  long long count = 0;
  if (argc > 1) {
    std::from_chars(argv[1], argv[1] + std::strlen(argv[1]), count);
  }
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

// Prints, for launches given on standard input, the text this build writes
// for them: question and worked answer. Each input line is
//   NUMBER KIND SPEED PARAMETER
// with KIND 1 (ground; PARAMETER is the angle) or 2 (horizontal; PARAMETER is
// the height), and SPEED and PARAMETER in whole hundredths as drawn. Used to
// compare another build's output (the Windows one) with this one's.
#include <cstdio>
#include <iostream>

#include "answer.h"
#include "problem.h"
#include "text.h"

int main() {
  int number = 0;
  int type = 0;
  int speed = 0;
  int parameter = 0;
  projectile::text out;
  while (std::cin >> number >> type >> speed >> parameter) {
    const auto kind = type == 1 ? projectile::kind::ground : projectile::kind::horizontal;
    const auto q = projectile::question_of(kind, speed, parameter);
    out.clear();
    projectile::write_question(out, number, q);
    projectile::write_answer(out, projectile::solve(q.params));
    if (std::fwrite(out.view().data(), 1, out.view().size(), stdout) != out.view().size()) {
      return 1;
    }
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}

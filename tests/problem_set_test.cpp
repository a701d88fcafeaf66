#include "problem_set.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "set_text.h"
#include "set_text_of.h"

namespace projectile {
namespace {

using testing::set_text;

// Any question reached at once is the one the run reaches by drawing every
// question before it: the first few hundred against the run's text, and
// far-off ones against the draws themselves.
TEST(ProblemSet, AQuestionAtOnceIsTheRunsQuestion) {
  for (const std::uint32_t set : {0U, 1796634001U, UINT32_MAX}) {
    const problem_set questions(set);
    std::string pieces;
    for (int n = 1; n <= 300; ++n) {
      const problem p = questions.at(n);
      // Appended a piece at a time: GCC 12 warns falsely (-Wrestrict) of
      // "\n" + std::string on 32-bit targets.
      pieces += '\n';
      pieces += question_text(p);
      pieces += '\n';
      pieces += answer_text(p);
    }
    EXPECT_EQ(pieces, set_text(set, 300, text_form::run)) << set;

    crt_rand raw{set};
    for (int n = 1; n <= 200000; ++n) {
      const question drawn = draw_question(raw);
      if (n % 49999 == 0) {
        const problem p = questions.at(n);
        EXPECT_EQ(p.number, n);
        EXPECT_EQ(p.q.type, drawn.type);
        EXPECT_EQ(p.q.speed, drawn.speed);
        EXPECT_EQ(p.q.angle_or_height, drawn.angle_or_height);
      }
    }
  }
}

}  // namespace
}  // namespace projectile

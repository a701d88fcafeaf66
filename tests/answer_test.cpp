#include "answer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "bits.h"
#include "printf_text.h"
#include "text.h"

namespace projectile {
namespace {

TEST(Constants, HaveTheirExactBitPatterns) {
  EXPECT_EQ(projectile::bit_cast<std::uint32_t>(minus_g), 0xC11CCCCDU);
  EXPECT_EQ(projectile::bit_cast<std::uint32_t>(minus_2g), 0xC19CCCCDU);
  EXPECT_EQ(projectile::bit_cast<std::uint32_t>(minus_half_g), 0xC09CCCCDU);
  EXPECT_EQ(projectile::bit_cast<std::uint32_t>(deg_to_rad), 0x3C8EFA35U);
  EXPECT_EQ(projectile::bit_cast<std::uint32_t>(rad_to_deg), 0x42652EE0U);
  EXPECT_EQ(minus_2g, 2.0F * minus_g);
  EXPECT_EQ(minus_half_g, minus_g / 2.0F);
}

std::string answer_text(float umag, float angle, float h) {
  text out;
  write_answer(out, solve({umag, angle, h}));
  return std::string(out.view());
}

// Worked answers whose last digits pin the roundings: each line printed is one
// place where a value must or must not be rounded to single precision.
TEST(WriteAnswer, WorkedExamples) {
  struct example {
    float umag, angle, h;
    const char* text;
  };
  const example examples[] = {
      {20.0F, 30.0F, 0.0F,
       "\nAnswer:\n"
       "(initial vertical velocity = 10 m/s\n"
       " initial horizontal velocity = 17.3205 m/s)\n"
       "Time of flight = 2.04082 s\n"
       "Range = 35.348 m\n"
       "Max height = 5.10204 m (max displacement = 5.10204 m upwards)\n"
       "(final vertical component of velocity = -10 m/s\n"
       " final horizontal component of velocity = 17.3205 m/s)\n"
       "Velocity on impact is 20 m/s at an angle of 30 degrees below the horizontal.\n\n"},
      {10.0F, 0.0F, 100.0F,
       "\nAnswer:\n"
       "(initial vertical velocity = 0 m/s\n"
       " initial horizontal velocity = 10 m/s)\n"
       "Time of flight = 4.51754 s\n"
       "Range = 45.1754 m\n"
       "(final vertical component of velocity = -44.2719 m/s\n"
       " final horizontal component of velocity = 10 m/s)\n"
       "Velocity on impact is 45.3872 m/s at an angle of 77.2718 degrees below the "
       "horizontal.\n\n"},
      {100.0F, 80.0F, 0.0F,
       "\nAnswer:\n"
       "(initial vertical velocity = 98.4808 m/s\n"
       " initial horizontal velocity = 17.3648 m/s)\n"
       "Time of flight = 20.0981 s\n"
       "Range = 349 m\n"
       "Max height = 494.82 m (max displacement = 494.82 m upwards)\n"
       "(final vertical component of velocity = -98.4808 m/s\n"
       " final horizontal component of velocity = 17.3648 m/s)\n"
       "Velocity on impact is 100 m/s at an angle of 80 degrees below the horizontal.\n\n"},
      // 4.3412 only when cos takes the exact double product of the angle.
      {25.0F, 80.0F, 0.0F,
       "\nAnswer:\n"
       "(initial vertical velocity = 24.6202 m/s\n"
       " initial horizontal velocity = 4.3412 m/s)\n"
       "Time of flight = 5.02453 s\n"
       "Range = 21.8125 m\n"
       "Max height = 30.9262 m (max displacement = 30.9262 m upwards)\n"
       "(final vertical component of velocity = -24.6202 m/s\n"
       " final horizontal component of velocity = 4.3412 m/s)\n"
       "Velocity on impact is 25 m/s at an angle of 80 degrees below the horizontal.\n\n"},
      {10.0F, 10.0F, 0.0F,
       "\nAnswer:\n"
       "(initial vertical velocity = 1.73648 m/s\n"
       " initial horizontal velocity = 9.84808 m/s)\n"
       "Time of flight = 0.354384 s\n"
       "Range = 3.49 m\n"
       "Max height = 0.153845 m (max displacement = 0.153845 m upwards)\n"
       "(final vertical component of velocity = -1.73648 m/s\n"
       " final horizontal component of velocity = 9.84808 m/s)\n"
       "Velocity on impact is 10 m/s at an angle of 10 degrees below the horizontal.\n\n"},
  };
  for (const auto& e : examples) {
    EXPECT_EQ(answer_text(e.umag, e.angle, e.h), e.text)
        << e.umag << " m/s, " << e.angle << " degrees, " << e.h << " m";
  }
}

// Whole answers over many drawn questions: the program's formatting against
// snprintf's "%g", character for character.
TEST(WriteAnswer, FormatsEveryNumberAsPrintfDoes) {
  crt_rand raw{12345};
  text fast;
  testing::printf_text reference;
  for (int i = 1; i <= 50000; ++i) {
    const question q = draw_question(raw);
    const answer a = solve(q.params);
    fast.clear();
    reference.clear();
    write_question(fast, i, q);
    write_answer(fast, a);
    write_question(reference, i, q);
    write_answer(reference, a);
    ASSERT_EQ(fast.view(), reference.view());
  }
}

}  // namespace
}  // namespace projectile

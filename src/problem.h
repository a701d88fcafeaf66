// Problem generation: the random source, integers drawn from it, and the
// random setup and statement of each question.
#pragma once

#include <cstdint>

namespace projectile {

// The Microsoft C runtime's rand(): a 32-bit linear congruential generator
// whose output is bits 16..30 of the new state. Chosen over the host's rand()
// because random() below scales by 32768 and so needs exactly 15 bits, and
// because a fixed algorithm makes one seed draw the same questions on every
// platform and compiler.
struct crt_rand {
  std::uint32_t state;

  static constexpr std::uint32_t multiplier = 214013U;
  static constexpr std::uint32_t increment = 2531011U;

  constexpr int operator()() noexcept {
    state = state * multiplier + increment;
    return static_cast<int>((state >> 16) & 0x7FFFU);
  }

  // Moves on `n` draws at once. n steps of s -> a s + c are themselves one
  // affine map s -> A s + C modulo 2^32, composed here from the maps of 1, 2,
  // 4, ... steps by squaring: O(log n) multiplications, and exact, since
  // unsigned arithmetic is modulo 2^32.
  constexpr void discard(std::uint64_t n) noexcept {
    std::uint32_t total_mult = 1;
    std::uint32_t total_add = 0;
    std::uint32_t step_mult = multiplier;
    std::uint32_t step_add = increment;
    for (; n != 0; n >>= 1U) {
      if ((n & 1U) != 0) {
        total_mult *= step_mult;
        total_add = total_add * step_mult + step_add;
      }
      step_add *= step_mult + 1U;
      step_mult *= step_mult;
    }
    state = state * total_mult + total_add;
  }
};

inline constexpr int raw_max = 32767;

// Seeded with the calendar time in whole seconds, as srand(time(0)) would be:
// two runs started within one second ask the same questions.
crt_rand seeded_from_clock() noexcept;

// An integer in lowest..highest from one raw value of `raw` (any callable
// returning 0..raw_max). The product is formed in int first and then scaled by
// 2^-15; the callers keep (highest - lowest + 1) * raw_max within int. For the
// non-negative products that arise the double scaling is exact, so this is
// the product shifted right by 15 bits; the mapping is slightly non-uniform
// and nothing is re-drawn.
template <class Raw>
constexpr int random(Raw& raw, int lowest, int highest) {
  const int range = highest - lowest + 1;
  const int product = range * raw();
  return lowest + static_cast<int>(static_cast<double>(product) * 0x1p-15);
}

enum class kind { ground = 1, horizontal = 2 };

// One launch: speed in m/s, angle above the horizontal in degrees, height above
// the landing level in m. A ground launch has h == 0, a horizontal one angle == 0.
struct launch {
  float umag;
  float angle;
  float h;
};

struct question {
  kind type;
  launch params;
  // The drawn whole hundredths the statement prints: the speed, and the angle
  // or the height.
  int speed;
  int angle_or_height;
};

// A drawn integer in hundredths as a launch parameter: divided in double and
// stored in single precision, so 1234 becomes the float nearest 12.34.
constexpr float hundredths(int n) noexcept {
  return static_cast<float>(static_cast<double>(n) / 100.0);
}

// The inclusive ranges the launch parameters are drawn from, in hundredths.
struct hundredths_range {
  int lowest;
  int highest;
};
inline constexpr hundredths_range speed_range{1000, 10000};
inline constexpr hundredths_range angle_range{1000, 8000};
inline constexpr hundredths_range height_range{100, 10000};

// The question of a kind whose speed and angle or height are the given whole
// hundredths.
constexpr question question_of(kind type, int speed, int angle_or_height) noexcept {
  const float umag = hundredths(speed);
  const float value = hundredths(angle_or_height);
  if (type == kind::ground) {
    return {type, {umag, value, 0.0F}, speed, angle_or_height};
  }
  return {type, {umag, 0.0F, value}, speed, angle_or_height};
}

// Three draws, always in the order speed, kind, then angle or height.
inline constexpr int draws_per_question = 3;
template <class Raw>
constexpr question draw_question(Raw& raw) {
  const int speed = random(raw, speed_range.lowest, speed_range.highest);
  const auto type = static_cast<kind>(random(raw, 1, 2));
  const hundredths_range range = type == kind::ground ? angle_range : height_range;
  return question_of(type, speed, random(raw, range.lowest, range.highest));
}

// Appends the question's number, statement and request line, from the empty
// line that precedes it to the request's line end. `Text` provides
// append(std::string_view), append_g(double) and append_i(int), the last two
// as printf's "%g" and "%i", and append_hundredths(int n, float value), "%g"
// of a value made by hundredths(n).
template <class Text>
void write_statement(Text& out, const question& q);

template <class Text>
void write_question(Text& out, int number, const question& q) {
  out.append("\n");
  out.append_i(number);
  out.append(". ");
  write_statement(out, q);
}

// The statement and request line alone, as a quiz carries them: the platform
// numbers a quiz's questions itself.
template <class Text>
void write_statement(Text& out, const question& q) {
  if (q.type == kind::ground) {
    out.append("A projectile is launched from the ground at a speed of ");
    out.append_hundredths(q.speed, q.params.umag);
    out.append(" m/s\n at an angle ");
    out.append_hundredths(q.angle_or_height, q.params.angle);
    out.append(
        " degrees above the horizontal.\n"
        "Find the time of flight, range, maximum height and velocity on impact.\n");
  } else {
    out.append("A projectile is launched horizontally from a height of ");
    out.append_hundredths(q.angle_or_height, q.params.h);
    out.append(" m\n at a speed of ");
    out.append_hundredths(q.speed, q.params.umag);
    out.append(
        " m/s\n"
        "Find the time of flight, range and velocity on impact.\n");
  }
}

}  // namespace projectile

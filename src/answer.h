// The solution: the kinematics of one launch and the text of its worked answer.
#pragma once

#include "problem.h"

namespace projectile {

// Single-precision constants; their exact bit patterns decide the sixth printed
// digit of many answers. Gravity is held negative because upward is positive.
inline constexpr float minus_g = -9.8F;            // 0xC11CCCCD
inline constexpr float minus_2g = -19.6F;          // 0xC19CCCCD, exactly 2 * minus_g
inline constexpr float minus_half_g = -4.9F;       // 0xC09CCCCD, exactly minus_g / 2
inline constexpr float deg_to_rad = 0.017453292F;  // 0x3C8EFA35, nearest to pi/180
// 0x42652EE0: one unit in the last place below the float nearest 180/pi.
inline constexpr float rad_to_deg = 57.295776F;

// Every quantity of a worked answer, each in the precision in which it is
// computed and printed. The four max-height fields are set only when uy > 0.
struct answer {
  float ux;               // horizontal velocity, m/s
  float uy;               // initial vertical velocity, m/s, upward positive
  double discr;           // discriminant of -4.9 t^2 + uy t + h = 0
  float t;                // time of flight, s
  double sx;              // range, m
  double tmax;            // time to the top, s
  double sy;              // rise above the launch point, m
  double max_height;      // h + sy: height of the top above the ground, m
  double vy;              // vertical velocity at landing, m/s, printed unrounded
  float vmag;             // speed at landing, m/s
  float vang;             // direction at landing, radians, negative
  double impact_degrees;  // |vang| in degrees, as printed
};

// The answer to a launch; one procedure for both kinds, which differ only in
// angle == 0 or h == 0.
answer solve(const launch& p) noexcept;

// Appends the worked answer, from the empty line before "Answer:" to the empty
// line after it. `Text` is as for write_question, and also makes the text of
// a number to append more than once: format_g(double) gives a number_text,
// which append() takes.
template <class Text>
void write_answer(Text& out, const answer& a) {
  // ux is printed twice, and so, from the ground, is the rise: the height of
  // the top is h + sy with h == 0. Each is formatted once.
  const auto ux = out.format_g(static_cast<double>(a.ux));
  out.append("\nAnswer:\n(initial vertical velocity = ");
  out.append_g(static_cast<double>(a.uy));
  out.append(" m/s\n initial horizontal velocity = ");
  out.append(ux);
  out.append(" m/s)\nTime of flight = ");
  out.append_g(static_cast<double>(a.t));
  out.append(" s\nRange = ");
  out.append_g(a.sx);
  out.append(" m\n");
  if (a.uy > 0.0F) {
    const auto sy = out.format_g(a.sy);
    out.append("Max height = ");
    if (a.max_height == a.sy) {
      out.append(sy);
    } else {
      out.append_g(a.max_height);
    }
    out.append(" m (max displacement = ");
    out.append(sy);
    out.append(" m upwards)\n");
  }
  out.append("(final vertical component of velocity = ");
  out.append_g(a.vy);
  out.append(" m/s\n final horizontal component of velocity = ");
  out.append(ux);
  out.append(" m/s)\nVelocity on impact is ");
  out.append_g(static_cast<double>(a.vmag));
  out.append(" m/s at an angle of ");
  out.append_g(a.impact_degrees);
  out.append(" degrees below the horizontal.\n\n");
}

// Where write_answer puts the values a question asks for: lines counted
// from "Answer:" as line 0, each of the lines above ending in its own line
// end. The impact's speed and angle share the last line. Kept beside
// write_answer, which must change with it.
struct answer_lines {
  int time_of_flight;
  int range;
  int max_height;  // only when uy > 0
  int impact;
  int last;
};
constexpr answer_lines lines_of(const answer& a) noexcept {
  // The two lines of the initial velocity, then time and range; the max
  // height line where there is one; the final velocity's two lines; the
  // impact.
  const int top = a.uy > 0.0F ? 1 : 0;
  return {3, 4, 5, 7 + top, 7 + top};
}

}  // namespace projectile

// The three calls of the math library that an answer depends on. solve()
// calls cos, sin and atan once each and uses each result only through the one
// single-precision value it rounds from it: ux, uy and vang. They are
// recomputed here as solve() computes them (the sweep checks that they give
// its ux, uy and vang), so that a result can be moved, or compared with the
// correctly rounded one, and the value it feeds watched.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "answer.h"
#include "bits.h"

namespace projectile::testing {

enum libm_function { cos_call, sin_call, atan_call, libm_function_count };
inline constexpr std::array<const char*, libm_function_count> libm_names = {"cos", "sin", "atan"};

struct libm_call {
  double input;
  double result;
};

inline std::array<libm_call, libm_function_count> libm_calls_of(const launch& p, const answer& a) {
  const double radians = static_cast<double>(p.angle) * static_cast<double>(deg_to_rad);
  const auto sin_input = static_cast<double>(static_cast<float>(radians));
  const double atan_input =
      static_cast<double>(static_cast<float>(a.vy)) / static_cast<double>(a.ux);
  return {{{radians, std::cos(radians)},
           {sin_input, std::sin(sin_input)},
           {atan_input, std::atan(atan_input)}}};
}

// ux, uy or vang, as solve() rounds it from the function's result.
inline float rounded_from(libm_function f, const launch& p, double result) {
  return static_cast<float>(f == atan_call ? result : static_cast<double>(p.umag) * result);
}

// The value in `a` that each function feeds.
inline float fed_by(libm_function f, const answer& a) {
  return f == cos_call ? a.ux : f == sin_call ? a.uy : a.vang;
}

// Doubles in increasing order as integers, so that one step of one unit in the
// last place, across binades too, is a step of 1 (+0 and -0 both map to 0).
inline std::int64_t ordered(double x) {
  const auto bits = projectile::bit_cast<std::int64_t>(x);
  return bits >= 0 ? bits : -(bits & std::numeric_limits<std::int64_t>::max());
}

inline double from_ordered(std::int64_t n) {
  return n >= 0 ? projectile::bit_cast<double>(n)
                : projectile::bit_cast<double>(static_cast<std::uint64_t>(-n) |
                                               (std::uint64_t{1} << 63));
}

// How many one-ulp steps (direction +1 up, -1 down) the result of `f` can
// make before the value it feeds changes in any bit; counted exactly below
// `cap`, and `cap` when it is at least that. The value moves monotonically
// with the result, so the steps that keep it form one run, found by bisection.
inline std::int64_t safe_steps(libm_function f, const launch& p, double result, int direction,
                               std::int64_t cap) {
  const auto start = projectile::bit_cast<std::uint32_t>(rounded_from(f, p, result));
  const std::int64_t origin = ordered(result);
  const auto same = [&](std::int64_t steps) {
    const double moved = from_ordered(origin + direction * steps);
    return projectile::bit_cast<std::uint32_t>(rounded_from(f, p, moved)) == start;
  };
  if (same(cap)) {
    return cap;
  }
  std::int64_t kept = 0;  // same(kept), !same(lost)
  std::int64_t lost = cap;
  while (lost - kept > 1) {
    const std::int64_t middle = kept + (lost - kept) / 2;
    (same(middle) ? kept : lost) = middle;
  }
  return kept;
}

}  // namespace projectile::testing

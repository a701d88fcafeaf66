#include "answer.h"

#include <cmath>

namespace projectile {

// Everything is evaluated in double; the casts to float mark the only places
// where a value is rounded to single precision, and every later use takes the
// rounded value. The double overloads of <cmath> are called throughout: the
// float ones compute in single precision and change the sixth digit.
answer solve(const launch& p) noexcept {
  const auto umag = static_cast<double>(p.umag);
  const auto h = static_cast<double>(p.h);
  const auto g = static_cast<double>(minus_g);

  answer a{};
  // A product of two floats has at most 48 significant bits, so it is exact in
  // double. cos takes that exact product; sin takes it rounded to single
  // precision (25 m/s at 80 degrees gives ux = 4.3412, not 4.34121).
  const double radians = static_cast<double>(p.angle) * static_cast<double>(deg_to_rad);
  a.ux = static_cast<float>(umag * std::cos(radians));
  a.uy = static_cast<float>(umag * std::sin(static_cast<double>(static_cast<float>(radians))));
  const auto ux = static_cast<double>(a.ux);
  const auto uy = static_cast<double>(a.uy);

  // The larger root of -4.9 t^2 + uy t + h = 0, written with the constants'
  // own signs: uy^2 - h * (-19.6) under the root, divided by -9.8.
  a.discr = uy * uy - h * static_cast<double>(minus_2g);
  a.t = static_cast<float>((-uy - std::sqrt(a.discr)) / g);
  const auto t = static_cast<double>(a.t);
  a.sx = ux * t;

  if (a.uy > 0.0F) {
    a.tmax = -uy / g;
    a.sy = uy * a.tmax + a.tmax * (static_cast<double>(minus_half_g) * a.tmax);
    a.max_height = h + a.sy;
  }

  // vy is printed as computed, then rounded before the speed and direction are
  // formed from it.
  a.vy = g * t + uy;
  const auto vy = static_cast<double>(static_cast<float>(a.vy));
  a.vmag = static_cast<float>(std::sqrt(ux * ux + vy * vy));
  a.vang = static_cast<float>(std::atan(vy / ux));
  a.impact_degrees = std::fabs(static_cast<double>(a.vang)) * static_cast<double>(rad_to_deg);
  return a;
}

}  // namespace projectile

#include "slip.h"

#include <array>
#include <cmath>
#include <utility>

namespace projectile {

namespace {

constexpr double pi = 3.14159265358979323846;

// Every asked quantity of a launch as a student works it, in double: the
// slips need only come within 1 % of what a student types.
struct worked {
  double time;
  double range;
  double height;
  double speed;
  double angle;  // below the horizontal at impact, in the calculator's unit
  double vx;     // the two components at impact, as sizes
  double vy;
};

struct working {
  bool swapped = false;  // sine and cosine exchanged
  bool radians = false;  // the calculator set to radians
  bool to_top = false;   // the time to the top as the time of flight
  bool no_2 = false;     // a drop in sqrt(h / g)
  double g = 9.8;
};

worked work(const question& q, const working& how) {
  const auto u = static_cast<double>(q.params.umag);
  const double out = how.radians ? 1.0 : 180 / pi;  // radians to the calculator's unit
  if (q.type == kind::horizontal) {
    const double time = std::sqrt((how.no_2 ? 1 : 2) * static_cast<double>(q.params.h) / how.g);
    const double vy = how.g * time;
    return {time, u * time, 0, std::hypot(u, vy), std::atan(vy / u) * out, u, vy};
  }
  const double in = how.radians ? 1.0 : pi / 180;  // the calculator's unit to radians
  const double angle = static_cast<double>(q.params.angle) * in;
  double ux = u * std::cos(angle);
  double uy = u * std::sin(angle);
  if (how.swapped) {
    std::swap(ux, uy);
  }
  const double time = (how.to_top ? 1 : 2) * uy / how.g;
  return {time,
          ux * time,
          uy * uy / (2 * how.g),
          std::hypot(ux, uy),
          std::atan(uy / ux) * out,
          std::fabs(ux),
          std::fabs(uy)};
}

double value_of(const worked& w, quantity what) noexcept {
  switch (what) {
    case quantity::time_of_flight:
      return w.time;
    case quantity::range:
      return w.range;
    case quantity::max_height:
      return w.height;
    case quantity::impact_speed:
      return w.speed;
    case quantity::impact_angle:
      break;
  }
  return w.angle;
}

struct slip_words {
  std::string_view id;
  std::string_view sentence;
};

constexpr std::array<slip_words, 8> slip_catalogue = {{
    {"", ""},
    {"sin-cos-swapped",
     "That swaps sine and cosine: the horizontal component is u cos \u03B8, the vertical u sin "
     "\u03B8."},
    {"radians", "That is what a calculator set to radians gives; these angles are in degrees."},
    {"time-to-top",
     "That follows from the time to the highest point; the flight lasts twice as long."},
    {"g-10", "That takes g as 10 m/s\u00B2; these answers take 9.8 m/s\u00B2."},
    {"drop-no-2", "That leaves out the 2: a drop from rest takes t = \u221A(2h/g)."},
    {"from-vertical",
     "That angle is measured from the vertical; the answer's is below the horizontal."},
    {"one-component",
     "That is one component alone; the speed is \u221A(vx\u00B2 + vy\u00B2) of both."},
}};

constexpr const slip_words& words_of(slip which) noexcept {
  return slip_catalogue[static_cast<std::size_t>(which)];
}

// Whether `value` is within 1 % of the slip's `candidate`, which lies more
// than 2 % of itself from the printed answer. Measured against the slip's
// own value, g taken as 10 (which makes a ground launch's time, range and
// height 2 % of the answer short, 2.04 % of themselves) is named; and no
// value within 1 % of the answer is ever within 1 % of a slip's.
bool is_slip(double value, double candidate, double printed) noexcept {
  const double size = std::fabs(candidate);
  return std::fabs(candidate - printed) > 2 * tolerance * size &&
         std::fabs(value - candidate) <= tolerance * size;
}

}  // namespace

std::string_view id_of(slip which) noexcept {
  return words_of(which).id;
}

std::string_view sentence_of(slip which, quantity what) noexcept {
  if (which == slip::time_to_top && what == quantity::time_of_flight) {
    return "That is the time to the highest point; the flight lasts twice as long.";
  }
  return words_of(which).sentence;
}

slip slip_of(const question& q, const asked_value& asked, double value) noexcept {
  const quantity what = asked.what;
  const double printed = asked.value;
  const auto by = [&](const working& how) { return value_of(work(q, how), what); };
  const bool ground = q.type == kind::ground;
  // First, as it is the likelier: from the vertical, a ground launch's
  // impact angle is also what swapping sine and cosine gives.
  const worked right = work(q, {});
  if (what == quantity::impact_angle && is_slip(value, 90 - right.angle, printed)) {
    return slip::from_vertical;
  }
  if (ground && is_slip(value, by({.swapped = true}), printed)) {
    return slip::sin_cos_swapped;
  }
  if (is_slip(value, by({.radians = true}), printed)) {
    return slip::radians;
  }
  if (ground && is_slip(value, by({.to_top = true}), printed)) {
    return slip::time_to_top;
  }
  if (is_slip(value, by({.g = 10}), printed)) {
    return slip::g_10;
  }
  if (!ground && is_slip(value, by({.no_2 = true}), printed)) {
    return slip::drop_no_2;
  }
  if (what == quantity::impact_speed &&
      (is_slip(value, right.vx, printed) || is_slip(value, right.vy, printed))) {
    return slip::one_component;
  }
  return slip::none;
}

}  // namespace projectile

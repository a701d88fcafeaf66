#include "class_set.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

#include "answer.h"
#include "problem.h"
#include "problem_set.h"
#include "quantity.h"

namespace projectile {

namespace {

// An invertible mix of 32 bits (xor-shifts and odd multipliers): a
// bijection, so distinct candidates are distinct sets.
constexpr std::uint32_t mixed(std::uint32_t x) noexcept {
  x ^= x >> 16U;
  x *= 0x7FEB352DU;
  x ^= x >> 15U;
  x *= 0x846CA68BU;
  x ^= x >> 16U;
  return x;
}

constexpr std::uint32_t golden_step = 0x9E3779B9U;  // 2^32 / phi, odd

// A question's answer as the conflict check reads it: the unrounded values
// of what it asks for (0 where it does not ask), to pass over the far ones
// at once; the printed values decide for the few that come near.
struct answer_at {
  std::uint32_t set;
  kind type;
  std::array<double, quantities.size()> values;
};

answer_at answer_of(std::uint32_t set, const question& q) noexcept {
  const answer a = solve(q.params);
  const bool ground = q.type == kind::ground;
  return {set,
          q.type,
          {static_cast<double>(a.t), a.sx, ground ? a.max_height : 0, static_cast<double>(a.vmag),
           a.impact_degrees}};
}

// A printed value is within 5e-6 of itself of the value printed (six
// significant digits), so a typed value right within `tolerance` of one
// printed value lies within tolerance + 2e-5 or so of the other's unrounded
// value: two answers whose values are not all within `near_enough` of each
// other cannot mark each other right.
constexpr double near_enough = tolerance * 1.02;
static_assert(near_enough > tolerance + 1e-4, "the margin must cover six digits' rounding");

bool near(const answer_at& a, const answer_at& b) noexcept {
  for (std::size_t q = 0; q < quantities.size(); ++q) {
    const double x = a.values[q];
    const double y = b.values[q];
    if (std::fabs(x - y) > near_enough * std::max(x, y)) {
      return false;
    }
  }
  return true;
}

// Whether a student with the answers `typed`, entering them for the question
// that asks `wanted`, would have every value marked right.
bool marks_right(const problem& typed, const problem& wanted) noexcept {
  const auto given = typed.asked.view();
  for (const asked_value& v : wanted.asked.view()) {
    const auto match = std::find_if(given.begin(), given.end(),
                                    [&](const asked_value& g) { return g.what == v.what; });
    if (match == given.end() || !is_right(match->value, v.value)) {
      return false;
    }
  }
  return true;
}

bool copies(const answer_at& a, const answer_at& b, int place) noexcept {
  if (!near(a, b)) {
    return false;
  }
  const problem pa = problem_set(a.set).at(place);
  const problem pb = problem_set(b.set).at(place);
  return marks_right(pa, pb) || marks_right(pb, pa);
}

}  // namespace

std::vector<std::uint32_t> class_versions(std::uint32_t class_set, int versions) {
  // For each place, the answers of the versions taken, in buckets by their
  // time of flight, each 1/per_log of a natural log wide: two answers that
  // copy have times within near_enough of each other, and log(1 + x) < x,
  // so they fall in the same bucket or the next. (Which bucket an answer
  // near a border falls in may differ by a unit of the last place of a log;
  // the answers compared, and so the versions, do not.) Times lie between
  // e^-4 and e^4 s, 8 logs.
  constexpr int per_log = static_cast<int>(1 / near_enough);
  static_assert(per_log * near_enough <= 1);
  constexpr int buckets = 8 * per_log;
  const auto bucket_of = [](double t) {
    return std::clamp(static_cast<int>(std::floor(std::log(t) * per_log)) + buckets / 2, 1,
                      buckets - 2);
  };
  std::vector<std::vector<answer_at>> taken_at(static_cast<std::size_t>(copy_proof_places) *
                                               buckets);
  const auto slot = [](int place, int bucket) {
    return static_cast<std::size_t>(place) * buckets + static_cast<std::size_t>(bucket);
  };
  std::vector<std::uint32_t> taken;
  std::array<answer_at, copy_proof_places> candidate{};
  for (std::uint32_t i = 1; static_cast<int>(taken.size()) < versions; ++i) {
    const std::uint32_t set = mixed(class_set + i * golden_step);
    const bool clear = problem_set(set).each(copy_proof_places, [&](int place, const question& q) {
      const int p = place - 1;
      answer_at& here = candidate[static_cast<std::size_t>(p)];
      here = answer_of(set, q);
      const int b = bucket_of(here.values[0]);
      for (int near_b = b - 1; near_b <= b + 1; ++near_b) {
        const auto& near_here = taken_at[slot(p, near_b)];
        if (std::any_of(near_here.begin(), near_here.end(),
                        [&](const answer_at& other) { return copies(other, here, place); })) {
          return false;
        }
      }
      return true;
    });
    if (!clear) {
      continue;
    }
    taken.push_back(set);
    for (int p = 0; p < copy_proof_places; ++p) {
      const answer_at& here = candidate[static_cast<std::size_t>(p)];
      taken_at[slot(p, bucket_of(here.values[0]))].push_back(here);
    }
  }
  return taken;
}

}  // namespace projectile

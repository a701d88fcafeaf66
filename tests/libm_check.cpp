// This machine's math library against the truth: every result of cos, sin and
// atan that an answer depends on, compared with the correctly rounded one from
// MPFR; and where the two differ, whether the correctly rounded one would
// change the value it feeds (ux, uy or vang), and so a printed answer.
//
// projectile-libm-check [STRIDE]: cos and sin at every launch angle, for
// every speed; atan at launches 0, STRIDE, 2*STRIDE, ... of the domain (all of
// them with the default stride of 1). Fails if any answer would change.
#include <mpfr.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include "answer.h"
#include "bits.h"
#include "launches.h"
#include "libm_calls.h"
#include "problem.h"

namespace {

using projectile::testing::atan_call;
using projectile::testing::cos_call;
using projectile::testing::libm_function;
using projectile::testing::sin_call;

// The correctly rounded double of f(input): MPFR rounds to nearest, ties to
// even, from the exact result, at the 53 bits of a double.
class correctly_rounded {
 public:
  correctly_rounded() { mpfr_init2(value_, 53); }
  // MPFR keeps constants such as pi cached per thread; each thread's cache
  // goes with its last calculator, or the leak checker counts it.
  ~correctly_rounded() {
    mpfr_clear(value_);
    mpfr_free_cache2(MPFR_FREE_LOCAL_CACHE);
  }
  correctly_rounded(const correctly_rounded&) = delete;
  correctly_rounded& operator=(const correctly_rounded&) = delete;

  double operator()(libm_function f, double input) {
    mpfr_set_d(value_, input, MPFR_RNDN);  // exact: the precision is a double's
    if (f == cos_call) {
      mpfr_cos(value_, value_, MPFR_RNDN);
    } else if (f == sin_call) {
      mpfr_sin(value_, value_, MPFR_RNDN);
    } else {
      mpfr_atan(value_, value_, MPFR_RNDN);
    }
    return mpfr_get_d(value_, MPFR_RNDN);
  }

 private:
  mpfr_t value_;
};

struct tally {
  long long inputs = 0;
  long long differ = 0;
  std::int64_t most_ulps = 0;
  long long answers_changed = 0;

  void add(const tally& other) {
    inputs += other.inputs;
    differ += other.differ;
    most_ulps = std::max(most_ulps, other.most_ulps);
    answers_changed += other.answers_changed;
  }
};

// One input compared; `launches` are those whose fed value to check when the
// library's result is not the correctly rounded one.
template <class Launches>
void compare(libm_function f, const projectile::testing::libm_call& call, double truth,
             const Launches& launches, tally& t) {
  ++t.inputs;
  if (truth == call.result) {
    return;
  }
  ++t.differ;
  const std::int64_t ulps =
      projectile::testing::ordered(truth) - projectile::testing::ordered(call.result);
  t.most_ulps = std::max(t.most_ulps, ulps < 0 ? -ulps : ulps);
  for (const projectile::launch& p : launches) {
    const auto ours =
        projectile::bit_cast<std::uint32_t>(projectile::testing::rounded_from(f, p, call.result));
    const auto true_one =
        projectile::bit_cast<std::uint32_t>(projectile::testing::rounded_from(f, p, truth));
    t.answers_changed += ours != true_one ? 1 : 0;
  }
}

// cos and sin depend on the angle alone: each of them, the 0 of every
// horizontal launch too, is checked for every speed.
void check_angles(tally& cos_tally, tally& sin_tally) {
  correctly_rounded truth;
  std::vector<int> angles = {0};
  for (int angle = projectile::angle_range.lowest; angle <= projectile::angle_range.highest;
       ++angle) {
    angles.push_back(angle);
  }
  std::vector<projectile::launch> speeds;
  for (const int angle : angles) {
    speeds.clear();
    for (int speed = projectile::speed_range.lowest; speed <= projectile::speed_range.highest;
         ++speed) {
      speeds.push_back(projectile::question_of(projectile::kind::ground, speed, angle).params);
    }
    const auto& p = speeds.front();
    const auto calls = projectile::testing::libm_calls_of(p, projectile::solve(p));
    compare(cos_call, calls[cos_call], truth(cos_call, calls[cos_call].input), speeds, cos_tally);
    compare(sin_call, calls[sin_call], truth(sin_call, calls[sin_call].input), speeds, sin_tally);
  }
}

struct atan_work {
  long long stride;
  long long steps;
  std::atomic<long long> next_block{0};
};

tally check_atan(atan_work& w) {
  constexpr long long block = 1 << 14;
  correctly_rounded truth;
  tally t;
  for (;;) {
    const long long first = w.next_block.fetch_add(block);
    if (first >= w.steps) {
      break;
    }
    for (long long step = first; step < std::min(first + block, w.steps); ++step) {
      const auto p = projectile::testing::launch_at(step * w.stride).params;
      const auto call = projectile::testing::libm_calls_of(p, projectile::solve(p))[atan_call];
      compare(atan_call, call, truth(atan_call, call.input), std::array{p}, t);
    }
  }
  return t;
}

void report(const char* name, const tally& t) {
  std::printf(
      "  %-4s %11lld inputs, %9lld not correctly rounded (by at most %lld ulp), "
      "%lld answers changed by it\n",
      name, t.inputs, t.differ, static_cast<long long>(t.most_ulps), t.answers_changed);
}

}  // namespace

int main(int argc, char** argv) {
  atan_work w;
  w.stride = projectile::testing::count_argument(argc, argv, 1, 1);
  if (w.stride < 1) {
    (void)std::fprintf(stderr, "usage: projectile-libm-check [STRIDE >= 1]\n");
    return 2;
  }
  w.steps = (projectile::testing::all_launches + w.stride - 1) / w.stride;

  tally cos_tally;
  tally sin_tally;
  check_angles(cos_tally, sin_tally);
  tally atan_tally;
  for (const tally& each : projectile::testing::run_on_threads(
           projectile::testing::hardware_threads(), [&w] { return check_atan(w); })) {
    atan_tally.add(each);
  }

  std::printf("this math library against correctly rounded results (MPFR %s):\n",
              mpfr_get_version());
  report("cos", cos_tally);
  report("sin", sin_tally);
  report("atan", atan_tally);
  const bool same =
      cos_tally.answers_changed + sin_tally.answers_changed + atan_tally.answers_changed == 0;
  std::printf("%s\n", same ? "every answer checked prints as with correctly rounded results"
                           : "FAILED: some answers print otherwise with correctly rounded results");
  return same ? 0 : 1;
}

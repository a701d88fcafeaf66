// Every question the program can ask, through the program's own physics and
// formatting, checked on the printed text.
//
// projectile-sweep [STRIDE [THREADS]]: checks launches 0, STRIDE, 2*STRIDE,
// ... of the 152,134,902 in the domain (all of them with the default stride of
// 1) on THREADS threads (by default one per processor); stops after the first
// few failures and prints each in full.
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

#include "answer.h"
#include "bits.h"
#include "launches.h"
#include "libm_calls.h"
#include "printf_text.h"
#include "problem.h"
#include "text.h"

namespace {

using projectile::kind;
using projectile::question;
using projectile::testing::all_launches;
using projectile::testing::launch_at;
using projectile::testing::libm_function;
using projectile::testing::libm_function_count;

enum check {
  same_as_printf,
  plain_notation,
  within_range,
  answer_shape,
  ground_impact,
  horizontal_form,
  energy,
  signs,
  libm_recomputed,
  check_count
};

constexpr std::array<const char*, check_count> check_names = {
    "text identical to snprintf(\"%g\") formatting",
    "no exponent notation, nan or inf",
    "non-zero magnitudes within 0.15 .. 1020.5",
    "answer has its lines (12 numbers ground, 10 horizontal)",
    "ground: impact speed and angle printed as launched",
    "horizontal: no max-height line, initial vertical velocity 0",
    "horizontal: vmag^2 = umag^2 + 19.6 h within 2^-20",
    "time of flight and range > 0, final vertical velocity < 0",
    "cos, sin, atan recomputed give this ux, uy, vang",
};

// A few single-precision roundings (t, vy, vmag; the float constants) bound
// the relative error of vmag^2 by about 5e-7.
constexpr double energy_tolerance = 0x1p-20;

struct number {
  std::string_view text;
  double value;
  bool parsed;
};

// The numbers printed after the question number, in order: each starts after
// a space and runs to the next space, parenthesis or line end.
std::vector<number>& numbers_in(std::string_view text, std::vector<number>& out) {
  out.clear();
  const std::size_t start = text.find(". ");
  for (std::size_t i = start + 1; i + 1 < text.size(); ++i) {
    const char c = text[i + 1];
    if (text[i] != ' ' || !((c >= '0' && c <= '9') || c == '-')) {
      continue;
    }
    const std::size_t end = text.find_first_of(" )\n", i + 1);
    const std::string_view token = text.substr(i + 1, end - (i + 1));
    // strtod rather than from_chars, which libc++ 13 (the web build's) lacks
    // for doubles; the locale is "C", as nothing here sets another.
    std::array<char, 32> digits{};
    const std::size_t size = std::min(token.size(), digits.size() - 1);
    std::copy_n(token.data(), size, digits.data());
    char* parsed_to = nullptr;
    const double value = std::strtod(digits.data(), &parsed_to);
    out.push_back({token, value, size == token.size() && parsed_to == digits.data() + size});
    i = end - 1;
  }
  return out;
}

// Bit i set: check i failed.
unsigned failed_checks(const question& q, const projectile::answer& a, std::string_view text,
                       std::string_view printf_version, std::vector<number>& scratch) {
  unsigned failed = 0;
  auto fail_if = [&failed](bool bad, check c) { failed |= bad ? 1U << c : 0U; };

  fail_if(text != printf_version, same_as_printf);
  const auto& nums = numbers_in(text, scratch);
  bool odd_notation =
      text.find("nan") != std::string_view::npos || text.find("inf") != std::string_view::npos;
  bool out_of_range = false;
  for (const number& n : nums) {
    odd_notation |= !n.parsed || n.text.find_first_of("eE") != std::string_view::npos;
    const double magnitude = std::fabs(n.value);
    out_of_range |= magnitude != 0 && (magnitude < 0.15 || magnitude > 1020.5);
  }
  fail_if(odd_notation, plain_notation);
  fail_if(out_of_range, within_range);

  const bool ground = q.type == kind::ground;
  if (nums.size() != (ground ? 12U : 10U)) {
    fail_if(true, answer_shape);
    return failed;
  }
  // Question: ground umag, angle; horizontal h, umag. Answer: uy, ux, t, sx,
  // [max height, rise,] vy, ux, vmag, impact angle.
  const std::size_t answer_at = 2;
  const std::size_t vy_at = nums.size() - 4;
  if (ground) {
    fail_if(nums[0].text != nums[nums.size() - 2].text || nums[1].text != nums.back().text,
            ground_impact);
  } else {
    fail_if(text.find("Max height") != std::string_view::npos || nums[answer_at].text != "0",
            horizontal_form);
    const auto umag = static_cast<double>(q.params.umag);
    const auto vmag = static_cast<double>(a.vmag);
    const double expected = umag * umag + 19.6 * static_cast<double>(q.params.h);
    fail_if(std::fabs(vmag * vmag - expected) > energy_tolerance * expected, energy);
  }
  fail_if(
      !(nums[answer_at + 2].value > 0 && nums[answer_at + 3].value > 0 && nums[vy_at].value < 0),
      signs);
  return failed;
}

// An order-independent digest of every text checked, whichever thread checked
// it: two builds, math libraries or machines that print the same text for
// every launch give the same digest.
constexpr std::uint64_t mix(std::uint64_t x) {  // the splitmix64 finalizer
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9U;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBU;
  return x ^ (x >> 31);
}

std::uint64_t launch_digest(long long index, std::string_view text) {
  const std::uint64_t fnv1a = std::accumulate(
      text.begin(), text.end(), std::uint64_t{0xCBF29CE484222325U},
      [](std::uint64_t h, char c) { return (h ^ static_cast<unsigned char>(c)) * 0x100000001B3U; });
  return mix(fnv1a ^ mix(static_cast<std::uint64_t>(index)));
}

constexpr int failures_shown = 5;

// Each library result's margin: the fewest one-ulp steps, up and down, that
// it can make at some launch before the value it feeds changes, and where.
// cos and sin are measured over the ground launches: a horizontal launch gives
// them 0, where C (Annex F) requires the exact results 0 and 1.
constexpr std::int64_t margin_cap = std::int64_t{1} << 24;
struct fewest_steps {
  std::int64_t steps = margin_cap;
  long long index = -1;

  void take(const fewest_steps& other) {
    if (other.steps < steps || (other.steps == steps && other.index < index)) {
      *this = other;
    }
  }
};
// The fewest at [f][up, down], and how many launches have fewer than
// `near_steps` either way, at [f].near.
constexpr std::int64_t near_steps = 8;
struct margins {
  std::array<std::array<fewest_steps, 2>, libm_function_count> fewest{};
  std::array<long long, libm_function_count> near{};

  void take(const margins& other) {
    for (std::size_t f = 0; f < fewest.size(); ++f) {
      fewest[f][0].take(other.fewest[f][0]);
      fewest[f][1].take(other.fewest[f][1]);
      near[f] += other.near[f];
    }
  }
};

void measure_margins(const question& q, const std::array<projectile::testing::libm_call, 3>& calls,
                     long long index, margins& m) {
  for (int f = 0; f < libm_function_count; ++f) {
    const auto function = static_cast<libm_function>(f);
    if (function != projectile::testing::atan_call && q.type != kind::ground) {
      continue;
    }
    bool near = false;
    for (const int direction : {1, -1}) {
      const std::int64_t steps = projectile::testing::safe_steps(
          function, q.params, calls[static_cast<std::size_t>(f)].result, direction, margin_cap);
      m.fewest[static_cast<std::size_t>(f)][direction > 0 ? 0 : 1].take({steps, index});
      near |= steps < near_steps;
    }
    m.near[static_cast<std::size_t>(f)] += near ? 1 : 0;
  }
}

struct shared_state {
  long long stride;
  long long steps;
  std::atomic<long long> next_block{0};
  std::atomic<int> failures{0};
};

// What one thread found; the threads' findings are merged once all are done.
struct findings {
  std::array<long long, check_count> failed{};
  long long checked = 0;
  std::uint64_t digest = 0;
  margins margin;

  void take(const findings& other) {
    for (std::size_t c = 0; c < check_count; ++c) {
      failed[c] += other.failed[c];
    }
    checked += other.checked;
    digest += other.digest;
    margin.take(other.margin);
  }
};

findings sweep(shared_state& s) {
  constexpr long long block = 1 << 14;
  projectile::text out;
  projectile::testing::printf_text reference;
  std::vector<number> scratch;
  findings mine;
  auto& [failed, checked, digest, margin] = mine;
  for (;;) {
    const long long first = s.next_block.fetch_add(block);
    if (first >= s.steps || s.failures.load() >= failures_shown) {
      break;
    }
    for (long long step = first; step < std::min(first + block, s.steps); ++step) {
      const long long index = step * s.stride;
      const question q = launch_at(index);
      const projectile::answer a = projectile::solve(q.params);
      out.clear();
      projectile::write_question(out, 1, q);
      projectile::write_answer(out, a);
      reference.clear();
      projectile::write_question(reference, 1, q);
      projectile::write_answer(reference, a);
      ++checked;
      digest += launch_digest(index, out.view());
      const auto calls = projectile::testing::libm_calls_of(q.params, a);
      bool recomputed = true;
      for (int f = 0; f < libm_function_count; ++f) {
        const auto function = static_cast<libm_function>(f);
        recomputed &= projectile::bit_cast<std::uint32_t>(projectile::testing::rounded_from(
                          function, q.params, calls[static_cast<std::size_t>(f)].result)) ==
                      projectile::bit_cast<std::uint32_t>(projectile::testing::fed_by(function, a));
      }
      measure_margins(q, calls, index, margin);
      const unsigned bad = failed_checks(q, a, out.view(), reference.view(), scratch) |
                           (recomputed ? 0U : 1U << libm_recomputed);
      if (bad == 0) {
        continue;
      }
      for (int c = 0; c < check_count; ++c) {
        failed[static_cast<std::size_t>(c)] += (bad >> c) & 1U;
      }
      // One printf call each, so that two threads' reports do not interleave.
      if (s.failures.fetch_add(1) < failures_shown) {
        std::printf("FAILED umag=%.9g angle=%.9g h=%.9g (checks 0x%x)\n%s\n",
                    static_cast<double>(q.params.umag), static_cast<double>(q.params.angle),
                    static_cast<double>(q.params.h), bad, std::string(out.view()).c_str());
      }
    }
  }
  return mine;
}

void print_margin(const fewest_steps& m) {
  if (m.index < 0) {
    std::printf("%14s", "-");
    return;
  }
  const auto p = launch_at(m.index).params;
  std::printf("%s%9lld (umag=%g angle=%g h=%g)", m.steps == margin_cap ? ">=" : "  ",
              static_cast<long long>(m.steps), static_cast<double>(p.umag),
              static_cast<double>(p.angle), static_cast<double>(p.h));
}

}  // namespace

int main(int argc, char** argv) {
  shared_state s;
  s.stride = projectile::testing::count_argument(argc, argv, 1, 1);
  const long long threads =
      projectile::testing::count_argument(argc, argv, 2, projectile::testing::hardware_threads());
  if (s.stride < 1 || threads < 1) {
    (void)std::fprintf(stderr, "usage: projectile-sweep [STRIDE >= 1 [THREADS >= 1]]\n");
    return 2;
  }
  s.steps = (all_launches + s.stride - 1) / s.stride;

  const auto start = std::chrono::steady_clock::now();
  findings all;
  for (const findings& each :
       projectile::testing::run_on_threads(threads, [&s] { return sweep(s); })) {
    all.take(each);
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

  std::printf("launches checked: %lld of %lld (stride %lld), %lld threads, %.1f s\n", all.checked,
              all_launches, s.stride, threads, elapsed.count());
  for (std::size_t c = 0; c < check_count; ++c) {
    std::printf("  %-60s failed %lld\n", check_names[c], all.failed[c]);
  }
  std::printf("library results' margins: the fewest one-ulp steps before ux, uy or vang changes\n");
  for (std::size_t f = 0; f < all.margin.fewest.size(); ++f) {
    std::printf("  %-4s up", projectile::testing::libm_names[f]);
    print_margin(all.margin.fewest[f][0]);
    std::printf("  down");
    print_margin(all.margin.fewest[f][1]);
    std::printf("  fewer than %lld: %lld launches\n", static_cast<long long>(near_steps),
                all.margin.near[f]);
  }
  std::printf("text digest: %016llx\n", static_cast<unsigned long long>(all.digest));
  const bool stopped_early = s.failures.load() >= failures_shown;
  if (stopped_early) {
    std::printf("stopped after %d failures\n", failures_shown);
  }
  const bool complete = all.checked == s.steps;
  std::printf("%s\n", s.failures.load() == 0 && complete ? "all checks hold" : "FAILED");
  return s.failures.load() == 0 && complete ? 0 : 1;
}

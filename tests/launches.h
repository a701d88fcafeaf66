// Every launch the program can ask about, numbered: speeds, angles and
// heights are whole hundredths in the ranges their draws cover. And what the
// tools that go through them all share: their arguments and their threads.
#pragma once

#include <algorithm>
#include <charconv>
#include <string_view>
#include <vector>

#include <thread>

#include "problem.h"

namespace projectile::testing {

constexpr long long size(hundredths_range r) {
  return r.highest - r.lowest + 1;
}
inline constexpr long long ground_launches = size(speed_range) * size(angle_range);
inline constexpr long long all_launches = ground_launches + size(speed_range) * size(height_range);

// Launch `index` of the domain: every ground launch, speed by speed, then
// every horizontal one.
constexpr question launch_at(long long index) {
  const kind type = index < ground_launches ? kind::ground : kind::horizontal;
  const hundredths_range second = type == kind::ground ? angle_range : height_range;
  index -= type == kind::ground ? 0 : ground_launches;
  return question_of(type, static_cast<int>(speed_range.lowest + index / size(second)),
                     static_cast<int>(second.lowest + index % size(second)));
}

// Argument `i` as a whole number >= 1, `fallback` when it is not given, or 0
// when it is not such a number.
inline long long count_argument(int argc, char** argv, int i, long long fallback) {
  if (argc <= i) {
    return fallback;
  }
  const std::string_view arg = argv[i];
  long long n = 0;
  const auto [end, ec] = std::from_chars(arg.data(), arg.data() + arg.size(), n);
  return ec == std::errc() && end == arg.data() + arg.size() && n >= 1 ? n : 0;
}

inline long long hardware_threads() {
  return std::max(1U, std::thread::hardware_concurrency());
}

// Runs work() on `threads` threads, this one among them, and returns what each
// returned; the callers merge the results, so no thread waits on another.
template <class Work>
auto run_on_threads(long long threads, Work work) {
  using result = decltype(work());
  std::vector<result> results(static_cast<std::size_t>(threads));
  std::vector<std::thread> others;
  for (std::size_t t = 1; t < results.size(); ++t) {
    others.emplace_back([&work, &out = results[t]] { out = work(); });
  }
  results[0] = work();
  for (auto& other : others) {
    other.join();
  }
  return results;
}

}  // namespace projectile::testing

// Where a question's time goes, each part in ns per question (per_question):
// drawing and solving, formatting its text (the program's way and with every
// number through snprintf("%g")), writing the text as the program does, and
// the three together.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "answer.h"
#include "printf_text.h"
#include "problem.h"
#include "text.h"

namespace {

constexpr std::uint32_t seed = 20261207;

void count_questions(benchmark::State& state, std::int64_t per_iteration) {
  const auto questions = static_cast<double>(state.iterations() * per_iteration);
  state.counters["per_question"] =
      benchmark::Counter(questions, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Questions already drawn and solved, to format again and again: more of them
// than a branch predictor can learn.
struct solved {
  projectile::question q;
  projectile::answer a;
};

std::vector<solved> solved_questions() {
  projectile::crt_rand raw{seed};
  std::vector<solved> all(1 << 14);
  for (auto& s : all) {
    s.q = projectile::draw_question(raw);
    s.a = projectile::solve(s.q.params);
  }
  return all;
}

void draw_and_solve(benchmark::State& state) {
  projectile::crt_rand raw{seed};
  // The loop variable is Google Benchmark's idiom, never read.
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    benchmark::DoNotOptimize(projectile::solve(projectile::draw_question(raw).params));
  }
  count_questions(state, 1);
}

template <class Text>
void format(benchmark::State& state) {
  const auto all = solved_questions();
  Text out;
  std::size_t i = 0;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    const solved& s = all[i++ % all.size()];
    out.clear();
    projectile::write_question(out, static_cast<int>(i), s.q);
    projectile::write_answer(out, s.a);
    benchmark::DoNotOptimize(out.view().data());
    benchmark::ClobberMemory();
  }
  count_questions(state, 1);
}

// A block of questions' text, handed to an unbuffered stream on /dev/null in
// one fwrite, as the program hands its blocks to stdout.
void write(benchmark::State& state) {
  const auto all = solved_questions();
  projectile::text block;
  std::int64_t questions = 0;
  for (; block.view().size() < (std::size_t{1} << 14); ++questions) {
    const solved& s = all[static_cast<std::size_t>(questions)];
    projectile::write_question(block, static_cast<int>(questions + 1), s.q);
    projectile::write_answer(block, s.a);
  }
  std::FILE* null = std::fopen("/dev/null", "wb");
  if (null == nullptr || std::setvbuf(null, nullptr, _IONBF, 0) != 0) {
    state.SkipWithError("cannot open /dev/null unbuffered");
    return;
  }
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    benchmark::DoNotOptimize(std::fwrite(block.view().data(), 1, block.view().size(), null));
  }
  (void)std::fclose(null);  // nothing was kept to lose
  count_questions(state, questions);
}

void whole_question(benchmark::State& state) {
  projectile::crt_rand raw{seed};
  projectile::text out;
  int number = 0;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    const auto q = projectile::draw_question(raw);
    out.clear();
    projectile::write_question(out, ++number, q);
    projectile::write_answer(out, projectile::solve(q.params));
    benchmark::DoNotOptimize(out.view().data());
    benchmark::ClobberMemory();
  }
  count_questions(state, 1);
}

BENCHMARK(draw_and_solve);
BENCHMARK(format<projectile::text>)->Name("format/program");
BENCHMARK(format<projectile::testing::printf_text>)->Name("format/snprintf");
BENCHMARK(write);
BENCHMARK(whole_question)->Name("draw_solve_format");

}  // namespace

BENCHMARK_MAIN();

// Questions per second: setup plus worked answer into a discarding sink, with
// the program's formatting and with every number through snprintf("%g").
#include <benchmark/benchmark.h>

#include "answer.h"
#include "printf_text.h"
#include "problem.h"
#include "text.h"

namespace {

template <class Text>
void questions(benchmark::State& state) {
  projectile::crt_rand raw{20261207};
  Text out;
  int number = 0;
  // The loop variable is Google Benchmark's idiom, never read.
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    const auto q = projectile::draw_question(raw);
    out.clear();
    projectile::write_question(out, ++number, q);
    projectile::write_answer(out, projectile::solve(q.params));
    benchmark::DoNotOptimize(out.view().data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}

void physics_only(benchmark::State& state) {
  projectile::crt_rand raw{20261207};
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    benchmark::DoNotOptimize(projectile::solve(projectile::draw_question(raw).params));
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(questions<projectile::text>)->Name("questions/program");
BENCHMARK(questions<projectile::testing::printf_text>)->Name("questions/snprintf");
BENCHMARK(physics_only)->Name("draw_and_solve");

}  // namespace

BENCHMARK_MAIN();

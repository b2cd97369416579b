// The clock's own work before its first frame, on the headless backend with fake services:
// reading the settings and the language, the theme's pictures, the window and its controls, and
// the messages its showing posts. Under Wine the start (scripts/start-time) adds the system's
// part, and the paint, to this.
//
//   ClockStart: one whole start of the clock window, with no tasks.

#include <benchmark/benchmark.h>

#include <memory>

#include "clock_world.h"

namespace vm {
namespace {

using bench::ClockWorld;

void BM_ClockStart(benchmark::State& state) {
  for (auto _ : state) {
    auto world = std::make_unique<ClockWorld>(0);
    world->app.ProcessMessages();
    benchmark::DoNotOptimize(world->clock);
    state.PauseTiming();
    world.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ClockStart)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vm

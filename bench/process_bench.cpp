// The process manager on the headless backend with a process table in memory.
//
//   ProcessRefresh: one 2-second refresh with 300 processes, a tenth of which changed since the
//   last one (rows are updated in place, none deleted and added again).

#include <benchmark/benchmark.h>

#include <string>

#include "clock_world.h"
#include "ui/process/process_form.h"

namespace vm {
namespace {

void BM_ProcessRefresh(benchmark::State& state) {
  bench::ClockWorld world(0);
  const int count = static_cast<int>(state.range(0));
  for (int i = 0; i < count; ++i)
    world.processes.Start(static_cast<std::uint32_t>(0x100 + i), "program" + std::to_string(i) + ".exe", 4);
  world.clock->mProcClick(world.clock->mProc);
  auto* window = dynamic_cast<TProcF*>(world.clock->Slots[kProcessWindow]);
  if (!window || window->ProcessListView.Items().size() < static_cast<std::size_t>(count)) {
    state.SkipWithError("the process manager did not open with every process");
    return;
  }
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ++round;
    for (int i = round % 10; i < count; i += 10)
      ++world.processes.processes[static_cast<std::size_t>(i) + 1].threadCount;  // [0] is the system's
    world.fakeClock.AdvanceSeconds(2);
    state.ResumeTiming();
    window->Timer1Timer(window->Timer1);
  }
}
BENCHMARK(BM_ProcessRefresh)->Arg(300)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vm

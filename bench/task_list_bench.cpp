// The task list window with many tasks, on the headless backend.
//
//   TaskListOpen: opening the list (creation, the table filled, the first row selected) with
//   10 000 tasks (goal: at most 50 ms).
//   TaskListSort: re-sorting the open list by the "Message" column (goal: at most 50 ms).
//   TaskListPaint: one paint of the table, which draws only the rows in view.

#include <benchmark/benchmark.h>

#include "clock_world.h"

namespace vm {
namespace {

using bench::ClockWorld;

void BM_TaskListOpen(benchmark::State& state) {
  ClockWorld world(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TMemForm* list = world.Open();
    benchmark::DoNotOptimize(list);
    state.PauseTiming();
    world.clock->DeleteFormA(kTaskListWindow);
    world.app.ProcessMessages();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_TaskListOpen)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_TaskListSort(benchmark::State& state) {
  ClockWorld world(static_cast<int>(state.range(0)));
  TMemForm* list = world.Open();
  int column = 2;
  for (auto _ : state) {
    world.clock->SortColumn = column;
    list->RefreshList();
    column = column == 2 ? 1 : 2;  // alternate, so every round really re-sorts
  }
}
BENCHMARK(BM_TaskListSort)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_TaskListPaint(benchmark::State& state) {
  ClockWorld world(static_cast<int>(state.range(0)));
  TMemForm* list = world.Open();
  for (auto _ : state) benchmark::DoNotOptimize(&world.backend.PaintControl(list->Grid));
}
BENCHMARK(BM_TaskListPaint)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vm

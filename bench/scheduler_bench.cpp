// The schedule and the task file under load.
//
//   ChainTime: the closed form against the step-by-step rule for a per-minute task ten years
//   behind (goal: the closed form at least 1000 times faster).
//   TaskFile: loading 100 000 tasks (with the sort and choice of the current task), and saving
//   them, over an in-memory file system (goal: under 100 ms together).
//
// 100 000 tasks are an 80 MB file. On a virtual machine the first touch of freshly mapped memory
// can cost far more than the work itself (half a second for 80 MB has been seen), and glibc maps
// and unmaps every block that large anew. So that repeated iterations measure the code rather than
// the page faults, large blocks are kept in the heap (--fresh-memory turns that off).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/date_time.h"
#include "core/language.h"
#include "fakes/platform_fakes.h"
#include "scheduler/chain_time.h"
#include "scheduler/scheduler.h"
#include "scheduler/task.h"
#include "tests/scheduler/stepwise_reference.h"

namespace vm {
namespace {

DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  return EncodeDateTime({y, mo, d}, {h, mi, s, ms}).value();
}

const DateTime kTenYearsBehind = At(2016, 12, 7, 8, 0, 15, 500);
const DateTime kNow = At(2026, 12, 7, 12, 0, 0);

void BM_ChainTimeClosedForm(benchmark::State& state) {
  for (auto _ : state) {
    ChainOutcome outcome = NextAlarmTime(kTenYearsBehind, kPeriodMinutes, 1, kNow);
    benchmark::DoNotOptimize(outcome);
  }
}
BENCHMARK(BM_ChainTimeClosedForm);

void BM_ChainTimeStepwise(benchmark::State& state) {
  for (auto _ : state) {
    auto value = reference::StepwiseChainTime(kTenYearsBehind, kPeriodMinutes, 1, kNow, ~0ull);
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_ChainTimeStepwise)->Unit(benchmark::kMillisecond);

const char kTaskFile[] = "C:\\V\\tasks.sft";

class NullHost : public SchedulerHost {
 public:
  void CurrentTaskChanged() override {}
  void RefreshDateLabels() override {}
  void ShowEditBufInEditor() override {}
};

// A program folder with a task file of `count` tasks in random order of time.
struct TaskFolder {
  explicit TaskFolder(std::size_t count) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> when(At(2020, 1, 1), At(2030, 1, 1));
    std::vector<std::uint8_t> image{'V', 'e', 'm', 't', 'a', 'r', 'o', '2'};
    image.reserve(8 + count * kTaskRecordSize);
    for (std::size_t i = 0; i < count; ++i) {
      TTask task;
      task.AlarmTime = i % 10 == 0 ? 0.0 : when(random);
      task.Active = i % 10 == 0 ? kWaitingForEvent : kScheduled;
      task.Period = static_cast<std::uint32_t>(i % 7);
      // Every third message needs the code page, the others are plain ASCII.
      task.Message = (i % 3 == 0 ? "R\xC3\xA9veil num\xC3\xA9ro " : "Task number ") + std::to_string(i) +
                     " has something to say";
      task.Program = "C:\\Program Files\\Tools\\tool" + std::to_string(i % 50) + ".exe";
      task.SoundFile = "C:\\Sounds\\bell.wav";
      auto record = SerializeTask(task, codec);
      image.insert(image.end(), record.begin(), record.end());
    }
    files.Put(kTaskFile, std::move(image));
  }
  fakes::MemoryFileSystem files;
  fakes::FakeClock clock{kNow};
  fakes::Latin1Codec codec;
  fakes::ScriptedMessageBoxes boxes;
  Language language{files, boxes, codec};
  NullHost host;
};

// Each iteration starts from the same unsorted file with a new Scheduler; putting the file back
// and destroying the previous list are not timed.
void BM_TaskFileLoadAndSave(benchmark::State& state) {
  TaskFolder folder(static_cast<std::size_t>(state.range(0)));
  const std::vector<std::uint8_t> original = *folder.files.ReadFile(kTaskFile);
  const bool save = state.range(1) != 0;
  std::unique_ptr<Scheduler> scheduler;
  for (auto _ : state) {
    state.PauseTiming();
    scheduler.reset();
    folder.files.Put(kTaskFile, original);
    scheduler = std::make_unique<Scheduler>(
        SchedulerServices{folder.files, folder.clock, folder.codec, folder.language, folder.host},
        "C:\\V\\");
    state.ResumeTiming();
    scheduler->LoadList();  // reads, renumbers, sorts and chooses the current task
    if (save) benchmark::DoNotOptimize(scheduler->SaveList());
  }
}
BENCHMARK(BM_TaskFileLoadAndSave)
    ->ArgNames({"tasks", "save"})
    ->Args({100000, 1})
    ->Args({100000, 0})
    ->MinWarmUpTime(1.0)
    ->MinTime(2.0)
    ->Unit(benchmark::kMillisecond);

// UpdateCurTask on a list in random order, and again once it is sorted.
void BM_UpdateCurTask(benchmark::State& state) {
  TaskFolder folder(static_cast<std::size_t>(state.range(0)));
  Scheduler scheduler({folder.files, folder.clock, folder.codec, folder.language, folder.host},
                      "C:\\V\\");
  scheduler.LoadList();
  std::vector<DateTime> shuffled;
  std::mt19937 random(11);
  for (const TTask& task : scheduler.TaskList) shuffled.push_back(task.AlarmTime);
  std::shuffle(shuffled.begin(), shuffled.end(), random);
  const bool sorted = state.range(1) != 0;
  for (auto _ : state) {
    if (!sorted) {
      state.PauseTiming();
      auto time = shuffled.begin();
      for (TTask& task : scheduler.TaskList) task.AlarmTime = *time++;
      state.ResumeTiming();
    }
    scheduler.UpdateCurTask();
  }
}
BENCHMARK(BM_UpdateCurTask)
    ->ArgNames({"tasks", "sorted"})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vm

#if defined(__GLIBC__)
#include <malloc.h>
#endif

int main(int argc, char** argv) {
  bool freshMemory = false;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--fresh-memory") == 0) {
      freshMemory = true;
      for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
      --argc;
      break;
    }
#if defined(__GLIBC__)
  if (!freshMemory) {
    mallopt(M_MMAP_THRESHOLD, 512 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
  }
#endif
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

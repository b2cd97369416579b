// The task list window with many tasks, on the headless backend.
//
//   TaskListOpen: opening the list (creation, the table filled, the first row selected) with
//   10 000 tasks (goal: at most 50 ms).
//   TaskListSort: re-sorting the open list by the "Message" column (goal: at most 50 ms).
//   TaskListPaint: one paint of the table, which draws only the rows in view.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/main_form.h"
#include "fakes/action_fakes.h"
#include "fakes/desktop_fakes.h"
#include "fakes/media_fakes.h"
#include "fakes/platform_fakes.h"
#include "ui/task_list/mem_form.h"
#include "ui/toolkit/headless/headless_backend.h"
#include "ui/windows.h"

namespace vm {
namespace {

constexpr const char* kDir = "C:\\Program Files\\Vemtaro\\";

// The clock with fake services and `count` tasks of varied messages and times.
struct ListWorld {
  explicit ListWorld(int count) {
    env.currentDir = kDir;
    startup.programDirectory = kDir;
    language.SetPath(std::string(kDir) + "english.vml");
    services.actions = actions.Services();
    services.windows = AllWindowKinds();
    clock = &app.CreateForm<TForm1>(services, language, startup);
    clock->Show();
    clock->scheduler.TaskList.clear();
    for (int i = 0; i < count; ++i) {
      TTask t;
      clock->scheduler.InitTask(t);
      t.Message = "task " + std::to_string((i * 7919) % count);
      t.AlarmTime = 46363.5 + (i * 104729 % count) / 24.0;
      t.State = (i % 3 == 0) ? (kStateMessage | kStateAlarmSound) : kStateMessage;
      t.TaskId = static_cast<std::uint32_t>(i);
      clock->scheduler.TaskList.push_back(t);
    }
  }
  TMemForm* Open() {
    clock->mTaskClick(clock->mTask);
    return dynamic_cast<TMemForm*>(clock->Slots[kTaskListWindow]);
  }
  fakes::FakeClock fakeClock{46363.5};
  fakes::FakeLocale locale;
  fakes::Latin1Codec codec;
  fakes::FakeRegistry registry;
  fakes::MemoryFileSystem files;
  fakes::FakeEnvironment env;
  fakes::ScriptedMessageBoxes boxes;
  fakes::CallLog calls;
  fakes::ActionFakes actions{calls};
  MainServices services{fakeClock, locale, codec, registry, files, env, boxes};
  Language language{files, boxes, codec};
  StartupState startup;
  ui::HeadlessBackend backend;
  ui::Application app{backend};
  TForm1* clock = nullptr;
};

void BM_TaskListOpen(benchmark::State& state) {
  ListWorld world(static_cast<int>(state.range(0)));
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
  ListWorld world(static_cast<int>(state.range(0)));
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
  ListWorld world(static_cast<int>(state.range(0)));
  TMemForm* list = world.Open();
  for (auto _ : state) benchmark::DoNotOptimize(&world.backend.PaintControl(list->Grid));
}
BENCHMARK(BM_TaskListPaint)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vm

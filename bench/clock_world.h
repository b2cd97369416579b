#pragma once
// The clock on the headless backend with fake services, for the benchmarks.

#include <memory>
#include <string>

#include "app/main_form.h"
#include "fakes/action_fakes.h"
#include "fakes/desktop_fakes.h"
#include "fakes/media_fakes.h"
#include "fakes/platform_fakes.h"
#include "fakes/process_fakes.h"
#include "ui/task_list/mem_form.h"
#include "ui/toolkit/headless/headless_backend.h"
#include "ui/windows.h"

namespace vm::bench {

inline constexpr const char* kDir = "C:\\Program Files\\Vemtaro\\";

// The clock with fake services (a process table in memory among them) and `count` tasks of
// varied messages and times.
struct ClockWorld {
  explicit ClockWorld(int count) {
    env.currentDir = kDir;
    startup.programDirectory = kDir;
    language.SetPath(std::string(kDir) + "english.vml");
    services.actions = actions.Services();
    services.windows = AllWindowKinds();
    services.processTable = &processes;
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
  fakes::FakeProcessTable processes;
  MainServices services{fakeClock, locale, codec, registry, files, env, boxes};
  Language language{files, boxes, codec};
  StartupState startup;
  ui::HeadlessBackend backend;
  ui::Application app{backend};
  TForm1* clock = nullptr;
};

}  // namespace vm::bench

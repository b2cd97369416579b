#pragma once
// The firing tick over the real Scheduler and WakeTimer with recording fakes of every service
// and window: one call log holds, in order, what each fake was asked, each save of the task
// file ("save") and each log line ("log:<line>").

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/language.h"
#include "core/log.h"
#include "fakes/action_fakes.h"
#include "fakes/platform_fakes.h"
#include "scheduler/firing_host.h"
#include "scheduler/scheduler.h"
#include "scheduler/task_runner.h"
#include "scheduler/wake_timer.h"
#include "scheduler_fixture.h"

namespace vm::firetest {

using fakes::CallLog;
using schedtest::At;
using schedtest::kProgramDir;

inline constexpr WindowId kMainWindow = 0x4242;

// Sends every log line into the call log while it lives.
class CallLogSink : public LogSink {
 public:
  explicit CallLogSink(CallLog& log) : log_(log) { previous_ = SetLogSink(this); }
  ~CallLogSink() override { SetLogSink(previous_); }
  void WriteLine(const std::string&, const std::string& message) override {
    log_.push_back("log:" + message);
  }

 private:
  CallLog& log_;
  LogSink* previous_ = nullptr;
};

// Notes every replacement of a file (a save of the task file) in the call log.
class LoggingFileSystem : public fakes::MemoryFileSystem {
 public:
  explicit LoggingFileSystem(CallLog& log) : log_(log) {}
  bool ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes) override {
    log_.push_back("save");
    return MemoryFileSystem::ReplaceFile(path, bytes);
  }

 private:
  CallLog& log_;
};

class FakeFiringHost : public FiringHost {
 public:
  explicit FakeFiringHost(CallLog& log) : log_(log) {}
  WindowId MainWindow() override { return kMainWindow; }
  int VersionCode() override { return versionCode; }
  void CreateAlarmWindow() override {
    log_.push_back("alarm.create");
    exists = true;
  }
  bool AlarmWindowVisible() override { return exists && visible; }
  void ShowAlarmWindowModal() override {
    log_.push_back("alarm.modal");
    if (onModal) onModal();  // the window is open while this runs
  }
  void ShowAlarmWindow() override {
    log_.push_back("alarm.show");
    visible = true;
  }
  void AddAlarm() override { log_.push_back("alarm.add"); }
  void DestroyAlarmWindow() override {
    log_.push_back("alarm.destroy");
    exists = visible = false;
  }
  void Speak(const std::string& text) override { log_.push_back("speak " + text); }
  void RefreshTaskListWindow() override { log_.push_back("tasklist.refresh"); }
  // The date as its number of days, enough to see which value was worded.
  std::string FormatTaskDate(DateTime value, bool withTime) override {
    return "day " + std::to_string(value) + (withTime ? " with time" : "");
  }

  int versionCode = 60;
  bool exists = false;
  bool visible = false;
  std::function<void()> onModal;

 private:
  CallLog& log_;
};

class FiringTest : public ::testing::Test {
 protected:
  // Monday 7 December 2026, 08:00:00.
  static DateTime Due() { return At(2026, 12, 7, 8, 0, 0); }

  static TTask Task(std::uint32_t state, std::uint32_t period = kPeriodOnce,
                    DateTime when = Due()) {
    TTask task;
    task.AlarmTime = when;
    task.State = state;
    task.Period = period;
    task.Active = kScheduled;
    task.SoundOn = 0;
    task.Message = "Meeting";
    task.Program = "";
    task.SoundFile = "";
    return task;
  }

  // Puts the tasks into the list with ids 0, 1, 2 ..., chooses CurTask and empties the call log.
  void Load(std::vector<TTask> tasks) {
    std::uint32_t id = 0;
    for (TTask& task : tasks) {
      task.TaskId = id++;
      scheduler.TaskList.push_back(task);
    }
    scheduler.UpdateCurTask();
    calls.clear();
  }

  // Sets the clock to the due time plus `seconds` and runs one tick.
  bool TickAt(double seconds, DateTime due = Due()) {
    clock.Set(due + seconds / 86400.0);
    return runner.Tick();
  }

  // The calls without log lines.
  std::vector<std::string> Actions() const {
    std::vector<std::string> out;
    for (const std::string& call : calls)
      if (call.rfind("log:", 0) != 0) out.push_back(call);
    return out;
  }
  // Position of the first entry equal to `call`, or -1.
  int IndexOf(const std::string& call) const {
    auto it = std::find(calls.begin(), calls.end(), call);
    return it == calls.end() ? -1 : static_cast<int>(it - calls.begin());
  }
  bool Has(const std::string& call) const { return IndexOf(call) >= 0; }

  const TTask* Entry(std::uint32_t id) {
    for (const TTask& task : scheduler.TaskList)
      if (task.TaskId == id) return &task;
    return nullptr;
  }

  // The task records in the saved file.
  std::vector<TTask> SavedTasks() {
    std::vector<TTask> tasks;
    std::string bytes = files.Text(schedtest::kTaskPath);
    for (std::size_t at = 8; at + kTaskRecordSize <= bytes.size(); at += kTaskRecordSize) {
      std::array<std::uint8_t, kTaskRecordSize> record;
      std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), kTaskRecordSize,
                  record.begin());
      tasks.push_back(DeserializeTask(record, codec));
    }
    return tasks;
  }

  CallLog calls;
  CallLogSink sink{calls};
  LoggingFileSystem files{calls};
  fakes::FakeClock clock{Due()};
  fakes::Latin1Codec codec;
  fakes::LoggedMessageBoxes boxes{calls};
  Language language{files, boxes, codec};
  schedtest::FakeSchedulerHost schedulerHost;
  Scheduler scheduler{{files, clock, codec, language, schedulerHost}, kProgramDir};
  fakes::ActionFakes actions{calls};
  FakeFiringHost host{calls};
  WakeTimer wakeTimer{actions.wakeTimers, actions.tempFileTime, clock};
  TaskRunner runner{{scheduler, host, clock, boxes, language, actions.Services(), wakeTimer}};
};

}  // namespace vm::firetest

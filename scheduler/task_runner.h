#pragma once
// The firing half of the main window's one-second tick: tests whether the current task is due
// and performs its actions in their fixed order, or reports and reschedules a missed one.

#include <cstdint>

#include "platform/action_services.h"
#include "platform/services.h"
#include "scheduler/power.h"
#include "scheduler/task.h"

namespace vm {

class FiringHost;
class Language;
class Scheduler;
class WakeTimer;

// A task fires when it is less than this many seconds late...
inline constexpr std::int64_t kFiringWindowSeconds = 5;
// ...or this many with the wake bit (the computer may take a while to resume).
inline constexpr std::int64_t kWakeFiringWindowSeconds = 300;

// Left Windows key and L: Windows+L locks the workstation.
inline constexpr std::uint8_t kVkLeftWindows = 0x5B;
inline constexpr std::uint8_t kVkL = 0x4C;

struct TaskRunnerServices {
  Scheduler& scheduler;
  FiringHost& host;
  Clock& clock;
  MessageBoxes& boxes;
  const Language& language;
  ActionServices actions;  // every pointer set
  WakeTimer& wakeTimer;
};

class TaskRunner {
 public:
  explicit TaskRunner(const TaskRunnerServices& services);
  TaskRunner(const TaskRunner&) = delete;
  TaskRunner& operator=(const TaskRunner&) = delete;

  // The firing half of Timer1Timer. True when the tick goes on with the clock display; false
  // when a power action ended it.
  bool Tick();

  // Closes every firing, skip or miss of CurTask: cancels the wake timer for a wake task,
  // reschedules or removes the task, chooses the next one, saves the file and refreshes the
  // task list window.
  void FinishTask();

  // 1 lets a shutdown go ahead; the alarm window sets 2 when the user cancelled it. Every tick
  // outside a firing starts by setting it to 1; ticks nested in a firing leave it alone.
  int ShutdownConfirm = 1;

  PowerActions& Power() { return power_; }

 private:
  // Active 0 in CurTask and in its list entry, so that no later tick fires it again.
  void Deactivate();
  bool Fire();
  void Missed();
  // True when a shutdown may follow: the warning, if one was shown, was not cancelled.
  bool ShowAlarmOrSpeak(const TTask& task);
  void RunProgram(const TTask& task);
  void LockWorkstation();
  // FinishTask for `task`, which may no longer be CurTask when a window that was open during
  // the firing chose another current task.
  void FinishTask(const TTask& task);

  Scheduler& scheduler_;
  FiringHost& host_;
  Clock& clock_;
  MessageBoxes& boxes_;
  const Language& language_;
  ActionServices actions_;
  WakeTimer& wakeTimer_;
  PowerActions power_;
  bool busy_ = false;  // a firing, skip or miss is in progress (ticks nested in its windows)
};

}  // namespace vm

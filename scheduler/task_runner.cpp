#include "scheduler/task_runner.h"
#include "core/busy_scope.h"

#include <cmath>
#include <string>

#include "core/language.h"
#include "core/log.h"
#include "scheduler/close_program.h"
#include "scheduler/firing_host.h"
#include "scheduler/local_time.h"
#include "scheduler/scheduler.h"
#include "scheduler/shortcut.h"
#include "scheduler/wake_timer.h"

namespace vm {

namespace {

// Whole seconds from `due` to `now`, both valid times. The clock counts whole milliseconds, so
// the difference is rounded to milliseconds before it is cut to seconds: a task exactly 5 s late
// must not read as 4.999999 s and fire.
std::int64_t LatenessSeconds(DateTime now, DateTime due) {
  return std::llround((now - due) * 86'400'000.0) / 1000;
}

}  // namespace

TaskRunner::TaskRunner(const TaskRunnerServices& services)
    : scheduler_(services.scheduler),
      host_(services.host),
      clock_(services.clock),
      boxes_(services.boxes),
      language_(services.language),
      actions_(services.actions),
      wakeTimer_(services.wakeTimer),
      power_(*services.actions.privileges, *services.actions.power, services.boxes,
             services.language) {}

bool TaskRunner::Tick() {
  // A tick that runs inside a window the firing opened (the shutdown warning, a message box)
  // leaves everything to the firing in progress, ShutdownConfirm included: the answer the user
  // gave in the warning must survive the boxes that later actions of the same firing open.
  // Otherwise a window opened meanwhile that chose another current task (an event, the task
  // list) could get a task fired inside another one.
  if (busy_) return true;
  ShutdownConfirm = 1;

  const TTask& current = scheduler_.CurTask;
  if (current.Active != kScheduled) return true;
  // A time that is not a date (NaN, infinite, outside the years 100 to 9999: only a damaged file
  // holds one) is never due.
  if (!IsValidDateTime(current.AlarmTime)) return true;
  DateTime now = clock_.Now();
  if (!IsValidDateTime(now) || !(now > current.AlarmTime)) return true;

  BusyScope busy(busy_);
  int weekday = IsoWeekday(now);
  if ((current.WeekDays & (1u << (weekday - 1))) == 0) {
    WriteLog("Task isn't for this day(%d)", current.WeekDays);
    Deactivate();
    FinishTask();
    return true;
  }

  // Lateness counts real seconds from the first moment the due time was reached: a time in the
  // hour skipped in spring is reached at the jump, not half an hour before it.
  std::int64_t lateness = LatenessSeconds(now, current.AlarmTime);
  if (auto reached = FirstUtcReaching(clock_, current.AlarmTime))
    lateness = LatenessSeconds(UtcNow(clock_), *reached);
  bool wakes = (current.State & kStateWakeUp) != 0;
  if (lateness < kFiringWindowSeconds || (wakes && lateness < kWakeFiringWindowSeconds))
    return Fire();
  Missed();
  return true;
}

void TaskRunner::Deactivate() {
  scheduler_.CurTask.Active = kInactive;
  if (scheduler_.FindTask(scheduler_.CurTask.TaskId)) scheduler_.TaskIter->Active = kInactive;
}

bool TaskRunner::Fire() {
  Deactivate();
  TTask& current = scheduler_.CurTask;
  current.LastAlarm = current.AlarmTime;
  ++current.AlarmCnt;
  // The firing works on its own copy from here: the windows it opens run the message loop, and
  // what happens there may choose another CurTask.
  const TTask task = current;
  WriteLog(" checkState = %d", static_cast<int>(task.State));

  // The user's answer to the shutdown warning is taken the moment the warning has closed.
  const bool shutdownConfirmed = ShowAlarmOrSpeak(task);
  int versionCode = host_.VersionCode();
  WindowId mainWindow = host_.MainWindow();
  if ((task.State & kStateCloseProgram) && !host_.CloseProgramThroughWindow(task.Program))
    CloseProgram(*actions_.processes, boxes_, mainWindow, task.Program);
  if (task.State & kStateRunProgram) RunProgram(task);
  if (task.State & kStateLock) LockWorkstation();

  if ((task.State & kStateShutdown) && shutdownConfirmed) {
    power_.SetPrivileges(versionCode);
    FinishTask(task);
    power_.ShutDown(versionCode);
    return false;
  }
  if (task.State & kStateHibernate) {
    power_.SetPrivileges(versionCode);
    FinishTask(task);
    power_.Hibernate();
    return false;
  }
  if (task.State & kStateReboot) {
    power_.SetPrivileges(versionCode);
    FinishTask(task);
    power_.Reboot();
    return false;
  }
  FinishTask(task);
  return true;
}

bool TaskRunner::ShowAlarmOrSpeak(const TTask& task) {
  if ((task.State & kStateMessage) || task.SoundOn != 0) {
    host_.CreateAlarmWindow();
    WriteLog(" State = 1(Message) or SoundOn");
    if (task.State & kStateShutdown) {
      WriteLog(" State = 4(Warning)");
      if (host_.AlarmWindowVisible()) {
        host_.AddAlarm();
      } else {
        host_.ShowAlarmWindowModal();
        const bool confirmed = ShutdownConfirm == 1;
        host_.DestroyAlarmWindow();
        return confirmed;
      }
    } else if (host_.AlarmWindowVisible()) {
      host_.AddAlarm();
    } else {
      host_.ShowAlarmWindow();
    }
  } else if (task.SpeakOn != 0) {
    // The alarm window speaks the message itself when it is shown.
    host_.Speak(task.Message);
  }
  return ShutdownConfirm == 1;
}

void TaskRunner::RunProgram(const TTask& task) {
  // Nothing to start; the shell would only report an error nobody sees.
  if (task.Program.empty()) return;
  if (IsShortcutPath(task.Program)) {
    RunShortcut(*actions_.shellLinks, *actions_.shell, host_.MainWindow(), host_.VersionCode(),
                task.Program);
  } else {
    actions_.shell->Execute(host_.MainWindow(), "open", task.Program, "", "");
  }
}

void TaskRunner::LockWorkstation() {
  WriteLog(" State = 256(Lock)");
  // Windows since Vista ignores a synthetic Windows+L, so the system is asked directly; the key
  // combination remains for a system that refuses.
  if (actions_.keyboard->LockWorkstation()) return;
  actions_.keyboard->SendKeyEvent(kVkLeftWindows, false);
  actions_.keyboard->SendKeyEvent(kVkL, false);
  actions_.keyboard->SendKeyEvent(kVkL, true);
  actions_.keyboard->SendKeyEvent(kVkLeftWindows, true);
}

void TaskRunner::Missed() {
  Deactivate();
  const TTask task = scheduler_.CurTask;
  if (task.ShowPassed != 0) {
    MessageBoxRequest request;
    request.text = "Alarm was set to :";
    if (std::optional<std::string> heading = language_.LookUpText("L3.1"))
      request.text = *heading + " " + host_.FormatTaskDate(task.AlarmTime, true) + " \n " +
                     task.Message;
    request.caption = kApplicationTitle;
    request.icon = MsgIcon::Information;
    request.owner = host_.MainWindow();
    boxes_.Show(request);
  }
  FinishTask(task);
}

void TaskRunner::FinishTask(const TTask& task) {
  scheduler_.CurTask = task;
  FinishTask();
}

void TaskRunner::FinishTask() {
  WriteLog("  %s:%d", "TForm1::FinishTask", 1798);
  if (scheduler_.CurTask.State & kStateWakeUp) wakeTimer_.Cancel();
  scheduler_.ChainTasks();
  scheduler_.SaveList();
  host_.RefreshTaskListWindow();
}

}  // namespace vm

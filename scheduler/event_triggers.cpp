#include "scheduler/event_triggers.h"

#include "core/log.h"
#include "scheduler/scheduler.h"

namespace vm {

void UpdateEventTask(Scheduler& scheduler, Clock& clock, std::uint16_t mask) {
  WriteLog("  %s:%d Event %d", "TForm1::UpdateEventTask", 2876, mask);
  // Every task has all bits of an empty mask: without this every timed task would start.
  if (mask == 0) return;
  for (TTask& task : scheduler.TaskList) {
    if ((task.Event & mask) != mask) continue;
    task.AlarmTime = clock.Now();
    WriteLog("TaskId=%d Task->Event=%d TaskIter->Period=%d", static_cast<int>(task.TaskId),
             task.Event, static_cast<int>(task.Period));
    // A period that cannot be counted (only a damaged file holds one) leaves the task inactive,
    // as ChainTime made it, instead of due now.
    if (task.Period != kPeriodOnce && !scheduler.ChainTime(task)) continue;
    task.Active = kScheduled;
  }
  scheduler.UpdateCurTask();
}

SessionSubscription::SessionSubscription(SessionNotifications& sessions) : sessions_(sessions) {}

SessionSubscription::~SessionSubscription() { Unregister(); }

bool SessionSubscription::RegisterWts(WindowId mainWindow) {
  WriteLog("  %s:%d", "TForm1::RegisterWts", 2856);
  window_ = mainWindow;
  called_ = true;
  return sessions_.Register(mainWindow);
}

void SessionSubscription::Unregister() {
  if (!called_) return;
  called_ = false;
  sessions_.Unregister(window_);
}

}  // namespace vm

#include "scheduler/wake_timer.h"

#include <cmath>
#include <cstdint>

#include "core/log.h"
#include "scheduler/local_time.h"

namespace vm {

namespace {

// Days between 1601-01-01 (file times) and 1899-12-30 (date-time values), and file-time units
// (100 ns) per day.
constexpr double kFileTimeEpochDays = 109205.0;
constexpr double kFileTimeUnitsPerDay = 864'000'000'000.0;

}  // namespace

WakeTimer::WakeTimer(WakeTimerService& timers, TempFileTime&, Clock& clock)
    : timers_(timers), clock_(clock) {}

WakeTimer::~WakeTimer() {
  if (handle_ != 0) timers_.CloseTimer(handle_);
}

void WakeTimer::Cancel() {
  if (handle_ == 0) return;
  timers_.CancelTimer(handle_);
  // The handle is closed, not only forgotten, so that arming again does not leak one handle per
  // suspend; the next SetResumeTimer creates the timer anew.
  timers_.CloseTimer(handle_);
  handle_ = 0;
  armedDue_ = 0;
}

void WakeTimer::SetResumeTimer(const std::list<TTask>& tasks) {
  WriteLog("  %s:%d", "TForm1::SetResumeTimer", 1812);
  const DateTime now = clock_.Now();
  if (!IsValidDateTime(now)) return;
  const TTask* first = nullptr;
  for (const TTask& task : tasks) {
    // Only a scheduled task has a time to wake for: one waiting for its event has none yet.
    if (task.Active != kScheduled || (task.State & kStateWakeUp) == 0) continue;
    if (!IsValidDateTime(task.AlarmTime)) {
      WriteLog("Wake timer: task %u has no valid time", task.TaskId);
      continue;
    }
    // An overdue task is the tick's business (fired or missed); there is nothing to wake for.
    if (!(task.AlarmTime > now)) continue;
    first = &task;
    break;
  }
  if (first == nullptr) {
    Cancel();
    return;
  }

  // The due time as a UTC file time: by the zone's rules when the clock knows them, else as the
  // same distance from now as on the local clock.
  double dueUtc = 0.0;
  if (auto reached = FirstUtcReaching(clock_, first->AlarmTime)) {
    dueUtc = *reached;
  } else {
    dueUtc = UtcNow(clock_) + (first->AlarmTime - now);
  }
  const auto due = static_cast<std::uint64_t>(
      std::llround((dueUtc + kFileTimeEpochDays) * kFileTimeUnitsPerDay));
  if (handle_ != 0 && due == armedDue_) return;
  Cancel();
  handle_ = timers_.CreateTimer(kWakeTimerName);
  if (handle_ == 0) return;
  if (timers_.SetTimer(handle_, due, 0, true)) {
    armedDue_ = due;
    WriteLog("Wake timer: armed for task %u", first->TaskId);
  } else {
    WriteLog("Wake timer: the system refused the due time");
    Cancel();
  }
}

}  // namespace vm

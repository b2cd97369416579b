#include "scheduler/wake_timer.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "core/log.h"

namespace vm {

namespace {

// The timer period is a signed 32-bit count of milliseconds.
constexpr std::int64_t kMaxPeriodMs = std::numeric_limits<std::int32_t>::max();

}  // namespace

WakeTimer::WakeTimer(WakeTimerService& timers, TempFileTime& fileTime, Clock& clock)
    : timers_(timers), fileTime_(fileTime), clock_(clock) {}

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
}

void WakeTimer::SetResumeTimer(const std::list<TTask>& tasks) {
  WriteLog("  %s:%d", "TForm1::SetResumeTimer", 1812);
  std::int64_t delayMs = 0;
  DateTime now = clock_.Now();
  if (!IsValidDateTime(now)) return;
  for (const TTask& task : tasks) {
    if (task.Active <= kInactive || (task.State & kStateWakeUp) == 0) continue;
    // A task waiting for its event has no time yet (0.0 lies decades back): there is nothing to
    // wake for. It is passed over so that it does not hide a timed wake task behind it (the
    // list sorts event tasks first).
    if (task.Active == kWaitingForEvent) {
      WriteLog("Wake timer: task %u waits for an event, no wake-up time", task.TaskId);
      continue;
    }
    if (!IsValidDateTime(task.AlarmTime)) {
      WriteLog("Wake timer: task %u has no valid time", task.TaskId);
      continue;
    }
    // Whole milliseconds: both times are, and rounding keeps a floating-point error from
    // costing one (an hour must give 3,600,000, not 3,599,999).
    double ms = std::round(std::fabs(task.AlarmTime - now) * 86'400'000.0);
    // The period cannot say more than about 24.8 days. Rather than waking the computer at a
    // wrong time, nothing is armed; a later suspend arms the timer once the task is near.
    if (ms > static_cast<double>(kMaxPeriodMs)) {
      WriteLog("Wake timer: task %u is more than %lld ms ahead, not armed", task.TaskId,
               static_cast<long long>(kMaxPeriodMs));
      return;
    }
    delayMs = static_cast<std::int64_t>(ms);
    break;
  }
  if (delayMs <= 0) return;

  // When the probe file cannot be created (a read-only current directory, or a file of that
  // name already there) the clock gives the same moment.
  std::optional<std::uint64_t> probed = fileTime_.CreationTimeOfNewFile(kTimeProbeFile);
  std::uint64_t dueFileTime = probed ? *probed : clock_.FileTimeNow();
  Cancel();
  handle_ = timers_.CreateTimer(kWakeTimerName);
  if (handle_ != 0)
    timers_.SetTimer(handle_, dueFileTime, static_cast<std::int32_t>(delayMs), true);
}

}  // namespace vm

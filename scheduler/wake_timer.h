#pragma once
// The waitable timer "ResumeT" that brings the computer out of standby or hibernation for the
// first task with the wake bit.

#include <cstdint>
#include <list>

#include "platform/action_services.h"
#include "platform/services.h"
#include "scheduler/task.h"

namespace vm {

inline constexpr const char* kWakeTimerName = "ResumeT";

class WakeTimer {
 public:
  // The due time is absolute, so the current time as a file time is not needed any more; the
  // probe service stays in the signature for the callers.
  WakeTimer(WakeTimerService& timers, TempFileTime& fileTime, Clock& clock);
  // The timer dies with its last handle, as it would at the end of the process.
  ~WakeTimer();
  WakeTimer(const WakeTimer&) = delete;
  WakeTimer& operator=(const WakeTimer&) = delete;

  // Arms the timer for the first task in list order that is scheduled, has the wake bit and is
  // still ahead: one expiry at its due time as an absolute UTC moment (daylight saving taken
  // from the clock's zone rules), with resume. Without such a task a timer armed earlier is
  // cancelled, so a deleted, edited or deactivated wake task wakes nothing. Called whenever the
  // task list changes and before the system suspends; arming for the time already armed does
  // nothing.
  void SetResumeTimer(const std::list<TTask>& tasks);

  // Cancels the timer and lets go of it; nothing when none is armed.
  void Cancel();

  bool Armed() const { return handle_ != 0; }

 private:
  WakeTimerService& timers_;
  Clock& clock_;
  TimerHandle handle_ = 0;
  std::uint64_t armedDue_ = 0;  // the file time the timer is armed for
};

}  // namespace vm

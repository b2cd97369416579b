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
inline constexpr const char* kTimeProbeFile = "dummy.txt";

class WakeTimer {
 public:
  WakeTimer(WakeTimerService& timers, TempFileTime& fileTime, Clock& clock);
  // The timer dies with its last handle, as it would at the end of the process.
  ~WakeTimer();
  WakeTimer(const WakeTimer&) = delete;
  WakeTimer& operator=(const WakeTimer&) = delete;

  // Arms the timer for the first task in list order that is scheduled and has the wake bit:
  // signalled now, then every "time until that task" milliseconds, with resume. Without such
  // a task nothing changes (a timer armed earlier stays armed).
  void SetResumeTimer(const std::list<TTask>& tasks);

  // Cancels the timer and lets go of it; nothing when none is armed.
  void Cancel();

  bool Armed() const { return handle_ != 0; }

 private:
  WakeTimerService& timers_;
  TempFileTime& fileTime_;
  Clock& clock_;
  TimerHandle handle_ = 0;
};

}  // namespace vm

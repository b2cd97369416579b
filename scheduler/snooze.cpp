#include "scheduler/snooze.h"

#include <string>

#include "core/log.h"
#include "platform/services.h"
#include "scheduler/local_time.h"
#include "scheduler/scheduler.h"

namespace vm {

namespace {

// What a snooze repeats of the task that fired: its message, its sound and its wake-up. The
// actions that already happened (closing or starting a program, locking, a power action) are
// not done twice.
constexpr std::uint32_t kRepeatedStateBits = kStateAlarmSound | kStateWakeUp;

}  // namespace

DateTime SnoozeDueTime(Clock& clock, int minutes) {
  const DateTime now = clock.Now();
  const DateTime later = minutes / kMinutesPerDay;
  const DateTime utcDue = UtcNow(clock) + later;
  if (auto offset = clock.UtcOffsetMinutes(utcDue)) {
    const DateTime localDue = utcDue + *offset / kMinutesPerDay;
    if (localDue > now) return localDue;
  }
  return now + later;
}

std::uint32_t Scheduler::Snooze(const TTask& fired, int minutes, std::string_view marker) {
  if (!IsSnoozeLength(minutes)) minutes = kDefaultSnoozeMinutes;
  TTask task;
  InitTask(task);
  task.AlarmTime = SnoozeDueTime(clock_, minutes);
  task.State = kStateMessage | (fired.State & kRepeatedStateBits);
  task.Period = kPeriodOnce;
  task.Cnt = 0;  // as the editor stores a one-time task
  task.Active = kScheduled;
  task.SpeakOn = fired.SpeakOn;
  task.SoundOn = fired.SoundOn;
  task.SoundRepeat = fired.SoundRepeat;
  task.SoundFile = fired.SoundFile;
  // A snooze that could not ring (the computer was off or asleep) is reported, not lost quietly.
  task.ShowPassed = 1;
  task.WeekDays = 127;  // due on whatever day the snooze ends
  task.Event = 0;
  // The marker tells the user that this is a snooze; a snooze of a snooze keeps the one marker.
  // The message gives way where the field is too short for both.
  std::string message = fired.Message;
  if (marker.empty() || !message.ends_with(marker)) {
    const std::size_t room = kMessageField - 1;
    const std::size_t markerBytes = codec_.Utf8ToAnsi(marker).size();
    if (markerBytes < room) message = FitTaskText(message, room - markerBytes, codec_) + std::string(marker);
  }
  task.Message = FitTaskText(message, kMessageField - 1, codec_);
  task.TaskId = NewTaskId();
  WriteLog("  %s:%d TaskId=%d from TaskId=%d in %d min", "TForm1::Snooze", __LINE__,
           static_cast<int>(task.TaskId), static_cast<int>(fired.TaskId), minutes);
  TaskList.push_back(task);
  UpdateCurTask();
  SaveList();
  return task.TaskId;
}

}  // namespace vm

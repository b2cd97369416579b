// The schedule: which task is current, when a repeating task is due again, and the wording of
// periods and events.

#include <string>

#include "core/language.h"
#include "core/log.h"
#include "platform/services.h"
#include "scheduler/chain_time.h"
#include "scheduler/scheduler.h"
#include "scheduler/task_list.h"

namespace vm {

void Scheduler::UpdateCurTask() {
  WriteLog("  %s:%d", "TForm1::UpdateCurTask", 551);
  if (TaskList.empty()) {
    // The clock's next-task line and the icon's tip must not go on naming a task that is gone.
    CurTask.Active = kInactive;
    host_.CurrentTaskChanged();
    host_.TaskListChanged();
    return;
  }
  SortByAlarmTime(TaskList);
  for (TaskIter = TaskList.begin(); TaskIter != TaskList.end(); ++TaskIter)
    if (TaskIter->Active == kScheduled) break;
  // With no scheduled entry the first one stands in; its Active (0 or 2) keeps it from firing.
  CurTask = TaskIter != TaskList.end() ? *TaskIter : TaskList.front();
  host_.CurrentTaskChanged();
  host_.TaskListChanged();
}

// The next time is computed in one go (see chain_time.h) instead of stepping period by period,
// so a per-minute task years behind costs no more than one a minute behind; the clock is read
// once. Records that can only come from a damaged or foreign file are not looped over: a timed
// task with Cnt 0 or a Period above 6 never reaches the present, and a time that is not a date
// cannot be advanced. Such a task keeps its time and is made inactive, so it stays in the list,
// visible and editable, and never fires.
bool Scheduler::ChainTime(TTask& task) {
  WriteLog("  %s:%d Period=%d Cnt=%d TaskId=%d", "TForm1::ChainTime", 579,
           static_cast<int>(task.Period), static_cast<int>(task.Cnt), static_cast<int>(task.TaskId));
  const bool byMonth = task.Period == kPeriodMonth || task.Period == kPeriodYear;
  const int wantedDay = byMonth ? WantedDayOfMonth(task) : 0;
  ChainOutcome outcome =
      NextAlarmTime(task.AlarmTime, task.Period, task.Cnt, clock_.Now(), wantedDay);
  switch (outcome.result) {
    case ChainResult::Advanced:
      task.AlarmTime = outcome.time;
      task.DueDay = static_cast<std::uint8_t>(wantedDay);
      return true;
    case ChainResult::Unchanged:
      // Period 1 with Cnt 0 is "immediately" for an event task; on a timed task it would be due
      // again at once, every time.
      if (task.Event != 0) return true;
      [[fallthrough]];
    case ChainResult::CannotRepeat:
      WriteLog(" ChainTime: task %d can not repeat (Period=%d Cnt=%d), made inactive",
               static_cast<int>(task.TaskId), static_cast<int>(task.Period),
               static_cast<int>(task.Cnt));
      break;
    case ChainResult::InvalidTime:
      WriteLog(" ChainTime: task %d has no valid time, made inactive", static_cast<int>(task.TaskId));
      break;
    case ChainResult::OutOfRange:
      WriteLog(" ChainTime: task %d has no due time before the year 10000, made inactive",
               static_cast<int>(task.TaskId));
      break;
  }
  task.Active = kInactive;
  return false;
}

void Scheduler::ChainTasks() {
  WriteLog("  %s:%d", "TForm1::ChainTasks", 625);
  if (CurTask.Period > kPeriodOnce) {
    if (CurTask.Event != 0) {
      CurTask.AlarmTime = 0.0;
      CurTask.Active = kWaitingForEvent;
    } else if (ChainTime(CurTask)) {
      CurTask.Active = kScheduled;
    }  // else ChainTime made it inactive: kept like a one-time task that will not fire again
    if (FindTask(CurTask.TaskId)) *TaskIter = CurTask;
    SortByAlarmTime(TaskList);
  } else {
    RemoveTask(CurTask.TaskId);
  }
  UpdateCurTask();
  EditBuf = CurTask;
  host_.RefreshDateLabels();
}

// The entry keeps the id it was asked for, so an EditBuf carrying another id cannot give two
// entries the same one.
void Scheduler::ChangeTask(std::uint32_t id) {
  WriteLog("  %s:%d Task Id = %d", "TForm1::ChangeTask", 541, static_cast<int>(id));
  if (FindTask(id)) {
    // A date the user chose (another day, or another period) is the day the task is meant for
    // from now on; a change of anything else keeps the wanted day of a task of the 31st that
    // stands on the 30th.
    auto before = SplitDateTime(TaskIter->AlarmTime);
    auto after = SplitDateTime(EditBuf.AlarmTime);
    const bool sameDate = before && after && before->date.year == after->date.year &&
                          before->date.month == after->date.month &&
                          before->date.day == after->date.day;
    const bool keepDay = sameDate && TaskIter->Period == EditBuf.Period;
    *TaskIter = EditBuf;
    TaskIter->TaskId = id;
    if (!keepDay) TaskIter->DueDay = 0;
  }
  host_.ShowEditBufInEditor();
}

std::string Scheduler::PeriodText(std::uint32_t period, std::uint32_t count) const {
  switch (period) {
    case kPeriodMinutes:
      return Text("L2.4") + " (" + std::to_string(count) + ")";
    case kPeriodHours:
      return Text("L2.5") + " (" + std::to_string(count) + ")";
    case kPeriodDays:
      return Text("L2.6") + " (" + std::to_string(count) + ")";
    case kPeriodWeek:
      return "1" + Text("L2.7");
    case kPeriodMonth:
      return "1" + Text("L2.8");
    case kPeriodYear:
      return "1" + Text("L2.9");
    default:
      return Text("L2.3");
  }
}

std::string Scheduler::EventText(std::uint32_t mask) const {
  switch (mask) {
    case kEventSessionLock:
      return Text("20017");
    case kEventSessionUnlock:
      return Text("20018");
    case kEventLogon:
      return Text("20019");
    case kEventLogoff:
      return Text("20020");
    default:
      return Text("20021");
  }
}

}  // namespace vm

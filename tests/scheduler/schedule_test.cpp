#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "scheduler/task_list.h"
#include "scheduler_fixture.h"

namespace vm::schedtest {
namespace {

using ScheduleTest = SchedulerTest;
using Names_ = std::vector<std::string>;

TEST_F(ScheduleTest, SortIsStableEventsFirstAndNonFiniteTimesLast) {
  const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
  Fill({Task(5.0, 0, 1, 1, 0, "5a"), Task(nan, 0, 1, 1, 0, "nan1"), Task(0.0, 0, 1, 2, 4, "e1"),
        Task(-inf, 0, 1, 1, 0, "-inf"), Task(5.0, 0, 1, 1, 0, "5b"), Task(-1e300, 0, 1, 1, 0, "-huge"),
        Task(0.0, 0, 1, 2, 8, "e2"), Task(inf, 0, 1, 1, 0, "inf"), Task(3.0, 0, 1, 1, 0, "3")});
  SortByAlarmTime(scheduler.TaskList);
  EXPECT_EQ(Names(), (Names_{"-huge", "e1", "e2", "3", "5a", "5b", "nan1", "-inf", "inf"}));

  // Long lists too: equal times stay in the order of their ids.
  scheduler.TaskList.clear();
  for (int i = 0; i < 300; ++i) Fill({Task((i * 7) % 3)});
  SortByAlarmTime(scheduler.TaskList);
  EXPECT_TRUE(std::is_sorted(scheduler.TaskList.begin(), scheduler.TaskList.end(),
                             [](const TTask& a, const TTask& b) {
                               return a.AlarmTime != b.AlarmTime ? a.AlarmTime < b.AlarmTime
                                                                 : a.TaskId < b.TaskId;
                             }));
}

TEST_F(ScheduleTest, CurrentTaskIsTheEarliestScheduledEntry) {
  Fill({Task(At(2026, 12, 9), 0, 1, kScheduled, 0, "later"), Task(std::nan(""), 0, 1, kScheduled, 0, "nan"),
        Task(At(2026, 12, 8), 0, 1, kInactive, 0, "off"), Task(0.0, 0, 1, kWaitingForEvent, 4, "event"),
        Task(At(2026, 12, 8, 6), 0, 1, kScheduled, 0, "first"),
        Task(At(2026, 12, 8, 6), 0, 1, kScheduled, 0, "tie")});
  scheduler.UpdateCurTask();
  EXPECT_EQ(scheduler.CurTask.Message, "first");
  EXPECT_EQ(scheduler.TaskIter->Message, "first");
  EXPECT_EQ(host.tipRefreshes, 1);
  EXPECT_TRUE(log.Contains("  TForm1::UpdateCurTask:551"));

  // Without a scheduled entry the first one stands in, and its Active keeps it from firing.
  scheduler.TaskList.remove_if([](const TTask& t) { return t.Active == kScheduled; });
  scheduler.UpdateCurTask();
  EXPECT_EQ(scheduler.CurTask.Message, "event");
  EXPECT_EQ(scheduler.CurTask.Active, kWaitingForEvent);

  // An empty list clears Active, and the next-task line and the tip no longer name the task
  // that was current.
  scheduler.TaskList.clear();
  int before = host.tipRefreshes;
  scheduler.UpdateCurTask();
  EXPECT_EQ(scheduler.CurTask.Active, kInactive);
  EXPECT_EQ(host.tipRefreshes, before + 1);
}

// The firing tick has cleared Active in CurTask and the entry before ChainTasks runs.
class ChainTasksTest : public SchedulerTest {
 protected:
  void FireFirst() {
    scheduler.UpdateCurTask();
    scheduler.CurTask.Active = kInactive;
    scheduler.CurTask.LastAlarm = scheduler.CurTask.AlarmTime;
    ++scheduler.CurTask.AlarmCnt;
    scheduler.ChainTasks();
  }
};

TEST_F(ChainTasksTest, OneTimeTasksAreRemoved) {
  TTask boot = Task(At(2026, 12, 7, 11, 59, 58), 0, 1, kScheduled, kEventPowerOn, "boot");
  Fill({Task(At(2026, 12, 7, 11, 59), 0, 1, kScheduled, 0, "once"), boot,
        Task(At(2026, 12, 8), 0, 1, kScheduled, 0, "next")});
  FireFirst();
  FireFirst();
  EXPECT_EQ(Names(), (Names_{"next"}));
  EXPECT_EQ(scheduler.CurTask.Message, "next");
  EXPECT_EQ(scheduler.EditBuf, scheduler.CurTask);
  EXPECT_EQ(host.labelRefreshes, 2);
  EXPECT_TRUE(log.Contains("  TForm1::ChainTasks:625"));
}

TEST_F(ChainTasksTest, RepeatingTasksAreRescheduledKeepingTheirFiringCounts) {
  Fill({Task(At(2026, 12, 7, 11, 30), kPeriodHours, 1, kScheduled, 0, "hourly"),
        Task(At(2026, 12, 7, 12, 45), 0, 1, kScheduled, 0, "once"),
        Task(At(2026, 12, 7, 12, 50), kPeriodDays, 1, kScheduled, 0, "daily")});
  FireFirst();
  const TTask& hourly = scheduler.TaskList.front();
  EXPECT_EQ(Names(), (Names_{"hourly", "once", "daily"}));
  EXPECT_EQ(hourly.AlarmTime, At(2026, 12, 7, 12, 30));
  EXPECT_EQ(hourly.Active, kScheduled);
  EXPECT_EQ(hourly.AlarmCnt, 1u);
  EXPECT_EQ(hourly.LastAlarm, At(2026, 12, 7, 11, 30));
  EXPECT_EQ(scheduler.CurTask, hourly);

  clock.Set(At(2026, 12, 7, 12, 51));
  FireFirst();  // the hourly task, now behind the one-time task
  FireFirst();  // the one-time task
  FireFirst();  // the daily task moves to tomorrow, behind the hourly one
  EXPECT_EQ(Names(), (Names_{"hourly", "daily"}));
  EXPECT_EQ(scheduler.TaskList.back().AlarmTime, At(2026, 12, 8, 12, 50));
}

TEST_F(ChainTasksTest, EventTasksGoBackToWaiting) {
  Fill({Task(At(2026, 12, 7, 11, 59), kPeriodMinutes, 0, kScheduled, kEventSessionLock, "immediately")});
  FireFirst();
  EXPECT_EQ(scheduler.TaskList.front().AlarmTime, 0.0);
  EXPECT_EQ(scheduler.TaskList.front().Active, kWaitingForEvent);
}

TEST_F(ChainTasksTest, TimedTaskThatCanNotRepeatIsKeptInactive) {
  Fill({Task(At(2026, 12, 7, 11), kPeriodHours, 0, kScheduled, 0, "broken"),
        Task(At(2026, 12, 9), 0, 1, kScheduled, 0, "fine")});
  FireFirst();
  ASSERT_TRUE(scheduler.FindTask(0));
  EXPECT_EQ(scheduler.TaskIter->Active, kInactive);
  EXPECT_EQ(scheduler.TaskIter->AlarmTime, At(2026, 12, 7, 11));
  EXPECT_EQ(scheduler.CurTask.Message, "fine");
}

TEST_F(ChainTasksTest, EntryDeletedWhileFiringIsNotAddedBack) {
  Fill({Task(At(2026, 12, 7, 11), kPeriodDays, 1)});
  scheduler.UpdateCurTask();
  scheduler.TaskList.clear();
  scheduler.ChainTasks();
  EXPECT_TRUE(scheduler.TaskList.empty());
  EXPECT_EQ(scheduler.CurTask.Active, kInactive);
}

TEST_F(ScheduleTest, ChangeTaskStoresEditBufUnderTheGivenId) {
  Fill({Task(1.0, 0, 1, 1, 0, "a"), Task(2.0, 0, 1, 1, 0, "b")});
  scheduler.EditBuf = Task(At(2027, 1, 1), 0, 1, 1, 0, "edited");  // its TaskId is 0
  scheduler.ChangeTask(1);
  EXPECT_EQ(Names(), (Names_{"a", "edited"}));
  EXPECT_EQ(scheduler.TaskList.back().TaskId, 1u);
  EXPECT_TRUE(log.Contains("  TForm1::ChangeTask:541 Task Id = 1"));
  scheduler.ChangeTask(9);
  EXPECT_EQ(Names(), (Names_{"a", "edited"}));
  EXPECT_EQ(host.editorShows, 2);
}

TEST_F(ScheduleTest, PeriodAndEventWording) {
  EXPECT_EQ(scheduler.PeriodText(kPeriodOnce, 1), "Once");
  EXPECT_EQ(scheduler.PeriodText(kPeriodMinutes, 15), " min (15)");
  EXPECT_EQ(scheduler.PeriodText(kPeriodHours, 12), " h (12)");
  EXPECT_EQ(scheduler.PeriodText(kPeriodDays, 4294967295u), " d (4294967295)");
  EXPECT_EQ(scheduler.PeriodText(kPeriodWeek, 3), "1 wk");
  EXPECT_EQ(scheduler.PeriodText(kPeriodMonth, 0), "1 mo");
  EXPECT_EQ(scheduler.PeriodText(kPeriodYear, 0), "1 yr");
  EXPECT_EQ(scheduler.PeriodText(99, 1), "Once");
  EXPECT_EQ(scheduler.EventText(1) + scheduler.EventText(2) + scheduler.EventText(4) + scheduler.EventText(8),
            "LockUnlockLogonLogoff");
  for (std::uint32_t mask : {0u, 3u, 16u, 128u}) EXPECT_EQ(scheduler.EventText(mask), "Several");

  files.Put(kLanguagePath, std::string("L2.5Stunden\r\n"));
  ASSERT_TRUE(language.LoadLanguageFile(kLanguagePath));
  EXPECT_EQ(scheduler.PeriodText(kPeriodHours, 2), "Stunden (2)");
  EXPECT_EQ(scheduler.PeriodText(kPeriodMinutes, 2), " (2)");
  EXPECT_EQ(scheduler.PeriodText(kPeriodWeek, 1), "1");
  EXPECT_EQ(scheduler.EventText(1), "");
}

}  // namespace
}  // namespace vm::schedtest

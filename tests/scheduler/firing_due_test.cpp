// When the current task is due, late, missed or not for today.

#include <cmath>
#include <limits>

#include <gmock/gmock.h>

#include "firing_fixture.h"

namespace vm::firetest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(FiringTest, FiresOnlyWhenStrictlyLaterThanTheDueTime) {
  Load({Task(kStateMessage)});
  EXPECT_TRUE(TickAt(-1));
  EXPECT_TRUE(TickAt(0));  // exactly 08:00:00.000 is not later
  EXPECT_THAT(Actions(), IsEmpty());
  EXPECT_EQ(scheduler.CurTask.Active, kScheduled);

  EXPECT_TRUE(TickAt(0.001));
  EXPECT_EQ(Actions().front(), "alarm.create");
  EXPECT_TRUE(Has("alarm.show"));
}

// Lateness in whole seconds: 4.999 s still fires, 5 s is missed; with the wake bit (a computer
// that slept through the due time) the same at 300 s. A missed task is rescheduled without
// counting a firing.
TEST_F(FiringTest, FiringWindowsOfFiveAndThreeHundredSeconds) {
  struct Case {
    std::uint32_t state;
    double late;
    bool fires;
  };
  for (Case c : {Case{kStateMessage, 4.999, true}, Case{kStateMessage, 5.0, false},
                 Case{kStateMessage | kStateWakeUp, 299.999, true},
                 Case{kStateMessage | kStateWakeUp, 300.0, false}}) {
    SCOPED_TRACE(testing::Message() << "state " << c.state << " late " << c.late);
    scheduler.TaskList.clear();
    Load({Task(c.state, kPeriodDays)});
    TickAt(c.late);
    EXPECT_EQ(Has("alarm.create"), c.fires);
    const TTask* entry = Entry(0);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->AlarmTime, At(2026, 12, 8, 8, 0, 0));  // rescheduled either way
    EXPECT_EQ(entry->Active, kScheduled);
    EXPECT_EQ(entry->AlarmCnt, c.fires ? 1u : 0u);
    EXPECT_EQ(entry->LastAlarm, c.fires ? Due() : 0.0);
  }
}

TEST_F(FiringTest, OnlyScheduledTasksWithValidTimesAreEverDue) {
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  const double kInf = std::numeric_limits<double>::infinity();
  for (DateTime bad : {kNaN, kInf, -kInf, 2958466.0 /* year 10000 */, -700000.0 /* year 33 */}) {
    SCOPED_TRACE(bad);
    scheduler.TaskList.clear();
    Load({Task(kStateMessage | kStateShutdown, kPeriodOnce, bad)});
    EXPECT_TRUE(TickAt(10));
    EXPECT_THAT(Actions(), IsEmpty());
  }
  for (std::int32_t active : {kInactive, kWaitingForEvent}) {
    TTask task = Task(kStateMessage);
    task.Active = active;
    scheduler.TaskList.clear();
    Load({task});
    TickAt(1);
    EXPECT_THAT(Actions(), IsEmpty());
  }
  clock.Set(kNaN);  // a clock that reads no date
  EXPECT_TRUE(runner.Tick());
  EXPECT_THAT(Actions(), IsEmpty());
}

// Monday to Friday on a Saturday: no action, nothing counted; a daily task moves to its next
// day, a one-time task is removed.
TEST_F(FiringTest, WeekDaySkipActsOnNothingAndReschedules) {
  const DateTime saturday = At(2026, 12, 12, 8, 0, 0);
  TTask daily = Task(kStateMessage | kStateShutdown | kStateLock, kPeriodDays, saturday);
  daily.WeekDays = 31;
  daily.ShowPassed = 1;
  TTask once = Task(kStateMessage, kPeriodOnce, saturday + 1.0 / 24);
  once.WeekDays = 31;
  Load({daily, once});

  EXPECT_TRUE(TickAt(1, saturday));
  EXPECT_TRUE(Has("log:Task isn't for this day(31)"));
  EXPECT_THAT(Actions(), ElementsAre("save", "tasklist.refresh"));
  const TTask* entry = Entry(0);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->AlarmTime, At(2026, 12, 13, 8, 0, 0));
  EXPECT_EQ(entry->AlarmCnt, 0u);
  EXPECT_EQ(entry->LastAlarm, 0.0);

  calls.clear();
  EXPECT_TRUE(TickAt(3601, saturday));  // the one-time task at 09:00
  EXPECT_THAT(Actions(), ElementsAre("save", "tasklist.refresh"));
  EXPECT_EQ(Entry(1), nullptr);
}

TEST_F(FiringTest, MissedTaskReportTextFollowsTheLanguageFile) {
  TTask task = Task(kStateMessage | kStateRunProgram, kPeriodOnce);
  task.ShowPassed = 1;
  task.Program = "C:\\tools\\run.exe";
  task.Message = "Call 100% back";
  Load({task});
  TickAt(60);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "Alarm was set to :");
  EXPECT_EQ(boxes.shown[0].caption, "Vemtaro");
  EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Information);
  EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::Ok);
  EXPECT_EQ(boxes.shown[0].owner, kMainWindow);
  // The program is never started late.
  EXPECT_THAT(Actions(), ElementsAre("box Vemtaro: Alarm was set to :", "save", "tasklist.refresh"));

  files.Put(schedtest::kLanguagePath, std::string("L3.1Due:\r\n"));
  ASSERT_TRUE(language.LoadLanguageFile(schedtest::kLanguagePath));
  scheduler.TaskList.clear();
  Load({task});
  TickAt(60);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text, "Due: day " + std::to_string(Due()) + " with time \n Call 100% back");
}

// A box of a missed task keeps the message loop running: ticks nested in it fire nothing, not
// even another task that falls due meanwhile.
TEST_F(FiringTest, TicksNestedInTheMissedBoxFireNothing) {
  TTask missed = Task(kStateMessage);
  missed.ShowPassed = 1;
  TTask next = Task(kStateMessage | kStateLock, kPeriodOnce, Due() + 61.0 / 86400);
  Load({missed, next});
  bool nestedResult = false;
  boxes.onShow = [&](const MessageBoxRequest&) {
    clock.Set(Due() + 62.0 / 86400);
    nestedResult = runner.Tick();
    nestedResult = runner.Tick() && nestedResult;
  };
  TickAt(60);
  EXPECT_TRUE(nestedResult);
  EXPECT_FALSE(Has("alarm.create"));
  EXPECT_EQ(scheduler.CurTask.TaskId, 1u);  // chosen by FinishTask, not fired
  EXPECT_EQ(scheduler.CurTask.Active, kScheduled);
}

}  // namespace
}  // namespace vm::firetest

// System events starting tasks, and the session subscription.

#include <gmock/gmock.h>

#include "firing_fixture.h"
#include "scheduler/event_triggers.h"

namespace vm::firetest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class EventTriggerTest : public FiringTest {
 protected:
  static TTask OnEvent(std::uint16_t event, std::uint32_t period = kPeriodOnce,
                       std::uint32_t cnt = 1) {
    TTask task = Task(kStateMessage, period, 0.0);
    task.Event = event;
    task.Cnt = cnt;
    task.Active = kWaitingForEvent;
    return task;
  }
};

// Each event is tested alone against a task's bits: a task for lock and unlock starts on
// either; a task for unlock alone does not start on lock.
TEST_F(EventTriggerTest, TaskStartsOnEveryEventItHolds) {
  Load({OnEvent(kEventSessionLock | kEventSessionUnlock), OnEvent(kEventSessionUnlock),
        OnEvent(kEventSessionLock), Task(kStateMessage, kPeriodOnce, Due() + 1)});
  UpdateEventTask(scheduler, clock, kEventSessionLock);
  EXPECT_EQ(Entry(0)->Active, kScheduled);
  EXPECT_EQ(Entry(0)->AlarmTime, Due());
  EXPECT_EQ(Entry(1)->Active, kWaitingForEvent);
  EXPECT_EQ(Entry(1)->AlarmTime, 0.0);
  EXPECT_EQ(Entry(2)->Active, kScheduled);
  EXPECT_EQ(Entry(3)->AlarmTime, Due() + 1);
  EXPECT_TRUE(Has("log:  TForm1::UpdateEventTask:2876 Event 1"));
  EXPECT_TRUE(Has("log:TaskId=0 Task->Event=3 TaskIter->Period=0"));
  EXPECT_FALSE(Has("log:TaskId=1 Task->Event=2 TaskIter->Period=0"));

  // Unlock later: the lock-and-unlock task starts again, as does the unlock task.
  clock.Set(Due() + 0.5);
  UpdateEventTask(scheduler, clock, kEventSessionUnlock);
  EXPECT_EQ(Entry(0)->AlarmTime, Due() + 0.5);
  EXPECT_EQ(Entry(1)->Active, kScheduled);
}

TEST_F(EventTriggerTest, PeriodMovesTheStartOnByOnePeriodExceptImmediately) {
  Load({OnEvent(kEventLogon, kPeriodHours, 1), OnEvent(kEventLogon, kPeriodMinutes, 0),
        OnEvent(kEventLogon, kPeriodDays, 2)});
  UpdateEventTask(scheduler, clock, kEventLogon);
  EXPECT_EQ(Entry(0)->AlarmTime, At(2026, 12, 7, 9, 0, 0));
  EXPECT_EQ(Entry(1)->AlarmTime, Due());  // "Immediately"
  EXPECT_EQ(Entry(2)->AlarmTime, At(2026, 12, 9, 8, 0, 0));
  EXPECT_EQ(scheduler.CurTask.TaskId, 1u);
}

TEST_F(EventTriggerTest, TaskWhosePeriodCannotBeCountedIsNotStarted) {
  Load({OnEvent(kEventLogon, 9, 1), OnEvent(kEventLogon, kPeriodDays, 0)});
  UpdateEventTask(scheduler, clock, kEventLogon);
  EXPECT_EQ(Entry(0)->Active, kInactive);
  EXPECT_EQ(Entry(1)->Active, kInactive);
  TickAt(1);
  EXPECT_FALSE(Has("alarm.create"));
}

TEST_F(EventTriggerTest, EmptyMaskStartsNothing) {
  Load({OnEvent(kEventLogoff), Task(kStateMessage, kPeriodOnce, Due() + 1)});
  UpdateEventTask(scheduler, clock, 0);
  EXPECT_EQ(Entry(0)->Active, kWaitingForEvent);
  EXPECT_EQ(Entry(1)->AlarmTime, Due() + 1);
}

// "Power On" with Period 2 (hours) and Cnt 1: due one hour after the program started.
TEST_F(EventTriggerTest, PowerOnTaskFiresOneHourAfterTheStart) {
  Load({OnEvent(kEventPowerOn, kPeriodHours, 1)});
  UpdateEventTask(scheduler, clock, kEventPowerOn);
  calls.clear();
  TickAt(3599);
  EXPECT_THAT(Actions(), IsEmpty());
  TickAt(3600.5);
  EXPECT_THAT(Actions(), ElementsAre("alarm.create", "alarm.show", "save", "tasklist.refresh"));
  // Repeating event task: back to waiting for the next start.
  EXPECT_EQ(Entry(0)->Active, kWaitingForEvent);
  EXPECT_EQ(Entry(0)->AlarmTime, 0.0);
}

TEST_F(EventTriggerTest, ImmediateTaskFiresOnTheNextTick) {
  TTask task = OnEvent(kEventScreenSaverOn, kPeriodMinutes, 0);
  Load({task});
  UpdateEventTask(scheduler, clock, kEventScreenSaverOn);
  calls.clear();
  TickAt(0.9);
  EXPECT_TRUE(Has("alarm.show"));
}

TEST(SessionSubscriptionTest, RegistersOnceAndUnregistersAtTheEnd) {
  fakes::CallLog calls;
  fakes::FakeSessionNotifications sessions{calls};
  sessions.registers = false;  // no library: still released at the end
  {
    ScopedLogCapture log;
    SessionSubscription subscription{sessions};
    EXPECT_FALSE(subscription.RegisterWts(77));
    EXPECT_TRUE(log.Contains("  TForm1::RegisterWts:2856"));
    subscription.Unregister();
  }
  EXPECT_THAT(calls, ElementsAre("session.register 77", "session.unregister 77"));

  calls.clear();
  { SessionSubscription unused{sessions}; }
  EXPECT_THAT(calls, IsEmpty());
}

}  // namespace
}  // namespace vm::firetest

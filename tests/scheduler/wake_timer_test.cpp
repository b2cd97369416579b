// Arming the wake-up timer for the first wake task.

#include <gmock/gmock.h>

#include <cmath>
#include <limits>

#include "firing_fixture.h"

namespace vm::firetest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class WakeTimerTest : public FiringTest {
 protected:
  // Suspending at 06:00, two hours before Due().
  WakeTimerTest() { clock.Set(Due() - 2.0 / 24); }

  static TTask Wake(DateTime when, std::int32_t active = kScheduled) {
    TTask task = Task(kStateMessage | kStateWakeUp, kPeriodOnce, when);
    task.Active = active;
    return task;
  }
  std::vector<std::string> TimerCalls() {
    std::vector<std::string> out;
    for (const std::string& call : Actions())
      if (call.rfind("timer.", 0) == 0 || call.rfind("tempfile", 0) == 0) out.push_back(call);
    return out;
  }
};

// The due time as the file time the fake clock gives for it (local time is UTC there).
std::string DueText(DateTime when) {
  return std::to_string(static_cast<std::uint64_t>(std::llround((when + 109205.0) * 864000000000.0)));
}

TEST_F(WakeTimerTest, WakeTaskArmsResumeTForItsAbsoluteDueTime) {
  Load({Task(kStateMessage, kPeriodOnce, Due() - 1.0 / 24), Wake(Due())});
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_THAT(TimerCalls(), ElementsAre("timer.create ResumeT",
                                        "timer.set 101 due=" + DueText(Due()) + " period=0 resume"));
  EXPECT_TRUE(Has("log:  TForm1::SetResumeTimer:1812"));
  EXPECT_TRUE(wakeTimer.Armed());
}

// No period any more, so no limit of 24.8 days either.
TEST_F(WakeTimerTest, TaskMonthsAheadIsArmedExactly) {
  const DateTime far = Due() + 90;
  Load({Wake(far)});
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_TRUE(Has("timer.set 101 due=" + DueText(far) + " period=0 resume"));
}

TEST_F(WakeTimerTest, FirstScheduledWakeTaskThatIsStillAheadCounts) {
  TTask event = Wake(0.0, kWaitingForEvent);
  event.Event = kEventSessionUnlock;
  Load({Wake(Due() - 1.0 / 24, kInactive), Wake(Due()), Wake(Due() - 1.5 / 24), event,
        Wake(std::numeric_limits<double>::quiet_NaN()),
        Wake(clock.Now() - 10.0 / 86400)});  // overdue: the tick fires or misses it
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_THAT(TimerCalls(), ElementsAre("timer.create ResumeT", "timer.set 101 due=" +
                                                                    DueText(Due() - 1.5 / 24) +
                                                                    " period=0 resume"));
}

// The timer follows the list: a deleted, deactivated or moved wake task does not keep waking
// the computer, and an overdue one arms nothing.
TEST_F(WakeTimerTest, ChangesOfTheListRearmOrCancel) {
  Load({Wake(Due())});
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  calls.clear();
  wakeTimer.SetResumeTimer(scheduler.TaskList);  // nothing changed: left as it is
  EXPECT_THAT(TimerCalls(), IsEmpty());

  scheduler.TaskList.front().AlarmTime = Due() + 1.0 / 24;  // edited
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_THAT(TimerCalls(), ElementsAre("timer.cancel 101", "timer.close 101", "timer.create ResumeT",
                                        "timer.set 102 due=" + DueText(Due() + 1.0 / 24) +
                                            " period=0 resume"));
  calls.clear();
  scheduler.TaskList.front().Active = kInactive;  // deactivated
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_THAT(TimerCalls(), ElementsAre("timer.cancel 102", "timer.close 102"));
  EXPECT_FALSE(wakeTimer.Armed());

  scheduler.TaskList.front().Active = kScheduled;
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  ASSERT_TRUE(wakeTimer.Armed());
  scheduler.TaskList.clear();  // deleted
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_FALSE(wakeTimer.Armed());

  Load({Wake(Due())});
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  clock.Set(Due() + 1.0 / 86400);  // now overdue
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_FALSE(wakeTimer.Armed());
  EXPECT_THAT(actions.wakeTimers.open, IsEmpty());
}

// Across a change to summer time the due time keeps its local meaning: 08:00 local on 28 March
// 2027 in Central Europe is 06:00 UTC, although at 00:30 local (23:30 UTC) it is 6.5 hours away
// on the wall clock and only 5.5 real hours.
TEST_F(WakeTimerTest, DueTimeFollowsTheZoneAcrossADaylightSavingChange) {
  clock.SetZone([](DateTime utc) { return utc >= At(2027, 3, 28, 1, 0) ? 120 : 60; });
  clock.SetUtc(At(2027, 3, 27, 23, 30));
  Load({Wake(At(2027, 3, 28, 8, 0))});
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_TRUE(Has("timer.set 101 due=" + DueText(At(2027, 3, 28, 6, 0)) + " period=0 resume"));
}

TEST_F(WakeTimerTest, TimerThatCannotBeCreatedLeavesNothingArmed) {
  actions.wakeTimers.createFails = true;
  Load({Wake(Due())});
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_THAT(TimerCalls(), ElementsAre("timer.create ResumeT"));
  EXPECT_FALSE(wakeTimer.Armed());
}

TEST_F(WakeTimerTest, DestructionClosesAnArmedTimer) {
  fakes::CallLog own;
  fakes::FakeWakeTimerService timers{own};
  fakes::FakeTempFileTime probe{own};
  {
    WakeTimer timer{timers, probe, clock};
    Load({Wake(Due())});
    timer.SetResumeTimer(scheduler.TaskList);
  }
  EXPECT_THAT(timers.open, IsEmpty());
}

}  // namespace
}  // namespace vm::firetest

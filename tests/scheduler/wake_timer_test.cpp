// Arming the wake-up timer for the first wake task.

#include <gmock/gmock.h>

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
  static constexpr std::uint64_t kProbeTime = 133'000'000'000'000'000ull;
};

TEST_F(WakeTimerTest, WakeTaskTwoHoursAheadArmsResumeTWithItsDelayAsPeriod) {
  Load({Task(kStateMessage, kPeriodOnce, Due() - 1.0 / 24), Wake(Due())});
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_THAT(TimerCalls(), ElementsAre("tempfile dummy.txt", "timer.create ResumeT",
                                        "timer.set 101 due=133000000000000000 period=7200000 resume"));
  EXPECT_TRUE(Has("log:  TForm1::SetResumeTimer:1812"));
  EXPECT_TRUE(wakeTimer.Armed());
}

TEST_F(WakeTimerTest, OnlyTheFirstActiveWakeTaskInListOrderCounts) {
  Load({Wake(Due() - 1.0 / 24, kInactive), Wake(Due()), Wake(Due() - 1.5 / 24)});
  // Load sorted the list; walk it as it is, without sorting again.
  scheduler.TaskList.sort([](const TTask& a, const TTask& b) { return a.TaskId < b.TaskId; });
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_TRUE(Has("timer.set 101 due=133000000000000000 period=7200000 resume"));
}

TEST_F(WakeTimerTest, NothingToWakeForArmsNothingAndKeepsAnEarlierTimer) {
  Load({Task(kStateMessage, kPeriodOnce, Due()), Wake(Due(), kInactive)});
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_THAT(TimerCalls(), IsEmpty());
  EXPECT_FALSE(wakeTimer.Armed());

  scheduler.TaskList.clear();
  Load({Wake(Due())});
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  scheduler.TaskList.front().Active = kInactive;
  calls.clear();
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_THAT(TimerCalls(), IsEmpty());
  EXPECT_TRUE(wakeTimer.Armed());
}

TEST_F(WakeTimerTest, ArmingAgainReplacesTheOldTimer) {
  Load({Wake(Due())});
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  clock.Set(Due() - 1.0 / 24);
  calls.clear();
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_THAT(TimerCalls(),
              ElementsAre("tempfile dummy.txt", "timer.cancel 101", "timer.close 101",
                          "timer.create ResumeT",
                          "timer.set 102 due=133000000000000000 period=3600000 resume"));
  EXPECT_THAT(actions.wakeTimers.open, ElementsAre(102u));
}

// Without dummy.txt (read-only directory, or a file of that name already there) the clock
// gives the due time.
TEST_F(WakeTimerTest, ClockStandsInWhenTheProbeFileCannotBeCreated) {
  actions.tempFileTime.fileTime.reset();
  Load({Wake(Due())});
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_TRUE(Has("timer.set 101 due=" + std::to_string(clock.FileTimeNow()) +
                  " period=7200000 resume"));
}

TEST_F(WakeTimerTest, TimerThatCannotBeCreatedLeavesNothingArmed) {
  actions.wakeTimers.createFails = true;
  Load({Wake(Due())});
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_THAT(TimerCalls(), ElementsAre("tempfile dummy.txt", "timer.create ResumeT"));
  EXPECT_FALSE(wakeTimer.Armed());
}

// The period holds at most 2,147,483,647 ms (about 24.8 days): a task further ahead arms
// nothing rather than a wrong wake-up.
TEST_F(WakeTimerTest, TaskBeyondTheLongestPeriodArmsNothing) {
  const DateTime now = clock.Now();
  Load({Wake(now + 2147483647.0 / 86400000.0)});
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_TRUE(Has("timer.set 101 due=133000000000000000 period=2147483647 resume"));

  scheduler.TaskList.clear();
  Load({Wake(now + 2147483648.0 / 86400000.0), Wake(now + 30)});
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_THAT(TimerCalls(), IsEmpty());
  EXPECT_TRUE(Has("log:Wake timer: task 0 is more than 2147483647 ms ahead, not armed"));
}

// A task waiting for its event has no time (0.0): it is passed over, as is one whose time is no
// date, and a timed wake task behind them (event tasks sort first) is armed.
TEST_F(WakeTimerTest, EventTaskWithTheWakeBitIsPassedOver) {
  TTask event = Wake(0.0, kWaitingForEvent);
  event.Event = kEventSessionUnlock;
  Load({event});
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_THAT(TimerCalls(), IsEmpty());
  EXPECT_TRUE(Has("log:Wake timer: task 0 waits for an event, no wake-up time"));

  scheduler.TaskList.clear();
  Load({event, Wake(std::numeric_limits<double>::quiet_NaN()), Wake(Due())});
  wakeTimer.SetResumeTimer(scheduler.TaskList);
  EXPECT_TRUE(Has("timer.set 101 due=133000000000000000 period=7200000 resume"));
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

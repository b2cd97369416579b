// Daylight saving: a due time in the hour skipped in spring fires once, at the jump; nothing
// fires twice in the hour repeated in autumn; lateness counts real seconds. The clock follows
// the rules of Central Europe (UTC+1, summer UTC+2 from the last Sunday of March 01:00 UTC to
// the last Sunday of October 01:00 UTC).

#include <gtest/gtest.h>

#include <chrono>

#include "firing_fixture.h"
#include "scheduler/local_time.h"

namespace vm::firetest {
namespace {

DateTime LastSundayAtOneUtc(int year, unsigned month) {
  using namespace std::chrono;
  sys_days day{std::chrono::year{year} / std::chrono::month{month} / Sunday[std::chrono::last]};
  return static_cast<double>((day - kDateTimeEpoch).count()) + 1.0 / 24;
}

int CentralEurope(DateTime utc) {
  auto parts = SplitDateTime(utc);
  int year = parts ? parts->date.year : 2027;
  bool summer = utc >= LastSundayAtOneUtc(year, 3) && utc < LastSundayAtOneUtc(year, 10);
  return summer ? 120 : 60;
}

class DaylightSavingTest : public FiringTest {
 protected:
  DaylightSavingTest() { clock.SetZone(CentralEurope); }

  // Runs the tick once a second over the real interval [fromUtc, toUtc) and counts firings.
  int TickThrough(DateTime fromUtc, DateTime toUtc) {
    int before = firings_;
    for (DateTime utc = fromUtc; utc < toUtc; utc += 1.0 / 86400) {
      clock.SetUtc(utc);
      std::uint32_t count = CountFired();
      runner.Tick();
      if (CountFired() > count) ++firings_;
    }
    return firings_ - before;
  }
  std::uint32_t CountFired() {
    std::uint32_t n = 0;
    for (const TTask& t : scheduler.TaskList) n += t.AlarmCnt;
    return n;
  }
  int firings_ = 0;
};

// 28 March 2027: local time jumps from 01:59:59 to 03:00:00 (01:00 UTC).
TEST_F(DaylightSavingTest, TimeInTheSkippedHourFiresOnceAtTheJump) {
  const DateTime jumpUtc = LastSundayAtOneUtc(2027, 3);
  for (std::uint32_t state : {0u, static_cast<std::uint32_t>(kStateWakeUp)}) {
    SCOPED_TRACE(state);
    scheduler.TaskList.clear();
    host.exists = host.visible = false;
    Load({Task(kStateMessage | state, kPeriodDays, At(2027, 3, 28, 2, 30))});
    EXPECT_EQ(TickThrough(jumpUtc - 600.0 / 86400, jumpUtc - 1.0 / 86400), 0);
    EXPECT_EQ(TickThrough(jumpUtc - 1.0 / 86400, jumpUtc + 2.0 / 86400), 1);
    EXPECT_TRUE(Has("alarm.show"));
    EXPECT_EQ(scheduler.CurTask.AlarmTime, At(2027, 3, 29, 2, 30));
    // The rest of the day and the next day's 02:30 (00:30 UTC): exactly one more firing.
    EXPECT_EQ(TickThrough(jumpUtc + 2.0 / 86400, jumpUtc + 23.5 / 24 + 3.0 / 86400), 1);
    EXPECT_EQ(scheduler.CurTask.AlarmTime, At(2027, 3, 30, 2, 30));
  }
}

TEST_F(DaylightSavingTest, LatenessCountsRealSecondsAcrossTheJump) {
  const DateTime jumpUtc = LastSundayAtOneUtc(2027, 3);
  // Due 01:59:58 local, two real seconds before the jump; at 03:00:03 local it is 5 s late
  // (an hour and 5 s by the wall clock), so it is missed; at 03:00:02 it fires.
  Load({Task(kStateMessage, kPeriodOnce, At(2027, 3, 28, 1, 59, 58)),
        Task(kStateMessage, kPeriodOnce, At(2027, 3, 28, 1, 59, 57))});
  clock.SetUtc(jumpUtc + 2.0 / 86400);
  runner.Tick();  // the 01:59:57 task: 5 s late, missed
  EXPECT_EQ(scheduler.TaskList.size(), 1u);
  EXPECT_FALSE(Has("alarm.show"));
  runner.Tick();  // the 01:59:58 task: 4 s late, fires
  EXPECT_TRUE(Has("alarm.show"));
  EXPECT_TRUE(scheduler.TaskList.empty());
}

// 31 October 2027: local time goes back from 02:59:59 to 02:00:00 (01:00 UTC).
TEST_F(DaylightSavingTest, NothingFiresTwiceInTheRepeatedHour) {
  const DateTime backUtc = LastSundayAtOneUtc(2027, 10);
  TTask everyTwenty = Task(kStateMessage, kPeriodMinutes, At(2027, 10, 31, 2, 0));
  everyTwenty.Cnt = 20;
  Load({Task(kStateMessage, kPeriodDays, At(2027, 10, 31, 2, 30)), everyTwenty});
  // From 01:50 summer time to 03:10 winter time: two real hours and twenty minutes.
  int fired = TickThrough(backUtc - 70.0 / 1440, backUtc + 70.0 / 1440);
  // 02:30 once; every 20 minutes 02:00, 02:20, 02:40 (summer), then 03:00 (winter).
  EXPECT_EQ(fired, 5);
  const TTask* daily = Entry(0);
  ASSERT_NE(daily, nullptr);
  EXPECT_EQ(daily->AlarmCnt, 1u);
  EXPECT_EQ(daily->AlarmTime, At(2027, 11, 1, 2, 30));
  EXPECT_EQ(Entry(1)->AlarmCnt, 4u);
}

TEST_F(DaylightSavingTest, FirstMomentALocalTimeIsReached) {
  const DateTime jumpUtc = LastSundayAtOneUtc(2027, 3);
  const DateTime backUtc = LastSundayAtOneUtc(2027, 10);
  auto reach = [&](DateTime local) { return FirstUtcReaching(clock, local).value(); };
  EXPECT_NEAR(reach(At(2027, 3, 28, 2, 30)), jumpUtc, 0.001 / 86400);
  EXPECT_NEAR(reach(At(2027, 3, 28, 3, 0)), jumpUtc, 0.001 / 86400);
  EXPECT_NEAR(reach(At(2027, 3, 28, 1, 59)), jumpUtc - 1.0 / 1440, 0.001 / 86400);
  // Repeated: the earlier of the two moments.
  EXPECT_NEAR(reach(At(2027, 10, 31, 2, 30)), backUtc - 30.0 / 1440, 0.001 / 86400);
  EXPECT_NEAR(reach(At(2027, 7, 1, 12, 0)), At(2027, 7, 1, 10, 0), 0.001 / 86400);
  fakes::FakeClock plain;
  EXPECT_FALSE(FirstUtcReaching(plain, At(2027, 3, 28, 2, 30)));
}

}  // namespace
}  // namespace vm::firetest

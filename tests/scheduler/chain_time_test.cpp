#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "scheduler/chain_time.h"
#include "scheduler_fixture.h"
#include "tests/scheduler/stepwise_reference.h"

namespace vm::schedtest {
namespace {

using ChainTimeTest = SchedulerTest;

TEST_F(ChainTimeTest, AdvancesOnTheClockFieldsToTheFirstTimeNotBeforeNow) {
  struct Case {
    const char* what;
    DateTime start;
    std::uint32_t period, cnt;
    DateTime now, expected;
  } cases[] = {
      {"90 minutes", At(2026, 12, 7, 23, 15, 30), 1, 90, At(2026, 12, 7, 23, 16), At(2026, 12, 8, 0, 45, 30)},
      {"3 hours", At(2026, 12, 31, 22), 2, 3, At(2026, 12, 31, 22, 1), At(2027, 1, 1, 1)},
      {"November monthly", At(2026, 11, 15, 10), 5, 0, At(2026, 11, 16), At(2026, 12, 15, 10)},
      {"December monthly", At(2026, 12, 15, 10), 5, 0, At(2026, 12, 16), At(2027, 1, 15, 10)},
      {"weekly ignores Cnt", At(2026, 12, 7, 9), 4, 3, At(2026, 12, 7, 10), At(2026, 12, 14, 9)},
      {"daily 10 days behind", At(2026, 11, 27, 10), 3, 1, At(2026, 12, 7, 12), At(2026, 12, 8, 10)},
      {"a step equal to now", At(2026, 11, 27, 12), 3, 2, At(2026, 12, 7, 12), At(2026, 12, 7, 12)},
      {"future advances once", At(2026, 12, 20, 8), 3, 1, At(2026, 12, 7), At(2026, 12, 21, 8)},
      {"seconds stay", At(1926, 12, 7, 8, 0, 15, 500), 1, 1, At(2026, 12, 7, 12, 0, 0, 300),
       At(2026, 12, 7, 12, 0, 15, 500)},
      {"31 Jan to Feb", At(2027, 1, 31, 9), 5, 0, At(2027, 2, 1), At(2027, 2, 28, 9)},
      {"31 Jan back to 31 Mar", At(2027, 1, 31, 9), 5, 0, At(2027, 3, 1), At(2027, 3, 31, 9)},
      {"31 Jan leap", At(2028, 1, 31, 9), 5, 0, At(2028, 2, 1), At(2028, 2, 29, 9)},
      {"29 Feb yearly", At(2024, 2, 29, 7), 6, 0, At(2024, 3, 1), At(2025, 2, 28, 7)},
      {"29 Feb next leap", At(2024, 2, 29, 7), 6, 0, At(2027, 6, 1), At(2028, 2, 29, 7)},
      {"NaN clock: one step", At(2026, 1, 1), 3, 1, std::nan(""), At(2026, 1, 2)},
      // 2^32-1 minutes are 2982616 days, 4 hours and 15 minutes.
      {"2^32-1 minutes", At(100, 1, 1), 1, 0xFFFFFFFFu, At(100, 1, 2), At(8266, 2, 16, 4, 15)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    clock.Set(c.now);
    TTask task = Task(c.start, c.period, c.cnt);
    EXPECT_TRUE(scheduler.ChainTime(task));
    EXPECT_EQ(task.AlarmTime, c.expected);
    EXPECT_EQ(task.Active, kScheduled);
  }
  EXPECT_TRUE(log.Contains("  TForm1::ChainTime:579 Period=2 Cnt=3 TaskId=0"));
}

TEST_F(ChainTimeTest, ImmediatelyOnAnEventTaskKeepsItsTime) {
  TTask task = Task(At(2026, 12, 7, 11), kPeriodMinutes, 0, kScheduled, kEventPowerOn);
  EXPECT_TRUE(scheduler.ChainTime(task));
  EXPECT_EQ(task.AlarmTime, At(2026, 12, 7, 11));
  EXPECT_EQ(task.Active, kScheduled);
}

// Records only a damaged file can hold: nothing loops, the time stays, the task turns inactive.
TEST_F(ChainTimeTest, TasksThatCanNotBeScheduledKeepTheirTimeAndBecomeInactive) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    DateTime start;
    std::uint32_t period, cnt;
    DateTime now;
  } cases[] = {{At(2026, 1, 1), 2, 0, 0},      {At(2026, 1, 1), 3, 0, 0},
               {At(2026, 1, 1), 1, 0, 0},      {At(2026, 1, 1), 7, 1, 0},
               {std::nan(""), 1, 1, 0},        {inf, 1, 1, 0},
               {-inf, 3, 1, 0},                {1e300, 1, 1, 0},
               {-700000.0, 1, 1, 0},           {At(2026, 1, 1), 2, 0xFFFFFFFFu, 0},
               {At(2026, 1, 1), 3, 0xFFFFFFFFu, 0}, {At(9999, 6, 1), 6, 0, At(9999, 7, 1)},
               {At(2026, 1, 1), 1, 1, 1e300}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.start << " Period " << c.period << " Cnt " << c.cnt);
    clock.Set(c.now != 0 ? c.now : At(2026, 12, 7));
    TTask task = Task(c.start, c.period, c.cnt);
    task.TaskId = 5;
    EXPECT_FALSE(scheduler.ChainTime(task));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(task.AlarmTime), std::bit_cast<std::uint64_t>(c.start));
    EXPECT_EQ(task.Active, kInactive);
  }
  EXPECT_TRUE(log.Contains(" ChainTime: task 5 can not repeat (Period=2 Cnt=0), made inactive"));
  EXPECT_TRUE(log.Contains(" ChainTime: task 5 has no valid time, made inactive"));
}

TEST(ChainTimeAgreement, ClosedFormMatchesTheStepwiseRuleBitForBit) {
  std::mt19937_64 random(20261207);
  auto integer = [&](std::int64_t lo, std::int64_t hi) {
    return std::uniform_int_distribution<std::int64_t>(lo, hi)(random);
  };
  const double periodDays[] = {0, 1.0 / 1440, 1.0 / 24, 1, 7, 30.44, 365.25};
  for (int i = 0; i < 3000; ++i) {
    auto period = static_cast<std::uint32_t>(integer(1, 6));
    auto cnt = static_cast<std::uint32_t>(period > 3 ? integer(0, 5) : integer(1, i % 4 ? 60 : 1500));
    // Dates from 1900 to 2100, times with milliseconds, now and then the last one of a day.
    DateTime start = static_cast<double>(integer(2, 73414)) +
                     (i % 50 ? EncodeTime({int(integer(0, 23)), int(integer(0, 59)), int(integer(0, 59)),
                                           int(integer(0, 999))})
                             : EncodeTime({23, 59, 59, 999}));
    double lag = std::uniform_real_distribution<double>(-2.0, 150.0)(random);
    DateTime now = start + lag * periodDays[period] * (period <= 3 ? cnt : 1);
    auto answer = reference::StepwiseChainTime(start, period, cnt, now, 100000);
    ASSERT_TRUE(answer);
    // A random now, now exactly on the answer, and now just after it.
    for (DateTime probe : {now, *answer, std::nextafter(*answer, 1e9)}) {
      auto want = reference::StepwiseChainTime(start, period, cnt, probe, 100000);
      ChainOutcome got = NextAlarmTime(start, period, cnt, probe);
      ASSERT_TRUE(want);
      ASSERT_EQ(got.result, ChainResult::Advanced);
      ASSERT_EQ(std::bit_cast<std::uint64_t>(got.time), std::bit_cast<std::uint64_t>(*want))
          << "start " << start << " period " << period << " cnt " << cnt << " now " << probe;
    }
  }
}

}  // namespace
}  // namespace vm::schedtest

// Monthly and yearly tasks keep the day they are meant for across firings, restarts and a
// catch-up after the computer was off. Expected dates come from a model written here: month by
// month from the wanted day, the day clamped to the month's length.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "firing_fixture.h"

namespace vm::firetest {
namespace {

struct YearMonthDay {
  int year, month, day;
  bool operator==(const YearMonthDay&) const = default;
};

std::ostream& operator<<(std::ostream& os, const YearMonthDay& d) {
  return os << d.year << '-' << d.month << '-' << d.day;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int MonthLength(int y, int m) {
  static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : lengths[m - 1];
}

// The n-th due date after (year, month) of a task meant for `wanted`, `stepMonths` apart.
YearMonthDay Model(int year, int month, int wanted, int stepMonths, int n) {
  int index = year * 12 + (month - 1) + n * stepMonths;
  int y = index / 12, m = index % 12 + 1;
  return {y, m, wanted < MonthLength(y, m) ? wanted : MonthLength(y, m)};
}

YearMonthDay DateOf(DateTime value) {
  auto parts = SplitDateTime(value).value();
  return {parts.date.year, parts.date.month, parts.date.day};
}

class MonthEndsTest : public FiringTest {
 protected:
  // Fires the current task one second after it is due and answers its new due date.
  YearMonthDay FireCurrent() {
    DateTime due = scheduler.CurTask.AlarmTime;
    clock.Set(due + 1.0 / 86400);
    EXPECT_TRUE(runner.Tick());
    EXPECT_EQ(scheduler.CurTask.AlarmCnt, 0u + fired_ + 1) << "the task did not fire at " << DateOf(due);
    ++fired_;
    return DateOf(scheduler.CurTask.AlarmTime);
  }
  // Saves, then starts afresh on the saved file as the next run of the program would.
  void Restart() {
    ASSERT_TRUE(scheduler.SaveList());
    scheduler.TaskList.clear();
    scheduler.LoadList();
  }
  TTask Repeating(std::uint32_t period, int y, int m, int d) {
    TTask task = Task(kStateMessage, period, At(y, m, d, 9, 30));
    task.SoundOn = 0;
    return task;
  }

  int fired_ = 0;
};

TEST_F(MonthEndsTest, MonthlyTasksComeBackToTheirDayAfterShortMonths) {
  for (int wanted : {31, 30, 29}) {
    SCOPED_TRACE(wanted);
    scheduler.TaskList.clear();
    fired_ = 0;
    Load({Repeating(kPeriodMonth, 2027, 1, wanted)});
    // Two and a half years, a restart of the program after every third firing.
    for (int n = 1; n <= 30; ++n) {
      ASSERT_EQ(FireCurrent(), Model(2027, 1, wanted, 1, n)) << "firing " << n;
      if (n % 3 == 0) Restart();
    }
  }
}

TEST_F(MonthEndsTest, YearlyLeapDayTaskReturnsToTheLeapDay) {
  Load({Repeating(kPeriodYear, 2028, 2, 29)});
  for (int n = 1; n <= 9; ++n) {
    ASSERT_EQ(FireCurrent(), Model(2028, 2, 29, 12, n)) << "firing " << n;
    Restart();
  }
  // 2029..2031 on the 28th, 2032 on the 29th, and so on; 2100 is not a leap year.
  EXPECT_EQ(Model(2028, 2, 29, 12, 4), (YearMonthDay{2032, 2, 29}));
}

TEST_F(MonthEndsTest, CatchUpAfterTheComputerWasOffKeepsTheDay) {
  Load({Repeating(kPeriodMonth, 2027, 1, 31)});
  EXPECT_EQ(FireCurrent(), (YearMonthDay{2027, 2, 28}));
  Restart();
  // Off from early February until 10 May: the missed firings are not performed; the task is
  // next due on 31 May.
  clock.Set(At(2027, 5, 10, 12, 0));
  runner.Tick();
  EXPECT_EQ(DateOf(scheduler.CurTask.AlarmTime), (YearMonthDay{2027, 5, 31}));
  Restart();
  EXPECT_EQ(FireCurrent(), (YearMonthDay{2027, 6, 30}));
  EXPECT_EQ(FireCurrent(), (YearMonthDay{2027, 7, 31}));
}

// Byte 39 comes from older files too, where it may hold anything; it is believed only where the
// due time agrees with it.
TEST_F(MonthEndsTest, StoredDayIsBelievedOnlyWhereTheDueTimeAgrees) {
  struct Case {
    std::uint32_t period;
    int y, m, d;
    std::uint8_t stored;
    int wanted;
  };
  const Case cases[] = {
      {kPeriodMonth, 2027, 2, 28, 31, 31},   // clamped in February
      {kPeriodMonth, 2027, 4, 30, 31, 31},   // clamped in April
      {kPeriodMonth, 2027, 4, 30, 30, 30},
      {kPeriodMonth, 2027, 4, 15, 31, 15},   // not the month's last day: not clamped
      {kPeriodMonth, 2027, 4, 30, 29, 30},   // a day before the due day cannot be wanted
      {kPeriodMonth, 2027, 4, 30, 0, 30},
      {kPeriodMonth, 2027, 4, 30, 200, 30},  // no month has it
      {kPeriodYear, 2027, 2, 28, 29, 29},
      {kPeriodYear, 2027, 2, 28, 31, 28},    // never in February
      {kPeriodYear, 2027, 4, 30, 31, 30},    // never in April
      {kPeriodDays, 2027, 2, 28, 31, 28},    // only months and years have a wanted day
  };
  for (const Case& c : cases) {
    TTask task = Repeating(c.period, c.y, c.m, c.d);
    task.DueDay = c.stored;
    EXPECT_EQ(WantedDayOfMonth(task), c.wanted)
        << c.y << '-' << c.m << '-' << c.d << " stored " << int(c.stored);
  }
}

TEST_F(MonthEndsTest, WantedDayLivesInByte39AndAnEditedDateReplacesIt) {
  Load({Repeating(kPeriodMonth, 2027, 1, 31)});
  FireCurrent();
  ASSERT_TRUE(scheduler.SaveList());
  EXPECT_EQ(static_cast<unsigned char>(files.Text(schedtest::kTaskPath)[8 + 39]), 31);

  // The user moves the task to the 15th: that is its day from now on.
  ASSERT_TRUE(scheduler.FindTask(0));
  scheduler.EditBuf = *scheduler.TaskIter;
  scheduler.EditBuf.AlarmTime = At(2027, 3, 15, 9, 30);
  scheduler.ChangeTask(0);
  scheduler.UpdateCurTask();
  EXPECT_EQ(FireCurrent(), (YearMonthDay{2027, 4, 15}));

  // Another change that keeps the date keeps the wanted day.
  scheduler.TaskList.clear();
  fired_ = 0;
  Load({Repeating(kPeriodMonth, 2027, 1, 31)});
  FireCurrent();  // now due 28 February, meant for the 31st
  ASSERT_TRUE(scheduler.FindTask(0));
  scheduler.EditBuf = *scheduler.TaskIter;
  scheduler.EditBuf.Message = "renamed";
  scheduler.ChangeTask(0);
  scheduler.UpdateCurTask();
  EXPECT_EQ(FireCurrent(), (YearMonthDay{2027, 3, 31}));
}

}  // namespace
}  // namespace vm::firetest

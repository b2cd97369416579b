#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "core/date_text.h"
#include "core/date_time.h"
#include "core/language.h"
#include "fakes/platform_fakes.h"

namespace vm {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(DateTime, MonthEndsAndLeapYears) {
  EXPECT_EQ(DaysInMonth(1900, 2), 28);  // divisible by 100, not by 400
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2027, 2), 28);
  EXPECT_EQ(DaysInMonth(2026, 4), 30);
  EXPECT_EQ(DaysInMonth(2026, 12), 31);

  EXPECT_FALSE(EncodeDate(2026, 4, 31));
  EXPECT_FALSE(EncodeDate(2027, 2, 29));
  EXPECT_FALSE(EncodeDate(1900, 2, 29));
  EXPECT_FALSE(EncodeDate(2026, 13, 1));
  EXPECT_FALSE(EncodeDate(2026, 0, 1));
  ASSERT_TRUE(EncodeDate(2024, 2, 29));
  EXPECT_EQ(*EncodeDate(2024, 2, 29) + 1, *EncodeDate(2024, 3, 1));
  EXPECT_EQ(*EncodeDate(2026, 12, 31) + 1, *EncodeDate(2027, 1, 1));
  EXPECT_EQ(*EncodeDate(1899, 12, 30), 0.0);
  EXPECT_FALSE(EncodeDateTime({2026, 12, 7}, {24, 0, 0}));
}

TEST(DateTime, SplitRoundTripsAndNegativeValues) {
  auto eight = EncodeDateTime({2026, 12, 7}, {8, 0, 0});
  ASSERT_TRUE(eight);
  for (double value : {*eight, *eight - 1e-10, *eight + 1e-10}) {
    auto p = SplitDateTime(value);
    ASSERT_TRUE(p);
    EXPECT_EQ(std::make_tuple(p->date.day, p->time.hour, p->time.minute, p->time.second,
                              p->time.millisecond),
              std::make_tuple(7, 8, 0, 0, 0));
  }
  // Just before midnight rounds up into the next day, not to hour 24.
  auto late = SplitDateTime(*EncodeDate(2026, 12, 31) + 1.0 - 1e-10);
  ASSERT_TRUE(late);
  EXPECT_EQ(late->date.year, 2027);
  EXPECT_EQ(late->time.hour, 0);

  auto before = SplitDateTime(-1.25);  // counts days back, the time of day forwards
  ASSERT_TRUE(before);
  EXPECT_EQ(before->date.day, 29);
  EXPECT_EQ(before->time.hour, 6);
  EXPECT_EQ(*EncodeDateTime({1899, 12, 29}, {6, 0, 0}), -1.25);
}

TEST(DateTime, ValuesThatAreNoDate) {
  for (double value : {kNaN, kInf, -kInf, 1e300, -1e300, 2958466.0, -657435.0}) {
    EXPECT_FALSE(IsValidDateTime(value)) << value;
    EXPECT_FALSE(SplitDateTime(value)) << value;
    int weekday = IsoWeekday(value);
    EXPECT_TRUE(weekday >= 1 && weekday <= 7) << value;
  }
  EXPECT_TRUE(IsValidDateTime(*EncodeDate(100, 1, 1)));
  EXPECT_TRUE(IsValidDateTime(*EncodeDateTime({9999, 12, 31}, {23, 59, 59})));
}

TEST(DateTime, WeekdaysAndSecondsBetween) {
  EXPECT_EQ(IsoWeekday(0.0), 6);                          // 1899-12-30, a Saturday
  EXPECT_EQ(IsoWeekday(*EncodeDate(2000, 1, 1)), 6);
  EXPECT_EQ(IsoWeekday(*EncodeDate(2024, 2, 29)), 4);
  EXPECT_EQ(IsoWeekday(*EncodeDateTime({2026, 12, 7}, {23, 59, 59})), 1);
  EXPECT_EQ(IsoWeekday(*EncodeDate(2026, 12, 13)), 7);

  double base = *EncodeDate(2026, 12, 7);
  EXPECT_EQ(SecondsBetween(base + 1.9 / 86400, base), 1);
  EXPECT_EQ(SecondsBetween(base, base + 1.9 / 86400), -1);  // toward zero, not down
  EXPECT_EQ(SecondsBetween(base + 1, base), 86400);
  EXPECT_EQ(SecondsBetween(kNaN, base), 0);
  EXPECT_EQ(SecondsBetween(1e300, 0), INT64_MAX);
  EXPECT_EQ(SecondsBetween(-1e300, 0), INT64_MIN);
}

class DateTextTest : public ::testing::Test {
 protected:
  fakes::MemoryFileSystem files_;
  fakes::ScriptedMessageBoxes boxes_;
  fakes::Latin1Codec codec_;
  Language language_{files_, boxes_, codec_};
  fakes::FakeLocale english_;
  fakes::FakeLocale german_{true};
};

TEST_F(DateTextTest, FormatTaskDate) {
  double march = *EncodeDateTime({2027, 3, 1}, {7, 30, 0});
  EXPECT_EQ(FormatTaskDate(march, true, language_, german_), "1 Mar 2027 07:30:00");
  EXPECT_EQ(FormatTaskDate(march, false, language_, german_), "1 Mar 2027");
  EXPECT_EQ(FormatTaskDate(*EncodeDate(2026, 12, 31), false, language_, english_), "31 Dec 2026");
  EXPECT_EQ(FormatTaskDate(*EncodeDate(100, 10, 5), false, language_, english_), "5 Okt 0100");

  for (double value : {0.0, kNaN, kInf, 1e18, -1e18})
    EXPECT_EQ(FormatTaskDate(value, true, language_, english_), "00/00/00") << value;

  files_.Put("C:\\de.vml", "C.24M\xE4rz\r\n");
  ASSERT_TRUE(language_.LoadLanguageFile("C:\\de.vml"));
  language_.ApplyTableKeys("C.", 22, 33);
  EXPECT_EQ(FormatTaskDate(march, false, language_, german_), "1 M\xC3\xA4rz 2027");
}

TEST_F(DateTextTest, DateTimeTextLeavesOutMidnight) {
  double day = *EncodeDate(2026, 12, 7);
  EXPECT_EQ(DateTimeText(english_, day), "12/7/2026");
  EXPECT_EQ(DateTimeText(english_, day + 1e-12), "12/7/2026");
  EXPECT_EQ(DateTimeText(english_, day + 1.0 / 86400), "12/7/2026 12:00:01 AM");
  EXPECT_EQ(DateTimeText(german_, *EncodeDateTime({2026, 12, 7}, {8, 5, 3})),
            "7.12.2026 08:05:03");
  EXPECT_EQ(DateTimeText(english_, kNaN), "");
}

}  // namespace
}  // namespace vm

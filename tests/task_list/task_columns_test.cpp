// What the task table shows of a task and in which order.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/platform_fakes.h"
#include "ui/task_list/task_columns.h"

namespace vm::testing {
namespace {

// The program's texts as they stand: UTF-8 bytes, so Cyrillic letters have codes above 127.
class Utf8Codec : public TextCodec {
 public:
  std::string AnsiToUtf8(std::string_view ansi) override { return std::string(ansi); }
  std::string Utf8ToAnsi(std::string_view utf8) override { return std::string(utf8); }
};

TTask WithState(std::uint32_t state, std::uint8_t speak = 0) {
  TTask t;
  t.State = state;
  t.SpeakOn = speak;
  return t;
}

TEST(ActionIconCodeTest, DigitsFollowTheFixedOrderAndHibernateYieldsToShutDownAndCloseProgram) {
  EXPECT_EQ(ActionIconCode(WithState(0)), "");
  EXPECT_EQ(ActionIconCode(WithState(kStateMessage | kStateAlarmSound, 1)), "012");
  // Bits given in a shuffled order still come out in the table's order.
  EXPECT_EQ(ActionIconCode(WithState(kStateWakeUp | kStateReboot | kStateCloseProgram | kStateRunProgram)), "3468");
  EXPECT_EQ(ActionIconCode(WithState(kStateHibernate)), "7");
  EXPECT_EQ(ActionIconCode(WithState(kStateHibernate | kStateShutdown)), "5");
  EXPECT_EQ(ActionIconCode(WithState(kStateHibernate | kStateCloseProgram)), "4");
  EXPECT_EQ(ActionIconCode(WithState(kStateLock)), "");  // the lock has no icon
  EXPECT_EQ(IconColumnWidth(0), 21);
  EXPECT_EQ(IconColumnWidth(3), 78);
}

TEST(ProgramColumnTest, StartingWinsOverStoppingAndNeitherLeavesItEmpty) {
  TTask t;
  t.Program = "C:\\Tools\\app.exe";
  t.State = kStateCloseProgram;
  EXPECT_EQ(ProgramColumnText(t), "stop/ C:\\Tools\\app.exe");
  t.State = kStateCloseProgram | kStateRunProgram;
  EXPECT_EQ(ProgramColumnText(t), "start/ C:\\Tools\\app.exe");
  t.State = kStateMessage;
  EXPECT_EQ(ProgramColumnText(t), "");
}

TEST(SignedTextOrderTest, CodesAboveOneHundredTwentySevenComeFirstAndTheEndCountsAsZero) {
  EXPECT_LT(CompareSignedText("B", "a"), 0);
  EXPECT_LT(CompareSignedText("ab", "abc"), 0);
  EXPECT_EQ(CompareSignedText("abc", "abc"), 0);
  EXPECT_EQ(CompareSignedText("", ""), 0);
  EXPECT_LT(CompareSignedText("\xC0", "A"), 0);  // 0xC0 counts as -64
  // A high byte after a common start sorts before the shorter text's end (0).
  EXPECT_LT(CompareSignedText("a\xC0", "a"), 0);
  EXPECT_GT(CompareSignedText("a", "a\xC0"), 0);
}

class DisplayListTest : public ::testing::Test {
 protected:
  void Add(const std::string& message, DateTime when = 46000.0, std::uint32_t id = 0) {
    TTask t;
    t.Message = message;
    t.AlarmTime = when;
    t.TaskId = id ? id : static_cast<std::uint32_t>(tasks.size() + 1);
    tasks.push_back(t);
  }
  std::vector<std::string> Messages() {
    std::vector<std::string> out;
    for (const TTask& t : display) out.push_back(t.Message);
    return out;
  }
  std::vector<std::uint32_t> Ids() {
    std::vector<std::uint32_t> out;
    for (const TTask& t : display) out.push_back(t.TaskId);
    return out;
  }
  std::list<TTask> tasks, display;
  Utf8Codec codec;
};

TEST_F(DisplayListTest, MessagesSortByCodeCyrillicFirstAndEqualOnesKeepTheirListOrder) {
  Add("abc");
  Add("a");
  Add("B");
  Add("ab");
  Add("Привет");
  Add("B");  // the same text as the third: stays behind it
  display.push_back(TTask{});  // left over from before: the list is refilled, not appended to
  FillDisplayList(display, tasks, 2, codec);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Привет", "B", "B", "a", "ab", "abc"}));
  EXPECT_EQ(Ids(), (std::vector<std::uint32_t>{5, 3, 6, 2, 4, 1}));
  // The task list itself keeps its order.
  EXPECT_EQ(tasks.front().Message, "abc");
}

TEST_F(DisplayListTest, EveryColumnSortsByItsOwnKeyAndUnknownColumnsByTheDueTime) {
  Add("late", 46010.0);
  Add("early", 46001.0);
  Add("middle", 46005.0);
  tasks.front().TaskId = 4000000000u;  // above the signed range: unsigned order
  auto it = tasks.begin();
  it->AlarmCnt = 1, it->Active = 2, it->State = 64, it->Period = 3, it->LastAlarm = 3.0, it->SoundFile = "b";
  ++it;
  it->AlarmCnt = 3, it->Active = 0, it->State = 1, it->Period = 6, it->LastAlarm = 1.0, it->SoundFile = "c";
  ++it;
  it->AlarmCnt = 2, it->Active = 1, it->State = 4, it->Period = 0, it->LastAlarm = 2.0, it->SoundFile = "a";
  auto order = [&](int column) {
    FillDisplayList(display, tasks, column, codec);
    return Messages();
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(order(0), (V{"early", "middle", "late"}));   // State 1, 4, 64
  EXPECT_EQ(order(1), (V{"early", "middle", "late"}));
  EXPECT_EQ(order(3), (V{"middle", "late", "early"}));   // Period 0, 3, 6
  EXPECT_EQ(order(5), (V{"middle", "late", "early"}));   // a, b, c
  EXPECT_EQ(order(6), (V{"early", "middle", "late"}));   // LastAlarm 1, 2, 3
  EXPECT_EQ(order(7), (V{"late", "middle", "early"}));   // AlarmCnt 1, 2, 3
  EXPECT_EQ(order(8), (V{"early", "middle", "late"}));   // Active 0, 1, 2
  EXPECT_EQ(order(9), (V{"early", "middle", "late"}));   // ids 2, 3, 4000000000
  EXPECT_EQ(order(42), (V{"early", "middle", "late"}));
  EXPECT_EQ(order(-1), (V{"early", "middle", "late"}));
}

TEST_F(DisplayListTest, ATimeThatIsNoNumberSortsLastWithoutBreakingTheOrder) {
  Add("nan", std::numeric_limits<double>::quiet_NaN());
  Add("second", 46002.0);
  Add("nan too", std::numeric_limits<double>::quiet_NaN());
  Add("first", 46001.0);
  FillDisplayList(display, tasks, 1, codec);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"first", "second", "nan", "nan too"}));
}

}  // namespace
}  // namespace vm::testing

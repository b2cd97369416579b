// What the task table shows of a task and in which order.

#include <gtest/gtest.h>

#include <set>
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
  // Four tasks whose orders differ in every column, from the due time and from the list's own
  // order (D B A C), so a column that sorts by another column's key, or not at all, shows.
  struct Keys {
    const char* name;
    DateTime due;
    std::uint32_t state, period;
    const char* program;
    const char* sound;
    DateTime last;
    std::uint32_t starts;
    std::uint8_t active;
    std::uint32_t id;
  };
  const Keys keys[] = {
      {"delta", 4.0, 4, 1, "a", "d", 1.0, 3, 1, 2},
      {"bravo", 2.0, 1, 3, "c", "c", 4.0, 2, 0, 3},
      {"charlie", 1.0, 2, 2, "d", "a", 2.0, 4, 2, 4000000000u},  // above the signed range
      {"alpha", 3.0, 64, 0, "b", "b", 3.0, 1, 1, 1},
  };
  for (const Keys& k : keys) {
    Add(k.name, 46000.0 + k.due, k.id);
    TTask& t = tasks.back();
    t.State = k.state, t.Period = k.period, t.Program = k.program, t.SoundFile = k.sound;
    t.LastAlarm = 46000.0 + k.last, t.AlarmCnt = k.starts, t.Active = k.active;
  }
  auto order = [&](int column) {
    FillDisplayList(display, tasks, column, codec);
    return Messages();
  };
  using V = std::vector<std::string>;
  const V byDue{"charlie", "bravo", "alpha", "delta"};
  EXPECT_EQ(order(0), (V{"bravo", "charlie", "delta", "alpha"}));  // State 1, 2, 4, 64
  EXPECT_EQ(order(1), byDue);
  EXPECT_EQ(order(2), (V{"alpha", "bravo", "charlie", "delta"}));  // Message
  EXPECT_EQ(order(3), (V{"alpha", "delta", "charlie", "bravo"}));  // Period 0, 1, 2, 3
  EXPECT_EQ(order(4), (V{"delta", "alpha", "bravo", "charlie"}));  // Program a, b, c, d
  EXPECT_EQ(order(5), (V{"charlie", "alpha", "bravo", "delta"}));  // SoundFile a, b, c, d
  EXPECT_EQ(order(6), (V{"delta", "charlie", "alpha", "bravo"}));  // LastAlarm 1, 2, 3, 4
  EXPECT_EQ(order(7), (V{"alpha", "bravo", "delta", "charlie"}));  // AlarmCnt 1, 2, 3, 4
  EXPECT_EQ(order(8), (V{"bravo", "delta", "alpha", "charlie"}));  // Active 0, 1, 1 (list order), 2
  EXPECT_EQ(order(9), (V{"alpha", "delta", "bravo", "charlie"}));  // ids 1, 2, 3, 4000000000
  EXPECT_EQ(order(42), byDue);
  EXPECT_EQ(order(-1), byDue);
  // Each column's order is its own.
  std::set<V> orders;
  for (int column = 0; column <= 9; ++column) orders.insert(order(column));
  EXPECT_EQ(orders.size(), 10u);
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

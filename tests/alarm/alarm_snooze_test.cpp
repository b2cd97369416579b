// Snooze in the alarm window: the button and its length chooser, what a snooze leaves in the task
// list and the file, one row among several or every row, the keys, and no snooze for a shutdown.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "app/main_form_fixture.h"
#include "scheduler/snooze.h"
#include "scheduler/task_runner.h"
#include "ui/alarm/alarm_form.h"
#include "ui/windows.h"

namespace vm::testing {
namespace {

constexpr double kSecond = 1.0 / 86400.0;
constexpr const char* kWav = "C:\\Sounds\\bell.wav";
constexpr const char* kKey = "Software\\Vemtaro";

class AlarmSnoozeTest : public MainFormTest {
 protected:
  AlarmSnoozeTest() {
    services.windows[kAlarmWindow] = AllWindowKinds()[kAlarmWindow];
    mci.Answer("open " + std::string(kWav) + " alias song", 0);
  }

  void SetUp() override {
    std::ifstream in(std::string(VM_SOURCE_DIR) + "/lang/english.vml", std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    files.Put(std::string(kDir) + "english.vml", content.str());
    ASSERT_TRUE(language.LoadLanguageFile(std::string(kDir) + "english.vml"));
  }
  void Start() {
    Create();
    form->Show();
    form->scheduler.TaskList.clear();
    form->scheduler.UpdateCurTask();
  }

  TAlForm* Alarm() { return dynamic_cast<TAlForm*>(form->Slots[kAlarmWindow]); }

  TTask& AddTask(std::uint32_t id, std::uint32_t state, double secondsFromNow = -1) {
    TTask task;
    task.TaskId = id;
    task.State = state;
    task.Active = kScheduled;
    task.AlarmTime = clock.Now() + secondsFromNow * kSecond;
    task.Message = "Task " + std::to_string(id);
    task.SoundOn = 1;
    task.SoundRepeat = 1;
    task.SoundFile = kWav;
    form->scheduler.TaskList.push_back(task);
    form->scheduler.UpdateCurTask();
    return form->scheduler.TaskList.back();
  }
  // Tasks 1 .. n fire one after the other, a second apart, into one window.
  void FireRows(int n) {
    for (int id = 1; id <= n; ++id) AddTask(static_cast<std::uint32_t>(id), kStateMessage, 2 * id - 1);
    Seconds(2 * n);
    ASSERT_NE(Alarm(), nullptr);
    ASSERT_EQ(Alarm()->AlGrid.RowCount(), n + 1);
  }
  void Seconds(int n) {
    for (int i = 0; i < n; ++i) {
      clock.AdvanceSeconds(1);
      backend.AdvanceMs(1000);
    }
  }
  void AltS(bool shift = false) {
    ui::ShiftState keys;
    keys.alt = true;
    keys.shift = shift;
    backend.PressKey(*Alarm(), ui::KeyOf('S'), keys);
    app.ProcessMessages();
  }
  void ClickSnooze(bool shift = false) {
    ui::ShiftState held;
    held.shift = shift;
    backend.HoldModifiers(held);
    backend.ClickControl(Alarm()->SnoozeB);
    backend.HoldModifiers({});
    app.ProcessMessages();
  }
  // The snoozes in the list, by message.
  std::vector<std::string> Snoozes() {
    std::vector<std::string> out;
    for (const TTask& t : form->scheduler.TaskList)
      if (t.Message.ends_with(" (snoozed)")) out.push_back(t.Message);
    return out;
  }
  const TTask* Snooze(const std::string& message) {
    for (const TTask& t : form->scheduler.TaskList)
      if (t.Message == message) return &t;
    return nullptr;
  }
  long long MinutesFromNow(DateTime when) { return std::llround((when - clock.Now()) * 1440.0); }
  int Count(const std::string& command) const {
    const auto commands = mci.Commands();
    return static_cast<int>(std::count(commands.begin(), commands.end(), command));
  }
  int Plays() const { return Count("play song notify"); }
};

TEST_F(AlarmSnoozeTest, SnoozeIsTheLargeTargetAfterTheRowsWithTheFiveLengthsBeside) {
  Start();
  AddTask(7, kStateMessage);
  Seconds(1);
  TAlForm* alarm = Alarm();
  ASSERT_NE(alarm, nullptr);
  EXPECT_TRUE(alarm->SnoozeB.Visible());
  EXPECT_EQ(alarm->SnoozeB.Caption(), "&Snooze");  // Alt+S, underlined
  EXPECT_NE(alarm->SnoozeB.Hint().find("Alt+S"), std::string::npos);
  EXPECT_NE(alarm->SnoozeB.Hint().find("Shift"), std::string::npos);
  EXPECT_GT(alarm->SnoozeB.Width() * alarm->SnoozeB.Height(), 2 * alarm->Stop.Width() * alarm->Stop.Height());
  EXPECT_TRUE(alarm->SnoozeB.GetFont().bold);
  // Inside the window's bottom-right margin, clear of the grid and of the other buttons.
  const ui::Rect button = alarm->SnoozeB.Bounds(), chooser = alarm->SnoozeLength.Bounds();
  EXPECT_LE(button.right, alarm->Bevel1.Left());
  EXPECT_LE(button.bottom, alarm->Bevel1.Top());
  EXPECT_GE(button.top, alarm->AlGrid.Bounds().bottom);
  EXPECT_LE(chooser.right, button.left);
  EXPECT_GE(chooser.left, alarm->Pause.Bounds().right);
  EXPECT_GE(chooser.top, alarm->MessL.Top() + 14);  // below the message number's text

  EXPECT_EQ(alarm->SnoozeLength.Items(), (std::vector<std::string>{"5 min", "10 min", "15 min", "30 min", "60 min"}));
  EXPECT_EQ(alarm->SnoozeLength.Text(), "5 min");
  EXPECT_EQ(ui::NextTabStop(*alarm, &alarm->AlGrid, true), &alarm->SnoozeB);
  EXPECT_EQ(ui::NextTabStop(*alarm, &alarm->SnoozeB, true), &alarm->SnoozeLength);
}

TEST_F(AlarmSnoozeTest, ClickingSnoozeClosesTheWindowAndLeavesAOneTimeTaskInTheFile) {
  Start();
  TTask& daily = AddTask(7, kStateMessage | kStateRunProgram | kStateWakeUp | kStateAlarmSound);
  daily.Period = kPeriodDays;
  daily.SoundRepeat = 3;
  daily.SpeakOn = 1;
  daily.Program = "C:\\Tools\\backup.exe";
  form->scheduler.UpdateCurTask();
  Seconds(2);  // fires and plays
  TAlForm* alarm = Alarm();
  ASSERT_NE(alarm, nullptr);
  ASSERT_EQ(Plays(), 1);

  backend.ChooseItem(alarm->SnoozeLength, 1);  // 10 minutes, remembered at once
  EXPECT_EQ(registry.Dword(kKey, "SnoozeMinutes"), 10u);
  ClickSnooze();

  EXPECT_EQ(Alarm(), nullptr) << "the window goes with its last row";
  EXPECT_EQ(mci.Commands().back(), "close song");
  ASSERT_EQ(Snoozes(), std::vector<std::string>{"Task 7 (snoozed)"});
  const TTask& snooze = *Snooze("Task 7 (snoozed)");
  EXPECT_EQ(MinutesFromNow(snooze.AlarmTime), 10);
  EXPECT_EQ(snooze.Period, kPeriodOnce);
  EXPECT_EQ(snooze.State, kStateMessage | kStateWakeUp | kStateAlarmSound);
  EXPECT_EQ(snooze.SoundRepeat, 3);
  EXPECT_EQ(snooze.SpeakOn, 1);
  EXPECT_NE(snooze.TaskId, 7u);
  // The daily task goes on as it was; the snooze is the next one and the clock names it.
  ASSERT_TRUE(form->scheduler.FindTask(7));
  EXPECT_EQ(form->scheduler.TaskIter->Period, kPeriodDays);
  EXPECT_EQ(form->scheduler.CurTask.TaskId, snooze.TaskId);
  EXPECT_TRUE(form->MemProcL.Caption().starts_with("Message at "));
  EXPECT_TRUE(form->MemProcL.Caption().ends_with(locale.ShortDate(snooze.AlarmTime) + " " +
                                                 locale.LongTime(snooze.AlarmTime)));
  // In the task file as an ordinary record.
  const std::string file = TaskFile();
  EXPECT_EQ(file.size(), 8 + 2 * kTaskRecordSize);
  EXPECT_NE(file.find("Task 7 (snoozed)"), std::string::npos);

  // Ten minutes on it rings in a new window.
  Seconds(10 * 60);
  ASSERT_NE(Alarm(), nullptr);
  EXPECT_EQ(Alarm()->AlGrid.Cell(1, 1), "Task 7 (snoozed)");
  EXPECT_TRUE(Snoozes().empty());
}

TEST_F(AlarmSnoozeTest, AltSSnoozesTheSelectedRowAndShiftSnoozesEveryRow) {
  Start();
  FireRows(3);
  TAlForm* alarm = Alarm();
  EXPECT_EQ(alarm->AlGrid.Row(), 3) << "the newest row, the one ringing, is chosen";
  ASSERT_TRUE(alarm->AlGrid.UserSelect(1, 2));
  const int closesBefore = Count("close song");

  AltS();
  ASSERT_EQ(Alarm(), alarm) << "two rows are left";
  EXPECT_EQ(Snoozes(), std::vector<std::string>{"Task 2 (snoozed)"});
  EXPECT_EQ(alarm->AlGrid.RowCount(), 3);
  EXPECT_EQ(alarm->AlGrid.Cell(1, 1), "Task 1");
  EXPECT_EQ(alarm->AlGrid.Cell(1, 2), "Task 3");
  EXPECT_EQ(alarm->AlGrid.Cell(3, 2), "3");
  EXPECT_EQ(alarm->AlGrid.Cell(1, 3), "");
  EXPECT_EQ(alarm->MessL.Caption(), "Message \u2116 2");
  EXPECT_EQ(alarm->AlGrid.Tag(), 3 + 1) << "the row now selected is task 3's";
  // Task 3's sound was not the snoozed one: it goes on.
  EXPECT_EQ(Count("close song"), closesBefore);

  // A further firing fills the row after the last one left.
  AddTask(4, kStateMessage, 1);
  Seconds(2);
  EXPECT_EQ(alarm->AlGrid.Cell(1, 3), "Task 4");
  EXPECT_EQ(alarm->MessL.Caption(), "Message \u2116 3");

  ClickSnooze(true);
  EXPECT_EQ(Alarm(), nullptr);
  std::vector<std::string> all = Snoozes();
  std::sort(all.begin(), all.end());
  EXPECT_EQ(all, (std::vector<std::string>{"Task 1 (snoozed)", "Task 2 (snoozed)", "Task 3 (snoozed)",
                                           "Task 4 (snoozed)"}));
  EXPECT_EQ(TaskFile().size(), 8 + 4 * kTaskRecordSize);
}

TEST_F(AlarmSnoozeTest, SnoozingTheRingingRowStopsItsSoundForGoodWhileOthersStay) {
  Start();
  FireRows(2);
  TAlForm* alarm = Alarm();
  form->scheduler.TaskList.clear();  // nothing else fires meanwhile
  form->scheduler.UpdateCurTask();
  AltS();  // the newest row, which is ringing
  ASSERT_EQ(Alarm(), alarm);
  EXPECT_EQ(alarm->AlGrid.Cell(1, 1), "Task 1");
  EXPECT_EQ(alarm->AlGrid.RowCount(), 2);
  EXPECT_EQ(alarm->MessL.Caption(), "Message \u2116 1");
  EXPECT_EQ(mci.Commands().back(), "close song");
  const int plays = Plays();
  // The device reports the closed play; nothing plays again.
  backend.SendSystemMessage(*form, {SystemMessageKind::MciNotify, kMciNotifySuccessful, ""});
  Seconds(5);
  EXPECT_EQ(Plays(), plays);
  EXPECT_FALSE(alarm->SignalTimer.Running());
}

TEST_F(AlarmSnoozeTest, AShutdownsWindowOffersNoSnoozeAndEscDoesNotLetItGoAhead) {
  Start();
  AddTask(1, kStateMessage | kStateShutdown);
  bool snoozeShown = true, stillOpenAfterKeys = false;
  backend.OnNextModal([&](ui::Form& window) {
    auto& alarm = dynamic_cast<TAlForm&>(window);
    snoozeShown = alarm.SnoozeB.Visible() || alarm.SnoozeLength.Visible();
    ui::ShiftState alt;
    alt.alt = true;
    backend.PressKey(alarm, ui::KeyOf('S'), alt);
    backend.PressKey(alarm, ui::kKeyEscape);
    stillOpenAfterKeys = alarm.Visible() && alarm.ModalResult() == ui::mrNone;
    backend.Click(alarm.CancelL);
    if (alarm.Visible()) backend.AdvanceMs(1000);
  });
  Seconds(1);
  EXPECT_FALSE(snoozeShown);
  EXPECT_TRUE(stillOpenAfterKeys);
  EXPECT_TRUE(Snoozes().empty());
  EXPECT_EQ(form->Runner->ShutdownConfirm, 2);

  // Any other window closes with Esc, as with its close box, and snoozes nothing.
  AddTask(2, kStateMessage, 1);
  Seconds(3);
  ASSERT_NE(Alarm(), nullptr);
  backend.PressKey(*Alarm(), ui::kKeyEscape);
  app.ProcessMessages();
  EXPECT_EQ(Alarm(), nullptr);
  EXPECT_TRUE(Snoozes().empty());
}

TEST_F(AlarmSnoozeTest, TheLengthIsRememberedAndAStoredLengthNotOfferedIsShownAndUsed) {
  registry.CreateKey(RegRoot::CurrentUser, kKey);
  registry.WriteDword(RegRoot::CurrentUser, kKey, "SnoozeMinutes", 30);
  Start();
  AddTask(1, kStateMessage);
  Seconds(1);
  ASSERT_NE(Alarm(), nullptr);
  EXPECT_EQ(Alarm()->SnoozeLength.Text(), "30 min");
  EXPECT_EQ(Alarm()->SnoozeLength.ItemCount(), 5);
  AltS();
  ASSERT_EQ(Snoozes().size(), 1u);
  EXPECT_EQ(MinutesFromNow(Snooze("Task 1 (snoozed)")->AlarmTime), 30);

  // A length set in the registry only (a quick try): the chooser shows it among the five.
  form->settings.SnoozeMinutes = 1;
  form->scheduler.TaskList.clear();
  AddTask(2, kStateMessage, 1);
  Seconds(2);
  ASSERT_NE(Alarm(), nullptr);
  EXPECT_EQ(Alarm()->SnoozeLength.Items(),
            (std::vector<std::string>{"1 min", "5 min", "10 min", "15 min", "30 min", "60 min"}));
  EXPECT_EQ(Alarm()->SnoozeLength.Text(), "1 min");
  AltS();
  EXPECT_EQ(MinutesFromNow(Snooze("Task 2 (snoozed)")->AlarmTime), 1);
}

TEST_F(AlarmSnoozeTest, CaptionsMarkerAndUnitComeFromTheLanguageFile) {
  UseLanguage("L3.70Later\r\nL3.71Not now\r\nL3.72 [later]\r\nL3.73 m\r\nL3.74How long\r\n");
  Start();
  AddTask(1, kStateMessage);
  Seconds(1);
  TAlForm* alarm = Alarm();
  ASSERT_NE(alarm, nullptr);
  EXPECT_EQ(alarm->SnoozeB.Caption(), "Later");
  EXPECT_EQ(alarm->SnoozeB.Hint(), "Not now");
  EXPECT_EQ(alarm->SnoozeLength.Hint(), "How long");
  EXPECT_EQ(alarm->SnoozeLength.Text(), "5  m");
  AltS();
  ASSERT_EQ(form->scheduler.TaskList.size(), 1u);
  EXPECT_EQ(form->scheduler.TaskList.front().Message, "Task 1 [later]");
}

}  // namespace
}  // namespace vm::testing

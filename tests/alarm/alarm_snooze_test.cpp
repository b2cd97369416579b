// Snooze in the alarm window: what a snooze leaves in the list and the file, the remembered and
// the stored length, one row among several or every row, and no snooze for a shutdown.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "app/main_form_fixture.h"
#include "scheduler/task_runner.h"
#include "ui/alarm/alarm_form.h"
#include "ui/task_list/mem_form.h"
#include "ui/windows.h"

namespace vm::testing {
namespace {

constexpr const char* kSnoozeWav = "C:\\bell.wav";
constexpr const char* kKey = "Software\\Vemtaro";

class AlarmSnoozeTest : public MainFormTest {
 protected:
  AlarmSnoozeTest() {
    services.windows[kAlarmWindow] = AllWindowKinds()[kAlarmWindow];
    mci.Answer("open " + std::string(kSnoozeWav) + " alias song", 0);
    std::ifstream in(std::string(VM_SOURCE_DIR) + "/lang/english.vml", std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    UseLanguage(content.str());
  }
  void Start() {
    Create();
    form->Show();
    form->scheduler.TaskList.clear();
    form->scheduler.UpdateCurTask();
  }
  TAlForm* Alarm() { return dynamic_cast<TAlForm*>(form->Slots[kAlarmWindow]); }
  // Tasks from..to fire a second apart into one window.
  TTask& Fire(std::uint32_t id, std::uint32_t state = kStateMessage) {
    TTask task;
    task.TaskId = id;
    task.State = state;
    task.Active = kScheduled;
    task.AlarmTime = clock.Now() + 0.5 / 86400;
    task.Message = "Task " + std::to_string(id);
    task.SoundFile = kSnoozeWav;
    form->scheduler.TaskList.push_back(task);
    form->scheduler.UpdateCurTask();
    return form->scheduler.TaskList.back();
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
  std::vector<std::string> Messages() {
    std::vector<std::string> out;
    for (const TTask& t : form->scheduler.TaskList) out.push_back(t.Message);
    std::sort(out.begin(), out.end());
    return out;
  }
  long long MinutesAway(const std::string& message) {
    for (const TTask& t : form->scheduler.TaskList)
      if (t.Message == message) return std::llround((t.AlarmTime - clock.Now()) * 1440.0);
    return -1;
  }
  int Count(const std::string& command) const {
    const auto commands = mci.Commands();
    return static_cast<int>(std::count(commands.begin(), commands.end(), command));
  }
};

TEST_F(AlarmSnoozeTest, ClickingSnoozeClosesTheWindowAndSavesTheLaterRingWithTheChosenLength) {
  services.windows[kTaskListWindow] = AllWindowKinds()[kTaskListWindow];
  Start();
  form->CreateForm(kTaskListWindow);
  auto& list = dynamic_cast<TMemForm&>(*form->Slots[kTaskListWindow]);
  Fire(7).Period = kPeriodDays;
  form->scheduler.UpdateCurTask();
  Seconds(1);
  TAlForm* alarm = Alarm();
  ASSERT_NE(alarm, nullptr);
  EXPECT_EQ(alarm->SnoozeB.Caption(), "&Snooze");
  EXPECT_EQ(ui::NextTabStop(*alarm, &alarm->AlGrid, true), &alarm->SnoozeB);
  EXPECT_EQ(alarm->SnoozeLength.Items(), (std::vector<std::string>{"5 min", "10 min", "15 min", "30 min", "60 min"}));
  EXPECT_EQ(alarm->SnoozeLength.Text(), "5 min");

  backend.ChooseItem(alarm->SnoozeLength, 1);
  EXPECT_EQ(registry.Dword(kKey, "SnoozeMinutes"), 10u);
  backend.ClickControl(alarm->SnoozeB);
  app.ProcessMessages();
  EXPECT_EQ(Alarm(), nullptr) << "the window goes with its last row";
  EXPECT_EQ(mci.Commands().back(), "close song");
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Task 7", "Task 7 (snoozed)"}));
  EXPECT_EQ(MinutesAway("Task 7 (snoozed)"), 10);
  EXPECT_NE(form->scheduler.CurTask.TaskId, 7u) << "the snooze is the next task";
  EXPECT_NE(TaskFile().find("Task 7 (snoozed)"), std::string::npos);
  EXPECT_EQ(list.Grid.Cell(2, 1), "Task 7 (snoozed)") << "the open task list shows it at once";
}

TEST_F(AlarmSnoozeTest, AltSSnoozesTheSelectedRowShiftEveryRowAndTheRingingOnesSoundStops) {
  // A length set in the registry only, which the chooser does not offer: shown and used.
  registry.CreateKey(RegRoot::CurrentUser, kKey);
  registry.WriteDword(RegRoot::CurrentUser, kKey, "SnoozeMinutes", 1);
  Start();
  for (std::uint32_t id = 1; id <= 3; ++id) {
    Fire(id).SoundOn = 1;
    Seconds(1);
  }
  TAlForm* alarm = Alarm();
  ASSERT_EQ(alarm->AlGrid.Row(), 3) << "the newest row, the one ringing, is chosen";
  ASSERT_TRUE(alarm->AlGrid.UserSelect(1, 2));
  const int closes = Count("close song");
  AltS();
  ASSERT_EQ(Alarm(), alarm);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Task 2 (snoozed)"});
  EXPECT_EQ(alarm->SnoozeLength.ItemCount(), 6);
  EXPECT_EQ(alarm->SnoozeLength.Text(), "1 min");
  EXPECT_EQ(MinutesAway("Task 2 (snoozed)"), 1);
  EXPECT_EQ(alarm->AlGrid.RowCount(), 3);
  EXPECT_EQ(alarm->AlGrid.Cell(1, 2), "Task 3");
  EXPECT_EQ(alarm->AlGrid.Tag(), 3 + 1) << "the row selected now is task 3's";
  EXPECT_EQ(alarm->MessL.Caption(), "Message \u2116 2");
  EXPECT_EQ(Count("close song"), closes) << "task 3 rings on";

  AltS();  // task 3, the ringing row: its sound stops for good
  EXPECT_EQ(alarm->AlGrid.Cell(1, 1), "Task 1");
  EXPECT_EQ(Count("close song"), closes + 1);
  backend.SendSystemMessage(*form, {SystemMessageKind::MciNotify, kMciNotifySuccessful, ""});
  Seconds(3);
  EXPECT_FALSE(alarm->SignalTimer.Running());

  Fire(4);
  Seconds(1);
  EXPECT_EQ(alarm->AlGrid.Cell(1, 2), "Task 4") << "a new row follows the last one left";
  ui::ShiftState shift;
  shift.shift = true;
  backend.HoldModifiers(shift);
  backend.ClickControl(alarm->SnoozeB);
  app.ProcessMessages();
  EXPECT_EQ(Alarm(), nullptr);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Task 1 (snoozed)", "Task 2 (snoozed)", "Task 3 (snoozed)",
                                                  "Task 4 (snoozed)"}));
}

TEST_F(AlarmSnoozeTest, AShutdownsWarningHasNoSnoozeAndEscDoesNotLetItGoAhead) {
  Start();
  Fire(1, kStateMessage | kStateShutdown);
  bool offered = true, open = false;
  backend.OnNextModal([&](ui::Form& window) {
    auto& alarm = dynamic_cast<TAlForm&>(window);
    offered = alarm.SnoozeB.Visible() || alarm.SnoozeLength.Visible();
    AltS();
    backend.PressKey(alarm, ui::kKeyEscape);
    open = alarm.Visible() && alarm.ModalResult() == ui::mrNone;
    backend.Click(alarm.CancelL);
    if (alarm.Visible()) backend.AdvanceMs(1000);
  });
  Seconds(1);
  EXPECT_FALSE(offered);
  EXPECT_TRUE(open);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(form->Runner->ShutdownConfirm, 2);
  // Any other alarm window closes with Esc, snoozing nothing.
  Fire(2);
  Seconds(1);
  backend.PressKey(*Alarm(), ui::kKeyEscape);
  app.ProcessMessages();
  EXPECT_EQ(Alarm(), nullptr);
  EXPECT_TRUE(Messages().empty());
}

}  // namespace
}  // namespace vm::testing

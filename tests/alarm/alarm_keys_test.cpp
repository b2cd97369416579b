// The alarm window with the keyboard alone and with a screen reader: the first focus on Stop,
// Space stopping the sound, the tab order, Esc as the close box, the Cancel link by keyboard,
// and the names of the sound buttons.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_form_fixture.h"
#include "scheduler/task_runner.h"
#include "theme/dgroup_buts.h"
#include "ui/alarm/alarm_form.h"
#include "ui/windows.h"

namespace vm::testing {
namespace {

constexpr double kSecond = 1.0 / 86400.0;
constexpr const char* kWav = "C:\\Sounds\\bell.wav";

class AlarmKeysTest : public MainFormTest {
 protected:
  AlarmKeysTest() {
    services.windows[kAlarmWindow] = AllWindowKinds()[kAlarmWindow];
    mci.Answer("open " + std::string(kWav) + " alias song", 0);
  }
  void SetUp() override {
    std::ifstream in(std::string(VM_SOURCE_DIR) + "/lang/english.vml", std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    files.Put(std::string(kDir) + "english.vml", content.str());
    ASSERT_TRUE(language.LoadLanguageFile(std::string(kDir) + "english.vml"));
    Create();
    form->Show();
    form->scheduler.TaskList.clear();
    form->scheduler.UpdateCurTask();
  }
  TAlForm* Alarm() { return dynamic_cast<TAlForm*>(form->Slots[kAlarmWindow]); }
  void AddTask(std::uint32_t state, std::uint8_t soundOn = 1) {
    TTask task;
    task.TaskId = 1;
    task.State = state;
    task.Active = kScheduled;
    task.AlarmTime = clock.Now() - kSecond;
    task.Message = "Wake up";
    task.SoundOn = soundOn;
    task.SoundRepeat = 0;
    task.SoundFile = kWav;
    form->scheduler.TaskList.push_back(task);
    form->scheduler.UpdateCurTask();
  }
  void Seconds(int n) {
    for (int i = 0; i < n; ++i) {
      clock.AdvanceSeconds(1);
      backend.AdvanceMs(1000);
    }
  }
  std::vector<std::string> TabWalk(TAlForm& alarm) {
    std::vector<std::string> names;
    ui::WindowedControl* first = ui::NextTabStop(alarm, nullptr, true);
    for (ui::WindowedControl* w = first; w;) {
      auto* proxy = dynamic_cast<ui::FocusProxy*>(w);
      names.push_back(proxy && proxy->Target() ? proxy->Target()->Name() : w->Name());
      w = ui::NextTabStop(alarm, w, true);
      if (w == first) break;
    }
    return names;
  }
};

TEST_F(AlarmKeysTest, AFiringAlarmHasTheFocusOnStopAndSpaceStopsTheSound) {
  AddTask(kStateMessage | kStateAlarmSound);
  Seconds(2);  // shown, then the sound starts
  TAlForm* alarm = Alarm();
  ASSERT_NE(alarm, nullptr);
  ASSERT_EQ(alarm->Resume.Tag(), 1);
  EXPECT_EQ(ui::AccessFocus(*alarm), ui::AccessNode{&alarm->Stop});
  backend.PressKey(*alarm, ui::kKeySpace);
  EXPECT_EQ(mci.Commands().back(), "close song");
  EXPECT_EQ(alarm->Resume.Tag(), 0);  // StopClick ran
  EXPECT_EQ(alarm, Alarm());          // the window stays
}

TEST_F(AlarmKeysTest, WithoutSoundTheTableHasTheFocusAndTabSkipsTheHiddenButtons) {
  AddTask(kStateMessage, 0);
  Seconds(1);
  TAlForm* alarm = Alarm();
  ASSERT_NE(alarm, nullptr);
  EXPECT_EQ(alarm->ActiveControl(), &alarm->AlGrid);
  EXPECT_EQ(TabWalk(*alarm), (std::vector<std::string>{"AlGrid"}));
}

TEST_F(AlarmKeysTest, TabGoesTopToBottomAndEscClosesTheWindowAsItsCloseBox) {
  AddTask(kStateMessage | kStateAlarmSound);
  Seconds(1);
  TAlForm* alarm = Alarm();
  ASSERT_NE(alarm, nullptr);
  EXPECT_EQ(TabWalk(*alarm), (std::vector<std::string>{"AlGrid", "Stop", "Resume", "Pause"}));
  backend.PressKey(*alarm, ui::kKeyEscape);
  EXPECT_EQ(Alarm(), nullptr);
  EXPECT_EQ(mci.Commands().back(), "close song");
  EXPECT_FALSE(backend.TaskbarButtonVisible());
}

TEST_F(AlarmKeysTest, AShutdownsCancelLinkIsFirstInTheTabOrderAndEnterCancels) {
  AddTask(kStateMessage | kStateShutdown, 0);
  std::vector<std::string> order;
  backend.OnNextModal([&](ui::Form& window) {
    auto& alarm = dynamic_cast<TAlForm&>(window);
    order = TabWalk(alarm);
    alarm.CancelLFocus.SetFocus();
    backend.PressKey(alarm, ui::kKeyEnter);
    if (alarm.Visible()) backend.AdvanceMs(1000);
  });
  Seconds(1);
  EXPECT_EQ(order, (std::vector<std::string>{"CancelL", "AlGrid"}));
  EXPECT_EQ(form->Runner->ShutdownConfirm, 2);
  EXPECT_EQ(Alarm(), nullptr);
}

TEST_F(AlarmKeysTest, ReadersFindTheSoundButtonsByNameAndPlayAsPressedWhilePlaying) {
  UseLanguage("L3.80Aus\r\nL3.82Anhalten\r\n");
  AddTask(kStateMessage | kStateAlarmSound);
  Seconds(2);
  TAlForm* alarm = Alarm();
  ASSERT_NE(alarm, nullptr);
  EXPECT_EQ(ui::Describe({&alarm->Stop}).name, "Aus");
  EXPECT_EQ(ui::Describe({&alarm->Resume}).name, "Play");  // the file lacks the key: the default
  EXPECT_EQ(ui::Describe({&alarm->Pause}).name, "Anhalten");
  for (ui::Image* b : {&alarm->Stop, &alarm->Resume, &alarm->Pause})
    EXPECT_EQ(ui::Describe({b}).role, ui::AccessRole::PushButton);
  EXPECT_TRUE(ui::Describe({&alarm->Resume}).states.pressed);
  EXPECT_FALSE(ui::Describe({&alarm->Pause}).states.pressed);
  EXPECT_EQ(ui::Describe({&alarm->AlGrid, 1, 1}).name, "Wake up");
}

}  // namespace
}  // namespace vm::testing

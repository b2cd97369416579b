// The alarm window with the keyboard alone and with a screen reader: the first focus on Stop,
// Space stopping the sound, the tab order, Esc as the close box, the Cancel link by keyboard,
// and the names of the sound buttons.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_form_fixture.h"
#include "scheduler/task_runner.h"
#include "support/tab_walk.h"
#include "ui/alarm/alarm_form.h"
#include "ui/windows.h"

namespace vm::testing {
namespace {

using Names = std::vector<std::string>;
constexpr const char* kKeysWav = "C:\\Sounds\\bell.wav";

class AlarmKeysTest : public MainFormTest {
 protected:
  AlarmKeysTest() {
    services.windows[kAlarmWindow] = AllWindowKinds()[kAlarmWindow];
    mci.Answer("open " + std::string(kKeysWav) + " alias song", 0);
  }
  // A task firing now; its window after `seconds` ticks (the sound starts in the second), if open.
  TAlForm* Fire(std::uint32_t state, std::uint8_t soundOn, int seconds) {
    Create();
    form->Show();
    TTask task;
    task.TaskId = 1;
    task.State = state;
    task.Active = kScheduled;
    task.AlarmTime = clock.Now() - 1.0 / 86400.0;
    task.Message = "Wake up";
    task.SoundOn = soundOn;
    task.SoundFile = kKeysWav;
    form->scheduler.TaskList = {task};
    form->scheduler.UpdateCurTask();
    for (int i = 0; i < seconds; ++i) {
      clock.AdvanceSeconds(1);
      backend.AdvanceMs(1000);
    }
    return dynamic_cast<TAlForm*>(form->Slots[kAlarmWindow]);
  }
};

TEST_F(AlarmKeysTest, TheFocusStartsOnStopSpaceStopsTheSoundAndEscClosesAsTheCloseBox) {
  TAlForm* window = Fire(kStateMessage | kStateAlarmSound, 1, 2);
  ASSERT_NE(window, nullptr);
  TAlForm& alarm = *window;
  ASSERT_EQ(alarm.Resume.Tag(), 1);  // playing
  EXPECT_EQ(ui::AccessFocus(alarm), ui::AccessNode{&alarm.Stop});
  EXPECT_EQ(TabWalk(alarm), (Names{"AlGrid", "SnoozeB", "SnoozeLength", "Stop", "Resume", "Pause"}));
  backend.PressKey(alarm, ui::kKeySpace);
  EXPECT_EQ(mci.Commands().back(), "close song");
  EXPECT_EQ(alarm.Resume.Tag(), 0);  // StopClick ran; the window stays
  ASSERT_EQ(form->Slots[kAlarmWindow], &alarm);
  backend.PressKey(alarm, ui::kKeyEscape);
  EXPECT_EQ(form->Slots[kAlarmWindow], nullptr);
  EXPECT_FALSE(backend.TaskbarButtonVisible());
}

TEST_F(AlarmKeysTest, WithoutSoundTheTableHasTheFocusAndTheHiddenButtonsAreNoStops) {
  TAlForm* alarm = Fire(kStateMessage, 0, 1);
  ASSERT_NE(alarm, nullptr);
  EXPECT_EQ(alarm->ActiveControl(), &alarm->AlGrid);
  EXPECT_EQ(TabWalk(*alarm), (Names{"AlGrid", "SnoozeB", "SnoozeLength"}));
}

TEST_F(AlarmKeysTest, AShutdownsCancelLinkComesFirstAndEnterCancels) {
  Names order;
  backend.OnNextModal([&](ui::Form& window) {
    auto& alarm = dynamic_cast<TAlForm&>(window);
    order = TabWalk(alarm);
    alarm.CancelLFocus.SetFocus();
    backend.PressKey(alarm, ui::kKeyEnter);
    if (alarm.Visible()) backend.AdvanceMs(1000);
  });
  EXPECT_EQ(Fire(kStateMessage | kStateShutdown, 0, 1), nullptr);  // gone after its modal show
  EXPECT_EQ(order, (Names{"CancelL", "AlGrid"}));
  EXPECT_EQ(form->Runner->ShutdownConfirm, 2);
}

TEST_F(AlarmKeysTest, ReadersFindTheSoundButtonsByTheirLanguageNamesAndPlayPressedWhilePlaying) {
  UseLanguage("L3.80Aus\r\nL3.82Anhalten\r\n");
  TAlForm* window = Fire(kStateMessage | kStateAlarmSound, 1, 2);
  ASSERT_NE(window, nullptr);
  TAlForm& alarm = *window;
  EXPECT_EQ(ui::Describe({&alarm.Stop}).name, "Aus");
  EXPECT_EQ(ui::Describe({&alarm.Resume}).name, "Play");  // the file lacks the key: the default
  EXPECT_EQ(ui::Describe({&alarm.Pause}).name, "Anhalten");
  for (ui::Image* b : {&alarm.Stop, &alarm.Resume, &alarm.Pause})
    EXPECT_EQ(ui::Describe({b}).role, ui::AccessRole::PushButton);
  EXPECT_TRUE(ui::Describe({&alarm.Resume}).states.pressed);
  EXPECT_FALSE(ui::Describe({&alarm.Pause}).states.pressed);
  EXPECT_EQ(ui::Describe({&alarm.AlGrid, 1, 1}).name, "Wake up");
}

}  // namespace
}  // namespace vm::testing

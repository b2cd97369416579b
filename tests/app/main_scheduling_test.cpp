// The clock's scheduling wiring: the end of the session, failing saves, the sound's notice
// window and the wake timer following the task list.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "main_form_fixture.h"
#include "scheduler/sound.h"
#include "scheduler/task.h"

namespace vm::testing {
namespace {

DateTime Day(int y, int m, int d, int h = 0) { return EncodeDateTime({y, m, d}, {h, 0, 0, 0}).value(); }

bool AnyCall(const fakes::CallLog& calls, const std::string& prefix) {
  return std::any_of(calls.begin(), calls.end(),
                     [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
}

TEST_F(MainFormTest, EndOfTheSessionKeepsTasksAndPositionLikeClosing) {
  TForm1& clock = Create();
  TTask task;
  clock.scheduler.InitTask(task);
  task.Message = "kept at logoff";
  task.TaskId = clock.scheduler.NewTaskId();
  clock.scheduler.TaskList.push_back(task);
  clock.SetBounds(321, 123, clock.Width(), clock.Height());

  clock.MainWindowProc(clock, {SystemMessageKind::EndSession, 0, ""});  // the session goes on
  EXPECT_EQ(TaskFile().find("kept at logoff"), std::string::npos);
  clock.MainWindowProc(clock, {SystemMessageKind::EndSession, 1, ""});
  EXPECT_NE(TaskFile().find("kept at logoff"), std::string::npos);
  EXPECT_EQ(registry.Dword("Software\\Vemtaro", "Left"), 321u);
  EXPECT_EQ(registry.Dword("Software\\Vemtaro", "Top"), 123u);
}

TEST_F(MainFormTest, ReadOnlyFolderIsToldOnceAndAgainWhenClosingWithUnsavedChanges) {
  files.MakeReadOnlyFolder(kDir);
  TForm1& clock = Create();
  EXPECT_TRUE(boxes.shown.empty());  // nothing of the user's at stake yet
  TTask task;
  clock.scheduler.InitTask(task);
  task.TaskId = clock.scheduler.NewTaskId();
  clock.scheduler.TaskList.push_back(task);
  clock.scheduler.SaveList();
  clock.scheduler.SaveList();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_NE(boxes.shown[0].text.find(std::string(kDir) + "tasks.sft"), std::string::npos);
  EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Warning);

  clock.Close();
  app.ProcessMessages();
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_NE(boxes.shown[1].text.find("lost"), std::string::npos);
}

TEST_F(MainFormTest, SoundReportsTheEndOfAPlayToTheClockWindow) {
  TForm1& clock = Create();
  ASSERT_TRUE(clock.Sound);
  clock.Sound->PlaySong();
  ASSERT_FALSE(mci.sent.empty());
  EXPECT_EQ(mci.sent.back().command, "play song notify");
  EXPECT_NE(mci.sent.back().notifyWindow, 0u);
  EXPECT_EQ(mci.sent.back().notifyWindow, clock.Handle());
}

// A deleted, edited or deactivated wake task does not keep waking the computer.
TEST_F(MainFormTest, WakeTimerFollowsEveryChangeOfTheList) {
  TForm1& clock = Create();
  TTask wake;
  clock.scheduler.InitTask(wake);
  wake.State = kStateMessage | kStateWakeUp;
  wake.Active = kScheduled;
  wake.AlarmTime = Day(2026, 12, 8, 7);
  wake.TaskId = clock.scheduler.NewTaskId();
  clock.scheduler.TaskList.push_back(wake);
  calls.clear();
  clock.scheduler.UpdateCurTask();  // what the editor does after adding
  EXPECT_TRUE(AnyCall(calls, "timer.set"));

  calls.clear();
  clock.scheduler.RemoveTask(wake.TaskId);  // what the task list does when deleting
  clock.scheduler.UpdateCurTask();
  EXPECT_TRUE(AnyCall(calls, "timer.cancel"));
  EXPECT_TRUE(actions.wakeTimers.open.empty());
}

}  // namespace
}  // namespace vm::testing

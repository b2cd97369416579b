// Loading EditBuf into the editor, the close question, and what is stored on closing.

#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace vm::testing {
namespace {

using Load = EditorTest;

TEST_F(Load, EveryFieldIsStoredBackAsLoadedAfterAChange) {
  TTask task = TaskAt(4, 2027, 3, 17, 8, 5);
  task.State = kStateMessage | kStateCloseProgram | kStateReboot | kStateAlarmSound | kStateLock |
               kStateHibernate | kStateWakeUp;
  task.Program = "C:\\tools\\app.exe";
  task.Period = kPeriodHours;
  task.Cnt = 12;
  task.WeekDays = 0b1010101;
  task.SoundRepeat = 7;
  task.ShowPassed = 1;
  task.LastAlarm = 46000;
  task.AlarmCnt = 9;
  TForm2& editor = OpenOn(task);

  EXPECT_TRUE(editor.MessageCheck.Checked());
  EXPECT_TRUE(editor.ProgramCheck.Checked());
  EXPECT_FALSE(editor.CompCheck.Checked());
  EXPECT_TRUE(editor.HiberCheck.Checked() && editor.HiberCheck.Enabled());
  EXPECT_EQ(editor.AlarmMessage.Text(), "Stored message");
  EXPECT_EQ(editor.RepeatL.Caption(), "7");
  EXPECT_EQ(editor.RepCntL.Text(), "12");
  EXPECT_EQ(editor.HourL.Caption(), "8");
  EXPECT_EQ(editor.MinL.Caption(), "05");
  EXPECT_EQ(editor.YearL.Caption(), "2027");
  EXPECT_EQ(editor.Calendar.ShownMonth, 3);
  EXPECT_EQ(editor.Calendar.SelectedDay, 17);
  EXPECT_EQ(editor.ModifiedCounter, 0);

  backend.ClickControl(editor.PassedCh);  // one change, then back
  backend.ClickControl(editor.PassedCh);
  CloseEditor();

  TTask expected = task;
  expected.LastAlarm = 0;
  expected.AlarmCnt = 0;
  expected.SoundOn = 1;
  const TTask* stored = Stored(4);
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(*stored, expected);
}

TEST_F(Load, NothingIsStoredWithoutAChangeOrWithNo) {
  TForm2& editor = OpenNew();
  CloseEditor();
  EXPECT_TRUE(form->scheduler.TaskList.empty());
  EXPECT_TRUE(boxes.shown.empty());  // no question without a change

  editor.SetNewTaskMode(true);
  editor.Show();
  backend.ClickControl(editor.PassedCh);
  boxes.answers.push_back(MsgResult::No);
  CloseEditor();
  EXPECT_TRUE(form->scheduler.TaskList.empty());
  EXPECT_FALSE(editor.Visible());
}

TEST_F(Load, TheCloseQuestionIsAskedOnceAndCancelKeepsTheWindowOpen) {
  TForm2& editor = OpenOn(TaskAt(1, 2027, 1, 10, 9, 0));
  backend.ClickControl(editor.ActiveCh);
  boxes.answers.push_back(MsgResult::Cancel);
  CloseEditor();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "               Save setting?");
  EXPECT_EQ(boxes.shown[0].caption, "Saving");
  EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Question);
  EXPECT_TRUE(editor.Visible());
  EXPECT_EQ(Stored(1)->Active, kScheduled);  // nothing stored yet

  CloseEditor();  // Yes by default
  EXPECT_EQ(Stored(1)->Active, kInactive);
}

TEST_F(Load, ANewTaskGetsTheNextIdAndTheNextWholeMinute) {
  clock.Set(*EncodeDateTime({2026, 12, 7}, {12, 0, 42}));
  form->scheduler.TaskList.push_back(TaskAt(5, 2027, 1, 1, 0, 0));
  TForm2& editor = OpenNew();
  EXPECT_EQ(editor.HourL.Caption(), "12");
  EXPECT_EQ(editor.MinL.Caption(), "01");
  EXPECT_TRUE(editor.ActiveCh.Checked());
  for (ui::CheckBox* day : editor.DayBoxes) EXPECT_TRUE(day->Checked());
  backend.ClickControl(editor.PassedCh);
  CloseEditor();
  ASSERT_EQ(form->scheduler.TaskList.size(), 2u);
  const TTask& added = form->scheduler.TaskList.back();
  EXPECT_EQ(added.TaskId, 6u);
  EXPECT_EQ(added.Active, kScheduled);
  EXPECT_DOUBLE_EQ(added.AlarmTime, *EncodeDateTime({2026, 12, 7}, {12, 1}));
  EXPECT_GT(added.AlarmTime, clock.Now());
  EXPECT_FALSE(editor.NewTaskMode());

  // The first task of an empty list gets id 1; a new task at 23:59:30 the next day's 00:00.
  form->scheduler.TaskList.clear();
  clock.Set(*EncodeDateTime({2026, 12, 31}, {23, 59, 30}));
  editor.SetNewTaskMode(true);
  editor.Show();
  EXPECT_EQ(editor.YearL.Caption(), "2027");
  backend.ClickControl(editor.PassedCh);
  CloseEditor();
  ASSERT_EQ(form->scheduler.TaskList.size(), 1u);
  EXPECT_EQ(form->scheduler.TaskList.front().TaskId, 1u);
  EXPECT_DOUBLE_EQ(form->scheduler.TaskList.front().AlarmTime, *EncodeDate(2027, 1, 1));
}

TEST_F(Load, ShutdownDisablesWakeAndHibernateAndTheirBitsAreNotSaved) {
  TTask task = TaskAt(2, 2027, 2, 2, 22, 30);
  task.State = kStateShutdown | kStateHibernate | kStateWakeUp | kStateMessage;
  TForm2& editor = OpenOn(task);
  EXPECT_EQ(editor.AlarmMessage.Text(), "Stored message");  // not the shutdown text
  EXPECT_FALSE(editor.HiberCheck.Enabled());
  EXPECT_FALSE(editor.WakeupCh.Enabled());
  backend.ClickControl(editor.RebootCheck);
  CloseEditor();
  EXPECT_EQ(Stored(2)->State, kStateShutdown | kStateReboot | kStateMessage);
}

TEST_F(Load, EventTasksAreSavedWithoutTimeAndImmediatelyRoundTrips) {
  TForm2& editor = OpenOn(TaskAt(3, 2027, 5, 5, 5, 5));
  EXPECT_FALSE(editor.ImmedCB.Enabled());
  backend.ChooseTab(editor.Page1, editor.Tab3.PageIndex());
  backend.ClickControl(editor.LockS_CB);
  backend.ClickControl(editor.SSaverOff_CB);
  EXPECT_TRUE(editor.ImmedCB.Enabled());
  backend.ClickControl(editor.SSaverOff_CB);  // one of two unchecked: still enabled
  EXPECT_TRUE(editor.ImmedCB.Enabled());
  backend.ClickControl(editor.ActiveCh);  // unchecked: an event task waits anyway
  backend.ChooseTab(editor.Page1, editor.Tab1.PageIndex());
  backend.ClickControl(editor.ImmedCB);
  EXPECT_FALSE(editor.Grid.Enabled());
  EXPECT_FALSE(editor.HourUpDown.Enabled());
  CloseEditor();
  const TTask* stored = Stored(3);
  EXPECT_EQ(stored->AlarmTime, 0.0);
  EXPECT_EQ(stored->Active, kWaitingForEvent);
  EXPECT_EQ(stored->Event, kEventSessionLock);
  EXPECT_EQ(stored->Period, kPeriodMinutes);
  EXPECT_EQ(stored->Cnt, 0u);

  form->EditTask(3);  // reopens a fresh editor; the modal loop is cancelled by the backend
  ASSERT_EQ(form->scheduler.TaskList.size(), 1u);
  TTask again = *Stored(3);
  TForm2& reopened = OpenOn(again);
  EXPECT_TRUE(reopened.ImmedCB.Checked());
  EXPECT_TRUE(reopened.ImmedCB.Enabled());
  EXPECT_FALSE(reopened.Grid.Enabled());
  EXPECT_FALSE(reopened.MonL.Enabled());
  EXPECT_EQ(reopened.RepCntL.Text(), "1");
  EXPECT_TRUE(reopened.LockS_CB.Checked());
}

TEST_F(Load, CountsAreKeptForMinutesHoursDaysOnlyAndReadBackWhole) {
  TTask task = TaskAt(7, 2027, 6, 1, 6, 0);
  task.Period = kPeriodDays;
  task.Cnt = 366;
  TForm2& editor = OpenOn(task);
  EXPECT_EQ(editor.RepCntL.Text(), "366");
  EXPECT_TRUE(editor.RepCntL.Visible());
  ClickPeriod(editor, editor.WeekL);
  EXPECT_FALSE(editor.RepCntL.Visible());
  CloseEditor();
  EXPECT_EQ(Stored(7)->Period, kPeriodWeek);
  EXPECT_EQ(Stored(7)->Cnt, 0u);

  TTask again = *Stored(7);
  form->scheduler.TaskList.clear();
  form->DeleteFormA(kTaskEditorWindow);
  again.Period = kPeriodDays;
  again.Cnt = 366;
  TForm2& second = OpenOn(again);
  ClickPeriod(second, second.MinintL);
  backend.Spin(second.TaskUpDown, ui::UpDownDirection::Down);
  EXPECT_EQ(second.RepCntL.Text(), "365");
  CloseEditor();
  EXPECT_EQ(Stored(7)->Period, kPeriodMinutes);
  EXPECT_EQ(Stored(7)->Cnt, 365u);
}

TEST_F(Load, APeriodOutsideTheKindsIsShownAsOnceAndSavedAsOnce) {
  TTask task = TaskAt(8, 2027, 6, 1, 6, 0);
  task.Period = 9;
  TForm2& editor = OpenOn(task);
  EXPECT_EQ(editor.MarkedPeriod(), 0);
  backend.ClickControl(editor.PassedCh);
  CloseEditor();
  EXPECT_EQ(Stored(8)->Period, kPeriodOnce);
}

TEST_F(Load, TheSummaryLineNamesDaysDateAndPeriod) {
  TTask task = TaskAt(9, 2027, 3, 1, 7, 30);
  task.WeekDays = 0b0000101;  // Monday and Wednesday
  task.Period = kPeriodWeek;
  TForm2& editor = OpenOn(task);
  const std::string summary = editor.InfoL.Caption();
  EXPECT_EQ(summary.rfind("Mn,We,   ", 0), 0u) << summary;
  EXPECT_NE(summary.find(form->FormatTaskDate(*EncodeDateTime({2027, 3, 1}, {7, 30}), true)), std::string::npos)
      << summary;
  EXPECT_NE(summary.find(form->scheduler.PeriodText(kPeriodWeek, 1)), std::string::npos) << summary;

  backend.ChooseTab(editor.Page1, editor.Tab3.PageIndex());
  backend.ClickControl(editor.PwrOn_CB);
  EXPECT_NE(editor.InfoL.Caption().find(form->scheduler.EventText(kEventPowerOn)), std::string::npos);
}

TEST_F(Load, TheMessageNeverHoldsMoreThanTheRecordKeeps) {
  TForm2& editor = OpenOn(TaskAt(10, 2027, 1, 1, 1, 1));
  backend.TypeText(editor.AlarmMessage, std::string(300, 'x'));
  EXPECT_EQ(editor.AlarmMessage.Text().size(), 247u);
  EXPECT_GT(editor.ModifiedCounter, 0);
  CloseEditor();
  EXPECT_EQ(Stored(10)->Message, editor.AlarmMessage.Text());
}

TEST_F(Load, EditTaskOfAnUnknownIdOpensNothingAndTheClockMenuAddsANewTask) {
  form->EditTask(42);
  EXPECT_EQ(form->Slots[kTaskEditorWindow], nullptr);

  // The clock's "New Task" item without a task list: the editor on a new task, saved on Yes.
  backend.OnNextModal([&](ui::Form& window) {
    auto& editor = static_cast<TForm2&>(window);
    EXPECT_TRUE(editor.NewTaskMode());
    backend.ClickControl(editor.PassedCh);
    window.Close();
  });
  form->mTaskAdd.OnClick(form->mTaskAdd);
  ASSERT_EQ(form->scheduler.TaskList.size(), 1u);
  EXPECT_EQ(form->scheduler.TaskList.front().TaskId, 1u);
  EXPECT_NE(TaskFile().size(), 8u);  // the file holds the new record
  EXPECT_EQ(TaskFile().size(), 8u + kTaskRecordSize);
}

}  // namespace
}  // namespace vm::testing

namespace vm::testing {
namespace {

TEST_F(EditorTest, TheShownEditorTakesTheFocusOnceItIsOnScreen) {
  TForm2& editor = OpenNew();
  const int before = backend.State(editor)->activations;
  backend.AdvanceMs(50);
  EXPECT_EQ(backend.State(editor)->activations, before + 1);
  backend.AdvanceMs(200);  // once only
  EXPECT_EQ(backend.State(editor)->activations, before + 1);
}

}  // namespace
}  // namespace vm::testing

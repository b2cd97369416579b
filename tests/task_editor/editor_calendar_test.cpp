// The editor's calendar and time group: navigation, drop-downs, the drawn cells, the wrapping
// up-downs and the due date saved from them.

#include <gtest/gtest.h>

#include "editor_fixture.h"
#include "ui/toolkit/headless/recording_canvas.h"

namespace vm::testing {
namespace {

using Calendar = EditorTest;

TEST_F(Calendar, TheArrowsCrossTheYearEndAndEachCountsAsAChange) {
  TForm2& editor = OpenOn(TaskAt(1, 2007, 1, 15, 10, 0));
  EXPECT_EQ(editor.MonL.Caption(), "Jan");
  backend.ClickControl(editor.Button3);  // "<"
  EXPECT_EQ(editor.Calendar.ShownMonth, 12);
  EXPECT_EQ(editor.Calendar.ShownYear, 2006);
  EXPECT_EQ(editor.MonL.Caption(), "Dec");
  EXPECT_EQ(editor.YearL.Caption(), "2006");
  EXPECT_GT(editor.ModifiedCounter, 0);
  backend.ClickControl(editor.Button4);  // ">"
  EXPECT_EQ(editor.Calendar.ShownMonth, 1);
  EXPECT_EQ(editor.Calendar.ShownYear, 2007);
  backend.ClickControl(editor.Button3);
  backend.ClickControl(editor.Button3);
  EXPECT_EQ(editor.Calendar.ShownMonth, 11);
  EXPECT_EQ(editor.Calendar.ShownYear, 2006);
  CloseEditor();
  EXPECT_DOUBLE_EQ(Stored(1)->AlarmTime, *EncodeDateTime({2006, 11, 15}, {10, 0}));
}

TEST_F(Calendar, TheDropDownsChangeOnlyTheirPartAndEscClosesOnlyTheDropDown) {
  TForm2& editor = OpenOn(TaskAt(1, 2027, 5, 31, 6, 45));
  backend.Click(editor.YearL);
  ASSERT_TRUE(editor.CalCB.Visible());
  EXPECT_TRUE(editor.CalCB.DroppedDown());
  EXPECT_EQ(editor.CalCB.ItemCount(), 201);
  EXPECT_EQ(editor.CalCB.Text(), "2027");
  EXPECT_EQ(editor.CalCB.Left(), editor.YearL.Left());
  backend.ChooseItem(editor.CalCB, 2030 - 1900);
  EXPECT_FALSE(editor.CalCB.Visible());
  EXPECT_EQ(editor.Calendar.ShownYear, 2030);
  EXPECT_EQ(editor.Calendar.ShownMonth, 5);
  EXPECT_EQ(editor.YearL.Caption(), "2030");

  backend.Click(editor.MonL);
  ASSERT_TRUE(editor.CalCB.Visible());
  EXPECT_EQ(editor.CalCB.ItemCount(), 12);
  EXPECT_EQ(editor.CalCB.ItemIndex(), 4);
  backend.ChooseItem(editor.CalCB, 5);  // June: 30 days, the 31st becomes the 30th
  EXPECT_EQ(editor.Calendar.ShownMonth, 6);
  EXPECT_EQ(editor.Calendar.ShownYear, 2030);
  EXPECT_EQ(editor.MonL.Caption(), "Jun");
  EXPECT_EQ(editor.Calendar.SelectedDay, 30);

  backend.Click(editor.MonL);
  backend.TypeChar(editor, U'\x1b');
  EXPECT_FALSE(editor.CalCB.Visible());
  EXPECT_TRUE(editor.Visible());  // only the drop-down closed
  EXPECT_TRUE(boxes.shown.empty());

  backend.Click(editor.MonL);
  backend.MouseMove(editor, {20, 440});
  EXPECT_FALSE(editor.CalCB.Visible());

  backend.TypeChar(editor, U'\x1b');  // now Esc closes the window, after the question
  EXPECT_EQ(boxes.shown.size(), 1u);
  EXPECT_FALSE(editor.Visible());
  EXPECT_DOUBLE_EQ(Stored(1)->AlarmTime, *EncodeDateTime({2030, 6, 30}, {6, 45}));
}

TEST_F(Calendar, EscOnAnUnchangedNewTaskClosesWithoutAQuestion) {
  TForm2& editor = OpenNew();
  backend.TypeChar(editor, U'\x1b');
  EXPECT_FALSE(editor.Visible());
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(form->scheduler.TaskList.empty());
}

TEST_F(Calendar, EmptyCellsCannotBeSelectedAndANumberBecomesTheDay) {
  TForm2& editor = OpenOn(TaskAt(1, 2026, 11, 10, 0, 0));  // November 2026 starts on Sunday
  EXPECT_FALSE(editor.Grid.UserSelect(0, 1));
  EXPECT_EQ(editor.Calendar.SelectedDay, 10);
  EXPECT_TRUE(editor.Grid.UserSelect(6, 1));
  EXPECT_EQ(editor.Calendar.SelectedDay, 1);
  EXPECT_FALSE(editor.Grid.UserSelect(3, 0));  // the weekday row
  CloseEditor();  // nothing counted yet: selecting in code is no click
  EXPECT_DOUBLE_EQ(Stored(1)->AlarmTime, *EncodeDate(2026, 11, 10));

  TForm2& again = OpenOn(TaskAt(2, 2026, 11, 10, 0, 0));
  backend.ClickOn(again.Grid, again.Grid.CellRect(2, 3).TopLeft() + ui::Point{3, 3});
  EXPECT_EQ(again.Calendar.SelectedDay, 11);
  CloseEditor();
  EXPECT_DOUBLE_EQ(Stored(2)->AlarmTime, *EncodeDate(2026, 11, 11));
}

TEST_F(Calendar, CellsAreDrawnInTheirColoursWithTheLaterRulesWinning) {
  clock.Set(*EncodeDateTime({2026, 12, 7}, {12, 0}));
  TForm2& editor = OpenOn(TaskAt(1, 2026, 12, 20, 0, 0));  // Sunday the 20th selected
  ui::RecordingCanvas& canvas = backend.PaintControl(editor.Grid);
  ui::StringGrid& g = editor.Grid;
  EXPECT_TRUE(canvas.HasFill(g.CellRect(0, 0), ui::clInactiveCaption));
  EXPECT_TRUE(canvas.HasFill(g.CellRect(0, 1), ui::clBtnFace));   // before the 1st (a Tuesday)
  EXPECT_TRUE(canvas.HasFill(g.CellRect(1, 1), ui::clWindow));    // the 1st
  EXPECT_TRUE(canvas.HasFill(g.CellRect(0, 2), ui::clHighlight)); // today, Monday the 7th
  EXPECT_TRUE(canvas.HasFill(g.CellRect(6, 3), ui::clHotLight));  // selected Sunday the 20th
  EXPECT_FALSE(canvas.HasFill(g.CellRect(6, 3), ui::clHighlight));

  backend.ClickControl(editor.Button4);  // January: today is not marked
  ui::RecordingCanvas& january = backend.PaintControl(editor.Grid);
  for (int col = 0; col < 7; ++col)
    for (int row = 1; row < 7; ++row) EXPECT_FALSE(january.HasFill(g.CellRect(col, row), ui::clHighlight));
}

TEST_F(Calendar, HourAndMinuteWrapAndShowAsTheClockDoes) {
  TForm2& editor = OpenOn(TaskAt(1, 2027, 1, 1, 23, 59));
  EXPECT_EQ(editor.HourL.Caption(), "23");
  backend.Spin(editor.HourUpDown, ui::UpDownDirection::Up);
  EXPECT_EQ(editor.HourL.Caption(), "0");
  backend.Spin(editor.HourUpDown, ui::UpDownDirection::Down);
  EXPECT_EQ(editor.HourL.Caption(), "23");
  backend.Spin(editor.MinUpDown, ui::UpDownDirection::Up);
  EXPECT_EQ(editor.MinL.Caption(), "00");
  for (int i = 0; i < 5; ++i) backend.Spin(editor.MinUpDown, ui::UpDownDirection::Up);
  EXPECT_EQ(editor.MinL.Caption(), "05");
  backend.Spin(editor.HourUpDown, ui::UpDownDirection::Up);
  for (int i = 0; i < 5; ++i) backend.Spin(editor.HourUpDown, ui::UpDownDirection::Up);
  EXPECT_EQ(editor.HourL.Caption(), "5");
  CloseEditor();
  EXPECT_DOUBLE_EQ(Stored(1)->AlarmTime, *EncodeDateTime({2027, 1, 1}, {5, 5}));

  // A change reported without a direction wraps by itself.
  bool allow = true;
  editor.HourUpDownChangingEx(editor.HourUpDown, allow, -1, ui::UpDownDirection::None);
  EXPECT_EQ(editor.HourL.Caption(), "23");
  editor.MinUpDownChangingEx(editor.MinUpDown, allow, 60, ui::UpDownDirection::None);
  EXPECT_EQ(editor.MinL.Caption(), "00");
}

TEST_F(Calendar, TheCalendarLabelsLightUpUnderTheMouse) {
  TForm2& editor = OpenOn(TaskAt(1, 2027, 1, 1, 1, 1));
  editor.LabelLMouseEnter(editor.MonL);
  EXPECT_EQ(editor.MonL.GetFont().color, 65280u);
  editor.LabelLMouseLeave(editor.MonL);
  EXPECT_EQ(editor.MonL.GetFont().color, 8421504u);
}

TEST_F(Calendar, TheClockTickShowsTheRunningTimeWhileTheEditorIsVisible) {
  clock.Set(*EncodeDateTime({2026, 12, 7}, {12, 0, 30}));  // not a full hour: nothing is spoken
  TForm2& editor = OpenOn(TaskAt(1, 2027, 1, 1, 1, 1));
  form->DisplayTick();
  EXPECT_EQ(editor.CurrTimeL.Caption(), locale.LongTime(clock.Now()));
  editor.CurrTimeL.SetCaption("");
  editor.Hide();
  form->DisplayTick();
  EXPECT_EQ(editor.CurrTimeL.Caption(), "");
}

}  // namespace
}  // namespace vm::testing

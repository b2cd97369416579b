// One month in a 7 x 7 grid: the layout Monday first, the selected day, today's mark, the cursor
// left for the navigation, and the caption of an open task editor.

#include <gtest/gtest.h>

#include <string>

#include "app/calendar_state.h"
#include "app/window_interface.h"
#include "app/task_editor_window.h"
#include "main_form_fixture.h"

namespace vm::testing {
namespace {

struct GridWindow : ui::Form {
  explicit GridWindow(ui::Application& app) : Form(app, "GridWindow") {
    Grid.SetColCount(7);
    Grid.SetRowCount(7);
  }
  ui::StringGrid Grid{*this, "Grid"};
};

// An editor that only remembers the caption it was given.
struct CaptionEditor : ui::Form, TaskEditorWindow {
  void* FindInterface(const void* tag) override { return AnswerInterface<TaskEditorWindow>(this, tag); }
  explicit CaptionEditor(ui::Application& app) : Form(app, "CaptionEditor") {}
  void SetNewTaskMode(bool) override {}
  bool NewTaskMode() const override { return false; }
  void OpenOnDate(DateTime) override {}
  void ShowEditBuf() override {}
  void ShowCurrentTime(const std::string&) override {}
  void ShowCalendarCaption(const std::string& month, const std::string& year) override {
    shownMonth = month;
    shownYear = year;
  }
  std::string shownMonth, shownYear;
};

class ShowCalendarTest : public MainFormTest {
 protected:
  ShowCalendarTest() { Create(); }
  // Shows the month of `year`/`month` as the navigation does (cursor on day 1).
  void Show(int year, int month, int selectedDay) {
    cursor = *EncodeDate(year, month, 1);
    state.SelectedDay = selectedDay;
    form->ShowCalendar(cursor, window.Grid, state);
  }
  // The day numbers of one row, "." for an empty cell.
  std::string Row(int row) {
    std::string out;
    for (int col = 0; col < 7; ++col) {
      const std::string& text = window.Grid.Cell(col, row);
      out += (col ? " " : "") + (text.empty() ? std::string(".") : text);
    }
    return out;
  }
  GridWindow window{app};
  DateTime cursor = 0;
  CalendarState state;
};

TEST_F(ShowCalendarTest, MonthsAreLaidOutMondayFirstWithTheFirstDayInRowOne) {
  // November 2026 starts on a Sunday: row 1 holds only column 6.
  Show(2026, 11, 1);
  EXPECT_EQ(Row(0), "Mn Tu We Fi Fr St Sn");
  EXPECT_EQ(Row(1), ". . . . . . 1");
  EXPECT_EQ(Row(2), "2 3 4 5 6 7 8");
  EXPECT_EQ(Row(6), "30 . . . . . .");
  EXPECT_EQ(state.ShownMonth, 11);
  EXPECT_EQ(state.ShownYear, 2026);

  // February 2010 starts on a Monday and has 28 days: exactly rows 1 to 4, and an earlier,
  // longer month's cells are cleared.
  Show(2010, 2, 1);
  EXPECT_EQ(Row(1), "1 2 3 4 5 6 7");
  EXPECT_EQ(Row(4), "22 23 24 25 26 27 28");
  EXPECT_EQ(Row(5), ". . . . . . .");
  EXPECT_EQ(Row(6), ". . . . . . .");

  // A leap February ending on a Monday.
  Show(2016, 2, 1);
  EXPECT_EQ(Row(5), "29 . . . . . .");
}

TEST_F(ShowCalendarTest, TheCursorMovesToTheFirstOfTheNextMonthAcrossTheYearEnd) {
  Show(2006, 12, 5);
  EXPECT_EQ(cursor, *EncodeDate(2007, 1, 1));
  Show(2007, 1, 5);
  EXPECT_EQ(cursor, *EncodeDate(2007, 2, 1));
  // A cursor with a time of day inside the month (a task's due time) shows that month.
  cursor = *EncodeDateTime({2027, 3, 17}, {8, 30});
  form->ShowCalendar(cursor, window.Grid, state);
  EXPECT_EQ(state.ShownMonth, 3);
  EXPECT_EQ(cursor, *EncodeDate(2027, 4, 1));
}

TEST_F(ShowCalendarTest, TheSelectedDayIsSelectedAndADayTheMonthLacksBecomesItsLast) {
  Show(2026, 11, 18);  // Wednesday of the fourth row
  EXPECT_EQ(window.Grid.Col(), 2);
  EXPECT_EQ(window.Grid.Row(), 4);

  Show(2026, 4, 31);  // April has 30 days: the 30th, a Thursday in row 5
  EXPECT_EQ(state.SelectedDay, 30);
  EXPECT_EQ(window.Grid.Cell(window.Grid.Col(), window.Grid.Row()), "30");

  Show(2027, 2, 30);
  EXPECT_EQ(state.SelectedDay, 28);
  Show(2028, 2, 30);
  EXPECT_EQ(state.SelectedDay, 29);

  Show(2026, 4, 0);
  EXPECT_EQ(state.SelectedDay, 1);
  EXPECT_EQ(window.Grid.Cell(window.Grid.Col(), window.Grid.Row()), "1");
}

TEST_F(ShowCalendarTest, TodayIsMarkedOnlyInTheCurrentMonthOfTheCurrentYear) {
  clock.Set(*EncodeDateTime({2026, 12, 7}, {12, 0}));
  Show(2026, 12, 1);
  EXPECT_EQ(state.TodayShown, 1);
  EXPECT_EQ(state.TodayDay, 7u);
  Show(2025, 12, 1);  // same month, another year
  EXPECT_EQ(state.TodayShown, 0);
  Show(2026, 11, 1);
  EXPECT_EQ(state.TodayShown, 0);
}

TEST_F(ShowCalendarTest, NamesComeFromTheLanguageAndAnOpenEditorGetsTheCaption) {
  UseLanguage("C.15Lu\r\nC.21Di\r\nC.23Fevrier");
  language.ApplyTableKeys("C.", 1, 33);
  services.windows[kTaskEditorWindow] = [](TForm1& owner) -> std::unique_ptr<ui::Form> {
    return std::make_unique<CaptionEditor>(owner.App());
  };
  form->CreateForm(kTaskEditorWindow);
  auto* editor = dynamic_cast<CaptionEditor*>(form->Slots[kTaskEditorWindow]);
  ASSERT_NE(editor, nullptr);

  Show(2010, 2, 1);
  EXPECT_EQ(window.Grid.Cell(0, 0), "Lu");
  EXPECT_EQ(window.Grid.Cell(6, 0), "Di");
  EXPECT_EQ(window.Grid.Cell(1, 0), "Tu");
  EXPECT_EQ(editor->shownMonth, "Fevrier");
  EXPECT_EQ(editor->shownYear, "2010");
  EXPECT_TRUE(log.Contains(" TForm1::ShowCalendar:3027"));
}

TEST_F(ShowCalendarTest, ACursorThatIsNoDateShowsTodaysMonth) {
  clock.Set(*EncodeDateTime({2026, 12, 7}, {12, 0}));
  cursor = 1e300;
  state.SelectedDay = 7;
  form->ShowCalendar(cursor, window.Grid, state);
  EXPECT_EQ(state.ShownMonth, 12);
  EXPECT_EQ(state.ShownYear, 2026);
  EXPECT_EQ(cursor, *EncodeDate(2027, 1, 1));
}

}  // namespace
}  // namespace vm::testing

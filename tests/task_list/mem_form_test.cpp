// The task list window on the headless backend: opening it from the clock, the table, sorting,
// adding, editing and deleting, the side panel, the calendar view and the remembered size.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/main_form.h"
#include "app/task_editor_window.h"
#include "app/main_form_fixture.h"
#include "core/date_text.h"
#include <numeric>
#include "scheduler/firing_host.h"
#include "theme/dgroup_buts.h"
#include "ui/task_list/calendar_fit.h"
#include "task_list/stub_editor.h"
#include "ui/task_list/mem_form.h"
#include "ui/windows.h"

namespace vm::testing {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr int kRegDword = 0;

class MemFormTest : public MainFormTest {
 protected:
  MemFormTest() {
    services.windows = AllWindowKinds();
    services.windows[kTaskEditorWindow] = [this](TForm1& owner) -> std::unique_ptr<ui::Form> {
      ++editorsMade;
      return std::make_unique<StubEditor>(owner);
    };
  }

  TForm1& Start() {
    auto& f = Create();
    f.Show();
    f.scheduler.TaskList.clear();
    return f;
  }
  TTask& AddTask(const std::string& message, DateTime when = kToday + 1, std::uint32_t state = kStateMessage) {
    TTask t;
    form->scheduler.InitTask(t);
    t.Message = message;
    t.AlarmTime = when;
    t.State = state;
    t.Active = kScheduled;
    t.TaskId = form->scheduler.NewTaskId();
    form->scheduler.TaskList.push_back(t);
    return form->scheduler.TaskList.back();
  }
  TMemForm& OpenList() {
    backend.PressKey(*form, ui::KeyOf('T'), {.ctrl = true});
    auto* list = dynamic_cast<TMemForm*>(form->Slots[kTaskListWindow]);
    if (!list) throw std::runtime_error("no task list window");
    return *list;
  }
  TMemForm* List() { return dynamic_cast<TMemForm*>(form->Slots[kTaskListWindow]); }
  // The middle of a cell of a grid as it is laid out now.
  static ui::Point CellCentre(const ui::StringGrid& grid, int col, int row) {
    const ui::Rect r = grid.CellRect(col, row);
    return {r.left + r.Width() / 2, r.top + r.Height() / 2};
  }
  std::vector<std::string> Column(const ui::StringGrid& grid, int col) {
    std::vector<std::string> out;
    for (int r = 1; r < grid.RowCount(); ++r)
      if (!grid.Cell(col, r).empty()) out.push_back(grid.Cell(col, r));
    return out;
  }
  std::optional<std::uint32_t> RegNumber(const std::string& name) {
    auto v = registry.ReadValue(RegRoot::CurrentUser, "Software\\Vemtaro", name);
    if (!v || v->type != RegType::Dword) return std::nullopt;
    return v->number;
  }
  int editorsMade = 0;
};

// ---- opening, rows and columns ----

TEST_F(MemFormTest, CtrlTOpensTheListWithEveryTaskElevenTasksTakingTwelveRows) {
  Start();
  UseLanguage("L4.1Task List\r\nL4.4Message\r\n");
  for (int i = 1; i <= 11; ++i) AddTask("task " + std::to_string(i), kToday + i);
  TMemForm& list = OpenList();
  EXPECT_TRUE(list.Visible());
  EXPECT_EQ(list.Caption(), "Task List");
  EXPECT_EQ(form->Toggled[kTaskListWindow], &list);
  EXPECT_EQ(list.Grid.RowCount(), 12);
  EXPECT_EQ(list.Grid.Cell(2, 1), "task 1");
  EXPECT_EQ(list.Grid.Cell(2, 11), "task 11");  // the last one has its row too
  EXPECT_EQ(list.Grid.Cell(2, 0), "Message");
  EXPECT_EQ(list.Grid.Cell(9, 0), "№");
  // Row 1 is selected on showing and fills the side panel and the status bar.
  EXPECT_EQ(list.Memo1.Text(), "task 1");
  EXPECT_EQ(list.StatusBar1.SimpleText(), "task 1");
  // Once more: the same window comes up.
  backend.PressKey(*form, ui::KeyOf('T'), {.ctrl = true});
  EXPECT_EQ(List(), &list);
  EXPECT_THAT(log.Messages(), ::testing::Contains(EndsWith("TMemForm::FormCreate 403")));
}

TEST_F(MemFormTest, TheViewButtonIsWordedByTheLanguageFileAndEnglishWithoutIt) {
  Start();
  TMemForm& english = OpenList();
  ASSERT_TRUE(english.ToolButtons());
  EXPECT_EQ(english.ToolButtons()->Button(3)->Caption(), "View");
  backend.UserClose(english);

  UseLanguage("L4.50Ansicht\r\nC.15Mo\r\nC.16Di\r\nC.17Mi\r\nC.18Do\r\nC.19Fr\r\nC.20Sa\r\nC.21So\r\n");
  AddTask("weekly");
  TMemForm& german = OpenList();
  EXPECT_EQ(german.ToolButtons()->Button(3)->Caption(), "Ansicht");
  // The weekday short names of the side panel are the file's, though no editor has read them.
  EXPECT_THAT(german.Label1.Caption(), HasSubstr("Mo,Di,Mi,Do,Fr,Sa,So"));
}

TEST_F(MemFormTest, AnEmptyListKeepsItsDesignRowsAndColumnZeroItsWidth) {
  Start();
  TMemForm& list = OpenList();
  EXPECT_EQ(list.Grid.RowCount(), 11);
  EXPECT_EQ(list.Grid.ColWidth(0), 73);
  for (int c = 0; c < 10; ++c) EXPECT_TRUE(Column(list.Grid, c).empty()) << "column " << c;
  // Rows without a task: edit and delete do nothing, nothing is asked.
  list.Edit1Click(list.Edit1);
  list.DeletMClick(list.DeletM);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(editorsMade, 0);
}

TEST_F(MemFormTest, ColumnsShowWeekdaysProgramEventLastStartAndTheIconCodeWidensColumnZero) {
  Start();
  TTask& weekly = AddTask("weekly", kToday + 1, kStateMessage | kStateCloseProgram | kStateRunProgram |
                                                    kStateShutdown | kStateHibernate | kStateAlarmSound);
  weekly.Period = kPeriodWeek;
  weekly.WeekDays = 2 | 16;  // Tuesday and Friday
  weekly.Program = "C:\\Tools\\backup.exe";
  weekly.SpeakOn = 1;
  TTask& event = AddTask("on logon", 0.0);
  event.Event = kEventLogon;
  event.Active = kWaitingForEvent;
  event.LastAlarm = kToday - 1;
  event.AlarmCnt = 12;
  TMemForm& list = OpenList();
  const ui::StringGrid& g = list.Grid;
  // Sorted by due time: the event task (time 0) first.
  EXPECT_EQ(g.Cell(2, 1), "on logon");
  EXPECT_EQ(g.Cell(1, 1), form->scheduler.EventText(kEventLogon));
  EXPECT_EQ(g.Cell(6, 1), DateTimeText(locale, kToday - 1));
  EXPECT_EQ(g.Cell(7, 1), "12");
  EXPECT_EQ(g.Cell(8, 1), "2");
  EXPECT_EQ(g.Cell(3, 2), form->scheduler.PeriodText(kPeriodWeek, 1) + " Tu,Fr");
  EXPECT_EQ(g.Cell(4, 2), "start/ C:\\Tools\\backup.exe");
  EXPECT_EQ(g.Cell(1, 2), form->FormatTaskDate(kToday + 1, true));
  EXPECT_EQ(g.Cell(6, 2), "");  // never started
  EXPECT_EQ(g.Cell(0, 2), "012345");  // hibernate hidden by the shut down
  EXPECT_EQ(g.Cell(9, 2), std::to_string(weekly.TaskId));
  EXPECT_EQ(g.ColWidth(0), 19 * 6 + 21);
  // Selecting the row shows the program's file name alone in the details.
  ASSERT_TRUE(list.Grid.UserSelect(1, 2));
  EXPECT_EQ(list.Edit2.Text(), "backup.exe");
  EXPECT_EQ(list.Label1.Caption(), g.Cell(3, 2));
}

TEST_F(MemFormTest, RowsAreDrawnWithTheirMarkersIconsAndTheSortArrow) {
  Start();
  AddTask("active", kToday + 1, kStateMessage | kStateAlarmSound);
  AddTask("inactive", kToday + 2).Active = kInactive;
  TMemForm& list = OpenList();
  ui::RecordingCanvas& canvas = backend.PaintControl(list.Grid);
  const ui::Rect row1 = list.Grid.CellRect(0, 1), row2 = list.Grid.CellRect(0, 2), row4 = list.Grid.CellRect(2, 4);
  EXPECT_TRUE(canvas.HasFill(row1, 15793904));          // odd active row
  EXPECT_TRUE(canvas.HasFill(row2, 16312552));          // inactive
  EXPECT_TRUE(canvas.HasFill(row4, ui::clWhite));       // an even row without a task
  EXPECT_TRUE(canvas.HasImage(2, {row1.left + 3, row1.top + 3}));   // active marker
  EXPECT_TRUE(canvas.HasImage(0, {row2.left + 3, row2.top + 3}));   // inactive marker
  EXPECT_TRUE(canvas.HasImage(0, {row1.left + 19, row1.top + 1}));  // message icon
  EXPECT_TRUE(canvas.HasImage(2, {row1.left + 38, row1.top + 1}));  // sound icon
  const ui::Rect caption = list.Grid.CellRect(1, 0);
  EXPECT_TRUE(canvas.HasImage(8, {caption.left + (caption.Width() - 16) / 2, caption.bottom - 16}));
  EXPECT_TRUE(canvas.HasFill(caption, 14215660));
  EXPECT_TRUE(canvas.HasText("active", {list.Grid.CellRect(2, 1).left + 2, list.Grid.CellRect(2, 1).top + 2}));
}

// ---- sorting ----

TEST_F(MemFormTest, AClickOnTheMessageCaptionSortsByCodeStablyAndTheColumnOutlivesTheWindow) {
  Start();
  AddTask("abc", kToday + 1);
  AddTask("a", kToday + 2);
  AddTask("B", kToday + 3);
  AddTask("ab", kToday + 4);
  AddTask("B", kToday + 5).Program = "second";
  TMemForm& list = OpenList();
  const ui::Point caption = CellCentre(list.Grid, 2, 0);
  backend.MouseDownOn(list.Grid, caption);
  backend.MouseUpOn(list.Grid, caption);
  EXPECT_EQ(form->SortColumn, 2);
  EXPECT_EQ(Column(list.Grid, 2), (std::vector<std::string>{"B", "B", "a", "ab", "abc"}));
  EXPECT_EQ(list.Grid.Cell(4, 2), "");  // the first "B" stays first
  // A press on a task row does not sort; a release without a press neither.
  backend.MouseUpOn(list.Grid, CellCentre(list.Grid, 1, 0));
  EXPECT_EQ(form->SortColumn, 2);
  backend.MouseDownOn(list.Grid, CellCentre(list.Grid, 1, 2));
  backend.MouseUpOn(list.Grid, CellCentre(list.Grid, 1, 2));
  EXPECT_EQ(form->SortColumn, 2);
  list.Close();
  ASSERT_EQ(List(), nullptr);
  TMemForm& again = OpenList();
  EXPECT_EQ(again.Grid.Cell(2, 1), "B");
}

// ---- add, edit, delete ----

TEST_F(MemFormTest, DeleteAsksWithoutIconDoesNothingOnNoAndOnYesShortensTheFileByOneRecord) {
  Start();
  AddTask("keep", kToday + 1);
  AddTask("drop", kToday + 2);
  form->scheduler.SaveList();
  const std::size_t before = TaskFile().size();
  TMemForm& list = OpenList();
  ASSERT_TRUE(list.Grid.UserSelect(1, 2));
  boxes.answers = {MsgResult::No};
  list.DeletMClick(list.DeletM);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "               Confirm delete?");
  EXPECT_EQ(boxes.shown[0].caption, "Saving");
  EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(boxes.shown[0].icon, MsgIcon::None);
  EXPECT_EQ(boxes.shown[0].owner, list.Handle());
  EXPECT_EQ(form->scheduler.TaskList.size(), 2u);
  EXPECT_EQ(TaskFile().size(), before);
  boxes.answers = {MsgResult::Yes};
  list.DeletMClick(list.DeletM);
  EXPECT_EQ(TaskFile().size(), before - kTaskRecordSize);
  ASSERT_EQ(form->scheduler.TaskList.size(), 1u);
  EXPECT_EQ(form->scheduler.TaskList.front().Message, "keep");
  EXPECT_EQ(Column(list.Grid, 2), (std::vector<std::string>{"keep"}));
  EXPECT_EQ(list.Grid.RowCount(), 11);  // never shrinks
  EXPECT_THAT(log.Messages(), ::testing::Contains(EndsWith("TMemForm::DeletMClick 556")));
}

TEST_F(MemFormTest, DeletingATaskThatIsGoneRemovesNothingAndStillSaves) {
  Start();
  AddTask("one", kToday + 1);
  TMemForm& list = OpenList();
  files.Put(std::string(kDir) + "tasks.sft", "Vemtaro2");  // an empty list on disk
  form->scheduler.TaskList.front().TaskId = 77;  // the row still names the old id
  boxes.answers = {MsgResult::Yes};
  list.DeletMClick(list.DeletM);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(form->scheduler.TaskList.size(), 1u);
  EXPECT_EQ(list.Grid.Cell(9, 1), "77");  // refreshed
  // Saved: the file holds the one task as the list has it now.
  const std::string file = TaskFile();
  ASSERT_EQ(file.size(), 8 + kTaskRecordSize);
  std::array<std::uint8_t, kTaskRecordSize> record{};
  std::copy(file.begin() + 8, file.end(), record.begin());
  const TTask saved = DeserializeTask(record, codec);
  EXPECT_EQ(saved.TaskId, 77u);
  EXPECT_EQ(saved.Message, "one");
}

TEST_F(MemFormTest, EditOpensTheEditorOnTheSelectedTaskAndTheRowShowsTheNewValues) {
  Start();
  AddTask("first", kToday + 1);
  const std::uint32_t id = AddTask("second", kToday + 2).TaskId;
  TMemForm& list = OpenList();
  ASSERT_TRUE(list.Grid.UserSelect(3, 2));
  std::uint32_t editedId = 0;
  backend.OnNextModal([&](ui::Form& editor) {
    auto& stub = dynamic_cast<StubEditor&>(editor);
    EXPECT_FALSE(stub.newTask);
    editedId = form->scheduler.EditBuf.TaskId;
    form->scheduler.EditBuf.Message = "second, changed";
    form->scheduler.EditBuf.AlarmCnt = 5;
    form->scheduler.ChangeTask(editedId);
    editor.SetModalResult(ui::mrYes);
  });
  list.Edit1Click(list.Edit1);
  EXPECT_EQ(editedId, id);
  EXPECT_EQ(list.Grid.Cell(2, 2), "second, changed");
  EXPECT_EQ(list.Grid.Cell(7, 2), "5");
  EXPECT_EQ(form->Slots[kTaskEditorWindow], nullptr);
}

TEST_F(MemFormTest, ADoubleClickOnARowEditsThatTaskAndOnAnEmptyRowNothing) {
  Start();
  AddTask("first", kToday + 1);
  AddTask("second", kToday + 2);
  TMemForm& list = OpenList();
  std::string edited;
  backend.OnNextModal([&](ui::Form& editor) {
    edited = form->scheduler.EditBuf.Message;
    editor.SetModalResult(ui::mrNo);
  });
  backend.DoubleClickOn(list.Grid, CellCentre(list.Grid, 2, 2));
  EXPECT_EQ(edited, "second");
  backend.DoubleClickOn(list.Grid, CellCentre(list.Grid, 2, 5));
  EXPECT_EQ(editorsMade, 1);
}

TEST_F(MemFormTest, NewTaskFromTheClockMenuGoesThroughTheListWithTheEditorInNewTaskMode) {
  Start();
  AddTask("old", kToday + 1);
  bool newTaskMode = false;
  backend.OnNextModal([&](ui::Form& editor) {
    newTaskMode = dynamic_cast<StubEditor&>(editor).newTask;
    TTask made;
    form->scheduler.InitTask(made);
    made.Message = "made in the editor";
    made.AlarmTime = kToday + 3;
    made.TaskId = form->scheduler.NewTaskId();
    form->scheduler.TaskList.push_back(made);
    editor.SetModalResult(ui::mrYes);
  });
  form->mTaskAdd.PeerChosen();
  ASSERT_NE(List(), nullptr);
  EXPECT_TRUE(List()->Visible());
  EXPECT_TRUE(newTaskMode);
  EXPECT_EQ(Column(List()->Grid, 2), (std::vector<std::string>{"old", "made in the editor"}));
  EXPECT_EQ(TaskFile().size(), 8 + 2 * kTaskRecordSize);  // saved
  EXPECT_FALSE(dynamic_cast<StubEditor&>(*form->Slots[kTaskEditorWindow]).newTask);
  // Closing the list takes the editor kept for the next new task with it.
  List()->Close();
  EXPECT_EQ(form->Slots[kTaskEditorWindow], nullptr);
  EXPECT_EQ(form->Slots[kTaskListWindow], nullptr);
}

TEST_F(MemFormTest, AFiredTaskRefreshesAnOpenList) {
  Start();
  AddTask("one", kToday + 1);
  TMemForm& list = OpenList();
  form->scheduler.TaskList.front().AlarmCnt = 9;
  static_cast<FiringHost&>(*form).RefreshTaskListWindow();
  EXPECT_EQ(list.Grid.Cell(7, 1), "9");
}

// ---- side panel ----

TEST_F(MemFormTest, InfoPCollapsesThePanelToEightPixelsAndBackAndTheBarButtonsFoldTheBoxes) {
  Start();
  TMemForm& list = OpenList();
  EXPECT_EQ(list.Panel1.Width(), 177);
  const ui::Point info{list.InfoP.Left() + 4, list.InfoP.Top() + 40};
  backend.ClickOn(list.Panel1, info);
  EXPECT_EQ(list.Panel1.Width(), 8);
  EXPECT_EQ(list.InfoP.Left(), 0);  // keeps to the panel's right edge
  backend.ClickOn(list.Panel1, {4, info.y});
  EXPECT_EQ(list.Panel1.Width(), 177);
  EXPECT_EQ(list.InfoP.Left(), 169);

  // Without the old shell style file the bars have pictures of their own.
  EXPECT_EQ(list.Bar1.Picture().Width(), 161);
  EXPECT_EQ(list.BarImages().Count(), 8);
  EXPECT_EQ(list.Panel2.Top(), list.Bar1.Bounds().bottom);
  EXPECT_EQ(list.Bar2.Top(), list.Panel2.Bounds().bottom + 3);
  const ui::Point bar1{list.BarB1.Left() + 10, list.BarB1.Top() + 10};
  backend.ClickOn(list.Panel1, bar1);
  EXPECT_FALSE(list.Panel2.Visible());
  EXPECT_EQ(list.Bar2.Top(), list.Bar1.Bounds().bottom + 3);
  EXPECT_EQ(list.BarB2.Top(), list.Bar2.Top() + 3);
  backend.ClickOn(list.Panel1, {list.BarB2.Left() + 10, list.BarB2.Top() + 10});
  EXPECT_TRUE(list.Panel3.Visible());
  EXPECT_EQ(list.Panel3.Top(), list.Bar2.Bounds().bottom);
  backend.ClickOn(list.Panel1, bar1);
  EXPECT_TRUE(list.Panel2.Visible());
  EXPECT_EQ(list.Bar2.Top(), list.Panel2.Bounds().bottom + 3);
}

// ---- calendar view ----

TEST_F(MemFormTest, TheCalendarViewShowsTodaysMonthAndDayAndTurningItOffRestoresTheTable) {
  Start();
  for (int i = 1; i <= 11; ++i) AddTask("later " + std::to_string(i), kToday + i);
  AddTask("today", kToday + 0.25);
  TMemForm& list = OpenList();
  list.Grid.SetColWidth(5, 99);  // the user widened a column
  const int rows = list.Grid.RowCount();
  ASSERT_EQ(rows, 13);
  backend.Click(list.Pg4);
  ASSERT_TRUE(list.CalendarView());
  EXPECT_EQ(&list.ListGrid(), &list.PanelGrid);
  EXPECT_TRUE(list.PanelGrid.Visible());
  EXPECT_TRUE(list.Split1.Visible());
  EXPECT_EQ(list.Grid.ColCount(), 7);
  EXPECT_EQ(list.Grid.RowCount(), 7);
  EXPECT_EQ(list.Grid.DefaultColWidth(), 64);
  EXPECT_LE(list.Grid.DefaultRowHeight(), 50);
  EXPECT_EQ(list.MonL.Caption(), "Dec");
  EXPECT_EQ(list.YearL.Caption(), "2026");
  EXPECT_EQ(list.Calendar().SelectedDay, 7);
  EXPECT_EQ(list.Grid.Cell(list.Grid.Col(), list.Grid.Row()), "7");
  EXPECT_EQ(list.Panel1.Width(), 177);  // "MemPanelW" of a first run
  EXPECT_EQ(Column(list.PanelGrid, 2), (std::vector<std::string>{"today"}));
  EXPECT_FALSE(list.Panel2.Visible());  // the day list has the panel to itself
  // The windows are where their controls are: a stale bar window would cover the month.
  for (const ui::WindowedControl* c : {static_cast<ui::WindowedControl*>(&list.Panel5), static_cast<ui::WindowedControl*>(&list.Grid),
                                       static_cast<ui::WindowedControl*>(&list.PanelGrid)}) {
    const auto* peer = backend.ControlPeer(*c);
    ASSERT_NE(peer, nullptr) << c->Name();
    EXPECT_EQ(peer->bounds, c->Bounds()) << c->Name();
  }

  backend.Click(list.Pg4);
  EXPECT_TRUE(list.Panel2.Visible());   // the open details box is back
  EXPECT_FALSE(list.Panel3.Visible());  // the closed one stays closed
  EXPECT_FALSE(list.CalendarView());
  EXPECT_EQ(&list.ListGrid(), &list.Grid);
  EXPECT_EQ(list.Grid.ColCount(), 10);
  EXPECT_EQ(list.Grid.RowCount(), rows);
  EXPECT_EQ(list.Grid.ColWidth(5), 99);
  EXPECT_EQ(list.Grid.ColWidth(9), 21);
  EXPECT_EQ(list.Grid.DefaultRowHeight(), 32);
  EXPECT_EQ(list.Panel1.Width(), 220);  // the table view's width from now on
  EXPECT_EQ(Column(list.Grid, 2).size(), 12u);
}

// The table's captions and the side panel's after the month had Grid's first row (the e2e run
// reads them on the screen).
void ExpectTableCaptions(TMemForm& list) {
  const std::vector<std::string> captions{"Info",  "Date",      "Message", "Period", "Program",
                                          "Sound", "LastStart", "Starts",  "Active", "№"};
  for (int c = 0; c < 10; ++c) EXPECT_EQ(list.Grid.Cell(c, 0), captions[static_cast<std::size_t>(c)]) << c;
  ASSERT_TRUE(list.Grid.UserSelect(1, 1));
  EXPECT_EQ(list.Label5.Caption(), "Info");
  EXPECT_EQ(list.Label7.Caption(), "Date");
  EXPECT_EQ(list.Label8.Caption(), "LastStart");
  EXPECT_EQ(list.Label4.Caption(), "Starts");
}

TEST_F(MemFormTest, TheTableGetsItsCaptionsBackFromTheCalendarAlsoWhenItOpenedThere) {
  Start();
  AddTask("one", kToday + 1);
  TMemForm& list = OpenList();
  backend.Click(list.Pg4);
  ASSERT_EQ(list.Grid.Cell(0, 0), form->GetLanguage().Msg("C.15"));  // the month's weekdays
  backend.Click(list.Pg4);
  {
    SCOPED_TRACE("switched back");
    ExpectTableCaptions(list);
  }
  backend.Click(list.Pg4);
  list.Close();
  ASSERT_EQ(List(), nullptr);
  TMemForm& again = OpenList();
  ASSERT_TRUE(again.CalendarView());
  backend.Click(again.Pg4);
  {
    SCOPED_TRACE("opened in the calendar view");
    ExpectTableCaptions(again);
  }
}

// Every day column whole and no scroll bar: the cells end at the grid's edges.
void ExpectMonthFits(const ui::StringGrid& grid) {
  EXPECT_FALSE(grid.ColumnsOverflow()) << grid.Width();
  EXPECT_FALSE(grid.RowsOverflow()) << grid.Height();
  EXPECT_EQ(grid.CellRect(0, 1).left, 0);
  EXPECT_EQ(grid.CellRect(6, 6).right, grid.Width());
  EXPECT_LE(grid.CellRect(6, 6).bottom, grid.Height());
  EXPECT_GE(grid.DefaultRowHeight(), 38);  // the task marks stay inside their cells
}

TEST_F(MemFormTest, TheMonthFitsTheGridAtTheDefaultSizeAndFollowsResizeSplitterAndInfoP) {
  Start();
  TMemForm& list = OpenList();
  list.Pg4Click(list.Pg4);
  ASSERT_EQ(list.Panel1.Width(), 177);
  ASSERT_LT(list.Grid.Width(), 7 * 64);  // the design cells would cut Sunday off
  {
    SCOPED_TRACE("default size");
    ExpectMonthFits(list.Grid);
  }
  list.SetBounds(list.Left(), list.Top(), 760, 520);
  {
    SCOPED_TRACE("wider and taller");
    ExpectMonthFits(list.Grid);
    EXPECT_EQ(list.Grid.DefaultRowHeight(), 50);  // never taller than the design rows
  }
  list.Panel1.SetWidth(300);
  list.Split1Moved(list.Split1);
  {
    SCOPED_TRACE("splitter moved");
    ExpectMonthFits(list.Grid);
  }
  list.InfoPClick(list.InfoP);
  ASSERT_EQ(list.Panel1.Width(), 8);
  {
    SCOPED_TRACE("side panel collapsed");
    ExpectMonthFits(list.Grid);
  }
  // Back to the table: the ten design widths, not the calendar's.
  list.Pg4Click(list.Pg4);
  EXPECT_EQ(list.Grid.ColWidth(6), 112);
  EXPECT_EQ(list.Grid.DefaultRowHeight(), 32);
}

TEST_F(MemFormTest, AListReopenedInTheCalendarViewFitsItsMonthAtOnce) {
  Start();
  TMemForm& list = OpenList();
  list.Pg4Click(list.Pg4);
  list.Close();
  ASSERT_EQ(List(), nullptr);
  TMemForm& again = OpenList();
  ASSERT_TRUE(again.CalendarView());
  ExpectMonthFits(again.Grid);
}

TEST_F(MemFormTest, TheDayListFollowsTheSelectionAndTheMonthButtons) {
  Start();
  AddTask("on the 9th", kToday + 2);
  AddTask("new year", 46388.0 + 0.5);  // 2027-01-01
  TMemForm& list = OpenList();
  list.Pg4Click(list.Pg4);
  EXPECT_TRUE(Column(list.PanelGrid, 2).empty());
  // 1 December 2026 is a Tuesday: the 9th is the Wednesday of row 2.
  ASSERT_EQ(list.Grid.Cell(2, 2), "9");
  ASSERT_TRUE(list.Grid.UserSelect(2, 2));
  EXPECT_EQ(Column(list.PanelGrid, 2), (std::vector<std::string>{"on the 9th"}));
  EXPECT_FALSE(list.Grid.UserSelect(0, 1));  // before the 1st: empty, not selectable
  EXPECT_EQ(list.Calendar().SelectedDay, 9);
  // Next month; the 9th again; then back to December and on to the 31st.
  list.Pic2Click(list.Pic2);
  EXPECT_EQ(list.MonL.Caption(), "Jan");
  EXPECT_EQ(list.YearL.Caption(), "2027");
  list.Grid.UserSelect(4, 1);  // Friday 1 January 2027
  EXPECT_EQ(Column(list.PanelGrid, 2), (std::vector<std::string>{"new year"}));
  list.Pic1Click(list.Pic1);
  EXPECT_EQ(list.MonL.Caption(), "Dec");
  EXPECT_EQ(list.YearL.Caption(), "2026");
  EXPECT_TRUE(Column(list.PanelGrid, 2).empty());  // 1 December
}

TEST_F(MemFormTest, ADayOutsideTheNextMonthBecomesItsLastDayAndTheListFollows) {
  Start();
  AddTask("end of february", 46446.5);  // 2027-02-28
  TMemForm& list = OpenList();
  list.Pg4Click(list.Pg4);
  list.Pic2Click(list.Pic2);  // January 2027
  for (int r = 1; r <= 6; ++r)
    for (int c = 0; c < 7; ++c)
      if (list.Grid.Cell(c, r) == "31") {
        ASSERT_TRUE(list.Grid.UserSelect(c, r));
      }
  ASSERT_EQ(list.Calendar().SelectedDay, 31);
  list.Pic2Click(list.Pic2);  // February has no 31st
  EXPECT_EQ(list.Calendar().SelectedDay, 28);
  EXPECT_EQ(Column(list.PanelGrid, 2), (std::vector<std::string>{"end of february"}));
}

TEST_F(MemFormTest, ThreeTasksOfADayAreThreeIconsEightPixelsApartAndEventTasksAreNone) {
  Start();
  for (int i = 0; i < 3; ++i) AddTask("9th " + std::to_string(i), kToday + 2 + 0.01 * i);
  TTask& event = AddTask("event", 0.0);
  event.Event = kEventPowerOn;
  TMemForm& list = OpenList();
  list.SetBounds(list.Left(), list.Top(), 700, 450);  // room for the whole week
  list.Pg4Click(list.Pg4);
  EXPECT_EQ(list.DayTaskCounts()[9], 3);
  EXPECT_EQ(std::accumulate(list.DayTaskCounts().begin(), list.DayTaskCounts().end(), 0), 3);
  ui::RecordingCanvas& canvas = backend.PaintControl(list.Grid);
  const ui::Rect cell = list.Grid.CellRect(2, 2);  // the 9th
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(canvas.HasImage(0, {cell.left + 2 + 8 * k, cell.top + 22})) << k;
  EXPECT_FALSE(canvas.HasImage(0, {cell.left + 2 + 8 * 3, cell.top + 22}));
  // Today's cell and the weekend's texts.
  const ui::Rect today = list.Grid.CellRect(0, 2);  // Monday the 7th
  EXPECT_TRUE(canvas.HasFill(today, 16445640));
  EXPECT_TRUE(canvas.HasFrame(today, ui::clBlack));  // selected
  const ui::DrawCall* sunday = canvas.FindText("13");
  ASSERT_NE(sunday, nullptr) << ::testing::PrintToString(canvas.Texts());
  EXPECT_EQ(sunday->color, 255u);
  EXPECT_TRUE(canvas.HasFill(list.Grid.CellRect(0, 1), ui::clWhite));  // before the 1st
  EXPECT_TRUE(canvas.HasFill(list.Grid.CellRect(0, 0), 12632256));
}

TEST_F(MemFormTest, MonthAndYearDropDownsKeepTheOtherHalfAndEscapeHidesThem) {
  Start();
  TMemForm& list = OpenList();
  list.Pg4Click(list.Pg4);
  list.YearLClick(list.YearL);
  ASSERT_TRUE(list.CalCB.Visible());
  EXPECT_TRUE(list.CalCB.DroppedDown());  // the list opens without a second click
  EXPECT_EQ(list.CalCB.Left(), list.YearL.Left());
  EXPECT_EQ(list.CalCB.ItemCount(), 201);
  EXPECT_EQ(list.CalCB.ItemIndex(), 126);
  backend.ChooseItem(list.CalCB, 110);  // 2010
  EXPECT_FALSE(list.CalCB.Visible());
  EXPECT_FALSE(list.CalCB.DroppedDown());
  EXPECT_EQ(list.YearL.Caption(), "2010");
  EXPECT_EQ(list.MonL.Caption(), "Dec");
  list.MonLClick(list.MonL);
  EXPECT_TRUE(list.CalCB.DroppedDown());
  EXPECT_EQ(list.CalCB.Left(), list.MonL.Left());
  EXPECT_EQ(list.CalCB.ItemIndex(), 11);
  backend.ChooseItem(list.CalCB, 1);  // February 2010 starts on a Monday
  EXPECT_EQ(list.MonL.Caption(), "Feb");
  EXPECT_EQ(list.YearL.Caption(), "2010");
  EXPECT_EQ(list.Grid.Cell(0, 1), "1");
  list.MonLClick(list.MonL);
  backend.TypeChar(list, 27);
  EXPECT_FALSE(list.CalCB.Visible());
  EXPECT_FALSE(list.CalCB.DroppedDown());
  // Moving the mouse over the month closes an open list as well.
  list.MonLClick(list.MonL);
  ASSERT_TRUE(list.CalCB.DroppedDown());
  list.GridMouseMove(list.Grid, {}, 10, 10);
  EXPECT_FALSE(list.CalCB.Visible());
  EXPECT_FALSE(list.CalCB.DroppedDown());
}

TEST_F(MemFormTest, EachOpeningLogsOneResizeAndTheFirstLeavesThePanelAlone) {
  Start();
  auto resizes = [this] {
    int n = 0;
    for (const std::string& m : log.Messages()) n += m == "  TMemForm::FormResize 997";
    return n;
  };
  TMemForm& list = OpenList();
  EXPECT_EQ(resizes(), 1);
  list.Pg4Click(list.Pg4);
  list.Panel1.SetWidth(150);
  list.Split1Moved(list.Split1);
  list.Close();
  ASSERT_EQ(List(), nullptr);
  TMemForm& again = OpenList();  // in the calendar view, at the size it was closed with
  EXPECT_EQ(resizes(), 2);
  EXPECT_EQ(again.Panel1.Width(), 150);
  EXPECT_FALSE(again.SkipResize());
}

// ---- sizes and the view from one run to the next ----

TEST_F(MemFormTest, ClosingWritesSizeViewAndPanelWidthAndReopeningRestoresThemAfterOneSkippedResize) {
  Start();
  TMemForm& list = OpenList();
  EXPECT_FALSE(list.SkipResize());  // the resize of the first showing was the skipped one
  list.Pg4Click(list.Pg4);
  list.SetBounds(list.Left(), list.Top(), 700, 450);
  const int panel = list.Panel1.Width();
  EXPECT_EQ(panel, 700 - 7 * 64 - 32);
  EXPECT_EQ(list.Split1.Tag(), panel);
  list.Close();
  ASSERT_EQ(List(), nullptr);
  EXPECT_EQ(RegNumber("MemWidth"), 700u);
  EXPECT_EQ(RegNumber("MemHeight"), 450u);
  EXPECT_EQ(RegNumber("MemView"), 1u);
  EXPECT_EQ(RegNumber("MemPanelW"), static_cast<std::uint32_t>(panel));
  EXPECT_EQ(form->TopButtons->Button(kTaskListWindow)->Down(), false);

  TMemForm& again = OpenList();
  EXPECT_TRUE(again.CalendarView());
  EXPECT_EQ(again.Width(), 700);
  EXPECT_EQ(again.Height(), 450);
  EXPECT_EQ(again.Panel1.Width(), panel);
  EXPECT_TRUE(again.ToolButtons()->Button(3)->Down());
  again.Pg4Click(again.Pg4);
  EXPECT_EQ(again.Panel1.Width(), 220);
  (void)kRegDword;
}

TEST_F(MemFormTest, AStoredPanelWidthOutsideTheWindowIsBroughtInsideIt) {
  struct Case {
    std::int32_t stored;
    bool calendar;
    int expected;  // 0: the widest that leaves the month its narrowest columns
  };
  Start();
  for (const Case c : {Case{5000, true, 0}, Case{5000, false, 0}, Case{-40, true, 8}, Case{200, true, 200}}) {
    SCOPED_TRACE(::testing::Message() << c.stored << (c.calendar ? " calendar" : " table"));
    // As the registry gave them at the start.
    form->settings.MemPanelW = c.stored;
    form->settings.MemView = c.calendar;
    TMemForm& list = OpenList();
    if (!c.calendar) backend.Click(list.Pg4);
    ASSERT_TRUE(list.CalendarView());
    const int widest = list.ClientWidth() - list.Split1.Width() - 7 * kCalendarMinColWidth;
    EXPECT_EQ(list.Panel1.Width(), c.expected ? c.expected : widest);
    EXPECT_EQ(list.Split1.Tag(), list.Panel1.Width());
    EXPECT_GE(list.Grid.Width(), 7 * kCalendarMinColWidth);
    list.Close();
  }
}

TEST_F(MemFormTest, TheClockToggleButtonOpensAndClosesTheList) {
  Start();
  form->TopH.SetBounds(236, 30, 24, 24);
  backend.Click(form->TopH);
  ASSERT_NE(List(), nullptr);
  EXPECT_TRUE(List()->Visible());
  backend.Click(form->TopH);
  EXPECT_EQ(List(), nullptr);
}

}  // namespace
}  // namespace vm::testing

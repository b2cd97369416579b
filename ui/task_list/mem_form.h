#pragma once
// TMemForm: the task list window - every task in a table ordered by a column the user picks, a
// side panel with the details of the selected task, and a calendar view in which the table
// becomes a month and the side panel lists the tasks of the chosen day.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "app/calendar_state.h"
#include "app/task_list_window.h"
#include "app/window_interface.h"
#include "core/date_time.h"
#include "ui/toolkit/toolkit.h"

namespace vm {

class TForm1;
namespace theme {
class DGroupButs;
}

// The table view's row height in design pixels, also after the calendar view.
inline constexpr int kTableRowHeight = 32;

class TMemForm : public ui::Form, public TaskListWindow {
 public:
  void* FindInterface(const void* tag) override { return AnswerInterface<TaskListWindow>(this, tag); }
  explicit TMemForm(TForm1& owner);
  ~TMemForm() override;

  // ---- tool bar ----
  ui::Image Image1{*this, "Image1"};
  ui::Image Pg1{*this, "Pg1"};
  ui::Image Pg2{*this, "Pg2"};
  ui::Image Pg3{*this, "Pg3"};
  ui::Image Pg4{*this, "Pg4"};
  ui::Bevel Bevel3{*this, "Bevel3"};
  ui::Bevel Bevel4{*this, "Bevel4"};
  ui::Bevel Bevel5{*this, "Bevel5"};
  ui::StatusBar StatusBar1{*this, "StatusBar1"};

  // ---- side panel ----
  ui::Panel Panel1{*this, "Panel1"};
  ui::Label Label7{Panel1, "Label7"};
  ui::Label Label2{Panel1, "Label2"};
  ui::Image Bar1{Panel1, "Bar1"};
  ui::Label Label5{Panel1, "Label5"};
  ui::Image BarB1{Panel1, "BarB1"};
  ui::Panel Panel2{Panel1, "Panel2"};
  ui::Memo Memo1{Panel2, "Memo1"};
  ui::Edit Edit2{Panel2, "Edit2"};
  ui::Edit Edit3{Panel2, "Edit3"};
  ui::Label Label1{Panel2, "Label1"};
  // The small pictures beside the message, the program and the sound file (ShowTaskInfo).
  ui::Image MessageIcon{Panel2, "MessageIcon"};
  ui::Image ProgramIcon{Panel2, "ProgramIcon"};
  ui::Image SoundIcon{Panel2, "SoundIcon"};
  ui::Image Bar2{Panel1, "Bar2"};
  ui::Label Label4{Panel1, "Label4"};
  ui::Image BarB2{Panel1, "BarB2"};
  ui::Panel Panel3{Panel1, "Panel3"};
  ui::Label Label6{Panel3, "Label6"};
  ui::Label Label8{Panel3, "Label8"};
  ui::Label Label3{Panel3, "Label3"};
  ui::Image StartsIcon{Panel3, "StartsIcon"};
  ui::Image InfoP{Panel1, "InfoP"};
  ui::StringGrid PanelGrid{Panel1, "PanelGrid"};
  ui::Splitter Split1{*this, "Split1"};

  // ---- the table and the calendar bar ----
  ui::Panel Panel4{*this, "Panel4"};
  ui::Panel Panel5{Panel4, "Panel5"};
  ui::Image Pic1{Panel5, "Pic1"};
  ui::Label MonL{Panel5, "MonL"};
  ui::ComboBox CalCB{Panel5, "CalCB"};
  ui::Label YearL{Panel5, "YearL"};
  ui::Image Pic2{Panel5, "Pic2"};
  ui::StringGrid Grid{Panel4, "Grid"};

  ui::Image pIm{*this, "pIm"};
  ui::ImageList wIML{16, 16};  // the action icons

  // ---- keyboard: tab stops for the pictures and labels the mouse clicks ----
  ui::FocusProxy BarB1Focus{BarB1};
  ui::FocusProxy BarB2Focus{BarB2};
  ui::FocusProxy MonLFocus{MonL};
  ui::FocusProxy YearLFocus{YearL};

  ui::PopupMenu PopupMenu1{*this, "PopupMenu1"};
  ui::MenuItem AddnM{PopupMenu1, "AddnM", "Add new           "};
  ui::MenuItem ATaskM{AddnM, "ATaskM", "Alarm task           "};
  ui::MenuItem CDownM{AddnM, "CDownM", "Countdown "};
  ui::MenuItem Edit1{PopupMenu1, "Edit1", "Edit"};
  ui::MenuItem DeletM{PopupMenu1, "DeletM", "Delete          "};

  // ---- operations ----
  void RefreshList() override;
  void ApplyTheme() override;
  void AddTask() override { ATaskMClick(ATaskM); }
  void ApplyLanguage();
  void LoadBars();
  void ShowTaskInfo();

  // ---- handlers ----
  void FormCreate(ui::Control& sender);
  void FormShow(ui::Control& sender);
  void FormClose(ui::Form& sender, ui::CloseAction& action);
  void FormDestroy(ui::Control& sender);
  void FormKeyPress(ui::Control& sender, char32_t& key);
  void FormPaint(ui::Control& sender, ui::Canvas& canvas);
  void FormResize(ui::Control& sender);
  void GridDrawCell(ui::Control& sender, int col, int row, const ui::Rect& rect, ui::GridDrawState state);
  void GridSelectCell(ui::Control& sender, int col, int row, bool& canSelect);
  void GridDblClick(ui::Control& sender);
  void GridMouseDown(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void GridMouseUp(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void GridMouseMove(ui::Control& sender, ui::ShiftState shift, int x, int y);
  void ATaskMClick(ui::MenuItem& sender);
  void Edit1Click(ui::MenuItem& sender);
  void DeletMClick(ui::MenuItem& sender);
  void Pg1Click(ui::Control& sender);
  void Pg2Click(ui::Control& sender);
  void Pg3Click(ui::Control& sender);
  void Pg4Click(ui::Control& sender);
  void InfoPClick(ui::Control& sender);
  void Pic1Click(ui::Control& sender);
  void Pic2Click(ui::Control& sender);
  void MonLClick(ui::Control& sender);
  void YearLClick(ui::Control& sender);
  void CalCBChange(ui::Control& sender);
  void MonLMouseEnter(ui::Control& sender);
  void MonLMouseLeave(ui::Control& sender);
  void BarB1MouseDown(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void BarB1MouseUp(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void BarB2MouseUp(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void Split1Moved(ui::Control& sender);
  // Keys: Enter edits the selected task, Delete deletes it (with the question), the Menu key
  // opens the window's menu at the selected row; Esc hides the calendar drop-down first.
  void GridKeyDown(ui::Control& sender, ui::KeyCode& key, ui::ShiftState shift);
  void FormKeyDown(ui::Control& sender, ui::KeyCode& key, ui::ShiftState shift);
  // Enter and Space on a bar button press and release it as the mouse does.
  void BarFocusKeyDown(ui::Control& sender, ui::KeyCode& key, ui::ShiftState shift);
  void BarFocusKeyUp(ui::Control& sender, ui::KeyCode& key, ui::ShiftState shift);

  // ---- state ----
  bool CalendarView() const { return calendarView_; }
  // Grid in the table view, PanelGrid in the calendar view.
  ui::StringGrid& ListGrid() { return *listGrid_; }
  // The calendar's shown month and selected day.
  CalendarState& Calendar() { return calendar_; }
  // Timed tasks per day of the shown month (index = day), as the calendar cells show them.
  const std::array<int, 32>& DayTaskCounts() const { return dayTaskCounts_; }
  DateTime& CalendarCursor() { return calendarCursor_; }
  ui::ImageList& BarImages() { return barImages_; }
  theme::DGroupButs* ToolButtons() const { return toolButtons_.get(); }
  theme::DGroupButs* CalendarButtons() const { return calendarButtons_.get(); }
  int SavedRowCount() const { return savedRowCount_; }
  // The caption of a table column (the window's text, whatever the calendar wrote into row 0).
  const std::string& ColumnCaption(int col) const;
  bool SkipResize() const { return skipResize_; }

 private:
  void DescribeForm();
  void WireHandlers();
  // The tab order, and the names screen readers read (from the language texts).
  void WireAccess();
  void ApplyAccessNames();
  void FollowViewInTabOrder();  // after the view changed
  // What the icon column of a row says: the actions of the icon code, by their language texts.
  std::string ActionNames(const std::string& code) const;
  void BuildButtons();
  void LoadActionIcons();
  void FillSidePanel(int row);
  // Writes the column captions into row 0 of PanelGrid, and of Grid unless it shows the month.
  void ShowColumnCaptions();
  void LayoutBars(int mode);
  void SetBarButton(ui::Image& image, int picture);
  void ShowMonth();
  void HideCalendarDropDown();
  void PlaceInfoP();
  // A side panel width that leaves the splitter and the narrowest month inside the window, and
  // is never narrower than the collapsed panel.
  int PanelWidthInside(int width) const;
  // In the calendar view: the cells take the grid's size (see calendar_fit.h).
  void FitCalendar();
  void PopupAtCursor(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  std::uint32_t SelectedTaskId(bool& found);
  void DrawCalendarCell(ui::Canvas& canvas, int col, int row, const ui::Rect& rect);
  void CountDayTasks();

  TForm1& owner_;
  std::weak_ptr<TForm1*> ownerAlive_;
  ui::StringGrid* listGrid_ = &Grid;
  bool calendarView_ = false;
  std::string viewCaption_ = "View";  // the calendar-view button (key L4.50)
  bool mouseDown_ = false;
  bool skipResize_ = false;
  bool yearMode_ = false;
  CalendarState calendar_;
  DateTime calendarCursor_ = 0.0;
  std::array<int, 32> dayTaskCounts_{};
  int savedRowCount_ = 0;
  std::array<int, 10> savedColWidths_{};
  std::array<std::string, 10> columnCaptions_{"Info",  "Date",      "Message", "Period", "Program",
                                              "Sound", "LastStart", "Starts",  "Active", "№"};
  ui::ImageList barImages_{21, 21};
  ui::Bitmap marker_;
  std::unique_ptr<theme::DGroupButs> toolButtons_;
  std::unique_ptr<theme::DGroupButs> calendarButtons_;
  ui::Control* barKeyHeld_ = nullptr;  // the bar button Enter or Space pressed
};

}  // namespace vm

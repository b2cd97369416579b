#pragma once
// TForm2: the task editor. A modal window that shows the clock's EditBuf in its controls and,
// when the user closes it after a change and agrees to save, writes the controls back into
// EditBuf and appends it (a new task) or puts it back in its place in the task list.
//
// Choices made where the record allows more than the controls show:
// - A selected day that the shown month lacks (31 after moving to a 30-day month) becomes the
//   month's last day, in the calendar and in the saved AlarmTime.
// - Repeat counts up to 366 are shown and read back whole: the count field takes three digits.
// - A stored Period outside 0..6 (only a damaged file holds one) is shown as "Once"; saving
//   always stores 0..6.
// - The message memo never accepts more than the record's 247 bytes in the system's code page.
// - A new task starts at the next whole minute, so that saving it untouched in time does not
//   leave it already missed (a one-time task past due would be removed without firing).
// - Cancelling the program chooser keeps a path already chosen and its action; only with no
//   path are "Run program" and "Close program" unchecked.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "app/calendar_state.h"
#include "app/task_editor_window.h"
#include "app/window_interface.h"
#include "core/date_time.h"
#include "ui/toolkit/toolkit.h"

namespace vm {

class TForm1;

class TForm2 : public ui::Form, public TaskEditorWindow {
 public:
  void* FindInterface(const void* tag) override { return AnswerInterface<TaskEditorWindow>(this, tag); }
  TForm2(ui::Application& app, TForm1& owner);
  ~TForm2() override;

  // ---- the "WHAT" half ----
  ui::Label InfoL{*this, "InfoL"};
  ui::Image Image10{*this, "Image10"};
  ui::CheckBox ActiveCh{*this, "ActiveCh"};
  ui::CheckBox PassedCh{*this, "PassedCh"};
  ui::Label WhatL{*this, "WhatL"};
  ui::CheckBox MessageCheck{*this, "MessageCheck"};
  ui::CheckBox SpeakCh{*this, "SpeakCh"};
  ui::Memo AlarmMessage{*this, "AlarmMessage"};
  ui::CheckBox ProgramCheck{*this, "ProgramCheck"};
  ui::Button ProgB{*this, "ProgB"};
  ui::Edit PrgEdit{*this, "PrgEdit"};
  ui::CheckBox RunCheck{*this, "RunCheck"};
  ui::CheckBox LockCheck{*this, "LockCheck"};
  ui::CheckBox WakeupCh{*this, "WakeupCh"};
  ui::CheckBox HiberCheck{*this, "HiberCheck"};
  ui::CheckBox RebootCheck{*this, "RebootCheck"};
  ui::CheckBox CompCheck{*this, "CompCheck"};
  ui::CheckBox AlSoundCh{*this, "AlSoundCh"};
  ui::Button SoundB{*this, "SoundB"};
  ui::Edit SoundEdit{*this, "SoundEdit"};
  ui::Label Label2{*this, "Label2"};
  ui::Image TestIm{*this, "TestIm"};
  ui::Image StopIm{*this, "StopIm"};
  ui::Label Label1{*this, "Label1"};
  ui::Label RepeatL{*this, "RepeatL"};
  ui::UpDown SoundUpDown{*this, "SoundUpDown"};
  ui::Button Button5{*this, "Button5"};
  ui::Label CapL{*this, "CapL"};

  // ---- the "WHEN" half ----
  ui::Label WhenL{*this, "WhenL"};
  ui::Shape Shape3{*this, "Shape3"};
  ui::StringGrid Grid{*this, "Grid"};
  ui::Label MonL{*this, "MonL"};
  ui::Label YearL{*this, "YearL"};
  ui::Button Button3{*this, "Button3"};
  ui::Button Button4{*this, "Button4"};
  ui::Label HourL{*this, "HourL"};
  ui::Label DotsL{*this, "DotsL"};
  ui::Label MinL{*this, "MinL"};
  ui::UpDown HourUpDown{*this, "HourUpDown"};
  ui::UpDown MinUpDown{*this, "MinUpDown"};
  ui::Label HouCapL{*this, "HouCapL"};
  ui::Label MinCapL{*this, "MinCapL"};
  ui::Label CurrTimeL{*this, "CurrTimeL"};
  ui::Label TaskRepL{*this, "TaskRepL"};
  ui::PageControl Page1{*this, "Page1"};
  ui::TabSheet Tab2{Page1, "Tab2"};
  ui::TabSheet Tab1{Page1, "Tab1"};
  ui::TabSheet Tab3{Page1, "Tab3"};
  // Tab2: week days
  ui::Label SdL1{Tab2, "SdL1"}, SdL2{Tab2, "SdL2"}, SdL3{Tab2, "SdL3"}, SdL4{Tab2, "SdL4"},
      SdL5{Tab2, "SdL5"}, SdL6{Tab2, "SdL6"}, SdL7{Tab2, "SdL7"};
  ui::CheckBox CB1{Tab2, "CB1"}, CB2{Tab2, "CB2"}, CB3{Tab2, "CB3"}, CB4{Tab2, "CB4"},
      CB5{Tab2, "CB5"}, CB6{Tab2, "CB6"}, CB7{Tab2, "CB7"};
  // Tab1: the repetition
  ui::PaintBox Label4{Tab1, "Label4"};
  ui::Label OnceL{Tab1, "OnceL"}, MinintL{Tab1, "MinintL"}, HoursL{Tab1, "HoursL"},
      DaysL{Tab1, "DaysL"}, WeekL{Tab1, "WeekL"}, MonthL{Tab1, "MonthL"}, YeL{Tab1, "YeL"};
  ui::MaskEdit RepCntL{Tab1, "RepCntL"};
  ui::UpDown TaskUpDown{Tab1, "TaskUpDown"};
  ui::CheckBox ImmedCB{Tab1, "ImmedCB"};
  // Tab3: system events
  ui::CheckBox PwrOn_CB{Tab3, "PwrOn_CB"}, PwrOff_CB{Tab3, "PwrOff_CB"}, LockS_CB{Tab3, "LockS_CB"},
      UnLockS_CB{Tab3, "UnLockS_CB"}, LoOnS_CB{Tab3, "LoOnS_CB"}, LoOfS_CB{Tab3, "LoOfS_CB"},
      SSaverOn_CB{Tab3, "SSaverOn_CB"}, SSaverOff_CB{Tab3, "SSaverOff_CB"};
  ui::Timer FocusTimer{*this, "FocusTimer"};  // gives the shown window the focus
  // Drawn over the calendar when in use, so it comes last.
  ui::ComboBox CalCB{*this, "CalCB"};

  // ---- keyboard: tab stops for the pictures and labels the mouse uses ----
  ui::FocusProxy TestImFocus{TestIm}, StopImFocus{StopIm};
  ui::FocusProxy RepeatLFocus{RepeatL};  // the arrow keys spin SoundUpDown
  ui::FocusProxy MonLFocus{MonL}, YearLFocus{YearL};
  ui::FocusProxy HourLFocus{HourL}, MinLFocus{MinL};  // the arrow keys spin the hour and minute
  ui::FocusProxy OnceLFocus{OnceL}, MinintLFocus{MinintL}, HoursLFocus{HoursL}, DaysLFocus{DaysL},
      WeekLFocus{WeekL}, MonthLFocus{MonthL}, YeLFocus{YeL};

  // ---- window state ----
  // User changes since the task was loaded; 0: nothing to save.
  int ModifiedCounter = 0;
  std::uint16_t Hour = 0, Minute = 0;
  DateTime CalendarCursor = 0;
  CalendarState Calendar;
  std::array<ui::Label*, 7> PeriodLabels{};  // OnceL .. YeL for periods 0..6
  std::array<int, 7> PeriodMarks{};          // 1 for the marked period label
  std::array<ui::CheckBox*, 7> DayBoxes{};   // CB1 .. CB7, Monday .. Sunday
  ui::Bitmap Scratch{16, 16};
  enum class CalendarMode { Month, Year };
  CalendarMode CalMode = CalendarMode::Month;

  // ---- TaskEditorWindow ----
  void SetNewTaskMode(bool on) override { newTaskMode_ = on; }
  bool NewTaskMode() const override { return newTaskMode_; }
  void OpenOnDate(DateTime alarmTime) override;
  void ShowEditBuf() override;
  void ShowCalendarCaption(const std::string& month, const std::string& year) override;

  // ---- handlers ----
  void FormCreate(ui::Control& sender);
  void FormShow(ui::Control& sender);
  void FormCloseQuery(ui::Form& sender, bool& canClose);
  void FormClose(ui::Form& sender, ui::CloseAction& action);
  void FormDestroy(ui::Control& sender);
  void FormPaint(ui::Control& sender, ui::Canvas& canvas);
  void FormKeyPress(ui::Control& sender, char32_t& key);
  void FormMouseMove(ui::Control& sender, ui::ShiftState shift, int x, int y);
  void FocusTimerTimer(ui::Timer& sender);
  void LabelOKClick(ui::Control& sender);
  void ActiveChClick(ui::Control& sender);
  void MessageCheckClick(ui::Control& sender);
  void MessageCheckExit(ui::Control& sender);
  void CompCheckClick(ui::Control& sender);
  void CompCheckExit(ui::Control& sender);
  void RunCheckMouseUp(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void ProgramCheckMouseUp(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void LockS_CBClick(ui::Control& sender);
  void ImmedCBClick(ui::Control& sender);
  void AlarmMessageChange(ui::Control& sender);
  void AlarmMessageDblClick(ui::Control& sender);
  void SoundEditChange(ui::Control& sender);
  void Page1Change(ui::Control& sender);
  void PrgEditMouseMove(ui::Control& sender, ui::ShiftState shift, int x, int y);
  void SoundEditMouseMove(ui::Control& sender, ui::ShiftState shift, int x, int y);
  void ProgBClick(ui::Control& sender);
  void SoundBClick(ui::Control& sender);
  void TestImClick(ui::Control& sender);
  void StopImClick(ui::Control& sender);
  void TestImMouseDown(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void TestImMouseUp(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void SoundUpDownChangingEx(ui::Control& sender, bool& allowChange, int newValue, ui::UpDownDirection direction);
  void SoundUpDownClick(ui::Control& sender, ui::UpDownButton button);
  void TaskUpDownClick(ui::Control& sender, ui::UpDownButton button);
  void OnceLClick(ui::Control& sender) { SelectPeriod(0); }
  void MinintLClick(ui::Control& sender) { SelectPeriod(1); }
  void HoursLClick(ui::Control& sender) { SelectPeriod(2); }
  void DaysLClick(ui::Control& sender) { SelectPeriod(3); }
  void WeekLClick(ui::Control& sender) { SelectPeriod(4); }
  void MonthLClick(ui::Control& sender) { SelectPeriod(5); }
  void YeLClick(ui::Control& sender) { SelectPeriod(6); }
  void Label4Paint(ui::Control& sender, ui::Canvas& canvas);
  // Calendar and time.
  void GridDrawCell(ui::Control& sender, int col, int row, const ui::Rect& rect, ui::GridDrawState state);
  void GridSelectCell(ui::Control& sender, int col, int row, bool& canSelect);
  void LeftBClick(ui::Control& sender);
  void RighBClick(ui::Control& sender);
  void MonLClick(ui::Control& sender);
  void YearLClick(ui::Control& sender);
  void CalCBChange(ui::Control& sender);
  void LabelLMouseEnter(ui::Control& sender);
  void LabelLMouseLeave(ui::Control& sender);
  void HourUpDownChangingEx(ui::Control& sender, bool& allowChange, int newValue, ui::UpDownDirection direction);
  void MinUpDownChangingEx(ui::Control& sender, bool& allowChange, int newValue, ui::UpDownDirection direction);
  void HourUpDownClick(ui::Control& sender, ui::UpDownButton button);
  void MinUpDownClick(ui::Control& sender, ui::UpDownButton button);

  // ---- operations ----
  void ApplyLanguage();
  void SelectPeriod(int index);
  void ShowSummary();
  void ShowMinute(int minute);
  std::uint16_t ReadEventBoxes() const;
  // The marked period label (0 when none is marked).
  int MarkedPeriod() const;
  // The count in RepCntL (0 when it holds no number).
  std::uint32_t RepeatCount() const;
  // The due date the controls show: YearL's year, the shown month, the selected day, the time.
  DateTime ShownDueTime() const;
  // The clock shows the current time here while the editor is visible.
  void ShowCurrentTime(const std::string& text) override { CurrTimeL.SetCaption(text); }

 private:
  // The message memo's text in the window's design.
  static constexpr const char* kDesignMessage = "Message";
  void Describe();
  void Wire();
  // The tab order, the arrow keys of the number labels, and the reader's names.
  void WireAccess();
  void NumberLabelKeyDown(ui::Control& sender, ui::KeyCode& key, ui::ShiftState shift);
  void LoadFromEditBuf();
  void StoreIntoEditBuf();
  void SetCalendarEnabled(bool enabled);
  // The message is empty or one of the program's own texts (the design text, the default of a
  // new task, the shutdown and the plain alarm text), not one the user wrote.
  bool MessageIsDefault() const;
  void SetDropDownClosed();
  std::string Text(const char* key) const;
  TForm1& owner_;
  bool newTaskMode_ = false;
  bool loading_ = false;
};

}  // namespace vm

#pragma once
// TAlForm: the alarm window. One row per task that fired while it was open, the task's sound a
// set number of times with Stop, Play and Pause, the spoken message, the flashing task-bar button
// and, for a task that shuts the computer down, a 60-second countdown that Cancel stops.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/alarm_window.h"
#include "app/window_interface.h"
#include "scheduler/task.h"
#include "ui/toolkit/toolkit.h"

namespace vm {

class SoundPlayer;
class TForm1;
namespace theme {
class DGroupButs;
}

class TAlForm : public ui::Form, public AlarmWindow {
 public:
  void* FindInterface(const void* tag) override { return AnswerInterface<AlarmWindow>(this, tag); }
  // Seconds a shutdown waits for Cancel.
  static constexpr int kCountdownSeconds = 60;
  // Button indexes in the group.
  static constexpr int kStopButton = 0;
  static constexpr int kPlayButton = 1;
  static constexpr int kPauseButton = 2;
  // The grid's columns.
  static constexpr int kDateColumn = 0;
  static constexpr int kMessageColumn = 1;
  static constexpr int kIdColumn = 3;

  TAlForm(ui::Application& app, TForm1& owner);
  ~TAlForm() override;

  // ---- the form description ----
  ui::Image Stop{*this, "Stop"};
  ui::Image Resume{*this, "Resume"};
  ui::Image Pause{*this, "Pause"};
  ui::Label CancelL{*this, "CancelL"};
  ui::Label ShutDL{*this, "ShutDL"};
  ui::Label MessL{*this, "MessL"};
  // Declared before the browser so that it lies above it, over the browser's scroll bar.
  ui::Panel Panel1{*this, "Panel1"};
  ui::WebBrowser Web1{*this, "Web1"};
  ui::StringGrid AlGrid{*this, "AlGrid"};
  // Snooze and its length, declared right after the grid: next in the tab order after the rows.
  ui::Button SnoozeB{*this, "SnoozeB"};
  ui::ComboBox SnoozeLength{*this, "SnoozeLength"};
  ui::Bevel Bevel1{*this, "Bevel1"};
  ui::FocusProxy CancelLFocus{CancelL};  // the Cancel link by keyboard
  ui::Timer Timer1{*this, "Timer1"};        // shutdown countdown
  ui::Timer SignalTimer{*this, "SignalTimer"};  // sound repetition
  ui::Timer FlashTimer{*this, "FlashTimer"};    // task-bar flashing

  // ---- state ----
  TTask AlarmTask;          // the task being shown, copied from CurTask at every show
  std::int32_t SignalCount = 0;  // plays still allowed; -1: until the window closes
  bool Armed = false;       // waiting to (re)start the sound; false while a play runs
  bool SpeechAvailable = false;
  std::int32_t CurrentRow = 1;
  std::int32_t Countdown = kCountdownSeconds;
  std::array<std::string, 3> AlarmTexts;  // L3.1 due-time heading, L3.2 countdown, L3.3 Cancel
  std::unique_ptr<theme::DGroupButs> Buttons;

  // ---- AlarmWindow ----
  void AddAlarm() override;
  void ArmSound() override { Armed = true; }
  // New theme frames were loaded; this window keeps its buttons as drawn.
  void ApplyTheme() override {}

  // ---- handlers ----
  void FormCreate(ui::Control& sender);
  void FormShow(ui::Control& sender);
  void FormClose(ui::Form& sender, ui::CloseAction& action);
  void FormPaint(ui::Control& sender, ui::Canvas& canvas);
  void SignalTimerTimer(ui::Timer& sender);
  void Timer1Timer(ui::Timer& sender);
  void FlashTimerTimer(ui::Timer& sender);
  void StopClick(ui::Control& sender);
  void ResumeClick(ui::Control& sender);
  void PauseClick(ui::Control& sender);
  void AlGridSelectCell(ui::Control& sender, int col, int row, bool& canSelect);
  void AlGridDblClick(ui::Control& sender);
  void CancelLClick(ui::Control& sender);
  void ApplyLanguage();

  // ---- snooze (alarm_snooze.cpp) ----
  // Snooze rings the selected row's alarm again after the chosen length (Alt+S); with Shift
  // held (Shift+click, Shift+Alt+S) every row's. The rows snoozed leave the window, which
  // closes with the last one. A shutdown's window offers no snooze.
  std::vector<TTask> RowTasks;           // the task of each row, row 1 first
  std::vector<int> SnoozeChoiceMinutes;  // the length of each item of SnoozeLength
  // L3.70 caption, L3.71 hint, L3.72 the marker after a snoozed message, L3.73 the unit of
  // the lengths, L3.74 the length chooser's hint.
  std::array<std::string, 5> SnoozeTexts;
  void SnoozeBClick(ui::Control& sender);
  void SnoozeLengthChange(ui::Control& sender);
  void FormKeyDown(ui::Control& sender, ui::KeyCode& key, ui::ShiftState shift);
  // False when the window offers no snooze (a shutdown's) or has no row to snooze.
  bool SnoozeRows(bool everyRow);
  bool SnoozeOffered() const;

 private:
  void DescribeForm();
  void DescribeSnooze();
  // The end of every show: the row's task is kept, the snooze controls follow the task.
  void ShowSnooze();
  void FillSnoozeChoices();
  void RemoveRow(int row);
  // The tab order, Esc, and the names screen readers read (from the language texts).
  void WireAccess();
  void ApplyAccessNames();
  // The focus on Stop when the sound buttons show, else on the table.
  void FocusFirstControl();
  void PressButton(int index);
  void ReleaseButton(int index);
  // OpenSong; true when it failed (also without a sound device).
  bool OpenSound(const std::string& path);
  void CloseSong();

  class OnceMessageBoxes;
  TForm1& owner_;
  // The sound of the one process-wide device alias; its "Error open file!" box is shown once per
  // window (a file that cannot be opened would otherwise report itself every second).
  std::unique_ptr<OnceMessageBoxes> boxes_;
  std::unique_ptr<SoundPlayer> sound_;
};

}  // namespace vm

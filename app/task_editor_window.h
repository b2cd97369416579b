#pragma once
// What the clock and the other windows ask of the task editor (window number 3). The editor
// window implements it; they reach it through the clock's slot (TForm1::TaskEditor).

#include <string>

#include "core/date_time.h"

namespace vm {

class TaskEditorWindow {
 public:
  static constexpr char kTag = 0;  // names the interface (app/window_interface.h)
  // While set, closing the editor with Yes appends EditBuf to the list as a new task.
  virtual void SetNewTaskMode(bool on) = 0;
  virtual bool NewTaskMode() const = 0;
  // Puts the calendar cursor on `alarmTime`, selects that date's day and shows its month (the
  // ">" button's handler, which starts from the cursor).
  virtual void OpenOnDate(DateTime alarmTime) = 0;
  // Shows EditBuf in the controls again (after the scheduler changed it).
  virtual void ShowEditBuf() = 0;
  // The month name and the year that the calendar (any one that ShowCalendar fills) shows.
  virtual void ShowCalendarCaption(const std::string& month, const std::string& year) = 0;
  // The running time, shown while the editor is visible (the clock's tick).
  virtual void ShowCurrentTime(const std::string& text) = 0;

 protected:
  ~TaskEditorWindow() = default;
};

}  // namespace vm

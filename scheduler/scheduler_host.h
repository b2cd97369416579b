#pragma once
// How the schedule reaches the main window: the refreshes it asks for after it changed the
// current task or the list.

#include <string>

namespace vm {

class SchedulerHost {
 public:
  virtual ~SchedulerHost() = default;
  // CurTask changed: refresh the notification-area icon's tip.
  virtual void CurrentTaskChanged() = 0;
  // Refresh the clock's date and week-day labels.
  virtual void RefreshDateLabels() = 0;
  // Make sure the task editor exists and show EditBuf in its controls again.
  virtual void ShowEditBufInEditor() = 0;
  // The list was sorted and CurTask chosen again after a change (load, firing, edit, delete,
  // event): the wake timer follows the first wake task.
  virtual void TaskListChanged() {}
  // Something about tasks.sft the user must know (it cannot be read or written; the text names
  // the file and what to do).
  virtual void TaskFileWarning(const std::string& text) { (void)text; }
};

}  // namespace vm

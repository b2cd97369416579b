#pragma once
// What the clock asks of the task list window (window number 2). The window implements it; the
// clock reaches it through its slot.

namespace vm {

class TaskListWindow {
 public:
  static constexpr char kTag = 0;  // names the interface (app/window_interface.h)
  // Rebuilds the rows from the task list (after a task fired).
  virtual void RefreshList() = 0;
  // Takes the pictures of the visual style just loaded.
  virtual void ApplyTheme() = 0;
  // The list's new-task command: the editor in new-task mode, then save and show.
  virtual void AddTask() = 0;

 protected:
  ~TaskListWindow() = default;
};

}  // namespace vm

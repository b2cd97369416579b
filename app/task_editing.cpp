// Opening the task editor on a task of the list, and on a new task.

#include "app/main_form.h"
#include "app/task_editor_window.h"
#include "app/window_interface.h"
#include "core/log.h"

namespace vm {

TaskEditorWindow* TForm1::TaskEditor() {
  return WindowInterface<TaskEditorWindow>(Slots[kTaskEditorWindow]);
}

void TForm1::EditTask(std::uint32_t taskId) {
  WriteLog("  %s:%d", "TForm1::EditTask", 3002);
  if (!scheduler.FindTask(taskId)) return;
  // Always a fresh editor: nothing of an earlier editing may linger in its controls.
  if (Slots[kTaskEditorWindow]) DeleteFormA(kTaskEditorWindow);
  scheduler.EditBuf = *scheduler.TaskIter;
  CreateForm(kTaskEditorWindow);
  TaskEditorWindow* editor = TaskEditor();
  if (!editor) return;
  editor->OpenOnDate(scheduler.EditBuf.AlarmTime);
  editor->SetNewTaskMode(false);
  Slots[kTaskEditorWindow]->ShowModal();
  DeleteFormA(kTaskEditorWindow);
  scheduler.SaveList();
  ShowClockDate();
}

bool TForm1::EditNewTask() {
  CreateForm(kTaskEditorWindow);
  TaskEditorWindow* editor = TaskEditor();
  if (!editor) return false;
  editor->SetNewTaskMode(true);
  Slots[kTaskEditorWindow]->ShowModal();
  editor->SetNewTaskMode(false);
  return true;
}

}  // namespace vm

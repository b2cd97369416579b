#pragma once
// The clock with the real task editor as window number 3, on the headless backend.

#include <gtest/gtest.h>

#include <string>

#include "app/main_form_fixture.h"
#include "scheduler/speech.h"
#include "ui/task_editor/task_editor.h"
#include "ui/windows.h"

namespace vm::testing {

class EditorTest : public MainFormTest {
 protected:
  EditorTest() {
    services.windows = AllWindowKinds();
    Create();
    form->scheduler.TaskList.clear();
  }
  // The clock's speech probe runs on a worker that uses the fake server: it must be done
  // before the fakes go.
  ~EditorTest() override {
    if (form && form->Speaker) {
      EXPECT_TRUE(form->Speaker->WaitForWorkers(std::chrono::seconds(10)));
    }
  }

  // A fresh editor on `task` (put into the list first), shown as EditTask shows it.
  TForm2& OpenOn(const TTask& task) {
    form->scheduler.TaskList.push_back(task);
    form->scheduler.EditBuf = task;
    form->CreateForm(kTaskEditorWindow);
    TForm2& editor = Editor();
    editor.OpenOnDate(task.AlarmTime);
    editor.SetNewTaskMode(false);
    editor.Show();
    return editor;
  }
  // The editor in new-task mode, shown.
  TForm2& OpenNew() {
    form->CreateForm(kTaskEditorWindow);
    TForm2& editor = Editor();
    editor.SetNewTaskMode(true);
    editor.Show();
    return editor;
  }
  TForm2& Editor() {
    auto* editor = dynamic_cast<TForm2*>(form->Slots[kTaskEditorWindow]);
    EXPECT_NE(editor, nullptr);
    return *editor;
  }
  // Closes the editor as the user does (the close question answered from `boxes`).
  void CloseEditor() { Editor().Close(); }

  // A task due on a date at a time, with the given id.
  static TTask TaskAt(std::uint32_t id, int year, int month, int day, int hour, int minute) {
    TTask task;
    task.TaskId = id;
    task.AlarmTime = *EncodeDateTime({year, month, day}, {hour, minute});
    task.Active = kScheduled;
    task.Message = "Stored message";
    task.Program = "";
    task.SoundFile = "C:\\sounds\\bell.wav";
    return task;
  }
  const TTask* Stored(std::uint32_t id) {
    for (const TTask& t : form->scheduler.TaskList)
      if (t.TaskId == id) return &t;
    return nullptr;
  }
  // A click on a label of the repetition page, through the page's window as a real click.
  void ClickPeriod(TForm2& editor, ui::Label& label) {
    backend.ChooseTab(editor.Page1, editor.Tab1.PageIndex());
    backend.ClickOn(editor.Tab1, {label.Left() + label.Width() / 2, label.Top() + label.Height() / 2});
  }
  ui::ScriptedDialogs& Dialogs() { return backend.DialogScript(); }
};

}  // namespace vm::testing

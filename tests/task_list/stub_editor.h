// The task editor as far as the task list needs it, and the fake clock's day.
#pragma once

#include <string>

#include "app/main_form.h"
#include "app/window_interface.h"
#include "app/task_editor_window.h"
#include "core/date_time.h"
#include "ui/toolkit/toolkit.h"

namespace vm::testing {

// Modal, its answers scripted by the test.
struct StubEditor : ui::Form, TaskEditorWindow {
  void* FindInterface(const void* tag) override { return AnswerInterface<TaskEditorWindow>(this, tag); }
  explicit StubEditor(TForm1& owner) : Form(owner.App(), "StubEditor") { SetBounds(0, 0, 300, 200); }
  void SetNewTaskMode(bool on) override { newTask = on; }
  bool NewTaskMode() const override { return newTask; }
  void OpenOnDate(DateTime) override {}
  void ShowEditBuf() override {}
  void ShowCalendarCaption(const std::string&, const std::string&) override {}
  void ShowCurrentTime(const std::string&) override {}
  bool newTask = false;
};

inline constexpr DateTime kToday = 46363.5;  // 2026-12-07 12:00, the fake clock's now

}  // namespace vm::testing

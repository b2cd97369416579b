#pragma once
// What a firing task needs from the main window and from the windows it owns: the alarm window
// (window number 4), speech, the task list window and the clock's date wording.

#include <string>

#include "core/date_time.h"
#include "platform/services.h"

namespace vm {

class FiringHost {
 public:
  virtual ~FiringHost() = default;

  // The main window: owner of the firing's message boxes and of the shell starts.
  virtual WindowId MainWindow() = 0;
  // The version code of the running system (below 20: the Windows 9x family).
  virtual int VersionCode() = 0;

  // The alarm window is how a firing becomes visible: it reads the firing task from CurTask
  // when it is shown or given a row. A main window without an alarm window may answer these
  // calls with a plain message box that shows CurTask's Message.
  //
  // Creates the alarm window unless it exists.
  virtual void CreateAlarmWindow() = 0;
  virtual bool AlarmWindowVisible() = 0;
  // Shows it modally and returns once it has closed. The message loop runs meanwhile, so the
  // one-second tick runs nested inside this call; the window's close handler sets the runner's
  // ShutdownConfirm (2 after Cancel, 1 otherwise) just before it returns.
  virtual void ShowAlarmWindowModal() = 0;
  // Shows it without waiting.
  virtual void ShowAlarmWindow() = 0;
  // Adds CurTask as a further row to the visible window.
  virtual void AddAlarm() = 0;
  // Destroys the alarm window (after a modal show).
  virtual void DestroyAlarmWindow() = 0;

  // Speaks the text on a worker thread; returns at once.
  virtual void Speak(const std::string& text) = 0;
  // Refreshes the task list window's grid when that window exists.
  virtual void RefreshTaskListWindow() = 0;
  // Ends every process of the program the way the process manager window does (it is created
  // unshown for this and destroyed again, unless the user has it open). False when the main
  // window has no process manager; the firing then ends the processes itself.
  virtual bool CloseProgramThroughWindow(const std::string& programPath) { return false; }
  // A due date as the clock words it ("6 Dec 2026", with the time when asked).
  virtual std::string FormatTaskDate(DateTime value, bool withTime) = 0;
};

}  // namespace vm

#pragma once
// A timer owned by a form. It runs while it is enabled, its interval is above 0 and its form's
// window exists; its ticks come from the backend (the system's timer, or the test clock).

#include <functional>
#include <string>

#include "ui/toolkit/control.h"

namespace vm::ui {

class Timer {
 public:
  explicit Timer(Form& owner, const char* name = "Timer");
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  const std::string& Name() const { return name_; }
  // The owning form; nullptr once the form has gone (a timer kept beyond its form stays idle).
  Form* Owner() const { return owner_; }
  int Interval() const { return interval_; }
  // A new interval restarts the count; 0 (or less) stops the timer.
  void SetInterval(int ms);
  bool Enabled() const { return enabled_; }
  // Enabling a stopped timer starts a fresh interval; enabling a running one changes nothing.
  void SetEnabled(bool enabled);
  // Running now (enabled, interval above 0, window present).
  bool Running() const { return peer_ != 0; }

  std::function<void(Timer& sender)> OnTimer;

  // Called by the backend at each tick. A tick that arrives while OnTimer is still running
  // (a handler that waits in a dialog) is dropped rather than nested.
  void PeerTick();
  // Starts or stops the system timer so that it matches the fields (also called by the form
  // when its window comes and goes).
  void Update();

 private:
  friend class Form;
  Form* owner_;
  std::string name_;
  int interval_ = 1000;
  bool enabled_ = true;
  bool ticking_ = false;
  PeerHandle peer_ = 0;
};

}  // namespace vm::ui

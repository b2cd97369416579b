#pragma once
// What the clock asks of the alarm window (window number 4) beyond showing it. The alarm window
// implements it; the clock reaches it through its slot.

namespace vm {

class AlarmWindow {
 public:
  static constexpr char kTag = 0;  // names the interface (app/window_interface.h)
  // The window is visible already: CurTask becomes a further row and the whole show sequence
  // runs again for it.
  virtual void AddAlarm() = 0;
  // The sound device finished a play (the sound stands at its start again): the next signal
  // tick may play it again while plays remain.
  virtual void ArmSound() = 0;
  // New visual-style pictures were loaded.
  virtual void ApplyTheme() = 0;

 protected:
  ~AlarmWindow() = default;
};

}  // namespace vm

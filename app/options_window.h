#pragma once
// What the clock asks of the options window (window number 1). The window implements it; the
// clock reaches it through its slot.

#include <string>

namespace vm {

class OptionsWindow {
 public:
  static constexpr char kTag = 0;  // names the interface (app/window_interface.h)
  // The running date and time, shown in the window's top band (the tick, while it is visible).
  virtual void ShowCurrentTime(const std::string& dateAndTime) = 0;

 protected:
  ~OptionsWindow() = default;
};

}  // namespace vm

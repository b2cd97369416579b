#pragma once
// What the clock asks of its process manager window (window number 0) besides showing it.

#include <string>

namespace vm {

class ProcessWindow {
 public:
  static constexpr char kTag = 0;  // names the interface (app/window_interface.h)
  virtual ~ProcessWindow() = default;
  // Ends every running process whose executable file name equals the file name of
  // `programPath` (without regard to case); each one that cannot be ended is reported.
  virtual void CloseProgram(const std::string& programPath) = 0;
  // Takes the pictures of the visual style just loaded.
  virtual void ApplyTheme() = 0;
};

}  // namespace vm

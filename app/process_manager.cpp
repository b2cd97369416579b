// The clock's side of the process manager (window number 0) in a firing task.

#include "app/main_form.h"
#include "app/window_interface.h"
#include "app/process_window.h"

namespace vm {

bool TForm1::CloseProgramThroughWindow(const std::string& programPath) {
  // A process manager the user has open stays open; one made for this goes again.
  const bool wasOpen = Slots[kProcessWindow] != nullptr;
  CreateForm(kProcessWindow);
  auto* window = WindowInterface<ProcessWindow>(Slots[kProcessWindow]);
  if (!window) {
    if (!wasOpen) DeleteFormA(kProcessWindow);
    return false;
  }
  window->CloseProgram(programPath);
  if (!wasOpen) DeleteFormA(kProcessWindow);
  return true;
}

}  // namespace vm

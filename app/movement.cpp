// Moving the clock with the mouse, panel mode and the time drawn on the desktop.

#include "app/main_form.h"

namespace vm {

void TForm1::WireMovement() {}

void TForm1::AppDeactivate() {}

}  // namespace vm

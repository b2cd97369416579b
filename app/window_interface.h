#pragma once
// How the clock reaches what a secondary window implements beyond the toolkit (AlarmWindow,
// TaskEditorWindow, ...) from the window in its slot. The programs are built without the
// language's run-time type information, so each interface class has a tag, `kTag`, whose
// address names it, and the window answers for the interfaces it implements.

#include "ui/toolkit/form.h"

namespace vm {

// The window's implementation of Interface, nullptr for none (or no window).
template <class Interface>
Interface* WindowInterface(ui::Form* window) {
  return window ? static_cast<Interface*>(window->FindInterface(&Interface::kTag)) : nullptr;
}

// A window's FindInterface for its one interface: `window` as Interface for Interface's tag.
template <class Interface, class Window>
void* AnswerInterface(Window* window, const void* tag) {
  return tag == &Interface::kTag ? static_cast<Interface*>(window) : nullptr;
}

}  // namespace vm

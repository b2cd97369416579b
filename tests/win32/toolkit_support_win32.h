#pragma once
// A real Win32 backend with an application on it, and message pumping with a time limit, for the
// toolkit's Windows tests.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "ui/toolkit/backend_win32.h"
#include "ui/toolkit/toolkit.h"

namespace vm::ui::testing {

// Handles messages until `done` holds or `timeoutMs` passed; false on timeout.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

// Handles what is waiting now, for `ms` milliseconds.
inline void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

class Win32ToolkitTest : public ::testing::Test {
 protected:
  static HWND Hwnd(const Form& form) { return Win32Backend::WindowOf(form.Peer()); }
  static int Dpi(const Form& form) { return win32::WindowDpi(Hwnd(form)); }

  Win32Backend backend;
  Application app{backend};
};

}  // namespace vm::ui::testing

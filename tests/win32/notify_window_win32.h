#pragma once
// A hidden top-level window that collects the MCI completion notices sent to it, and folder
// creation for paths with blanks: what the sound playback tests need of the window system.

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/services.h"
#include "platform/wide_text_win32.h"

namespace vm::win32test {

class NotifyWindow {
 public:
  NotifyWindow() {
    static const wchar_t* const kClassName = L"VemtaroTestNotifyWindow";
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &NotifyWindow::Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);  // fails harmlessly when a test before registered it
    window_ = CreateWindowExW(0, kClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (window_ != nullptr)
      SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~NotifyWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
  }
  NotifyWindow(const NotifyWindow&) = delete;
  NotifyWindow& operator=(const NotifyWindow&) = delete;

  bool Created() const { return window_ != nullptr; }
  WindowId Id() const { return reinterpret_cast<WindowId>(window_); }

  // Pumps this thread's messages until a notice arrives or the time is up; the notice's code.
  std::optional<std::uint32_t> WaitForNotice(DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!code_) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
      if (code_) break;
      const ULONGLONG now = GetTickCount64();
      if (now >= end) break;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
    return code_;
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == MM_MCINOTIFY) {
      auto* self = reinterpret_cast<NotifyWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
      if (self != nullptr) self->code_ = static_cast<std::uint32_t>(wParam);
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
  std::optional<std::uint32_t> code_;
};

inline bool MakeFolder(const std::string& path) {
  return CreateDirectoryW(Utf8ToWide(path).c_str(), nullptr) != 0;
}

}  // namespace vm::win32test

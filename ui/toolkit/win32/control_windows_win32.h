#pragma once
// The native windows of the windowed controls: creation from the peer of the control's kind,
// the record of each window, focus and keys (alike for every kind), and the notifications a
// control sends to its parent window, handed to the control's peer. Common controls (version 6)
// make buttons, edits, lists, bars and tabs; a blank window of our own (custom_window_win32.cpp)
// serves the controls drawn by portable code.

#include "ui/toolkit/backend_win32.h"

#include <windowsx.h>

#include <optional>
#include <string>

#include "ui/toolkit/dpi.h"
#include "ui/toolkit/form_window_win32.h"

namespace vm::ui::win32 {

// The window class of the blank control window.
inline constexpr wchar_t kControlClassName[] = L"VemtaroControl";

// Creates the window of `record` (its control and peer set) inside `parent` and pushes the
// control's state; false when the system refused it (the record is gone then).
bool CreateControlWindow(WindowRecord& record, HWND parent);

// Registers the common controls' classes, once, before the first of them is made. The program
// loads the common controls library only then: a window without any (the clock) does not wait
// for it.
void EnsureCommonControls();

// A child's notification (WM_COMMAND, WM_NOTIFY, WM_HSCROLL/WM_VSCROLL, WM_DRAWITEM,
// WM_CTLCOLOR*) that concerns one of our control windows, handled; nullopt otherwise.
std::optional<LRESULT> ReflectToControl(UINT msg, WPARAM wp, LPARAM lp);

// The record of a control window of ours, or nullptr.
WindowRecord* ControlRecordOf(HWND hwnd);

// ---- for the control windows' procedures ----

// Registers a window of ours under its handle (at WM_NCCREATE or once a native one exists).
void RememberControl(HWND hwnd, WindowRecord& record);
// The window is gone (WM_NCDESTROY): its control hears nothing more.
void ForgetControl(WindowRecord& record);

// Counts a message of the window being handled; the record of a window that went meanwhile
// goes when its outermost message is done.
class MessageDepth {
 public:
  explicit MessageDepth(WindowRecord* r) : r_(r) { ++r_->depth; }
  ~MessageDepth();
  MessageDepth(const MessageDepth&) = delete;
  MessageDepth& operator=(const MessageDepth&) = delete;

 private:
  WindowRecord* r_;
};

// Focus and keys, common to every control window; true when the message was consumed.
bool HandleFocusAndKeys(WindowRecord& r, UINT msg, WPARAM wp, LRESULT& result);

// A mouse message's position in design pixels.
inline Point DesignPoint(const WindowRecord& r, LPARAM lp) {
  return {ToDesign(GET_X_LPARAM(lp), r.dpi), ToDesign(GET_Y_LPARAM(lp), r.dpi)};
}

// The application that hears about what a handler throws (nullptr: none).
Application* AppOf(const WindowRecord& r);

// The background and text colour of a check box (`edit` false: always its own or its parent's
// colour, so it sits on the window's colour) and of an edit whose colour or font colour was set.
std::optional<LRESULT> ControlColors(WindowRecord& r, HDC dc, bool edit);

// The platform's browser control inside the blank window `host` (created on first use, filling
// the host), navigated to `url` with `flags`. False when there is no browser engine or it
// refused the page; the host then stays empty.
bool NavigateBrowser(HWND host, const std::string& url, int flags);

// The blank window's class, registered on first use.
bool RegisterControlClass();

}  // namespace vm::ui::win32

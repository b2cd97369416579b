#pragma once
// The native windows of the windowed controls: common controls (version 6) for buttons, edits,
// lists, bars and tabs; a blank window of our own for the controls drawn by portable code.
// Notifications a control sends to its parent window are handed back to the control here.

#include <optional>
#include <string>

#include "ui/toolkit/backend_win32.h"

namespace vm::ui::win32 {

// A child's notification (WM_COMMAND, WM_NOTIFY, WM_HSCROLL/WM_VSCROLL, WM_DRAWITEM,
// WM_CTLCOLOR*) that concerns one of our control windows, handled; nullopt otherwise.
std::optional<LRESULT> ReflectToControl(UINT msg, WPARAM wp, LPARAM lp);

// The record of a control window of ours, or nullptr.
WindowRecord* ControlRecordOf(HWND hwnd);

// The platform's browser control inside the blank window `host` (created on first use, filling
// the host), navigated to `url` with `flags`. False when there is no browser engine or it
// refused the page; the host then stays empty.
bool NavigateBrowser(HWND host, const std::string& url, int flags);

}  // namespace vm::ui::win32

#pragma once
// What the Win32 control windows ask of the peer of their control's kind (the peers are in
// ui/toolkit/win32/*_peer_win32.cpp, listed in peers_win32.cpp).

#include <windows.h>

#include <optional>

#include "ui/toolkit/backend.h"

namespace vm::ui::win32 {

// How a kind's native window is made: its window class and styles (besides WS_CHILD,
// WS_CLIPSIBLINGS and WS_VISIBLE, which the toolkit adds).
struct NativeClass {
  const wchar_t* name;
  DWORD style = 0;
  DWORD exStyle = 0;
};

class NativePeer {
 public:
  virtual ~NativePeer() = default;
  virtual ControlPeer& Portable() = 0;
  virtual NativeClass Class() const = 0;
  // Device pixels the window reaches below the control's bounds (a combo box's open list).
  virtual int ExtraHeight() const { return 0; }
  // Pushes the control's whole state once the window exists.
  virtual void ShowAll() = 0;
  // A message to the control's own window, after focus and keys (which every control window
  // handles alike) and before the window's own handling; nullopt leaves it to the window.
  virtual std::optional<LRESULT> OwnMessage(UINT msg, WPARAM wp, LPARAM lp) { return std::nullopt; }
  // A notification about the control that its parent window got (WM_COMMAND, WM_NOTIFY,
  // WM_HSCROLL, WM_VSCROLL, WM_DRAWITEM, WM_CTLCOLOR*); nullopt: not handled.
  virtual std::optional<LRESULT> ParentMessage(UINT msg, WPARAM wp, LPARAM lp) { return std::nullopt; }
};

}  // namespace vm::ui::win32

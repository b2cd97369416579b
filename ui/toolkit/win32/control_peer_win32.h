#pragma once
// The Win32 control peers: one class per control kind (its own file here, listed in
// peers_win32.cpp), each owning the native window of its control through the window's record.

#include "ui/toolkit/win32/control_windows_win32.h"

#include <commctrl.h>

#include <memory>

#include "ui/toolkit/dpi.h"
#include "ui/toolkit/windowed_control.h"

namespace vm::ui::win32 {

// The common part of a kind's peer: `Interface` is the kind's peer interface, `Kind` the
// control class it serves. The record owns the peer and keeps it while messages of the window
// are being handled; pushes after the window went do nothing.
template <class Interface, class Kind>
class Peer : public Interface, public NativePeer {
 public:
  Peer(WindowRecord& record, WindowedControl& control) : record_(record), control_(PeerKind<Kind>(control)) {}

  PeerHandle Handle() const override { return reinterpret_cast<PeerHandle>(&record_); }
  ControlPeer& Portable() override { return *this; }
  void TextChanged() override {
    if (HWND w = Window()) SetWindowTextW(w, Widen(control_.Caption()).c_str());
  }
  void FontChanged() override {
    if (HWND w = Window())
      SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(record_.backend->Fonts().Get(control_.GetFont(), record_.dpi)), TRUE);
  }
  void BoundsChanged() override {
    HWND w = Window();
    if (!w) return;
    const RECT r = ToDeviceRect(control_.Bounds(), record_.dpi);
    SetWindowPos(w, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top + ExtraHeight(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void ShowAll() override {
    FontChanged();
    TextChanged();
  }

 protected:
  // The window, nullptr once it is gone.
  HWND Window() const { return record_.dead ? nullptr : record_.hwnd; }
  // Whether the control still has its window (a handler may have taken it away).
  bool Live() const { return record_.control && !record_.dead; }
  int Px(int design) const { return ToDevice(design, record_.dpi); }
  // The system's own handling of a message to a native control's window.
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefSubclassProc(record_.hwnd, msg, wp, lp); }

  WindowRecord& record_;
  Kind& control_;
};

using PeerFactory = std::unique_ptr<NativePeer>(WindowRecord& record, WindowedControl& control);

}  // namespace vm::ui::win32

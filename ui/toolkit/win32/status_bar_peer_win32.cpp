// The status bar: the common control with one simple text; the toolkit places it.
#include "ui/toolkit/win32/control_peer_win32.h"

#include <string>

#include "ui/toolkit/std_controls.h"

namespace vm::ui::win32 {

namespace {

class StatusBarPeerWin32 final : public Peer<ControlPeer, StatusBar> {
 public:
  using Peer::Peer;
  NativeClass Class() const override { return {STATUSCLASSNAMEW, CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER}; }
  void TextChanged() override {
    HWND w = Window();
    if (!w) return;
    const std::wstring text = Widen(control_.SimpleText());
    SendMessageW(w, SB_SIMPLE, TRUE, 0);
    SendMessageW(w, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
  }
};

}  // namespace

std::unique_ptr<NativePeer> MakeStatusBarPeer(WindowRecord& record, WindowedControl& control) {
  return std::make_unique<StatusBarPeerWin32>(record, control);
}

}  // namespace vm::ui::win32

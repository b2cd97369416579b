// The push button: the system's BUTTON; its click is the control's PeerClicked.
#include "ui/toolkit/win32/control_peer_win32.h"

#include "ui/toolkit/std_controls.h"

namespace vm::ui::win32 {

namespace {

class ButtonPeerWin32 final : public Peer<ControlPeer, Button> {
 public:
  using Peer::Peer;
  NativeClass Class() const override { return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON}; }
  std::optional<LRESULT> ParentMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg != WM_COMMAND) return std::nullopt;
    if (HIWORD(wp) == BN_CLICKED) control_.PeerClicked();
    return 0;
  }
};

}  // namespace

std::unique_ptr<NativePeer> MakeButtonPeer(WindowRecord& record, WindowedControl& control) {
  return std::make_unique<ButtonPeerWin32>(record, control);
}

}  // namespace vm::ui::win32

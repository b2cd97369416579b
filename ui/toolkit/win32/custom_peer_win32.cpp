// The controls drawn by portable code (panels, grids, splitters, pages ...): the blank window of
// our own class (custom_window_win32.cpp).
#include "ui/toolkit/win32/control_peer_win32.h"

namespace vm::ui::win32 {

namespace {

class CustomPeerWin32 final : public Peer<ControlPeer, WindowedControl> {
 public:
  using Peer::Peer;
  NativeClass Class() const override { return {kControlClassName, WS_CLIPCHILDREN | WS_TABSTOP}; }
};

}  // namespace

std::unique_ptr<NativePeer> MakeCustomPeer(WindowRecord& record, WindowedControl& control) {
  return std::make_unique<CustomPeerWin32>(record, control);
}

}  // namespace vm::ui::win32

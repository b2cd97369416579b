// The check box: the system's BUTTON (BS_CHECKBOX, so the mark follows the control's field);
// its colours are the control's.
#include "ui/toolkit/win32/control_peer_win32.h"

#include "ui/toolkit/std_controls.h"

namespace vm::ui::win32 {

namespace {

class CheckBoxPeerWin32 final : public Peer<CheckBoxPeer, CheckBox> {
 public:
  using Peer::Peer;
  NativeClass Class() const override { return {L"BUTTON", WS_TABSTOP | BS_CHECKBOX}; }
  void CheckedChanged() override {
    if (HWND w = Window()) SendMessageW(w, BM_SETCHECK, control_.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  void ShowAll() override {
    Peer::ShowAll();
    CheckedChanged();
  }
  std::optional<LRESULT> OwnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg != WM_LBUTTONDOWN && msg != WM_LBUTTONUP) return std::nullopt;
    // The box's own press comes first; its click (BN_CLICKED) arrives while the system handles
    // the release, and the release is reported after it.
    const Point at = DesignPoint(record_, lp);
    if (msg == WM_LBUTTONDOWN) control_.PeerMouseDown(MouseButton::Left, CurrentShiftState(), at);
    const LRESULT def = Default(msg, wp, lp);
    if (msg == WM_LBUTTONUP && Live()) control_.PeerMouseUp(MouseButton::Left, CurrentShiftState(), at);
    return def;
  }
  std::optional<LRESULT> ParentMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED) control_.PeerClicked();
        return 0;
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN:
        return ControlColors(record_, reinterpret_cast<HDC>(wp), false);
      default:
        return std::nullopt;
    }
  }
};

}  // namespace

std::unique_ptr<NativePeer> MakeCheckBoxPeer(WindowRecord& record, WindowedControl& control) {
  return std::make_unique<CheckBoxPeerWin32>(record, control);
}

}  // namespace vm::ui::win32

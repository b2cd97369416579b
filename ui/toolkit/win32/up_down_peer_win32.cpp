// The up-down arrows: the common control, which never moves or resizes its buddy itself (the
// portable bounds stay true); a press asks the control, which keeps the position.
#include "ui/toolkit/win32/control_peer_win32.h"

#include "ui/toolkit/range_controls.h"
#include "ui/toolkit/std_controls.h"

namespace vm::ui::win32 {

namespace {

class UpDownPeerWin32 final : public Peer<UpDownPeer, UpDown> {
 public:
  using Peer::Peer;
  NativeClass Class() const override {
    return {UPDOWN_CLASSW, static_cast<DWORD>((control_.ArrowKeys() ? UDS_ARROWKEYS : 0) | (control_.Wrap() ? UDS_WRAP : 0))};
  }
  void TextChanged() override {}
  void PositionChanged() override {
    if (HWND w = Window()) SendMessageW(w, UDM_SETPOS32, 0, control_.Position());
  }
  void RangeChanged() override {
    if (HWND w = Window()) SendMessageW(w, UDM_SETRANGE32, static_cast<WPARAM>(control_.Min()), control_.Max());
  }
  void StyleChanged() override {
    HWND w = Window();
    if (!w) return;
    LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE) &
                     ~static_cast<LONG_PTR>(UDS_ARROWKEYS | UDS_ALIGNLEFT | UDS_ALIGNRIGHT | UDS_WRAP);
    if (control_.ArrowKeys()) style |= UDS_ARROWKEYS;
    if (control_.Wrap()) style |= UDS_WRAP;
    SetWindowLongPtrW(w, GWL_STYLE, style);
    const Edit* associate = control_.Associate();
    const auto* buddy = associate ? reinterpret_cast<const WindowRecord*>(associate->Peer()) : nullptr;
    SendMessageW(w, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy && !buddy->dead ? buddy->hwnd : nullptr), 0);
  }
  void ShowAll() override {
    FontChanged();
    StyleChanged();
    RangeChanged();
    PositionChanged();
  }
  std::optional<LRESULT> ParentMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lp)->code != UDN_DELTAPOS) return std::nullopt;
    const auto* nm = reinterpret_cast<const NMUPDOWN*>(lp);
    control_.PeerSpin(nm->iDelta > 0 ? UpDownDirection::Up : UpDownDirection::Down);
    return 1;  // the control keeps its position; the portable one is pushed back to it
  }
};

}  // namespace

std::unique_ptr<NativePeer> MakeUpDownPeer(WindowRecord& record, WindowedControl& control) {
  return std::make_unique<UpDownPeerWin32>(record, control);
}

}  // namespace vm::ui::win32

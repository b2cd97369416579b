// The track bar: the common control with automatic ticks; the thumb's moves come to the parent
// as scroll reports.
#include "ui/toolkit/win32/control_peer_win32.h"

#include "ui/toolkit/range_controls.h"

namespace vm::ui::win32 {

namespace {

class TrackBarPeerWin32 final : public Peer<TrackBarPeer, TrackBar> {
 public:
  using Peer::Peer;
  NativeClass Class() const override {
    const bool vertical = control_.GetOrientation() == Orientation::Vertical;
    return {TRACKBAR_CLASSW, static_cast<DWORD>(WS_TABSTOP | TBS_AUTOTICKS | (vertical ? TBS_VERT : TBS_HORZ))};
  }
  void TextChanged() override {}
  void PositionChanged() override {
    if (HWND w = Window()) SendMessageW(w, TBM_SETPOS, TRUE, control_.Position());
  }
  void RangeChanged() override {
    HWND w = Window();
    if (!w) return;
    SendMessageW(w, TBM_SETRANGEMIN, FALSE, control_.Min());
    SendMessageW(w, TBM_SETRANGEMAX, TRUE, control_.Max());
    SendMessageW(w, TBM_SETTICFREQ, static_cast<WPARAM>(control_.Frequency()), 0);
  }
  void ShowAll() override {
    FontChanged();
    RangeChanged();
    PositionChanged();
  }
  std::optional<LRESULT> ParentMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg != WM_HSCROLL && msg != WM_VSCROLL) return std::nullopt;
    control_.PeerPositionChanged(static_cast<int>(SendMessageW(record_.hwnd, TBM_GETPOS, 0, 0)));
    return 0;
  }
};

}  // namespace

std::unique_ptr<NativePeer> MakeTrackBarPeer(WindowRecord& record, WindowedControl& control) {
  return std::make_unique<TrackBarPeerWin32>(record, control);
}

}  // namespace vm::ui::win32

// The headless track bar: the thumb's position (in `index`) and the range pushes.
#include "ui/toolkit/headless/headless_peer.h"
#include "ui/toolkit/range_controls.h"

namespace vm::ui {

namespace {

class TrackBarPeerHeadless final : public HeadlessPeer<TrackBarPeer, TrackBar> {
 public:
  using HeadlessPeer::HeadlessPeer;
  void PositionChanged() override {
    Count("PositionChanged");
    state_.index = control_.Position();
  }
  void RangeChanged() override { Count("RangeChanged"); }
  void ShowAll() override {
    TextChanged();
    RangeChanged();
    PositionChanged();
  }
};

}  // namespace

std::unique_ptr<HeadlessPeerBase> MakeHeadlessTrackBarPeer(const HeadlessPeerSite& site, WindowedControl& control) {
  return std::make_unique<TrackBarPeerHeadless>(site, control);
}

}  // namespace vm::ui

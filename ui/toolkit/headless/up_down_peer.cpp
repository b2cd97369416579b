// The headless up-down arrows: the position (in `index`), range and style pushes.
#include "ui/toolkit/headless/headless_peer.h"
#include "ui/toolkit/range_controls.h"

namespace vm::ui {

namespace {

class UpDownPeerHeadless final : public HeadlessPeer<UpDownPeer, UpDown> {
 public:
  using HeadlessPeer::HeadlessPeer;
  void PositionChanged() override {
    Count("PositionChanged");
    state_.index = control_.Position();
  }
  void RangeChanged() override { Count("RangeChanged"); }
  void StyleChanged() override { Count("StyleChanged"); }
  void ShowAll() override {
    TextChanged();
    StyleChanged();
    RangeChanged();
    PositionChanged();
  }
};

}  // namespace

std::unique_ptr<HeadlessPeerBase> MakeHeadlessUpDownPeer(const HeadlessPeerSite& site, WindowedControl& control) {
  return std::make_unique<UpDownPeerHeadless>(site, control);
}

}  // namespace vm::ui

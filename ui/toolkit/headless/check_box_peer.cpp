// The headless check box: caption and check mark, and the user's click.
#include "ui/toolkit/headless/headless_peer.h"
#include "ui/toolkit/std_controls.h"

namespace vm::ui {

namespace {

class CheckBoxPeerHeadless final : public HeadlessPeer<CheckBoxPeer, CheckBox> {
 public:
  using HeadlessPeer::HeadlessPeer;
  void CheckedChanged() override {
    Count("CheckedChanged");
    state_.checked = control_.Checked();
  }
  void ShowAll() override {
    TextChanged();
    CheckedChanged();
  }
  bool TakesClicks() const override { return true; }
  void Clicked() override { control_.PeerClicked(); }
};

}  // namespace

std::unique_ptr<HeadlessPeerBase> MakeHeadlessCheckBoxPeer(const HeadlessPeerSite& site, WindowedControl& control) {
  return std::make_unique<CheckBoxPeerHeadless>(site, control);
}

}  // namespace vm::ui

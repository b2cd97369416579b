// The headless push button: its caption, and the user's click.
#include "ui/toolkit/headless/headless_peer.h"
#include "ui/toolkit/std_controls.h"

namespace vm::ui {

namespace {

class ButtonPeerHeadless final : public HeadlessPeer<ControlPeer, Button> {
 public:
  using HeadlessPeer::HeadlessPeer;
  bool TakesClicks() const override { return true; }
  void Clicked() override { control_.PeerClicked(); }
};

}  // namespace

std::unique_ptr<HeadlessPeerBase> MakeHeadlessButtonPeer(const HeadlessPeerSite& site, WindowedControl& control) {
  return std::make_unique<ButtonPeerHeadless>(site, control);
}

}  // namespace vm::ui

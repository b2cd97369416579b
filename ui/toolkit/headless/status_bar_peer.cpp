// The headless status bar: its simple text.
#include "ui/toolkit/headless/headless_peer.h"
#include "ui/toolkit/std_controls.h"

namespace vm::ui {

std::unique_ptr<HeadlessPeerBase> MakeHeadlessStatusBarPeer(const HeadlessPeerSite& site, WindowedControl& control) {
  return std::make_unique<HeadlessPeer<ControlPeer, StatusBar>>(site, control);
}

}  // namespace vm::ui

// The headless blank window of the controls drawn by portable code (panels, grids ...): its
// caption; paint and mouse are simulated through HeadlessBackend.
#include "ui/toolkit/headless/headless_peer.h"

namespace vm::ui {

std::unique_ptr<HeadlessPeerBase> MakeHeadlessCustomPeer(const HeadlessPeerSite& site, WindowedControl& control) {
  return std::make_unique<HeadlessPeer<ControlPeer, WindowedControl>>(site, control);
}

}  // namespace vm::ui

// The headless edit and memo: the text shown and the style pushes (typing is
// HeadlessBackend::TypeText).
#include "ui/toolkit/headless/headless_peer.h"
#include "ui/toolkit/std_controls.h"

namespace vm::ui {

namespace {

class EditPeerHeadless final : public HeadlessPeer<EditPeer, Edit> {
 public:
  using HeadlessPeer::HeadlessPeer;
  void StyleChanged() override { Count("StyleChanged"); }
  void ShowAll() override {
    TextChanged();
    StyleChanged();
  }
};

}  // namespace

std::unique_ptr<HeadlessPeerBase> MakeHeadlessEditPeer(const HeadlessPeerSite& site, WindowedControl& control) {
  return std::make_unique<EditPeerHeadless>(site, control);
}

}  // namespace vm::ui

// The headless combo box (and colour box): items, the chosen one, whether the list is open.
#include "ui/toolkit/headless/headless_peer.h"
#include "ui/toolkit/std_controls.h"

namespace vm::ui {

namespace {

class ComboBoxPeerHeadless final : public HeadlessPeer<ComboBoxPeer, ComboBox> {
 public:
  using HeadlessPeer::HeadlessPeer;
  void ItemsChanged() override {
    Count("ItemsChanged");
    state_.itemCount = control_.ItemCount();
  }
  void SelectionChanged() override {
    Count("SelectionChanged");
    state_.index = control_.ItemIndex();
    state_.droppedDown = control_.DroppedDown();
  }
  void ShowAll() override {
    TextChanged();
    ItemsChanged();
    SelectionChanged();
  }
};

}  // namespace

std::unique_ptr<HeadlessPeerBase> MakeHeadlessComboBoxPeer(const HeadlessPeerSite& site, WindowedControl& control) {
  return std::make_unique<ComboBoxPeerHeadless>(site, control);
}

}  // namespace vm::ui

// The headless tabs of a page control: how many (in `itemCount`) and the active one (`index`).
#include "ui/toolkit/headless/headless_peer.h"
#include "ui/toolkit/page_control.h"

namespace vm::ui {

namespace {

class PageControlPeerHeadless final : public HeadlessPeer<PageControlPeer, PageControl> {
 public:
  using HeadlessPeer::HeadlessPeer;
  void TabsChanged() override {
    Count("TabsChanged");
    state_.itemCount = control_.PageCount();
  }
  void ActivePageChanged() override {
    Count("ActivePageChanged");
    state_.index = control_.ActivePageIndex();
  }
  void StyleChanged() override { Count("StyleChanged"); }
  void ShowAll() override {
    TextChanged();
    StyleChanged();
    TabsChanged();
    ActivePageChanged();
  }
};

}  // namespace

std::unique_ptr<HeadlessPeerBase> MakeHeadlessPageControlPeer(const HeadlessPeerSite& site, WindowedControl& control) {
  return std::make_unique<PageControlPeerHeadless>(site, control);
}

}  // namespace vm::ui

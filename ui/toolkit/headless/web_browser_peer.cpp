// The headless browser area: the page shown is the last one asked for (in `text`); an engine
// (HeadlessBackend::SetBrowserEngine) takes any non-empty address.
#include "ui/toolkit/headless/headless_peer.h"
#include "ui/toolkit/web_browser.h"

namespace vm::ui {

namespace {

class WebBrowserPeerHeadless final : public HeadlessPeer<WebBrowserPeer, WebBrowser> {
 public:
  using HeadlessPeer::HeadlessPeer;
  void PageChanged() override {
    Count("PageChanged");
    state_.text = control_.Url();
    control_.PeerHosted(backend_.BrowserEngine() && !control_.Url().empty());
  }
  void ShowAll() override {
    TextChanged();
    PageChanged();
  }
};

}  // namespace

std::unique_ptr<HeadlessPeerBase> MakeHeadlessWebBrowserPeer(const HeadlessPeerSite& site, WindowedControl& control) {
  return std::make_unique<WebBrowserPeerHeadless>(site, control);
}

}  // namespace vm::ui

// The browser area: a blank window of our own that hosts the system's browser control
// (browser_host_win32.cpp) once a page is shown, filling it.
#include "ui/toolkit/win32/control_peer_win32.h"

#include "ui/toolkit/web_browser.h"

namespace vm::ui::win32 {

namespace {

class WebBrowserPeerWin32 final : public Peer<WebBrowserPeer, WebBrowser> {
 public:
  using Peer::Peer;
  NativeClass Class() const override { return {kControlClassName, WS_CLIPCHILDREN}; }
  void PageChanged() override {
    HWND w = Window();
    if (w && !control_.Url().empty()) control_.PeerHosted(NavigateBrowser(w, control_.Url(), control_.NavigateFlags()));
  }
  void ShowAll() override {
    Peer::ShowAll();
    PageChanged();
  }
  std::optional<LRESULT> OwnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_SIZE)
      if (HWND child = GetWindow(record_.hwnd, GW_CHILD)) MoveWindow(child, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
    return std::nullopt;
  }
};

}  // namespace

std::unique_ptr<NativePeer> MakeWebBrowserPeer(WindowRecord& record, WindowedControl& control) {
  return std::make_unique<WebBrowserPeerWin32>(record, control);
}

}  // namespace vm::ui::win32

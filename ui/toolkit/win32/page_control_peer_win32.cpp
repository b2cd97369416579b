// The page control: the system's tab control, one tab per page; the pages are windows of their
// own inside it.
#include "ui/toolkit/win32/control_peer_win32.h"

#include <string>

#include "ui/toolkit/page_control.h"

namespace vm::ui::win32 {

namespace {

class PageControlPeerWin32 final : public Peer<PageControlPeer, PageControl> {
 public:
  using Peer::Peer;
  NativeClass Class() const override { return {WC_TABCONTROLW, WS_TABSTOP | WS_CLIPCHILDREN}; }
  void TabsChanged() override {
    HWND w = Window();
    if (!w) return;
    SendMessageW(w, TCM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < control_.PageCount(); ++i) {
      std::wstring caption = Widen(control_.Page(i)->Caption());
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = caption.data();
      SendMessageW(w, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    ActivePageChanged();
  }
  void ActivePageChanged() override {
    if (HWND w = Window()) SendMessageW(w, TCM_SETCURSEL, static_cast<WPARAM>(control_.ActivePageIndex()), 0);
  }
  void StyleChanged() override {
    HWND w = Window();
    if (!w) return;
    LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE) & ~static_cast<LONG_PTR>(TCS_FIXEDWIDTH);
    if (control_.TabWidth() > 0) style |= TCS_FIXEDWIDTH;
    SetWindowLongPtrW(w, GWL_STYLE, style);
    if (control_.TabWidth() > 0)
      SendMessageW(w, TCM_SETITEMSIZE, 0, MAKELPARAM(Px(control_.TabWidth()), Px(PageControl::kTabHeight - 4)));
  }
  void ShowAll() override {
    FontChanged();
    StyleChanged();
    TabsChanged();
    TextChanged();
    ActivePageChanged();
  }
  std::optional<LRESULT> ParentMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lp)->code == TCN_SELCHANGE)
      control_.PeerTabSelected(static_cast<int>(SendMessageW(record_.hwnd, TCM_GETCURSEL, 0, 0)));
    return std::nullopt;
  }
};

}  // namespace

std::unique_ptr<NativePeer> MakePageControlPeer(WindowRecord& record, WindowedControl& control) {
  return std::make_unique<PageControlPeerWin32>(record, control);
}

}  // namespace vm::ui::win32

// The combo box and the colour box: the system's COMBOBOX, whose window reaches over its open
// list; the colour box draws its items as a swatch with the colour's name.
#include "ui/toolkit/win32/control_peer_win32.h"

#include <string>

#include "ui/toolkit/std_controls.h"

namespace vm::ui::win32 {

namespace {

class ComboBoxPeerWin32 : public Peer<ComboBoxPeer, ComboBox> {
 public:
  using Peer::Peer;
  NativeClass Class() const override {
    const bool list = control_.Style() == ComboStyle::DropDownList;
    return {L"COMBOBOX", static_cast<DWORD>(WS_TABSTOP | WS_VSCROLL | (list ? CBS_DROPDOWNLIST : CBS_DROPDOWN))};
  }
  int ExtraHeight() const override { return Px(20 * control_.DropDownCount()); }
  void TextChanged() override {
    if (control_.Style() != ComboStyle::DropDownList) Peer::TextChanged();  // a list has no edit part
  }
  void FontChanged() override {
    Peer::FontChanged();
    if (HWND w = Window()) SendMessageW(w, CB_SETITEMHEIGHT, 0, Px(18));
  }
  void ItemsChanged() override {
    HWND w = Window();
    if (!w) return;
    SendMessageW(w, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : control_.Items()) {
      const std::wstring text = Widen(item);
      SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SelectionChanged();
  }
  void SelectionChanged() override {
    HWND w = Window();
    if (!w) return;
    SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(control_.ItemIndex()), 0);
    if (control_.DroppedDown() != (SendMessageW(w, CB_GETDROPPEDSTATE, 0, 0) != 0) && IsWindowVisible(w))
      SendMessageW(w, CB_SHOWDROPDOWN, control_.DroppedDown() ? TRUE : FALSE, 0);
  }
  void ShowAll() override {
    FontChanged();
    ItemsChanged();
    TextChanged();
    SelectionChanged();
  }
  std::optional<LRESULT> ParentMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg != WM_COMMAND) return std::nullopt;
    switch (HIWORD(wp)) {
      case CBN_SELCHANGE: control_.PeerSelected(static_cast<int>(SendMessageW(record_.hwnd, CB_GETCURSEL, 0, 0))); break;
      case CBN_DROPDOWN: control_.PeerDropDown(true); break;
      case CBN_CLOSEUP: control_.PeerDropDown(false); break;
      default: break;
    }
    return 0;
  }
};

class ColorBoxPeerWin32 final : public ComboBoxPeerWin32 {
 public:
  ColorBoxPeerWin32(WindowRecord& record, WindowedControl& control)
      : ComboBoxPeerWin32(record, control), box_(PeerKind<ColorBox>(control)) {}
  NativeClass Class() const override {
    return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS};
  }
  void TextChanged() override {}  // the chosen colour's name is an item
  std::optional<LRESULT> ParentMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_DRAWITEM) return DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    return ComboBoxPeerWin32::ParentMessage(msg, wp, lp);
  }

 private:
  LRESULT DrawItem(const DRAWITEMSTRUCT& dis) {
    const bool selected = (dis.itemState & ODS_SELECTED) != 0;
    FillRect(dis.hDC, &dis.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (dis.itemID == static_cast<UINT>(-1) || dis.itemID >= box_.Colors().size()) return TRUE;
    const NamedColor& item = box_.Colors()[dis.itemID];
    const int pad = Px(2);
    const int h = dis.rcItem.bottom - dis.rcItem.top - 2 * pad;
    RECT swatch{dis.rcItem.left + pad, dis.rcItem.top + pad, dis.rcItem.left + pad + h * 3 / 2, dis.rcItem.bottom - pad};
    HBRUSH brush = CreateSolidBrush(ToColorRef(record_.backend->Colors().ToRgb(item.color)));
    FillRect(dis.hDC, &swatch, brush);
    DeleteObject(brush);
    FrameRect(dis.hDC, &swatch, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RECT text = dis.rcItem;
    text.left = swatch.right + pad * 2;
    SetBkMode(dis.hDC, TRANSPARENT);
    SetTextColor(dis.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const std::wstring name = Widen(item.name);
    DrawTextW(dis.hDC, name.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    return TRUE;
  }
  ColorBox& box_;
};

}  // namespace

std::unique_ptr<NativePeer> MakeComboBoxPeer(WindowRecord& record, WindowedControl& control) {
  return std::make_unique<ComboBoxPeerWin32>(record, control);
}

std::unique_ptr<NativePeer> MakeColorBoxPeer(WindowRecord& record, WindowedControl& control) {
  return std::make_unique<ColorBoxPeerWin32>(record, control);
}

}  // namespace vm::ui::win32

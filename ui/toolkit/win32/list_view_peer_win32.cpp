// The list view: the system's list view in report style with a header. Row changes reach the
// window one by one, so that it keeps its scroll position, selection and picture; the small
// images are the system's copies of the control's.
#include "ui/toolkit/win32/control_peer_win32.h"

#include <algorithm>
#include <string>

#include "ui/toolkit/image_list.h"
#include "ui/toolkit/list_view.h"

namespace vm::ui::win32 {

namespace {

class ListViewPeerWin32 final : public Peer<ListViewPeer, ListView> {
 public:
  using Peer::Peer;
  ~ListViewPeerWin32() override {
    if (images_) ImageList_Destroy(images_);
  }

  NativeClass Class() const override {
    return {WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE};
  }
  void TextChanged() override {}

  void ColumnsChanged() override {
    HWND w = Window();
    if (!w) return;
    HWND header = reinterpret_cast<HWND>(SendMessageW(w, LVM_GETHEADER, 0, 0));
    const int count = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = count - 1; i >= 0; --i) SendMessageW(w, LVM_DELETECOLUMN, static_cast<WPARAM>(i), 0);
    int i = 0;
    for (const ListColumn& column : control_.Columns()) {
      std::wstring caption = Widen(column.caption);
      LVCOLUMNW col{};
      col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
      col.fmt = column.align == TextAlign::Right ? LVCFMT_RIGHT : column.align == TextAlign::Center ? LVCFMT_CENTER : LVCFMT_LEFT;
      if (i == 0) col.fmt = LVCFMT_LEFT;  // the first column is always left-aligned by the system
      col.cx = Px(column.width);
      col.pszText = caption.data();
      SendMessageW(w, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i++), reinterpret_cast<LPARAM>(&col));
    }
  }

  void RowsChanged() override {
    HWND w = Window();
    if (!w) return;
    SendMessageW(w, WM_SETREDRAW, FALSE, 0);
    SendMessageW(w, LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < control_.ItemCount(); ++i) {
      const ListItem& li = control_.Item(i);
      std::wstring caption = Widen(li.caption);
      LVITEMW item{};
      item.mask = LVIF_TEXT | (images_ ? LVIF_IMAGE : 0);
      item.iItem = i;
      item.pszText = caption.data();
      item.iImage = li.imageIndex;
      SendMessageW(w, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
      for (std::size_t s = 0; s < li.subItems.size(); ++s) {
        std::wstring sub = Widen(li.subItems[s]);
        LVITEMW subItem{};
        subItem.iSubItem = static_cast<int>(s + 1);
        subItem.pszText = sub.data();
        SendMessageW(w, LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&subItem));
      }
    }
    SelectionChanged();
    SendMessageW(w, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(w, nullptr, TRUE);
  }

  void RowInserted(int index) override {
    HWND w = Window();
    if (!w) return;
    const int held = Held();
    if (index < 0 || index > held || held + 1 != control_.ItemCount()) return RowsChanged();
    SyncImages();
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(L"");
    if (SendMessageW(w, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) != index) return RowsChanged();
    SetRowTexts(index);
  }

  void RowDeleted(int index) override {
    HWND w = Window();
    if (!w) return;
    const int held = Held();
    if (index < 0 || index >= held || held - 1 != control_.ItemCount()) return RowsChanged();
    SendMessageW(w, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    SyncImages();
  }

  void RowChanged(int index, int column) override {
    HWND w = Window();
    if (!w) return;
    const int held = Held();
    if (index < 0 || index >= held || held != control_.ItemCount()) return RowsChanged();
    if (column > 0) {
      // One sub-item: a text without a column is not shown, so the window keeps nothing.
      if (static_cast<std::size_t>(column) >= control_.Columns().size()) return;
      const ListItem& li = control_.Item(index);
      const auto sub = static_cast<std::size_t>(column - 1);
      std::wstring text = sub < li.subItems.size() ? Widen(li.subItems[sub]) : std::wstring();
      LVITEMW subItem{};
      subItem.iSubItem = column;
      subItem.pszText = text.data();
      SendMessageW(w, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&subItem));
      return;
    }
    SyncImages();
    SetRowTexts(index);
  }

  void SelectionChanged() override {
    HWND w = Window();
    if (!w) return;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    SendMessageW(w, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    const int selected = control_.ItemIndex();
    if (selected < 0) return;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(w, LVM_SETITEMSTATE, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&item));
    SendMessageW(w, LVM_ENSUREVISIBLE, static_cast<WPARAM>(selected), FALSE);
  }

  void StyleChanged() override {
    HWND w = Window();
    if (!w) return;
    const DWORD ex = LVS_EX_DOUBLEBUFFER | (control_.RowSelect() ? LVS_EX_FULLROWSELECT : 0);
    SendMessageW(w, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER, ex);
    PushImages();
  }

  void FontChanged() override {
    Peer::FontChanged();
    PushColors();
  }

  void ShowAll() override {
    if (HWND w = Window()) SendMessageW(w, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_DOUBLEBUFFER);
    FontChanged();
    StyleChanged();
    ColumnsChanged();
    RowsChanged();
    SelectionChanged();
  }

  std::optional<LRESULT> OwnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_PAINT:
        // A colour set in code only asks for a repaint: it reaches the window here.
        PushColors();
        return std::nullopt;
      case WM_NOTIFY:
        return ClampHeader(lp);
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN: {
        // The list view selects the row under the pointer first (a right press returns once the
        // button is up again), then the press is reported.
        const ShiftState shift = CurrentShiftState();
        const LRESULT def = Default(msg, wp, lp);
        if (Live())
          control_.PeerMouseDown(msg == WM_LBUTTONDOWN ? MouseButton::Left : MouseButton::Right, shift,
                                 DesignPoint(record_, lp));
        return def;
      }
      case WM_LBUTTONDBLCLK: {
        const LRESULT def = Default(msg, wp, lp);
        if (Live()) control_.PeerDoubleClick();
        return def;
      }
      default:
        return std::nullopt;
    }
  }

  std::optional<LRESULT> ParentMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg != WM_NOTIFY) return std::nullopt;
    const auto* nm = reinterpret_cast<const NMLISTVIEW*>(lp);
    if (nm->hdr.code == LVN_COLUMNCLICK) {
      control_.PeerColumnClicked(nm->iSubItem);
      return 0;
    }
    if (nm->hdr.code == LVN_ITEMCHANGED) {
      if ((nm->uChanged & LVIF_STATE) && ((nm->uNewState ^ nm->uOldState) & LVIS_SELECTED)) {
        const int selected =
            static_cast<int>(SendMessageW(record_.hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        control_.PeerItemSelected(selected);
      }
      return 0;
    }
    return std::nullopt;
  }

 private:
  int Held() const { return static_cast<int>(SendMessageW(record_.hwnd, LVM_GETITEMCOUNT, 0, 0)); }

  // The header's drag of a column border: a width beyond the column's limits is refused.
  std::optional<LRESULT> ClampHeader(LPARAM lp) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
    if (hdr->code != HDN_ITEMCHANGINGW && hdr->code != HDN_ITEMCHANGINGA) return std::nullopt;
    const auto* nm = reinterpret_cast<const NMHEADERW*>(lp);
    if (!nm->pitem || !(nm->pitem->mask & HDI_WIDTH)) return std::nullopt;
    const int asked = ToDesign(nm->pitem->cxy, record_.dpi);
    const int kept = control_.PeerColumnResized(nm->iItem, asked);
    return kept != asked ? TRUE : FALSE;
  }

  // The background and text colours of the rows, from the control's colour and font colour;
  // sent only when they changed.
  void PushColors() {
    HWND w = Window();
    if (!w) return;
    const ColorResolver& colors = record_.backend->Colors();
    const auto back = static_cast<COLORREF>(colors.ToRgb(control_.GetColor()));
    const auto text = static_cast<COLORREF>(colors.ToRgb(control_.GetFont().color));
    if (pushedColors_ && back == pushedBack_ && text == pushedText_) return;
    SendMessageW(w, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(back));
    SendMessageW(w, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(back));
    SendMessageW(w, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(text));
    pushedColors_ = true;
    pushedBack_ = back;
    pushedText_ = text;
    InvalidateRect(w, nullptr, TRUE);
  }

  void AddImage(const Bitmap& picture) {
    void* bits = nullptr;
    HBITMAP dib = CreateDibFrom(picture, &bits);
    if (!dib) return;
    ImageList_Add(images_, dib, nullptr);
    DeleteObject(dib);
  }

  void PushImages() {
    if (images_) {
      SendMessageW(record_.hwnd, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
      ImageList_Destroy(images_);
      images_ = nullptr;
    }
    const ImageList* images = control_.SmallImages();
    if (!images || images->Count() == 0) return;
    images_ = ImageList_Create(images->Width(), images->Height(), ILC_COLOR32, images->Count(), 0);
    for (int i = 0; i < images->Count(); ++i) AddImage(images->GetBitmap(i));
    SendMessageW(record_.hwnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_));
  }

  // The small images the window holds follow the list's: new pictures are appended, a list that
  // lost pictures is copied again.
  void SyncImages() {
    const ImageList* images = control_.SmallImages();
    if (!images) return;
    const int held = images_ ? ImageList_GetImageCount(images_) : 0;
    if (held == images->Count()) return;
    if (!images_ || held > images->Count()) return PushImages();
    for (int i = held; i < images->Count(); ++i) AddImage(images->GetBitmap(i));
  }

  // Caption, image and every column's text of the window's row `index`.
  void SetRowTexts(int index) {
    const ListItem& li = control_.Item(index);
    std::wstring caption = Widen(li.caption);
    LVITEMW item{};
    item.mask = LVIF_TEXT | (control_.SmallImages() ? LVIF_IMAGE : 0);
    item.iItem = index;
    item.pszText = caption.data();
    item.iImage = li.imageIndex;
    SendMessageW(record_.hwnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    const std::size_t columns = std::max(li.subItems.size() + 1, control_.Columns().size());
    for (std::size_t s = 1; s < columns; ++s) {
      std::wstring sub = s - 1 < li.subItems.size() ? Widen(li.subItems[s - 1]) : std::wstring();
      LVITEMW subItem{};
      subItem.iSubItem = static_cast<int>(s);
      subItem.pszText = sub.data();
      SendMessageW(record_.hwnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&subItem));
    }
  }

  HIMAGELIST images_ = nullptr;  // the small images as the system holds them
  bool pushedColors_ = false;
  COLORREF pushedBack_ = 0, pushedText_ = 0;
};

}  // namespace

std::unique_ptr<NativePeer> MakeListViewPeer(WindowRecord& record, WindowedControl& control) {
  return std::make_unique<ListViewPeerWin32>(record, control);
}

}  // namespace vm::ui::win32

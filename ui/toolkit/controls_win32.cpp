#include "ui/toolkit/controls_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <unordered_map>

#include "ui/toolkit/application.h"
#include "ui/toolkit/dpi.h"
#include "ui/toolkit/form_window_win32.h"
#include "ui/toolkit/image_list.h"
#include "ui/toolkit/list_view.h"
#include "ui/toolkit/page_control.h"
#include "ui/toolkit/range_controls.h"
#include "ui/toolkit/std_controls.h"
#include "ui/toolkit/web_browser.h"

namespace vm::ui {

using win32::WindowRecord;

namespace win32 {
namespace {

constexpr wchar_t kControlClassName[] = L"VemtaroControl";
constexpr UINT_PTR kSubclassId = 0x564D;  // "VM"

std::unordered_map<HWND, WindowRecord*>& ControlMap() {
  static std::unordered_map<HWND, WindowRecord*> map;
  return map;
}

// The record lives until WM_NCDESTROY and until the outermost message of the window is done.
void Forget(WindowRecord& r) {
  ControlMap().erase(r.hwnd);
  r.dead = true;
  if (r.images) ImageList_Destroy(r.images);
  r.images = nullptr;
  r.control = nullptr;
}

struct Depth {
  explicit Depth(WindowRecord* r) : r_(r) { ++r_->depth; }
  ~Depth() {
    if (--r_->depth == 0 && r_->dead && !r_->creating) delete r_;
  }
  WindowRecord* r_;
};

Point DesignPoint(const WindowRecord& r, LPARAM lp) {
  return {ToDesign(GET_X_LPARAM(lp), r.dpi), ToDesign(GET_Y_LPARAM(lp), r.dpi)};
}

ShiftState Shift() {
  ShiftState s;
  s.shift = GetKeyState(VK_SHIFT) < 0;
  s.ctrl = GetKeyState(VK_CONTROL) < 0;
  s.alt = GetKeyState(VK_MENU) < 0;
  s.left = GetKeyState(VK_LBUTTON) < 0;
  s.right = GetKeyState(VK_RBUTTON) < 0;
  return s;
}

// Focus and keys, common to every control window; true when the message was consumed.
bool HandleFocusAndKeys(WindowRecord& r, UINT msg, WPARAM wp, LRESULT& result) {
  WindowedControl* c = r.control;
  if (!c) return false;
  switch (msg) {
    case WM_SETFOCUS:
      c->PeerFocusChanged(true);
      return false;
    case WM_KILLFOCUS:
      if (r.control) r.control->PeerFocusChanged(false);
      return false;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (c->PeerKeyDown(static_cast<KeyCode>(wp), Shift()) == 0) {
        result = 0;
        return true;
      }
      return false;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (c->PeerKeyUp(static_cast<KeyCode>(wp), Shift()) == 0) {
        result = 0;
        return true;
      }
      return false;
    case WM_CHAR:
      // Tab moved the focus already (see PeerKeyDown); its character goes nowhere.
      if (wp == '\t' || c->PeerChar(static_cast<char32_t>(wp)) == 0) {
        result = 0;
        return true;
      }
      return false;
    default:
      return false;
  }
}

// ---- native controls: a subclass for focus, keys and the list view's header ----

bool ClampHeader(WindowRecord& r, LPARAM lp, LRESULT& result) {
  auto* hdr = reinterpret_cast<NMHDR*>(lp);
  auto* list = dynamic_cast<ListView*>(r.control);
  if (!list || (hdr->code != HDN_ITEMCHANGINGW && hdr->code != HDN_ITEMCHANGINGA)) return false;
  auto* nm = reinterpret_cast<NMHEADERW*>(lp);
  if (!nm->pitem || !(nm->pitem->mask & HDI_WIDTH)) return false;
  const int asked = ToDesign(nm->pitem->cxy, r.dpi);
  const int kept = list->PeerColumnResized(nm->iItem, asked);
  result = kept != asked ? TRUE : FALSE;  // a width beyond the column's limits is refused
  return true;
}

LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref);

LRESULT SubclassMessage(WindowRecord* r, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Depth depth(r);
  LRESULT result = 0;
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &SubclassProc, kSubclassId);
    Forget(*r);
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  if (HandleFocusAndKeys(*r, msg, wp, result)) return result;
  if (msg == WM_NOTIFY && ClampHeader(*r, lp, result)) return result;
  if ((msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP) && r->control && r->control->Kind() == ControlKind::CheckBox) {
    // The box's own press comes first; its click (BN_CLICKED) arrives while the system handles
    // the release, and the release is reported after it.
    WindowedControl* box = r->control;
    const Point at = DesignPoint(*r, lp);
    if (msg == WM_LBUTTONDOWN) box->PeerMouseDown(MouseButton::Left, Shift(), at);
    const LRESULT def = DefSubclassProc(hwnd, msg, wp, lp);
    if (msg == WM_LBUTTONUP && r->control) r->control->PeerMouseUp(MouseButton::Left, Shift(), at);
    return def;
  }
  if ((msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN) && r->control &&
      r->control->Kind() == ControlKind::ListView) {
    // The list view selects the row under the pointer first (a right press returns once the
    // button is up again), then the press is reported.
    const ShiftState shift = Shift();
    const LRESULT def = DefSubclassProc(hwnd, msg, wp, lp);
    if (r->control && !r->dead)
      r->control->PeerMouseDown(msg == WM_LBUTTONDOWN ? MouseButton::Left : MouseButton::Right, shift,
                                DesignPoint(*r, lp));
    return def;
  }
  if (msg == WM_LBUTTONDBLCLK && r->control && r->control->Kind() == ControlKind::ListView) {
    const LRESULT def = DefSubclassProc(hwnd, msg, wp, lp);
    if (auto* list = dynamic_cast<ListView*>(r->control)) list->PeerDoubleClick();
    return def;
  }
  if (msg == WM_LBUTTONDBLCLK && r->control &&
      (r->control->Kind() == ControlKind::Edit || r->control->Kind() == ControlKind::Memo)) {
    const LRESULT def = DefSubclassProc(hwnd, msg, wp, lp);
    if (auto* edit = dynamic_cast<Edit*>(r->control)) edit->PeerDoubleClick();
    return def;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

// What a handler throws ends here: the system's code between us and the message loop cannot
// unwind it. The message then counts as handled.
Application* AppOf(const WindowRecord& r) { return r.backend ? r.backend->App() : nullptr; }

LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  auto* r = reinterpret_cast<WindowRecord*>(ref);
  Application* app = AppOf(*r);  // the record may be gone when the message is done
  LRESULT result = 0;
  GuardedDelivery(app, [&] { result = SubclassMessage(r, hwnd, msg, wp, lp); });
  return result;
}

// ---- custom windows: drawn by the control ----

// The window's own scroll bars follow the control's ranges; set only when they changed, since
// showing or hiding a bar resizes the client area.
void SyncScrollBars(WindowRecord& r) {
  for (const bool vertical : {true, false}) {
    ScrollRange range;
    if (!r.control || !r.control->ScrollBarRange(vertical, range)) continue;
    const int bar = vertical ? SB_VERT : SB_HORZ;
    SCROLLINFO now{};
    now.cbSize = sizeof(now);
    now.fMask = SIF_ALL;
    const bool has = GetScrollInfo(r.hwnd, bar, &now) != FALSE;
    if (has && now.nMin == range.min && now.nMax == range.max && static_cast<int>(now.nPage) == range.page &&
        now.nPos == range.pos)
      continue;
    if (!has && range.page > range.max - range.min) continue;  // no bar, and none is needed
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = range.min;
    info.nMax = range.max;
    info.nPage = static_cast<UINT>(std::max(range.page, 0));
    info.nPos = range.pos;
    SetScrollInfo(r.hwnd, bar, &info, TRUE);
  }
}

std::optional<LRESULT> Scroll(WindowRecord& r, bool vertical, WPARAM wp) {
  ScrollCommand command;
  switch (LOWORD(wp)) {
    case SB_LINEUP: command = ScrollCommand::LineBack; break;
    case SB_LINEDOWN: command = ScrollCommand::LineForward; break;
    case SB_PAGEUP: command = ScrollCommand::PageBack; break;
    case SB_PAGEDOWN: command = ScrollCommand::PageForward; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: command = ScrollCommand::Track; break;
    case SB_TOP: command = ScrollCommand::First; break;
    case SB_BOTTOM: command = ScrollCommand::Last; break;
    default: return 0;  // SB_ENDSCROLL
  }
  // The 32-bit thumb position (the message carries only 16 bits of it).
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_TRACKPOS;
  GetScrollInfo(r.hwnd, vertical ? SB_VERT : SB_HORZ, &info);
  r.control->PeerScroll(vertical, command, info.nTrackPos);
  return 0;
}

LRESULT Paint(WindowRecord& r) {
  if (r.control) SyncScrollBars(r);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(r.hwnd, &ps);
  if (r.control && dc) {
    RECT client;
    GetClientRect(r.hwnd, &client);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP buffer = CreateCompatibleBitmap(dc, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1));
    HGDIOBJ old = SelectObject(mem, buffer);
    {
      GdiCanvas canvas(mem, r.dpi, r.backend->Fonts());
      // A paint that fails still ends its paint cycle and frees what it took.
      GuardedDelivery(AppOf(r), [&] { r.control->PeerPaint(canvas, ToDesignRect(ps.rcPaint, r.dpi).Inflate(1, 1)); });
    }
    BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
           ps.rcPaint.bottom - ps.rcPaint.top, mem, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(buffer);
    DeleteDC(mem);
  }
  EndPaint(r.hwnd, &ps);
  return 0;
}

std::optional<LRESULT> CustomMessage(WindowRecord& r, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (HandleFocusAndKeys(r, msg, wp, result)) return result;
  if (auto reflected = ReflectToControl(msg, wp, lp)) return reflected;
  WindowedControl* c = r.control;
  if (!c) return std::nullopt;
  switch (msg) {
    case WM_PAINT: return Paint(r);
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
      // The browser's own window fills its host. Only there: the first child of any other
      // custom window is one of our controls, with bounds of its own.
      if (c->Kind() == ControlKind::WebBrowser)
        if (HWND child = GetWindow(r.hwnd, GW_CHILD)) MoveWindow(child, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return std::nullopt;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      SetCapture(r.hwnd);
      if (c->TabStop()) SetFocus(r.hwnd);
      if (r.control) r.control->PeerMouseDown(msg == WM_LBUTTONDOWN ? MouseButton::Left : MouseButton::Right, Shift(), DesignPoint(r, lp));
      return 0;
    case WM_MOUSEMOVE:
      if (!r.trackingLeave) {
        TRACKMOUSEEVENT tme{};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = r.hwnd;
        r.trackingLeave = TrackMouseEvent(&tme) != FALSE;
      }
      c->PeerMouseMove(Shift(), DesignPoint(r, lp));
      return 0;
    case WM_MOUSELEAVE:
      r.trackingLeave = false;
      c->PeerMouseLeave();
      return 0;
    case WM_LBUTTONDBLCLK:
      SetCapture(r.hwnd);
      if (c->TabStop()) SetFocus(r.hwnd);
      if (r.control) r.control->PeerDoubleClick(Shift(), DesignPoint(r, lp));
      return 0;
    case WM_MOUSEWHEEL: {
      POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};  // screen coordinates
      ScreenToClient(r.hwnd, &at);
      c->PeerMouseWheel(Shift(), GET_WHEEL_DELTA_WPARAM(wp), {ToDesign(at.x, r.dpi), ToDesign(at.y, r.dpi)});
      return 0;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (lp != 0) return std::nullopt;  // a scroll bar control's, not the window's own
      return Scroll(r, msg == WM_VSCROLL, wp);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (GetCapture() == r.hwnd) ReleaseCapture();
      if (r.control) r.control->PeerMouseUp(msg == WM_LBUTTONUP ? MouseButton::Left : MouseButton::Right, Shift(), DesignPoint(r, lp));
      return 0;
    case WM_SETCURSOR: {
      if (LOWORD(lp) != HTCLIENT) return std::nullopt;
      POINT at{};
      GetCursorPos(&at);
      ScreenToClient(r.hwnd, &at);
      // A graphic child's cursor (a label with a hand) shows over the child.
      const Cursor cursor = c->CursorAt({ToDesign(at.x, r.dpi), ToDesign(at.y, r.dpi)});
      if (cursor == Cursor::Default) return std::nullopt;
      SetCursor(CursorHandle(cursor));
      return TRUE;
    }
    default:
      return std::nullopt;
  }
}

LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* record = static_cast<WindowRecord*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    record->hwnd = hwnd;
    ControlMap()[hwnd] = record;
  }
  WindowRecord* r = ControlRecordOf(hwnd);
  if (!r) return DefWindowProcW(hwnd, msg, wp, lp);
  Depth depth(r);
  if (msg == WM_NCDESTROY) {
    Forget(*r);
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  std::optional<LRESULT> handled;
  if (!GuardedDelivery(AppOf(*r), [&] { handled = CustomMessage(*r, msg, wp, lp); })) {
    if (msg == WM_PAINT && !r->dead) ValidateRect(hwnd, nullptr);
    return 0;
  }
  return handled ? *handled : DefWindowProcW(hwnd, msg, wp, lp);
}

bool RegisterControlClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &ControlProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kControlClassName;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

// ---- notifications from the controls to their parents ----

std::optional<LRESULT> OnCommand(WindowRecord& r, WPARAM wp) {
  WindowedControl* c = r.control;
  const UINT code = HIWORD(wp);
  if (auto* box = dynamic_cast<CheckBox*>(c)) {
    if (code == BN_CLICKED) box->PeerClicked();
    return 0;
  }
  if (auto* button = dynamic_cast<Button*>(c)) {
    if (code == BN_CLICKED) button->PeerClicked();
    return 0;
  }
  if (auto* edit = dynamic_cast<Edit*>(c)) {
    if (code == EN_CHANGE) {
      const int length = GetWindowTextLengthW(r.hwnd);
      std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
      GetWindowTextW(r.hwnd, text.data(), length + 1);
      text.resize(static_cast<std::size_t>(length));
      edit->PeerTextChanged(Narrow(text));
    }
    return 0;
  }
  if (auto* combo = dynamic_cast<ComboBox*>(c)) {
    if (code == CBN_SELCHANGE) combo->PeerSelected(static_cast<int>(SendMessageW(r.hwnd, CB_GETCURSEL, 0, 0)));
    else if (code == CBN_DROPDOWN) combo->PeerDropDown(true);
    else if (code == CBN_CLOSEUP) combo->PeerDropDown(false);
    return 0;
  }
  return std::nullopt;
}

std::optional<LRESULT> OnNotify(WindowRecord& r, LPARAM lp) {
  const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
  if (auto* up = dynamic_cast<UpDown*>(r.control)) {
    if (hdr->code != UDN_DELTAPOS) return std::nullopt;
    const auto* nm = reinterpret_cast<const NMUPDOWN*>(lp);
    up->PeerSpin(nm->iDelta > 0 ? UpDownDirection::Up : UpDownDirection::Down);
    return 1;  // the control keeps its position; the portable one is pushed back to it
  }
  if (auto* pages = dynamic_cast<PageControl*>(r.control)) {
    if (hdr->code == TCN_SELCHANGE)
      pages->PeerTabSelected(static_cast<int>(SendMessageW(r.hwnd, TCM_GETCURSEL, 0, 0)));
    return std::nullopt;
  }
  if (auto* list = dynamic_cast<ListView*>(r.control)) {
    if (hdr->code == LVN_COLUMNCLICK) {
      list->PeerColumnClicked(reinterpret_cast<const NMLISTVIEW*>(lp)->iSubItem);
      return 0;
    }
    if (hdr->code == LVN_ITEMCHANGED) {
      const auto* nm = reinterpret_cast<const NMLISTVIEW*>(lp);
      if ((nm->uChanged & LVIF_STATE) && ((nm->uNewState ^ nm->uOldState) & LVIS_SELECTED)) {
        const int selected = static_cast<int>(SendMessageW(r.hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        list->PeerItemSelected(selected);
      }
      return 0;
    }
  }
  return std::nullopt;
}

LRESULT DrawColorItem(WindowRecord& r, const DRAWITEMSTRUCT& dis) {
  auto* box = dynamic_cast<ColorBox*>(r.control);
  if (!box) return FALSE;
  const bool selected = (dis.itemState & ODS_SELECTED) != 0;
  FillRect(dis.hDC, &dis.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (dis.itemID == static_cast<UINT>(-1) || dis.itemID >= box->Colors().size()) return TRUE;
  const NamedColor& item = box->Colors()[dis.itemID];
  const int pad = ToDevice(2, r.dpi);
  const int h = dis.rcItem.bottom - dis.rcItem.top - 2 * pad;
  RECT swatch{dis.rcItem.left + pad, dis.rcItem.top + pad, dis.rcItem.left + pad + h * 3 / 2, dis.rcItem.bottom - pad};
  HBRUSH brush = CreateSolidBrush(ToColorRef(r.backend->Colors().ToRgb(item.color)));
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

// One brush per colour, kept for the life of the program (a window uses a handful of colours).
HBRUSH SolidBrush(COLORREF colour) {
  static std::unordered_map<COLORREF, HBRUSH> brushes;
  HBRUSH& brush = brushes[colour];
  if (!brush) brush = CreateSolidBrush(colour);
  return brush;
}

// The background and text colour of a check box (always its own or its parent's colour, so it
// sits on the window's colour) and of an edit whose colour or font colour was set.
std::optional<LRESULT> ControlColors(WindowRecord& r, HDC dc) {
  WindowedControl* c = r.control;
  if (!c) return std::nullopt;
  const ColorResolver& colors = r.backend->Colors();
  const bool edit = c->Kind() == ControlKind::Edit || c->Kind() == ControlKind::Memo;
  if (edit && c->ParentColor() && c->GetFont().color == clWindowText) return std::nullopt;
  if (!edit && c->Kind() != ControlKind::CheckBox) return std::nullopt;
  const Color back = edit && c->ParentColor() ? clWindow : c->GetColor();
  const COLORREF backRef = static_cast<COLORREF>(colors.ToRgb(back));
  if (c->Enabled()) SetTextColor(dc, static_cast<COLORREF>(colors.ToRgb(c->GetFont().color)));
  SetBkColor(dc, backRef);
  return reinterpret_cast<LRESULT>(SolidBrush(backRef));
}

}  // namespace

WindowRecord* ControlRecordOf(HWND hwnd) {
  auto& map = ControlMap();
  auto it = map.find(hwnd);
  return it == map.end() ? nullptr : it->second;
}

std::optional<LRESULT> ReflectToControl(UINT msg, WPARAM wp, LPARAM lp) {
  HWND child = nullptr;
  switch (msg) {
    case WM_COMMAND: child = reinterpret_cast<HWND>(lp); break;
    case WM_NOTIFY: child = reinterpret_cast<const NMHDR*>(lp)->hwndFrom; break;
    case WM_HSCROLL:
    case WM_VSCROLL: child = reinterpret_cast<HWND>(lp); break;
    case WM_DRAWITEM: child = reinterpret_cast<const DRAWITEMSTRUCT*>(lp)->hwndItem; break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: child = reinterpret_cast<HWND>(lp); break;
    default: return std::nullopt;
  }
  WindowRecord* r = child ? ControlRecordOf(child) : nullptr;
  if (!r || !r->control) return std::nullopt;
  Depth depth(r);
  switch (msg) {
    case WM_COMMAND: return OnCommand(*r, wp);
    case WM_NOTIFY: return OnNotify(*r, lp);
    case WM_DRAWITEM: return DrawColorItem(*r, *reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return ControlColors(*r, reinterpret_cast<HDC>(wp));
    default:
      if (auto* bar = dynamic_cast<TrackBar*>(r->control))
        bar->PeerPositionChanged(static_cast<int>(SendMessageW(r->hwnd, TBM_GETPOS, 0, 0)));
      return 0;
  }
}

}  // namespace win32

// ---- the backend's part ----

namespace {

struct Native {
  const wchar_t* cls;
  DWORD style;
  DWORD exStyle;
};

Native NativeFor(WindowedControl& c) {
  const DWORD base = WS_CHILD | WS_CLIPSIBLINGS;
  switch (c.Kind()) {
    case ControlKind::Button: return {L"BUTTON", base | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::CheckBox: return {L"BUTTON", base | WS_TABSTOP | BS_CHECKBOX, 0};
    case ControlKind::Edit:
      return {L"EDIT", base | WS_TABSTOP | ES_AUTOHSCROLL, static_cast<Edit&>(c).Border() ? WS_EX_CLIENTEDGE : 0u};
    case ControlKind::Memo: {
      auto& memo = static_cast<Memo&>(c);
      DWORD style = base | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
      if (!memo.WordWrap()) style |= ES_AUTOHSCROLL;
      if (memo.ScrollBars() == ScrollStyle::Vertical || memo.ScrollBars() == ScrollStyle::Both) style |= WS_VSCROLL;
      if (memo.ScrollBars() == ScrollStyle::Horizontal || memo.ScrollBars() == ScrollStyle::Both) style |= WS_HSCROLL;
      return {L"EDIT", style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::ComboBox: {
      const bool list = static_cast<ComboBox&>(c).Style() == ComboStyle::DropDownList;
      return {L"COMBOBOX", base | WS_TABSTOP | WS_VSCROLL | (list ? CBS_DROPDOWNLIST : CBS_DROPDOWN), 0};
    }
    case ControlKind::ColorBox:
      return {L"COMBOBOX", base | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0};
    case ControlKind::StatusBar: return {STATUSCLASSNAMEW, base | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0};
    case ControlKind::TrackBar: {
      const bool vertical = static_cast<TrackBar&>(c).GetOrientation() == Orientation::Vertical;
      return {TRACKBAR_CLASSW, base | WS_TABSTOP | TBS_AUTOTICKS | (vertical ? TBS_VERT : TBS_HORZ), 0};
    }
    case ControlKind::UpDown: {
      const auto& up = static_cast<UpDown&>(c);
      return {UPDOWN_CLASSW, base | (up.ArrowKeys() ? UDS_ARROWKEYS : 0) | (up.Wrap() ? UDS_WRAP : 0), 0};
    }
    case ControlKind::PageControl: return {WC_TABCONTROLW, base | WS_TABSTOP | WS_CLIPCHILDREN, 0};
    case ControlKind::ListView:
      return {WC_LISTVIEWW, base | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE};
    case ControlKind::Custom: return {win32::kControlClassName, base | WS_CLIPCHILDREN | WS_TABSTOP, 0};
    case ControlKind::WebBrowser: return {win32::kControlClassName, base | WS_CLIPCHILDREN, 0};
  }
  return {win32::kControlClassName, base, 0};
}

int Px(int design, int dpi) { return ToDevice(design, dpi); }

}  // namespace

PeerHandle Win32Backend::CreateControlPeer(WindowedControl& control) {
  WindowRecord* parent = Record(control.Parent()->WindowedAncestor().Peer());
  if (!parent || parent->dead || !win32::RegisterControlClass()) return 0;
  auto* record = new WindowRecord;
  record->backend = this;
  record->control = &control;
  record->dpi = parent->dpi;
  record->creating = true;
  const Native native = NativeFor(control);
  const RECT r = win32::ToDeviceRect(control.Bounds(), record->dpi);
  const bool custom = control.Kind() == ControlKind::Custom || control.Kind() == ControlKind::WebBrowser;
  // A combo box's height is that of its open list.
  const int height = control.Kind() == ControlKind::ComboBox || control.Kind() == ControlKind::ColorBox
                         ? Px(control.Height() + 20 * static_cast<ComboBox&>(control).DropDownCount(), record->dpi)
                         : r.bottom - r.top;
  HWND hwnd = CreateWindowExW(native.exStyle, native.cls, L"", native.style | (control.Visible() ? WS_VISIBLE : 0),
                              r.left, r.top, r.right - r.left, height, parent->hwnd, nullptr,
                              GetModuleHandleW(nullptr), custom ? record : nullptr);
  record->creating = false;
  if (!hwnd || record->dead) {
    if (hwnd) win32::ControlMap().erase(hwnd);
    delete record;
    return 0;
  }
  if (!custom) {
    record->hwnd = hwnd;
    win32::ControlMap()[hwnd] = record;
    SetWindowSubclass(hwnd, &win32::SubclassProc, win32::kSubclassId, reinterpret_cast<DWORD_PTR>(record));
  }
  if (!control.Enabled()) EnableWindow(hwnd, FALSE);
  const auto peer = reinterpret_cast<PeerHandle>(record);
  if (control.Kind() == ControlKind::ListView)
    SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_DOUBLEBUFFER);
  for (PeerAspect a : {PeerAspect::Font, PeerAspect::Style, PeerAspect::Range, PeerAspect::Columns,
                       PeerAspect::Items, PeerAspect::Text, PeerAspect::State})
    UpdateControlPeer(peer, control, a);
  return peer;
}

void Win32Backend::FocusPeer(PeerHandle peer) {
  if (HWND hwnd = WindowOf(peer)) SetFocus(hwnd);
}

namespace {

void PushText(HWND hwnd, WindowedControl& c) {
  const std::wstring text = win32::Widen(c.Caption());
  switch (c.Kind()) {
    case ControlKind::StatusBar:
      SendMessageW(hwnd, SB_SIMPLE, TRUE, 0);
      SendMessageW(hwnd, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
      break;
    case ControlKind::ColorBox:
    case ControlKind::UpDown:
    case ControlKind::TrackBar:
    case ControlKind::ListView:
      break;
    case ControlKind::ComboBox:
      if (static_cast<ComboBox&>(c).Style() == ComboStyle::DropDownList) break;
      [[fallthrough]];
    default:
      SetWindowTextW(hwnd, text.c_str());
      break;
  }
}

void PushState(HWND hwnd, WindowedControl& c) {
  if (auto* box = dynamic_cast<CheckBox*>(&c)) SendMessageW(hwnd, BM_SETCHECK, box->Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  else if (auto* combo = dynamic_cast<ComboBox*>(&c)) {
    SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(combo->ItemIndex()), 0);
    if (combo->DroppedDown() != (SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0) != 0) && IsWindowVisible(hwnd))
      SendMessageW(hwnd, CB_SHOWDROPDOWN, combo->DroppedDown() ? TRUE : FALSE, 0);
  }
  else if (auto* bar = dynamic_cast<TrackBar*>(&c)) SendMessageW(hwnd, TBM_SETPOS, TRUE, bar->Position());
  else if (auto* up = dynamic_cast<UpDown*>(&c)) SendMessageW(hwnd, UDM_SETPOS32, 0, up->Position());
  else if (auto* pages = dynamic_cast<PageControl*>(&c)) SendMessageW(hwnd, TCM_SETCURSEL, static_cast<WPARAM>(pages->ActivePageIndex()), 0);
  else if (auto* list = dynamic_cast<ListView*>(&c)) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    if (list->ItemIndex() >= 0) {
      item.state = LVIS_SELECTED | LVIS_FOCUSED;
      SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(list->ItemIndex()), reinterpret_cast<LPARAM>(&item));
      SendMessageW(hwnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(list->ItemIndex()), FALSE);
    }
  }
}

bool PushRowChange(WindowRecord& r, ListView& list);

void PushItems(WindowRecord& r, WindowedControl& c) {
  HWND hwnd = r.hwnd;
  if (auto* combo = dynamic_cast<ComboBox*>(&c)) {
    SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : combo->Items()) {
      const std::wstring w = win32::Widen(item);
      SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
    }
    PushState(hwnd, c);
  } else if (auto* pages = dynamic_cast<PageControl*>(&c)) {
    SendMessageW(hwnd, TCM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < pages->PageCount(); ++i) {
      std::wstring w = win32::Widen(pages->Page(i)->Caption());
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = w.data();
      SendMessageW(hwnd, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    PushState(hwnd, c);
  } else if (auto* list = dynamic_cast<ListView*>(&c)) {
    if (PushRowChange(r, *list)) return;
    SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd, LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < list->ItemCount(); ++i) {
      const ListItem& li = list->Item(i);
      std::wstring caption = win32::Widen(li.caption);
      LVITEMW item{};
      item.mask = LVIF_TEXT | (r.images ? LVIF_IMAGE : 0);
      item.iItem = i;
      item.pszText = caption.data();
      item.iImage = li.imageIndex;
      SendMessageW(hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
      for (std::size_t s = 0; s < li.subItems.size(); ++s) {
        std::wstring sub = win32::Widen(li.subItems[s]);
        LVITEMW subItem{};
        subItem.iSubItem = static_cast<int>(s + 1);
        subItem.pszText = sub.data();
        SendMessageW(hwnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&subItem));
      }
    }
    PushState(hwnd, c);
    SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd, nullptr, TRUE);
  }
}

void PushColumns(WindowRecord& r, ListView& list) {
  HWND hwnd = r.hwnd;
  HWND header = reinterpret_cast<HWND>(SendMessageW(hwnd, LVM_GETHEADER, 0, 0));
  const int count = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  for (int i = count - 1; i >= 0; --i) SendMessageW(hwnd, LVM_DELETECOLUMN, static_cast<WPARAM>(i), 0);
  int i = 0;
  for (const ListColumn& column : list.Columns()) {
    std::wstring caption = win32::Widen(column.caption);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.fmt = column.align == TextAlign::Right ? LVCFMT_RIGHT : column.align == TextAlign::Center ? LVCFMT_CENTER : LVCFMT_LEFT;
    if (i == 0) col.fmt = LVCFMT_LEFT;  // the first column is always left-aligned by the system
    col.cx = Px(column.width, r.dpi);
    col.pszText = caption.data();
    SendMessageW(hwnd, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i++), reinterpret_cast<LPARAM>(&col));
  }
}

void PushImages(WindowRecord& r, ListView& list) {
  if (r.images) {
    SendMessageW(r.hwnd, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    ImageList_Destroy(r.images);
    r.images = nullptr;
  }
  const ImageList* images = list.SmallImages();
  if (!images || images->Count() == 0) return;
  r.images = ImageList_Create(images->Width(), images->Height(), ILC_COLOR32, images->Count(), 0);
  for (int i = 0; i < images->Count(); ++i) {
    const Bitmap picture = images->GetBitmap(i);
    void* bits = nullptr;
    HBITMAP dib = win32::CreateDibFrom(picture, &bits);
    if (dib) {
      ImageList_Add(r.images, dib, nullptr);
      DeleteObject(dib);
    }
  }
  SendMessageW(r.hwnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(r.images));
}

// The small images the window holds follow the list's: new pictures are appended, a list that
// lost pictures is copied again.
void SyncImages(WindowRecord& r, ListView& list) {
  const ImageList* images = list.SmallImages();
  if (!images) return;
  const int held = r.images ? ImageList_GetImageCount(r.images) : 0;
  if (held == images->Count()) return;
  if (!r.images || held > images->Count()) {
    PushImages(r, list);
    return;
  }
  for (int i = held; i < images->Count(); ++i) {
    void* bits = nullptr;
    HBITMAP dib = win32::CreateDibFrom(images->GetBitmap(i), &bits);
    if (!dib) continue;
    ImageList_Add(r.images, dib, nullptr);
    DeleteObject(dib);
  }
}

// Caption, image and every column's text of the window's row `index`.
void SetRowTexts(HWND hwnd, const ListView& list, int index, bool withImage) {
  const ListItem& li = list.Item(index);
  std::wstring caption = win32::Widen(li.caption);
  LVITEMW item{};
  item.mask = LVIF_TEXT | (withImage ? LVIF_IMAGE : 0);
  item.iItem = index;
  item.pszText = caption.data();
  item.iImage = li.imageIndex;
  SendMessageW(hwnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  const std::size_t columns = std::max(li.subItems.size() + 1, list.Columns().size());
  for (std::size_t s = 1; s < columns; ++s) {
    std::wstring sub = s - 1 < li.subItems.size() ? win32::Widen(li.subItems[s - 1]) : std::wstring();
    LVITEMW subItem{};
    subItem.iSubItem = static_cast<int>(s);
    subItem.pszText = sub.data();
    SendMessageW(hwnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&subItem));
  }
}

// One row inserted, deleted or changed in place: the window keeps its scroll position and its
// selection (which it moves along with the rows itself) and repaints only what changed. False
// when there is no row change to push, or it does not fit the rows the window holds.
bool PushRowChange(WindowRecord& r, ListView& list) {
  const ListView::RowChange* change = list.PendingRowChange();
  if (!change) return false;
  HWND hwnd = r.hwnd;
  const int held = static_cast<int>(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0));
  const int index = change->index;
  switch (change->kind) {
    case ListView::RowChangeKind::Insert: {
      if (index < 0 || index > held || held + 1 != list.ItemCount()) return false;
      SyncImages(r, list);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = index;
      item.pszText = const_cast<wchar_t*>(L"");
      if (SendMessageW(hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) != index) return false;
      SetRowTexts(hwnd, list, index, list.SmallImages() != nullptr);
      return true;
    }
    case ListView::RowChangeKind::Delete:
      if (index < 0 || index >= held || held - 1 != list.ItemCount()) return false;
      SendMessageW(hwnd, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
      SyncImages(r, list);
      return true;
    case ListView::RowChangeKind::Update:
      if (index < 0 || index >= held || held != list.ItemCount()) return false;
      if (change->column > 0) {
        // One sub-item: a text without a column is not shown, so the window keeps nothing.
        if (static_cast<std::size_t>(change->column) >= list.Columns().size()) return true;
        const ListItem& li = list.Item(index);
        const auto sub = static_cast<std::size_t>(change->column - 1);
        std::wstring text = sub < li.subItems.size() ? win32::Widen(li.subItems[sub]) : std::wstring();
        LVITEMW subItem{};
        subItem.iSubItem = change->column;
        subItem.pszText = text.data();
        SendMessageW(hwnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&subItem));
        return true;
      }
      SyncImages(r, list);
      SetRowTexts(hwnd, list, index, list.SmallImages() != nullptr);
      return true;
  }
  return false;
}

}  // namespace

void Win32Backend::UpdateControlPeer(PeerHandle peer, WindowedControl& c, PeerAspect aspect) {
  WindowRecord* r = Record(peer);
  if (!r || r->dead) return;
  HWND hwnd = r->hwnd;
  switch (aspect) {
    case PeerAspect::Text:
      PushText(hwnd, c);
      break;
    case PeerAspect::State:
      PushState(hwnd, c);
      if (c.Kind() == ControlKind::Custom) InvalidateRect(hwnd, nullptr, FALSE);
      if (auto* browser = dynamic_cast<WebBrowser*>(&c); browser && !browser->Url().empty())
        browser->PeerHosted(win32::NavigateBrowser(hwnd, browser->Url(), browser->NavigateFlags()));
      break;
    case PeerAspect::Items:
      PushItems(*r, c);
      break;
    case PeerAspect::Columns:
      if (auto* list = dynamic_cast<ListView*>(&c)) PushColumns(*r, *list);
      break;
    case PeerAspect::Font:
      SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Get(c.GetFont(), r->dpi)), TRUE);
      if (c.Kind() == ControlKind::ColorBox || c.Kind() == ControlKind::ComboBox)
        SendMessageW(hwnd, CB_SETITEMHEIGHT, 0, Px(18, r->dpi));
      break;
    case PeerAspect::Range:
      if (auto* bar = dynamic_cast<TrackBar*>(&c)) {
        SendMessageW(hwnd, TBM_SETRANGEMIN, FALSE, bar->Min());
        SendMessageW(hwnd, TBM_SETRANGEMAX, TRUE, bar->Max());
        SendMessageW(hwnd, TBM_SETTICFREQ, static_cast<WPARAM>(bar->Frequency()), 0);
      } else if (auto* up = dynamic_cast<UpDown*>(&c)) {
        SendMessageW(hwnd, UDM_SETRANGE32, static_cast<WPARAM>(up->Min()), up->Max());
      }
      break;
    case PeerAspect::Style:
      if (auto* edit = dynamic_cast<Edit*>(&c)) {
        SendMessageW(hwnd, EM_SETREADONLY, edit->ReadOnly() ? TRUE : FALSE, 0);
        SendMessageW(hwnd, EM_SETLIMITTEXT, static_cast<WPARAM>(edit->MaxLength()), 0);
        const LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
        const LONG_PTR wanted = edit->Border() ? (ex | WS_EX_CLIENTEDGE) : (ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
        if (wanted != ex) {
          SetWindowLongPtrW(hwnd, GWL_EXSTYLE, wanted);
          SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
      } else if (auto* up = dynamic_cast<UpDown*>(&c)) {
        // The arrows never move or resize the edit themselves: the portable bounds stay true.
        LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE) &
                         ~static_cast<LONG_PTR>(UDS_ARROWKEYS | UDS_ALIGNLEFT | UDS_ALIGNRIGHT | UDS_WRAP);
        if (up->ArrowKeys()) style |= UDS_ARROWKEYS;
        if (up->Wrap()) style |= UDS_WRAP;
        SetWindowLongPtrW(hwnd, GWL_STYLE, style);
        WindowRecord* buddy = up->Associate() ? Record(up->Associate()->Peer()) : nullptr;
        SendMessageW(hwnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy && !buddy->dead ? buddy->hwnd : nullptr), 0);
      } else if (auto* list = dynamic_cast<ListView*>(&c)) {
        const DWORD ex = LVS_EX_DOUBLEBUFFER | (list->RowSelect() ? LVS_EX_FULLROWSELECT : 0);
        SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER, ex);
        PushImages(*r, *list);
      } else if (auto* pages = dynamic_cast<PageControl*>(&c)) {
        LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE) & ~static_cast<LONG_PTR>(TCS_FIXEDWIDTH);
        if (pages->TabWidth() > 0) style |= TCS_FIXEDWIDTH;
        SetWindowLongPtrW(hwnd, GWL_STYLE, style);
        if (pages->TabWidth() > 0)
          SendMessageW(hwnd, TCM_SETITEMSIZE, 0, MAKELPARAM(Px(pages->TabWidth(), r->dpi), Px(PageControl::kTabHeight - 4, r->dpi)));
      } else if (c.Kind() == ControlKind::Custom) {
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      break;
  }
}

}  // namespace vm::ui

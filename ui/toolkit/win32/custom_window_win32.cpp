// The blank control window of our own class: it reports paint (double-buffered), mouse, wheel,
// cursor and its own scroll bars to the control, which draws it in portable code, and passes
// its children's notifications on to their peers.

#include "ui/toolkit/win32/control_windows_win32.h"

#include "ui/toolkit/win32/accessible_win32.h"

#include <algorithm>

#include "ui/toolkit/application.h"
#include "ui/toolkit/dpi.h"
#include "ui/toolkit/form_window_win32.h"
#include "ui/toolkit/windowed_control.h"

namespace vm::ui::win32 {

namespace {

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
  if (!r.control) {
    ValidateRect(r.hwnd, nullptr);
    return 0;
  }
  SyncScrollBars(r);
  PaintBuffered(r, [&](Canvas& canvas, const Rect& dirty) { r.control->PeerPaint(canvas, dirty); });
  return 0;
}

std::optional<LRESULT> CustomMessage(WindowRecord& r, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (HandleFocusAndKeys(r, msg, wp, result)) return result;
  if (auto reflected = ReflectToControl(msg, wp, lp)) return reflected;
  WindowedControl* c = r.control;
  if (!c) return std::nullopt;
  if (r.peer)
    if (auto handled = r.peer->OwnMessage(msg, wp, lp)) return handled;
  switch (msg) {
    case WM_PAINT: return Paint(r);
    case WM_ERASEBKGND: return 1;
    case WM_GETOBJECT: return AnswerGetObject(*c, wp, lp);
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      SetCapture(r.hwnd);
      if (c->TabStop()) SetFocus(r.hwnd);
      if (r.control) r.control->PeerMouseDown(msg == WM_LBUTTONDOWN ? MouseButton::Left : MouseButton::Right, CurrentShiftState(), DesignPoint(r, lp));
      return 0;
    case WM_MOUSEMOVE:
      if (!r.trackingLeave) {
        TRACKMOUSEEVENT tme{};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = r.hwnd;
        r.trackingLeave = TrackMouseEvent(&tme) != FALSE;
      }
      c->PeerMouseMove(CurrentShiftState(), DesignPoint(r, lp));
      return 0;
    case WM_MOUSELEAVE:
      r.trackingLeave = false;
      c->PeerMouseLeave();
      return 0;
    case WM_LBUTTONDBLCLK:
      SetCapture(r.hwnd);
      if (c->TabStop()) SetFocus(r.hwnd);
      if (r.control) r.control->PeerDoubleClick(CurrentShiftState(), DesignPoint(r, lp));
      return 0;
    case WM_MOUSEWHEEL: {
      POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};  // screen coordinates
      ScreenToClient(r.hwnd, &at);
      c->PeerMouseWheel(CurrentShiftState(), GET_WHEEL_DELTA_WPARAM(wp), {ToDesign(at.x, r.dpi), ToDesign(at.y, r.dpi)});
      return 0;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (lp != 0) return std::nullopt;  // a scroll bar control's, not the window's own
      return Scroll(r, msg == WM_VSCROLL, wp);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (GetCapture() == r.hwnd) ReleaseCapture();
      if (r.control) r.control->PeerMouseUp(msg == WM_LBUTTONUP ? MouseButton::Left : MouseButton::Right, CurrentShiftState(), DesignPoint(r, lp));
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
  if (msg == WM_NCCREATE)
    RememberControl(hwnd, *static_cast<WindowRecord*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  WindowRecord* r = ControlRecordOf(hwnd);
  if (!r) return DefWindowProcW(hwnd, msg, wp, lp);
  MessageDepth depth(r);
  if (msg == WM_NCDESTROY) {
    ForgetControl(*r);
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  std::optional<LRESULT> handled;
  if (!GuardedDelivery(AppOf(*r), [&] { handled = CustomMessage(*r, msg, wp, lp); })) {
    if (msg == WM_PAINT && !r->dead) ValidateRect(hwnd, nullptr);
    return 0;
  }
  return handled ? *handled : DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

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

}  // namespace vm::ui::win32

#include "ui/toolkit/form_window_win32.h"

#include <windowsx.h>

#include <optional>
#include <unordered_map>

#include "platform/system_message.h"
#include "ui/toolkit/application.h"
#include "ui/toolkit/win32/accessible_win32.h"
#include "ui/toolkit/win32/control_windows_win32.h"
#include "ui/toolkit/dpi.h"
#include "ui/toolkit/form.h"
#include "ui/toolkit/menu.h"
#include "ui/toolkit/tray_icon.h"
#include "ui/toolkit/windowed_control.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_WTSSESSION_CHANGE
#define WM_WTSSESSION_CHANGE 0x02B1
#endif
#ifndef MM_MCINOTIFY
#define MM_MCINOTIFY 0x03B9
#endif

namespace vm::ui::win32 {

namespace {

std::unordered_map<HWND, WindowRecord*>& WindowMap() {
  static std::unordered_map<HWND, WindowRecord*> map;
  return map;
}

// nullopt: the message goes on to the system's default processing.
using Result = std::optional<LRESULT>;
using Handler = Result (*)(WindowRecord&, WPARAM, LPARAM);

ShiftState MouseShift(WPARAM wp) {
  ShiftState s;
  s.shift = (wp & MK_SHIFT) != 0;
  s.ctrl = (wp & MK_CONTROL) != 0;
  s.alt = GetKeyState(VK_MENU) < 0;
  s.left = (wp & MK_LBUTTON) != 0;
  s.right = (wp & MK_RBUTTON) != 0;
  s.middle = (wp & MK_MBUTTON) != 0;
  return s;
}

}  // namespace

// ---- painting ----

void PaintBuffered(WindowRecord& r, const std::function<void(Canvas&, const Rect&)>& draw) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(r.hwnd, &ps);
  if (dc) {
    RECT client;
    GetClientRect(r.hwnd, &client);
    // Double buffered: the whole picture is composed in memory, then copied at once.
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP buffer = CreateCompatibleBitmap(dc, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1));
    HGDIOBJ old = SelectObject(mem, buffer);
    {
      GdiCanvas canvas(mem, r.dpi, r.backend->Fonts());
      // A paint that fails still ends its paint cycle and frees what it took.
      GuardedDelivery(r.backend->App(), [&] { draw(canvas, ToDesignRect(ps.rcPaint, r.dpi).Inflate(1, 1)); });
    }
    BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
           ps.rcPaint.bottom - ps.rcPaint.top, mem, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(buffer);
    DeleteDC(mem);
  }
  EndPaint(r.hwnd, &ps);
}

namespace {

Result OnPaint(WindowRecord& r, WPARAM, LPARAM) {
  if (r.form) PaintBuffered(r, [&](Canvas& canvas, const Rect& dirty) { r.form->PeerPaint(canvas, dirty); });
  else ValidateRect(r.hwnd, nullptr);
  if (r.backend && !r.dead) r.backend->FormPainted(r);
  return 0;
}

Result OnEraseBackground(WindowRecord&, WPARAM, LPARAM) { return 1; }  // the paint covers all

// ---- mouse ----

void TrackLeave(WindowRecord& r) {
  if (r.trackingLeave) return;
  TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, r.hwnd, 0};
  r.trackingLeave = TrackMouseEvent(&tme) != FALSE;
}

Result MouseDown(WindowRecord& r, MouseButton button, WPARAM wp, LPARAM lp) {
  if (!r.form) return std::nullopt;
  SetCapture(r.hwnd);
  r.form->PeerMouseDown(button, MouseShift(wp), DesignPoint(r, lp));
  return 0;
}

Result MouseUp(WindowRecord& r, MouseButton button, WPARAM wp, LPARAM lp) {
  if (!r.form) return std::nullopt;
  // Released before the call: a handler may open a menu or a dialog that needs the mouse.
  if ((wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == r.hwnd) ReleaseCapture();
  if (r.form) r.form->PeerMouseUp(button, MouseShift(wp), DesignPoint(r, lp));
  return 0;
}

Result OnLButtonDown(WindowRecord& r, WPARAM wp, LPARAM lp) { return MouseDown(r, MouseButton::Left, wp, lp); }
Result OnRButtonDown(WindowRecord& r, WPARAM wp, LPARAM lp) { return MouseDown(r, MouseButton::Right, wp, lp); }
Result OnMButtonDown(WindowRecord& r, WPARAM wp, LPARAM lp) { return MouseDown(r, MouseButton::Middle, wp, lp); }
Result OnLButtonUp(WindowRecord& r, WPARAM wp, LPARAM lp) { return MouseUp(r, MouseButton::Left, wp, lp); }
Result OnRButtonUp(WindowRecord& r, WPARAM wp, LPARAM lp) { return MouseUp(r, MouseButton::Right, wp, lp); }
Result OnMButtonUp(WindowRecord& r, WPARAM wp, LPARAM lp) { return MouseUp(r, MouseButton::Middle, wp, lp); }

Result OnLButtonDblClk(WindowRecord& r, WPARAM wp, LPARAM lp) {
  if (!r.form) return std::nullopt;
  SetCapture(r.hwnd);
  r.form->PeerDoubleClick(MouseShift(wp), DesignPoint(r, lp));
  return 0;
}

Result OnRButtonDblClk(WindowRecord& r, WPARAM wp, LPARAM lp) { return MouseDown(r, MouseButton::Right, wp, lp); }

Result OnMouseMove(WindowRecord& r, WPARAM wp, LPARAM lp) {
  if (!r.form) return std::nullopt;
  TrackLeave(r);
  r.form->PeerMouseMove(MouseShift(wp), DesignPoint(r, lp));
  return 0;
}

Result OnMouseLeave(WindowRecord& r, WPARAM, LPARAM) {
  r.trackingLeave = false;
  if (r.form) r.form->PeerMouseLeave();
  return 0;
}

Result OnCaptureChanged(WindowRecord& r, WPARAM, LPARAM lp) {
  if (r.form && reinterpret_cast<HWND>(lp) != r.hwnd) r.form->PeerCaptureLost();
  return 0;
}

Result OnSetCursor(WindowRecord& r, WPARAM, LPARAM lp) {
  if (LOWORD(lp) != HTCLIENT) return std::nullopt;
  SetCursor(CursorHandle(r.cursor));
  return TRUE;
}

// ---- keyboard ----

Result OnKeyDown(WindowRecord& r, WPARAM wp, LPARAM) {
  if (!r.form) return std::nullopt;
  const KeyCode left = r.form->PeerKeyDown(static_cast<KeyCode>(wp), CurrentShiftState());
  return left == 0 ? Result(0) : std::nullopt;  // Alt+F4 and friends go on to the system
}

Result OnSysKeyDown(WindowRecord& r, WPARAM wp, LPARAM lp) {
  const Result result = OnKeyDown(r, wp, lp);
  r.swallowSysChar = result.has_value();
  return result;
}

Result OnSysChar(WindowRecord& r, WPARAM, LPARAM) {
  if (!r.swallowSysChar) return std::nullopt;
  r.swallowSysChar = false;
  return 0;
}

Result OnKeyUp(WindowRecord& r, WPARAM wp, LPARAM) {
  if (!r.form) return std::nullopt;
  const KeyCode left = r.form->PeerKeyUp(static_cast<KeyCode>(wp), CurrentShiftState());
  return left == 0 ? Result(0) : std::nullopt;
}

Result OnChar(WindowRecord& r, WPARAM wp, LPARAM) {
  if (!r.form) return std::nullopt;
  const auto unit = static_cast<wchar_t>(wp);
  if (unit >= 0xD800 && unit <= 0xDBFF) {
    r.highSurrogate = unit;  // the character arrives in two halves
    return 0;
  }
  char32_t ch = unit;
  if (unit >= 0xDC00 && unit <= 0xDFFF && r.highSurrogate)
    ch = 0x10000 + ((static_cast<char32_t>(r.highSurrogate) - 0xD800) << 10) + (unit - 0xDC00);
  r.highSurrogate = 0;
  r.form->PeerChar(ch);
  return 0;
}

// ---- window life ----

Result OnClose(WindowRecord& r, WPARAM, LPARAM) {
  if (r.form) {
    r.form->PeerCloseRequest();
  } else if (Application* app = r.backend->App(); app && app->MainForm()) {
    app->MainForm()->Close();  // the task-bar button's "close window"
  }
  return 0;  // never the default: that would destroy the window behind the form's back
}

Result OnActivate(WindowRecord& r, WPARAM wp, LPARAM) {
  const bool active = LOWORD(wp) != WA_INACTIVE;
  if (!r.form) {
    // The task-bar button activated the application window: hand on to the last active form.
    HWND target = r.backend->LastActive();
    if (active && target && IsWindowVisible(target)) SetActiveWindow(target);
    return 0;
  }
  if (active) r.backend->SetLastActive(r.hwnd);
  r.form->PeerActivated(active);
  // The focus goes back to the control that had it (or was given it while the window was
  // hidden), not to the frame: keys and screen readers find that control.
  if (active && r.form && HIWORD(wp) == 0)
    if (WindowedControl* focused = r.form->ActiveControl())
      if (HWND target = Win32Backend::WindowOf(focused->Peer()); target && IsWindowVisible(target)) {
        SetFocus(target);
        return 0;
      }
  return std::nullopt;
}

Result OnActivateApp(WindowRecord& r, WPARAM wp, LPARAM) {
  if (Application* app = r.backend->App()) app->PeerAppActivated(wp != FALSE);
  return std::nullopt;
}

Result OnWindowPosChanged(WindowRecord& r, WPARAM wp, LPARAM lp) {
  if (r.form && !IsIconic(r.hwnd)) {
    RECT w;
    GetWindowRect(r.hwnd, &w);
    r.form->PeerBoundsChanged(ToDesignRect(w, r.dpi));
  }
  return std::nullopt;  // the default sends WM_SIZE and WM_MOVE
}

Result OnGetMinMaxInfo(WindowRecord& r, WPARAM, LPARAM lp) {
  if (!r.form) return std::nullopt;
  auto* info = reinterpret_cast<MINMAXINFO*>(lp);
  if (r.form->MinWidth() > 0) info->ptMinTrackSize.x = ToDevice(r.form->MinWidth(), r.dpi);
  if (r.form->MinHeight() > 0) info->ptMinTrackSize.y = ToDevice(r.form->MinHeight(), r.dpi);
  return 0;
}

Result OnDpiChanged(WindowRecord& r, WPARAM wp, LPARAM lp) {
  r.dpi = HIWORD(wp) ? HIWORD(wp) : r.dpi;
  // The system's suggestion keeps the window's design size on the new monitor.
  const auto* suggested = reinterpret_cast<const RECT*>(lp);
  SetWindowPos(r.hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(r.hwnd, nullptr, FALSE);
  return 0;
}

Result OnNcDestroy(WindowRecord& r, WPARAM, LPARAM) {
  WindowMap().erase(r.hwnd);
  r.dead = true;
  if (r.icon) DestroyIcon(r.icon);
  r.icon = nullptr;
  if (r.form) r.form->PeerDestroyed();  // the system took the window away
  r.form = nullptr;
  return std::nullopt;
}

// ---- menus ----

Result OnCommand(WindowRecord& r, WPARAM wp, LPARAM lp) {
  if (lp != 0) return ReflectToControl(WM_COMMAND, wp, lp);
  if (HIWORD(wp) != 0) return std::nullopt;  // an accelerator
  if (MenuItem* item = r.backend->FindMenuCommand(r, LOWORD(wp))) {
    item->PeerChosen();
    return 0;
  }
  return std::nullopt;
}

Result OnMeasureItem(WindowRecord& r, WPARAM, LPARAM lp) {
  auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
  if (mis->CtlType != ODT_MENU) return std::nullopt;
  return r.backend->MeasureMenuItem(*mis, r.dpi) ? Result(TRUE) : std::nullopt;
}

Result OnDrawItem(WindowRecord& r, WPARAM, LPARAM lp) {
  const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
  if (dis->CtlType != ODT_MENU) return ReflectToControl(WM_DRAWITEM, 0, lp);
  return r.backend->DrawMenuItem(*dis, r.dpi) ? Result(TRUE) : std::nullopt;
}

// Notifications of the controls inside the form.
Result OnNotify(WindowRecord&, WPARAM wp, LPARAM lp) { return ReflectToControl(WM_NOTIFY, wp, lp); }
// The colours of the controls inside the form.
Result OnCtlColorEdit(WindowRecord&, WPARAM wp, LPARAM lp) { return ReflectToControl(WM_CTLCOLOREDIT, wp, lp); }
Result OnCtlColorStatic(WindowRecord&, WPARAM wp, LPARAM lp) { return ReflectToControl(WM_CTLCOLORSTATIC, wp, lp); }
Result OnCtlColorBtn(WindowRecord&, WPARAM wp, LPARAM lp) { return ReflectToControl(WM_CTLCOLORBTN, wp, lp); }
Result OnHScroll(WindowRecord&, WPARAM wp, LPARAM lp) { return ReflectToControl(WM_HSCROLL, wp, lp); }
Result OnVScroll(WindowRecord&, WPARAM wp, LPARAM lp) { return ReflectToControl(WM_VSCROLL, wp, lp); }

// ---- the system's notifications ----

Result ToSystem(WindowRecord& r, SystemMessageKind kind, std::uint32_t code, const std::string& name = {}) {
  if (!r.form) return std::nullopt;
  SystemMessage m;
  m.kind = kind;
  m.code = code;
  m.name = name;
  const SystemMessageResult answer = r.form->PeerSystemMessage(m);
  return answer.handled ? Result(answer.result) : std::nullopt;
}

Result OnQueryEndSession(WindowRecord& r, WPARAM, LPARAM) { return ToSystem(r, SystemMessageKind::QueryEndSession, 0); }
Result OnEndSession(WindowRecord& r, WPARAM wp, LPARAM) { return ToSystem(r, SystemMessageKind::EndSession, static_cast<std::uint32_t>(wp)); }
Result OnPowerBroadcast(WindowRecord& r, WPARAM wp, LPARAM) { return ToSystem(r, SystemMessageKind::PowerBroadcast, static_cast<std::uint32_t>(wp)); }
Result OnSettingChange(WindowRecord& r, WPARAM wp, LPARAM) { return ToSystem(r, SystemMessageKind::SettingChange, static_cast<std::uint32_t>(wp)); }
Result OnTimeChange(WindowRecord& r, WPARAM, LPARAM) { return ToSystem(r, SystemMessageKind::TimeChange, 0); }
Result OnSessionChange(WindowRecord& r, WPARAM wp, LPARAM) { return ToSystem(r, SystemMessageKind::SessionChange, static_cast<std::uint32_t>(wp)); }
Result OnMciNotify(WindowRecord& r, WPARAM wp, LPARAM) { return ToSystem(r, SystemMessageKind::MciNotify, static_cast<std::uint32_t>(wp)); }
Result OnSysCommand(WindowRecord& r, WPARAM wp, LPARAM) {
  return ToSystem(r, SystemMessageKind::SysCommand, static_cast<std::uint32_t>(wp & 0xFFF0));
}
// Screen readers ask for the form's client area.
Result OnGetObject(WindowRecord& r, WPARAM wp, LPARAM lp) {
  if (!r.form) return std::nullopt;
  return AnswerGetObject(*r.form, wp, lp);
}

Result OnTrayCallback(WindowRecord& r, WPARAM, LPARAM lp) {
  return ToSystem(r, SystemMessageKind::TrayCallback, static_cast<std::uint32_t>(lp));
}

const std::unordered_map<UINT, Handler>& Handlers() {
  static const std::unordered_map<UINT, Handler> handlers = {
      {WM_PAINT, &OnPaint},
      {WM_ERASEBKGND, &OnEraseBackground},
      {WM_LBUTTONDOWN, &OnLButtonDown},
      {WM_RBUTTONDOWN, &OnRButtonDown},
      {WM_MBUTTONDOWN, &OnMButtonDown},
      {WM_LBUTTONUP, &OnLButtonUp},
      {WM_RBUTTONUP, &OnRButtonUp},
      {WM_MBUTTONUP, &OnMButtonUp},
      {WM_LBUTTONDBLCLK, &OnLButtonDblClk},
      {WM_RBUTTONDBLCLK, &OnRButtonDblClk},
      {WM_MOUSEMOVE, &OnMouseMove},
      {WM_MOUSELEAVE, &OnMouseLeave},
      {WM_CAPTURECHANGED, &OnCaptureChanged},
      {WM_SETCURSOR, &OnSetCursor},
      {WM_KEYDOWN, &OnKeyDown},
      {WM_SYSKEYDOWN, &OnSysKeyDown},
      {WM_SYSCHAR, &OnSysChar},
      {WM_KEYUP, &OnKeyUp},
      {WM_SYSKEYUP, &OnKeyUp},
      {WM_CHAR, &OnChar},
      {WM_CLOSE, &OnClose},
      {WM_ACTIVATE, &OnActivate},
      {WM_ACTIVATEAPP, &OnActivateApp},
      {WM_WINDOWPOSCHANGED, &OnWindowPosChanged},
      {WM_GETMINMAXINFO, &OnGetMinMaxInfo},
      {WM_DPICHANGED, &OnDpiChanged},
      {WM_NCDESTROY, &OnNcDestroy},
      {WM_COMMAND, &OnCommand},
      {WM_NOTIFY, &OnNotify},
      {WM_HSCROLL, &OnHScroll},
      {WM_VSCROLL, &OnVScroll},
      {WM_MEASUREITEM, &OnMeasureItem},
      {WM_DRAWITEM, &OnDrawItem},
      {WM_CTLCOLOREDIT, &OnCtlColorEdit},
      {WM_CTLCOLORSTATIC, &OnCtlColorStatic},
      {WM_CTLCOLORBTN, &OnCtlColorBtn},
      {WM_QUERYENDSESSION, &OnQueryEndSession},
      {WM_ENDSESSION, &OnEndSession},
      {WM_POWERBROADCAST, &OnPowerBroadcast},
      {WM_SETTINGCHANGE, &OnSettingChange},
      {WM_TIMECHANGE, &OnTimeChange},
      {WM_SYSCOMMAND, &OnSysCommand},
      {WM_WTSSESSION_CHANGE, &OnSessionChange},
      {MM_MCINOTIFY, &OnMciNotify},
      {kTrayCallbackMessage, &OnTrayCallback},
      {WM_GETOBJECT, &OnGetObject},
  };
  return handlers;
}

Result Dispatch(WindowRecord& r, UINT msg, WPARAM wp, LPARAM lp) {
  const auto& handlers = Handlers();
  if (auto it = handlers.find(msg); it != handlers.end()) return it->second(r, wp, lp);
  if (msg >= 0xC000 && msg <= 0xFFFF) {
    if (msg == AccessActionMessage()) {
      RunPendingAccessActions();
      return 0;
    }
    if (const std::string* name = r.backend->RegisteredName(msg))
      return ToSystem(r, SystemMessageKind::Registered, 0, *name);
  }
  return std::nullopt;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* record = static_cast<WindowRecord*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    if (record) {
      record->hwnd = hwnd;
      WindowMap()[hwnd] = record;
    }
  }
  WindowRecord* record = RecordOf(hwnd);
  if (!record) return DefWindowProcW(hwnd, msg, wp, lp);
  ++record->depth;
  Result handled;
  // Nothing thrown by a handler may reach DispatchMessage: the application reports it and
  // the message counts as handled (a failed paint is not asked for again and again).
  if (!GuardedDelivery(record->backend ? record->backend->App() : nullptr,
                       [&] { handled = Dispatch(*record, msg, wp, lp); })) {
    if (msg == WM_PAINT && !record->dead) ValidateRect(hwnd, nullptr);
    handled = 0;
  }
  // The handler may have destroyed this very window: the record lives until the outermost
  // message of the window is done.
  const bool last = --record->depth == 0 && record->dead && !record->creating;
  if (last) delete record;
  return handled ? *handled : DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

bool RegisterFormClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.lpszClassName = kFormClassName;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

WindowRecord* RecordOf(HWND hwnd) {
  auto& map = WindowMap();
  auto it = map.find(hwnd);
  return it == map.end() ? nullptr : it->second;
}

HWND CreateFormWindow(WindowRecord* record, DWORD exStyle, DWORD style, const RECT& bounds, HWND owner,
                      const wchar_t* title) {
  if (!RegisterFormClass()) {
    delete record;
    return nullptr;
  }
  record->creating = true;
  HWND hwnd = CreateWindowExW(exStyle, kFormClassName, title, style, bounds.left, bounds.top,
                              bounds.right - bounds.left, bounds.bottom - bounds.top, owner, nullptr,
                              GetModuleHandleW(nullptr), record);
  record->creating = false;
  if (!hwnd || record->dead) {
    // Refused, or destroyed during creation: nothing else refers to the record now.
    if (hwnd) WindowMap().erase(hwnd);
    delete record;
    return nullptr;
  }
  return hwnd;
}

HCURSOR CursorHandle(Cursor cursor) {
  const wchar_t* id = IDC_ARROW;
  switch (cursor) {
    case Cursor::Hand: id = IDC_HAND; break;
    case Cursor::IBeam: id = IDC_IBEAM; break;
    case Cursor::Wait: id = IDC_WAIT; break;
    case Cursor::Cross: id = IDC_CROSS; break;
    case Cursor::SizeAll: id = IDC_SIZEALL; break;
    case Cursor::SizeWE: id = IDC_SIZEWE; break;
    case Cursor::SizeNS: id = IDC_SIZENS; break;
    case Cursor::No: id = IDC_NO; break;
    case Cursor::Default:
    case Cursor::Arrow: break;
  }
  return LoadCursorW(nullptr, id);
}

ShiftState CurrentShiftState() {  // also for the control windows' mouse and key messages
  ShiftState s;
  s.shift = GetKeyState(VK_SHIFT) < 0;
  s.ctrl = GetKeyState(VK_CONTROL) < 0;
  s.alt = GetKeyState(VK_MENU) < 0;
  s.left = GetKeyState(VK_LBUTTON) < 0;
  s.right = GetKeyState(VK_RBUTTON) < 0;
  s.middle = GetKeyState(VK_MBUTTON) < 0;
  return s;
}

}  // namespace vm::ui::win32

// First: it keeps the system's MoveFile/DeleteFile macros away from the platform interfaces.
#include "platform/win32_services_win32.h"

#include "ui/toolkit/backend_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "ui/toolkit/application.h"
#include "ui/toolkit/dialogs_win32.h"
#include "ui/toolkit/dpi.h"
#include "ui/toolkit/form.h"
#include "ui/toolkit/form_window_win32.h"
#include "ui/toolkit/std_controls.h"
#include "ui/toolkit/timer.h"
#include "ui/toolkit/win32/accessible_win32.h"
#include "ui/toolkit/win32/control_windows_win32.h"

namespace vm::ui {

using win32::WindowRecord;

namespace {

DWORD StyleFor(BorderStyle border) {
  switch (border) {
    case BorderStyle::None: return WS_POPUP | WS_CLIPCHILDREN;
    case BorderStyle::Single: return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    case BorderStyle::Sizable: return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  }
  return WS_POPUP;
}

bool WantsLayered(const Form& form) { return form.AlphaBlend() || form.TransparentColor(); }

// The frame around a client area in device pixels at `dpi` (AdjustWindowRectExForDpi where
// the system has it, so the frame matches the monitor).
RECT FrameAt(DWORD style, DWORD exStyle, int dpi) {
  RECT r{0, 0, 0, 0};
  using Fn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const Fn adjustForDpi = [] {
    HMODULE user = GetModuleHandleW(L"user32.dll");
    return user ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user, "AdjustWindowRectExForDpi"))) : nullptr;
  }();
  if (adjustForDpi) adjustForDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi));
  else AdjustWindowRectEx(&r, style, FALSE, exStyle);
  return r;
}

}  // namespace

namespace {

// The timers are the thread's own (no window of their own, so none waits for the application
// window); the system numbers them, and this says whose each number is.
std::map<UINT_PTR, Win32Backend*>& TimerBackends() {
  static std::map<UINT_PTR, Win32Backend*> backends;
  return backends;
}

void CALLBACK ThreadTimerTick(HWND, UINT, UINT_PTR id, DWORD) {
  auto& backends = TimerBackends();
  if (auto it = backends.find(id); it != backends.end()) it->second->TimerTick(id);
}

}  // namespace

// No thread sets up the window system ahead of the first window: under Wine a second thread
// slows the program thread's own set-up by more than it saves (README, "How fast the clock
// starts").
Win32Backend::Win32Backend() = default;

Win32Backend::~Win32Backend() {
  for (const auto& [id, timer] : timers_) {
    KillTimer(nullptr, id);
    TimerBackends().erase(id);
  }
  timers_.clear();
  StopAdoptTimer();
  if (appWindow_) DestroyWindow(appWindow_);
}

HWND Win32Backend::EnsureAppWindow() {
  if (appWindow_ || appWindowTried_) return appWindow_;
  appWindowTried_ = true;
  auto* record = new WindowRecord;
  record->backend = this;
  record->dpi = win32::SystemDpi();
  // Hidden until the task-bar button is wanted; it owns the forms so that they have no buttons
  // of their own.
  appWindow_ = win32::CreateFormWindow(record, 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                       RECT{0, 0, 0, 0}, nullptr, appTitle_.c_str());
  if (appWindow_) AdoptFormsMadeBefore();
  return appWindow_;
}

// A borderless form made before the application window is made without an owner, as a tool
// window so that it has no task-bar button meanwhile: the first window of a thread costs the
// system's set-up of the thread (under Wine 35 to 40 ms), the next one 8 to 10 ms more, and the
// first form need not wait for both. Once drawn (FormPainted, AdoptTick) it gets the
// application window as its owner, as every later form has from the start; it has no button of
// its own either way.
void Win32Backend::AdoptFormsMadeBefore() {
  StopAdoptTimer();
  bool placed = false;
  for (HWND hwnd : unowned_) {
    WindowRecord* record = win32::RecordOf(hwnd);
    if (!record || record->dead || !record->awaitsOwner) continue;
    record->awaitsOwner = false;
    // Behind the first of them, as if made before it (a new window comes in front): an owner
    // stays behind what it owns. Behind a top-most form it is already.
    if (!placed && !(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST))
      SetWindowPos(appWindow_, hwnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    placed = true;
    SetWindowLongPtrW(hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(appWindow_));
    const LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_TOOLWINDOW));
  }
  unowned_.clear();
}

// Started by the first paint, not when the form is made: a window's first paint is not pending
// before the display has reported the window shown (under Wine), and a timer started earlier
// came first and held that paint up by the making of the application window.
void Win32Backend::FormPainted(const win32::WindowRecord& record) {
  if (!record.awaitsOwner || appWindowTried_ || adoptSoon_) return;
  StartAdoptTimer(1);
  adoptSoon_ = true;
}

void Win32Backend::StartAdoptTimer(UINT ms) {
  StopAdoptTimer();
  adoptTimer_ = SetTimer(nullptr, 0, ms, &ThreadTimerTick);
  if (adoptTimer_) TimerBackends()[adoptTimer_] = this;
}

// Makes the application window once a form made before it has been drawn, and shows the
// task-bar button if it was asked for meanwhile.
void Win32Backend::AdoptTick() {
  StopAdoptTimer();  // it ticks once, even where the application window cannot be made
  EnsureAppWindow();
  if (taskbarButtonWanted_) SetTaskbarButton(true);
}

void Win32Backend::StopAdoptTimer() {
  if (!adoptTimer_) return;
  KillTimer(nullptr, adoptTimer_);
  TimerBackends().erase(adoptTimer_);
  adoptTimer_ = 0;
}

WindowRecord* Win32Backend::Record(PeerHandle peer) { return reinterpret_cast<WindowRecord*>(peer); }

win32::WindowRecord* Win32Backend::LiveRecord(PeerHandle peer) {
  WindowRecord* record = Record(peer);
  return record && !record->dead ? record : nullptr;
}

void Win32Backend::NotifyAccessible(PeerHandle peer, AccessEvent event, int item, int sub) {
  win32::NotifyAccessibleEvent(WindowOf(peer), event, item, sub);
}

HWND Win32Backend::WindowOf(PeerHandle peer) {
  WindowRecord* record = Record(peer);
  return record && !record->dead ? record->hwnd : nullptr;
}

// ---- form windows ----

PeerHandle Win32Backend::CreateFormPeer(Form& form) {
  auto* record = new WindowRecord;
  record->backend = this;
  record->form = &form;
  record->dpi = win32::SystemDpi();
  DWORD exStyle = WantsLayered(form) ? WS_EX_LAYERED : 0;
  if (form.TopMost()) exStyle |= WS_EX_TOPMOST;
  const std::wstring title = win32::Widen(form.Caption());
  // A frame would be a tool window's, smaller: a form with one waits for the application window.
  record->awaitsOwner = !appWindow_ && !appWindowTried_ && form.GetBorderStyle() == BorderStyle::None;
  if (record->awaitsOwner) exStyle |= WS_EX_TOOLWINDOW;  // see AdoptFormsMadeBefore
  HWND hwnd = win32::CreateFormWindow(record, exStyle, StyleFor(form.GetBorderStyle()),
                                      win32::ToDeviceRect(form.Bounds(), record->dpi),
                                      record->awaitsOwner ? nullptr : EnsureAppWindow(), title.c_str());
  if (!hwnd) return 0;
  if (record->awaitsOwner) unowned_.push_back(hwnd);
  // The monitor the window landed on may have another DPI than the system's.
  const int dpi = win32::WindowDpi(hwnd);
  if (dpi != record->dpi) {
    record->dpi = dpi;
    const RECT r = win32::ToDeviceRect(form.Bounds(), dpi);
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ApplyLayered(*record, form);
  if (!form.Enabled()) EnableWindow(hwnd, FALSE);
  const auto peer = reinterpret_cast<PeerHandle>(record);
  if (!form.GetIcon().IsEmpty()) SetFormIcon(peer, form.GetIcon());
  return peer;
}

void Win32Backend::DestroyPeer(PeerHandle peer) {
  WindowRecord* record = Record(peer);
  if (!record) return;
  record->form = nullptr;  // from here on the window reports nothing
  record->control = nullptr;
  if (lastActive_ == record->hwnd) lastActive_ = nullptr;
  if (!record->dead) DestroyWindow(record->hwnd);  // the record goes at WM_NCDESTROY
}

void Win32Backend::SetPeerBounds(PeerHandle peer, const Rect& bounds) {
  WindowRecord* record = Record(peer);
  if (!record || record->dead) return;
  const RECT r = win32::ToDeviceRect(bounds, record->dpi);
  SetWindowPos(record->hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Backend::SetPeerText(PeerHandle peer, const std::string& text) {
  if (HWND hwnd = WindowOf(peer)) SetWindowTextW(hwnd, win32::Widen(text).c_str());
}

void Win32Backend::FocusPeer(PeerHandle peer) {
  if (HWND hwnd = WindowOf(peer)) SetFocus(hwnd);
}

void Win32Backend::SetPeerVisible(PeerHandle peer, bool visible) {
  WindowRecord* record = Record(peer);
  if (!record || record->dead) return;
  ShowWindow(record->hwnd, visible ? SW_SHOW : SW_HIDE);
  if (!visible || !record->activateWhenShown) return;
  record->activateWhenShown = false;
  ActivateForm(peer);
}

void Win32Backend::SetPeerEnabled(PeerHandle peer, bool enabled) {
  if (HWND hwnd = WindowOf(peer)) EnableWindow(hwnd, enabled ? TRUE : FALSE);
}

void Win32Backend::ApplyLayered(WindowRecord& record, const Form& form) {
  const LONG_PTR ex = GetWindowLongPtrW(record.hwnd, GWL_EXSTYLE);
  const bool layered = WantsLayered(form);
  if (layered != ((ex & WS_EX_LAYERED) != 0))
    SetWindowLongPtrW(record.hwnd, GWL_EXSTYLE, layered ? (ex | WS_EX_LAYERED) : (ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED)));
  if (!layered) {
    record.layeredFlags = 0;  // a window made layered again starts without attributes
    return;
  }
  DWORD flags = 0;
  if (form.AlphaBlend()) flags |= LWA_ALPHA;
  if (form.TransparentColor()) flags |= LWA_COLORKEY;
  const COLORREF color = win32::ToColorRef(form.TransparentColorValue());
  const auto alpha = static_cast<BYTE>(form.AlphaBlend() ? form.AlphaBlendValue() : 255);
  if (flags == record.layeredFlags && color == record.layeredColor && alpha == record.layeredAlpha) return;
  if (!SetLayeredWindowAttributes(record.hwnd, color, alpha, flags)) return;
  record.layeredColor = color;
  record.layeredAlpha = alpha;
  record.layeredFlags = flags;
}

void Win32Backend::UpdateFormStyle(PeerHandle peer, const Form& form) {
  WindowRecord* record = Record(peer);
  if (!record || record->dead) return;
  const LONG_PTR style = GetWindowLongPtrW(record->hwnd, GWL_STYLE);
  // The window's state, and the WS_CLIPSIBLINGS the system adds to every top-level window, are
  // no change of the border: an unchanged border costs no new frame.
  const LONG_PTR kept = WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE | WS_CLIPSIBLINGS;
  const LONG_PTR wanted = StyleFor(form.GetBorderStyle()) | (style & kept);
  UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  if (wanted != style) {
    SetWindowLongPtrW(record->hwnd, GWL_STYLE, wanted);
    flags |= SWP_FRAMECHANGED;
  }
  ApplyLayered(*record, form);
  // A hidden window goes to the top of its band when it is shown: while it is hidden, only a
  // change of the border or of the band needs the move (it costs a round trip to the display).
  const bool topMost = (GetWindowLongPtrW(record->hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if ((style & WS_VISIBLE) || (flags & SWP_FRAMECHANGED) || topMost != form.TopMost())
    SetWindowPos(record->hwnd, form.TopMost() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, flags);
  InvalidateRect(record->hwnd, nullptr, FALSE);  // the colour may have changed
}

void Win32Backend::UpdateFormOpacity(PeerHandle peer, const Form& form) {
  WindowRecord* record = Record(peer);
  if (!record || record->dead) return;
  const bool layered = (GetWindowLongPtrW(record->hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  // A layered window takes a new opacity without being moved in the z-order or drawn again.
  if (layered && WantsLayered(form)) ApplyLayered(*record, form);
  else UpdateFormStyle(peer, form);
}

void Win32Backend::SetFormIcon(PeerHandle peer, const Icon& icon) {
  WindowRecord* record = Record(peer);
  if (!record || record->dead) return;
  HICON handle = win32::CreateIconFrom(icon);
  SendMessageW(record->hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(handle));
  SendMessageW(record->hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(handle));
  if (record->icon) DestroyIcon(record->icon);
  record->icon = handle;
}

void Win32Backend::ActivateForm(PeerHandle peer) {
  HWND hwnd = WindowOf(peer);
  if (!hwnd) return;
  if (!IsWindowVisible(hwnd)) {
    // Asked while the window is being shown (from its OnShow): done once it is, so that the
    // activation's messages do not hold up its appearance.
    Record(peer)->activateWhenShown = true;
    return;
  }
  if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
  SetForegroundWindow(hwnd);
  BringWindowToTop(hwnd);
}

Rect Win32Backend::FrameInsets(const Form& form) {
  if (form.GetBorderStyle() == BorderStyle::None) return {};
  const int dpi = form.IsRealized() && Record(form.Peer()) ? Record(form.Peer())->dpi : win32::SystemDpi();
  const RECT r = FrameAt(StyleFor(form.GetBorderStyle()), WantsLayered(form) ? WS_EX_LAYERED : 0, dpi);
  return {ToDesign(-r.left, dpi), ToDesign(-r.top, dpi), ToDesign(r.right, dpi), ToDesign(r.bottom, dpi)};
}

void Win32Backend::Invalidate(PeerHandle peer, const Rect& area) {
  WindowRecord* record = Record(peer);
  if (!record || record->dead) return;
  const RECT r = win32::ToDeviceRect(area, record->dpi);
  InvalidateRect(record->hwnd, &r, FALSE);
}

void Win32Backend::PaintNow(PeerHandle peer, const std::function<void(Canvas&)>& draw) {
  WindowRecord* record = Record(peer);
  if (!record || record->dead) return;
  HDC dc = GetDC(record->hwnd);
  if (!dc) return;
  {
    win32::GdiCanvas canvas(dc, record->dpi, fonts_);
    draw(canvas);
  }
  ReleaseDC(record->hwnd, dc);
}

void Win32Backend::BeginMoveDrag(PeerHandle peer) {
  HWND hwnd = WindowOf(peer);
  if (!hwnd) return;
  // The system's own move loop: the window follows the mouse until the button is released.
  ReleaseCapture();
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void Win32Backend::SetPeerCursor(PeerHandle peer, Cursor cursor) {
  WindowRecord* record = Record(peer);
  if (!record || record->dead) return;
  record->cursor = cursor;
  POINT p;
  if (GetCursorPos(&p) && WindowFromPoint(p) == record->hwnd) SetCursor(win32::CursorHandle(cursor));
}

HWND Win32Backend::EnsureTooltip(WindowRecord& record) {
  if (record.tooltip) return record.tooltip;
  win32::EnsureCommonControls();
  // Owned by the form's window, so it goes with it.
  record.tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, record.hwnd,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!record.tooltip) return nullptr;
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every version of the common controls
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = record.hwnd;
  info.uId = reinterpret_cast<UINT_PTR>(record.hwnd);
  info.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(record.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageW(record.tooltip, TTM_SETMAXTIPWIDTH, 0, 600);
  return record.tooltip;
}

void Win32Backend::SetHintText(PeerHandle peer, const std::string& text) {
  WindowRecord* record = Record(peer);
  if (!record || record->dead) return;
  if (text.empty() && !record->tooltip) return;
  HWND tip = EnsureTooltip(*record);
  if (!tip) return;
  record->hint = win32::Widen(text);
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = record->hwnd;
  info.uId = reinterpret_cast<UINT_PTR>(record->hwnd);
  info.lpszText = record->hint.data();
  SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  if (text.empty()) SendMessageW(tip, TTM_POP, 0, 0);
  SendMessageW(tip, TTM_ACTIVATE, text.empty() ? FALSE : TRUE, 0);
}

WindowId Win32Backend::NativeId(PeerHandle peer) { return reinterpret_cast<WindowId>(WindowOf(peer)); }

// ---- loops ----

void Win32Backend::RunMessageLoop(const std::function<bool()>& done) {
  MSG msg;
  while (!done()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      if (app_) app_->Terminate();
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Win32Backend::RunModalLoop(Form& form, const std::function<bool()>& done) {
  // The other windows of the application take no input while the modal form is up.
  std::vector<HWND> disabled;
  if (app_) {
    for (Form* other : app_->Forms()) {
      if (other == &form || !other->IsRealized()) continue;
      HWND hwnd = WindowOf(other->Peer());
      if (hwnd && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
        EnableWindow(hwnd, FALSE);
        disabled.push_back(hwnd);
      }
    }
  }
  HWND previous = lastActive_;
  MSG msg;
  while (!done()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);  // for the outer loop
      if (app_) app_->Terminate();
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // Enabled again before the modal window hides, so the focus returns to them.
  for (HWND hwnd : disabled)
    if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
  if (previous && previous != WindowOf(form.Peer()) && IsWindow(previous) && IsWindowVisible(previous))
    SetActiveWindow(previous);
}

void Win32Backend::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// ---- timers ----

PeerHandle Win32Backend::StartTimer(Timer& timer, int intervalMs) {
  const UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(std::max(intervalMs, 1)), &ThreadTimerTick);
  if (!id) return 0;
  timers_[id] = &timer;
  TimerBackends()[id] = this;
  return static_cast<PeerHandle>(id);
}

void Win32Backend::StopTimer(PeerHandle timerPeer) {
  const auto id = static_cast<UINT_PTR>(timerPeer);
  if (!timers_.erase(id)) return;
  KillTimer(nullptr, id);
  TimerBackends().erase(id);
}

void Win32Backend::TimerTick(UINT_PTR id) {
  if (id == adoptTimer_) {
    AdoptTick();
    return;
  }
  auto it = timers_.find(id);
  // Called from DispatchMessage itself, which nothing thrown by a handler may reach.
  if (it != timers_.end()) GuardedDelivery(app_, [timer = it->second] { timer->PeerTick(); });
}

// ---- application, screen, notification area ----

void Win32Backend::SetAppTitle(const std::string& title) {
  appTitle_ = win32::Widen(title);
  if (appWindow_) SetWindowTextW(appWindow_, appTitle_.c_str());
}

void Win32Backend::SetTaskbarButton(bool visible) {
  taskbarButtonWanted_ = false;
  if (visible && !appWindow_ && !appWindowTried_ && !unowned_.empty()) {
    // The button comes after the first form's first frame (FormPainted); a window that is not
    // drawn (off every screen) gets its button after a bound.
    taskbarButtonWanted_ = true;
    if (!adoptSoon_) StartAdoptTimer(kButtonAfterMs);
    return;
  }
  if (HWND app = visible ? EnsureAppWindow() : appWindow_) ShowWindow(app, visible ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void Win32Backend::FlashTaskbarButton(bool invert) {
  if (appWindow_) FlashWindow(appWindow_, invert ? TRUE : FALSE);
}

void Win32Backend::Beep() { MessageBeep(MB_OK); }

ScreenInfo Win32Backend::GetScreenInfo() {
  const int dpi = win32::SystemDpi();
  ScreenInfo info;
  info.width = ToDesign(GetSystemMetrics(SM_CXSCREEN), dpi);
  info.height = ToDesign(GetSystemMetrics(SM_CYSCREEN), dpi);
  info.pixelsPerInch = dpi;
  RECT work;
  info.workArea = SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)
                      ? win32::ToDesignRect(work, dpi)
                      : Rect{0, 0, info.width, info.height};
  info.verticalScrollBarWidth = ToDesign(GetSystemMetrics(SM_CXVSCROLL), dpi);
  return info;
}

Point Win32Backend::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  const int dpi = win32::SystemDpi();
  return {ToDesign(p.x, dpi), ToDesign(p.y, dpi)};
}

ShiftState Win32Backend::ModifierKeys() { return win32::CurrentShiftState(); }

void Win32Backend::SetCursorPos(Point p) {
  const int dpi = win32::SystemDpi();
  ::SetCursorPos(ToDevice(p.x, dpi), ToDevice(p.y, dpi));
}

Color Win32Backend::ScreenPixel(Point p) {
  const int dpi = win32::SystemDpi();
  HDC screen = GetDC(nullptr);
  if (!screen) return clBlack;
  const COLORREF c = GetPixel(screen, ToDevice(p.x, dpi), ToDevice(p.y, dpi));
  ReleaseDC(nullptr, screen);
  return c == CLR_INVALID ? clBlack : static_cast<Color>(c);
}

void Win32Backend::RegisterMessageName(const std::string& name) {
  if (registeredByName_.count(name)) return;
  const UINT id = RegisterWindowMessageW(win32::Widen(name).c_str());
  if (id == 0) return;
  registeredByName_[name] = id;
  registeredById_[id] = name;
}

UINT Win32Backend::RegisteredMessage(const std::string& name) const {
  auto it = registeredByName_.find(name);
  return it == registeredByName_.end() ? 0 : it->second;
}

const std::string* Win32Backend::RegisteredName(UINT message) const {
  auto it = registeredById_.find(message);
  return it == registeredById_.end() ? nullptr : &it->second;
}

bool Win32Backend::TrayCommand(PeerHandle owner, TrayAction action, const TrayIconData& data) {
  HWND hwnd = WindowOf(owner);
  if (!hwnd) return false;
  NOTIFYICONDATAW nid{};
  nid.cbSize = NOTIFYICONDATAW_V2_SIZE;  // the record every system since 2000 understands
  nid.hWnd = hwnd;
  nid.uID = data.id;
  nid.uFlags = data.flags;
  nid.uCallbackMessage = data.callbackMessage;
  HICON icon = data.icon ? win32::CreateIconFrom(*data.icon) : nullptr;
  nid.hIcon = icon;
  // The tip field holds 127 characters and the terminating zero.
  const std::wstring tip = win32::CutUtf16(win32::Widen(data.tip), std::size(nid.szTip) - 1);
  std::copy(tip.begin(), tip.end(), nid.szTip);
  const DWORD message = action == TrayAction::Add ? NIM_ADD : action == TrayAction::Modify ? NIM_MODIFY : NIM_DELETE;
  const bool accepted = Shell_NotifyIconW(message, &nid) != FALSE;
  if (icon) DestroyIcon(icon);  // the shell keeps its own copy
  return accepted;
}

// ---- dialogs ----

MessageBoxes& Win32Backend::Messages() {
  if (!messages_) messages_ = std::make_unique<vm::Win32MessageBoxes>();
  return *messages_;
}

Dialogs& Win32Backend::GetDialogs() {
  if (!dialogs_) dialogs_ = std::make_unique<Win32Dialogs>();
  return *dialogs_;
}

}  // namespace vm::ui

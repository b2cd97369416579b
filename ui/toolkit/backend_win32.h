#pragma once
// The Win32 backend: native windows, GDI painting, system timers, popup menus, the
// notification-area icon, message boxes and common dialogs. Every portable coordinate is a
// design pixel; this backend scales to the DPI of each window's monitor.

#include "ui/toolkit/win32_util_win32.h"

#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/toolkit/backend.h"
#include "ui/toolkit/gdi_win32.h"
#include "ui/toolkit/win32/native_peer_win32.h"
#include "ui/toolkit/win32_util_win32.h"

namespace vm::ui {

class MenuItem;
class Win32Backend;
class Win32Dialogs;

namespace win32 {

// What the backend keeps per native window; the handle of a form's peer points to it.
struct WindowRecord {
  Win32Backend* backend = nullptr;
  HWND hwnd = nullptr;
  Form* form = nullptr;  // nullptr for the application window, and once the form let go
  WindowedControl* control = nullptr;  // a control's window: the control, until it lets go
  std::unique_ptr<NativePeer> peer;    // a control's window: the peer of its kind
  int dpi = 96;
  int depth = 0;         // messages of this window being handled (nested)
  bool dead = false;     // the window is gone; the record goes when depth returns to 0
  bool creating = false; // CreateWindowEx has not returned yet: its caller cleans up
  bool trackingLeave = false;
  HWND tooltip = nullptr;
  HICON icon = nullptr;  // the form's icon as the system holds it
  bool activateWhenShown = false;  // brought to the front while still hidden
  std::wstring hint;
  Cursor cursor = Cursor::Arrow;
  wchar_t highSurrogate = 0;
  // The last Alt+key was taken by a handler: its system character goes nowhere either (the
  // default looks for a menu item of that letter and beeps when there is none).
  bool swallowSysChar = false;
  // The layered attributes last given to the window (flags 0: none yet). Each change costs a
  // round trip to the display server under Wine, so an unchanged one is not given again.
  COLORREF layeredColor = 0;
  BYTE layeredAlpha = 0;
  DWORD layeredFlags = 0;
  // Made before the application window: a tool window without an owner until it is adopted.
  bool awaitsOwner = false;
};

}  // namespace win32

class Win32Backend : public Backend {
 public:
  Win32Backend();
  ~Win32Backend() override;
  Win32Backend(const Win32Backend&) = delete;
  Win32Backend& operator=(const Win32Backend&) = delete;

  // The window behind a form's peer (nullptr when none), for tests and services.
  static HWND WindowOf(PeerHandle peer);
  // The record of a live window behind a form's or control's peer (nullptr when none).
  static win32::WindowRecord* LiveRecord(PeerHandle peer);
  // The application window: owner of the forms and of the task-bar button. Made when first
  // needed (a menu, the task-bar button, a form made once the first forms have been drawn), so
  // that the first form is not the thread's second window.
  HWND AppWindow() { return EnsureAppWindow(); }
  // The message number a registered name got (0 when not registered).
  UINT RegisteredMessage(const std::string& name) const;
  win32::FontCache& Fonts() { return fonts_; }
  // Replaces the system's message boxes (tests that must not wait for a user).
  void SetMessageBoxes(std::unique_ptr<MessageBoxes> boxes) { messages_ = std::move(boxes); }

  // ---- Backend ----
  void Attach(Application* app) override { app_ = app; }
  TextRenderer& Text() override { return text_; }
  const ColorResolver& Colors() override { return colors_; }
  PeerHandle CreateFormPeer(Form& form) override;
  void DestroyPeer(PeerHandle peer) override;
  void SetPeerBounds(PeerHandle peer, const Rect& bounds) override;
  void SetPeerText(PeerHandle peer, const std::string& text) override;
  void SetPeerVisible(PeerHandle peer, bool visible) override;
  void SetPeerEnabled(PeerHandle peer, bool enabled) override;
  void UpdateFormStyle(PeerHandle peer, const Form& form) override;
  void UpdateFormOpacity(PeerHandle peer, const Form& form) override;
  void SetFormIcon(PeerHandle peer, const Icon& icon) override;
  void ActivateForm(PeerHandle peer) override;
  Rect FrameInsets(const Form& form) override;
  void Invalidate(PeerHandle peer, const Rect& area) override;
  void PaintNow(PeerHandle peer, const std::function<void(Canvas&)>& draw) override;
  void BeginMoveDrag(PeerHandle peer) override;
  void SetPeerCursor(PeerHandle peer, Cursor cursor) override;
  void SetHintText(PeerHandle peer, const std::string& text) override;
  WindowId NativeId(PeerHandle peer) override;
  void RunMessageLoop(const std::function<bool()>& done) override;
  void RunModalLoop(Form& form, const std::function<bool()>& done) override;
  void ProcessMessages() override;
  PeerHandle StartTimer(Timer& timer, int intervalMs) override;
  void StopTimer(PeerHandle timerPeer) override;
  void ShowPopupMenu(PopupMenu& menu, Point screen, PeerHandle owner) override;
  void SetAppTitle(const std::string& title) override;
  void SetTaskbarButton(bool visible) override;
  void FlashTaskbarButton(bool invert) override;
  void Beep() override;
  ScreenInfo GetScreenInfo() override;
  Point CursorPos() override;
  ShiftState ModifierKeys() override;
  void SetCursorPos(Point p) override;
  Color ScreenPixel(Point p) override;
  void RegisterMessageName(const std::string& name) override;
  bool TrayCommand(PeerHandle owner, TrayAction action, const TrayIconData& data) override;
  ControlPeer* CreateControlPeer(WindowedControl& control) override;
  void FocusPeer(PeerHandle peer) override;
  MessageBoxes& Messages() override;
  Dialogs& GetDialogs() override;
  void NotifyAccessible(PeerHandle peer, AccessEvent event, int item, int sub) override;

  // ---- used by the window procedure (form_window_win32.cpp) ----
  Application* App() const { return app_; }
  // The registered name of a message number, or nullptr.
  const std::string* RegisteredName(UINT message) const;
  // A tick of the system's timer `id` (the thread's timer procedure): a form's timer, or the
  // one that makes the application window after the first frame.
  void TimerTick(UINT_PTR id);
  // Menu messages: the item of a command; owner-draw measuring and drawing.
  MenuItem* FindMenuCommand(win32::WindowRecord& record, UINT id);
  bool MeasureMenuItem(MEASUREITEMSTRUCT& mis, int dpi);
  bool DrawMenuItem(const DRAWITEMSTRUCT& dis, int dpi);
  // Remembers the last active form window, to give the focus back after a modal loop and when
  // the task-bar button is clicked.
  void SetLastActive(HWND hwnd) { lastActive_ = hwnd; }
  HWND LastActive() const { return lastActive_; }

  // A form has been drawn: one made before the application window is adopted right after.
  void FormPainted(const win32::WindowRecord& record);

 private:
  static win32::WindowRecord* Record(PeerHandle peer);
  void ApplyLayered(win32::WindowRecord& record, const Form& form);
  HWND EnsureTooltip(win32::WindowRecord& record);

  Application* app_ = nullptr;
  win32::FontCache fonts_;
  win32::GdiTextRenderer text_{fonts_};
  win32::Win32ColorResolver colors_;
  std::unique_ptr<MessageBoxes> messages_;
  std::unique_ptr<Win32Dialogs> dialogs_;
  HWND EnsureAppWindow();
  void AdoptFormsMadeBefore();
  void AdoptTick();
  void StartAdoptTimer(UINT ms);
  void StopAdoptTimer();
  HWND appWindow_ = nullptr;
  bool appWindowTried_ = false;
  std::wstring appTitle_;
  HWND lastActive_ = nullptr;
  std::map<std::string, UINT> registeredByName_;
  std::unordered_map<UINT, std::string> registeredById_;
  std::vector<HWND> unowned_;  // forms made before the application window (AdoptFormsMadeBefore)
  UINT_PTR adoptTimer_ = 0;
  bool adoptSoon_ = false;            // a form made before the application window was drawn
  bool taskbarButtonWanted_ = false;  // asked for before the application window was made
  static constexpr UINT kButtonAfterMs = 200;
  std::map<UINT_PTR, Timer*> timers_;
  PopupMenu* activeMenu_ = nullptr;
};

}  // namespace vm::ui

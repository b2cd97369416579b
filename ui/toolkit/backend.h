#pragma once
// The boundary between the portable toolkit and a windowing system. The portable objects hold
// the truth; a backend creates native peers that mirror it and reports user actions back
// through the objects' Peer* entry points (Form::PeerMouseDown, Timer::PeerTick,
// MenuItem::PeerChosen ...). Two implementations: the Win32 backend (native windows, GDI) and
// the headless backend (state kept in memory, user actions simulated by tests).
//
// All coordinates are design pixels (96 DPI); a backend scales to the monitor itself.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/services.h"
#include "ui/toolkit/color.h"
#include "ui/toolkit/control.h"
#include "ui/toolkit/geometry.h"
#include "ui/toolkit/input.h"
#include "ui/toolkit/tray_icon.h"

namespace vm::ui {

class Application;
class Canvas;
class ColorResolver;
class Dialogs;
class Form;
class Icon;
class PopupMenu;
class TextRenderer;
class Timer;
class WindowedControl;

// ---- control peers ----
// Every windowed control kind (button, check box, edit, list view ...) has one peer class per
// backend: a Win32 peer (ui/toolkit/win32/<kind>_peer_win32.cpp) that owns the native window
// and turns its messages into the control's Peer* calls, and a headless peer
// (ui/toolkit/headless/<kind>_peer.cpp) that mirrors the control's state for the tests.
//
// - The control names its kind by `PeerClass()`, a virtual that returns the kind's
//   `ControlClass` (one constant per kind, `kClass`). Classes derived from a kind (a window's
//   own button class, MaskEdit from Edit) inherit it and so get their base kind's peers; a
//   kind of its own overrides it. WindowedControl's default is "Custom": a blank window that
//   reports paint, mouse and keys and is drawn by portable code (panel, grid, splitter ...).
// - Each backend keeps one table from ControlClass to the function that makes the kind's
//   peer (ui/toolkit/win32/peers_win32.cpp, ui/toolkit/headless/headless_peers.cpp): the
//   peers register there rather than by static objects in their own files, which a static
//   library would leave out of the program. A class without an entry makes CreateControlPeer
//   throw ProgramFault naming the class and the control; so does a control that claims
//   the class of a kind it is not (PeerKind in windowed_control.h).
// - A Win32 peer names its window class and styles and takes its window's messages and the
//   notifications the parent window gets about it (win32::NativePeer); the records, focus and
//   keys, the reflection of notifications and the blank window are shared by all kinds
//   (ui/toolkit/win32/control_windows_win32.*, custom_window_win32.cpp).
// - A kind whose state goes beyond caption, font and bounds has a small peer interface of its
//   own next to the control (CheckBoxPeer in std_controls.h, ListViewPeer in list_view.h ...),
//   derived from ControlPeer; the control tells it what changed through
//   WindowedControl::Push(&CheckBoxPeer::CheckedChanged), and the peer reads the new state
//   from the control. A kind derived from another adds no interface of its own (Memo uses
//   EditPeer), so a control always gets a peer that serves every method it calls.
//
// Adding a kind: its control (with kClass, PeerClass() and perhaps a peer interface), one
// Win32 peer file, one headless peer file, and a line in each backend's table.

// The identity of a windowed control kind in the backends' peer tables (compared by address).
struct ControlClass {
  const char* name;
};

// What a windowed control tells its native window about every kind. The backend owns the peer
// (it lives as long as the window's handle, until DestroyPeer); state is read from the control.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  // The handle for the calls the backend serves for form and control windows alike
  // (DestroyPeer, SetPeerVisible, SetPeerEnabled, Invalidate, FocusPeer, SetHintText ...).
  virtual PeerHandle Handle() const = 0;
  // The caption changed (a kind that shows none ignores it).
  virtual void TextChanged() = 0;
  virtual void FontChanged() = 0;
  // The bounds changed (relative to the windowed parent).
  virtual void BoundsChanged() = 0;
};

struct ScreenInfo {
  int width = 0;
  int height = 0;
  int pixelsPerInch = 96;
  Rect workArea;
  int verticalScrollBarWidth = 17;  // the system's, in design pixels
};

class Backend {
 public:
  virtual ~Backend() = default;

  // The application that receives activation changes; set by the Application itself.
  virtual void Attach(Application* app) = 0;

  // ---- drawing services ----
  virtual TextRenderer& Text() = 0;
  virtual const ColorResolver& Colors() = 0;

  // ---- form windows ----
  // Creates the native window of `form`, hidden, from the form's fields (bounds, caption,
  // border, colours, opacity, colour key, top-most, icon).
  virtual PeerHandle CreateFormPeer(Form& form) = 0;
  virtual void DestroyPeer(PeerHandle peer) = 0;
  // Outer bounds in screen coordinates (control windows take theirs through their peer).
  virtual void SetPeerBounds(PeerHandle peer, const Rect& bounds) = 0;
  virtual void SetPeerText(PeerHandle peer, const std::string& text) = 0;
  virtual void SetPeerVisible(PeerHandle peer, bool visible) = 0;
  virtual void SetPeerEnabled(PeerHandle peer, bool enabled) = 0;
  // Border, top-most band, colour, opacity and colour key from the form's fields.
  virtual void UpdateFormStyle(PeerHandle peer, const Form& form) = 0;
  // Only the opacity changed (a fade step): a backend may spare the rest of the update.
  virtual void UpdateFormOpacity(PeerHandle peer, const Form& form) { UpdateFormStyle(peer, form); }
  virtual void SetFormIcon(PeerHandle peer, const Icon& icon) = 0;
  // Brings the window to the front and makes it the foreground window.
  virtual void ActivateForm(PeerHandle peer) = 0;
  // Thickness of the frame around the client area (left, top = caption + border, right,
  // bottom) for the form's border style.
  virtual Rect FrameInsets(const Form& form) = 0;
  // Repaints `area` (client coordinates) at the next paint cycle.
  virtual void Invalidate(PeerHandle peer, const Rect& area) = 0;
  // Calls `draw` with a canvas on the window's surface now.
  virtual void PaintNow(PeerHandle peer, const std::function<void(Canvas&)>& draw) = 0;
  // The window follows the mouse until the button is released.
  virtual void BeginMoveDrag(PeerHandle peer) = 0;
  virtual void SetPeerCursor(PeerHandle peer, Cursor cursor) = 0;
  // The hint shown for the control under the mouse; empty hides it.
  virtual void SetHintText(PeerHandle peer, const std::string& text) = 0;
  // The native handle for services that need an owner window.
  virtual WindowId NativeId(PeerHandle peer) = 0;

  // ---- windowed controls ----
  // Creates the peer of `control`'s kind and its native child window inside its windowed
  // parent's window (which exists already), showing the control's state; bounds are relative
  // to that parent. nullptr when the system refused the window; ProgramFault when this
  // backend has no peer for the control's PeerClass(). The peer is the backend's, valid until
  // DestroyPeer(peer->Handle()).
  virtual ControlPeer* CreateControlPeer(WindowedControl& control) = 0;
  // Gives the keyboard focus to the window.
  virtual void FocusPeer(PeerHandle peer) = 0;

  // ---- loops ----
  // Dispatches messages until `done` answers true (checked after every message).
  virtual void RunMessageLoop(const std::function<bool()>& done) = 0;
  // The same for a modal form: the application's other windows take no input meanwhile.
  virtual void RunModalLoop(Form& form, const std::function<bool()>& done) = 0;
  virtual void ProcessMessages() = 0;

  // ---- timers ----
  // Ticks `timer` every `intervalMs` through Timer::PeerTick; the handle stops it.
  virtual PeerHandle StartTimer(Timer& timer, int intervalMs) = 0;
  virtual void StopTimer(PeerHandle timerPeer) = 0;

  // ---- menus ----
  // Shows the menu at a screen point and returns when it closed; the chosen item (if any)
  // then reaches MenuItem::PeerChosen. `owner` is the window that owns the menu (0: none).
  virtual void ShowPopupMenu(PopupMenu& menu, Point screen, PeerHandle owner) = 0;

  // ---- application, screen, notification area ----
  virtual void SetAppTitle(const std::string& title) = 0;
  virtual void SetTaskbarButton(bool visible) = 0;
  // Flashes the task-bar button once (`invert`: toggles its highlight; false: back to normal).
  virtual void FlashTaskbarButton(bool invert) = 0;
  // The system's default sound.
  virtual void Beep() = 0;
  virtual ScreenInfo GetScreenInfo() = 0;
  virtual Point CursorPos() = 0;
  // The modifier keys held as the input being handled left them, for handlers of events that
  // carry no shift state (a push button's click).
  virtual ShiftState ModifierKeys() { return {}; }
  // Moves the mouse pointer to a screen point.
  virtual void SetCursorPos(Point p) = 0;
  virtual Color ScreenPixel(Point p) = 0;
  virtual void RegisterMessageName(const std::string& name) = 0;
  // Passes a notification-area icon command for the window `owner`; the system's answer.
  virtual bool TrayCommand(PeerHandle owner, TrayAction action, const TrayIconData& data) = 0;

  // ---- screen readers ----
  // Something changed about the node `item`, `sub` (-1: the window itself) inside the window of
  // `peer` (see accessible.h). A backend without screen readers ignores it.
  virtual void NotifyAccessible(PeerHandle peer, AccessEvent event, int item, int sub) {}

  // ---- dialogs ----
  virtual MessageBoxes& Messages() = 0;
  virtual Dialogs& GetDialogs() = 0;
};

}  // namespace vm::ui

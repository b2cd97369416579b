#pragma once
// The base of the controls that have a native window of their own: creation of the peer with
// the form, pushing state to it, the keyboard focus (tab order, OnEnter/OnExit) and the keys.
// See toolkit.h for the rules on events and peers.

#include "core/program_fault.h"
#include <type_traits>
#include <string>
#include <utility>

#include "ui/toolkit/backend.h"
#include "ui/toolkit/form.h"

namespace vm::ui {

// A scroll bar's range in the control's own units (rows, columns ...): `max` is inclusive, `page`
// is how many units are in view, `pos` the first one in view. A page covering the whole range
// hides the bar.
struct ScrollRange {
  int min = 0;
  int max = 0;
  int page = 1;
  int pos = 0;
  friend bool operator==(const ScrollRange&, const ScrollRange&) = default;
};

enum class ScrollCommand : std::uint8_t { LineBack, LineForward, PageBack, PageForward, Track, First, Last };

class WindowedControl : public Control {
 public:
  WindowedControl(Control& parent, const char* name);
  ~WindowedControl() override;

  bool IsWindowed() const override { return true; }
  WindowedControl* AsWindowed() override { return this; }
  // The kind whose peers make this control's window (see backend.h); derived classes inherit
  // their base kind's.
  static constexpr ControlClass kClass{"Custom"};
  virtual const ControlClass& PeerClass() const { return kClass; }
  // Whether the control is of kind `kind` or derived from it, so that the kind's peer fits it;
  // every kind answers for its own class and asks its base for the others.
  virtual bool IsOfKind(const ControlClass& kind) const { return &kind == &kClass; }

  // ---- focus ----
  // Whether Tab stops here; the order is TabOrder, then declaration order.
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool on) { tabStop_ = on; }
  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int order) { tabOrder_ = order; }
  // Moves the keyboard focus here (fires OnExit of the old and OnEnter of this control).
  void SetFocus();
  bool Focused() const;
  // Visible, enabled, and so are all ancestors.
  virtual bool CanFocus() const;
  // Whether the control uses Esc itself (an open drop-down list closes with it), so that Esc
  // does not close a window that closes on Esc.
  virtual bool WantsEscape() const { return false; }

  // ---- events ----
  NotifyEvent OnEnter;
  NotifyEvent OnExit;
  NotifyEvent OnChange;
  KeyEvent OnKeyDown;
  KeyEvent OnKeyUp;
  KeyPressEvent OnKeyPress;

  // ---- entry points of the backend ----
  // The window got or lost the keyboard focus.
  void PeerFocusChanged(bool focused);
  // Keys typed into the window. The form sees them first when it has key preview; the result is
  // the key left after the handlers (0: swallowed, the window does not process it).
  KeyCode PeerKeyDown(KeyCode key, ShiftState shift);
  KeyCode PeerKeyUp(KeyCode key, ShiftState shift);
  char32_t PeerChar(char32_t ch);
  // Custom windows: paint and mouse, in the control's client coordinates.
  virtual void PeerPaint(Canvas& canvas, const Rect& dirty);
  virtual void PeerMouseDown(MouseButton button, ShiftState shift, Point p);
  virtual void PeerMouseMove(ShiftState shift, Point p);
  virtual void PeerMouseUp(MouseButton button, ShiftState shift, Point p);
  // The second press of a double click (the release follows as a mouse up).
  virtual void PeerDoubleClick(ShiftState shift, Point p);
  // The mouse left the window: the graphic child it was over gets its OnMouseLeave.
  void PeerMouseLeave();
  // The wheel turned by `delta` (120 a notch, positive away from the user).
  virtual void PeerMouseWheel(ShiftState shift, int delta, Point p) {}
  // The user worked the window's own scroll bar; `pos` is the thumb's place for Track.
  virtual void PeerScroll(bool vertical, ScrollCommand command, int pos) {}
  // The range the window's own scroll bar shows; false: the control has no such bar.
  virtual bool ScrollBarRange(bool vertical, ScrollRange& range) const { return false; }
  // The cursor over `p`: that of the graphic child under it, else the control's own.
  Cursor CursorAt(Point p) const;
  // The graphic child the mouse is over (nullptr: none, or the mouse is outside).
  Control* HoverChild() const { return hoverChild_; }

  // Creates the window of this control and of its windowed descendants (the form's window and
  // this control's parent window exist); DestroyPeers takes them away again.
  void CreatePeers();
  void DestroyPeers();

  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;

 protected:
  // Tells the window, if there is one, what changed: `change` is a method of the peer interface
  // of the kind that declares the calling method (a kind's peer implements its interface, and
  // derived kinds add none). The window's echoes are no user action.
  template <class Peer, class... Params, class... Args>
  void Push(void (Peer::*change)(Params...), Args&&... args) {
    static_assert(std::is_base_of_v<ControlPeer, Peer>);
    if (!peer_) return;
    PeerUpdate update(*this);
    (static_cast<Peer*>(peer_)->*change)(std::forward<Args>(args)...);
  }
  // A standard control of the system's describes itself; a blank window drawn by portable code
  // has no role unless its kind gives one. Both tell whether they take the focus.
  void DescribeAccessible(AccessInfo& info) const override;
  void BoundsChanged(const Rect& oldBounds) override;
  void CaptionChanged() override;
  void FontChanged() override;
  // Keys the control handles itself (grid navigation), after OnKeyDown left the key; the same
  // for the release after OnKeyUp.
  virtual void HandleKey(KeyCode key, ShiftState shift) {}
  virtual void HandleKeyUp(KeyCode key, ShiftState shift) {}
  // The keyboard focus came or went (before OnEnter and OnExit).
  virtual void FocusChanged(bool focused) {}
  // One of the key entry points is running (a key handler may be taking the control away).
  bool InKeyDelivery() const { return keyDepth_ > 0; }
  // Paints the control's own face on a custom window (before its graphic children).
  virtual void PaintFace(Canvas& canvas);
  Application* AppOrNull() const;
  // Stores a caption the window already shows (the user typed it): no push back, which would
  // reset the caret of the window being typed into.
  void StoreCaptionFromPeer(const std::string& caption);

 private:
  Control* MouseTarget(Point p) const;
  void UpdateHoverChild(Control* now);
  Control* hoverChild_ = nullptr;
  ControlPeer* peer_ = nullptr;  // the backend's, while Peer() is set
  bool tabStop_ = true;
  int tabOrder_ = 0;
  Control* mouseTarget_ = nullptr;
  bool captionFromPeer_ = false;
  int keyDepth_ = 0;
  friend class Form;
};

// The control a backend's peer of kind `Kind` serves: a control of another kind that claims the
// kind's peer class is refused with ProgramFault (its peer would not fit it).
[[noreturn]] void RefusePeerKind(const WindowedControl& control);
template <class Kind>
Kind& PeerKind(WindowedControl& control) {
  if (!control.IsOfKind(Kind::kClass)) RefusePeerKind(control);
  return static_cast<Kind&>(control);
}

// The windowed control at the next (or previous) tab stop after `from` (nullptr: the first),
// nullptr when the form has none.
WindowedControl* NextTabStop(Form& form, WindowedControl* from, bool forward);

}  // namespace vm::ui

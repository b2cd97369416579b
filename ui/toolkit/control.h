#pragma once
// The base of every control and of the form: a portable object that holds its own state and
// its events. See toolkit.h for the rules on events, peers and lifetime.

#include <bitset>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/toolkit/accessible.h"
#include "ui/toolkit/color.h"
#include "ui/toolkit/font.h"
#include "ui/toolkit/geometry.h"
#include "ui/toolkit/input.h"

namespace vm::ui {

class Application;
class Backend;
class Canvas;
class Control;
class FocusProxy;
class Form;
class WindowedControl;

// A backend's handle of a native window (0: none).
using PeerHandle = std::uintptr_t;

using NotifyEvent = std::function<void(Control& sender)>;
using MouseEvent = std::function<void(Control& sender, MouseButton button, ShiftState shift, int x, int y)>;
using MouseMoveEvent = std::function<void(Control& sender, ShiftState shift, int x, int y)>;
using PaintEvent = std::function<void(Control& sender, Canvas& canvas)>;

// Binds a member function of a window as an event handler, so that handlers stay named
// functions (readable in a stack trace): `VML.OnClick = Bind(this, &TForm1::VMLClick);`.
template <class T, class R, class... Args>
auto Bind(T* object, R (T::*method)(Args...)) {
  return [object, method](Args... args) -> R { return (object->*method)(std::forward<Args>(args)...); };
}

// Placement inside the parent: none, or stacked along an edge, or the remaining area.
enum class Align : std::uint8_t { None, Top, Bottom, Left, Right, Client };

// Which event is being delivered; the guard against re-entrance works per control and kind.
enum class EventKind : std::uint8_t {
  Click, DblClick, MouseDown, MouseMove, MouseUp, MouseEnter, MouseLeave,
  Paint, Change, KeyDown, KeyUp, KeyPress, Resize, Create, Show, Hide, Activate, Deactivate,
  CloseQuery, Close, Destroy,
  kCount
};

class Control {
 public:
  // A control inside `parent` (a form, or a container control); registered with it, in order.
  Control(Control& parent, const char* name);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // ---- identity and tree ----
  const std::string& Name() const { return name_; }
  // A number no other control of this process has had; FromSerial finds a control by it while
  // it lives (nullptr after), for holders that may outlive it (a screen reader's object).
  std::uint64_t Serial() const { return serial_; }
  static Control* FromSerial(std::uint64_t serial);
  Control* Parent() const { return parent_; }
  // The form this control belongs to (the form itself for a form).
  Form& OwnerForm() const;
  // The form, or nullptr for a control whose parent went away.
  Form* FormOrNull() const;
  const std::vector<Control*>& Children() const { return children_; }
  // Graphic controls have no native window: their nearest windowed ancestor paints them.
  virtual bool IsWindowed() const { return false; }
  // The control as its toolkit kind, nullptr when it is not of that kind. The programs are
  // built without the language's run-time type information, which only these questions needed.
  virtual WindowedControl* AsWindowed() { return nullptr; }
  virtual Form* AsForm() { return nullptr; }
  virtual FocusProxy* AsFocusProxy() { return nullptr; }
  const FocusProxy* AsFocusProxy() const { return const_cast<Control*>(this)->AsFocusProxy(); }

  // ---- geometry: parent client coordinates (screen coordinates for a form) ----
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.Width(); }
  int Height() const { return bounds_.Height(); }
  const Rect& Bounds() const { return bounds_; }
  void SetBounds(int left, int top, int width, int height);
  void SetBounds(const Rect& r) { SetBounds(r.left, r.top, r.Width(), r.Height()); }
  void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
  void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
  void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
  void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
  // The control's own area: 0, 0, client width, client height.
  virtual Rect ClientRect() const { return {0, 0, Width(), Height()}; }
  Align GetAlign() const { return align_; }
  void SetAlign(Align align);
  // Screen coordinates of a point given in this control's client coordinates, and back.
  virtual Point ClientToScreen(Point p) const;
  Point ScreenToClient(Point p) const;

  // ---- state ----
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible and every ancestor visible.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  const std::string& Caption() const { return caption_; }
  virtual void SetCaption(const std::string& caption);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);
  // Whether this control's hint is shown; by default the parent decides.
  bool ShowHintEffective() const;
  void SetShowHint(bool show) { showHint_ = show; parentShowHint_ = false; }
  std::int64_t Tag() const { return tag_; }
  void SetTag(std::int64_t tag) { tag_ = tag; }
  Cursor GetCursor() const { return cursor_; }
  void SetCursor(Cursor cursor);

  // Font and colour: taken from the parent until set on the control.
  const Font& GetFont() const;
  void SetFont(const Font& font);
  void SetFontColor(Color color);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool parentFont);
  Color GetColor() const;
  void SetColor(Color color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool parentColor);

  // ---- events (a user action fires them, see toolkit.h) ----
  NotifyEvent OnClick;
  NotifyEvent OnDblClick;
  MouseEvent OnMouseDown;
  MouseMoveEvent OnMouseMove;
  MouseEvent OnMouseUp;
  NotifyEvent OnMouseEnter;
  NotifyEvent OnMouseLeave;

  // ---- painting ----
  // Asks for a repaint of the control's area at the next paint cycle.
  void Invalidate();
  // Paints a graphic control on its parent's canvas (origin at the control's top-left).
  virtual void Paint(Canvas& canvas) {}

  // ---- input as delivered by a peer or a simulated user (the same path) ----
  // Coordinates are this control's client coordinates. Each updates state first, then fires.
  void DeliverMouseDown(MouseButton button, ShiftState shift, Point p);
  void DeliverMouseMove(ShiftState shift, Point p);
  // `inside` tells whether the release happened over the control (a click needs it).
  void DeliverMouseUp(MouseButton button, ShiftState shift, Point p, bool inside);
  void DeliverDoubleClick(ShiftState shift, Point p);
  void DeliverMouseEnter();
  void DeliverMouseLeave();
  // A click by other means than the mouse (Enter or Space on the control's focus proxy, a
  // screen reader's default action): OnClick as for a click with the mouse.
  void DeliverClick();

  // The window that takes the keyboard focus for this graphic control (nullptr: none).
  FocusProxy* KeyboardProxy() const { return keyboardProxy_; }

  // ---- accessibility (see accessible.h) ----
  // What screen readers are told: the kind's description, the window's name and role over it,
  // then the describer's additions; bounds in the host window's client coordinates.
  AccessInfo Accessible() const;
  const std::string& AccessibleName() const { return accessibleName_; }
  void SetAccessibleName(const std::string& name) { accessibleName_ = name; }
  // A role instead of the kind's (AccessRole::None hides the control from screen readers).
  void SetAccessibleRole(AccessRole role) { accessibleRole_ = role; }
  AccessibleDescriber* Describer() const { return describer_; }
  void SetAccessibleDescriber(AccessibleDescriber* describer) { describer_ = describer; }
  // Items the control draws as parts of its own: the count of items (`item` -1) or of the parts
  // of one item, their description, their default action, and which one has the focus.
  virtual int AccessibleItemCount(int item) const { return 0; }
  virtual AccessInfo AccessibleItem(int item, int sub) const { return {}; }
  virtual bool AccessibleItemAction(int item, int sub) { return false; }
  virtual bool AccessibleFocusedItem(int& item, int& sub) const { return false; }

  // The windowed ancestor (or this) and this control's bounds in its client coordinates.
  Control& WindowedAncestor();
  Rect BoundsIn(const Control& ancestor) const;

  // The backend's handle of this control's native window (0: none yet or graphic).
  PeerHandle Peer() const { return peer_; }

 protected:
  // A form: the root of its tree.
  explicit Control(const char* name);

  // Fires `handler` unless the same kind of event of this control is already being delivered
  // (an event handler whose actions lead back to the same event does not re-enter it). The
  // handler is copied first, so a handler may replace itself. Returns whether it ran.
  template <class Handler, class... Args>
  bool Fire(EventKind kind, const Handler& handler, Args&&... args) {
    if (!handler) return false;
    const auto bit = static_cast<std::size_t>(kind);
    if (firing_.test(bit)) return false;
    firing_.set(bit);
    struct Reset {
      std::bitset<static_cast<std::size_t>(EventKind::kCount)>& bits;
      std::size_t bit;
      ~Reset() { bits.reset(bit); }
    } reset{firing_, bit};
    auto copy = handler;
    copy(std::forward<Args>(args)...);
    return true;
  }
  bool IsFiring(EventKind kind) const { return firing_.test(static_cast<std::size_t>(kind)); }

  // While a property is being pushed to the peer, notifications the peer sends back are echoes
  // of our own change and not user actions.
  class PeerUpdate {
   public:
    explicit PeerUpdate(Control& c) : c_(c) { ++c_.pushingToPeer_; }
    ~PeerUpdate() { --c_.pushingToPeer_; }
   private:
    Control& c_;
  };
  bool PushingToPeer() const { return pushingToPeer_ > 0; }

  // The kind's part of Accessible(): role, name, value and states.
  virtual void DescribeAccessible(AccessInfo& info) const {}

  // Hooks for subclasses: after the bounds changed (already stored); after a font change
  // (own or inherited) and a caption change; the graphic controls re-measure in them.
  virtual void BoundsChanged(const Rect& oldBounds);
  virtual void FontChanged() { Invalidate(); }
  virtual void CaptionChanged() { Invalidate(); }
  // Lays out the children with an alignment (called when this control's size changes).
  void AlignChildren();
  // Limits a new size before it is stored (a form's minimum size).
  virtual void ConstrainSize(int& width, int& height) const {}
  // Stores bounds without any notification (used while a form's peer reports its bounds).
  void StoreBounds(const Rect& r) { bounds_ = r; }
  void SetPeer(PeerHandle peer) { peer_ = peer; }
  Backend* BackendOrNull() const;

 private:
  friend class Form;
  friend class FocusProxy;
  void AddChild(Control* child);
  // Moves `child` to just after `anchor` among the children (the proxy of a control takes its
  // place in the declaration order).
  void PlaceChildAfter(Control* child, const Control* anchor);
  void RemoveChild(Control* child);
  void NotifyFontChangedRecursive();
  void LetFocusGo();
  // Repaints `r` (in this control's client coordinates) through the windowed ancestor.
  void InvalidateRect(const Rect& r);

  // Offset of this control's client origin in `ancestor`'s client coordinates.
  Point OffsetIn(const Control& ancestor) const;

  std::string name_;
  std::uint64_t serial_ = 0;
  Control* parent_ = nullptr;
  bool aligning_ = false;
  std::vector<Control*> children_;
  Rect bounds_;
  Align align_ = Align::None;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  std::int64_t tag_ = 0;
  Cursor cursor_ = Cursor::Default;
  Font font_;
  bool parentFont_ = true;
  Color color_ = clBtnFace;
  bool parentColor_ = true;
  bool clickPending_ = false;  // a left press on the control waits for its release
  PeerHandle peer_ = 0;
  FocusProxy* keyboardProxy_ = nullptr;
  std::string accessibleName_;
  std::optional<AccessRole> accessibleRole_;
  AccessibleDescriber* describer_ = nullptr;
  int pushingToPeer_ = 0;
  std::bitset<static_cast<std::size_t>(EventKind::kCount)> firing_;
};

}  // namespace vm::ui

#pragma once
// A top-level window. See toolkit.h for the rules on events, realization and lifetime.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/services.h"
#include "platform/system_message.h"
#include "ui/toolkit/control.h"
#include "ui/toolkit/image_list.h"

namespace vm::ui {

class Application;
class PopupMenu;
class Timer;
class WindowedControl;

enum class BorderStyle : std::uint8_t {
  None,     // no frame, no caption
  Single,   // fixed size, caption with the system menu (close box) only
  Sizable,  // resizable frame, caption with minimize, maximize and close
};

enum class CloseAction : std::uint8_t { None, Hide, Free, Minimize };

enum class FormPosition : std::uint8_t { Designed, ScreenCenter };

// Results of a modal form; 0 keeps the modal loop running.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
inline constexpr int mrAbort = 3;
inline constexpr int mrRetry = 4;
inline constexpr int mrIgnore = 5;
inline constexpr int mrYes = 6;
inline constexpr int mrNo = 7;

using CloseEvent = std::function<void(Form& sender, CloseAction& action)>;
using CloseQueryEvent = std::function<void(Form& sender, bool& canClose)>;
// `key` may be set to 0 by the handler to swallow the key.
using KeyEvent = std::function<void(Control& sender, KeyCode& key, ShiftState shift)>;
using KeyPressEvent = std::function<void(Control& sender, char32_t& key)>;
using SystemMessageEvent = std::function<SystemMessageResult(Form& sender, const SystemMessage& message)>;

class Form : public Control {
 public:
  explicit Form(Application& app, const char* name = "Form");
  ~Form() override;

  Application& App() const { return app_; }
  bool IsWindowed() const override { return true; }
  Form* AsForm() override { return this; }
  // What the window implements beyond the toolkit, asked for by the address of the
  // interface's tag; nullptr when it implements no such interface (see app/window_interface.h).
  virtual void* FindInterface(const void* tag) { return nullptr; }

  // ---- size: Left/Top/Width/Height are the outer window in screen coordinates ----
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  Rect ClientRect() const override;
  void SetClientSize(int width, int height);
  void SetClientWidth(int width) { SetClientSize(width, ClientHeight()); }
  void SetClientHeight(int height) { SetClientSize(ClientWidth(), height); }
  // Minimum outer size (0: none); applied to every size change.
  int MinWidth() const { return minWidth_; }
  int MinHeight() const { return minHeight_; }
  void SetMinSize(int width, int height);

  // ---- appearance ----
  BorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(BorderStyle style);
  bool TopMost() const { return topMost_; }
  void SetTopMost(bool topMost);
  // Opacity of the whole window (alpha blending) and the colour that is keyed out.
  bool AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool on);
  int AlphaBlendValue() const { return alphaBlendValue_; }
  void SetAlphaBlendValue(int alpha);  // clamped to 0..255
  bool TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(bool on);
  Color TransparentColorValue() const { return transparentColorValue_; }
  void SetTransparentColorValue(Color color);
  FormPosition Position() const { return position_; }
  void SetPosition(FormPosition position) { position_ = position; }
  // With key preview the form's key events run before those of the focused control. Without a
  // focused windowed control (graphic controls take no focus) the form gets every key anyway.
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool on) { keyPreview_ = on; }
  const Icon& GetIcon() const { return icon_; }
  void SetIcon(const Icon& icon);
  // Esc (without Ctrl, Alt or Shift) closes the window as its close box does, unless the
  // focused control uses Esc itself or a key handler swallowed it.
  bool CloseOnEscape() const { return closeOnEscape_; }
  void SetCloseOnEscape(bool on) { closeOnEscape_ = on; }
  // The order Tab walks: windowed controls, and graphic controls that have a focus proxy (their
  // proxy stands in). Stops the list leaves out follow it in the declaration order, so a control
  // added later is still reachable; an empty list is the declaration order alone.
  const std::vector<Control*>& TabSequence() const { return tabSequence_; }
  void SetTabSequence(std::vector<Control*> sequence) { tabSequence_ = std::move(sequence); }
  // The whole client area is repainted at the next paint cycle.
  void Repaint() { Invalidate(); }

  // ---- life ----
  // Creates the native window (hidden) if it does not exist; fires OnCreate first if it has
  // not fired yet, and OnResize once the window has its size.
  void Realize();
  bool IsRealized() const { return Peer() != 0; }
  // Each focus proxy's window costs a system window, made when the form's window is. A form
  // whose first frame must come soon holds them back (HoldFocusWindows, before it is realized)
  // and makes them once it is on the screen (MakeFocusWindows). Until then a proxy that takes the
  // focus gets its window at that moment, and a proxy without one reports nothing to readers.
  void HoldFocusWindows() { holdFocusWindows_ = true; }
  void MakeFocusWindows();
  bool HoldsFocusWindows() const { return holdFocusWindows_; }
  // Show: OnShow, then the window appears (created first if needed). Hide: the window goes,
  // then OnHide.
  void SetVisible(bool visible) override;
  // Shows the form modally and returns its modal result once it closes. Hiding, releasing or
  // destroying the form, or ending the application, ends the loop too (mrCancel unless a result
  // was set).
  int ShowModal();
  bool IsModal() const { return modal_; }
  int ModalResult() const { return modalResult_; }
  // A non-zero result ends a modal form's loop (after OnCloseQuery and OnClose agree).
  void SetModalResult(int result) { modalResult_ = result; }
  // OnCloseQuery may refuse; then OnClose decides: hide (default), free, minimize or nothing.
  // Closing the main form ends the application. A modal form ends its loop with mrCancel.
  void Close();
  // Destroys the form once no event handler is running any more (see toolkit.h).
  void Release();
  bool IsReleased() const { return released_; }
  // Shows the window on top and gives it the focus.
  void BringToFront();
  // Starts moving the window with the mouse until the button is released.
  void BeginMove();
  // Draws on the window at once, outside a paint cycle; a later repaint covers it.
  void PaintNow(const std::function<void(Canvas&)>& draw);
  // The native window as a handle for services that need an owner; creates the window first.
  WindowId Handle();

  // Called by the application before it deletes the form: OnDestroy, then the window goes.
  void BeforeDestruction();
  // Runs `watcher` once when the form is destroyed (after OnDestroy, or from the destructor of
  // a form deleted without it), whatever the form's own handlers do with OnDestroy. For owners
  // that keep a pointer to the form.
  void WatchDestruction(std::function<void(Form&)> watcher) { destroyWatchers_.push_back(std::move(watcher)); }

  // ---- events ----
  NotifyEvent OnCreate;
  NotifyEvent OnShow;
  NotifyEvent OnHide;
  NotifyEvent OnActivate;
  NotifyEvent OnDeactivate;
  NotifyEvent OnDestroy;
  NotifyEvent OnResize;
  CloseQueryEvent OnCloseQuery;
  CloseEvent OnClose;
  PaintEvent OnPaint;
  KeyEvent OnKeyDown;
  KeyEvent OnKeyUp;
  KeyPressEvent OnKeyPress;
  // The system's notifications to this window (power, session, registered messages, the
  // notification-area callback ...). Unhandled messages go on to the system's default.
  SystemMessageEvent OnSystemMessage;

  // ---- entry points of the backend (a real window or a simulated user) ----
  // Coordinates are client coordinates of the form.
  void PeerPaint(Canvas& canvas, const Rect& dirty);
  void PeerMouseDown(MouseButton button, ShiftState shift, Point p);
  void PeerMouseMove(ShiftState shift, Point p);
  void PeerMouseUp(MouseButton button, ShiftState shift, Point p);
  void PeerDoubleClick(ShiftState shift, Point p);
  void PeerMouseLeave();
  // The window lost the mouse capture (another window took it, or a system move loop began):
  // the pressed control gets no release.
  void PeerCaptureLost();
  // Returns the key after the handlers (0 when one of them swallowed it).
  KeyCode PeerKeyDown(KeyCode key, ShiftState shift);
  KeyCode PeerKeyUp(KeyCode key, ShiftState shift);
  void PeerChar(char32_t ch);
  // The window's outer bounds changed (moved or resized by the user or the system).
  void PeerBoundsChanged(const Rect& bounds);
  // The user asked to close the window (close box, Alt+F4, system menu).
  void PeerCloseRequest();
  void PeerActivated(bool active);
  SystemMessageResult PeerSystemMessage(const SystemMessage& message);
  // The native window was destroyed by the system (not by us).
  void PeerDestroyed();

  // The control under `p` (client coordinates): a visible, enabled graphic child, or the form.
  Control& ControlAt(Point p);
  // The windowed control with the keyboard focus (nullptr: the form itself).
  WindowedControl* ActiveControl() const { return focused_; }
  // Menus and timers register themselves with their form.
  const std::vector<PopupMenu*>& Menus() const { return menus_; }
  const std::vector<Timer*>& Timers() const { return timers_; }
  // The control under the mouse as the form last saw it (nullptr: the mouse is outside).
  Control* HoverControl() const { return hover_; }

 protected:
  // The window's client area, named by its caption.
  void DescribeAccessible(AccessInfo& info) const override;
  void BoundsChanged(const Rect& oldBounds) override;
  void CaptionChanged() override;
  void ConstrainSize(int& width, int& height) const override;

 public:
  void SetEnabled(bool enabled) override;
  Point ClientToScreen(Point p) const override;

 private:
  friend class Application;
  friend class Control;
  friend class PopupMenu;
  friend class Timer;
  friend class WindowedControl;
  void Unrealize();
  // Records the focus move and fires OnExit of the old and OnEnter of the new control.
  void FocusMoved(WindowedControl* now);
  // Key preview: the form's key events before the focused control's.
  void PreviewKey(bool down, KeyCode& key, ShiftState shift) {
    if (down) Fire(EventKind::KeyDown, OnKeyDown, *this, key, shift);
    else Fire(EventKind::KeyUp, OnKeyUp, *this, key, shift);
  }
  void PreviewChar(char32_t& ch) { Fire(EventKind::KeyPress, OnKeyPress, *this, ch); }
  void FireCreate();
  void ForgetControl(Control* control);
  void UpdateHover(Control* now);
  void ApplyStyle();
  Point ToLocal(const Control& control, Point p) const;
  // True when the modal loop may end (after OnCloseQuery and OnClose).
  bool ModalCanEnd();
  // Esc for a window that closes on it: closes it and answers true.
  bool CloseByEscape(ShiftState shift);
  // The dotted focus frame around the graphic child whose proxy has the focus.
  static void PaintFocusMark(Canvas& canvas, const Control& child);

  Application& app_;
  BorderStyle borderStyle_ = BorderStyle::Sizable;
  bool topMost_ = false;
  bool alphaBlend_ = false;
  int alphaBlendValue_ = 255;
  bool transparentColor_ = false;
  Color transparentColorValue_ = clBlack;
  FormPosition position_ = FormPosition::Designed;
  bool keyPreview_ = false;
  bool closeOnEscape_ = false;
  std::vector<Control*> tabSequence_;
  Icon icon_;
  int minWidth_ = 0;
  int minHeight_ = 0;

  bool created_ = false;
  bool realizing_ = false;
  bool holdFocusWindows_ = false;
  bool destroying_ = false;
  bool released_ = false;
  bool closing_ = false;
  bool modal_ = false;
  int modalResult_ = mrNone;
  CloseAction modalCloseAction_ = CloseAction::Hide;
  Control* capture_ = nullptr;
  int buttonsDown_ = 0;
  Control* hover_ = nullptr;
  WindowedControl* focused_ = nullptr;
  std::vector<PopupMenu*> menus_;
  std::vector<Timer*> timers_;
  std::vector<std::function<void(Form&)>> destroyWatchers_;
  void TellDestroyWatchers();
};

}  // namespace vm::ui

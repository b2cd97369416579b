#pragma once
// The backend of the tests: native windows are records in memory, user actions are simulated
// through the same entry points a real window uses (property first, then event), timers run on
// a test clock, and dialogs answer from a script.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ui/toolkit/application.h"
#include "ui/toolkit/backend.h"
#include "ui/toolkit/form.h"
#include "ui/toolkit/headless/recording_canvas.h"
#include "ui/toolkit/headless/scripted_dialogs.h"
#include "ui/toolkit/text_metrics.h"

namespace vm::ui {

class CheckBox;
class ComboBox;
class Edit;
class HeadlessPeerBase;
class ListView;
class MenuItem;
class PageControl;
class TrackBar;
class UpDown;
enum class UpDownDirection : std::uint8_t;

class HeadlessBackend : public Backend {
 public:
  // What the backend knows of one form window.
  struct WindowState {
    Form* form = nullptr;
    Rect bounds;
    std::string text;
    bool visible = false;
    bool enabled = true;
    BorderStyle border = BorderStyle::Sizable;
    bool topMost = false;
    bool alphaBlend = false;
    int alpha = 255;
    bool colorKeyOn = false;
    Color colorKey = 0;
    Color color = 0;
    Size iconSize;
    Cursor cursor = Cursor::Arrow;
    std::string hint;
    int invalidations = 0;  // repaint requests since the last PaintForm
    int activations = 0;
    int moveDrags = 0;
  };

  struct PopupRecord {
    PopupMenu* menu = nullptr;
    Point at;
    PeerHandle owner = 0;
    // Item rectangles as laid out (visible items of the top level), in menu coordinates.
    std::vector<std::pair<MenuItem*, Rect>> items;
  };

  struct TrayCall {
    TrayAction action = TrayAction::Add;
    TrayIconData data;
    bool accepted = false;
  };

  // What the backend knows of one control window: the state last pushed to it (by the peer of
  // the control's kind, ui/toolkit/headless/*_peer.cpp).
  struct ControlState {
    WindowedControl* control = nullptr;
    std::string peerClass;  // the name of the control class whose peer made the window
    PeerHandle parent = 0;
    Rect bounds;
    std::string text;
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    bool droppedDown = false;  // a combo box's list is open
    int index = -1;      // item index, position or active page
    int itemCount = 0;   // items, rows or pages
    int columnCount = 0;
    std::string hint;  // the hint shown over the window (a graphic child's)
    // List view rows as the window holds them (one text per row: the caption and the sub-items
    // joined by '|'), and how they got there.
    std::vector<std::string> rows;
    int rowRebuilds = 0;  // every row deleted and added again
    int rowInserts = 0, rowDeletes = 0, rowUpdates = 0;
    // Pushes since the window was made, by the name of the peer's method ("TextChanged",
    // "CheckedChanged", "SelectionChanged" ...).
    std::map<std::string, int> pushes;
    int Pushes(const std::string& change) const {
      auto it = pushes.find(change);
      return it == pushes.end() ? 0 : it->second;
    }
    int invalidations = 0;
  };

  // A notification to screen readers (NotifyAccessible).
  struct AccessEventRecord {
    PeerHandle peer = 0;
    AccessEvent event = AccessEvent::Focus;
    int item = -1;
    int sub = -1;
    friend bool operator==(const AccessEventRecord&, const AccessEventRecord&) = default;
  };

  HeadlessBackend();
  ~HeadlessBackend() override;

  // ---- configuration ----
  void SetScreen(int width, int height, int pixelsPerInch = 96);
  // Where the mouse pointer is (a test's setting, or the program's own move).
  void SetCursorPos(Point p) override { cursor_ = p; }
  // The modifier keys the simulated user holds (for clicks, which carry no shift state).
  void HoldModifiers(ShiftState held) { modifiers_ = held; }
  // What ScreenPixel answers (default: everything black).
  std::function<Color(Point)> ScreenColorAt;
  // Frame thickness reported per border style.
  void SetFrameInsets(BorderStyle style, const Rect& insets);
  // A high-contrast scheme chosen by the user (what Colors() reports).
  void SetHighContrast(bool on) { colors_.highContrast = on; }
  // When on, a bounds change pushed to a window comes straight back as the window's report,
  // as a real window does.
  void SetEchoBounds(bool on) { echoBounds_ = on; }

  // ---- the test clock ----
  // Lets `ms` milliseconds pass: every running timer that falls due ticks, in time order.
  void AdvanceMs(long long ms);
  long long NowMs() const { return now_; }

  // ---- simulated user input (client coordinates of the form) ----
  void MouseDown(Form& form, Point p, MouseButton button = MouseButton::Left, ShiftState shift = {});
  void MouseMove(Form& form, Point p, ShiftState shift = {});
  void MouseUp(Form& form, Point p, MouseButton button = MouseButton::Left, ShiftState shift = {});
  void DoubleClick(Form& form, Point p);
  void MouseLeave(Form& form);
  // Press and release at `p`.
  void Click(Form& form, Point p, MouseButton button = MouseButton::Left);
  // Press and release in the middle of a control, through its form.
  void Click(Control& control, MouseButton button = MouseButton::Left);
  // Key down, the character (for printable keys) and key up.
  void PressKey(Form& form, KeyCode key, ShiftState shift = {});
  void TypeChar(Form& form, char32_t ch);
  void UserClose(Form& form);
  void UserSetBounds(Form& form, const Rect& bounds);
  void UserActivate(Form& form, bool active);
  void AppActivation(bool active);
  // A system notification to the form's window (it must exist).
  SystemMessageResult SendSystemMessage(Form& form, const SystemMessage& message);
  // A registered message by name: reaches the form only if the name was registered.
  SystemMessageResult SendRegisteredMessage(Form& form, const std::string& name);
  // The mouse message of the notification-area icon (514 left up, 517 right up ...).
  SystemMessageResult SendTrayCallback(Form& form, std::uint32_t mouseMessage);
  // Chooses an item as the user would from its open menu.
  void ChooseMenuItem(MenuItem& item);
  // The next popup menu closes with this item chosen (nullptr: dismissed).
  void ChooseOnNextPopup(MenuItem* item) { nextPopupChoice_.push_back(item); }
  // Draws an item of the last popup as the menu does when the pointer is over it; returns
  // what the owner-draw hook drew.
  RecordingCanvas& DrawPopupItem(MenuItem& item, bool selected);

  // ---- simulated user input on control windows (each control must be shown and enabled) ----
  // A click on a button or check box (std::logic_error for a kind that takes no clicks).
  void ClickControl(WindowedControl& control);
  // A check box clicked with the mouse, as the system reports it: the press, the box's click,
  // the release.
  void MouseClickCheckBox(CheckBox& box);
  // Focuses the edit and types the UTF-8 text character by character ('\b' erases one).
  void TypeText(Edit& edit, const std::string& text);
  // Opens the list, chooses the item and closes the list.
  void ChooseItem(ComboBox& combo, int index);
  void DragTrackBar(TrackBar& bar, int position);
  void Spin(UpDown& upDown, UpDownDirection direction);
  void ChooseTab(PageControl& pages, int index);
  void ClickColumn(ListView& list, int column);
  void SelectRow(ListView& list, int row);
  // Mouse on a control's own window, in its client coordinates.
  void MouseDownOn(WindowedControl& control, Point p, MouseButton button = MouseButton::Left);
  void MouseMoveOn(WindowedControl& control, Point p);
  void MouseUpOn(WindowedControl& control, Point p, MouseButton button = MouseButton::Left);
  void ClickOn(WindowedControl& control, Point p);
  // The system's sequence of a double click on the control's window: press, release, second
  // press (the double click), release.
  void DoubleClickOn(WindowedControl& control, Point p);
  void WheelOn(WindowedControl& control, int delta, Point p = {});
  void MouseLeaveOn(WindowedControl& control);
  // The user moves the focus to the control's window (by the mouse).
  void FocusControl(WindowedControl& control);
  // A paint cycle of a custom control window: what it drew.
  RecordingCanvas& PaintControl(WindowedControl& control);
  const ControlState* ControlPeer(const WindowedControl& control) const;
  int LiveControlWindows() const { return static_cast<int>(controls_.size()); }
  // The control window that has the focus (nullptr: none).
  WindowedControl* FocusedControl() const;

  // ---- scripts for loops ----
  // Each modal loop takes the next script and runs it with the modal form. A loop whose form
  // is still open after its script (or without one) is cancelled (counted), never left hanging.
  void OnNextModal(std::function<void(Form&)> script) { modalScripts_.push_back(std::move(script)); }
  int UnansweredModals() const { return unansweredModals_; }
  // Run by RunMessageLoop in turn until the loop is done or the scripts are used up.
  void OnMessageLoop(std::function<void()> step) { loopSteps_.push_back(std::move(step)); }

  // ---- queries ----
  const WindowState* State(const Form& form) const;
  int LiveWindows() const { return static_cast<int>(windows_.size()); }
  // A full paint cycle of the form: what it drew (valid until the next PaintForm of any form).
  RecordingCanvas& PaintForm(Form& form);
  // What PaintNow drew on the form's window since the last PaintForm of it.
  const RecordingCanvas* Surface(const Form& form) const;
  const std::vector<PopupRecord>& Popups() const { return popups_; }
  const std::vector<TrayCall>& TrayCalls() const { return trayCalls_; }
  bool TrayIconShown() const { return trayIcon_.has_value(); }
  const std::optional<TrayIconData>& TrayIcon() const { return trayIcon_; }
  const std::string& AppTitle() const { return appTitle_; }
  bool TaskbarButtonVisible() const { return taskbarButton_; }
  // Flashes of the task-bar button, and whether it shows highlighted now.
  int TaskbarFlashes() const { return taskbarFlashes_; }
  bool TaskbarHighlighted() const { return taskbarHighlighted_; }
  int Beeps() const { return beeps_; }
  // Whether browser areas find an engine that shows their page (default: yes).
  void SetBrowserEngine(bool present) { browserEngine_ = present; }
  bool BrowserEngine() const { return browserEngine_; }
  const std::set<std::string>& RegisteredNames() const { return registered_; }
  // The timers that run now, with their intervals.
  std::vector<std::pair<const Timer*, int>> RunningTimers() const;
  ScriptedMessageBoxes& MessageBoxScript() { return messages_; }
  const std::vector<AccessEventRecord>& AccessEvents() const { return accessEvents_; }
  ScriptedDialogs& DialogScript() { return dialogs_; }

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
  void SetFormIcon(PeerHandle peer, const Icon& icon) override;
  void ActivateForm(PeerHandle peer) override;
  Rect FrameInsets(const Form& form) override;
  void Invalidate(PeerHandle peer, const Rect& area) override;
  void PaintNow(PeerHandle peer, const std::function<void(Canvas&)>& draw) override;
  void BeginMoveDrag(PeerHandle peer) override;
  void SetPeerCursor(PeerHandle peer, Cursor cursor) override;
  void SetHintText(PeerHandle peer, const std::string& text) override;
  WindowId NativeId(PeerHandle peer) override { return static_cast<WindowId>(peer); }
  void RunMessageLoop(const std::function<bool()>& done) override;
  void RunModalLoop(Form& form, const std::function<bool()>& done) override;
  void ProcessMessages() override {}
  PeerHandle StartTimer(Timer& timer, int intervalMs) override;
  void StopTimer(PeerHandle timerPeer) override;
  void ShowPopupMenu(PopupMenu& menu, Point screen, PeerHandle owner) override;
  void SetAppTitle(const std::string& title) override { appTitle_ = title; }
  void SetTaskbarButton(bool visible) override { taskbarButton_ = visible; }
  void FlashTaskbarButton(bool invert) override;
  void Beep() override { ++beeps_; }
  ScreenInfo GetScreenInfo() override { return screen_; }
  Point CursorPos() override { return cursor_; }
  ShiftState ModifierKeys() override { return modifiers_; }
  Color ScreenPixel(Point p) override;
  void RegisterMessageName(const std::string& name) override { registered_.insert(name); }
  bool TrayCommand(PeerHandle owner, TrayAction action, const TrayIconData& data) override;
  ui::ControlPeer* CreateControlPeer(WindowedControl& control) override;
  void FocusPeer(PeerHandle peer) override { focusedPeer_ = controls_.count(peer) ? peer : 0; }
  MessageBoxes& Messages() override { return messages_; }
  Dialogs& GetDialogs() override { return dialogs_; }
  void NotifyAccessible(PeerHandle peer, AccessEvent event, int item, int sub) override {
    accessEvents_.push_back({peer, event, item, sub});
  }

 private:
  struct TimerState {
    Timer* timer = nullptr;
    int interval = 0;
    long long due = 0;
  };
  // One event delivered as the system delivers it: what its handlers throw goes to the
  // application (as at a real window's boundary), never into the test's simulated input.
  template <class F>
  void Deliver(F&& deliver) {
    GuardedDelivery(app_, std::forward<F>(deliver));
  }
  WindowState* Find(PeerHandle peer);
  ControlState* FindControl(PeerHandle peer);
  // The control's window, which a user can reach only when it is shown and enabled.
  ControlState& Reachable(const WindowedControl& control);
  Form* RealizedForm(Form& form);

  Application* app_ = nullptr;
  FixedTextRenderer text_;
  DefaultColorResolver colors_;
  ScriptedMessageBoxes messages_;
  ScriptedDialogs dialogs_;
  ScreenInfo screen_;
  Point cursor_;
  ShiftState modifiers_;
  std::map<BorderStyle, Rect> insets_;
  bool echoBounds_ = false;
  PeerHandle nextPeer_ = 1;
  std::map<PeerHandle, WindowState> windows_;
  std::map<PeerHandle, ControlState> controls_;
  std::map<PeerHandle, std::unique_ptr<HeadlessPeerBase>> peers_;  // beside their states
  PeerHandle focusedPeer_ = 0;
  std::map<PeerHandle, std::unique_ptr<RecordingCanvas>> surfaces_;
  std::unique_ptr<RecordingCanvas> lastPaint_;
  std::unique_ptr<RecordingCanvas> lastItemDraw_;
  long long now_ = 0;
  std::map<PeerHandle, TimerState> timers_;
  std::deque<MenuItem*> nextPopupChoice_;
  std::vector<PopupRecord> popups_;
  std::deque<std::function<void(Form&)>> modalScripts_;
  int unansweredModals_ = 0;
  std::deque<std::function<void()>> loopSteps_;
  std::vector<TrayCall> trayCalls_;
  std::optional<TrayIconData> trayIcon_;
  std::string appTitle_;
  bool taskbarButton_ = false;
  int taskbarFlashes_ = 0;
  bool taskbarHighlighted_ = false;
  int beeps_ = 0;
  bool browserEngine_ = true;
  std::set<std::string> registered_;
  std::vector<AccessEventRecord> accessEvents_;
};

}  // namespace vm::ui

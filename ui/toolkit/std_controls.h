#pragma once
// The standard windowed controls: buttons, text fields, lists to choose from, the status bar,
// panels and splitters. Setting a property in code fires nothing; the Peer* entry points are a
// user's action on the window (see toolkit.h).

#include <cstddef>
#include <string>
#include <vector>

#include "ui/toolkit/windowed_control.h"

namespace vm::ui {

// A push button's peer needs only caption and font: its interface is ControlPeer's.
class Button : public WindowedControl {
 public:
  Button(Control& parent, const char* name) : WindowedControl(parent, name) {}
  static constexpr ControlClass kClass{"Button"};
  const ControlClass& PeerClass() const override { return kClass; }
  bool IsOfKind(const ControlClass& kind) const override { return &kind == &kClass || WindowedControl::IsOfKind(kind); }
  // A non-zero result is handed to the form when the button is clicked (ends a modal form).
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  // The user pressed the button (mouse, space, or the system's click message).
  void PeerClicked();

 private:
  int modalResult_ = 0;
};

class CheckBoxPeer : public ControlPeer {
 public:
  virtual void CheckedChanged() = 0;
};

class CheckBox : public WindowedControl {
 public:
  CheckBox(Control& parent, const char* name) : WindowedControl(parent, name) {}
  static constexpr ControlClass kClass{"CheckBox"};
  const ControlClass& PeerClass() const override { return kClass; }
  bool IsOfKind(const ControlClass& kind) const override { return &kind == &kClass || WindowedControl::IsOfKind(kind); }
  bool Checked() const { return checked_; }
  // In code: the box follows, no event (loading a record is no user change).
  void SetChecked(bool checked);
  // The user toggled the box: Checked changes first, then OnClick.
  void PeerClicked();
  // Mouse presses and releases on the box fire OnMouseDown and OnMouseUp only: the click (and
  // the toggle) is the system's own report, PeerClicked, which comes between the two.
  void PeerMouseDown(MouseButton button, ShiftState shift, Point p) override;
  void PeerMouseUp(MouseButton button, ShiftState shift, Point p) override;

 private:
  bool checked_ = false;
};

class EditPeer : public ControlPeer {
 public:
  // Read-only, border or maximum length (a memo's scroll bars and word wrap are fixed when its
  // window is made).
  virtual void StyleChanged() = 0;
};

// The text of an edit is its caption.
class Edit : public WindowedControl {
 public:
  Edit(Control& parent, const char* name);
  static constexpr ControlClass kClass{"Edit"};
  const ControlClass& PeerClass() const override { return kClass; }
  bool IsOfKind(const ControlClass& kind) const override { return &kind == &kClass || WindowedControl::IsOfKind(kind); }
  const std::string& Text() const { return Caption(); }
  // In code: no OnChange. Cut to MaxLength characters.
  void SetText(const std::string& text);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on);
  // The sunken frame around the text (on by default).
  bool Border() const { return border_; }
  void SetBorder(bool on);
  // The most characters (code points) the user may enter; 0: no limit.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int length);
  // The user changed the text: Text changes first, then OnChange. Text beyond MaxLength is cut,
  // text the control refuses (a mask) puts the old text back. Our own echoes are ignored.
  void PeerTextChanged(const std::string& text);
  // The user double-clicked into the text: OnDblClick (the system selects a word itself).
  void PeerDoubleClick();

 protected:
  // Whether the user's text is acceptable; it may be adjusted.
  virtual bool Accept(std::string& text) const { return true; }

 private:
  bool readOnly_ = false;
  bool border_ = true;
  int maxLength_ = 0;
};

// An edit that takes digits only, as many as its mask has places ("!999;1; " takes up to
// three digits; '0' and '9' are digit places, other mask characters stand for themselves).
class MaskEdit : public Edit {
 public:
  MaskEdit(Control& parent, const char* name) : Edit(parent, name) {}
  const std::string& EditMask() const { return mask_; }
  void SetEditMask(const std::string& mask);

 protected:
  bool Accept(std::string& text) const override;

 private:
  std::string mask_;
  std::string places_;  // the part of the mask before the first ';', without '!'
};

enum class ScrollStyle : std::uint8_t { None, Horizontal, Vertical, Both };

// A multi-line edit; its text is its lines joined with "\r\n".
class Memo : public Edit {
 public:
  Memo(Control& parent, const char* name) : Edit(parent, name) {}
  static constexpr ControlClass kClass{"Memo"};
  const ControlClass& PeerClass() const override { return kClass; }
  bool IsOfKind(const ControlClass& kind) const override { return &kind == &kClass || Edit::IsOfKind(kind); }
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  ScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(ScrollStyle style);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool on);

 private:
  ScrollStyle scrollBars_ = ScrollStyle::None;
  bool wordWrap_ = true;
};

enum class ComboStyle : std::uint8_t { DropDown, DropDownList };

// The style of a combo box is fixed when its window is made.
class ComboBoxPeer : public ControlPeer {
 public:
  virtual void ItemsChanged() = 0;
  // The chosen item, or whether the list is open.
  virtual void SelectionChanged() = 0;
};

class ComboBox : public WindowedControl {
 public:
  ComboBox(Control& parent, const char* name) : WindowedControl(parent, name) {}
  static constexpr ControlClass kClass{"ComboBox"};
  const ControlClass& PeerClass() const override { return kClass; }
  bool IsOfKind(const ControlClass& kind) const override { return &kind == &kClass || WindowedControl::IsOfKind(kind); }
  ComboStyle Style() const { return style_; }
  void SetStyle(ComboStyle style);
  const std::vector<std::string>& Items() const { return items_; }
  // The selection stays on its index when it still exists, else none (-1).
  void SetItems(std::vector<std::string> items);
  void AddItem(const std::string& item);
  int ItemCount() const { return static_cast<int>(items_.size()); }
  // -1: nothing chosen. Out-of-range values choose nothing.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  // The chosen item's text (drop-down lists), or what is in the edit part.
  const std::string& Text() const { return Caption(); }
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int count) { dropDownCount_ = count < 1 ? 1 : count; }
  bool DroppedDown() const { return droppedDown_; }
  // Esc closes the open list, not the window.
  bool WantsEscape() const override { return droppedDown_; }
  // In code: opens or closes the list; OnDropDown and OnCloseUp do not fire.
  void SetDroppedDown(bool open);

  NotifyEvent OnDropDown;
  NotifyEvent OnCloseUp;

  // The user chose an item: ItemIndex and Text change, then OnChange (nothing if unchanged).
  void PeerSelected(int index);
  // The list opened or closed.
  void PeerDropDown(bool open);

 private:
  ComboStyle style_ = ComboStyle::DropDownList;
  std::vector<std::string> items_;
  int itemIndex_ = -1;
  int dropDownCount_ = 8;
  bool droppedDown_ = false;
};

// Which colours a colour box offers, in this order (custom first).
struct ColorBoxStyle {
  bool custom = false;    // a "Custom..." entry holding a colour of the user's own
  bool standard = true;   // the 16 basic colours
  bool extended = false;  // money green, sky blue, cream, medium grey
  bool system = false;    // the system's colour roles
};

struct NamedColor {
  Color color = 0;
  std::string name;
};

// A drop-down list of colours, each drawn as a swatch with its name.
class ColorBox : public ComboBox {
 public:
  ColorBox(Control& parent, const char* name);
  static constexpr ControlClass kClass{"ColorBox"};
  const ControlClass& PeerClass() const override { return kClass; }
  bool IsOfKind(const ControlClass& kind) const override { return &kind == &kClass || ComboBox::IsOfKind(kind); }
  const ColorBoxStyle& Style() const { return style_; }
  void SetStyle(const ColorBoxStyle& style);
  const std::vector<NamedColor>& Colors() const { return colors_; }
  // The chosen colour (clBlack when nothing is chosen).
  Color Selected() const;
  // Chooses the entry of this colour; one not offered becomes the custom entry if the box has
  // one, else the selection is cleared.
  void SetSelected(Color color);
  // Names shown for the entries (for translated names); kept over style changes.
  void SetColorName(Color color, const std::string& name);
  // The text of the custom entry.
  void SetCustomCaption(const std::string& caption);

 private:
  void Rebuild();
  ColorBoxStyle style_;
  std::vector<NamedColor> colors_;
  std::vector<NamedColor> renamed_;
  Color custom_ = clBlack;
  std::string customCaption_ = "Custom...";
};

// A bar along the bottom of the form with one simple text.
class StatusBar : public WindowedControl {
 public:
  StatusBar(Control& parent, const char* name);
  static constexpr ControlClass kClass{"StatusBar"};
  const ControlClass& PeerClass() const override { return kClass; }
  bool IsOfKind(const ControlClass& kind) const override { return &kind == &kClass || WindowedControl::IsOfKind(kind); }
  const std::string& SimpleText() const { return Caption(); }
  void SetSimpleText(const std::string& text) { SetCaption(text); }
};

enum class PanelBevel : std::uint8_t { None, Raised, Lowered };

// A container with a bevelled edge and a centred caption.
class Panel : public WindowedControl {
 public:
  Panel(Control& parent, const char* name) : WindowedControl(parent, name) {
    SetTabStop(false);
  }
  PanelBevel BevelOuter() const { return outer_; }
  void SetBevelOuter(PanelBevel bevel) { outer_ = bevel; Invalidate(); }
  PanelBevel BevelInner() const { return inner_; }
  void SetBevelInner(PanelBevel bevel) { inner_ = bevel; Invalidate(); }
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int width) { bevelWidth_ = width < 1 ? 1 : width; Invalidate(); }

 protected:
  void PaintFace(Canvas& canvas) override;
  // A group named by its caption; without one it only holds its controls.
  void DescribeAccessible(AccessInfo& info) const override;

 private:
  PanelBevel outer_ = PanelBevel::Raised;
  PanelBevel inner_ = PanelBevel::None;
  int bevelWidth_ = 1;
};

// Draws a one-pixel-per-width bevel frame just inside `r` and returns the area inside it.
Rect DrawBevel(Canvas& canvas, const Rect& r, PanelBevel bevel, int width);

// A bar the user drags to resize the control aligned before it on the same edge.
class Splitter : public WindowedControl {
 public:
  Splitter(Control& parent, const char* name);
  // The least size the resized control keeps.
  int MinSize() const { return minSize_; }
  void SetMinSize(int size) { minSize_ = size < 0 ? 0 : size; }
  NotifyEvent OnMoved;
  // The control the splitter resizes (nullptr: none found).
  Control* ResizedControl() const;

  void PeerMouseDown(MouseButton button, ShiftState shift, Point p) override;
  void PeerMouseMove(ShiftState shift, Point p) override;
  void PeerMouseUp(MouseButton button, ShiftState shift, Point p) override;

 private:
  bool dragging_ = false;
  Point start_;
  int startSize_ = 0;
  int minSize_ = 30;
};

}  // namespace vm::ui

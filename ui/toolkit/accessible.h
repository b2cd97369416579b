#pragma once
// What screen readers are told about the controls the program draws itself: each one's role,
// name, value and state, and the parts a control draws as items of its own (a grid's rows and
// cells). The tree is portable; the Win32 backend hands it to the system's accessibility
// interface. Controls that have a standard window of the system's (edits, check boxes, lists)
// are described by the system itself: they appear in the tree as `system` nodes.
//
// Names: a control's accessible name is the one the window gave it (SetAccessibleName), else
// its caption (a label, a panel), else its hint (an image), without leading or trailing blanks.
// Windows give names from their language texts.

#include <cstdint>
#include <string>
#include <vector>

#include "ui/toolkit/geometry.h"

namespace vm::ui {

class Control;
class Form;

enum class AccessRole : std::uint8_t {
  None,          // not shown to screen readers: decoration, an empty text, a bare container
  Client,        // a window's client area
  Grouping,      // a panel with a caption
  PushButton,    // also a toggle button (pressed while down)
  CheckBox,
  StaticText,
  Link,
  Graphic,
  Table,
  Row,
  Cell,
  ColumnHeader,
  Clock,
};

struct AccessStates {
  bool focusable = false;
  bool focused = false;
  bool pressed = false;
  bool checked = false;
  bool unavailable = false;
  bool selectable = false;
  bool selected = false;
  bool readOnly = false;
  bool linked = false;
  bool offscreen = false;  // scrolled out of view
  friend bool operator==(const AccessStates&, const AccessStates&) = default;
};

struct AccessInfo {
  AccessRole role = AccessRole::None;
  std::string name;
  std::string value;
  std::string description;
  // The verb of the default action ("Press", "Click", "Select"); empty: none.
  std::string defaultAction;
  AccessStates states;
  // In the client coordinates of the node's host window (AccessHost).
  Rect bounds;
  // A standard control of the system's: its window describes itself.
  bool system = false;
};

// A component that shapes how a control is described (a themed button on an image).
class AccessibleDescriber {
 public:
  virtual ~AccessibleDescriber() = default;
  virtual void DescribeAccessible(const Control& control, AccessInfo& info) const = 0;
  // A screen reader asked for the control's default action; false: the control's own.
  virtual bool DoAccessibleAction(Control& control) { return false; }
};

// What changed, for screen readers that follow the program.
enum class AccessEvent : std::uint8_t { Focus, StateChange, NameChange, ValueChange };

// One node of the tree: a control, or an item it draws (item >= 0), or a part of an item
// (sub >= 0: a grid's cell in a row).
struct AccessNode {
  Control* control = nullptr;
  int item = -1;
  int sub = -1;
  bool IsControl() const { return control && item < 0; }
  friend bool operator==(const AccessNode&, const AccessNode&) = default;
};

AccessInfo Describe(const AccessNode& node);
// The nodes a screen reader finds inside `node`: a control's items, then its visible child
// controls in declaration order. Hidden controls and focus proxies are left out; a child
// without a role stands aside for its own children (a bare panel).
std::vector<AccessNode> AccessChildren(const AccessNode& node);
// The node `node` is a child of (the form for its direct children); none for the form.
AccessNode AccessParent(const AccessNode& node);
// The control whose native window holds the node: the control itself when it has a window,
// else its windowed ancestor.
Control* AccessHost(const AccessNode& node);
// The node with the keyboard focus in `form`: a focus proxy's control, a grid's focused cell,
// or the focused control; the form itself when no control has the focus.
AccessNode AccessFocus(Form& form);
// A screen reader's default action: a click on a button or link, selecting a cell. False when
// the node has none.
bool DoAccessDefaultAction(const AccessNode& node);

// Tells screen readers that something changed about the control, or about its item (a grid's
// focused cell). A graphic control is announced through its focus proxy; one without a proxy is
// found when the reader next looks.
void NotifyAccessible(Control& control, AccessEvent event, int item = -1, int sub = -1);

// Leading and trailing blanks cut off (the captions carry blanks to widen menus and buttons).
std::string TrimmedText(const std::string& text);

}  // namespace vm::ui

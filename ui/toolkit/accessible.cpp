#include "ui/toolkit/accessible.h"

#include "ui/toolkit/application.h"
#include "ui/toolkit/backend.h"
#include "ui/toolkit/control.h"
#include "ui/toolkit/focus_proxy.h"
#include "ui/toolkit/form.h"
#include "ui/toolkit/windowed_control.h"

namespace vm::ui {

std::string TrimmedText(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

namespace {

bool UsableChain(const Control& c) {
  for (const Control* p = &c; p; p = p->Parent())
    if (!p->Enabled()) return false;
  return true;
}

// A child that screen readers see as a node of its own (else it is left out, or stands aside
// for its children).
bool Shown(const Control& c) {
  if (!c.Visible() || c.AsFocusProxy()) return false;
  return true;
}

bool IsNode(const Control& c) {
  const AccessInfo info = c.Accessible();
  return info.system || info.role != AccessRole::None;
}

void CollectChildren(const Control& parent, std::vector<AccessNode>& out) {
  for (Control* c : parent.Children()) {
    if (!Shown(*c)) continue;
    if (IsNode(*c)) out.push_back({c});
    else CollectChildren(*c, out);  // a bare container: its children take its place
  }
}

}  // namespace

AccessInfo Control::Accessible() const {
  AccessInfo info;
  DescribeAccessible(info);
  if (!accessibleName_.empty()) info.name = accessibleName_;
  if (accessibleRole_) info.role = *accessibleRole_;
  info.name = TrimmedText(info.name);
  if (!UsableChain(*this)) info.states.unavailable = true;
  if (const FocusProxy* proxy = keyboardProxy_) {
    info.states.focusable = proxy->TabStop();
    info.states.focused = proxy->Focused();
  }
  Control* host = AccessHost({const_cast<Control*>(this)});
  info.bounds = host == this ? ClientRect() : BoundsIn(*host);
  if (describer_) describer_->DescribeAccessible(*this, info);
  return info;
}

Control* AccessHost(const AccessNode& node) {
  if (!node.control) return nullptr;
  return &node.control->WindowedAncestor();
}

AccessInfo Describe(const AccessNode& node) {
  if (!node.control) return {};
  if (node.item < 0) return node.control->Accessible();
  AccessInfo info = node.control->AccessibleItem(node.item, node.sub);
  if (!UsableChain(*node.control)) info.states.unavailable = true;
  return info;
}

std::vector<AccessNode> AccessChildren(const AccessNode& node) {
  std::vector<AccessNode> out;
  Control* c = node.control;
  if (!c) return out;
  if (node.item >= 0) {
    if (node.sub >= 0) return out;
    const int parts = c->AccessibleItemCount(node.item);
    for (int i = 0; i < parts; ++i) out.push_back({c, node.item, i});
    return out;
  }
  const int items = c->AccessibleItemCount(-1);
  for (int i = 0; i < items; ++i) out.push_back({c, i});
  // The system describes what lies inside its own controls.
  if (!c->Accessible().system) CollectChildren(*c, out);
  return out;
}

AccessNode AccessParent(const AccessNode& node) {
  if (!node.control) return {};
  if (node.sub >= 0) return {node.control, node.item};
  if (node.item >= 0) return {node.control};
  for (Control* p = node.control->Parent(); p; p = p->Parent())
    if (!p->Parent() || IsNode(*p)) return {p};
  return {};
}

AccessNode AccessFocus(Form& form) {
  WindowedControl* focused = form.ActiveControl();
  if (!focused) return {&form};
  if (auto* proxy = focused->AsFocusProxy()) return proxy->Target() ? AccessNode{proxy->Target()} : AccessNode{&form};
  int item = -1, sub = -1;
  if (focused->AccessibleFocusedItem(item, sub)) return {focused, item, sub};
  return {focused};
}

bool DoAccessDefaultAction(const AccessNode& node) {
  Control* c = node.control;
  if (!c || !UsableChain(*c)) return false;
  if (node.item >= 0) return c->AccessibleItemAction(node.item, node.sub);
  if (AccessibleDescriber* describer = c->Describer(); describer && describer->DoAccessibleAction(*c)) return true;
  if (!c->OnClick) return false;
  c->DeliverClick();
  return true;
}

void NotifyAccessible(Control& control, AccessEvent event, int item, int sub) {
  Form* form = control.FormOrNull();
  if (!form || !form->IsRealized()) return;
  PeerHandle peer = 0;
  if (FocusProxy* proxy = control.KeyboardProxy(); proxy && item < 0) peer = proxy->Peer();
  else if (control.IsWindowed()) peer = control.Peer();
  if (peer) form->App().GetBackend().NotifyAccessible(peer, event, item, sub);
}

}  // namespace vm::ui

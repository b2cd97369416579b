#include "ui/toolkit/focus_proxy.h"

namespace vm::ui {

namespace {

Control& ParentOf(Control& target) {
  // A control always lives in a form or a container; only the form itself has no parent.
  return target.Parent() ? *target.Parent() : target;
}

}  // namespace

FocusProxy::FocusProxy(Control& target)
    : WindowedControl(ParentOf(target), (target.Name() + "Focus").c_str()), target_(&target) {
  ParentOf(target).PlaceChildAfter(this, &target);
  if (target.keyboardProxy_) target.keyboardProxy_->TargetGone();  // one made before steps aside
  target.keyboardProxy_ = this;
  SetBounds(0, 0, 0, 0);
  SetTabStop(true);
  CreatePeers();
}

FocusProxy::~FocusProxy() {
  if (target_ && target_->keyboardProxy_ == this) {
    target_->keyboardProxy_ = nullptr;
    if (Focused()) target_->Invalidate();
  }
}

void FocusProxy::SetFocusInset(int inset) {
  focusInset_ = inset;
  if (target_ && Focused()) target_->Invalidate();
}

bool FocusProxy::CanFocus() const {
  if (!target_ || !WindowedControl::CanFocus()) return false;
  for (const Control* c = target_; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void FocusProxy::FocusChanged(bool focused) {
  if (!focused) heldKey_ = 0;  // a key held while the focus left is no click any more
  if (target_) target_->Invalidate();
}

void FocusProxy::HandleKey(KeyCode key, ShiftState shift) {
  if (key != kKeyEnter && key != kKeySpace) return;
  if (shift.ctrl || shift.alt || heldKey_ != 0) return;
  heldKey_ = key;
}

void FocusProxy::HandleKeyUp(KeyCode key, ShiftState) {
  // A release whose press went elsewhere (Enter that closed a dialog) is no click.
  if (key != heldKey_ || key == 0) return;
  heldKey_ = 0;
  if (target_ && CanFocus()) target_->DeliverClick();
}

}  // namespace vm::ui

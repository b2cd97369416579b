#include "ui/toolkit/page_control.h"

#include <algorithm>

#include "ui/toolkit/application.h"

namespace vm::ui {

TabSheet::TabSheet(PageControl& parent, const char* name)
    : WindowedControl(parent, name), pages_(parent) {
  SetTabStop(false);
  pages_.AddSheet(*this);
}

TabSheet::~TabSheet() { pages_.RemoveSheet(*this); }

int TabSheet::PageIndex() const {
  for (int i = 0; i < pages_.PageCount(); ++i)
    if (pages_.Page(i) == this) return i;
  return -1;
}

TabSheet* PageControl::Page(int index) const {
  return index >= 0 && index < PageCount() ? sheets_[static_cast<std::size_t>(index)] : nullptr;
}

void PageControl::AddSheet(TabSheet& sheet) {
  sheets_.push_back(&sheet);
  sheet.SetBounds(PageRect());
  if (active_ < 0) active_ = 0;
  ShowActive();
  Push(&PageControlPeer::TabsChanged);
}

void PageControl::RemoveSheet(TabSheet& sheet) {
  const auto it = std::find(sheets_.begin(), sheets_.end(), &sheet);
  if (it == sheets_.end()) return;
  const int index = static_cast<int>(it - sheets_.begin());
  sheets_.erase(it);
  // The page before the removed active one takes its place (none when none are left).
  if (index < active_ || active_ >= PageCount()) --active_;
  if (active_ < 0 && PageCount() > 0) active_ = 0;
  ShowActive();
  Push(&PageControlPeer::TabsChanged);
  Push(&PageControlPeer::ActivePageChanged);
}

Rect PageControl::PageRect() const {
  const Rect r = ClientRect();
  return {std::min(r.right, 4), std::min(r.bottom, kTabHeight + 2), std::max(r.right - 4, 4),
          std::max(r.bottom - 4, kTabHeight + 2)};
}

void PageControl::BoundsChanged(const Rect& oldBounds) {
  WindowedControl::BoundsChanged(oldBounds);
  for (TabSheet* sheet : sheets_) sheet->SetBounds(PageRect());
}

void PageControl::ShowActive() {
  for (int i = 0; i < PageCount(); ++i) sheets_[static_cast<std::size_t>(i)]->SetVisible(i == active_);
}

void PageControl::SetActivePage(int index) {
  if (index < 0 || index >= PageCount()) return;
  active_ = index;
  ShowActive();
  Push(&PageControlPeer::ActivePageChanged);
}

void PageControl::SetTabWidth(int width) {
  tabWidth_ = std::max(width, 0);
  Push(&PageControlPeer::StyleChanged);
}

void PageControl::PeerTabSelected(int index) {
  Form* form = FormOrNull();
  if (!form || PushingToPeer()) return;
  if (index < 0 || index >= PageCount() || index == active_) return;
  Application::DispatchScope scope(form->App());
  bool allow = true;
  Fire(EventKind::KeyDown, OnChanging, *this, allow);
  if (!allow) {
    Push(&PageControlPeer::ActivePageChanged);  // the tab goes back to the page that stays
    return;
  }
  active_ = index;
  ShowActive();
  Fire(EventKind::Change, OnChange, *this);
}

}  // namespace vm::ui

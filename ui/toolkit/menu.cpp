#include "ui/toolkit/menu.h"

#include <algorithm>
#include <atomic>

#include "ui/toolkit/application.h"
#include "ui/toolkit/backend.h"
#include "ui/toolkit/form.h"
#include "ui/toolkit/image_list.h"
#include "ui/toolkit/text_metrics.h"

namespace vm::ui {

namespace {

// Menu commands travel as 16-bit numbers; ids are handed out in a range that leaves the low
// numbers to the system's own commands. After 60000 items the numbers wrap: only items alive
// at the same time need different numbers.
std::uint32_t NextCommandId() {
  static std::atomic<std::uint32_t> next{0};
  return 0x0100 + next.fetch_add(1) % 0xEE00;
}

}  // namespace

MenuItem::MenuItem(PopupMenu& menu, MenuItem* parent, const char* name, const char* caption)
    : menu_(menu), parent_(parent), name_(name), caption_(caption),
      commandId_(NextCommandId()) {
  if (parent_) parent_->items_.push_back(this);
}

MenuItem::MenuItem(MenuItem& parent, const char* name, const char* caption)
    : MenuItem(parent.menu_, &parent, name, caption) {}

MenuItem::MenuItem(PopupMenu& menu, const char* name, const char* caption)
    : MenuItem(menu, &menu.Items(), name, caption) {}

MenuItem::~MenuItem() {
  owned_.clear();
  for (MenuItem* item : items_) item->parent_ = nullptr;
  if (parent_) parent_->RemoveChild(this);
}

void MenuItem::RemoveChild(MenuItem* item) {
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
}

MenuItem& MenuItem::Add(std::string name, std::string caption) {
  owned_.push_back(std::unique_ptr<MenuItem>(new MenuItem(menu_, this, name.c_str(), caption.c_str())));
  return *owned_.back();
}

void MenuItem::Clear() {
  owned_.clear();
  for (MenuItem* item : items_) item->parent_ = nullptr;
  items_.clear();
}

void MenuItem::SetChecked(bool checked) {
  checked_ = checked;
  if (checked && radioItem_) UncheckGroupSiblings();
}

void MenuItem::UncheckGroupSiblings() {
  if (!parent_) return;
  for (MenuItem* sibling : parent_->items_)
    if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_)
      sibling->checked_ = false;
}

MenuItem* MenuItem::FindByCommand(std::uint32_t id) {
  if (commandId_ == id && parent_) return this;
  for (MenuItem* item : items_)
    if (MenuItem* found = item->FindByCommand(id)) return found;
  return nullptr;
}

void MenuItem::PeerChosen() {
  if (!enabled_ || !visible_ || IsSeparator() || !items_.empty() || !menu_.Owner()) return;
  Application::DispatchScope scope(menu_.Owner()->App());
  if (autoCheck_) SetChecked(radioItem_ ? true : !checked_);
  // A choice that arrives while this item's handler still runs updates the state only.
  if (firing_ || !OnClick) return;
  firing_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{firing_};
  auto handler = OnClick;
  handler(*this);
}

// ---- PopupMenu ----

PopupMenu::PopupMenu(Form& owner, const char* name)
    : owner_(&owner), name_(name),
      root_(new MenuItem(*this, nullptr, name_.c_str(), "")) {
  owner_->menus_.push_back(this);
}

PopupMenu::~PopupMenu() {
  if (!owner_) return;
  auto& menus = owner_->menus_;
  menus.erase(std::remove(menus.begin(), menus.end(), this), menus.end());
}

void PopupMenu::Popup(int x, int y) {
  if (!owner_) return;
  Application::DispatchScope scope(owner_->App());
  if (OnPopup) {
    auto handler = OnPopup;
    handler(*owner_);
  }
  if (owner_)
    owner_->App().GetBackend().ShowPopupMenu(*this, {x, y}, owner_->IsRealized() ? owner_->Peer() : 0);
}

Size PopupMenu::DefaultItemSize(const MenuItem& item) const {
  if (item.IsSeparator()) return {0, 9};
  const Font menuFont = ItemFont();
  TextRenderer& renderer = owner_ ? owner_->App().GetBackend().Text() : CurrentTextRenderer();
  const Size text = renderer.Measure(menuFont, item.Caption().empty() ? " " : item.Caption());
  const int imageWidth = images_ ? images_->Width() : 16;
  const int imageHeight = images_ ? images_->Height() : 16;
  return {imageWidth + 8 + text.width + 16, std::max(text.height, imageHeight) + 4};
}

Size PopupMenu::MeasureItem(MenuItem& item) {
  Size size = DefaultItemSize(item);
  if (OnMeasureItem) {
    auto handler = OnMeasureItem;
    handler(item, size);
  }
  return size;
}

Font PopupMenu::ItemFont() {
  Font font;
  font.name = "Segoe UI";
  font.height = -12;
  font.color = clMenuText;
  return font;
}

void PopupMenu::PeerDrawItem(MenuItem& item, Canvas& canvas, const Rect& rect, bool selected) {
  if (!OnDrawItem || !owner_) return;
  Application::DispatchScope scope(owner_->App());
  canvas.SetFont(ItemFont());
  auto handler = OnDrawItem;
  handler(item, canvas, rect, selected);
}

}  // namespace vm::ui

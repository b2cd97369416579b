#pragma once
// Popup menus: a tree of items with captions, check marks (plain or radio), images from an image
// list, hidden and disabled items, separators ("-") and an owner-draw hook.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/toolkit/control.h"
#include "ui/toolkit/font.h"

namespace vm::ui {

class ImageList;
class PopupMenu;

class MenuItem {
 public:
  // An item appended to `parent` (another item, making a sub-menu) or to a menu's root.
  MenuItem(MenuItem& parent, const char* name, const char* caption = "");
  MenuItem(PopupMenu& menu, const char* name, const char* caption = "");
  ~MenuItem();
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { caption_ = caption; }
  bool IsSeparator() const { return caption_ == "-"; }
  bool Checked() const { return checked_; }
  // Setting in code fires nothing; checking a radio item unchecks the others of its group.
  void SetChecked(bool checked);
  // A user's choice checks the item (radio) or flips it (check item) before OnClick.
  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool autoCheck) { autoCheck_ = autoCheck; }
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool radio) { radioItem_ = radio; }
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int group) { groupIndex_ = group; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index) { imageIndex_ = index; }
  std::int64_t Tag() const { return tag_; }
  void SetTag(std::int64_t tag) { tag_ = tag; }

  // Sub-items in order (including hidden ones).
  const std::vector<MenuItem*>& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }
  MenuItem* Parent() const { return parent_; }
  PopupMenu& Menu() const { return menu_; }
  // Creates a sub-item owned by this item.
  MenuItem& Add(std::string name, std::string caption);
  // Destroys the sub-items this item owns and forgets the others.
  void Clear();
  // The number the system's menu command for this item carries (unique in the process).
  std::uint32_t CommandId() const { return commandId_; }
  MenuItem* FindByCommand(std::uint32_t id);

  std::function<void(MenuItem& sender)> OnClick;

  // The user chose the item (from a real or a simulated menu): check state first, then OnClick.
  // Disabled, hidden and separator items and items with sub-items do nothing.
  void PeerChosen();

 private:
  friend class PopupMenu;
  MenuItem(PopupMenu& menu, MenuItem* parent, const char* name, const char* caption);
  void RemoveChild(MenuItem* item);
  void UncheckGroupSiblings();

  PopupMenu& menu_;
  MenuItem* parent_;
  std::string name_;
  std::string caption_;
  bool checked_ = false;
  bool autoCheck_ = false;
  bool radioItem_ = false;
  int groupIndex_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  int imageIndex_ = -1;
  std::int64_t tag_ = 0;
  std::uint32_t commandId_;
  bool firing_ = false;
  std::vector<MenuItem*> items_;
  std::vector<std::unique_ptr<MenuItem>> owned_;
};

using DrawMenuItemEvent = std::function<void(MenuItem& item, Canvas& canvas, Rect rect, bool selected)>;
using MeasureMenuItemEvent = std::function<void(MenuItem& item, Size& size)>;

class PopupMenu {
 public:
  explicit PopupMenu(Form& owner, const char* name = "PopupMenu");
  ~PopupMenu();
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;

  const std::string& Name() const { return name_; }
  // The owning form; nullptr once the form has gone (the menu then no longer opens).
  Form* Owner() const { return owner_; }
  // The invisible root whose sub-items are the menu's items.
  MenuItem& Items() { return *root_; }
  const ImageList* Images() const { return images_; }
  void SetImages(const ImageList* images) { images_ = images; }  // not owned
  // Owner-drawn menus draw every item through OnDrawItem.
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool ownerDraw) { ownerDraw_ = ownerDraw; }
  // The control the menu was last opened for (set by Popup's caller, cleared by nothing).
  Control* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(Control* control) { popupComponent_ = control; }
  // Items are chosen with the left button only (otherwise either button chooses).
  bool TrackLeftButton() const { return trackLeftButton_; }
  void SetTrackLeftButton(bool on) { trackLeftButton_ = on; }

  // Opens the menu at screen point (x, y) and returns when it closed; a chosen item's OnClick
  // runs once the menu has closed.
  void Popup(int x, int y);

  NotifyEvent OnPopup;  // sender: the owner form
  DrawMenuItemEvent OnDrawItem;
  MeasureMenuItemEvent OnMeasureItem;

  // The size of an owner-drawn item: OnMeasureItem's answer, else the default below.
  Size MeasureItem(MenuItem& item);
  // Default size of an owner-drawn item: separators 9 high; others as high as the larger of
  // the text (default menu font) plus 4 and the image height plus 4, and as wide as image,
  // gaps and text.
  Size DefaultItemSize(const MenuItem& item) const;
  // The font owner-drawn items are measured in, and that the canvas holds when OnDrawItem is
  // called (the system's menu font of Windows 10 and 11: Segoe UI 9 pt).
  static Font ItemFont();
  // Calls OnDrawItem (from the backend's draw request) with the canvas set to ItemFont;
  // nothing without a hook.
  void PeerDrawItem(MenuItem& item, Canvas& canvas, const Rect& rect, bool selected);

 private:
  friend class Form;
  Form* owner_;
  std::string name_;
  std::unique_ptr<MenuItem> root_;
  const ImageList* images_ = nullptr;
  bool ownerDraw_ = false;
  bool trackLeftButton_ = false;
  Control* popupComponent_ = nullptr;
};

}  // namespace vm::ui

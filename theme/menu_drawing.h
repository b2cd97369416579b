#pragma once
// Options1DrawItem: how every owner-drawn popup menu of the program draws its items - a silver
// icon column with the item's icon, the caption, a highlight for the selected item, separators
// as a grey and a white line, and the check marker of AddList. With a high-contrast scheme only
// the system's menu and highlight colours are used.

#include <cstdint>
#include <string>

#include "ui/toolkit/canvas.h"
#include "ui/toolkit/image_list.h"
#include "ui/toolkit/menu.h"

namespace vm::theme {

// What the drawing needs to know of a menu item.
struct MenuItemView {
  std::string caption;
  bool enabled = true;
  bool checked = false;
  std::int64_t tag = 0;
  int imageIndex = -1;
};

MenuItemView ViewOf(const ui::MenuItem& item);

// Colours of the drawing.
inline constexpr ui::Color kSelectedTextColor = 0xDDDDDD;
inline constexpr ui::Color kIconColumnColor = ui::clSilver;
inline constexpr ui::Color kSeparatorShadowColor = ui::MakeRgb(128, 128, 128);
inline constexpr ui::Color kSeparatorLightColor = ui::clWhite;
// Pictures of AddList used as check markers.
inline constexpr int kCheckedPicture = 2;
inline constexpr int kUncheckedPicture = 0;

// Draws `item` in `rect` of `canvas`. `menuIcons` (may be null) gives the item's icon,
// `addList` (may be null) the check markers. A disabled item is never drawn as selected.
void Options1DrawItem(const MenuItemView& item, ui::Canvas& canvas, const ui::Rect& rect,
                      bool selected, const ui::ImageList* menuIcons, const ui::ImageList* addList);
void Options1DrawItem(const ui::MenuItem& item, ui::Canvas& canvas, const ui::Rect& rect,
                      bool selected, const ui::ImageList* menuIcons, const ui::ImageList* addList);

// A popup menu's draw hook that draws with the lists given (they must outlive the menu).
ui::DrawMenuItemEvent MakeOptions1DrawItem(const ui::ImageList* menuIcons,
                                           const ui::ImageList* addList);

}  // namespace vm::theme

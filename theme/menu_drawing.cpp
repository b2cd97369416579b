#include "theme/menu_drawing.h"

#include "ui/toolkit/bitmap.h"
#include "ui/toolkit/text_metrics.h"

namespace vm::theme {

namespace {

// Icon column: 32 pixels of the item's icon.
constexpr int kIconWidth = 32;
// The text rectangle reaches this far past the item on the right, so the highlight covers the
// whole width whatever the item was measured to.
constexpr int kTextRectExtra = 35;
constexpr int kTextGap = 5;
// Width of the silver column beside a separator.
constexpr int kSeparatorColumn = 19;

ui::Bitmap IconOf(const MenuItemView& item, const ui::ImageList* menuIcons) {
  if (menuIcons == nullptr || menuIcons->Frame(item.imageIndex) == nullptr) return {};
  return menuIcons->GetBitmap(item.imageIndex);
}

void CopyIcon(ui::Canvas& canvas, const ui::Bitmap& icon, ui::Point at, int height) {
  if (icon.IsEmpty()) return;
  canvas.CopyRect(ui::Rect::FromXYWH(at.x, at.y, kIconWidth, height), icon,
                  {0, 0, kIconWidth, height});
}

}  // namespace

MenuItemView ViewOf(const ui::MenuItem& item) {
  MenuItemView view;
  view.caption = item.Caption();
  view.enabled = item.Enabled();
  view.checked = item.Checked();
  view.tag = item.Tag();
  view.imageIndex = item.ImageIndex();
  return view;
}

void Options1DrawItem(const MenuItemView& item, ui::Canvas& canvas, const ui::Rect& rect,
                      bool selected, const ui::ImageList* menuIcons, const ui::ImageList* addList) {
  canvas.Save();
  const int H = rect.Height();
  const ui::Rect textRect{rect.left, rect.top, rect.right + kTextRectExtra, rect.bottom};
  const int textHeight = canvas.TextHeight(item.caption);
  const ui::Point textAt{rect.left + H + kTextGap, rect.top + (H - textHeight) / 2};
  const ui::Bitmap icon = IconOf(item, menuIcons);
  if (!item.enabled) selected = false;

  // A high-contrast scheme: the system's menu colours only, no fixed greys and silvers.
  const bool highContrast = ui::CurrentColorResolver().HighContrast();
  const ui::Color column = highContrast ? ui::clMenu : kIconColumnColor;
  canvas.SetTransparentText(true);
  if (selected) {
    canvas.FillRect(textRect, highContrast ? ui::clHighlight : ui::clMenuHighlight);
    canvas.FrameRect(textRect, highContrast ? ui::clHighlightText : ui::clBlack);
    canvas.SetTextColor(highContrast ? ui::clHighlightText : kSelectedTextColor);
    canvas.TextOut(textAt, item.caption);
    CopyIcon(canvas, icon, {1, rect.top + 1}, H);
  } else {
    canvas.FillRect(textRect, ui::clMenu);
    const ui::Color disabled = highContrast ? ui::clGrayText : ui::clInactiveCaption;
    canvas.SetTextColor(item.enabled ? ui::clMenuText : disabled);
    if (item.caption == "-") {
      canvas.FillRect({0, rect.top, kSeparatorColumn, rect.bottom}, column);
      const int y = rect.top + H / 2;
      canvas.Line({1, y}, {textRect.Width(), y}, highContrast ? ui::clMenuText : kSeparatorShadowColor);
      if (!highContrast) canvas.Line({0, y + 1}, {textRect.Width(), y + 1}, kSeparatorLightColor);
    } else {
      canvas.TextOut(textAt, item.caption);
      canvas.FillRect({rect.left, rect.top, H, rect.bottom}, column);
      CopyIcon(canvas, icon, {2, rect.top}, H);
    }
  }

  if (item.checked || item.tag != 0) {
    const int picture = item.checked ? kCheckedPicture : kUncheckedPicture;
    if (addList != nullptr && addList->Frame(picture) != nullptr) {
      const ui::Bitmap marker = addList->GetBitmap(picture);
      canvas.DrawBitmapTransparent(
          ui::Rect::FromXYWH(rect.left + 1, rect.top + 1, marker.Width(), marker.Height()), marker,
          marker.ColorAt(1, 1));
    }
  }
  canvas.Restore();
}

void Options1DrawItem(const ui::MenuItem& item, ui::Canvas& canvas, const ui::Rect& rect,
                      bool selected, const ui::ImageList* menuIcons, const ui::ImageList* addList) {
  Options1DrawItem(ViewOf(item), canvas, rect, selected, menuIcons, addList);
}

ui::DrawMenuItemEvent MakeOptions1DrawItem(const ui::ImageList* menuIcons,
                                           const ui::ImageList* addList) {
  return [menuIcons, addList](ui::MenuItem& item, ui::Canvas& canvas, ui::Rect rect, bool selected) {
    Options1DrawItem(item, canvas, rect, selected, menuIcons, addList);
  };
}

}  // namespace vm::theme

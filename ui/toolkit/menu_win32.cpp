// Popup menus of the Win32 backend: the native menu is built from the portable items each
// time it opens; owner-drawn items are measured and drawn by the portable hooks.

#include <windows.h>

#include "ui/toolkit/application.h"
#include "ui/toolkit/backend_win32.h"
#include "ui/toolkit/dpi.h"
#include "ui/toolkit/form.h"
#include "ui/toolkit/menu.h"

namespace vm::ui {

namespace {

HMENU BuildMenu(const MenuItem& parent, bool ownerDraw) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  for (const MenuItem* item : parent.Items()) {
    if (!item->Visible()) continue;
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_DATA;
    info.wID = item->CommandId();
    info.dwItemData = item->CommandId();
    info.fState = (item->Checked() ? MFS_CHECKED : 0) | (item->Enabled() ? 0 : MFS_GRAYED);
    std::wstring caption = win32::Widen(item->Caption());
    if (item->IsSeparator()) {
      info.fType = MFT_SEPARATOR;
    } else {
      info.fType = item->RadioItem() ? MFT_RADIOCHECK : MFT_STRING;
      info.fMask |= MIIM_STRING;
      info.dwTypeData = caption.data();
    }
    if (ownerDraw) info.fType |= MFT_OWNERDRAW;
    if (!item->Items().empty()) {
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = BuildMenu(*item, ownerDraw);
    }
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
  }
  return menu;
}

}  // namespace

void Win32Backend::ShowPopupMenu(PopupMenu& menu, Point screen, PeerHandle owner) {
  HWND ownerWindow = WindowOf(owner);
  if (!ownerWindow) ownerWindow = EnsureAppWindow();
  HMENU native = BuildMenu(menu.Items(), menu.OwnerDraw());
  if (!native) return;
  // A menu opened for a window in the background closes properly only if that window is in
  // front, and the message after it lets the menu notice a click elsewhere.
  SetForegroundWindow(ownerWindow);
  PopupMenu* outer = activeMenu_;
  activeMenu_ = &menu;
  const int dpi = win32::SystemDpi();
  const UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD |
                     (menu.TrackLeftButton() ? TPM_LEFTBUTTON : TPM_RIGHTBUTTON);
  const UINT command = static_cast<UINT>(TrackPopupMenu(native, flags, ToDevice(screen.x, dpi),
                                                        ToDevice(screen.y, dpi), 0, ownerWindow, nullptr));
  activeMenu_ = outer;
  PostMessageW(ownerWindow, WM_NULL, 0, 0);
  DestroyMenu(native);
  // The choice is delivered once the menu has closed, as in the headless backend.
  // The choice is an event of its own: what its handler throws is reported here and does not
  // end the handler that opened the menu.
  if (command != 0)
    if (MenuItem* item = menu.Items().FindByCommand(command)) GuardedDelivery(app_, [&] { item->PeerChosen(); });
}

MenuItem* Win32Backend::FindMenuCommand(win32::WindowRecord& record, UINT id) {
  if (activeMenu_)
    if (MenuItem* item = activeMenu_->Items().FindByCommand(id)) return item;
  // A command posted to a window: the menus of its form, or of every form for the
  // application window.
  if (record.form) {
    for (PopupMenu* menu : record.form->Menus())
      if (MenuItem* item = menu->Items().FindByCommand(id)) return item;
    return nullptr;
  }
  if (!app_) return nullptr;
  for (Form* form : app_->Forms())
    for (PopupMenu* menu : form->Menus())
      if (MenuItem* item = menu->Items().FindByCommand(id)) return item;
  return nullptr;
}

bool Win32Backend::MeasureMenuItem(MEASUREITEMSTRUCT& mis, int dpi) {
  if (!activeMenu_) return false;
  MenuItem* item = activeMenu_->Items().FindByCommand(static_cast<std::uint32_t>(mis.itemData));
  if (!item) return false;
  Size size{0, 1};
  GuardedDelivery(app_, [&] { size = activeMenu_->MeasureItem(*item); });
  mis.itemWidth = static_cast<UINT>(std::max(ToDevice(size.width, dpi), 0));
  mis.itemHeight = static_cast<UINT>(std::max(ToDevice(size.height, dpi), 1));
  return true;
}

bool Win32Backend::DrawMenuItem(const DRAWITEMSTRUCT& dis, int dpi) {
  if (!activeMenu_) return false;
  MenuItem* item = activeMenu_->Items().FindByCommand(static_cast<std::uint32_t>(dis.itemData));
  if (!item) return false;
  win32::GdiCanvas canvas(dis.hDC, dpi, fonts_);
  GuardedDelivery(app_, [&] {
    activeMenu_->PeerDrawItem(*item, canvas, win32::ToDesignRect(dis.rcItem, dpi), (dis.itemState & ODS_SELECTED) != 0);
  });
  return true;
}

}  // namespace vm::ui

// Secondary windows by number, the window buttons, the menus, keys and the notification-area icon.

#include "app/main_form.h"

namespace vm {

void TForm1::WireWindowsAndMenus() {}

void TForm1::CurrentTaskChanged() {}

void TForm1::BuildButtons() {}

void TForm1::LoadMenuIcons() {}

void TForm1::CreateForm(int) {}

void TForm1::DeleteFormA(int) {}

bool TForm1::NotifyTray(int) { return false; }

void TForm1::HideToTray() {}

SystemMessageResult TForm1::TrayMessage(const SystemMessage&) { return {}; }

}  // namespace vm

#include "platform/desktop_services_win32.h"

#include "platform/wide_text_win32.h"
#include "draw/gdi_win32.h"

namespace vm {

Win32ShellIcons::~Win32ShellIcons() { Close(); }

bool Win32ShellIcons::Open(const std::string& libraryPath) {
  Close();
  if (libraryPath.empty()) return false;
  module_ = LoadLibraryExW(Utf8ToWide(libraryPath).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  return module_ != nullptr;
}

std::optional<ui::Icon> Win32ShellIcons::Load(int resource, int size) {
  if (!module_ || resource < 1 || resource > 0xFFFF || size <= 0) return std::nullopt;
  auto* icon = static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(resource), IMAGE_ICON, size,
                                             size, LR_DEFAULTCOLOR));
  if (!icon) return std::nullopt;
  ui::Icon picture = ui::win32::IconFromHandle(icon, size);
  DestroyIcon(icon);
  if (picture.IsEmpty()) return std::nullopt;
  return picture;
}

void Win32ShellIcons::Close() {
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
}

ui::Icon Win32ShellIcons::Stock(StockIcon which, int size) {
  if (which == StockIcon::Application && size > 0) {
    // The running program's own icon (its first icon resource) where it has one.
    auto* own = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                              size, size, LR_DEFAULTCOLOR));
    if (own) {
      ui::Icon picture = ui::win32::IconFromHandle(own, size);
      DestroyIcon(own);
      if (!picture.IsEmpty()) return picture;
    }
  }
  LPCWSTR id = IDI_APPLICATION;
  switch (which) {
    case StockIcon::Information: id = IDI_INFORMATION; break;
    case StockIcon::Warning: id = IDI_WARNING; break;
    case StockIcon::WindowsLogo: id = IDI_WINLOGO; break;
    case StockIcon::Application: id = IDI_APPLICATION; break;
  }
  // A shared system icon: it is not destroyed.
  return ui::win32::IconFromHandle(LoadIconW(nullptr, id), size);
}

}  // namespace vm

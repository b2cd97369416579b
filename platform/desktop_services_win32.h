#pragma once
// The real desktop and shell-icon services on the W API, made by the program entry: the
// desktop's icon view ("Progman" / "SHELLDLL_DefView") with a canvas on its window device
// context, and icons of the system's shell library and the stock icons as portable pictures.

#include <memory>
#include <optional>
#include <string>

#include <windows.h>
// The A/W macros of these names would rename members of the portable interfaces in every file
// that sees both headers.
#undef MoveFile
#undef DeleteFile
#undef ReplaceFile

#include "platform/desktop.h"
#include "platform/shell_icons.h"

namespace vm::ui::win32 {
class FontCache;
}  // namespace vm::ui::win32

namespace vm {

class Win32ShellIcons : public ShellIcons {
 public:
  Win32ShellIcons() = default;
  ~Win32ShellIcons() override;
  Win32ShellIcons(const Win32ShellIcons&) = delete;
  Win32ShellIcons& operator=(const Win32ShellIcons&) = delete;

  // Loads the library as a data file (none of its code runs); a library already open is freed.
  bool Open(const std::string& libraryPath) override;
  // Icon resources are numbered 1 to 65535; other numbers find nothing.
  std::optional<ui::Icon> Load(int resource, int size) override;
  void Close() override;
  // Application is the running program's own icon (icon resource 1) where it has one, else the
  // system's generic program icon.
  ui::Icon Stock(StockIcon which, int size) override;

 private:
  HMODULE module_ = nullptr;
};

class Win32Desktop : public Desktop {
 public:
  Win32Desktop();
  ~Win32Desktop() override;
  Win32Desktop(const Win32Desktop&) = delete;
  Win32Desktop& operator=(const Win32Desktop&) = delete;

  WindowId FindDesktopWindow() override;
  WindowId FindDesktopView(WindowId desktop) override;
  WindowId FindWorkerView() override;
  // Stretches the window's device context with halftoning, as the screen shows it.
  bool CopyPicture(WindowId window, const ui::Rect& source, ui::Bitmap& into) override;
  void Redraw(WindowId window) override;
  // `rect` in design pixels, scaled like the canvas of DrawOnWindow.
  void RepaintRect(WindowId window, const ui::Rect& rect) override;
  // Never draws without a window: the device context of "no window" is the whole screen.
  bool DrawOnWindow(WindowId window, const std::function<void(ui::Canvas&)>& draw) override;

 private:
  std::unique_ptr<ui::win32::FontCache> fonts_;  // kept between ticks: the same two fonts each second
};

}  // namespace vm

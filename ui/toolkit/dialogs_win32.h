#pragma once
// The common dialogs of the system (open file, font, colour, folder). Message boxes are the
// platform's (vm::Win32MessageBoxes).

#include "ui/toolkit/win32_util_win32.h"

#include "platform/services.h"
#include "ui/toolkit/dialogs.h"

namespace vm::ui {

class Win32Dialogs : public Dialogs {
 public:
  std::optional<std::string> OpenFile(const OpenFileRequest& request) override;
  bool ChooseFont(FontChoice& choice, WindowId owner) override;
  bool ChooseColor(ColorChoice& choice, WindowId owner) override;
  std::optional<std::string> BrowseForFolder(const std::string& title, WindowId owner) override;
};

namespace win32 {
// The system's filter list (pairs separated by NUL, ending in two NULs) from the portable
// "description|pattern|..." form; a trailing description without pattern is dropped.
std::wstring FilterList(const std::string& filter);
// The logical-font record of a font choice at `dpi`, and back; heights scale with the DPI.
LOGFONTW ToLogFont(const FontChoice& choice, int dpi);
void FromLogFont(const LOGFONTW& lf, int dpi, FontChoice& choice);
}  // namespace win32

}  // namespace vm::ui

#pragma once
// Small conversions shared by the Win32 backend: UTF-8 and UTF-16 texts, colours, DPI and
// rectangles between design and device pixels.

#include <windows.h>
// The A/W macros of these names would rename members of the portable interfaces (FileSystem,
// Dialogs) in every file that sees both; the toolkit calls the W functions by their full names.
#undef MoveFile
#undef DeleteFile
#undef ReplaceFile
#undef ChooseFont
#undef ChooseColor

#include <string>
#include <string_view>

#include "draw/color.h"
#include "draw/geometry.h"

namespace vm::ui::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
// At most `maxUnits` UTF-16 units, never ending inside a surrogate pair.
std::wstring CutUtf16(std::wstring text, std::size_t maxUnits);

// System colours resolved with the user's current scheme.
class Win32ColorResolver : public ColorResolver {
 public:
  Color ToRgb(Color c) const override;
  bool HighContrast() const override;
};
COLORREF ToColorRef(Color c);

// The DPI of the system (primary monitor) and of a window's monitor. GetDpiForWindow and
// GetDpiForSystem are looked up at run time, so the program also runs where they are missing;
// then the screen's LOGPIXELSY answers.
int SystemDpi();
int WindowDpi(HWND hwnd);

RECT ToDeviceRect(const Rect& r, int dpi);
Rect ToDesignRect(const RECT& r, int dpi);

}  // namespace vm::ui::win32

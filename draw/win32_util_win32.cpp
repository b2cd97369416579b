#include "draw/win32_util_win32.h"

#include "platform/wide_text_win32.h"
#include "draw/dpi.h"

namespace vm::ui::win32 {

std::wstring Widen(std::string_view utf8) { return Utf8ToWide(utf8); }

std::string Narrow(std::wstring_view wide) { return WideToUtf8(wide); }

std::wstring CutUtf16(std::wstring text, std::size_t maxUnits) {
  if (text.size() <= maxUnits) return text;
  text.resize(maxUnits);
  if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) text.pop_back();
  return text;
}

Color Win32ColorResolver::ToRgb(Color c) const {
  if (IsSystemColor(c)) {
    const DWORD rgb = GetSysColor(SystemColorIndex(c));
    return static_cast<Color>(rgb);
  }
  return c & 0x00FFFFFFu;
}

bool Win32ColorResolver::HighContrast() const {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) != FALSE &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

COLORREF ToColorRef(Color c) { return static_cast<COLORREF>(Win32ColorResolver().ToRgb(c)); }

namespace {

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

template <class Fn>
Fn UserFunction(const char* name) {
  HMODULE user = GetModuleHandleW(L"user32.dll");
  return user ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user, name))) : nullptr;
}

}  // namespace

int SystemDpi() {
  using Fn = UINT(WINAPI*)();
  static const Fn getDpiForSystem = UserFunction<Fn>("GetDpiForSystem");
  if (getDpiForSystem) {
    const UINT dpi = getDpiForSystem();
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return ScreenDpi();
}

int WindowDpi(HWND hwnd) {
  using Fn = UINT(WINAPI*)(HWND);
  static const Fn getDpiForWindow = UserFunction<Fn>("GetDpiForWindow");
  if (getDpiForWindow && hwnd) {
    const UINT dpi = getDpiForWindow(hwnd);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

RECT ToDeviceRect(const Rect& r, int dpi) {
  return {ToDevice(r.left, dpi), ToDevice(r.top, dpi), ToDevice(r.right, dpi), ToDevice(r.bottom, dpi)};
}

Rect ToDesignRect(const RECT& r, int dpi) {
  return {ToDesign(r.left, dpi), ToDesign(r.top, dpi), ToDesign(r.right, dpi), ToDesign(r.bottom, dpi)};
}

}  // namespace vm::ui::win32

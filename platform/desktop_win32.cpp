#include "platform/desktop_services_win32.h"

#include "draw/gdi_win32.h"

namespace vm {

namespace {

HWND ToWindow(WindowId window) { return reinterpret_cast<HWND>(window); }
WindowId ToId(HWND window) { return reinterpret_cast<WindowId>(window); }

// Repaint now, background first, the children (the icon view) included.
constexpr UINT kRedrawFlags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;

}  // namespace

Win32Desktop::Win32Desktop() : fonts_(std::make_unique<ui::win32::FontCache>()) {}

Win32Desktop::~Win32Desktop() = default;

WindowId Win32Desktop::FindDesktopWindow() { return ToId(FindWindowW(L"Progman", L"Program Manager")); }

WindowId Win32Desktop::FindDesktopView(WindowId desktop) {
  if (!desktop) return 0;
  return ToId(FindWindowExW(ToWindow(desktop), nullptr, L"SHELLDLL_DefView", nullptr));
}

void Win32Desktop::Redraw(WindowId window) {
  if (!window) return;
  RedrawWindow(ToWindow(window), nullptr, nullptr, kRedrawFlags);
}

void Win32Desktop::RepaintRect(WindowId window, const ui::Rect& rect) {
  if (!window) return;
  const RECT area = ui::win32::ToDeviceRect(rect, ui::win32::SystemDpi());
  RedrawWindow(ToWindow(window), &area, nullptr, kRedrawFlags);
}

bool Win32Desktop::DrawOnWindow(WindowId window, const std::function<void(ui::Canvas&)>& draw) {
  if (!window || !draw || !IsWindow(ToWindow(window))) return false;
  HWND hwnd = ToWindow(window);
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return false;
  // Declared before the canvas, so the canvas gives the context's state back first and the
  // context is released last, also when the drawing throws.
  struct ReleaseContext {
    HWND hwnd;
    HDC dc;
    ~ReleaseContext() { ReleaseDC(hwnd, dc); }
  } release{hwnd, dc};
  ui::win32::GdiCanvas canvas(dc, ui::win32::SystemDpi(), *fonts_);
  draw(canvas);
  return true;
}

}  // namespace vm

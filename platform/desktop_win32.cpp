#include "platform/desktop_services_win32.h"

#include <cstdint>
#include <string_view>
#include <vector>

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

namespace {

BOOL CALLBACK FindViewInWorker(HWND top, LPARAM found) {
  wchar_t name[16] = {};
  if (!GetClassNameW(top, name, 16) || std::wstring_view(name) != L"WorkerW") return TRUE;
  HWND view = FindWindowExW(top, nullptr, L"SHELLDLL_DefView", nullptr);
  if (!view) return TRUE;
  *reinterpret_cast<HWND*>(found) = view;
  return FALSE;
}

}  // namespace

WindowId Win32Desktop::FindWorkerView() {
  HWND view = nullptr;
  EnumWindows(&FindViewInWorker, reinterpret_cast<LPARAM>(&view));
  return ToId(view);
}

bool Win32Desktop::CopyPicture(WindowId window, const ui::Rect& source, ui::Bitmap& into) {
  if (!window || into.IsEmpty() || source.Width() <= 0 || source.Height() <= 0) return false;
  HWND hwnd = ToWindow(window);
  if (!IsWindow(hwnd)) return false;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return false;
  const int width = into.Width();
  const int height = into.Height();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC mem = target ? CreateCompatibleDC(dc) : nullptr;
  bool copied = false;
  if (mem) {
    HGDIOBJ old = SelectObject(mem, target);
    const RECT from = ui::win32::ToDeviceRect(source, ui::win32::SystemDpi());
    SetStretchBltMode(mem, HALFTONE);
    SetBrushOrgEx(mem, 0, 0, nullptr);
    copied = StretchBlt(mem, 0, 0, width, height, dc, from.left, from.top, from.right - from.left,
                        from.bottom - from.top, SRCCOPY) != FALSE;
    GdiFlush();
    if (copied) {
      const auto* pixels = static_cast<const std::uint32_t*>(bits);
      std::vector<ui::Pixel>& out = into.MutablePixels();
      for (std::size_t i = 0; i < out.size(); ++i) out[i] = pixels[i] | 0xFF000000u;
    }
    SelectObject(mem, old);
    DeleteDC(mem);
  }
  if (target) DeleteObject(target);
  ReleaseDC(hwnd, dc);
  return copied;
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

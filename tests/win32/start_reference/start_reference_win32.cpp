// The yardstick of the clock's start time: the least a clock can do under the same system - a
// layered, top-most popup of the clock's size that paints the time once a second. Started with
// a number of milliseconds, it ends by itself after that long. Started with "hidden" before the
// number, it shows no window: it only keeps the Wine desktop up between the measured starts.

#include <windows.h>

#include <cstdlib>
#include <cwchar>

namespace {

constexpr UINT_PTR kTick = 1;
constexpr UINT_PTR kEnd = 2;

LRESULT CALLBACK ReferenceProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kEnd) DestroyWindow(hwnd);
      else InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      SYSTEMTIME now;
      GetLocalTime(&now);
      wchar_t text[16];
      std::swprintf(text, 16, L"%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
      TextOutW(dc, 8, 8, text, static_cast<int>(std::wcslen(text)));
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  const bool hidden = commandLine && std::wcsncmp(commandLine, L"hidden", 6) == 0;
  if (hidden) commandLine += 6;
  const int lifeMs = commandLine && *commandLine ? _wtoi(commandLine) : 5000;
  WNDCLASSW wc{};
  wc.lpfnWndProc = ReferenceProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"StartReference";
  if (!RegisterClassW(&wc)) return 1;
  HWND hwnd = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"Reference",
                              WS_POPUP, 100, 100, 272, 55, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  SetLayeredWindowAttributes(hwnd, 0, 250, LWA_ALPHA);
  SetTimer(hwnd, kTick, 1000, nullptr);
  SetTimer(hwnd, kEnd, static_cast<UINT>(lifeMs > 0 ? lifeMs : 5000), nullptr);
  if (!hidden) {
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

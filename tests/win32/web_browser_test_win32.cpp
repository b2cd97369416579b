// The page area on real windows: the system's browser control shows a local page where the
// system has an HTML engine; elsewhere the area stays empty in its colour and nothing fails.

#include <string>

#include "toolkit_support_win32.h"

namespace vm::ui::testing {
namespace {

class PageForm : public Form {
 public:
  explicit PageForm(Application& app) : Form(app, "PageForm") {
    SetBounds(120, 120, 240, 200);
    SetBorderStyle(BorderStyle::None);
    SetColor(clWhite);
    Page.SetBounds(10, 10, 82, 65);
    Page.SetColor(MakeRgb(0x20, 0x80, 0x40));
  }
  WebBrowser Page{*this, "Page"};
};

std::string LocalPage() {
  wchar_t dir[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, dir);
  std::wstring path = std::wstring(dir) + L"vemtaro_page_test.htm";
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  const char html[] = "<html><body style='margin:0;background:#ff0000'></body></html>";
  DWORD written = 0;
  if (file != INVALID_HANDLE_VALUE) {
    WriteFile(file, html, sizeof(html) - 1, &written, nullptr);
    CloseHandle(file);
  }
  return win32::Narrow(path);
}

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

class WebBrowserWin32Test : public Win32ToolkitTest {
 protected:
  // The colour on the screen in the middle of the page area.
  COLORREF MiddleOfPage() {
    RECT r;
    GetWindowRect(Win32Backend::WindowOf(form.Page.Peer()), &r);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return c;
  }
  PageForm form{app};
};

TEST_F(WebBrowserWin32Test, TheAreaShowsThePageOrStaysEmpty) {
  form.Page.Navigate(LocalPage(), WebBrowser::kNavNoHistory);
  form.Show();
  PumpFor(1500);
  HWND host = Win32Backend::WindowOf(form.Page.Peer());
  ASSERT_NE(host, nullptr);
  HWND browser = GetWindow(host, GW_CHILD);
  if (!form.Page.Hosted()) {
    // No engine: no child window is left behind, the area shows its own colour.
    EXPECT_EQ(browser, nullptr);
    EXPECT_EQ(MiddleOfPage(), RGB(0x20, 0x80, 0x40));
    return;
  }
  ASSERT_NE(browser, nullptr);
  if (UnderWine()) {
    // Wine's browser control takes the page but has no engine to draw it: the area stays empty
    // and the window goes on working.
    EXPECT_NE(MiddleOfPage(), RGB(0xFF, 0, 0));
    EXPECT_TRUE(IsWindowVisible(host));
  }
  // The browser fills the area, also after the area changed its size.
  form.Page.SetBounds(10, 10, 100, 80);
  PumpFor(100);
  RECT hostRect, browserRect;
  GetClientRect(host, &hostRect);
  GetWindowRect(browser, &browserRect);
  EXPECT_EQ(browserRect.right - browserRect.left, hostRect.right);
  EXPECT_EQ(browserRect.bottom - browserRect.top, hostRect.bottom);
}

TEST_F(WebBrowserWin32Test, TheLocalPageIsDrawnByTheEngine) {
  if (UnderWine()) GTEST_SKIP() << "Wine runs here without an HTML engine: the area stays empty";
  form.Page.Navigate(LocalPage(), WebBrowser::kNavNoHistory);
  form.Show();
  PumpFor(300);
  ASSERT_TRUE(form.Page.Hosted()) << "the system's browser control did not take the page";
  const bool red = PumpUntil([&] { return MiddleOfPage() == RGB(0xFF, 0, 0); }, 8000);
  EXPECT_TRUE(red) << "the page's red background did not appear";
}

}  // namespace
}  // namespace vm::ui::testing

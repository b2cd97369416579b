// The desktop service against the system, and the clock's desktop time with it under Wine.

#include "platform/desktop_services_win32.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "app/main_form.h"
#include "core/language.h"
#include "core/log.h"
#include "fakes/platform_fakes.h"
#include "toolkit_support_win32.h"

namespace vm {
namespace {

WindowId ToId(HWND hwnd) { return reinterpret_cast<WindowId>(hwnd); }

TEST(Win32DesktopTest, DrawsOnTheWholeWindowPassesAFailureOnAndNeverDrawsWithoutAWindow) {
  HWND window = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  Win32Desktop desktop;
  EXPECT_TRUE(desktop.DrawOnWindow(ToId(window), [](ui::Canvas& c) { c.FillRect({0, 0, 40, 20}, ui::clRed); }));
  HDC dc = GetWindowDC(window);
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 0, 0));
  ReleaseDC(window, dc);
  EXPECT_THROW(desktop.DrawOnWindow(ToId(window), [](ui::Canvas&) { throw std::runtime_error("x"); }),
               std::runtime_error);
  EXPECT_TRUE(desktop.DrawOnWindow(ToId(window), [](ui::Canvas& c) { c.FillRect({0, 0, 4, 4}, ui::clBlue); }));
  EXPECT_EQ(desktop.FindDesktopView(ToId(window)), 0u);
  DestroyWindow(window);

  bool called = false;
  EXPECT_FALSE(desktop.DrawOnWindow(0, [&](ui::Canvas&) { called = true; }));  // 0 would be the screen
  EXPECT_FALSE(called);
}

TEST(Win32DesktopTest, CopiesAWindowsPictureScaledIntoABitmap) {
  HWND window = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 20, 20, 200, 100, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  Win32Desktop desktop;
  // Left half red, right half blue.
  ASSERT_TRUE(desktop.DrawOnWindow(ToId(window), [](ui::Canvas& c) {
    c.FillRect({0, 0, 100, 100}, ui::clRed);
    c.FillRect({100, 0, 200, 100}, ui::clBlue);
  }));
  ui::Bitmap small(50, 25, 0xFF00FF00u);
  ASSERT_TRUE(desktop.CopyPicture(ToId(window), {0, 0, 200, 100}, small));
  EXPECT_EQ(small.ColorAt(5, 10), ui::clRed);
  EXPECT_EQ(small.ColorAt(45, 10), ui::clBlue);
  EXPECT_EQ(ui::AlphaOf(small.PixelAt(45, 10)), 255);
  // Only the source part counts: the right half alone fills the whole bitmap.
  ASSERT_TRUE(desktop.CopyPicture(ToId(window), {100, 0, 200, 100}, small));
  EXPECT_EQ(small.ColorAt(2, 2), ui::clBlue);
  DestroyWindow(window);

  ui::Bitmap untouched(4, 4, 0xFF00FF00u);
  EXPECT_FALSE(desktop.CopyPicture(0, {0, 0, 10, 10}, untouched));
  EXPECT_FALSE(desktop.CopyPicture(ToId(window), {0, 0, 10, 10}, untouched)) << "the window is gone";
  EXPECT_EQ(untouched.ColorAt(1, 1), ui::clLime);
  EXPECT_EQ(desktop.FindWorkerView(), 0u) << "no slideshow desktop here";
}

// The real desktop service, counting what the clock asked of it.
class CountingDesktop : public Win32Desktop {
 public:
  WindowId FindDesktopWindow() override { ++finds; return Win32Desktop::FindDesktopWindow(); }
  WindowId FindDesktopView(WindowId desktop) override { ++viewFinds; return Win32Desktop::FindDesktopView(desktop); }
  bool DrawOnWindow(WindowId window, const std::function<void(ui::Canvas&)>& draw) override {
    ++draws;
    return Win32Desktop::DrawOnWindow(window, draw);
  }
  int finds = 0, viewFinds = 0, draws = 0;
};

class DesktopTimeWin32Test : public ui::testing::Win32ToolkitTest {
 protected:
  ~DesktopTimeWin32Test() override { app.Shutdown(); }  // before the services go
  ScopedLogCapture log;
  fakes::FakeClock clock{46363.51};
  fakes::FakeLocale locale;
  fakes::Latin1Codec codec;
  fakes::FakeRegistry registry;
  fakes::MemoryFileSystem files;
  fakes::FakeEnvironment env;
  fakes::ScriptedMessageBoxes boxes;
  CountingDesktop desktop;
  MainServices services{clock, locale, codec, registry, files, env, boxes};
  Language language{files, boxes, codec};
};

TEST_F(DesktopTimeWin32Test, WithoutTheDesktopShellsWindowTheDrawingStopsQuietly) {
  if (Win32Desktop().FindDesktopWindow() != 0)
    GTEST_SKIP() << "a desktop shell runs here (\"Progman\" exists): the drawing would go onto the real desktop";
  services.desktop = &desktop;
  StartupState startup;
  startup.programDirectory = "C:\\Vemtaro\\";
  auto& window = app.CreateForm<TForm1>(services, language, startup);
  window.HideToTray();
  const int finds = desktop.finds;
  window.Timer3Timer(window.Timer3);
  window.PaintOnDesktop();
  EXPECT_EQ(desktop.finds, finds + 2);  // Wine has no "Progman": it ends at the first step
  EXPECT_EQ(desktop.viewFinds, 0);
  EXPECT_EQ(desktop.draws, 0);
  for (const std::string& line : log.Messages()) EXPECT_EQ(line.find("Ошибка"), std::string::npos) << line;
}

}  // namespace
}  // namespace vm

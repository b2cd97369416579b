// Icons of the system's shell library and the stock icons as portable pictures.

#include "platform/desktop_services_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/win32_services_win32.h"
#include "ui/toolkit/gdi_win32.h"

namespace vm {
namespace {

bool HasVisiblePixels(const ui::Icon& icon) {
  const auto& pixels = icon.Image().Pixels();
  return icon.Width() == 16 && std::any_of(pixels.begin(), pixels.end(), [](ui::Pixel p) { return ui::AlphaOf(p) != 0; });
}

TEST(Win32ShellIconsTest, IconsOfTheSystemsShellLibraryLoadAt16Pixels) {
  // Every resource number the clock asks for, first choices and fallbacks.
  const int numbers[] = {274, 250, 21, 282, 24, 242, 39, 270, 255, 289, 276, 22, 240, 239, 20, 7, 44, 36, 16, 14, 155,
                         26, 37, 148, 25, 1, 1001, 277, 246, 221, 28, 331, 290, 999, 41, 3};
  Win32ShellIcons icons;
  EXPECT_FALSE(icons.Open("C:\\no such folder\\shell32.dll"));
  const std::string library = Win32Environment().SystemDirectory().value_or("") + "\\shell32.dll";
  if (!icons.Open(library)) GTEST_SKIP() << library << " cannot be loaded as a data file here";
  int found = 0;
  for (int number : numbers)
    if (auto icon = icons.Load(number, 16)) {
      ++found;
      EXPECT_TRUE(HasVisiblePixels(*icon)) << number;
    }
  for (int number : {0, 65000, 65536}) EXPECT_EQ(icons.Load(number, 16), std::nullopt) << number;
  icons.Close();
  EXPECT_EQ(icons.Load(numbers[0], 16), std::nullopt);
  if (found == 0) GTEST_SKIP() << "this shell library holds none of the clock's icon numbers";
}

TEST(Win32ShellIconsTest, StockIconsArePicturesAndTheApplicationIconIsTheProgramsOwn) {
  Win32ShellIcons icons;
  for (StockIcon which : {StockIcon::Information, StockIcon::Warning, StockIcon::WindowsLogo, StockIcon::Application})
    EXPECT_TRUE(HasVisiblePixels(icons.Stock(which, 16))) << static_cast<int>(which);
  EXPECT_FALSE(icons.Stock(StockIcon::Information, 16).Image().SamePixels(icons.Stock(StockIcon::Warning, 16).Image()));
  // A program without an icon resource (this test program) gets the system's generic one.
  HICON own = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, 0));
  const ui::Icon expected = ui::win32::IconFromHandle(own ? own : LoadIconW(nullptr, IDI_APPLICATION), 16);
  EXPECT_TRUE(icons.Stock(StockIcon::Application, 16).Image().SamePixels(expected.Image()));
  if (own) DestroyIcon(own);
}

}  // namespace
}  // namespace vm

// The Windows colour resolver reads the user's high-contrast scheme: switched on for the desktop
// (without storing it), the resolver says so, and a themed button drawn then shows the system
// colours. The scheme belongs to the whole desktop, so this runs alone and puts it back.

#include <memory>

#include "win32/toolkit_support_win32.h"

#include "theme/dbut.h"

namespace vm::ui::testing {
namespace {

class HighContrastWin32Test : public Win32ToolkitTest {
 protected:
  void SetUp() override {
    before.cbSize = sizeof(before);
    saved = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(before), &before, 0) != FALSE;
  }
  void TearDown() override {
    if (!saved) return;
    HIGHCONTRASTW back = before;
    back.lpszDefaultScheme = nullptr;
    SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(back), &back, 0);
  }
  HIGHCONTRASTW before{};
  bool saved = false;
};

TEST_F(HighContrastWin32Test, TheSchemeSwitchedOnIsReadAndAThemedButtonTakesTheSystemColours) {
  HIGHCONTRASTW on{};
  on.cbSize = sizeof(on);
  on.dwFlags = HCF_HIGHCONTRASTON;
  const bool set = SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(on), &on, 0) != FALSE;
  HIGHCONTRASTW now{};
  now.cbSize = sizeof(now);
  const bool read = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(now), &now, 0) != FALSE;
  if (!set || !read || (now.dwFlags & HCF_HIGHCONTRASTON) == 0)
    GTEST_SKIP() << "the system does not switch to a high-contrast scheme here (set " << set << ", read " << read
                 << ", flags " << now.dwFlags << "): Wine keeps no such setting";
  EXPECT_TRUE(win32::Win32ColorResolver().HighContrast());

  Form form(app, "Contrast");
  form.SetBounds(50, 50, 200, 100);
  Image picture(form, "Picture");
  picture.SetBounds(10, 10, 41, 25);
  ImageList frames(20, 23);
  frames.SetMasked(false);
  for (int f = 0; f < 3; ++f) frames.Add(Bitmap(20, 23, 0xFF102030u));
  theme::DBut button(picture, form, nullptr, frames);
  button.DrawFrame(theme::DBut::kFrameNormal);
  EXPECT_EQ(picture.Picture().ColorAt(1, 1), static_cast<Color>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(picture.Picture().ColorAt(0, 0), static_cast<Color>(GetSysColor(COLOR_BTNTEXT)));
}

}  // namespace
}  // namespace vm::ui::testing

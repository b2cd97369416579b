// The themed buttons on a real window with keys typed through the system's input queue: Tab
// brings the focus from an edit to each button's focus window in turn, the focused button shows
// its hot frame on the screen, and Space and Enter click it.

#include <memory>
#include <vector>

#include "win32/toolkit_support_win32.h"

#include "theme/dbut.h"

namespace vm::ui::testing {
namespace {

// Solid frames whose blue channel names the frame: 0 normal, 1 hot, 2 pressed.
constexpr int kBlue[3] = {0x30, 0x90, 0xF0};

class ButtonsForm : public Form {
 public:
  explicit ButtonsForm(Application& app) : Form(app, "ButtonsForm") {
    SetBounds(120, 120, 320, 160);
    SetCaption("Themed buttons");
    Name.SetBounds(8, 8, 120, 22);
    First.SetBounds(8, 50, 60, 25);
    Second.SetBounds(80, 50, 60, 25);
  }
  Edit Name{*this, "Name"};
  Image First{*this, "First"};
  Image Second{*this, "Second"};
};

class ThemedButtonKeysWin32Test : public Win32ToolkitTest {
 protected:
  void SetUp() override {
    frames.SetMasked(false);
    for (int blue : kBlue) frames.Add(Bitmap(20, 23, 0xFF000000u | static_cast<Pixel>(blue)));
    first = std::make_unique<theme::DBut>(form.First, form, nullptr, frames);
    second = std::make_unique<theme::DBut>(form.Second, form, nullptr, frames);
    for (theme::DBut* b : {first.get(), second.get()}) b->DrawFrame(theme::DBut::kFrameNormal);
    form.First.OnClick = [this](Control& c) { clicks.push_back(&c); };
    form.Second.OnClick = [this](Control& c) { clicks.push_back(&c); };
    form.Show();
    SetForegroundWindow(Hwnd(form));
    PumpFor(50);
    form.Name.SetFocus();
    PumpFor(20);
  }
  void TearDown() override {
    first.reset();
    second.reset();
  }
  static HWND Of(const Control& c) { return Win32Backend::WindowOf(c.Peer()); }
  // Presses and releases a key as the keyboard would; false when the system took no input.
  static bool Type(WORD vk) {
    INPUT keys[2]{};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = vk;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    const bool sent = SendInput(2, keys, sizeof(INPUT)) == 2;
    PumpFor(100);
    return sent;
  }
  // The blue channel on screen in the middle of an image.
  int BlueOnScreen(const Image& image) {
    RedrawWindow(Hwnd(form), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    const Point centre = image.ClientToScreen({image.Width() / 2, image.Height() / 2});
    const int dpi = Dpi(form);
    POINT at{ToDevice(centre.x, dpi), ToDevice(centre.y, dpi)};
    ScreenToClient(Hwnd(form), &at);
    HDC dc = GetDC(Hwnd(form));
    const COLORREF pixel = GetPixel(dc, at.x, at.y);
    ReleaseDC(Hwnd(form), dc);
    return GetBValue(pixel);
  }

  ButtonsForm form{app};
  ImageList frames{20, 23};
  std::unique_ptr<theme::DBut> first, second;
  std::vector<Control*> clicks;
};

TEST_F(ThemedButtonKeysWin32Test, TabReachesEachButtonAndSpaceAndEnterClickTheFocusedOne) {
  ASSERT_EQ(GetFocus(), Of(form.Name));
  if (GetForegroundWindow() != Hwnd(form))
    GTEST_SKIP() << "the test window is not the foreground window, so typed keys go elsewhere";
  ASSERT_TRUE(Type(VK_TAB));
  EXPECT_EQ(GetFocus(), Of(first->FocusWindow()));
  EXPECT_TRUE(first->Focused());
  EXPECT_EQ(BlueOnScreen(form.First), kBlue[theme::DBut::kFrameHot]);  // the focus shows as the hot frame
  EXPECT_EQ(BlueOnScreen(form.Second), kBlue[theme::DBut::kFrameNormal]);

  ASSERT_TRUE(Type(VK_SPACE));
  EXPECT_EQ(clicks, std::vector<Control*>{&form.First});

  ASSERT_TRUE(Type(VK_TAB));
  EXPECT_EQ(GetFocus(), Of(second->FocusWindow()));
  EXPECT_FALSE(first->Focused());
  EXPECT_EQ(BlueOnScreen(form.First), kBlue[theme::DBut::kFrameNormal]);
  EXPECT_EQ(BlueOnScreen(form.Second), kBlue[theme::DBut::kFrameHot]);

  ASSERT_TRUE(Type(VK_RETURN));
  EXPECT_EQ(clicks, (std::vector<Control*>{&form.First, &form.Second}));
  // Other keys do not click.
  ASSERT_TRUE(Type('A'));
  EXPECT_EQ(clicks.size(), 2u);
}

}  // namespace
}  // namespace vm::ui::testing

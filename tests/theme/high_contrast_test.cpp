// With a high-contrast scheme the themed buttons and the menus leave their pictures and fixed
// greys for the system colours: the button face with a text-coloured edge, the highlight when
// hot or pressed; the menu and highlight colours in the menus.

#include <gtest/gtest.h>

#include "theme/builtin_pictures.h"
#include "theme/dbut.h"
#include "theme/dgroup_buts.h"
#include "theme/menu_drawing.h"
#include "theme_fakes.h"
#include "ui/toolkit/headless/headless_backend.h"
#include "ui/toolkit/toolkit.h"

namespace vm::theme {
namespace {

class HighContrastTest : public ::testing::Test {
 protected:
  HighContrastTest() {
    frames.SetMasked(false);
    for (int f = 0; f < 3; ++f) frames.Add(fakes::CodedBitmap(20, 23, 10 + 40 * f));
    form.SetBounds(100, 100, 300, 200);
    image.SetBounds(10, 20, 41, 25);
    form.Show();
  }
  ui::Color At(int x, int y) const { return image.Picture().ColorAt(x, y); }
  ui::Color Rgb(ui::Color c) const { return ui::CurrentColorResolver().ToRgb(c); }

  ui::HeadlessBackend backend;
  ui::Application app{backend};
  ui::Form& form = app.CreateForm<ui::Form>("Form1");
  ui::Image image{form, "Pic"};
  ui::ImageList frames{20, 23};
};

TEST_F(HighContrastTest, AThemedButtonIsDrawnInTheSystemColoursForEachStateWithoutItsFrames) {
  backend.SetHighContrast(true);
  DGroupButs group({&image}, form, nullptr, frames);
  DBut& b = *group.Button(0);
  b.DrawFrame(DBut::kFrameNormal);
  EXPECT_EQ(At(0, 0), Rgb(ui::clBtnText));  // the edge
  EXPECT_EQ(At(1, 1), Rgb(ui::clBtnFace));
  EXPECT_EQ(At(20, 1), Rgb(ui::clBtnFace));  // no pixel of the frame picture
  b.DrawFrame(DBut::kFrameHot);
  EXPECT_EQ(At(0, 0), Rgb(ui::clHighlightText));
  EXPECT_EQ(At(1, 1), Rgb(ui::clHighlight));
  b.DrawFrame(DBut::kFramePressed);
  EXPECT_EQ(At(1, 1), Rgb(ui::clHighlightText));  // a double edge when pressed
  EXPECT_EQ(At(2, 2), Rgb(ui::clHighlight));
}

TEST_F(HighContrastTest, SwitchingTheSchemeRepaintsTheButtonsInTheStateTheyStandIn) {
  DGroupButs group({&image}, form, nullptr, frames);
  group.Button(0)->SetLatching(true);
  group.Press(0);
  EXPECT_EQ(image.Picture().PixelAt(1, 1) & 0xFF, 10u + 40u * 2u);  // the pressed frame's picture
  backend.SetHighContrast(true);
  group.Redraw();
  EXPECT_EQ(At(2, 2), Rgb(ui::clHighlight));
  backend.SetHighContrast(false);
  group.Redraw();
  EXPECT_EQ(image.Picture().PixelAt(1, 1) & 0xFF, 10u + 40u * 2u);
}

TEST_F(HighContrastTest, MenusUseTheMenuAndHighlightColoursOnly) {
  backend.SetHighContrast(true);
  ui::ImageList addList;
  FillBuiltinAddList(addList);
  const ui::Rect item{0, 40, 150, 62};
  const ui::Rect text{0, 40, 185, 62};
  ui::RecordingCanvas selected(ui::Size{260, 80});
  Options1DrawItem(MenuItemView{"Options", true, false, 0, -1}, selected, item, true, nullptr, &addList);
  EXPECT_TRUE(selected.HasFill(text, ui::clHighlight));
  EXPECT_TRUE(selected.HasFrame(text, ui::clHighlightText));
  ASSERT_NE(selected.FindText("Options"), nullptr);
  EXPECT_EQ(selected.FindText("Options")->color, ui::clHighlightText);
  ui::RecordingCanvas plain(ui::Size{260, 80});
  Options1DrawItem(MenuItemView{"Language", false, false, 0, -1}, plain, item, false, nullptr, &addList);
  EXPECT_TRUE(plain.HasFill({0, 40, 22, 62}, ui::clMenu));  // the icon column, no silver
  EXPECT_EQ(plain.FindText("Language")->color, ui::clGrayText);
}

}  // namespace
}  // namespace vm::theme

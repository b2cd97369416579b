// The owner-drawn menu items: highlight, colours, separators, the icon column and the check
// markers.

#include <gtest/gtest.h>

#include "theme/builtin_pictures.h"
#include "theme/menu_drawing.h"
#include "theme_fakes.h"
#include "ui/toolkit/headless/headless_backend.h"
#include "ui/toolkit/toolkit.h"

namespace vm::theme {
namespace {

using Kind = ui::DrawCall::Kind;

// An item 22 high; the default font's text is 11 high.
constexpr ui::Rect kRect{0, 40, 150, 62};
constexpr ui::Rect kTextRect{0, 40, 185, 62};  // 35 further right
constexpr ui::Point kTextAt{0 + 22 + 5, 40 + (22 - 11) / 2};

class MenuDrawingTest : public ::testing::Test {
 protected:
  MenuDrawingTest() {
    icons.SetBkColor(ui::clSilver);
    for (int i = 0; i < 4; ++i) icons.Add(fakes::CodedBitmap(16, 16, 50 + i));
    FillBuiltinAddList(addList);
  }
  ui::RecordingCanvas& Draw(const MenuItemView& item, bool selected, ui::Rect rect = kRect) {
    canvas = std::make_unique<ui::RecordingCanvas>(ui::Size{260, 80});
    Options1DrawItem(item, *canvas, rect, selected, &icons, &addList);
    return *canvas;
  }
  std::vector<const ui::DrawCall*> CallsOf(Kind kind) const {
    std::vector<const ui::DrawCall*> out;
    for (const ui::DrawCall& c : canvas->Calls())
      if (c.kind == kind) out.push_back(&c);
    return out;
  }

  ui::ImageList icons{16, 16};
  ui::ImageList addList;
  std::unique_ptr<ui::RecordingCanvas> canvas;
};

TEST_F(MenuDrawingTest, SelectedItemIsHighlightedFramedAndWrittenLight) {
  ui::RecordingCanvas& c = Draw({"Options", true, false, 0, 3}, true);
  EXPECT_TRUE(c.HasFill(kTextRect, ui::clMenuHighlight));
  EXPECT_TRUE(c.HasFrame(kTextRect, ui::clBlack));
  ASSERT_NE(c.FindText("Options"), nullptr);
  EXPECT_EQ(c.FindText("Options")->from, kTextAt);
  EXPECT_EQ(c.FindText("Options")->color, kSelectedTextColor);
  EXPECT_TRUE(c.FindText("Options")->transparentText);
  // The icon one pixel in and down, and no silver column.
  ASSERT_EQ(CallsOf(Kind::CopyRect).size(), 1u);
  EXPECT_EQ(CallsOf(Kind::CopyRect)[0]->rect, ui::Rect::FromXYWH(1, 41, 32, 22));
  EXPECT_FALSE(c.FillColorOf({0, 40, 22, 62}).has_value());
}

TEST_F(MenuDrawingTest, PlainAndDisabledItemsHaveTheSilverIconColumnAndMenuColours) {
  for (bool enabled : {true, false}) {
    SCOPED_TRACE(enabled);
    // A disabled item is never drawn as selected.
    ui::RecordingCanvas& c = Draw({"Set Time", enabled, false, 0, 3}, !enabled);
    EXPECT_TRUE(c.HasFill(kTextRect, ui::clMenu));
    EXPECT_TRUE(c.HasFill({0, 40, 22, 62}, kIconColumnColor));
    ASSERT_NE(c.FindText("Set Time"), nullptr);
    EXPECT_EQ(c.FindText("Set Time")->from, kTextAt);
    EXPECT_EQ(c.FindText("Set Time")->color, enabled ? ui::clMenuText : ui::clInactiveCaption);
    ASSERT_EQ(CallsOf(Kind::CopyRect).size(), 1u);
    EXPECT_EQ(CallsOf(Kind::CopyRect)[0]->rect, ui::Rect::FromXYWH(2, 40, 32, 22));
    // The 16 x 16 icon lands unscaled at the column's top.
    EXPECT_EQ(c.Surface().PixelAt(2 + 15, 40 + 15), icons.GetBitmap(3).PixelAt(15, 15));
  }
}

TEST_F(MenuDrawingTest, SeparatorIsAGreyAndAWhiteLineBesideASilverColumn) {
  ui::RecordingCanvas& c = Draw({"-", true, false, 0, -1}, false, {0, 40, 150, 49});
  EXPECT_TRUE(c.HasFill({0, 40, 185, 49}, ui::clMenu));
  EXPECT_TRUE(c.HasFill({0, 40, 19, 49}, ui::clSilver));
  EXPECT_TRUE(c.HasLine({1, 44}, {185, 44}, ui::MakeRgb(128, 128, 128)));
  EXPECT_TRUE(c.HasLine({0, 45}, {185, 45}, ui::clWhite));
  EXPECT_TRUE(c.Texts().empty());
}

TEST_F(MenuDrawingTest, TextOfAnItemLowerThanItsTextStartsOnePixelAbove) {
  // (8 - 11) / 2 truncates toward zero: one pixel above the item, not two.
  ui::RecordingCanvas& c = Draw({"Help", true, false, 0, -1}, false, {0, 40, 150, 48});
  ASSERT_NE(c.FindText("Help"), nullptr);
  EXPECT_EQ(c.FindText("Help")->from, (ui::Point{8 + 5, 39}));
  EXPECT_TRUE(CallsOf(Kind::CopyRect).empty());  // no icon
}

TEST_F(MenuDrawingTest, CheckedOrTaggedItemsGetTheirMarkerFromAddList) {
  struct Case { bool checked; std::int64_t tag; int picture; };
  const Case cases[] = {{true, 0, kPictureChecked}, {true, 5, kPictureChecked},
                        {false, 1, kPictureUnchecked}, {false, 0, -1}};
  for (const Case& k : cases) {
    SCOPED_TRACE(::testing::Message() << k.checked << " " << k.tag);
    ui::RecordingCanvas& c = Draw({"Autostart", true, k.checked, k.tag, -1}, false);
    const auto markers = CallsOf(Kind::TransparentBitmap);
    ASSERT_EQ(markers.size(), k.picture < 0 ? 0u : 1u);
    if (k.picture < 0) continue;
    const ui::Bitmap expected = addList.GetBitmap(k.picture);
    EXPECT_TRUE(markers[0]->bitmap.SamePixels(expected));
    EXPECT_EQ(markers[0]->rect, ui::Rect::FromXYWH(1, 41, 16, 16));
    EXPECT_EQ(markers[0]->color, expected.ColorAt(1, 1));
    // Around the marker the silver column stays; its middle is drawn.
    EXPECT_EQ(c.Surface().ColorAt(1 + 1, 41 + 1), ui::clSilver);
    EXPECT_NE(c.Surface().ColorAt(1 + 8, 41 + 8), ui::clSilver);
  }
}

TEST_F(MenuDrawingTest, APopupMenuDrawsItsItemsThroughTheHook) {
  ui::HeadlessBackend backend;
  ui::Application app{backend};
  ui::Form& form = app.CreateForm<ui::Form>("Form1");
  ui::PopupMenu menu{form, "OptMenu"};
  ui::MenuItem options{menu, "Options1", "Options"};
  ui::MenuItem ontop{menu, "OntopM", "Always on top"};
  ontop.SetChecked(true);
  menu.SetOwnerDraw(true);
  menu.OnDrawItem = MakeOptions1DrawItem(&icons, &addList);
  form.Show();
  menu.Popup(10, 10);
  ui::RecordingCanvas& selected = backend.DrawPopupItem(options, true);
  ASSERT_NE(selected.FindText("Options"), nullptr);
  EXPECT_EQ(selected.FindText("Options")->color, kSelectedTextColor);
  EXPECT_EQ(backend.DrawPopupItem(ontop, false).Count(Kind::TransparentBitmap), 1);
}

}  // namespace
}  // namespace vm::theme

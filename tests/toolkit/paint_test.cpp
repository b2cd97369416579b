// Painting: the form's paint cycle and its order, the graphic controls' drawing, auto-size
// labels from the fixed metrics, drawing outside the paint cycle, and the recording canvas.

#include <string>
#include <vector>

#include "toolkit_fixture.h"

namespace vm::ui::testing {
namespace {

Font Georgia(int height, bool bold) {
  Font f;
  f.name = "Georgia";
  f.height = height;
  f.bold = bold;
  f.color = clActiveCaption;
  return f;
}

class ClockFace : public Form {
 public:
  explicit ClockFace(Application& app) : Form(app, "Clock") {
    SetBorderStyle(BorderStyle::None);
    SetColor(clWindow);
    SetBounds(0, 0, 272, 55);
    TimeLabel.SetBounds(7, 5, 87, 30);
    TimeLabel.SetFont(Georgia(-25, true));
    TimeLabel.SetTransparent(true);
    TimeLabel.SetCaption("12:34");
    SecLabel.SetAutoSize(false);
    SecLabel.SetBounds(69, 5, 31, 23);
    SecLabel.SetFont(Georgia(-19, true));
    SecLabel.Hide();
    Box.SetBounds(150, 10, 20, 20);
  }
  Label TimeLabel{*this, "TimeLabel"};
  Label SecLabel{*this, "SecLabel"};
  PaintBox Box{*this, "Box"};
};

class PaintTest : public ToolkitTest {
 protected:
  void SetUp() override { face.Show(); }
  ClockFace face{app};
};

TEST_F(PaintTest, AutoSizeLabelTakesTheWidthOfItsCaptionInItsFont) {
  EXPECT_EQ(face.TimeLabel.Width(), FixedWidth(5, 25));
  EXPECT_EQ(face.TimeLabel.Height(), 25);
  face.TimeLabel.SetCaption("09:05");
  EXPECT_EQ(face.TimeLabel.Width(), FixedWidth(5, 25));
  face.TimeLabel.SetFont(Georgia(-30, true));
  EXPECT_EQ(face.TimeLabel.Width(), FixedWidth(5, 30));
  EXPECT_EQ(face.TimeLabel.Left(), 7);
}

TEST_F(PaintTest, AutoSizeDetailsEmptyCaptionRightAlignmentAndWordWrap) {
  Label empty(face, "Empty");
  EXPECT_EQ(empty.Height(), 11);  // one line of the default font
  Label right(face, "Right");
  right.SetAlignment(Alignment::Right);
  right.SetBounds(100, 0, 50, 11);
  right.SetCaption("abc");
  EXPECT_EQ(right.Left() + right.Width(), 150);  // the right edge stays
  EXPECT_EQ(right.Width(), FixedWidth(3, 11));
  Label wrapped(face, "Wrapped");
  wrapped.SetWordWrap(true);
  wrapped.SetBounds(0, 0, FixedWidth(9, 11), 11);
  wrapped.SetCaption("Show message now please");
  EXPECT_EQ(wrapped.Lines(), (std::vector<std::string>{"Show", "message", "now", "please"}));
  EXPECT_EQ(wrapped.Width(), FixedWidth(9, 11));
  EXPECT_EQ(wrapped.Height(), 4 * 11);
  Label fixed(face, "Fixed");
  fixed.SetAutoSize(false);
  fixed.SetBounds(10, 37, 167, 13);
  fixed.SetCaption("a much longer text than fits");
  EXPECT_EQ(fixed.Bounds(), Rect::FromXYWH(10, 37, 167, 13));
}

TEST_F(PaintTest, PaintFillsTheFormThenItsHandlerThenTheVisibleControls) {
  std::vector<std::string> order;
  face.OnPaint = [&](Control&, Canvas& c) {
    order.push_back("form");
    c.SetFont(Georgia(-40, false));  // must not leak into the controls' painting
  };
  face.Box.OnPaint = [&](Control&, Canvas& c) {
    order.push_back("box");
    c.FillRect({0, 0, 20, 20}, clRed);
  };
  RecordingCanvas& canvas = backend.PaintForm(face);
  EXPECT_EQ(order, (std::vector<std::string>{"form", "box"}));
  ASSERT_FALSE(canvas.Calls().empty());
  EXPECT_EQ(canvas.Calls().front().kind, DrawCall::Kind::FillRect);
  EXPECT_TRUE(canvas.HasFill({0, 0, 272, 55}, clWindow));
  EXPECT_TRUE(canvas.HasText("12:34", {7, 5}, Georgia(-25, true)));
  EXPECT_TRUE(canvas.HasFill({150, 10, 170, 30}, clRed));  // box's own 0,0 lands at its place
  EXPECT_EQ(canvas.Texts(), (std::vector<std::string>{"12:34"}));  // hidden SecLabel drew nothing
  EXPECT_EQ(canvas.FindText("12:34")->color, clActiveCaption);
  EXPECT_TRUE(canvas.FindText("12:34")->transparentText);
}

TEST_F(PaintTest, ControlDrawingIsClippedToTheControl) {
  face.Box.OnPaint = [](Control&, Canvas& c) { c.FillRect({-50, -50, 100, 100}, clRed); };
  RecordingCanvas& canvas = backend.PaintForm(face);
  const Color red = DefaultColorResolver().ToRgb(clRed);
  EXPECT_EQ(canvas.Surface().ColorAt(150, 10), red);
  EXPECT_EQ(canvas.Surface().ColorAt(169, 29), red);
  EXPECT_NE(canvas.Surface().ColorAt(170, 30), red);
  EXPECT_NE(canvas.Surface().ColorAt(149, 10), red);
}

TEST_F(PaintTest, OpaqueLabelFillsItsAreaWithTheParentsColour) {
  Label opaque(face, "Opaque");
  opaque.SetBounds(10, 37, 40, 13);
  opaque.SetAutoSize(false);
  opaque.SetCaption("00%");
  RecordingCanvas& canvas = backend.PaintForm(face);
  EXPECT_TRUE(canvas.HasFill({10, 37, 50, 50}, clWindow));
  opaque.SetColor(clYellow);
  EXPECT_TRUE(backend.PaintForm(face).HasFill({10, 37, 50, 50}, clYellow));
}

TEST_F(PaintTest, LabelAlignmentPlacesEachLine) {
  Label l(face, "L");
  l.SetAutoSize(false);
  l.SetBounds(0, 0, 100, 40);
  l.SetCaption("ab\ncdef");
  l.SetAlignment(Alignment::Right);
  RecordingCanvas& right = backend.PaintForm(face);
  EXPECT_TRUE(right.HasText("ab", {100 - FixedWidth(2, 11), 0}));
  EXPECT_TRUE(right.HasText("cdef", {100 - FixedWidth(4, 11), 11}));
  l.SetAlignment(Alignment::Center);
  l.SetLayout(TextLayout::Bottom);
  RecordingCanvas& centre = backend.PaintForm(face);
  EXPECT_TRUE(centre.HasText("cdef", {(100 - FixedWidth(4, 11)) / 2, 40 - 11}));
}

TEST_F(PaintTest, DisabledLabelIsEngraved) {
  face.TimeLabel.SetEnabled(false);
  RecordingCanvas& canvas = backend.PaintForm(face);
  ASSERT_EQ(canvas.Count(DrawCall::Kind::Text), 2);
  EXPECT_TRUE(canvas.HasText("12:34", {8, 6}));
  EXPECT_EQ(canvas.FindText("12:34")->color, clBtnShadow);  // the last one, on top
}

TEST_F(PaintTest, ImagePlacesItsPictureByStretchCentreAndTransparency) {
  Image img(face, "Img");
  img.SetBounds(0, 0, 40, 30);
  Bitmap pic(10, 10, ColorToPixel(clRed));
  pic.SetPixelAt(0, 9, ColorToPixel(clWhite));  // bottom-left: the transparent colour
  img.SetPicture(pic);
  EXPECT_EQ(img.PictureRect(), Rect::FromXYWH(0, 0, 10, 10));
  img.SetCenter(true);
  EXPECT_EQ(img.PictureRect(), Rect::FromXYWH(15, 10, 10, 10));
  img.SetStretch(true);
  EXPECT_EQ(img.PictureRect(), Rect::FromXYWH(0, 0, 40, 30));
  img.SetTransparent(true);
  RecordingCanvas& canvas = backend.PaintForm(face);
  ASSERT_EQ(canvas.Count(DrawCall::Kind::TransparentBitmap), 1);
  EXPECT_EQ(canvas.Calls().back().color, DefaultColorResolver().ToRgb(clWhite));
  img.SetAutoSize(true);
  EXPECT_EQ(img.Bounds(), Rect::FromXYWH(0, 0, 10, 10));
}

TEST_F(PaintTest, BevelAndShapeDrawTheirOutlines) {
  Bevel line(face, "Bevel3");
  line.SetShape(BevelShape::LeftLine);
  line.SetBounds(98, 0, 2, 30);
  Shape band(face, "Shape1");
  band.SetBounds(0, 0, 50, 22);
  band.SetBrushColor(clBtnFace);
  band.SetPenColor(clNone);
  RecordingCanvas& canvas = backend.PaintForm(face);
  EXPECT_TRUE(canvas.HasLine({98, 0}, {98, 30}, clBtnShadow));
  EXPECT_TRUE(canvas.HasLine({99, 0}, {99, 30}, clBtnHighlight));
  EXPECT_TRUE(canvas.HasFill({0, 0, 50, 22}, clBtnFace));
  EXPECT_EQ(canvas.Count(DrawCall::Kind::FrameRect), 0);  // no outline
}

TEST_F(PaintTest, PaintNowDrawsOnTheWindowAndARepaintCoversIt) {
  face.PaintNow([&](Canvas& c) {
    c.FillRect(face.SecLabel.Bounds(), clWindow);
    c.SetFont(face.SecLabel.GetFont());
    c.TextOut(face.SecLabel.Bounds().TopLeft(), "07");
  });
  const RecordingCanvas* surface = backend.Surface(face);
  ASSERT_NE(surface, nullptr);
  EXPECT_TRUE(surface->HasFill(Rect::FromXYWH(69, 5, 31, 23), clWindow));
  EXPECT_TRUE(surface->HasText("07", {69, 5}, Georgia(-19, true)));
  backend.PaintForm(face);
  EXPECT_EQ(backend.Surface(face), nullptr);
  face.Hide();
  face.PaintNow([](Canvas& c) { c.FillRect({0, 0, 1, 1}, clRed); });  // hidden: nothing
  EXPECT_EQ(backend.Surface(face), nullptr);
}

TEST_F(PaintTest, ChangesOfAShownControlAskForARepaint) {
  backend.PaintForm(face);
  face.TimeLabel.SetCaption("12:35");
  EXPECT_GT(backend.State(face)->invalidations, 0);
  backend.PaintForm(face);
  face.SecLabel.SetCaption("x");  // a hidden control's change still repaints its area
  face.SecLabel.SetLeft(80);
  EXPECT_GT(backend.State(face)->invalidations, 0);
}

TEST_F(PaintTest, ParentFontChangesReachChildrenThatUseIt) {
  Label child(face, "Child");
  child.SetCaption("abcd");
  Font big;
  big.height = -20;
  face.SetFont(big);
  EXPECT_EQ(child.GetFont().height, -20);
  EXPECT_EQ(child.Width(), FixedWidth(4, 20));  // re-measured
  EXPECT_EQ(face.TimeLabel.GetFont().height, -25);  // has its own font
}

TEST(RecordingCanvasTest, QueriesMatchExactCallsAndKeepTheOrigin) {
  RecordingCanvas canvas({50, 50});
  canvas.Save();
  canvas.Translate({10, 20});
  canvas.FillRect({0, 0, 5, 5}, clNavy);
  canvas.FrameRect({1, 1, 4, 4}, clBlack);
  canvas.SetTextColor(clRed);
  canvas.TextOut({2, 3}, "x");
  canvas.Restore();
  canvas.Line({0, 0}, {5, 0}, clGray);
  EXPECT_TRUE(canvas.HasFill({10, 20, 15, 25}, clNavy));
  EXPECT_FALSE(canvas.HasFill({0, 0, 5, 5}, clNavy));
  EXPECT_EQ(canvas.FillColorOf({10, 20, 15, 25}), clNavy);
  EXPECT_FALSE(canvas.FillColorOf({0, 0, 1, 1}).has_value());
  EXPECT_TRUE(canvas.HasFrame({11, 21, 14, 24}, clBlack));
  EXPECT_TRUE(canvas.HasText("x", {12, 23}));
  EXPECT_EQ(canvas.FindText("x")->color, clRed);
  EXPECT_EQ(canvas.FindText("y"), nullptr);
  EXPECT_TRUE(canvas.HasLine({0, 0}, {5, 0}, clGray));
  EXPECT_EQ(canvas.Count(DrawCall::Kind::Line), 1);
  // The calls were rendered too.
  EXPECT_EQ(canvas.GetPixel({10, 20}), DefaultColorResolver().ToRgb(clNavy));
  EXPECT_EQ(canvas.GetPixel({4, 0}), DefaultColorResolver().ToRgb(clGray));
  EXPECT_NE(canvas.GetPixel({5, 0}), DefaultColorResolver().ToRgb(clGray));
}

TEST(RecordingCanvasTest, ImageListFramesAreRecordedOnceWithTheirIndex) {
  ImageList list(4, 4);
  list.Add(Bitmap(8, 4, ColorToPixel(clLime)));
  RecordingCanvas canvas({10, 10});
  canvas.DrawImage({2, 3}, list, 1);
  canvas.DrawImage({0, 0}, list, 7);  // out of range: recorded, nothing rendered
  EXPECT_TRUE(canvas.HasImage(1, {2, 3}));
  EXPECT_EQ(canvas.Count(DrawCall::Kind::AlphaBitmap), 0);
  EXPECT_EQ(canvas.GetPixel({2, 3}), clLime);
  EXPECT_NE(canvas.GetPixel({0, 0}), clLime);
}

}  // namespace
}  // namespace vm::ui::testing

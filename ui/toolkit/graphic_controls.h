#pragma once
// Graphic controls: no native window, painted by their parent (label, image, shape, bevel,
// paint box). They receive mouse input through their form.

#include <cstdint>
#include <string>
#include <vector>

#include "ui/toolkit/bitmap.h"
#include "ui/toolkit/control.h"

namespace vm::ui {

enum class Alignment : std::uint8_t { Left, Right, Center };
enum class TextLayout : std::uint8_t { Top, Center, Bottom };

class Label : public Control {
 public:
  Label(Control& parent, const char* name);

  // A transparent label paints only its text; otherwise its colour fills its area first.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  // An auto-size label takes the size its caption needs in its font (measured through the
  // backend's text metrics); a right-aligned one keeps its right edge. With word wrap only the
  // height follows the text.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);
  Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment alignment);
  TextLayout Layout() const { return layout_; }
  void SetLayout(TextLayout layout);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wordWrap);

  // The lines the caption is drawn in, and the size they need.
  std::vector<std::string> Lines() const;
  Size TextSize() const;

  void Paint(Canvas& canvas) override;

 protected:
  // Static text; a link when the user clicks it (a click handler and the hand cursor).
  void DescribeAccessible(AccessInfo& info) const override;
  void FontChanged() override;
  void CaptionChanged() override;
  void BoundsChanged(const Rect& oldBounds) override;

 private:
  void AdjustSize();
  int MeasureWidth(std::string_view text) const;
  int LineHeight() const;

  bool transparent_ = false;
  bool autoSize_ = true;
  bool adjusting_ = false;
  Alignment alignment_ = Alignment::Left;
  TextLayout layout_ = TextLayout::Top;
  bool wordWrap_ = false;
};

class Image : public Control {
 public:
  Image(Control& parent, const char* name);

  const Bitmap& Picture() const { return picture_; }
  void SetPicture(const Bitmap& picture);
  void SetPicture(Bitmap&& picture);
  // Draw into the picture through this, then call Invalidate() to show the change.
  Bitmap& MutablePicture() { return picture_; }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool stretch);
  // Pixels of the picture's transparent colour (its bottom-left pixel unless set) are left out.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  bool Center() const { return center_; }
  void SetCenter(bool center);
  // Takes the picture's size whenever the picture changes.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);

  // Where the picture lands in the control.
  Rect PictureRect() const;
  void Paint(Canvas& canvas) override;

 protected:
  // A push button when the user clicks it, else a picture named by its hint (none: decoration).
  void DescribeAccessible(AccessInfo& info) const override;

 private:
  void PictureChanged();

  Bitmap picture_;
  bool stretch_ = false;
  bool transparent_ = false;
  bool center_ = false;
  bool autoSize_ = false;
};

// A filled rectangle with an outline; clNone as pen colour draws no outline.
class Shape : public Control {
 public:
  Shape(Control& parent, const char* name);
  Color BrushColor() const { return brushColor_; }
  void SetBrushColor(Color color);
  Color PenColor() const { return penColor_; }
  void SetPenColor(Color color);
  void Paint(Canvas& canvas) override;

 private:
  Color brushColor_ = clWhite;
  Color penColor_ = clBlack;
};

enum class BevelShape : std::uint8_t { Box, Frame, TopLine, BottomLine, LeftLine, RightLine, Spacer };
enum class BevelStyle : std::uint8_t { Lowered, Raised };

// A sunken or raised frame or line in the button shadow and highlight colours.
class Bevel : public Control {
 public:
  Bevel(Control& parent, const char* name);
  BevelShape GetShape() const { return shape_; }
  void SetShape(BevelShape shape);
  BevelStyle GetStyle() const { return style_; }
  void SetStyle(BevelStyle style);
  void Paint(Canvas& canvas) override;

 private:
  BevelShape shape_ = BevelShape::Box;
  BevelStyle style_ = BevelStyle::Lowered;
};

// An area painted by its OnPaint handler.
class PaintBox : public Control {
 public:
  PaintBox(Control& parent, const char* name);
  PaintEvent OnPaint;
  void Paint(Canvas& canvas) override;
};

}  // namespace vm::ui

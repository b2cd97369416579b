#pragma once
// Icons and image lists: pictures of equal size kept as 32-bit pixels. A masked list keeps the
// transparency of what was added (alpha 0 where the picture is see-through); an unmasked list
// draws its frames opaque.

#include <optional>
#include <vector>

#include "draw/bitmap.h"
#include "draw/color.h"

namespace vm::ui {

class Canvas;

// An icon: pixels with alpha (0 = transparent).
class Icon {
 public:
  Icon() = default;
  explicit Icon(Bitmap image) : image_(std::move(image)) {}
  // A bitmap whose pixels of colour `key` become transparent; without a key the bitmap's own
  // alpha is kept.
  static Icon FromBitmap(const Bitmap& bitmap, std::optional<Color> key);
  const Bitmap& Image() const { return image_; }
  int Width() const { return image_.Width(); }
  int Height() const { return image_.Height(); }
  bool IsEmpty() const { return image_.IsEmpty(); }

 private:
  Bitmap image_;
};

class ImageList {
 public:
  ImageList(int width = 16, int height = 16);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Changing the size empties the list (its frames no longer fit).
  void SetSize(int width, int height);
  bool Masked() const { return masked_; }
  void SetMasked(bool masked) { masked_ = masked; }
  // The colour behind the pictures when a frame is taken out with GetBitmap; clNone: none.
  Color BkColor() const { return bkColor_; }
  void SetBkColor(Color color) { bkColor_ = color; }
  int Count() const { return static_cast<int>(frames_.size()); }

  // Adds a picture or a strip of pictures: a bitmap wider than the list is cut into frames of
  // the list's width (a last partial frame is dropped); a smaller picture is placed top-left on
  // a transparent frame. Returns the index of the first frame added, -1 if none was.
  int Add(const Bitmap& image);
  // As Add, with the pixels of colour `maskColor` made transparent (masked lists only).
  int AddMasked(const Bitmap& image, Color maskColor);
  // Adds an icon as one frame (scaled to the list size when it differs); an empty icon adds an
  // empty (transparent) frame so that the numbering of later icons stays.
  int AddIcon(const Icon& icon);
  void Delete(int index);
  void Clear() { frames_.clear(); }

  // The frame's pixels (alpha 0 where transparent); nullptr for an index out of range.
  const Bitmap* Frame(int index) const;
  // The frame composed on the background colour (black for clNone), as a picture of the
  // list's size. An index out of range gives the empty background.
  Bitmap GetBitmap(int index) const;
  // The frame as an icon.
  Icon GetIcon(int index) const;
  // Draws the frame at `at`; out of range draws nothing.
  void Draw(Canvas& canvas, Point at, int index) const;

 private:
  int AddFrames(const Bitmap& image, std::optional<Color> maskColor);

  int width_;
  int height_;
  bool masked_ = true;
  Color bkColor_ = clNone;
  std::vector<Bitmap> frames_;
};

}  // namespace vm::ui

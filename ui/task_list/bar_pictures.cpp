#include "ui/task_list/bar_pictures.h"

#include "theme/soft_raster.h"

namespace vm {

namespace raster = theme::raster;

namespace {

constexpr ui::Pixel kKey = 0xFFFF00FFu;  // magenta: left out when drawn
constexpr ui::Pixel kClear = 0x00000000u;

// The shapes are painted on a clear bitmap, so their smoothed edges are part-transparent pixels
// of their own colour, never a mix with the key colour. Those pixels become solid where the
// shape covers at least half of them and the key where it covers less: images and image lists
// leave out exactly the key colour, and no tinted fringe is left at the rounded edges.
void KeyOutEdges(ui::Bitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const ui::Pixel p = b.PixelAt(x, y);
      b.SetPixelAt(x, y, (p >> 24) >= 0x80 ? (p | 0xFF000000u) : kKey);
    }
}

struct ButtonLook {
  raster::Rgb face;
  raster::Rgb arrow;
  bool up;  // arrows pointing up: the box is open and the button closes it
};

ui::Bitmap PaintButton(const ButtonLook& look) {
  ui::Bitmap b(kBarButtonSize, kBarButtonSize, kClear);
  raster::FillShape(b, [](double x, double y) { return raster::CircleDistance(x, y, 10.5, 10.5, 9.5); },
                    raster::Hex(0xFFFFFF));
  raster::FillShape(b, [](double x, double y) { return raster::CircleDistance(x, y, 10.5, 10.5, 8.5); },
                    look.face);
  // Two chevrons, one above the other.
  for (double offset : {-2.5, 2.5}) {
    const double cy = 10.5 + offset;
    const double tip = look.up ? cy - 2 : cy + 2;
    const double base = look.up ? cy + 2 : cy - 2;
    raster::FillShape(b, [=](double x, double y) {
      const double left = raster::SegmentDistance(x, y, 7, base, 10.5, tip, 1.6);
      const double right = raster::SegmentDistance(x, y, 10.5, tip, 14, base, 1.6);
      return left < right ? left : right;
    }, look.arrow);
  }
  KeyOutEdges(b);
  return b;
}

}  // namespace

ui::Bitmap BuiltinBarPicture() {
  ui::Bitmap b(kBarWidth, kBarHeight, kClear);
  const raster::Rgb left = raster::Hex(0xFFFFFF);
  const raster::Rgb right = raster::Hex(0xC6D3F7);
  raster::FillShape(b, [](double x, double y) {
    return raster::RoundRectDistance(x, y, 0, 0, kBarWidth, kBarHeight + 6, 6);
  }, [=](int x, int) { return raster::Mix(left, right, static_cast<double>(x) / (kBarWidth - 1)); });
  KeyOutEdges(b);
  b.SetPixelAt(0, 0, kKey);
  // Images leave out the colour of their bottom-left pixel.
  b.SetPixelAt(0, kBarHeight - 1, kKey);
  return b;
}

void FillBuiltinBarButtons(ui::ImageList& list) {
  list.Clear();
  list.SetSize(kBarButtonSize, kBarButtonSize);
  const raster::Rgb face = raster::Hex(0xE8EEFC), hot = raster::Hex(0xF6F9FF), pressed = raster::Hex(0xC0CDF0);
  const raster::Rgb arrow = raster::Hex(0x215DC6), hotArrow = raster::Hex(0x428EFF);
  const ButtonLook looks[kBarButtonPictures] = {
      {face, arrow, true},       {face, arrow, true},    {face, arrow, false},  {face, arrow, false},
      {hot, hotArrow, true},     {pressed, arrow, true}, {pressed, arrow, false}, {hot, hotArrow, false},
  };
  for (const ButtonLook& look : looks) list.AddMasked(PaintButton(look), ui::PixelToColor(kKey));
}

}  // namespace vm

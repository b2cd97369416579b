#include "theme/builtin_pictures.h"

#include <algorithm>
#include <vector>

#include "theme/soft_raster.h"

namespace vm::theme {

namespace {

using raster::Blend;
using raster::Coverage;
using raster::FillShape;
using raster::Hex;
using raster::Mix;
using raster::Rgb;

constexpr ui::Pixel kClear = 0x00000000u;
constexpr Rgb kWhite = Hex(0xFFFFFF);

// How one button frame looks: a 1-pixel rounded border around a soft vertical gradient.
struct FrameLook {
  Rgb border;
  Rgb top;
  Rgb bottom;
  double highlight = 0;    // a light line along the inside of the top edge
  double shade = 0;        // the bottom edge darkened a little, so the button stands out
  double inset = 0;        // a shadow inside the top edge: the button is pushed in
  Rgb inner;               // a ring just inside the border (focused, default)
  double innerAmount = 0;
};

ui::Bitmap PaintFrame(int w, int h, double radius, const FrameLook& look) {
  ui::Bitmap frame(w, h, kClear);
  const auto outer = [=](double x, double y) {
    return raster::RoundRectDistance(x, y, 0, 0, w, h, radius);
  };
  const auto inner = [=](double x, double y) {
    return raster::RoundRectDistance(x, y, 1, 1, w - 1, h - 1, radius - 1);
  };
  for (int y = 0; y < h; ++y) {
    const Rgb fill = Mix(look.top, look.bottom, (y + 0.5 - 1) / (h - 2));
    for (int x = 0; x < w; ++x) {
      const double co = Coverage(outer(x + 0.5, y + 0.5));
      if (co <= 0) continue;
      const double ci = Coverage(inner(x + 0.5, y + 0.5));
      Blend(frame, x, y, Mix(look.border, fill, ci / co), co);
    }
  }
  if (look.innerAmount > 0) {
    // The ring between the border and a rectangle one pixel further in.
    FillShape(frame, [=](double x, double y) {
      const double ring = raster::RoundRectDistance(x, y, 2, 2, w - 2, h - 2, radius - 2);
      return std::max(inner(x, y), -ring);
    }, look.inner, look.innerAmount);
  }
  for (int x = 2; x < w - 2; ++x) {
    if (look.highlight > 0) Blend(frame, x, 1, kWhite, look.highlight);
    if (look.inset > 0) {
      Blend(frame, x, 1, look.border, look.inset);
      Blend(frame, x, 2, look.border, look.inset / 2.5);
    }
    if (look.shade > 0) Blend(frame, x, h - 2, look.border, look.shade);
  }
  return frame;
}

void FillList(ui::ImageList& list, int w, int h, double radius, const std::vector<FrameLook>& looks) {
  list.Clear();
  list.SetSize(w, h);
  list.SetMasked(true);
  list.SetBkColor(ui::clNone);
  for (const FrameLook& look : looks) list.Add(PaintFrame(w, h, radius, look));
}

FrameLook Look(std::uint32_t border, std::uint32_t top, std::uint32_t bottom, double highlight,
               double shade) {
  FrameLook look;
  look.border = Hex(border);
  look.top = Hex(top);
  look.bottom = Hex(bottom);
  look.highlight = highlight;
  look.shade = shade;
  return look;
}

FrameLook Pressed(std::uint32_t border, std::uint32_t top, std::uint32_t bottom) {
  FrameLook look = Look(border, top, bottom, 0, 0);
  look.inset = 0.35;
  return look;
}

FrameLook WithRing(FrameLook look, std::uint32_t border, std::uint32_t ring, double amount) {
  look.border = Hex(border);
  look.inner = Hex(ring);
  look.innerAmount = amount;
  return look;
}

// ---- AddList pictures ----

ui::Bitmap Blank() { return ui::Bitmap(kAddListSize, kAddListSize, kClear); }

// A rounded box with a border and a vertical gradient inside, in the middle of the picture.
void Box(ui::Bitmap& b, double l, double t, double r, double bottom, double radius, Rgb border,
         Rgb top, Rgb low) {
  FillShape(b, [=](double x, double y) { return raster::RoundRectDistance(x, y, l, t, r, bottom, radius); },
            border);
  FillShape(b, [=](double x, double y) {
    return raster::RoundRectDistance(x, y, l + 1, t + 1, r - 1, bottom - 1, radius - 0.8);
  }, [=](int, int y) { return Mix(top, low, (y + 0.5 - t) / (bottom - t)); });
}

void Stroke(ui::Bitmap& b, double ax, double ay, double bx, double by, double width, Rgb color) {
  FillShape(b, [=](double x, double y) { return raster::SegmentDistance(x, y, ax, ay, bx, by, width); },
            color);
}

void Triangle(ui::Bitmap& b, double ax, double ay, double bx, double by, double cx, double cy,
              Rgb color) {
  FillShape(b, [=](double x, double y) { return raster::TriangleDistance(x, y, ax, ay, bx, by, cx, cy); },
            color);
}

ui::Bitmap CheckBox(bool mark, bool dash) {
  ui::Bitmap b = Blank();
  if (mark) {
    Box(b, 2, 2, 14, 14, 2.5, Hex(0x2F8A3E), Hex(0x62C472), Hex(0x379A48));
    Stroke(b, 4.6, 8.3, 7.0, 10.7, 1.9, kWhite);
    Stroke(b, 7.0, 10.7, 11.5, 5.4, 1.9, kWhite);
  } else {
    Box(b, 2, 2, 14, 14, 2.5, Hex(0x8E9BAA), Hex(0xFFFFFF), Hex(0xE9EDF2));
    if (dash) Stroke(b, 5.5, 8, 10.5, 8, 2, Hex(0x5F6B78));
  }
  return b;
}

ui::Bitmap Cross() {
  ui::Bitmap b = Blank();
  Box(b, 2, 2, 14, 14, 2.5, Hex(0xAA3434), Hex(0xEA6C66), Hex(0xC7413C));
  Stroke(b, 5.3, 5.3, 10.7, 10.7, 1.8, kWhite);
  Stroke(b, 10.7, 5.3, 5.3, 10.7, 1.8, kWhite);
  return b;
}

ui::Bitmap Play() {
  ui::Bitmap b = Blank();
  Triangle(b, 4, 2.5, 4, 13.5, 13.5, 8, Hex(0x2A7F39));
  FillShape(b, [](double x, double y) { return raster::TriangleDistance(x, y, 4, 2.5, 4, 13.5, 13.5, 8) + 1.1; },
            [](int, int y) { return Mix(Hex(0x6CCB7B), Hex(0x339447), (y - 3) / 10.0); });
  return b;
}

ui::Bitmap Stop() {
  ui::Bitmap b = Blank();
  Box(b, 3, 3, 13, 13, 2, Hex(0xA53030), Hex(0xEB6A63), Hex(0xC53C37));
  return b;
}

ui::Bitmap Pause() {
  ui::Bitmap b = Blank();
  Box(b, 3.5, 2.5, 7, 13.5, 1.3, Hex(0x3B5F86), Hex(0x7FA3CB), Hex(0x4B7099));
  Box(b, 9, 2.5, 12.5, 13.5, 1.3, Hex(0x3B5F86), Hex(0x7FA3CB), Hex(0x4B7099));
  return b;
}

ui::Bitmap ClockFace() {
  ui::Bitmap b = Blank();
  FillShape(b, [](double x, double y) { return raster::CircleDistance(x, y, 8, 8, 6.5); }, Hex(0x566779));
  FillShape(b, [](double x, double y) { return raster::CircleDistance(x, y, 8, 8, 5.4); },
            [](int, int y) { return Mix(Hex(0xFFFFFF), Hex(0xE6EBF1), (y - 2) / 12.0); });
  Stroke(b, 8, 8.2, 8, 4.3, 1.4, Hex(0x34475B));
  Stroke(b, 8, 8.2, 10.9, 9.6, 1.4, Hex(0x34475B));
  return b;
}

ui::Bitmap SortArrow(bool down) {
  ui::Bitmap b = Blank();
  if (down) Triangle(b, 3.5, 8, 12.5, 8, 8, 13, Hex(0x5E6A77));
  else Triangle(b, 3.5, 13, 12.5, 13, 8, 8, Hex(0x5E6A77));
  return b;
}

// ---- bands ----

ui::Bitmap Band(int w, int h, std::uint32_t top, std::uint32_t bottom, std::uint32_t edge) {
  ui::Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Blend(b, x, y, Mix(Hex(top), Hex(bottom), (y + 0.5) / h), 1);
  for (int x = 0; x < w; ++x) {
    Blend(b, x, 0, kWhite, 0.9);             // a light top edge
    Blend(b, x, h - 1, Hex(edge), 1);        // a fine line where the band ends
    Blend(b, x, h - 2, Hex(edge), 0.25);
  }
  return b;
}

}  // namespace

void FillBuiltinImL1(ui::ImageList& list) {
  const FrameLook normal = Look(0xA7B2BF, 0xFDFEFF, 0xE4E9EF, 0.8, 0.25);
  FillList(list, kButtonFrameWidth, kButtonFrameHeight, 3,
           {normal,
            Look(0x7EAEE0, 0xFFFFFF, 0xDAEBFC, 1.0, 0.2),
            Pressed(0x5C89B8, 0xC0D6EE, 0xD9E8F7),
            Look(0xCDD2D8, 0xF7F8F9, 0xEEF0F2, 0.5, 0),
            WithRing(normal, 0x4A90D9, 0x4A90D9, 0.35),
            WithRing(normal, 0x6D8FB5, 0xA9CBEE, 0.8)});
}

void FillBuiltinImL3(ui::ImageList& list) {
  const FrameLook normal = Look(0x95A5B8, 0xF7FAFD, 0xD9E2EC, 0.8, 0.3);
  FillList(list, kButtonFrameWidth, kButtonFrameHeight, 3,
           {normal,
            Look(0x6FA0D6, 0xFFFFFF, 0xD2E6FA, 1.0, 0.25),
            Pressed(0x4D78A6, 0xB2CCE8, 0xCFE0F3),
            Look(0xCDD2D8, 0xF7F8F9, 0xEEF0F2, 0.5, 0),
            WithRing(normal, 0x4A90D9, 0x4A90D9, 0.35),
            WithRing(normal, 0x5F82AA, 0xA9CBEE, 0.8)});
}

void FillBuiltinImL2(ui::ImageList& list) {
  FillList(list, kCaptionFrameSize, kCaptionFrameSize, 3,
           {Look(0xB3BDC8, 0xFAFBFD, 0xE6EAF0, 0.8, 0.2),
            Look(0x86B2E0, 0xFFFFFF, 0xDDEDFC, 1.0, 0.15),
            Pressed(0x628DBA, 0xC6DAF0, 0xDCE9F7),
            Look(0xD0D5DA, 0xF6F7F8, 0xEFF1F3, 0.5, 0)});
}

void FillBuiltinAddList(ui::ImageList& list) {
  list.Clear();
  list.SetSize(kAddListSize, kAddListSize);
  list.SetMasked(true);
  list.SetBkColor(ui::clBtnFace);
  const ui::Bitmap pictures[kAddListCount] = {
      CheckBox(false, false), CheckBox(false, true), CheckBox(true, false), Cross(), Play(),
      Stop(), Pause(), ClockFace(), SortArrow(true), SortArrow(false)};
  for (const ui::Bitmap& picture : pictures) list.Add(picture);
}

ui::Bitmap BuiltinClockBackground() { return Band(262, 30, 0xF3F6F9, 0xDAE1E9, 0xBFC9D4); }

ui::Bitmap BuiltinToolbarBackground() { return Band(535, 49, 0xFBFCFD, 0xE7ECF1, 0xC6CFD9); }

}  // namespace vm::theme

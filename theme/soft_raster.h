#pragma once
// A few anti-aliased shapes for the built-in pictures: shapes are given by their signed
// distance (negative inside), and a pixel is covered by the part of it that lies inside.

#include <cstdint>
#include <functional>

#include "ui/toolkit/bitmap.h"

namespace vm::theme::raster {

struct Rgb {
  double r = 0, g = 0, b = 0;
};

// 0xRRGGBB as written in a colour picker.
constexpr Rgb Hex(std::uint32_t rrggbb) {
  return {static_cast<double>((rrggbb >> 16) & 0xFF), static_cast<double>((rrggbb >> 8) & 0xFF),
          static_cast<double>(rrggbb & 0xFF)};
}
Rgb Mix(Rgb a, Rgb b, double t);

// Signed distances from the point (x, y).
double RoundRectDistance(double x, double y, double left, double top, double right, double bottom,
                         double radius);
double CircleDistance(double x, double y, double cx, double cy, double radius);
// A stroke of width `width` along the segment from (ax, ay) to (bx, by), round ends.
double SegmentDistance(double x, double y, double ax, double ay, double bx, double by, double width);
// A triangle (any winding).
double TriangleDistance(double x, double y, double ax, double ay, double bx, double by, double cx,
                        double cy);

// How much of a pixel whose centre lies `distance` from a shape's edge the shape covers.
double Coverage(double distance);

// Paints `color` over the pixel with opacity `amount` (0..1), keeping straight alpha.
void Blend(ui::Bitmap& bitmap, int x, int y, Rgb color, double amount);

using DistanceFn = std::function<double(double x, double y)>;
using PaintFn = std::function<Rgb(int x, int y)>;
// Paints the shape: every pixel it covers gets `paint` with its coverage times `opacity`.
void FillShape(ui::Bitmap& bitmap, const DistanceFn& shape, const PaintFn& paint,
               double opacity = 1.0);
void FillShape(ui::Bitmap& bitmap, const DistanceFn& shape, Rgb color, double opacity = 1.0);

}  // namespace vm::theme::raster

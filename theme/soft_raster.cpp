#include "theme/soft_raster.h"

#include <algorithm>
#include <cmath>

namespace vm::theme::raster {

Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double RoundRectDistance(double x, double y, double left, double top, double right, double bottom,
                         double radius) {
  const double cx = (left + right) / 2, cy = (top + bottom) / 2;
  const double hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
  const double qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
  const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
  return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

double CircleDistance(double x, double y, double cx, double cy, double radius) {
  return std::hypot(x - cx, y - cy) - radius;
}

double SegmentDistance(double x, double y, double ax, double ay, double bx, double by, double width) {
  const double dx = bx - ax, dy = by - ay;
  const double length2 = dx * dx + dy * dy;
  const double t = length2 > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / length2, 0.0, 1.0) : 0.0;
  return std::hypot(x - (ax + t * dx), y - (ay + t * dy)) - width / 2;
}

double TriangleDistance(double x, double y, double ax, double ay, double bx, double by, double cx,
                        double cy) {
  // The largest signed distance to the three edge lines: exact along the edges, which is all
  // the anti-aliasing needs.
  const double area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
  const double sign = area < 0 ? -1.0 : 1.0;
  const auto edge = [&](double px, double py, double qx, double qy) {
    const double ex = qx - px, ey = qy - py;
    const double len = std::hypot(ex, ey);
    if (len == 0) return -1e9;
    return -sign * (ex * (y - py) - ey * (x - px)) / len;
  };
  return std::max({edge(ax, ay, bx, by), edge(bx, by, cx, cy), edge(cx, cy, ax, ay)});
}

double Coverage(double distance) { return std::clamp(0.5 - distance, 0.0, 1.0); }

void Blend(ui::Bitmap& bitmap, int x, int y, Rgb color, double amount) {
  amount = std::clamp(amount, 0.0, 1.0);
  if (amount <= 0 || x < 0 || y < 0 || x >= bitmap.Width() || y >= bitmap.Height()) return;
  const ui::Pixel d = bitmap.PixelAt(x, y);
  const double da = ((d >> 24) & 0xFF) / 255.0;
  const double outA = amount + da * (1 - amount);
  const auto channel = [&](double src, int shift) {
    const double dst = static_cast<double>((d >> shift) & 0xFF);
    const double v = outA > 0 ? (src * amount + dst * da * (1 - amount)) / outA : 0.0;
    return static_cast<ui::Pixel>(std::clamp(std::lround(v), 0L, 255L)) << shift;
  };
  const auto alpha = static_cast<ui::Pixel>(std::clamp(std::lround(outA * 255), 0L, 255L));
  bitmap.SetPixelAt(x, y, (alpha << 24) | channel(color.r, 16) | channel(color.g, 8) | channel(color.b, 0));
}

void FillShape(ui::Bitmap& bitmap, const DistanceFn& shape, const PaintFn& paint, double opacity) {
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      const double c = Coverage(shape(x + 0.5, y + 0.5));
      if (c > 0) Blend(bitmap, x, y, paint(x, y), c * opacity);
    }
}

void FillShape(ui::Bitmap& bitmap, const DistanceFn& shape, Rgb color, double opacity) {
  FillShape(bitmap, shape, [color](int, int) { return color; }, opacity);
}

}  // namespace vm::theme::raster

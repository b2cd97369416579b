#pragma once
// Points, sizes and rectangles in design pixels (96 DPI). Rectangles are half-open: `right` and
// `bottom` lie just outside, as in the system's own rectangles, so Width() is right - left.

#include <algorithm>

namespace vm::ui {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
  Point operator+(Point o) const { return {x + o.x, y + o.y}; }
  Point operator-(Point o) const { return {x - o.x, y - o.y}; }
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  static Rect FromXYWH(int x, int y, int width, int height) {
    return {x, y, x + width, y + height};
  }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  Point TopLeft() const { return {left, top}; }
  Size GetSize() const { return {Width(), Height()}; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  Rect Offset(Point d) const { return Offset(d.x, d.y); }
  Rect Inflate(int dx, int dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }
  // The common part; an empty rectangle (all zero) when they do not overlap.
  Rect Intersect(const Rect& o) const {
    Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
           std::min(bottom, o.bottom)};
    return r.IsEmpty() ? Rect{} : r;
  }
  bool Intersects(const Rect& o) const { return !Intersect(o).IsEmpty(); }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace vm::ui

#pragma once
// A view's frame: its position in its parent's coordinates and its size, in points.
namespace tmr {

struct Frame {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;

  double right() const { return left + width; }
  double bottom() const { return top + height; }
  double centerX() const { return left + width / 2; }
  double centerY() const { return top + height / 2; }
  // Whether the point lies inside; the right and bottom edges are outside.
  bool contains(double x, double y) const { return x >= left && y >= top && x < right() && y < bottom(); }
  friend bool operator==(const Frame&, const Frame&) = default;
};

}  // namespace tmr

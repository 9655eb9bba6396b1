#pragma once
// An outline filled on a Cairo context, given in device pixels at any distance and size. Cairo
// holds device coordinates in fixed point, which reaches about eight million pixels either way
// and wraps beyond (a shape out there fills pixels it does not cover). So the outline's curves
// are flattened and each of its contours is clipped to a window in double precision first: Cairo
// is given only what lies in the window, and fills there what the whole outline fills.
#include <cstddef>
#include <initializer_list>
#include <vector>

typedef struct _cairo cairo_t;

namespace tmr {

class ClippedOutline {
 public:
  // An outline to be filled within the window from (left, top) to (right, bottom), in device
  // pixels; the window must lie within the reach of Cairo's fixed point.
  ClippedOutline(double left, double top, double right, double bottom);

  // Contours as a Cairo path gives them; a point that is not a finite number spoils the outline,
  // which then fills nothing.
  void moveTo(double x, double y);
  void lineTo(double x, double y);
  void curveTo(double x1, double y1, double x2, double y2, double x3, double y3);
  void close();

  // Fills what the outline encloses (non-zero winding) with cr's source, within cr's clip.
  void fill(cairo_t* cr) const;

 private:
  struct Point {
    double x, y;
  };
  void flatten(Point p0, Point p1, Point p2, Point p3, int depth);
  bool usable(std::initializer_list<double> values);
  std::vector<Point> clipped(std::vector<Point> contour) const;

  double left_, top_, right_, bottom_;
  std::vector<std::vector<Point>> contours_;
  size_t pieces_ = 0;  // curve pieces flattened so far, against a budget
  bool spoiled_ = false;
};

}  // namespace tmr

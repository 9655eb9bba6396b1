#pragma once
// The runtime's path: an outline made of straight segments and circular arcs, in points, that a
// canvas fills, strokes or clips to. Copies of the handle share the path; a path that was created
// but not initialised fails on use with "Object not initialized (Path)".
//
// Angles are in degrees with 0 at 3 o'clock and positive clockwise on the screen (y grows
// downwards).
#include <memory>
#include <vector>

#include "platform/graphics/Rect.h"

namespace tmr {

class Path {
 public:
  // One step of the outline. An arc runs from startDeg over sweepDeg around (x, y) with radius r,
  // joined to the point before it by a straight line.
  struct Segment {
    enum class Kind { MoveTo, LineTo, Arc, Close } kind;
    double x = 0, y = 0;
    double r = 0, startDeg = 0, sweepDeg = 0;
  };

  Path() = default;

  bool IsInitialized() const { return d_ != nullptr; }
  // Starts a new path at (x, y).
  void Initialize(double x, double y);
  // A straight line from the last point to (x, y).
  void LineTo(double x, double y) const;
  // A pie-shaped path: from the centre to the arc's start, along the arc over sweepDeg (negative:
  // counter-clockwise) and back to the centre. A sweep of 360 or more in either direction is the
  // whole disc; a sweep of 0 or a radius of 0 or less encloses nothing.
  void InitializeArc(double cx, double cy, double radius, double startDeg, double sweepDeg);
  // A rectangle with corners rounded by radius, clamped to half its shorter side (a negative
  // radius counts as 0). A rectangle with a negative width or height encloses nothing.
  void InitializeRoundedRect(const Rect& rect, double radius);

  const std::vector<Segment>& segments() const;

 private:
  std::vector<Segment>& data() const;
  std::shared_ptr<std::vector<Segment>> d_;
};

}  // namespace tmr

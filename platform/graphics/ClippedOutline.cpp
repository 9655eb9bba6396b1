#include "platform/graphics/ClippedOutline.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace tmr {

namespace {

// Device pixels a flattened curve may stray from the curve: Cairo's own default tolerance.
constexpr double kTolerance = 0.1;
// Halvings of one curve: enough to bring a curve 10^50 pixels long to the tolerance.
constexpr int kMaxDepth = 200;
// Curve pieces of one outline: the halvings near the window of text many times larger than the
// picture take a few hundred per curve; past the budget a curve is drawn as its chord.
constexpr size_t kMaxPieces = size_t{1} << 20;

}  // namespace

ClippedOutline::ClippedOutline(double left, double top, double right, double bottom)
    : left_(left), top_(top), right_(right), bottom_(bottom) {}

bool ClippedOutline::usable(std::initializer_list<double> values) {
  for (double v : values) spoiled_ = spoiled_ || !std::isfinite(v);
  return !spoiled_;
}

void ClippedOutline::moveTo(double x, double y) {
  if (!usable({x, y})) return;
  contours_.push_back({Point{x, y}});
}

void ClippedOutline::lineTo(double x, double y) {
  if (!usable({x, y})) return;
  if (contours_.empty()) contours_.emplace_back();
  contours_.back().push_back(Point{x, y});
}

void ClippedOutline::curveTo(double x1, double y1, double x2, double y2, double x3, double y3) {
  if (!usable({x1, y1, x2, y2, x3, y3})) return;
  if (contours_.empty() || contours_.back().empty()) {
    lineTo(x1, y1);
  }
  flatten(contours_.back().back(), Point{x1, y1}, Point{x2, y2}, Point{x3, y3}, 0);
}

void ClippedOutline::close() {
  // A contour is closed when filled; the next one starts with its own move.
  if (!contours_.empty() && !contours_.back().empty()) contours_.emplace_back();
}

void ClippedOutline::flatten(Point p0, Point p1, Point p2, Point p3, int depth) {
  ++pieces_;
  // A piece wholly outside the window is drawn as its chord: both lie within the piece's control
  // points, so what they enclose differs only outside the window. Else a piece close enough to
  // its chord is drawn as it (the distance is at most 3/4 of the largest second difference).
  const double minX = std::min({p0.x, p1.x, p2.x, p3.x}), maxX = std::max({p0.x, p1.x, p2.x, p3.x});
  const double minY = std::min({p0.y, p1.y, p2.y, p3.y}), maxY = std::max({p0.y, p1.y, p2.y, p3.y});
  const bool outside = maxX < left_ || minX > right_ || maxY < top_ || minY > bottom_;
  const double bend = std::max(std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                               std::hypot(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
  if (outside || !(0.75 * bend > kTolerance) || depth >= kMaxDepth || pieces_ >= kMaxPieces) {
    contours_.back().push_back(p3);
    return;
  }
  auto mid = [](Point a, Point b) { return Point{a.x / 2 + b.x / 2, a.y / 2 + b.y / 2}; };
  const Point p01 = mid(p0, p1), p12 = mid(p1, p2), p23 = mid(p2, p3);
  const Point p012 = mid(p01, p12), p123 = mid(p12, p23), half = mid(p012, p123);
  flatten(p0, p01, p012, half, depth + 1);
  flatten(half, p123, p23, p3, depth + 1);
}

// The contour clipped to the window, one side after the other: within the window it winds about
// every point as the contour does, the parts outside replaced by runs along the window's sides.
std::vector<ClippedOutline::Point> ClippedOutline::clipped(std::vector<Point> contour) const {
  struct Side {
    double edge;
    bool vertical;  // an edge of x, else of y
    bool keepAbove;
  };
  const Side sides[] = {{left_, true, true}, {right_, true, false}, {top_, false, true}, {bottom_, false, false}};
  for (const auto& side : sides) {
    if (contour.empty()) break;
    auto inside = [&](Point p) {
      const double v = side.vertical ? p.x : p.y;
      return side.keepAbove ? v >= side.edge : v <= side.edge;
    };
    auto crossing = [&](Point a, Point b) {
      if (side.vertical) {
        const double t = (side.edge - a.x) / (b.x - a.x);
        return Point{side.edge, a.y + (b.y - a.y) * t};
      }
      const double t = (side.edge - a.y) / (b.y - a.y);
      return Point{a.x + (b.x - a.x) * t, side.edge};
    };
    std::vector<Point> out;
    Point prev = contour.back();
    for (Point p : contour) {
      if (inside(p)) {
        if (!inside(prev)) out.push_back(crossing(prev, p));
        out.push_back(p);
      } else if (inside(prev)) {
        out.push_back(crossing(prev, p));
      }
      prev = p;
    }
    contour = std::move(out);
  }
  return contour;
}

void ClippedOutline::fill(cairo_t* cr) const {
  if (spoiled_ || contours_.empty()) return;
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_new_path(cr);
  for (const auto& contour : contours_) {
    auto points = clipped(contour);
    if (points.size() < 3) continue;
    cairo_move_to(cr, points[0].x, points[0].y);
    for (size_t i = 1; i < points.size(); ++i) cairo_line_to(cr, points[i].x, points[i].y);
    cairo_close_path(cr);
  }
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_GRAY);
  cairo_fill(cr);
  cairo_restore(cr);
}

}  // namespace tmr

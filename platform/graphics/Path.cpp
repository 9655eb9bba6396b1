#include "platform/graphics/Path.h"

#include <algorithm>
#include <cmath>

#include "platform/core/RuntimeError.h"

namespace tmr {

using Kind = Path::Segment::Kind;

std::vector<Path::Segment>& Path::data() const {
  if (!d_) throw NotInitialized("Path");
  return *d_;
}

const std::vector<Path::Segment>& Path::segments() const { return data(); }

void Path::Initialize(double x, double y) {
  d_ = std::make_shared<std::vector<Segment>>();
  d_->push_back(Segment{Kind::MoveTo, x, y});
}

void Path::LineTo(double x, double y) const { data().push_back(Segment{Kind::LineTo, x, y}); }

void Path::InitializeArc(double cx, double cy, double radius, double startDeg, double sweepDeg) {
  d_ = std::make_shared<std::vector<Segment>>();
  if (!(radius > 0) || sweepDeg == 0 || !std::isfinite(sweepDeg) || !std::isfinite(startDeg)) {
    // Nothing enclosed: a lone point fills, strokes and clips to nothing.
    d_->push_back(Segment{Kind::MoveTo, cx, cy});
    return;
  }
  if (std::abs(sweepDeg) >= 360) {
    // The whole disc, without the seam a line to the centre would leave in an outline.
    d_->push_back(Segment{Kind::Arc, cx, cy, radius, startDeg, sweepDeg > 0 ? 360.0 : -360.0});
    d_->push_back(Segment{Kind::Close});
    return;
  }
  d_->push_back(Segment{Kind::MoveTo, cx, cy});
  d_->push_back(Segment{Kind::Arc, cx, cy, radius, startDeg, sweepDeg});
  d_->push_back(Segment{Kind::Close});
}

void Path::InitializeRoundedRect(const Rect& rect, double radius) {
  d_ = std::make_shared<std::vector<Segment>>();
  double l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
  if (!(r >= l) || !(b >= t)) {
    d_->push_back(Segment{Kind::MoveTo, l, t});
    return;
  }
  double rad = std::clamp(radius, 0.0, std::min(r - l, b - t) / 2);
  if (!(rad > 0)) {
    d_->push_back(Segment{Kind::MoveTo, l, t});
    d_->push_back(Segment{Kind::LineTo, r, t});
    d_->push_back(Segment{Kind::LineTo, r, b});
    d_->push_back(Segment{Kind::LineTo, l, b});
    d_->push_back(Segment{Kind::Close});
    return;
  }
  d_->push_back(Segment{Kind::MoveTo, l + rad, t});
  d_->push_back(Segment{Kind::Arc, r - rad, t + rad, rad, 270, 90});
  d_->push_back(Segment{Kind::Arc, r - rad, b - rad, rad, 0, 90});
  d_->push_back(Segment{Kind::Arc, l + rad, b - rad, rad, 90, 90});
  d_->push_back(Segment{Kind::Arc, l + rad, t + rad, rad, 180, 90});
  d_->push_back(Segment{Kind::Close});
}

}  // namespace tmr

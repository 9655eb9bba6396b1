#include "bitmap/tm_bcpath.h"

#include <algorithm>

#include "platform/core/RuntimeError.h"

namespace tmr {

const SubTable& tm_bcpath::subTable() const {
  static const SubTable table{
      sub<&tm_bcpath::_initialize>("_initialize:::"),
      sub<&tm_bcpath::_reset>("_reset::"),
      sub<&tm_bcpath::_lineto>("_lineto::"),
      sub<&tm_bcpath::_removelastpoint>("_removelastpoint"),
      sub<&tm_bcpath::_invalidate>("_invalidate"),
      sub<&tm_bcpath::_clone>("_clone"),
      sub<&tm_bcpath::_prepareforfilling>("_prepareforfilling"),
  };
  return table;
}

void tm_bcpath::_class_globals() {
  points.clear();
  dataready = false;
  bounds = Rect();
  internalcounterclockwise = false;
  drawconnectionsegments = true;
  chains_.clear();
}

std::shared_ptr<tm_bcpath> tm_bcpath::_initialize(const std::shared_ptr<Dispatcher>& ba, float X, float Y) {
  if (!ba) throw RuntimeError("tm_bcpath needs a dispatcher");
  initializeClassModule(ba->runtime());
  points.clear();
  return _reset(X, Y);
}

std::shared_ptr<tm_bcpath> tm_bcpath::_reset(float X, float Y) {
  points.clear();
  points.push_back(_createpoint(X, Y));
  dataready = false;
  return self<tm_bcpath>();
}

std::shared_ptr<tm_bcpath> tm_bcpath::_lineto(float X, float Y) {
  if (points.size() == 1 && points[0]->X == X && points[0]->Y == Y) return self<tm_bcpath>();
  points.push_back(_createpoint(X, Y));
  dataready = false;
  return self<tm_bcpath>();
}

void tm_bcpath::_removelastpoint() {
  if (!points.empty()) points.pop_back();
  dataready = false;
}

void tm_bcpath::_invalidate() { dataready = false; }

std::shared_ptr<tm_bcpath> tm_bcpath::_clone() {
  auto p = std::make_shared<tm_bcpath>();
  p->_initialize(bi, 0, 0);
  p->points = points;
  p->dataready = dataready;
  p->bounds = bounds;
  p->internalcounterclockwise = internalcounterclockwise;
  p->drawconnectionsegments = drawconnectionsegments;
  p->chains_ = chains_;
  return p;
}

std::shared_ptr<_internalbcpathpointdata> tm_bcpath::_createpoint(float X, float Y) {
  auto p = std::make_shared<_internalbcpathpointdata>();
  p->X = X;
  p->Y = Y;
  return p;
}

std::shared_ptr<_internalbcpathcolumndata> tm_bcpath::_createnewcolumndata(float Y, float SignY) {
  auto c = std::make_shared<_internalbcpathcolumndata>();
  c->Initialize();
  c->MinY = c->MaxY = c->LastY = Y;
  c->SignY = SignY;
  return c;
}

void tm_bcpath::_prepareforfilling() {
  if (dataready) return;
  if (!points.empty()) {
    const auto& first = *points.front();
    const auto& last = *points.back();
    if (last.X != first.X || last.Y != first.Y) _lineto(first.X, first.Y);
  }
  _findorder();
  _buildcolumndata();
  _findboundingrect();
  dataready = true;
}

void tm_bcpath::_findorder() {
  // Twice the signed area, summed in single precision.
  const size_t n = points.size();
  float sum = 0;
  for (size_t i = 0; i < n; ++i) {
    const auto& a = *points[i];
    const auto& b = *points[(i + 1) % n];
    const float term = (b.X - a.X) * (b.Y + a.Y);
    sum = sum + term;
  }
  internalcounterclockwise = sum >= 0;
}

void tm_bcpath::_buildcolumndata() {
  const size_t n = points.size();
  chains_.assign(n, nullptr);
  if (n == 0) return;
  // The outline is walked counter-clockwise, whatever order the points were given in.
  const bool forward = internalcounterclockwise;
  size_t prev = forward ? 0 : n - 1;
  points[prev]->ColumnData = nullptr;
  for (size_t step = 1; step < n; ++step) {
    const size_t i = forward ? step : n - 1 - step;
    auto& p = *points[prev];
    auto& v = *points[i];
    const float dy = v.Y - p.Y;
    std::shared_ptr<_internalbcpathcolumndata> chain = chains_[prev];
    // A horizontal edge counts as going down.
    if (!chain || (chain->SignY >= 0) != (dy >= 0)) chain = _createnewcolumndata(p.Y, dy);
    if (dy > 0) chain->MaxY = v.Y;
    if (dy < 0) chain->MinY = v.Y;
    chains_[i] = chain;
    v.ColumnData = chain;
    prev = i;
  }
}

Rect tm_bcpath::_findboundingrect() {
  if (dataready) return bounds;
  if (points.empty()) {
    bounds = Rect();
    return bounds;
  }
  float l = points[0]->X, t = points[0]->Y, r = l, b = t;
  for (const auto& p : points) {
    l = std::min(l, p->X);
    r = std::max(r, p->X);
    t = std::min(t, p->Y);
    b = std::max(b, p->Y);
  }
  bounds = Rect(l, t, r, b);
  return bounds;
}

}  // namespace tmr

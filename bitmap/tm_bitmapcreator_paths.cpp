// Stroking and filling paths. A fill traces every edge of the prepared path anti-aliased into a
// column buffer of its chain (one x per row), then fills each row from a left chain's x to the
// nearest right chain's x beyond it. A stroke draws each segment as a thick line and fills the
// joint between consecutive segments.
#include <algorithm>
#include <array>
#include <cmath>

#include "bitmap/NumericRules.h"
#include "bitmap/tm_bitmapcreator.h"

namespace tmr {

using namespace bcnum;

namespace {

bool finitePoints(const tm_bcpath& path) {
  for (const auto& p : path.points)
    if (!p || !finite(p->X) || !finite(p->Y)) return false;
  return true;
}

// Columns keep a margin of two rows beyond the chain's ends (rows the edge tracer may not
// reach); the margin may lie outside the bitmap, so that rows 0 and the last are filled too.
constexpr int64_t kMargin = 2;
constexpr float kNoRight = 9999999.0f;

}  // namespace

std::shared_ptr<_bcbrush> tm_bitmapcreator::_drawpath(const std::shared_ptr<tm_bcpath>& Path, int32_t Color,
                                                      bool Filled, int32_t StrokeWidth) {
  return _drawpath2(Path, _createbrushfromcolor(Color), Filled, StrokeWidth);
}

std::shared_ptr<_bcbrush> tm_bitmapcreator::_drawpath2(const std::shared_ptr<tm_bcpath>& Path,
                                                       const std::shared_ptr<_bcbrush>& Brush, bool Filled,
                                                       int32_t StrokeWidth) {
  if (!Path || !Brush || Path->points.size() < 2 || !finitePoints(*Path)) return Brush;
  if (Filled) {
    _drawfullpath(Path, Brush);
    return Brush;
  }
  const auto& pts = Path->points;
  std::array<float, 4> xs{}, ys{};
  std::array<float, 2> prevX{}, prevY{};  // corners 2 and 3 of the previous segment
  bool havePrev = false;
  for (size_t i = 0; i + 1 < pts.size(); ++i) {
    const auto& a = *pts[i];
    const auto& b = *pts[i + 1];
    // A segment of no length has no direction, so nothing to draw and no joint to make.
    if (!_calclinepoints(a.X, a.Y, b.X, b.Y, StrokeWidth, xs, ys)) continue;
    if (havePrev && Path->drawconnectionsegments) {
      std::array<float, 4> jx{prevX[1], prevX[0], xs[0], xs[1]}, jy{prevY[1], prevY[0], ys[0], ys[1]};
      _drawconvexquadrilateral(jx, jy, Brush, false);
    }
    prevX = {xs[2], xs[3]};
    prevY = {ys[2], ys[3]};
    havePrev = true;
    if ((a.X <= b.X) != (a.Y <= b.Y)) _swappoint(xs, ys, 1, 3);
    _drawconvexquadrilateral(xs, ys, Brush, true);
  }
  return Brush;
}

void tm_bitmapcreator::_drawfullpath(const std::shared_ptr<tm_bcpath>& Path, const std::shared_ptr<_bcbrush>& Brush) {
  if (!Path || !Brush || Path->points.size() < 2 || !finitePoints(*Path)) return;
  Path->_prepareforfilling();
  const Rect bounds = Path->bounds;
  const auto& pts = Path->points;
  const auto& chains = Path->chains();
  const size_t n = pts.size();
  if (chains.size() != n) return;

  std::vector<std::shared_ptr<_internalbccolumn>> lefts, rights;
  std::shared_ptr<_internalbccolumn> first, prev, current;
  const _internalbcpathcolumndata* prevChain = nullptr;
  float lastY2 = 0;
  auto edge = [&](size_t from, size_t to) {
    const _internalbcpathpointdata& a = *pts[from];
    const _internalbcpathpointdata& b = *pts[to];
    const _internalbcpathcolumndata* chain = chains[to].get();
    if (!chain) return;
    const float x1 = a.X, y1 = a.Y, x2 = b.X, y2 = b.Y;
    bool started = false;
    if (chain != prevChain) {
      const int64_t startY = std::max<int64_t>(floorLong(chain->MinY - kMargin + 0.5), -kMargin);
      const int64_t endY = std::min<int64_t>(truncLong(chain->MaxY + kMargin + 0.5), int64_t{mheight} + kMargin);
      current = _createcolumn(static_cast<int32_t>(startY), static_cast<int32_t>(std::max(startY, endY)));
      current->LeftSide = y2 >= y1;
      // A chain of horizontal edges only has no x to offer a row: it takes part in no row.
      if (chain->MinY != chain->MaxY) (current->LeftSide ? lefts : rights).push_back(current);
      prevChain = chain;
      started = true;
    }
    if (y1 != y2) {
      const std::array<float, 2> ex{x1, x2}, ey{y1, y2};
      traceWuLine(x1, y1, x2, y2, _shouldcheckbounds(ex, ey), current->LeftSide, *current, *Brush, false);
    }
    if (started) {
      if (!first) {
        first = current;
      } else {
        _columnswitchimpl(prev, current, truncInt(y1 + 0.5), truncInt(y2 + 0.5));
      }
      prev = current;
    }
    lastY2 = y2;
  };
  // The outline is walked counter-clockwise on the screen.
  if (Path->internalcounterclockwise) {
    for (size_t i = 0; i + 1 < n; ++i) edge(i, i + 1);
  } else {
    for (size_t i = n - 1; i >= 1; --i) edge(i, i - 1);
  }
  if (first && prev && first->LeftSide != prev->LeftSide)
    _columnswitchimpl(prev, first, truncInt(lastY2 + 0.5), truncInt(pts[1]->Y + 0.5));

  int64_t lastRow = -1;
  for (const auto& l : lefts) lastRow = std::max<int64_t>(lastRow, int64_t{l->EndY} - kMargin);
  lastRow = std::min<int64_t>(lastRow, int64_t{mheight} - 1);
  for (int64_t y = truncLong(std::max(bounds.Top, 0.0f)); y <= lastRow; ++y) {
    for (const auto& l : lefts) {
      if (y < l->StartY + kMargin || y > l->EndY - kMargin) continue;
      const float xl = l->at(y);
      float xr = kNoRight;
      for (const auto& r : rights) {
        if (y < r->StartY + kMargin || y > r->EndY - kMargin) continue;
        const float v = r->at(y);
        if (v > xl && v < xr) xr = v;
      }
      if (xl < xr && xr < kNoRight) fillSpan(floorLong(xl) + 1, floorLong(xr) + 1, y, *Brush);
    }
  }
}

void tm_bitmapcreator::_columnswitchimpl(const std::shared_ptr<_internalbccolumn>& PrevColumn,
                                         const std::shared_ptr<_internalbccolumn>& NextColumn, int32_t Y1, int32_t Y2) {
  if (!PrevColumn || !NextColumn) return;
  const int64_t y1 = Y1, nb = Y1 < Y2 ? y1 + 1 : y1 - 1;
  _internalbccolumn& p = *PrevColumn;
  _internalbccolumn& q = *NextColumn;
  if (!p.hasRow(y1) || !p.hasRow(nb) || !q.hasRow(y1) || !q.hasRow(nb)) return;
  const float a = p.at(nb), b = q.at(nb);
  if (b > a) {
    p.at(y1) = static_cast<float>(p.at(y1) - 0.01);
  } else if (b < a) {
    p.at(y1) = static_cast<float>(p.at(y1) + 0.01);
  }
}

}  // namespace tmr

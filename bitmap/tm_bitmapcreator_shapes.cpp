// Rectangles, rounded rectangles, circles and rings, thick lines and arcs. Filled areas are
// horizontal spans (replacing what is beneath); the edges of lines, circles and arcs come from
// the anti-aliased edge tracers, which record per row where the fill starts and ends.
#include <algorithm>
#include <array>
#include <cmath>

#include "bitmap/NumericRules.h"
#include "bitmap/PixelKernels.h"
#include "bitmap/tm_bitmapcreator.h"
#include "platform/core/Common.h"

namespace tmr {

using namespace bcnum;

namespace {
// Marks a row of an arc's column that no edge crossed. Any position an edge writes is ≥ -1,
// so a fill may start at column 0 (an edge just left of the bitmap) and still be told apart.
constexpr float kNoEdge = -1.0e9f;

bool finiteRect(const Rect& r) { return finite(r.Left) && finite(r.Top) && finite(r.Right) && finite(r.Bottom); }
}  // namespace

// --- Rectangles ------------------------------------------------------------------------------

std::shared_ptr<_bcbrush> tm_bitmapcreator::_drawrect(const Rect& R, int32_t Color, bool Filled, int32_t StrokeWidth) {
  return _drawrect2(R, _createbrushfromcolor(Color), Filled, StrokeWidth);
}

void tm_bitmapcreator::_fillrect(int32_t Color, const Rect& R) { _drawrect(R, Color, true, 0); }

std::shared_ptr<_bcbrush> tm_bitmapcreator::_drawrect2(const Rect& R, const std::shared_ptr<_bcbrush>& Brush,
                                                       bool Filled, int32_t StrokeWidth) {
  if (!Brush || !finiteRect(R)) return Brush;
  // An empty or inverted rectangle draws nothing.
  if (R.Right <= R.Left || R.Bottom <= R.Top) return Brush;
  if (R.Left >= static_cast<float>(mwidth) || R.Right < 0 || R.Top >= static_cast<float>(mheight) || R.Bottom < 0)
    return Brush;
  const _bcbrush& brush = *Brush;
  if (Filled) {
    const int64_t top = truncLong(std::max(R.Top, 0.0f));
    const int64_t bottom = truncLong(std::min(static_cast<float>(mheight - 1), R.Bottom - 1));
    const int64_t left = truncLong(std::max(R.Left, 0.0f));
    const int64_t right = truncLong(std::min(static_cast<float>(mwidth - 1), R.Right - 1));
    if (right < left || bottom < top) return Brush;
    if (brush.IsColorSource && brush.ColorPM) {
      // One fill per row, or one for the whole block when the rows are whole.
      const _premultipliedcolor& c = *brush.ColorPM;
      const uint32_t pixel = bckernels::packPixel(c.r, c.g, c.b, c.a);
      if (left == 0 && right == mwidth - 1) {
        bckernels::fillRun(pixelAt(0, top), pixel, (bottom - top + 1) * mwidth);
      } else {
        bckernels::fillRect(pixelAt(left, top), int64_t{mwidth} * 4, pixel, right - left + 1, bottom - top + 1);
      }
      return Brush;
    }
    for (int64_t row = top; row <= bottom; ++row) fillSpan(left, right + 1, row, brush);
    return Brush;
  }
  // The stroke lies inside the rectangle; bands and sides never leave it, however wide.
  const int64_t t = truncLong(R.Top), l = truncLong(R.Left), r = truncLong(R.Right), b = truncLong(R.Bottom);
  const int64_t sw = StrokeWidth;
  const int64_t cl = std::max<int64_t>(l, 0), cr = std::min<int64_t>(mwidth, r);
  const int64_t h = mheight;
  for (int64_t row = std::max<int64_t>(t, 0), end = std::min({h, t + sw, b}); row < end; ++row)
    fillSpan(cl, cr, row, brush);
  for (int64_t row = std::max<int64_t>({b - sw, 0, t}), end = std::min(h, b); row < end; ++row)
    fillSpan(cl, cr, row, brush);
  auto side = [&](int64_t x1, int64_t x2, int64_t row) { fillSpan(std::max(x1, cl), std::min(x2, cr), row, brush); };
  if (l >= 0 && t >= 0 && b <= h && r <= mwidth) {
    for (int64_t row = t + sw; row <= b - sw - 1; ++row) {
      side(l, l + sw, row);
      side(r - sw, r, row);
    }
  } else {
    const int64_t lw = std::min(sw, l + sw), rw = std::min(sw, int64_t{mwidth} + sw - r);
    for (int64_t row = std::max<int64_t>(t + sw, 0), end = std::min(b - sw, h); row < end; ++row) {
      if (lw > 0) side(cl, cl + lw, row);
      if (rw > 0) side(cr - rw, cr, row);
    }
  }
  return Brush;
}

std::shared_ptr<_bcbrush> tm_bitmapcreator::_drawrectrounded(const Rect& R, int32_t Color, bool Filled,
                                                             int32_t StrokeWidth, int32_t CornersRadius) {
  return _drawrectrounded2(R, _createbrushfromcolor(Color), Filled, StrokeWidth, CornersRadius);
}

std::shared_ptr<_bcbrush> tm_bitmapcreator::_drawrectrounded2(const Rect& R, const std::shared_ptr<_bcbrush>& Brush,
                                                              bool Filled, int32_t StrokeWidth, int32_t CornersRadius) {
  if (!Brush || !finiteRect(R)) return Brush;
  if (CornersRadius < 1) return _drawrect2(R, Brush, Filled, StrokeWidth);
  const int64_t w = clampCoord(roundLong(R.Width())), h = clampCoord(roundLong(R.Height()));
  const int64_t r = truncLong(std::min(static_cast<double>(CornersRadius), std::min(w, h) / 2.0));
  // A corner radius that shrinks below one pixel (a rectangle under two pixels wide or high)
  // is a plain rectangle.
  if (r < 1) return _drawrect2(R, Brush, Filled, StrokeWidth);
  const int64_t cx = clampCoord(truncLong(R.CenterX())), cy = clampCoord(truncLong(R.CenterY()));
  const int64_t sl = truncLong(w / 2.0 - static_cast<double>(r)), sr = w - 2 * r - sl;
  const int64_t st = truncLong(h / 2.0 - static_cast<double>(r)), sb = h - 2 * r - st;
  drawCircleShape(cx, cy, r, *Brush, Filled, StrokeWidth, sl + 1, sr, st + 1, sb);
  return Brush;
}

// --- Circles ---------------------------------------------------------------------------------

std::shared_ptr<_bcbrush> tm_bitmapcreator::_drawcircle(float X, float Y, float Radius, int32_t Color, bool Filled,
                                                        int32_t StrokeWidth) {
  return _drawcircle2(X, Y, Radius, _createbrushfromcolor(Color), Filled, StrokeWidth);
}

std::shared_ptr<_bcbrush> tm_bitmapcreator::_drawcircle2(float X, float Y, float Radius,
                                                         const std::shared_ptr<_bcbrush>& Brush, bool Filled,
                                                         int32_t StrokeWidth) {
  return _drawcircleimpl(X, Y, Radius, Brush, Filled, StrokeWidth, 0, 0, 0, 0);
}

std::shared_ptr<_bcbrush> tm_bitmapcreator::_drawcircleimpl(float X, float Y, float Radius,
                                                            const std::shared_ptr<_bcbrush>& Brush, bool Filled,
                                                            int32_t StrokeWidth, int32_t L, int32_t R, int32_t T,
                                                            int32_t B) {
  if (!Brush || !finite(X) || !finite(Y) || !finite(Radius)) return Brush;
  const int64_t r = roundLong(Radius);
  if (r < 0) return Brush;
  drawCircleShape(clampCoord(roundLong(X)), clampCoord(roundLong(Y)), clampCoord(r), *Brush, Filled, StrokeWidth, L, R,
                  T, B);
  return Brush;
}

void tm_bitmapcreator::drawCircleShape(int64_t cx, int64_t cy, int64_t r, const _bcbrush& brush, bool filled,
                                       int64_t sw, int64_t L, int64_t R, int64_t T, int64_t B) {
  const int64_t W = mwidth, H = mheight;
  if (!(cx + r + R >= 0 && cx - r - L < W && cy + r + B >= 0 && cy - r - T < H)) return;
  // A stroke at least as wide as the radius leaves no hole: the shape is filled. For a rounded
  // rectangle that holds only when the stroke also closes the straight middle part.
  if (!filled && sw >= r) {
    const int64_t shapeW = L + R + 2 * r - 1, shapeH = T + B + 2 * r - 1;
    if (2 * sw >= shapeW || 2 * sw >= shapeH) filled = true;
  }
  if (!filled && sw < 0) return;
  _preparecolumns(2);
  _internalbccolumn& outer = *readycolumns[0];
  _internalbccolumn& innerCol = *readycolumns[1];
  const int64_t u0 = std::max<int64_t>(cy - r - T + 1, 0), u1 = std::min<int64_t>(H - 1, cy - T);
  const int64_t d0 = std::max<int64_t>(cy + 1 + B, 0), d1 = std::min<int64_t>(H, cy + r + B) - 1;
  const int64_t midLeft = std::max<int64_t>(cx - L - r + 1, 0), midRight = std::min<int64_t>(W, cx + R + r);
  const int64_t m0 = std::max<int64_t>(cy - T + 1, 0), m1 = std::min<int64_t>(H - 1, cy + B);

  traceWuCircle(cx, cy, r - 1, false, outer, brush, L, R, T, B);
  if (filled) {
    auto row = [&](int64_t y) {
      const int64_t w = truncLong(outer.at(y));
      const int64_t left = std::max<int64_t>(cx - w - L, 0), right = std::min<int64_t>(W - 1, cx + w + R);
      if (right >= left) fillSpan(left, right + 1, y, brush);
    };
    for (int64_t y = u0; y <= u1; ++y) row(y);
    for (int64_t y = d0; y <= d1; ++y) row(y);
    if (T > 0)
      for (int64_t y = m0; y <= m1; ++y) fillSpan(midLeft, midRight, y, brush);
    return;
  }

  const int64_t inner = r - sw;
  if (inner > 0) traceWuCircle(cx, cy, inner, true, innerCol, brush, L, R, T, B);
  auto ringRow = [&](int64_t y, int64_t distance) {
    const int64_t w = truncLong(outer.at(y));
    const int64_t left = std::max<int64_t>(cx - w - L, 0), right = std::min<int64_t>(W - 1, cx + w + R);
    if (right < left) return;
    if (distance >= inner) {
      fillSpan(left, right + 1, y, brush);
      return;
    }
    const int64_t wi = truncLong(innerCol.at(y));
    const int64_t il = std::min<int64_t>(W, std::max<int64_t>(cx - wi - L, 0));
    const int64_t ir = std::max<int64_t>(std::min<int64_t>(W, cx + wi + R), 0);
    if (il > left) fillSpan(left, il, y, brush);
    if (ir < right) fillSpan(ir + 1, right + 1, y, brush);
  };
  for (int64_t y = u0; y <= u1; ++y) ringRow(y, cy - y - T);
  for (int64_t y = d0; y <= d1; ++y) ringRow(y, y - B - cy);
  if (T > 0) {
    const int64_t lx = cx - L - r + 1, rx = cx + R + r;
    const int64_t lw = std::min(sw, lx + sw), rw = std::min(sw, W + sw - rx);
    // Rows of the straight part that lie within the stroke of the top or bottom side (only
    // when the stroke is wider than the corner radius) are whole.
    const int64_t topRow = cy - r - T + 1, bottomRow = cy + r + B - 1;
    for (int64_t y = m0; y <= m1; ++y) {
      if (y - topRow < sw || bottomRow - y < sw) {
        fillSpan(midLeft, midRight, y, brush);
        continue;
      }
      const int64_t sl = std::max<int64_t>(lx, 0), sr = std::min<int64_t>(W, rx);
      if (lw > 0) fillSpan(sl, std::min(sl + lw, midRight), y, brush);
      if (rw > 0) fillSpan(std::max(sr - rw, midLeft), sr, y, brush);
    }
  }
}

// --- Lines -----------------------------------------------------------------------------------

std::shared_ptr<_bcbrush> tm_bitmapcreator::_drawline(float X1, float Y1, float X2, float Y2, int32_t Color,
                                                      int32_t StrokeWidth) {
  return _drawline2(X1, Y1, X2, Y2, _createbrushfromcolor(Color), StrokeWidth);
}

std::shared_ptr<_bcbrush> tm_bitmapcreator::_drawline2(float X1, float Y1, float X2, float Y2,
                                                       const std::shared_ptr<_bcbrush>& Brush, int32_t StrokeWidth) {
  if (!Brush || !finite(X1) || !finite(Y1) || !finite(X2) || !finite(Y2)) return Brush;
  std::array<float, 4> px{}, py{};
  if (!_calclinepoints(X1, Y1, X2, Y2, StrokeWidth, px, py)) return Brush;
  // Corners run counter-clockwise on the screen whichever way the line goes.
  if ((X2 >= X1) != (Y2 >= Y1)) _swappoint(px, py, 1, 3);
  _drawconvexquadrilateral(px, py, Brush, true);
  return Brush;
}

bool tm_bitmapcreator::_calclinepoints(float X1, float Y1, float X2, float Y2, int32_t StrokeWidth, std::span<float> PX,
                                       std::span<float> PY) {
  const float dx = X2 - X1, dy = Y2 - Y1;
  if (dx == 0 && dy == 0) return false;
  if (PX.size() < 4 || PY.size() < 4) return false;
  const float half = static_cast<float>(StrokeWidth / 2.0);
  const float a =
      static_cast<float>(std::atan2(static_cast<double>(std::fabs(dy)), static_cast<double>(std::fabs(dx))));
  float ox = static_cast<float>(half * std::sin(static_cast<double>(a)));
  float oy = static_cast<float>(half * std::cos(static_cast<double>(a)));
  if (Y2 < Y1) oy = -oy;
  if (X2 < X1) ox = -ox;
  PX[0] = X1 + ox, PX[1] = X1 - ox, PX[2] = X2 - ox, PX[3] = X2 + ox;
  PY[0] = Y1 - oy, PY[1] = Y1 + oy, PY[2] = Y2 + oy, PY[3] = Y2 - oy;
  return true;
}

void tm_bitmapcreator::_drawconvexquadrilateral(std::span<float> PX, std::span<float> PY,
                                                const std::shared_ptr<_bcbrush>& Brush, bool Sorted) {
  if (!Brush || PX.size() < 4 || PY.size() < 4 || mheight == 0) return;
  for (int i = 0; i < 4; ++i)
    if (!finite(PX[static_cast<size_t>(i)]) || !finite(PY[static_cast<size_t>(i)])) return;
  if (!Sorted) _sortpoints(PX, PY);
  const float lowY = std::min({PY[0], PY[1], PY[2], PY[3]}), highY = std::max({PY[0], PY[1], PY[2], PY[3]});
  const int64_t minY = std::clamp<int64_t>(roundLong(lowY), 0, mheight - 1);
  const int64_t maxY = std::clamp<int64_t>(roundLong(highY), 0, mheight - 1);
  _preparecolumns(2);
  _internalbccolumn& left = *readycolumns[0];
  _internalbccolumn& right = *readycolumns[1];
  left.at(minY) = 0;
  right.at(minY) = 0;
  const bool check = _shouldcheckbounds(PX.first(4), PY.first(4));
  for (size_t i = 0; i < 4; ++i) {
    const size_t j = (i + 1) % 4;
    if (PY[i] == PY[j]) continue;  // a horizontal edge adds nothing
    const bool down = PY[j] > PY[i];
    traceWuLine(PX[i], PY[i], PX[j], PY[j], check, down, down ? left : right, *Brush, true);
  }
  for (int64_t y = minY; y <= maxY; ++y) {
    const int64_t x1 = floorLong(left.at(y)) + 1, x2 = floorLong(right.at(y)) + 1;
    if (x2 > x1) fillSpan(x1, x2, y, *Brush);
  }
}

// --- Arcs ------------------------------------------------------------------------------------

std::shared_ptr<_bcbrush> tm_bitmapcreator::_drawarc(float X, float Y, float Radius, int32_t Color, bool Filled,
                                                     int32_t StrokeWidth, float StartAngle, float SweepAngle) {
  return _drawarc2(X, Y, Radius, _createbrushfromcolor(Color), Filled, StrokeWidth, StartAngle, SweepAngle);
}

std::shared_ptr<_bcbrush> tm_bitmapcreator::_drawarc2(float X, float Y, float Radius,
                                                      const std::shared_ptr<_bcbrush>& Brush, bool Filled,
                                                      int32_t StrokeWidth, float StartAngle, float SweepAngle) {
  if (!Brush || !finite(X) || !finite(Y) || !finite(Radius) || !finite(StartAngle) || !finite(SweepAngle)) return Brush;
  if (std::fabs(SweepAngle) >= 360) return _drawcircle2(X, Y, Radius, Brush, Filled, StrokeWidth);
  if (SweepAngle == 0) return Brush;
  auto normalise = [](float start, float sweep, float& s, float& e) {
    s = static_cast<float>(std::fmod(start, 360.0f));
    if (s < 0) s += 360;
    e = static_cast<float>(std::fmod(s + sweep, 360.0f));
    if (e <= 0) e += 360;
    if (sweep < 0) std::swap(s, e);
  };
  float s, e;
  normalise(StartAngle, SweepAngle, s, e);
  const float r = static_cast<float>(roundLong(Radius));
  if (s > e) {
    // The arc passes through 0°: it is drawn as s .. 360 and 0 .. e. Each part is normalised as
    // a call of its own would be; a first part whose end wraps past 360 ends at 360 (no endless
    // splitting).
    float s1, e1, s2, e2;
    const float sweep1 = 360 - s;
    if (sweep1 != 0) {
      normalise(s, sweep1, s1, e1);
      if (s1 > e1) e1 = 360;
      drawArcRange(X, Y, r, *Brush, Filled, StrokeWidth, s1, e1);
    }
    normalise(0, e, s2, e2);
    if (s2 > e2) e2 = 360;
    drawArcRange(X, Y, r, *Brush, Filled, StrokeWidth, s2, e2);
    return Brush;
  }
  drawArcRange(X, Y, r, *Brush, Filled, StrokeWidth, s, e);
  return Brush;
}

void tm_bitmapcreator::drawArcRange(float X, float Y, float r, const _bcbrush& brush, bool filled, int32_t strokeWidth,
                                    float s, float e) {
  const int64_t cx = clampCoord(roundLong(X)), cy = clampCoord(roundLong(Y)), ri = clampCoord(roundLong(r));
  if (ri < 0) return;
  int64_t sw = strokeWidth;
  if (ri <= sw) filled = true;
  if (filled) sw = ri;
  if (sw < 0) return;
  const int64_t W = mwidth, H = mheight;
  if (!(cx + ri >= 0 && cx - ri < W && cy + ri >= 0 && cy - ri < H)) return;
  if (e - s == 0) return;
  const bool check = cx - ri < 0 || cx + ri >= W || cy - ri < 0 || cy + ri >= H;
  _preparecolumns(4);
  _internalbccolumn* col[4] = {readycolumns[0].get(), readycolumns[1].get(), readycolumns[2].get(),
                               readycolumns[3].get()};
  const int64_t r0 = std::max<int64_t>(cy - ri, 0), r1 = std::min<int64_t>(H - 1, cy + ri);
  for (auto* c : col)
    for (int64_t y = r0; y <= r1; ++y) c->at(y) = kNoEdge;
  const int64_t inner = ri - sw;
  traceWuArc(cx, cy, ri - 1, false, *col[2], *col[3], brush, s, e);
  traceWuArc(cx, cy, inner, true, *col[0], *col[1], brush, s, e);
  if (filled) paintEdgePixel(cx, cy, 1.0f, brush);

  // The two straight edges; the column that receives each depends on its quadrant.
  static constexpr int kStartColumn[4] = {3, 0, 2, 1};
  static constexpr int kEndColumn[4] = {1, 2, 0, 3};
  for (int end = 0; end < 2; ++end) {
    const float angle = end == 0 ? s : e;
    const int64_t q = floorLong(angle / 90.0);
    if (q < 0 || q > 3) continue;  // 360°: a horizontal edge, which adds nothing
    const double a = angle / 180.0 * Common::cPI;
    const double ca = std::cos(a), sa = std::sin(a);
    const int64_t ix = roundLong(static_cast<double>(cx) + ca * static_cast<double>(inner));
    const int64_t iy = roundLong(static_cast<double>(cy) + sa * static_cast<double>(inner));
    const int64_t ox = roundLong(static_cast<double>(cx) + ca * static_cast<double>(ri - 1));
    const int64_t oy = roundLong(static_cast<double>(cy) + sa * static_cast<double>(ri - 1));
    if (iy == oy) continue;
    const int c = end == 0 ? kStartColumn[q] : kEndColumn[q];
    traceWuLine(static_cast<float>(ix), static_cast<float>(iy), static_cast<float>(ox), static_cast<float>(oy), check,
                c == 2 || c == 1, *col[c], brush, true);
  }

  for (int64_t y = r0; y <= r1; ++y) {
    const int64_t a = floorLong(col[2]->at(y)) + 1, b = floorLong(col[0]->at(y)) + 1;
    const int64_t c = floorLong(col[1]->at(y)) + 1, d = floorLong(col[3]->at(y)) + 1;
    bool any = false;
    if (a <= b && a >= 0) {
      fillSpan(a, b, y, brush);
      any = true;
    }
    if (c <= d && c >= 0) {
      fillSpan(c, d, y, brush);
      any = true;
    }
    if (!any && a < d && a >= 0) fillSpan(a, d, y, brush);
  }
}

}  // namespace tmr

// Anti-aliased edges: the tracers walk a segment, a circle or an arc, record for every row where
// the edge crosses it (into a column buffer that the shape then fills between) and paint the
// pixels the edge only partly covers with the brush scaled by their coverage.
//
// All loops are limited to the rows and columns of the bitmap (and of the column buffer), so a
// shape far larger than the bitmap costs no more than the bitmap; positions that are stepped
// incrementally are advanced over the skipped steps first, so the pixels are the same.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "bitmap/NumericRules.h"
#include "bitmap/PixelKernels.h"
#include "bitmap/tm_bitmapcreator.h"
#include "platform/core/Common.h"

namespace tmr {

using namespace bcnum;

namespace {

inline int64_t positiveRemainder(int64_t v, int64_t m) {
  int64_t r = v % m;
  return r < 0 ? r + m : r;
}

// Blends (or writes) a premultiplied colour given as Int channels over a pixel, with the
// whole-value alpha tests of the single-pixel blend.
inline void putColor(uint8_t* d, int32_t r, int32_t g, int32_t b, int32_t a, bool blend) {
  const uint8_t s[4] = {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b),
                        static_cast<uint8_t>(a)};
  if (!blend || a == 255) {
    std::memcpy(d, s, 4);
  } else if (a > 0 && a < 255) {
    for (int c = 0; c < 4; ++c)
      d[c] = static_cast<uint8_t>(s[c] + bckernels::blendTerm(d[c], static_cast<uint32_t>(a)));
  } else if (a != 0) {
    // An alpha outside 0..255 (a colour record holding such a value) keeps the rule as written.
    const float k = static_cast<float>(1.0 - a / 255.0);
    for (int c = 0; c < 4; ++c) {
      const float t = k * static_cast<float>(d[c]);
      d[c] = static_cast<uint8_t>(truncInt(static_cast<float>(s[c]) + t));
    }
  }
}

// A channel scaled by an edge pixel's coverage (0.1 .. 0.9), truncated toward zero.
inline int32_t scaled(int32_t channel, float coverage) {
  return static_cast<int32_t>(static_cast<float>(channel) * coverage);
}

// Sorted, non-overlapping parts of [lo1, hi1] ∪ [lo2, hi2], each already within [0, max].
struct Ranges {
  int64_t lo[2], hi[2];
  int n = 0;
};
Ranges unionOf(int64_t lo1, int64_t hi1, int64_t lo2, int64_t hi2, int64_t max) {
  lo1 = std::max<int64_t>(lo1, 0), hi1 = std::min(hi1, max);
  lo2 = std::max<int64_t>(lo2, 0), hi2 = std::min(hi2, max);
  Ranges r;
  bool e1 = lo1 > hi1, e2 = lo2 > hi2;
  if (e1 && e2) return r;
  if (e1) return Ranges{{lo2, 0}, {hi2, 0}, 1};
  if (e2) return Ranges{{lo1, 0}, {hi1, 0}, 1};
  if (lo2 < lo1) std::swap(lo1, lo2), std::swap(hi1, hi2);
  if (lo2 <= hi1 + 1) return Ranges{{lo1, 0}, {std::max(hi1, hi2), 0}, 1};
  return Ranges{{lo1, lo2}, {hi1, hi2}, 2};
}

}  // namespace

void tm_bitmapcreator::_drawantialiasborder(int32_t X, int32_t Y, float Coverage,
                                            const std::shared_ptr<_bcbrush>& Brush, bool CheckBounds) {
  (void)CheckBounds;  // every pixel is checked: a wrong promise must not write outside the buffer
  if (Brush) paintEdgePixel(X, Y, Coverage, *Brush);
}

void tm_bitmapcreator::paintEdgePixel(int64_t x, int64_t y, float coverage, const _bcbrush& brush) {
  double cov = coverage;
  if (!(cov >= 0.1) || !inside(x, y)) return;
  bool full = cov >= 0.9;
  uint8_t* d = pixelAt(x, y);
  if (!brush.IsColorSource) {
    const tm_bitmapcreator* src = brush.Source.get();
    if (!src || src->mwidth <= 0 || src->mheight <= 0) return;
    int64_t sx = positiveRemainder(x - brush.SrcOffsetX, src->mwidth);
    int64_t sy = positiveRemainder(y - brush.SrcOffsetY, src->mheight);
    uint8_t s[4];
    std::memcpy(s, src->mbuffer.data() + (sx + sy * src->mwidth) * 4, 4);
    if (full) {
      if (brush.BlendBorders) {
        bckernels::blendPixel(d, s);
      } else {
        std::memcpy(d, s, 4);
      }
    } else {
      putColor(d, scaled(s[0], coverage), scaled(s[1], coverage), scaled(s[2], coverage), scaled(s[3], coverage),
               brush.BlendBorders);
    }
    return;
  }
  if (!brush.ColorPM) return;
  const _premultipliedcolor& c = *brush.ColorPM;
  if (full) {
    putColor(d, c.r, c.g, c.b, c.a, brush.BlendBorders);
  } else {
    putColor(d, scaled(c.r, coverage), scaled(c.g, coverage), scaled(c.b, coverage), scaled(c.a, coverage),
             brush.BlendBorders);
  }
}

void tm_bitmapcreator::_drawwuline(float X0, float Y0, float X1, float Y1, bool CheckBounds, bool LeftEdge,
                                   const std::shared_ptr<_internalbccolumn>& LeftColumn,
                                   const std::shared_ptr<_internalbccolumn>& RightColumn,
                                   const std::shared_ptr<_bcbrush>& Brush, bool SkipEnds) {
  const auto& column = LeftEdge ? LeftColumn : RightColumn;
  if (!column || !Brush || !finite(X0) || !finite(Y0) || !finite(X1) || !finite(Y1)) return;
  traceWuLine(X0, Y0, X1, Y1, CheckBounds, LeftEdge, *column, *Brush, SkipEnds);
}

void tm_bitmapcreator::traceWuLine(float X0, float Y0, float X1, float Y1, bool check, bool leftEdge,
                                   _internalbccolumn& column, const _bcbrush& brush, bool skipEnds) {
  const float wLast = static_cast<float>(mwidth - 1);
  const float minX = std::max(std::min(wLast, std::min(X0, X1)), -1.0f);
  const float maxX = std::min(wLast, std::max(std::max(X0, X1), 0.0f));
  auto clampX = [&](float v) { return std::min(std::max(v, minX), maxX); };

  const bool steep = std::fabs(Y1 - Y0) > std::fabs(X1 - X0);
  if (steep) {
    std::swap(X0, Y0);
    std::swap(X1, Y1);
  }
  if (X0 > X1) {
    std::swap(X0, X1);
    std::swap(Y0, Y1);
  }
  const float g = X1 == X0 ? 1.0f : (Y1 - Y0) / (X1 - X0);
  const int64_t lo = truncLong(std::min(Y0, Y1));
  const int64_t hi = truncLong(std::max(Y0, Y1));

  if (steep) {
    // One step per bitmap row; p is the edge's x on the row.
    const int64_t r0 = roundLong(X0), r1 = roundLong(X1);
    float p = Y0 - (X0 - static_cast<float>(r0)) * g;
    const int64_t first = std::max<int64_t>(r0, column.StartY);
    const int64_t last = std::min<int64_t>(r1, int64_t{column.EndY} - 1);
    p = advanceSteps(p, g, first - r0);
    for (int64_t row = first; row <= last; ++row, p += g) {
      const int64_t ip = floorLong(p);
      const float f = p - static_cast<float>(ip);
      if (check && (p < 0 || p + 1 >= static_cast<float>(mwidth))) {
        column.at(row) = clampX(p);
        continue;
      }
      if (leftEdge) {
        const float cov = 1 - f;
        if (cov > 0.1 && ip >= lo) paintEdgePixel(ip, row, cov, brush);
      } else if (f > 0.1 && ip + 1 <= hi) {
        paintEdgePixel(ip + 1, row, f, brush);
      }
      column.at(row) = clampX(p);
    }
    return;
  }

  // Shallow edge, first pass: the edge's x on every row it spans.
  {
    const int s = Y1 > Y0 ? 1 : -1;
    const int64_t ry0 = roundLong(Y0), ry1 = roundLong(Y1);
    float x = X0 - (Y0 - static_cast<float>(ry0)) / g;
    const float step = static_cast<float>(s) / g;
    if (s > 0) {
      const int64_t first = std::max<int64_t>(ry0, column.StartY);
      const int64_t last = std::min<int64_t>(ry1, int64_t{column.EndY} - 1);
      x = advanceSteps(x, step, first - ry0);
      for (int64_t row = first; row <= last; ++row, x += step) column.at(row) = clampX(x);
    } else {
      const int64_t first = std::min<int64_t>(ry0, int64_t{column.EndY} - 1);
      const int64_t last = std::max<int64_t>(ry1, column.StartY);
      x = advanceSteps(x, step, ry0 - first);
      for (int64_t row = first; row >= last; --row, x += step) column.at(row) = clampX(x);
    }
  }

  // Second pass: one step per column, painting the partly covered pixels above and below the
  // edge that lie on the outer side of the fill.
  int64_t xs = roundLong(X0), xe = roundLong(X1);
  float y = Y0 - (X0 - static_cast<float>(xs)) * g;
  if (skipEnds) {
    ++xs;
    --xe;
    y += g;
  }
  const int64_t first = std::max<int64_t>(xs, 0);
  const int64_t last = std::min<int64_t>(xe, int64_t{mwidth} - 1);
  y = advanceSteps(y, g, first - xs);
  for (int64_t x = first; x <= last; ++x, y += g) {
    const int64_t ip = floorLong(y);
    const float f = y - static_cast<float>(ip);
    if (!column.hasRow(ip) || !column.hasRow(ip + 1)) continue;
    const float e0 = column.at(ip), e1 = column.at(ip + 1);
    const float fx = static_cast<float>(x);
    const float up = 1 - f;
    if (ip >= lo && up > 0.1 && (leftEdge ? fx <= e0 + 1 : fx >= e0 - 1)) paintEdgePixel(x, ip, up, brush);
    if (ip + 1 <= hi && f > 0.1 && (leftEdge ? fx <= e1 + 1 : fx >= e1 - 1)) paintEdgePixel(x, ip + 1, f, brush);
  }
}

void tm_bitmapcreator::_drawwucircle(int32_t X, int32_t Y, int32_t Radius, bool CheckBounds, bool Inner,
                                     const std::shared_ptr<_internalbccolumn>& Column,
                                     const std::shared_ptr<_bcbrush>& Brush, int32_t L, int32_t R, int32_t T,
                                     int32_t B) {
  if (!Column || !Brush) return;
  (void)CheckBounds;  // every pixel and row is checked
  traceWuCircle(X, Y, Radius, Inner, *Column, *Brush, L, R, T, B);
}

void tm_bitmapcreator::traceWuCircle(int64_t X, int64_t Y, int64_t Radius, bool inner, _internalbccolumn& column,
                                     const _bcbrush& brush, int64_t L, int64_t R, int64_t T, int64_t B) {
  const int64_t c1 = truncLong(std::sin(Common::cPI / 4) * static_cast<double>(Radius) + 0.5);
  const int64_t c2 = truncLong(std::cos(Common::cPI / 4) * static_cast<double>(Radius) + 0.5);
  const float rr = static_cast<float>(static_cast<double>(Radius) * static_cast<double>(Radius));
  auto paint = [&](int64_t x, int64_t y, float cov) { paintEdgePixel(x, y, cov, brush); };

  // First pass, one step per row pair: the half width into the column, and the partial pixels
  // of the steep part of each quarter. Only rows of the bitmap do anything.
  const int64_t hLast = int64_t{mheight} - 1;
  Ranges rows = unionOf(Y - T - hLast, Y - T, -Y - B, hLast - Y - B, Radius);
  for (int part = 0; part < rows.n; ++part) {
    for (int64_t dy = rows.lo[part]; dy <= rows.hi[part]; ++dy) {
      const float xf =
          static_cast<float>(std::sqrt(static_cast<double>(rr) - static_cast<double>(dy) * static_cast<double>(dy)));
      const int64_t xi = truncLong(xf);
      const int64_t up = Y - dy - T, down = Y + dy + B;
      if (column.hasRow(up)) column.at(up) = static_cast<float>(xi);
      if (column.hasRow(down)) column.at(down) = static_cast<float>(xi);
      if (dy > c1) continue;
      const float f = xf - static_cast<float>(xi);
      if (inner) {
        const float cov = 1 - f;
        if (cov > 0.1) {
          paint(X + xi + R, up, cov);
          paint(X - xi - L, up, cov);
          paint(X + xi + R, down, cov);
          paint(X - xi - L, down, cov);
        }
      } else if (f > 0.1) {
        paint(X + xi + 1 + R, up, f);
        paint(X + xi + 1 + R, down, f);
        paint(X - xi - 1 - L, down, f);
        paint(X - xi - 1 - L, up, f);
      }
    }
  }

  // Second pass, one step per column pair from the 45° point to the axis: the partial pixels
  // of the flat part of each quarter. Only columns of the bitmap do anything.
  const int64_t wLast = int64_t{mwidth} - 1;
  Ranges cols = unionOf(-X - R, wLast - X - R, X - L - wLast, X - L, c2);
  for (int part = cols.n - 1; part >= 0; --part) {
    for (int64_t dx = cols.hi[part]; dx >= cols.lo[part]; --dx) {
      const float yf =
          static_cast<float>(std::sqrt(static_cast<double>(rr) - static_cast<double>(dx) * static_cast<double>(dx)));
      const int64_t yi = truncLong(yf);
      const float f = yf - static_cast<float>(yi);
      if (inner || dx == 0) {
        const float cov = 1 - f;
        if (cov > 0.1) {
          paint(X + dx + R, Y + yi + B, cov);
          paint(X + dx + R, Y - yi - T, cov);
          paint(X - dx - L, Y + yi + B, cov);
          paint(X - dx - L, Y - yi - T, cov);
        }
      } else if (f > 0.1) {
        paint(X + dx + R, Y + yi + 1 + B, f);
        paint(X - dx - L, Y + yi + 1 + B, f);
        paint(X + dx + R, Y - yi - 1 - T, f);
        paint(X - dx - L, Y - yi - 1 - T, f);
      }
    }
  }
}

void tm_bitmapcreator::_drawwuarc(int32_t X, int32_t Y, int32_t Radius, bool CheckBounds, bool Inner,
                                  const std::shared_ptr<_internalbccolumn>& LeftColumn,
                                  const std::shared_ptr<_internalbccolumn>& RightColumn,
                                  const std::shared_ptr<_bcbrush>& Brush, float StartAngle, float EndAngle) {
  if (!LeftColumn || !RightColumn || !Brush || !finite(StartAngle) || !finite(EndAngle)) return;
  (void)CheckBounds;  // every pixel and row is checked
  traceWuArc(X, Y, Radius, Inner, *LeftColumn, *RightColumn, *Brush, StartAngle, EndAngle);
}

void tm_bitmapcreator::traceWuArc(int64_t X, int64_t Y, int64_t Radius, bool inner, _internalbccolumn& left,
                                  _internalbccolumn& right, const _bcbrush& brush, float startAngle, float endAngle) {
  // Quarter q covers the angles 90q .. 90(q + 1), clockwise on screen from the positive x axis:
  // q0 below right of the centre, q1 below left, q2 above left, q3 above right.
  struct Range {
    int64_t lo = 1, hi = 0;
    bool has(int64_t v) const { return v >= lo && v <= hi; }
  };
  Range vr[4], hr[4];
  auto h = [&](double v) { return truncLong(v * static_cast<double>(Radius) + 0.5); };
  for (int q = 0; q < 4; ++q) {
    const float qs = static_cast<float>(90 * q), qe = static_cast<float>(90 * (q + 1));
    if (!(startAngle < qe && endAngle > qs)) continue;
    const double a0 = std::max(startAngle, qs) / 180.0 * Common::cPI;
    const double a1 = std::min(endAngle, qe) / 180.0 * Common::cPI;
    const int64_t v0 = h(std::fabs(std::sin(a0))), v1 = h(std::fabs(std::sin(a1)));
    const int64_t h0 = h(std::fabs(std::cos(a0))), h1 = h(std::fabs(std::cos(a1)));
    vr[q] = {std::min(v0, v1), std::max(v0, v1)};
    hr[q] = {std::min(h0, h1), std::max(h0, h1)};
  }
  // Left positions may reach -1 (the edge lies left of column 0, so the fill starts at 0).
  const float minX = static_cast<float>(std::max<int64_t>(std::min<int64_t>(int64_t{mwidth} - 1, X - Radius - 1), -1));
  const float maxX = static_cast<float>(std::min<int64_t>(int64_t{mwidth} - 1, std::max<int64_t>({X, X + Radius, 0})));
  const int64_t c1 = truncLong(std::sin(Common::cPI / 4) * static_cast<double>(Radius) + 0.5);
  const int64_t c2 = truncLong(std::cos(Common::cPI / 4) * static_cast<double>(Radius) + 0.5);
  const float rr = static_cast<float>(static_cast<double>(Radius) * static_cast<double>(Radius));
  auto paint = [&](int64_t x, int64_t y, float cov) { paintEdgePixel(x, y, cov, brush); };

  const int64_t hLast = int64_t{mheight} - 1;
  Ranges rows = unionOf(Y - hLast, Y, -Y, hLast - Y, Radius);
  for (int part = 0; part < rows.n; ++part) {
    for (int64_t dy = rows.lo[part]; dy <= rows.hi[part]; ++dy) {
      const float xf =
          static_cast<float>(std::sqrt(static_cast<double>(rr) - static_cast<double>(dy) * static_cast<double>(dy)));
      const int64_t xi = truncLong(xf);
      const int64_t up = Y - dy, down = Y + dy;
      const float lx = std::max(minX, static_cast<float>(X - xi - 1));
      const float rx = std::min(maxX, static_cast<float>(X + xi));
      if (vr[2].has(dy) && left.hasRow(up)) left.at(up) = lx;
      if (vr[3].has(dy) && right.hasRow(up)) right.at(up) = rx;
      if (vr[1].has(dy) && left.hasRow(down)) left.at(down) = lx;
      if (vr[0].has(dy) && right.hasRow(down)) right.at(down) = rx;
      if (dy > c1) continue;
      const float f = xf - static_cast<float>(xi);
      if (inner) {
        const float cov = 1 - f;
        if (cov > 0.1) {
          if (vr[3].has(dy)) paint(X + xi, up, cov);
          if (vr[2].has(dy)) paint(X - xi, up, cov);
          if (vr[0].has(dy)) paint(X + xi, down, cov);
          if (vr[1].has(dy)) paint(X - xi, down, cov);
        }
      } else if (f > 0.1) {
        if (vr[3].has(dy)) paint(X + xi + 1, up, f);
        if (vr[0].has(dy)) paint(X + xi + 1, down, f);
        if (vr[1].has(dy)) paint(X - xi - 1, down, f);
        if (vr[2].has(dy)) paint(X - xi - 1, up, f);
      }
    }
  }

  const int64_t wLast = int64_t{mwidth} - 1;
  Ranges cols = unionOf(-X, wLast - X, X - wLast, X, c2);
  for (int part = cols.n - 1; part >= 0; --part) {
    for (int64_t dx = cols.hi[part]; dx >= cols.lo[part]; --dx) {
      const float yf =
          static_cast<float>(std::sqrt(static_cast<double>(rr) - static_cast<double>(dx) * static_cast<double>(dx)));
      const int64_t yi = truncLong(yf);
      const float f = yf - static_cast<float>(yi);
      if (inner || dx == 0) {
        const float cov = 1 - f;
        if (cov > 0.1) {
          if (hr[0].has(dx)) paint(X + dx, Y + yi, cov);
          if (hr[3].has(dx)) paint(X + dx, Y - yi, cov);
          if (hr[1].has(dx)) paint(X - dx, Y + yi, cov);
          if (hr[2].has(dx)) paint(X - dx, Y - yi, cov);
        }
      } else if (f > 0.1) {
        if (hr[0].has(dx)) paint(X + dx, Y + yi + 1, f);
        if (hr[1].has(dx)) paint(X - dx, Y + yi + 1, f);
        if (hr[3].has(dx)) paint(X + dx, Y - yi - 1, f);
        if (hr[2].has(dx)) paint(X - dx, Y - yi - 1, f);
      }
    }
  }
}

}  // namespace tmr

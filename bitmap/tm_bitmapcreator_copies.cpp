// Copies from one bitmap creator into another: plain (blended or not), scaled and rotated,
// platform bitmaps stretched into a rectangle, and single pixels.
//
// Reads never leave the source: a source rectangle reaching outside the source bitmap is cut to
// it (the part inside lands where it would have landed), and a copy of a bitmap creator onto
// itself reads a snapshot of the source pixels.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "bitmap/NumericRules.h"
#include "bitmap/PixelKernels.h"
#include "bitmap/tm_bitmapcreator.h"
#include "platform/core/Common.h"

namespace tmr {

using namespace bcnum;

namespace {
bool finiteRect(const Rect& r) { return finite(r.Left) && finite(r.Top) && finite(r.Right) && finite(r.Bottom); }

// Reads m source pixels along a slanted walk that starts at offsets (u, v) from (fL, fT) and
// moves by (du, dv) per pixel; u and v are left at the next pixel's offsets. A function of its
// own so that the walk stays in registers.
struct SlantedWalk {
  const uint32_t* from;
  int32_t stride;
  float fL, fT, du, dv;
  int32_t xMin, xMax, yMin, yMax;
};
__attribute__((noinline)) void gatherSlanted(const SlantedWalk& w, uint32_t* to, int64_t m, float& uRef, float& vRef) {
  const uint32_t* const from = w.from;
  const int32_t stride = w.stride, xMin = w.xMin, xMax = w.xMax, yMin = w.yMin, yMax = w.yMax;
  const float fL = w.fL, fT = w.fT, du = w.du, dv = w.dv;
  float u = uRef, v = vRef;
  for (int64_t i = 0; i < m; ++i) {
    const int32_t spx = std::clamp(static_cast<int32_t>(fL + u), xMin, xMax);
    const int32_t spy = std::clamp(static_cast<int32_t>(fT + v), yMin, yMax);
    to[i] = from[spy * stride + spx];
    u += du;
    v += dv;
  }
  uRef = u;
  vRef = v;
}
}  // namespace

void tm_bitmapcreator::_drawbitmapcreator(const std::shared_ptr<tm_bitmapcreator>& Source, const Rect& SrcRect,
                                          int32_t TargetX, int32_t TargetY, bool SkipBlending) {
  if (!Source || !finiteRect(SrcRect)) return;
  int64_t tx = TargetX, ty = TargetY;
  if (ty >= mheight || tx >= mwidth) return;
  if (static_cast<float>(TargetX) + SrcRect.Width() < 0 || static_cast<float>(TargetY) + SrcRect.Height() < 0) return;
  int64_t sl = truncLong(SrcRect.Left), st = truncLong(SrcRect.Top);
  if (tx < 0) sl -= tx, tx = 0;
  if (ty < 0) st -= ty, ty = 0;
  int64_t width = truncLong(SrcRect.Right - static_cast<float>(sl));
  int64_t height = truncLong(SrcRect.Bottom - static_cast<float>(st));
  if (sl < 0) tx -= sl, width += sl, sl = 0;
  if (st < 0) ty -= st, height += st, st = 0;
  const tm_bitmapcreator& src = *Source;
  const int64_t lastX = std::min({int64_t{mwidth} - 1 - tx, width - 1, int64_t{src.mwidth} - 1 - sl});
  const int64_t lastY = std::min({int64_t{mheight} - 1 - ty, height - 1, int64_t{src.mheight} - 1 - st});
  if (lastX < 0 || lastY < 0) return;
  const int64_t n = lastX + 1, rows = lastY + 1;

  if (SkipBlending && tx == 0 && ty == 0 && sl == 0 && st == 0 && width == mwidth && height == mheight &&
      width == src.mwidth && height == src.mheight) {
    if (&src != this) std::memcpy(mbuffer.data(), src.mbuffer.data(), static_cast<size_t>(mbuffer.Length()));
    return;
  }
  const uint8_t* sbase = src.mbuffer.data();
  std::vector<uint8_t> snapshot;
  int64_t sstride = src.mwidth;
  if (&src == this) {
    snapshot.resize(static_cast<size_t>(n * rows * 4));
    for (int64_t y = 0; y < rows; ++y)
      std::memcpy(snapshot.data() + y * n * 4, sbase + ((st + y) * sstride + sl) * 4, static_cast<size_t>(n) * 4);
    sbase = snapshot.data();
    sstride = n;
    sl = st = 0;
  }
  if (SkipBlending) {
    bckernels::copyRect(pixelAt(tx, ty), int64_t{mwidth} * 4, sbase + (st * sstride + sl) * 4, sstride * 4, n, rows);
    return;
  }
  for (int64_t y = 0; y < rows; ++y) bckernels::blendRun(pixelAt(tx, ty + y), sbase + ((st + y) * sstride + sl) * 4, n);
}

void tm_bitmapcreator::_drawbitmapcreatortransformed(const std::shared_ptr<_drawtask>& Task) {
  if (!Task) return;
  auto src = Task->Source.As<tm_bitmapcreator>();
  if (!src) return;
  drawTransformed(*src, Task->SrcRect, Task->TargetX, Task->TargetY, Task->SkipBlending, Task->SrcScaleX,
                  Task->SrcScaleY, Task->Degrees);
}

void tm_bitmapcreator::drawTransformed(const tm_bitmapcreator& source, const Rect& srcRect, int32_t targetX,
                                       int32_t targetY, bool skipBlending, float sx, float sy, int32_t degrees) {
  // A scale that is not a positive number has nothing to draw.
  if (!finiteRect(srcRect) || !finite(sx) || !finite(sy) || !(sx > 0) || !(sy > 0)) return;
  const int32_t d = ((degrees % 360) + 360) % 360;
  const int64_t W = truncLong(srcRect.Width()), H = truncLong(srcRect.Height());
  const int64_t L = truncLong(srcRect.Left), R = truncLong(srcRect.Right);
  const int64_t T = truncLong(srcRect.Top), B = truncLong(srcRect.Bottom);
  const int64_t w = clampCoord(truncLong(static_cast<float>(W) * sx));
  const int64_t h = clampCoord(truncLong(static_cast<float>(H) * sy));
  if (w <= 0 || h <= 0) return;

  // Reads stay inside both the source rectangle and the source bitmap.
  const int64_t readL = std::max<int64_t>(L, 0), readR = std::min<int64_t>(R, source.mwidth);
  const int64_t readT = std::max<int64_t>(T, 0), readB = std::min<int64_t>(B, source.mheight);
  if (readL >= readR || readT >= readB) return;
  const uint8_t* sbase = source.mbuffer.data();
  std::vector<uint8_t> snapshot;
  if (&source == this) {
    snapshot.assign(sbase, sbase + mbuffer.Length());
    sbase = snapshot.data();
  }
  const int64_t sstride = source.mwidth;

  const double rad = d * Common::cPI / 180;
  const float s = static_cast<float>(std::sin(rad)), c = static_cast<float>(std::cos(rad));
  const float fw = static_cast<float>(w), fh = static_cast<float>(h);
  const float px[4] = {0, fw * c, fw * c - fh * s, -fh * s};
  const float py[4] = {0, fw * s, fw * s + fh * c, fh * c};
  struct Pt {
    int64_t x, y;
  };
  Pt p[4];
  for (int i = 0; i < 4; ++i) p[i] = {truncLong(px[i]), truncLong(py[i])};
  // Corners named by where they lie after the clockwise rotation.
  const int first = d < 90 ? 0 : d < 180 ? 3 : d < 270 ? 2 : 1;
  const Pt top = p[first], right = p[(first + 1) % 4], bottom = p[(first + 2) % 4], left = p[(first + 3) % 4];
  const float cx = d < 270 ? px[2] / 2 : static_cast<float>(p[2].x) / 2;
  const float cy = d < 270 ? py[2] / 2 : static_cast<float>(p[2].y) / 2;
  const int64_t OX = clampCoord(roundLong(static_cast<float>(targetX) - cx));
  const int64_t OY = clampCoord(roundLong(static_cast<float>(targetY) - cy));

  std::vector<uint8_t> row;
  auto emit = [&](int64_t x0, int64_t y, const uint8_t* pixels, int64_t n) {
    uint8_t* dst = pixelAt(OX + x0, OY + y);
    if (skipBlending) {
      bckernels::copyOpaqueRun(dst, pixels, n);
    } else {
      bckernels::blendRun(dst, pixels, n);
    }
  };

  if (d % 90 == 0) {
    const int64_t rowFirst = std::max(-OY, top.y), rowEnd = std::min(int64_t{mheight} - OY, bottom.y);
    const int64_t colFirst = std::max(-OX, left.x), colEnd = std::min(int64_t{mwidth} - OX, right.x);
    if (rowFirst >= rowEnd || colFirst >= colEnd) return;
    const float stepX = 1 / sx, stepY = 1 / sy;
    // Where the walks start and which way they go: at 0° and 180° the target's columns walk
    // the source's x; at 90° and 270° its rows do.
    float colStart, colStep, rowStart, rowStep;
    bool rowsWalkX = false;
    switch (d) {
      case 0:
        colStart = static_cast<float>(L), colStep = stepX, rowStart = static_cast<float>(T), rowStep = stepY;
        break;
      case 180:
        colStart = R - stepX, colStep = -stepX, rowStart = B - stepY, rowStep = -stepY;
        break;
      case 90:
        rowStart = static_cast<float>(L), rowStep = stepX, colStart = B - stepY, colStep = -stepY, rowsWalkX = true;
        break;
      default:
        rowStart = R - stepX, rowStep = -stepX, colStart = static_cast<float>(T), colStep = stepY, rowsWalkX = true;
        break;
    }
    const int64_t colLo = rowsWalkX ? readT : readL, colHi = rowsWalkX ? readB : readR;
    const int64_t rowLo = rowsWalkX ? readL : readT, rowHi = rowsWalkX ? readR : readB;
    // The source coordinate of every target column; the walk is monotone, so the columns that
    // read inside the source form one range k0 .. k1.
    const int64_t ncols = colEnd - colFirst;
    std::vector<int64_t> srcCol(static_cast<size_t>(ncols));
    float pos = advanceSteps(colStart, colStep, colFirst - left.x);
    int64_t k0 = ncols, k1 = -1;
    for (int64_t k = 0; k < ncols; ++k, pos += colStep) {
      const int64_t v = truncLong(pos);
      srcCol[static_cast<size_t>(k)] = v;
      if (v >= colLo && v < colHi) k0 = std::min(k0, k), k1 = k;
    }
    if (k0 > k1) return;
    const int64_t n = k1 - k0 + 1;
    // Pixel offsets (in pixels) of the columns' sources from the start of the row or column.
    std::vector<int32_t> offs(static_cast<size_t>(n));
    bool contiguous = !rowsWalkX;
    for (int64_t k = 0; k < n; ++k) {
      const int64_t v = std::clamp(srcCol[static_cast<size_t>(k0 + k)], colLo, colHi - 1);
      offs[static_cast<size_t>(k)] = static_cast<int32_t>(rowsWalkX ? v * sstride : v);
      if (k > 0 && offs[static_cast<size_t>(k)] != offs[static_cast<size_t>(k - 1)] + 1) contiguous = false;
    }
    row.resize(static_cast<size_t>(n) * 4);
    // The target rows with the source line each reads.
    std::vector<std::pair<int64_t, int64_t>> lines;
    float rpos = advanceSteps(rowStart, rowStep, rowFirst - top.y);
    for (int64_t y = rowFirst; y < rowEnd; ++y, rpos += rowStep) {
      const int64_t rv = truncLong(rpos);
      if (rv >= rowLo && rv < rowHi) lines.emplace_back(y, rv);
    }
    if (!rowsWalkX) {
      // Each target row reads along one source row: row by row, reusing a gathered row for the
      // repeated rows of an enlargement.
      int64_t gathered = -1;
      for (auto [y, rv] : lines) {
        const uint8_t* line = sbase + rv * sstride * 4;
        if (contiguous) {
          emit(colFirst + k0, y, line + static_cast<int64_t>(offs[0]) * 4, n);
          continue;
        }
        if (rv != gathered) {
          const uint32_t* from = reinterpret_cast<const uint32_t*>(line);
          uint32_t* to = reinterpret_cast<uint32_t*>(row.data());
          for (int64_t i = 0; i < n; ++i) to[i] = from[offs[static_cast<size_t>(i)]];
          gathered = rv;
        }
        emit(colFirst + k0, y, row.data(), n);
      }
      return;
    }
    // Each target row reads down one source column: tiles of a few rows by a few dozen columns
    // keep the source lines they read in the cache.
    constexpr size_t kBand = 16;
    constexpr int64_t kChunk = 64;
    for (size_t b = 0; b < lines.size(); b += kBand) {
      const size_t bEnd = std::min(lines.size(), b + kBand);
      for (int64_t c0 = 0; c0 < n; c0 += kChunk) {
        const int64_t m = std::min(kChunk, n - c0);
        for (size_t li = b; li < bEnd; ++li) {
          const auto [y, rv] = lines[li];
          const uint32_t* from = reinterpret_cast<const uint32_t*>(sbase + rv * 4);
          uint32_t* to = reinterpret_cast<uint32_t*>(row.data());
          for (int64_t i = 0; i < m; ++i) to[i] = from[offs[static_cast<size_t>(c0 + i)]];
          emit(colFirst + k0 + c0, y, row.data(), m);
        }
      }
    }
    return;
  }

  // Other angles: each row's span comes from the rotated rectangle's edges, and the source
  // position walks across the source incrementally.
  const float t = static_cast<float>(std::tan(rad));
  const float k = c + t * s;
  const float du = (1 / k) / sx, dv = -(t / k) / sy;
  auto edgeX = [](Pt a, Pt b, int64_t y) {
    // A rotated edge that became horizontal after truncation takes its first corner's x.
    if (a.y == b.y) return a.x;
    return truncLong(static_cast<double>(a.x) +
                     static_cast<double>(y - a.y) * static_cast<double>(b.x - a.x) / static_cast<double>(b.y - a.y));
  };
  const int64_t rowFirst = std::max(-OY, top.y), rowLast = std::min(int64_t{mheight} - 1 - OY, bottom.y - 1);
  const bool rectInside = L >= 0 && T >= 0 && R <= source.mwidth && B <= source.mheight && R - L == W && B - T == H &&
                          W < (int64_t{1} << 24) && H < (int64_t{1} << 24);
  row.resize(static_cast<size_t>(std::max(mwidth, 0)) * 4 + 4);
  // Each row's span and the source offsets of its first pixel.
  struct RowWalk {
    int64_t r, x, end;
    float u, v;
  };
  std::vector<RowWalk> walks;
  for (int64_t r = rowFirst; r <= rowLast; ++r) {
    int64_t xl = r > left.y ? edgeX(left, bottom, r) : edgeX(top, left, r);
    int64_t xr = r > right.y ? edgeX(right, bottom, r) : edgeX(top, right, r);
    xl = std::max(-OX, xl);
    xr = std::min(int64_t{mwidth} - OX, xr);
    if (xl > xr - 1) continue;
    const float fxl = static_cast<float>(xl), fr = static_cast<float>(r);
    const float u = std::min(std::max((fxl + fr * t) / k, 0.0f), static_cast<float>(w - 1)) / sx;
    const float v = std::min(std::max((fr - fxl * t) / k, 0.0f), static_cast<float>(h - 1)) / sy;
    while (xl <= xr - 1) {
      const float lastU = u + du * static_cast<float>(xr - 1 - xl);
      if (lastU < 0 || lastU >= static_cast<double>(W) - 0.1) {
        --xr;
      } else {
        break;
      }
    }
    while (xl <= xr - 1) {
      const float lastV = v + dv * static_cast<float>(xr - 1 - xl);
      if (lastV < 0 || lastV >= static_cast<double>(H) - 0.1) {
        --xr;
      } else {
        break;
      }
    }
    if (xl < xr) walks.push_back({r, xl, xr, u, v});
  }
  if (rectInside) {
    // Every read lies in the source rectangle (the trimming above sees to it); the clamp only
    // guards the buffer against rounding in the stepped offsets.
    const SlantedWalk walk{reinterpret_cast<const uint32_t*>(sbase),
                           static_cast<int32_t>(sstride),
                           static_cast<float>(L),
                           static_cast<float>(T),
                           du,
                           dv,
                           static_cast<int32_t>(readL),
                           static_cast<int32_t>(readR - 1),
                           static_cast<int32_t>(readT),
                           static_cast<int32_t>(readB - 1)};
    for (RowWalk& wk : walks) {
      gatherSlanted(walk, reinterpret_cast<uint32_t*>(row.data()), wk.end - wk.x, wk.u, wk.v);
      emit(wk.x, wk.r, row.data(), wk.end - wk.x);
    }
    return;
  }
  for (RowWalk& wk : walks) {
    float u = wk.u, v = wk.v;
    int64_t m = 0, runStart = wk.x;
    for (int64_t x = wk.x; x < wk.end; ++x, u += du, v += dv) {
      const int64_t spx = truncLong(static_cast<float>(L) + u), spy = truncLong(static_cast<float>(T) + v);
      if (spx < readL || spx >= readR || spy < readT || spy >= readB) {
        if (m > 0) emit(runStart, wk.r, row.data(), m);
        m = 0;
        runStart = x + 1;
        continue;
      }
      std::memcpy(row.data() + m * 4, sbase + (spy * sstride + spx) * 4, 4);
      ++m;
    }
    if (m > 0) emit(runStart, wk.r, row.data(), m);
  }
}

void tm_bitmapcreator::_drawbitmap(const std::shared_ptr<Bitmap>& Bmp, const Rect& TargetRect, bool SkipBlending) {
  if (!Bmp || !finiteRect(TargetRect)) return;
  const float tw = TargetRect.Width(), th = TargetRect.Height();
  // A target under one pixel wide or high holds no pixel.
  if (!(tw >= 1) || !(th >= 1)) return;
  const int64_t left = truncLong(TargetRect.Left), top = truncLong(TargetRect.Top);
  std::shared_ptr<Bitmap> image = Bmp;
  int64_t x0 = 0, y0 = 0;
  if (Bmp->Width() != tw || Bmp->Height() != th) {
    // Stretched to the rectangle; only the part that lands on this bitmap is made, so a huge
    // rectangle costs no more than the bitmap.
    const int64_t W = truncLong(tw), H = truncLong(th);
    x0 = std::max<int64_t>(0, -left), y0 = std::max<int64_t>(0, -top);
    const int64_t x1 = std::min<int64_t>(W, int64_t{mwidth} - left), y1 = std::min<int64_t>(H, int64_t{mheight} - top);
    if (x1 <= x0 || y1 <= y0) return;
    image = Bmp->ResizedPart(W, H, x0, y0, static_cast<int>(x1 - x0), static_cast<int>(y1 - y0));
  }
  auto bc = std::make_shared<tm_bitmapcreator>();
  bc->_initialize(Module::bi, truncInt(image->Width()), truncInt(image->Height()));
  bc->_copypixelsfrombitmap(image);
  _drawbitmapcreator(bc, Rect(0, 0, static_cast<float>(bc->mwidth), static_cast<float>(bc->mheight)),
                     truncInt(static_cast<double>(left + x0)), truncInt(static_cast<double>(top + y0)), SkipBlending);
}

void tm_bitmapcreator::_copypixel(const std::shared_ptr<tm_bitmapcreator>& Source, int32_t SrcX, int32_t SrcY,
                                  int32_t TargetX, int32_t TargetY) {
  if (!Source || !Source->inside(SrcX, SrcY) || !inside(TargetX, TargetY)) return;
  std::memmove(pixelAt(TargetX, TargetY), Source->pixelAt(SrcX, SrcY), 4);
}

void tm_bitmapcreator::_copypixelignoresemitransparent(const std::shared_ptr<tm_bitmapcreator>& Source, int32_t SrcX,
                                                       int32_t SrcY, int32_t TargetX, int32_t TargetY,
                                                       bool SkipBlending) {
  if (!SkipBlending) {
    _blendpixel(Source, SrcX, SrcY, TargetX, TargetY);
    return;
  }
  if (!Source || !Source->inside(SrcX, SrcY) || !inside(TargetX, TargetY)) return;
  const uint8_t* s = Source->pixelAt(SrcX, SrcY);
  if (s[3] != 0) std::memmove(pixelAt(TargetX, TargetY), s, 4);
}

void tm_bitmapcreator::_replacesemitransparentpixels(const Rect& R, int32_t Color) {
  if (!finiteRect(R)) return;
  const int64_t x0 = truncLong(std::max(R.Left, 0.0f));
  const int64_t x1 = truncLong(std::min(static_cast<float>(mwidth - 1), R.Right - 1));
  const int64_t y0 = truncLong(std::max(R.Top, 0.0f));
  const int64_t y1 = truncLong(std::min(static_cast<float>(mheight - 1), R.Bottom - 1));
  if (x0 > x1 || y0 > y1) return;
  _argbtopremultipliedcolor(_colortoargb(Color, tempargb), temppm);
  const uint8_t pm[4] = {static_cast<uint8_t>(temppm->r), static_cast<uint8_t>(temppm->g),
                         static_cast<uint8_t>(temppm->b), static_cast<uint8_t>(temppm->a)};
  for (int64_t y = y0; y <= y1; ++y) {
    uint8_t* p = pixelAt(x0, y);
    for (int64_t x = x0; x <= x1; ++x, p += 4)
      if (p[3] != 0 && p[3] != 255) std::memcpy(p, pm, 4);
  }
}

}  // namespace tmr

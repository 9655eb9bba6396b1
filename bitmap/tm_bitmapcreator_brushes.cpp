// Brushes and horizontal spans: every filled shape ends in fillSpan.
#include <algorithm>
#include <cstring>

#include "bitmap/NumericRules.h"
#include "bitmap/PixelKernels.h"
#include "bitmap/tm_bitmapcreator.h"

namespace tmr {

namespace {

inline uint32_t packPixel(const _premultipliedcolor& c) { return bckernels::packPixel(c.r, c.g, c.b, c.a); }

inline int64_t positiveRemainder(int64_t v, int64_t m) {
  int64_t r = v % m;
  return r < 0 ? r + m : r;
}

}  // namespace

std::shared_ptr<_bcbrush> tm_bitmapcreator::_createbrushfromcolor(int32_t Color) {
  auto strip = std::make_shared<tm_bitmapcreator>();
  strip->_initialize(Module::bi, mwidth, 1);
  auto pm = _argbtopremultipliedcolor(_colortoargb(Color, std::make_shared<_argbcolor>()),
                                      std::make_shared<_premultipliedcolor>());
  bckernels::fillRun(strip->mbuffer.data(), packPixel(*pm), strip->mwidth);
  auto brush = std::make_shared<_bcbrush>();
  brush->Source = strip;
  brush->IsColorSource = true;
  brush->BlendBorders = true;
  brush->ColorPM = pm;
  return brush;
}

std::shared_ptr<_bcbrush> tm_bitmapcreator::_createbrushfrombitmapcreator(const std::shared_ptr<tm_bitmapcreator>& BC) {
  auto brush = std::make_shared<_bcbrush>();
  brush->Source = BC;
  brush->BlendBorders = true;
  return brush;
}

std::shared_ptr<_bcbrush> tm_bitmapcreator::_createbrushfrombitmap(const std::shared_ptr<Bitmap>& Bmp) {
  auto bc = std::make_shared<tm_bitmapcreator>();
  bc->_initialize(Module::bi, Bmp ? bcnum::truncInt(Bmp->Width()) : 0, Bmp ? bcnum::truncInt(Bmp->Height()) : 0);
  if (Bmp) bc->_copypixelsfrombitmap(Bmp);
  return _createbrushfrombitmapcreator(bc);
}

void tm_bitmapcreator::_fillhorizontalline(int32_t X1, int32_t X2, int32_t Y, const std::shared_ptr<_bcbrush>& Brush) {
  if (Brush) fillSpan(X1, X2, Y, *Brush);
}

void tm_bitmapcreator::fillSpan(int64_t x1, int64_t x2, int64_t y, const _bcbrush& brush) {
  // Spans outside the bitmap are clipped away, so that no caller can write past the buffer.
  if (y < 0 || y >= mheight) return;
  x1 = std::max<int64_t>(x1, 0);
  x2 = std::min<int64_t>(x2, mwidth);
  int64_t n = x2 - x1;
  if (n <= 0) return;
  uint8_t* d = pixelAt(x1, y);
  if (brush.IsColorSource) {
    // The colour's premultiplied pixel, for any length: a brush made by a narrower bitmap
    // creator paints the same pixels as its strip would.
    if (brush.ColorPM) {
      bckernels::fillRun(d, packPixel(*brush.ColorPM), n);
    } else if (brush.Source && brush.Source->mbuffer.Length() >= 4) {
      uint32_t v;
      std::memcpy(&v, brush.Source->mbuffer.data(), 4);
      bckernels::fillRun(d, v, n);
    }
    return;
  }
  const tm_bitmapcreator* src = brush.Source.get();
  if (!src || src->mwidth <= 0 || src->mheight <= 0) return;  // an empty pattern paints nothing
  const int64_t sw = src->mwidth;
  int64_t sx = positiveRemainder(x1 - brush.SrcOffsetX, sw);
  int64_t sy = positiveRemainder(y - brush.SrcOffsetY, src->mheight);
  const uint8_t* srow = src->mbuffer.data() + sy * sw * 4;
  std::vector<uint8_t> ownRow;
  if (src == this) {
    // The pattern is this very buffer: paint from a copy of its row.
    ownRow.assign(srow, srow + sw * 4);
    srow = ownRow.data();
  }
  if (brush.BlendAll) {
    while (n > 0) {
      int64_t m = std::min(n, sw - sx);
      bckernels::blendRun(d, srow + sx * 4, m);
      d += m * 4;
      n -= m;
      sx = 0;
    }
    return;
  }
  if (sw - sx > n) {
    std::memcpy(d, srow + sx * 4, static_cast<size_t>(n) * 4);
    return;
  }
  // The pattern tiles: the first pieces come from the pattern row; once one whole period
  // starting at pattern column 0 has been written (from p0 on), the rest of the span repeats
  // what is already there, in blocks that double, each a whole number of periods long.
  uint8_t* start = d;
  const int64_t p0 = (sw - sx) % sw;
  int64_t written = 0;
  while (n > 0 && written < p0 + sw) {
    int64_t m = std::min(n, sw - sx);
    std::memcpy(d, srow + sx * 4, static_cast<size_t>(m) * 4);
    d += m * 4;
    n -= m;
    written += m;
    sx = 0;
  }
  while (n > 0) {
    int64_t m = std::min(n, written - p0);
    std::memcpy(d, start + p0 * 4, static_cast<size_t>(m) * 4);
    d += m * 4;
    n -= m;
    written += m;
  }
}

}  // namespace tmr

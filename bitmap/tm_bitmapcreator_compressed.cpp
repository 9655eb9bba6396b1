// Compressed bitmaps: rows of runs (transparent, solid, or 40 pixels of one cached colour), made
// from a rectangle of the buffer, drawn back as block copies of their opaque runs, mirrored, or
// drawn rotated with four samples per source pixel.
//
// Reads never leave their buffers: pixels outside this buffer extract as transparent, and a
// compressed bitmap is checked whole before anything of it is drawn: one whose runs, pixel
// indices or cache slots do not fit each other raises a RuntimeError and draws nothing.
#include <emmintrin.h>
#include <xmmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "bitmap/NumericRules.h"
#include "bitmap/PixelKernels.h"
#include "bitmap/tm_bitmapcreator.h"
#include "platform/core/Common.h"
#include "platform/core/RuntimeError.h"

namespace tmr {

using namespace bcnum;

namespace {

bool finiteRect(const Rect& r) { return finite(r.Left) && finite(r.Top) && finite(r.Right) && finite(r.Bottom); }

constexpr int32_t kTransparent = 0;
constexpr int32_t kSolid = 1;
constexpr int32_t kCached = 40;  // the kind of a cached run, and its length
constexpr int64_t kSlotBytes = 40 * 4;
// The largest source, in samples with its border, that a rotated draw walks whole.
constexpr int64_t kWalkedSamples = int64_t{1} << 22;

inline int32_t runLength(int32_t kind, int32_t value) { return kind == kCached ? kCached : value; }

// Throws unless every row of cbc is a start index followed by (kind, value) pairs whose kinds
// are known, whose lengths are positive and add up to at most 2^31 - 1, whose solid pixels lie
// in mBuffer from the row's start index on, and whose cache slots lie in the cache. After this
// the drawing code reads every run without further checks. Rows may cover less or more than
// mWidth (the drawing clips to it), and there may be fewer rows than mHeight (the missing ones
// draw nothing), as the extraction of a rectangle with fractional edges gives.
void checkCompressed(const _compressedbc& cbc) {
  if (cbc.mWidth < 0 || cbc.mHeight < 0)
    throw RuntimeError("Malformed compressed bitmap: size " + std::to_string(cbc.mWidth) + "x" +
                       std::to_string(cbc.mHeight));
  const int64_t pixels = cbc.mBuffer.Length() / 4;
  const int64_t slotBytes = cbc.Cache ? cbc.Cache->mBuffer.Length() : 0;
  for (size_t r = 0; r < cbc.Rows.size(); ++r) {
    const auto& row = cbc.Rows[r];
    auto fault = [&](size_t word, const std::string& what) {
      throw RuntimeError("Malformed compressed bitmap: row " + std::to_string(r) + ", word " + std::to_string(word) +
                         ": " + what);
    };
    if (row.empty()) fault(0, "no start index");
    if (row.size() % 2 == 0) fault(row.size() - 1, "a run kind without a value");
    int64_t index = row[0], covered = 0;
    if (index < 0 || index > pixels)
      fault(0, "start index " + std::to_string(index) + " outside the " + std::to_string(pixels) + " stored pixels");
    for (size_t w = 1; w < row.size(); w += 2) {
      const int32_t kind = row[w] & 0xFF, value = row[w + 1];
      if (kind == kCached) {
        if (value < 0 || value + kSlotBytes > slotBytes)
          fault(w + 1, "cache slot at byte " + std::to_string(value) + " outside the cache's " +
                           std::to_string(slotBytes) + " bytes");
      } else if (kind == kTransparent || kind == kSolid) {
        if (value <= 0) fault(w + 1, "run length " + std::to_string(value));
        if (kind == kSolid && (index += value) > pixels)
          fault(w + 1, "solid pixels up to " + std::to_string(index) + " past the " + std::to_string(pixels) +
                           " stored pixels");
      } else {
        fault(w, "unknown run kind " + std::to_string(kind));
      }
      covered += runLength(kind, value);
      if (covered > std::numeric_limits<int32_t>::max()) fault(w + 1, "runs longer than 2^31 - 1 pixels");
    }
  }
}

}  // namespace

std::shared_ptr<_compressedbc> tm_bitmapcreator::_extractcompressedbc(
    const Rect& R, const std::shared_ptr<_internalcompressedbccache>& Cache) {
  auto cbc = std::make_shared<_compressedbc>();
  cbc->IsInitialized = true;
  cbc->Cache = Cache;
  if (!finiteRect(R)) return cbc;
  const int64_t L = clampCoord(truncLong(R.Left)), Rt = clampCoord(truncLong(R.Right));
  const int64_t T = clampCoord(truncLong(R.Top)), B = clampCoord(truncLong(R.Bottom));
  cbc->mWidth = std::max(0, truncInt(R.Width()));
  cbc->mHeight = std::max(0, truncInt(R.Height()));
  cbc->TargetRect = Rect(0, 0, static_cast<float>(cbc->mWidth), static_cast<float>(cbc->mHeight));
  // Only a cache with an initialised colour map takes colours.
  auto cacheOpen = [&] {
    return Cache && Cache->ColorsMap.IsInitialized() && Cache->ColorsMap.Size() < max_same_color_size;
  };
  bool open = cacheOpen();
  const int32_t threshold = alphathresholdforcbcextraction;
  const int64_t runLen = same_color_length_for_cache;

  std::vector<uint8_t> solid;  // the pixels of the solid runs, in order
  std::vector<int32_t> row;    // the row being encoded; grows as it needs
  int64_t lastKey = -1, lastOffset = -1;
  const uint8_t kClearPixel[4] = {0, 0, 0, 0};
  auto pixel = [&](int64_t x, int64_t y) -> const uint8_t* { return inside(x, y) ? pixelAt(x, y) : kClearPixel; };
  // Appends the solid pixels x0 .. x0 + n - 1 of row y.
  auto keepSolid = [&](int64_t x0, int64_t y, int64_t n) {
    for (int64_t x = x0; x < x0 + n; ++x) solid.insert(solid.end(), pixel(x, y), pixel(x, y) + 4);
  };

  for (int64_t y = T; y < B; ++y) {
    row.assign(1, static_cast<int32_t>(solid.size() / 4));
    int64_t runEnd = L - 1;  // the last pixel covered by the runs written so far
    int32_t current = kTransparent;
    int64_t count = 0;
    bool haveRef = false;
    uint8_t ref[4] = {0, 0, 0, 0};
    auto writeRun = [&](int32_t kind, int64_t length) {
      row.push_back(kind);
      row.push_back(static_cast<int32_t>(length));
    };
    const bool rowInside = y >= 0 && y < mheight;
    for (int64_t x = L; x < Rt; ++x) {
      if (x != L && current == kTransparent && (!rowInside || x < 0 || x >= mwidth)) {
        // Outside the buffer every pixel is transparent and only lengthens the current
        // transparent run: go straight to the next pixel inside it.
        x = (rowInside && x < 0 ? std::min<int64_t>(0, Rt) : Rt) - 1;
        continue;
      }
      const uint8_t* p = pixel(x, y);
      const int32_t a = p[3];
      const int32_t kind = (a == 255 || (a != 0 && a > threshold)) ? kSolid : kTransparent;
      if (x == L) current = kind;
      bool cachedHere = false;
      if (kind == kSolid && open) {
        if (haveRef && std::memcmp(p, ref, 4) == 0) {
          ++count;
        } else {
          count = 1;
          std::memcpy(ref, p, 4);
          haveRef = true;
        }
        if (count == runLen) {
          if (x - runEnd > runLen) {
            const int64_t prefix = x - runEnd - runLen;
            writeRun(kSolid, prefix);
            keepSolid(runEnd + 1, y, prefix);
          }
          // Alpha in the top byte: every colour has a key of its own.
          const int64_t key = (int64_t{p[3]} << 24) | (int64_t{p[0]} << 16) | (int64_t{p[1]} << 8) | p[2];
          int64_t offset = lastOffset;
          if (key != lastKey) {
            Map& map = Cache->ColorsMap;
            offset = map.GetDefault(Object(key), Object(-1)).AsLong();
            if (offset < 0) {
              offset = int64_t{map.Size()} * kSlotBytes;
              auto& bytes = Cache->mBuffer.shared()->bytes;
              if (static_cast<int64_t>(bytes.size()) < offset + kSlotBytes)
                bytes.resize(static_cast<size_t>(
                    std::max<int64_t>(offset + kSlotBytes, int64_t{max_same_color_size} * kSlotBytes)));
              for (int64_t i = 0; i < runLen; ++i)
                std::memcpy(bytes.data() + offset + i * 4, pixel(x - runLen + 1 + i, y), 4);
              map.Put(Object(key), Object(offset));
            }
            lastKey = key;
            lastOffset = offset;
          }
          row.push_back(kCached);
          row.push_back(static_cast<int32_t>(offset));
          open = cacheOpen();
          runEnd = x;
          current = kSolid;
          haveRef = false;  // the next pixel starts a new count
          cachedHere = true;
        }
      }
      if (!cachedHere && kind != current) {
        const int64_t length = x - 1 - runEnd;
        if (length > 0) {
          writeRun(current, length);
          if (current == kSolid) keepSolid(runEnd + 1, y, length);
        }
        runEnd = x - 1;
        current = kind;
        count = kind == kSolid ? 1 : 0;
      }
    }
    if (runEnd < Rt - 1) {
      const int64_t length = Rt - 1 - runEnd;
      writeRun(current, length);
      if (current == kSolid) keepSolid(runEnd + 1, y, length);
    }
    cbc->Rows.push_back(row);
  }
  cbc->mBuffer = ByteArray(std::span<const uint8_t>(solid));
  return cbc;
}

void tm_bitmapcreator::_drawcompressedbitmap(const std::shared_ptr<_compressedbc>& CBC, const Rect& SrcRect,
                                             int32_t TargetX, int32_t TargetY) {
  if (!CBC || !finiteRect(SrcRect)) return;
  const _compressedbc& cbc = *CBC;
  checkCompressed(cbc);
  int64_t tx = TargetX, ty = TargetY;
  if (ty >= mheight || tx >= mwidth) return;
  if (static_cast<float>(TargetX) + SrcRect.Width() < 0 || static_cast<float>(TargetY) + SrcRect.Height() < 0) return;
  int64_t sl = clampCoord(truncLong(SrcRect.Left)), st = clampCoord(truncLong(SrcRect.Top));
  if (tx < 0) sl -= tx, tx = 0;
  if (ty < 0) st -= ty, ty = 0;
  int64_t width = clampCoord(truncLong(SrcRect.Right - static_cast<float>(sl)));
  int64_t height = clampCoord(truncLong(SrcRect.Bottom - static_cast<float>(st)));
  // A source rectangle reaching before the compressed bitmap is cut to it.
  if (sl < 0) tx -= sl, width += sl, sl = 0;
  if (st < 0) ty -= st, height += st, st = 0;
  const int64_t rowsHeld = std::min<int64_t>(cbc.mHeight, static_cast<int64_t>(cbc.Rows.size()));
  const int64_t lastX = std::min({int64_t{mwidth} - 1 - tx, width - 1, int64_t{cbc.mWidth} - 1 - sl});
  const int64_t lastY = std::min({int64_t{mheight} - 1 - ty, height - 1, rowsHeld - 1 - st});
  if (lastX < 0 || lastY < 0) return;
  const uint8_t* solid = cbc.mBuffer.data();
  const uint8_t* slots = cbc.Cache ? cbc.Cache->mBuffer.data() : nullptr;

  for (int64_t y = ty; y <= ty + lastY; ++y) {
    const auto& row = cbc.Rows[static_cast<size_t>(st + (y - ty))];
    int64_t x = 0, index = row[0];
    for (size_t w = 1; w + 1 < row.size(); w += 2) {
      const int32_t kind = row[w] & 0xFF;
      const int32_t value = row[w + 1];
      const int64_t length = runLength(kind, value);
      if (x + length <= sl) {
        if (kind == kSolid) index += length;
        x += length;
        continue;
      }
      const int64_t start = std::max(x, sl);
      int64_t count = length;
      if (x < sl) {
        count -= sl - x;
        if (kind == kSolid) index += sl - x;
      }
      const int64_t m = std::min(count, lastX + 1 - (start - sl));
      uint8_t* dst = pixelAt(tx + start - sl, y);
      if (kind == kSolid) {
        std::memcpy(dst, solid + index * 4, static_cast<size_t>(m) * 4);
        index += count;
      } else if (kind == kCached) {
        // A slot holds 40 pixels of one colour: this run and the runs of the same slot that
        // follow it are one fill.
        int64_t total = m;
        while (w + 3 < row.size() && (row[w + 2] & 0xFF) == kCached && row[w + 3] == value &&
               x + length <= sl + lastX) {
          w += 2;
          x += length;
          total = std::min<int64_t>(total + kCached, lastX + 1 - (start - sl));
        }
        uint32_t pixel;
        std::memcpy(&pixel, slots + value, 4);
        bckernels::fillRun(dst, pixel, total);
      }
      x += length;
      if (x > sl + lastX) break;
    }
  }
}

std::shared_ptr<_compressedbc> tm_bitmapcreator::_flipcompressedbitmap(const std::shared_ptr<_compressedbc>& CBC,
                                                                       bool Horizontal, bool Vertical) {
  if (!CBC || (!Horizontal && !Vertical)) return CBC;
  auto out = std::make_shared<_compressedbc>();
  out->IsInitialized = true;
  out->mWidth = CBC->mWidth;
  out->mHeight = CBC->mHeight;
  out->TargetRect = CBC->TargetRect;
  out->Cache = CBC->Cache;
  if (!Horizontal) {
    out->mBuffer = CBC->mBuffer;
    out->Rows.assign(CBC->Rows.rbegin(), CBC->Rows.rend());
    return out;
  }
  // Pixels in reverse order, each pixel's four bytes kept in order.
  const auto in = CBC->mBuffer.span();
  const size_t pixels = in.size() / 4;
  ByteArray reversed(static_cast<int>(pixels * 4));
  uint8_t* d = reversed.data();
  for (size_t i = 0; i < pixels; ++i) std::memcpy(d + i * 4, in.data() + (pixels - 1 - i) * 4, 4);
  out->mBuffer = reversed;
  // Rows from last to first, each with its runs in reverse order. A row's pixels, reversed,
  // now start where its last pixel ended up: the reversed position of its old start. (Counting
  // the solid pixels of the rows built before it gives the same for a bitmap stored top to
  // bottom, but not for one that was itself flipped horizontally.)
  std::vector<_compressedbc::EncodedRow> rows;
  for (auto it = CBC->Rows.rbegin(); it != CBC->Rows.rend(); ++it) {
    const auto& old = *it;
    _compressedbc::EncodedRow row(old.size(), 0);
    const size_t pairs = old.empty() ? 0 : (old.size() - 1) / 2;
    int64_t solidInRow = 0;
    for (size_t p = 0; p < pairs; ++p) {
      const size_t from = 1 + 2 * (pairs - 1 - p), to = 1 + 2 * p;
      row[to] = old[from];
      row[to + 1] = old[from + 1];
      if ((old[from] & 0xFF) == kSolid) solidInRow += old[from + 1];
    }
    if (!row.empty()) row[0] = static_cast<int32_t>(static_cast<int64_t>(pixels) - old[0] - solidInRow);
    rows.push_back(std::move(row));
  }
  // Built bottom to top: reversed back unless the picture is also flipped vertically.
  if (!Vertical) std::reverse(rows.begin(), rows.end());
  out->Rows = std::move(rows);
  return out;
}

void tm_bitmapcreator::_drawrotatedcbc(const std::shared_ptr<_compressedbc>& CBC, float Degrees, int32_t Width,
                                       int32_t Height, const std::shared_ptr<_internalantialiasingbuffer>& AABuffer) {
  _drawrotatedcbc2(CBC, Degrees, Width, Height, AABuffer, 0, 0);
}

void tm_bitmapcreator::_drawrotatedcbc2(const std::shared_ptr<_compressedbc>& CBC, float Degrees, int32_t Width,
                                        int32_t Height, const std::shared_ptr<_internalantialiasingbuffer>& AABuffer,
                                        int32_t TargetX, int32_t TargetY) {
  if (!CBC || !AABuffer || !finite(Degrees) || Width <= 0 || Height <= 0) return;
  const _compressedbc& cbc = *CBC;
  checkCompressed(cbc);
  const int64_t area = int64_t{Width} * Height;
  // The scratch is an Int array of five entries per pixel: no larger one can exist.
  if (area > std::numeric_limits<int32_t>::max() / 5) return;
  auto& scratch = AABuffer->IntsArray;
  if (static_cast<int64_t>(scratch.size()) < area * 5) scratch.resize(static_cast<size_t>(area * 5));
  // The scratch holds one counter per pixel (the number of samples in the low byte, of
  // transparent samples in the next), then the sums of a, r, g and b, four Ints per pixel. Only
  // the counters are cleared: a pixel's first sample sets its sums, so the sums of pixels that
  // no sample reaches are never touched.
  int32_t* const counts = scratch.data();
  int32_t* const sums = counts + area;
  std::fill(counts, counts + area, 0);

  const double rad = Degrees * Common::cPI / 180;
  const float c = static_cast<float>(std::cos(rad)), s = static_cast<float>(std::sin(rad));
  const float scx = static_cast<float>(cbc.mWidth / 2.0), scy = static_cast<float>(cbc.mHeight / 2.0);
  const float tcx = static_cast<float>(Width / 2.0), tcy = static_cast<float>(Height / 2.0);
  const float offX[4] = {0, c / 2, -s / 2, c / 2 - s / 2};
  const float offY[4] = {0, s / 2, c / 2, s / 2 + c / 2};
  // The smallest floats not below the area's width and height: a position is left of the
  // width exactly when it is below this.
  auto ceilFloat = [](int32_t v) {
    float f = static_cast<float>(v);
    return static_cast<double>(f) < v ? std::nextafter(f, std::numeric_limits<float>::infinity()) : f;
  };
  const __m128 offX4 = _mm_loadu_ps(offX), offY4 = _mm_loadu_ps(offY), half = _mm_set1_ps(0.5f);
  const __m128 minus1 = _mm_set1_ps(-1.0f), limX = _mm_set1_ps(ceilFloat(Width)), limY = _mm_set1_ps(ceilFloat(Height));

  // Adds one sample to pixel i: the first sample sets the sums, a later one adds its channels
  // (a transparent sample's are all 0).
  auto addSample = [&](int64_t i, __m128i argb, uint32_t step) {
    __m128i* cell = reinterpret_cast<__m128i*>(sums + i * 4);
    const uint32_t count = static_cast<uint32_t>(counts[i]);
    // A pixel's first sample does not read the sums: they are not in the cache yet.
    _mm_storeu_si128(cell, (count & 0xFF) == 0 ? argb : _mm_add_epi32(_mm_loadu_si128(cell), argb));
    counts[i] = static_cast<int32_t>(count + step);
  };
  // Adds one straight colour's four samples (a, r, g, b) at the target position (px, py). A
  // sample lands on the pixel its position truncates to; that is inside the area exactly when
  // the position is above -1 and below the area's size. The four positions are worked out
  // together, each with the same float additions as one by one.
  auto sample = [&](float px, float py, __m128i argb) {
    const __m128 fx = _mm_add_ps(_mm_add_ps(_mm_set1_ps(px), offX4), half);
    const __m128 fy = _mm_add_ps(_mm_add_ps(_mm_set1_ps(py), offY4), half);
    const __m128 in = _mm_and_ps(_mm_and_ps(_mm_cmpgt_ps(fx, minus1), _mm_cmplt_ps(fx, limX)),
                                 _mm_and_ps(_mm_cmpgt_ps(fy, minus1), _mm_cmplt_ps(fy, limY)));
    const int inside = _mm_movemask_ps(in);
    if (inside == 0) return;
    alignas(16) int32_t xs[4], ys[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(xs), _mm_cvttps_epi32(fx));
    _mm_store_si128(reinterpret_cast<__m128i*>(ys), _mm_cvttps_epi32(fy));
    const uint32_t step = _mm_cvtsi128_si32(argb) < 1 ? 257u : 1u;
    for (int k = 0; k < 4; ++k)
      if (inside & (1 << k)) addSample(int64_t{ys[k]} * Width + xs[k], argb, step);
  };
  // Source pixel i of row r lands at the row's start plus i steps of (c, s).
  auto rowStart = [&](int64_t r, float& px, float& py) {
    const float dx = 0 - scx, dy = static_cast<float>(r) - scy;
    px = dx * c - dy * s + tcx;
    py = dx * s + dy * c + tcy;
  };
  // The straight colour of a premultiplied pixel, as (a, r, g, b); the last one is kept, as
  // neighbouring pixels are often equal.
  uint32_t lastPixel = 0;
  __m128i lastColour = _mm_setzero_si128();
  auto straight = [&](const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    if (v != lastPixel) {
      lastPixel = v;
      const int32_t a = p[3];
      if (a == 0) {
        lastColour = _mm_setzero_si128();
      } else {
        const double k = a / 255.0;
        lastColour = _mm_setr_epi32(a, truncInt(p[0] / k), truncInt(p[1] / k), truncInt(p[2] / k));
      }
    }
    return lastColour;
  };
  const __m128i transparent = _mm_setzero_si128();
  const uint8_t* solid = cbc.mBuffer.data();
  const uint8_t* slots = cbc.Cache ? cbc.Cache->mBuffer.data() : nullptr;

  // Walks the samples i in [iFirst, iEnd) of source row r in order, border rows included, as
  // put(i, colour); a row that starts or ends opaque also gets a transparent sample beyond that
  // end, edge(-1) or edge(end), so that its edge is blended with the outside like the top and
  // bottom edges are.
  auto walkRow = [&](int64_t r, int64_t iFirst, int64_t iEnd, auto&& put, auto&& edge) {
    if (r < 0 || r >= cbc.mHeight || r >= static_cast<int64_t>(cbc.Rows.size())) {
      // The transparent border rows above and below the picture, and rows declared but not held.
      for (int64_t i = iFirst; i < iEnd; ++i) put(i, transparent);
      return;
    }
    const auto& row = cbc.Rows[static_cast<size_t>(r)];
    if (row.size() >= 3 && (row[1] & 0xFF) != kTransparent) edge(-1);
    int64_t index = row[0], x = 0;
    for (size_t w = 1; w + 1 < row.size() && x < cbc.mWidth; w += 2) {
      const int32_t kind = row[w] & 0xFF;
      const int32_t value = row[w + 1];
      const int64_t length = std::min<int64_t>(runLength(kind, value), cbc.mWidth - x);
      const int64_t from = std::max(x, iFirst), to = std::min(x + length, iEnd);
      if (kind == kSolid) {
        for (int64_t i = from; i < to; ++i) put(i, straight(solid + (index + i - x) * 4));
        index += value;
      } else {
        const __m128i colour = kind == kCached ? straight(slots + value) : transparent;
        for (int64_t i = from; i < to; ++i) put(i, colour);
      }
      x += length;
    }
    if (row.size() >= 3 && (row[row.size() - 2] & 0xFF) != kTransparent) edge(x);
  };

  // A source of up to kWalkedSamples samples is walked whole, each row's positions stepping from
  // its start. A larger one (a compressed bitmap may declare any size) is walked only where its
  // samples can land, with each position worked out from the source coordinates, so the work
  // follows the area drawn and not the size declared.
  if ((int64_t{cbc.mWidth} + 2) * (int64_t{cbc.mHeight} + 2) <= kWalkedSamples) {
    for (int64_t r = -1; r <= cbc.mHeight; ++r) {
      float px, py;
      rowStart(r, px, py);
      // Every sample of the row is put, in order: the position steps along with them, and an
      // edge sample lies one step before the first or at the step after the last.
      walkRow(
          r, 0, cbc.mWidth,
          [&](int64_t, __m128i argb) {
            sample(px, py, argb);
            px += c;
            py += s;
          },
          [&](int64_t i) { i < 0 ? sample(px - c, py - s, transparent) : sample(px, py, transparent); });
    }
  } else {
    // A sample lands inside when its position is within about a pixel of the area: the rows r
    // and columns i of the source whose positions lie in the area widened by three pixels, found
    // by turning its corners back, with two more on every side for rounding.
    double iMin = HUGE_VAL, iMax = -HUGE_VAL, rMin = HUGE_VAL, rMax = -HUGE_VAL;
    for (const double X : {-3.0 - tcx, Width + 3.0 - tcx})
      for (const double Y : {-3.0 - tcy, Height + 3.0 - tcy}) {
        const double i = X * c + Y * s + scx, r = Y * c - X * s + scy;
        iMin = std::min(iMin, i), iMax = std::max(iMax, i), rMin = std::min(rMin, r), rMax = std::max(rMax, r);
      }
    const int64_t rFirst = std::max<int64_t>(-1, static_cast<int64_t>(std::floor(rMin)) - 2);
    const int64_t rLast = std::min<int64_t>(cbc.mHeight, static_cast<int64_t>(std::ceil(rMax)) + 2);
    const int64_t iFirst = std::max<int64_t>(0, static_cast<int64_t>(std::floor(iMin)) - 2);
    const int64_t iEnd = std::min<int64_t>(cbc.mWidth, static_cast<int64_t>(std::ceil(iMax)) + 3);
    for (int64_t r = rFirst; r <= rLast; ++r) {
      auto sampleAt = [&, r](int64_t i, __m128i argb) {
        const double dx = static_cast<double>(i) - scx, dy = static_cast<double>(r) - scy;
        sample(static_cast<float>(dx * c - dy * s + tcx), static_cast<float>(dx * s + dy * c + tcy), argb);
      };
      walkRow(r, iFirst, iEnd, sampleAt, [&](int64_t i) { sampleAt(i, transparent); });
    }
  }

  // Resolve: the average alpha over all samples, the average colour over the opaque ones.
  // Neighbouring pixels often hold the same sums: the last result is kept.
  const int64_t y0 = std::max<int64_t>(0, -int64_t{TargetY}),
                y1 = std::min<int64_t>(Height, int64_t{mheight} - TargetY);
  const int64_t x0 = std::max<int64_t>(0, -int64_t{TargetX}), x1 = std::min<int64_t>(Width, int64_t{mwidth} - TargetX);
  __m128i lastSums = _mm_set1_epi32(-1);
  int32_t lastCount = -1;
  uint32_t lastOut = 0;
  for (int64_t y = y0; y < y1; ++y) {
    const int64_t ty = int64_t{TargetY} + y;
    for (int64_t x = x0; x < x1; ++x) {
      const int64_t i = y * Width + x;
      const int32_t count = counts[i];
      const int32_t n = count & 0xFF, clear = (count >> 8) & 0xFF;
      if (n == 0) continue;
      const int32_t* cell = sums + i * 4;
      if (cell[0] <= 0) continue;
      const __m128i cellSums = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cell));
      if (count != lastCount || _mm_movemask_epi8(_mm_cmpeq_epi32(cellSums, lastSums)) != 0xFFFF) {
        const int32_t a = cell[0] / n;
        const int32_t m = clear > 0 ? n - clear : n;
        if (m <= 0) continue;
        const double k = a / 255.0;
        const uint8_t out[4] = {static_cast<uint8_t>(truncInt(static_cast<double>(cell[1]) / m * k)),
                                static_cast<uint8_t>(truncInt(static_cast<double>(cell[2]) / m * k)),
                                static_cast<uint8_t>(truncInt(static_cast<double>(cell[3]) / m * k)),
                                static_cast<uint8_t>(a)};
        std::memcpy(&lastOut, out, 4);
        lastSums = cellSums;
        lastCount = count;
      }
      std::memcpy(pixelAt(int64_t{TargetX} + x, ty), &lastOut, 4);
    }
  }
}

}  // namespace tmr

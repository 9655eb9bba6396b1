// Linear, concentric and radial gradients. Colours are interpolated channel by channel in
// straight ARGB (trunc(c1 + f × (c2 − c1)) in single precision), premultiplied as _setargb does
// and written without blending. Every loop is limited to the part of the rectangle that lies
// on the bitmap, so a huge rectangle costs what its visible part costs.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "bitmap/NumericRules.h"
#include "bitmap/PixelKernels.h"
#include "bitmap/tm_bitmapcreator.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"

namespace tmr {

using namespace bcnum;

namespace {

bool finiteRect(const Rect& r) { return finite(r.Left) && finite(r.Top) && finite(r.Right) && finite(r.Bottom); }

struct Argb {
  int32_t a, r, g, b;
};

Argb split(int32_t color) {
  const uint32_t c = static_cast<uint32_t>(color);
  return {static_cast<int32_t>((c >> 24) & 0xFF), static_cast<int32_t>((c >> 16) & 0xFF),
          static_cast<int32_t>((c >> 8) & 0xFF), static_cast<int32_t>(c & 0xFF)};
}

inline int32_t channelAt(int32_t c1, int32_t c2, float f) {
  return truncInt(static_cast<float>(c1) + f * static_cast<float>(c2 - c1));
}

// float(a / 255.0) for every alpha, so that a pixel costs no division.
struct AlphaFactors {
  float v[256];
  AlphaFactors() {
    for (int a = 0; a < 256; ++a) v[a] = static_cast<float>(a / 255.0);
  }
};
const AlphaFactors kAlphaFactors;

// The colour at fraction f between c1 and c2, premultiplied and packed as the buffer stores it.
inline uint32_t colorAt(const Argb& c1, const Argb& c2, float f) {
  const int32_t a = channelAt(c1.a, c2.a, f);
  const float factor = a >= 0 && a <= 255 ? kAlphaFactors.v[a] : static_cast<float>(a / 255.0);
  const int32_t r = truncInt(static_cast<float>(channelAt(c1.r, c2.r, f)) * factor);
  const int32_t g = truncInt(static_cast<float>(channelAt(c1.g, c2.g, f)) * factor);
  const int32_t b = truncInt(static_cast<float>(channelAt(c1.b, c2.b, f)) * factor);
  return bckernels::packPixel(r, g, b, a);
}

inline uint32_t premultiplied(const Argb& c) { return colorAt(c, c, 0); }

// colorAt for n fractions at once, in a form the compiler turns into vector code. The
// fractions are first held within ±10^6 (a gradient's fractions stay near 0 .. 1), or ±512 where
// the alpha changes (past that it leaves 0 .. 255 and the colour is worked out again below), so
// that every conversion is in range and a plain truncating conversion; and float(a) / 255 in
// single precision equals float(a / 255.0) for every alpha 0 .. 255.
void colorsAt(const Argb& c1, const Argb& c2, const float* f, uint32_t* out, int64_t n) {
  const float a1 = static_cast<float>(c1.a), r1 = static_cast<float>(c1.r), g1 = static_cast<float>(c1.g),
              b1 = static_cast<float>(c1.b);
  const float da = static_cast<float>(c2.a - c1.a), dr = static_cast<float>(c2.r - c1.r),
              dg = static_cast<float>(c2.g - c1.g), db = static_cast<float>(c2.b - c1.b);
  const float hold = da == 0 ? 1e6f : 512.0f;
  for (int64_t i = 0; i < n; ++i) {
    float v = f[i];
    v = v > -hold ? v : -hold;
    v = v < hold ? v : hold;
    const int32_t a = static_cast<int32_t>(a1 + v * da);
    const int32_t r = static_cast<int32_t>(r1 + v * dr);
    const int32_t g = static_cast<int32_t>(g1 + v * dg);
    const int32_t b = static_cast<int32_t>(b1 + v * db);
    const float factor = static_cast<float>(a) / 255.0f;
    const uint32_t pr = static_cast<uint32_t>(static_cast<int32_t>(static_cast<float>(r) * factor)) & 0xFF;
    const uint32_t pg = static_cast<uint32_t>(static_cast<int32_t>(static_cast<float>(g) * factor)) & 0xFF;
    const uint32_t pb = static_cast<uint32_t>(static_cast<int32_t>(static_cast<float>(b) * factor)) & 0xFF;
    out[i] = pr | (pg << 8) | (pb << 16) | ((static_cast<uint32_t>(a) & 0xFF) << 24);
  }
  // A fraction that was held back, or an alpha outside 0 .. 255, takes the rule as written. A run
  // of held-back pixels often repeats one fraction (far out, the steps added to it are lost in
  // its rounding): its colour is worked out once.
  float heldBack = std::numeric_limits<float>::quiet_NaN();
  uint32_t heldBackColor = 0;
  for (int64_t i = 0; i < n; ++i) {
    const float v = f[i];
    if (!(v > -hold && v < hold)) {
      if (!(v == heldBack)) {
        heldBack = v;
        heldBackColor = colorAt(c1, c2, v);
      }
      out[i] = heldBackColor;
      continue;
    }
    const int32_t a = static_cast<int32_t>(a1 + v * da);
    if (a < 0 || a > 255) out[i] = colorAt(c1, c2, v);
  }
}

// Sorted, merged integer intervals (inclusive), for walking rings in increasing order.
std::vector<std::array<int64_t, 2>> merged(std::vector<std::array<int64_t, 2>> v) {
  std::sort(v.begin(), v.end());
  std::vector<std::array<int64_t, 2>> out;
  for (const auto& iv : v) {
    if (iv[0] > iv[1]) continue;
    if (!out.empty() && iv[0] <= out.back()[1] + 1) {
      out.back()[1] = std::max(out.back()[1], iv[1]);
    } else {
      out.push_back(iv);
    }
  }
  return out;
}

// The values d ≥ 0 for which trunc(c + sign × d × f) can fall in [0, size), with a margin of
// two on each side for the rounding of the float products. A tiny f (a rectangle billions of
// times longer than wide) gives quotients past any integer: they are held to the coordinate
// range first, so that the margins cannot overflow.
std::array<int64_t, 2> visibleDistances(int64_t c, int sign, float f, int64_t size) {
  const double lo =
      sign > 0 ? (0.0 - static_cast<double>(c)) / f : (static_cast<double>(c) - static_cast<double>(size)) / f;
  const double hi =
      sign > 0 ? (static_cast<double>(size) - static_cast<double>(c)) / f : (static_cast<double>(c) + 1) / f;
  return {std::max<int64_t>(0, clampCoord(floorLong(lo)) - 2), clampCoord(truncLong(std::ceil(hi))) + 2};
}

// The e for which trunc(c + e × f) can fall in [0, size), with the same margins.
std::array<int64_t, 2> sideRange(int64_t c, float f, int64_t size) {
  return {clampCoord(floorLong((0.0 - static_cast<double>(c)) / f)) - 2,
          clampCoord(truncLong(std::ceil((static_cast<double>(size) - static_cast<double>(c)) / f))) + 2};
}

// For each value v in [vlo, vhi] that the non-decreasing g takes on [a, b], in increasing order,
// calls visit(v, first, last) with the first and last argument giving v. The end of a run of
// equal values is looked for where the run before ended, and from there by doubling steps: g is
// close to linear (a side of a ring moving by a fraction of a pixel per ring), so that takes a
// few evaluations per value, and the cost follows the number of values, not the length of
// [a, b]: what lets a ring or a side billions of pixels long cost what its part on the bitmap
// costs.
template <typename G, typename Visit>
void forEachValue(int64_t a, int64_t b, int64_t vlo, int64_t vhi, const G& g, const Visit& visit) {
  int64_t first = a, beyond = b + 1;
  while (first < beyond) {
    const int64_t mid = first + (beyond - first) / 2;
    if (g(mid) < vlo) {
      first = mid + 1;
    } else {
      beyond = mid;
    }
  }
  int64_t runLength = 1;
  while (first <= b) {
    const int64_t v = g(first);
    if (v > vhi) return;
    // g(last) is v, and g(end) is past v unless end is past b.
    int64_t last = std::min(first + (runLength - 1), b), end = b + 1;
    if (g(last) == v) {
      for (int64_t step = 1;; step *= 2) {
        if (step > b - last) break;
        if (g(last + step) != v) {
          end = last + step;
          break;
        }
        last += step;
      }
    } else {
      end = last;
      last = first;
      for (int64_t step = 1; step < end - first; step *= 2) {
        if (g(end - step) == v) {
          last = end - step;
          break;
        }
        end -= step;
      }
    }
    while (end - last > 1) {
      const int64_t mid = last + (end - last) / 2;
      if (g(mid) == v) {
        last = mid;
      } else {
        end = mid;
      }
    }
    visit(v, first, last);
    runLength = last - first + 1;
    first = last + 1;
  }
}

}  // namespace

void tm_bitmapcreator::_fillgradient(const std::vector<int32_t>& GradColors, const Rect& R, const String& Orientation) {
  if (!finiteRect(R)) return;
  const float W = R.Width(), H = R.Height();
  // A rectangle wholly off the bitmap paints nothing (the rings of one left of or above it would
  // otherwise reach the first column or row, the truncation of a negative centre being toward zero).
  if (!(W > 1 && H > 1 && R.Left < static_cast<float>(mwidth) && R.Top < static_cast<float>(mheight) && R.Right > 0 &&
        R.Bottom > 0))
    return;
  if (GradColors.empty()) return;
  if (GradColors.size() == 1) {
    _fillrect(GradColors[0], R);
    return;
  }
  const int64_t n = static_cast<int64_t>(GradColors.size()) - 1;
  const int64_t top = truncLong(std::max(R.Top, 0.0f));
  const int64_t bottom = truncLong(std::min(R.Bottom - 1, static_cast<float>(mheight - 1)));
  const int64_t left = truncLong(std::max(R.Left, 0.0f));
  const int64_t right = truncLong(std::min(static_cast<float>(mwidth - 1), R.Right - 1));

  const std::string o = Orientation.str();
  float s = 0, inv = 0, off = 0;
  int64_t L = 0;
  bool reverse = false, mirror = false, vertical = false, concentric = false;
  if (o == "TL_BR" || o == "BR_TL" || o == "TR_BL" || o == "BL_TR") {
    // The bands run across the diagonal: at angle A to the vertical, shifting by 1/tan(A) per row.
    const float A = static_cast<float>(std::atan(static_cast<double>(W) / static_cast<double>(H)) * 180 / Common::cPI);
    const double rad = A / 180.0 * Common::cPI;
    s = static_cast<float>(std::sin(rad));
    const float t = static_cast<float>(std::tan(rad));
    L = truncLong(std::sqrt(static_cast<double>(W) * W + static_cast<double>(H) * H));
    inv = 1 / t;
    off = (static_cast<float>(top) - R.Top) / t;
    reverse = o == "BR_TL" || o == "BL_TR";
    mirror = o == "TR_BL" || o == "BL_TR";
  } else if (o == "LEFT_RIGHT" || o == "RIGHT_LEFT") {
    L = truncLong(W);
    s = 1;
    reverse = o == "RIGHT_LEFT";
  } else if (o == "TOP_BOTTOM" || o == "BOTTOM_TOP") {
    L = truncLong(H);
    vertical = true;
    reverse = o == "BOTTOM_TOP";
  } else if (o == "RECTANGLE") {
    L = truncLong(std::max(W, H) / 2.0);
    concentric = true;
  } else {
    if (Module::bi) runtime().Log("Invalid orientation: " + o);
    return;
  }

  std::vector<Argb> colors;
  for (int32_t c : GradColors) colors.push_back(split(c));
  if (reverse) std::reverse(colors.begin(), colors.end());
  std::vector<float> stop(static_cast<size_t>(n + 1)), len(static_cast<size_t>(n + 1));
  for (int64_t i = 0; i <= n; ++i) {
    stop[static_cast<size_t>(i)] =
        static_cast<float>(static_cast<double>(i) / static_cast<double>(n) * static_cast<double>(L));
    len[static_cast<size_t>(i)] = stop[static_cast<size_t>(i)] / s;
  }
  const double seg = static_cast<double>(L) / static_cast<double>(n);

  if (concentric) {
    const int64_t cx = clampCoord(truncLong(R.CenterX())), cy = clampCoord(truncLong(R.CenterY()));
    const int64_t w = truncLong(W), h = truncLong(H);
    const int64_t Lp = (w % 2 == 0 || h % 2 == 0) ? L - 1 : L;
    const float fx = static_cast<float>(std::min(static_cast<double>(w) / static_cast<double>(h), 1.0));
    const float fy = static_cast<float>(std::min(static_cast<double>(h) / static_cast<double>(w), 1.0));
    const double per = static_cast<double>(Lp) / static_cast<double>(n);
    // Ring d (0 .. Lp, from the centre out) has its top and bottom sides on the rows
    // trunc(cy ∓ d × fy), over the columns trunc(cx + e × fx) for every |e| ≤ d, and its left and
    // right sides on the columns trunc(cx ∓ d × fx), over the rows trunc(cy + e × fy). Painted
    // from the centre out, each ring over the ones before, a pixel would end with the colour of
    // the outermost ring covering it. That ring is worked out per pixel: the outermost ring with
    // a side along the pixel's row, if that side reaches the pixel's column, or the outermost
    // with a side along its column, if that side reaches its row. A ring's sides grow with d, so
    // the first ring whose sides reach a column (or row) tells which rings do.
    const auto rowUp = [&](int64_t d) { return truncLong(static_cast<float>(cy) - static_cast<float>(d) * fy); };
    const auto rowDown = [&](int64_t d) { return truncLong(static_cast<float>(cy) + static_cast<float>(d) * fy); };
    const auto colLeft = [&](int64_t d) { return truncLong(static_cast<float>(cx) - static_cast<float>(d) * fx); };
    const auto colRight = [&](int64_t d) { return truncLong(static_cast<float>(cx) + static_cast<float>(d) * fx); };
    // The rings whose sides can reach the bitmap: the top and bottom sides move by fy per ring,
    // the left and right sides by fx.
    const auto visible = merged({visibleDistances(cy, -1, fy, mheight), visibleDistances(cy, 1, fy, mheight),
                                 visibleDistances(cx, -1, fx, mwidth), visibleDistances(cx, 1, fx, mwidth)});
    // The outermost ring along each row and each column (-1: none). The sides moving up and
    // left are negated to make them grow with d.
    std::vector<int64_t> rowRing(static_cast<size_t>(mheight), -1), colRing(static_cast<size_t>(mwidth), -1);
    const auto outermost = [](int64_t a, int64_t b, int64_t size, int64_t sign, const auto& side,
                              std::vector<int64_t>& ring) {
      forEachValue(
          a, b, sign > 0 ? 0 : 1 - size, sign > 0 ? size - 1 : 0, [&](int64_t d) { return sign * side(d); },
          [&](int64_t v, int64_t, int64_t last) {
            int64_t& r = ring[static_cast<size_t>(sign * v)];
            r = std::max(r, last);
          });
    };
    for (const auto& iv : visible) {
      const int64_t a = iv[0], b = std::min(iv[1], Lp);
      outermost(a, b, mheight, -1, rowUp, rowRing);
      outermost(a, b, mheight, 1, rowDown, rowRing);
      outermost(a, b, mwidth, -1, colLeft, colRing);
      outermost(a, b, mwidth, 1, colRight, colRing);
    }
    // The first ring whose top and bottom sides reach each column, and whose left and right
    // sides reach each row: ring d's sides run over the e in [-d, d].
    constexpr int64_t kNever = std::numeric_limits<int64_t>::max();
    const auto firstReaching = [&](int64_t c, float f, int64_t size) {
      std::vector<int64_t> first(static_cast<size_t>(size), kNever);
      const auto range = sideRange(c, f, size);
      forEachValue(
          range[0], range[1], 0, size - 1,
          [&](int64_t e) { return truncLong(static_cast<float>(c) + static_cast<float>(e) * f); },
          [&](int64_t v, int64_t lo, int64_t hi) {
            first[static_cast<size_t>(v)] = std::max({lo, -hi, int64_t{0}});
          });
      return first;
    };
    const auto colReach = firstReaching(cx, fx, mwidth), rowReach = firstReaching(cy, fy, mheight);
    // The colour of ring d: that of the last segment holding it, the one painted last.
    const auto segmentStart = [&](int64_t k) {
      return truncLong(static_cast<double>(k) / static_cast<double>(n) * static_cast<double>(Lp));
    };
    const auto ringColor = [&](int64_t d) {
      int64_t k = 0;
      for (int64_t hiK = n - 1; k < hiK;) {
        const int64_t mid = hiK - (hiK - k) / 2;
        if (segmentStart(mid) <= d) {
          k = mid;
        } else {
          hiK = mid - 1;
        }
      }
      // A rectangle of two pixels or less across has no rings to spread the colours over.
      const float f = Lp <= 0 ? 0.0f : static_cast<float>((static_cast<float>(d) - stop[static_cast<size_t>(k)]) / per);
      return colorAt(colors[static_cast<size_t>(k)], colors[static_cast<size_t>(k + 1)], f);
    };
    // The rings found are numbered in order from 1 (0: none), so that the pass over the pixels
    // compares small numbers. The sides across a column (row) reach it from its first reaching
    // ring on, that is from the number of the first ring found at or past that one.
    std::vector<int64_t> found;
    for (const auto* rings : {&rowRing, &colRing})
      for (int64_t d : *rings)
        if (d >= 0) found.push_back(d);
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    constexpr int32_t kNone = 0, kNoRing = std::numeric_limits<int32_t>::max();
    const auto number = [&](int64_t d) {
      const auto it = std::lower_bound(found.begin(), found.end(), d);
      return it == found.end() ? kNoRing : static_cast<int32_t>(it - found.begin()) + 1;
    };
    struct Line {
      int32_t ring = kNone;    // the number of the outermost ring along it
      int32_t from = kNoRing;  // the number from which the sides across it reach it
      uint32_t color = 0;      // the colour of its ring
    };
    const auto lines = [&](const std::vector<int64_t>& ring, const std::vector<int64_t>& reach, int32_t& outermost) {
      std::vector<Line> out(ring.size());
      for (size_t i = 0; i < ring.size(); ++i) {
        if (ring[i] >= 0) {
          out[i].ring = number(ring[i]);
          out[i].color = ringColor(ring[i]);
        }
        if (reach[i] != kNever) out[i].from = number(reach[i]);
        outermost = std::max(outermost, out[i].ring);
      }
      return out;
    };
    int32_t outermostRow = kNone, outermostCol = kNone;
    const auto rowLines = lines(rowRing, rowReach, outermostRow);
    const auto colLines = lines(colRing, colReach, outermostCol);
    // A line is painted by its own ring or by the rings across it; the pass covers the columns
    // that are.
    const auto painted = [](const Line& line, int32_t outermostAcross) {
      return line.ring != kNone || line.from <= outermostAcross;
    };
    int64_t firstCol = 0, endCol = mwidth;
    while (firstCol < endCol && !painted(colLines[static_cast<size_t>(firstCol)], outermostRow)) ++firstCol;
    while (endCol > firstCol && !painted(colLines[static_cast<size_t>(endCol - 1)], outermostRow)) --endCol;
    for (int64_t y = 0; y < mheight && firstCol < endCol; ++y) {
      const Line& r = rowLines[static_cast<size_t>(y)];
      if (!painted(r, outermostCol)) continue;
      uint32_t* row = reinterpret_cast<uint32_t*>(pixelAt(0, y));
      for (int64_t x = firstCol; x < endCol; ++x) {
        const Line& c = colLines[static_cast<size_t>(x)];
        const int32_t byRow = r.ring >= c.from ? r.ring : kNone;
        const int32_t byCol = c.ring >= r.from ? c.ring : kNone;
        uint32_t pixel;
        std::memcpy(&pixel, row + x, 4);
        pixel = (byRow | byCol) != kNone ? (byRow >= byCol ? r.color : c.color) : pixel;
        std::memcpy(row + x, &pixel, 4);
      }
    }
    // The outline in the last colour.
    const uint32_t last = premultiplied(colors.back());
    const int64_t l = clampCoord(truncLong(R.Left)), r = clampCoord(truncLong(R.Right));
    const int64_t t = clampCoord(truncLong(R.Top)), b = clampCoord(truncLong(R.Bottom));
    const int64_t x0 = std::max<int64_t>(l, 0), x1 = std::min<int64_t>(r, mwidth);
    const int64_t y0 = std::max<int64_t>(t, 0), y1 = std::min<int64_t>(b, mheight);
    for (int64_t row : {t, b - 1})
      if (row >= 0 && row < mheight && x1 > x0) bckernels::fillRun(pixelAt(x0, row), last, x1 - x0);
    for (int64_t col : {l, r - 1})
      if (col >= 0 && col < mwidth)
        for (int64_t y = y0; y < y1; ++y) std::memcpy(pixelAt(col, y), &last, 4);
    return;
  }

  // A mirrored gradient walks the rectangle's columns whose mirror images lie on the bitmap.
  int64_t lo = left, hi = right;
  if (mirror) {
    lo = truncLong(std::max(R.Left, R.Left + R.Right - static_cast<float>(mwidth)));
    hi = truncLong(std::min(R.Right - 1, R.Left + R.Right - 1));
  }
  // A rectangle that reaches no column of the bitmap paints nothing.
  if (vertical ? right < left : hi < lo) return;
  // Without a shift per row (the horizontal orientations) every row gets the same pixels: the
  // first is worked out, the others copy it.
  const bool sameRows = !vertical && inv == 0 && off == 0;
  std::vector<uint32_t> rowPixels, segment;
  std::vector<uint8_t> rowWritten;
  std::vector<float> fractions;
  std::vector<std::array<int64_t, 2>> rowRuns;
  if (sameRows) {
    rowPixels.assign(static_cast<size_t>(mwidth), 0);
    rowWritten.assign(static_cast<size_t>(mwidth), 0);
  }
  for (int64_t y = top; y <= bottom; ++y) {
    if (sameRows && y > top) {
      // Copies the runs of pixels the first row wrote; they are looked for once, for the first
      // row may have written none.
      if (y == top + 1) {
        for (int64_t x = 0; x < mwidth;) {
          if (!rowWritten[static_cast<size_t>(x)]) {
            ++x;
            continue;
          }
          int64_t e = x;
          while (e < mwidth && rowWritten[static_cast<size_t>(e)]) ++e;
          rowRuns.push_back({x, e});
          x = e;
        }
        if (rowRuns.empty()) return;
      }
      for (const auto& run : rowRuns)
        std::memcpy(pixelAt(run[0], y), rowPixels.data() + run[0], static_cast<size_t>(run[1] - run[0]) * 4);
      continue;
    }
    if (vertical) {
      for (int64_t k = 0; k < n; ++k) {
        const float f = static_cast<float>((static_cast<float>(y) - R.Top - stop[static_cast<size_t>(k)]) / seg);
        if (f >= 0 && f <= 1 && right >= left)
          bckernels::fillRun(pixelAt(left, y),
                             colorAt(colors[static_cast<size_t>(k)], colors[static_cast<size_t>(k + 1)], f),
                             right - left + 1);
      }
      continue;
    }
    int64_t x = truncLong(R.Left - off - 1);
    for (int64_t k = 0; k < n; ++k) {
      // The segments' ends only grow: once the walk reaches its last column the row is done.
      if (x >= hi) break;
      const int64_t sx = std::max(lo, x + 1);
      // The segment's end is held to the walk's last column even where it is not a number (a
      // band position and a row shift that both overflow), so the walk stays on the bitmap.
      x = std::min(hi, truncLong(std::min(R.Left + len[static_cast<size_t>(k + 1)] - off, static_cast<float>(hi))));
      const float pos = s * ((static_cast<float>(sx) - R.Left) + off);
      float f = static_cast<float>((pos - stop[static_cast<size_t>(k)]) / seg);
      const float step = static_cast<float>(s / seg);
      if (x < sx) continue;
      // The fractions are added up one by one, as the walk goes; the colours follow in bulk.
      const int64_t count = x - sx + 1;
      fractions.resize(static_cast<size_t>(count));
      segment.resize(static_cast<size_t>(count));
      for (int64_t i = 0; i < count; ++i, f += step) fractions[static_cast<size_t>(i)] = f;
      const auto image = [&](int64_t i) {
        const int64_t px = sx + i;
        return mirror ? truncLong((R.Right - 1) - (static_cast<float>(px) - R.Left)) : px;
      };
      // Only the columns whose images land on the bitmap need their colours: a mirrored walk's
      // bounds are rounded, and far from the origin reach past it. The images run right to left.
      int64_t first = 0, last = count - 1;
      if (mirror) {
        while (first <= last && image(first) >= mwidth) ++first;
        while (last >= first && image(last) < 0) --last;
      }
      colorsAt(colors[static_cast<size_t>(k)], colors[static_cast<size_t>(k + 1)], fractions.data() + first,
               segment.data() + first, last - first + 1);
      for (int64_t i = first; i <= last; ++i) {
        const int64_t tx = image(i);
        if (!inside(tx, y)) continue;
        const uint32_t pixel = segment[static_cast<size_t>(i)];
        std::memcpy(pixelAt(tx, y), &pixel, 4);
        if (sameRows) {
          rowPixels[static_cast<size_t>(tx)] = pixel;
          rowWritten[static_cast<size_t>(tx)] = 1;
        }
      }
    }
    off += inv;
  }
}

void tm_bitmapcreator::_fillradialgradient(const std::vector<int32_t>& Colors, const Rect& R) {
  if (!finiteRect(R) || Colors.empty()) return;
  if (Colors.size() == 1) {
    _fillrect(Colors[0], R);
    return;
  }
  const double hw = R.Width() / 2.0, hh = R.Height() / 2.0;
  // The distance from the centre to a corner: the last colour is reached there.
  const int64_t Rd = truncLong(std::ceil(std::sqrt(hw * hw + hh * hh)));
  if (Rd <= 0) return;
  const int64_t q = truncLong(std::ceil(static_cast<double>(Rd) / static_cast<double>(Colors.size() - 1)));
  const int64_t cx = clampCoord(truncLong(R.CenterX())), cy = clampCoord(truncLong(R.CenterY()));
  const int64_t x0 = truncLong(std::max(R.Left, 0.0f)),
                x1 = truncLong(std::min(static_cast<float>(mwidth - 1), R.Right - 1));
  const int64_t y0 = truncLong(std::max(R.Top, 0.0f)),
                y1 = truncLong(std::min(static_cast<float>(mheight - 1), R.Bottom - 1));
  if (x1 < x0 || y1 < y0) return;
  std::vector<Argb> colors;
  for (int32_t c : Colors) colors.push_back(split(c));
  // Colours go by whole distance, no farther than the bitmap's part of the rectangle reaches; a
  // pixel exactly at the corner distance takes the last one.
  const double far = std::sqrt(std::pow(static_cast<double>(std::max(std::abs(x0 - cx), std::abs(x1 - cx))), 2) +
                               std::pow(static_cast<double>(std::max(std::abs(y0 - cy), std::abs(y1 - cy))), 2));
  const int64_t entries = std::min(Rd, truncLong(far) + 1);
  const auto distance = [&](int64_t x, int64_t y) {
    const double dx = static_cast<double>(x - cx), dy = static_cast<double>(y - cy);
    return std::min(truncLong(std::sqrt(dx * dx + dy * dy)), entries - 1);
  };
  // The distance grows with |dx| and |dy|, so the bitmap's part lies between the distances of
  // its pixel nearest the centre and its farthest, which differ by no more than its width plus
  // height: the table holds those alone (a far centre would ask for billions of entries).
  const int64_t nearest = distance(std::clamp(cx, x0, x1), std::clamp(cy, y0, y1));
  const int64_t farthest =
      distance(std::abs(x0 - cx) >= std::abs(x1 - cx) ? x0 : x1, std::abs(y0 - cy) >= std::abs(y1 - cy) ? y0 : y1);
  std::vector<uint32_t> table(static_cast<size_t>(farthest - nearest + 1));
  for (int64_t d = nearest; d <= farthest; ++d) {
    const int64_t k = d / q, i = d % q;
    const float f = static_cast<float>(static_cast<double>(i) / static_cast<double>(q));
    table[static_cast<size_t>(d - nearest)] =
        colorAt(colors[static_cast<size_t>(k)], colors[static_cast<size_t>(k + 1)], f);
  }
  for (int64_t y = y0; y <= y1; ++y) {
    const double dy = static_cast<double>(y - cy);
    uint32_t* row = reinterpret_cast<uint32_t*>(pixelAt(0, y));
    for (int64_t x = x0; x <= x1; ++x) {
      const double dx = static_cast<double>(x - cx);
      const int64_t d = std::min(truncLong(std::sqrt(dx * dx + dy * dy)), entries - 1);
      std::memcpy(row + x, &table[static_cast<size_t>(d - nearest)], 4);
    }
  }
}

}  // namespace tmr

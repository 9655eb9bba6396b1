// Linear, concentric and radial gradients. Colours are interpolated channel by channel in
// straight ARGB (trunc(c1 + f × (c2 − c1)) in single precision), premultiplied as _setargb does
// and written without blending. Every loop is limited to the part of the rectangle that lies
// on the bitmap, so a huge rectangle costs what its visible part costs.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
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
// fractions are first held within ±10^6 (a gradient's fractions stay near 0 .. 1), so that
// every conversion is in range and a plain truncating conversion; and float(a) / 255 in single
// precision equals float(a / 255.0) for every alpha 0 .. 255.
void colorsAt(const Argb& c1, const Argb& c2, const float* f, uint32_t* out, int64_t n) {
  const float a1 = static_cast<float>(c1.a), r1 = static_cast<float>(c1.r), g1 = static_cast<float>(c1.g),
              b1 = static_cast<float>(c1.b);
  const float da = static_cast<float>(c2.a - c1.a), dr = static_cast<float>(c2.r - c1.r),
              dg = static_cast<float>(c2.g - c1.g), db = static_cast<float>(c2.b - c1.b);
  for (int64_t i = 0; i < n; ++i) {
    float v = f[i];
    v = v > -1e6f ? v : -1e6f;
    v = v < 1e6f ? v : 1e6f;
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
  // A fraction that was held back, or an alpha outside 0 .. 255, takes the rule as written.
  for (int64_t i = 0; i < n; ++i) {
    const float v = f[i];
    if (!(v > -1e6f && v < 1e6f)) {
      out[i] = colorAt(c1, c2, v);
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
// two on each side for the rounding of the float products.
std::array<int64_t, 2> visibleDistances(int64_t c, int sign, float f, int64_t size) {
  const double lo =
      sign > 0 ? (0.0 - static_cast<double>(c)) / f : (static_cast<double>(c) - static_cast<double>(size)) / f;
  const double hi =
      sign > 0 ? (static_cast<double>(size) - static_cast<double>(c)) / f : (static_cast<double>(c) + 1) / f;
  return {std::max<int64_t>(0, floorLong(lo) - 2), clampCoord(truncLong(std::ceil(hi)) + 2)};
}

}  // namespace

void tm_bitmapcreator::_fillgradient(const std::vector<int32_t>& GradColors, const Rect& R, const String& Orientation) {
  if (!finiteRect(R)) return;
  const float W = R.Width(), H = R.Height();
  if (!(W > 1 && H > 1 && R.Left < static_cast<float>(mwidth) && R.Top < static_cast<float>(mheight))) return;
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
    auto put = [&](int64_t x, int64_t y, uint32_t pixel) {
      if (inside(x, y)) std::memcpy(pixelAt(x, y), &pixel, 4);
    };
    // The rings whose sides can reach the bitmap: the top and bottom sides move by fy per ring,
    // the left and right sides by fx.
    const auto visible = merged({visibleDistances(cy, -1, fy, mheight), visibleDistances(cy, 1, fy, mheight),
                                 visibleDistances(cx, -1, fx, mwidth), visibleDistances(cx, 1, fx, mwidth)});
    // The e values of a side along x (or y) that can land on the bitmap.
    auto sideRange = [](int64_t c, float f, int64_t size, int64_t d) {
      const int64_t lo = floorLong((0.0 - static_cast<double>(c)) / f) - 2;
      const int64_t hi = truncLong(std::ceil((static_cast<double>(size) - static_cast<double>(c)) / f)) + 2;
      return std::array<int64_t, 2>{std::max(-d, lo), std::min(d, hi)};
    };
    for (int64_t k = 0; k < n; ++k) {
      const int64_t d0 = truncLong(static_cast<double>(k) / static_cast<double>(n) * static_cast<double>(Lp));
      const int64_t d1 = truncLong(static_cast<double>(k + 1) / static_cast<double>(n) * static_cast<double>(Lp));
      const Argb& c1 = colors[static_cast<size_t>(k)];
      const Argb& c2 = colors[static_cast<size_t>(k + 1)];
      for (const auto& iv : visible) {
        for (int64_t d = std::max(d0, iv[0]), dEnd = std::min(d1, iv[1]); d <= dEnd; ++d) {
          // A rectangle of two pixels or less across has no rings to spread the colours over.
          const float f =
              Lp <= 0 ? 0.0f : static_cast<float>((static_cast<float>(d) - stop[static_cast<size_t>(k)]) / per);
          const uint32_t pixel = colorAt(c1, c2, f);
          const float fd = static_cast<float>(d);
          // Every pixel of one ring gets the same colour, so its sides may be written one by one.
          const int64_t rowUp = truncLong(static_cast<float>(cy) - fd * fy);
          const int64_t rowDown = truncLong(static_cast<float>(cy) + fd * fy);
          const auto ex = sideRange(cx, fx, mwidth, d);
          for (int64_t e = ex[0]; e <= ex[1]; ++e) {
            const int64_t x = truncLong(static_cast<float>(cx) + static_cast<float>(e) * fx);
            put(x, rowUp, pixel);
            put(x, rowDown, pixel);
          }
          const int64_t colLeft = truncLong(static_cast<float>(cx) - fd * fx);
          const int64_t colRight = truncLong(static_cast<float>(cx) + fd * fx);
          const auto ey = sideRange(cy, fy, mheight, d);
          for (int64_t e = ey[0]; e <= ey[1]; ++e) {
            const int64_t y = truncLong(static_cast<float>(cy) + static_cast<float>(e) * fy);
            put(colLeft, y, pixel);
            put(colRight, y, pixel);
          }
        }
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
        for (int64_t y = y0; y < y1; ++y) put(col, y, last);
    return;
  }

  // A mirrored gradient walks the rectangle's columns whose mirror images lie on the bitmap.
  int64_t lo = left, hi = right;
  if (mirror) {
    lo = truncLong(std::max(R.Left, R.Left + R.Right - static_cast<float>(mwidth)));
    hi = truncLong(std::min(R.Right - 1, R.Left + R.Right - 1));
  }
  // Without a shift per row (the horizontal orientations) every row gets the same pixels: the
  // first is worked out, the others copy it.
  const bool sameRows = !vertical && inv == 0 && off == 0;
  std::vector<uint32_t> rowPixels, segment;
  std::vector<uint8_t> rowWritten;
  std::vector<float> fractions;
  std::vector<std::array<int64_t, 2>> rowRuns;
  if (sameRows && hi >= lo) {
    rowPixels.assign(static_cast<size_t>(mwidth), 0);
    rowWritten.assign(static_cast<size_t>(mwidth), 0);
  }
  for (int64_t y = top; y <= bottom; ++y) {
    if (sameRows && y > top) {
      // Copies the runs of pixels the first row wrote.
      if (rowRuns.empty()) {
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
      const int64_t sx = std::max(lo, x + 1);
      x = truncLong(std::min(R.Left + len[static_cast<size_t>(k + 1)] - off, static_cast<float>(hi)));
      const float pos = s * ((static_cast<float>(sx) - R.Left) + off);
      float f = static_cast<float>((pos - stop[static_cast<size_t>(k)]) / seg);
      const float step = static_cast<float>(s / seg);
      if (x < sx) continue;
      // The fractions are added up one by one, as the walk goes; the colours follow in bulk.
      const int64_t count = x - sx + 1;
      fractions.resize(static_cast<size_t>(count));
      segment.resize(static_cast<size_t>(count));
      for (int64_t i = 0; i < count; ++i, f += step) fractions[static_cast<size_t>(i)] = f;
      colorsAt(colors[static_cast<size_t>(k)], colors[static_cast<size_t>(k + 1)], fractions.data(), segment.data(),
               count);
      for (int64_t i = 0; i < count; ++i) {
        const int64_t px = sx + i;
        const int64_t tx = mirror ? truncLong((R.Right - 1) - (static_cast<float>(px) - R.Left)) : px;
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
  // The table of colours by whole distance, only as far as the bitmap's part of the rectangle
  // reaches; a pixel exactly at the corner distance takes the last entry.
  const double far = std::sqrt(std::pow(static_cast<double>(std::max(std::abs(x0 - cx), std::abs(x1 - cx))), 2) +
                               std::pow(static_cast<double>(std::max(std::abs(y0 - cy), std::abs(y1 - cy))), 2));
  const int64_t entries = std::min(Rd, truncLong(far) + 1);
  std::vector<uint32_t> table(static_cast<size_t>(entries));
  for (int64_t d = 0; d < entries; ++d) {
    const int64_t k = d / q, i = d % q;
    const float f = static_cast<float>(static_cast<double>(i) / static_cast<double>(q));
    table[static_cast<size_t>(d)] = colorAt(colors[static_cast<size_t>(k)], colors[static_cast<size_t>(k + 1)], f);
  }
  for (int64_t y = y0; y <= y1; ++y) {
    const double dy = static_cast<double>(y - cy);
    uint32_t* row = reinterpret_cast<uint32_t*>(pixelAt(0, y));
    for (int64_t x = x0; x <= x1; ++x) {
      const double dx = static_cast<double>(x - cx);
      const int64_t d = std::min(truncLong(std::sqrt(dx * dx + dy * dy)), entries - 1);
      std::memcpy(row + x, &table[static_cast<size_t>(d)], 4);
    }
  }
}

}  // namespace tmr

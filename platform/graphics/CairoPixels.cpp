#include "platform/graphics/CairoPixels.h"

#include <bit>
#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/graphics/Bitmap.h"

namespace tmr {

namespace {

// On a little-endian machine Cairo's word A R G B lies in memory as the bytes B, G, R, A: both
// directions of the conversion swap the first and third byte of each pixel.
uint32_t SwapRedBlue(uint32_t p) { return (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16); }

void SwapRedBlueRow(const unsigned char* in, unsigned char* out, size_t n) {
  size_t i = 0;
#if defined(__SSE2__)
  // Four pixels at a time: the conversion is bound by memory, not by arithmetic.
  const __m128i alphaGreen = _mm_set1_epi32(static_cast<int>(0xFF00FF00u));
  const __m128i lowByte = _mm_set1_epi32(0xFF);
  for (; i + 4 <= n; i += 4) {
    __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * i));
    __m128i blueRed = _mm_and_si128(_mm_srli_epi32(p, 16), lowByte);
    __m128i redBlue = _mm_slli_epi32(_mm_and_si128(p, lowByte), 16);
    __m128i q = _mm_or_si128(_mm_and_si128(p, alphaGreen), _mm_or_si128(blueRed, redBlue));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * i), q);
  }
#endif
  for (; i < n; ++i) {
    uint32_t p;
    std::memcpy(&p, in + 4 * i, 4);
    p = SwapRedBlue(p);
    std::memcpy(out + 4 * i, &p, 4);
  }
}

}  // namespace

void CopyArgbToRgba(const unsigned char* argb, int stride, int width, int height, uint8_t* rgba) {
  const size_t w = static_cast<size_t>(width);
  for (int y = 0; y < height; ++y) {
    const unsigned char* row = argb + static_cast<ptrdiff_t>(y) * stride;
    uint8_t* out = rgba + static_cast<size_t>(y) * w * 4;
    if constexpr (std::endian::native == std::endian::little) {
      SwapRedBlueRow(row, out, w);
    } else {
      for (size_t x = 0; x < w; ++x) {
        uint32_t p;
        std::memcpy(&p, row + 4 * x, 4);
        out[4 * x] = static_cast<uint8_t>(p >> 16);
        out[4 * x + 1] = static_cast<uint8_t>(p >> 8);
        out[4 * x + 2] = static_cast<uint8_t>(p);
        out[4 * x + 3] = static_cast<uint8_t>(p >> 24);
      }
    }
  }
}

void CopyRgbaToArgb(const uint8_t* rgba, int width, int height, unsigned char* argb, int stride) {
  const size_t w = static_cast<size_t>(width);
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = rgba + static_cast<size_t>(y) * w * 4;
    unsigned char* row = argb + static_cast<ptrdiff_t>(y) * stride;
    if constexpr (std::endian::native == std::endian::little) {
      SwapRedBlueRow(in, row, w);
    } else {
      for (size_t x = 0; x < w; ++x) {
        const uint8_t* p = in + 4 * x;
        uint32_t word = (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
        std::memcpy(row + 4 * x, &word, 4);
      }
    }
  }
}

cairo_surface_t* CairoSurfaceFromBitmap(const Bitmap& bitmap) {
  int w = bitmap.pixelWidth(), h = bitmap.pixelHeight();
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_surface_flush(surface);
  if (unsigned char* data = cairo_image_surface_get_data(surface)) {
    CopyRgbaToArgb(bitmap.pixels().data(), w, h, data, cairo_image_surface_get_stride(surface));
    cairo_surface_mark_dirty(surface);
  }
  return surface;
}

std::shared_ptr<Bitmap> BitmapFromCairoSurface(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  auto bitmap = Bitmap::Create(cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
  // A surface without memory (of no pixels, or in error) leaves the bitmap transparent.
  if (const unsigned char* data = cairo_image_surface_get_data(surface))
    CopyArgbToRgba(data, cairo_image_surface_get_stride(surface), bitmap->pixelWidth(), bitmap->pixelHeight(),
                   bitmap->pixels().data());
  return bitmap;
}

void UseUnhintedText(cairo_t* cr) {
  cairo_font_options_t* opts = cairo_font_options_create();
  cairo_font_options_set_hint_style(opts, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(opts, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(opts, CAIRO_ANTIALIAS_GRAY);
  cairo_set_font_options(cr, opts);
  cairo_font_options_destroy(opts);
}

}  // namespace tmr

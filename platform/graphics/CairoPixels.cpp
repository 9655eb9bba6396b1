#include "platform/graphics/CairoPixels.h"

#include <cstdint>
#include <vector>

#include "platform/graphics/Bitmap.h"

namespace tmr {

cairo_surface_t* CairoSurfaceFromBitmap(const Bitmap& bitmap) {
  int w = bitmap.pixelWidth(), h = bitmap.pixelHeight();
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  auto px = bitmap.pixels();
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = &px[(static_cast<size_t>(y) * w + x) * 4];
      row[x] = (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    }
  }
  cairo_surface_mark_dirty(surface);
  return surface;
}

std::shared_ptr<Bitmap> BitmapFromCairoSurface(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
  int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int x = 0; x < w; ++x) {
      uint32_t p = row[x];
      uint8_t* o = &rgba[(static_cast<size_t>(y) * w + x) * 4];
      o[0] = static_cast<uint8_t>(p >> 16);
      o[1] = static_cast<uint8_t>(p >> 8);
      o[2] = static_cast<uint8_t>(p);
      o[3] = static_cast<uint8_t>(p >> 24);
    }
  }
  return Bitmap::FromPixels(w, h, rgba);
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

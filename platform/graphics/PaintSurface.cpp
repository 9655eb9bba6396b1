#include "platform/graphics/PaintSurface.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/CairoPixels.h"

namespace tmr {

PaintSurface::~PaintSurface() {
  if (surface_) cairo_surface_destroy(surface_);
}

cairo_surface_t* PaintSurface::begin(int width, int height, bool clear) {
  width = std::max(1, width);
  height = std::max(1, height);
  if (surface_ &&
      (cairo_image_surface_get_width(surface_) != width || cairo_image_surface_get_height(surface_) != height ||
       cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS)) {
    cairo_surface_destroy(surface_);
    surface_ = nullptr;
  }
  if (!surface_) {
    // A new surface starts transparent.
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    return surface_;
  }
  if (clear) {
    cairo_surface_flush(surface_);
    if (unsigned char* data = cairo_image_surface_get_data(surface_)) {
      std::memset(data, 0, static_cast<size_t>(cairo_image_surface_get_stride(surface_)) * static_cast<size_t>(height));
      cairo_surface_mark_dirty(surface_);
    }
  }
  return surface_;
}

std::shared_ptr<Bitmap> PaintSurface::picture() {
  if (!surface_) return Bitmap::Create(0, 0);
  cairo_surface_flush(surface_);
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  int w = cairo_image_surface_get_width(surface_), h = cairo_image_surface_get_height(surface_);
  // A surface without memory (in error) gives a transparent picture.
  if (!data) return Bitmap::Create(w, h);
  // Whoever holds the last picture keeps it as it is: only an unshared one is filled again.
  if (!last_ || last_.use_count() != 1 || last_->pixelWidth() != w || last_->pixelHeight() != h)
    last_ = Bitmap::Create(w, h);
  CopyArgbToRgba(data, cairo_image_surface_get_stride(surface_), w, h, last_->pixels().data());
  return last_;
}

}  // namespace tmr

#pragma once
// Conversions between the platform Bitmap (premultiplied RGBA bytes) and Cairo image surfaces
// (premultiplied ARGB in native 32-bit words), for the platform's own Cairo drawing.
#include <cairo.h>

#include <memory>

namespace tmr {

class Bitmap;

// A new ARGB32 surface holding the bitmap's pixels; the caller destroys it.
cairo_surface_t* CairoSurfaceFromBitmap(const Bitmap& bitmap);
// A new bitmap holding the surface's pixels.
std::shared_ptr<Bitmap> BitmapFromCairoSurface(cairo_surface_t* surface);

}  // namespace tmr

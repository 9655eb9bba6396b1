#pragma once
// Conversions between the platform Bitmap (premultiplied RGBA bytes) and Cairo image surfaces
// (premultiplied ARGB in native 32-bit words), and the text options of every Cairo context, for
// the platform's own Cairo drawing.
#include <cairo.h>

#include <memory>

namespace tmr {

class Bitmap;

// A new ARGB32 surface holding the bitmap's pixels; the caller destroys it.
cairo_surface_t* CairoSurfaceFromBitmap(const Bitmap& bitmap);
// A new bitmap holding the surface's pixels.
std::shared_ptr<Bitmap> BitmapFromCairoSurface(cairo_surface_t* surface);
// Sets text without hinting and with grey antialiasing on cr, as every context that draws or
// measures text has it: text then measures the same at every scale, on every machine, and
// wherever it is drawn.
void UseUnhintedText(cairo_t* cr);

}  // namespace tmr

#pragma once
// Conversions between the platform Bitmap (premultiplied RGBA bytes) and Cairo image surfaces
// (premultiplied ARGB in native 32-bit words), and the text options of every Cairo context, for
// the platform's own Cairo drawing.
#include <cairo.h>

#include <cstdint>
#include <memory>

namespace tmr {

class Bitmap;

// A new ARGB32 surface holding the bitmap's pixels; the caller destroys it.
cairo_surface_t* CairoSurfaceFromBitmap(const Bitmap& bitmap);
// A new bitmap holding the surface's pixels.
std::shared_ptr<Bitmap> BitmapFromCairoSurface(cairo_surface_t* surface);
// Copies width × height pixels from Cairo's words (rows stride bytes apart) to RGBA bytes
// (rows without padding), and back.
void CopyArgbToRgba(const unsigned char* argb, int stride, int width, int height, uint8_t* rgba);
void CopyRgbaToArgb(const uint8_t* rgba, int width, int height, unsigned char* argb, int stride);
// Sets text without hinting and with grey antialiasing on cr, as every context that draws or
// measures text has it: text then measures the same at every scale, on every machine, and
// wherever it is drawn.
void UseUnhintedText(cairo_t* cr);

}  // namespace tmr

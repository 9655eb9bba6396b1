#pragma once
// The Cairo picture that the screen is drawn on, kept from one frame to the next: a frame of the
// same size draws into the same memory instead of a fresh one (whose page faults and clearing
// cost more than drawing the screen), and hands out its pixels in the bitmap of the previous
// frame when nobody holds that one any more.
#include <memory>

typedef struct _cairo_surface cairo_surface_t;

namespace tmr {

class Bitmap;

class PaintSurface {
 public:
  PaintSurface() = default;
  ~PaintSurface();
  PaintSurface(const PaintSurface&) = delete;
  PaintSurface& operator=(const PaintSurface&) = delete;

  // Makes the picture width × height pixels (at least 1 × 1) for a new frame. With clear, every
  // pixel is transparent, as on a new surface; without, the previous frame's pixels stay, for a
  // frame that paints every pixel opaquely itself.
  cairo_surface_t* begin(int width, int height, bool clear);

  // A bitmap with the frame's pixels. The bitmap of the previous call is filled again when it
  // is the same size and nobody else holds it, so that a bitmap handed out never changes.
  std::shared_ptr<Bitmap> picture();

 private:
  cairo_surface_t* surface_ = nullptr;
  std::shared_ptr<Bitmap> last_;
};

}  // namespace tmr

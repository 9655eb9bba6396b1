#include "platform/app/WindowFit.h"

#include <algorithm>
#include <cmath>

namespace tmr {

WindowFit::Size WindowFit::at(double scale) const {
  return Size{std::max(1, static_cast<int>(std::lround(width_ * scale))),
              std::max(1, static_cast<int>(std::lround(height_ * scale)))};
}

WindowFit::Size WindowFit::initialSize(Size usable) const {
  double room = std::min(usable.width / width_, (usable.height - kDecorationAllowance) / height_);
  return at(std::clamp(room, 0.0, kPreferredScale));
}

WindowFit::Placement WindowFit::place(Size pixels, Size largest) const {
  Size room = pixels;
  if (largest.width > 0) room.width = std::min(room.width, largest.width);
  if (largest.height > 0) room.height = std::min(room.height, largest.height);
  Placement p;
  p.scale = std::max(0.0, std::min(room.width / width_, room.height / height_));
  // A scale that rounds up past the room by a hair of floating point is lowered to fit.
  auto fits = [&](double s) { return std::ceil(width_ * s) <= room.width && std::ceil(height_ * s) <= room.height; };
  while (p.scale > 0 && !fits(p.scale)) p.scale = std::nextafter(p.scale, 0.0);
  // The same rounding as the renderer's picture, so that the picture fills the box exactly.
  p.width = static_cast<int>(std::ceil(width_ * p.scale));
  p.height = static_cast<int>(std::ceil(height_ * p.scale));
  p.left = std::max(0, (pixels.width - p.width) / 2);
  p.top = std::max(0, (pixels.height - p.height) / 2);
  return p;
}

}  // namespace tmr

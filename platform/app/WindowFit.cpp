#include "platform/app/WindowFit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tmr {

WindowFit::Size WindowFit::at(double scale) const {
  return Size{std::max(1, static_cast<int>(std::lround(width_ * scale))),
              std::max(1, static_cast<int>(std::lround(height_ * scale)))};
}

WindowFit::Size WindowFit::initialSize(Size usable) const {
  double room = std::min(usable.width / width_, (usable.height - kDecorationAllowance) / height_);
  return at(std::clamp(room, 0.0, kPreferredScale));
}

WindowFit::Placement WindowFit::place(Size pixels) const {
  Placement p;
  p.scale = std::max(0.0, std::min(pixels.width / width_, pixels.height / height_));
  // A scale that rounds up past the window by a hair of floating point is lowered to fit.
  auto fits = [&](double s) { return std::ceil(width_ * s) <= pixels.width && std::ceil(height_ * s) <= pixels.height; };
  while (p.scale > 0 && !fits(p.scale)) p.scale = std::nextafter(p.scale, 0.0);
  // The same rounding as the renderer's picture, so that the picture fills the box exactly.
  p.width = static_cast<int>(std::ceil(width_ * p.scale));
  p.height = static_cast<int>(std::ceil(height_ * p.scale));
  p.left = std::max(0, (pixels.width - p.width) / 2);
  p.top = std::max(0, (pixels.height - p.height) / 2);
  return p;
}

WindowFit::Size WindowFit::keepShape(Size before, Size after) const {
  double byWidth = after.width / width_, byHeight = after.height / height_;
  double widthChange = std::abs(after.width - before.width) / width_;
  double heightChange = std::abs(after.height - before.height) / height_;
  Size shaped = at(widthChange >= heightChange ? byWidth : byHeight);
  // Within a pixel of the shape already: leave it, or rounding would keep the window moving.
  if (std::abs(shaped.width - after.width) <= 1 && std::abs(shaped.height - after.height) <= 1) return after;
  return shaped;
}

}  // namespace tmr

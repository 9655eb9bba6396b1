#pragma once
// The runtime's bitmap: an immutable-size picture of premultiplied RGBA pixels (bytes R, G, B, A
// per pixel, rows top to bottom without padding), one pixel per point. Image views show it;
// the bitmap creator converts its own buffer to and from it. PNG files are read and written
// through Cairo so that pictures can be looked at.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/core/RuntimeObject.h"

namespace tmr {

class Bitmap : public RuntimeObject {
 public:
  // A transparent bitmap; negative sizes count as 0.
  static std::shared_ptr<Bitmap> Create(int width, int height);
  // A bitmap holding a copy of width × height premultiplied RGBA pixels.
  static std::shared_ptr<Bitmap> FromPixels(int width, int height, std::span<const uint8_t> rgba);
  // Reads a PNG file; a file that cannot be read, or a picture wider or higher than
  // kMaxPngSide, is a RuntimeError naming it.
  static constexpr uint32_t kMaxPngSide = 8192;
  static std::shared_ptr<Bitmap> LoadPng(const std::string& path);

  // Size in points, as Floats (the runtime's Bitmap.Width and Height).
  float Width() const { return static_cast<float>(width_); }
  float Height() const { return static_cast<float>(height_); }
  int pixelWidth() const { return width_; }
  int pixelHeight() const { return height_; }

  // A new bitmap of the given size (truncated to whole pixels) with this picture stretched
  // into it; with keepAspectRatio the picture keeps its proportions and fits inside that size.
  // Shrinking averages the covered pixels, enlarging interpolates between pixel centres.
  std::shared_ptr<Bitmap> Resize(float width, float height, bool keepAspectRatio) const;
  // Only the part (left, top, partWidth, partHeight) of this picture stretched to width × height:
  // the same pixels as that part of Resize's result, at the cost of the part alone.
  std::shared_ptr<Bitmap> ResizedPart(int64_t width, int64_t height, int64_t left, int64_t top, int partWidth,
                                      int partHeight) const;

  // Writes the picture as a PNG file; failure is a RuntimeError naming the file.
  void WritePng(const std::string& path) const;

  std::span<uint8_t> pixels() { return pixels_; }
  std::span<const uint8_t> pixels() const { return pixels_; }
  std::string description() const override;

  Bitmap(int width, int height);

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint8_t> pixels_;
};

}  // namespace tmr

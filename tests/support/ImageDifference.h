#pragma once
// How far two pictures differ, pixel by pixel: used to compare a rendered screen with a
// reference picture with a small tolerance (font smoothing may differ in its last bits).
#include <cstdint>
#include <string>

namespace tmr {

class Bitmap;

struct ImageDifference {
  bool sameSize = false;
  int64_t pixels = 0;      // pixels compared
  int64_t pixelsOver = 0;  // pixels where a channel differs by more than the threshold
  int maxDelta = 0;        // largest difference of one channel
  double meanDelta = 0;    // mean difference per channel

  static ImageDifference Of(const Bitmap& a, const Bitmap& b, int threshold);
  // Same size, at most `share` of the pixels over the threshold and a mean below meanLimit.
  bool within(double share, double meanLimit) const;
  std::string describe() const;
};

}  // namespace tmr

#include "tests/support/ImageDifference.h"

#include <algorithm>
#include <cstdlib>

#include "platform/graphics/Bitmap.h"

namespace tmr {

ImageDifference ImageDifference::Of(const Bitmap& a, const Bitmap& b, int threshold) {
  ImageDifference d;
  d.sameSize = a.pixelWidth() == b.pixelWidth() && a.pixelHeight() == b.pixelHeight();
  if (!d.sameSize) return d;
  auto pa = a.pixels(), pb = b.pixels();
  int64_t sum = 0;
  for (size_t i = 0; i < pa.size(); i += 4) {
    int worst = 0;
    for (size_t c = 0; c < 4; ++c) {
      int delta = std::abs(int{pa[i + c]} - int{pb[i + c]});
      sum += delta;
      worst = std::max(worst, delta);
    }
    d.maxDelta = std::max(d.maxDelta, worst);
    if (worst > threshold) ++d.pixelsOver;
  }
  d.pixels = static_cast<int64_t>(pa.size() / 4);
  d.meanDelta = pa.empty() ? 0 : static_cast<double>(sum) / static_cast<double>(pa.size());
  return d;
}

bool ImageDifference::within(double share, double meanLimit) const {
  return sameSize && static_cast<double>(pixelsOver) <= share * static_cast<double>(pixels) && meanDelta <= meanLimit;
}

std::string ImageDifference::describe() const {
  if (!sameSize) return "the pictures differ in size";
  return std::to_string(pixelsOver) + " of " + std::to_string(pixels) + " pixels differ, mean difference " +
         std::to_string(meanDelta) + ", largest " + std::to_string(maxDelta);
}

}  // namespace tmr

#include "platform/views/LayoutValues.h"

#include <cmath>
#include <string>

#include "platform/core/RuntimeError.h"

namespace tmr {

void LayoutValues::setNonnormalizedScale(float scale) {
  if (!(scale > 0) || !std::isfinite(scale))
    throw RuntimeError("A screen scale must be positive and finite: " + std::to_string(scale));
  scale_ = scale;
}

}  // namespace tmr

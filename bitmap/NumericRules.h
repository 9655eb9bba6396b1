#pragma once
// The numeric rules of the drawing code: conversions to Int truncate toward zero, Round is to
// nearest with ties to even. Both saturate instead of overflowing, and NaN becomes 0, so that
// no input makes a conversion undefined; callers reject non-finite geometry before converting.
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/core/Object.h"

namespace tmr::bcnum {

inline int64_t truncLong(double v) {
  if (!(v == v)) return 0;
  if (v >= 9.2e18) return std::numeric_limits<int64_t>::max();
  if (v <= -9.2e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(v);
}

inline int32_t truncInt(double v) { return TruncateToInt(v); }

// Round half to even (the default rounding mode), saturating.
inline int64_t roundLong(double v) { return truncLong(std::nearbyint(v)); }

inline int64_t floorLong(double v) { return truncLong(std::floor(v)); }

inline bool finite(float v) { return std::isfinite(v); }

// Coordinates far outside any bitmap are brought into a range where sums of a few of them
// cannot overflow 64-bit integers; the pixels drawn are the same.
inline int64_t clampCoord(int64_t v) {
  constexpr int64_t lim = int64_t{1} << 40;
  return v < -lim ? -lim : (v > lim ? lim : v);
}

// Advances an incrementally stepped position by count steps. Close to the bitmap the steps are
// added one by one, exactly as a walk over them would; a walk starting absurdly far away jumps.
inline float advanceSteps(float v, float step, int64_t count) {
  constexpr int64_t kExactSteps = int64_t{1} << 20;
  if (count <= 0) return v;
  if (count > kExactSteps) return v + step * static_cast<float>(count);
  for (int64_t i = 0; i < count; ++i) v += step;
  return v;
}

}  // namespace tmr::bcnum

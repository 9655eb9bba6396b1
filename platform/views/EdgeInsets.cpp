#include "platform/views/EdgeInsets.h"

#include "platform/core/Object.h"

namespace tmr {

std::string EdgeInsets::description() const {
  auto n = [](double v) { return Object(v).AsString().str(); };
  return "{" + n(top) + ", " + n(left) + ", " + n(bottom) + ", " + n(right) + "}";
}

}  // namespace tmr

#include "platform/views/HapticLog.h"

#include <algorithm>

namespace tmr {

int HapticLog::count(const std::string& call) const {
  return static_cast<int>(std::count(calls_.begin(), calls_.end(), call));
}

}  // namespace tmr

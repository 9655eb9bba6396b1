#include "platform/views/HapticLog.h"

#include <algorithm>

namespace tmr {

void HapticLog::record(std::string call) {
  if (listener_) listener_(call);
  if (calls_.size() >= kKeptCalls) calls_.erase(calls_.begin());
  calls_.push_back(std::move(call));
}

int HapticLog::count(const std::string& call) const {
  return static_cast<int>(std::count(calls_.begin(), calls_.end(), call));
}

}  // namespace tmr

#include "platform/views/HapticLog.h"

#include <algorithm>

#include "platform/core/KeptRecords.h"

namespace tmr {

void HapticLog::record(std::string call) {
  if (listener_) listener_(call);
  AppendKeepingLatest(calls_, std::move(call), kKeptCalls);
}

int HapticLog::count(const std::string& call) const {
  return static_cast<int>(std::count(calls_.begin(), calls_.end(), call));
}

}  // namespace tmr

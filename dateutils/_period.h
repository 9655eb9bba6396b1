#pragma once
// A span of calendar time: whole years, months and days, then hours, minutes and seconds. In a
// period measured by tm_dateutils every non-zero count has the same sign: positive when the end
// lies after the start.
#include <cstdint>

#include "platform/core/Record.h"

namespace tmr {

class _period : public Record {
 public:
  int32_t Years = 0;
  int32_t Months = 0;
  int32_t Days = 0;
  int32_t Hours = 0;
  int32_t Minutes = 0;
  int32_t Seconds = 0;

  // Marks the record initialised and sets the six counts to 0.
  void Initialize() override;

 protected:
  std::vector<std::pair<std::string, Object>> fields() const override;
};

}  // namespace tmr

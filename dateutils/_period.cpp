#include "dateutils/_period.h"

namespace tmr {

void _period::Initialize() {
  Record::Initialize();
  Years = Months = Days = Hours = Minutes = Seconds = 0;
}

std::vector<std::pair<std::string, Object>> _period::fields() const {
  return {{"IsInitialized", Object(IsInitialized)},
          {"Years", Object(Years)},
          {"Months", Object(Months)},
          {"Days", Object(Days)},
          {"Hours", Object(Hours)},
          {"Minutes", Object(Minutes)},
          {"Seconds", Object(Seconds)}};
}

}  // namespace tmr

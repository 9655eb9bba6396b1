#include "platform/dates/DateFormatGuard.h"

#include "platform/dates/DateTime.h"

namespace tmr {

DateFormatGuard::DateFormatGuard(DateTime& dt) : dt_(dt), dateFormat_(dt.DateFormat()), timeFormat_(dt.TimeFormat()) {}

void DateFormatGuard::restore() noexcept {
  // Both patterns were accepted before, so setting them back cannot fail.
  try {
    dt_.setDateFormat(dateFormat_);
    dt_.setTimeFormat(timeFormat_);
  } catch (...) {
  }
}

}  // namespace tmr

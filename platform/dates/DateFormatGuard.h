#pragma once
// Remembers the date service's date and time formats and puts them back when it goes out of
// scope, on every path out of a call, failures included. Code that changes a format for one
// call holds a guard, so that callers never see the change.
#include "platform/core/String.h"

namespace tmr {

class DateTime;

class DateFormatGuard {
 public:
  explicit DateFormatGuard(DateTime& dt);
  ~DateFormatGuard() { restore(); }
  DateFormatGuard(const DateFormatGuard&) = delete;
  DateFormatGuard& operator=(const DateFormatGuard&) = delete;

  // Puts both formats back now (again at scope exit, harmlessly).
  void restore() noexcept;

 private:
  DateTime& dt_;
  String dateFormat_;
  String timeFormat_;
};

}  // namespace tmr

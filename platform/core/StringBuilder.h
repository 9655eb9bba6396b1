#pragma once
// The runtime's text buffer; positions in UTF-16 code units.
#include <string>

#include "platform/core/String.h"

namespace tmr {

class StringBuilder {
 public:
  void Initialize() { units_.clear(); }
  StringBuilder& Append(const String& s) {
    units_ += s.units();
    return *this;
  }
  StringBuilder& Insert(int offset, const String& s);  // 0 … Length
  StringBuilder& Remove(int begin, int end);           // [begin, end)
  int Length() const { return static_cast<int>(units_.size()); }
  String ToString() const { return String(units_); }

 private:
  std::u16string units_;
};

}  // namespace tmr

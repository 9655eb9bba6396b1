#pragma once
// A colour with straight alpha, each channel 0..255 (values outside are kept as given).
#include "platform/core/Record.h"

namespace tmr {

class _argbcolor : public Record {
 public:
  void Initialize() override {
    IsInitialized = true;
    a = r = g = b = 0;
  }

  int32_t a = 0;
  int32_t r = 0;
  int32_t g = 0;
  int32_t b = 0;

 protected:
  std::vector<std::pair<std::string, Object>> fields() const override {
    return {{"a", a}, {"r", r}, {"g", g}, {"b", b}};
  }
};

}  // namespace tmr

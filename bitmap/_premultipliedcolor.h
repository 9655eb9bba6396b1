#pragma once
// A colour whose r, g and b are already multiplied by a / 255, as the pixel buffer stores it.
#include "platform/core/Record.h"

namespace tmr {

class _premultipliedcolor : public Record {
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

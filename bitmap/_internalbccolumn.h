#pragma once
// A column buffer of the shape filler: one x position (or half width) per bitmap row.
// Values[y - StartY] belongs to row y; rows StartY .. EndY - 1 are covered.
#include <cstdint>
#include <vector>

#include "platform/core/Record.h"

namespace tmr {

class _internalbccolumn : public Record {
 public:
  void Initialize() override {
    IsInitialized = true;
    Values.clear();
    StartY = EndY = 0;
    LeftSide = false;
  }
  bool hasRow(int64_t y) const { return y >= StartY && y < EndY; }
  float& at(int64_t y) { return Values[static_cast<size_t>(y - StartY)]; }

  std::vector<float> Values;
  int32_t StartY = 0;
  int32_t EndY = 0;
  bool LeftSide = false;

 protected:
  std::vector<std::pair<std::string, Object>> fields() const override {
    return {{"Values", "(float[" + std::to_string(Values.size()) + "])"},
            {"StartY", StartY},
            {"EndY", EndY},
            {"LeftSide", LeftSide}};
  }
};

}  // namespace tmr

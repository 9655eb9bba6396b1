#pragma once
// Scratch storage of the rotated drawing of compressed bitmaps: sums of samples per pixel.
#include <cstdint>
#include <vector>

#include "platform/core/Record.h"

namespace tmr {

class _internalantialiasingbuffer : public Record {
 public:
  void Initialize() override {
    IsInitialized = true;
    IntsArray.clear();
  }

  std::vector<int32_t> IntsArray;

 protected:
  std::vector<std::pair<std::string, Object>> fields() const override {
    return {{"IntsArray", "(int[" + std::to_string(IntsArray.size()) + "])"}};
  }
};

}  // namespace tmr

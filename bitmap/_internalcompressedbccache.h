#pragma once
// The colour cache of compressed bitmaps: runs of 40 pixels of one colour stored once, each in
// a slot of 160 bytes (slot n at byte n × 160 of mBuffer), found by colour in ColorsMap.
// Shared by every compressed bitmap extracted with it; it only grows.
#include "platform/core/ByteArray.h"
#include "platform/core/Map.h"
#include "platform/core/Record.h"

namespace tmr {

class _internalcompressedbccache : public Record {
 public:
  // ColorsMap new and uninitialised, mBuffer empty.
  void Initialize() override {
    IsInitialized = true;
    ColorsMap = Map();
    mBuffer = ByteArray(0);
  }

  Map ColorsMap;
  ByteArray mBuffer;

 protected:
  std::vector<std::pair<std::string, Object>> fields() const override {
    std::vector<std::pair<std::string, Object>> f;
    f.emplace_back("ColorsMap", ColorsMap.IsInitialized() ? Object(ColorsMap) : Object());
    f.emplace_back("mBuffer", Object(mBuffer));
    return f;
  }
};

}  // namespace tmr

#pragma once
// Service and characteristic ids between the two forms in use: the central's (upper case, the
// short four-digit form for ids on the Bluetooth base UUID, "1800", "6E400001-B5A3-…") and the
// system Bluetooth service's (the full 128-bit form in lower case, "00001800-0000-1000-8000-
// 00805f9b34fb").
#include <string>
#include <string_view>

namespace tmr {

class BleUuid {
 public:
  // "1800" → "00001800-0000-1000-8000-00805f9b34fb"; a full id → lower case. Other text is
  // returned lower-cased as it is (it then matches nothing).
  static std::string toBus(std::string_view id);
  // "00001800-0000-1000-8000-00805f9b34fb" → "1800"; any other id → upper case.
  static std::string fromBus(std::string_view uuid);
};

}  // namespace tmr

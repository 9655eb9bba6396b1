#include "platform/ble/TivomarshFirmware.h"

namespace tmr {

std::optional<TivomarshFirmware::Status> TivomarshFirmware::receive(std::span<const uint8_t> command) {
  if (command.size() != 2) return std::nullopt;
  const uint8_t code = command[0];
  switch (code) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
      settings_[code] = command[1];
      return settings_;
    case 5:
      ++sprays_;
      return std::nullopt;
    case 6:
      ++tones_;
      return std::nullopt;
    case 7:
      return settings_;
    default:
      return std::nullopt;
  }
}

}  // namespace tmr

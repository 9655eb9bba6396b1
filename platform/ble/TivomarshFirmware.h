#pragma once
// The firmware of a simulated Tivomarsh device: five settings and the two-byte commands that
// the remote writes to the device's UART receive characteristic.
//   0 v … 4 v  set setting 0 … 4 to v, then report the status
//   5 x        spray now          6 x  sound a tone now
//   7 x        report the status
// Anything else (another code, another length) is ignored. The status is the five settings,
// one byte each: sensitivity, barks, bark time, spray duration, tone duration.
#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace tmr {

class TivomarshFirmware {
 public:
  using Status = std::array<uint8_t, 5>;
  static constexpr Status kDefaultSettings{64, 3, 4, 14, 1};

  // Handles one write; returns the status when the command asks for it to be reported.
  std::optional<Status> receive(std::span<const uint8_t> command);

  const Status& status() const { return settings_; }
  void setStatus(const Status& settings) { settings_ = settings; }
  int sprays() const { return sprays_; }
  int tones() const { return tones_; }

 private:
  Status settings_ = kDefaultSettings;
  int sprays_ = 0;
  int tones_ = 0;
};

}  // namespace tmr

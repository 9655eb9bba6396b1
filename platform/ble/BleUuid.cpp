#include "platform/ble/BleUuid.h"

#include <cctype>

namespace tmr {

namespace {

// Every 16- and 32-bit id stands for xxxxxxxx-0000-1000-8000-00805f9b34fb.
constexpr std::string_view kBaseSuffix = "-0000-1000-8000-00805f9b34fb";

std::string Cased(std::string_view s, int (*f)(int)) {
  std::string out(s);
  for (auto& ch : out) ch = static_cast<char>(f(static_cast<unsigned char>(ch)));
  return out;
}

bool IsHex(std::string_view s) {
  for (char ch : s) {
    if (!std::isxdigit(static_cast<unsigned char>(ch))) return false;
  }
  return !s.empty();
}

}  // namespace

std::string BleUuid::toBus(std::string_view id) {
  std::string lower = Cased(id, ::tolower);
  if (lower.size() == 4 && IsHex(lower)) return "0000" + lower + std::string(kBaseSuffix);
  if (lower.size() == 8 && IsHex(lower)) return lower + std::string(kBaseSuffix);
  return lower;
}

std::string BleUuid::fromBus(std::string_view uuid) {
  std::string upper = Cased(uuid, ::toupper);
  std::string suffix = Cased(kBaseSuffix, ::toupper);
  if (upper.size() == 36 && upper.ends_with(suffix) && upper.starts_with("0000") && IsHex(upper.substr(4, 4)))
    return upper.substr(4, 4);
  return upper;
}

}  // namespace tmr

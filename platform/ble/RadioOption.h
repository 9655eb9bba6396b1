#pragma once
// The radio a run of the program works over, as the command line names it ("--radio NAME"):
// "simulated", the built-in simulated radio (the default: demos, tests, machines without
// Bluetooth), or "system", the Linux Bluetooth service on the system bus (a real device).
#include <optional>
#include <string>
#include <string_view>

#include "platform/ble/SystemRadio.h"

namespace tmr {

class Runtime;

class RadioOption {
 public:
  enum class Kind { Simulated, System };

  // The kind a command-line word names, or nothing.
  static std::optional<Kind> Parse(std::string_view word);
  static std::string_view Name(Kind kind) { return kind == Kind::System ? "system" : "simulated"; }
  // Why the radio cannot be used now, in one line (the system bus or the Bluetooth service out
  // of reach), or nothing. The simulated radio is always there.
  static std::optional<std::string> Unavailable(Kind kind);
  // Makes the runtime's Bluetooth LE managers work over this radio; call it before the
  // application starts (its managers are initialised then). The system radio reports what
  // fails later on through the runtime's log, and waits as timeouts say.
  static void Apply(Runtime& rt, Kind kind, SystemRadio::Timeouts timeouts = {});
};

}  // namespace tmr

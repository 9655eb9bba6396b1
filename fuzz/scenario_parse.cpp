// Scenario files as a user writes them: any text either reads as commands or is refused with
// a ScenarioError naming a line of the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/driver/Scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    auto scenario = tmr::Scenario::Parse(text);
    for (const auto& c : scenario.commands)
      if (c.line < 1 || c.verb.empty()) std::abort();
    scenario.viewNames();
  } catch (const tmr::ScenarioError& e) {
    if (e.line < 1) std::abort();
  }
  return 0;
}

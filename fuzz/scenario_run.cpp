// Scenario files run against the application on the virtual clock, as the program's
// --scenario does: any text ends as passed, failed or malformed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "app/TivomarshApplication.h"
#include "platform/driver/AppDriver.h"
#include "platform/driver/Scenario.h"
#include "platform/driver/ScenarioRunner.h"

namespace {

// Screenshots would write files wherever the input names; they are left out. Long waits are
// legal but only slow the fuzzer down (a held arrow repeats every 30 ms of them).
constexpr int64_t kMaxWaitMs = 60'000;

bool Runnable(std::string_view text) {
  try {
    int64_t waited = 0;
    for (const auto& c : tmr::Scenario::Parse(text).commands) {
      if (c.verb == "screenshot") return false;
      if (c.verb == "wait") waited += std::stoll(c.args[0].text);
      if (waited > kMaxWaitMs) return false;
    }
  } catch (const tmr::ScenarioError&) {
    // Malformed text is run too: the runner must refuse it the same way.
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!Runnable(text)) return 0;
  std::ostringstream transcript;
  tmr::ScenarioRunner runner(tmr::TivomarshApplication(), transcript, tmr::AppDriver::DefaultAssetsDirectory());
  int result = runner.run(text, "fuzz.scenario");
  if (result != tmr::ScenarioRunner::kPassed && result != tmr::ScenarioRunner::kFailed &&
      result != tmr::ScenarioRunner::kMalformed)
    std::abort();
  return 0;
}

#include "platform/views/ImpactFeedbackGenerator.h"

#include "platform/core/RuntimeError.h"
#include "platform/views/HapticLog.h"

namespace tmr {

Object ImpactFeedbackGenerator::runMethod(std::string_view selector, std::vector<Object> args) {
  if (selector == "initWithStyle:" && args.size() == 1) {
    style_ = args[0].AsInt();
    log_.record("initWithStyle: " + std::to_string(style_));
    return Object(self<ImpactFeedbackGenerator>());
  }
  if (selector == "init" && args.empty()) {
    log_.record("init");
    return Object(self<ImpactFeedbackGenerator>());
  }
  if (selector == "prepare" && args.empty()) {
    log_.record("prepare");
    return {};
  }
  if (selector == "impactOccurred" && args.empty()) {
    log_.record("impactOccurred");
    return {};
  }
  throw RuntimeError("Method not found: " + std::string(selector) + " (UIImpactFeedbackGenerator)");
}

}  // namespace tmr

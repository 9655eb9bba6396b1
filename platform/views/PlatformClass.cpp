#include "platform/views/PlatformClass.h"

#include "platform/core/RuntimeError.h"

namespace tmr {

Object PlatformClass::runMethod(std::string_view selector, std::vector<Object> args) {
  if ((selector == "alloc" || selector == "new") && args.empty()) return Object(make_());
  throw RuntimeError("Method not found: " + std::string(selector) + " (" + name_ + ")");
}

}  // namespace tmr

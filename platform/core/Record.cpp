#include "platform/core/Record.h"

namespace tmr {

std::string Record::description() const {
  if (!IsInitialized) return "Not initialized";
  std::string s = "[";
  bool first = true;
  for (auto& [name, value] : fields()) {
    if (!first) s += ", ";
    first = false;
    s += name + "=" + value.AsString().str();
  }
  return s + "]";
}

}  // namespace tmr

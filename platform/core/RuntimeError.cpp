#include "platform/core/RuntimeError.h"

namespace tmr {

RuntimeError OutOfBounds(int64_t index, int64_t length) {
  return RuntimeError("Out of bounds. Index=" + std::to_string(index) + " Length=" + std::to_string(length));
}

RuntimeError NotInitialized(std::string_view type) {
  return RuntimeError("Object not initialized (" + std::string(type) + ")");
}

RuntimeError CannotParse(std::string_view text) { return RuntimeError("Cannot parse: " + std::string(text)); }

}  // namespace tmr

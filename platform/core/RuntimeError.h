#pragma once
// The runtime's misuse errors: exceptions that carry the runtime's own message texts.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tmr {

class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(const std::string& message) : std::runtime_error(message) {}
};

// "Out of bounds. Index=%d Length=%d"
[[nodiscard]] RuntimeError OutOfBounds(int64_t index, int64_t length);
// "Object not initialized (List)" / "(Map)" / ...
[[nodiscard]] RuntimeError NotInitialized(std::string_view type);
// "Cannot parse: %@", with the text in place of %@.
[[nodiscard]] RuntimeError CannotParse(std::string_view text);

}  // namespace tmr

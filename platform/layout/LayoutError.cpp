#include "platform/layout/LayoutError.h"

namespace tmr {

std::string LayoutError::Compose(std::string_view file, std::string_view view, std::string_view key,
                                 std::string_view why) {
  std::string s(file);
  if (!view.empty()) s += ": view " + std::string(view);
  if (!key.empty()) s += ": key \"" + std::string(key) + "\"";
  s += ": ";
  s += why;
  return s;
}

LayoutError::LayoutError(std::string_view file, std::string_view view, std::string_view key, std::string_view why)
    : RuntimeError(Compose(file, view, key, why)) {}

}  // namespace tmr

#include "platform/views/TextAlignment.h"

#include <string>

#include "platform/core/RuntimeError.h"
#include "platform/core/String.h"

namespace tmr {

namespace {
std::string Upper(std::string_view name) { return String(name).ToUpperCase().str(); }
}  // namespace

VerticalAlignment TextAlignment::ParseVertical(std::string_view name) {
  auto n = Upper(name);
  if (n == "TOP") return VerticalAlignment::Top;
  if (n == "CENTER") return VerticalAlignment::Center;
  if (n == "BOTTOM") return VerticalAlignment::Bottom;
  throw RuntimeError("Invalid vertical alignment: " + std::string(name));
}

HorizontalAlignment TextAlignment::ParseHorizontal(std::string_view name) {
  auto n = Upper(name);
  if (n == "LEFT") return HorizontalAlignment::Left;
  if (n == "CENTER") return HorizontalAlignment::Center;
  if (n == "RIGHT") return HorizontalAlignment::Right;
  throw RuntimeError("Invalid horizontal alignment: " + std::string(name));
}

}  // namespace tmr

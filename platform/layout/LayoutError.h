#pragma once
// A layout that cannot be loaded: the message names the file and, where it applies, the view
// and the key ("tivomarshApple.layout: view pmbarks: key "Cyclic": missing").
#include <string>
#include <string_view>

#include "platform/core/RuntimeError.h"

namespace tmr {

class LayoutError : public RuntimeError {
 public:
  LayoutError(std::string_view file, std::string_view view, std::string_view key, std::string_view why);
  static std::string Compose(std::string_view file, std::string_view view, std::string_view key, std::string_view why);
};

}  // namespace tmr

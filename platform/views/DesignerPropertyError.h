#pragma once
// The error a custom view raises when one of its designer properties holds a value it cannot be
// built with (a number past what it can lay out): the runtime's error, with the property's key,
// so that the layout loader names that key where the value was written.
#include <string>
#include <utility>

#include "platform/core/RuntimeError.h"

namespace tmr {

class DesignerPropertyError : public RuntimeError {
 public:
  DesignerPropertyError(std::string key, const std::string& message) : RuntimeError(message), key_(std::move(key)) {}
  const std::string& key() const { return key_; }

 private:
  std::string key_;
};

}  // namespace tmr

#pragma once
// A platform object that answers calls by selector ("initWithStyle:", "impactOccurred").
#include <string_view>
#include <vector>

#include "platform/core/Object.h"

namespace tmr {

class NativeCallable : public RuntimeObject {
 public:
  // Runs the method named by selector; an unknown selector is an error naming it.
  virtual Object runMethod(std::string_view selector, std::vector<Object> args) = 0;
};

}  // namespace tmr

#pragma once
// The runtime's NativeObject: wraps any object and calls its methods by selector. A module's
// own platform-style methods ("UIImageToBuffer:::::", "action:") are found in its sub table;
// platform objects answer through NativeCallable; platform classes come from the registry.
#include <string_view>
#include <vector>

#include "platform/core/Object.h"

namespace tmr {

class Runtime;

class NativeObject {
 public:
  NativeObject() = default;
  explicit NativeObject(Object o) : o_(std::move(o)) {}

  // The platform class of that name (the runtime's "Initialize" with a class name).
  static NativeObject ClassByName(Runtime& rt, std::string_view className);

  bool IsInitialized() const { return !o_.IsNull(); }
  const Object& object() const { return o_; }
  // Calls selector with args; the result is wrapped again so calls can be chained.
  NativeObject RunMethod(std::string_view selector, std::vector<Object> args = {}) const;

 private:
  Object o_;
};

}  // namespace tmr

#pragma once
// A platform class as module code reaches it by name through NativeObject: "alloc" and "new"
// make an instance (initialised afterwards by its own "init…" selector).
#include <functional>
#include <memory>
#include <string>

#include "platform/native/NativeCallable.h"

namespace tmr {

class PlatformClass : public NativeCallable {
 public:
  using Factory = std::function<std::shared_ptr<NativeCallable>()>;
  PlatformClass(std::string name, Factory make) : name_(std::move(name)), make_(std::move(make)) {}

  Object runMethod(std::string_view selector, std::vector<Object> args) override;
  std::string description() const override { return "(class " + name_ + ")"; }

 private:
  std::string name_;
  Factory make_;
};

}  // namespace tmr

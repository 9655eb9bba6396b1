#pragma once
// The platform classes that module code reaches by name through NativeObject: each name maps
// to the class object (a NativeCallable that answers "alloc", "new" and class methods).
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/native/NativeCallable.h"

namespace tmr {

class Runtime;

class NativeRegistry {
 public:
  using Factory = std::function<std::shared_ptr<NativeCallable>(Runtime&)>;
  explicit NativeRegistry(Runtime& rt) : rt_(rt) {}

  void registerClass(std::string name, Factory factory);
  bool hasClass(std::string_view name) const;
  // The class object named; an unknown name is an error naming it.
  std::shared_ptr<NativeCallable> classNamed(std::string_view name);

 private:
  Runtime& rt_;
  std::map<std::string, Factory, std::less<>> factories_;
  std::map<std::string, std::shared_ptr<NativeCallable>, std::less<>> classes_;
};

}  // namespace tmr

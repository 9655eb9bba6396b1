#include "platform/native/NativeRegistry.h"

#include "platform/core/RuntimeError.h"

namespace tmr {

void NativeRegistry::registerClass(std::string name, Factory factory) {
  classes_.erase(name);
  factories_[std::move(name)] = std::move(factory);
}

bool NativeRegistry::hasClass(std::string_view name) const { return factories_.find(name) != factories_.end(); }

std::shared_ptr<NativeCallable> NativeRegistry::classNamed(std::string_view name) {
  if (auto it = classes_.find(name); it != classes_.end()) return it->second;
  auto f = factories_.find(name);
  if (f == factories_.end()) throw RuntimeError("Class not found: " + std::string(name));
  auto cls = f->second(rt_);
  classes_.emplace(std::string(name), cls);
  return cls;
}

}  // namespace tmr

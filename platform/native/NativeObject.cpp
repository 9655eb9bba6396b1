#include "platform/native/NativeObject.h"

#include "platform/core/Module.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/native/NativeCallable.h"
#include "platform/native/NativeRegistry.h"

namespace tmr {

NativeObject NativeObject::ClassByName(Runtime& rt, std::string_view className) {
  return NativeObject(Object(rt.service<NativeRegistry>().classNamed(className)));
}

NativeObject NativeObject::RunMethod(std::string_view selector, std::vector<Object> args) const {
  if (auto callable = o_.As<NativeCallable>()) return NativeObject(callable->runMethod(selector, std::move(args)));
  if (auto module = o_.As<Module>()) {
    std::string key;
    for (char ch : selector) key += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    const auto* entry = module->subTable().find(key);
    if (!entry || static_cast<size_t>(entry->arity) != args.size())
      throw RuntimeError("Method not found: " + std::string(selector) + " (" + std::string(module->className()) + ")");
    return NativeObject(entry->call(*module, args));
  }
  throw RuntimeError("Object does not respond to " + std::string(selector) + ": " + o_.AsString().str());
}

}  // namespace tmr

#pragma once
// Base of every reference-counted object of the runtime (modules, views, records, lists,
// coroutines, ...). Held by std::shared_ptr; Object refers to one by reference.
#include <memory>
#include <string>

namespace tmr {

class String;

class RuntimeObject : public std::enable_shared_from_this<RuntimeObject> {
 public:
  virtual ~RuntimeObject() = default;
  // The runtime's text for the object, as "ToString" or a log line shows it.
  virtual std::string description() const;

  template <class T>
  std::shared_ptr<T> self() {
    return std::static_pointer_cast<T>(shared_from_this());
  }
  template <class T>
  std::shared_ptr<const T> self() const {
    return std::static_pointer_cast<const T>(shared_from_this());
  }
};

}  // namespace tmr

#pragma once
// A module's fields that a layout binds by name: loading a layout stores each view whose name
// equals a field's name in that field (a custom view's instance for a custom view). A module
// that loads layouts derives from LayoutFields and lists its fields:
//   field<&tm_main::btnscan>("btnscan")
// The field's type decides what it accepts (FromObject converts): a ButtonWrapper field takes a
// button only, a std::shared_ptr<tm_plusminus> field that class only.
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/core/Object.h"
#include "platform/core/SubTable.h"

namespace tmr {

class Module;

class FieldTable {
 public:
  // Stores the value in the field; false when the value is not of the field's type.
  using Setter = std::function<bool(Module&, const Object&)>;
  // Keeps the field's value as it is now; the function returned puts it back (while the module
  // lives), so that a layout refused after binding leaves the module as it was.
  using Keeper = std::function<std::function<void()>(Module&)>;
  struct Entry {
    std::string name;
    Setter set;
    Keeper keep;
  };

  FieldTable() = default;
  FieldTable(std::initializer_list<Entry> entries);
  const Entry* find(std::string_view name) const;  // name in lower case
  size_t size() const { return entries_.size(); }

 private:
  std::unordered_map<std::string, Entry> entries_;
};

// Implemented by modules that load layouts.
class LayoutFields {
 public:
  virtual ~LayoutFields() = default;
  virtual const FieldTable& fieldTable() const = 0;
};

namespace detail {
template <class M>
struct FieldTraits;
template <class C, class T>
struct FieldTraits<T C::*> {
  using Class = C;
  using Type = T;
};
// Whether a converted value holds something (an initialised handle or a non-null pointer).
template <class T>
bool Holds(const T& v) {
  if constexpr (requires { v.IsInitialized(); }) {
    return v.IsInitialized();
  } else {
    return static_cast<bool>(v);
  }
}
}  // namespace detail

template <auto M>
FieldTable::Entry field(std::string name) {
  using Traits = detail::FieldTraits<decltype(M)>;
  return FieldTable::Entry{std::move(name),
                           [](Module& m, const Object& value) {
                             auto v = FromObject<typename Traits::Type>::get(value);
                             if (!detail::Holds(v)) return false;
                             dynamic_cast<typename Traits::Class&>(m).*M = std::move(v);
                             return true;
                           },
                           [](Module& m) -> std::function<void()> {
                             auto& owner = dynamic_cast<typename Traits::Class&>(m);
                             return [&owner, kept = owner.*M]() { owner.*M = kept; };
                           }};
}

}  // namespace tmr

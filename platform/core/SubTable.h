#pragma once
// A class's table of subs callable by name: from a sub's key ("_setnumericrange:::", one ':'
// per parameter, lower case) to an adapter that converts the Objects of a call by name into the
// member function's parameter types and its result back into an Object.
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <unordered_map>
#include <utility>

#include "platform/core/ByteArray.h"
#include "platform/core/List.h"
#include "platform/core/Map.h"
#include "platform/core/Object.h"

namespace tmr {

class Module;

// Conversion of a by-name argument to a parameter type.
template <class T>
struct FromObject;
template <>
struct FromObject<Object> {
  static Object get(const Object& o) { return o; }
};
template <>
struct FromObject<bool> {
  static bool get(const Object& o) { return o.AsBool(); }
};
template <>
struct FromObject<int32_t> {
  static int32_t get(const Object& o) { return o.AsInt(); }
};
template <>
struct FromObject<int64_t> {
  static int64_t get(const Object& o) { return o.AsLong(); }
};
template <>
struct FromObject<float> {
  static float get(const Object& o) { return o.AsFloat(); }
};
template <>
struct FromObject<double> {
  static double get(const Object& o) { return o.AsDouble(); }
};
template <>
struct FromObject<String> {
  static String get(const Object& o) { return o.AsString(); }
};
template <>
struct FromObject<List> {
  static List get(const Object& o) { return o.AsList(); }
};
template <>
struct FromObject<Map> {
  static Map get(const Object& o) { return o.AsMap(); }
};
template <>
struct FromObject<ByteArray> {
  static ByteArray get(const Object& o) { return o.AsBytes(); }
};
template <class T>
struct FromObject<std::shared_ptr<T>> {
  static std::shared_ptr<T> get(const Object& o) { return o.As<T>(); }
};

class SubTable {
 public:
  using Adapter = std::function<Object(Module&, std::span<const Object>)>;
  struct Entry {
    std::string key;
    int arity;
    Adapter call;
  };

  SubTable() = default;
  explicit SubTable(std::initializer_list<Entry> entries);

  // The sub with this key (lower case, e.g. "_base_resize::"), or nullptr.
  const Entry* find(std::string_view key) const;
  size_t size() const { return entries_.size(); }

 private:
  std::unordered_map<std::string, Entry> entries_;
};

namespace detail {
template <class F>
struct MemberTraits;
template <class R, class C, class... A>
struct MemberTraits<R (C::*)(A...)> {
  using Class = C;
  using Result = R;
  using Args = std::tuple<std::decay_t<A>...>;
  static constexpr int arity = sizeof...(A);
};
template <class R, class C, class... A>
struct MemberTraits<R (C::*)(A...) const> : MemberTraits<R (C::*)(A...)> {};

template <auto F, class Traits, size_t... I>
Object Invoke(Module& m, std::span<const Object> args, std::index_sequence<I...>) {
  using C = typename Traits::Class;
  auto& self = dynamic_cast<C&>(m);
  if constexpr (std::is_void_v<typename Traits::Result>) {
    (self.*F)(FromObject<std::tuple_element_t<I, typename Traits::Args>>::get(args[I])...);
    return Object();
  } else {
    return Object((self.*F)(FromObject<std::tuple_element_t<I, typename Traits::Args>>::get(args[I])...));
  }
}
}  // namespace detail

// One entry of a sub table: sub<&tm_plusminus::_setnumericrange>("_setnumericrange:::").
// The key's number of ':' must equal the member function's number of parameters.
template <auto F>
SubTable::Entry sub(std::string key) {
  using Traits = detail::MemberTraits<decltype(F)>;
  int colons = 0;
  for (char ch : key) colons += ch == ':';
  if (colons != Traits::arity) throw std::logic_error("sub key " + key + " does not match its parameters");
  return SubTable::Entry{std::move(key), Traits::arity, [](Module& m, std::span<const Object> args) {
                           return detail::Invoke<F, Traits>(m, args, std::make_index_sequence<Traits::arity>());
                         }};
}

// The key of a sub called by name: "_" + lower(name) + one ':' per argument.
std::string SubKey(std::string_view name, int argumentCount);

}  // namespace tmr

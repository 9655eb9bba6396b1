#pragma once
// The objects that a D-Bus service exports under its object manager, as this process last heard
// of them: path → interface → property → value. Filled from GetManagedObjects and kept current
// from InterfacesAdded, InterfacesRemoved and PropertiesChanged. Only the value types a Bluetooth
// central reads are kept (Boolean, integers, text and object paths, lists of text, bytes); a
// property of another type is kept as present (true), which is all its users ask of it.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tmr {

class BusObjectTree {
 public:
  using Value = std::variant<bool, int64_t, std::string, std::vector<std::string>, std::vector<uint8_t>>;
  using Properties = std::map<std::string, Value>;
  using Interfaces = std::map<std::string, Properties>;
  using Objects = std::map<std::string, Interfaces>;

  void replace(Objects objects) { objects_ = std::move(objects); }
  void clear() { objects_.clear(); }
  // The object gains these interfaces (an interface it has already is replaced).
  void add(const std::string& path, Interfaces interfaces);
  // The object loses these interfaces; an object left with none is gone.
  void remove(const std::string& path, const std::vector<std::string>& interfaces);
  // Applies a change of properties; false (and nothing changed) when the object does not have
  // the interface.
  bool change(const std::string& path, const std::string& interface, const Properties& changed,
              const std::vector<std::string>& invalidated);

  bool has(const std::string& path, const std::string& interface) const;
  // The objects with the interface, in path order.
  std::vector<std::string> withInterface(const std::string& interface) const;
  // The objects with the interface whose property `link` is the object path `parent`, in path
  // order (a device's services, a service's characteristics).
  std::vector<std::string> children(const std::string& interface, const std::string& link,
                                    const std::string& parent) const;
  // A property of the given type, or null when it is absent or of another type.
  template <class T>
  const T* get(const std::string& path, const std::string& interface, const std::string& name) const {
    const Value* v = find(path, interface, name);
    return v ? std::get_if<T>(v) : nullptr;
  }
  bool flag(const std::string& path, const std::string& interface, const std::string& name) const {
    const bool* b = get<bool>(path, interface, name);
    return b && *b;
  }

 private:
  const Value* find(const std::string& path, const std::string& interface, const std::string& name) const;

  Objects objects_;
};

}  // namespace tmr

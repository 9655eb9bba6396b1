#pragma once
// The runtime's map: a handle to a shared map from Object keys to Object values. Keys keep
// the order of their first insertion, so every run is reproducible; putting an existing key
// replaces its value in place. Keys compare as Object's == does.
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/core/Object.h"

namespace tmr {

class MapData : public RuntimeObject {
 public:
  std::vector<std::pair<Object, Object>> entries;
  std::unordered_map<Object, size_t> index;  // key -> position in entries
  std::string description() const override;
};

class Map {
 public:
  Map() = default;  // created, not initialised
  explicit Map(std::shared_ptr<MapData> d) : d_(std::move(d)) {}
  static Map Of(std::vector<std::pair<Object, Object>> entries);  // an initialised map

  void Initialize();
  bool IsInitialized() const { return d_ != nullptr; }
  int Size() const;
  void Put(const Object& key, Object value);
  Object Get(const Object& key) const;  // null when absent
  Object GetDefault(const Object& key, const Object& fallback) const;
  bool ContainsKey(const Object& key) const;
  Object Remove(const Object& key);  // the removed value, or null
  void Clear();
  Object GetKeyAt(int index) const;
  Object GetValueAt(int index) const;
  std::vector<Object> Keys() const;    // in key order
  std::vector<Object> Values() const;  // in key order

  const std::vector<std::pair<Object, Object>>& entries() const;
  const std::shared_ptr<MapData>& shared() const { return d_; }
  friend bool operator==(const Map& a, const Map& b) { return a.d_ == b.d_; }

 private:
  MapData& data() const;
  std::shared_ptr<MapData> d_;
};

}  // namespace tmr

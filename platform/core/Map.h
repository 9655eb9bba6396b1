#pragma once
// The runtime's map: a handle to a shared map from Object keys to Object values. Keys keep
// the order of their first insertion, so every run is reproducible; putting an existing key
// replaces its value in place. Keys compare as Object's == does, so a NaN key equals nothing,
// not even itself: each Put of one adds an entry that no Get, ContainsKey or Remove finds (it
// goes with Clear or Initialize), as a list's IndexOf never finds a NaN.
//
// Removing a key leaves a hole in the entry array rather than moving every later entry (which
// would also mean re-indexing their keys): a removal costs about what an insertion does. Access
// by position skips the holes through a rank index kept while there are any, and the holes are
// squeezed out once they make up half of the array.
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/core/LiveSlots.h"
#include "platform/core/Object.h"

namespace tmr {

class MapData : public RuntimeObject {
 public:
  std::vector<std::pair<Object, Object>> slots;  // in insertion order, holes included
  std::unordered_map<Object, size_t> index;      // key -> its slot
  std::optional<LiveSlots> holes;                // set while some slot is a hole
  std::string description() const override;

  size_t size() const { return holes ? holes->live() : slots.size(); }
  bool isLive(size_t slot) const { return !holes || holes->isLive(slot); }
  // The slot of the entry at a position in key order.
  size_t slotAt(size_t position) const { return holes ? holes->slotOfRank(position) : position; }
  // Moves the live entries together and re-indexes them; no holes afterwards.
  void compact();
  void clear();
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

  // A copy of the entries in key order: a walk over it may put and remove keys of this map,
  // and sees the entries as they were when it began.
  std::vector<std::pair<Object, Object>> entries() const;
  const std::shared_ptr<MapData>& shared() const { return d_; }
  friend bool operator==(const Map& a, const Map& b) { return a.d_ == b.d_; }

 private:
  MapData& data() const;
  std::pair<Object, Object>& at(int index) const;  // the entry at a position, checked
  std::shared_ptr<MapData> d_;
};

}  // namespace tmr

#pragma once
// The runtime's Map run step by step beside a plain model of it: the entries in insertion order
// in a vector, found by a linear search with Object's ==. A NaN key equals nothing, so the model
// never finds one and each put of one adds an entry. The steps come from a source of bytes (a
// seeded generator in a test, the fuzzer's input in a harness): puts and removals of keys that
// include NaNs of both widths, removals by position, reads, whole walks that put and remove
// keys as they go, and now and then a Clear. After each step the map must agree with the model.
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Map.h"

namespace tmr {

class MapModel {
 public:
  explicit MapModel(std::function<uint8_t()> next) : next_(std::move(next)) { map_.Initialize(); }

  // Runs one step; "" while the map agrees with the model, else what differs.
  std::string step() {
    const uint8_t op = next_() % 12;
    if (op < 4) {
      put(key());
    } else if (op < 6) {
      Object k = key();
      Object got = map_.Remove(k);
      Object want = remove(k);
      if (!(got == want)) return "Remove(" + Text(k) + ") gave " + Text(got) + ", not " + Text(want);
    } else if (op == 6 && !entries_.empty()) {
      // By position, as a caller emptying the map from its keys would.
      const int at = next_() % static_cast<int>(entries_.size());
      Object k = map_.GetKeyAt(at);
      if (!Same(k, entries_[static_cast<size_t>(at)].first)) return "GetKeyAt(" + std::to_string(at) + ") differs";
      map_.Remove(k);
      remove(k);
    } else if (op == 7) {
      if (auto walk = walkChanging(); !walk.empty()) return walk;
    } else if (op == 8) {
      Object k = key();
      const auto* e = find(k);
      if (map_.ContainsKey(k) != (e != nullptr)) return "ContainsKey(" + Text(k) + ") differs";
      if (!(map_.GetDefault(k, -1) == (e ? e->second : Object(-1)))) return "Get(" + Text(k) + ") differs";
    } else if (op == 9) {
      if (!Same(map_.Keys(), keys())) return "Keys() differ";
      if (map_.Values() != values()) return "Values() differ";
    } else if (op == 11 && next_() < 8) {
      map_.Clear();
      entries_.clear();
    } else {
      put(key());
    }
    return agrees();
  }

  const Map& map() const { return map_; }

 private:
  using Entry = std::pair<Object, Object>;

  // Both NaN (of the same width) or equal: the same key as far as a reader can tell.
  static bool Same(const Object& a, const Object& b) {
    if (a.kind() == b.kind() && (a.kind() == Object::Kind::Double || a.kind() == Object::Kind::Float) &&
        std::isnan(a.AsDouble()) && std::isnan(b.AsDouble()))
      return true;
    return a == b;
  }
  static bool Same(const std::vector<Object>& a, const std::vector<Object>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
      if (!Same(a[i], b[i])) return false;
    }
    return true;
  }
  static std::string Text(const Object& o) { return o.AsString().str(); }

  // Small integers, the same as Doubles, texts, a Long, a fraction and NaNs of both widths.
  Object key() {
    const uint8_t k = next_() % 26;
    if (k < 12) return Object(static_cast<int32_t>(k));
    if (k < 14) return Object(static_cast<double>(k - 12));  // equal to Int 0 and 1
    if (k < 16) return Object(std::string(1, static_cast<char>('a' + k - 14)));
    if (k == 16) return Object(int64_t{1} << 40);
    if (k == 17) return Object(0.5);
    if (k < 21) return Object(std::nan(""));
    if (k < 24) return Object(std::nanf(""));
    return Object(-std::nan(""));
  }

  const Entry* find(const Object& k) const {
    for (const auto& e : entries_) {
      if (e.first == k) return &e;
    }
    return nullptr;
  }
  void put(const Object& k) {
    Object v(++counter_);
    map_.Put(k, v);
    for (auto& e : entries_) {
      if (e.first == k) {
        e.second = v;
        return;
      }
    }
    entries_.emplace_back(k, v);
  }
  Object remove(const Object& k) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
      if (it->first == k) {
        Object v = it->second;
        entries_.erase(it);
        return v;
      }
    }
    return {};
  }
  std::vector<Object> keys() const {
    std::vector<Object> out;
    for (const auto& e : entries_) out.push_back(e.first);
    return out;
  }
  std::vector<Object> values() const {
    std::vector<Object> out;
    for (const auto& e : entries_) out.push_back(e.second);
    return out;
  }

  // A walk over the entries that removes about half the keys it meets and puts one: it sees
  // every entry that was there when it began, in order, with its value then.
  std::string walkChanging() {
    const auto before = entries_;
    size_t i = 0;
    bool putOne = false;
    for (const auto& [k, v] : map_.entries()) {
      if (i >= before.size() || !Same(k, before[i].first) || !(v == before[i].second))
        return "the walk met entry " + std::to_string(i) + " changed";
      const uint8_t what = next_() % 4;
      if (what < 2) {
        map_.Remove(k);
        remove(k);
      } else if (what == 2 && !putOne) {
        put(key());
        putOne = true;
      }
      ++i;
    }
    if (i != before.size()) return "the walk met " + std::to_string(i) + " of " + std::to_string(before.size());
    return "";
  }

  std::string agrees() const {
    if (map_.Size() != static_cast<int>(entries_.size()))
      return "Size() " + std::to_string(map_.Size()) + ", not " + std::to_string(entries_.size());
    for (size_t i = 0; i < entries_.size(); ++i) {
      const int at = static_cast<int>(i);
      if (!Same(map_.GetKeyAt(at), entries_[i].first) || !(map_.GetValueAt(at) == entries_[i].second))
        return "the entry at " + std::to_string(i) + " differs";
    }
    return "";
  }

  std::function<uint8_t()> next_;
  Map map_;
  std::vector<Entry> entries_;
  int32_t counter_ = 0;
};

}  // namespace tmr

#include "platform/core/Map.h"

#include "platform/core/RuntimeError.h"

namespace tmr {

std::string MapData::description() const {
  std::string s = "(MyMap) {";
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i) s += ", ";
    s += entries[i].first.AsString().str() + "=" + entries[i].second.AsString().str();
  }
  return s + "}";
}

Map Map::Of(std::vector<std::pair<Object, Object>> entries) {
  Map m;
  m.Initialize();
  for (auto& [k, v] : entries) m.Put(k, std::move(v));
  return m;
}

void Map::Initialize() {
  if (d_) {
    d_->entries.clear();
    d_->index.clear();
  } else {
    d_ = std::make_shared<MapData>();
  }
}

MapData& Map::data() const {
  if (!d_) throw NotInitialized("Map");
  return *d_;
}

int Map::Size() const { return static_cast<int>(data().entries.size()); }

void Map::Put(const Object& key, Object value) {
  auto& d = data();
  auto it = d.index.find(key);
  if (it != d.index.end()) {
    d.entries[it->second].second = std::move(value);
    return;
  }
  d.index.emplace(key, d.entries.size());
  d.entries.emplace_back(key, std::move(value));
}

Object Map::Get(const Object& key) const { return GetDefault(key, Object()); }

Object Map::GetDefault(const Object& key, const Object& fallback) const {
  auto& d = data();
  auto it = d.index.find(key);
  return it == d.index.end() ? fallback : d.entries[it->second].second;
}

bool Map::ContainsKey(const Object& key) const { return data().index.contains(key); }

Object Map::Remove(const Object& key) {
  auto& d = data();
  auto it = d.index.find(key);
  if (it == d.index.end()) return {};
  size_t pos = it->second;
  Object value = std::move(d.entries[pos].second);
  d.index.erase(it);
  d.entries.erase(d.entries.begin() + static_cast<std::ptrdiff_t>(pos));
  for (size_t i = pos; i < d.entries.size(); ++i) d.index[d.entries[i].first] = i;
  return value;
}

void Map::Clear() {
  auto& d = data();
  d.entries.clear();
  d.index.clear();
}

Object Map::GetKeyAt(int index) const {
  auto& e = data().entries;
  if (index < 0 || static_cast<size_t>(index) >= e.size()) throw OutOfBounds(index, static_cast<int64_t>(e.size()));
  return e[static_cast<size_t>(index)].first;
}

Object Map::GetValueAt(int index) const {
  auto& e = data().entries;
  if (index < 0 || static_cast<size_t>(index) >= e.size()) throw OutOfBounds(index, static_cast<int64_t>(e.size()));
  return e[static_cast<size_t>(index)].second;
}

std::vector<Object> Map::Keys() const {
  std::vector<Object> out;
  for (auto& [k, v] : data().entries) out.push_back(k);
  return out;
}

std::vector<Object> Map::Values() const {
  std::vector<Object> out;
  for (auto& [k, v] : data().entries) out.push_back(v);
  return out;
}

const std::vector<std::pair<Object, Object>>& Map::entries() const { return data().entries; }

}  // namespace tmr

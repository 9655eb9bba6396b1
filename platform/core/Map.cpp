#include "platform/core/Map.h"

#include <cmath>
#include <type_traits>
#include <vector>

#include "platform/core/RuntimeError.h"

namespace tmr {

namespace {
bool EqualsItself(const Object& key) {
  return !((key.kind() == Object::Kind::Double || key.kind() == Object::Kind::Float) && std::isnan(key.AsDouble()));
}

// What pick makes of each live entry, in order, skipping the holes (nothing is squeezed out).
template <class Pick>
auto CollectLive(const MapData& d, Pick pick) {
  std::vector<std::decay_t<decltype(pick(d.slots.front()))>> out;
  out.reserve(d.size());
  for (size_t i = 0; i < d.slots.size(); ++i) {
    if (d.isLive(i)) out.push_back(pick(d.slots[i]));
  }
  return out;
}
}  // namespace

std::string MapData::description() const {
  std::string s = "(MyMap) {";
  bool first = true;
  for (size_t i = 0; i < slots.size(); ++i) {
    if (!isLive(i)) continue;
    if (!first) s += ", ";
    first = false;
    s += slots[i].first.AsString().str() + "=" + slots[i].second.AsString().str();
  }
  return s + "}";
}

void MapData::compact() {
  if (!holes) return;
  // The index is renumbered from each entry's old slot, never by looking its key up: a key
  // that equals nothing (a NaN) is not in it.
  std::vector<size_t> moved(slots.size());
  size_t to = 0;
  for (size_t from = 0; from < slots.size(); ++from) {
    if (!holes->isLive(from)) continue;
    moved[from] = to;
    if (to != from) slots[to] = std::move(slots[from]);
    ++to;
  }
  slots.resize(to);
  for (auto& [key, slot] : index) slot = moved[slot];
  holes.reset();
}

void MapData::clear() {
  slots.clear();
  index.clear();
  holes.reset();
}

Map Map::Of(std::vector<std::pair<Object, Object>> entries) {
  Map m;
  m.Initialize();
  for (auto& [k, v] : entries) m.Put(k, std::move(v));
  return m;
}

void Map::Initialize() {
  if (d_) {
    d_->clear();
  } else {
    d_ = std::make_shared<MapData>();
  }
}

MapData& Map::data() const {
  if (!d_) throw NotInitialized("Map");
  return *d_;
}

int Map::Size() const { return static_cast<int>(data().size()); }

void Map::Put(const Object& key, Object value) {
  auto& d = data();
  // A key that equals nothing (a NaN) is never found, so it is not indexed: the index holds
  // only keys that equal themselves, as a hash table needs.
  if (EqualsItself(key)) {
    auto it = d.index.find(key);
    if (it != d.index.end()) {
      d.slots[it->second].second = std::move(value);
      return;
    }
    d.index.emplace(key, d.slots.size());
  }
  d.slots.emplace_back(key, std::move(value));
  if (d.holes) d.holes->append();
}

Object Map::Get(const Object& key) const { return GetDefault(key, Object()); }

Object Map::GetDefault(const Object& key, const Object& fallback) const {
  auto& d = data();
  auto it = d.index.find(key);
  return it == d.index.end() ? fallback : d.slots[it->second].second;
}

bool Map::ContainsKey(const Object& key) const { return data().index.contains(key); }

Object Map::Remove(const Object& key) {
  auto& d = data();
  auto it = d.index.find(key);
  if (it == d.index.end()) return {};
  size_t slot = it->second;
  d.index.erase(it);
  Object value = std::move(d.slots[slot].second);
  if (!d.holes && slot + 1 == d.slots.size()) {
    d.slots.pop_back();  // the last entry of a map without holes leaves none
    return value;
  }
  // The hole's key goes at once, so that it holds nothing alive.
  d.slots[slot] = {};
  if (!d.holes) d.holes.emplace(d.slots.size());
  d.holes->kill(slot);
  if (d.holes->live() * 2 < d.slots.size()) d.compact();
  return value;
}

void Map::Clear() { data().clear(); }

std::pair<Object, Object>& Map::at(int index) const {
  auto& d = data();
  if (index < 0 || static_cast<size_t>(index) >= d.size()) throw OutOfBounds(index, static_cast<int64_t>(d.size()));
  return d.slots[d.slotAt(static_cast<size_t>(index))];
}

Object Map::GetKeyAt(int index) const { return at(index).first; }

Object Map::GetValueAt(int index) const { return at(index).second; }

std::vector<Object> Map::Keys() const {
  return CollectLive(data(), [](const auto& e) { return e.first; });
}

std::vector<Object> Map::Values() const {
  return CollectLive(data(), [](const auto& e) { return e.second; });
}

std::vector<std::pair<Object, Object>> Map::entries() const {
  return CollectLive(data(), [](const auto& e) { return e; });
}

}  // namespace tmr

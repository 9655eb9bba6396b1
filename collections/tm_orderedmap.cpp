#include "collections/tm_orderedmap.h"

#include <string>

#include "collections/tm_collections.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"

namespace tmr {

void tm_orderedmap::_initialize(const std::shared_ptr<Dispatcher>& ba) {
  initializeClassModule(ba->runtime());
  map.Initialize();
  list.Initialize();
}

void tm_orderedmap::_class_globals() {
  collections = runtime().codeModule<tm_collections>();
  map = Map();
  list = List();
}

void tm_orderedmap::_put(const Object& key, const Object& value) {
  // A null key could not be told apart from the null that _get gives for a missing key.
  if (key.IsNull()) throw RuntimeError("Map key must not be null");
  if (!map.ContainsKey(key)) list.Add(key);
  map.Put(key, value);
}

Object tm_orderedmap::_get(const Object& key) const { return map.Get(key); }

Object tm_orderedmap::_getdefault(const Object& key, const Object& defaultValue) const {
  Object value = map.Get(key);
  return value.IsNull() ? defaultValue : value;
}

bool tm_orderedmap::_containskey(const Object& key) const { return map.ContainsKey(key); }

void tm_orderedmap::_remove(const Object& key) {
  if (!map.ContainsKey(key)) return;
  list.RemoveAt(list.IndexOf(key));
  map.Remove(key);
}

void tm_orderedmap::_clear() {
  list.Clear();
  map.Clear();
}

List tm_orderedmap::_getvalues() const {
  List values;
  values.Initialize();
  auto& out = values.items();
  out.reserve(list.items().size());
  for (const Object& key : list) out.push_back(map.Get(key));
  return values;
}

std::vector<Object> tm_orderedmap::_getdataforserializator() const { return {Object(map), Object(list)}; }

void tm_orderedmap::_setdatafromserializator(const std::vector<Object>& data) {
  if (data.size() < 2) throw OutOfBounds(1, static_cast<int64_t>(data.size()));
  Map m = data[0].AsMap();
  List l = data[1].AsList();
  // Anything else would leave the map unusable; keep the current parts instead.
  if (!m.IsInitialized() || !l.IsInitialized())
    throw RuntimeError("Ordered map data must hold a map and a list, got: " + data[0].AsString().str() + ", " +
                       data[1].AsString().str());
  map = m;
  list = l;
}

const SubTable& tm_orderedmap::subTable() const {
  static const SubTable table{
      sub<&tm_orderedmap::_put>("_put::"),
      sub<&tm_orderedmap::_get>("_get:"),
      sub<&tm_orderedmap::_getdefault>("_getdefault::"),
      sub<&tm_orderedmap::_containskey>("_containskey:"),
      sub<&tm_orderedmap::_remove>("_remove:"),
      sub<&tm_orderedmap::_clear>("_clear"),
      sub<&tm_orderedmap::_getkeys>("_getkeys"),
      sub<&tm_orderedmap::_getvalues>("_getvalues"),
      sub<&tm_orderedmap::_getsize>("_getsize"),
      // The runtime's values have no array of objects: by name, the two parts travel as a list.
      SubTable::Entry{"_getdataforserializator", 0,
                      [](Module& m, std::span<const Object>) {
                        return Object(List::Of(dynamic_cast<tm_orderedmap&>(m)._getdataforserializator()));
                      }},
      SubTable::Entry{"_setdatafromserializator:", 1,
                      [](Module& m, std::span<const Object> args) {
                        dynamic_cast<tm_orderedmap&>(m)._setdatafromserializator(args[0].AsList().items());
                        return Object();
                      }},
  };
  return table;
}

}  // namespace tmr

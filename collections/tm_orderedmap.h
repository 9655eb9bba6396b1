#pragma once
// A map that remembers its keys in the order in which they were first put. Replacing a value
// keeps the key's place; a key that is removed and put again goes to the end. Keys compare as
// the runtime compares them: numbers by value across Int, Long and Double, texts by content,
// a number never equal to a text.
//
// Invariant: `list` holds exactly the keys of `map`, each once, in first-insertion order.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/core/List.h"
#include "platform/core/Map.h"
#include "platform/core/Module.h"

namespace tmr {

class tm_collections;

class tm_orderedmap : public ClassModule {
 public:
  // Resets every field and starts with an empty map and key list.
  void _initialize(const std::shared_ptr<Dispatcher>& ba);

  // Appends key to the key list when it is new, then stores value. A null key is rejected.
  void _put(const Object& key, const Object& value);
  // The value of key, or null when absent.
  Object _get(const Object& key) const;
  // The value of key, or defaultValue when the key is absent or its value is null.
  Object _getdefault(const Object& key, const Object& defaultValue) const;
  bool _containskey(const Object& key) const;
  // Removes key from the key list and from the map; an absent key changes nothing. Finding the
  // key's place in the list is a linear search.
  void _remove(const Object& key);
  void _clear();
  // The live key list, in first-insertion order: changing it changes the collection.
  List _getkeys() const { return list; }
  // A new list of the values, key by key in key order.
  List _getvalues() const;
  int32_t _getsize() const { return map.Size(); }

  // Hooks by which an object serializer stores the map as its two parts and rebuilds it:
  // {map, key list}, and back (the parts are taken as they are, not copied).
  std::vector<Object> _getdataforserializator() const;
  void _setdatafromserializator(const std::vector<Object>& data);

  std::string_view className() const override { return "tm_orderedmap"; }
  const SubTable& subTable() const override;

  std::shared_ptr<tm_collections> collections;
  Map map;    // key -> value
  List list;  // the keys, each once, in the order of their first put

 protected:
  void _class_globals() override;
};

}  // namespace tmr

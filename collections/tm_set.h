#pragma once
// A set of values in first-insertion order, stored as the keys of an ordered map (each with
// the value ""). Values compare as the runtime compares map keys.
#include <cstdint>
#include <memory>
#include <string_view>

#include "collections/tm_orderedmap.h"
#include "platform/core/List.h"
#include "platform/core/Module.h"

namespace tmr {

class tm_collections;

class tm_set : public ClassModule {
 public:
  // Resets every field and starts empty.
  void _initialize(const std::shared_ptr<Dispatcher>& ba);

  // Adds value unless the set holds it already (then its place is kept). Null is rejected.
  void _add(const Object& value) { map->_put(value, Object("")); }
  // Removes value; an absent value changes nothing. Linear in the size of the set.
  void _remove(const Object& value) { map->_remove(value); }
  bool _contains(const Object& value) const { return map->_containskey(value); }
  void _clear() { map->_clear(); }
  int32_t _getsize() const { return map->_getsize(); }
  // The live list of the values, in first-insertion order: changing it changes the set.
  List _aslist() const { return map->_getkeys(); }

  std::string_view className() const override { return "tm_set"; }
  const SubTable& subTable() const override;

  std::shared_ptr<tm_collections> collections;
  std::shared_ptr<tm_orderedmap> map = std::make_shared<tm_orderedmap>();

 protected:
  void _class_globals() override;
};

}  // namespace tmr

#include "collections/tm_collections.h"

#include "collections/tm_bitset.h"
#include "collections/tm_orderedmap.h"
#include "collections/tm_set.h"

namespace tmr {

std::shared_ptr<tm_orderedmap> tm_collections::_createorderedmap() { return _createorderedmap2(List(), List()); }

std::shared_ptr<tm_orderedmap> tm_collections::_createorderedmap2(const List& keys, const List& values) {
  auto m = std::make_shared<tm_orderedmap>();
  m->_initialize(bi);
  if (keys.IsInitialized() && values.IsInitialized()) {
    const int32_t n = keys.Size();
    for (int32_t i = 0; i < n; ++i) m->_put(keys.Get(i), values.Get(i));
  }
  return m;
}

std::shared_ptr<tm_set> tm_collections::_createset() { return _createset2(List()); }

std::shared_ptr<tm_set> tm_collections::_createset2(const List& items) {
  auto s = std::make_shared<tm_set>();
  s->_initialize(bi);
  if (items.IsInitialized()) {
    // Index by index, as the list may not change while it is read.
    const int32_t n = items.Size();
    for (int32_t i = 0; i < n; ++i) s->_add(items.Get(i));
  }
  return s;
}

std::shared_ptr<tm_bitset> tm_collections::_createbitset(int32_t size) {
  auto b = std::make_shared<tm_bitset>();
  b->_initialize(bi, size);
  return b;
}

const SubTable& tm_collections::subTable() const {
  static const SubTable table{
      sub<&tm_collections::_createorderedmap>("_createorderedmap"),
      sub<&tm_collections::_createorderedmap2>("_createorderedmap2::"),
      sub<&tm_collections::_createset>("_createset"),
      sub<&tm_collections::_createset2>("_createset2:"),
      sub<&tm_collections::_createbitset>("_createbitset:"),
  };
  return table;
}

}  // namespace tmr

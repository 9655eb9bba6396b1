#include "collections/tm_set.h"

#include "collections/tm_collections.h"
#include "platform/core/Runtime.h"

namespace tmr {

void tm_set::_initialize(const std::shared_ptr<Dispatcher>& ba) {
  initializeClassModule(ba->runtime());
  map->_initialize(bi);
}

void tm_set::_class_globals() {
  collections = runtime().codeModule<tm_collections>();
  map = std::make_shared<tm_orderedmap>();
}

const SubTable& tm_set::subTable() const {
  static const SubTable table{
      sub<&tm_set::_add>("_add:"),    sub<&tm_set::_remove>("_remove:"),  sub<&tm_set::_contains>("_contains:"),
      sub<&tm_set::_clear>("_clear"), sub<&tm_set::_getsize>("_getsize"), sub<&tm_set::_aslist>("_aslist"),
  };
  return table;
}

}  // namespace tmr

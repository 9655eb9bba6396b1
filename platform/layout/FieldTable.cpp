#include "platform/layout/FieldTable.h"

namespace tmr {

FieldTable::FieldTable(std::initializer_list<Entry> entries) {
  for (const auto& e : entries) entries_.emplace(e.name, e);
}

const FieldTable::Entry* FieldTable::find(std::string_view name) const {
  auto it = entries_.find(std::string(name));
  return it == entries_.end() ? nullptr : &it->second;
}

}  // namespace tmr

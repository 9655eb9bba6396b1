#include "platform/core/SubTable.h"

#include <cctype>

namespace tmr {

SubTable::SubTable(std::initializer_list<Entry> entries) {
  for (auto& e : entries) {
    std::string k;
    for (char ch : e.key) k += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    Entry copy = e;
    copy.key = k;
    entries_.emplace(k, std::move(copy));
  }
}

const SubTable::Entry* SubTable::find(std::string_view key) const {
  auto it = entries_.find(std::string(key));
  return it == entries_.end() ? nullptr : &it->second;
}

std::string SubKey(std::string_view name, int argumentCount) {
  std::string k = "_";
  for (char ch : name) k += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  k.append(static_cast<size_t>(argumentCount), ':');
  return k;
}

}  // namespace tmr

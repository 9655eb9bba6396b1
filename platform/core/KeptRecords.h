#pragma once
// Records a long-running program keeps for whoever looks (tests, transcripts) but that nothing
// may need in a window that runs for days: only the latest ones stay.
#include <cstddef>
#include <utility>
#include <vector>

namespace tmr {

// Appends `record`, dropping the oldest so that at most `keep` stay. True when one was dropped.
template <class T>
bool AppendKeepingLatest(std::vector<T>& records, T record, size_t keep) {
  const bool dropped = records.size() >= keep;
  if (dropped) records.erase(records.begin());
  records.push_back(std::move(record));
  return dropped;
}

}  // namespace tmr

#pragma once
// Which slots of a growing array are still live, for containers that leave a hole where an
// element was removed instead of shifting the later ones. Besides the flag of each slot it
// answers "how many live slots come before this one" and "which slot is the k-th live one" in
// O(log n), through a Fenwick tree of live counts; appending and killing a slot are O(log n).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tmr {

class LiveSlots {
 public:
  // n slots, all live.
  explicit LiveSlots(size_t n);

  size_t slots() const { return dead_.size(); }
  size_t live() const { return live_; }
  bool isLive(size_t slot) const { return !dead_[slot]; }
  // Adds one live slot at the end.
  void append();
  // Marks a live slot dead.
  void kill(size_t slot);
  // The slot of the k-th live slot (0-based); k < live().
  size_t slotOfRank(size_t k) const;

 private:
  size_t prefix(size_t count) const;  // live slots among the first `count`

  std::vector<bool> dead_;
  std::vector<uint32_t> tree_;  // 1-based: tree_[i] counts the live slots (i - lowbit(i), i]
  size_t live_ = 0;
};

}  // namespace tmr

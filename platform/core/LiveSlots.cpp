#include "platform/core/LiveSlots.h"

#include <bit>

namespace tmr {

namespace {
size_t LowBit(size_t i) { return i & (~i + 1); }
}  // namespace

LiveSlots::LiveSlots(size_t n) : dead_(n, false), tree_(n + 1, 0), live_(n) {
  // Built in one pass: each node passes its count on to its parent.
  for (size_t i = 1; i <= n; ++i) {
    tree_[i] += 1;
    size_t parent = i + LowBit(i);
    if (parent <= n) tree_[parent] += tree_[i];
  }
}

size_t LiveSlots::prefix(size_t count) const {
  size_t sum = 0;
  for (size_t i = count; i > 0; i -= LowBit(i)) sum += tree_[i];
  return sum;
}

void LiveSlots::append() {
  size_t i = dead_.size() + 1;
  // The new node covers (i - lowbit(i), i]: the new slot and the live ones before it in that range.
  tree_.push_back(static_cast<uint32_t>(1 + prefix(i - 1) - prefix(i - LowBit(i))));
  dead_.push_back(false);
  ++live_;
}

void LiveSlots::kill(size_t slot) {
  if (dead_[slot]) return;
  dead_[slot] = true;
  --live_;
  for (size_t i = slot + 1; i < tree_.size(); i += LowBit(i)) --tree_[i];
}

size_t LiveSlots::slotOfRank(size_t k) const {
  // Descends the tree: the largest position whose prefix count is at most k is the slot before it.
  size_t pos = 0;
  size_t n = dead_.size();
  for (size_t step = std::bit_floor(n); step > 0; step >>= 1) {
    if (pos + step <= n && tree_[pos + step] <= k) {
      pos += step;
      k -= tree_[pos];
    }
  }
  return pos;  // 0-based slot = 1-based position + 1 - 1
}

}  // namespace tmr

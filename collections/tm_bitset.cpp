#include "collections/tm_bitset.h"

#include <cstring>
#include <string>

#include "collections/tm_collections.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"

namespace tmr {

void tm_bitset::_initialize(const std::shared_ptr<Dispatcher>& ba, int32_t size) {
  // Checked before anything is reset, so a rejected size leaves the bit set as it was.
  if (size < 0) throw RuntimeError("Out of bounds. Size=" + std::to_string(size));
  initializeClassModule(ba->runtime());
  msize = size;
  _clear();
}

void tm_bitset::_class_globals() {
  collections = runtime().codeModule<tm_collections>();
  data = ByteArray();
  msize = 0;
}

void tm_bitset::_clear() {
  // One word more than size / 32 needs: a size that is a multiple of 32 has a spare word.
  data = ByteArray((msize >> 5) * 4 + 4);
}

size_t tm_bitset::wordOffset(int32_t index) const {
  if (index < 0 || index >= msize) throw OutOfBounds(index, msize);
  size_t offset = static_cast<size_t>(index >> 5) * 4;
  // `data` is a public field: never trust it to match msize.
  if (offset + 4 > static_cast<size_t>(data.Length())) throw OutOfBounds(index, data.Length() * 8);
  return offset;
}

bool tm_bitset::_get(int32_t index) const {
  uint32_t word = 0;
  std::memcpy(&word, data.data() + wordOffset(index), sizeof word);
  return (word & (1u << (index & 31))) != 0;
}

void tm_bitset::_set(int32_t index, bool value) {
  uint8_t* at = data.data() + wordOffset(index);
  uint32_t word = 0;
  std::memcpy(&word, at, sizeof word);
  const uint32_t mask = 1u << (index & 31);
  word = value ? (word | mask) : (word & ~mask);
  std::memcpy(at, &word, sizeof word);
}

const SubTable& tm_bitset::subTable() const {
  static const SubTable table{
      sub<&tm_bitset::_clear>("_clear"),
      sub<&tm_bitset::_get>("_get:"),
      sub<&tm_bitset::_set>("_set::"),
      sub<&tm_bitset::_getsize>("_getsize"),
  };
  return table;
}

}  // namespace tmr

#pragma once
// A fixed-size set of bits packed into 32-bit words. Bit i is bit (i AND 31) of word (i >> 5);
// the storage holds (size >> 5) + 1 words in the platform's byte order, every word starting
// at zero. An index outside 0 … size − 1 is rejected with an out-of-bounds error, so nothing
// outside the storage is ever read or written.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/core/ByteArray.h"
#include "platform/core/Module.h"

namespace tmr {

class tm_collections;

class tm_bitset : public ClassModule {
 public:
  // Resets every field and makes size bits, all clear. A negative size is rejected, and the
  // bit set is then left as it was.
  void _initialize(const std::shared_ptr<Dispatcher>& ba, int32_t size);
  // Clears every bit, in new storage; the size stays.
  void _clear();
  bool _get(int32_t index) const;
  void _set(int32_t index, bool value);
  int32_t _getsize() const { return msize; }

  std::string_view className() const override { return "tm_bitset"; }
  const SubTable& subTable() const override;

  std::shared_ptr<tm_collections> collections;
  ByteArray data;     // the bits, as 32-bit words
  int32_t msize = 0;  // the number of bits given at initialisation

 protected:
  void _class_globals() override;

 private:
  // The byte offset of the word that holds bit index; fails for an index out of range.
  size_t wordOffset(int32_t index) const;
};

}  // namespace tmr

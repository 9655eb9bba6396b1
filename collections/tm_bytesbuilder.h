#pragma once
// A growable byte buffer: append, insert, overwrite, remove, copy-out and search. The storage
// `mbuffer` (its length is the capacity) at least doubles whenever it runs out and never
// shrinks; the content is its first `mlength` bytes.
//
// Ranges are checked: a start, end, index or length outside the content, or a source range
// outside its array, fails with an out-of-bounds error and leaves the content unchanged. An
// insert or overwrite just past the end logs "Index too large" and appends instead.
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "platform/core/ByteArray.h"
#include "platform/core/Module.h"

namespace tmr {

class tm_collections;

class tm_bytesbuilder : public ClassModule {
 public:
  // Resets every field: 100 bytes of capacity, no content.
  void _initialize(const std::shared_ptr<Dispatcher>& ba);

  // Sets the content's length, growing the storage to Max(2 × capacity, newLength) when it is
  // too small; returns the previous length.
  int32_t _changelength(int32_t newLength);
  // Copies all of bytes to the end; returns the builder itself.
  std::shared_ptr<tm_bytesbuilder> _append(const ByteArray& bytes);
  // Copies length bytes of bytes, from start, to the end; returns the builder itself.
  std::shared_ptr<tm_bytesbuilder> _append2(const ByteArray& bytes, int32_t start, int32_t length);
  // Inserts bytes at index, moving the rest of the content after them.
  void _insert(int32_t index, const ByteArray& bytes);
  // Overwrites from index, extending the content when bytes reach beyond its end.
  void _set(int32_t index, const ByteArray& bytes);
  // Removes the bytes start … end − 1 and returns them.
  ByteArray _remove(int32_t start, int32_t end);
  // Copies of the bytes start … the end, start … end − 1, and of the whole content.
  ByteArray _subarray(int32_t start) const { return _subarray2(start, mlength); }
  ByteArray _subarray2(int32_t start, int32_t end) const;
  ByteArray _toarray() const { return _subarray(0); }
  // The storage itself, without a copy: only its first _getlength bytes are content.
  ByteArray _getinternalbuffer() const { return mbuffer; }
  int32_t _getlength() const { return mlength; }
  // The first position ≥ start where bytes occur in the content, or −1. An empty pattern
  // matches at start (when start ≤ the length).
  int32_t _indexof(const ByteArray& bytes) const { return _indexof2(bytes, 0); }
  int32_t _indexof2(const ByteArray& bytes, int32_t start) const;
  // Empties the content; the capacity stays.
  void _clear() { _changelength(0); }

  std::string_view className() const override { return "tm_bytesbuilder"; }
  const SubTable& subTable() const override;

  std::shared_ptr<tm_collections> collections;
  ByteArray mbuffer;    // the storage; its length is the capacity
  int32_t mlength = 0;  // the number of bytes in use, from index 0

 protected:
  void _class_globals() override;

 private:
  // Appends count bytes read from `from` (which may lie in mbuffer) and returns the old end.
  int32_t appendBytes(const ByteArray& source, int32_t from, int32_t count);
  void logIndexTooLarge() const;
  // Throws for a negative index; at or past the end (logged when past it) appends source and
  // returns true; else returns false and leaves the content as it is.
  bool appendedAtEnd(int32_t index, const ByteArray& source);
};

}  // namespace tmr

#include "collections/tm_bytesbuilder.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "collections/tm_collections.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"

namespace tmr {

namespace {

constexpr int32_t kInitialCapacity = 100;

// memmove that accepts empty ranges (whose pointers may be null).
void MoveBytes(uint8_t* to, const uint8_t* from, int64_t count) {
  if (count > 0) std::memmove(to, from, static_cast<size_t>(count));
}

// Fails unless 0 ≤ start ≤ end ≤ length.
void CheckRange(int32_t start, int32_t end, int32_t length) {
  if (start < 0 || start > end || end > length)
    throw RuntimeError("Out of bounds. Start=" + std::to_string(start) + " End=" + std::to_string(end) +
                       " Length=" + std::to_string(length));
}

// The content's length after adding count bytes; fails past the largest array the runtime has.
int32_t GrownLength(int32_t length, int64_t count) {
  const int64_t n = static_cast<int64_t>(length) + count;
  if (n > std::numeric_limits<int32_t>::max()) throw RuntimeError("Out of bounds. Length=" + std::to_string(n));
  return static_cast<int32_t>(n);
}

}  // namespace

void tm_bytesbuilder::_initialize(const std::shared_ptr<Dispatcher>& ba) {
  initializeClassModule(ba->runtime());
  mbuffer = ByteArray(kInitialCapacity);
  mlength = 0;
}

void tm_bytesbuilder::_class_globals() {
  collections = runtime().codeModule<tm_collections>();
  mbuffer = ByteArray();
  mlength = 0;
}

int32_t tm_bytesbuilder::_changelength(int32_t newLength) {
  if (newLength < 0) throw RuntimeError("Out of bounds. Length=" + std::to_string(newLength));
  const int32_t previous = mlength;
  const int32_t capacity = mbuffer.Length();
  if (capacity < newLength) {
    // Doubling keeps appends amortised constant-time; the whole old storage is carried over.
    const int64_t grown = std::min<int64_t>(std::max<int64_t>(2 * static_cast<int64_t>(capacity), newLength),
                                            std::numeric_limits<int32_t>::max());
    ByteArray bigger(static_cast<int>(grown));
    MoveBytes(bigger.data(), mbuffer.data(), capacity);
    mbuffer = bigger;
  }
  mlength = newLength;
  return previous;
}

int32_t tm_bytesbuilder::appendBytes(const ByteArray& source, int32_t from, int32_t count) {
  // `source` is the caller's own handle: should growth replace mbuffer while source is that
  // very storage, source still holds the old bytes.
  const int32_t end = _changelength(GrownLength(mlength, count));
  MoveBytes(mbuffer.data() + end, source.data() + from, count);
  return end;
}

std::shared_ptr<tm_bytesbuilder> tm_bytesbuilder::_append(const ByteArray& bytes) {
  const ByteArray source = bytes;
  appendBytes(source, 0, source.Length());
  return self<tm_bytesbuilder>();
}

std::shared_ptr<tm_bytesbuilder> tm_bytesbuilder::_append2(const ByteArray& bytes, int32_t start, int32_t length) {
  const ByteArray source = bytes;
  if (start < 0 || length < 0 || static_cast<int64_t>(start) + length > source.Length())
    throw RuntimeError("Out of bounds. Start=" + std::to_string(start) + " Count=" + std::to_string(length) +
                       " Length=" + std::to_string(source.Length()));
  appendBytes(source, start, length);
  return self<tm_bytesbuilder>();
}

void tm_bytesbuilder::logIndexTooLarge() const {
  // A builder that was never initialised has no console to write to.
  if (c) c->LogStr("Index too large");
}

bool tm_bytesbuilder::appendedAtEnd(int32_t index, const ByteArray& source) {
  if (index < 0) throw OutOfBounds(index, mlength);
  if (index < mlength) return false;
  if (index > mlength) logIndexTooLarge();
  appendBytes(source, 0, source.Length());
  return true;
}

void tm_bytesbuilder::_insert(int32_t index, const ByteArray& bytes) {
  const ByteArray source = bytes;
  if (appendedAtEnd(index, source)) return;
  // The tail moves in place. A source that is this very storage is as long as the capacity,
  // so the content then outgrows it: the move happens in new storage and source keeps the
  // old bytes.
  const int32_t count = source.Length();
  const int32_t oldLength = mlength;
  _changelength(GrownLength(mlength, count));
  uint8_t* b = mbuffer.data();
  MoveBytes(b + index + count, b + index, oldLength - index);
  MoveBytes(b + index, source.data(), count);
}

void tm_bytesbuilder::_set(int32_t index, const ByteArray& bytes) {
  const ByteArray source = bytes;
  if (appendedAtEnd(index, source)) return;
  const int32_t end = GrownLength(index, source.Length());
  if (end > mlength) _changelength(end);
  MoveBytes(mbuffer.data() + index, source.data(), source.Length());
}

ByteArray tm_bytesbuilder::_remove(int32_t start, int32_t end) {
  CheckRange(start, end, mlength);
  ByteArray removed = _subarray2(start, end);
  uint8_t* b = mbuffer.data();
  MoveBytes(b + start, b + end, mlength - end);
  _changelength(mlength - (end - start));
  return removed;
}

ByteArray tm_bytesbuilder::_subarray2(int32_t start, int32_t end) const {
  CheckRange(start, end, mlength);
  ByteArray out(end - start);
  MoveBytes(out.data(), mbuffer.data() + start, end - start);
  return out;
}

int32_t tm_bytesbuilder::_indexof2(const ByteArray& bytes, int32_t start) const {
  if (start < 0) throw OutOfBounds(start, mlength);
  const int32_t n = bytes.Length();
  if (static_cast<int64_t>(start) > static_cast<int64_t>(mlength) - n) return -1;
  if (n == 0) return start;
  // Candidates are found by their first byte, then compared whole: the same first match as
  // comparing at every position, without a call per position.
  const uint8_t* b = mbuffer.data();
  const uint8_t* pattern = bytes.data();
  const uint8_t* last = b + (mlength - n);
  for (const uint8_t* at = b + start; at <= last; ++at) {
    at = static_cast<const uint8_t*>(std::memchr(at, pattern[0], static_cast<size_t>(last - at) + 1));
    if (!at) return -1;
    if (std::memcmp(at + 1, pattern + 1, static_cast<size_t>(n - 1)) == 0) return static_cast<int32_t>(at - b);
  }
  return -1;
}

const SubTable& tm_bytesbuilder::subTable() const {
  static const SubTable table{
      sub<&tm_bytesbuilder::_changelength>("_changelength:"),
      sub<&tm_bytesbuilder::_append>("_append:"),
      sub<&tm_bytesbuilder::_append2>("_append2:::"),
      sub<&tm_bytesbuilder::_insert>("_insert::"),
      sub<&tm_bytesbuilder::_set>("_set::"),
      sub<&tm_bytesbuilder::_remove>("_remove::"),
      sub<&tm_bytesbuilder::_subarray>("_subarray:"),
      sub<&tm_bytesbuilder::_subarray2>("_subarray2::"),
      sub<&tm_bytesbuilder::_toarray>("_toarray"),
      sub<&tm_bytesbuilder::_getinternalbuffer>("_getinternalbuffer"),
      sub<&tm_bytesbuilder::_getlength>("_getlength"),
      sub<&tm_bytesbuilder::_indexof>("_indexof:"),
      sub<&tm_bytesbuilder::_indexof2>("_indexof2::"),
      sub<&tm_bytesbuilder::_clear>("_clear"),
  };
  return table;
}

}  // namespace tmr

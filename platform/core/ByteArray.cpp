#include "platform/core/ByteArray.h"

#include "platform/core/RuntimeError.h"

namespace tmr {

ByteArray::ByteArray(int length) : d_(std::make_shared<ByteArrayData>()) {
  if (length < 0) throw RuntimeError("Negative array size: " + std::to_string(length));
  d_->bytes.assign(static_cast<size_t>(length), 0);
}

ByteArray::ByteArray(std::span<const uint8_t> bytes) : d_(std::make_shared<ByteArrayData>()) {
  d_->bytes.assign(bytes.begin(), bytes.end());
}

int ByteArray::Get(int index) const {
  if (index < 0 || index >= Length()) throw OutOfBounds(index, Length());
  return d_->bytes[static_cast<size_t>(index)];
}

int ByteArray::GetSigned(int index) const { return static_cast<int8_t>(static_cast<uint8_t>(Get(index))); }

void ByteArray::Set(int index, int64_t value) {
  if (index < 0 || index >= Length()) throw OutOfBounds(index, Length());
  d_->bytes[static_cast<size_t>(index)] = static_cast<uint8_t>(value & 0xFF);
}

ByteArray ByteArray::Copy() const { return ByteArray(std::span<const uint8_t>(d_->bytes)); }

}  // namespace tmr

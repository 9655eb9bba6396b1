#pragma once
// The runtime's byte array: a shared, fixed-length, zero-filled buffer. Copies of the handle
// share the bytes, as arrays do in the runtime. Set stores the low 8 bits; Get reads unsigned.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace tmr {

class ByteArrayData {
 public:
  std::vector<uint8_t> bytes;
};

class ByteArray {
 public:
  ByteArray() : ByteArray(0) {}
  explicit ByteArray(int length);
  explicit ByteArray(std::span<const uint8_t> bytes);
  explicit ByteArray(std::shared_ptr<ByteArrayData> data) : d_(std::move(data)) {}

  int Length() const { return static_cast<int>(d_->bytes.size()); }
  int Get(int index) const;            // 0 … 255
  int GetSigned(int index) const;      // -128 … 127
  void Set(int index, int64_t value);  // stores value & 0xFF
  ByteArray Copy() const;              // a new buffer with the same bytes

  std::span<uint8_t> span() { return d_->bytes; }
  std::span<const uint8_t> span() const { return d_->bytes; }
  uint8_t* data() { return d_->bytes.data(); }
  const uint8_t* data() const { return d_->bytes.data(); }
  const std::shared_ptr<ByteArrayData>& shared() const { return d_; }
  friend bool operator==(const ByteArray& a, const ByteArray& b) { return a.d_ == b.d_; }

 private:
  std::shared_ptr<ByteArrayData> d_;
};

}  // namespace tmr

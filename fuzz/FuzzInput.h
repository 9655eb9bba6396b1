#pragma once
// Reads a fuzzer's input as a stream of small values; past the end every value is 0 and every
// text empty, so a harness never reads outside the input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tmr {

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  bool atEnd() const { return pos_ >= size_; }
  bool flag() { return byte() & 1; }
  int16_t int16() {
    const uint8_t low = byte();
    return static_cast<int16_t>(low | byte() << 8);
  }
  int32_t int32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(byte()) << (8 * i);
    return static_cast<int32_t>(v);
  }
  float float32() {
    uint32_t bits = static_cast<uint32_t>(int32());
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }
  // A text of up to max bytes: its length byte, then its bytes.
  std::string text(size_t max = 255) {
    size_t n = byte() % (max + 1);
    return take(n);
  }
  // Everything not read yet.
  std::string rest() { return take(size_ - pos_); }

 private:
  std::string take(size_t n) {
    if (n > size_ - pos_) n = size_ - pos_;
    std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return s;
  }

  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace tmr

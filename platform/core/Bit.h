#pragma once
// The runtime's bit operations on 32-bit words and integer parsing in a radix.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/core/String.h"

namespace tmr {

struct Bit {
  static int32_t And(int32_t a, int32_t b) { return a & b; }
  static int32_t Or(int32_t a, int32_t b) { return a | b; }
  static int32_t Xor(int32_t a, int32_t b) { return a ^ b; }
  static int32_t Not(int32_t a) { return ~a; }
  static int32_t ShiftLeft(int32_t a, int shift) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) << (shift & 31));
  }
  static int32_t ShiftRight(int32_t a, int shift) { return a >> (shift & 31); }  // arithmetic
  static int32_t UnsignedShiftRight(int32_t a, int shift) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) >> (shift & 31));
  }
  // Parses text in radix 2 … 36 (optional leading '-'); failure -> "Cannot parse: <text>".
  static int32_t ParseInt(const String& text, int radix);
};

struct ByteConverter {
  // Two upper-case hexadecimal digits per byte; no bytes give "".
  static String HexFromBytes(std::span<const uint8_t> bytes);
  // The bytes of a hexadecimal text (two digits per byte, any case); failure -> "Cannot parse".
  static std::vector<uint8_t> HexToBytes(const String& hex);
};

}  // namespace tmr

#include "platform/core/Bit.h"

#include "platform/core/RuntimeError.h"

namespace tmr {

int32_t Bit::ParseInt(const String& text, int radix) {
  const auto& u = text.units();
  if (radix < 2 || radix > 36 || u.empty()) throw CannotParse(text.str());
  size_t i = 0;
  bool negative = false;
  if (u[0] == u'-' || u[0] == u'+') {
    negative = u[0] == u'-';
    i = 1;
  }
  if (i == u.size()) throw CannotParse(text.str());
  int64_t value = 0;
  for (; i < u.size(); ++i) {
    char16_t ch = u[i];
    int d = ch >= u'0' && ch <= u'9'   ? ch - u'0'
            : ch >= u'a' && ch <= u'z' ? ch - u'a' + 10
            : ch >= u'A' && ch <= u'Z' ? ch - u'A' + 10
                                       : 99;
    if (d >= radix) throw CannotParse(text.str());
    value = value * radix + d;
    if (value > 0x80000000LL) throw CannotParse(text.str());
  }
  if (negative) value = -value;
  if (value > 0x7FFFFFFFLL || value < -0x80000000LL) throw CannotParse(text.str());
  return static_cast<int32_t>(value);
}

String ByteConverter::HexFromBytes(std::span<const uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string s;
  s.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    s += kDigits[b >> 4];
    s += kDigits[b & 15];
  }
  return String(s);
}

std::vector<uint8_t> ByteConverter::HexToBytes(const String& hex) {
  const auto& u = hex.units();
  if (u.size() % 2) throw CannotParse(hex.str());
  std::vector<uint8_t> out;
  // Two hexadecimal digits a byte, nothing else: no sign, no blank.
  for (char16_t ch : u) {
    if (!((ch >= u'0' && ch <= u'9') || (ch >= u'a' && ch <= u'f') || (ch >= u'A' && ch <= u'F')))
      throw CannotParse(hex.str());
  }
  for (size_t i = 0; i < u.size(); i += 2) {
    out.push_back(static_cast<uint8_t>(Bit::ParseInt(String(u.substr(i, 2)), 16)));
  }
  return out;
}

}  // namespace tmr

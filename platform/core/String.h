#pragma once
// The runtime's text type: an immutable sequence of UTF-16 code units. Every position and
// length is counted in code units, as the runtime counts them.
#include <compare>
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace tmr {

class String {
 public:
  String() = default;
  String(const char* utf8) : String(std::string_view(utf8)) {}
  String(std::string_view utf8);
  String(const std::string& utf8) : String(std::string_view(utf8)) {}
  String(std::u16string units) : units_(std::move(units)) {}
  String(const char16_t* units) : units_(units) {}

  // One code point as text; a lone surrogate (D800-DFFF) becomes U+FFFD.
  static String FromCodePoint(uint32_t cp);

  const std::u16string& units() const { return units_; }
  std::string str() const;  // UTF-8; a lone surrogate is written as U+FFFD

  int Length() const { return static_cast<int>(units_.size()); }
  bool empty() const { return units_.empty(); }
  char16_t CharAt(int index) const;  // "Out of bounds" outside 0 … Length − 1
  // Whether `index` falls between the two units of a character outside the basic plane, where a
  // cursor must not stop (false anywhere else, also outside the text).
  bool SplitsPairAt(int index) const;

  String SubString(int begin) const;
  String SubString2(int begin, int end) const;  // [begin, end); out-of-range is an error
  int IndexOf(const String& s) const;
  int IndexOf2(const String& s, int from) const;
  int LastIndexOf(const String& s) const;
  bool StartsWith(const String& prefix) const;
  bool EndsWith(const String& suffix) const;
  bool Contains(const String& s) const { return IndexOf(s) >= 0; }
  String ToLowerCase() const;
  String ToUpperCase() const;
  String Trim() const;  // removes code units <= U+0020 at both ends
  String Replace(const String& target, const String& replacement) const;
  int CompareTo(const String& other) const;  // code unit order: <0, 0, >0
  bool EqualsIgnoreCase(const String& other) const;

  String operator+(const String& o) const { return String(units_ + o.units_); }
  String& operator+=(const String& o) {
    units_ += o.units_;
    return *this;
  }
  friend bool operator==(const String&, const String&) = default;
  friend std::strong_ordering operator<=>(const String& a, const String& b) { return a.units_ <=> b.units_; }

 private:
  std::u16string units_;
};

std::ostream& operator<<(std::ostream& os, const String& s);

// Converts UTF-8 to UTF-16 code units; malformed input becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view units);
// The code points of UTF-16 code units; a lone surrogate counts as U+FFFD.
std::vector<uint32_t> CodePoints(std::u16string_view units);
// Appends one code point (at most U+10FFFF) as UTF-8.
void AppendUtf8(std::string& out, uint32_t cp);

}  // namespace tmr

template <>
struct std::hash<tmr::String> {
  size_t operator()(const tmr::String& s) const noexcept { return std::hash<std::u16string>()(s.units()); }
};

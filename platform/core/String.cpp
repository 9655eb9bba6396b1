#include "platform/core/String.h"

#include <unicode/ustring.h>

#include <ostream>
#include <vector>

#include "platform/core/RuntimeError.h"

namespace tmr {

namespace {
constexpr char16_t kReplacement = 0xFFFD;

void AppendUtf16(std::u16string& out, uint32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  } else {
    out += static_cast<char16_t>(cp);
  }
}

String MapCase(const std::u16string& in, bool upper) {
  if (in.empty()) return {};
  std::u16string out(in.size() * 3 + 4, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  auto* dst = reinterpret_cast<UChar*>(out.data());
  auto* src = reinterpret_cast<const UChar*>(in.data());
  int32_t n =
      upper ? u_strToUpper(dst, static_cast<int32_t>(out.size()), src, static_cast<int32_t>(in.size()), "", &status)
            : u_strToLower(dst, static_cast<int32_t>(out.size()), src, static_cast<int32_t>(in.size()), "", &status);
  if (U_FAILURE(status)) return String(in);
  out.resize(static_cast<size_t>(n));
  return String(std::move(out));
}
}  // namespace

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::vector<uint32_t> CodePoints(std::u16string_view u) {
  std::vector<uint32_t> out;
  out.reserve(u.size());
  for (size_t i = 0; i < u.size(); ++i) {
    uint32_t c = u[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < u.size() && u[i + 1] >= 0xDC00 && u[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (u[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    out.push_back(c);
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view u) {
  std::string out;
  out.reserve(u.size());
  for (uint32_t c : CodePoints(u)) AppendUtf8(out, c);
  return out;
}

std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    auto b = static_cast<unsigned char>(s[i]);
    uint32_t cp = 0;
    int extra = 0;
    if (b < 0x80) {
      cp = b;
    } else if ((b & 0xE0) == 0xC0) {
      cp = b & 0x1F;
      extra = 1;
    } else if ((b & 0xF0) == 0xE0) {
      cp = b & 0x0F;
      extra = 2;
    } else if ((b & 0xF8) == 0xF0) {
      cp = b & 0x07;
      extra = 3;
    } else {
      out += kReplacement;
      ++i;
      continue;
    }
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      if (i + static_cast<size_t>(k) >= s.size()) {
        ok = false;
        break;
      }
      auto c = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
      if ((c & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (c & 0x3F);
    }
    // A code point written with more bytes than it needs (an overlong form) is malformed.
    static constexpr uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (!ok || cp < kLeast[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out += kReplacement;
      ++i;
      continue;
    }
    AppendUtf16(out, cp);
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

String::String(std::string_view utf8) : units_(Utf8ToUtf16(utf8)) {}

String String::FromCodePoint(uint32_t cp) {
  std::u16string u;
  if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
    u += kReplacement;
  } else {
    AppendUtf16(u, cp);
  }
  return String(std::move(u));
}

std::string String::str() const { return Utf16ToUtf8(units_); }

char16_t String::CharAt(int index) const {
  if (index < 0 || index >= Length()) throw OutOfBounds(index, Length());
  return units_[static_cast<size_t>(index)];
}

bool String::SplitsPairAt(int index) const {
  if (index <= 0 || index >= Length()) return false;
  const char16_t before = units_[static_cast<size_t>(index - 1)], after = units_[static_cast<size_t>(index)];
  return before >= 0xD800 && before <= 0xDBFF && after >= 0xDC00 && after <= 0xDFFF;
}

String String::SubString(int begin) const { return SubString2(begin, Length()); }

String String::SubString2(int begin, int end) const {
  if (begin < 0 || begin > Length()) throw OutOfBounds(begin, Length());
  if (end < begin || end > Length()) throw OutOfBounds(end, Length());
  return String(units_.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin)));
}

int String::IndexOf(const String& s) const { return IndexOf2(s, 0); }

int String::IndexOf2(const String& s, int from) const {
  if (from < 0) from = 0;
  if (from > Length()) return -1;
  auto p = units_.find(s.units_, static_cast<size_t>(from));
  return p == std::u16string::npos ? -1 : static_cast<int>(p);
}

int String::LastIndexOf(const String& s) const {
  auto p = units_.rfind(s.units_);
  return p == std::u16string::npos ? -1 : static_cast<int>(p);
}

bool String::StartsWith(const String& prefix) const { return units_.starts_with(prefix.units_); }
bool String::EndsWith(const String& suffix) const { return units_.ends_with(suffix.units_); }

String String::ToLowerCase() const { return MapCase(units_, false); }
String String::ToUpperCase() const { return MapCase(units_, true); }

String String::Trim() const {
  size_t b = 0, e = units_.size();
  while (b < e && units_[b] <= u' ') ++b;
  while (e > b && units_[e - 1] <= u' ') --e;
  return String(units_.substr(b, e - b));
}

String String::Replace(const String& target, const String& replacement) const {
  if (target.units_.empty()) return *this;
  std::u16string out;
  size_t pos = 0;
  while (true) {
    auto p = units_.find(target.units_, pos);
    if (p == std::u16string::npos) break;
    out.append(units_, pos, p - pos);
    out += replacement.units_;
    pos = p + target.units_.size();
  }
  out.append(units_, pos, std::u16string::npos);
  return String(std::move(out));
}

int String::CompareTo(const String& other) const {
  int c = units_.compare(other.units_);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool String::EqualsIgnoreCase(const String& other) const { return ToLowerCase() == other.ToLowerCase(); }

std::ostream& operator<<(std::ostream& os, const String& s) { return os << s.str(); }

}  // namespace tmr

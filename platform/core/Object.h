#pragma once
// A dynamic value of the runtime: null, Boolean, Int (32-bit), Long (64-bit), Float, Double,
// text, byte array or a reference to a runtime object; with the runtime's conversions.
#include <concepts>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/core/RuntimeObject.h"
#include "platform/core/String.h"

namespace tmr {

class ByteArray;
class List;
class Map;
class ByteArrayData;
class ListData;
class MapData;

class Object {
 public:
  enum class Kind { Null, Boolean, Int, Long, Float, Double, Text, Bytes, Ref };

  Object() = default;
  Object(std::nullptr_t) {}
  Object(bool b) : v_(b) {}
  template <std::integral T>
  requires(!std::same_as<T, bool> && !std::same_as<T, char>) Object(T n) {
    if constexpr (sizeof(T) < 4 || (sizeof(T) == 4 && std::is_signed_v<T>)) {
      v_ = static_cast<int32_t>(n);
    } else {
      v_ = static_cast<int64_t>(n);
    }
  }
  Object(float f) : v_(f) {}
  Object(double d) : v_(d) {}
  Object(String s) : v_(std::move(s)) {}
  Object(const char* s) : v_(String(s)) {}
  Object(std::string_view s) : v_(String(s)) {}
  Object(const std::string& s) : v_(String(s)) {}
  Object(const ByteArray& b);
  Object(const List& l);
  Object(const Map& m);
  template <class T>
  requires std::derived_from<T, RuntimeObject> Object(std::shared_ptr<T> p) {
    if (p) v_ = std::shared_ptr<RuntimeObject>(std::move(p));
  }

  Kind kind() const { return static_cast<Kind>(v_.index()); }
  bool IsNull() const { return kind() == Kind::Null; }
  bool IsNumber() const;  // Int, Long, Float or Double (not Boolean, not text)
  bool IsText() const { return kind() == Kind::Text; }
  bool IsBoolean() const { return kind() == Kind::Boolean; }

  // Conversions, as the runtime makes them.
  String AsString() const;  // null -> "null"; integral numbers without a fraction
  double AsDouble() const;  // text is parsed; failure -> "Cannot parse: <text>"
  float AsFloat() const { return static_cast<float>(AsDouble()); }
  // A Long keeps its low 32 bits (it wraps, as a narrowing conversion does); a Float, a Double or
  // a number text is truncated toward zero, saturating at the ends of the range; NaN gives 0.
  int32_t AsInt() const;
  int64_t AsLong() const;  // truncation toward zero (saturating; NaN gives 0)
  bool AsBool() const;     // Boolean, a number (0 is False), or the texts "true"/"false" (any case)
  ByteArray AsBytes() const;
  List AsList() const;  // a list handle; an uninitialised one when this is not a list
  Map AsMap() const;
  std::shared_ptr<RuntimeObject> AsRef() const;
  template <class T>
  std::shared_ptr<T> As() const {
    return std::dynamic_pointer_cast<T>(AsRef());
  }

  // Equality as map keys and IndexOf compare: texts by content, numbers by value
  // (across Int, Long, Float and Double), a number never equals a text; references by identity.
  friend bool operator==(const Object& a, const Object& b);
  size_t Hash() const;

 private:
  std::variant<std::monostate, bool, int32_t, int64_t, float, double, String, std::shared_ptr<ByteArrayData>,
               std::shared_ptr<RuntimeObject>>
      v_;
  friend class ByteArray;
  friend class List;
  friend class Map;
};

// Shows the value's kind and text (test output, diagnostics).
std::ostream& operator<<(std::ostream& os, const Object& o);

// Text of a number as the runtime prints it: integral values have no fraction ("64"),
// others the shortest text that reads back as the same value.
String NumberToString(double d);

// The runtime's conversion of a number to Int: truncation toward zero, saturating at the ends of
// the 32-bit range; NaN gives 0.
// Inline: drawing code converts per pixel.
inline int32_t TruncateToInt(double d) {
  if (!(d == d)) return 0;
  if (d >= 2147483647.0) return INT32_MAX;
  if (d <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(d);
}

// Parses a number as the runtime does ("64", " -1.5", "+2", "1e3"), with one sign at most;
// failure -> "Cannot parse: <text>".
double ParseNumber(const String& text);

}  // namespace tmr

template <>
struct std::hash<tmr::Object> {
  size_t operator()(const tmr::Object& o) const noexcept { return o.Hash(); }
};

#include "platform/core/Object.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <ostream>

#include "platform/core/ByteArray.h"
#include "platform/core/List.h"
#include "platform/core/Map.h"
#include "platform/core/RuntimeError.h"

namespace tmr {

std::string RuntimeObject::description() const { return "(RuntimeObject)"; }

namespace {

bool IsNumberKind(Object::Kind k) {
  return k == Object::Kind::Int || k == Object::Kind::Long || k == Object::Kind::Float || k == Object::Kind::Double;
}

template <class T>
std::string ShortestText(T value) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
}

template <class I>
I Truncate(double d) {
  if (std::isnan(d)) return 0;
  constexpr double lo = static_cast<double>(std::numeric_limits<I>::min());
  constexpr double hi = static_cast<double>(std::numeric_limits<I>::max());
  if (d <= lo) return std::numeric_limits<I>::min();
  if (d >= hi) return std::numeric_limits<I>::max();
  return static_cast<I>(d);
}

}  // namespace

String NumberToString(double d) {
  if (std::isnan(d)) return "NaN";
  if (std::isinf(d)) return d > 0 ? "Infinity" : "-Infinity";
  if (d == std::trunc(d) && std::fabs(d) < 1e15) {
    if (d == 0) return "0";  // also for -0
    return String(std::to_string(static_cast<int64_t>(d)));
  }
  return String(ShortestText(d));
}

double ParseNumber(const String& text) {
  std::string s = text.Trim().str();
  if (s.empty()) throw CannotParse(text.str());
  const char* b = s.data();
  const char* e = s.data() + s.size();
  // from_chars reads a minus but no plus: the plus is skipped here, and a second sign after it refused.
  if (*b == '+') {
    ++b;
    if (b != e && *b == '-') throw CannotParse(text.str());
  }
  double d = 0;
  auto r = std::from_chars(b, e, d);
  if (r.ec != std::errc() || r.ptr != e) throw CannotParse(text.str());
  return d;
}

Object::Object(const ByteArray& b) : v_(b.shared()) {}
Object::Object(const List& l) {
  if (l.shared()) v_ = std::shared_ptr<RuntimeObject>(l.shared());
}
Object::Object(const Map& m) {
  if (m.shared()) v_ = std::shared_ptr<RuntimeObject>(m.shared());
}

bool Object::IsNumber() const { return IsNumberKind(kind()); }

String Object::AsString() const {
  switch (kind()) {
    case Kind::Null:
      return "null";
    case Kind::Boolean:
      return std::get<bool>(v_) ? "true" : "false";
    case Kind::Int:
      return String(std::to_string(std::get<int32_t>(v_)));
    case Kind::Long:
      return String(std::to_string(std::get<int64_t>(v_)));
    case Kind::Float: {
      float f = std::get<float>(v_);
      if (std::isfinite(f) && f == std::trunc(f) && std::fabs(f) < 1e15f) return NumberToString(f);
      if (!std::isfinite(f)) return NumberToString(f);
      return String(ShortestText(f));
    }
    case Kind::Double:
      return NumberToString(std::get<double>(v_));
    case Kind::Text:
      return std::get<String>(v_);
    case Kind::Bytes:
      return "(ByteArray)";
    case Kind::Ref:
      return String(std::get<std::shared_ptr<RuntimeObject>>(v_)->description());
  }
  return "null";
}

double Object::AsDouble() const {
  switch (kind()) {
    case Kind::Int:
      return std::get<int32_t>(v_);
    case Kind::Long:
      return static_cast<double>(std::get<int64_t>(v_));
    case Kind::Float:
      return std::get<float>(v_);
    case Kind::Double:
      return std::get<double>(v_);
    case Kind::Text:
      return ParseNumber(std::get<String>(v_));
    case Kind::Boolean:
    case Kind::Null:
    case Kind::Bytes:
    case Kind::Ref:
      break;
  }
  throw CannotParse(AsString().str());
}

int32_t Object::AsInt() const {
  if (kind() == Kind::Int) return std::get<int32_t>(v_);
  if (kind() == Kind::Long) return static_cast<int32_t>(std::get<int64_t>(v_));  // wraps, as the runtime does
  return TruncateToInt(AsDouble());
}

int64_t Object::AsLong() const {
  if (kind() == Kind::Int) return std::get<int32_t>(v_);
  if (kind() == Kind::Long) return std::get<int64_t>(v_);
  return Truncate<int64_t>(AsDouble());
}

bool Object::AsBool() const {
  if (kind() == Kind::Boolean) return std::get<bool>(v_);
  // A number stands for a Boolean as the platform's numbers do: 0 is False, anything else True
  // (property maps built in code write 0 for False).
  if (IsNumber()) return AsDouble() != 0;
  if (kind() == Kind::Text) {
    String low = std::get<String>(v_).ToLowerCase();
    if (low == String("true")) return true;
    if (low == String("false")) return false;
  }
  throw CannotParse(AsString().str());
}

ByteArray Object::AsBytes() const {
  if (kind() != Kind::Bytes) throw RuntimeError("Object is not a byte array: " + AsString().str());
  return ByteArray(std::get<std::shared_ptr<ByteArrayData>>(v_));
}

List Object::AsList() const { return List(std::dynamic_pointer_cast<ListData>(AsRef())); }
Map Object::AsMap() const { return Map(std::dynamic_pointer_cast<MapData>(AsRef())); }

std::shared_ptr<RuntimeObject> Object::AsRef() const {
  if (kind() != Kind::Ref) return nullptr;
  return std::get<std::shared_ptr<RuntimeObject>>(v_);
}

std::ostream& operator<<(std::ostream& os, const Object& o) {
  static constexpr const char* kNames[] = {"Null", "Boolean", "Int", "Long", "Float", "Double", "Text", "Bytes", "Ref"};
  return os << kNames[static_cast<int>(o.kind())] << "(" << o.AsString().str() << ")";
}

bool operator==(const Object& a, const Object& b) {
  auto ka = a.kind(), kb = b.kind();
  if (IsNumberKind(ka) && IsNumberKind(kb)) {
    bool ia = ka == Object::Kind::Int || ka == Object::Kind::Long;
    bool ib = kb == Object::Kind::Int || kb == Object::Kind::Long;
    if (ia && ib) return a.AsLong() == b.AsLong();
    if (!ia && !ib) return a.AsDouble() == b.AsDouble();
    // An integer equals a floating value only when that value is exactly the integer; comparing
    // through double would make 2^53 + 1 equal 2^53 and break transitivity and hashing.
    int64_t i = ia ? a.AsLong() : b.AsLong();
    double d = ia ? b.AsDouble() : a.AsDouble();
    if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0) || d != std::trunc(d)) return false;
    return static_cast<int64_t>(d) == i;
  }
  if (ka != kb) return false;
  return a.v_ == b.v_;
}

size_t Object::Hash() const {
  switch (kind()) {
    case Kind::Null:
      return 0x9e3779b9u;
    case Kind::Boolean:
      return std::get<bool>(v_) ? 1231 : 1237;
    case Kind::Int:
    case Kind::Long:
      return std::hash<int64_t>()(AsLong());
    case Kind::Float:
    case Kind::Double: {
      // Numbers equal by value must hash alike: integral values hash as the integer.
      double d = AsDouble();
      if (d == std::trunc(d) && d >= -9223372036854775808.0 && d < 9223372036854775808.0)
        return std::hash<int64_t>()(static_cast<int64_t>(d));
      return std::hash<double>()(d);
    }
    case Kind::Text:
      return std::hash<String>()(std::get<String>(v_));
    case Kind::Bytes:
      return std::hash<const void*>()(std::get<std::shared_ptr<ByteArrayData>>(v_).get());
    case Kind::Ref:
      return std::hash<const void*>()(std::get<std::shared_ptr<RuntimeObject>>(v_).get());
  }
  return 0;
}

}  // namespace tmr

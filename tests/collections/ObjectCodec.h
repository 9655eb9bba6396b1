#pragma once
// A small binary encoding of runtime values (null, Boolean, numbers, text, byte arrays, lists,
// maps) for tests that take a collection through an object serializer's round trip: what
// comes back shares nothing with what went in.
#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>
#include <vector>

#include "platform/core/ByteArray.h"
#include "platform/core/List.h"
#include "platform/core/Map.h"
#include "platform/core/Object.h"

namespace tmr {

class ObjectCodec {
 public:
  static std::vector<uint8_t> EncodeArray(const std::vector<Object>& items) {
    std::vector<uint8_t> out;
    putCount(out, items.size());
    for (const Object& o : items) encode(out, o);
    return out;
  }

  static std::vector<Object> DecodeArray(std::span<const uint8_t> bytes) {
    size_t at = 0;
    std::vector<Object> items(takeCount(bytes, at));
    for (Object& o : items) o = decode(bytes, at);
    if (at != bytes.size()) throw std::runtime_error("trailing bytes");
    return items;
  }

 private:
  enum Tag : uint8_t { kNull, kBool, kInt, kLong, kFloat, kDouble, kText, kBytes, kList, kMap };

  template <class T>
  static void put(std::vector<uint8_t>& out, T v) {
    uint8_t raw[sizeof v];
    std::memcpy(raw, &v, sizeof v);
    out.insert(out.end(), raw, raw + sizeof v);
  }
  template <class T>
  static T take(std::span<const uint8_t> in, size_t& at) {
    if (in.size() - at < sizeof(T)) throw std::runtime_error("truncated");
    T v;
    std::memcpy(&v, in.data() + at, sizeof v);
    at += sizeof v;
    return v;
  }
  static void putCount(std::vector<uint8_t>& out, size_t n) { put<uint32_t>(out, static_cast<uint32_t>(n)); }
  static size_t takeCount(std::span<const uint8_t> in, size_t& at) { return take<uint32_t>(in, at); }

  static void encode(std::vector<uint8_t>& out, const Object& o) {
    switch (o.kind()) {
      case Object::Kind::Null:
        out.push_back(kNull);
        return;
      case Object::Kind::Boolean:
        out.push_back(kBool);
        out.push_back(o.AsBool() ? 1 : 0);
        return;
      case Object::Kind::Int:
        out.push_back(kInt);
        put<int32_t>(out, o.AsInt());
        return;
      case Object::Kind::Long:
        out.push_back(kLong);
        put<int64_t>(out, o.AsLong());
        return;
      case Object::Kind::Float:
        out.push_back(kFloat);
        put<float>(out, o.AsFloat());
        return;
      case Object::Kind::Double:
        out.push_back(kDouble);
        put<double>(out, o.AsDouble());
        return;
      case Object::Kind::Text: {
        out.push_back(kText);
        const String text = o.AsString();
        const auto& units = text.units();
        putCount(out, units.size());
        for (char16_t u : units) put<char16_t>(out, u);
        return;
      }
      case Object::Kind::Bytes: {
        out.push_back(kBytes);
        ByteArray b = o.AsBytes();
        putCount(out, b.span().size());
        out.insert(out.end(), b.span().begin(), b.span().end());
        return;
      }
      case Object::Kind::Ref:
        break;
    }
    if (List l = o.AsList(); l.IsInitialized()) {
      out.push_back(kList);
      putCount(out, l.items().size());
      for (const Object& item : l) encode(out, item);
      return;
    }
    if (Map m = o.AsMap(); m.IsInitialized()) {
      out.push_back(kMap);
      putCount(out, m.entries().size());
      for (const auto& [k, v] : m.entries()) {
        encode(out, k);
        encode(out, v);
      }
      return;
    }
    throw std::runtime_error("cannot encode " + o.AsString().str());
  }

  static Object decode(std::span<const uint8_t> in, size_t& at) {
    switch (take<uint8_t>(in, at)) {
      case kNull:
        return Object();
      case kBool:
        return Object(take<uint8_t>(in, at) != 0);
      case kInt:
        return Object(take<int32_t>(in, at));
      case kLong:
        return Object(take<int64_t>(in, at));
      case kFloat:
        return Object(take<float>(in, at));
      case kDouble:
        return Object(take<double>(in, at));
      case kText: {
        std::u16string units(takeCount(in, at), u'\0');
        for (char16_t& u : units) u = take<char16_t>(in, at);
        return Object(String(std::move(units)));
      }
      case kBytes: {
        ByteArray b(static_cast<int>(takeCount(in, at)));
        for (uint8_t& v : b.span()) v = take<uint8_t>(in, at);
        return Object(b);
      }
      case kList: {
        List l;
        l.Initialize();
        for (size_t n = takeCount(in, at); n > 0; --n) l.Add(decode(in, at));
        return Object(l);
      }
      case kMap: {
        Map m;
        m.Initialize();
        for (size_t n = takeCount(in, at); n > 0; --n) {
          Object k = decode(in, at);
          m.Put(k, decode(in, at));
        }
        return Object(m);
      }
    }
    throw std::runtime_error("unknown tag");
  }
};

}  // namespace tmr

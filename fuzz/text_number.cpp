// Text to number and back: any text (any bytes, read as UTF-8) either reads as a number or is
// refused with a RuntimeError; the number then formats without harm. Decoding is checked too:
// bytes that decode without a replacement character were well-formed UTF-8 and encode back
// to themselves.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "fuzz/FuzzInput.h"
#include "platform/core/Bit.h"
#include "platform/core/Common.h"
#include "platform/core/Object.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/core/String.h"
#include "views/input/tm_formatter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tmr::FuzzInput in(data, size);
  const int minInt = in.byte() % 24 - 2;
  const int maxFrac = in.byte() % 24 - 2;
  const int minFrac = in.byte() % 24 - 2;
  const bool grouping = in.flag();
  const int radix = in.byte() % 40;
  const std::string raw = in.rest();
  const tmr::String text(raw);
  if (text.units().find(u'\uFFFD') == std::u16string::npos && text.str() != raw) std::abort();

  const bool isNumber = tmr::Common::IsNumber(text);
  const tmr::Object value(text);
  try {
    const double d = value.AsDouble();
    if (!isNumber) std::abort();
    tmr::Common::NumberFormat2(d, minInt, maxFrac, minFrac, grouping);
    tmr::Common::NumberToString(d);
    tmr::Object(d).AsString();
    value.AsInt();
    value.AsLong();
    static tmr::Runtime rt;
    static auto formatter = [] {
      auto f = std::make_shared<tmr::tm_formatter>();
      f->_initialize(std::make_shared<tmr::Dispatcher>(rt, std::weak_ptr<tmr::Module>()));
      return f;
    }();
    formatter->_format(d);
  } catch (const tmr::RuntimeError&) {
    if (isNumber) std::abort();
  }
  try {
    value.AsBool();
  } catch (const tmr::RuntimeError&) {
  }
  try {
    tmr::Bit::ParseInt(text, radix);
  } catch (const tmr::RuntimeError&) {
  }
  try {
    auto bytes = tmr::ByteConverter::HexToBytes(text);
    // Bytes read from hexadecimal digits write back as the same digits.
    if (tmr::ByteConverter::HexFromBytes(bytes).ToLowerCase().units() != text.ToLowerCase().units()) std::abort();
  } catch (const tmr::RuntimeError&) {
  }
  return 0;
}

#include "views/input/tm_formatter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/core/StringBuilder.h"

namespace tmr {

namespace {

// |x| × 10^places rounded half away from zero, on the shortest decimal text of x (the digits
// that read back as the same double), so that 0.285 to two places gives 29 though the double
// lies a hair below 0.285, and no digit suffers the error of a product worked out in doubles.
// The caller keeps |x| ≤ 2^31 and places ≤ 9, which the result holds in 64 bits.
int64_t ScaledRounded(double x, int places) {
  // Scientific notation: "d.ddde±x", at most 17 digits whatever the magnitude.
  char text[32];
  char* end = std::to_chars(text, text + sizeof text, std::fabs(x), std::chars_format::scientific).ptr;
  const char* e = std::find(text, end, 'e');
  int exponent = 0;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exponent);
  char digits[20];
  int count = 0;
  for (const char* p = text; p != e; ++p) {
    if (*p != '.') digits[count++] = *p;
  }
  // Digit i stands for 10^(exponent - i): the first `keep` digits reach down to the last place.
  const int keep = exponent + places + 1;
  int64_t n = 0;
  for (int i = 0; i < keep; ++i) n = n * 10 + (i < count ? digits[i] - '0' : 0);
  if (keep >= 0 && keep < count && digits[keep] >= '5') ++n;
  return n;
}

}  // namespace

const SubTable& tm_formatter::subTable() const {
  static const SubTable table{
      sub<&tm_formatter::_getdefaultformat>("_getdefaultformat"),
      sub<&tm_formatter::_newformatdata>("_newformatdata"),
      sub<&tm_formatter::_copyformatdata>("_copyformatdata:"),
      sub<&tm_formatter::_createdefaultformat>("_createdefaultformat"),
      sub<&tm_formatter::_addformatdata>("_addformatdata::::"),
      sub<&tm_formatter::_getformatdata>("_getformatdata:"),
      sub<&tm_formatter::_format>("_format:"),
      sub<&tm_formatter::_formatlabel>("_formatlabel::"),
  };
  return table;
}

void tm_formatter::_class_globals() {
  formats = List();
  max_value = 0x7FFFFFFF;
  min_value = static_cast<int32_t>(0x80000000);
  ui = UiLayer();
}

void tm_formatter::_initialize(const std::shared_ptr<Dispatcher>& ba) {
  if (!ba) throw NotInitialized("Dispatcher");
  initializeClassModule(ba->runtime());
  formats.Initialize();
  _addformatdata(_createdefaultformat(), min_value, max_value, true);
}

std::shared_ptr<_formatdata> tm_formatter::_createdefaultformat() {
  auto d = std::make_shared<_formatdata>();
  d->Initialize();
  d->GroupingCharacter = ",";
  d->DecimalPoint = ".";
  d->MaximumFractions = 3;
  d->MinimumIntegers = 1;
  d->IntegerPaddingChar = "0";
  d->FractionPaddingChar = "0";
  return d;
}

std::shared_ptr<_formatdata> tm_formatter::_getdefaultformat() { return formats.Get(0).As<_formatdata>(); }

std::shared_ptr<_formatdata> tm_formatter::_newformatdata() { return _copyformatdata(_getdefaultformat()); }

std::shared_ptr<_formatdata> tm_formatter::_copyformatdata(std::shared_ptr<_formatdata> data) {
  if (!data) throw NotInitialized("_formatdata");
  auto d = std::make_shared<_formatdata>();
  d->Initialize();
  d->IsInitialized = data->IsInitialized;
  d->Prefix = data->Prefix;
  d->Postfix = data->Postfix;
  d->MinimumIntegers = data->MinimumIntegers;
  d->MinimumFractions = data->MinimumFractions;
  d->MaximumFractions = data->MaximumFractions;
  d->GroupingCharacter = data->GroupingCharacter;
  d->DecimalPoint = data->DecimalPoint;
  d->TextColor = data->TextColor;
  d->FormatFont = data->FormatFont.IsInitialized()
                      ? ui.CreateFont(data->FormatFont.ToNativeFont(), data->FormatFont.Size())
                      : Font();
  d->RangeStart = data->RangeStart;
  d->RangeEnd = data->RangeEnd;
  d->RemoveMinusSign = data->RemoveMinusSign;
  d->IntegerPaddingChar = data->IntegerPaddingChar;
  d->FractionPaddingChar = data->FractionPaddingChar;
  return d;
}

void tm_formatter::_addformatdata(std::shared_ptr<_formatdata> data, double rangeStart, double rangeEnd,
                                  bool includeEdges) {
  if (!data) throw NotInitialized("_formatdata");
  double f = Common::Power(10, -data->MaximumFractions);
  if (!includeEdges) {
    rangeStart += f;
    rangeEnd -= f;
  }
  rangeStart -= f / 2;
  rangeEnd += f / 2;
  data->RangeStart = rangeStart;
  data->RangeEnd = rangeEnd;
  formats.Add(Object(data));
}

std::shared_ptr<_formatdata> tm_formatter::_getformatdata(double number) {
  for (int i = formats.Size() - 1; i >= 1; --i) {
    auto d = formats.Get(i).As<_formatdata>();
    if (d && d->RangeStart <= number && number <= d->RangeEnd) return d;
  }
  return _getdefaultformat();
}

String tm_formatter::_format(double number) {
  // NaN compares false with everything and would pass both range tests.
  if (!std::isfinite(number) || number < min_value || number > max_value) return "OVERFLOW";
  auto r = _getformatdata(number);
  // With more than nine places the scaled value of 2^31 would not fit in 64 bits.
  int maxFractions = std::clamp(r->MaximumFractions, 0, 9);
  StringBuilder sb;
  sb.Append(r->Prefix);
  int p0 = sb.Length();
  int64_t unit = 1;
  for (int i = 0; i < maxFractions; ++i) unit *= 10;
  const int64_t scaled = ScaledRounded(number, maxFractions);
  int64_t n = scaled / unit;
  int64_t fraction = scaled % unit;
  const bool nonZero = scaled != 0;
  int k = 0;
  while (n >= 1) {
    if (k > 0 && k % 3 == 0 && !r->GroupingCharacter.empty()) sb.Insert(p0, r->GroupingCharacter);
    ++k;
    sb.Insert(p0, String(std::to_string(n % 10)));
    n /= 10;
  }
  // An empty padding character would never reach the length.
  if (!r->IntegerPaddingChar.empty()) {
    while (sb.Length() - p0 < r->MinimumIntegers) sb.Insert(p0, r->IntegerPaddingChar);
  }
  if (maxFractions > 0 && (r->MinimumFractions > 0 || fraction > 0)) {
    int p1 = sb.Length();
    int z = 0;
    if (fraction > 0) {
      // Every place is written, leading zeros included; the trailing zeros are counted to be trimmed.
      std::string digits(static_cast<size_t>(maxFractions), '0');
      for (int i = maxFractions - 1; i >= 0; --i, fraction /= 10) digits[i] = static_cast<char>('0' + fraction % 10);
      sb.Append(String(digits));
      for (int i = maxFractions - 1; digits[i] == '0'; --i) ++z;
    }
    if (r->FractionPaddingChar != String("0") && z > 0) {
      sb.Remove(sb.Length() - z, sb.Length());
      z = 0;
    }
    if (!r->FractionPaddingChar.empty()) {
      while (sb.Length() - p1 < r->MinimumFractions) {
        sb.Append(r->FractionPaddingChar);
        z = 0;
      }
    }
    int c = std::min(z, sb.Length() - p1 - r->MinimumFractions);
    if (c > 0) sb.Remove(sb.Length() - c, sb.Length());
    if (sb.Length() > p1) sb.Insert(p1, r->DecimalPoint);
  }
  // The sign follows the rounded value: a number that rounds to zero has none, one that rounds
  // away from zero keeps it.
  if (number < 0 && nonZero && !r->RemoveMinusSign) sb.Insert(p0, "-");
  sb.Append(r->Postfix);
  return sb.ToString();
}

void tm_formatter::_formatlabel(double number, View label) {
  label.setText(_format(number));
  auto r = _getformatdata(number);
  if (r->TextColor != 0) label.setTextColor(r->TextColor);
  if (r->FormatFont.IsInitialized()) label.setFont(r->FormatFont);
}

}  // namespace tmr

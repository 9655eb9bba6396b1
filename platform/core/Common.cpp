#include "platform/core/Common.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"

namespace tmr {

namespace {
std::string LowerSub(std::string_view sub, size_t n) { return SubKey(sub, static_cast<int>(n)).substr(1); }
}  // namespace

Object Common::call(const Object& target, std::string_view sub, std::vector<Object> args) {
  auto m = target.As<Module>();
  if (!m) return {};
  auto es = LowerSub(sub, args.size());  // before args is moved from
  return rt_.deliver(m, Object(), es, std::move(args));
}

void Common::callDelayed(const Object& target, std::string_view sub, std::vector<Object> args) {
  auto m = target.As<Module>();
  if (!m) return;
  auto es = LowerSub(sub, args.size());
  Runtime* rt = &rt_;
  rt_.loop().post([rt, m, es, args = std::move(args)]() mutable { rt->deliver(m, Object(), es, std::move(args)); });
}

Object Common::CallSub(const Object& target, std::string_view sub) { return call(target, sub, {}); }
Object Common::CallSub2(const Object& target, std::string_view sub, Object a1) {
  return call(target, sub, {std::move(a1)});
}
Object Common::CallSub3(const Object& target, std::string_view sub, Object a1, Object a2) {
  return call(target, sub, {std::move(a1), std::move(a2)});
}
void Common::CallSubDelayed(const Object& target, std::string_view sub) { callDelayed(target, sub, {}); }
void Common::CallSubDelayed2(const Object& target, std::string_view sub, Object a1) {
  callDelayed(target, sub, {std::move(a1)});
}
void Common::CallSubDelayed3(const Object& target, std::string_view sub, Object a1, Object a2) {
  callDelayed(target, sub, {std::move(a1), std::move(a2)});
}

bool Common::SubExists(const Object& target, std::string_view sub, int parameterCount) const {
  auto m = target.As<Module>();
  if (!m) return false;
  return m->hasSub(SubKey(sub, parameterCount));
}

Object Common::Sender() const { return rt_.sender(); }
void Common::Log(const String& text) const { rt_.Log(text.str()); }
void Common::LogStr(std::string_view text) const { rt_.Log(text); }
int64_t Common::Now() const { return rt_.Now(); }
int64_t Common::SteadyNow() const { return rt_.SteadyNow(); }

int64_t Common::Round(double x) {
  // NaN gives 0 and values beyond the 64-bit range saturate, instead of an undefined conversion.
  if (std::isnan(x)) return 0;
  double r = std::nearbyint(x);
  if (r >= 9223372036854775807.0) return INT64_MAX;
  if (r <= -9223372036854775808.0) return INT64_MIN;
  return static_cast<int64_t>(r);
}
double Common::Round2(double x, int digits) {
  double m = std::pow(10.0, digits);
  return std::nearbyint(x * m) / m;
}
double Common::Abs(double x) { return std::fabs(x); }
double Common::Ceil(double x) { return std::ceil(x); }
double Common::Floor(double x) { return std::floor(x); }
double Common::Power(double b, double e) { return std::pow(b, e); }
double Common::Sqrt(double x) { return std::sqrt(x); }
double Common::Min(double a, double b) { return a < b ? a : b; }
double Common::Max(double a, double b) { return a > b ? a : b; }
double Common::SinD(double d) { return std::sin(d / 180.0 * cPI); }
double Common::CosD(double d) { return std::cos(d / 180.0 * cPI); }
double Common::ATan2D(double y, double x) { return std::atan2(y, x) / cPI * 180.0; }

String Common::Chr(int32_t cp) { return String::FromCodePoint(static_cast<uint32_t>(cp)); }
String Common::NumberToString(double d) { return tmr::NumberToString(d); }

bool Common::IsNumber(const String& text) {
  try {
    ParseNumber(text);
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

String Common::NumberFormat2(double number, int minInt, int maxFrac, int minFrac, bool grouping) {
  if (std::isnan(number)) return "NaN";
  if (maxFrac < 0) maxFrac = 0;
  if (maxFrac > 15) maxFrac = 15;
  if (minFrac > maxFrac) minFrac = maxFrac;
  if (minFrac < 0) minFrac = 0;
  bool negative = number < 0;
  if (std::isinf(number)) return negative ? "-\u221E" : "\u221E";
  // The double's exact decimal value rounded to maxFrac fraction digits, every digit of the whole
  // part included (a double may be far beyond any integer type). Scaling by 10^maxFrac in double
  // arithmetic instead would round the product and write digits the number does not hold
  // (999999999999999916.11392 for 1e18).
  const double magnitude = std::fabs(number);
  char buf[330];  // at most 309 whole digits, the point and 15 fraction digits
  std::string intPart;
  std::string frac;
  if (magnitude < 1e18 && magnitude == std::floor(magnitude)) {  // whole numbers, the common case, faster
    intPart.assign(buf, std::to_chars(buf, buf + sizeof buf, static_cast<uint64_t>(magnitude)).ptr);
    frac.assign(static_cast<size_t>(maxFrac), '0');
  } else {
    const auto end = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed, maxFrac).ptr;
    const std::string_view written(buf, static_cast<size_t>(end - buf));
    const size_t point = written.find('.');
    intPart = written.substr(0, point);
    if (point != std::string_view::npos) frac = written.substr(point + 1);
  }
  while (frac.size() > static_cast<size_t>(minFrac) && !frac.empty() && frac.back() == '0') frac.pop_back();
  while (intPart.size() < static_cast<size_t>(std::max(minInt, 0))) intPart.insert(intPart.begin(), '0');
  if (minInt == 0 && intPart == "0") intPart.clear();
  if (grouping) {
    std::string g;
    int count = 0;
    for (size_t i = intPart.size(); i > 0; --i) {
      if (count && count % 3 == 0) g.insert(g.begin(), ',');
      g.insert(g.begin(), intPart[i - 1]);
      ++count;
    }
    intPart = g;
  }
  std::string out = intPart;
  if (!frac.empty()) out += "." + frac;
  if (negative && out.find_first_not_of("0.,") != std::string::npos) out.insert(out.begin(), '-');
  if (out.empty()) out = "0";
  return String(out);
}

}  // namespace tmr

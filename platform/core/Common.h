#pragma once
// The runtime's keyword object (`c` of every module): calls by name, the sender, the console,
// and the runtime's maths and conversions.
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/core/Object.h"

namespace tmr {

class Runtime;

class Common {
 public:
  explicit Common(Runtime& rt) : rt_(rt) {}
  Runtime& runtime() const { return rt_; }

  // Calls by name. The sub's key is "_" + lower(sub) + one ':' per argument; a target that has
  // no such sub (or is not a module) is left alone and the result is null. A coroutine of the
  // target waiting for that event string takes the call instead.
  Object CallSub(const Object& target, std::string_view sub);
  Object CallSub2(const Object& target, std::string_view sub, Object a1);
  Object CallSub3(const Object& target, std::string_view sub, Object a1, Object a2);
  // The same, on the next turn of the main loop, in the order posted, with the arguments as
  // they were at the call; the sub is looked up at delivery.
  void CallSubDelayed(const Object& target, std::string_view sub);
  void CallSubDelayed2(const Object& target, std::string_view sub, Object a1);
  void CallSubDelayed3(const Object& target, std::string_view sub, Object a1, Object a2);
  // Whether target has the sub with exactly that number of parameters (case-insensitive).
  bool SubExists(const Object& target, std::string_view sub, int parameterCount) const;
  // The object that raised the event being handled.
  Object Sender() const;

  void Log(const String& text) const;
  void LogStr(std::string_view text) const;
  int64_t Now() const;
  // The loop's steady clock, for durations: unlike Now(), a change of the system's time does not
  // move it (see MainLoop::steadyNow).
  int64_t SteadyNow() const;

  // Maths, as the runtime does it. Round is to nearest, ties to even (NaN gives 0, and values
  // beyond the 64-bit range saturate).
  static int64_t Round(double x);
  static double Round2(double x, int digits);
  static double Abs(double x);
  static double Ceil(double x);
  static double Floor(double x);
  static double Power(double base, double exponent);
  static double Sqrt(double x);
  static double Min(double a, double b);
  static double Max(double a, double b);
  static double SinD(double degrees);
  static double CosD(double degrees);
  static double ATan2D(double y, double x);
  static constexpr double cPI = 3.141592653589793;
  // Platform flags of this platform.
  static constexpr bool IsAndroid = false;
  static constexpr bool IsIOS = true;
  static constexpr bool IsDesktop = false;

  static String Chr(int32_t codePoint);  // one character; a lone surrogate becomes U+FFFD
  static String NumberToString(double d);
  static bool IsNumber(const String& text);
  // Number with at least minInt integer digits, maxFrac fraction digits at most, minFrac at
  // least, and optional thousands grouping.
  static String NumberFormat2(double number, int minInt, int maxFrac, int minFrac, bool grouping);
  static String NumberFormat(double number, int minInt, int maxFrac) {
    return NumberFormat2(number, minInt, maxFrac, 0, true);
  }

 private:
  Object call(const Object& target, std::string_view sub, std::vector<Object> args);
  void callDelayed(const Object& target, std::string_view sub, std::vector<Object> args);
  Runtime& rt_;
};

}  // namespace tmr

#include "platform/text/Regex.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <memory>

#include "platform/core/RuntimeError.h"

namespace tmr {

std::vector<String> Regex::Split(const String& pattern, const String& text) {
  const auto& p = pattern.units();
  const auto& t = text.units();
  UErrorCode status = U_ZERO_ERROR;
  UParseError where{};
  std::unique_ptr<icu::RegexPattern> compiled(icu::RegexPattern::compile(
      icu::UnicodeString(p.data(), static_cast<int32_t>(p.size())), where, status));
  if (U_FAILURE(status) || !compiled) {
    throw RuntimeError("Invalid regular expression: " + pattern.str() + " (" + u_errorName(status) + ")");
  }
  const icu::UnicodeString input(t.data(), static_cast<int32_t>(t.size()));
  std::unique_ptr<icu::RegexMatcher> matcher(compiled->matcher(input, status));
  if (U_FAILURE(status) || !matcher)
    throw RuntimeError(std::string("Regular expression failed: ") + u_errorName(status));

  std::vector<String> parts;
  int32_t from = 0;
  bool matched = false;
  while (matcher->find(status) && U_SUCCESS(status)) {
    const int32_t start = matcher->start(status);
    const int32_t end = matcher->end(status);
    // An empty match at the very start splits nothing off.
    if (end == 0 && start == 0) continue;
    matched = true;
    parts.emplace_back(std::u16string(t.data() + from, static_cast<size_t>(start - from)));
    from = end;
  }
  if (U_FAILURE(status)) throw RuntimeError(std::string("Regular expression failed: ") + u_errorName(status));
  if (!matched) return {text};
  parts.emplace_back(std::u16string(t.data() + from, t.size() - static_cast<size_t>(from)));
  while (!parts.empty() && parts.back().empty()) parts.pop_back();
  return parts;
}

}  // namespace tmr

#pragma once
// The runtime's regular expressions (ICU syntax).
#include <vector>

#include "platform/core/String.h"

namespace tmr {

class Regex {
 public:
  // The parts of text between the matches of pattern, in order. Empty parts at the start and
  // between two matches are kept, empty parts at the end are dropped; a text without a match is
  // one part (so "" gives one empty part). An invalid pattern fails with a RuntimeError.
  static std::vector<String> Split(const String& pattern, const String& text);
  // Whether the whole text matches pattern. An invalid pattern fails with a RuntimeError whose
  // text begins "Invalid regular expression: ".
  static bool IsMatch(const String& pattern, const String& text);
};

}  // namespace tmr

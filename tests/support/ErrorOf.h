#pragma once
// The message of the error a call raises, for tests that pin what a caller is told.
#include <string>

#include "platform/core/RuntimeError.h"

namespace tmr {

// The message of the RuntimeError that f raises, or "" when it raises none.
template <class F>
std::string ErrorOf(F&& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.what();
  }
  return "";
}

}  // namespace tmr

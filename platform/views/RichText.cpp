#include "platform/views/RichText.h"

namespace tmr {

String RichText::plainText() const {
  String s;
  for (const auto& r : runs_) s += r.text;
  return s;
}

}  // namespace tmr

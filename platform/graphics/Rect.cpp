#include "platform/graphics/Rect.h"

#include "platform/core/Object.h"

namespace tmr {

std::string Rect::description() const {
  return "(Rect) " + NumberToString(Left).str() + ", " + NumberToString(Top).str() + ", " +
         NumberToString(Right).str() + ", " + NumberToString(Bottom).str();
}

}  // namespace tmr

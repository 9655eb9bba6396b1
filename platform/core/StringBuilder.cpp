#include "platform/core/StringBuilder.h"

#include "platform/core/RuntimeError.h"

namespace tmr {

StringBuilder& StringBuilder::Insert(int offset, const String& s) {
  if (offset < 0 || offset > Length()) throw OutOfBounds(offset, Length());
  units_.insert(static_cast<size_t>(offset), s.units());
  return *this;
}

StringBuilder& StringBuilder::Remove(int begin, int end) {
  if (begin < 0 || begin > Length()) throw OutOfBounds(begin, Length());
  if (end < begin || end > Length()) throw OutOfBounds(end, Length());
  units_.erase(static_cast<size_t>(begin), static_cast<size_t>(end - begin));
  return *this;
}

}  // namespace tmr

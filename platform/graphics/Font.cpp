#include "platform/graphics/Font.h"

#include "platform/core/Object.h"
#include "platform/core/RuntimeError.h"

namespace tmr {

std::string FontData::description() const {
  return "(Font) " + family + (bold ? " Bold " : " ") + NumberToString(size).str();
}

Font Font::Make(std::string family, float size, bool bold) {
  return Font(std::make_shared<FontData>(std::move(family), size, bold));
}

const FontData& Font::data() const {
  if (!d_) throw NotInitialized("Font");
  return *d_;
}

float Font::Size() const { return data().size; }
const std::string& Font::family() const { return data().family; }
bool Font::bold() const { return data().bold; }

bool operator==(const Font& a, const Font& b) {
  if (a.d_ == b.d_) return true;
  if (!a.d_ || !b.d_) return false;
  return a.d_->family == b.d_->family && a.d_->size == b.d_->size && a.d_->bold == b.d_->bold;
}

}  // namespace tmr

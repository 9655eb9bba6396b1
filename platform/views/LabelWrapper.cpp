#include "platform/views/LabelWrapper.h"

#include "platform/core/Module.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

LabelWrapper LabelWrapper::FromObject(const Object& o) {
  auto v = o.As<LabelObject>();
  return LabelWrapper(std::static_pointer_cast<ViewObject>(v));
}

void LabelWrapper::Initialize(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName) {
  if (!ba) throw NotInitialized("Dispatcher");
  auto v = ViewSystem::of(ba->runtime()).make<LabelObject>();
  v->setEvents(ba, std::string(eventName));
  static_cast<View&>(*this) = View(v);
}

LabelObject& LabelWrapper::label() const { return static_cast<LabelObject&>(obj()); }

bool LabelWrapper::Multiline() const { return label().numberOfLines() != 1; }
void LabelWrapper::setMultiline(bool multiline) const { label().setNumberOfLines(multiline ? 0 : 1); }
void LabelWrapper::SizeToFit() const { label().sizeToFit(); }

std::shared_ptr<RichText> LabelWrapper::AttributedText() const { return label().attributedText(); }
void LabelWrapper::setAttributedText(std::shared_ptr<RichText> text) const {
  label().setAttributedText(std::move(text));
}

}  // namespace tmr

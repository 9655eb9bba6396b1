#pragma once
// A native label as the runtime wraps it: a View that is known to be a label.
#include <memory>
#include <string_view>

#include "platform/views/LabelObject.h"
#include "platform/views/View.h"

namespace tmr {

class LabelWrapper : public View {
 public:
  LabelWrapper() = default;
  // The label an Object refers to; uninitialised when it is not a label.
  static LabelWrapper FromObject(const Object& o);

  // Makes a new label; a non-empty event name makes it raise "<event name>_click".
  void Initialize(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName);

  std::shared_ptr<RichText> AttributedText() const;
  void setAttributedText(std::shared_ptr<RichText> text) const;
  // Whether the label breaks its text into as many lines as it needs within its width.
  bool Multiline() const;
  void setMultiline(bool multiline) const;
  // Fits the label's size to its text (LabelObject::sizeToFit).
  void SizeToFit() const;
  LabelObject& label() const;

 private:
  explicit LabelWrapper(std::shared_ptr<ViewObject> v) : View(std::move(v)) {}
};

template <>
struct FromObject<LabelWrapper> {
  static LabelWrapper get(const Object& o) { return LabelWrapper::FromObject(o); }
};

}  // namespace tmr

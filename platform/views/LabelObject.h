#pragma once
// A label: one line of text (plain, or rich text with its own fonts and colours per run), black
// in the default font of 17 points, left-aligned and vertically centred unless told otherwise.
// A disabled label draws its text dimmed. With an event name it raises "click" when tapped.
#include <memory>

#include "platform/views/RichText.h"
#include "platform/views/TextViewObject.h"

namespace tmr {

class LabelObject : public TextViewObject {
 public:
  static constexpr int32_t kDefaultTextColor = static_cast<int32_t>(0xFF000000);
  static constexpr float kDefaultTextSize = 17;

  explicit LabelObject(ViewSystem& system);
  std::string_view typeName() const override { return "Label"; }

  // Setting plain text drops rich text; rich text sets the plain text to its characters.
  void setText(const String& text) override;
  const std::shared_ptr<RichText>& attributedText() const { return attributed_; }
  void setAttributedText(std::shared_ptr<RichText> text);

  void dispose() override;

 private:
  std::shared_ptr<RichText> attributed_;
};

}  // namespace tmr

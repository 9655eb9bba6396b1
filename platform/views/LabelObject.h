#pragma once
// A label: one line of text (plain, or rich text with its own fonts and colours per run), black
// in the default font of 17 points, left-aligned and vertically centred unless told otherwise.
// A multi-line label (numberOfLines 0: as many as needed) breaks its text into lines within its
// width. A disabled label draws its text dimmed. With an event name it raises "click" when tapped.
#include <memory>
#include <vector>

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

  // 1 (the default) shows one line; 0 as many as the text needs; n at most n.
  int numberOfLines() const { return numberOfLines_; }
  void setNumberOfLines(int n) {
    numberOfLines_ = n < 0 ? 0 : n;
    invalidate();
  }
  // The lines the label shows within its width.
  std::vector<String> lines() const;
  // Fits the frame to the text: one line's width and height, or for a multi-line label the
  // lines within the current width (the width shrinks to the longest line). An empty text
  // gives 0 x 0. Sizes are rounded up to whole points.
  void sizeToFit();

  void dispose() override;

 private:
  std::shared_ptr<RichText> attributed_;
  int numberOfLines_ = 1;
};

}  // namespace tmr

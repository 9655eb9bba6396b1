#include "platform/views/LabelObject.h"

#include <algorithm>
#include <cmath>

#include "platform/core/Runtime.h"
#include "platform/views/TextMeasurer.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

LabelObject::LabelObject(ViewSystem& system)
    : TextViewObject(system, kDefaultTextColor, Font::Make(Font::kDefaultFamily, kDefaultTextSize),
                     TextAlignment{VerticalAlignment::Center, HorizontalAlignment::Left}) {}

void LabelObject::setText(const String& text) {
  attributed_.reset();
  TextViewObject::setText(text);
}

void LabelObject::setAttributedText(std::shared_ptr<RichText> text) {
  TextViewObject::setText(text ? text->plainText() : String());
  attributed_ = std::move(text);
}

std::vector<String> LabelObject::lines() const {
  std::vector<String> out;
  String t = text();
  if (t.empty()) return out;
  if (numberOfLines_ == 1 || !system()) {
    out.push_back(t);
    return out;
  }
  auto& measurer = system()->runtime().service<TextMeasurer>();
  for (const auto& line : measurer.wrap(t, font(), frame().width)) {
    if (numberOfLines_ > 0 && static_cast<int>(out.size()) == numberOfLines_) break;
    out.push_back(t.SubString2(line.start, line.start + line.length));
  }
  return out;
}

void LabelObject::sizeToFit() {
  if (!system()) return;
  auto& measurer = system()->runtime().service<TextMeasurer>();
  String t = text();
  Frame f = frame();
  double width = 0, height = 0;
  if (!t.empty()) {
    double lineHeight = measurer.lineHeight(font());
    if (attributed_) {
      for (const auto& run : attributed_->runs()) {
        if (run.font.IsInitialized()) lineHeight = std::max(lineHeight, measurer.lineHeight(run.font));
      }
    }
    if (numberOfLines_ == 1) {
      width = measurer.width(t, font());
      height = lineHeight;
    } else {
      auto wrapped = measurer.wrap(t, font(), f.width);
      size_t n = wrapped.size();
      if (numberOfLines_ > 0) n = std::min(n, static_cast<size_t>(numberOfLines_));
      for (size_t i = 0; i < n; ++i) width = std::max(width, wrapped[i].width);
      height = lineHeight * static_cast<double>(n);
    }
  }
  f.width = std::ceil(width);
  f.height = std::ceil(height);
  setFrame(f);
}

void LabelObject::dispose() {
  attributed_.reset();
  TextViewObject::dispose();
}

}  // namespace tmr

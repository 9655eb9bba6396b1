#include "platform/views/RichTextBuilder.h"

#include "platform/core/RuntimeError.h"

namespace tmr {

void RichTextBuilder::Initialize() {
  text_ = std::make_shared<RichText>();
  styles_.clear();
}

RichText& RichTextBuilder::text() const {
  if (!text_) throw NotInitialized("RichTextBuilder");
  return *text_;
}

RichTextBuilder& RichTextBuilder::Append(const String& s) {
  RichText::Run run{s, tmr::Font(), std::nullopt};
  // The innermost style of each kind wins.
  for (auto it = styles_.rbegin(); it != styles_.rend(); ++it) {
    if (it->font) {
      run.font = *it->font;
      break;
    }
  }
  for (auto it = styles_.rbegin(); it != styles_.rend(); ++it) {
    if (it->color) {
      run.color = it->color;
      break;
    }
  }
  text().append(std::move(run));
  return *this;
}

RichTextBuilder& RichTextBuilder::Font(const tmr::Font& font) {
  text();
  // An uninitialised font stands for the label's font, which a run keeps by having none.
  styles_.push_back(Style{font, std::nullopt});
  return *this;
}

RichTextBuilder& RichTextBuilder::Color(int32_t argb) {
  text();
  styles_.push_back(Style{std::nullopt, argb});
  return *this;
}

RichTextBuilder& RichTextBuilder::Pop() {
  text();
  if (styles_.empty()) throw RuntimeError("RichTextBuilder: Pop without an open style");
  styles_.pop_back();
  return *this;
}

std::shared_ptr<RichText> RichTextBuilder::PopAll() {
  text();
  styles_.clear();
  return text_;
}

std::shared_ptr<RichText> RichTextBuilder::ToRichText() const {
  text();
  return text_;
}

}  // namespace tmr

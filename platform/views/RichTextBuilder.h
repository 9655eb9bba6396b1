#pragma once
// Builds rich text the way the runtime's rich-text builder does: a stack of styles (fonts and
// colours) that Font and Color push and Pop takes off again; each appended text takes the
// innermost font and the innermost colour on the stack, or the label's own where the stack has
// none. PopAll closes every open style and gives the finished text. A builder that was created
// but not initialised fails on use with "Object not initialized (RichTextBuilder)".
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/core/String.h"
#include "platform/graphics/Font.h"
#include "platform/views/RichText.h"

namespace tmr {

class RichTextBuilder {
 public:
  // Starts a new, empty text with no open style.
  void Initialize();
  bool IsInitialized() const { return text_ != nullptr; }

  RichTextBuilder& Append(const String& text);
  // Opens a style: text appended until the matching Pop is in the font (an uninitialised font
  // stands for the label's) or in the colour (ARGB).
  RichTextBuilder& Font(const tmr::Font& font);
  RichTextBuilder& Color(int32_t argb);
  // Closes the innermost open style; with none open it is a RuntimeError.
  RichTextBuilder& Pop();
  // Closes every open style and returns the text built so far.
  std::shared_ptr<RichText> PopAll();
  // The text built so far (the same object each time until Initialize starts a new one).
  std::shared_ptr<RichText> ToRichText() const;

 private:
  struct Style {
    std::optional<tmr::Font> font;
    std::optional<int32_t> color;
  };
  RichText& text() const;

  std::shared_ptr<RichText> text_;
  std::vector<Style> styles_;
};

}  // namespace tmr

#pragma once
// The runtime's font: a family, a weight and a size in points. A font that was created but not
// initialised stands for "no font" (a label given it keeps its own). Copies of the handle share
// the font; UiLayer makes new ones.
#include <memory>
#include <string>

#include "platform/core/RuntimeObject.h"

namespace tmr {

class FontData : public RuntimeObject {
 public:
  FontData(std::string family, float size, bool bold) : family(std::move(family)), size(size), bold(bold) {}
  std::string description() const override;

  const std::string family;  // the font family as the font files name it ("DejaVu Sans")
  const float size;          // points
  const bool bold;
};

class Font {
 public:
  // The family of the platform's default text font and of the icon fonts.
  static constexpr const char* kDefaultFamily = "DejaVu Sans";
  static constexpr const char* kMaterialIconsFamily = "Material Icons";
  static constexpr const char* kFontAwesomeFamily = "FontAwesome";

  Font() = default;  // created, not initialised
  explicit Font(std::shared_ptr<FontData> d) : d_(std::move(d)) {}
  static Font Make(std::string family, float size, bool bold = false);

  bool IsInitialized() const { return d_ != nullptr; }
  // Fail with "Object not initialized (Font)" on an uninitialised font.
  float Size() const;
  const std::string& family() const;
  bool bold() const;
  // The native font behind this font (this platform has one kind of font, so the same face).
  Font ToNativeFont() const { return *this; }

  const std::shared_ptr<FontData>& shared() const { return d_; }
  // Same face and size (not identity: two fonts made alike are equal).
  friend bool operator==(const Font& a, const Font& b);

 private:
  const FontData& data() const;
  std::shared_ptr<FontData> d_;
};

}  // namespace tmr

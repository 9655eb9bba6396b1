#pragma once
// Where a text view places its text inside its frame.
#include <string_view>

namespace tmr {

enum class HorizontalAlignment { Left, Center, Right };
enum class VerticalAlignment { Top, Center, Bottom };

struct TextAlignment {
  VerticalAlignment vertical = VerticalAlignment::Center;
  HorizontalAlignment horizontal = HorizontalAlignment::Left;

  // The runtime's names: "TOP", "CENTER", "BOTTOM" and "LEFT", "CENTER", "RIGHT" (any case).
  // Another name is an error that names it.
  static VerticalAlignment ParseVertical(std::string_view name);
  static HorizontalAlignment ParseHorizontal(std::string_view name);
  friend bool operator==(const TextAlignment&, const TextAlignment&) = default;
};

}  // namespace tmr

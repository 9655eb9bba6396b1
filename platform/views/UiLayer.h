#pragma once
// The runtime's view-layer object (a module's `ui` field): makes panels and fonts, and holds the
// view layer's constants. It keeps no state of its own.
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/graphics/Font.h"
#include "platform/views/View.h"

namespace tmr {

class Dispatcher;

class UiLayer {
 public:
  static constexpr int32_t Color_White = static_cast<int32_t>(0xFFFFFFFF);
  static constexpr int32_t Color_Black = static_cast<int32_t>(0xFF000000);
  static constexpr int32_t Color_Transparent = 0;
  // The actions of a panel's "touch" event.
  static constexpr int32_t TOUCH_ACTION_DOWN = 0;
  static constexpr int32_t TOUCH_ACTION_UP = 1;
  static constexpr int32_t TOUCH_ACTION_MOVE = 2;
  // The touch was taken away (the panel hidden, disabled or removed, a scroll view dragging, the
  // window losing the pointer): undo any pressed look and act on nothing.
  static constexpr int32_t TOUCH_ACTION_CANCEL = 3;
  // A pointer moving without touching (never raised on a touch screen).
  static constexpr int32_t TOUCH_ACTION_MOVE_NOTOUCH = 100;

  // A new transparent panel; a non-empty event name makes it raise its events (click, long
  // click, touch) on the module of ba, an empty one makes it raise none.
  View CreatePanel(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName) const;

  // The default text font and the "Material Icons" font, at a size in points.
  Font CreateDefaultFont(float size) const;
  Font CreateDefaultBoldFont(float size) const;
  Font CreateMaterialIcons(float size) const;
  // The icon font "FontAwesome" (its glyphs are private-use code points such as U+F004).
  Font CreateFontAwesome(float size) const;
  // A new font of the same face as a native font, at the given size.
  Font CreateFont(const Font& nativeFont, float size) const;

  // A designer property's colour as an ARGB Int; a missing property (null) gives 0.
  int32_t PaintOrColorToColor(const Object& value) const;
};

}  // namespace tmr

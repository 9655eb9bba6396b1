#include "platform/views/UiLayer.h"

#include "platform/core/Module.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/PanelObject.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

View UiLayer::CreatePanel(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName) const {
  if (!ba) throw NotInitialized("Dispatcher");
  auto v = ViewSystem::of(ba->runtime()).make<PanelObject>();
  v->setEvents(ba, std::string(eventName));
  return View(v);
}

Font UiLayer::CreateDefaultFont(float size) const { return Font::Make(Font::kDefaultFamily, size); }
Font UiLayer::CreateDefaultBoldFont(float size) const { return Font::Make(Font::kDefaultFamily, size, true); }
Font UiLayer::CreateMaterialIcons(float size) const { return Font::Make(Font::kMaterialIconsFamily, size); }
Font UiLayer::CreateFontAwesome(float size) const { return Font::Make(Font::kFontAwesomeFamily, size); }

Font UiLayer::CreateFont(const Font& nativeFont, float size) const {
  return Font::Make(nativeFont.family(), size, nativeFont.bold());
}

int32_t UiLayer::PaintOrColorToColor(const Object& value) const {
  if (value.IsNull()) return 0;
  // Colours above 0x7FFFFFFF may arrive as a Long: keep their 32 bits.
  return static_cast<int32_t>(static_cast<uint32_t>(value.AsLong()));
}

}  // namespace tmr

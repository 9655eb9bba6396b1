#include "platform/app/Page.h"

#include "platform/core/Module.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/PanelObject.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

void Page::Initialize(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName) {
  if (!ba) throw NotInitialized("Dispatcher");
  auto& system = ViewSystem::of(ba->runtime());
  auto root = system.make<PanelObject>();
  root->setColor(kBackgroundColor);
  root->setFrame(Frame{0, 0, system.screenWidth(), system.screenHeight()});
  p_ = std::make_shared<PageObject>(ba, std::string(eventName), View(root));
}

PageObject& Page::page() const {
  if (!p_) throw NotInitialized("Page");
  return *p_;
}

View Page::RootPanel() const { return page().rootPanel; }
String Page::Title() const { return page().title; }
void Page::setTitle(const String& title) const { page().title = title; }

}  // namespace tmr

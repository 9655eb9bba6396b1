#include "platform/views/ClippingPanelObject.h"

#include <string>

#include "platform/core/Module.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

View ClippingPanelObject::Create(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName) {
  if (!ba) throw NotInitialized("Dispatcher");
  auto v = ViewSystem::of(ba->runtime()).make<ClippingPanelObject>();
  v->setEvents(ba, std::string(eventName));
  return View(v);
}

}  // namespace tmr

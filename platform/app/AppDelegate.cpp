#include "platform/app/AppDelegate.h"

#include "platform/core/Module.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

void AppDelegate::applicationDidFinishLaunching() {
  auto& system = ViewSystem::of(rt_);
  window_ = std::make_unique<Window>(system.screenWidth(), system.screenHeight());
  if (!classes_.mainModule) throw RuntimeError("The application has no main module");
  main_ = classes_.mainModule(rt_);
  NavigationControllerWrapper nav;
  nav.Initialize(main_->bi, "main");
  window_->setRootViewController(nav);
  main_->bi->raiseEventString(Object(), "application_start:", {Object(nav)});
}

}  // namespace tmr

#include "platform/app/ApplicationHost.h"

#include "platform/core/Runtime.h"
#include "platform/layout/LayoutLoader.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

ApplicationHost::ApplicationHost(ApplicationClasses classes, std::filesystem::path assetsDirectory,
                                 MainLoop::ClockKind clock)
    : rt_(std::make_unique<Runtime>(clock)) {
  ViewSystem::of(*rt_);
  LayoutLoader::Install(*rt_, assetsDirectory);
  if (classes.registerClasses) classes.registerClasses(*rt_);
  delegate_ = std::make_unique<AppDelegate>(*rt_, std::move(classes));
}

ApplicationHost::~ApplicationHost() {
  // The window and the delegate hold views and the main module: they go before the runtime.
  delegate_.reset();
  rt_->shutdown();
}

void ApplicationHost::start() {
  delegate_->applicationDidFinishLaunching();
  if (rt_->loop().clockKind() == MainLoop::ClockKind::Virtual) rt_->loop().runUntilIdle();
}

}  // namespace tmr

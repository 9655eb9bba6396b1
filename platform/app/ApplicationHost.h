#pragma once
// The platform's application host: one runtime (on the real or the virtual clock) with its view
// layer and layout loader, the program's classes registered, and the application delegate.
// start() launches the application as the platform does and runs what that posted.
#include <filesystem>
#include <memory>

#include "platform/app/AppDelegate.h"
#include "platform/app/ApplicationClasses.h"
#include "platform/core/MainLoop.h"

namespace tmr {

class Runtime;

class ApplicationHost {
 public:
  ApplicationHost(ApplicationClasses classes, std::filesystem::path assetsDirectory,
                  MainLoop::ClockKind clock = MainLoop::ClockKind::Virtual);
  ~ApplicationHost();
  ApplicationHost(const ApplicationHost&) = delete;
  ApplicationHost& operator=(const ApplicationHost&) = delete;

  void start();
  Runtime& runtime() const { return *rt_; }
  Window& window() const { return delegate_->window(); }
  const std::shared_ptr<Module>& mainModule() const { return delegate_->mainModule(); }

 private:
  std::unique_ptr<Runtime> rt_;
  std::unique_ptr<AppDelegate> delegate_;
};

}  // namespace tmr

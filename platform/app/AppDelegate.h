#pragma once
// The runtime's application delegate: when the platform has launched the application it
// creates the window, the main code module's single instance, a navigation controller with the
// event name "main" as the window's root, and raises "application_start:" on the main module
// with the navigation controller as its one parameter.
#include <memory>

#include "platform/app/ApplicationClasses.h"
#include "platform/app/Window.h"

namespace tmr {

class Module;
class Runtime;

class AppDelegate {
 public:
  AppDelegate(Runtime& rt, ApplicationClasses classes) : rt_(rt), classes_(std::move(classes)) {}

  void applicationDidFinishLaunching();
  Window& window() const { return *window_; }
  const std::shared_ptr<Module>& mainModule() const { return main_; }

 private:
  Runtime& rt_;
  ApplicationClasses classes_;
  std::unique_ptr<Window> window_;
  std::shared_ptr<Module> main_;
};

}  // namespace tmr

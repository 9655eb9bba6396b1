#pragma once
// What a program brings to the application host: its main code module and the classes its
// layouts name (custom views, designer scripts).
#include <functional>
#include <memory>

namespace tmr {

class Module;
class Runtime;

struct ApplicationClasses {
  // The single instance of the main code module in the runtime.
  std::function<std::shared_ptr<Module>(Runtime&)> mainModule;
  // Registers the program's custom view classes and designer scripts (LayoutRegistry).
  std::function<void(Runtime&)> registerClasses;
};

}  // namespace tmr

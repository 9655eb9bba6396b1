#include "views/input/ViewClassModule.h"

namespace tmr {

void ViewClassModule::_class_globals() {
  bindCodeModules(runtime());
  ui = UiLayer();
}

}  // namespace tmr

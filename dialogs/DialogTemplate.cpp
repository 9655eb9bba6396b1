#include "dialogs/DialogTemplate.h"

namespace tmr {

void DialogTemplate::_class_globals() {
  ViewClassModule::_class_globals();
  mbase = View();
}

void DialogTemplate::createContent(int32_t width, int32_t height, std::string_view layout) {
  mbase = ui.CreatePanel(bi, "mBase");
  mbase.SetLayoutAnimated(0, 0, 0, width, height);
  if (!layout.empty()) mbase.LoadLayout(layout, bi);
}

}  // namespace tmr

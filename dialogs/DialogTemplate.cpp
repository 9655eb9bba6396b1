#include "dialogs/DialogTemplate.h"

#include "listview/tm_customlistview.h"

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

void DialogTemplate::styleListContent(tm_customlistview& list, int32_t itemBackground) {
  mbase.SetColorAndBorder(UiLayer::Color_Transparent, 0, 0, 0);
  list.sv.SetColorAndBorder(UiLayer::Color_Transparent, 0, 0, 0);
  list.defaulttextbackgroundcolor = itemBackground;
  list.defaulttextcolor = UiLayer::Color_White;
}

}  // namespace tmr

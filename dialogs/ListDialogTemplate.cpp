#include "dialogs/ListDialogTemplate.h"

#include "listview/tm_customlistview.h"

namespace tmr {

const FieldTable& ListDialogTemplate::fieldTable() const {
  static const FieldTable table{field<&ListDialogTemplate::customlistview1>("customlistview1")};
  return table;
}

void ListDialogTemplate::_class_globals() {
  DialogTemplate::_class_globals();
  customlistview1 = nullptr;
}

void ListDialogTemplate::styleListContent(int32_t itemBackground) {
  mbase.SetColorAndBorder(UiLayer::Color_Transparent, 0, 0, 0);
  customlistview1->sv.SetColorAndBorder(UiLayer::Color_Transparent, 0, 0, 0);
  customlistview1->defaulttextbackgroundcolor = itemBackground;
  customlistview1->defaulttextcolor = UiLayer::Color_White;
}

}  // namespace tmr

#include "dialogs/tm_longtexttemplate.h"

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "listview/tm_customlistview.h"
#include "platform/core/Runtime.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

const SubTable& tm_longtexttemplate::subTable() const {
  using T = tm_longtexttemplate;
  static const SubTable table{
      sub<&T::_initialize>("_initialize:"),     sub<&T::_resize>("_resize::"),
      sub<&T::_getpanel>("_getpanel:"),         sub<&T::_show>("_show:"),
      sub<&T::_dialogclosed>("_dialogclosed:"),
  };
  return table;
}

void tm_longtexttemplate::_class_globals() {
  ListDialogTemplate::_class_globals();
  text = Object();
}

String tm_longtexttemplate::_initialize(const std::shared_ptr<Dispatcher>& ba) {
  initializeClassModule(ba->runtime());
  createContent(300, 300, "LongTextTemplate");
  styleListContent(kTextBackground);
  // The area below the text is darker than the text item.
  customlistview1->sv.setColor(kListBackground);
  return "";
}

String tm_longtexttemplate::_resize(int32_t Width, int32_t Height) {
  mbase.SetLayoutAnimated(0, 0, 0, Width, Height);
  customlistview1->_asview().SetLayoutAnimated(0, 0, 0, Width, Height);
  customlistview1->_base_resize(Width, Height);
  return "";
}

String tm_longtexttemplate::_show(Object /*dialog*/) {
  customlistview1->_clear();
  customlistview1->_addtextitem(text, Object(""));
  customlistview1->_getpanel(0).GetView(0).SetTextAlignment("TOP", "LEFT");
  viewsutils->_addstubtoclvifneeded(customlistview1, customlistview1->defaulttextbackgroundcolor);
  return "";
}

}  // namespace tmr

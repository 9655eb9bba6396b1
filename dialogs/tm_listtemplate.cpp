#include "dialogs/tm_listtemplate.h"

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "dialogs/ResumableSub_listtemplate_Show.h"
#include "dialogs/tm_dialog.h"
#include "listview/_clvitem.h"
#include "listview/tm_customlistview.h"
#include "platform/core/Runtime.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

const SubTable& tm_listtemplate::subTable() const {
  using T = tm_listtemplate;
  static const SubTable table{
      sub<&T::_initialize>("_initialize:"),     sub<&T::_resize>("_resize::"),
      sub<&T::_selectitem>("_selectitem::"),    sub<&T::_customlistview1_itemclick>("_customlistview1_itemclick::"),
      sub<&T::_getpanel>("_getpanel:"),         sub<&T::_show>("_show:"),
      sub<&T::_dialogclosed>("_dialogclosed:"),
  };
  return table;
}

void tm_listtemplate::_class_globals() {
  ListDialogTemplate::_class_globals();
  options = List();
  selecteditem = "";
  xdialog = nullptr;
  allowmultiselection = false;
  selectioncolor = static_cast<int32_t>(0xAA0086FF);
  selecteditems = List();
  multiselectionminimum = 0;
}

String tm_listtemplate::_initialize(const std::shared_ptr<Dispatcher>& ba) {
  initializeClassModule(ba->runtime());
  createContent(300, 300, "ListTemplate");
  styleListContent(kItemBackground);
  options.Initialize();
  selecteditems.Initialize();
  return "";
}

String tm_listtemplate::_resize(int32_t Width, int32_t Height) {
  mbase.SetLayoutAnimated(0, 0, 0, Width, Height);
  customlistview1->_base_resize(Width, Height);
  return "";
}

std::shared_ptr<ResumableSub> tm_listtemplate::_show(Object dialog) {
  return TemplateShow::Start<ResumableSub_listtemplate_Show>(self<tm_listtemplate>(), dialog);
}

void tm_listtemplate::_customlistview1_itemclick(int32_t index, Object value) {
  if (value == Object("")) return;  // the filler
  if (!allowmultiselection) {
    selecteditem = value.AsString();
    selecteditems.Clear();
    selecteditems.Add(value);
    if (xdialog) xdialog->_close(tm_dialog::DialogResponse_Positive);
    return;
  }
  _selectitem(customlistview1->_getrawlistitem(index), true);
}

String tm_listtemplate::_selectitem(const std::shared_ptr<_clvitem>& item, bool userclicked) {
  int32_t i = selecteditems.IndexOf(item->Value);
  bool selected = i > -1;
  if (userclicked) selected = !selected;
  int32_t normal = customlistview1->defaulttextbackgroundcolor;
  if (selected) {
    if (!userclicked) item->Panel.setColor(selectioncolor);
    item->Color = normal;
    if (i == -1) selecteditems.Add(item->Value);
  } else {
    item->Color = selectioncolor;
    if (!userclicked) item->Panel.setColor(normal);
    if (i > -1) selecteditems.RemoveAt(i);
  }
  if (xdialog) {
    xdialog->_setbuttonstate(tm_dialog::DialogResponse_Positive, selecteditems.Size() >= multiselectionminimum);
  }
  return "";
}

}  // namespace tmr

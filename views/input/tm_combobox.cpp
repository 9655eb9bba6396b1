#include "views/input/tm_combobox.h"

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/ButtonWrapper.h"
#include "views/input/ResumableSub_combobox_RaiseEvent.h"
#include "views/input/ResumableSub_combobox_btn_Click.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

const SubTable& tm_combobox::subTable() const {
  static const SubTable table{
      sub<&tm_combobox::_designercreateview>("_designercreateview:::"),
      sub<&tm_combobox::_base_resize>("_base_resize::"),
      sub<&tm_combobox::_setitems>("_setitems:"),
      sub<&tm_combobox::_setselectedindex>("_setselectedindex:"),
      sub<&tm_combobox::_getselectedindex>("_getselectedindex"),
      sub<&tm_combobox::_getselecteditem>("_getselecteditem"),
      sub<&tm_combobox::_getitem>("_getitem:"),
      sub<&tm_combobox::_getsize>("_getsize"),
      sub<&tm_combobox::_indexof>("_indexof:"),
      sub<&tm_combobox::_btn_click>("_btn_click"),
      sub<&tm_combobox::_sheet_click>("_sheet_click:"),
      sub<&tm_combobox::_raiseevent>("_raiseevent"),
  };
  return table;
}

LayoutRegistry::CustomViewClass tm_combobox::LayoutClass() {
  return LayoutRegistry::CustomViewClass{[] { return std::make_shared<tm_combobox>(); }, {}};
}

void tm_combobox::_class_globals() {
  CustomViewBase::_class_globals();
  lastselectedindex = 0;
  // An empty list rather than none: a combo box whose items were never set is tapped, sized
  // and read like one with no items.
  mitems = List();
  mitems.Initialize();
  mselectedindex = 0;
  mbtn = View();
  delaybeforechangeevent = 0;
  delayindex = 0;
  cancelbutton = "Cancel";
}

void tm_combobox::_initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) {
  CustomViewBase::_initialize(ba, callback, eventName);
  lastselectedindex = -1;
}

void tm_combobox::_designercreateview(View base, LabelWrapper label, Map props) {
  CustomViewBase::_designercreateview(base, label, props);
  ButtonWrapper btn;
  btn.Initialize(bi, "btn", ButtonWrapper::STYLE_SYSTEM);
  mbtn = btn;
  mbtn.setFont(label.Font());
  mbase.AddView(mbtn, 0, 0, mbase.Width(), mbase.Height());
}

void tm_combobox::_base_resize(double width, double height) {
  mbase.GetView(0).SetLayoutAnimated(0, 0, 0, width, height);
}

View tm_combobox::partNamed(std::string_view part) const {
  if (part.empty()) return mbtn;
  return View();
}

void tm_combobox::_setitems(List items) {
  List copy;
  copy.Initialize();
  copy.AddAll(items);
  mitems = copy;
  mselectedindex = -1;
  if (mitems.Size() > 0) _setselectedindex(0);
}

void tm_combobox::_setselectedindex(int32_t index) {
  // The item is read first, so that an index beyond the items changes nothing.
  String text = index < 0 ? String() : mitems.Get(index).AsString();
  lastselectedindex = index;
  mselectedindex = index;
  mbtn.setText(text);
}

String tm_combobox::_getselecteditem() {
  // Fresh from the layout (or after a cancelled sheet) the index reads 0 before any items exist.
  if (mselectedindex < 0 || mselectedindex >= mitems.Size()) return "";
  return _getitem(mselectedindex);
}

String tm_combobox::_getitem(int32_t index) { return mitems.Get(index).AsString(); }

int32_t tm_combobox::_getsize() { return mitems.Size(); }

int32_t tm_combobox::_indexof(Object value) { return mitems.IndexOf(value); }

void tm_combobox::_btn_click() {
  auto rs = std::make_shared<ResumableSub_combobox_btn_Click>(self<tm_combobox>());
  rs->start();
}

void tm_combobox::_sheet_click(Object /*item*/) {}

void tm_combobox::_raiseevent() {
  auto rs = std::make_shared<ResumableSub_combobox_RaiseEvent>(self<tm_combobox>());
  rs->start();
}

}  // namespace tmr

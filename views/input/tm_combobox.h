#pragma once
// The combo box: a custom view that shows the selected item of a list of texts on a system-style
// button. A tap opens the platform's action sheet with every item and a cancel button; picking
// an item selects it and raises "<event name>_SelectedIndexChanged" with its index on the
// callback module, at once, when the callback has that sub. With a delay set, the report waits
// that long and only the last of several quick changes is reported. Setting the items or the
// selection from code raises nothing.
#include <cstdint>
#include <memory>

#include "platform/core/List.h"
#include "platform/layout/LayoutRegistry.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/View.h"
#include "views/input/CustomViewBase.h"

namespace tmr {

class tm_combobox : public CustomViewBase {
  // LayoutClass: the class as layouts name it; it reads no designer properties (the template label gives
  // the button its font).
  // partNamed: "" is the button.
  TMR_CUSTOM_VIEW(tm_combobox)

  void _initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) override;

  // Keeps a copy of the items; selects the first one (nothing when there is none), raising
  // nothing. With no items the button keeps the text it had.
  void _setitems(List items);
  // Selects an item (-1: none) and shows its text, raising nothing. An index beyond the items
  // is the list's out-of-bounds error, and then nothing changes.
  void _setselectedindex(int32_t index);
  int32_t _getselectedindex() const { return mselectedindex; }
  // The selected item's text; "" when the index is not one of an item (none selected, or no items).
  String _getselecteditem();
  String _getitem(int32_t index);
  int32_t _getsize();
  // The index of the first item equal to value; -1 when there is none.
  int32_t _indexof(Object value);
  // A tap on the button: shows the action sheet and waits for the pick. With no items and no
  // cancel button the sheet would have no button to close it, so none is shown.
  void _btn_click();
  // The pick is taken by the waiting coroutine, so the sheet's click has nothing to do here.
  void _sheet_click(Object item);
  // Reports the selected index, after the delay when one is set.
  void _raiseevent();

  int32_t lastselectedindex = 0;  // the index last reported (or set from code)
  List mitems;
  int32_t mselectedindex = 0;
  View mbtn;
  // Milliseconds a report waits (0: it goes out at once); of the reports started within it,
  // only the last is delivered.
  int32_t delaybeforechangeevent = 0;
  int32_t delayindex = 0;          // generation of delayed reports
  String cancelbutton = "Cancel";  // "" shows the sheet without a cancel button

 protected:
  void _class_globals() override;
};

}  // namespace tmr

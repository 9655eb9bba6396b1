#pragma once
// A dialog template that offers `options` in a list view. In single selection a tap on an
// option closes the dialog with the positive result and leaves the option in `selecteditem`
// and as the only element of `selecteditems`. In multiple selection every tap toggles the
// option in `selecteditems`, selected options show `selectioncolor`, and the dialog's Positive
// button is enabled only while at least `multiselectionminimum` options are selected.
//
// The list view flashes a tapped item and then returns it to the item's `Color` as it was
// before the tap; the template keeps in `Color` the colour of the state the next tap produces,
// so the flash ends in the new state's colour.
#include <cstdint>
#include <memory>

#include "dialogs/ListDialogTemplate.h"
#include "platform/core/List.h"
#include "platform/views/View.h"

namespace tmr {

class ResumableSub;
class _clvitem;
class tm_dialog;

class tm_listtemplate : public ListDialogTemplate {
 public:
  static constexpr int32_t kItemBackground = static_cast<int32_t>(0xFF555555);

  std::string_view className() const override { return "tm_listtemplate"; }
  const SubTable& subTable() const override;

  // Builds the 300 × 300 content from the layout "ListTemplate"; empties the options and the
  // selection.
  String _initialize(const std::shared_ptr<Dispatcher>& ba);
  String _resize(int32_t Width, int32_t Height);
  // Marks one item as selected or not; a user's tap toggles it. Sets the Positive button's state.
  String _selectitem(const std::shared_ptr<_clvitem>& item, bool userclicked);
  void _customlistview1_itemclick(int32_t index, Object value);

  // --- Template protocol.
  std::shared_ptr<ResumableSub> _show(Object dialog);

  List options;
  String selecteditem = "";
  std::shared_ptr<tm_dialog> xdialog;
  bool allowmultiselection = false;
  int32_t selectioncolor = static_cast<int32_t>(0xAA0086FF);
  List selecteditems;
  int32_t multiselectionminimum = 0;

 protected:
  void _class_globals() override;
};

}  // namespace tmr

#pragma once
// The base of the templates whose content is a list view from their layout: the list, bound
// from the layout's view "customlistview1" (a template with more views lists its own fields),
// and its look in a dialog.
#include <cstdint>
#include <memory>

#include "dialogs/DialogTemplate.h"
#include "platform/layout/FieldTable.h"

namespace tmr {

class tm_customlistview;

class ListDialogTemplate : public DialogTemplate, public LayoutFields {
 public:
  const FieldTable& fieldTable() const override;

  std::shared_ptr<tm_customlistview> customlistview1;

 protected:
  void _class_globals() override;

  // The content panel and the list's scroll view are transparent, so the dialog's colour shows
  // around the items, which are white text on itemBackground.
  void styleListContent(int32_t itemBackground);
};

}  // namespace tmr

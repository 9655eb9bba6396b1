#pragma once
// The runtime's action sheet (see ActionSheetObject): a title, a cancel button, a destructive
// button and items, shown over a view; a tap on a button raises "<event name>_click:" with the
// button's title on the module of the dispatcher it was made with.
#include <memory>
#include <string_view>

#include "platform/core/List.h"
#include "platform/core/Object.h"
#include "platform/core/String.h"
#include "platform/views/ActionSheetObject.h"
#include "platform/views/View.h"

namespace tmr {

class Dispatcher;

class ActionSheetWrapper {
 public:
  ActionSheetWrapper() = default;

  // Makes the sheet. An empty cancel or destructive title leaves that button out; the items are
  // shown as text, in the list's order.
  void Initialize(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName, const String& title,
                  const String& cancelButton, const String& destructiveButton, const List& items);
  bool IsInitialized() const { return sheet_ != nullptr; }
  // Shows the sheet over the screen that view is on, covering it, on top of everything in it.
  void Show(const View& view) const;

  const std::shared_ptr<ActionSheetObject>& native() const { return sheet_; }
  operator Object() const { return Object(sheet_); }

 private:
  ActionSheetObject& sheet() const;
  std::shared_ptr<ActionSheetObject> sheet_;
};

}  // namespace tmr

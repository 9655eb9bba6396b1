#include "platform/views/ActionSheetWrapper.h"

#include "platform/core/Module.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

void ActionSheetWrapper::Initialize(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName,
                                    const String& title, const String& cancelButton, const String& destructiveButton,
                                    const List& items) {
  if (!ba) throw NotInitialized("Dispatcher");
  std::vector<String> texts;
  for (const auto& item : items) texts.push_back(item.AsString());
  auto sheet =
      ViewSystem::of(ba->runtime()).make<ActionSheetObject>(title, cancelButton, destructiveButton, std::move(texts));
  sheet->setEvents(ba, std::string(eventName));
  sheet_ = std::move(sheet);
}

void ActionSheetWrapper::Show(const View& view) const {
  if (!view.IsInitialized()) throw NotInitialized("View");
  sheet().show(view.native());
}

ActionSheetObject& ActionSheetWrapper::sheet() const {
  if (!sheet_) throw NotInitialized("ActionSheet");
  return *sheet_;
}

}  // namespace tmr

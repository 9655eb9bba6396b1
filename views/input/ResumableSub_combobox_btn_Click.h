#pragma once
// A pick from the combo box: shows the action sheet of the items and waits for its click; a pick
// of an item selects it and reports it, even when it was selected already; the cancel button
// changes nothing.
#include <memory>

#include "platform/core/ResumableSub.h"
#include "platform/core/String.h"
#include "platform/views/ActionSheetWrapper.h"

namespace tmr {

class tm_combobox;

class ResumableSub_combobox_btn_Click : public ResumableSub {
 public:
  explicit ResumableSub_combobox_btn_Click(std::shared_ptr<tm_combobox> parent);

  ActionSheetWrapper sheet;
  String item;

 protected:
  SubBody body() override;

 private:
  tm_combobox& combo() const;
};

}  // namespace tmr

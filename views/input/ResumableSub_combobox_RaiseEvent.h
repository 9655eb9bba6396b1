#pragma once
// A report of the combo box's selected index: skipped when that index was reported (or set from
// code) last; with a delay it sleeps first and gives way to any report started meanwhile.
#include <cstdint>
#include <memory>

#include "platform/core/ResumableSub.h"

namespace tmr {

class tm_combobox;

class ResumableSub_combobox_RaiseEvent : public ResumableSub {
 public:
  explicit ResumableSub_combobox_RaiseEvent(std::shared_ptr<tm_combobox> parent);

  int32_t index = 0;
  int32_t myindex = 0;

 protected:
  SubBody body() override;

 private:
  tm_combobox& combo() const;
};

}  // namespace tmr

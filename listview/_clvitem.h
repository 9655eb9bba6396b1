#pragma once
// One item of the list view: its wrapper panel (whose Tag is the item's index), its extent
// along the list's axis, the caller's value, the colour the wrapper returns to after a tap's
// flash, whether the list made it as a text item, and the position of its leading edge in the
// list's content.
#include <cstdint>

#include "platform/core/Object.h"
#include "platform/core/Record.h"
#include "platform/views/View.h"

namespace tmr {

class _clvitem : public Record {
 public:
  // Laid out so that the small fields fill the gaps between the large ones (a list may hold a
  // million of these); the record's text lists them in their proper order.
  bool TextItem = false;
  int32_t Size = 0;
  View Panel;
  Object Value;
  int32_t Color = 0;
  int32_t Offset = 0;

  void Initialize() override;

 protected:
  std::vector<std::pair<std::string, Object>> fields() const override;
};

}  // namespace tmr

#pragma once
// A dialog template for a text too long for a plain message: the text (plain or rich) is the
// single item of a list view, which scrolls it. Set `text`, then show the template with the
// dialog's _showtemplate; every "Show" rebuilds the list from the current text.
#include <memory>

#include "dialogs/ListDialogTemplate.h"
#include "platform/views/View.h"

namespace tmr {

class tm_longtexttemplate : public ListDialogTemplate {
 public:
  static constexpr int32_t kTextBackground = static_cast<int32_t>(0xFF555555);
  static constexpr int32_t kListBackground = static_cast<int32_t>(0xFF464646);

  std::string_view className() const override { return "tm_longtexttemplate"; }
  const SubTable& subTable() const override;

  // Builds the 300 × 300 content from the layout "LongTextTemplate".
  String _initialize(const std::shared_ptr<Dispatcher>& ba);
  String _resize(int32_t Width, int32_t Height);

  // --- Template protocol.
  // Fills the list with the text, top-left aligned, and a filler below a short text.
  String _show(Object dialog);

  Object text;

 protected:
  void _class_globals() override;
};

}  // namespace tmr

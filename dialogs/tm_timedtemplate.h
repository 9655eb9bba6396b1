#pragma once
// A dialog template that wraps another one and closes the dialog with the cancel result when
// the user has not closed it within `timeoutmilliseconds`. A progress bar in a 19-unit strip
// above the wrapped content fills from 0 to 100 over the time-out. Every template call of the
// dialog is passed on to the wrapped template by name, so it behaves as if shown alone.
//
// `index` counts showings: a pending time-out acts only while it is unchanged and the dialog's
// frame still holds the template's panel, so it closes only the showing that armed it, never a
// later showing (of this template or of anything else) on the same dialog.
#include <cstdint>
#include <memory>

#include "dialogs/DialogTemplate.h"
#include "platform/layout/FieldTable.h"
#include "platform/views/View.h"

namespace tmr {

class ResumableSub;
class tm_progressbar;

class tm_timedtemplate : public DialogTemplate, public LayoutFields {
 public:
  // Height of the strip that holds the progress bar.
  static constexpr int32_t kStripHeight = 19;

  std::string_view className() const override { return "tm_timedtemplate"; }
  const SubTable& subTable() const override;
  const FieldTable& fieldTable() const override;

  String _initialize(const std::shared_ptr<Dispatcher>& ba, Object dialogtemplate);

  // --- Template protocol.
  // The strip and the wrapped template's content below it, built on the first call.
  View _getpanel(Object dialog);
  std::shared_ptr<ResumableSub> _show(Object dialog);
  String _dialogclosed(int32_t result);

  std::shared_ptr<tm_progressbar> progressbar1;
  Object mtemplate;
  int32_t timeoutmilliseconds = 10000;
  int32_t index = 0;

 protected:
  void _class_globals() override;
};

}  // namespace tmr

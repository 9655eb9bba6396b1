#include "platform/app/Window.h"

namespace tmr {

View Window::shownPanel() const {
  if (!root_.IsInitialized()) return View();
  Page p = root_.TopPage();
  return p.IsInitialized() ? p.RootPanel() : View();
}

}  // namespace tmr

#pragma once
// The layout loader as the view layer sees it, so that a panel can load a layout (View::
// LoadLayout) while the loader itself lives above the view layer and installs itself here.
#include <memory>
#include <string_view>

namespace tmr {

class Dispatcher;
class View;

class LayoutLoading {
 public:
  virtual ~LayoutLoading() = default;
  // Loads the layout named into the panel; the views' events reach the module of ba.
  virtual void load(const View& panel, std::string_view layoutName, const std::shared_ptr<Dispatcher>& ba) = 0;
};

}  // namespace tmr

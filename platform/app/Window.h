#pragma once
// The application's one window: the screen's size and the navigation controller at its root,
// whose top page is what the screen shows.
#include "platform/app/NavigationControllerWrapper.h"
#include "platform/views/View.h"

namespace tmr {

class Window {
 public:
  Window(double width, double height) : width_(width), height_(height) {}

  double width() const { return width_; }
  double height() const { return height_; }
  const NavigationControllerWrapper& rootViewController() const { return root_; }
  void setRootViewController(NavigationControllerWrapper nav) { root_ = std::move(nav); }
  // The root panel of the page shown now; uninitialised while no page is shown.
  View shownPanel() const;

 private:
  double width_;
  double height_;
  NavigationControllerWrapper root_;
};

}  // namespace tmr

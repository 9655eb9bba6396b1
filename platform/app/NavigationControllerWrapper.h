#pragma once
// The navigation controller as the runtime wraps it: the window's root, showing one page at a
// time (the last one shown).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/app/Page.h"
#include "platform/core/Object.h"
#include "platform/core/SubTable.h"

namespace tmr {

class Dispatcher;

class NavigationController : public RuntimeObject {
 public:
  NavigationController(std::shared_ptr<Dispatcher> ba, std::string eventName)
      : ba(std::move(ba)), eventName(std::move(eventName)) {}
  std::string description() const override { return "(NavigationController) " + eventName; }

  std::shared_ptr<Dispatcher> ba;
  std::string eventName;
  std::vector<Page> pages;  // the last is shown
};

class NavigationControllerWrapper {
 public:
  NavigationControllerWrapper() = default;
  explicit NavigationControllerWrapper(std::shared_ptr<NavigationController> n) : n_(std::move(n)) {}

  void Initialize(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName);
  bool IsInitialized() const { return n_ != nullptr; }
  // Shows the page: it becomes the top of the stack (a page already there is moved up).
  void ShowPage(const Page& page) const;
  // The page shown now; uninitialised before any.
  Page TopPage() const;

  const std::shared_ptr<NavigationController>& shared() const { return n_; }
  operator Object() const { return Object(n_); }

 private:
  NavigationController& nav() const;
  std::shared_ptr<NavigationController> n_;
};

template <>
struct FromObject<NavigationControllerWrapper> {
  static NavigationControllerWrapper get(const Object& o) {
    return NavigationControllerWrapper(o.As<NavigationController>());
  }
};

}  // namespace tmr

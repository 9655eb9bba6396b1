#pragma once
// A page (one screen's controller) as the runtime wraps it: a root panel the size of the screen,
// white, into which a layout is loaded; shown by a navigation controller.
#include <memory>
#include <string>
#include <string_view>

#include "platform/core/Object.h"
#include "platform/core/SubTable.h"
#include "platform/views/View.h"

namespace tmr {

class Dispatcher;

class PageObject : public RuntimeObject {
 public:
  PageObject(std::shared_ptr<Dispatcher> ba, std::string eventName, View rootPanel)
      : ba(std::move(ba)), eventName(std::move(eventName)), rootPanel(std::move(rootPanel)) {}
  std::string description() const override { return "(Page) " + eventName; }

  std::shared_ptr<Dispatcher> ba;
  std::string eventName;
  View rootPanel;
  String title;
};

class Page {
 public:
  static constexpr int32_t kBackgroundColor = static_cast<int32_t>(0xFFFFFFFF);

  Page() = default;
  explicit Page(std::shared_ptr<PageObject> p) : p_(std::move(p)) {}

  // Makes the page; its events are raised on the module of ba under eventName.
  void Initialize(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName);
  bool IsInitialized() const { return p_ != nullptr; }
  View RootPanel() const;
  String Title() const;
  void setTitle(const String& title) const;

  const std::shared_ptr<PageObject>& shared() const { return p_; }
  operator Object() const { return Object(p_); }
  friend bool operator==(const Page& a, const Page& b) { return a.p_ == b.p_; }

 private:
  PageObject& page() const;
  std::shared_ptr<PageObject> p_;
};

template <>
struct FromObject<Page> {
  static Page get(const Object& o) { return Page(o.As<PageObject>()); }
};

}  // namespace tmr

#include "platform/app/NavigationControllerWrapper.h"

#include <algorithm>

#include "platform/core/RuntimeError.h"

namespace tmr {

void NavigationControllerWrapper::Initialize(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName) {
  if (!ba) throw NotInitialized("Dispatcher");
  n_ = std::make_shared<NavigationController>(ba, std::string(eventName));
}

NavigationController& NavigationControllerWrapper::nav() const {
  if (!n_) throw NotInitialized("NavigationController");
  return *n_;
}

void NavigationControllerWrapper::ShowPage(const Page& page) const {
  if (!page.IsInitialized()) throw NotInitialized("Page");
  auto& pages = nav().pages;
  pages.erase(std::remove(pages.begin(), pages.end(), page), pages.end());
  pages.push_back(page);
}

Page NavigationControllerWrapper::TopPage() const {
  const auto& pages = nav().pages;
  return pages.empty() ? Page() : pages.back();
}

}  // namespace tmr

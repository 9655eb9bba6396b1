#include "platform/views/ViewSystem.h"

#include "platform/graphics/FontLibrary.h"

#include <algorithm>

#include "platform/core/Runtime.h"
#include "platform/native/NativeRegistry.h"
#include "platform/views/HapticLog.h"
#include "platform/views/ImpactFeedbackGenerator.h"
#include "platform/views/LongPressGestureRecognizer.h"
#include "platform/views/PlatformClass.h"
#include "platform/views/ViewObject.h"

namespace tmr {

ViewSystem::ViewSystem(Runtime& rt) : rt_(rt) {
  // Views hold canvases and pictures that use the fonts: the font library is made first, so it
  // is released after every view.
  rt.service<FontLibrary>();
  auto& registry = rt.service<NativeRegistry>();
  registry.registerClass("UIImpactFeedbackGenerator", [](Runtime& r) {
    HapticLog* log = &r.service<HapticLog>();
    return std::make_shared<PlatformClass>("UIImpactFeedbackGenerator", [log] {
      log->record("alloc");
      return std::make_shared<ImpactFeedbackGenerator>(*log);
    });
  });
  registry.registerClass("UILongPressGestureRecognizer", [](Runtime& r) {
    Runtime* rt = &r;
    return std::make_shared<PlatformClass>("UILongPressGestureRecognizer",
                                           [rt] { return std::make_shared<LongPressGestureRecognizer>(*rt); });
  });
}

ViewSystem::~ViewSystem() {
  // Views may hold one another and the modules that hold them (a base panel's Tag is its custom
  // view): drop every such reference so that all of it is released with the runtime.
  auto views = std::move(views_);
  views_.clear();
  std::vector<std::shared_ptr<ViewObject>> alive;
  for (auto& w : views) {
    if (auto v = w.lock()) alive.push_back(std::move(v));
  }
  for (auto& v : alive) v->dispose();
}

ViewSystem& ViewSystem::of(Runtime& rt) { return rt.service<ViewSystem>(); }

void ViewSystem::setScreenSize(double width, double height) {
  screenWidth_ = width;
  screenHeight_ = height;
}

void ViewSystem::track(const std::shared_ptr<ViewObject>& view) {
  if (views_.size() >= pruneAt_) {
    views_.erase(std::remove_if(views_.begin(), views_.end(), [](const auto& w) { return w.expired(); }), views_.end());
    pruneAt_ = std::max<size_t>(64, views_.size() * 2);
  }
  views_.push_back(view);
}

}  // namespace tmr

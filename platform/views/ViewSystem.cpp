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
  std::vector<std::shared_ptr<ViewObject>> alive;
  for (ViewObject* v = views_; v; v = v->nextMade_) {
    if (auto held = v->weak_from_this().lock()) alive.push_back(std::static_pointer_cast<ViewObject>(held));
  }
  while (views_) forget(*views_);
  for (auto& v : alive) v->dispose();
}

ViewSystem& ViewSystem::of(Runtime& rt) { return rt.service<ViewSystem>(); }

void ViewSystem::setScreenSize(double width, double height) {
  screenWidth_ = width;
  screenHeight_ = height;
}

void ViewSystem::track(ViewObject& view) {
  view.nextMade_ = views_;
  view.prevMade_ = nullptr;
  if (views_) views_->prevMade_ = &view;
  views_ = &view;
}

void ViewSystem::forget(ViewObject& view) {
  if (view.prevMade_) {
    view.prevMade_->nextMade_ = view.nextMade_;
  } else if (views_ == &view) {
    views_ = view.nextMade_;
  } else {
    return;  // not on the list
  }
  if (view.nextMade_) view.nextMade_->prevMade_ = view.prevMade_;
  view.prevMade_ = view.nextMade_ = nullptr;
}

}  // namespace tmr

#pragma once
// A scroll view: a window onto a content panel (its inner panel) that may be larger than the
// view. The inner panel is its one child, at (0, 0) with the content size; the scroll offset
// says which point of the content shows at the view's top-left corner. Children are drawn moved
// by the offset and clipped to the view's bounds, and touches find them there.
//
// Every change of the offset raises "scrollchanged" (offset X, offset Y, as Ints) on the view's
// module at once: setting it from code, each frame of an animated scroll and each move of a
// finger dragging the content. A drag keeps the offset between 0 and the content's end; code
// may set any offset, and changing the content size leaves the offset alone. A drag that starts
// from an offset outside that range brings it back within at its first move: an infinite one to
// the end it lies beyond, a NaN one moved from 0 (the content's start), which is a change.
#include <cstdint>
#include <memory>

#include "platform/core/MainLoop.h"
#include "platform/views/ViewObject.h"

namespace tmr {

class PanelObject;

class ScrollViewObject : public ViewObject {
 public:
  // An animated scroll takes this long, moving once per frame.
  static constexpr int64_t kScrollAnimationMs = 300;
  static constexpr int64_t kFrameMs = 16;

  explicit ScrollViewObject(ViewSystem& system);
  ~ScrollViewObject() override;
  std::string_view typeName() const override { return "ScrollView"; }

  // Makes the inner panel; called once, right after the view is made.
  void createInnerPanel();
  const std::shared_ptr<PanelObject>& innerPanel() const { return inner_; }

  int32_t contentWidth() const { return contentWidth_; }
  int32_t contentHeight() const { return contentHeight_; }
  void setContentSize(int32_t width, int32_t height);

  double offsetX() const { return offsetX_; }
  double offsetY() const { return offsetY_; }
  // Moves the content at once (stopping an animated scroll); raises "scrollchanged" when the
  // offset changed.
  void setOffset(double x, double y);
  // Scrolls to the offset, over kScrollAnimationMs when animated, else at once.
  void scrollTo(double x, double y, bool animated);
  bool isScrollAnimating() const { return animTimer_ != 0; }
  // The largest offsets a finger can reach: the content's end at the view's far edge (0 when
  // the content fits).
  double maxOffsetX() const;
  double maxOffsetY() const;
  bool canScroll() const { return maxOffsetX() > 0 || maxOffsetY() > 0; }

  // A finger dragging the content: the offset follows the finger's movement (dx, dy) since the
  // drag's start, kept between 0 and the largest offsets.
  void beginDrag();
  void dragBy(double dx, double dy);
  bool dragging() const { return dragging_; }
  void endDrag() { dragging_ = false; }

  bool showsHorizontalScrollIndicator() const { return showsHorizontal_; }
  bool showsVerticalScrollIndicator() const { return showsVertical_; }

  // A scroll view raises no click of its own: a tap on its empty part goes nowhere.
  bool takesClicks() const override { return false; }
  double scrollX() const override { return offsetX_; }
  double scrollY() const override { return offsetY_; }
  bool clipsToBounds() const override { return true; }

  // Adds "setShowsHorizontalScrollIndicator:", "setShowsVerticalScrollIndicator:" (0 hides),
  // "showsHorizontalScrollIndicator", "showsVerticalScrollIndicator".
  Object runMethod(std::string_view selector, std::vector<Object> args) override;
  void dispose() override;

 private:
  void stopAnimation();
  void animationFrame();
  MainLoop* loop() const;

  std::shared_ptr<PanelObject> inner_;
  int32_t contentWidth_ = 0;
  int32_t contentHeight_ = 0;
  double offsetX_ = 0;
  double offsetY_ = 0;
  bool showsHorizontal_ = true;
  bool showsVertical_ = true;
  bool dragging_ = false;
  double dragStartX_ = 0;
  double dragStartY_ = 0;
  // The animated scroll in progress.
  MainLoop::TimerId animTimer_ = 0;
  double animFromX_ = 0;
  double animFromY_ = 0;
  double animToX_ = 0;
  double animToY_ = 0;
  int64_t animStart_ = 0;
};

}  // namespace tmr

#pragma once
// The runtime's cross-platform handle of a view (panel, label, button, image view). Copies
// refer to the same view; a handle that was created but not given a view is uninitialised and
// fails on use with "Object not initialized (View)". As an Object it is the view itself, so
// a view can be a Tag, a sender or an argument of a call by name.
#include <memory>
#include <string_view>
#include <vector>

#include "platform/core/Map.h"
#include "platform/core/Object.h"
#include "platform/core/SubTable.h"
#include "platform/graphics/Font.h"
#include "platform/views/ViewObject.h"

namespace tmr {

class Dispatcher;
class ScrollViewObject;

class View {
 public:
  View() = default;
  explicit View(std::shared_ptr<ViewObject> v) : v_(std::move(v)) {}
  // The view that an Object refers to; uninitialised when it refers to none.
  static View FromObject(const Object& o) { return View(o.As<ViewObject>()); }

  bool IsInitialized() const { return v_ != nullptr; }
  const std::shared_ptr<ViewObject>& native() const { return v_; }
  operator Object() const { return Object(v_); }
  friend bool operator==(const View& a, const View& b) { return a.v_ == b.v_; }

  // Tree: AddView appends on top of the existing children, at the given frame.
  void AddView(const View& view, double left, double top, double width, double height) const;
  void RemoveViewFromParent() const;
  void RemoveAllViews() const;
  View GetView(int index) const;  // "Out of bounds" outside 0 … NumberOfViews − 1
  int NumberOfViews() const;
  View Parent() const;  // uninitialised for a view without a parent
  void BringToFront() const;
  std::vector<View> GetAllViewsRecursive() const;  // depth first, in child order

  // Frame, in points, in the parent's coordinates. The setters act at once.
  double Left() const;
  double Top() const;
  double Width() const;
  double Height() const;
  void setLeft(double v) const;
  void setTop(double v) const;
  void setWidth(double v) const;
  void setHeight(double v) const;
  // Moves and sizes the view; the stored frame is the target at once and the picture follows
  // over durationMs on the loop's clock (0: at once).
  void SetLayoutAnimated(int durationMs, double left, double top, double width, double height) const;

  bool Visible() const;
  void setVisible(bool visible) const;
  bool Enabled() const;
  void setEnabled(bool enabled) const;
  Object Tag() const;
  void setTag(Object tag) const;
  int32_t Color() const;
  void setColor(int32_t argb) const;
  void SetColorAndBorder(int32_t color, double borderWidth, int32_t borderColor, double cornerRadius) const;
  // The colour becomes fromColor and the picture changes to toColor over durationMs on the loop's
  // clock; Color reads toColor at once.
  void SetColorAnimated(int durationMs, int32_t fromColor, int32_t toColor) const;

  // Scroll views (ScrollViewWrapper); other views fail with the runtime's error. Setting the
  // offset moves the content at once and raises the scroll view's "scrollchanged" when it moved.
  View ScrollViewInnerPanel() const;
  int32_t ScrollViewContentWidth() const;
  int32_t ScrollViewContentHeight() const;
  void setScrollViewContentWidth(int32_t width) const;
  void setScrollViewContentHeight(int32_t height) const;
  double ScrollViewOffsetX() const;
  double ScrollViewOffsetY() const;
  void setScrollViewOffsetX(double x) const;
  void setScrollViewOffsetY(double y) const;

  // Text views (labels, buttons); other views fail with the runtime's error.
  String Text() const;
  void setText(const String& text) const;
  int32_t TextColor() const;
  void setTextColor(int32_t argb) const;
  tmr::Font Font() const;
  void setFont(const tmr::Font& font) const;
  // Vertical "TOP", "CENTER" or "BOTTOM"; horizontal "LEFT", "CENTER" or "RIGHT".
  void SetTextAlignment(std::string_view vertical, std::string_view horizontal) const;

  // Loads a layout file into this panel; its views' events reach the module of ba.
  void LoadLayout(std::string_view layoutName, const std::shared_ptr<Dispatcher>& ba) const;

 protected:
  ViewObject& obj() const;

 private:
  ScrollViewObject& scroller(std::string_view property) const;
  std::shared_ptr<ViewObject> v_;
};

template <>
struct FromObject<View> {
  static View get(const Object& o) { return View::FromObject(o); }
};

}  // namespace tmr

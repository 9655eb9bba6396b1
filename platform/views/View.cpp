#include "platform/views/View.h"

#include "platform/core/Module.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/LayoutLoading.h"
#include "platform/views/PanelObject.h"
#include "platform/views/ScrollViewObject.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

ViewObject& View::obj() const {
  if (!v_) throw NotInitialized("View");
  return *v_;
}

void View::AddView(const View& view, double left, double top, double width, double height) const {
  obj().addChild(view.v_, Frame{left, top, width, height});
}

void View::RemoveViewFromParent() const { obj().removeFromParent(); }
void View::RemoveAllViews() const { obj().removeAllChildren(); }

View View::GetView(int index) const {
  const auto& children = obj().children();
  if (index < 0 || index >= static_cast<int>(children.size()))
    throw OutOfBounds(index, static_cast<int64_t>(children.size()));
  return View(children[static_cast<size_t>(index)]);
}

int View::NumberOfViews() const { return static_cast<int>(obj().children().size()); }
View View::Parent() const { return View(obj().parent()); }
void View::BringToFront() const { obj().bringToFront(); }

std::vector<View> View::GetAllViewsRecursive() const {
  std::vector<View> out;
  auto walk = [&out](auto& self, const ViewObject& v) -> void {
    for (const auto& c : v.children()) {
      out.emplace_back(c);
      self(self, *c);
    }
  };
  walk(walk, obj());
  return out;
}

double View::Left() const { return obj().frame().left; }
double View::Top() const { return obj().frame().top; }
double View::Width() const { return obj().frame().width; }
double View::Height() const { return obj().frame().height; }

void View::setLeft(double v) const {
  Frame f = obj().frame();
  f.left = v;
  obj().setFrame(f);
}
void View::setTop(double v) const {
  Frame f = obj().frame();
  f.top = v;
  obj().setFrame(f);
}
void View::setWidth(double v) const {
  Frame f = obj().frame();
  f.width = v;
  obj().setFrame(f);
}
void View::setHeight(double v) const {
  Frame f = obj().frame();
  f.height = v;
  obj().setFrame(f);
}

void View::SetLayoutAnimated(int durationMs, double left, double top, double width, double height) const {
  obj().setFrame(Frame{left, top, width, height}, durationMs);
}

bool View::Visible() const { return obj().visible(); }
void View::setVisible(bool visible) const { obj().setVisible(visible); }
bool View::Enabled() const { return obj().enabled(); }
void View::setEnabled(bool enabled) const { obj().setEnabled(enabled); }
Object View::Tag() const { return obj().tag(); }
void View::setTag(Object tag) const { obj().setTag(std::move(tag)); }
int32_t View::Color() const { return obj().color(); }
void View::setColor(int32_t argb) const { obj().setColor(argb); }

void View::SetColorAndBorder(int32_t color, double borderWidth, int32_t borderColor, double cornerRadius) const {
  obj().setColorAndBorder(color, borderWidth, borderColor, cornerRadius);
}

void View::SetColorAnimated(int durationMs, int32_t fromColor, int32_t toColor) const {
  obj().setColorAnimated(durationMs, fromColor, toColor);
}

ScrollViewObject& View::scroller(std::string_view property) const {
  auto* sv = dynamic_cast<ScrollViewObject*>(&obj());
  if (!sv) throw RuntimeError(std::string(property) + " is not supported by " + std::string(obj().typeName()));
  return *sv;
}

View View::ScrollViewInnerPanel() const {
  return View(std::static_pointer_cast<ViewObject>(scroller("ScrollViewInnerPanel").innerPanel()));
}
int32_t View::ScrollViewContentWidth() const { return scroller("ScrollViewContentWidth").contentWidth(); }
int32_t View::ScrollViewContentHeight() const { return scroller("ScrollViewContentHeight").contentHeight(); }
void View::setScrollViewContentWidth(int32_t width) const {
  auto& sv = scroller("ScrollViewContentWidth");
  sv.setContentSize(width, sv.contentHeight());
}
void View::setScrollViewContentHeight(int32_t height) const {
  auto& sv = scroller("ScrollViewContentHeight");
  sv.setContentSize(sv.contentWidth(), height);
}
double View::ScrollViewOffsetX() const { return scroller("ScrollViewOffsetX").offsetX(); }
double View::ScrollViewOffsetY() const { return scroller("ScrollViewOffsetY").offsetY(); }
void View::setScrollViewOffsetX(double x) const {
  auto& sv = scroller("ScrollViewOffsetX");
  sv.setOffset(x, sv.offsetY());
}
void View::setScrollViewOffsetY(double y) const {
  auto& sv = scroller("ScrollViewOffsetY");
  sv.setOffset(sv.offsetX(), y);
}

String View::Text() const { return obj().text(); }
void View::setText(const String& text) const { obj().setText(text); }
int32_t View::TextColor() const { return obj().textColor(); }
void View::setTextColor(int32_t argb) const { obj().setTextColor(argb); }
tmr::Font View::Font() const { return obj().font(); }
void View::setFont(const tmr::Font& font) const { obj().setFont(font); }

void View::SetTextAlignment(std::string_view vertical, std::string_view horizontal) const {
  obj().setTextAlignment(
      TextAlignment{TextAlignment::ParseVertical(vertical), TextAlignment::ParseHorizontal(horizontal)});
}

void View::LoadLayout(std::string_view layoutName, const std::shared_ptr<Dispatcher>& ba) const {
  auto* system = obj().system();
  if (!system || !system->layoutLoading()) throw RuntimeError("LoadLayout: no layout loader is installed");
  system->layoutLoading()->load(*this, layoutName, ba);
}

}  // namespace tmr

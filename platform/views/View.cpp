#include "platform/views/View.h"

#include "platform/core/Module.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/LayoutLoading.h"
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

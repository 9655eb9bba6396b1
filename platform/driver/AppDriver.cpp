#include "platform/driver/AppDriver.h"

#include <algorithm>
#include <cstdlib>

#include "platform/ble/SimulatedRadio.h"
#include "platform/core/Module.h"
#include "platform/core/Runtime.h"
#include "platform/driver/Finger.h"
#include "platform/layout/FieldTable.h"
#include "platform/views/ActionSheetObject.h"
#include "platform/views/CustomView.h"
#include "platform/views/Keyboard.h"
#include "platform/views/ScrollViewObject.h"
#include "platform/views/TextFieldObject.h"
#include "platform/views/TouchInput.h"
#include "platform/views/ViewRenderer.h"
#include "platform/views/ViewSystem.h"

#ifndef TMR_DEFAULT_SOURCE_DIR
#define TMR_DEFAULT_SOURCE_DIR "."
#endif

namespace tmr {

namespace {

std::string Lower(std::string_view s) { return String(s).ToLowerCase().str(); }

// Depth first, in child order.
std::shared_ptr<ViewObject> FindNamed(const std::shared_ptr<ViewObject>& v, const std::string& lower) {
  if (!v->name().empty() && Lower(v->name()) == lower) return v;
  for (const auto& c : v->children()) {
    if (auto f = FindNamed(c, lower)) return f;
  }
  return nullptr;
}

void CollectNamed(const std::shared_ptr<ViewObject>& v, std::vector<std::shared_ptr<ViewObject>>& out) {
  if (!v->name().empty()) out.push_back(v);
  for (const auto& c : v->children()) CollectNamed(c, out);
}

void CollectSheets(const std::shared_ptr<ViewObject>& v, std::vector<std::shared_ptr<ActionSheetObject>>& out) {
  if (auto sheet = std::dynamic_pointer_cast<ActionSheetObject>(v)) out.push_back(sheet);
  for (const auto& c : v->children()) CollectSheets(c, out);
}

}  // namespace

std::filesystem::path AppDriver::DefaultAssetsDirectory() {
  if (const char* dir = std::getenv("TMR_SOURCE_DIR"); dir && *dir) return std::filesystem::path(dir) / "assets";
  return std::filesystem::path(TMR_DEFAULT_SOURCE_DIR) / "assets";
}

AppDriver::AppDriver(ApplicationClasses classes, std::filesystem::path assets, MainLoop::ClockKind clock)
    : host_(std::move(classes), std::move(assets), clock) {
  host_.runtime().setLogSink([this](std::string_view line) { log_.emplace_back(line); });
}

AppDriver::~AppDriver() = default;

void AppDriver::start() {
  host_.start();
  runtime().loop().runUntilIdle();
}

View AppDriver::shownPanel() const {
  View p = host_.window().shownPanel();
  if (!p.IsInitialized()) throw DriverError("No page is shown");
  return p;
}

View AppDriver::find(std::string_view name) const {
  std::string full(name);
  std::string base = full;
  std::string part;
  bool hasPart = false;
  if (auto dot = full.find('.'); dot != std::string::npos) {
    base = full.substr(0, dot);
    part = full.substr(dot + 1);
    hasPart = true;
  }
  auto v = FindNamed(shownPanel().native(), Lower(base));
  if (!v) throw DriverError("No view named " + base + " on the screen");
  auto* cv = dynamic_cast<CustomView*>(v->customView().get());
  if (!cv) {
    if (hasPart) throw DriverError(base + " is not a custom view: it has no part " + part);
    return View(v);
  }
  View p = cv->partNamed(part);
  if (!p.IsInitialized()) throw DriverError(base + " has no part named \"" + part + "\"");
  return p;
}

bool AppDriver::exists(std::string_view name) const {
  try {
    find(name);
    return true;
  } catch (const DriverError&) {
    return false;
  }
}

View AppDriver::press(std::string_view name) { return touch(find(name), name); }

View AppDriver::touch(const View& target, std::string_view what) {
  View root = shownPanel();
  Frame f;
  if (!TouchInput::frameIn(*target.native(), *root.native(), f))
    throw DriverError(std::string(what) + " is not on the screen");
  auto hit = ViewSystem::of(runtime()).touches().down(root.native(), f.centerX(), f.centerY());
  runtime().loop().runUntilIdle();
  return View(hit);
}

View AppDriver::pressAt(std::string_view name, double x, double y) {
  View target = find(name);
  View root = shownPanel();
  Frame f;
  if (!TouchInput::frameIn(*target.native(), *root.native(), f))
    throw DriverError(std::string(name) + " is not on the screen");
  auto hit = ViewSystem::of(runtime()).touches().down(root.native(), f.left + x, f.top + y);
  runtime().loop().runUntilIdle();
  return View(hit);
}

void AppDriver::moveTo(std::string_view name, double x, double y) {
  View target = find(name);
  View root = shownPanel();
  Frame f;
  if (!TouchInput::frameIn(*target.native(), *root.native(), f))
    throw DriverError(std::string(name) + " is not on the screen");
  ViewSystem::of(runtime()).touches().move(f.left + x, f.top + y);
  runtime().loop().runUntilIdle();
}

void AppDriver::release() {
  ViewSystem::of(runtime()).touches().up();
  runtime().loop().runUntilIdle();
}

bool AppDriver::touching() const { return ViewSystem::of(runtime()).touches().active(); }

View AppDriver::tap(std::string_view name) {
  View hit = press(name);
  release();
  return hit;
}

void AppDriver::wait(int64_t ms) { runtime().loop().runFor(ms); }

void AppDriver::drag(std::string_view name, double dx, double dy, int64_t durationMs, int steps) {
  View target = find(name);
  View root = shownPanel();
  Frame f;
  if (!TouchInput::frameIn(*target.native(), *root.native(), f))
    throw DriverError(std::string(name) + " is not on the screen");
  Finger(runtime(), root).drag(target, dx, dy, durationMs, steps);
  runtime().loop().runUntilIdle();
}

void AppDriver::type(const String& text) {
  auto& keyboard = Keyboard::of(runtime());
  if (!keyboard.focused()) throw DriverError("No text field has the focus: tap one before typing");
  for (int i = 0; i < text.Length(); ++i) {
    auto field = keyboard.focused();
    if (field && !field->acceptsCharacter(text.CharAt(i)))
      throw DriverError("The keyboard shown has no key for \"" + text.SubString2(i, i + 1).str() + "\"");
  }
  keyboard.type(text);
  runtime().loop().runUntilIdle();
}

void AppDriver::deleteBackward() {
  auto& keyboard = Keyboard::of(runtime());
  if (!keyboard.focused()) throw DriverError("No text field has the focus: tap one before deleting");
  keyboard.deleteBackward();
  runtime().loop().runUntilIdle();
}

void AppDriver::enter() {
  auto& keyboard = Keyboard::of(runtime());
  if (!keyboard.focused()) throw DriverError("No text field has the focus: tap one before pressing Return");
  keyboard.enter();
  runtime().loop().runUntilIdle();
}

View AppDriver::focusedField() const { return View(Keyboard::of(runtime()).focused()); }

AppDriver::ViewState AppDriver::describe(const std::string& name, const View& v) const {
  ViewState s;
  s.name = name;
  s.type = std::string(v.native()->typeName());
  s.hasText = v.native()->hasText();
  if (s.hasText) s.text = v.Text();
  s.visible = v.Visible();
  s.enabled = v.Enabled();
  return s;
}

AppDriver::ViewState AppDriver::describePart(const std::string& name, const CustomView& cv,
                                             std::string_view part) const {
  ViewState s = describe(name, cv.partNamed(part));
  s.enabled = cv.partActs(part);
  return s;
}

AppDriver::ViewState AppDriver::stateOf(std::string_view name) const {
  auto dot = name.find('.');
  View v = find(name);
  if (dot == std::string_view::npos) return describe(std::string(name), v);
  // find() has checked that the name is a custom view's part.
  auto base = FindNamed(shownPanel().native(), Lower(name.substr(0, dot)));
  return describePart(std::string(name), dynamic_cast<CustomView&>(*base->customView()), name.substr(dot + 1));
}

std::vector<AppDriver::ViewState> AppDriver::state() const {
  std::vector<std::shared_ptr<ViewObject>> named;
  CollectNamed(shownPanel().native(), named);
  auto* fields = dynamic_cast<LayoutFields*>(host_.mainModule().get());
  std::vector<ViewState> out;
  for (const auto& v : named) {
    std::string lower = Lower(v->name());
    if (fields && !fields->fieldTable().find(lower)) continue;
    if (auto* cv = dynamic_cast<CustomView*>(v->customView().get())) {
      out.push_back(describe(lower, cv->partNamed("")));
      for (const char* part : {"minus", "plus"}) {
        if (cv->partNamed(part).IsInitialized()) out.push_back(describePart(lower + "." + part, *cv, part));
      }
    } else {
      out.push_back(describe(lower, View(v)));
    }
  }
  return out;
}

std::shared_ptr<ActionSheetObject> AppDriver::shownSheet() const {
  std::vector<std::shared_ptr<ActionSheetObject>> sheets;
  CollectSheets(shownPanel().native(), sheets);
  // Later in the tree is drawn later, that is on top.
  for (auto it = sheets.rbegin(); it != sheets.rend(); ++it) {
    if ((*it)->visible()) return *it;
  }
  return nullptr;
}

std::optional<AppDriver::SheetState> AppDriver::sheet() const {
  auto sheet = shownSheet();
  if (!sheet) return std::nullopt;
  SheetState s;
  s.title = sheet->title().str();
  s.cancel = sheet->cancelButton().str();
  const auto& buttons = sheet->buttons();
  for (size_t i = 0; i < buttons.size(); ++i) {
    bool isCancel = !sheet->cancelButton().empty() && i + 1 == buttons.size();
    if (!isCancel) s.items.push_back(buttons[i].title.str());
  }
  return s;
}

void AppDriver::pick(std::string_view title) {
  auto sheet = shownSheet();
  if (!sheet) throw DriverError("no action sheet is shown");
  for (const auto& b : sheet->buttons()) {
    if (b.title.str() != title) continue;
    scrollIntoView(*b.view);
    touch(View(b.view), "the sheet's button " + std::string(title));
    release();
    return;
  }
  std::string shown;
  for (const auto& b : sheet->buttons()) shown += (shown.empty() ? "\"" : ", \"") + b.title.str() + "\"";
  throw DriverError("the action sheet has no button \"" + std::string(title) + "\" (it shows " + shown + ")");
}

void AppDriver::scrollIntoView(const ViewObject& view) {
  for (auto p = view.parent(); p; p = p->parent()) {
    auto scroller = std::dynamic_pointer_cast<ScrollViewObject>(p);
    if (!scroller) continue;
    Frame f;
    if (!TouchInput::frameIn(view, *scroller->innerPanel(), f)) return;
    const double height = scroller->frame().height;
    double y = scroller->offsetY();
    if (f.top < y) y = f.top;
    if (f.bottom() > y + height) y = f.bottom() - height;
    scroller->setOffset(scroller->offsetX(), std::clamp(y, 0.0, scroller->maxOffsetY()));
    runtime().loop().runUntilIdle();
    return;
  }
}

SimulatedRadio& AppDriver::radio() const { return runtime().service<SimulatedRadio>(); }

std::shared_ptr<Bitmap> AppDriver::screenshot(double scale) const {
  if (!renderer_) renderer_ = std::make_unique<ViewRenderer>(runtime());
  return renderer_->render(*shownPanel().native(), scale);
}

}  // namespace tmr

#include "platform/layout/LayoutLoader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <functional>
#include <limits>
#include <new>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>
#include <system_error>
#include <vector>

#include "platform/core/Module.h"
#include "platform/core/Runtime.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/FontLibrary.h"
#include "platform/layout/DesignerScript.h"
#include "platform/layout/FieldTable.h"
#include "platform/layout/LayoutBuilder.h"
#include "platform/layout/LayoutError.h"
#include "platform/layout/LayoutRegistry.h"
#include "platform/views/ButtonObject.h"
#include "platform/views/CustomView.h"
#include "platform/views/DesignerPropertyError.h"
#include "platform/views/ImageViewObject.h"
#include "platform/views/LabelObject.h"
#include "platform/views/PanelObject.h"
#include "platform/views/View.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

namespace {

using Json = nlohmann::json;

struct Border {
  double width = 0;
  int32_t color = 0;
  double radius = 0;
};

// One view of the file, checked and converted, before anything is built.
struct ViewSpec {
  std::string name;
  std::string type;
  std::string eventName;
  Frame frame;
  std::optional<bool> visible;
  std::optional<bool> enabled;
  std::optional<int32_t> color;
  std::optional<Border> border;
  std::optional<String> text;
  std::optional<int32_t> textColor;
  std::optional<int32_t> disabledTextColor;
  Font font;
  std::optional<TextAlignment> align;
  ButtonObject::Style style = ButtonObject::Style::System;
  std::shared_ptr<Bitmap> image;
  ImageViewObject::ContentMode contentMode = ImageViewObject::ContentMode::Fit;
  std::string className;
  Map props;
  std::vector<ViewSpec> children;
};

struct LayoutSpec {
  double width = 0;
  double height = 0;
  std::optional<int32_t> color;
  std::vector<ViewSpec> views;
};

class Parser {
 public:
  Parser(std::string file, const LayoutRegistry& registry, std::filesystem::path images, FontLibrary& fonts)
      : file_(std::move(file)), registry_(registry), images_(std::move(images)), fonts_(fonts) {}

  LayoutSpec parse(const Json& root) {
    if (!root.is_object()) fail("", "", "the file must hold one JSON object");
    checkKeys(root, "", {"width", "height", "color", "views"});
    LayoutSpec spec;
    spec.width = number(root, "", "width", true).value();
    spec.height = number(root, "", "height", true).value();
    if (spec.width <= 0 || spec.height <= 0) fail("", "width", "the layout's size must be positive");
    if (root.contains("color")) spec.color = color(root.at("color"), "", "color");
    if (!root.contains("views") || !root.at("views").is_array()) fail("", "views", "missing, or not a list of views");
    for (const auto& v : root.at("views")) spec.views.push_back(view(v, 1));
    return spec;
  }

  // How deep panels may hold panels: far beyond any screen, and shallow enough that loading,
  // drawing and touching the tree never exhausts the stack.
  static constexpr int kMaxDepth = 64;

 private:
  [[noreturn]] void fail(std::string_view view, std::string_view key, std::string_view why) const {
    throw LayoutError(file_, view, key, why);
  }

  void checkKeys(const Json& o, std::string_view view, std::set<std::string> allowed) const {
    for (auto it = o.begin(); it != o.end(); ++it) {
      if (!allowed.contains(it.key())) fail(view, it.key(), "unknown key");
    }
  }

  std::optional<double> number(const Json& o, std::string_view view, const char* key, bool required) const {
    if (!o.contains(key)) {
      if (required) fail(view, key, "missing");
      return std::nullopt;
    }
    const auto& v = o.at(key);
    if (!v.is_number() || !std::isfinite(v.get<double>())) fail(view, key, "must be a number");
    return v.get<double>();
  }

  bool boolean(const Json& v, std::string_view view, std::string_view key) const {
    if (!v.is_boolean()) fail(view, key, "must be true or false");
    return v.get<bool>();
  }

  std::string text(const Json& v, std::string_view view, std::string_view key) const {
    if (!v.is_string()) fail(view, key, "must be a text");
    return v.get<std::string>();
  }

  // "#RRGGBB" or "#AARRGGBB".
  int32_t color(const Json& v, std::string_view view, std::string_view key) const {
    std::string s = v.is_string() ? v.get<std::string>() : "";
    bool ok = (s.size() == 7 || s.size() == 9) && s[0] == '#' &&
              s.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string::npos;
    if (!ok) fail(view, key, "must be a colour \"#RRGGBB\" or \"#AARRGGBB\"");
    uint32_t c = static_cast<uint32_t>(std::stoul(s.substr(1), nullptr, 16));
    if (s.size() == 7) c |= 0xFF000000u;
    return static_cast<int32_t>(c);
  }

  Font font(const Json& v, std::string_view view) const {
    if (!v.is_object()) fail(view, "font", "must be an object with \"family\" and \"size\"");
    checkKeys(v, view, {"family", "size", "bold"});
    std::string family = v.contains("family") ? text(v.at("family"), view, "family") : "DEFAULT";
    if (family == "DEFAULT") family = Font::kDefaultFamily;
    double size = number(v, view, "size", true).value();
    if (!LayoutBuilder::IsFontSize(size))
      fail(view, "font", "the size must be a positive number that a float holds (at most 3.4e38, at least 1.4e-45)");
    bool bold = v.contains("bold") && boolean(v.at("bold"), view, "bold");
    Font made = Font::Make(family, static_cast<float>(size), bold);
    // A family that is not installed is refused here, not when the label is first drawn.
    try {
      fonts_.fileOf(made);
    } catch (const RuntimeError&) {
      fail(view, "family", "\"" + family + "\" names no installed font");
    }
    return made;
  }

  TextAlignment align(const Json& v, std::string_view view) const {
    if (!v.is_object()) fail(view, "align", "must be an object with \"vertical\" and \"horizontal\"");
    checkKeys(v, view, {"vertical", "horizontal"});
    TextAlignment a;
    try {
      if (v.contains("vertical")) a.vertical = TextAlignment::ParseVertical(text(v.at("vertical"), view, "vertical"));
      if (v.contains("horizontal"))
        a.horizontal = TextAlignment::ParseHorizontal(text(v.at("horizontal"), view, "horizontal"));
    } catch (const LayoutError&) {
      throw;
    } catch (const RuntimeError& e) {
      fail(view, "align", e.what());
    }
    return a;
  }

  Object propertyValue(const Json& v, const LayoutRegistry::Property& p, std::string_view view) const {
    using Kind = LayoutRegistry::Property::Kind;
    switch (p.kind) {
      case Kind::Text:
        return Object(text(v, view, p.key));
      case Kind::Boolean:
        return Object(boolean(v, view, p.key));
      case Kind::Number:
      case Kind::Count: {
        if (!v.is_number()) fail(view, p.key, "must be a number");
        if (p.kind == Kind::Count && v.get<double>() > LayoutRegistry::Property::kMaxCount)
          fail(view, p.key, "must be at most " + std::to_string(LayoutRegistry::Property::kMaxCount));
        if (v.is_number_integer()) {
          auto n = v.get<int64_t>();
          if (n >= std::numeric_limits<int32_t>::min() && n <= std::numeric_limits<int32_t>::max())
            return Object(static_cast<int32_t>(n));
        }
        return Object(v.get<double>());
      }
      case Kind::Color:
        return Object(color(v, view, p.key));
    }
    return {};
  }

  ViewSpec view(const Json& v, int depth) {
    if (!v.is_object()) fail("", "views", "each view must be a JSON object");
    ViewSpec s;
    if (!v.contains("name")) fail("", "name", "a view has no name");
    s.name = text(v.at("name"), "", "name");
    const std::string& n = s.name;
    if (n.empty() ||
        n.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") != std::string::npos)
      fail(n, "name", "a view's name has letters, digits and \"_\" only");
    std::string lower = String(n).ToLowerCase().str();
    if (!names_.insert(lower).second) fail(n, "name", "two views have this name");
    if (!v.contains("type")) fail(n, "type", "missing");
    s.type = text(v.at("type"), n, "type");

    std::set<std::string> keys{"name", "type", "frame", "eventName", "visible", "enabled", "color", "border"};
    if (s.type == "Label") {
      keys.insert({"text", "textColor", "font", "align"});
    } else if (s.type == "Button") {
      keys.insert({"text", "textColor", "disabledTextColor", "font", "align", "style"});
    } else if (s.type == "ImageView") {
      keys.insert({"image", "contentMode"});
    } else if (s.type == "Panel") {
      keys.insert("views");
    } else if (s.type == "CustomView") {
      keys.insert({"class", "props", "text", "textColor", "font", "align"});
    } else {
      fail(n, "type", "unknown view type \"" + s.type + "\" (Panel, Label, Button, ImageView or CustomView)");
    }
    checkKeys(v, n, keys);

    if (!v.contains("frame")) fail(n, "frame", "missing");
    const auto& f = v.at("frame");
    if (!f.is_array() || f.size() != 4) fail(n, "frame", "must be [left, top, width, height]");
    for (const auto& x : f) {
      if (!x.is_number() || !std::isfinite(x.get<double>())) fail(n, "frame", "must be [left, top, width, height]");
    }
    s.frame = Frame{f[0].get<double>(), f[1].get<double>(), f[2].get<double>(), f[3].get<double>()};
    if (s.frame.width < 0 || s.frame.height < 0) fail(n, "frame", "width and height cannot be negative");

    s.eventName = v.contains("eventName") ? text(v.at("eventName"), n, "eventName") : s.name;
    if (v.contains("visible")) s.visible = boolean(v.at("visible"), n, "visible");
    if (v.contains("enabled")) s.enabled = boolean(v.at("enabled"), n, "enabled");
    if (v.contains("color")) s.color = color(v.at("color"), n, "color");
    if (v.contains("border")) {
      const auto& b = v.at("border");
      if (!b.is_object()) fail(n, "border", "must be an object with \"width\", \"color\" and \"radius\"");
      checkKeys(b, n, {"width", "color", "radius"});
      Border border;
      border.width = number(b, n, "width", false).value_or(0);
      border.radius = number(b, n, "radius", false).value_or(0);
      if (b.contains("color")) border.color = color(b.at("color"), n, "color");
      s.border = border;
    }
    if (v.contains("text")) s.text = String(text(v.at("text"), n, "text"));
    if (v.contains("textColor")) s.textColor = color(v.at("textColor"), n, "textColor");
    if (v.contains("disabledTextColor")) s.disabledTextColor = color(v.at("disabledTextColor"), n, "disabledTextColor");
    if (v.contains("font")) s.font = font(v.at("font"), n);
    if (v.contains("align")) s.align = align(v.at("align"), n);
    if (v.contains("style")) {
      auto st = text(v.at("style"), n, "style");
      if (st == "System") {
        s.style = ButtonObject::Style::System;
      } else if (st == "Custom") {
        s.style = ButtonObject::Style::Custom;
      } else {
        fail(n, "style", "must be \"System\" or \"Custom\"");
      }
    }
    if (v.contains("image")) {
      auto file = text(v.at("image"), n, "image");
      if (file.empty() || file.find('/') != std::string::npos || file.find('\\') != std::string::npos)
        fail(n, "image", "must be a file name in the images folder");
      try {
        s.image = Bitmap::LoadPng((images_ / file).string());
      } catch (const RuntimeError& e) {
        fail(n, "image", e.what());
      }
    }
    if (v.contains("contentMode")) {
      auto m = text(v.at("contentMode"), n, "contentMode");
      if (m == "FILL") {
        s.contentMode = ImageViewObject::ContentMode::Fill;
      } else if (m == "FIT") {
        s.contentMode = ImageViewObject::ContentMode::Fit;
      } else if (m == "CENTER") {
        s.contentMode = ImageViewObject::ContentMode::Center;
      } else {
        fail(n, "contentMode", "must be \"FILL\", \"FIT\" or \"CENTER\"");
      }
    }
    if (s.type == "Panel" && v.contains("views")) {
      if (!v.at("views").is_array()) fail(n, "views", "must be a list of views");
      if (depth >= kMaxDepth && !v.at("views").empty())
        fail(n, "views", "views nest deeper than " + std::to_string(kMaxDepth) + " levels");
      for (const auto& c : v.at("views")) s.children.push_back(view(c, depth + 1));
    }
    if (s.type == "CustomView") customView(v, s);
    return s;
  }

  void customView(const Json& v, ViewSpec& s) {
    const std::string& n = s.name;
    if (!v.contains("class")) fail(n, "class", "missing");
    s.className = text(v.at("class"), n, "class");
    const auto* cls = registry_.customView(s.className);
    if (!cls) fail(n, "class", "unknown custom view class \"" + s.className + "\"");
    static const Json kNoProps = Json::object();
    const Json& props = v.contains("props") ? v.at("props") : kNoProps;
    if (!props.is_object()) fail(n, "props", "must be an object of designer properties");
    s.props.Initialize();
    for (auto it = props.begin(); it != props.end(); ++it) {
      const LayoutRegistry::Property* p = nullptr;
      for (const auto& q : cls->properties) {
        if (q.key == it.key()) p = &q;
      }
      if (!p) fail(n, it.key(), "unknown designer property of " + s.className);
      s.props.Put(Object(p->key), propertyValue(it.value(), *p, n));
    }
    for (const auto& p : cls->properties) {
      if (!p.defaultValue && !props.contains(p.key)) fail(n, p.key, "designer property missing");
    }
  }

  std::string file_;
  const LayoutRegistry& registry_;
  std::filesystem::path images_;
  FontLibrary& fonts_;
  std::set<std::string> names_;
};

// A custom view waiting to be made once the designer script has run.
struct Pending {
  const ViewSpec* spec;
  std::shared_ptr<PanelObject> base;
  std::shared_ptr<LabelObject> label;
};

class Builder {
 public:
  Builder(ViewSystem& system, const std::shared_ptr<Dispatcher>& ba, Map& views)
      : system_(system), ba_(ba), views_(views) {}

  void build(const ViewSpec& s, const std::shared_ptr<ViewObject>& parent) {
    std::shared_ptr<ViewObject> v;
    if (s.type == "Panel") {
      v = system_.make<PanelObject>();
    } else if (s.type == "Label") {
      v = system_.make<LabelObject>();
    } else if (s.type == "Button") {
      auto b = system_.make<ButtonObject>(s.style);
      if (s.disabledTextColor) b->setDisabledTextColor(*s.disabledTextColor);
      v = b;
    } else if (s.type == "ImageView") {
      auto iv = system_.make<ImageViewObject>();
      iv->setBitmap(s.image);
      iv->setContentMode(s.contentMode);
      v = iv;
    } else {
      v = system_.make<PanelObject>();  // the custom view's base panel
    }
    v->setName(s.name);
    if (s.type != "CustomView") v->setEvents(ba_, s.eventName);
    if (s.color) v->setColor(*s.color);
    if (s.border) v->setColorAndBorder(v->color(), s.border->width, s.border->color, s.border->radius);
    if (v->hasText()) applyText(s, *v);
    parent->addChild(v, s.frame);
    added.push_back(v);
    if (s.visible) v->setVisible(*s.visible);
    if (s.enabled) v->setEnabled(*s.enabled);
    views_.Put(Object(String(s.name).ToLowerCase()), Object(v));
    if (s.type == "CustomView") {
      auto label = system_.make<LabelObject>();
      applyText(s, *label);
      v->addChild(label, Frame{0, 0, s.frame.width, s.frame.height});
      pending.push_back(Pending{&s, std::static_pointer_cast<PanelObject>(v), label});
    } else {
      plain.emplace_back(&s, v);
    }
    for (const auto& c : s.children) build(c, v);
  }

  std::vector<Pending> pending;
  std::vector<std::pair<const ViewSpec*, std::shared_ptr<ViewObject>>> plain;
  std::vector<std::shared_ptr<ViewObject>> added;  // every view made, parents before children

 private:
  static void applyText(const ViewSpec& s, ViewObject& v) {
    if (s.text) v.setText(*s.text);
    if (s.textColor) v.setTextColor(*s.textColor);
    if (s.font.IsInitialized()) v.setFont(s.font);
    if (s.align) v.setTextAlignment(*s.align);
  }

  ViewSystem& system_;
  const std::shared_ptr<Dispatcher>& ba_;
  Map& views_;
};

std::string LowerName(const std::string& name) { return String(name).ToLowerCase().str(); }

// What a load has changed, put back when the layout is refused after building began: the
// panel's colour, the views added to it, and the module's fields that were bound (each kept as
// it was before its first binding).
class Undo {
 public:
  explicit Undo(std::shared_ptr<ViewObject> panel) : panel_(std::move(panel)), color_(panel_->color()) {}

  void binding(const FieldTable::Entry& field, Module& module) {
    if (field.keep) restores_.push_back(field.keep(module));
  }
  // added: the views made so far; those that lie on the panel go, with what lies in them.
  void run(const std::vector<std::shared_ptr<ViewObject>>& added) {
    for (auto it = restores_.rbegin(); it != restores_.rend(); ++it) (*it)();
    for (const auto& v : added) {
      if (v->parent() == panel_) v->removeFromParent();
    }
    if (panel_->color() != color_) panel_->setColor(color_);
  }

 private:
  std::shared_ptr<ViewObject> panel_;
  int32_t color_;
  std::vector<std::function<void()>> restores_;
};

// A custom view's parts are worked out in Int: a base panel larger than an Int holds is a size
// no custom view can be built at.
constexpr double kIntLimit = 2147483648.0;

// Replaces each number too large for a double (1e400) with null and blanks, so that the key
// that holds it is refused as not a number, with its view and key named, and every other
// position in the text stays. One pass over the text, skipping strings; a number is read as
// JSON writes one, and its size is told from its digits and exponent: only one whose first
// digit stands for 10^308 needs converting.
void NullNumbersTooLargeForADouble(std::string& text) {
  const size_t n = text.size();
  auto digit = [&](size_t i) { return i < n && text[i] >= '0' && text[i] <= '9'; };
  size_t i = 0;
  while (i < n) {
    if (text[i] == '"') {
      for (++i; i < n && text[i] != '"'; ++i) {
        if (text[i] == '\\') ++i;
      }
      ++i;
      continue;
    }
    if (text[i] != '-' && !digit(i)) {
      ++i;
      continue;
    }
    const size_t start = i;
    if (text[i] == '-') ++i;
    if (!digit(i)) continue;
    // The power of ten just above the first significant digit (3 for 123, -2 for 0.001).
    int64_t magnitude = 0;
    bool significant = text[i] != '0';
    if (significant) {
      for (; digit(i); ++i) ++magnitude;
    } else {
      ++i;
    }
    bool wellFormed = true;
    if (i < n && text[i] == '.') {
      wellFormed = digit(++i);
      for (; digit(i); ++i) {
        if (significant) continue;
        if (text[i] == '0') {
          --magnitude;
        } else {
          significant = true;
        }
      }
    }
    int64_t exponent = 0;
    if (wellFormed && i < n && (text[i] == 'e' || text[i] == 'E')) {
      bool negative = false;
      if (++i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
      wellFormed = digit(i);
      for (; digit(i); ++i) exponent = std::min<int64_t>(exponent * 10 + (text[i] - '0'), 1'000'000);
      if (negative) exponent = -exponent;
    }
    if (!wellFormed || !significant) continue;
    const int64_t size = magnitude + exponent;  // the value lies in [10^(size-1), 10^size)
    bool tooLarge = size > 309;
    if (size == 309) {
      double value;
      tooLarge = std::from_chars(text.data() + start, text.data() + i, value).ec == std::errc::result_out_of_range;
    }
    if (tooLarge && i - start >= 4) text.replace(start, i - start, "null" + std::string(i - start - 4, ' '));
  }
}

// The file's JSON, numbers too large for a double read as null.
Json ParseJson(std::string text, const std::string& file) {
  NullNumbersTooLargeForADouble(text);
  try {
    return Json::parse(text);
  } catch (const Json::exception& e) {
    throw LayoutError(file, "", "", std::string("not valid JSON: ") + e.what());
  }
}

}  // namespace

LayoutLoader::LayoutLoader(Runtime& rt, std::filesystem::path assetsDirectory)
    : rt_(rt), assets_(std::move(assetsDirectory)) {}

void LayoutLoader::Install(Runtime& rt, const std::filesystem::path& assetsDirectory) {
  ViewSystem::of(rt).setLayoutLoading(std::make_shared<LayoutLoader>(rt, assetsDirectory));
}

void LayoutLoader::load(const View& panel, std::string_view layoutName, const std::shared_ptr<Dispatcher>& ba) {
  std::string file = std::string(layoutName) + ".layout";
  auto path = assets_ / "layouts" / file;
  std::ifstream in(path);
  if (!in) throw LayoutError(file, "", "", "cannot read the layout file " + path.string());
  std::stringstream text;
  text << in.rdbuf();
  Json root = ParseJson(text.str(), file);
  auto& registry = rt_.service<LayoutRegistry>();
  LayoutSpec spec = Parser(file, registry, assets_ / "images", rt_.service<FontLibrary>()).parse(root);

  if (!panel.IsInitialized()) throw NotInitialized("View");
  if (!ba) throw NotInitialized("Dispatcher");
  auto module = ba->target();
  auto* fields = dynamic_cast<LayoutFields*>(module.get());
  auto& root_ = panel.native();
  Undo undo(root_);
  auto bind = [&](const ViewSpec& s, const Object& value, std::string_view what) {
    if (!fields) return;
    const auto* f = fields->fieldTable().find(LowerName(s.name));
    if (!f) return;
    undo.binding(*f, *module);
    if (!f->set(*module, value))
      throw LayoutError(file, s.name, "type",
                        "the field " + LowerName(s.name) + " of " + std::string(module->className()) +
                            " does not take " + std::string(what));
  };

  Map views;
  views.Initialize();
  Builder builder(ViewSystem::of(rt_), ba, views);
  try {
    if (spec.color) root_->setColor(*spec.color);
    for (const auto& v : spec.views) builder.build(v, root_);
    for (const auto& [s, v] : builder.plain) bind(*s, Object(v), "a " + std::string(v->typeName()));

    auto scriptName = LayoutRegistry::ScriptClassName(layoutName);
    if (const auto* make = registry.designerScript(scriptName)) {
      LayoutBuilder layoutBuilder(spec.width, spec.height, file);
      auto script = (*make)(layoutBuilder);
      script->LS_general(views, root_->frame().width, root_->frame().height);
    }

    // A custom view is built at the frame its base panel has now, the script having run.
    auto notAt = [&](const Pending& p, std::string_view why) {
      const Frame& f = p.base->frame();
      return LayoutError(file, p.spec->name, "frame",
                         "a custom view cannot be built at " + NumberToString(f.width).str() + " x " +
                             NumberToString(f.height).str() + ": " + std::string(why));
    };
    for (const auto& p : builder.pending) {
      const Frame& f = p.base->frame();
      if (!(f.width >= 0 && f.width < kIntLimit && f.height >= 0 && f.height < kIntLimit))
        throw notAt(p, "its sizes are worked out in Int, below 2147483648");
    }
    for (const auto& p : builder.pending) {
      const auto* cls = registry.customView(p.spec->className);
      auto instance = cls->make();
      auto* cv = dynamic_cast<CustomView*>(instance.get());
      if (!cv) throw LayoutError(file, p.spec->name, "class", p.spec->className + " is not a custom view");
      try {
        cv->_initialize(ba, Object(module), String(p.spec->eventName));
        p.label->removeFromParent();
        cv->_designercreateview(View(p.base), LabelWrapper::FromObject(Object(p.label)), p.spec->props);
      } catch (const LayoutError&) {
        throw;
      } catch (const DesignerPropertyError& e) {
        throw LayoutError(file, p.spec->name, e.key(), e.what());
      } catch (const RuntimeError& e) {
        // What a view makes at its size (a picture, a buffer of pixels) has limits of its own.
        throw notAt(p, e.what());
      } catch (const std::bad_alloc&) {
        throw notAt(p, "not enough memory");
      }
      p.base->setCustomView(instance);
      bind(*p.spec, Object(instance), "a " + p.spec->className);
    }
  } catch (...) {
    undo.run(builder.added);
    throw;
  }
}

}  // namespace tmr

#pragma once
// The classes a layout may name (a runtime service): custom view classes with the designer
// properties they read, and designer scripts by class name ("LS_tivomarshapple"). The program
// registers its classes before it loads a layout.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Module.h"
#include "platform/core/Object.h"

namespace tmr {

class DesignerScript;
class LayoutBuilder;
class Runtime;

class LayoutRegistry {
 public:
  // A designer property a custom view reads: its key, the kind of value, and its default when
  // it may be left out (a property without a default must be in the layout). A Count is a
  // number of parts the view makes (a counter's digits): a number, at most kMaxCount, far more
  // than any screen shows, so that a layout cannot make a view build parts until memory runs out.
  struct Property {
    enum class Kind { Text, Boolean, Number, Color, Count };
    static constexpr int32_t kMaxCount = 1000;
    std::string key;
    Kind kind;
    std::optional<Object> defaultValue;
  };
  struct CustomViewClass {
    // Makes an instance (a ClassModule that also derives from CustomView).
    std::function<std::shared_ptr<Module>()> make;
    std::vector<Property> properties;
  };
  using ScriptFactory = std::function<std::unique_ptr<DesignerScript>(LayoutBuilder&)>;

  explicit LayoutRegistry(Runtime&) {}

  void registerCustomView(std::string className, CustomViewClass cls);
  const CustomViewClass* customView(std::string_view className) const;

  void registerDesignerScript(std::string className, ScriptFactory factory);
  const ScriptFactory* designerScript(std::string_view className) const;

  // The class name of a layout's designer script: "LS_" + the file name in lower case, every
  // character that is not a letter or digit replaced by "_".
  static std::string ScriptClassName(std::string_view layoutName);

 private:
  std::map<std::string, CustomViewClass, std::less<>> customViews_;
  std::map<std::string, ScriptFactory, std::less<>> scripts_;
};

}  // namespace tmr

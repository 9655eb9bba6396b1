#include "platform/layout/LayoutRegistry.h"

#include <cctype>

namespace tmr {

void LayoutRegistry::registerCustomView(std::string className, CustomViewClass cls) {
  customViews_[std::move(className)] = std::move(cls);
}

const LayoutRegistry::CustomViewClass* LayoutRegistry::customView(std::string_view className) const {
  auto it = customViews_.find(className);
  return it == customViews_.end() ? nullptr : &it->second;
}

void LayoutRegistry::registerDesignerScript(std::string className, ScriptFactory factory) {
  scripts_[std::move(className)] = std::move(factory);
}

const LayoutRegistry::ScriptFactory* LayoutRegistry::designerScript(std::string_view className) const {
  auto it = scripts_.find(className);
  return it == scripts_.end() ? nullptr : &it->second;
}

std::string LayoutRegistry::ScriptClassName(std::string_view layoutName) {
  std::string s = "LS_";
  for (char ch : layoutName) {
    auto u = static_cast<unsigned char>(ch);
    s += std::isalnum(u) ? static_cast<char>(std::tolower(u)) : '_';
  }
  return s;
}

}  // namespace tmr

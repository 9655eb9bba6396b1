#pragma once
// The layout loader: reads "<assets>/layouts/<name>.layout" (JSON, described in
// docs/layout-format.md) and builds it inside a panel:
//   1. creates every view, named as in the file, with its events going to the loading module
//      under its event name (by default its name);
//   2. stores each view in the loading module's field of the same name (LayoutFields);
//   3. runs the layout's designer script, LS_<name in lower case>, when one is registered;
//   4. then makes each custom view: _initialize (dispatcher, loading module, event name),
//      _designercreateview (base panel, template label taken out of it, designer properties),
//      after which the base panel reports its size changes as "base_resize::"; and stores the
//      custom view in the field of its name.
// The whole file is checked before anything is built: a file that cannot be read, is not valid,
// names an unknown view type, class or key, or lacks a required designer property is a
// LayoutError naming the file, the view and the key. A view whose field has another type, a
// scaling that takes a frame or a text size beyond what a view can have, a custom view that
// cannot be built at its frame, and one that refuses a designer property's value (named by
// that property's key) are LayoutErrors too, found while building. Every refused layout
// leaves the panel (its views and colour) and the loading module's fields as they were.
#include <filesystem>
#include <memory>
#include <string_view>

#include "platform/views/LayoutLoading.h"

namespace tmr {

class Runtime;

class LayoutLoader : public LayoutLoading {
 public:
  LayoutLoader(Runtime& rt, std::filesystem::path assetsDirectory);
  // Makes a loader for the assets directory and installs it in rt's view system.
  static void Install(Runtime& rt, const std::filesystem::path& assetsDirectory);

  void load(const View& panel, std::string_view layoutName, const std::shared_ptr<Dispatcher>& ba) override;
  const std::filesystem::path& assetsDirectory() const { return assets_; }

 private:
  Runtime& rt_;
  std::filesystem::path assets_;
};

}  // namespace tmr

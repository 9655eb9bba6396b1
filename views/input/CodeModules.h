#pragma once
// The handles on the code modules that the views, the dialogs and the main module call: the
// collections, the view utilities and the date utilities. Each runtime has one instance of
// each; a module binds the handles when its globals are set.
#include <memory>

namespace tmr {

class Runtime;
class tm_collections;
class tm_dateutils;
class tm_viewsutils;

class CodeModules {
 public:
  std::shared_ptr<tm_collections> collections;
  std::shared_ptr<tm_viewsutils> viewsutils;
  std::shared_ptr<tm_dateutils> dateutils;

 protected:
  void bindCodeModules(Runtime& rt);
};

}  // namespace tmr

#pragma once
// Insets of a view's content from its edges, in points: what "setContentInset:" takes.
#include <memory>
#include <string>

#include "platform/core/RuntimeObject.h"

namespace tmr {

class EdgeInsets : public RuntimeObject {
 public:
  EdgeInsets(double top, double left, double bottom, double right)
      : top(top), left(left), bottom(bottom), right(right) {}
  std::string description() const override;

  double top = 0;
  double left = 0;
  double bottom = 0;
  double right = 0;
};

}  // namespace tmr

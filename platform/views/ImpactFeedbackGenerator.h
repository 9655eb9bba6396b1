#pragma once
// The platform's impact feedback generator ("UIImpactFeedbackGenerator"): "initWithStyle:"
// (0 light, 1 medium, 2 heavy) and "impactOccurred". This platform has no motor: each call is
// written to the HapticLog.
#include "platform/native/NativeCallable.h"

namespace tmr {

class HapticLog;

class ImpactFeedbackGenerator : public NativeCallable {
 public:
  explicit ImpactFeedbackGenerator(HapticLog& log) : log_(log) {}
  int style() const { return style_; }
  Object runMethod(std::string_view selector, std::vector<Object> args) override;
  std::string description() const override { return "(UIImpactFeedbackGenerator)"; }

 private:
  HapticLog& log_;
  int style_ = 0;
};

}  // namespace tmr

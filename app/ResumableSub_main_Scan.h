#pragma once
// The scan behind the Scan button: forgets the devices of the former scan, scans for every
// advertising device (each reported once) for five seconds, stops, and hands what it found to
// the picker.
#include <memory>

#include "platform/core/ResumableSub.h"

namespace tmr {

class tm_main;

class ResumableSub_main_Scan : public ResumableSub {
 public:
  static constexpr int64_t kScanMs = 5000;

  explicit ResumableSub_main_Scan(std::shared_ptr<tm_main> parent);

 protected:
  SubBody body() override;

 private:
  tm_main& main() const;
};

}  // namespace tmr

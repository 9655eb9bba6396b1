#pragma once
// The drawing loop of a progress bar: about every 30 ms it moves the stripes, glides the shown
// value towards the target, draws a frame in a background batch and shows it, for as long as
// the bar's busyindex is still the one it took.
#include <cstdint>
#include <memory>

#include "platform/core/List.h"
#include "platform/core/ResumableSub.h"
#include "platform/graphics/Rect.h"

namespace tmr {

class Bitmap;
class tm_bitmapcreator;
class tm_progressbar;

class ResumableSub_progressbar_BusyLoop : public ResumableSub {
 public:
  explicit ResumableSub_progressbar_BusyLoop(std::shared_ptr<tm_progressbar> parent);

  int32_t myindex = 0;
  Rect r;
  int64_t lasttime = 0;
  List tasks;
  float delta = 0;
  float change = 0;
  std::shared_ptr<Bitmap> bmp;

 protected:
  SubBody body() override;

 private:
  tm_progressbar& bar() const;
  // Moves currentvalue towards the target for the time since the last frame.
  void glide(tm_progressbar& p);
};

}  // namespace tmr

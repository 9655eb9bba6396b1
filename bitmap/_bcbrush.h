#pragma once
// A fill brush: a solid colour (a one-row strip of it in Source, and ColorPM) or a pattern
// bitmap creator tiled over the target, shifted by the offsets.
#include <memory>

#include "bitmap/_premultipliedcolor.h"
#include "platform/core/Record.h"

namespace tmr {

class tm_bitmapcreator;

class _bcbrush : public Record {
 public:
  // Source becomes a new, uninitialised bitmap creator; ColorPM a new colour of zeros.
  void Initialize() override;

  std::shared_ptr<tm_bitmapcreator> Source;
  int32_t SrcOffsetX = 0;
  int32_t SrcOffsetY = 0;
  bool IsColorSource = false;
  bool BlendAll = false;
  bool BlendBorders = false;
  std::shared_ptr<_premultipliedcolor> ColorPM;

 protected:
  std::vector<std::pair<std::string, Object>> fields() const override;
};

}  // namespace tmr

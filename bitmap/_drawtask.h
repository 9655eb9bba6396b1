#pragma once
// One drawing job of a batch: a region of a source bitmap creator copied (optionally scaled and
// rotated) into a target, a compressed bitmap expanded, or a drawing primitive replayed.
#include <memory>

#include "bitmap/_internalcanvasdrawtask.h"
#include "platform/core/Record.h"
#include "platform/graphics/Rect.h"

namespace tmr {

class tm_bitmapcreator;

class _drawtask : public Record {
 public:
  // Every field empty: TargetBC a new, uninitialised bitmap creator, SrcRect a new Rect,
  // CanvasTask a new record.
  void Initialize() override;

  Object Source;
  Rect SrcRect;
  int32_t TargetX = 0;
  int32_t TargetY = 0;
  bool SkipBlending = false;
  float SrcScaleX = 0;
  float SrcScaleY = 0;
  int32_t Degrees = 0;
  bool Transform = false;
  bool IsCompressedSource = false;
  std::shared_ptr<tm_bitmapcreator> TargetBC;
  bool IsCanvasTask = false;
  std::shared_ptr<_internalcanvasdrawtask> CanvasTask;

 protected:
  std::vector<std::pair<std::string, Object>> fields() const override;
};

}  // namespace tmr

#pragma once
// A run-length encoded copy of a rectangle of a bitmap creator. Each encoded row is
// [index of the row's first stored pixel in mBuffer, kind, value, kind, value, ...]: kind 0 a
// transparent run (value = length), 1 a solid run (value = length; its pixels follow in
// mBuffer), 40 a cached run of 40 pixels of one colour (value = byte offset of its slot in the
// cache). mBuffer holds the premultiplied R, G, B, A bytes of the solid runs in order.
#include <cstdint>
#include <memory>
#include <vector>

#include "bitmap/_internalcompressedbccache.h"
#include "platform/core/ByteArray.h"
#include "platform/core/Record.h"
#include "platform/graphics/Rect.h"

namespace tmr {

class _compressedbc : public Record {
 public:
  using EncodedRow = std::vector<int32_t>;

  // Rows empty, mBuffer empty, sizes 0, a new rectangle and a new, uninitialised cache.
  void Initialize() override {
    IsInitialized = true;
    Rows.clear();
    mBuffer = ByteArray(0);
    mWidth = mHeight = 0;
    TargetRect = Rect();
    Cache = std::make_shared<_internalcompressedbccache>();
  }

  std::vector<EncodedRow> Rows;
  ByteArray mBuffer;
  int32_t mWidth = 0;
  int32_t mHeight = 0;
  Rect TargetRect;
  std::shared_ptr<_internalcompressedbccache> Cache;

 protected:
  std::vector<std::pair<std::string, Object>> fields() const override {
    std::vector<std::pair<std::string, Object>> f;
    f.emplace_back("Rows", "(" + std::to_string(Rows.size()) + " rows)");
    f.emplace_back("mBuffer", Object(mBuffer));
    f.emplace_back("mWidth", mWidth);
    f.emplace_back("mHeight", mHeight);
    f.emplace_back("TargetRect", Object(std::make_shared<Rect>(TargetRect)));
    f.emplace_back("Cache", Cache ? Object(Cache) : Object());
    return f;
  }
};

}  // namespace tmr

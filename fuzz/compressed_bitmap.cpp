// Compressed bitmaps through the bitmap creator's public calls: extracting one from any picture
// and cache, and drawing, flipping and drawing rotated any compressed bitmap, well formed or
// not, onto a creator of any size (empty ones included). A malformed one is refused with a
// RuntimeError; nothing reads or writes outside a buffer or hangs.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "bitmap/_compressedbc.h"
#include "bitmap/_internalantialiasingbuffer.h"
#include "bitmap/_internalcompressedbccache.h"
#include "bitmap/tm_bitmapcreator.h"
#include "fuzz/FuzzInput.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"

namespace {

using tmr::FuzzInput;

std::shared_ptr<tmr::tm_bitmapcreator> Creator(const std::shared_ptr<tmr::Dispatcher>& ba, int w, int h) {
  auto bc = std::make_shared<tmr::tm_bitmapcreator>();
  bc->_initialize(ba, w, h);
  return bc;
}

// Four values in the order read (left, top, right, bottom).
tmr::Rect ReadRect(FuzzInput& in) {
  const float left = in.int16(), top = in.int16(), right = in.int16();
  return tmr::Rect(left, top, right, in.int16());
}

void FillBytes(FuzzInput& in, tmr::ByteArray& bytes) {
  for (auto& b : bytes.span()) b = in.byte();
}

// A cache as extracting leaves it, or any other: its slots are whatever the input says.
std::shared_ptr<tmr::_internalcompressedbccache> Cache(FuzzInput& in) {
  auto cache = std::make_shared<tmr::_internalcompressedbccache>();
  cache->Initialize();
  if (in.flag()) cache->ColorsMap.Initialize();
  cache->mBuffer = tmr::ByteArray(160 * (in.byte() % 8));
  FillBytes(in, cache->mBuffer);
  return cache;
}

// A compressed bitmap made by hand: sizes, rows of any numbers, pixel bytes.
std::shared_ptr<tmr::_compressedbc> Handmade(FuzzInput& in) {
  auto cbc = std::make_shared<tmr::_compressedbc>();
  cbc->Initialize();
  cbc->mWidth = in.flag() ? in.int32() : in.byte() % 48;
  cbc->mHeight = in.flag() ? in.int32() : in.byte() % 48;
  cbc->TargetRect = ReadRect(in);
  const int rows = in.byte() % 48;
  for (int r = 0; r < rows; ++r) {
    tmr::_compressedbc::EncodedRow row;
    const int n = in.byte() % 16;
    for (int i = 0; i < n; ++i) row.push_back(in.flag() ? in.int32() : in.byte() % 64);
    cbc->Rows.push_back(std::move(row));
  }
  cbc->mBuffer = tmr::ByteArray(4 * (in.byte() % 256));
  FillBytes(in, cbc->mBuffer);
  cbc->Cache = Cache(in);
  return cbc;
}

void Draw(FuzzInput& in, tmr::tm_bitmapcreator& target, const std::shared_ptr<tmr::_compressedbc>& cbc) {
  auto aa = std::make_shared<tmr::_internalantialiasingbuffer>();
  aa->Initialize();
  const int steps = 1 + in.byte() % 4;
  for (int s = 0; s < steps; ++s) {
    const int op = in.byte() % 4;
    if (op == 0) {
      const tmr::Rect src = ReadRect(in);
      const int x = in.int16();
      target._drawcompressedbitmap(cbc, src, x, in.int16());
    } else if (op == 1) {
      const bool horizontal = in.flag();
      auto flipped = target._flipcompressedbitmap(cbc, horizontal, in.flag());
      const int x = in.int16() % 64;
      target._drawcompressedbitmap(flipped, cbc->TargetRect, x, in.int16() % 64);
    } else if (op == 2) {
      const float degrees = in.float32();
      const int w = in.byte() % 64;
      target._drawrotatedcbc(cbc, degrees, w, in.byte() % 64, aa);
    } else {
      const float degrees = static_cast<float>(in.int16()) / 8;
      const int w = in.byte() % 64, h = in.byte() % 64, x = in.int16() % 64;
      target._drawrotatedcbc2(cbc, degrees, w, h, aa, x, in.int16() % 64);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  tmr::Runtime rt;
  rt.setLogSink([](std::string_view) {});
  auto ba = std::make_shared<tmr::Dispatcher>(rt, std::weak_ptr<tmr::Module>());
  const int width = in.byte() % 40;
  auto target = Creator(ba, width, in.byte() % 40);
  try {
    // An empty creator, or any other, gives its bitmap and takes one back.
    auto bmp = target->_getbitmap();
    const tmr::Rect where = ReadRect(in);
    target->_drawbitmap(bmp, where, in.flag());
    target->_copypixelsfrombitmap(bmp);
  } catch (const tmr::RuntimeError&) {
  }
  try {
    std::shared_ptr<tmr::_compressedbc> cbc;
    if (in.flag()) {
      const int w = in.byte() % 48;
      auto source = Creator(ba, w, in.byte() % 48);
      FillBytes(in, source->mbuffer);
      auto cache = Cache(in);
      const tmr::Rect area = ReadRect(in);
      cbc = source->_extractcompressedbc(area, in.flag() ? cache : nullptr);
    } else {
      cbc = Handmade(in);
    }
    Draw(in, *target, cbc);
  } catch (const tmr::RuntimeError&) {
    // A malformed compressed bitmap is refused as a whole.
  }
  return 0;
}

// Gradient fills through the bitmap creator's public calls: linear ones of every orientation (and
// a name that is none), concentric rectangles and radial ones, with any colours, over any
// rectangle (fractional, inverted, huge, infinite, NaN) on a creator of any size (empty ones
// included). Nothing reads or writes outside the buffer, every input is fast however far the
// rectangle reaches, and a rectangle that lies wholly off the bitmap paints nothing.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "bitmap/tm_bitmapcreator.h"
#include "fuzz/FuzzInput.h"
#include "platform/core/Runtime.h"

namespace {

using tmr::FuzzInput;

constexpr const char* kOrientations[] = {"LEFT_RIGHT", "RIGHT_LEFT", "TOP_BOTTOM", "BOTTOM_TOP", "TL_BR",
                                         "BR_TL",      "TR_BL",      "BL_TR",      "RECTANGLE",  "DIAGONAL"};

// A coordinate: a quarter pixel near the bitmap, any float, a value where the arithmetic
// overflows or loses its precision, or a small number times a power of ten.
float Coordinate(FuzzInput& in) {
  constexpr float kInf = std::numeric_limits<float>::infinity();
  const float special[] = {std::numeric_limits<float>::quiet_NaN(),
                           kInf,
                           -kInf,
                           std::numeric_limits<float>::max(),
                           -std::numeric_limits<float>::max(),
                           1e38f,
                           -1e38f,
                           9.3e18f,
                           -9.3e18f,
                           1.1e12f,
                           3e9f,
                           -3e9f,
                           1e9f,
                           -1e9f,
                           16777217.0f,
                           -0.0f};
  switch (in.byte() % 4) {
    case 0:
      return static_cast<float>(in.int16()) / 4;
    case 1:
      return in.float32();
    case 2:
      return special[in.byte() % std::size(special)];
    default: {
      const float v = in.int16();
      return v * std::pow(10.0f, static_cast<float>(in.byte() % 39));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  tmr::Runtime rt;
  rt.setLogSink([](std::string_view) {});
  auto ba = std::make_shared<tmr::Dispatcher>(rt, std::weak_ptr<tmr::Module>());
  auto bc = std::make_shared<tmr::tm_bitmapcreator>();
  const int width = in.byte() % 48;
  bc->_initialize(ba, width, in.byte() % 48);
  for (int fill = 0; fill < 8 && !in.atEnd(); ++fill) {
    const int kind = in.byte() % 11;
    std::vector<int32_t> colors(in.byte() % 6);
    for (auto& c : colors) c = in.flag() ? in.int32() : static_cast<int32_t>(0xFF000000u | in.byte() * 0x010101u);
    const float left = Coordinate(in), top = Coordinate(in), right = Coordinate(in);
    const tmr::Rect r(left, top, right, Coordinate(in));
    // Every pixel is made opaque first, so that a fill that lies off the bitmap and writes
    // anything, even transparent pixels, is seen.
    for (auto& b : bc->mbuffer.span()) b = 0xFF;
    if (kind == 10) {
      bc->_fillradialgradient(colors, r);
    } else {
      bc->_fillgradient(colors, r, kOrientations[kind]);
    }
    const bool off = !(r.Right > 0 && r.Bottom > 0 && r.Left < static_cast<float>(bc->mwidth) &&
                       r.Top < static_cast<float>(bc->mheight)) ||
                     !std::isfinite(r.Left) || !std::isfinite(r.Top) || !std::isfinite(r.Right) ||
                     !std::isfinite(r.Bottom);
    if (off)
      for (uint8_t b : bc->mbuffer.span())
        if (b != 0xFF) std::abort();
  }
  return 0;
}

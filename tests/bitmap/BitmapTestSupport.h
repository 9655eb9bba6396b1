#pragma once
// Shared set-up of the bitmap creator tests: a runtime whose log is captured, bitmap creators of
// any size, and pixel helpers.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "bitmap/tm_bitmapcreator.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"

namespace tmr::testing {

using Pixel = std::array<int, 4>;  // R, G, B, A as stored (premultiplied)

class BitmapTest : public ::testing::Test {
 protected:
  BitmapTest() {
    rt.setLogSink([this](std::string_view line) { log.emplace_back(line); });
  }

  std::shared_ptr<tm_bitmapcreator> make(int w, int h) {
    auto bc = std::make_shared<tm_bitmapcreator>();
    bc->_initialize(ba, w, h);
    return bc;
  }
  static Pixel px(const std::shared_ptr<tm_bitmapcreator>& bc, int x, int y) {
    const uint8_t* p = bc->mbuffer.data() + (x + y * bc->mwidth) * 4;
    return {p[0], p[1], p[2], p[3]};
  }
  static void put(const std::shared_ptr<tm_bitmapcreator>& bc, int x, int y, Pixel v) {
    uint8_t* p = bc->mbuffer.data() + (x + y * bc->mwidth) * 4;
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v[static_cast<size_t>(i)]);
  }
  static int alpha(const std::shared_ptr<tm_bitmapcreator>& bc, int x, int y) { return px(bc, x, y)[3]; }
  static std::vector<uint8_t> bytes(const std::shared_ptr<tm_bitmapcreator>& bc) {
    auto s = bc->mbuffer.span();
    return {s.begin(), s.end()};
  }
  // Fills the whole buffer with one premultiplied pixel.
  static void fill(const std::shared_ptr<tm_bitmapcreator>& bc, Pixel v) {
    for (int y = 0; y < bc->mheight; ++y)
      for (int x = 0; x < bc->mwidth; ++x) put(bc, x, y, v);
  }
  // A map of the alpha bytes, one text row per bitmap row, for readable failures.
  static std::vector<std::vector<int>> alphaMap(const std::shared_ptr<tm_bitmapcreator>& bc) {
    std::vector<std::vector<int>> m(static_cast<size_t>(bc->mheight));
    for (int y = 0; y < bc->mheight; ++y)
      for (int x = 0; x < bc->mwidth; ++x) m[static_cast<size_t>(y)].push_back(alpha(bc, x, y));
    return m;
  }
  // Number of pixels that are not fully transparent.
  static int painted(const std::shared_ptr<tm_bitmapcreator>& bc) {
    int n = 0;
    for (int y = 0; y < bc->mheight; ++y)
      for (int x = 0; x < bc->mwidth; ++x) n += alpha(bc, x, y) != 0;
    return n;
  }

  Runtime rt;
  std::vector<std::string> log;
  std::shared_ptr<Dispatcher> ba = std::make_shared<Dispatcher>(rt, std::weak_ptr<Module>());
};

constexpr Pixel kWhite{255, 255, 255, 255};
constexpr Pixel kClear{0, 0, 0, 0};

}  // namespace tmr::testing

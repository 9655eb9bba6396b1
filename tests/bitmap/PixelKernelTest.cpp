// The run kernels give exactly the pixels of the single-pixel blend rule.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "bitmap/PixelKernels.h"

namespace tmr {
namespace {

// The rule as written: k = float(1 - a/255.0); out = trunc(float(S) + k × float(D)), low 8 bits.
uint8_t ruleChannel(int s, int d, int a) {
  float k = static_cast<float>(1.0 - a / 255.0);
  float t = k * static_cast<float>(d);
  return static_cast<uint8_t>(static_cast<int32_t>(static_cast<float>(s) + t));
}

TEST(PixelKernelTest, BlendRunEqualsTheRuleForEveryAlphaSourceAndTarget) {
  // For each source alpha, 65536 pixels pair every source byte with every target byte.
  std::vector<uint8_t> src(65536 * 4 + 4), dst(65536 * 4 + 4), want(65536 * 4 + 4), base;
  for (int a = 0; a < 256; ++a) {
    for (int i = 0; i < 65536; ++i) {
      uint8_t* s = &src[static_cast<size_t>(i) * 4];
      uint8_t* d = &dst[static_cast<size_t>(i) * 4];
      s[0] = static_cast<uint8_t>(i), d[0] = static_cast<uint8_t>(i >> 8);
      s[1] = static_cast<uint8_t>(i >> 8), d[1] = static_cast<uint8_t>(i);
      s[2] = static_cast<uint8_t>(i * 7), d[2] = static_cast<uint8_t>(i * 13);
      s[3] = static_cast<uint8_t>(a), d[3] = static_cast<uint8_t>(i);
      uint8_t* w = &want[static_cast<size_t>(i) * 4];
      if (a == 255) {
        for (int c = 0; c < 4; ++c) w[c] = s[c];
      } else if (a == 0) {
        for (int c = 0; c < 4; ++c) w[c] = d[c];
      } else {
        for (int c = 0; c < 4; ++c) w[c] = ruleChannel(s[c], d[c], a);
      }
    }
    // Odd offsets and lengths exercise the vector steps and the scalar tail.
    base = dst;
    bckernels::blendRun(dst.data() + 4, src.data() + 4, 65535);
    bckernels::blendPixel(dst.data(), src.data());
    ASSERT_EQ(dst, want) << "alpha " << a;
    bckernels::blendRunSse2(base.data(), src.data(), 65537);
    ASSERT_EQ(base, want) << "alpha " << a << " (SSE2)";
    for (size_t i = 0; i < want.size(); ++i) base[i] = static_cast<uint8_t>(i % 4 == 3 ? (i / 4) & 255 : i);
    for (int i = 0; i < 65536; ++i) {
      uint8_t* d = &base[static_cast<size_t>(i) * 4];
      const uint8_t* s = &src[static_cast<size_t>(i) * 4];
      uint8_t before[4] = {d[0], d[1], d[2], d[3]};
      bckernels::blendPixel(d, s);
      for (int c = 0; c < 4; ++c)
        ASSERT_EQ(d[c], a == 0 ? before[c] : a == 255 ? s[c] : ruleChannel(s[c], before[c], a)) << a << " " << i;
    }
  }
}

TEST(PixelKernelTest, MixedRunsTakeTheFastPathsOnlyWhereTheyApply) {
  std::vector<uint8_t> src, dst, want;
  for (int i = 0; i < 100; ++i) {
    int a = (i / 3) % 4 == 0 ? 0 : (i / 3) % 4 == 1 ? 255 : 77 + i;
    uint8_t s[4] = {static_cast<uint8_t>(i), 9, static_cast<uint8_t>(200 - i), static_cast<uint8_t>(a)};
    uint8_t d[4] = {static_cast<uint8_t>(3 * i), 250, 1, static_cast<uint8_t>(i * 2)};
    for (int c = 0; c < 4; ++c) {
      src.push_back(s[c]);
      dst.push_back(d[c]);
      want.push_back(a == 0 ? d[c] : a == 255 ? s[c] : ruleChannel(s[c], d[c], a));
    }
  }
  bckernels::blendRun(dst.data(), src.data(), 100);
  EXPECT_EQ(dst, want);
}

TEST(PixelKernelTest, FillAndOpaqueCopyRunsOfEveryLengthAndAlignment) {
  for (int offset = 0; offset < 9; ++offset)
    for (int n : {0, 1, 3, 7, 8, 9, 31, 32, 33, 100, 1000}) {
      std::vector<uint8_t> buf(static_cast<size_t>(n + 20) * 4, 0xEE);
      bckernels::fillRun(buf.data() + offset * 4, bckernels::packPixel(1, 2, 3, 4), n);
      for (int i = 0; i < n + 20; ++i) {
        bool in = i >= offset && i < offset + n;
        for (int c = 0; c < 4; ++c)
          ASSERT_EQ(buf[static_cast<size_t>(i * 4 + c)], in ? c + 1 : 0xEE) << offset << " " << n << " " << i;
      }
      std::vector<uint8_t> src(static_cast<size_t>(n) * 4), dst(static_cast<size_t>(n) * 4, 5);
      for (int i = 0; i < n * 4; ++i)
        src[static_cast<size_t>(i)] = static_cast<uint8_t>(i % 4 == 3 ? (i / 4) % 2 * 9 : 42);
      bckernels::copyOpaqueRun(dst.data(), src.data(), n);
      for (int i = 0; i < n; ++i)
        for (int c = 0; c < 4; ++c)
          ASSERT_EQ(dst[static_cast<size_t>(i * 4 + c)], i % 2 ? src[static_cast<size_t>(i * 4 + c)] : 5);
    }
}

}  // namespace
}  // namespace tmr

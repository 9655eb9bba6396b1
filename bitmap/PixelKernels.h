#pragma once
// The inner loops of the bitmap creator over runs of premultiplied RGBA pixels. The blend is
// the library's own exact rule: a source alpha of 255 replaces, 0 leaves the target, anything
// else gives trunc(float(S) + k × float(D)) per channel with k = float(1 - a / 255.0),
// multiplied and added in single precision and stored as the low 8 bits. The code computes it
// in an integer form that gives the very same bytes for every alpha, S and D (the tests check
// all of them), which is what lets the runs use 16-bit vector arithmetic.
#include <cstdint>
#include <cstring>

namespace tmr::bckernels {

// The rule's k × D term for a source alpha a in 1..255, in integers: trunc(float(k × D))
// equals (D × (65536 − 257a)) >> 16 for every D in 0..255, and adding the integer S to it never
// carries into the next integer, so the blended channel is S plus this, as the low 8 bits.
inline uint32_t blendTerm(uint32_t d, uint32_t a) { return (d * (65536u - 257u * a)) >> 16; }

// Blends one premultiplied source pixel over one target pixel.
inline void blendPixel(uint8_t* d, const uint8_t* s) {
  const uint32_t a = s[3];
  if (a == 255) {
    d[0] = s[0], d[1] = s[1], d[2] = s[2], d[3] = 255;
  } else if (a != 0) {
    for (int c = 0; c < 4; ++c) d[c] = static_cast<uint8_t>(s[c] + blendTerm(d[c], a));
  }
}

// A pixel as a 32-bit value whose bytes in memory are R, G, B, A.
inline uint32_t packPixel(int32_t r, int32_t g, int32_t b, int32_t a) {
  const uint8_t bytes[4] = {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b),
                            static_cast<uint8_t>(a)};
  uint32_t v;
  std::memcpy(&v, bytes, 4);
  return v;
}

// Blends n source pixels over n target pixels (the two runs must not overlap).
void blendRun(uint8_t* dst, const uint8_t* src, int64_t n);
// The same, using only the SSE2 instructions every x86-64 processor has (what blendRun uses
// where AVX2 is missing).
void blendRunSse2(uint8_t* dst, const uint8_t* src, int64_t n);
// Fills n pixels with one 32-bit pixel value (bytes in memory order R, G, B, A).
void fillRun(uint8_t* dst, uint32_t pixel, int64_t n);
// Fills n pixels in each of rows rows, strideBytes apart.
void fillRect(uint8_t* dst, int64_t strideBytes, uint32_t pixel, int64_t n, int64_t rows);
// Copies n pixels in each of rows rows (the rows strideBytes apart in the target and
// srcStrideBytes apart in the source; the two must not overlap).
void copyRect(uint8_t* dst, int64_t strideBytes, const uint8_t* src, int64_t srcStrideBytes, int64_t n, int64_t rows);
// Copies the source pixels whose alpha is not 0; the others leave the target alone.
void copyOpaqueRun(uint8_t* dst, const uint8_t* src, int64_t n);

}  // namespace tmr::bckernels

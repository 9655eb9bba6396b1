#include "bitmap/PixelKernels.h"

#include <immintrin.h>

#include <array>
#include <cstring>

namespace tmr::bckernels {

namespace {

void blendRunScalar(uint8_t* dst, const uint8_t* src, int64_t n) {
  for (int64_t i = 0; i < n; ++i) blendPixel(dst + i * 4, src + i * 4);
}

// The runs use the integer form of the rule (blendTerm): out = (S + ((D × m) >> 16)) mod 256 with
// m = 65536 − 257a, sixteen channels at a time. A source alpha of 0 keeps the target; alpha 255
// gives m = 1, so out = S.

// Eight pixels per step with AVX2.
__attribute__((target("avx2"))) void blendRunAvx2(uint8_t* dst, const uint8_t* src, int64_t n) {
  const __m256i alphaMask = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const __m256i zero = _mm256_setzero_si256();
  const __m256i k257 = _mm256_set1_epi16(257);
  // Copies each pixel's alpha byte into the four 16-bit lanes of that pixel's channels.
  const __m256i alphaLo = _mm256_setr_epi8(3, -1, 3, -1, 3, -1, 3, -1, 7, -1, 7, -1, 7, -1, 7, -1, 3, -1, 3, -1, 3, -1,
                                           3, -1, 7, -1, 7, -1, 7, -1, 7, -1);
  const __m256i alphaHi = _mm256_setr_epi8(11, -1, 11, -1, 11, -1, 11, -1, 15, -1, 15, -1, 15, -1, 15, -1, 11, -1, 11,
                                           -1, 11, -1, 11, -1, 15, -1, 15, -1, 15, -1, 15, -1);
  int64_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i * 4));
    const __m256i sa = _mm256_and_si256(s, alphaMask);
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(sa, alphaMask)) == -1) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i * 4), s);
      continue;
    }
    const __m256i clear = _mm256_cmpeq_epi32(sa, zero);
    if (_mm256_movemask_epi8(clear) == -1) continue;
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i * 4));
    const __m256i mLo = _mm256_sub_epi16(zero, _mm256_mullo_epi16(_mm256_shuffle_epi8(s, alphaLo), k257));
    const __m256i mHi = _mm256_sub_epi16(zero, _mm256_mullo_epi16(_mm256_shuffle_epi8(s, alphaHi), k257));
    const __m256i qLo = _mm256_mulhi_epu16(_mm256_unpacklo_epi8(d, zero), mLo);
    const __m256i qHi = _mm256_mulhi_epu16(_mm256_unpackhi_epi8(d, zero), mHi);
    __m256i out = _mm256_add_epi8(s, _mm256_packus_epi16(qLo, qHi));
    out = _mm256_blendv_epi8(out, d, clear);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i * 4), out);
  }
  blendRunScalar(dst + i * 4, src + i * 4, n - i);
}

// Four pixels per step with SSE2 (every x86-64 processor has it).
}  // namespace

void blendRunSse2(uint8_t* dst, const uint8_t* src, int64_t n) {
  const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i zero = _mm_setzero_si128();
  const __m128i k257 = _mm_set1_epi16(257);
  int64_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i * 4));
    const __m128i sa = _mm_and_si128(s, alphaMask);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(sa, alphaMask)) == 0xFFFF) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i * 4), s);
      continue;
    }
    const __m128i clear = _mm_cmpeq_epi32(sa, zero);
    if (_mm_movemask_epi8(clear) == 0xFFFF) continue;
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i * 4));
    const __m128i sLo = _mm_unpacklo_epi8(s, zero), sHi = _mm_unpackhi_epi8(s, zero);
    const __m128i aLo = _mm_shufflehi_epi16(_mm_shufflelo_epi16(sLo, 0xFF), 0xFF);
    const __m128i aHi = _mm_shufflehi_epi16(_mm_shufflelo_epi16(sHi, 0xFF), 0xFF);
    const __m128i qLo = _mm_mulhi_epu16(_mm_unpacklo_epi8(d, zero), _mm_sub_epi16(zero, _mm_mullo_epi16(aLo, k257)));
    const __m128i qHi = _mm_mulhi_epu16(_mm_unpackhi_epi8(d, zero), _mm_sub_epi16(zero, _mm_mullo_epi16(aHi, k257)));
    const __m128i out = _mm_add_epi8(s, _mm_packus_epi16(qLo, qHi));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i * 4),
                     _mm_or_si128(_mm_and_si128(clear, d), _mm_andnot_si128(clear, out)));
  }
  blendRunScalar(dst + i * 4, src + i * 4, n - i);
}

namespace {

bool haveAvx2() {
  static const bool yes = __builtin_cpu_supports("avx2");
  return yes;
}

}  // namespace

void blendRun(uint8_t* dst, const uint8_t* src, int64_t n) {
  if (n <= 0) return;
  if (haveAvx2()) {
    blendRunAvx2(dst, src, n);
  } else {
    blendRunSse2(dst, src, n);
  }
}

// 16-byte stores, aligned (measured faster here than 32-byte or overlapping unaligned ones):
// the few pixels before the first 16-byte boundary are stored one by one. When every row has
// the same alignment (a stride that is a multiple of 16), it is worked out once for all rows.
void fillRect(uint8_t* dst, int64_t strideBytes, uint32_t pixel, int64_t n, int64_t rows) {
  if (n <= 0 || rows <= 0) return;
  const __m128i v = _mm_set1_epi32(static_cast<int>(pixel));
  if (n < 16) {
    for (int64_t r = 0; r < rows; ++r, dst += strideBytes) {
      int64_t i = 0;
      for (; i + 4 <= n; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i * 4), v);
      for (; i < n; ++i) std::memcpy(dst + i * 4, &pixel, 4);
    }
    return;
  }
  const bool sameAlignment = (strideBytes & 15) == 0;
  int64_t head = 0, body = 0, tail = 0;
  for (int64_t r = 0; r < rows; ++r, dst += strideBytes) {
    if (r == 0 || !sameAlignment) {
      head = static_cast<int64_t>((16 - (reinterpret_cast<uintptr_t>(dst) & 15)) & 15) / 4;
      body = (n - head) & ~int64_t{3};
      tail = n - head - body;
    }
    uint8_t* p = dst;
    for (int64_t i = 0; i < head; ++i, p += 4) std::memcpy(p, &pixel, 4);
    uint8_t* const e = p + body * 4;
    if (body >= (int64_t{1} << 21)) {
      // Far larger than the caches: bypass them, the pixels will not be read back soon.
      for (; p < e; p += 16) _mm_stream_si128(reinterpret_cast<__m128i*>(p), v);
      _mm_sfence();
    } else {
      for (; p + 128 <= e; p += 128) {
        _mm_store_si128(reinterpret_cast<__m128i*>(p), v);
        _mm_store_si128(reinterpret_cast<__m128i*>(p + 16), v);
        _mm_store_si128(reinterpret_cast<__m128i*>(p + 32), v);
        _mm_store_si128(reinterpret_cast<__m128i*>(p + 48), v);
        _mm_store_si128(reinterpret_cast<__m128i*>(p + 64), v);
        _mm_store_si128(reinterpret_cast<__m128i*>(p + 80), v);
        _mm_store_si128(reinterpret_cast<__m128i*>(p + 96), v);
        _mm_store_si128(reinterpret_cast<__m128i*>(p + 112), v);
      }
      for (; p < e; p += 16) _mm_store_si128(reinterpret_cast<__m128i*>(p), v);
    }
    for (int64_t i = 0; i < tail; ++i, p += 4) std::memcpy(p, &pixel, 4);
  }
}

void fillRun(uint8_t* dst, uint32_t pixel, int64_t n) { fillRect(dst, 0, pixel, n, 1); }

void copyRect(uint8_t* dst, int64_t strideBytes, const uint8_t* src, int64_t srcStrideBytes, int64_t n, int64_t rows) {
  if (n <= 0 || rows <= 0) return;
  const int64_t bytes = n * 4;
  // Rows that follow each other without a gap on both sides are one block.
  if (strideBytes == bytes && srcStrideBytes == bytes) {
    std::memcpy(dst, src, static_cast<size_t>(bytes * rows));
    return;
  }
  for (int64_t r = 0; r < rows; ++r, dst += strideBytes, src += srcStrideBytes)
    std::memcpy(dst, src, static_cast<size_t>(bytes));
}

void copyOpaqueRun(uint8_t* dst, const uint8_t* src, int64_t n) {
  const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  int64_t i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i * 4));
    __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i * 4));
    __m128i keep = _mm_cmpeq_epi32(_mm_and_si128(s, alphaMask), _mm_setzero_si128());
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i * 4),
                     _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, s)));
  }
  for (; i < n; ++i)
    if (src[i * 4 + 3] != 0) std::memcpy(dst + i * 4, src + i * 4, 4);
}

}  // namespace tmr::bckernels

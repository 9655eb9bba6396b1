#include "bitmap/PixelKernels.h"

#include <immintrin.h>

#include <array>
#include <cstring>

namespace tmr::bckernels {

namespace {

constexpr std::array<float, 256> makeFactors() {
  std::array<float, 256> k{};
  for (int a = 0; a < 256; ++a) k[static_cast<size_t>(a)] = static_cast<float>(1.0 - a / 255.0);
  return k;
}
void blendRunScalar(uint8_t* dst, const uint8_t* src, int64_t n) {
  for (int64_t i = 0; i < n; ++i) blendPixel(dst + i * 4, src + i * 4);
}

// Four pixels per step: bytes widened to 32-bit lanes, converted to float, k × D added to S in
// single precision (separate multiply and add, as the scalar rule), truncated toward zero and
// narrowed to the low 8 bits. Runs of opaque or transparent source pixels skip the arithmetic.
__attribute__((target("avx2"))) void blendRunAvx2(uint8_t* dst, const uint8_t* src, int64_t n) {
  const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i zero = _mm_setzero_si128();
  const __m256i low8 = _mm256_set1_epi32(0xFF);
  const __m256i spreadA = _mm256_setr_epi32(0, 0, 0, 0, 1, 1, 1, 1);
  const __m256i spreadB = _mm256_setr_epi32(2, 2, 2, 2, 3, 3, 3, 3);
  int64_t i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i * 4));
    __m128i sa = _mm_and_si128(s, alphaMask);
    int opaque = _mm_movemask_epi8(_mm_cmpeq_epi32(sa, alphaMask));
    if (opaque == 0xFFFF) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i * 4), s);
      continue;
    }
    __m128i clear = _mm_cmpeq_epi32(sa, zero);
    if (_mm_movemask_epi8(clear) == 0xFFFF) continue;
    __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i * 4));
    __m128 k4 = _mm_i32gather_ps(kBlendFactor.data(), _mm_srli_epi32(s, 24), 4);
    __m256 k8 = _mm256_castps128_ps256(k4);
    __m256 kA = _mm256_permutevar8x32_ps(k8, spreadA);
    __m256 kB = _mm256_permutevar8x32_ps(k8, spreadB);
    __m256 dA = _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(d));
    __m256 dB = _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(_mm_srli_si128(d, 8)));
    __m256 sA = _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(s));
    __m256 sB = _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(_mm_srli_si128(s, 8)));
    __m256i rA = _mm256_and_si256(_mm256_cvttps_epi32(_mm256_add_ps(sA, _mm256_mul_ps(kA, dA))), low8);
    __m256i rB = _mm256_and_si256(_mm256_cvttps_epi32(_mm256_add_ps(sB, _mm256_mul_ps(kB, dB))), low8);
    __m256i p16 = _mm256_permute4x64_epi64(_mm256_packus_epi32(rA, rB), 0xD8);
    __m128i out = _mm_packus_epi16(_mm256_castsi256_si128(p16), _mm256_extracti128_si256(p16, 1));
    // A transparent source pixel leaves its target pixel as it was, whatever its colour bytes.
    out = _mm_blendv_epi8(out, d, clear);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i * 4), out);
  }
  blendRunScalar(dst + i * 4, src + i * 4, n - i);
}

bool haveAvx2() {
  static const bool yes = __builtin_cpu_supports("avx2");
  return yes;
}

}  // namespace

// Filled at compile time; the header declares it for the inline single-pixel blend.
extern const std::array<float, 256> kBlendFactor = makeFactors();

void blendRun(uint8_t* dst, const uint8_t* src, int64_t n) {
  if (n <= 0) return;
  if (haveAvx2()) {
    blendRunAvx2(dst, src, n);
  } else {
    blendRunScalar(dst, src, n);
  }
}

void fillRun(uint8_t* dst, uint32_t pixel, int64_t n) {
  if (n <= 0) return;
  const __m128i v = _mm_set1_epi32(static_cast<int>(pixel));
  int64_t i = 0;
  for (; i + 4 <= n; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i * 4), v);
  for (; i < n; ++i) std::memcpy(dst + i * 4, &pixel, 4);
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

// Colour-table lookups with 512-bit word permutes. This file alone is built
// for AVX-512 (F, BW, VL); it is used only after the processor has been found to
// have it. The 256 entries sit in eight registers; each pair of them is one
// 64-entry table, and bits 6 and 7 of the index pick among the four.
#include <cstdint>
#include <cstring>

#include <immintrin.h>

#include "display/blit/qdl_blit_simd.h"

namespace {

inline __m512i Lookup32(const __m512i* t, __m512i idx) {
  const __m512i r0 = _mm512_permutex2var_epi16(t[0], idx, t[1]);
  const __m512i r1 = _mm512_permutex2var_epi16(t[2], idx, t[3]);
  const __m512i r2 = _mm512_permutex2var_epi16(t[4], idx, t[5]);
  const __m512i r3 = _mm512_permutex2var_epi16(t[6], idx, t[7]);
  const __mmask32 m6 = _mm512_test_epi16_mask(idx, _mm512_set1_epi16(0x40));
  const __mmask32 m7 = _mm512_test_epi16_mask(idx, _mm512_set1_epi16(0x80));
  const __m512i low = _mm512_mask_blend_epi16(m6, r0, r1);
  const __m512i high = _mm512_mask_blend_epi16(m6, r2, r3);
  return _mm512_mask_blend_epi16(m7, low, high);
}

}  // namespace

void QDLBlitLookup16Avx512(uint8_t* out, const uint16_t* table, const uint8_t* index, uint32_t n) {
  if (n < 16) {
    for (uint32_t i = 0; i < n; ++i) std::memcpy(out + 2 * i, &table[index[i]], 2);
    return;
  }
  __m512i t[8];
  for (int k = 0; k < 8; ++k) t[k] = _mm512_loadu_si512(table + 32 * k);
  uint32_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m512i idx =
        _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(index + i)));
    _mm512_storeu_si512(out + 2 * i, Lookup32(t, idx));
  }
  if (i < n) {
    // The rest with masked loads and stores: masked-off bytes are neither
    // read nor written.
    const __mmask32 k = static_cast<__mmask32>((1ull << (n - i)) - 1);
    const __m512i idx = _mm512_cvtepu8_epi16(_mm256_maskz_loadu_epi8(k, index + i));
    _mm512_mask_storeu_epi16(out + 2 * i, k, Lookup32(t, idx));
  }
}

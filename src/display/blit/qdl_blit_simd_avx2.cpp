// AVX2 spans of the 16-bit blends and fills. This file alone is built for
// AVX2; it is used only after the processor has been found to have it.
#include <cstdint>
#include <cstring>

#include <immintrin.h>

#include "display/blit/qdl_blit_simd.h"
#include "display/blit/qdl_blit_simd_impl.h"

namespace {

struct Avx2 {
  using T = __m256i;
  static constexpr uint32_t L = 16;
  static T Load(const uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  }
  static void Store(uint8_t* p, T v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
  static T Set1(uint16_t v) { return _mm256_set1_epi16(static_cast<short>(v)); }
  static T Set1x32(uint32_t v) { return _mm256_set1_epi32(static_cast<int>(v)); }
  static T Srli1(T a) { return _mm256_srli_epi16(a, 1); }
  static T Srl(T a, uint32_t c) {
    return _mm256_srl_epi16(a, _mm_cvtsi32_si128(static_cast<int>(c)));
  }
  static T And(T a, T b) { return _mm256_and_si256(a, b); }
  static T Or(T a, T b) { return _mm256_or_si256(a, b); }
  static T AndNot(T a, T b) { return _mm256_andnot_si256(a, b); }
  static T Add(T a, T b) { return _mm256_add_epi16(a, b); }
  static T Sub(T a, T b) { return _mm256_sub_epi16(a, b); }
  static T CmpEq(T a, T b) { return _mm256_cmpeq_epi16(a, b); }
  static T Select(T mask, T a, T b) { return _mm256_blendv_epi8(b, a, mask); }
  static T Reverse(T a) {
    const T halves = _mm256_permute4x64_epi64(a, 0x4E);
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(_mm256_shuffle_epi32(halves, 0x1B), 0xB1),
                                  0xB1);
  }
};

// 128-bit vectors for spans shorter than one 256-bit vector.
struct Narrow {
  using T = __m128i;
  static constexpr uint32_t L = 8;
  static T Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
  static void Store(uint8_t* p, T v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
  static T Set1(uint16_t v) { return _mm_set1_epi16(static_cast<short>(v)); }
  static T Set1x32(uint32_t v) { return _mm_set1_epi32(static_cast<int>(v)); }
  static T Srli1(T a) { return _mm_srli_epi16(a, 1); }
  static T Srl(T a, uint32_t c) { return _mm_srl_epi16(a, _mm_cvtsi32_si128(static_cast<int>(c))); }
  static T And(T a, T b) { return _mm_and_si128(a, b); }
  static T Or(T a, T b) { return _mm_or_si128(a, b); }
  static T AndNot(T a, T b) { return _mm_andnot_si128(a, b); }
  static T Add(T a, T b) { return _mm_add_epi16(a, b); }
  static T Sub(T a, T b) { return _mm_sub_epi16(a, b); }
  static T CmpEq(T a, T b) { return _mm_cmpeq_epi16(a, b); }
  static T Select(T mask, T a, T b) { return _mm_blendv_epi8(b, a, mask); }
  static T Reverse(T a) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(_mm_shuffle_epi32(a, 0x1B), 0xB1), 0xB1);
  }
};

const QDLBlitSimdSet kAvx2Set = {
    "avx2",
    ImplHalf16<Avx2, Narrow>,
    ImplTrans16<Avx2, Narrow>,
    ImplAlpha16<Avx2, Narrow>,
    ImplKey16<Avx2, Narrow>,
    ImplHalfFill16<Avx2, Narrow>,
    ImplTransFill16<Avx2, Narrow>,
    QDLBlitLookup16,  // gathers are slower than plain loads
    ImplFill16<Avx2, Narrow>,
    ImplFill32<Avx2, Narrow>,
    ImplCopyRev16<Avx2, Narrow>,
    ImplHalfRev16<Avx2, Narrow>,
    ImplTransRev16<Avx2, Narrow>,
    ImplAlphaRev16<Avx2, Narrow>,
    ImplKeyRev16<Avx2, Narrow>,
    nullptr,
    nullptr,
    nullptr,
};

}  // namespace

const QDLBlitSimdSet* QDLBlitSimdAvx2Set() { return &kAvx2Set; }

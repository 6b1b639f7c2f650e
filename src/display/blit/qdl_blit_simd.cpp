// Scalar and SSE2 spans of the 16-bit blends and fills, and the choice of
// the set in use.
#include "display/blit/qdl_blit_simd.h"

#include <cstddef>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <emmintrin.h>
#define QDL_BLIT_X86 1
#endif

#include "display/blit/qdl_blit_simd_impl.h"

// Colour-table lookup, one load per pixel; every set uses it. Eight
// indices are read at once and their pixels stored as two 64-bit words.
void QDLBlitLookup16(uint8_t* out, const uint16_t* table, const uint8_t* index, uint32_t n) {
  uint32_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t ix;
    std::memcpy(&ix, index + i, 8);
    const uint64_t lo = static_cast<uint64_t>(table[ix & 0xFF]) |
                        static_cast<uint64_t>(table[(ix >> 8) & 0xFF]) << 16 |
                        static_cast<uint64_t>(table[(ix >> 16) & 0xFF]) << 32 |
                        static_cast<uint64_t>(table[(ix >> 24) & 0xFF]) << 48;
    const uint64_t hi = static_cast<uint64_t>(table[(ix >> 32) & 0xFF]) |
                        static_cast<uint64_t>(table[(ix >> 40) & 0xFF]) << 16 |
                        static_cast<uint64_t>(table[(ix >> 48) & 0xFF]) << 32 |
                        static_cast<uint64_t>(table[ix >> 56]) << 48;
    std::memcpy(out + 2 * i, &lo, 8);
    std::memcpy(out + 2 * i + 8, &hi, 8);
  }
  for (; i < n; ++i) ImplStore16(out + 2 * i, table[index[i]]);
}

namespace {

// ---------------------------------------------------------------------------
// Scalar set: one pixel at a time, the reference for the vector sets.
void ScalarHalf16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t mask) {
  for (uint32_t i = 0; i < n; ++i) {
    ImplStore16(d + 2 * i, qdlblit::HalfBlend(ImplLoad16(s + 2 * i), ImplLoad16(d + 2 * i), mask));
  }
}
void ScalarTrans16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t level, uint32_t mask) {
  for (uint32_t i = 0; i < n; ++i) {
    ImplStore16(d + 2 * i,
                qdlblit::TransBlend(ImplLoad16(s + 2 * i), ImplLoad16(d + 2 * i), level, mask));
  }
}
void ScalarAlpha16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t colour, uint32_t shift,
                   uint32_t mask) {
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t cov = (static_cast<uint32_t>(ImplLoad16(s + 2 * i)) >> shift) & 31u;
    ImplStore16(d + 2 * i, qdlblit::AlphaBlend(cov, colour, ImplLoad16(d + 2 * i), mask));
  }
}
void ScalarKey16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t key) {
  for (uint32_t i = 0; i < n; ++i) {
    const uint16_t v = ImplLoad16(s + 2 * i);
    if (v != (key & 0xFFFFu)) ImplStore16(d + 2 * i, v);
  }
}
void ScalarHalfFill16(uint8_t* d, uint32_t n, uint32_t sourceHalf, uint32_t mask) {
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t dv = ImplLoad16(d + 2 * i);
    ImplStore16(d + 2 * i, static_cast<uint16_t>(sourceHalf + ((dv >> 1) & mask)));
  }
}
void ScalarTransFill16(uint8_t* d, uint32_t n, uint32_t sourcePart, uint32_t level,
                       uint32_t mask) {
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t dv = ImplLoad16(d + 2 * i);
    ImplStore16(d + 2 * i, static_cast<uint16_t>(sourcePart +
                                                 qdlblit::HalvingSum(dv, ~level & 31u, mask)));
  }
}
void ScalarFill16(uint8_t* d, uint32_t n, uint16_t v) {
  for (uint32_t i = 0; i < n; ++i) ImplStore16(d + 2 * i, v);
}
void ScalarFill32(uint8_t* d, uint32_t n, uint32_t v) {
  for (uint32_t i = 0; i < n; ++i) std::memcpy(d + 4 * i, &v, 4);
}

void ScalarCopyRev16(uint8_t* d, const uint8_t* s, uint32_t n) {
  for (uint32_t i = 0; i < n; ++i) std::memcpy(d - 2 * static_cast<std::ptrdiff_t>(i), s + 2 * i, 2);
}
void ScalarHalfRev16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t mask) {
  for (uint32_t i = 0; i < n; ++i) {
    uint8_t* q = d - 2 * static_cast<std::ptrdiff_t>(i);
    ImplStore16(q, qdlblit::HalfBlend(ImplLoad16(s + 2 * i), ImplLoad16(q), mask));
  }
}
void ScalarTransRev16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t level, uint32_t mask) {
  for (uint32_t i = 0; i < n; ++i) {
    uint8_t* q = d - 2 * static_cast<std::ptrdiff_t>(i);
    ImplStore16(q, qdlblit::TransBlend(ImplLoad16(s + 2 * i), ImplLoad16(q), level, mask));
  }
}
void ScalarAlphaRev16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t colour, uint32_t shift,
                      uint32_t mask) {
  for (uint32_t i = 0; i < n; ++i) {
    uint8_t* q = d - 2 * static_cast<std::ptrdiff_t>(i);
    const uint32_t cov = (static_cast<uint32_t>(ImplLoad16(s + 2 * i)) >> shift) & 31u;
    ImplStore16(q, qdlblit::AlphaBlend(cov, colour, ImplLoad16(q), mask));
  }
}
void ScalarKeyRev16(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t key) {
  for (uint32_t i = 0; i < n; ++i) {
    const uint16_t v = ImplLoad16(s + 2 * i);
    if (v != (key & 0xFFFFu)) ImplStore16(d - 2 * static_cast<std::ptrdiff_t>(i), v);
  }
}

const QDLBlitSimdSet kScalarSet = {
    "scalar",          ScalarHalf16,   ScalarTrans16, ScalarAlpha16, ScalarKey16, ScalarHalfFill16,
    ScalarTransFill16, QDLBlitLookup16, ScalarFill16,  ScalarFill32,
    ScalarCopyRev16,   ScalarHalfRev16, ScalarTransRev16, ScalarAlphaRev16, ScalarKeyRev16,
    nullptr,           nullptr,         nullptr,
};

#ifdef QDL_BLIT_X86
struct Sse2 {
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
  static T Select(T mask, T a, T b) { return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b)); }
  static T Reverse(T a) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(_mm_shuffle_epi32(a, 0x1B), 0xB1), 0xB1);
  }
};

const QDLBlitSimdSet kSse2Set = {
    "sse2",
    ImplHalf16<Sse2, Sse2>,
    ImplTrans16<Sse2, Sse2>,
    ImplAlpha16<Sse2, Sse2>,
    ImplKey16<Sse2, Sse2>,
    ImplHalfFill16<Sse2, Sse2>,
    ImplTransFill16<Sse2, Sse2>,
    QDLBlitLookup16,
    ImplFill16<Sse2, Sse2>,
    ImplFill32<Sse2, Sse2>,
    ImplCopyRev16<Sse2, Sse2>,
    ImplHalfRev16<Sse2, Sse2>,
    ImplTransRev16<Sse2, Sse2>,
    ImplAlphaRev16<Sse2, Sse2>,
    ImplKeyRev16<Sse2, Sse2>,
    nullptr,
    nullptr,
    nullptr,
};
#endif

}  // namespace

#ifdef QDL_BLIT_X86
// Defined in the AVX2 and AVX-512 translation units.
const QDLBlitSimdSet* QDLBlitSimdAvx2Set();
void QDLBlitLookup16Avx512(uint8_t* out, const uint16_t* table, const uint8_t* index, uint32_t n);
void QDLBlitTrans16Avx512(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t level, uint32_t mask);
void QDLBlitTransRev16Avx512(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t level, uint32_t mask);
void QDLBlitTransFill16Avx512(uint8_t* d, uint32_t n, uint32_t part, uint32_t level, uint32_t mask);
void QDLBlitHalfLookup16Avx512(uint8_t* d, const uint16_t* table, const uint8_t* index, uint32_t n,
                               uint32_t mask);
void QDLBlitTransLookup16Avx512(uint8_t* d, const uint16_t* table, const uint8_t* index, uint32_t n,
                                uint32_t level, uint32_t mask);
const QDLBlitWideKernels* QDLBlitWideKernelsAvx512();

const QDLBlitSimdSet* qdlBlitSimd = &kSse2Set;

namespace {
bool HasAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}
bool HasAvx512() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f") &&
         __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
}
// The whole kernels also permute bytes.
bool HasAvx512Vbmi() {
  __builtin_cpu_init();
  return HasAvx512() && __builtin_cpu_supports("avx512vbmi");
}
// The AVX2 set with the AVX-512 colour-table lookup and translucent blends.
const QDLBlitSimdSet* Avx512Set() {
  static const QDLBlitSimdSet set = [] {
    QDLBlitSimdSet s = *QDLBlitSimdAvx2Set();
    s.name = "avx512";
    s.lookup16 = QDLBlitLookup16Avx512;
    s.trans16 = QDLBlitTrans16Avx512;
    s.transRev16 = QDLBlitTransRev16Avx512;
    s.transFill16 = QDLBlitTransFill16Avx512;
    s.halfLookup16 = QDLBlitHalfLookup16Avx512;
    s.transLookup16 = QDLBlitTransLookup16Avx512;
    s.wide = HasAvx512Vbmi() ? QDLBlitWideKernelsAvx512() : nullptr;
    return s;
  }();
  return &set;
}
// Picks the widest set at start-up.
struct SimdChooser {
  SimdChooser() {
    if (HasAvx512()) {
      qdlBlitSimd = Avx512Set();
    } else if (HasAvx2()) {
      qdlBlitSimd = QDLBlitSimdAvx2Set();
    }
  }
} gSimdChooser;
}  // namespace
#else
const QDLBlitSimdSet* qdlBlitSimd = &kScalarSet;
#endif

const QDLBlitSimdSet* QDLBlitSimdSetGet(int which) {
  switch (which) {
    case 0:
      return &kScalarSet;
#ifdef QDL_BLIT_X86
    case 1:
      return &kSse2Set;
    case 2:
      return HasAvx2() ? QDLBlitSimdAvx2Set() : nullptr;
    case 3:
      return HasAvx512() ? Avx512Set() : nullptr;
#endif
    default:
      return nullptr;
  }
}

bool QDLBlitSimdSelectForTest(int which) {
  const QDLBlitSimdSet* set = QDLBlitSimdSetGet(which);
  if (!set) return false;
  qdlBlitSimd = set;
  return true;
}

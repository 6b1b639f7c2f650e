// Colour-table lookups and translucent blends with 512-bit word permutes.
// This file alone is built for AVX-512 (F, BW, VL); it is used only after the
// processor has been found to have it.
//
// Lookups: the 256 entries sit in eight registers; each pair of them is one
// 64-entry table, and bits 6 and 7 of the index pick among the four.
//
// Translucent blends: the halving chain works on each colour field on its
// own (the mask stops every halving at the field's edge and no sum spills
// into the next field), so a level's share of a field is a function of the
// field's value alone: a 64-entry table per level, looked up per field with
// one permute instead of five shift-mask-subtract steps. The 5-6-5 and 5-5-5
// masks take this path for spans of 32 pixels or more; shorter spans and
// any other mask go to the AVX2 chain.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include <immintrin.h>

#include "display/blit/qdl_blit_simd.h"

const QDLBlitSimdSet* QDLBlitSimdAvx2Set();

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

// ---------------------------------------------------------------------------
// Translucent blends.

// share[bits][f]: the sum of the halving steps of a field of value f that the
// set bits of `bits` choose (bit 4 the first halving, bit 0 the fifth).
struct ShareTables {
  alignas(64) uint16_t share[32][64];
};
const ShareTables& Shares() {
  static const ShareTables tables = [] {
    ShareTables t{};
    for (uint32_t bits = 0; bits < 32; ++bits)
      for (uint32_t f = 0; f < 64; ++f)
        t.share[bits][f] = static_cast<uint16_t>(qdlblit::HalvingSum(f, bits, 0xFFFFu));
    return t;
  }();
  return tables;
}

// One level's table: entries 0-31 and 32-63.
struct Share {
  __m512i lo, hi;
};
inline Share ShareOf(uint32_t bits) {
  const uint16_t* t = Shares().share[bits & 31u];
  return Share{_mm512_load_si512(t), _mm512_load_si512(t + 32)};
}

// The field layouts of the two 16-bit formats: blue in bits 0-4; green of
// six bits from 5 (5-6-5, red from 11) or of five (5-5-5, red from 10; bit
// 15 halves to nothing).
template <bool G6>
struct Layout {
  static constexpr int kRed = G6 ? 11 : 10;
  // The shares of the three fields of p, each in the low bits of its lane.
  static void Parts(const Share& t, __m512i p, __m512i* b, __m512i* g, __m512i* r) {
    *b = _mm512_permutexvar_epi16(p, t.lo);  // the permute reads bits 0-4 of each index
    const __m512i gi = _mm512_srli_epi16(p, 5);
    if constexpr (G6) *g = _mm512_permutex2var_epi16(t.lo, gi, t.hi);  // bits 0-5
    else *g = _mm512_permutexvar_epi16(gi, t.lo);
    *r = _mm512_permutexvar_epi16(_mm512_srli_epi16(p, kRed), t.lo);
  }
  static __m512i Join(__m512i b, __m512i g, __m512i r) {
    return _mm512_add_epi16(_mm512_add_epi16(b, _mm512_slli_epi16(g, 5)), _mm512_slli_epi16(r, kRed));
  }
  // A fill run: the source's share, summed once, plus the destination's.
  static __m512i Fill(const Share& td, __m512i part, __m512i d) {
    __m512i db, dg, dr;
    Parts(td, d, &db, &dg, &dr);
    return _mm512_add_epi16(part, Join(db, dg, dr));
  }
  // The source's share by s's fields plus the destination's by d's.
  static __m512i Blend(const Share& ts, const Share& td, __m512i s, __m512i d) {
    __m512i sb, sg, sr, db, dg, dr;
    Parts(ts, s, &sb, &sg, &sr);
    Parts(td, d, &db, &dg, &dr);
    return Join(_mm512_add_epi16(sb, db), _mm512_add_epi16(sg, dg), _mm512_add_epi16(sr, dr));
  }
};

// Runs a body over n >= 32 pixels, 32 at a time: whole vectors, then one last
// vector that ends at pixel n and overlaps the one before it. The last vector
// is computed from the pixels as they were before the span was written, so
// the pixels written twice get the same value both times.
template <class B>
void Span(uint32_t n, const B& body) {
  const uint32_t lastIndex = n - 32;
  const bool ragged = (n % 32) != 0;
  __m512i last = _mm512_setzero_si512();
  if (ragged) last = body.Run(lastIndex);
  for (uint32_t i = 0; i + 32 <= n; i += 32) body.Store(i, body.Run(i));
  if (ragged) body.Store(lastIndex, last);
}

template <bool G6>
struct TransBody {
  uint8_t* d;
  const uint8_t* s;
  Share ts, td;
  __m512i Run(uint32_t i) const {
    return Layout<G6>::Blend(ts, td, _mm512_loadu_si512(s + 2 * i), _mm512_loadu_si512(d + 2 * i));
  }
  void Store(uint32_t i, __m512i v) const { _mm512_storeu_si512(d + 2 * i, v); }
};

template <bool G6>
struct TransFillBody {
  uint8_t* d;
  Share td;
  __m512i part;
  __m512i Run(uint32_t i) const { return Layout<G6>::Fill(td, part, _mm512_loadu_si512(d + 2 * i)); }
  void Store(uint32_t i, __m512i v) const { _mm512_storeu_si512(d + 2 * i, v); }
};

// Source pixel i lands i pixels left of dRight: the vector of source pixels
// [i, i + 32), reversed, lands on the 32 destination pixels that end at
// dRight - i.
template <bool G6>
struct TransRevBody {
  uint8_t* dRight;
  const uint8_t* s;
  Share ts, td;
  __m512i reverse;
  uint8_t* Dest(uint32_t i) const { return dRight - 2 * static_cast<std::ptrdiff_t>(i + 31); }
  __m512i Run(uint32_t i) const {
    const __m512i vs = _mm512_permutexvar_epi16(reverse, _mm512_loadu_si512(s + 2 * i));
    return Layout<G6>::Blend(ts, td, vs, _mm512_loadu_si512(Dest(i)));
  }
  void Store(uint32_t i, __m512i v) const { _mm512_storeu_si512(Dest(i), v); }
};

__m512i ReverseLanes() {
  return _mm512_set_epi16(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22,
                          23, 24, 25, 26, 27, 28, 29, 30, 31);
}

const QDLBlitSimdSet* Avx2() { return QDLBlitSimdAvx2Set(); }

// The permuted path: spans of a vector or more in the two 16-bit layouts.
bool Permuted(uint32_t n, uint32_t mask) { return n >= 32 && (mask == 0x7BEFu || mask == 0xBDEFu); }

}  // namespace

// Spans shorter than one vector, and masks of other layouts, go to the AVX2
// chain.
void QDLBlitTrans16Avx512(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t level, uint32_t mask) {
  if (!Permuted(n, mask)) return Avx2()->trans16(d, s, n, level, mask);
  const Share ts = ShareOf(level), td = ShareOf(~level);
  if (mask == 0x7BEFu) Span(n, TransBody<true>{d, s, ts, td});
  else Span(n, TransBody<false>{d, s, ts, td});
}

void QDLBlitTransFill16Avx512(uint8_t* d, uint32_t n, uint32_t part, uint32_t level, uint32_t mask) {
  if (!Permuted(n, mask)) return Avx2()->transFill16(d, n, part, level, mask);
  const Share td = ShareOf(~level);
  const __m512i vp = _mm512_set1_epi16(static_cast<short>(part));
  if (mask == 0x7BEFu) Span(n, TransFillBody<true>{d, td, vp});
  else Span(n, TransFillBody<false>{d, td, vp});
}

void QDLBlitTransRev16Avx512(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t level, uint32_t mask) {
  if (!Permuted(n, mask)) return Avx2()->transRev16(d, s, n, level, mask);
  const Share ts = ShareOf(level), td = ShareOf(~level);
  if (mask == 0x7BEFu) Span(n, TransRevBody<true>{d, s, ts, td, ReverseLanes()});
  else Span(n, TransRevBody<false>{d, s, ts, td, ReverseLanes()});
}

// Kept whole (no split-off part for callers in this file): split, its table
// registers went through the stack on every call.
[[gnu::noipa]] void QDLBlitLookup16Avx512(uint8_t* out, const uint16_t* table, const uint8_t* index,
                                         uint32_t n) {
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

// ---------------------------------------------------------------------------
// Lookups blended in the same pass: each vector of 32 indices is looked up in
// registers and blended with the destination, with no buffer in between.

namespace {

struct Table {
  __m512i t[8];
  explicit Table(const uint16_t* table) {
    for (int k = 0; k < 8; ++k) t[k] = _mm512_loadu_si512(table + 32 * k);
  }
  __m512i At(const uint8_t* index) const {
    return Lookup32(t, _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(index))));
  }
  // The first m (< 32) pixels only; masked-off bytes are neither read nor
  // written.
  __m512i AtFirst(const uint8_t* index, __mmask32 k) const {
    return Lookup32(t, _mm512_cvtepu8_epi16(_mm256_maskz_loadu_epi8(k, index)));
  }
};

template <class F>
void LookupSpan(uint8_t* d, const Table& table, const uint8_t* index, uint32_t n, const F& blend) {
  if (n < 32) {
    const __mmask32 k = static_cast<__mmask32>((1ull << n) - 1);
    _mm512_mask_storeu_epi16(d, k, blend(table.AtFirst(index, k), _mm512_maskz_loadu_epi16(k, d)));
    return;
  }
  struct Body {
    uint8_t* d;
    const Table& table;
    const uint8_t* index;
    const F& blend;
    __m512i Run(uint32_t i) const { return blend(table.At(index + i), _mm512_loadu_si512(d + 2 * i)); }
    void Store(uint32_t i, __m512i v) const { _mm512_storeu_si512(d + 2 * i, v); }
  };
  Span(n, Body{d, table, index, blend});
}

}  // namespace

void QDLBlitHalfLookup16Avx512(uint8_t* d, const uint16_t* table, const uint8_t* index, uint32_t n,
                               uint32_t mask) {
  if (n == 0) return;
  const __m512i m = _mm512_set1_epi16(static_cast<short>(mask));
  LookupSpan(d, Table(table), index, n, [m](__m512i vs, __m512i vd) {
    return _mm512_add_epi16(_mm512_and_si512(_mm512_srli_epi16(vs, 1), m),
                            _mm512_and_si512(_mm512_srli_epi16(vd, 1), m));
  });
}

void QDLBlitTransLookup16Avx512(uint8_t* d, const uint16_t* table, const uint8_t* index, uint32_t n,
                                uint32_t level, uint32_t mask) {
  if (n == 0) return;
  if (mask != 0x7BEFu && mask != 0xBDEFu) {
    // Other layouts: through a buffer and the AVX2 chain.
    uint16_t buffer[128];
    while (n) {
      const uint32_t m = n < 128 ? n : 128;
      QDLBlitLookup16Avx512(reinterpret_cast<uint8_t*>(buffer), table, index, m);
      Avx2()->trans16(d, reinterpret_cast<const uint8_t*>(buffer), m, level, mask);
      d += 2 * m;
      index += m;
      n -= m;
    }
    return;
  }
  const Share ts = ShareOf(level), td = ShareOf(~level);
  if (mask == 0x7BEFu) {
    LookupSpan(d, Table(table), index, n,
               [&ts, &td](__m512i vs, __m512i vd) { return Layout<true>::Blend(ts, td, vs, vd); });
  } else {
    LookupSpan(d, Table(table), index, n,
               [&ts, &td](__m512i vs, __m512i vd) { return Layout<false>::Blend(ts, td, vs, vd); });
  }
}

// Whole sprite kernels for AVX-512 with byte permutes (F, BW, VL, VBMI): the
// translucent, 50% and alpha-map blends of 16-bit frames and of indexed
// frames through their colour table, and the plain indexed copy. This file
// alone is built for these instructions; its kernels are used only after the
// processor has been found to have them.
//
// The walk over rows and runs is the portable one (qdl_blit_walk.h), compiled
// here with pixel operations whose spans are inline vector loops: a run costs
// no call, its last pixels go through masked loads and stores (masked-off
// bytes are neither read nor written), and everything that depends only on
// the blit (tables, colours, masks) is loaded into registers once per blit.
//
// Translucent blends: a level's share of a colour field depends on the
// field's value alone (the halving mask keeps fields apart), so each field's
// share is one byte permute of a 64-entry table. Each 16-bit pixel is looked
// up in place: its low byte indexes the blue table (the table repeats every
// 32 entries, so the green bit above blue does not matter), the pixel shifted
// so that red sits at the bottom of its high byte indexes the red table, and
// shifted by 5 it indexes the green table. The red table holds each share
// already moved to red's place within the byte, so the blue and red shares
// of source and destination add up in place; green's sum is moved up by 5.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include <immintrin.h>

#include "display/blit/qdl_blit.h"
#include "display/blit/qdl_blit_simd.h"

// The walk, as a copy of its own for this file: nothing compiled for these
// instructions may be shared with code that runs on any processor.
namespace qdlwide512 {
#include "display/blit/qdl_blit_walk.h"
}  // namespace qdlwide512

namespace qdlwide512 {
namespace {

// Everything a span runs is inlined into the span's loop, and the loop works
// on its own copies of the blit's registers: stores through the destination
// pointer could otherwise alias them and force a reload after every store.
#define QDL_WIDE_INLINE [[gnu::always_inline]] inline

// ---------------------------------------------------------------------------
// Tables.

uint32_t Halving(uint32_t f, uint32_t bits) {
  uint32_t acc = 0, r = f;
  for (int b = 4; b >= 0; --b) {
    const uint32_t h = r >> 1;
    if ((bits >> b) & 1u) acc += h;
    r -= h;
  }
  return acc;
}

uint32_t HalvingSum16(uint32_t p, uint32_t bits, uint32_t mask) {
  uint32_t acc = 0, r = p;
  for (int b = 4; b >= 0; --b) {
    const uint32_t h = (r >> 1) & mask;
    if ((bits >> b) & 1u) acc += h;
    r -= h;
  }
  return acc;
}

// share[layout][bits][field][index]: layout 0 is 5-6-5, 1 is 5-5-5; fields
// blue, green, red (red moved to its place in the high byte).
struct ByteShares {
  alignas(64) uint8_t share[2][32][3][64];
};
const ByteShares& Shares() {
  static const ByteShares tables = [] {
    ByteShares t{};
    for (int layout = 0; layout < 2; ++layout)
      for (uint32_t bits = 0; bits < 32; ++bits)
        for (uint32_t x = 0; x < 64; ++x) {
          t.share[layout][bits][0][x] = static_cast<uint8_t>(Halving(x & 31u, bits));
          t.share[layout][bits][1][x] = static_cast<uint8_t>(Halving(layout == 0 ? x : x & 31u, bits));
          t.share[layout][bits][2][x] = static_cast<uint8_t>(Halving(x & 31u, bits) << (layout == 0 ? 3 : 2));
        }
    return t;
  }();
  return tables;
}

// The layout of a halving mask: 0 for 5-6-5, 1 for 5-5-5, -1 for any other.
int LayoutOf(uint32_t mask) { return mask == 0x7BEFu ? 0 : mask == 0xBDEFu ? 1 : -1; }

constexpr __mmask64 kLowBytes = 0x5555555555555555ull;

// One side's shares (a level's or its complement's) for one layout.
struct FieldShares {
  __m512i blue, green, red;
  __m128i redShift;  // 3 (5-6-5) or 2 (5-5-5): red to the bottom of the high byte
  FieldShares(int layout, uint32_t bits) {
    const uint8_t(*t)[64] = Shares().share[layout][bits & 31u];
    blue = _mm512_load_si512(t[0]);
    green = _mm512_load_si512(t[1]);
    red = _mm512_load_si512(t[2]);
    redShift = _mm_cvtsi32_si128(layout == 0 ? 3 : 2);
  }
  // Blue and red shares in place; green's share in the low byte.
  QDL_WIDE_INLINE void Of(__m512i p, __m512i* br, __m512i* g) const {
    const __m512i b = _mm512_maskz_permutexvar_epi8(kLowBytes, p, blue);
    *br = _mm512_mask_permutexvar_epi8(b, ~kLowBytes, _mm512_srl_epi16(p, redShift), red);
    *g = _mm512_maskz_permutexvar_epi8(kLowBytes, _mm512_srli_epi16(p, 5), green);
  }
};

QDL_WIDE_INLINE __m512i Join(__m512i br, __m512i g) { return _mm512_add_epi16(br, _mm512_slli_epi16(g, 5)); }

// ---------------------------------------------------------------------------
// Sources: 16-bit pixels, or indices through the colour table.

QDL_WIDE_INLINE __mmask32 FirstLanes(uint32_t m) { return static_cast<__mmask32>(m >= 32 ? ~0u : (1u << m) - 1); }

struct Source16 {
  static constexpr int P = 2;
  static constexpr bool kPairs = false;
  QDL_WIDE_INLINE void Load2(const uint8_t*, __m512i*, __m512i*) const {}
  explicit Source16(const QDLBlitParams*) {}
  QDL_WIDE_INLINE __m512i Load(const uint8_t* s) const { return _mm512_loadu_si512(s); }
  QDL_WIDE_INLINE __m512i LoadFirst(const uint8_t* s, __mmask32 k) const { return _mm512_maskz_loadu_epi16(k, s); }
  QDL_WIDE_INLINE uint32_t Pixel(const uint8_t* s) const {
    uint16_t v;
    std::memcpy(&v, s, 2);
    return v;
  }
};

// The table's low bytes and high bytes, each in four registers (entries 0-63,
// 64-127, 128-191, 192-255). A byte permute of two registers looks up 128
// entries by the index's low 7 bits; bit 7 picks the half. 64 indices are
// looked up at once: their qwords are put in the order that makes the two
// byte interleaves give pixels 0-31 and 32-63 in place.
struct SourceLookup {
  static constexpr int P = 1;
  static constexpr bool kPairs = true;
  const uint16_t* table;
  __m512i lo[4], hi[4];
  explicit SourceLookup(const QDLBlitParams* p) : table(p->colourTable) {
    const __m512i even = _mm512_set_epi8(126, 124, 122, 120, 118, 116, 114, 112, 110, 108, 106, 104, 102, 100, 98,
                                         96, 94, 92, 90, 88, 86, 84, 82, 80, 78, 76, 74, 72, 70, 68, 66, 64, 62, 60,
                                         58, 56, 54, 52, 50, 48, 46, 44, 42, 40, 38, 36, 34, 32, 30, 28, 26, 24, 22,
                                         20, 18, 16, 14, 12, 10, 8, 6, 4, 2, 0);
    const __m512i odd = _mm512_add_epi8(even, _mm512_set1_epi8(1));
    for (int k = 0; k < 4; ++k) {
      const __m512i a = _mm512_loadu_si512(table + 64 * k), b = _mm512_loadu_si512(table + 64 * k + 32);
      lo[k] = _mm512_permutex2var_epi8(a, even, b);
      hi[k] = _mm512_permutex2var_epi8(a, odd, b);
    }
  }
  // Pixels of the 64 (or, with bytes past the first 32 ignored, 32) indices
  // in idx: a the first 32, b the next.
  QDL_WIDE_INLINE void Lookup64(__m512i idx, __m512i* a, __m512i* b) const {
    idx = _mm512_maskz_permutexvar_epi64(0xFF, _mm512_set_epi64(7, 3, 6, 2, 5, 1, 4, 0), idx);
    const __mmask64 upper = _mm512_movepi8_mask(idx);
    const __m512i l = _mm512_mask_mov_epi8(_mm512_permutex2var_epi8(lo[0], idx, lo[1]), upper,
                                           _mm512_permutex2var_epi8(lo[2], idx, lo[3]));
    const __m512i h = _mm512_mask_mov_epi8(_mm512_permutex2var_epi8(hi[0], idx, hi[1]), upper,
                                           _mm512_permutex2var_epi8(hi[2], idx, hi[3]));
    *a = _mm512_unpacklo_epi8(l, h);
    *b = _mm512_unpackhi_epi8(l, h);
  }
  QDL_WIDE_INLINE void Load2(const uint8_t* s, __m512i* a, __m512i* b) const { Lookup64(_mm512_loadu_si512(s), a, b); }
  QDL_WIDE_INLINE __m512i Load(const uint8_t* s) const {
    __m512i a, b;
    Lookup64(_mm512_maskz_loadu_epi8(0xFFFFFFFFull, s), &a, &b);
    return a;
  }
  QDL_WIDE_INLINE __m512i LoadFirst(const uint8_t* s, __mmask32 k) const {
    __m512i a, b;
    Lookup64(_mm512_maskz_loadu_epi8(static_cast<__mmask64>(k), s), &a, &b);
    return a;
  }
  QDL_WIDE_INLINE uint32_t Pixel(const uint8_t* s) const { return table[*s]; }
};

// ---------------------------------------------------------------------------
// Spans. A span of 32 pixels or more runs whole vectors and ends with one
// whole vector that ends at its last pixel and overlaps the one before: that
// vector is computed from the pixels as they were before the span was
// written, so the pixels written twice get the same value both times. No
// store then reaches past the span, and the next run's loads never wait for
// a store they partly overlap. Shorter spans use masked loads and stores
// (masked-off bytes are neither read nor written).

// Source pixel i onto destination pixel i (B::Run(source, destination)).
template <class S, class B>
QDL_WIDE_INLINE void Forward(const S& srcIn, const B& bodyIn, uint8_t* d, const uint8_t* s, uint32_t n) {
  const S src = srcIn;
  const B body = bodyIn;
  if (n < 32) {
    const __mmask32 k = FirstLanes(n);
    _mm512_mask_storeu_epi16(d, k, body.Run(src.LoadFirst(s, k), _mm512_maskz_loadu_epi16(k, d)));
    return;
  }
  const uint32_t last = n - 32;
  const bool ragged = (n & 31u) != 0;
  __m512i lastValue = _mm512_setzero_si512();
  if (ragged) lastValue = body.Run(src.Load(s + last * S::P), _mm512_loadu_si512(d + 2 * last));
  uint32_t i = 0;
  if constexpr (S::kPairs) {
    for (; i + 64 <= n; i += 64) {
      uint8_t* q = d + 2 * i;
      __m512i a, b;
      src.Load2(s + i * S::P, &a, &b);
      const __m512i ra = body.Run(a, _mm512_loadu_si512(q));
      const __m512i rb = body.Run(b, _mm512_loadu_si512(q + 64));
      _mm512_storeu_si512(q, ra);
      _mm512_storeu_si512(q + 64, rb);
    }
  }
  for (; i + 32 <= n; i += 32) {
    uint8_t* q = d + 2 * i;
    _mm512_storeu_si512(q, body.Run(src.Load(s + i * S::P), _mm512_loadu_si512(q)));
  }
  if (ragged) _mm512_storeu_si512(d + 2 * last, lastValue);
}

QDL_WIDE_INLINE __m512i Lanes() {
  return _mm512_set_epi16(31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10, 9,
                          8, 7, 6, 5, 4, 3, 2, 1, 0);
}

// Source pixel i onto the destination pixel i places left of dRight.
template <class S, class B>
QDL_WIDE_INLINE void Reverse(const S& srcIn, const B& bodyIn, uint8_t* dRight, const uint8_t* s, uint32_t n) {
  const S src = srcIn;
  const B body = bodyIn;
  const __m512i lanes = Lanes();
  if (n < 32) {
    // The n pixels land on the n destination pixels from q rightwards: lane
    // j takes source pixel n - 1 - j.
    const __mmask32 k = FirstLanes(n);
    uint8_t* q = dRight - 2 * static_cast<std::ptrdiff_t>(n - 1);
    const __m512i order = _mm512_sub_epi16(_mm512_set1_epi16(static_cast<short>(n - 1)), lanes);
    const __m512i vs = _mm512_permutexvar_epi16(order, src.LoadFirst(s, k));
    _mm512_mask_storeu_epi16(q, k, body.Run(vs, _mm512_maskz_loadu_epi16(k, q)));
    return;
  }
  // Source pixels [i, i + 32), reversed, land on the 32 destination pixels
  // that end i pixels left of dRight.
  const __m512i reverse = _mm512_sub_epi16(_mm512_set1_epi16(31), lanes);
  auto dest = [dRight](uint32_t i) { return dRight - 2 * static_cast<std::ptrdiff_t>(i + 31); };
  const uint32_t last = n - 32;
  const bool ragged = (n & 31u) != 0;
  __m512i lastValue = _mm512_setzero_si512();
  if (ragged)
    lastValue = body.Run(_mm512_permutexvar_epi16(reverse, src.Load(s + last * S::P)), _mm512_loadu_si512(dest(last)));
  uint32_t i = 0;
  if constexpr (S::kPairs) {
    for (; i + 64 <= n; i += 64) {
      __m512i a, b;
      src.Load2(s + i * S::P, &a, &b);
      uint8_t* qa = dest(i);
      uint8_t* qb = dest(i + 32);
      const __m512i ra = body.Run(_mm512_permutexvar_epi16(reverse, a), _mm512_loadu_si512(qa));
      const __m512i rb = body.Run(_mm512_permutexvar_epi16(reverse, b), _mm512_loadu_si512(qb));
      _mm512_storeu_si512(qa, ra);
      _mm512_storeu_si512(qb, rb);
    }
  }
  for (; i + 32 <= n; i += 32) {
    uint8_t* q = dest(i);
    _mm512_storeu_si512(q, body.Run(_mm512_permutexvar_epi16(reverse, src.Load(s + i * S::P)), _mm512_loadu_si512(q)));
  }
  if (ragged) _mm512_storeu_si512(dest(last), lastValue);
}

// n destination pixels from d, each becoming B::Run(destination).
template <class B>
QDL_WIDE_INLINE void Fill(const B& bodyIn, uint8_t* d, uint32_t n) {
  const B body = bodyIn;
  if (n < 32) {
    const __mmask32 k = FirstLanes(n);
    _mm512_mask_storeu_epi16(d, k, body.Run(_mm512_maskz_loadu_epi16(k, d)));
    return;
  }
  const uint32_t last = n - 32;
  const bool ragged = (n & 31u) != 0;
  __m512i lastValue = _mm512_setzero_si512();
  if (ragged) lastValue = body.Run(_mm512_loadu_si512(d + 2 * last));
  for (uint32_t i = 0; i + 32 <= n; i += 32) {
    uint8_t* q = d + 2 * i;
    _mm512_storeu_si512(q, body.Run(_mm512_loadu_si512(q)));
  }
  if (ragged) _mm512_storeu_si512(d + 2 * last, lastValue);
}

// ---------------------------------------------------------------------------
// Bodies: what 32 pixels become.

struct CopyBody {
  QDL_WIDE_INLINE __m512i Run(__m512i vs, __m512i) const { return vs; }
};

struct HalfBody {
  __m512i mask;
  QDL_WIDE_INLINE __m512i Run(__m512i vs, __m512i vd) const {
    return _mm512_add_epi16(_mm512_and_si512(_mm512_srli_epi16(vs, 1), mask),
                            _mm512_and_si512(_mm512_srli_epi16(vd, 1), mask));
  }
};

struct HalfFillBody {
  __m512i mask, sourceHalf;
  QDL_WIDE_INLINE __m512i Run(__m512i vd) const {
    return _mm512_add_epi16(sourceHalf, _mm512_and_si512(_mm512_srli_epi16(vd, 1), mask));
  }
};

// The source's shares by the level's bits plus the destination's by the
// other bits.
struct TransBody {
  FieldShares source, dest;
  QDL_WIDE_INLINE __m512i Run(__m512i vs, __m512i vd) const {
    __m512i sbr, sg, dbr, dg;
    source.Of(vs, &sbr, &sg);
    dest.Of(vd, &dbr, &dg);
    return Join(_mm512_add_epi16(sbr, dbr), _mm512_add_epi16(sg, dg));
  }
};

// A fill run: the source's share summed once, plus the destination's.
struct TransFillBody {
  FieldShares dest;
  __m512i part;
  QDL_WIDE_INLINE __m512i Run(__m512i vd) const {
    __m512i dbr, dg;
    dest.Of(vd, &dbr, &dg);
    return _mm512_add_epi16(part, Join(dbr, dg));
  }
};

// Coverage blend of raw and literal pixels: the coverage (the source's red
// field) picks, step by step, the colour's halving or the destination's. The
// colour's part is looked up by coverage (entry 31 holds the colour itself,
// which coverage 31 takes whole: no destination step is picked then); the
// destination's steps are added where the coverage bit is clear; coverage 0
// keeps the destination.
struct AlphaBody {
  __m512i mask, colourPart, k31;
  __m128i shift;
  QDL_WIDE_INLINE __m512i Run(__m512i vs, __m512i vd) const {
    const __m512i cov = _mm512_and_si512(_mm512_srl_epi16(vs, shift), k31);
    __m512i acc = _mm512_permutexvar_epi16(cov, colourPart);
    __m512i r = vd;
    for (int k = 0; k < 5; ++k) {
      const __m512i h = _mm512_and_si512(_mm512_srli_epi16(r, 1), mask);
      acc = _mm512_mask_add_epi16(acc, _mm512_testn_epi16_mask(cov, _mm512_set1_epi16(static_cast<short>(16 >> k))),
                                  acc, h);
      r = _mm512_sub_epi16(r, h);
    }
    return _mm512_mask_mov_epi16(acc, _mm512_testn_epi16_mask(cov, k31), vd);
  }
};

// ---------------------------------------------------------------------------
// Pixel operations for the walk (see qdl_blit_walk.h).

template <class S>
struct OpPlain {
  S src;
  explicit OpPlain(const QDLBlitParams* p) : src(p) {}
  static bool Takes(const QDLBlitParams*) { return true; }
  QDL_WIDE_INLINE void Span(uint8_t* d, const uint8_t* s, uint32_t n) { Forward(src, CopyBody{}, d, s, n); }
  QDL_WIDE_INLINE void SpanRev(uint8_t* d, const uint8_t* s, uint32_t n) { Reverse(src, CopyBody{}, d, s, n); }
  QDL_WIDE_INLINE void Fill(uint8_t* d, const uint8_t* s, uint32_t n) {
    const __m512i v = _mm512_set1_epi16(static_cast<short>(src.Pixel(s)));
    qdlwide512::Fill(FillValue{v}, d, n);
  }
  struct FillValue {
    __m512i v;
    QDL_WIDE_INLINE __m512i Run(__m512i) const { return v; }
  };
};

template <class S>
struct OpHalf {
  S src;
  uint32_t mask;
  HalfBody body;
  explicit OpHalf(const QDLBlitParams* p) : src(p), mask(p->halveMask), body{_mm512_set1_epi16(static_cast<short>(p->halveMask))} {}
  static bool Takes(const QDLBlitParams*) { return true; }
  QDL_WIDE_INLINE void Span(uint8_t* d, const uint8_t* s, uint32_t n) { Forward(src, body, d, s, n); }
  QDL_WIDE_INLINE void SpanRev(uint8_t* d, const uint8_t* s, uint32_t n) { Reverse(src, body, d, s, n); }
  QDL_WIDE_INLINE void Fill(uint8_t* d, const uint8_t* s, uint32_t n) {
    const uint32_t half = (src.Pixel(s) >> 1) & mask;
    qdlwide512::Fill(HalfFillBody{body.mask, _mm512_set1_epi16(static_cast<short>(half))}, d, n);
  }
};

// Level 31 exactly copies raw and literal pixels; fill runs always blend.
template <class S>
struct OpTrans {
  S src;
  uint32_t level, mask;
  TransBody body;
  explicit OpTrans(const QDLBlitParams* p)
      : src(p),
        level(p->level),
        mask(p->halveMask),
        body{FieldShares(LayoutOf(p->halveMask), p->level), FieldShares(LayoutOf(p->halveMask), ~p->level)} {}
  static bool Takes(const QDLBlitParams* p) { return LayoutOf(p->halveMask) >= 0; }
  QDL_WIDE_INLINE void Span(uint8_t* d, const uint8_t* s, uint32_t n) {
    if (level == 31) Forward(src, CopyBody{}, d, s, n);
    else Forward(src, body, d, s, n);
  }
  QDL_WIDE_INLINE void SpanRev(uint8_t* d, const uint8_t* s, uint32_t n) {
    if (level == 31) Reverse(src, CopyBody{}, d, s, n);
    else Reverse(src, body, d, s, n);
  }
  QDL_WIDE_INLINE void Fill(uint8_t* d, const uint8_t* s, uint32_t n) {
    const uint32_t part = HalvingSum16(src.Pixel(s), level & 31u, mask);
    qdlwide512::Fill(TransFillBody{body.dest, _mm512_set1_epi16(static_cast<short>(part))}, d, n);
  }
};

// Alpha-map colour; fill runs always blend by their one pixel's coverage.
template <class S>
struct OpAlpha {
  S src;
  uint32_t colour, shift, mask;
  int layout;
  AlphaBody body;
  explicit OpAlpha(const QDLBlitParams* p)
      : src(p),
        colour(p->colour & 0xFFFFu),
        shift(p->level > 16 ? 16u : p->level),
        mask(p->halveMask),
        layout(LayoutOf(p->halveMask)) {
    alignas(64) uint16_t part[32];
    for (uint32_t c = 0; c < 31; ++c) part[c] = static_cast<uint16_t>(HalvingSum16(colour, c, mask));
    part[31] = static_cast<uint16_t>(colour);
    body = AlphaBody{_mm512_set1_epi16(static_cast<short>(mask)), _mm512_load_si512(part), _mm512_set1_epi16(31),
                     _mm_cvtsi32_si128(static_cast<int>(shift))};
  }
  static bool Takes(const QDLBlitParams* p) { return LayoutOf(p->halveMask) >= 0; }
  QDL_WIDE_INLINE void Span(uint8_t* d, const uint8_t* s, uint32_t n) { Forward(src, body, d, s, n); }
  QDL_WIDE_INLINE void SpanRev(uint8_t* d, const uint8_t* s, uint32_t n) { Reverse(src, body, d, s, n); }
  QDL_WIDE_INLINE void Fill(uint8_t* d, const uint8_t* s, uint32_t n) {
    const uint32_t c = (src.Pixel(s) >> shift) & 31u;
    const uint32_t part = HalvingSum16(colour, c, mask);
    qdlwide512::Fill(TransFillBody{FieldShares(layout, ~c), _mm512_set1_epi16(static_cast<short>(part))}, d, n);
  }
};

// ---------------------------------------------------------------------------
// Kernels and their table.

template <class OP, int P, bool MX, bool MY, int ENC>
uint32_t Kernel(QDL_BLIT_KERNEL_ARGS) {
  if (!OP::Takes(pParams)) return QDLBLIT_WIDE_DECLINED;
  return qdlblit::Walk<OP, P, 2, MX, MY, ENC>(pSurface, pFrame, x, y, flags, pParams, clipFlags);
}

template <class OP, int P, bool MX, bool MY>
constexpr void Slots(QDLBlitKernel* k) {
  k[0] = nullptr;
  k[1] = &Kernel<OP, P, MX, MY, qdlblit::kRaw>;
  k[2] = &Kernel<OP, P, MX, MY, qdlblit::kRle>;
  k[3] = &Kernel<OP, P, MX, MY, qdlblit::kRleFill>;
}

template <class OP, int P>
constexpr void Family(QDLBlitKernel* k) {
  Slots<OP, P, false, false>(k);
  Slots<OP, P, true, false>(k + 4);
  Slots<OP, P, false, true>(k + 8);
  Slots<OP, P, true, true>(k + 12);
}

constexpr QDLBlitWideKernels MakeKernels() {
  QDLBlitWideKernels w{};
  Family<OpTrans<Source16>, 2>(w.kernel[QDLBLIT_WIDE_16_TRANS]);
  Family<OpHalf<Source16>, 2>(w.kernel[QDLBLIT_WIDE_16_HALF]);
  Family<OpAlpha<Source16>, 2>(w.kernel[QDLBLIT_WIDE_16_ALPHA]);
  Family<OpPlain<SourceLookup>, 1>(w.kernel[QDLBLIT_WIDE_8_PLAIN]);
  Family<OpTrans<SourceLookup>, 1>(w.kernel[QDLBLIT_WIDE_8_TRANS]);
  Family<OpHalf<SourceLookup>, 1>(w.kernel[QDLBLIT_WIDE_8_HALF]);
  Family<OpAlpha<SourceLookup>, 1>(w.kernel[QDLBLIT_WIDE_8_ALPHA]);
  return w;
}

constexpr QDLBlitWideKernels kKernels = MakeKernels();

}  // namespace
}  // namespace qdlwide512

const QDLBlitWideKernels* QDLBlitWideKernelsAvx512() { return &qdlwide512::kKernels; }

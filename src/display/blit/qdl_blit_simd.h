#pragma once
// Vectorised spans of the 16-bit blends and fills. Every routine gives
// exactly the result of its scalar twin (qdl_blit_simd.cpp) and touches no
// byte outside the count pixels it is given. The set in use is picked once,
// at start-up, by what the processor offers (SSE2 is the x86-64 baseline,
// AVX2 when present, and AVX-512 for the colour-table lookups and the
// translucent blends; with its byte permutes too, AVX-512 also brings whole
// kernels for the blends and lookups, qdl_blit_wide_avx512.cpp).
#include <cstdint>

#include "display/blit/qdl_blit.h"

// Families of whole kernels that a vector set may build itself: the walk and
// its pixel operation compiled together, so that no run of pixels goes
// through a call and the blend's tables stay in registers for the whole blit.
enum : uint32_t {
  QDLBLIT_WIDE_16_TRANS,
  QDLBLIT_WIDE_16_HALF,
  QDLBLIT_WIDE_16_ALPHA,
  QDLBLIT_WIDE_8_PLAIN,
  QDLBLIT_WIDE_8_TRANS,
  QDLBLIT_WIDE_8_HALF,
  QDLBLIT_WIDE_8_ALPHA,
  QDLBLIT_WIDE_FAMILIES,
};
// Returned by a whole kernel that leaves the request to the portable kernel
// (a halving mask of neither 16-bit layout, say).
constexpr uint32_t QDLBLIT_WIDE_DECLINED = 0xFFFFFFFFu;
// kernel[family][flip * 4 + encoding], as in the records; null slots run the
// portable kernel.
struct QDLBlitWideKernels {
  QDLBlitKernel kernel[QDLBLIT_WIDE_FAMILIES][16];
};

struct QDLBlitSimdSet {
  const char* name;
  // Forward spans: d[i] = f(s[i], d[i]) for i = 0 .. n-1. d and s may be unaligned.
  void (*half16)(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t mask);
  void (*trans16)(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t level, uint32_t mask);
  void (*alpha16)(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t colour, uint32_t shift,
                  uint32_t mask);
  // Colour key: d[i] = s[i] where s[i] differs from the key.
  void (*key16)(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t key);
  // Fill runs: d[i] = f(d[i]) with the source's share already summed.
  void (*halfFill16)(uint8_t* d, uint32_t n, uint32_t sourceHalf, uint32_t mask);
  void (*transFill16)(uint8_t* d, uint32_t n, uint32_t sourcePart, uint32_t level, uint32_t mask);
  // Colour-table lookup: out[i] = table[index[i]] as 16-bit pixels.
  void (*lookup16)(uint8_t* out, const uint16_t* table, const uint8_t* index, uint32_t n);
  // Stores of one value.
  void (*fill16)(uint8_t* d, uint32_t n, uint16_t v);
  void (*fill32)(uint8_t* d, uint32_t n, uint32_t v);
  // Reversed spans: source pixel i onto the pixel i places left of d (d is
  // the rightmost pixel), for the mirrored kernels.
  void (*copyRev16)(uint8_t* d, const uint8_t* s, uint32_t n);
  void (*halfRev16)(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t mask);
  void (*transRev16)(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t level, uint32_t mask);
  void (*alphaRev16)(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t colour, uint32_t shift,
                     uint32_t mask);
  void (*keyRev16)(uint8_t* d, const uint8_t* s, uint32_t n, uint32_t key);
  // Forward spans of indices looked up in the colour table and blended in one
  // pass: d[i] = f(table[index[i]], d[i]). Null where the set has none (the
  // kernels then look up into a buffer and blend that).
  void (*halfLookup16)(uint8_t* d, const uint16_t* table, const uint8_t* index, uint32_t n, uint32_t mask);
  void (*transLookup16)(uint8_t* d, const uint16_t* table, const uint8_t* index, uint32_t n, uint32_t level,
                        uint32_t mask);
  // Whole kernels of this set, or null.
  const QDLBlitWideKernels* wide;
};

// The colour-table lookup every set uses (a plain load per pixel).
void QDLBlitLookup16(uint8_t* out, const uint16_t* table, const uint8_t* index, uint32_t n);

// The set the kernels use.
extern const QDLBlitSimdSet* qdlBlitSimd;

// Sets available on this machine: 0 scalar, 1 SSE2, 2 AVX2, 3 AVX2 with the
// AVX-512 lookup and translucent blends. Null when absent.
const QDLBlitSimdSet* QDLBlitSimdSetGet(int which);
// Tests and benchmarks: use set `which`; returns false (and changes nothing)
// when the machine lacks it.
bool QDLBlitSimdSelectForTest(int which);

// The per-pixel scalar blends the vector code reproduces.
namespace qdlblit {

// Sum of the steps of p's halving chain chosen by the set bits of `bits`
// (bit 4 the first halving, bit 0 the fifth).
inline uint32_t HalvingSum(uint32_t p, uint32_t bits, uint32_t mask) {
  uint32_t acc = 0;
  uint32_t r = p;
  for (int b = 4; b >= 0; --b) {
    uint32_t h = (r >> 1) & mask;
    if ((bits >> b) & 1u) acc += h;
    r -= h;
  }
  return acc;
}

// Translucent blend: the source's steps for the set level bits plus the
// destination's steps for the clear ones; bits 5 and above play no part.
inline uint16_t TransBlend(uint32_t s, uint32_t d, uint32_t level, uint32_t mask) {
  return static_cast<uint16_t>(HalvingSum(s, level & 31u, mask) +
                               HalvingSum(d, ~level & 31u, mask));
}

inline uint16_t HalfBlend(uint32_t s, uint32_t d, uint32_t mask) {
  return static_cast<uint16_t>(((s >> 1) & mask) + ((d >> 1) & mask));
}

// Coverage blend of a raw or literal pixel: coverage 0 keeps d, 31 gives the
// colour exactly, anything between mixes by the coverage's bits.
inline uint16_t AlphaBlend(uint32_t coverage, uint32_t colour, uint32_t d, uint32_t mask) {
  if (coverage == 0) return static_cast<uint16_t>(d);
  if (coverage == 31) return static_cast<uint16_t>(colour);
  return TransBlend(colour & 0xFFFFu, d, coverage, mask);
}

}  // namespace qdlblit

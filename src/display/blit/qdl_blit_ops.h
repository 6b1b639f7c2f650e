#pragma once
// Pixel operations of the sprite kernels: what a kernel stores for the
// source pixels that the walk (qdl_blit_walk.h) hands it. Each op reads the
// fields of the parameter block it needs once, when the kernel starts.
#include <cstdint>
#include <cstring>

#include "display/blit/qdl_blit.h"
#include "display/blit/qdl_blit_simd.h"
#include "display/blit/qdl_blit_walk.h"

namespace qdlblit {

// Pixels looked up per pass when an indexed span feeds a vector blend.
constexpr uint32_t kLookupChunk = 128;

inline void LookupSpan(uint16_t* out, const uint16_t* table, const uint8_t* s, uint32_t n) {
  qdlBlitSimd->lookup16(reinterpret_cast<uint8_t*>(out), table, s, n);
}

// A P-byte pixel as a value (the low P bytes of a u32, in memory order).
template <int P>
inline uint32_t LoadPixel(const uint8_t* p) {
  if constexpr (P == 1) return p[0];
  if constexpr (P == 2) return Load16(p);
  if constexpr (P == 3) return static_cast<uint32_t>(Load16(p)) | (static_cast<uint32_t>(p[2]) << 16);
  if constexpr (P == 4) return Load32(p);
}

template <int P>
inline void StorePixel(uint8_t* p, uint32_t v) {
  if constexpr (P == 1) p[0] = static_cast<uint8_t>(v);
  if constexpr (P == 2) Store16(p, static_cast<uint16_t>(v));
  if constexpr (P == 3) {
    Store16(p, static_cast<uint16_t>(v));
    p[2] = static_cast<uint8_t>(v >> 16);
  }
  if constexpr (P == 4) Store32(p, v);
}

// n pixels of one value from d rightwards.
template <int P>
inline void FillPixels(uint8_t* d, uint32_t n, uint32_t v) {
  if constexpr (P == 1) {
    std::memset(d, static_cast<int>(v & 0xFF), n);
  } else if constexpr (P == 2) {
    qdlBlitSimd->fill16(d, n, static_cast<uint16_t>(v));
  } else if constexpr (P == 4) {
    qdlBlitSimd->fill32(d, n, v);
  } else {
    for (uint32_t i = 0; i < n; ++i) StorePixel<P>(d + i * P, v);
  }
}

// ---------------------------------------------------------------------------
// Plain copy of same-size pixels (8-to-8, 16-to-16, 24-to-24, 32-to-32).
template <int P>
struct OpCopy {
  explicit OpCopy(const QDLBlitParams*) {}
  void Span(uint8_t* d, const uint8_t* s, uint32_t n) { std::memcpy(d, s, static_cast<size_t>(n) * P); }
  void SpanRev(uint8_t* d, const uint8_t* s, uint32_t n) {
    if constexpr (P == 2) {
      qdlBlitSimd->copyRev16(d, s, n);
    } else {
      for (uint32_t i = 0; i < n; ++i) std::memcpy(d - static_cast<ptrdiff_t>(i) * P, s + i * P, P);
    }
  }
  void Fill(uint8_t* d, const uint8_t* s, uint32_t n) { FillPixels<P>(d, n, LoadPixel<P>(s)); }
};

// Plain copy of indices through the colour table (8-to-16).
struct OpLookup16 {
  const uint16_t* table;
  explicit OpLookup16(const QDLBlitParams* p) : table(p->colourTable) {}
  void Span(uint8_t* d, const uint8_t* s, uint32_t n) { qdlBlitSimd->lookup16(d, table, s, n); }
  void SpanRev(uint8_t* d, const uint8_t* s, uint32_t n);
  void Fill(uint8_t* d, const uint8_t* s, uint32_t n) { qdlBlitSimd->fill16(d, n, table[*s]); }
};

// Colour key on indices, translated through the colour table (8-to-16).
struct OpKeyLookup16 {
  const uint16_t* table;
  uint8_t key;
  explicit OpKeyLookup16(const QDLBlitParams* p)
      : table(p->colourTable), key(static_cast<uint8_t>(p->colour)) {}
  void Span(uint8_t* d, const uint8_t* s, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) {
      if (s[i] != key) Store16(d + 2 * i, table[s[i]]);
    }
  }
  void SpanRev(uint8_t* d, const uint8_t* s, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) {
      if (s[i] != key) Store16(d - 2 * static_cast<ptrdiff_t>(i), table[s[i]]);
    }
  }
  void Fill(uint8_t* d, const uint8_t* s, uint32_t n) {
    if (*s != key) qdlBlitSimd->fill16(d, n, table[*s]);
  }
};

// Colour key on same-size pixels (8-to-8 on the low byte, 16-to-16 on the
// low 16 bits of `colour`).
template <int P>
struct OpKey {
  uint32_t key;
  explicit OpKey(const QDLBlitParams* p)
      : key(p->colour & (P == 1 ? 0xFFu : 0xFFFFu)) {}
  void Span(uint8_t* d, const uint8_t* s, uint32_t n) {
    if constexpr (P == 2) {
      qdlBlitSimd->key16(d, s, n, key);
      return;
    }
    for (uint32_t i = 0; i < n; ++i) {
      uint32_t v = LoadPixel<P>(s + i * P);
      if (v != key) StorePixel<P>(d + i * P, v);
    }
  }
  void SpanRev(uint8_t* d, const uint8_t* s, uint32_t n) {
    if constexpr (P == 2) {
      qdlBlitSimd->keyRev16(d, s, n, key);
      return;
    }
    for (uint32_t i = 0; i < n; ++i) {
      uint32_t v = LoadPixel<P>(s + i * P);
      if (v != key) StorePixel<P>(d - static_cast<ptrdiff_t>(i) * P, v);
    }
  }
  void Fill(uint8_t* d, const uint8_t* s, uint32_t n) {
    uint32_t v = LoadPixel<P>(s);
    if (v != key) FillPixels<P>(d, n, v);
  }
};

// Solid colour: the shape in one destination pixel value; the source's
// pixels are never read.
template <int D>
struct OpSolid {
  uint32_t colour;
  explicit OpSolid(const QDLBlitParams* p) : colour(p->colour & (D == 1 ? 0xFFu : 0xFFFFu)) {}
  void Span(uint8_t* d, const uint8_t*, uint32_t n) { FillPixels<D>(d, n, colour); }
  void SpanRev(uint8_t* d, const uint8_t*, uint32_t n) {
    FillPixels<D>(d - static_cast<ptrdiff_t>(n - 1) * D, n, colour);
  }
  void Fill(uint8_t* d, const uint8_t*, uint32_t n) { FillPixels<D>(d, n, colour); }
};

// Pattern on 16-bit destinations: raw and literal pixels take the running
// counter *A, fill-run pixels the counter *B (advanced only when ADVANCE_B).
template <uint16_t* A, uint16_t* B, bool ADVANCE_B>
struct OpPattern16 {
  explicit OpPattern16(const QDLBlitParams*) {}
  void Span(uint8_t* d, const uint8_t*, uint32_t n) {
    uint16_t c = *A;
    for (uint32_t i = 0; i < n; ++i) {
      Store16(d + 2 * i, c);
      c = static_cast<uint16_t>(c + 0x1111);
    }
    *A = c;
  }
  void SpanRev(uint8_t* d, const uint8_t*, uint32_t n) {
    uint16_t c = *A;
    for (uint32_t i = 0; i < n; ++i) {
      Store16(d - 2 * static_cast<ptrdiff_t>(i), c);
      c = static_cast<uint16_t>(c + 0x1111);
    }
    *A = c;
  }
  void Fill(uint8_t* d, const uint8_t*, uint32_t n) {
    uint16_t c = *B;
    for (uint32_t i = 0; i < n; ++i) {
      Store16(d + 2 * i, c);
      if constexpr (ADVANCE_B) c = static_cast<uint16_t>(c + 0x1111);
    }
    *B = c;
  }
};

// Pattern on 8-bit destinations: raw and literal pixels are copied; fill-run
// pixels take the low byte of the running counter.
template <uint16_t* C>
struct OpPattern8 {
  explicit OpPattern8(const QDLBlitParams*) {}
  void Span(uint8_t* d, const uint8_t* s, uint32_t n) { std::memcpy(d, s, n); }
  void SpanRev(uint8_t* d, const uint8_t* s, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) *(d - static_cast<ptrdiff_t>(i)) = s[i];
  }
  void Fill(uint8_t* d, const uint8_t*, uint32_t n) {
    uint16_t c = *C;
    for (uint32_t i = 0; i < n; ++i) {
      d[i] = static_cast<uint8_t>(c);
      c = static_cast<uint16_t>(c + 0x1111);
    }
    *C = c;
  }
};

// Source pixel of a 16-bit blend: a colour-table entry (LOOKUP) or the
// frame's own 16-bit pixel.
template <bool LOOKUP>
inline uint32_t Source16(const uint16_t* table, const uint8_t* s, uint32_t i) {
  if constexpr (LOOKUP) return table[s[i]];
  else return Load16(s + 2 * i);
}

// Runs a forward vector span f(d, s16, n) over source pixels that are
// either 16-bit already or indices to look up first.
template <bool LOOKUP, class F>
inline void ForwardSpan16(uint8_t* d, const uint8_t* s, uint32_t n, const uint16_t* table, F f) {
  if constexpr (LOOKUP) {
    uint16_t buffer[kLookupChunk];
    while (n) {
      uint32_t m = n < kLookupChunk ? n : kLookupChunk;
      LookupSpan(buffer, table, s, m);
      f(d, reinterpret_cast<const uint8_t*>(buffer), m);
      d += 2 * m;
      s += m;
      n -= m;
    }
  } else {
    f(d, s, n);
  }
}

// The same for a reversed span: d is the rightmost destination pixel and
// each chunk of source pixels lands further left.
template <bool LOOKUP, class F>
inline void ReverseSpan16(uint8_t* d, const uint8_t* s, uint32_t n, const uint16_t* table, F f) {
  if constexpr (LOOKUP) {
    uint16_t buffer[kLookupChunk];
    while (n) {
      uint32_t m = n < kLookupChunk ? n : kLookupChunk;
      LookupSpan(buffer, table, s, m);
      f(d, reinterpret_cast<const uint8_t*>(buffer), m);
      d -= 2 * static_cast<ptrdiff_t>(m);
      s += m;
      n -= m;
    }
  } else {
    f(d, s, n);
  }
}

inline void OpLookup16::SpanRev(uint8_t* d, const uint8_t* s, uint32_t n) {
  ReverseSpan16<true>(d, s, n, table, [](uint8_t* dd, const uint8_t* ss, uint32_t nn) {
    qdlBlitSimd->copyRev16(dd, ss, nn);
  });
}

// Translucent blend at `level`; level 31 exactly copies raw and literal
// pixels unblended, fill runs always blend.
template <bool LOOKUP>
struct OpTrans {
  const uint16_t* table;
  uint32_t level;
  uint32_t mask;
  explicit OpTrans(const QDLBlitParams* p)
      : table(LOOKUP ? p->colourTable : nullptr), level(p->level), mask(p->halveMask) {}
  void Span(uint8_t* d, const uint8_t* s, uint32_t n) {
    if (level == 31) {
      if constexpr (LOOKUP) {
        qdlBlitSimd->lookup16(d, table, s, n);
      } else {
        std::memcpy(d, s, 2 * static_cast<size_t>(n));
      }
      return;
    }
    const uint32_t lv = level, mk = mask;
    if constexpr (LOOKUP) {
      if (qdlBlitSimd->transLookup16) return qdlBlitSimd->transLookup16(d, table, s, n, lv, mk);
    }
    ForwardSpan16<LOOKUP>(d, s, n, table, [lv, mk](uint8_t* dd, const uint8_t* ss, uint32_t nn) {
      qdlBlitSimd->trans16(dd, ss, nn, lv, mk);
    });
  }
  void SpanRev(uint8_t* d, const uint8_t* s, uint32_t n) {
    const uint32_t lv = level, mk = mask;
    if (lv == 31) {
      ReverseSpan16<LOOKUP>(d, s, n, table, [](uint8_t* dd, const uint8_t* ss, uint32_t nn) {
        qdlBlitSimd->copyRev16(dd, ss, nn);
      });
      return;
    }
    ReverseSpan16<LOOKUP>(d, s, n, table, [lv, mk](uint8_t* dd, const uint8_t* ss, uint32_t nn) {
      qdlBlitSimd->transRev16(dd, ss, nn, lv, mk);
    });
  }
  void Fill(uint8_t* d, const uint8_t* s, uint32_t n) {
    uint32_t sv = Source16<LOOKUP>(table, s, 0);
    qdlBlitSimd->transFill16(d, n, HalvingSum(sv, level & 31u, mask), level, mask);
  }
};

// 50% blend: half the source plus half the destination.
template <bool LOOKUP>
struct OpHalf {
  const uint16_t* table;
  uint32_t mask;
  explicit OpHalf(const QDLBlitParams* p)
      : table(LOOKUP ? p->colourTable : nullptr), mask(p->halveMask) {}
  void Span(uint8_t* d, const uint8_t* s, uint32_t n) {
    const uint32_t mk = mask;
    if constexpr (LOOKUP) {
      if (qdlBlitSimd->halfLookup16) return qdlBlitSimd->halfLookup16(d, table, s, n, mk);
    }
    ForwardSpan16<LOOKUP>(d, s, n, table, [mk](uint8_t* dd, const uint8_t* ss, uint32_t nn) {
      qdlBlitSimd->half16(dd, ss, nn, mk);
    });
  }
  void SpanRev(uint8_t* d, const uint8_t* s, uint32_t n) {
    const uint32_t mk = mask;
    ReverseSpan16<LOOKUP>(d, s, n, table, [mk](uint8_t* dd, const uint8_t* ss, uint32_t nn) {
      qdlBlitSimd->halfRev16(dd, ss, nn, mk);
    });
  }
  void Fill(uint8_t* d, const uint8_t* s, uint32_t n) {
    qdlBlitSimd->halfFill16(d, n, (Source16<LOOKUP>(table, s, 0) >> 1) & mask, mask);
  }
};

// Alpha-map colour: the source's red field is the coverage of `colour`.
// Raw and literal pixels of coverage 0 keep the destination and of 31 take
// the colour exactly; fill runs always blend.
template <bool LOOKUP>
struct OpAlpha {
  const uint16_t* table;
  uint32_t colour;
  uint32_t shift;
  uint32_t mask;
  explicit OpAlpha(const QDLBlitParams* p)
      : table(LOOKUP ? p->colourTable : nullptr),
        colour(p->colour & 0xFFFFu),
        shift(p->level > 16 ? 16u : p->level),
        mask(p->halveMask) {}
  uint32_t Coverage(uint32_t sv) const { return (sv >> shift) & 31u; }
  void Span(uint8_t* d, const uint8_t* s, uint32_t n) {
    const uint32_t co = colour, sh = shift, mk = mask;
    ForwardSpan16<LOOKUP>(d, s, n, table, [co, sh, mk](uint8_t* dd, const uint8_t* ss, uint32_t nn) {
      qdlBlitSimd->alpha16(dd, ss, nn, co, sh, mk);
    });
  }
  void SpanRev(uint8_t* d, const uint8_t* s, uint32_t n) {
    const uint32_t co = colour, sh = shift, mk = mask;
    ReverseSpan16<LOOKUP>(d, s, n, table, [co, sh, mk](uint8_t* dd, const uint8_t* ss, uint32_t nn) {
      qdlBlitSimd->alphaRev16(dd, ss, nn, co, sh, mk);
    });
  }
  void Fill(uint8_t* d, const uint8_t* s, uint32_t n) {
    uint32_t c = Coverage(Source16<LOOKUP>(table, s, 0));
    qdlBlitSimd->transFill16(d, n, HalvingSum(colour, c, mask), c, mask);
  }
};

}  // namespace qdlblit

// Defines the twelve kernels name{,MirrorX,MirrorY,MirrorXY}{Raw,Rle,RleFill}
// as the walk with operation OP, source pixel size P and destination size D.
#define QDL_BLIT_DEFINE_ONE(fname, OP, P, D, MX, MY, ENC)                                   \
  uint32_t fname(QDL_BLIT_KERNEL_ARGS) {                                                    \
    return qdlblit::Walk<OP, P, D, MX, MY, ENC>(pSurface, pFrame, x, y, flags, pParams,     \
                                                clipFlags);                                 \
  }
#define QDL_BLIT_DEFINE_ENC(name, OP, P, D, MX, MY)                           \
  QDL_BLIT_DEFINE_ONE(name##Raw, OP, P, D, MX, MY, qdlblit::kRaw)             \
  QDL_BLIT_DEFINE_ONE(name##Rle, OP, P, D, MX, MY, qdlblit::kRle)             \
  QDL_BLIT_DEFINE_ONE(name##RleFill, OP, P, D, MX, MY, qdlblit::kRleFill)
#define QDL_BLIT_DEFINE_FAMILY(name, OP, P, D)                 \
  QDL_BLIT_DEFINE_ENC(name, OP, P, D, false, false)            \
  QDL_BLIT_DEFINE_ENC(name##MirrorX, OP, P, D, true, false)    \
  QDL_BLIT_DEFINE_ENC(name##MirrorY, OP, P, D, false, true)    \
  QDL_BLIT_DEFINE_ENC(name##MirrorXY, OP, P, D, true, true)

// The same, for a family that a vector set may replace by whole kernels of
// its own (QDLBlitWideKernels): the set's kernel runs when it has one and
// takes the request, else the portable walk.
#define QDL_BLIT_DEFINE_ONE_WIDE(fname, OP, P, D, MX, MY, ENC, FAMILY)                      \
  uint32_t fname(QDL_BLIT_KERNEL_ARGS) {                                                    \
    if (const QDLBlitWideKernels* pWide = qdlBlitSimd->wide) {                              \
      const QDLBlitKernel pKernel = pWide->kernel[FAMILY][((MX) ? 4 : 0) + ((MY) ? 8 : 0) + (ENC)]; \
      if (pKernel != nullptr) {                                                             \
        const uint32_t uResult = pKernel(pSurface, pFrame, x, y, flags, pParams, clipFlags); \
        if (uResult != QDLBLIT_WIDE_DECLINED) return uResult;                               \
      }                                                                                     \
    }                                                                                       \
    return qdlblit::Walk<OP, P, D, MX, MY, ENC>(pSurface, pFrame, x, y, flags, pParams,     \
                                                clipFlags);                                 \
  }
#define QDL_BLIT_DEFINE_ENC_WIDE(name, OP, P, D, MX, MY, FAMILY)                           \
  QDL_BLIT_DEFINE_ONE_WIDE(name##Raw, OP, P, D, MX, MY, qdlblit::kRaw, FAMILY)             \
  QDL_BLIT_DEFINE_ONE_WIDE(name##Rle, OP, P, D, MX, MY, qdlblit::kRle, FAMILY)             \
  QDL_BLIT_DEFINE_ONE_WIDE(name##RleFill, OP, P, D, MX, MY, qdlblit::kRleFill, FAMILY)
#define QDL_BLIT_DEFINE_FAMILY_WIDE(name, OP, P, D, FAMILY)                 \
  QDL_BLIT_DEFINE_ENC_WIDE(name, OP, P, D, false, false, FAMILY)            \
  QDL_BLIT_DEFINE_ENC_WIDE(name##MirrorX, OP, P, D, true, false, FAMILY)    \
  QDL_BLIT_DEFINE_ENC_WIDE(name##MirrorY, OP, P, D, false, true, FAMILY)    \
  QDL_BLIT_DEFINE_ENC_WIDE(name##MirrorXY, OP, P, D, true, true, FAMILY)

// Initialisers of table records: kernel[flip * 4 + encoding], slot 0 empty.
#define QDL_BLIT_SLOTS_ENC(name) nullptr, name##Raw, name##Rle, name##RleFill
#define QDL_BLIT_RECORD(mode, name)                                                          \
  {                                                                                          \
    mode, {                                                                                  \
      QDL_BLIT_SLOTS_ENC(name), QDL_BLIT_SLOTS_ENC(name##MirrorX),                           \
          QDL_BLIT_SLOTS_ENC(name##MirrorY), QDL_BLIT_SLOTS_ENC(name##MirrorXY)              \
    }                                                                                        \
  }
#define QDL_BLIT_RECORD_UNMIRRORED(mode, name)                                                \
  {                                                                                          \
    mode, {                                                                                  \
      QDL_BLIT_SLOTS_ENC(name), QDL_BLIT_SLOTS_ENC(name), QDL_BLIT_SLOTS_ENC(name),          \
          QDL_BLIT_SLOTS_ENC(name)                                                           \
    }                                                                                        \
  }

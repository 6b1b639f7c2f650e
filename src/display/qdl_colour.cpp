// Colour conversion between R, G, B and pixels, the dither and its generator.
#include "display/qdl_internal.h"

#include "display/qdl_convert.h"

namespace {

struct Widths {
  uint32_t r, g, b;
};

// Shifts of the three components, packed from bit 0 upward in the reverse
// of the order field (order 0x000: blue at bit 0, green above, red on top).
void PackShifts(uint32_t code, Widths w, uint32_t* pR, uint32_t* pG, uint32_t* pB) {
  uint32_t order = (code & QDLFORMAT_ORDER_MASK) >> 8;
  // Components from the highest shift down; 0 red, 1 green, 2 blue.
  static const uint8_t kOrder[8][3] = {
      {0, 1, 2},  // red-green-blue
      {0, 2, 1},  // red-blue-green
      {1, 0, 2},  // green-red-blue
      {1, 2, 0},  // green-blue-red
      {2, 0, 1},  // blue-red-green
      {2, 1, 0},  // blue-green-red
      {0, 1, 2},
      {0, 1, 2},
  };
  uint32_t width[3] = {w.r, w.g, w.b};
  uint32_t shift[3] = {0, 0, 0};
  uint32_t at = 0;
  for (int i = 2; i >= 0; --i) {
    uint32_t c = kOrder[order][i];
    shift[c] = at;
    at += width[c];
  }
  *pR = shift[0];
  *pG = shift[1];
  *pB = shift[2];
}

bool WidthsOf(uint32_t code, Widths* pW) {
  switch (code & QDLFORMAT_SIZE_MASK) {
    case QDLFORMAT_RGB16: *pW = {5, 6, 5}; return true;
    case QDLFORMAT_RGB15: *pW = {5, 5, 5}; return true;
    case QDLFORMAT_RGB24:
    case QDLFORMAT_RGB32: *pW = {8, 8, 8}; return true;
    default: return false;
  }
}

uint32_t Pack(uint32_t code, Widths w, uint32_t r, uint32_t g, uint32_t b) {
  uint32_t sr, sg, sb;
  PackShifts(code, w, &sr, &sg, &sb);
  return ((r >> (8 - w.r)) << sr) | ((g >> (8 - w.g)) << sg) | ((b >> (8 - w.b)) << sb);
}

uint32_t Clamp255(int32_t v) { return v < 0 ? 0u : (v > 255 ? 255u : static_cast<uint32_t>(v)); }

QDLSurface* Resolve(QDLSurface* pSurface) {
  QDLSurface* p = pSurface ? pSurface : qdlGlobals.pDisplay;
  if (p && (p->flags & QDLSURF_VIEW) && p->parent) p = p->parent;
  return p;
}

}  // namespace

uint32_t QDLRandom() {
  qdlGlobals.ditherSeed = qdlGlobals.ditherSeed * 1103515245u + 12345u;
  return (qdlGlobals.ditherSeed >> 16) & 0x7FFFu;
}

void QDLRandomSeed(uint32_t seed) { qdlGlobals.ditherSeed = seed; }

uint32_t QDLRGBToPixel(uint32_t formatCode, uint8_t r, uint8_t g, uint8_t b) {
  if ((formatCode & QDLFORMAT_SIZE_MASK) == QDLFORMAT_INDEXED8) return r;
  Widths w = {0, 0, 0};
  if (!WidthsOf(formatCode, &w)) return 0;
  return Pack(formatCode, w, r, g, b);
}

uint32_t QDLRGBToPixelDither(uint32_t formatCode, uint8_t r, uint8_t g, uint8_t b) {
  uint32_t size = formatCode & QDLFORMAT_SIZE_MASK;
  if (size == QDLFORMAT_INDEXED8) return r;
  if (size == QDLFORMAT_RGB16 || size == QDLFORMAT_RGB15) {
    uint32_t n = QDLRandom();
    // Each sum keeps its top 5 bits, green too: in 5-6-5 the lowest bit of
    // the green field stays clear.
    uint32_t rr = Clamp255(static_cast<int32_t>(r) + static_cast<int32_t>(n & 15) - 8) & 0xF8u;
    uint32_t gg = Clamp255(static_cast<int32_t>(g) + static_cast<int32_t>((n >> 4) & 15) - 8) & 0xF8u;
    uint32_t bb = Clamp255(static_cast<int32_t>(b) + static_cast<int32_t>((n >> 8) & 15) - 8) & 0xF8u;
    Widths w = {5, 5, 5};
    WidthsOf(formatCode, &w);
    return Pack(formatCode, w, rr, gg, bb);
  }
  return QDLRGBToPixel(formatCode, r, g, b);
}

uint32_t QDLPixelToRGB(uint32_t pixel, uint32_t formatCode, uint8_t* pR, uint8_t* pG, uint8_t* pB) {
  if ((formatCode & QDLFORMAT_SIZE_MASK) == QDLFORMAT_INDEXED8) return QDL_ERR_FAILED;
  Widths w = {0, 0, 0};
  if (!WidthsOf(formatCode, &w)) return QDL_ERR_FAILED;
  uint32_t sr, sg, sb;
  PackShifts(formatCode, w, &sr, &sg, &sb);
  uint32_t r = ((pixel >> sr) & ((1u << w.r) - 1)) << (8 - w.r);
  uint32_t g = ((pixel >> sg) & ((1u << w.g) - 1)) << (8 - w.g);
  uint32_t b = ((pixel >> sb) & ((1u << w.b) - 1)) << (8 - w.b);
  if (pR) *pR = static_cast<uint8_t>(r);
  if (pG) *pG = static_cast<uint8_t>(g);
  if (pB) *pB = static_cast<uint8_t>(b);
  return QDL_OK;
}

uint32_t QDLSurfaceRGBToPixel(QDLSurface* pSurface, uint8_t r, uint8_t g, uint8_t b) {
  QDLSurface* p = Resolve(pSurface);
  if (!p) return 0;
  if (p->flags & QDLSURF_PALETTED) return r;
  if (p->redShift == 0) QDLSurfaceComputeShifts(p);
  return (static_cast<uint32_t>(r >> p->redLoss) << p->redShift) |
         (static_cast<uint32_t>(g >> p->greenLoss) << p->greenShift) |
         (static_cast<uint32_t>(b >> p->blueLoss) << p->blueShift);
}

uint32_t QDLSurfacePixelToRGB(QDLSurface* pSurface, uint32_t pixel, uint8_t* pR, uint8_t* pG,
                              uint8_t* pB) {
  QDLSurface* p = Resolve(pSurface);
  if (!p) return QDL_ERR_NULL_SURFACE;
  if (p->flags & QDLSURF_PALETTED) {
    QDLPalette* pPal = p->palette;
    uint32_t total = pPal ? pPal->entryCount * pPal->paletteCount : 0;
    if (pPal && pPal->entries && pixel < total) {
      if (pR) *pR = pPal->entries[pixel].red;
      if (pG) *pG = pPal->entries[pixel].green;
      if (pB) *pB = pPal->entries[pixel].blue;
    }
    return QDL_OK;
  }
  if (p->redShift == 0) QDLSurfaceComputeShifts(p);
  const QDLPixelFormatDesc& f = p->desc.pixelFormat;
  if (pR) *pR = static_cast<uint8_t>(((pixel & f.redMask) >> p->redShift) << p->redLoss);
  if (pG) *pG = static_cast<uint8_t>(((pixel & f.greenMask) >> p->greenShift) << p->greenLoss);
  if (pB) *pB = static_cast<uint8_t>(((pixel & f.blueMask) >> p->blueShift) << p->blueLoss);
  return QDL_OK;
}

// ---------------------------------------------------------------------------
// Row conversion.

namespace {

// The dither's table for one component: index c + nibble, the sum less 8
// clamped, its top five bits kept, cut to the field's width and moved to its
// shift.
void FillDitherTable(uint32_t* pTable, uint32_t width, uint32_t shift) {
  for (int32_t i = 0; i < 272; ++i) pTable[i] = ((Clamp255(i - 8) & 0xF8u) >> (8 - width)) << shift;
}

uint32_t BytesOfFormat(uint32_t code) { return QDLFormatBitsPerPixel(code) / 8; }

template <uint32_t B>
inline uint32_t ReadPixel(const uint8_t* p) {
  if constexpr (B == 1) return p[0];
  if constexpr (B == 2) return static_cast<uint32_t>(p[0] | (p[1] << 8));
  if constexpr (B == 3) return static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16));
  if constexpr (B == 4) return static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) | (static_cast<uint32_t>(p[3]) << 24);
}

template <uint32_t B>
inline void WritePixel(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  if constexpr (B >= 2) p[1] = static_cast<uint8_t>(v >> 8);
  if constexpr (B >= 3) p[2] = static_cast<uint8_t>(v >> 16);
  if constexpr (B >= 4) p[3] = static_cast<uint8_t>(v >> 24);
}

// Components of 8 bits, each in a byte of its own.
bool ByteFields(const QDLPixelConverter& c) {
  for (int k = 0; k < 3; ++k)
    if (c.srcMask[k] != 0xFFu || c.srcUp[k] != 0 || (c.srcShift[k] & 7u) != 0 || c.srcShift[k] >= 8 * c.srcBytes)
      return false;
  return true;
}

template <uint32_t SB, uint32_t DB>
void RowLoop(const QDLPixelConverter& c, uint8_t* d, const uint8_t* s, uint32_t n, uint32_t* pSeed) {
  uint32_t seed = *pSeed;
  const bool byteFields = c.srcKind == QDLPIXCONV_SRC_FIELDS && SB >= 3 && ByteFields(c);
  if (byteFields && c.dstKind == QDLPIXCONV_DST_DITHER) {
    // The first run's case: 8-bit components (each its own byte) to the
    // display's 16 bits.
    const uint32_t o0 = c.srcShift[0] / 8, o1 = c.srcShift[1] / 8, o2 = c.srcShift[2] / 8;
    const uint32_t* t0 = c.dither[0];
    const uint32_t* t1 = c.dither[1];
    const uint32_t* t2 = c.dither[2];
    for (uint32_t i = 0; i < n; ++i) {
      const uint8_t* p = s + i * SB;
      seed = seed * 1103515245u + 12345u;
      const uint32_t k = seed >> 16;
      WritePixel<DB>(d + i * DB, t0[p[o0] + (k & 15u)] | t1[p[o1] + ((k >> 4) & 15u)] | t2[p[o2] + ((k >> 8) & 15u)]);
    }
  } else if (c.srcKind == QDLPIXCONV_SRC_FIELDS && c.dstKind == QDLPIXCONV_DST_DITHER) {
    // The first run's case: direct colour to the display's 16 bits.
    const uint32_t s0 = c.srcShift[0], s1 = c.srcShift[1], s2 = c.srcShift[2];
    const uint32_t m0 = c.srcMask[0], m1 = c.srcMask[1], m2 = c.srcMask[2];
    const uint32_t u0 = c.srcUp[0], u1 = c.srcUp[1], u2 = c.srcUp[2];
    const uint32_t* t0 = c.dither[0];
    const uint32_t* t1 = c.dither[1];
    const uint32_t* t2 = c.dither[2];
    for (uint32_t i = 0; i < n; ++i) {
      const uint32_t v = ReadPixel<SB>(s + i * SB);
      const uint32_t r = (((v >> s0) & m0) << u0) & 0xFFu;
      const uint32_t g = (((v >> s1) & m1) << u1) & 0xFFu;
      const uint32_t b = (((v >> s2) & m2) << u2) & 0xFFu;
      seed = seed * 1103515245u + 12345u;
      const uint32_t k = (seed >> 16) & 0x7FFFu;
      WritePixel<DB>(d + i * DB, t0[r + (k & 15u)] | t1[g + ((k >> 4) & 15u)] | t2[b + ((k >> 8) & 15u)]);
    }
  } else if (c.srcKind == QDLPIXCONV_SRC_FIELDS && c.dstKind == QDLPIXCONV_DST_PACK) {
    const uint32_t s0 = c.srcShift[0], s1 = c.srcShift[1], s2 = c.srcShift[2];
    const uint32_t m0 = c.srcMask[0], m1 = c.srcMask[1], m2 = c.srcMask[2];
    const uint32_t u0 = c.srcUp[0], u1 = c.srcUp[1], u2 = c.srcUp[2];
    const uint32_t d0 = c.dstDrop[0], d1 = c.dstDrop[1], d2 = c.dstDrop[2];
    const uint32_t h0 = c.dstShift[0], h1 = c.dstShift[1], h2 = c.dstShift[2];
    for (uint32_t i = 0; i < n; ++i) {
      const uint32_t v = ReadPixel<SB>(s + i * SB);
      const uint32_t r = (((v >> s0) & m0) << u0) & 0xFFu;
      const uint32_t g = (((v >> s1) & m1) << u1) & 0xFFu;
      const uint32_t b = (((v >> s2) & m2) << u2) & 0xFFu;
      WritePixel<DB>(d + i * DB, ((r >> d0) << h0) | ((g >> d1) << h1) | ((b >> d2) << h2));
    }
  } else {
    for (uint32_t i = 0; i < n; ++i) WritePixel<DB>(d + i * DB, QDLPixelConvert(c, ReadPixel<SB>(s + i * SB), &seed));
  }
  *pSeed = seed;
}

template <uint32_t SB>
void RowBySource(const QDLPixelConverter& c, uint8_t* d, const uint8_t* s, uint32_t n, uint32_t* pSeed) {
  switch (c.dstBytes) {
    case 1: RowLoop<SB, 1>(c, d, s, n, pSeed); break;
    case 2: RowLoop<SB, 2>(c, d, s, n, pSeed); break;
    case 3: RowLoop<SB, 3>(c, d, s, n, pSeed); break;
    case 4: RowLoop<SB, 4>(c, d, s, n, pSeed); break;
    default: break;
  }
}

}  // namespace

void QDLPixelConverterForFormats(QDLPixelConverter* pConv, uint32_t srcFormat, uint32_t dstFormat,
                                 const QDLPalette* pPalette, uint32_t paletteCount, bool dither,
                                 bool keepIndices) {
  QDLPixelConverter& c = *pConv;
  c = QDLPixelConverter{};
  c.srcBytes = BytesOfFormat(srcFormat);
  c.dstBytes = BytesOfFormat(dstFormat);
  const uint32_t srcSize = srcFormat & QDLFORMAT_SIZE_MASK, dstSize = dstFormat & QDLFORMAT_SIZE_MASK;
  Widths w = {0, 0, 0};
  if (srcSize == QDLFORMAT_INDEXED8) {
    c.srcKind = QDLPIXCONV_SRC_INDEXED;
    c.greyFallback = 1;
    if (pPalette != nullptr && pPalette->entries != nullptr) {
      c.palette = pPalette->entries;
      c.paletteCount = paletteCount;
    }
  } else if (WidthsOf(srcFormat, &w)) {
    c.srcKind = QDLPIXCONV_SRC_FIELDS;
    PackShifts(srcFormat, w, &c.srcShift[0], &c.srcShift[1], &c.srcShift[2]);
    const uint32_t aw[3] = {w.r, w.g, w.b};
    for (int k = 0; k < 3; ++k) {
      c.srcMask[k] = (1u << aw[k]) - 1;
      c.srcUp[k] = 8 - aw[k];
    }
  }
  w = {0, 0, 0};
  if (dstSize == QDLFORMAT_INDEXED8) {
    c.dstKind = keepIndices && srcSize == QDLFORMAT_INDEXED8 ? QDLPIXCONV_DST_KEEP : QDLPIXCONV_DST_RED;
  } else if (WidthsOf(dstFormat, &w)) {
    PackShifts(dstFormat, w, &c.dstShift[0], &c.dstShift[1], &c.dstShift[2]);
    const uint32_t aw[3] = {w.r, w.g, w.b};
    for (int k = 0; k < 3; ++k) c.dstDrop[k] = 8 - aw[k];
    if (dither && (dstSize == QDLFORMAT_RGB16 || dstSize == QDLFORMAT_RGB15)) {
      c.dstKind = QDLPIXCONV_DST_DITHER;
      for (int k = 0; k < 3; ++k) FillDitherTable(c.dither[k], aw[k], c.dstShift[k]);
    } else {
      c.dstKind = QDLPIXCONV_DST_PACK;
    }
  }
}

void QDLPixelConverterForSurfaces(QDLPixelConverter* pConv, QDLSurface* pDst, QDLSurface* pSrc) {
  QDLPixelConverter& c = *pConv;
  c = QDLPixelConverter{};
  QDLSurface* s = Resolve(pSrc);
  QDLSurface* d = Resolve(pDst);
  if (s == nullptr || d == nullptr) return;
  c.srcBytes = pSrc->bytesPerPixel;
  c.dstBytes = pDst->bytesPerPixel;
  if (pDst->formatCode == pSrc->formatCode) {
    c.dstKind = QDLPIXCONV_DST_KEEP;
    return;
  }
  if (s->flags & QDLSURF_PALETTED) {
    c.srcKind = QDLPIXCONV_SRC_INDEXED;
    const QDLPalette* pPal = s->palette;
    if (pPal != nullptr && pPal->entries != nullptr) {
      c.palette = pPal->entries;
      c.paletteCount = pPal->entryCount * pPal->paletteCount;
    }
  } else {
    if (s->redShift == 0) QDLSurfaceComputeShifts(s);
    const QDLPixelFormatDesc& f = s->desc.pixelFormat;
    c.srcKind = QDLPIXCONV_SRC_FIELDS;
    c.srcShift[0] = s->redShift;
    c.srcShift[1] = s->greenShift;
    c.srcShift[2] = s->blueShift;
    c.srcMask[0] = f.redMask >> s->redShift;
    c.srcMask[1] = f.greenMask >> s->greenShift;
    c.srcMask[2] = f.blueMask >> s->blueShift;
    c.srcUp[0] = s->redLoss;
    c.srcUp[1] = s->greenLoss;
    c.srcUp[2] = s->blueLoss;
  }
  if (d->flags & QDLSURF_PALETTED) {
    c.dstKind = QDLPIXCONV_DST_RED;
  } else {
    if (d->redShift == 0) QDLSurfaceComputeShifts(d);
    c.dstKind = QDLPIXCONV_DST_PACK;
    c.dstShift[0] = d->redShift;
    c.dstShift[1] = d->greenShift;
    c.dstShift[2] = d->blueShift;
    c.dstDrop[0] = d->redLoss;
    c.dstDrop[1] = d->greenLoss;
    c.dstDrop[2] = d->blueLoss;
  }
}

void QDLPixelConvertRow(const QDLPixelConverter* pConv, uint8_t* pDst, const uint8_t* pSrc, uint32_t n) {
  const QDLPixelConverter& c = *pConv;
  switch (c.srcBytes) {
    case 1: RowBySource<1>(c, pDst, pSrc, n, &qdlGlobals.ditherSeed); break;
    case 2: RowBySource<2>(c, pDst, pSrc, n, &qdlGlobals.ditherSeed); break;
    case 3: RowBySource<3>(c, pDst, pSrc, n, &qdlGlobals.ditherSeed); break;
    case 4: RowBySource<4>(c, pDst, pSrc, n, &qdlGlobals.ditherSeed); break;
    default: break;
  }
}

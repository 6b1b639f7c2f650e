// Colour conversion between R, G, B and pixels, the dither and its generator.
#include "display/qdl_internal.h"

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

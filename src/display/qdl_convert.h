#pragma once
// Pixels converted from one format to another a row at a time. Everything
// that depends only on the two formats (fields, shifts, masks, the palette,
// the dither's clamping) is worked out once, when the converter is set up;
// a row then runs through a tight loop. The result is exactly what the
// per-pixel calls give (QDLPixelToRGB then QDLRGBToPixel or
// QDLRGBToPixelDither for format codes; QDLSurfacePixelToRGB then
// QDLSurfaceRGBToPixel for surfaces), dither draws included: a dithered
// conversion takes the same numbers from the dither generator, in pixel
// order, and leaves it where the per-pixel calls would.
#include <cstdint>

#include "display/qdl_types.h"

struct QDLPixelConverter {
  uint32_t srcBytes;  // 1 to 4
  uint32_t dstBytes;  // 1 to 4
  // Source pixel to R, G, B.
  uint8_t srcKind;
  uint8_t greyFallback;  // indexed: an index without a palette entry reads as grey (else black)
  const QDLPaletteEntry* palette;
  uint32_t paletteCount;  // indices below this have an entry
  uint32_t srcShift[3];   // red, green, blue
  uint32_t srcMask[3];
  uint32_t srcUp[3];
  // R, G, B to destination pixel.
  uint8_t dstKind;
  uint32_t dstShift[3];
  uint32_t dstDrop[3];
  // Dithered 16-bit destinations: component plus the generator's nibble
  // (0 to 270), already clamped, cut to the field and moved into place.
  uint32_t dither[3][272];
};

enum : uint8_t {
  QDLPIXCONV_SRC_NONE = 0,     // unknown format: R, G, B read as 0
  QDLPIXCONV_SRC_INDEXED = 1,  // palette entry (or the fallback)
  QDLPIXCONV_SRC_FIELDS = 2,   // r = ((v >> shift) & mask) << up, cut to 8 bits
};

enum : uint8_t {
  QDLPIXCONV_DST_ZERO = 0,     // unknown format: every pixel 0
  QDLPIXCONV_DST_RED = 1,      // 8-bit: the red component
  QDLPIXCONV_DST_KEEP = 2,     // indices stay indices
  QDLPIXCONV_DST_PACK = 3,     // (c >> drop) << shift for each component
  QDLPIXCONV_DST_DITHER = 4,   // the 16-bit dither, one generator draw a pixel
};

// Between format codes, as the sprite banks and sheets convert. An indexed
// source reads its palette's first paletteCount entries (grey past them, or
// without a palette); keepIndices keeps an indexed source's indices on an
// indexed destination. Dithering applies to 15-bit and 16-bit destinations.
void QDLPixelConverterForFormats(QDLPixelConverter* pConv, uint32_t srcFormat, uint32_t dstFormat,
                                 const QDLPalette* pPalette, uint32_t paletteCount, bool dither,
                                 bool keepIndices);

// Between two surfaces, as the surface copies convert: by the surfaces'
// masks, shifts and losses; a paletted source reads its palette (black past
// it), a paletted destination takes the red component.
void QDLPixelConverterForSurfaces(QDLPixelConverter* pConv, QDLSurface* pDst, QDLSurface* pSrc);

// One pixel value (the low srcBytes bytes of v). A dithered conversion draws
// from *pSeed, the dither generator's state.
inline uint32_t QDLPixelConvert(const QDLPixelConverter& c, uint32_t v, uint32_t* pSeed) {
  uint32_t r = 0, g = 0, b = 0;
  if (c.srcKind == QDLPIXCONV_SRC_FIELDS) {
    r = (((v >> c.srcShift[0]) & c.srcMask[0]) << c.srcUp[0]) & 0xFFu;
    g = (((v >> c.srcShift[1]) & c.srcMask[1]) << c.srcUp[1]) & 0xFFu;
    b = (((v >> c.srcShift[2]) & c.srcMask[2]) << c.srcUp[2]) & 0xFFu;
  } else if (c.srcKind == QDLPIXCONV_SRC_INDEXED) {
    if (v < c.paletteCount) {
      r = c.palette[v].red;
      g = c.palette[v].green;
      b = c.palette[v].blue;
    } else if (c.greyFallback) {
      r = g = b = v & 0xFFu;
    }
  }
  switch (c.dstKind) {
    case QDLPIXCONV_DST_RED: return r;
    case QDLPIXCONV_DST_KEEP: return v;
    case QDLPIXCONV_DST_PACK:
      return ((r >> c.dstDrop[0]) << c.dstShift[0]) | ((g >> c.dstDrop[1]) << c.dstShift[1]) |
             ((b >> c.dstDrop[2]) << c.dstShift[2]);
    case QDLPIXCONV_DST_DITHER: {
      *pSeed = *pSeed * 1103515245u + 12345u;
      const uint32_t n = (*pSeed >> 16) & 0x7FFFu;
      return c.dither[0][r + (n & 15u)] | c.dither[1][g + ((n >> 4) & 15u)] | c.dither[2][b + ((n >> 8) & 15u)];
    }
    default: return 0;
  }
}

// n pixels from src (srcBytes each) to dst (dstBytes each, little-endian),
// drawing from the library's dither generator when dithering.
void QDLPixelConvertRow(const QDLPixelConverter* pConv, uint8_t* pDst, const uint8_t* pSrc, uint32_t n);

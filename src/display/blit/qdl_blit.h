#pragma once
// Sprite blitters: the blit dispatcher QDLBlit, its five constant kernel
// tables, and the surface rectangle copies.
//
// A blit draws one QDLFrame into a QDLSurface at a point. The dispatcher
// clips the frame (or splits it at the edges of a wrapping view), supplies the
// colour table of an indexed bank, picks one kernel by source and destination
// pixel size, mode, mirroring and frame encoding, locks the surface around
// the kernel call and unlocks what it locked. Kernels are generated from one
// generic walk (qdl_blit_walk.h) and one pixel operation each
// (qdl_blit_ops.h); every kernel keeps its own name below.
#include <cstdint>

#include "display/qdl_types.h"

// ---------------------------------------------------------------------------
// Flags of a blit (QDLBlitFlags).
enum : uint32_t {
  QDLBLIT_MODE_MASK = 0x20FFFFBF,   // mode = flags & this; the whole value selects the record
  QDLBLIT_PLAIN = 0x0,
  QDLBLIT_SOLID = 0x1,
  QDLBLIT_TRANSLUCENT = 0x4,        // level 15 selects the 50% record
  QDLBLIT_KEY = 0x10000,
  QDLBLIT_ALPHAMAP = 0x100000,
  QDLBLIT_PALETTE = 0x40,           // draw an indexed source with params->palette
  QDLBLIT_MIRROR_X = 0x1000000,
  QDLBLIT_MIRROR_Y = 0x2000000,
  QDLBLIT_INDEXED = 0x40000000,     // added by the dispatcher for banks of 8-bit indices
  QDLBLIT_UNCLIPPED = 0x80000000u,  // no clipping, no wrapping: the caller guarantees the fit
};

// Clip flags handed to a kernel (QDLClipFlags).
enum : uint32_t {
  QDLCLIP_RIGHT = 1,
  QDLCLIP_LEFT = 2,
  QDLCLIP_TOP = 4,
  QDLCLIP_BOTTOM = 8,
  QDLCLIP_WRAP_X = 16,
  QDLCLIP_WRAP_Y = 128,
};

// Results of QDLBlit.
enum : uint32_t {
  QDLBLIT_DRAWN = 0,
  QDLBLIT_LOCK_FAILED = 1,
  QDLBLIT_NOTHING_DRAWN = 7,
};

// The caller-owned parameter block of a blit. The fields clipSkipX ..
// wrapHeight are the clip block (QDLBlitClip) that the dispatcher writes.
struct QDLBlitParams {
  uint32_t colour;                 // key, solid or alpha-map colour (16-bit kernels: low 16 bits)
  uint16_t level;                  // translucency 0..31; alpha-map: the dispatcher stores redShift
  QDLPalette* palette;             // with QDLBLIT_PALETTE
  const uint16_t* colourTable;     // index -> destination pixel (8-to-16 kernels)
  QDLPalette* colourTablePalette;  // the palette whose table colourTable is
  int32_t clipSkipX;    // source columns skipped, counted from the source's left
  int32_t clipSkipY;    // source rows skipped at the top of the frame data
  int32_t clipWidth;    // visible columns
  int32_t clipHeight;   // visible rows
  int32_t clipX;        // destination column of the visible part's left edge
  int32_t clipY;        // destination row of the visible part's top edge
  int32_t clipExtentX;  // = clipWidth
  int32_t clipExtentY;  // = clipHeight
  int32_t wrapWidth;    // columns from clipX to the parent's right edge (with QDLCLIP_WRAP_X)
  int32_t wrapHeight;   // rows from clipY to the parent's bottom edge (with QDLCLIP_WRAP_Y)
  uint16_t halveMask;   // 0x7BEF (RGB565) or 0xBDEF (RGB555)
};

// One kernel: (destination, frame, x, y, flags, params, clip flags) -> 0.
typedef uint32_t (*QDLBlitKernel)(QDLSurface* pSurface, QDLFrame* pFrame, int32_t x, int32_t y,
                                  uint32_t flags, QDLBlitParams* pParams, uint32_t clipFlags);

// A record of a kernel table: the mode value and kernel[flip][encoding].
struct QDLBlitRecord {
  uint32_t mode;
  QDLBlitKernel kernel[16];   // index flip * 4 + encoding; encoding 0 stays empty
};

// The records of one table by position.
enum : uint32_t {
  QDLBLIT_RECORD_PLAIN = 0,
  QDLBLIT_RECORD_KEY = 1,
  QDLBLIT_RECORD_SOLID = 2,
  QDLBLIT_RECORD_PATTERN = 3,
  QDLBLIT_RECORD_TRANS = 4,
  QDLBLIT_RECORD_HALF = 5,
  QDLBLIT_RECORD_ALPHA = 6,
};

// One table per pair of pixel sizes, found by (source bytes << 4) | destination bytes.
struct QDLBlitTable {
  uint32_t key;
  uint32_t recordCount;
  const QDLBlitRecord* records;
};

extern const QDLBlitRecord qdlBlitTable8To8[7];
extern const QDLBlitRecord qdlBlitTable8To16[7];
extern const QDLBlitRecord qdlBlitTable16To16[7];
extern const QDLBlitRecord qdlBlitTable24To24[1];
extern const QDLBlitRecord qdlBlitTable32To32[1];

// The table for a key, or null when the pair of pixel sizes has none.
const QDLBlitTable* QDLBlitTableFind(uint32_t key);

// ---------------------------------------------------------------------------
// Entry points.

// Draws pFrame at (x, y). 0: drawn (the kernel's result); 1: locking failed;
// 7: nothing drawn (outside the surface, no pixel data, no kernel for the
// request, or a request that needs a parameter block or colour table it lacks).
uint32_t QDLBlit(QDLSurface* pSurface, QDLFrame* pFrame, int32_t x, int32_t y, uint32_t flags,
                 QDLBlitParams* pParams);

// QDLFormatBitsPerPixel (display/qdl.h) gives the bits per pixel of a format code.

// Pattern counters: process-wide, never reset by the blitters.
extern uint16_t qdlPatternCounter8To16;
extern uint16_t qdlPatternFillCounter8To16;
extern uint16_t qdlPatternCounter16To16;
extern uint16_t qdlPatternFillCounter16To16;
extern uint16_t qdlPatternCounter8To8;
// Tests only: puts every pattern counter back to its start value 0.
void QDLBlitPatternCountersResetForTest();

// ---------------------------------------------------------------------------
// Workers of the blending kernels (also reached through the kernels).
void QDLBlit8To16AlphaSpan(uint16_t* pDest, const uint8_t* pSource, uint32_t count,
                           const QDLBlitParams* pParams);
void QDLBlit8To16AlphaSpanMirrorX(uint16_t* pDest, const uint8_t* pSource, uint32_t count,
                                  const QDLBlitParams* pParams);
void QDLBlit8To16AlphaFillRun(uint16_t* pDest, uint8_t index, uint32_t count,
                              const QDLBlitParams* pParams);
void QDLBlit8To16AlphaFillRunMirrorX(uint16_t* pDest, uint8_t index, uint32_t count,
                                     const QDLBlitParams* pParams);
void QDLBlit16To16AlphaSpan(uint16_t* pDest, const uint16_t* pSource, uint32_t count,
                            const QDLBlitParams* pParams);
void QDLBlit16To16AlphaSpanMirrorX(uint16_t* pDest, const uint16_t* pSource, uint32_t count,
                                   const QDLBlitParams* pParams);
void QDLBlit16To16AlphaFillRun(uint16_t* pDest, uint16_t pixel, uint32_t count,
                               const QDLBlitParams* pParams);
void QDLBlit16To16AlphaFillRunMirrorX(uint16_t* pDest, uint16_t pixel, uint32_t count,
                                      const QDLBlitParams* pParams);
void QDLBlit8To16TransFillRunMirrorX(uint16_t* pDest, uint8_t index, uint32_t count,
                                     const QDLBlitParams* pParams);
void QDLBlit16To16TransFillRun(uint16_t* pDest, uint32_t colour, uint32_t count, uint32_t format,
                               uint32_t flags, const QDLBlitParams* pParams);
void QDLBlit16To16TransFillRunMirrorX(uint16_t* pDest, uint32_t colour, uint32_t count,
                                      uint32_t format, uint32_t flags,
                                      const QDLBlitParams* pParams);

// ---------------------------------------------------------------------------
// Kernels by name: QDLBlit<src>To<dst><Mode><Mirror><Encoding>.
#define QDL_BLIT_KERNEL_ARGS                                                                  \
  QDLSurface *pSurface, QDLFrame *pFrame, int32_t x, int32_t y, uint32_t flags,               \
      QDLBlitParams *pParams, uint32_t clipFlags
#define QDL_BLIT_DECLARE_ENC(name)                 \
  uint32_t name##Raw(QDL_BLIT_KERNEL_ARGS);        \
  uint32_t name##Rle(QDL_BLIT_KERNEL_ARGS);        \
  uint32_t name##RleFill(QDL_BLIT_KERNEL_ARGS);
#define QDL_BLIT_DECLARE_FAMILY(name)   \
  QDL_BLIT_DECLARE_ENC(name)            \
  QDL_BLIT_DECLARE_ENC(name##MirrorX)   \
  QDL_BLIT_DECLARE_ENC(name##MirrorY)   \
  QDL_BLIT_DECLARE_ENC(name##MirrorXY)

QDL_BLIT_DECLARE_FAMILY(QDLBlit8To16Plain)
QDL_BLIT_DECLARE_FAMILY(QDLBlit8To16Key)
QDL_BLIT_DECLARE_FAMILY(QDLBlit8To16Solid)
QDL_BLIT_DECLARE_ENC(QDLBlit8To16Pattern)
QDL_BLIT_DECLARE_FAMILY(QDLBlit8To16Trans)
QDL_BLIT_DECLARE_FAMILY(QDLBlit8To16Half)
QDL_BLIT_DECLARE_FAMILY(QDLBlit8To16Alpha)

QDL_BLIT_DECLARE_FAMILY(QDLBlit8To8Plain)
QDL_BLIT_DECLARE_FAMILY(QDLBlit8To8Key)
QDL_BLIT_DECLARE_FAMILY(QDLBlit8To8Solid)
QDL_BLIT_DECLARE_ENC(QDLBlit8To8Pattern)
// The 8-bit surface's translucent, 50% and alpha-map records hold the plain
// copies: an 8-bit surface does not blend.
QDL_BLIT_DECLARE_FAMILY(QDLBlit8To8Trans)
QDL_BLIT_DECLARE_FAMILY(QDLBlit8To8Half)
QDL_BLIT_DECLARE_FAMILY(QDLBlit8To8Alpha)

QDL_BLIT_DECLARE_FAMILY(QDLBlit16To16Plain)
QDL_BLIT_DECLARE_FAMILY(QDLBlit16To16Key)
QDL_BLIT_DECLARE_FAMILY(QDLBlit16To16Solid)
QDL_BLIT_DECLARE_ENC(QDLBlit16To16Pattern)
QDL_BLIT_DECLARE_FAMILY(QDLBlit16To16Trans)
QDL_BLIT_DECLARE_FAMILY(QDLBlit16To16Half)
QDL_BLIT_DECLARE_FAMILY(QDLBlit16To16Alpha)

QDL_BLIT_DECLARE_FAMILY(QDLBlit24To24Plain)
QDL_BLIT_DECLARE_FAMILY(QDLBlit32To32Plain)

// ---------------------------------------------------------------------------
// Surface rectangle copies.

// A rectangle of four i32; right and bottom are exclusive.
struct QDLRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};
// A rectangle of four i16: position and size.
struct QDLRectI16 {
  int16_t x;
  int16_t y;
  int16_t width;
  int16_t height;
};

// Flags of the rectangle copies (the values of the presentation layer's blit).
enum : uint32_t {
  QDLCOPY_MIRROR_X = 0x2,
  QDLCOPY_MIRROR_Y = 0x4,
  QDLCOPY_KEY_SOURCE = 0x8000,
};

void QDLSurfaceCopyRect(QDLSurface* pDest, const QDLRect* pDestRect, QDLSurface* pSource,
                        const QDLRect* pSourceRect, uint32_t flags);
void QDLSurfaceCopyRectSame(QDLSurface* pDest, const QDLRect* pDestRect, QDLSurface* pSource,
                            const QDLRect* pSourceRect, uint32_t flags);
void QDLSurfaceCopyRectConvert(QDLSurface* pDest, const QDLRect* pDestRect, QDLSurface* pSource,
                               const QDLRect* pSourceRect, uint32_t flags);
void QDLSurfaceBlitRect(QDLSurface* pDest, const QDLRect* pDestRect, QDLSurface* pSource,
                        const QDLRect* pSourceRect, QDLPalette* pPalette, uint32_t flags);
void QDLSurfaceBlitRectI16(QDLSurface* pDest, const QDLRectI16* pDestRect, QDLSurface* pSource,
                           const QDLRectI16* pSourceRect);

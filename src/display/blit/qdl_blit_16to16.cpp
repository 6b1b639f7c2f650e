// Kernels for 16-bit frames on 16-bit surfaces of the same layout, their
// workers and the table qdlBlitTable16To16.
#include "display/blit/qdl_blit_ops.h"

// Raw and literal-run pattern kernels; runs on from call to call.
uint16_t qdlPatternCounter16To16 = 0;
// Fill-run pattern kernel; runs on from call to call.
uint16_t qdlPatternFillCounter16To16 = 0;

namespace {
using Plain = qdlblit::OpCopy<2>;
using Key = qdlblit::OpKey<2>;
using Solid = qdlblit::OpSolid<2>;
using Pattern = qdlblit::OpPattern16<&qdlPatternCounter16To16, &qdlPatternFillCounter16To16, true>;
using Trans = qdlblit::OpTrans<false>;
using Half = qdlblit::OpHalf<false>;
using Alpha = qdlblit::OpAlpha<false>;
}  // namespace

QDL_BLIT_DEFINE_FAMILY(QDLBlit16To16Plain, Plain, 2, 2)
QDL_BLIT_DEFINE_FAMILY(QDLBlit16To16Key, Key, 2, 2)
QDL_BLIT_DEFINE_FAMILY(QDLBlit16To16Solid, Solid, 2, 2)
QDL_BLIT_DEFINE_ENC(QDLBlit16To16Pattern, Pattern, 2, 2, false, false)
QDL_BLIT_DEFINE_FAMILY_WIDE(QDLBlit16To16Trans, Trans, 2, 2, QDLBLIT_WIDE_16_TRANS)
QDL_BLIT_DEFINE_FAMILY_WIDE(QDLBlit16To16Half, Half, 2, 2, QDLBLIT_WIDE_16_HALF)
QDL_BLIT_DEFINE_FAMILY_WIDE(QDLBlit16To16Alpha, Alpha, 2, 2, QDLBLIT_WIDE_16_ALPHA)

const QDLBlitRecord qdlBlitTable16To16[7] = {
    QDL_BLIT_RECORD(QDLBLIT_PLAIN, QDLBlit16To16Plain),
    QDL_BLIT_RECORD(QDLBLIT_KEY, QDLBlit16To16Key),
    QDL_BLIT_RECORD(QDLBLIT_SOLID, QDLBlit16To16Solid),
    QDL_BLIT_RECORD_UNMIRRORED(QDLBLIT_PLAIN, QDLBlit16To16Pattern),
    QDL_BLIT_RECORD(QDLBLIT_TRANSLUCENT, QDLBlit16To16Trans),
    QDL_BLIT_RECORD(QDLBLIT_TRANSLUCENT, QDLBlit16To16Half),
    QDL_BLIT_RECORD(QDLBLIT_ALPHAMAP, QDLBlit16To16Alpha),
};

// ---------------------------------------------------------------------------
// Workers.
namespace {
inline uint8_t* Bytes(uint16_t* p) { return reinterpret_cast<uint8_t*>(p); }
inline const uint8_t* Bytes(const uint16_t* p) { return reinterpret_cast<const uint8_t*>(p); }
}  // namespace

void QDLBlit16To16AlphaSpan(uint16_t* pDest, const uint16_t* pSource, uint32_t count,
                            const QDLBlitParams* pParams) {
  if (count) Alpha(pParams).Span(Bytes(pDest), Bytes(pSource), count);
}

void QDLBlit16To16AlphaSpanMirrorX(uint16_t* pDest, const uint16_t* pSource, uint32_t count,
                                   const QDLBlitParams* pParams) {
  if (count) Alpha(pParams).SpanRev(Bytes(pDest), Bytes(pSource), count);
}

void QDLBlit16To16AlphaFillRun(uint16_t* pDest, uint16_t pixel, uint32_t count,
                               const QDLBlitParams* pParams) {
  if (count) Alpha(pParams).Fill(Bytes(pDest), Bytes(&pixel), count);
}

void QDLBlit16To16AlphaFillRunMirrorX(uint16_t* pDest, uint16_t pixel, uint32_t count,
                                      const QDLBlitParams* pParams) {
  if (count) Alpha(pParams).Fill(Bytes(pDest - (count - 1)), Bytes(&pixel), count);
}

// The format word and the flags are passed on by the kernels and not used.
void QDLBlit16To16TransFillRun(uint16_t* pDest, uint32_t colour, uint32_t count, uint32_t format,
                               uint32_t flags, const QDLBlitParams* pParams) {
  uint16_t pixel = static_cast<uint16_t>(colour);
  if (count) Trans(pParams).Fill(Bytes(pDest), Bytes(&pixel), count);
}

void QDLBlit16To16TransFillRunMirrorX(uint16_t* pDest, uint32_t colour, uint32_t count,
                                      uint32_t format, uint32_t flags,
                                      const QDLBlitParams* pParams) {
  uint16_t pixel = static_cast<uint16_t>(colour);
  if (count) Trans(pParams).Fill(Bytes(pDest - (count - 1)), Bytes(&pixel), count);
}

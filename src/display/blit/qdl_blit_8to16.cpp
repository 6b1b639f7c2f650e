// Kernels for frames of 8-bit indices on 16-bit surfaces, their workers and
// the table qdlBlitTable8To16.
#include "display/blit/qdl_blit_ops.h"

// Shared by the raw and literal-run pattern kernels; runs on from call to call.
uint16_t qdlPatternCounter8To16 = 0;
// Read by the fill-run pattern kernel; nothing changes it.
uint16_t qdlPatternFillCounter8To16 = 0;

namespace {
using Plain = qdlblit::OpLookup16;
using Key = qdlblit::OpKeyLookup16;
using Solid = qdlblit::OpSolid<2>;
using Pattern = qdlblit::OpPattern16<&qdlPatternCounter8To16, &qdlPatternFillCounter8To16, false>;
using Trans = qdlblit::OpTrans<true>;
using Half = qdlblit::OpHalf<true>;
using Alpha = qdlblit::OpAlpha<true>;
}  // namespace

QDL_BLIT_DEFINE_FAMILY_WIDE(QDLBlit8To16Plain, Plain, 1, 2, QDLBLIT_WIDE_8_PLAIN)
QDL_BLIT_DEFINE_FAMILY(QDLBlit8To16Key, Key, 1, 2)
QDL_BLIT_DEFINE_FAMILY(QDLBlit8To16Solid, Solid, 1, 2)
QDL_BLIT_DEFINE_ENC(QDLBlit8To16Pattern, Pattern, 1, 2, false, false)
QDL_BLIT_DEFINE_FAMILY_WIDE(QDLBlit8To16Trans, Trans, 1, 2, QDLBLIT_WIDE_8_TRANS)
QDL_BLIT_DEFINE_FAMILY_WIDE(QDLBlit8To16Half, Half, 1, 2, QDLBLIT_WIDE_8_HALF)
QDL_BLIT_DEFINE_FAMILY_WIDE(QDLBlit8To16Alpha, Alpha, 1, 2, QDLBLIT_WIDE_8_ALPHA)

const QDLBlitRecord qdlBlitTable8To16[7] = {
    QDL_BLIT_RECORD(QDLBLIT_PLAIN, QDLBlit8To16Plain),
    QDL_BLIT_RECORD(QDLBLIT_KEY, QDLBlit8To16Key),
    QDL_BLIT_RECORD(QDLBLIT_SOLID, QDLBlit8To16Solid),
    QDL_BLIT_RECORD_UNMIRRORED(QDLBLIT_PLAIN, QDLBlit8To16Pattern),
    QDL_BLIT_RECORD(QDLBLIT_TRANSLUCENT, QDLBlit8To16Trans),
    QDL_BLIT_RECORD(QDLBLIT_TRANSLUCENT, QDLBlit8To16Half),
    QDL_BLIT_RECORD(QDLBLIT_ALPHAMAP, QDLBlit8To16Alpha),
};

// ---------------------------------------------------------------------------
// Workers.
namespace {
inline uint8_t* Bytes(uint16_t* p) { return reinterpret_cast<uint8_t*>(p); }
}  // namespace

void QDLBlit8To16AlphaSpan(uint16_t* pDest, const uint8_t* pSource, uint32_t count,
                           const QDLBlitParams* pParams) {
  if (count) Alpha(pParams).Span(Bytes(pDest), pSource, count);
}

void QDLBlit8To16AlphaSpanMirrorX(uint16_t* pDest, const uint8_t* pSource, uint32_t count,
                                  const QDLBlitParams* pParams) {
  if (count) Alpha(pParams).SpanRev(Bytes(pDest), pSource, count);
}

void QDLBlit8To16AlphaFillRun(uint16_t* pDest, uint8_t index, uint32_t count,
                              const QDLBlitParams* pParams) {
  if (count) Alpha(pParams).Fill(Bytes(pDest), &index, count);
}

void QDLBlit8To16AlphaFillRunMirrorX(uint16_t* pDest, uint8_t index, uint32_t count,
                                     const QDLBlitParams* pParams) {
  if (count) Alpha(pParams).Fill(Bytes(pDest - (count - 1)), &index, count);
}

void QDLBlit8To16TransFillRunMirrorX(uint16_t* pDest, uint8_t index, uint32_t count,
                                     const QDLBlitParams* pParams) {
  if (count) Trans(pParams).Fill(Bytes(pDest - (count - 1)), &index, count);
}

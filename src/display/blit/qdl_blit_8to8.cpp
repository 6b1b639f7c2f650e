// Kernels for frames of 8-bit indices on 8-bit paletted surfaces and the
// table qdlBlitTable8To8. Indices are stored as the frame holds them.
#include "display/blit/qdl_blit_ops.h"

// Fill-run pattern kernel; runs on from call to call.
uint16_t qdlPatternCounter8To8 = 0;

namespace {
using Plain = qdlblit::OpCopy<1>;
using Key = qdlblit::OpKey<1>;
using Solid = qdlblit::OpSolid<1>;
using Pattern = qdlblit::OpPattern8<&qdlPatternCounter8To8>;
}  // namespace

QDL_BLIT_DEFINE_FAMILY(QDLBlit8To8Plain, Plain, 1, 1)
QDL_BLIT_DEFINE_FAMILY(QDLBlit8To8Key, Key, 1, 1)
QDL_BLIT_DEFINE_FAMILY(QDLBlit8To8Solid, Solid, 1, 1)
QDL_BLIT_DEFINE_ENC(QDLBlit8To8Pattern, Pattern, 1, 1, false, false)

// An 8-bit surface does not blend: translucent, 50% and alpha-map requests
// draw the opaque plain copy in every mirror and encoding, so one request
// never draws or not by its mirroring or encoding.
#define QDL_BLIT_FORWARD_ONE(fname, target)                                   \
  uint32_t fname(QDL_BLIT_KERNEL_ARGS) {                                      \
    return target(pSurface, pFrame, x, y, flags, pParams, clipFlags);         \
  }
#define QDL_BLIT_FORWARD_ENC(name, target)             \
  QDL_BLIT_FORWARD_ONE(name##Raw, target##Raw)         \
  QDL_BLIT_FORWARD_ONE(name##Rle, target##Rle)         \
  QDL_BLIT_FORWARD_ONE(name##RleFill, target##RleFill)
#define QDL_BLIT_FORWARD_FAMILY(name, target)                  \
  QDL_BLIT_FORWARD_ENC(name, target)                           \
  QDL_BLIT_FORWARD_ENC(name##MirrorX, target##MirrorX)         \
  QDL_BLIT_FORWARD_ENC(name##MirrorY, target##MirrorY)         \
  QDL_BLIT_FORWARD_ENC(name##MirrorXY, target##MirrorXY)

QDL_BLIT_FORWARD_FAMILY(QDLBlit8To8Trans, QDLBlit8To8Plain)
QDL_BLIT_FORWARD_FAMILY(QDLBlit8To8Half, QDLBlit8To8Plain)
QDL_BLIT_FORWARD_FAMILY(QDLBlit8To8Alpha, QDLBlit8To8Plain)

const QDLBlitRecord qdlBlitTable8To8[7] = {
    QDL_BLIT_RECORD(QDLBLIT_PLAIN, QDLBlit8To8Plain),
    QDL_BLIT_RECORD(QDLBLIT_KEY, QDLBlit8To8Key),
    QDL_BLIT_RECORD(QDLBLIT_SOLID, QDLBlit8To8Solid),
    QDL_BLIT_RECORD_UNMIRRORED(QDLBLIT_PLAIN, QDLBlit8To8Pattern),
    QDL_BLIT_RECORD(QDLBLIT_TRANSLUCENT, QDLBlit8To8Trans),
    QDL_BLIT_RECORD(QDLBLIT_TRANSLUCENT, QDLBlit8To8Half),
    QDL_BLIT_RECORD(QDLBLIT_ALPHAMAP, QDLBlit8To8Alpha),
};

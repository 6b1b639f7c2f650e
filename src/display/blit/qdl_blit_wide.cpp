// Plain-copy kernels for 24-bit and 32-bit frames on surfaces of the same
// pixel size, and their one-record tables. Pixels are copied byte for byte.
#include "display/blit/qdl_blit_ops.h"

namespace {
using Copy24 = qdlblit::OpCopy<3>;
using Copy32 = qdlblit::OpCopy<4>;
}  // namespace

QDL_BLIT_DEFINE_FAMILY(QDLBlit24To24Plain, Copy24, 3, 3)
QDL_BLIT_DEFINE_FAMILY(QDLBlit32To32Plain, Copy32, 4, 4)

const QDLBlitRecord qdlBlitTable24To24[1] = {
    QDL_BLIT_RECORD(QDLBLIT_PLAIN, QDLBlit24To24Plain),
};
const QDLBlitRecord qdlBlitTable32To32[1] = {
    QDL_BLIT_RECORD(QDLBLIT_PLAIN, QDLBlit32To32Plain),
};

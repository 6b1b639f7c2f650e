#pragma once
// The one walk that every sprite kernel shares.
//
// Frame data: `height` rows one after the other, each starting with its
// little-endian u16 length L (the next row starts L bytes on). Raw rows hold
// `width` pixels; run-length rows hold runs introduced by a signed control
// byte c: 1..127 an opaque run of c pixels (literal: c pixels follow; fill:
// one pixel follows), -128..-1 -c transparent positions, 0 the end of the row.
//
// The walk maps source positions onto destination pixels: unclipped, row j
// goes to y + j (mirror Y: y + h - 1 - j) and position i to x + i (mirror X:
// x + w - 1 - i). Clipped, it skips clipSkipY rows and clipSkipX positions of
// each row, draws clipWidth positions of clipHeight rows, and splits a row or
// the rows at the wrap points of a wrapping view into at most two pieces.
//
// A kernel is Walk<Op, P, D, mirrorX, mirrorY, encoding>: the walk hands each
// stretch of consecutive destination pixels to the pixel operation Op:
//   Span(d, s, n)     n source pixels at s onto n pixels from d rightwards;
//   SpanRev(d, s, n)  source pixel i onto the pixel i places left of d;
//   Fill(d, s, n)     the one source pixel at s onto n pixels from d rightwards.
// n is never 0. P is the source pixel size, D the destination's.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "display/blit/qdl_blit.h"

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the blitters read little-endian data");

namespace qdlblit {

inline uint16_t Load16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}
inline uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
inline void Store16(uint8_t* p, uint16_t v) { std::memcpy(p, &v, 2); }
inline void Store32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }

// One stretch of a row's destination: `count` pixels from column `start`
// (its leftmost pixel, or its rightmost under mirror X).
struct Piece {
  int32_t count;
  int32_t start;
};

enum : int { kRaw = QDLENC_RAW, kRle = QDLENC_RLE, kRleFill = QDLENC_RLE_FILL };

// Hands positions [a, b) of the drawn part of a row (counted from the first
// drawn position) to the op, split over the pieces. `src` is the source
// pixel of position a (literal) or the run's one pixel (fill).
template <class Op, int P, int D, bool MX, bool FILL>
inline void EmitPiece(Op& op, uint8_t* dstRow, const Piece& pc, int32_t offset, int32_t n,
                      const uint8_t* src) {
  if constexpr (MX) {
    const int32_t right = pc.start - offset;
    if constexpr (FILL) {
      op.Fill(dstRow + static_cast<ptrdiff_t>(right - n + 1) * D, src, static_cast<uint32_t>(n));
    } else {
      op.SpanRev(dstRow + static_cast<ptrdiff_t>(right) * D, src, static_cast<uint32_t>(n));
    }
  } else {
    uint8_t* d = dstRow + static_cast<ptrdiff_t>(pc.start + offset) * D;
    if constexpr (FILL) {
      op.Fill(d, src, static_cast<uint32_t>(n));
    } else {
      op.Span(d, src, static_cast<uint32_t>(n));
    }
  }
}

template <class Op, int P, int D, bool MX, bool FILL>
inline void Emit(Op& op, uint8_t* dstRow, const Piece* pc, int32_t a, int32_t b,
                 const uint8_t* src) {
  const int32_t first = pc[0].count;
  if (a < first) {
    const int32_t n = (b < first ? b : first) - a;
    EmitPiece<Op, P, D, MX, FILL>(op, dstRow, pc[0], a, n, src);
    if constexpr (!FILL) src += static_cast<ptrdiff_t>(n) * P;
    a += n;
  }
  if (a < b) EmitPiece<Op, P, D, MX, FILL>(op, dstRow, pc[1], a - first, b - a, src);
}

// Draws one row: skips `skip` positions, then fills the pieces in order.
template <class Op, int P, int D, bool MX, int ENC>
inline void DrawRow(Op& op, const uint8_t* row, uint8_t* dstRow, int32_t skip, const Piece* pc) {
  const int32_t total = pc[0].count + pc[1].count;
  if constexpr (ENC == kRaw) {
    Emit<Op, P, D, MX, false>(op, dstRow, pc, 0, total, row + 2 + static_cast<ptrdiff_t>(skip) * P);
  } else {
    const uint8_t* p = row + 2;
    int32_t pos = -skip;  // position of the next run relative to the first drawn one
    for (;;) {
      int32_t c = static_cast<int8_t>(*p++);
      if (c == 0) break;
      if (c < 0) {
        pos -= c;
        if (pos >= total) break;
        continue;
      }
      const uint8_t* data = p;
      p += (ENC == kRle) ? static_cast<ptrdiff_t>(c) * P : P;
      int32_t a = pos;
      int32_t b = pos + c;
      pos = b;
      if (b <= 0) continue;
      if (a < 0) {
        if constexpr (ENC == kRle) data += static_cast<ptrdiff_t>(-a) * P;
        a = 0;
      }
      if (b > total) b = total;
      Emit<Op, P, D, MX, ENC == kRleFill>(op, dstRow, pc, a, b, data);
      if (pos >= total) break;
    }
  }
}

template <class Op, int P, int D, bool MX, bool MY, int ENC>
uint32_t Walk(QDLSurface* pSurface, QDLFrame* pFrame, int32_t x, int32_t y, uint32_t flags,
              QDLBlitParams* pParams, uint32_t clipFlags) {
  Op op(pParams);
  const uint8_t* row = pFrame->pixels;
  uint8_t* base = pSurface->pixels;
  const ptrdiff_t pitch = pSurface->pitch;
  if (clipFlags == 0) {
    const int32_t w = pFrame->width;
    const int32_t h = pFrame->height;
    if (w <= 0 || h <= 0) return 0;
    const Piece pc[2] = {{w, MX ? x + w - 1 : x}, {0, 0}};
    for (int32_t j = 0; j < h; ++j) {
      if (j) row += Load16(row);
      const int32_t r = MY ? y + h - 1 - j : y + j;
      DrawRow<Op, P, D, MX, ENC>(op, row, base + r * pitch, 0, pc);
    }
    return 0;
  }
  const QDLBlitParams& c = *pParams;
  const int32_t cw = c.clipWidth;
  const int32_t ch = c.clipHeight;
  if (cw <= 0 || ch <= 0) return 0;
  for (int32_t i = 0; i < c.clipSkipY; ++i) row += Load16(row);
  Piece pc[2] = {{cw, MX ? c.clipX + c.clipExtentX - 1 : c.clipX}, {0, 0}};
  if (clipFlags & QDLCLIP_WRAP_X) {
    const int32_t ww = c.wrapWidth;
    if (MX) {
      pc[0] = {cw - ww, c.clipExtentX - ww - 1};
      pc[1] = {ww, c.clipX + ww - 1};
    } else {
      pc[0] = {ww, c.clipX};
      pc[1] = {cw - ww, 0};
    }
  }
  const bool wrapY = (clipFlags & QDLCLIP_WRAP_Y) != 0;
  const int32_t wh = c.wrapHeight;
  for (int32_t k = 0; k < ch; ++k) {
    if (k) row += Load16(row);
    const int32_t v = MY ? c.clipExtentY - 1 - k : k;
    const int32_t r = (wrapY && v >= wh) ? v - wh : c.clipY + v;
    DrawRow<Op, P, D, MX, ENC>(op, row, base + r * pitch, c.clipSkipX, pc);
  }
  return 0;
}

}  // namespace qdlblit

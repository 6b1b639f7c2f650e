// Rectangle copies between surfaces: same-format copies, 24-to-16-bit
// conversion, paletted 8-to-16-bit copies and the double-size copy. None of
// them clips: a rectangle that does not fit is refused whole.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "display/blit/qdl_blit.h"
#include "display/qdl.h"

namespace {

inline uint16_t Load16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}
inline void Store16(uint8_t* p, uint16_t v) { std::memcpy(p, &v, 2); }

// Bytes per pixel from the bit count (15-bit surfaces take two bytes).
int32_t BytesOf(const QDLSurface* s) { return (s->bitsPerPixel + 7) / 8; }

// Locks the source, then the destination, each unless already locked, and
// releases exactly what it locked.
class CopyLocks {
 public:
  CopyLocks(QDLSurface* pDest, QDLSurface* pSource) : dest_(pDest), source_(pSource) {
    if (!source_->locked) {
      if (QDLSurfaceLock(source_) != 0) return;
      sourceHere_ = true;
    }
    if (!dest_->locked) {
      if (QDLSurfaceLock(dest_) != 0) return;
      destHere_ = true;
    }
    ok_ = source_->pixels && dest_->pixels;
  }
  ~CopyLocks() {
    if (sourceHere_) QDLSurfaceUnlock(source_);
    if (destHere_) QDLSurfaceUnlock(dest_);
  }
  CopyLocks(const CopyLocks&) = delete;
  CopyLocks& operator=(const CopyLocks&) = delete;
  bool ok() const { return ok_; }

 private:
  QDLSurface* dest_;
  QDLSurface* source_;
  bool sourceHere_ = false;
  bool destHere_ = false;
  bool ok_ = false;
};

// The rectangle test shared by the copies: the destination block of w x h at
// (dx, dy) and the source rectangle must lie wholly inside their surfaces.
bool RectsFit(const QDLSurface* pDest, int32_t dx, int32_t dy, int64_t w, int64_t h,
              const QDLSurface* pSource, const QDLRect& s) {
  if (dx < 0 || dy < 0 || w <= 0 || h <= 0) return false;
  if (dx + w > pDest->width || dy + h > pDest->height) return false;
  if (s.left < 0 || s.top < 0 || s.right > pSource->width || s.bottom > pSource->height) {
    return false;
  }
  return true;
}

// Where the source rows of a copy are read from. When the source rectangle
// shares memory with the destination block, the source is first taken into
// a buffer, so that the copy behaves as if it read everything before writing.
struct SourceRows {
  const uint8_t* start;
  std::ptrdiff_t pitch;
  std::vector<uint8_t> buffer;
};

void TakeSource(SourceRows& rows, const uint8_t* sourceStart, std::ptrdiff_t sourcePitch,
                int32_t rowBytes, int32_t h, const uint8_t* destStart, std::ptrdiff_t destPitch,
                int32_t destRowBytes, int32_t destRows) {
  rows.start = sourceStart;
  rows.pitch = sourcePitch;
  auto span = [](const uint8_t* start, std::ptrdiff_t pitch, int32_t bytes, int32_t count,
                 uintptr_t* lo, uintptr_t* hi) {
    uintptr_t a = reinterpret_cast<uintptr_t>(start);
    uintptr_t b = reinterpret_cast<uintptr_t>(start + pitch * (count - 1));
    if (b < a) std::swap(a, b);
    *lo = a;
    *hi = b + static_cast<uintptr_t>(bytes);
  };
  uintptr_t slo, shi, dlo, dhi;
  span(sourceStart, sourcePitch, rowBytes, h, &slo, &shi);
  span(destStart, destPitch, destRowBytes, destRows, &dlo, &dhi);
  if (shi <= dlo || dhi <= slo) return;
  rows.buffer.resize(static_cast<size_t>(rowBytes) * static_cast<size_t>(h));
  for (int32_t j = 0; j < h; ++j) {
    std::memcpy(rows.buffer.data() + static_cast<size_t>(j) * rowBytes, sourceStart + sourcePitch * j,
                static_cast<size_t>(rowBytes));
  }
  rows.start = rows.buffer.data();
  rows.pitch = rowBytes;
}

}  // namespace

void QDLSurfaceCopyRect(QDLSurface* pDest, const QDLRect* pDestRect, QDLSurface* pSource,
                        const QDLRect* pSourceRect, uint32_t flags) {
  if (!pDest || !pSource || !pDestRect || !pSourceRect) return;
  if (pDest->formatCode == pSource->formatCode) {
    QDLSurfaceCopyRectSame(pDest, pDestRect, pSource, pSourceRect, flags);
  } else if (pSource->formatCode == QDLFORMAT_RGB24) {
    QDLSurfaceCopyRectConvert(pDest, pDestRect, pSource, pSourceRect, flags);
  }
}

void QDLSurfaceCopyRectSame(QDLSurface* pDest, const QDLRect* pDestRect, QDLSurface* pSource,
                            const QDLRect* pSourceRect, uint32_t flags) {
  if (!pDest || !pSource || !pDestRect || !pSourceRect) return;
  const QDLRect& s = *pSourceRect;
  const int64_t w = static_cast<int64_t>(s.right) - s.left;
  const int64_t h = static_cast<int64_t>(s.bottom) - s.top;
  if (!RectsFit(pDest, pDestRect->left, pDestRect->top, w, h, pSource, s)) return;
  CopyLocks locks(pDest, pSource);
  if (!locks.ok()) return;
  const int32_t bpp = BytesOf(pDest);
  if (bpp != 1 && bpp != 2) return;
  if (BytesOf(pSource) != bpp) return;
  const int32_t wi = static_cast<int32_t>(w);
  const int32_t hi = static_cast<int32_t>(h);
  const bool mirrorX = (flags & QDLCOPY_MIRROR_X) != 0;
  const bool mirrorY = (flags & QDLCOPY_MIRROR_Y) != 0;
  const bool keyed = (flags & QDLCOPY_KEY_SOURCE) != 0;
  const uint32_t key = pSource->colourKey & (bpp == 1 ? 0xFFu : 0xFFFFu);

  uint8_t* d0 = pDest->pixels + static_cast<std::ptrdiff_t>(pDestRect->top) * pDest->pitch +
                static_cast<std::ptrdiff_t>(pDestRect->left) * bpp;
  const uint8_t* s0 = pSource->pixels + static_cast<std::ptrdiff_t>(s.top) * pSource->pitch +
                      static_cast<std::ptrdiff_t>(s.left) * bpp;
  SourceRows rows;
  TakeSource(rows, s0, pSource->pitch, wi * bpp, hi, d0, pDest->pitch, wi * bpp, hi);

  for (int32_t j = 0; j < hi; ++j) {
    const uint8_t* sr = rows.start + rows.pitch * j;
    uint8_t* dr = d0 + static_cast<std::ptrdiff_t>(pDest->pitch) * (mirrorY ? hi - 1 - j : j);
    if (!mirrorX && !keyed) {
      std::memmove(dr, sr, static_cast<size_t>(wi) * bpp);
      continue;
    }
    for (int32_t i = 0; i < wi; ++i) {
      uint8_t* dp = dr + static_cast<std::ptrdiff_t>(mirrorX ? wi - 1 - i : i) * bpp;
      if (bpp == 1) {
        const uint8_t v = sr[i];
        if (!keyed || v != key) *dp = v;
      } else {
        const uint16_t v = Load16(sr + 2 * i);
        if (!keyed || v != key) Store16(dp, v);
      }
    }
  }
}

void QDLSurfaceCopyRectConvert(QDLSurface* pDest, const QDLRect* pDestRect, QDLSurface* pSource,
                               const QDLRect* pSourceRect, uint32_t flags) {
  if (!pDest || !pSource || !pDestRect || !pSourceRect) return;
  const QDLRect& s = *pSourceRect;
  const int64_t w = static_cast<int64_t>(s.right) - s.left;
  const int64_t h = static_cast<int64_t>(s.bottom) - s.top;
  if (!RectsFit(pDest, pDestRect->left, pDestRect->top, w, h, pSource, s)) return;
  CopyLocks locks(pDest, pSource);
  if (!locks.ok()) return;
  if (BytesOf(pDest) != 2 || BytesOf(pSource) != 3) return;
  const uint32_t rByte = pSource->redShift / 8u;
  const uint32_t gByte = pSource->greenShift / 8u;
  const uint32_t bByte = pSource->blueShift / 8u;
  if (rByte > 2 || gByte > 2 || bByte > 2) return;
  const QDLSurface& d = *pDest;
  const bool keyed = (flags & QDLCOPY_KEY_SOURCE) != 0;
  const uint8_t k0 = static_cast<uint8_t>(pSource->colourKey);
  const uint8_t k1 = static_cast<uint8_t>(pSource->colourKey >> 8);
  const uint8_t k2 = static_cast<uint8_t>(pSource->colourKey >> 16);
  const int32_t wi = static_cast<int32_t>(w);
  const int32_t hi = static_cast<int32_t>(h);
  uint8_t* d0 = pDest->pixels + static_cast<std::ptrdiff_t>(pDestRect->top) * pDest->pitch +
                static_cast<std::ptrdiff_t>(pDestRect->left) * 2;
  const uint8_t* s0 = pSource->pixels + static_cast<std::ptrdiff_t>(s.top) * pSource->pitch +
                      static_cast<std::ptrdiff_t>(s.left) * 3;
  for (int32_t j = 0; j < hi; ++j) {
    const uint8_t* sr = s0 + static_cast<std::ptrdiff_t>(pSource->pitch) * j;
    uint8_t* dr = d0 + static_cast<std::ptrdiff_t>(pDest->pitch) * j;
    for (int32_t i = 0; i < wi; ++i) {
      const uint8_t* p = sr + 3 * i;
      if (keyed && p[0] == k0 && p[1] == k1 && p[2] == k2) continue;
      const uint32_t r = p[rByte], g = p[gByte], b = p[bByte];
      const uint32_t v = ((r >> d.redLoss) << d.redShift) | ((g >> d.greenLoss) << d.greenShift) |
                         ((b >> d.blueLoss) << d.blueShift);
      Store16(dr + 2 * i, static_cast<uint16_t>(v));
    }
  }
}

void QDLSurfaceBlitRect(QDLSurface* pDest, const QDLRect* pDestRect, QDLSurface* pSource,
                        const QDLRect* pSourceRect, QDLPalette* pPalette, uint32_t flags) {
  if (!pDest || !pSource || !pDestRect || !pSourceRect) return;
  const QDLRect& s = *pSourceRect;
  const int64_t w = static_cast<int64_t>(s.right) - s.left;
  const int64_t h = static_cast<int64_t>(s.bottom) - s.top;
  if (!RectsFit(pDest, pDestRect->left, pDestRect->top, w, h, pSource, s)) return;
  QDLPalette* palette = pPalette ? pPalette : pSource->palette;
  const uint16_t* table = palette ? static_cast<const uint16_t*>(palette->colourTable) : nullptr;
  if (!table) return;
  CopyLocks locks(pDest, pSource);
  if (!locks.ok()) return;
  if (BytesOf(pDest) != 2) return;
  const int32_t sbpp = BytesOf(pSource);
  const bool mirrorX = (flags & QDLCOPY_MIRROR_X) != 0;
  const bool mirrorY = (flags & QDLCOPY_MIRROR_Y) != 0;
  const bool keyed = (flags & QDLCOPY_KEY_SOURCE) != 0;
  const uint8_t key = static_cast<uint8_t>(pSource->colourKey);
  const int32_t wi = static_cast<int32_t>(w);
  const int32_t hi = static_cast<int32_t>(h);
  uint8_t* d0 = pDest->pixels + static_cast<std::ptrdiff_t>(pDestRect->top) * pDest->pitch +
                static_cast<std::ptrdiff_t>(pDestRect->left) * 2;
  const uint8_t* s0 = pSource->pixels + static_cast<std::ptrdiff_t>(s.top) * pSource->pitch +
                      static_cast<std::ptrdiff_t>(s.left) * sbpp;
  SourceRows rows;
  TakeSource(rows, s0, pSource->pitch, wi, hi, d0, pDest->pitch, wi * 2, hi);
  for (int32_t j = 0; j < hi; ++j) {
    const uint8_t* sr = rows.start + rows.pitch * j;
    uint8_t* dr = d0 + static_cast<std::ptrdiff_t>(pDest->pitch) * (mirrorY ? hi - 1 - j : j);
    for (int32_t i = 0; i < wi; ++i) {
      const uint8_t b = sr[i];
      if (keyed && b == key) continue;
      Store16(dr + 2 * static_cast<std::ptrdiff_t>(mirrorX ? wi - 1 - i : i), table[b]);
    }
  }
}

void QDLSurfaceBlitRectI16(QDLSurface* pDest, const QDLRectI16* pDestRect, QDLSurface* pSource,
                           const QDLRectI16* pSourceRect) {
  if (!pDest || !pSource) return;
  QDLRect s;
  if (pSourceRect) {
    s = {pSourceRect->x, pSourceRect->y, pSourceRect->x + pSourceRect->width,
         pSourceRect->y + pSourceRect->height};
  } else {
    s = {0, 0, pSource->width, pSource->height};
  }
  const int32_t dx = pDestRect ? pDestRect->x : 0;
  const int32_t dy = pDestRect ? pDestRect->y : 0;
  const int64_t w = static_cast<int64_t>(s.right) - s.left;
  const int64_t h = static_cast<int64_t>(s.bottom) - s.top;
  // The destination block is twice the source's size in both directions.
  if (!RectsFit(pDest, dx, dy, 2 * w, 2 * h, pSource, s)) return;
  CopyLocks locks(pDest, pSource);
  if (!locks.ok()) return;
  const int32_t sbpp = BytesOf(pSource);
  const int32_t dbpp = BytesOf(pDest);
  const uint32_t path = static_cast<uint32_t>(sbpp * 16 + dbpp);
  if (path != 0x11 && path != 0x22) return;
  const int32_t wi = static_cast<int32_t>(w);
  const int32_t hi = static_cast<int32_t>(h);
  uint8_t* d0 = pDest->pixels + static_cast<std::ptrdiff_t>(dy) * pDest->pitch +
                static_cast<std::ptrdiff_t>(dx) * dbpp;
  const uint8_t* s0 = pSource->pixels + static_cast<std::ptrdiff_t>(s.top) * pSource->pitch +
                      static_cast<std::ptrdiff_t>(s.left) * sbpp;
  SourceRows rows;
  TakeSource(rows, s0, pSource->pitch, wi * sbpp, hi, d0, pDest->pitch, 2 * wi * dbpp, 2 * hi);
  for (int32_t j = 0; j < hi; ++j) {
    const uint8_t* sr = rows.start + rows.pitch * j;
    uint8_t* r0 = d0 + static_cast<std::ptrdiff_t>(pDest->pitch) * (2 * j);
    uint8_t* r1 = r0 + pDest->pitch;
    for (int32_t i = 0; i < wi; ++i) {
      if (path == 0x11) {
        const uint16_t v = static_cast<uint16_t>(sr[i] * 257u);
        Store16(r0 + 2 * i, v);
        Store16(r1 + 2 * i, v);
      } else {
        const uint32_t p = Load16(sr + 2 * i);
        const uint32_t v = p * 65537u;
        std::memcpy(r0 + 4 * i, &v, 4);
        std::memcpy(r1 + 4 * i, &v, 4);
      }
    }
  }
}

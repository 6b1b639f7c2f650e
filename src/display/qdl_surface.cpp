// Surfaces of the display library: the pool, creation, views, locking,
// pixel-format classification and colour keys.
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "display/q2dx.h"
#include "display/qdl_internal.h"

QDLGlobals qdlGlobals = {
    0, 0, 0, 0, 0, nullptr, -1, -1, 0, 0, 0, 0, 0, 0, 9431459u, nullptr, 0, 0, 0, 0, 0,
    {nullptr, nullptr, 0}};

namespace {

uint32_t BytesForBits(int32_t bits) {
  if (bits >= 1 && bits <= 8) return 1;
  if (bits == 15 || bits == 16) return 2;
  if (bits == 24) return 3;
  if (bits == 32) return 4;
  return 0;
}

uint32_t TrailingZeros(uint32_t mask) {
  if (mask == 0) return 0;
  uint32_t n = 0;
  while (!(mask & 1u)) {
    mask >>= 1;
    ++n;
  }
  return n;
}

uint32_t OnesAbove(uint32_t mask) {
  if (mask == 0) return 0;
  mask >>= TrailingZeros(mask);
  uint32_t n = 0;
  while (mask & 1u) {
    mask >>= 1;
    ++n;
  }
  return n;
}

// The surface that holds the pixels: a view's parent, else the surface.
QDLSurface* BaseOf(QDLSurface* p) { return (p->flags & QDLSURF_VIEW) ? p->parent : p; }

QDLSurface* NewRecord() {
  if (!qdlGlobals.surfacePoolReady) QDLSurfacePoolInit();
  return static_cast<QDLSurface*>(QDLPoolAdd(&qdlGlobals.surfacePool));
}

void ApplyDefaultKey(QDLSurface* p) {
  if (p->flags & QDLSURF_NO_PIXELS) return;
  if (p->flags & QDLSURF_PALETTED) {
    p->colourKey = qdlGlobals.defaultKeyIndex;
    if (p->ddSurface) Q2DXSurfaceSetColourKey(p->ddSurface, p->colourKey);
  } else {
    QDLSurfaceSetColourKey(p, qdlGlobals.defaultKeyR, qdlGlobals.defaultKeyG,
                           qdlGlobals.defaultKeyB);
    p->colourKeySet = 0;
  }
}

// Clips a view's rectangle to its parent; false when it starts outside.
bool FitView(const QDLSurface* pParent, int32_t x, int32_t y, int32_t* pW, int32_t* pH,
             bool wrap) {
  if (x < 0 || y < 0 || x > pParent->width || y > pParent->height) return false;
  if (wrap) {
    *pW = pParent->width;
    *pH = pParent->height;
    return true;
  }
  if (*pW < 0) *pW = 0;
  if (*pH < 0) *pH = 0;
  if (*pW > pParent->width - x) *pW = pParent->width - x;
  if (*pH > pParent->height - y) *pH = pParent->height - y;
  return true;
}

// Points a locked view (or surface) at its pixels inside its base.
void AimLocked(QDLSurface* p) {
  QDLSurface* pBase = BaseOf(p);
  if (p == pBase) return;
  p->pitch = pBase->pitch;
  p->pixels = pBase->pixels + static_cast<intptr_t>(p->viewY) * pBase->pitch +
              static_cast<intptr_t>(p->viewX) * (pBase->bitsPerPixel / 8);
  if (pBase->bitsPerPixel == 15) {
    p->pixels = pBase->pixels + static_cast<intptr_t>(p->viewY) * pBase->pitch + p->viewX * 2;
  }
}

}  // namespace

uint32_t QDLSurfacePoolInit() {
  if (qdlGlobals.surfacePoolReady) return QDL_OK;
  QDLPoolInit(&qdlGlobals.surfacePool, sizeof(QDLSurface));
  qdlGlobals.surfacePoolReady = 1;
  return QDL_OK;
}

QDLSurface* QDLSurfaceFirst() {
  return static_cast<QDLSurface*>(QDLPoolFirst(&qdlGlobals.surfacePool));
}

uint32_t QDLSurfaceFreeAll() {
  while (QDLSurface* p = QDLSurfaceFirst()) QDLSurfaceFree(p);
  return QDL_OK;
}

uint32_t QDLFormatBitsPerPixel(uint32_t formatCode) {
  switch (formatCode & QDLFORMAT_SIZE_MASK) {
    case QDLFORMAT_INDEXED8: return 8;
    case QDLFORMAT_RGB16:
    case QDLFORMAT_RGB15: return 16;
    case QDLFORMAT_RGB24: return 24;
    case QDLFORMAT_RGB32: return 32;
    default: return 0;
  }
}

void QDLSurfaceFillMemoryDesc(QDLSurface* p) {
  QDLSurfaceDesc& d = p->desc;
  std::memset(&d, 0, sizeof d);
  d.height = p->height;
  d.width = p->width;
  d.pitch = static_cast<int32_t>(p->bytesPerPixel) * p->width;
  d.surface = p->block;
  d.pixelFormat.bitCount = static_cast<uint32_t>(p->bitsPerPixel);
  switch (p->bitsPerPixel) {
    case 8:
      d.pixelFormat.flags = QDLPF_PALETTEINDEXED8 | QDLPF_RGB;
      break;
    case 15:
      d.pixelFormat.flags = QDLPF_RGB;
      d.pixelFormat.redMask = 0x7C00;
      d.pixelFormat.greenMask = 0x03E0;
      d.pixelFormat.blueMask = 0x001F;
      break;
    case 16:
      d.pixelFormat.flags = QDLPF_RGB;
      d.pixelFormat.redMask = 0xF800;
      d.pixelFormat.greenMask = 0x07E0;
      d.pixelFormat.blueMask = 0x001F;
      break;
    case 24:
    case 32:
      d.pixelFormat.flags = QDLPF_RGB;
      d.pixelFormat.redMask = 0xFF0000;
      d.pixelFormat.greenMask = 0xFF00;
      d.pixelFormat.blueMask = 0xFF;
      if (p->bitsPerPixel == 32) {
        d.pixelFormat.alphaMask = 0xFF000000u;
        d.pixelFormat.flags |= QDLPF_ALPHAPIXELS;
      }
      break;
    default: break;
  }
  switch (p->bitsPerPixel) {
    case 8: p->formatCode = QDLFORMAT_INDEXED8; break;
    case 15: case 16: p->formatCode = QDLFORMAT_RGB15; break;
    case 24: p->formatCode = QDLFORMAT_RGB24; break;
    case 32: p->formatCode = QDLFORMAT_RGB32; break;
    default: p->formatCode = 0; break;
  }
}

void QDLSurfaceWrap(QDLSurface* p, Q2DXSurface* pDD, int32_t width, int32_t height, uint32_t flags) {
  p->parent = nullptr;
  p->restoreCallback = nullptr;
  p->locked = 0;
  p->lockCount = 0;
  p->baseLockCount = 0;
  p->pixels = nullptr;
  p->restorePending = 0;
  p->colourKeySet = 0;
  p->flags = flags;
  p->width = width;
  p->height = height;
  p->ddSurface = pDD;
  p->texture = nullptr;
  QDLSurfaceReadDesc(p);
  if (p->bitsPerPixel == 8 && (flags & QDLSURF_DISPLAY)) p->flags |= QDLSURF_PALETTED;
  p->palette = nullptr;
  p->redShift = 0;
  QDLSurfaceComputeShifts(p);
  QDLSurfaceClassifyFormat(p);
}

void QDLSurfaceReadDesc(QDLSurface* p) {
  if (p->ddSurface) {
    Q2DXSurfaceGetDesc(p->ddSurface, &p->desc);
    p->bitsPerPixel = static_cast<int32_t>(p->desc.pixelFormat.bitCount);
  }
}

QDLSurface* QDLSurfaceCreate(int32_t width, int32_t height, int32_t bits, uint32_t flags) {
  if (width < 0 || height < 0) return nullptr;
  QDLSurface* p = NewRecord();
  if (!p) return nullptr;
  if (!(flags & (QDLCREATE_VIDEO | QDLCREATE_SYSTEM))) flags |= QDLCREATE_SYSTEM;
  p->width = width;
  p->height = height;
  p->bitsPerPixel = bits;
  p->flags = QDLSURF_OWN;
  if (flags & QDLCREATE_NO_PIXELS) {
    p->flags = QDLSURF_OWN | QDLSURF_NO_PIXELS;
  } else if (flags & QDLCREATE_MEMORY) {
    uint32_t bpp = BytesForBits(bits);
    // Sizes in 64 bits: a block past what the address space can hold is refused.
    uint64_t size = static_cast<uint64_t>(bpp) * static_cast<uint64_t>(width) *
                    static_cast<uint64_t>(height);
    if (bpp == 0 || size > (static_cast<uint64_t>(1) << 31)) {
      QDLPoolRemove(p);
      return nullptr;
    }
    p->flags = QDLSURF_OWN | QDLSURF_MEMORY;
    p->bytesPerPixel = static_cast<uint16_t>(bpp);
    p->block = static_cast<uint8_t*>(std::calloc(size ? size : 1, 1));
    if (!p->block) {
      QDLPoolRemove(p);
      return nullptr;
    }
    p->pixels = p->block;
    p->pitch = static_cast<int32_t>(bpp) * width;
    p->locked = 1;
    if (bits >= 1 && bits <= 8) p->flags |= QDLSURF_PALETTED;
    QDLSurfaceFillMemoryDesc(p);
  } else {
    uint32_t q = 0;
    if (flags & QDLCREATE_VIDEO) q |= Q2DXSURF_VIDEO;
    if (flags & QDLCREATE_SYSTEM) q |= Q2DXSURF_SYSTEM;
    if (flags & QDLCREATE_TEXTURE) q |= Q2DXSURF_TEXTURE;
    if (flags & QDLCREATE_FLAG32) q |= Q2DXSURF_OPTION2;
    if ((bits >= 1 && bits <= 8) || (flags & QDLCREATE_PALETTED)) q |= Q2DXSURF_PALETTED;
    p->ddSurface = Q2DXSurfaceCreate(width, height, q);
    if (!p->ddSurface) {
      QDLPoolRemove(p);
      return nullptr;
    }
    if (flags & QDLCREATE_FLAG32) p->flags |= QDLSURF_FLAG32;
    QDLSurfaceReadDesc(p);
    if (flags & QDLCREATE_VIDEO) p->flags |= QDLSURF_VIDEO;
    if (flags & QDLCREATE_SYSTEM) p->flags |= QDLSURF_SYSTEM;
    if (p->desc.caps & QDLCAPS_VIDEOMEMORY) p->flags |= QDLSURF_VIDEO;
    else if (p->desc.caps & QDLCAPS_SYSTEMMEMORY) p->flags |= QDLSURF_SYSTEM;
    if (p->bitsPerPixel >= 1 && p->bitsPerPixel <= 8) p->flags |= QDLSURF_PALETTED;
    p->texture = nullptr;
  }
  QDLSurfaceClassifyFormat(p);
  QDLSurfaceComputeShifts(p);
  ApplyDefaultKey(p);
  return p;
}

QDLSurface* QDLSurfaceWrap(void* pPixelsOrSurface, int32_t width, int32_t height, int32_t bits,
                           uint32_t flags) {
  if (!pPixelsOrSurface || width < 0 || height < 0) return nullptr;
  QDLSurface* p = NewRecord();
  if (!p) return nullptr;
  p->width = width;
  p->height = height;
  p->bitsPerPixel = bits;
  p->flags = QDLSURF_OWN;
  if (flags & QDLCREATE_MEMORY) {
    uint32_t bpp = BytesForBits(bits);
    if (bpp == 0) {
      QDLPoolRemove(p);
      return nullptr;
    }
    p->flags |= QDLSURF_MEMORY;
    p->bytesPerPixel = static_cast<uint16_t>(bpp);
    p->block = static_cast<uint8_t*>(pPixelsOrSurface);
    p->pixels = p->block;
    p->pitch = static_cast<int32_t>(bpp) * width;
    p->locked = 1;
    if (bits >= 1 && bits <= 8) p->flags |= QDLSURF_PALETTED;
    QDLSurfaceFillMemoryDesc(p);
  } else {
    p->ddSurface = static_cast<Q2DXSurface*>(pPixelsOrSurface);
    QDLSurfaceReadDesc(p);
    if (p->bitsPerPixel >= 1 && p->bitsPerPixel <= 8) p->flags |= QDLSURF_PALETTED;
  }
  if (flags & QDLCREATE_CALLER_OWNED) p->flags |= QDLSURF_CALLER_OWNED;
  if (flags & QDLCREATE_VIDEO) p->flags |= QDLSURF_VIDEO;
  if (flags & QDLCREATE_SYSTEM) p->flags |= QDLSURF_SYSTEM;
  if (flags & QDLCREATE_FLAG32) p->flags |= QDLSURF_FLAG32;
  QDLSurfaceClassifyFormat(p);
  QDLSurfaceComputeShifts(p);
  ApplyDefaultKey(p);
  return p;
}

QDLSurface* QDLSurfaceCreateView(QDLSurface* pSurface, int32_t x, int32_t y, int32_t width,
                                 int32_t height, uint32_t flags) {
  if (!pSurface) return nullptr;
  while (pSurface->flags & QDLSURF_VIEW) {
    if (!pSurface->parent) return nullptr;  // a view whose parent was freed
    x += pSurface->viewX;
    y += pSurface->viewY;
    pSurface = pSurface->parent;
  }
  bool wrap = (flags & QDLCREATE_WRAP_VIEW) != 0;
  if (!FitView(pSurface, x, y, &width, &height, wrap)) return nullptr;
  QDLSurface* p = NewRecord();
  if (!p) return nullptr;
  p->width = width;
  p->height = height;
  p->parent = pSurface;
  p->viewX = x;
  p->viewY = y;
  p->ddSurface = pSurface->ddSurface;
  p->block = nullptr;
  p->formatCode = pSurface->formatCode;
  p->redLoss = pSurface->redLoss;
  p->greenLoss = pSurface->greenLoss;
  p->blueLoss = pSurface->blueLoss;
  p->redShift = pSurface->redShift;
  p->greenShift = pSurface->greenShift;
  p->blueShift = pSurface->blueShift;
  p->colourKey = pSurface->colourKey;
  p->colourKeySet = pSurface->colourKeySet;
  p->bitsPerPixel = pSurface->bitsPerPixel;
  p->desc = pSurface->desc;
  p->bytesPerPixel = pSurface->bytesPerPixel;
  p->palette = pSurface->palette;
  p->flags = wrap ? (QDLSURF_VIEW | QDLSURF_WRAP_VIEW) : QDLSURF_VIEW;
  if (pSurface->flags & QDLSURF_PALETTED) p->flags |= QDLSURF_PALETTED;
  p->restoreCallback = nullptr;
  p->texture = nullptr;
  if (pSurface->locked) QDLSurfaceLock(p);
  return p;
}

uint32_t QDLSurfaceMoveView(QDLSurface* pView, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (!pView) return QDL_ERR_NULL_SURFACE;
  if (!(pView->flags & QDLSURF_VIEW) || !pView->parent) return QDL_ERR_INVALID;
  if (x == -1) x = pView->viewX;
  if (y == -1) y = pView->viewY;
  if (width == 0) width = pView->width;
  if (height == 0) height = pView->height;
  bool wrap = (pView->flags & QDLSURF_WRAP_VIEW) != 0;
  if (!FitView(pView->parent, x, y, &width, &height, wrap)) return QDL_ERR_INVALID;
  pView->viewX = x;
  pView->viewY = y;
  pView->width = width;
  pView->height = height;
  if (pView->locked && pView->parent->locked) AimLocked(pView);
  return QDL_OK;
}

uint32_t QDLSurfaceCopyRecord(QDLSurface* pRecord, QDLSurface* pSource) {
  if (!pRecord || !pSource) return QDL_ERR_NULL_SURFACE;
  *pRecord = *pSource;
  pRecord->links = QDLListLinks{nullptr, nullptr, nullptr};
  // The copy shares the source's pixels but holds none of its locks.
  pRecord->lockCount = 0;
  pRecord->baseLockCount = 0;
  // It is not a surface of its own: freeing it releases nothing of the source.
  pRecord->flags = (pRecord->flags & ~QDLSURF_OWN) | QDLSURF_CALLER_OWNED;
  QDLPoolLinkAfter(pRecord, pSource);
  return QDL_OK;
}

void QDLSurfaceOrphanViews(QDLSurface* pParent) {
  for (QDLSurface* p = QDLSurfaceFirst(); p;
       p = static_cast<QDLSurface*>(QDLPoolNext(p))) {
    if ((p->flags & QDLSURF_VIEW) && p->parent == pParent) {
      p->parent = nullptr;
      p->ddSurface = nullptr;
      p->pixels = nullptr;
      p->locked = 0;
      p->lockCount = 0;
      p->flags |= QDLSURF_NO_PIXELS;
    }
  }
}

uint32_t QDLSurfaceFree(QDLSurface* pSurface) {
  if (!pSurface) return QDL_ERR_NULL_SURFACE;
  QDLSurface* p = pSurface;
  if (p->flags & QDLSURF_VIEW) {
    // A view gives back the locks it still holds on its parent.
    while (p->lockCount > 0 && p->parent && p->parent->locked) {
      uint32_t before = p->lockCount;
      QDLSurfaceUnlock(p);
      if (p->lockCount == before) break;
    }
  } else {
    // Views into this surface lose their pixels rather than point at freed memory.
    QDLSurfaceOrphanViews(p);
    if (p->flags & QDLSURF_OWN) {
      if (p->flags & (QDLSURF_MEMORY | QDLSURF_NO_PIXELS)) {
        std::free(p->block);
      } else if (p->ddSurface) {
        if (p->ddSurface->locked) Q2DXSurfaceUnlock(p->ddSurface);
        Q2DXRelease(p->ddSurface);
      }
    }
  }
  p->block = nullptr;
  p->ddSurface = nullptr;
  p->pixels = nullptr;
  p->locked = 0;
  if (qdlGlobals.pDisplay == p) {
    qdlGlobals.pDisplay = nullptr;
    qdlDisplayLocked.store(0);
  }
  if (p->flags & QDLSURF_CALLER_OWNED) {
    QDLPoolUnlink(p);
  } else {
    QDLPoolRemove(p);
  }
  return QDL_OK;
}

std::atomic<uint32_t> qdlDisplayLocked{0};

uint32_t QDLSurfaceLock(QDLSurface* pSurface) {
  if (!pSurface) return QDL_ERR_FAILED;
  QDLSurface* pBase = BaseOf(pSurface);
  if (!pBase || (pBase->flags & QDLSURF_NO_PIXELS)) return QDL_ERR_FAILED;
  if (!pBase->locked || !pBase->pixels) {
    if (pBase->flags & QDLSURF_MEMORY) {
      pBase->pixels = pBase->block;
      pBase->pitch = pBase->bytesPerPixel * pBase->width;
    } else {
      if (!pBase->ddSurface) return QDL_ERR_FAILED;
      if (Q2DXSurfaceLock(pBase->ddSurface, 0, &pBase->desc) != 0) return QDL_ERR_FAILED;
      pBase->pixels = static_cast<uint8_t*>(pBase->desc.surface);
      pBase->pitch = pBase->desc.pitch;
    }
    pBase->locked = 1;
    if (pBase == qdlGlobals.pDisplay) qdlDisplayLocked.store(1);
  }
  pBase->baseLockCount++;
  pSurface->lockCount++;
  if (pSurface != pBase) {
    pSurface->locked = 1;
    AimLocked(pSurface);
  }
  return QDL_OK;
}

uint32_t QDLSurfaceUnlock(QDLSurface* pSurface) {
  if (!pSurface) return QDL_ERR_NULL_SURFACE;
  QDLSurface* pBase = BaseOf(pSurface);
  bool isView = pSurface != pBase;
  if (!pBase || !pBase->locked) {
    // Nothing to release: a view only forgets its pointer.
    if (isView) {
      pSurface->locked = 0;
      pSurface->pixels = nullptr;
      pSurface->lockCount = 0;
    }
    return QDL_OK;
  }
  if (pSurface->lockCount == 0) {
    // This record holds no lock of its own; it may not release other holders'.
    if (isView && !(pBase->flags & QDLSURF_MEMORY)) {
      pSurface->locked = 0;
      pSurface->pixels = nullptr;
    }
    return QDL_OK;
  }
  if (pBase->flags & QDLSURF_MEMORY) {
    // Memory buffers stay locked, their pixels valid.
    pSurface->lockCount--;
    if (pBase->baseLockCount) pBase->baseLockCount--;
    return QDL_OK;
  }
  if (pBase->baseLockCount == 1) {
    if (pBase->ddSurface && Q2DXSurfaceUnlock(pBase->ddSurface) != 0) return QDL_OK;
    pBase->baseLockCount = 0;
    pBase->locked = 0;
    pBase->pixels = nullptr;
    pBase->lockCount = 0;
    if (pBase == qdlGlobals.pDisplay) qdlDisplayLocked.store(0);
  } else if (pBase->baseLockCount > 0) {
    pBase->baseLockCount--;
  }
  if (pSurface->lockCount) pSurface->lockCount--;
  if (isView && (pSurface->lockCount == 0 || !pBase->locked)) {
    pSurface->locked = 0;
    pSurface->pixels = nullptr;
    pSurface->lockCount = 0;
  }
  return QDL_OK;
}

uint32_t QDLSurfaceSetRestoreCallback(QDLSurface* pSurface, QDLRestoreCallback pfnCallback) {
  if (!pSurface) return QDL_ERR_NULL_SURFACE;
  if (pSurface->flags & QDLSURF_VIEW) return QDL_ERR_INVALID;
  pSurface->restoreCallback = pfnCallback;
  return QDL_OK;
}

uint32_t QDLSurfaceBytesPerPixel(QDLSurface* pSurface) {
  if (!pSurface) return 0;
  return BytesForBits(pSurface->bitsPerPixel);
}

uint32_t QDLSurfaceComputeShifts(QDLSurface* pSurface) {
  if (!pSurface) return QDL_ERR_NULL_SURFACE;
  QDLSurface* p = BaseOf(pSurface);
  if (!p) return QDL_ERR_INVALID;
  if (p->flags & (QDLSURF_NO_PIXELS | QDLSURF_PALETTED)) return QDL_OK;
  const QDLPixelFormatDesc& f = p->desc.pixelFormat;
  p->redShift = static_cast<uint16_t>(TrailingZeros(f.redMask));
  p->greenShift = static_cast<uint16_t>(TrailingZeros(f.greenMask));
  p->blueShift = static_cast<uint16_t>(TrailingZeros(f.blueMask));
  p->redLoss = static_cast<uint16_t>(8 - OnesAbove(f.redMask));
  p->greenLoss = static_cast<uint16_t>(8 - OnesAbove(f.greenMask));
  p->blueLoss = static_cast<uint16_t>(8 - OnesAbove(f.blueMask));
  if (pSurface != p) {
    pSurface->redShift = p->redShift;
    pSurface->greenShift = p->greenShift;
    pSurface->blueShift = p->blueShift;
    pSurface->redLoss = p->redLoss;
    pSurface->greenLoss = p->greenLoss;
    pSurface->blueLoss = p->blueLoss;
  }
  return QDL_OK;
}

uint32_t QDLSurfaceClassifyFormat(QDLSurface* pSurface) {
  if (!pSurface) return QDL_ERR_NULL_SURFACE;
  QDLSurface* p = BaseOf(pSurface);
  if (!p) return QDL_ERR_INVALID;
  if (p->flags & QDLSURF_NO_PIXELS) return QDL_OK;
  if (p->redShift == 0) QDLSurfaceComputeShifts(p);
  uint32_t bits = p->desc.pixelFormat.bitCount;
  uint32_t code = 0;
  if (bits == 8) {
    code = QDLFORMAT_INDEXED8;
  } else if (bits == 15 || bits == 16) {
    code = (p->redShift + p->greenShift + p->blueShift == 15) ? QDLFORMAT_RGB15 : QDLFORMAT_RGB16;
    if (p->redLoss == 2) code |= QDLFORMAT_SIX_RED;
    else if (p->greenLoss == 2) code |= QDLFORMAT_SIX_GREEN;
    else if (p->blueLoss == 2) code |= QDLFORMAT_SIX_BLUE;
  } else if (bits == 24) {
    code = QDLFORMAT_RGB24;
  } else if (bits == 32) {
    code = QDLFORMAT_RGB32;
  }
  if (bits > 8) {
    uint32_t r = p->redShift, g = p->greenShift, b = p->blueShift;
    uint32_t order;
    if (r >= g && r >= b) order = (g >= b) ? QDLFORMAT_ORDER_RGB : QDLFORMAT_ORDER_RBG;
    else if (g >= r && g >= b) order = (r >= b) ? QDLFORMAT_ORDER_GRB : QDLFORMAT_ORDER_GBR;
    else order = (r >= g) ? QDLFORMAT_ORDER_BRG : QDLFORMAT_ORDER_BGR;
    code |= order;
  }
  p->formatCode = static_cast<uint16_t>(code);
  p->bytesPerPixel = static_cast<uint16_t>((bits == 15 ? 16 : bits) / 8);
  if (pSurface != p) {
    pSurface->formatCode = p->formatCode;
    pSurface->bytesPerPixel = p->bytesPerPixel;
  }
  return QDL_OK;
}

uint32_t QDLSurfaceSetColourKey(QDLSurface* pSurface, uint8_t r, uint8_t g, uint8_t b) {
  if (!pSurface) return QDL_ERR_NULL_SURFACE;
  QDLSurface* p = BaseOf(pSurface);
  if (!p) return QDL_ERR_INVALID;
  p->colourKey = QDLSurfaceRGBToPixel(p, r, g, b);
  p->colourKeySet = 1;
  if (!(p->flags & QDLSURF_MEMORY) && p->ddSurface) Q2DXSurfaceSetColourKey(p->ddSurface, p->colourKey);
  if (pSurface != p) {
    pSurface->colourKey = p->colourKey;
    pSurface->colourKeySet = 1;
  }
  return QDL_OK;
}

uint32_t QDLSetDefaultColourKey(uint8_t r, uint8_t g, uint8_t b) {
  qdlGlobals.defaultKeyIndex = r;
  qdlGlobals.defaultKeyR = r;
  qdlGlobals.defaultKeyG = g;
  qdlGlobals.defaultKeyB = b;
  return QDL_OK;
}

uint32_t QDLRestoreSurfaces() {
  // Our surfaces are never lost: each one that was marked pending while the
  // program was away gets its restore callback once.
  for (QDLSurface* p = QDLSurfaceFirst(); p; p = static_cast<QDLSurface*>(QDLPoolNext(p))) {
    if ((p->flags & QDLSURF_OWN) && p->restoreCallback && p->restorePending) {
      p->restorePending = 0;
      p->restoreCallback(p);
    }
  }
  QDLSurface* pDisplay = qdlGlobals.pDisplay;
  if (pDisplay && pDisplay->restoreCallback && pDisplay->restorePending) {
    pDisplay->restorePending = 0;
    pDisplay->restoreCallback(pDisplay);
  }
  for (QDLSurface* p = QDLSurfaceFirst(); p; p = static_cast<QDLSurface*>(QDLPoolNext(p)))
    p->restorePending = 0;
  return QDL_OK;
}

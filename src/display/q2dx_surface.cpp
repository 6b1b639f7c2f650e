// Off-screen surfaces and 8-bit palettes of the Q2DX layer.
#include <cstdlib>
#include <cstring>

#include "display/q2dx_internal.h"

namespace {

Q2DXSurface* NewSurface(int32_t width, int32_t height, const QDLPixelFormatDesc& format,
                        uint32_t caps) {
  if (width < 0 || height < 0) return nullptr;
  uint32_t bpp = Q2DXBytesPerPixel(static_cast<int32_t>(format.bitCount));
  if (bpp == 0) return nullptr;
  // Rows padded to 4 bytes, as a display driver would lay them out.
  uint64_t pitch = (static_cast<uint64_t>(width) * bpp + 3u) & ~static_cast<uint64_t>(3);
  uint64_t size = pitch * static_cast<uint64_t>(height);
  if (size > (static_cast<uint64_t>(1) << 31)) return nullptr;
  Q2DXSurface* p = static_cast<Q2DXSurface*>(std::calloc(1, sizeof(Q2DXSurface)));
  if (!p) return nullptr;
  p->pixels = static_cast<uint8_t*>(std::calloc(size ? size : 1, 1));
  if (!p->pixels) {
    std::free(p);
    return nullptr;
  }
  p->width = width;
  p->height = height;
  p->pitch = static_cast<int32_t>(pitch);
  p->pixelFormat = format;
  p->caps = caps;
  p->ownsPixels = 1;
  return p;
}

}  // namespace

void Q2DXFormatForBits(int32_t bits, QDLPixelFormatDesc* pFormat) {
  std::memset(pFormat, 0, sizeof *pFormat);
  pFormat->bitCount = static_cast<uint32_t>(bits);
  switch (bits) {
    case 8:
      pFormat->flags = QDLPF_PALETTEINDEXED8 | QDLPF_RGB;
      break;
    case 15:
      pFormat->flags = QDLPF_RGB;
      pFormat->bitCount = 16;
      pFormat->redMask = 0x7C00;
      pFormat->greenMask = 0x03E0;
      pFormat->blueMask = 0x001F;
      break;
    case 16:
      pFormat->flags = QDLPF_RGB;
      pFormat->redMask = 0xF800;
      pFormat->greenMask = 0x07E0;
      pFormat->blueMask = 0x001F;
      break;
    case 24:
    case 32:
      pFormat->flags = QDLPF_RGB;
      pFormat->redMask = 0xFF0000;
      pFormat->greenMask = 0xFF00;
      pFormat->blueMask = 0xFF;
      break;
    default: break;
  }
}

uint32_t Q2DXBytesPerPixel(int32_t bits) {
  switch (bits) {
    case 8: return 1;
    case 15:
    case 16: return 2;
    case 24: return 3;
    case 32: return 4;
    default: return 0;
  }
}

Q2DXSurface* Q2DXSurfaceCreate(int32_t width, int32_t height, uint32_t flags) {
  uint32_t caps = 0;
  if ((flags & Q2DXSURF_SYSTEM) || q2dxState.sysMemBlit) caps |= QDLCAPS_SYSTEMMEMORY;
  else if (flags & Q2DXSURF_VIDEO) caps |= QDLCAPS_VIDEOMEMORY;
  else caps |= QDLCAPS_SYSTEMMEMORY;
  if (flags & Q2DXSURF_TEXTURE) caps |= QDLCAPS_TEXTURE;
  QDLPixelFormatDesc format;
  if (flags & Q2DXSURF_PALETTED) {
    Q2DXFormatForBits(8, &format);
  } else if (q2dxState.displayFormat.bitCount) {
    // An off-screen surface takes the display's pixel format.
    format = q2dxState.displayFormat;
  } else if (q2dxState.desktopFormat.bitCount) {
    format = q2dxState.desktopFormat;
  } else {
    Q2DXFormatForBits(16, &format);
  }
  Q2DXSurface* p = NewSurface(width, height, format, caps);
  q2dxState.lastResult = p ? Q2DX_OK : Q2DX_E_FAIL;
  return p;
}

Q2DXSurface* Q2DXSurfaceCreateFormat(int32_t width, int32_t height, int32_t bits, uint32_t flags) {
  uint32_t caps = (flags & Q2DXSURF_VIDEO) ? QDLCAPS_VIDEOMEMORY : QDLCAPS_SYSTEMMEMORY;
  if (flags & Q2DXSURF_TEXTURE) caps |= QDLCAPS_TEXTURE;
  QDLPixelFormatDesc format;
  Q2DXFormatForBits(bits, &format);
  Q2DXSurface* p = NewSurface(width, height, format, caps);
  q2dxState.lastResult = p ? Q2DX_OK : Q2DX_E_FAIL;
  return p;
}

uint32_t Q2DXSurfaceGetDesc(Q2DXSurface* pSurface, QDLSurfaceDesc* pDesc) {
  if (!pSurface || !pDesc) return 1;
  std::memset(pDesc, 0, sizeof *pDesc);
  pDesc->width = pSurface->width;
  pDesc->height = pSurface->height;
  pDesc->pitch = pSurface->pitch;
  pDesc->pixelFormat = pSurface->pixelFormat;
  pDesc->caps = pSurface->caps;
  pDesc->surface = pSurface->locked ? pSurface->pixels : nullptr;
  return 0;
}

uint32_t Q2DXSurfaceLock(Q2DXSurface* pSurface, uint32_t flags, QDLSurfaceDesc* pDesc) {
  if (!pSurface || !pSurface->pixels) {
    q2dxState.lastResult = Q2DX_E_FAIL;
    return 1;
  }
  pSurface->locked = 1;
  if (pDesc) {
    Q2DXSurfaceGetDesc(pSurface, pDesc);
    pDesc->surface = pSurface->pixels;
  }
  q2dxState.lastResult = Q2DX_OK;
  return 0;
}

uint32_t Q2DXSurfaceUnlock(Q2DXSurface* pSurface) {
  if (!pSurface) return 1;
  pSurface->locked = 0;
  return 0;
}

uint32_t Q2DXSurfaceSetColourKey(Q2DXSurface* pSurface, uint32_t key) {
  if (!pSurface) return 1;
  pSurface->colourKey = key;
  pSurface->colourKeySet = 1;
  return 0;
}

uint32_t Q2DXSurfaceFill(Q2DXSurface* pSurface, uint32_t value) {
  if (!pSurface || !pSurface->pixels) return 1;
  uint32_t bpp = Q2DXBytesPerPixel(static_cast<int32_t>(pSurface->pixelFormat.bitCount));
  for (int32_t y = 0; y < pSurface->height; ++y) {
    uint8_t* pRow = pSurface->pixels + static_cast<size_t>(y) * pSurface->pitch;
    if (value == 0) {
      std::memset(pRow, 0, static_cast<size_t>(pSurface->width) * bpp);
      continue;
    }
    for (int32_t x = 0; x < pSurface->width; ++x)
      for (uint32_t i = 0; i < bpp; ++i) pRow[x * bpp + i] = static_cast<uint8_t>(value >> (8 * i));
  }
  return 0;
}

uint32_t Q2DXSurfaceCopyRect(Q2DXSurface* pDest, int32_t destX, int32_t destY, Q2DXSurface* pSource,
                             const Q2DXRect* pSourceRect) {
  if (!pDest || !pSource || !pSourceRect) return 1;
  if (Q2DXSurfaceLock(pSource, 0, nullptr) != 0) return 1;
  Q2DXSurfaceLock(pDest, 0, nullptr);
  uint32_t bpp = Q2DXBytesPerPixel(static_cast<int32_t>(pSource->pixelFormat.bitCount));
  uint32_t dbpp = Q2DXBytesPerPixel(static_cast<int32_t>(pDest->pixelFormat.bitCount));
  Q2DXRect r = *pSourceRect;
  // Clipped to both surfaces: the copy never reads or writes outside them.
  if (r.left < 0) { destX -= r.left; r.left = 0; }
  if (r.top < 0) { destY -= r.top; r.top = 0; }
  if (r.right > pSource->width) r.right = pSource->width;
  if (r.bottom > pSource->height) r.bottom = pSource->height;
  if (destX < 0) { r.left -= destX; destX = 0; }
  if (destY < 0) { r.top -= destY; destY = 0; }
  if (r.right - r.left > pDest->width - destX) r.right = r.left + pDest->width - destX;
  if (r.bottom - r.top > pDest->height - destY) r.bottom = r.top + pDest->height - destY;
  if (bpp == dbpp && r.right > r.left && r.bottom > r.top) {
    size_t rowBytes = static_cast<size_t>(r.right - r.left) * bpp;
    for (int32_t y = r.top; y < r.bottom; ++y) {
      std::memmove(pDest->pixels + static_cast<size_t>(destY + y - r.top) * pDest->pitch + destX * dbpp,
                   pSource->pixels + static_cast<size_t>(y) * pSource->pitch + r.left * bpp, rowBytes);
    }
  }
  Q2DXSurfaceUnlock(pSource);
  Q2DXSurfaceUnlock(pDest);
  return 0;
}

uint32_t Q2DXSurfaceSetPalette(Q2DXSurface* pSurface, Q2DXPalette* pPalette) {
  if (!pSurface) return 1;
  if (pPalette == pSurface->palette) return 0;
  if (pPalette) Q2DXPaletteAddRef(pPalette);
  if (pSurface->palette) Q2DXPaletteRelease(pSurface->palette);
  pSurface->palette = pPalette;
  return 0;
}

Q2DXPalette* Q2DXSurfaceGetPalette(Q2DXSurface* pSurface) {
  return pSurface ? pSurface->palette : nullptr;
}

uint32_t Q2DXSurfacePaletteCopy(Q2DXSurface* pDest, Q2DXSurface* pSource) {
  if (!pDest || !pSource) return 1;
  return Q2DXSurfaceSetPalette(pDest, pSource->palette);
}

void Q2DXRelease(Q2DXSurface* pSurface) {
  if (!pSurface) return;
  if (pSurface->palette) Q2DXPaletteRelease(pSurface->palette);
  if (pSurface->ownsPixels) std::free(pSurface->pixels);
  std::free(pSurface);
}

Q2DXSurface* Q2DXSurfaceWrapMemory(uint8_t* pPixels, int32_t width, int32_t height, int32_t pitch,
                                   const QDLPixelFormatDesc* pFormat) {
  if (!pPixels || !pFormat || width < 0 || height < 0) return nullptr;
  Q2DXSurface* p = static_cast<Q2DXSurface*>(std::calloc(1, sizeof(Q2DXSurface)));
  if (!p) return nullptr;
  p->width = width;
  p->height = height;
  p->pitch = pitch;
  p->pixelFormat = *pFormat;
  p->caps = QDLCAPS_SYSTEMMEMORY;
  p->pixels = pPixels;
  return p;
}

Q2DXPalette* Q2DXPaletteCreate(const QDLPaletteEntry* pEntries) {
  Q2DXPalette* p = static_cast<Q2DXPalette*>(std::calloc(1, sizeof(Q2DXPalette)));
  if (!p) return nullptr;
  if (pEntries) std::memcpy(p->entries, pEntries, sizeof p->entries);
  p->refCount = 1;
  return p;
}

void Q2DXPaletteAddRef(Q2DXPalette* pPalette) {
  if (pPalette) pPalette->refCount++;
}

void Q2DXPaletteRelease(Q2DXPalette* pPalette) {
  if (!pPalette) return;
  if (--pPalette->refCount == 0) std::free(pPalette);
}

uint32_t Q2DXPaletteSetEntries(Q2DXPalette* pPalette, uint32_t first, uint32_t count,
                               const QDLPaletteEntry* pEntries) {
  if (!pPalette || !pEntries || first >= 256 || count > 256 - first) return 1;
  std::memcpy(&pPalette->entries[first], pEntries, count * sizeof(QDLPaletteEntry));
  return 0;
}

uint32_t Q2DXPaletteGetEntries(Q2DXPalette* pPalette, uint32_t first, uint32_t count,
                               QDLPaletteEntry* pEntries) {
  if (!pPalette || !pEntries || first >= 256 || count > 256 - first) return 1;
  std::memcpy(pEntries, &pPalette->entries[first], count * sizeof(QDLPaletteEntry));
  return 0;
}

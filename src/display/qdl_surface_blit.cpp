// Image loaders over the TGA and BMP readers, surface-to-surface copies and
// blits, and saving surfaces as image files.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "display/q2dx.h"
#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_convert.h"
#include "display/qdl_image.h"
#include "display/qdl_palette.h"
#include "display/qdl_sheet.h"
#include "platform/paths.h"

namespace {

QDLSurface* BaseOf(QDLSurface* p, int32_t* pOx, int32_t* pOy) {
  *pOx = *pOy = 0;
  if ((p->flags & QDLSURF_VIEW) && p->parent != nullptr) {
    *pOx = p->viewX;
    *pOy = p->viewY;
    return p->parent;
  }
  return p;
}

uint32_t ReadRaw(const uint8_t* p, uint32_t bpp) {
  switch (bpp) {
    case 1: return p[0];
    case 2: return static_cast<uint32_t>(p[0] | (p[1] << 8));
    case 3: return static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16));
    default: return static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) | (static_cast<uint32_t>(p[3]) << 24);
  }
}

void WriteRaw(uint8_t* p, uint32_t bpp, uint32_t v) {
  for (uint32_t i = 0; i < bpp; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Software copy of a source rectangle to a destination rectangle (nearest
// neighbour when the sizes differ), converting between formats through R, G,
// B and skipping source pixels equal to the source key when asked. The
// rectangles are in the base surfaces' coordinates and already clipped to
// them.
void CopyPixels(QDLSurface* pDst, int32_t dx, int32_t dy, int32_t dw, int32_t dh, QDLSurface* pSrc, int32_t sx,
                int32_t sy, int32_t sw, int32_t sh, bool keyed) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  const bool dstLocked = pDst->locked && pDst->pixels, srcLocked = pSrc->locked && pSrc->pixels;
  if (!dstLocked && QDLSurfaceLock(pDst) != 0) return;
  if (!srcLocked && pSrc != pDst && QDLSurfaceLock(pSrc) != 0) {
    if (!dstLocked) QDLSurfaceUnlock(pDst);
    return;
  }
  const uint32_t db = pDst->bytesPerPixel, sb = pSrc->bytesPerPixel;
  const bool useKey = keyed && pSrc->colourKeySet;
  // The formats' fields are worked out once; unscaled, unkeyed rows are
  // converted whole (a plain copy when the formats are the same).
  QDLPixelConverter conv;
  QDLPixelConverterForSurfaces(&conv, pDst, pSrc);
  // (A copy within one surface keeps the pixel-by-pixel order.)
  const bool wholeRows = !useKey && dw == sw && pSrc != pDst && sb >= 1 && sb <= 4 && db >= 1 && db <= 4;
  uint32_t uNoDraws = 0;
  for (int32_t j = 0; j < dh; ++j) {
    const int32_t syy = sy + static_cast<int32_t>(static_cast<int64_t>(j) * sh / dh);
    uint8_t* drow = pDst->pixels + static_cast<intptr_t>(dy + j) * pDst->pitch;
    const uint8_t* srow = pSrc->pixels + static_cast<intptr_t>(syy) * pSrc->pitch;
    if (wholeRows) {
      uint8_t* d = drow + static_cast<size_t>(dx) * db;
      const uint8_t* s = srow + static_cast<size_t>(sx) * sb;
      if (conv.dstKind == QDLPIXCONV_DST_KEEP && sb == db) std::memmove(d, s, static_cast<size_t>(dw) * sb);
      else QDLPixelConvertRow(&conv, d, s, static_cast<uint32_t>(dw));
      continue;
    }
    for (int32_t i = 0; i < dw; ++i) {
      const int32_t sxx = sx + static_cast<int32_t>(static_cast<int64_t>(i) * sw / dw);
      const uint32_t v = ReadRaw(srow + static_cast<size_t>(sxx) * sb, sb);
      if (useKey && v == pSrc->colourKey) continue;
      WriteRaw(drow + static_cast<size_t>(dx + i) * db, db, QDLPixelConvert(conv, v, &uNoDraws));
    }
  }
  if (!srcLocked && pSrc != pDst) QDLSurfaceUnlock(pSrc);
  if (!dstLocked) QDLSurfaceUnlock(pDst);
}

// Clips a same-size copy of w x h from (sx, sy) to (x, y) against both
// surfaces' areas.
bool ClipCopy(int32_t* x, int32_t* y, int32_t* sx, int32_t* sy, int32_t* w, int32_t* h, int32_t dstW, int32_t dstH,
              int32_t srcW, int32_t srcH) {
  if (*sx < 0) { *x -= *sx; *w += *sx; *sx = 0; }
  if (*sy < 0) { *y -= *sy; *h += *sy; *sy = 0; }
  *w = std::min(*w, srcW - *sx);
  *h = std::min(*h, srcH - *sy);
  if (*x < 0) { *sx -= *x; *w += *x; *x = 0; }
  if (*y < 0) { *sy -= *y; *h += *y; *y = 0; }
  *w = std::min(*w, dstW - *x);
  *h = std::min(*h, dstH - *y);
  return *w > 0 && *h > 0;
}

// Attaches a new palette holding the loaded surface's 256 entries.
QDLPalette* PaletteFromLoaded(const Q2DXSurface* pLoaded, bool reduce) {
  QDLPalette* pPal = QDLPaletteCreate(256, 1, 0);
  if (pPal == nullptr) return nullptr;
  QDLPaletteEntry entries[256] = {};
  if (pLoaded != nullptr && pLoaded->palette != nullptr)
    for (int i = 0; i < 256; ++i) entries[i] = pLoaded->palette->entries[i];
  if (reduce)
    for (int i = 0; i < 32; ++i) entries[i] = entries[i * 8];
  QDLPaletteSetEntries(pPal, entries, 0, 256);
  return pPal;
}

QDLSurface* LoadImage(bool tga, QDLSurface* pSurface, const char* pGamePath, uint32_t flags) {
  if (pGamePath == nullptr) return nullptr;
  // Game paths (backslashes, any case, relative to the executable) go through
  // the platform's resolver before the file readers see them.
  const std::string hostPath = platform::resolvePath(pGamePath);
  const char* pFileName = hostPath.c_str();
  const bool wantPalette = (flags & QDLIMAGE_PALETTE) != 0;
  QDLSurface* pLoaded = nullptr;
  if (wantPalette) {
    // Indexed images keep their indices in an 8-bit surface with its palette.
    QDLSurfaceDesc desc;
    void* p = tga ? QDLTGARead(pFileName, nullptr, &desc, QDLIMG_PALETTED | QDLIMG_SYSTEM)
                  : QDLBMPRead(pFileName, nullptr, &desc, QDLIMG_PALETTED | QDLIMG_SYSTEM);
    if (p == nullptr) return nullptr;
    auto* pQ = static_cast<Q2DXSurface*>(p);
    pLoaded = QDLSurfaceWrap(pQ, pQ->width, pQ->height, static_cast<int32_t>(pQ->pixelFormat.bitCount), 0);
    if (pLoaded == nullptr) {
      Q2DXRelease(pQ);
      return nullptr;
    }
    if (pQ->pixelFormat.bitCount == 8) {
      const bool reduce = (flags & QDLIMAGE_32_COLOURS) != 0;
      QDLPalette* pPal = PaletteFromLoaded(pQ, reduce);
      if (pPal != nullptr) QDLSurfaceSetPalette(pLoaded, pPal, 1);
      if (reduce && QDLSurfaceLock(pLoaded) == 0) {
        for (int32_t y = 0; y < pLoaded->height; ++y)
          for (int32_t x = 0; x < pLoaded->width; ++x) pLoaded->pixels[y * pLoaded->pitch + x] >>= 3;
        QDLSurfaceUnlock(pLoaded);
      }
    }
  } else {
    QDLSurfaceDesc desc;
    void* p = tga ? QDLTGARead(pFileName, nullptr, &desc, QDLIMG_MEMORY) : QDLBMPRead(pFileName, nullptr, &desc, QDLIMG_MEMORY);
    if (p == nullptr) return nullptr;
    pLoaded = QDLSurfaceWrap(p, desc.width, desc.height, 32, QDLCREATE_MEMORY);
    if (pLoaded == nullptr) {
      std::free(p);
      return nullptr;
    }
  }
  if (flags & QDLIMAGE_NO_SURFACE) {
    if (pLoaded->palette && wantPalette) QDLPaletteFree(pLoaded->palette);
    QDLSurfaceFree(pLoaded);
    return nullptr;
  }
  if (pSurface == nullptr) {
    // A memory image is returned as it is; otherwise the image goes into a
    // new surface of its size made with the caller's flags (the display's
    // format for surfaces of the presentation layer).
    if ((flags & QDLIMAGE_MEMORY) || wantPalette) return pLoaded;
    QDLSurface* pNew = QDLSurfaceCreate(pLoaded->width, pLoaded->height, 32,
                                        flags & (QDLCREATE_VIDEO | QDLCREATE_SYSTEM | QDLCREATE_FLAG32 | QDLCREATE_TEXTURE));
    if (pNew != nullptr) CopyPixels(pNew, 0, 0, pNew->width, pNew->height, pLoaded, 0, 0, pLoaded->width, pLoaded->height, false);
    QDLSurfaceFree(pLoaded);
    return pNew;
  }
  // Copy into the given surface, over the smaller of the two sizes.
  int32_t ox, oy;
  QDLSurface* pBase = BaseOf(pSurface, &ox, &oy);
  const int32_t w = std::min(pSurface->width, pLoaded->width), h = std::min(pSurface->height, pLoaded->height);
  if (!(pBase->flags & QDLSURF_NO_PIXELS)) CopyPixels(pBase, ox, oy, w, h, pLoaded, 0, 0, w, h, false);
  if (pLoaded->palette != nullptr) {
    if (pSurface->palette == nullptr) QDLSurfaceSetPalette(pSurface, pLoaded->palette, 1);
    else QDLPaletteFree(pLoaded->palette);
  }
  QDLSurfaceFree(pLoaded);
  return pSurface;
}

uint32_t SaveImage(bool tga, QDLSurface* pSurface, const char* pGamePath, const QDLRectI16* pRect) {
  if (pSurface == nullptr) return QDL_ERR_NULL_SURFACE;
  if (pGamePath == nullptr) return QDL_ERR_FAILED;
  const std::string hostPath = platform::resolvePath(pGamePath);
  const char* pFileName = hostPath.c_str();
  int32_t ox, oy;
  QDLSurface* pBase = BaseOf(pSurface, &ox, &oy);
  const bool memory = (pBase->flags & QDLSURF_MEMORY) != 0;
  // A surface locked by its owner cannot be read by the writer (memory
  // surfaces are always locked and are read directly).
  if (!memory && pBase->locked) return QDL_ERR_FAILED;
  Q2DXRect r{ox, oy, ox + pSurface->width, oy + pSurface->height};
  if (pRect != nullptr) r = Q2DXRect{ox + pRect->x, oy + pRect->y, ox + pRect->x + pRect->width, oy + pRect->y + pRect->height};
  Q2DXSurface temp{};
  Q2DXPalette tempPalette{};
  Q2DXSurface* pQ = pBase->ddSurface;
  if (memory || pQ == nullptr) {
    if (pBase->pixels == nullptr) return QDL_ERR_FAILED;
    temp.width = pBase->width;
    temp.height = pBase->height;
    temp.pitch = pBase->pitch;
    temp.pixelFormat = pBase->desc.pixelFormat;
    temp.pixels = pBase->pixels;
    if (pBase->palette != nullptr && pBase->palette->entries != nullptr) {
      for (uint32_t i = 0; i < 256 && i < pBase->palette->entryCount; ++i) tempPalette.entries[i] = pBase->palette->entries[i];
      temp.palette = &tempPalette;
    }
    pQ = &temp;
  }
  return tga ? QDLTGAWrite(pFileName, pQ, &r, 0) : QDLBMPWrite(pFileName, pQ, &r, 0);
}

}  // namespace

QDLSurface* QDLImageLoadTGA(QDLSurface* pSurface, const char* pFileName, uint32_t flags) {
  return LoadImage(true, pSurface, pFileName, flags);
}

QDLSurface* QDLImageLoadBMP(QDLSurface* pSurface, const char* pFileName, uint32_t flags) {
  return LoadImage(false, pSurface, pFileName, flags);
}

uint32_t QDLSurfaceCopy(QDLSurface* pDest, QDLSurface* pSource, uint32_t flags) {
  if (pDest == nullptr || pSource == nullptr) return QDL_ERR_NULL_SURFACE;
  // A whole-surface copy that cannot be made (a side without pixels) fails with 1.
  if ((pDest->flags & QDLSURF_NO_PIXELS) || (pSource->flags & QDLSURF_NO_PIXELS)) return QDL_ERR_GENERAL;
  return QDLSurfaceBlitXY(pDest, 0, 0, pSource, 0, 0, pSource->width, pSource->height, flags & QDLSURFBLIT_KEY);
}

uint32_t QDLSurfaceBlitXY(QDLSurface* pDest, int32_t x, int32_t y, QDLSurface* pSource, int32_t sourceX,
                          int32_t sourceY, int32_t width, int32_t height, uint32_t flags) {
  if (pDest == nullptr || pSource == nullptr) return QDL_ERR_NULL_SURFACE;
  // 4 for a destination without pixels; a source without pixels draws nothing.
  if (pDest->flags & QDLSURF_NO_PIXELS) return QDL_ERR_INVALID;
  if (pSource->flags & QDLSURF_NO_PIXELS) return QDL_OK;
  if (width == 0) width = pSource->width;
  if (height == 0) height = pSource->height;
  // Always clipped against both surfaces, whatever the flags say.
  if (!ClipCopy(&x, &y, &sourceX, &sourceY, &width, &height, pDest->width, pDest->height, pSource->width,
                pSource->height))
    return QDL_OK;
  int32_t dox, doy, sox, soy;
  QDLSurface* pD = BaseOf(pDest, &dox, &doy);
  QDLSurface* pS = BaseOf(pSource, &sox, &soy);
  CopyPixels(pD, x + dox, y + doy, width, height, pS, sourceX + sox, sourceY + soy, width, height,
             (flags & QDLSURFBLIT_KEY) != 0);
  return QDL_OK;
}

uint32_t QDLSurfaceBlit(QDLSurface* pDest, int32_t x, int32_t y, QDLSurface* pSource, const QDLRectI16* pSourceRect,
                        uint32_t flags) {
  if (pSource == nullptr) return QDL_ERR_NULL_SURFACE;
  if (pSourceRect == nullptr) return QDLSurfaceBlitXY(pDest, x, y, pSource, 0, 0, 0, 0, flags);
  return QDLSurfaceBlitXY(pDest, x, y, pSource, pSourceRect->x, pSourceRect->y, pSourceRect->width,
                          pSourceRect->height, flags);
}

uint32_t QDLSurfaceBlitStretch(QDLSurface* pDest, const QDLRectI16* pDestRect, QDLSurface* pSource,
                               const QDLRectI16* pSourceRect, uint32_t flags) {
  if (pDest == nullptr || pSource == nullptr) return QDL_ERR_NULL_SURFACE;
  // 4 for a destination without pixels; a source without pixels draws nothing.
  if (pDest->flags & QDLSURF_NO_PIXELS) return QDL_ERR_INVALID;
  if (pSource->flags & QDLSURF_NO_PIXELS) return QDL_OK;
  int32_t sx = 0, sy = 0, sw = pSource->width, sh = pSource->height;
  if (pSourceRect != nullptr) {
    sx = pSourceRect->x;
    sy = pSourceRect->y;
    if (pSourceRect->width) sw = pSourceRect->width;
    if (pSourceRect->height) sh = pSourceRect->height;
  }
  int32_t dx = 0, dy = 0, dw = sw, dh = sh;
  if (pDestRect != nullptr) {
    dx = pDestRect->x;
    dy = pDestRect->y;
    if (pDestRect->width) dw = pDestRect->width;
    if (pDestRect->height) dh = pDestRect->height;
  }
  // The source rectangle must lie inside the source; the destination is
  // clipped, the source part scaled along with it.
  if (sx < 0 || sy < 0 || sw <= 0 || sh <= 0 || sx + sw > pSource->width || sy + sh > pSource->height || dw <= 0 ||
      dh <= 0)
    return QDL_OK;
  int32_t cx0 = std::max(dx, 0), cy0 = std::max(dy, 0);
  int32_t cx1 = std::min(dx + dw, pDest->width), cy1 = std::min(dy + dh, pDest->height);
  if (cx1 <= cx0 || cy1 <= cy0) return QDL_OK;
  int32_t dox, doy, sox, soy;
  QDLSurface* pD = BaseOf(pDest, &dox, &doy);
  QDLSurface* pS = BaseOf(pSource, &sox, &soy);
  if (cx0 == dx && cy0 == dy && cx1 == dx + dw && cy1 == dy + dh) {
    CopyPixels(pD, dx + dox, dy + doy, dw, dh, pS, sx + sox, sy + soy, sw, sh, (flags & QDLSURFBLIT_KEY) != 0);
    return QDL_OK;
  }
  // Clipped stretch: map each visible destination row and column back.
  for (int32_t j = cy0; j < cy1; ++j) {
    const int32_t syy = sy + static_cast<int32_t>(static_cast<int64_t>(j - dy) * sh / dh);
    for (int32_t i = cx0; i < cx1; ++i) {
      const int32_t sxx = sx + static_cast<int32_t>(static_cast<int64_t>(i - dx) * sw / dw);
      CopyPixels(pD, i + dox, j + doy, 1, 1, pS, sxx + sox, syy + soy, 1, 1, (flags & QDLSURFBLIT_KEY) != 0);
    }
  }
  return QDL_OK;
}

uint32_t QDLSurfaceSaveTGA(QDLSurface* pSurface, const char* pFileName, const QDLRectI16* pRect) {
  return SaveImage(true, pSurface, pFileName, pRect);
}

uint32_t QDLSurfaceSaveBMP(QDLSurface* pSurface, const char* pFileName, const QDLRectI16* pRect) {
  return SaveImage(false, pSurface, pFileName, pRect);
}

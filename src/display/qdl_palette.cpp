// Palettes of the display library.
#include "display/qdl_palette.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "display/q2dx.h"
#include "display/qdl_internal.h"
#include "platform/paths.h"

namespace {

QDLPool qdlPalettePool;
uint32_t qdlPalettePoolReady = 0;

// The entries a new 8-bit palette starts with: a grey ramp (overwritten before use).
void InitialEntries(QDLPaletteEntry* pEntries) {
  for (uint32_t i = 0; i < 256; ++i) {
    pEntries[i].red = static_cast<uint8_t>(i);
    pEntries[i].green = static_cast<uint8_t>(i);
    pEntries[i].blue = static_cast<uint8_t>(i);
    pEntries[i].flags = 0;
  }
}

uint32_t DisplayBits() {
  QDLSurface* pDisplay = qdlGlobals.pDisplay;
  return pDisplay ? static_cast<uint32_t>(pDisplay->bitsPerPixel) : 16u;
}

uint32_t TotalEntries(const QDLPalette* p) { return p->entryCount * p->paletteCount; }

}  // namespace

uint32_t QDLPalettePoolInit() {
  if (!qdlPalettePoolReady) {
    QDLPoolInit(&qdlPalettePool, sizeof(QDLPalette));
    qdlPalettePoolReady = 1;
  }
  return QDL_OK;
}

QDLPalette* QDLPaletteFirst() {
  return static_cast<QDLPalette*>(QDLPoolFirst(&qdlPalettePool));
}

void QDLPaletteFreeAll() {
  while (QDLPalette* p = QDLPaletteFirst()) QDLPaletteFree(p);
}

QDLPalette* QDLPaletteCreate(uint32_t entryCount, uint32_t paletteCount, uint32_t) {
  if (entryCount == 0) entryCount = 256;
  if (paletteCount == 0) paletteCount = 1;
  uint64_t total = static_cast<uint64_t>(entryCount) * paletteCount;
  if (total > (1u << 24)) return nullptr;
  QDLPalettePoolInit();
  QDLPalette* p = static_cast<QDLPalette*>(QDLPoolAdd(&qdlPalettePool));
  if (!p) return nullptr;
  QDLPaletteEntry initial[256];
  InitialEntries(initial);
  p->ddPalette = Q2DXPaletteCreate(initial);
  p->entryCount = entryCount;
  p->paletteCount = paletteCount;
  p->entries = static_cast<QDLPaletteEntry*>(std::calloc(total, sizeof(QDLPaletteEntry)));
  uint32_t bits = DisplayBits();
  if (bits > 8) {
    size_t size = (bits == 15 || bits == 16) ? 2 : 4;
    p->colourTable = std::calloc(total, size);
  }
  if (!p->entries || !p->ddPalette || (bits > 8 && !p->colourTable)) {
    QDLPaletteFree(p);
    return nullptr;
  }
  return p;
}

void QDLPaletteFree(QDLPalette* pPalette) {
  if (!pPalette) return;
  std::free(pPalette->entries);
  std::free(pPalette->colourTable);
  Q2DXPaletteRelease(pPalette->ddPalette);
  // Surfaces that still point at the palette forget it.
  for (QDLSurface* s = QDLSurfaceFirst(); s; s = reinterpret_cast<QDLSurface*>(s->links.pNext))
    if (s->palette == pPalette) s->palette = nullptr;
  QDLPoolRemove(pPalette);
}

uint32_t QDLSurfaceSetPalette(QDLSurface* pSurface, QDLPalette* pPalette, uint32_t flags) {
  if (!pSurface) return QDL_ERR_NULL_SURFACE;
  if (!(flags & 1) && pSurface->ddSurface && pPalette)
    Q2DXSurfaceSetPalette(pSurface->ddSurface, pPalette->ddPalette);
  pSurface->palette = pPalette;
  return QDL_OK;
}

QDLPalette* QDLSurfaceGetPalette(QDLSurface* pSurface) {
  return pSurface ? pSurface->palette : nullptr;
}

void QDLPaletteSetEntries(QDLPalette* pPalette, const QDLPaletteEntry* pRecords, uint32_t first,
                          uint32_t count) {
  if (!pPalette || !pRecords || !pPalette->entries) return;
  // The range is clamped to the palette's entries.
  uint32_t total = TotalEntries(pPalette);
  if (first >= total) return;
  if (count > total - first) count = total - first;
  for (uint32_t i = 0; i < count; ++i) {
    QDLPaletteEntry& e = pPalette->entries[first + i];
    e.red = pRecords[i].red;
    e.green = pRecords[i].green;
    e.blue = pRecords[i].blue;
    e.flags = 1;
  }
  if (first + count <= 256 && pPalette->ddPalette)
    Q2DXPaletteSetEntries(pPalette->ddPalette, first, count, &pPalette->entries[first]);
  QDLPaletteConvertRange(pPalette, first, count);
}

void QDLPaletteGetEntries(QDLPalette* pPalette, QDLPaletteEntry* pRecords, uint32_t first,
                          uint32_t count) {
  if (!pPalette || !pRecords || !pPalette->entries) return;
  uint32_t total = TotalEntries(pPalette);
  if (first >= total) return;
  if (count > total - first) count = total - first;
  for (uint32_t i = 0; i < count; ++i) {
    pRecords[i].red = pPalette->entries[first + i].red;
    pRecords[i].green = pPalette->entries[first + i].green;
    pRecords[i].blue = pPalette->entries[first + i].blue;
  }
}

void QDLPaletteConvertRange(QDLPalette* pPalette, uint32_t first, uint32_t count) {
  if (!pPalette || !pPalette->colourTable || !pPalette->entries) return;
  uint32_t total = TotalEntries(pPalette);
  if (first >= total) return;
  if (count > total - first) count = total - first;
  uint32_t bits = DisplayBits();
  for (uint32_t i = first; i < first + count; ++i) {
    const QDLPaletteEntry& e = pPalette->entries[i];
    uint32_t px = QDLSurfaceRGBToPixel(qdlGlobals.pDisplay, e.red, e.green, e.blue);
    if (!qdlGlobals.pDisplay) px = QDLRGBToPixel(QDLFORMAT_RGB565, e.red, e.green, e.blue);
    if (bits == 15 || bits == 16) static_cast<uint16_t*>(pPalette->colourTable)[i] = static_cast<uint16_t>(px);
    else if (bits == 24 || bits == 32) static_cast<uint32_t*>(pPalette->colourTable)[i] = px;
  }
}

void QDLPaletteConvertAll(QDLPalette* pPalette) {
  if (!pPalette) return;
  QDLPaletteConvertRange(pPalette, 0, TotalEntries(pPalette));
}

int32_t QDLPaletteFindColour(QDLPalette* pPalette, uint8_t r, uint8_t g, uint8_t b) {
  if (!pPalette || !pPalette->entries) return -1;
  uint32_t total = TotalEntries(pPalette);
  for (uint32_t i = 0; i < total; ++i) {
    const QDLPaletteEntry& e = pPalette->entries[i];
    if (e.red == r && e.green == g && e.blue == b) return static_cast<int32_t>(i);
  }
  return -1;
}

void QDLPaletteFromSurface(QDLPalette* pPalette, QDLSurface* pSurface) {
  if (!pSurface) return;
  Q2DXPalette* pDD = pSurface->ddSurface ? Q2DXSurfaceGetPalette(pSurface->ddSurface) : nullptr;
  if (!pDD) return;
  QDLPalette* pAttached = pSurface->palette;
  if (pAttached && pAttached->entries) {
    uint32_t n = TotalEntries(pAttached) < 256 ? TotalEntries(pAttached) : 256;
    for (uint32_t i = 0; i < n; ++i) {
      pAttached->entries[i].red = pDD->entries[i].red;
      pAttached->entries[i].green = pDD->entries[i].green;
      pAttached->entries[i].blue = pDD->entries[i].blue;
    }
    if (pAttached->ddPalette != pDD) {
      Q2DXPaletteAddRef(pDD);
      Q2DXPaletteRelease(pAttached->ddPalette);
      pAttached->ddPalette = pDD;
    }
  }
  if (pPalette && pPalette->entries) {
    uint32_t n = TotalEntries(pPalette) < 256 ? TotalEntries(pPalette) : 256;
    for (uint32_t i = 0; i < n; ++i) {
      pPalette->entries[i].red = pDD->entries[i].red;
      pPalette->entries[i].green = pDD->entries[i].green;
      pPalette->entries[i].blue = pDD->entries[i].blue;
    }
    QDLPaletteConvertAll(pPalette);
  }
}

QDLPalette* QDLPaletteLoadJasc(const char* pFileName) {
  if (!pFileName) return nullptr;
  FILE* f = platform::openFile(pFileName, "r");
  if (!f) return nullptr;
  char line[256];
  // Line 1 must be the header; line 2 the version; line 3 the count.
  if (!std::fgets(line, sizeof line, f) || std::strncmp(line, "JASC-PAL", 8) != 0 ||
      !std::fgets(line, sizeof line, f) || !std::fgets(line, sizeof line, f)) {
    std::fclose(f);
    return nullptr;
  }
  int count = 0;
  if (std::sscanf(line, "%d", &count) != 1 || count < 0) {
    std::fclose(f);
    return nullptr;
  }
  if (count > 256) count = 256;
  QDLPalette* p = QDLPaletteCreate(256, 1, 0);
  if (!p) {
    std::fclose(f);
    return nullptr;
  }
  for (int i = 0; i < count; ++i) {
    if (!std::fgets(line, sizeof line, f)) break;
    int r = 0, g = 0, b = 0;
    if (std::sscanf(line, "%d %d %d", &r, &g, &b) != 3) break;
    QDLPaletteEntry e = {static_cast<uint8_t>(r & 0xFF), static_cast<uint8_t>(g & 0xFF),
                         static_cast<uint8_t>(b & 0xFF), 0};
    QDLPaletteSetEntries(p, &e, static_cast<uint32_t>(i), 1);
  }
  std::fclose(f);
  return p;
}

#pragma once
// Palettes: 256 colour entries (or more, in several palettes of equal size)
// kept as R, G, B, an 8-bit palette for paletted surfaces and a colour table
// in the display's pixel format.
#include <cstdint>

#include "display/qdl_types.h"

uint32_t QDLPalettePoolInit();
void QDLPaletteFreeAll();
QDLPalette* QDLPaletteCreate(uint32_t entryCount, uint32_t paletteCount, uint32_t unused);
void QDLPaletteFree(QDLPalette* pPalette);
uint32_t QDLSurfaceSetPalette(QDLSurface* pSurface, QDLPalette* pPalette, uint32_t flags);
QDLPalette* QDLSurfaceGetPalette(QDLSurface* pSurface);
// Entry records in and out are 4 bytes {red, green, blue, not used}.
void QDLPaletteSetEntries(QDLPalette* pPalette, const QDLPaletteEntry* pRecords, uint32_t first,
                          uint32_t count);
void QDLPaletteGetEntries(QDLPalette* pPalette, QDLPaletteEntry* pRecords, uint32_t first,
                          uint32_t count);
void QDLPaletteConvertAll(QDLPalette* pPalette);
void QDLPaletteConvertRange(QDLPalette* pPalette, uint32_t first, uint32_t count);
int32_t QDLPaletteFindColour(QDLPalette* pPalette, uint8_t r, uint8_t g, uint8_t b);
void QDLPaletteFromSurface(QDLPalette* pPalette, QDLSurface* pSurface);
// Null when the file is missing or is not a JASC-PAL file.
QDLPalette* QDLPaletteLoadJasc(const char* pFileName);
QDLPalette* QDLPaletteFirst();

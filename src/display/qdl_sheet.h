#pragma once
// Building sprite banks from image sheets (TGA or BMP files holding many
// frames, separated by a background colour and marked by a separator
// colour), and the image loaders that read a file into a surface.
#include <cstdint>

#include "display/qdl_types.h"

// One entry of a position table (cutting mode 5).
struct QDLSheetPosition {
  uint8_t x;
  uint8_t y;
  uint8_t unused;
  int8_t value;
};
enum : uint32_t { QDLSHEET_POSITIONS = 128 };

// A sheet descriptor; a list of them ends with a null file name.
struct QDLSheetDesc {
  const char* pFileName;
  uint32_t flags;        // cutting mode 1..6, +32 paletted sheet; QDLSHEET_* below
  int32_t cellWidth;     // modes 1 and 5
  int32_t cellHeight;
  const QDLSheetPosition* pPositions;  // mode 5: QDLSHEET_POSITIONS entries
};

enum : uint32_t {
  QDLSHEET_MODE_GRID = 1,
  QDLSHEET_MODE_ROWS = 2,
  QDLSHEET_MODE_STRIPS = 3,
  QDLSHEET_MODE_BOXES = 4,
  QDLSHEET_MODE_TABLE = 5,
  QDLSHEET_MODE_WHOLE = 6,
  QDLSHEET_MODE_MASK = 0x3F,        // bits 0..5: the mode, with 32 for a paletted sheet
  QDLSHEET_PALETTED = 32,
  QDLSHEET_NO_DITHER = 0x2000,      // store the pixels undithered (a font's greys are its coverage)
  QDLSHEET_32_COLOURS = 0x4000,     // reduce a paletted sheet to 32 colours
  QDLSHEET_RAW = 0x8000,            // store every frame as raw rows
};

// Limits of one build (the work bank's sizes).
enum : uint32_t {
  QDLSHEET_MAX_FRAMES = 1000,
  QDLSHEET_MAX_BYTES = 8192000,
  QDLSHEET_MAX_COLOURS = 511,
};

// Flags of the image loaders.
enum : uint32_t {
  QDLIMAGE_NO_SURFACE = 0x1,        // load and check only; returns null
  QDLIMAGE_PALETTE = 0x100,         // keep the image's palette (8-bit images)
  QDLIMAGE_MEMORY = 0x200,          // a plain memory surface
  QDLIMAGE_32_COLOURS = 0x8000,     // with 0x100: entries 0, 8, 16 .. and indices >> 3
};

// A new bank from the sheets; format 0 means the display's format. Sheets
// that do not load are passed over.
QDLSpriteBank* QDLSpriteBankFromSheets(const QDLSheetDesc* pList, uint32_t formatCode);

void QDLSheetSetBackgroundColour(uint8_t r, uint8_t g, uint8_t b);
void QDLSheetSetSeparatorColour(uint8_t r, uint8_t g, uint8_t b);
void QDLSheetResetBackgroundColour();
void QDLSheetResetSeparatorColour();

// True when the file name's extension is "tga" (any case).
bool QDLSheetIsTGA(const char* pFileName);

// Load an image file into the given surface (or a new one). Null on failure.
QDLSurface* QDLImageLoadTGA(QDLSurface* pSurface, const char* pFileName, uint32_t flags);
QDLSurface* QDLImageLoadBMP(QDLSurface* pSurface, const char* pFileName, uint32_t flags);

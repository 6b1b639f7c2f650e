#pragma once
// The text printer: 8-bit strings drawn into a QDLSurface with a QDLFont (a
// sprite bank whose frame n is the glyph of code n). Strings carry inline
// control bytes (1 to 31) that change colour, style, layout and position.
// Printing is plain (layout 0) or laid out in lines inside a box with word
// wrapping (layouts 1 to 7).
#include <cstdint>

#include "display/blit/qdl_blit.h"
#include "display/qdl_sheet.h"
#include "display/qdl_types.h"

// Result codes of the printer.
enum : uint32_t {
  QDLTEXT_ERR_NULL_FONT = 1001,     // QDLFontSetCurrent given null
  QDLTEXT_ERR_LAYOUT = 1002,        // layout mode outside 0..7
  QDLTEXT_ERR_EMPTY = 1003,         // empty text
  QDLTEXT_ERR_NO_BUFFER = 1004,     // print buffer could not be allocated
  QDLTEXT_ERR_TOO_LONG = 1005,      // formatted text does not fit the buffer
  QDLTEXT_ERR_NO_FONT = 1006,       // no font given and no current font
  QDLTEXT_ERR_NULL_SURFACE = 1007,  // null surface
};

// Style word bits read when a glyph is drawn.
enum : uint32_t {
  QDLSTYLE_SOLID = 1,          // glyphs drawn in the colour
  QDLSTYLE_ALPHAMAP = 16,      // with SOLID: anti-aliased glyphs (alpha-map mode)
  QDLSTYLE_MIRROR_X = 32,
  QDLSTYLE_MIRROR_Y = 64,
  QDLSTYLE_TRANSLUCENT = 0x100,  // 50% translucent
};

// Layout modes.
enum : int32_t {
  QDLLAYOUT_PLAIN = 0,
  QDLLAYOUT_LEFT = 1,
  QDLLAYOUT_CURSOR = 2,
  QDLLAYOUT_RIGHT = 3,
  QDLLAYOUT_RIGHT_AT_CURSOR = 4,
  QDLLAYOUT_CENTRED = 5,
  QDLLAYOUT_CENTRED_ON_CURSOR = 6,
  QDLLAYOUT_JUSTIFIED = 7,
};

// The state of one print (one instance, reused by every print).
struct QDLPrintState {
  QDLFont* font;
  const uint8_t* text;       // current byte
  QDLSurface* surface;
  uint32_t style;
  uint32_t colour;
  uint32_t colour2;
  const uint8_t* lineStart;
  const uint8_t* lineEnd;
  int16_t boxX, boxY, boxWidth, boxHeight;
  int16_t x, y;              // cursor, relative to the box
  int16_t lineWidth;
  int16_t glyphSum;
  int16_t lastCharWidth;
  int32_t wordCount;
  int32_t layout;
  int32_t moreLines;         // the last measure's result: 0 end, 1 paragraph, 2 line full
};

uint32_t QDLTextSetup(uint32_t sizeKB);
uint32_t QDLTextShutdown();

uint32_t QDLPrintf(QDLSurface* pSurface, QDLFont* pFont, int16_t x, int16_t y, uint32_t colour, uint32_t colour2,
                   int32_t layout, uint32_t style, const char* pFormat, ...)
    __attribute__((format(printf, 9, 10)));
uint32_t QDLPrintText(QDLSurface* pSurface, QDLFont* pFont, int16_t x, int16_t y, uint32_t colour,
                      uint32_t colour2, int32_t layout, uint32_t style, const char* pText);
uint32_t QDLPrintfDefault(QDLSurface* pSurface, QDLFont* pFont, int16_t x, int16_t y, const char* pFormat, ...)
    __attribute__((format(printf, 5, 6)));
uint32_t QDLPrint(QDLSurface* pSurface, QDLFont* pFont, int16_t x, int16_t y, const char* pText);
uint32_t QDLPrintfBox(QDLSurface* pSurface, QDLFont* pFont, int16_t x, int16_t y, const QDLRectI16* pBox,
                      const char* pFormat, ...) __attribute__((format(printf, 6, 7)));

// Fonts.
QDLFont* QDLFontCreate(QDLSpriteBank* pBank);
uint32_t QDLFontInit(QDLFont* pFont, QDLSpriteBank* pBank);
QDLFont* QDLFontCreateFromSheet(const char* pFileName, uint32_t flags, int32_t value1, int32_t value2);
QDLFont* QDLFontCreateFromDescriptor(const QDLSheetDesc* pDesc);
uint32_t QDLFontFree(QDLFont* pFont);
uint32_t QDLFontSetCurrent(QDLFont* pFont);
QDLFont* QDLFontGetCurrent();

// Defaults.
uint32_t QDLTextSetLayout(int32_t mode);
uint32_t QDLTextSetStyle(uint32_t style);
uint32_t QDLTextSetStyleFlag(uint32_t on);
uint32_t QDLTextSetStyleFlag16(uint32_t on);
uint32_t QDLTextSetColour(uint32_t pixel);
uint32_t QDLTextSetColour2(uint32_t pixel);
int32_t QDLTextGetLayout();
uint32_t QDLTextGetStyle();
uint32_t QDLTextGetColour();
uint32_t QDLTextGetColour2();

// Measures.
int32_t QDLFontCharWidth(QDLFont* pFont, uint8_t code);
int32_t QDLFontHeight(QDLFont* pFont);
int32_t QDLFontStringWidth(QDLFont* pFont, const char* pText, const char** ppStop);
int32_t QDLFontTextWidth(QDLFont* pFont, const char* pText);

// The state of the last print (tests read it).
const QDLPrintState* QDLPrintStateGet();

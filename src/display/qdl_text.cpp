// The text printer and fonts.
#include "display/qdl_text.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "display/qdl.h"
#include "display/qdl_bank.h"
#include "display/qdl_pool.h"

namespace {

struct TextGlobals {
  bool setUp = false;
  QDLPool fonts{};
  QDLFont* pCurrent = nullptr;
  char* pBuffer = nullptr;
  uint32_t bufferSize = 0;
  uint32_t style = 0;
  uint32_t colour = 0;
  uint32_t colour2 = 0;
  int32_t layout = 0;
} qdlText;

QDLPrintState qdlPrint;

constexpr uint8_t kTab = 9, kLineFeed = 10, kVerticalTab = 11, kReturn = 13, kSpace = 32;

QDLFont* FontOrCurrent(QDLFont* pFont) { return pFont != nullptr ? pFont : qdlText.pCurrent; }

int32_t FrameCount(const QDLFont* pFont) {
  return pFont != nullptr && pFont->bank != nullptr && pFont->frames != nullptr ? pFont->bank->frameCount : 0;
}

// Number of argument bytes that follow a control byte.
int32_t ControlArgs(uint8_t c) {
  if (c == 1 || c == 2) return 3;
  if (c == 3) return 1;
  return 0;
}

// Moves past a control byte and its arguments, stopping at a terminator.
const uint8_t* SkipControl(const uint8_t* p) {
  const int32_t n = ControlArgs(*p);
  ++p;
  for (int32_t i = 0; i < n && *p != 0; ++i) ++p;
  return p;
}

void PrintGlyph(QDLPrintState* s, uint8_t code) {
  QDLFont* f = s->font;
  const int32_t w = QDLFontCharWidth(f, code);
  s->lastCharWidth = static_cast<int16_t>(w);
  if (code >= FrameCount(f)) return;  // no glyph: only the advance
  uint32_t flags = 0;
  QDLBlitParams params{};
  if (s->style & QDLSTYLE_MIRROR_X) flags |= QDLBLIT_MIRROR_X;
  if (s->style & QDLSTYLE_MIRROR_Y) flags |= QDLBLIT_MIRROR_Y;
  if (s->style & QDLSTYLE_SOLID) {
    flags |= (s->style & QDLSTYLE_ALPHAMAP) ? QDLBLIT_ALPHAMAP : QDLBLIT_SOLID;
    params.colour = s->colour;
  }
  if (s->style & QDLSTYLE_TRANSLUCENT) {
    flags |= QDLBLIT_TRANSLUCENT;
    params.level = 15;
  }
  QDLBlit(s->surface, &f->frames[code], s->boxX + s->x, s->boxY + s->y, flags, flags != 0 ? &params : nullptr);
}

void Advance(QDLPrintState* s, uint8_t code) {
  s->x = static_cast<int16_t>(s->x + QDLFontCharWidth(s->font, code) + s->font->spacing);
}

// Applies one control byte; returns the position after it and its arguments
// (never past the terminator).
const uint8_t* PrintControl(QDLPrintState* s, const uint8_t* p, bool linePrinter) {
  const uint8_t c = *p;
  const int32_t n = ControlArgs(c);
  for (int32_t i = 1; i <= n; ++i)
    if (p[i] == 0) return p + i;  // the arguments run into the terminator: stop there
  const int32_t tab = s->font->tabWidth > 0 ? s->font->tabWidth : 32;
  const int32_t height = QDLFontHeight(s->font);
  switch (c) {
    case 1: s->colour = QDLSurfaceRGBToPixel(s->surface, p[1], p[2], p[3]); break;
    case 2: s->colour2 = QDLSurfaceRGBToPixel(s->surface, p[1], p[2], p[3]); break;
    case 3:
      if (p[1] <= 7) s->layout = p[1];
      break;
    case 4: s->style |= QDLSTYLE_SOLID; break;
    case 5: s->style &= ~static_cast<uint32_t>(QDLSTYLE_SOLID); break;
    case kTab:
      if (!linePrinter) s->x = static_cast<int16_t>(s->x - (s->x % tab) + tab);
      break;
    case kLineFeed:
      if (!linePrinter) {
        s->x = 0;
        s->y = static_cast<int16_t>(s->y + height);
      }
      break;
    case kVerticalTab: s->y = static_cast<int16_t>(s->y - (s->y % tab) + tab); break;
    case 15: s->style |= 0x800; break;
    case 23: s->style ^= 0x800; break;
    default:
      if (c >= 16 && c <= 22) {
        static const uint32_t bits[7] = {4, 8, 16, 32, 64, 128, 0x100};
        s->style |= bits[c - 16];
      } else if (c >= 24 && c <= 30) {
        static const uint32_t bits[7] = {4, 8, 16, 32, 64, 128, 0x100};
        s->style ^= bits[c - 24];
      }
      break;
  }
  return p + 1 + n;
}

void PrintPlain(QDLPrintState* s) {
  const uint8_t* p = s->text;
  while (*p != 0) {
    if (*p < 32) {
      p = PrintControl(s, p, false);
      continue;
    }
    PrintGlyph(s, *p);
    Advance(s, *p);
    ++p;
  }
  s->text = p;
}

bool IsWordEnd(uint8_t c) { return c == 0 || c == kTab || c == kLineFeed || c == kVerticalTab || c == kReturn || c == kSpace; }

// Width of the word at p in the line printer: the characters' widths plus
// spacing, minus one spacing; control bytes inside it take no width.
int32_t MeasureWord(const QDLPrintState* s, const uint8_t* p, const uint8_t** ppEnd) {
  int32_t width = 0, chars = 0;
  while (!IsWordEnd(*p)) {
    if (*p < 32) {
      p = SkipControl(p);
      continue;
    }
    width += QDLFontCharWidth(s->font, *p) + s->font->spacing;
    ++chars;
    ++p;
  }
  if (chars > 0) width -= s->font->spacing;
  *ppEnd = p;
  return width;
}

int32_t MeasureLine(QDLPrintState* s) {
  s->lineStart = s->text;
  s->lineEnd = s->text;
  s->lineWidth = 0;
  s->glyphSum = 0;
  s->wordCount = 0;
  const int32_t gap = QDLFontCharWidth(s->font, kSpace) - 1;
  const uint8_t* p = s->text;
  int32_t result;
  for (;;) {
    // Blanks and control bytes between words.
    result = -1;
    while (*p < 33) {
      if (*p == 0) {
        result = 0;
        break;
      }
      if (*p == kLineFeed && p[1] == kLineFeed) {
        result = 1;
        // An empty paragraph still moves the text on past its line feeds.
        if (s->wordCount == 0) s->lineEnd = p + 2;
        break;
      }
      p = *p < 32 && *p != kTab && *p != kLineFeed && *p != kReturn ? SkipControl(p) : p + 1;
    }
    if (result >= 0) break;
    const uint8_t* wordEnd;
    const int32_t width = MeasureWord(s, p, &wordEnd);
    const int32_t cost = s->wordCount == 0 ? width : width + gap - 1;
    if (s->lineWidth + cost < s->boxWidth) {
      s->glyphSum = static_cast<int16_t>(s->glyphSum + width);
      s->lineWidth = static_cast<int16_t>(s->lineWidth + cost);
      ++s->wordCount;
      s->lineEnd = wordEnd;
      p = wordEnd;
      continue;
    }
    if (s->wordCount == 0) {
      // A word wider than the box is drawn whole on its own line.
      s->glyphSum = static_cast<int16_t>(width);
      s->lineWidth = static_cast<int16_t>(width);
      s->wordCount = 1;
      s->lineEnd = wordEnd;
    }
    result = 2;
    break;
  }
  s->moreLines = result;
  return result;
}

// Draws the characters between line start and line end, separators between
// words becoming one space (or the justified gap).
void PrintLineWords(QDLPrintState* s, bool justified, int32_t gap, int32_t remainder) {
  const uint8_t* p = s->lineStart;
  bool wordDrawn = false, pendingGap = false;
  while (p < s->lineEnd && *p != 0) {
    const uint8_t c = *p;
    if (c == kSpace || c == kLineFeed || c == kTab) {
      if (wordDrawn) pendingGap = true;
      ++p;
      continue;
    }
    if (c < 32) {
      p = PrintControl(s, p, true);
      continue;
    }
    if (pendingGap) {
      if (justified) {
        s->x = static_cast<int16_t>(s->x + gap);
        if (remainder > 0) {
          s->x = static_cast<int16_t>(s->x + 1);
          --remainder;
        }
      } else {
        PrintGlyph(s, kSpace);
        Advance(s, kSpace);
      }
      pendingGap = false;
    }
    PrintGlyph(s, c);
    Advance(s, c);
    wordDrawn = true;
    ++p;
  }
}

void PrintLine(QDLPrintState* s) {
  bool draw = true, justified = false;
  int32_t gap = 0, remainder = 0;
  switch (s->layout) {
    case QDLLAYOUT_LEFT: s->x = 0; break;
    case QDLLAYOUT_CURSOR: break;
    case QDLLAYOUT_RIGHT: s->x = static_cast<int16_t>(s->boxWidth - s->lineWidth); break;
    case QDLLAYOUT_RIGHT_AT_CURSOR: s->x = static_cast<int16_t>(s->x - s->lineWidth); break;
    case QDLLAYOUT_CENTRED: s->x = static_cast<int16_t>((s->boxWidth - s->lineWidth) / 2); break;
    case QDLLAYOUT_CENTRED_ON_CURSOR: s->x = static_cast<int16_t>(s->x - s->lineWidth / 2); break;
    case QDLLAYOUT_JUSTIFIED: {
      justified = true;
      s->x = 0;
      const int32_t a = s->boxWidth - s->glyphSum, n = s->wordCount;
      if (s->moreLines == 0) {
        gap = QDLFontCharWidth(s->font, kSpace);
      } else if (n > 1) {
        gap = (a + n - 1) / (n - 1);
        remainder = a % (n - 1);
      } else {
        gap = a;
      }
      break;
    }
    default: draw = false; break;  // mode 0 inside laid-out text: the line is passed over
  }
  if (draw) PrintLineWords(s, justified, gap, remainder);
  s->text = s->lineEnd;
}

void PrintLines(QDLPrintState* s) {
  const int32_t height = QDLFontHeight(s->font);
  while (MeasureLine(s) != 0) {
    PrintLine(s);
    s->y = static_cast<int16_t>(s->y + height);
  }
  PrintLine(s);
}

uint32_t PrintEntry(QDLSurface* pSurface, QDLFont* pFont, int16_t x, int16_t y, uint32_t colour, uint32_t colour2,
                    int32_t layout, uint32_t style, const char* pText, const QDLRectI16* pBox) {
  if (pText == nullptr) return QDL_OK;
  if (pText[0] == 0) return QDLTEXT_ERR_EMPTY;
  QDLFont* f = FontOrCurrent(pFont);
  if (f == nullptr) return QDLTEXT_ERR_NO_FONT;
  if (pSurface == nullptr) return QDLTEXT_ERR_NULL_SURFACE;
  if (layout < 0 || layout > 7) return QDLTEXT_ERR_LAYOUT;
  QDLPrintState& s = qdlPrint;
  s = QDLPrintState{};
  s.font = f;
  s.text = reinterpret_cast<const uint8_t*>(pText);
  s.surface = pSurface;
  s.style = style;
  s.colour = colour;
  s.colour2 = colour2;
  s.layout = layout;
  s.x = x;
  s.y = y;
  if (pBox != nullptr) {
    s.boxX = pBox->x;
    s.boxY = pBox->y;
    s.boxWidth = pBox->width;
    s.boxHeight = pBox->height;
  } else {
    s.boxWidth = static_cast<int16_t>(pSurface->width);
    s.boxHeight = static_cast<int16_t>(pSurface->height);
  }
  if (layout == QDLLAYOUT_PLAIN) PrintPlain(&s);
  else PrintLines(&s);
  return QDL_OK;
}

// Formats into the print buffer; 0, 1004 or 1005.
uint32_t FormatBuffer(const char* pFormat, va_list args) {
  if (qdlText.pBuffer == nullptr) return QDLTEXT_ERR_NO_BUFFER;
  if (pFormat == nullptr) {
    qdlText.pBuffer[0] = 0;
    return QDLTEXT_ERR_EMPTY;
  }
  const int n = std::vsnprintf(qdlText.pBuffer, qdlText.bufferSize, pFormat, args);
  if (n < 0 || static_cast<uint32_t>(n) >= qdlText.bufferSize) return QDLTEXT_ERR_TOO_LONG;
  return QDL_OK;
}

}  // namespace

uint32_t QDLTextSetup(uint32_t sizeKB) {
  if (qdlText.setUp) return QDL_OK;
  QDLPoolInit(&qdlText.fonts, sizeof(QDLFont));
  qdlText.pCurrent = nullptr;
  qdlText.style = qdlText.colour = qdlText.colour2 = 0;
  qdlText.layout = 0;
  qdlText.bufferSize = (sizeKB == 0 ? 4 : sizeKB) * 1024;
  qdlText.pBuffer = static_cast<char*>(std::calloc(qdlText.bufferSize, 1));
  if (qdlText.pBuffer == nullptr) {
    qdlText.bufferSize = 0;
    return QDLTEXT_ERR_NO_BUFFER;
  }
  qdlText.setUp = true;
  return QDL_OK;
}

uint32_t QDLTextShutdown() {
  if (!qdlText.setUp) return QDL_OK;
  while (void* p = QDLPoolFirst(&qdlText.fonts)) QDLFontFree(static_cast<QDLFont*>(p));
  std::free(qdlText.pBuffer);
  qdlText.pBuffer = nullptr;
  qdlText.bufferSize = 0;
  qdlText.pCurrent = nullptr;
  qdlText.setUp = false;
  return QDL_OK;
}

uint32_t QDLPrintf(QDLSurface* pSurface, QDLFont* pFont, int16_t x, int16_t y, uint32_t colour, uint32_t colour2,
                   int32_t layout, uint32_t style, const char* pFormat, ...) {
  va_list args;
  va_start(args, pFormat);
  const uint32_t rc = FormatBuffer(pFormat, args);
  va_end(args);
  if (rc != QDL_OK) return rc;
  return PrintEntry(pSurface, pFont, x, y, colour, colour2, layout, style, qdlText.pBuffer, nullptr);
}

uint32_t QDLPrintText(QDLSurface* pSurface, QDLFont* pFont, int16_t x, int16_t y, uint32_t colour,
                      uint32_t colour2, int32_t layout, uint32_t style, const char* pText) {
  return PrintEntry(pSurface, pFont, x, y, colour, colour2, layout, style, pText, nullptr);
}

uint32_t QDLPrintfDefault(QDLSurface* pSurface, QDLFont* pFont, int16_t x, int16_t y, const char* pFormat, ...) {
  va_list args;
  va_start(args, pFormat);
  const uint32_t rc = FormatBuffer(pFormat, args);
  va_end(args);
  if (rc != QDL_OK) return rc;
  return PrintEntry(pSurface, pFont, x, y, qdlText.colour, qdlText.colour2, qdlText.layout, qdlText.style,
                    qdlText.pBuffer, nullptr);
}

uint32_t QDLPrint(QDLSurface* pSurface, QDLFont* pFont, int16_t x, int16_t y, const char* pText) {
  return PrintEntry(pSurface, pFont, x, y, qdlText.colour, qdlText.colour2, qdlText.layout, qdlText.style, pText,
                    nullptr);
}

uint32_t QDLPrintfBox(QDLSurface* pSurface, QDLFont* pFont, int16_t x, int16_t y, const QDLRectI16* pBox,
                      const char* pFormat, ...) {
  va_list args;
  va_start(args, pFormat);
  const uint32_t rc = FormatBuffer(pFormat, args);
  va_end(args);
  if (rc != QDL_OK) return rc;
  return PrintEntry(pSurface, pFont, x, y, qdlText.colour, qdlText.colour2, qdlText.layout, qdlText.style,
                    qdlText.pBuffer, pBox);
}

// ---------------------------------------------------------------------------
// Fonts.

uint32_t QDLFontInit(QDLFont* pFont, QDLSpriteBank* pBank) {
  if (pFont == nullptr) return QDLTEXT_ERR_NULL_FONT;
  pFont->bank = pBank;
  pFont->frames = pBank != nullptr ? pBank->frames : nullptr;
  pFont->flags = 0;
  pFont->tabWidth = 32;
  pFont->spacing = -1;
  if (qdlText.pCurrent == nullptr) qdlText.pCurrent = pFont;
  return QDL_OK;
}

QDLFont* QDLFontCreate(QDLSpriteBank* pBank) {
  if (!qdlText.setUp) return nullptr;
  auto* pFont = static_cast<QDLFont*>(QDLPoolAdd(&qdlText.fonts));
  if (pFont == nullptr) return nullptr;
  QDLFontInit(pFont, pBank);
  return pFont;
}

QDLFont* QDLFontCreateFromDescriptor(const QDLSheetDesc* pDesc) {
  if (pDesc == nullptr || !qdlText.setUp) return nullptr;
  // A font's greys are how much of each pixel its glyph covers, the alpha
  // its text is drawn with: stored as they are, not dithered. A dithered
  // glyph's edges took noise from the dither's generator, which every
  // picture loaded before moves on, so the same letter came out different
  // from one load to the next, an edge pixel at times as bright as the
  // stroke over the shadow below it.
  QDLSheetDesc desc = *pDesc;
  desc.flags |= QDLSHEET_NO_DITHER;
  const QDLSheetDesc list[2] = {desc, QDLSheetDesc{nullptr, 0, 0, 0, nullptr}};
  QDLSpriteBank* pBank = QDLSpriteBankFromSheets(list, 0);
  if (pBank == nullptr) return nullptr;
  if (pBank->frameCount == 0) {
    // Nothing was cut (a missing or unreadable sheet): no font.
    QDLSpriteBankFree(pBank);
    return nullptr;
  }
  QDLFont* pFont = QDLFontCreate(pBank);
  if (pFont == nullptr) {
    QDLSpriteBankFree(pBank);
    return nullptr;
  }
  pFont->flags |= QDLFONT_OWNS_BANK;
  return pFont;
}

QDLFont* QDLFontCreateFromSheet(const char* pFileName, uint32_t flags, int32_t value1, int32_t value2) {
  const QDLSheetDesc desc{pFileName, flags, value1, value2, nullptr};
  return QDLFontCreateFromDescriptor(&desc);
}

uint32_t QDLFontFree(QDLFont* pFont) {
  if (pFont == nullptr) return QDL_OK;
  if ((pFont->flags & QDLFONT_OWNS_BANK) && pFont->bank != nullptr) QDLSpriteBankFree(pFont->bank);
  pFont->bank = nullptr;
  pFont->frames = nullptr;
  // Freeing the current font leaves no current font rather than a dangling one.
  if (qdlText.pCurrent == pFont) qdlText.pCurrent = nullptr;
  if (pFont->links.pList == &qdlText.fonts) QDLPoolRemove(pFont);
  return QDL_OK;
}

uint32_t QDLFontSetCurrent(QDLFont* pFont) {
  if (pFont == nullptr) return QDLTEXT_ERR_NULL_FONT;
  qdlText.pCurrent = pFont;
  return QDL_OK;
}

QDLFont* QDLFontGetCurrent() { return qdlText.pCurrent; }

uint32_t QDLTextSetLayout(int32_t mode) {
  if (mode < 0 || mode > 7) return QDLTEXT_ERR_LAYOUT;
  qdlText.layout = mode;
  return QDL_OK;
}
uint32_t QDLTextSetStyle(uint32_t style) {
  qdlText.style = style;
  return QDL_OK;
}
uint32_t QDLTextSetStyleFlag(uint32_t on) {
  qdlText.style = on ? (qdlText.style | 1u) : (qdlText.style & ~1u);
  return QDL_OK;
}
uint32_t QDLTextSetStyleFlag16(uint32_t on) {
  qdlText.style = on ? (qdlText.style | 16u) : (qdlText.style & ~16u);
  return QDL_OK;
}
uint32_t QDLTextSetColour(uint32_t pixel) {
  qdlText.colour = pixel;
  return QDL_OK;
}
uint32_t QDLTextSetColour2(uint32_t pixel) {
  qdlText.colour2 = pixel;
  return QDL_OK;
}
int32_t QDLTextGetLayout() { return qdlText.layout; }
uint32_t QDLTextGetStyle() { return qdlText.style; }
uint32_t QDLTextGetColour() { return qdlText.colour; }
uint32_t QDLTextGetColour2() { return qdlText.colour2; }

// ---------------------------------------------------------------------------
// Measures.

int32_t QDLFontCharWidth(QDLFont* pFont, uint8_t code) {
  QDLFont* f = FontOrCurrent(pFont);
  if (f == nullptr) return 0;
  if (code >= FrameCount(f)) return 8;
  return f->frames[code].width;
}

int32_t QDLFontHeight(QDLFont* pFont) {
  QDLFont* f = FontOrCurrent(pFont);
  if (f == nullptr || FrameCount(f) <= '!') return 0;
  return f->frames['!'].height;
}

int32_t QDLFontStringWidth(QDLFont* pFont, const char* pText, const char** ppStop) {
  QDLFont* f = FontOrCurrent(pFont);
  if (pText == nullptr) {
    if (ppStop) *ppStop = pText;
    return 0;
  }
  const auto* p = reinterpret_cast<const uint8_t*>(pText);
  int32_t width = 0, chars = 0;
  const int32_t spacing = f != nullptr ? f->spacing : 0;
  while (!IsWordEnd(*p)) {
    width += QDLFontCharWidth(f, *p) + spacing;
    ++chars;
    ++p;
  }
  if (chars > 0) width -= spacing;
  if (ppStop) *ppStop = reinterpret_cast<const char*>(p);
  return width;
}

int32_t QDLFontTextWidth(QDLFont* pFont, const char* pText) {
  QDLFont* f = FontOrCurrent(pFont);
  if (pText == nullptr) return 0;
  int32_t width = 0;
  for (const auto* p = reinterpret_cast<const uint8_t*>(pText); *p != 0; ++p) width += QDLFontCharWidth(f, *p) - 1;
  return width;
}

const QDLPrintState* QDLPrintStateGet() { return &qdlPrint; }

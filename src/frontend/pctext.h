#pragma once
// Fonts and text output: three two-font sets (front end, match on the
// hardware renderers, match on the software renderer), the current font,
// string measures, and text items added to the frame packet in the current
// font and colour with an alignment. While the 3D match scene is up, text is
// drawn by the renderer in fixed 16-pixel cells and measures follow that.
#include <cstdint>

struct QDLFont;

enum : int32_t {
  PCTEXT_SET_FRONT_END = 0,
  PCTEXT_SET_MATCH_HARDWARE = 1,
  PCTEXT_SET_MATCH_SOFTWARE = 2,
  PCTEXT_SETS = 3,
  PCTEXT_FONTS_PER_SET = 2,
  PCTEXT_MESSAGE_MAX = 255,
  PCTEXT_MESSAGE_FRAMES = 60,
  PCTEXT_3D_CELL = 16,
};

struct FontEntry {
  char szFileName[256];
  uint32_t bRemap;
  QDLFont* poFont;  // the loaded font (2D) or null
  uint32_t uSpare;
};

extern FontEntry pctext_aaoFontSets[PCTEXT_SETS][PCTEXT_FONTS_PER_SET];
extern int32_t pctext_iCurrentSet;
extern int32_t pctext_iCurrentFont;
extern int32_t pctext_cLoadedFonts;
extern int32_t pctext_b3DTextMode;

void pctext_FrontEndFontsLoad();
void pctext_FrontEndFontsFree();
void pctext_FontsLoad(int32_t bSoftware);
void pctext_FontSet(int32_t iIndex);
void pctext_FontReset();
void pctext_3DTextModeSet(int32_t bOn);
QDLFont* pctext_poFontGet(int32_t iIndex);

void pctext_PrintLeft(const char* pszText, int32_t x, int32_t y, int32_t iLayer);
void pctext_PrintRight(const char* pszText, int32_t x, int32_t y, int32_t iLayer);
void pctext_PrintCentred(const char* pszText, int32_t x, int32_t y, int32_t iLayer);
int32_t pctext_WidthGet(const char* pszText);
int32_t pctext_CharWidthGet(uint8_t c);
// The current font's cell height: in 3D text mode the height of the loaded
// match font's glyphs (16 while none is known).
int32_t pctext_HeightGet();
// The glyph height of match font iFont as the 3D scene loaded it (0: none).
void pctext_3DCellHeightSet(int32_t iFont, int32_t iHeight);

void pctext_MessageSet(const char* pszText);
void pctext_MessageDraw();
int32_t pctext_iMessageFramesGet();
// The game's error box (pcfe_ErrorBoxDraw) over every screen for the
// message's frames, the detail line under "Error!" (written to the debug
// log too); a message set while it shows is dropped.
void pctext_ErrorBoxSet(const char* pszDetail);
// The same box kept, however many frames pass, until the player presses a
// key (pctext_ErrorBoxKeyTake).
void pctext_ErrorBoxHold(const char* pszDetail);
// Each front-end tick, before the screen runs: while a kept box shows, every
// input event of every port is taken from the screen, and the first event or
// key pressed (any key of the keyboard) takes the box away; that key's events
// are taken too until every key of the keyboard is up again.
void pctext_ErrorBoxKeyTake();
// Non-zero on a tick whose keys pctext_ErrorBoxKeyTake took: a screen that
// reads a key from the keyboard itself (Escape) leaves it alone.
int32_t pctext_bErrorBoxKeysTakenGet();
// Non-zero while a box of pctext_ErrorBoxHold shows.
int32_t pctext_bErrorBoxHeldGet();
// Takes the error box off the screen (written to the debug log).
void pctext_ErrorBoxDismiss();
// The detail of the error box showing, or null when none shows.
const char* pctext_ErrorBoxGet();

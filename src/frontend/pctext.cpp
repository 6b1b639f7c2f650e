// Fonts and text output.
#include "frontend/pctext.h"

#include <cstdio>
#include <cstring>

#include "display/qdl_text.h"
#include "framework/qdx_input.h"
#include "frontend/pcfe.h"
#include "platform/paths.h"
#include "scene3d/pcframe.h"
#include "shell/debuglog.h"
#include "shell/draw2d.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/pcinstall.h"

FontEntry pctext_aaoFontSets[PCTEXT_SETS][PCTEXT_FONTS_PER_SET] = {
    {{"Fonts\\SWfont18pt.bmp", 0, nullptr, 0}, {"Fonts\\SW24pt.bmp", 1, nullptr, 0}},
    {{"Fonts\\font3a3.tga", 0, nullptr, 0}, {"Fonts\\24pt.tga", 1, nullptr, 0}},
    {{"Fonts\\SWfont3a3.bmp", 0, nullptr, 0}, {"Fonts\\SW24pt.bmp", 1, nullptr, 0}},
};
int32_t pctext_iCurrentSet = PCTEXT_SET_FRONT_END;
int32_t pctext_iCurrentFont = 0;
int32_t pctext_cLoadedFonts = 0;
int32_t pctext_b3DTextMode = 0;

namespace {
char pctext_szMessage[PCTEXT_MESSAGE_MAX + 1];
int32_t pctext_iMessageFrames = 0;
int32_t pctext_bErrorBox = 0;  // the message is the error box's detail
int32_t pctext_bErrorBoxHeld = 0;  // the error box stays until it is dismissed
// The keyboard as the last front-end tick left it, to tell a key newly down.
uint8_t pctext_abKeysBefore[QKEYBOARD_STATE_SIZE] = {};
// A key that took a kept box away is still down: the keys stay taken.
int32_t pctext_bKeysHeldBack = 0;
// This tick's keys belong to the kept box, not to the screen.
int32_t pctext_bKeysTaken = 0;
int32_t pctext_ai3DCellHeight[PCTEXT_FONTS_PER_SET] = {};

FontEntry& pctext_oCurrent() { return pctext_aaoFontSets[pctext_iCurrentSet][pctext_iCurrentFont]; }

void pctext_Print(const char* pszText, int32_t x, int32_t y, int32_t iLayer, int32_t iAlign) {
  const Draw2DColour c = draw2d_oTextColourGet();
  pcframe_AddText(x, y, iLayer, c.r, c.g, c.b, pszText, pctext_iCurrentFont, static_cast<int32_t>(pctext_oCurrent().bRemap),
                  iAlign);
}
}  // namespace

void pctext_FrontEndFontsLoad() {
  pctext_cLoadedFonts = 0;
  for (FontEntry& o : pctext_aaoFontSets[PCTEXT_SET_FRONT_END]) {
    char szPath[PCINSTALL_PATH_SIZE];
    pcinstall_TexturePath(szPath, o.szFileName);
    if (o.poFont != nullptr) QDLFontFree(o.poFont);
    o.poFont = QDLFontCreateFromSheet(szPath, 3, 0, 0);
    if (o.poFont != nullptr) pctext_cLoadedFonts++;
    else
      std::fprintf(stderr, "pctext: the font %s could not be loaded (%s: %s)\n", szPath,
                   platform::fileExists(szPath) ? "damaged" : "missing", platform::resolvePath(szPath).c_str());
  }
  pctext_iCurrentSet = PCTEXT_SET_FRONT_END;
  pctext_iCurrentFont = 0;
}

void pctext_FrontEndFontsFree() {
  for (FontEntry& o : pctext_aaoFontSets[PCTEXT_SET_FRONT_END]) {
    if (o.poFont != nullptr) QDLFontFree(o.poFont);
    o.poFont = nullptr;
  }
  pctext_cLoadedFonts = 0;
}

void pctext_FontsLoad(int32_t bSoftware) {
  // The match fonts are textures of the 3D scene's texture loader, which the
  // renderer draws from; until that loader exists none is loaded and the
  // count says so. The set still becomes current with font 0.
  pctext_iCurrentSet = bSoftware ? PCTEXT_SET_MATCH_SOFTWARE : PCTEXT_SET_MATCH_HARDWARE;
  pctext_iCurrentFont = 0;
  pctext_cLoadedFonts = 0;
}

void pctext_FontSet(int32_t iIndex) {
  if (pctext_b3DTextMode) pctext_iCurrentFont = iIndex == 2 ? 1 : 0;
  else pctext_iCurrentFont = iIndex - 1 > 0 ? 1 : 0;
}

void pctext_FontReset() { pctext_iCurrentFont = 0; }
void pctext_3DTextModeSet(int32_t bOn) { pctext_b3DTextMode = bOn ? 1 : 0; }

QDLFont* pctext_poFontGet(int32_t iIndex) {
  if (iIndex < 0 || iIndex >= PCTEXT_FONTS_PER_SET) return nullptr;
  return pctext_aaoFontSets[pctext_iCurrentSet][iIndex].poFont;
}

void pctext_PrintLeft(const char* pszText, int32_t x, int32_t y, int32_t iLayer) { pctext_Print(pszText, x, y, iLayer, 0); }
void pctext_PrintRight(const char* pszText, int32_t x, int32_t y, int32_t iLayer) { pctext_Print(pszText, x, y, iLayer, 1); }
void pctext_PrintCentred(const char* pszText, int32_t x, int32_t y, int32_t iLayer) { pctext_Print(pszText, x, y, iLayer, 2); }

int32_t pctext_WidthGet(const char* pszText) {
  if (pszText == nullptr || pszText[0] == '\0') return 0;
  if (pctext_b3DTextMode) return PCTEXT_3D_CELL * static_cast<int32_t>(std::strlen(pszText));
  const FontEntry& o = pctext_oCurrent();
  if (o.poFont == nullptr) return 0;
  int32_t iWidth = 0;
  for (const char* p = pszText; *p != '\0'; ++p) {
    uint8_t c = static_cast<uint8_t>(*p);
    iWidth += QDLFontCharWidth(o.poFont, o.bRemap ? pcframe_CharRemap(c) : c);
  }
  return iWidth;
}

int32_t pctext_CharWidthGet(uint8_t c) {
  if (pctext_b3DTextMode) return PCTEXT_3D_CELL;
  QDLFont* po = pctext_oCurrent().poFont;
  return po != nullptr ? QDLFontCharWidth(po, c) : 0;
}

void pctext_3DCellHeightSet(int32_t iFont, int32_t iHeight) {
  if (iFont >= 0 && iFont < PCTEXT_FONTS_PER_SET) pctext_ai3DCellHeight[iFont] = iHeight > 0 ? iHeight : 0;
}

int32_t pctext_HeightGet() {
  if (pctext_b3DTextMode) {
    const int32_t h = pctext_ai3DCellHeight[pctext_iCurrentFont];
    return h > 0 ? h : PCTEXT_3D_CELL;
  }
  QDLFont* po = pctext_oCurrent().poFont;
  return po != nullptr ? QDLFontHeight(po) : 0;
}

void pctext_MessageSet(const char* pszText) {
  if (pctext_ErrorBoxGet()) return;
  std::snprintf(pctext_szMessage, sizeof(pctext_szMessage), "%s", pszText != nullptr ? pszText : "");
  pctext_iMessageFrames = PCTEXT_MESSAGE_FRAMES;
}

void pctext_MessageDraw() {
  if (pctext_iMessageFrames <= 0) return;
  pctext_FontSet(2);
  if (pctext_bErrorBox) pcfe_ErrorBoxDraw(pctext_szMessage);
  else pctext_PrintCentred(pctext_szMessage, 320, 120, 5);
  pctext_FontSet(0);
  if (pctext_bErrorBoxHeld) return;
  if (--pctext_iMessageFrames <= 0) pctext_bErrorBox = 0;
}

void pctext_ErrorBoxSet(const char* pszDetail) {
  std::snprintf(pctext_szMessage, sizeof(pctext_szMessage), "%s", pszDetail != nullptr ? pszDetail : "");
  pctext_iMessageFrames = PCTEXT_MESSAGE_FRAMES;
  pctext_bErrorBox = 1;
  pctext_bErrorBoxHeld = 0;
  debuglog_Printf("error box: %s\n", pctext_szMessage);
}

void pctext_ErrorBoxHold(const char* pszDetail) {
  pctext_ErrorBoxSet(pszDetail);
  pctext_bErrorBoxHeld = 1;
}

int32_t pctext_bErrorBoxHeldGet() { return pctext_bErrorBoxHeld; }

void pctext_ErrorBoxKeyTake() {
  // Any key newly down counts, bound to the screen's input or not (Escape,
  // a match key): the screens read some keys from the keyboard itself.
  const uint8_t* pabKeys = QKeyboardGetState();
  int32_t bKeyPressed = 0, bKeyDown = 0;
  for (int32_t i = 0; i < QKEYBOARD_STATE_SIZE; ++i) {
    const uint8_t c = pabKeys != nullptr ? pabKeys[i] : 0;
    if (c & 0x80) {
      bKeyDown = 1;
      if (!(pctext_abKeysBefore[i] & 0x80)) bKeyPressed = 1;
    }
    pctext_abKeysBefore[i] = c;
  }
  pctext_bKeysTaken = pctext_bErrorBoxHeld || pctext_bKeysHeldBack;
  if (!pctext_bKeysTaken) return;
  int32_t bEvent = 0;
  for (int32_t i = 0; i < input_iGetPortCount(); ++i) {
    InputPort* pip = input_poGetPort(i);
    if (pip == nullptr) continue;
    while (ListNode* poNode = queue_RemoveHead(&pip->oEvents)) {
      InputEvent* poEvent = reinterpret_cast<InputEvent*>(poNode);
      input_EventFree(&poEvent);
      bEvent = 1;
    }
  }
  if (pctext_bErrorBoxHeld && (bEvent || bKeyPressed)) {
    pctext_ErrorBoxDismiss();
    // The key goes on belonging to the box until it is let go: held, it
    // neither repeats into the screen nor counts there as a new press.
    pctext_bKeysHeldBack = 1;
  }
  if (pctext_bKeysHeldBack && !pctext_bErrorBoxHeld && !bKeyDown) pctext_bKeysHeldBack = 0;
}

int32_t pctext_bErrorBoxKeysTakenGet() { return pctext_bKeysTaken; }

void pctext_ErrorBoxDismiss() {
  if (!pctext_bErrorBox) return;
  pctext_bErrorBox = 0;
  pctext_bErrorBoxHeld = 0;
  pctext_iMessageFrames = 0;
  debuglog_Printf("error box dismissed\n");
}

const char* pctext_ErrorBoxGet() { return pctext_bErrorBox && pctext_iMessageFrames > 0 ? pctext_szMessage : nullptr; }

int32_t pctext_iMessageFramesGet() { return pctext_iMessageFrames; }

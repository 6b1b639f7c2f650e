// The 2D display of the game: opened at start-up and again after a match,
// with the debug font and the 512 x 240 logical screen.
#include <string>

#include "display/qdl.h"
#include "display/qdl_context.h"
#include "display/qdl_draw.h"
#include "display/qdl_present.h"
#include "display/qdl_text.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "platform/paths.h"
#include "shell/pcinstall.h"
#include "shell/pcmain_states.h"

int32_t pcmain_iLogicalWidth = 512;
int32_t pcmain_iLogicalHeight = 240;
int32_t pcmain_iScreenWidth;
int32_t pcmain_iScreenHeight;

int32_t pcmain_DisplayStartup() {
  if (pcmain_bDisplayUp) return 1;
  // The renderer choice sets the context's mode; without one the front end
  // opens 640 x 480 in 16 bits in a window.
  if (qdlContext.device < 0 || qdlContext.mode < 0) {
    QDLSetup();
    int32_t iMode = QDLFindMode(0, 640, 480, 16, 0);
    QDLContextModeSet(&qdlContext, 0, iMode < 0 ? 0 : iMode, QDLOPEN_WINDOWED);
  }
  if (QDLContextSetup(&qdlContext) != 0 || qdlContext.pDisplay == nullptr) {
    QDLContextShutdown(&qdlContext);
    return 0;
  }
  QDLSurface* poDisplay = qdlContext.pDisplay;
  // The text printer is up for the fonts (a second set-up does nothing).
  QDLTextSetup(0);
  pcmain_poDisplaySurface = poDisplay;
  for (int32_t i = 0; i < 2; i++) {
    QDLFillRect(poDisplay, nullptr, 0, 0);
    QDLPresent(0);
  }

  char szPath[PCINSTALL_PATH_SIZE];
  pcinstall_TexturePath(szPath, "fonts\\debug.bmp");
  std::string oHostPath = platform::resolvePath(szPath);
  pcmain_poDebugFont = QDLFontCreateFromSheet(oHostPath.c_str(), 3, 0, 0);
  if (pcmain_poDebugFont == nullptr) {
    pcmain_poDisplaySurface = nullptr;
    QDLContextShutdown(&qdlContext);
    QDLTextShutdown();
    return 0;
  }
  // The portable code lays its overlays out on 512 x 240, scaled to the display.
  pcmain_iLogicalWidth = 512;
  pcmain_iLogicalHeight = 240;
  pcmain_iScreenWidth = poDisplay->width;
  pcmain_iScreenHeight = poDisplay->height;
  pcfe_ScaleSet(512, 240, static_cast<int16_t>(poDisplay->width), static_cast<int16_t>(poDisplay->height));
  pctext_3DTextModeSet(0);
  pcmain_bDisplayUp = 1;
  pcmain_bHiResFrontEnd = 0;
  return 1;
}

int32_t pcmain_DisplayShutdown() {
  if (pcmain_poDebugFont) QDLFontFree(pcmain_poDebugFont);
  pcmain_poDebugFont = nullptr;
  pcmain_poDisplaySurface = nullptr;
  int32_t iResult = static_cast<int32_t>(QDLContextShutdown(&qdlContext));
  QDLTextShutdown();
  pcmain_bDisplayUp = 0;
  return iResult;
}

// The 2D display of the game: opened at start-up and again after a match,
// with the debug font and the 512 x 240 logical screen.
#include <filesystem>
#include <string>
#include <system_error>

#include "display/qdl.h"
#include "display/qdl_context.h"
#include "display/qdl_device.h"
#include "display/qdl_draw.h"
#include "display/qdl_present.h"
#include "display/qdl_text.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "platform/window.h"
#include "shell/pcinstall.h"
#include "shell/pcmain_states.h"

int32_t pcmain_iLogicalWidth = 512;
int32_t pcmain_iLogicalHeight = 240;
int32_t pcmain_iScreenWidth;
int32_t pcmain_iScreenHeight;

namespace {

// The display mode the menus opened in first.
struct MenuMode {
  int32_t iDevice = -1;
  int32_t iMode = -1;
  uint32_t uFlags = 0;
  bool bKept = false;
} s_oMenuMode;

bool pcmain_bIsFolder(const std::string& oHostPath) {
  std::error_code ec;
  return std::filesystem::is_directory(oHostPath, ec);
}

// What was asked of the display, for the message when it does not open.
std::string pcmain_DisplayFailureText() {
  std::string oText = "The display could not be opened";
  const QDLModeList* poList = QDLModeListGet(qdlContext.device);
  if (poList != nullptr && qdlContext.mode >= 0 && qdlContext.mode < poList->modeCount) {
    const QDLMode& o = poList->modes[qdlContext.mode];
    oText += " in " + std::to_string(o.width) + " x " + std::to_string(o.height) + " x " +
             std::to_string(o.bitsPerPixel) + " bits";
  } else {
    oText += ": no display mode is available";
  }
  oText += (qdlContext.modeFlags & QDLOPEN_WINDOWED) ? " (windowed)." : " (full screen).";
  oText += " The mode list is kept in ";
  oText += QDLDeviceInfoFileName();
  oText += "; it is checked at every start.";
  return oText;
}

}  // namespace

void pcmain_StartupError(const char* pszText) {
  platform::messageBox(platform::mainWindow(), pszText, "Korvena Football", platform::MessageIcon::Stop);
}

int32_t pcmain_bDataPresent() {
  const std::string oData = platform::resolvePath("..\\data");
  if (!pcmain_bIsFolder(oData)) {
    pcmain_StartupError(("The game's data folder is missing. Looked for: " + oData).c_str());
    return 0;
  }
  return 1;
}

int32_t pcmain_bFontFolderPresent() {
  char szPath[PCINSTALL_PATH_SIZE];
  pcinstall_TexturePath(szPath, "fonts");
  const std::string oFonts = platform::resolvePath(szPath);
  if (!pcmain_bIsFolder(oFonts)) {
    pcmain_StartupError(("The fonts folder " + std::string(szPath) + " is missing. Looked for: " + oFonts).c_str());
    return 0;
  }
  return 1;
}

int32_t pcmain_DisplayStartup() {
  if (pcmain_bDisplayUp) return 1;
  if (!pcmain_bDataPresent()) return 0;
  // Without a mode set the front end opens 640 x 480 in 16 bits in a window,
  // and keeps that as the menus' mode. A match sets the context to its own
  // mode (often full screen) before it opens; the menus after it go back to
  // the mode they had, not the match's.
  if (qdlContext.device < 0 || qdlContext.mode < 0) {
    QDLSetup();
    int32_t iMode = QDLFindMode(0, 640, 480, 16, 0);
    QDLContextModeSet(&qdlContext, 0, iMode < 0 ? 0 : iMode, QDLOPEN_WINDOWED);
    s_oMenuMode = {qdlContext.device, qdlContext.mode, qdlContext.modeFlags, true};
  } else if (!s_oMenuMode.bKept) {
    s_oMenuMode = {qdlContext.device, qdlContext.mode, qdlContext.modeFlags, true};
  } else {
    QDLContextModeSet(&qdlContext, s_oMenuMode.iDevice, s_oMenuMode.iMode, s_oMenuMode.uFlags);
  }
  if (QDLContextSetup(&qdlContext) != 0 || qdlContext.pDisplay == nullptr) {
    pcmain_StartupError(pcmain_DisplayFailureText().c_str());
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
  // A missing folder or font is reported by name and where it was looked for.
  const bool bFontFolder = pcmain_bFontFolderPresent() != 0;
  pcmain_poDebugFont = bFontFolder ? QDLFontCreateFromSheet(oHostPath.c_str(), 3, 0, 0) : nullptr;
  if (pcmain_poDebugFont == nullptr) {
    if (bFontFolder) {
      const std::string oText = (platform::fileExists(szPath) ? "The font file " + std::string(szPath) +
                                                                     " could not be loaded (damaged). File: "
                                                               : "The font file " + std::string(szPath) +
                                                                     " is missing. Looked for: ") +
                                oHostPath;
      pcmain_StartupError(oText.c_str());
    }
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

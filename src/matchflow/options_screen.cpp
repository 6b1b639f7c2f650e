// The options screen's set-up, drawing and tick (front-end mode 41).
#include <cstdint>

#include "frontend/frontend_services.h"
#include "frontend/mregion.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "matchflow/options.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"

namespace {

constexpr std::int32_t kSheetOptions = 16, kBinding = 13, kModeControls = 70;

// The backdrop, the two slider tracks and the two knobs (640 x 480 units).
const RegionDef kaoRegions[5] = {
    {"main", 0, 0, 640, 480, 255, {}, 255, 0, 0, 1, 0, 1},
    {"musictrack", 320, 162, 240, 10, 254, {}, 255, 0, 0, 1, MREGION_FROM_RIGHT, 0},
    {"sfxtrack", 320, 188, 240, 10, 253, {}, 255, 0, 0, 1, MREGION_FROM_RIGHT, 0},
    {"Slider1", 320, 184, 14, 20, 252, {}, 255, 0, 0, 1, MREGION_FROM_RIGHT, 0},
    {"Slider2", 320, 158, 14, 20, 251, {}, 255, 0, 0, 1, MREGION_FROM_RIGHT, 0},
};
const std::int32_t kaiSprites[5] = {0, 1, 1, 2, 3};

std::int32_t RowY(OptionsRow eRow) {
  const OptionsScreen& s = options_oScreen;
  for (std::int32_t i = 0; i < s.cRows; i++) {
    if (s.paoRows[i].eRow == eRow) return s.paoRows[i].y;
  }
  return 0;
}

void Print(const char* psz, std::int32_t x, std::int32_t y, bool bCursor) {
  draw2d_TextColourSet(0, 0, 0, 255);
  pctext_PrintLeft(psz, pcfe_ScaleX(static_cast<std::int16_t>(x + 1)), pcfe_ScaleY(static_cast<std::int16_t>(y + 1)), 1);
  if (bCursor) draw2d_TextColourSet(200, 200, 0, 255);
  else draw2d_TextColourSet(200, 200, 200, 255);
  pctext_PrintLeft(psz, pcfe_ScaleX(static_cast<std::int16_t>(x)), pcfe_ScaleY(static_cast<std::int16_t>(y)), 1);
}

// A knob on its row: x = 257 + 113 x volume / 10 in 512-unit columns.
void Knob(const char* pszName, std::int32_t iVolume, OptionsRow eRow) {
  const std::int32_t x512 = 257 + 113 * iVolume / 10;
  mregion_DrawAtByName(pszName, x512 * 640 / 512, RowY(eRow) * 2 - 2);
}

}  // namespace

void options_Setup() {
  mhelp_HelpShownClear();
  pcfmv_Stop();
  options_oScreen.bSetupNeeded = 0;
  options_oScreen.iCursor = 0;
  mregion_Reset();
  for (std::int32_t i = 0; i < 5; i++) mregion_Add(&kaoRegions[i], kaiSprites[i], kSheetOptions);
  pcfe_ScreenSet(kSheetOptions);
  input_ActiveUsersBind(kBinding);
  options_RowsLoad();
}

void options_Draw() {
  const OptionsScreen& s = options_oScreen;
  pctext_FontSet(1);
  mregion_DrawByName("main");
  mregion_DrawByName("musictrack");
  mregion_DrawByName("sfxtrack");
  Knob("Slider2", options_oBlock.iMusicVolume, OPTIONS_ROW_MUSIC);
  Knob("Slider1", options_oBlock.iSfxVolume, OPTIONS_ROW_SFX);
  char sz[300];
  for (std::int32_t i = 0; i < s.cRows; i++) {
    const OptionsRowPlace& o = s.paoRows[i];
    const bool bCursor = i == s.iCursor;
    Print(festr_IDToStr(o.iText), o.x, o.y, bCursor);
    options_ValueFormat(o.eRow, sz, static_cast<std::int32_t>(sizeof sz));
    if (sz[0] != '\0') Print(sz, 257, o.y, bCursor);
  }
  pctext_FontSet(0);
}

void options_Run() {
  if (options_oScreen.bSetupNeeded) options_Setup();
  options_Draw();
  std::int32_t eNext = OPTIONS_MODE;
  // Escape goes back one screen as Back does.
  const bool bEscape = !mhelp_bHelpShownGet() && (pcfe_bEscapeHeld() || pcfe_bEscapeLastKey());
  if (bEscape) eNext = options_EscapeLeave();
  for (std::int32_t i = 0; i < USER_MAX && !bEscape; i++) {
    User* pusr = &user_aUsers[i];
    if (!pusr->bActive || pusr->pip == nullptr) continue;
    if (pusr->bAttachPending) input_PortBindingSet(kBinding, pusr->pip);
    std::int32_t e = OPTIONS_MODE;
    if (mhelp_bHelpShownGet()) mhelp_Input(pusr);
    else e = options_UserInput(pusr, i);
    if (eNext == OPTIONS_MODE) eNext = e;
  }
  if (eNext == OPTIONS_MODE) return;
  if (eNext == kModeControls) pccontrols_ActivePortsMark();
  options_oScreen.iCursor = 0;
  options_oScreen.bSetupNeeded = 1;
  global_SetGameMode(static_cast<GameMode>(eNext));
}

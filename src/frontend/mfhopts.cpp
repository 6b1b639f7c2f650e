// The history options screen.
#include "frontend/mfhopts.h"

#include <cstdio>

#include "audio/audio_services.h"
#include "engine/formation.h"
#include "frontend/frontend_services.h"
#include "frontend/pcfe.h"
#include "frontend/mfhsetup.h"
#include "matchflow/options.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"

MFHOptsScreen mfhopts_oScreen = {1, 0, 0, MFHOPTS_ROWS - 1};

namespace {

constexpr std::int32_t kBinding = 13;
constexpr std::int32_t kHub = 47, kSave = 42, kLoad = 43, kOptions = 41, kRules = 88;
constexpr std::int32_t kLabelX = 100, kValueX = 278, kExitX = 417, kExitY = 208;
constexpr std::int32_t kRowY[MFHOPTS_ROWS - 1] = {73, 87, 101, 114, 128, 141, 154, 168, 181};
constexpr std::int32_t kLayer = 1;
constexpr std::int32_t kLabels[MFHOPTS_ROWS] = {
    IDS_FE_HIST_MATCH_LENGTH, IDS_FE_HIST_CAMERA,        IDS_FE_HIST_OFFSIDE,       IDS_FE_HIST_FOULS, IDS_FE_HIST_SAVE_GAME,
    IDS_FE_HIST_RESTORE_GAME, IDS_FE_HIST_SETUP,         IDS_FE_HIST_RESET_OPTIONS, IDS_FE_RULES,      IDS_FE_EXIT};

const RegionDef kRegions[3] = {
    {"main", 0, 0, 640, 480, 255, {}, 255, 0, 0, 1, 0, 1},
    {"YArrowU", 72, 130, 17, 9, 254, {}, 255, 0, 0, 1, 0, 1},
    {"YArrowD", 72, 392, 17, 9, 253, {}, 255, 0, 0, 1, 0, 1},
};

// The history's "Offside" match condition, kept in the options block (the
// save's settings carry it).
std::int32_t& OffsideWord() { return options_oBlock.bOffside; }

void Print(const char* psz, std::int32_t x, std::int32_t y, bool bLit) {
  const std::int32_t sx = pcfe_ScaleX(static_cast<std::int16_t>(x)), sy = pcfe_ScaleY(static_cast<std::int16_t>(y));
  draw2d_TextColourSet(0, 0, 0, 255);
  pctext_PrintLeft(psz, sx + 1, sy + 1, kLayer);
  // The hub's colours: light grey, the cursor's row yellow.
  if (bLit) draw2d_TextColourSet(200, 200, 0, 255);
  else draw2d_TextColourSet(200, 200, 200, 255);
  pctext_PrintLeft(psz, sx, sy, kLayer);
}

std::int32_t Clamp(std::int32_t v, std::int32_t lo, std::int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Left/Right on rows 0..3; true when the value changed.
bool RowChange(std::int32_t iRow, bool bRight) {
  switch (iRow) {
    case 0: {
      std::int32_t& l = mfhsetup_oSettings.iMatchLength;
      const std::int32_t v = Clamp(l + (bRight ? 5 : -5), 5, 15);
      if (v == l) return false;
      l = v;
      mcondi_MatchLengthSet(v);
      return true;
    }
    case 1: {
      const std::int32_t c = mcondi_CameraGet(), v = Clamp(c + (bRight ? 1 : -1), 0, 4);
      mcondi_CameraSet(v);
      return v != c;
    }
    case 2: {
      const std::int32_t v = bRight ? 0 : 1;
      const bool b = OffsideWord() != v;
      OffsideWord() = v;
      return b;
    }
    case 3: {
      const std::int32_t v = bRight ? 0 : 1;
      const bool b = (mcondi_FoulsGet() != 0) != (v != 0);
      mcondi_FoulsSet(v);
      return b;
    }
    default: return false;
  }
}

std::int32_t RowSelect(std::int32_t iRow) {
  switch (iRow) {
    case 4: global_SetExtendedGameMode(static_cast<GameMode>(GAME_MODE_HISTORY)); return kSave;
    case 5:
      global_SetExtendedGameMode(static_cast<GameMode>(
          global_eGetExtendedGameMode() == GAME_MODE_HISTORY ? MFHOPTS_MODE : kOptions));
      return kLoad;
    case 6: return kOptions;
    case 7: mfhopts_DefaultsSet(); return MFHOPTS_STAY;
    case 8: return kRules;
    case 9: return kHub;
    default: return MFHOPTS_STAY;
  }
}

}  // namespace

void mfhopts_DefaultsSet() {
  mcondi_CameraSet(2);
  OffsideWord() = 1;
  mcondi_FoulsSet(1);
  mfhsetup_oSettings.iMatchLength = 5;
  mcondi_MatchLengthSet(5);
}

std::int32_t mfhopts_OffsideGet() { return OffsideWord(); }

void mfhopts_Reset() {
  MFHOptsScreen& s = mfhopts_oScreen;
  s.bNeedsEnter = 1;
  s.iCursor = 0;
}

void mfhopts_Enter() {
  MFHOptsScreen& s = mfhopts_oScreen;
  mhelp_HelpShownClear();
  s.iCursor = 0;
  s.iFirst = 0;
  s.iLast = MFHOPTS_ROWS - 1;
  pcfmv_Stop();
  mregion_Reset();
  for (std::int32_t i = 0; i < 3; i++) mregion_Add(&kRegions[i], i, MFHOPTS_SHEET);
  pcfe_ScreenSet(MFHOPTS_SHEET);
  input_ActiveUsersBind(kBinding);
  pcfmv_PlayById(formation_TableGet(1));
  global_SetExtendedGameMode(static_cast<GameMode>(GAME_MODE_HISTORY));
}

void mfhopts_Draw() {
  const MFHOptsScreen& s = mfhopts_oScreen;
  mregion_DrawByName("main");
  pctext_FontSet(1);
  char sz[16];
  for (std::int32_t r = s.iFirst; r <= s.iLast && r < MFHOPTS_ROWS; r++) {
    const bool bLit = r == s.iCursor;
    if (r == MFHOPTS_ROWS - 1) {
      Print(festr_IDToStr(kLabels[r]), kExitX, kExitY, bLit);
      continue;
    }
    const std::int32_t y = kRowY[r - s.iFirst];
    Print(festr_IDToStr(kLabels[r]), kLabelX, y, bLit);
    const char* pszValue = nullptr;
    switch (r) {
      case 0:
        std::snprintf(sz, sizeof sz, "%d", mfhsetup_oSettings.iMatchLength);
        pszValue = sz;
        break;
      case 1: pszValue = festr_IDToStr(IDS_FE_HIST_VERY_CLOSE + Clamp(mcondi_CameraGet(), 0, 4)); break;
      case 2: pszValue = festr_IDToStr(OffsideWord() ? IDS_FE_YES : IDS_FE_NO); break;
      case 3: pszValue = festr_IDToStr(mcondi_FoulsGet() ? IDS_FE_YES : IDS_FE_NO); break;
      default: break;
    }
    if (pszValue) Print(pszValue, kValueX, y, bLit);
  }
  if (s.iCursor > 0) mregion_DrawByName("YArrowU");
  if (s.iCursor < MFHOPTS_ROWS - 1) mregion_DrawByName("YArrowD");
  pctext_FontSet(0);
}

std::int32_t mfhopts_Input(User* poUser) {
  MFHOptsScreen& s = mfhopts_oScreen;
  std::int32_t eNext = MFHOPTS_STAY;
  if (!poUser || !poUser->pip) return eNext;
  // The escape key comes from the keyboard, not from the queue, once a press.
  if (pcfe_bEscapeLastKey()) {
    input_EventQueueFlush(&poUser->pip->oEvents);
    sfx_Play(2);
    return kHub;
  }
  std::int32_t eCode = 0;
  while (eNext == MFHOPTS_STAY && pcfe_bEventCodeNext(poUser, &eCode)) {
    switch (eCode) {
      case 8:
      case 9: {
        const std::int32_t i = s.iCursor + (eCode == 8 ? -1 : 1);
        if (i < 0 || i >= MFHOPTS_ROWS) break;
        s.iCursor = i;
        if (i < s.iFirst) s.iFirst = i, s.iLast = i + MFHOPTS_ROWS - 1;
        if (i > s.iLast) s.iLast = i, s.iFirst = i - (MFHOPTS_ROWS - 1);
        sfx_Play(0);
        break;
      }
      case 10:
      case 11:
        if (s.iCursor <= 3 && RowChange(s.iCursor, eCode == 11)) sfx_Play(0);
        break;
      case 37:
        if (s.iCursor >= 4) {
          sfx_Play(1);
          eNext = RowSelect(s.iCursor);
        }
        break;
      case 1:
      case 38:
        sfx_Play(1);
        eNext = kHub;
        break;
      case 152:
        sfx_Play(2);
        eNext = kHub;
        break;
      default: break;
    }
  }
  return eNext;
}

void mfhopts_Run() {
  MFHOptsScreen& s = mfhopts_oScreen;
  const std::int32_t eNext = pcfe_MenuScreenStep(&s.bNeedsEnter, mfhopts_Enter, mfhopts_Draw, mfhopts_Input);
  if (eNext == MFHOPTS_STAY) return;
  global_SetGameMode(static_cast<GameMode>(eNext));
  s.iCursor = 0;
  s.bNeedsEnter = 1;
}

// The history set-up screen: start year, qualifiers and match length, then
// the team choice on the world map.
#include "frontend/mfhsetup.h"

#include <cstdio>

#include "audio/audio_services.h"
#include "engine/formation.h"
#include "frontend/frontend_services.h"
#include "frontend/pcfe.h"
#include "frontend/mfhnews.h"
#include "frontend/mfhopts.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "tournament/squad.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"

MFHSettings mfhsetup_oSettings = {58, 1, 1, 1, 5};
MFHSetupScreen mfhsetup_oScreen = {1, 1, 0};

namespace {

constexpr std::int32_t kBinding = 13;
constexpr std::int32_t kTeamChoice = 9;
constexpr std::int32_t kBackMode = 12;
constexpr std::int32_t kFirstYear = 58, kLastYear = 98;
constexpr std::int32_t kLabelX = 76, kValueX = 390;
constexpr std::int32_t kRowY[MFHSETUP_ROWS] = {79, 101, 123};
constexpr std::int32_t kLayer = 1;

const RegionDef kMain = {"main", 0, 0, 640, 480, 255, {}, 255, 0, 0, 1, 0, 1};

void Print(const char* psz, std::int32_t x, std::int32_t y, bool bLit) {
  const std::int32_t sx = pcfe_ScaleX(static_cast<std::int16_t>(x)), sy = pcfe_ScaleY(static_cast<std::int16_t>(y));
  draw2d_TextColourSet(0, 0, 0, 255);
  pctext_PrintLeft(psz, sx + 1, sy + 1, kLayer);
  // The hub's colours: light grey, the cursor's row yellow.
  if (bLit) draw2d_TextColourSet(200, 200, 0, 255);
  else draw2d_TextColourSet(200, 200, 200, 255);
  pctext_PrintLeft(psz, sx, sy, kLayer);
}

// Left/Right on a row; true when the value changed.
bool RowChange(std::int32_t iRow, bool bRight) {
  MFHSettings& o = mfhsetup_oSettings;
  const MFHSettings old = o;
  switch (iRow) {
    case 0:
      if (bRight && o.iStartYear + 4 <= kLastYear) o.iStartYear += 4;
      if (!bRight && o.iStartYear - 4 >= kFirstYear) o.iStartYear -= 4;
      return o.iStartYear != old.iStartYear;
    case 1:
      o.bPlayQualifiers = bRight ? 0 : 1;
      return o.bPlayQualifiers != old.bPlayQualifiers;
    default:
      // 5 -> 10 -> 15 and back round, both ways.
      o.iMatchLength = bRight ? (o.iMatchLength >= 15 ? 5 : o.iMatchLength + 5)
                              : (o.iMatchLength <= 5 ? 15 : o.iMatchLength - 5);
      return true;
  }
}

// A new history of the chosen settings, ready for the team choice.
void HistoryPrepare() {
  const MFHSettings& o = mfhsetup_oSettings;
  global_SetExtendedGameMode(static_cast<GameMode>(GAME_MODE_HISTORY));
  global.iDay = 1;
  global.iMonth = 1;
  global.iYear = o.iStartYear;
  tmglobal_YearSet(o.iStartYear);
  tmglobal.iStartYear = o.iStartYear;
  tmglobal.bPlayQualifiers = o.bPlayQualifiers;
  tmglobal.bSecondOption = o.bSecondOption;
  tmglobal.cHumans = o.cHumanTeams;
  global_SetHomeUser(&user_aUsers[0]);
  global_SetAwayUser(nullptr);
  tmglobal_FinalsSet(o.bPlayQualifiers ? 0 : 1);
  tmglobal_HoldersReset();
  tmmain_RollOfHonourInit((o.iStartYear - kFirstYear) / 4);
  mfhnews_NewsReset();
  tmglobal.bStarted = 0;
  mfhmain_ForcedScoreDisarm();
  mcondi_MatchLengthSet(o.iMatchLength);
}

}  // namespace

void mfhsetup_DefaultsSet() { mfhsetup_oSettings = {58, 1, 1, 1, 5}; }

void mfhsetup_Reset() {
  MFHSetupScreen& s = mfhsetup_oScreen;
  s.iCursor = 0;
  s.bNeedsEnter = 1;
  s.bDefaultsArmed = 1;
}

void mfhsetup_Enter() {
  MFHSetupScreen& s = mfhsetup_oScreen;
  mhelp_HelpShownClear();
  pcfmv_Stop();
  s.iCursor = 0;
  input_ActiveUsersBind(kBinding);
  mregion_Reset();
  mregion_Add(&kMain, 0, MFHSETUP_SHEET);
  pcfe_ScreenSet(MFHSETUP_SHEET);
  pcfmv_PlayById(formation_TableGet(1));
  if (s.bDefaultsArmed) {
    mfhsetup_DefaultsSet();
    mfhopts_DefaultsSet();
    s.bDefaultsArmed = 0;
  }
  tmglobal.bFinalsLoaded = 0;
  for (std::int32_t k = 0; k < SQUADCACHE_SLOTS; k++) squadcache_SlotGet(k)->iTeamId = 0;
}

void mfhsetup_Draw() {
  const MFHSettings& o = mfhsetup_oSettings;
  const std::int32_t c = mfhsetup_oScreen.iCursor;
  mregion_DrawByName("main");
  pctext_FontSet(1);
  char sz[16];
  Print(festr_IDToStr(IDS_FE_HIST_START_YEAR), kLabelX, kRowY[0], c == 0);
  std::snprintf(sz, sizeof sz, "%d", 1900 + o.iStartYear);
  Print(sz, kValueX, kRowY[0], c == 0);
  Print(festr_IDToStr(IDS_FE_HIST_PLAY_QUALIFIERS), kLabelX, kRowY[1], c == 1);
  Print(festr_IDToStr(o.bPlayQualifiers ? IDS_FE_YES : IDS_FE_NO), kValueX, kRowY[1], c == 1);
  Print(festr_IDToStr(IDS_FE_HIST_MATCH_LENGTH), kLabelX, kRowY[2], c == 2);
  std::snprintf(sz, sizeof sz, "%d", o.iMatchLength);
  Print(sz, kValueX, kRowY[2], c == 2);
  pctext_FontSet(0);
}

std::int32_t mfhsetup_Input(User* poUser) {
  MFHSetupScreen& s = mfhsetup_oScreen;
  std::int32_t eNext = MFHSETUP_MODE;
  if (!poUser || !poUser->pip) return eNext;
  // The escape key comes from the keyboard, not from the queue, once a press.
  if (pcfe_bEscapeLastKey()) {
    input_EventQueueFlush(&poUser->pip->oEvents);
    sfx_Play(2);
    global_SetExtendedGameMode(static_cast<GameMode>(kBackMode));
    return kBackMode;
  }
  std::int32_t eCode = 0;
  while (eNext == MFHSETUP_MODE && pcfe_bEventCodeNext(poUser, &eCode)) {
    switch (eCode) {
      case 8:
      case 9: {
        const std::int32_t i = s.iCursor + (eCode == 8 ? -1 : 1);
        if (i >= 0 && i < MFHSETUP_ROWS) {
          s.iCursor = i;
          sfx_Play(0);
        }
        break;
      }
      case 10:
      case 11:
        if (RowChange(s.iCursor, eCode == 11)) sfx_Play(0);
        break;
      case 38:
      case 152:
        sfx_Play(2);
        global_SetExtendedGameMode(static_cast<GameMode>(kBackMode));
        eNext = kBackMode;
        break;
      case 1:
      case 37:
        sfx_Play(1);
        HistoryPrepare();
        eNext = kTeamChoice;
        break;
      default: break;
    }
  }
  return eNext;
}

void mfhsetup_Run() {
  MFHSetupScreen& s = mfhsetup_oScreen;
  // Only the menu user sets a history up.
  std::int32_t eNext = pcfe_MenuScreenStep(&s.bNeedsEnter, mfhsetup_Enter, mfhsetup_Draw, mfhsetup_Input);
  if (demo_bStartRequested()) eNext = demo_eNextModeGet();
  if (eNext == MFHSETUP_MODE) return;
  demo_IdleWatchStop();
  global_SetGameMode(static_cast<GameMode>(eNext));
  s.iCursor = 0;
  s.bNeedsEnter = 1;
  mfhmain_bYearLoaded = 0;
}

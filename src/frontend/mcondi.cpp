// The match conditions screen and the getters of the match rules.
#include "frontend/mcondi.h"

#include <cstdio>

#include "audio/audio_services.h"
#include "framework/qdx_input.h"
#include "frontend/frontend_services.h"
#include "frontend/mregion.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "matchflow/demo.h"
#include "matchflow/environ.h"
#include "matchflow/matcha.h"
#include "matchflow/options.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "tournament/stadium.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"

namespace {

constexpr std::int32_t kModeConditions = 20;
constexpr std::int32_t kModeTactics = 13;
constexpr std::int32_t kModeLoading = 33;
constexpr std::int32_t kMovieConditions = 163;

const RegionDef kLayer = {"Layer", 0, 0, 640, 480, 255, {}, 255, 0, 0, 1, 0, 1};

// Rows 0 to 9 on the 512 x 240 screen.
const std::int32_t kRowY[MCONDI_ROWS] = {63, 77, 91, 106, 119, 133, 148, 162, 175, 189};
const std::int32_t kLabels[MCONDI_ROWS] = {
    IDS_FE_MATCH_LENGTH, IDS_FE_CAMERA,  IDS_FE_CATCH_UP, IDS_FE_EXTRA_TIME,   IDS_FE_PENALTIES,
    IDS_FE_OFFSIDE,      IDS_FE_FOULS,   IDS_FE_REFEREE,  IDS_FE_DAY_OR_NIGHT, IDS_FE_KICK_OFF};

// How left and right change a row: a step within a range, or a yes/no word
// that left sets and right clears.
struct RowRule {
  std::int32_t OptionsBlock::*pWord;
  std::int32_t iStep, iMin, iMax;  // step 0: left sets 1, right sets 0
};
const RowRule kRules[MCONDI_ROWS - 1] = {
    {&OptionsBlock::iMatchLength, 5, 5, 15}, {&OptionsBlock::iCamera, 1, 0, 4}, {&OptionsBlock::bCatchUp, 0, 0, 1},
    {&OptionsBlock::iExtraTime, 1, 0, 2},    {&OptionsBlock::bPenalties, 0, 0, 1}, {&OptionsBlock::bOffside, 0, 0, 1},
    {&OptionsBlock::bFouls, 0, 0, 1},        {&OptionsBlock::iReferee, 1, 0, 2}, {&OptionsBlock::iDayNight, 0, 0, 1}};

// Left (-1) or right (+1) on a row; 1 when the value changed.
bool Change(std::int32_t iRow, std::int32_t iDirection) {
  if (iRow < 0 || iRow >= MCONDI_ROWS - 1) return false;
  const RowRule& r = kRules[iRow];
  std::int32_t& v = options_oBlock.*r.pWord;
  std::int32_t n = r.iStep == 0 ? (iDirection < 0 ? 1 : 0) : v + iDirection * r.iStep;
  if (n < r.iMin || n > r.iMax) return false;
  if (n == v) return false;
  v = n;
  return true;
}

// The text of a row's value.
const char* ValueText(std::int32_t iRow, char* psz, std::size_t cb) {
  const OptionsBlock& b = options_oBlock;
  auto yesNo = [](std::int32_t v) { return festr_IDToStr(v ? IDS_FE_YES : IDS_FE_NO); };
  switch (iRow) {
    case 0: std::snprintf(psz, cb, "%d", static_cast<int>(b.iMatchLength)); return psz;
    case 1: return b.iCamera >= 0 && b.iCamera <= 4 ? festr_IDToStr(IDS_FE_CAMERA_VERY_CLOSE + b.iCamera) : "";
    case 2: return yesNo(b.bCatchUp);
    case 3:
      return b.iExtraTime == 1 ? festr_IDToStr(IDS_FE_EXTRA_TIME_30_MINS)
             : b.iExtraTime == 2 ? festr_IDToStr(IDS_FE_GOLDEN_GOAL) : yesNo(0);
    case 4: return yesNo(b.bPenalties);
    case 5: return yesNo(b.bOffside);
    case 6: return yesNo(b.bFouls);
    case 7: return b.iReferee >= 0 && b.iReferee <= 2 ? festr_IDToStr(IDS_FE_REFEREE_LENIENT + b.iReferee) : "";
    case 8: return festr_IDToStr(b.iDayNight ? IDS_FE_DAY : IDS_FE_NIGHT);
    default: return "";
  }
}

void Print(const char* psz, std::int32_t x, std::int32_t iRow) {
  draw2d_TextShadowDrawRemapped(psz, pcfe_ScaleX(static_cast<std::int16_t>(x)),
                                pcfe_ScaleY(static_cast<std::int16_t>(kRowY[iRow])));
}

// Kick-off: the year and the stadium from the home side, then the match loads.
void KickOff() {
  const MatchTeam* poHome = match_HomeTeamGet();
  const std::int32_t iEdition = match_TeamYearGet(poHome);
  tmglobal_YearSet(58 + 4 * iEdition);
  environ_StadiumSet(stadium_Choose(iEdition, nullptr));
  environ_Choose();
  environ_PitchChoose();
  tmglobal_TournamentMatchSet(0);
}

}  // namespace

std::int32_t mcondi_iRow = 0;
std::int32_t mcondi_bNeedsEnter = 1;
std::int32_t mcondi_bDefaultsApplied = 0;

std::int32_t mcondi_MatchLengthGet() { return options_oBlock.iMatchLength; }
std::int32_t mcondi_CameraGet() { return options_oBlock.iCamera; }
std::int32_t mcondi_CatchUpGet() { return options_oBlock.bCatchUp; }
std::int32_t mcondi_ExtraTimeGet() { return options_oBlock.iExtraTime; }
std::int32_t mcondi_PenaltiesGet() { return options_oBlock.bPenalties; }
std::int32_t mcondi_OffsideGet() { return options_oBlock.bOffside; }
std::int32_t mcondi_FoulsGet() { return options_oBlock.bFouls; }
std::int32_t mcondi_RefereeGet() { return options_oBlock.iReferee; }
std::int32_t mcondi_DayNightGet() { return options_oBlock.iDayNight; }
void mcondi_MatchLengthSet(std::int32_t iMinutes) { options_oBlock.iMatchLength = iMinutes; }
void mcondi_ExtraTimeSet(std::int32_t iExtraTime) { options_oBlock.iExtraTime = iExtraTime; }
void mcondi_PenaltiesSet(std::int32_t bPenalties) { options_oBlock.bPenalties = bPenalties; }
void mcondi_FoulsSet(std::int32_t bFouls) { options_oBlock.bFouls = bFouls; }
void mcondi_RefereeSet(std::int32_t iReferee) { options_oBlock.iReferee = iReferee; }
void mcondi_CameraSet(std::int32_t iCamera) { options_oBlock.iCamera = iCamera; }

std::int32_t mcondi_ValueGet(std::int32_t iRow) {
  return iRow >= 0 && iRow < MCONDI_ROWS - 1 ? options_oBlock.*kRules[iRow].pWord : 0;
}

void mcondi_DefaultsSet() {
  OptionsBlock& b = options_oBlock;
  b.iMatchLength = 10;
  b.iCamera = 2;
  b.bCatchUp = 1;
  b.iExtraTime = 1;
  b.bPenalties = 1;
  b.bOffside = 1;
  b.bFouls = 1;
  b.iReferee = 1;
  b.iDayNight = 1;
}

void mcondi_Enter() {
  mhelp_HelpShownClear();
  mcondi_iRow = 0;
  pcfmv_Stop();
  mregion_Reset();
  mregion_Add(&kLayer, 0, MCONDI_SHEET);
  pcfe_ScreenSet(MCONDI_SHEET);
  input_ActiveUsersBind(MCONDI_BINDING);
  // The screen's movie: id 163 has no row in the movie table, so nothing plays.
  pcfmv_PlayById(kMovieConditions);
  if (!mcondi_bDefaultsApplied) {
    mcondi_DefaultsSet();
    mcondi_bDefaultsApplied = 1;
  }
}

void mcondi_Draw() {
  pctext_FontSet(2);
  char sz[32];
  for (std::int32_t i = 0; i < MCONDI_ROWS; ++i) {
    if (i == mcondi_iRow) draw2d_TextColourSet(200, 200, 0, 255);
    else draw2d_TextColourSet(200, 200, 200, 255);
    Print(festr_IDToStr(kLabels[i]), 76, i);
    const char* pszValue = ValueText(i, sz, sizeof sz);
    if (pszValue[0] != '\0') Print(pszValue, 278, i);
  }
  mhelp_ScreenHook();
  mregion_DrawAll();
  pctext_FontSet(0);
}

std::int32_t mcondi_Input(User* pusr) {
  if (pusr == nullptr || pusr->pip == nullptr) return kModeConditions;
  if (pcfe_bEscapeLastKey()) {
    sfx_Play(2);
    return kModeTactics;
  }
  std::int32_t eNext = kModeConditions;
  while (ListNode* poNode = queue_RemoveHead(&pusr->pip->oEvents)) {
    InputEvent* poEvent = reinterpret_cast<InputEvent*>(poNode);
    const std::int32_t e = poEvent->eEvent;
    if (e == 8 && mcondi_iRow > 0) {
      mcondi_iRow--;
      sfx_Play(0);
    } else if (e == 9 && mcondi_iRow < MCONDI_ROWS - 1) {
      mcondi_iRow++;
      sfx_Play(0);
    } else if (e == 10 || e == 11) {
      if (Change(mcondi_iRow, e == 10 ? -1 : 1)) sfx_Play(0);
    } else if ((e == 37 && mcondi_iRow == MCONDI_ROW_KICK_OFF) || e == 56) {
      sfx_Play(1);
      KickOff();
      eNext = kModeLoading;
    } else if (e == 38) {
      sfx_Play(2);
      eNext = kModeTactics;
    }
    input_EventFree(&poEvent);
  }
  return eNext;
}

void mcondi_Run() {
  if (mcondi_bNeedsEnter) {
    mcondi_Enter();
    mcondi_bNeedsEnter = 0;
  }
  mcondi_Draw();
  std::int32_t eNext = kModeConditions;
  for (User& u : user_aUsers) {
    if (u.bActive != 1) continue;
    std::int32_t e = kModeConditions;
    if (mhelp_bHelpShownGet()) mhelp_Input(&u);
    else e = mcondi_Input(&u);
    if (e != kModeConditions) eNext = e;
  }
  if (eNext == kModeConditions) return;
  mcondi_iRow = 0;
  mcondi_bNeedsEnter = 1;
  demo_Stop();
  global_SetGameMode(static_cast<GameMode>(eNext));
}

// Minimal versions of the front-end services, so that the game links and
// runs before the screens exist: default match options, no screens,
// no text; a screen that is not built yet returns to the main menu.
// Each function here is replaced, one by one, by the real module that
// provides it.
#include "frontend/frontend_services.h"

#include "framework/qdx_assert.h"
#include "matchflow/matchflow.h"
#include "shell/global.h"
#include "tournament/dbindex.h"
#include "tournament/tla.h"

std::int32_t mfhmain_State = 0;
std::int32_t mfhmain_bForcedScoreArmed = 0;
std::int32_t mfhmain_bYearLoaded = 0;
std::uint32_t mfhfixtr_chosenTeam = 0;
std::int32_t mfhfixtr_pendingChoice = 0;
std::int32_t mfhnews_bPending = 0;
std::int32_t mfhnews_bArrived = 0;
// The squad pages: nothing moves, and back returns to the hub.
void mfhsquad_CursorReset() {}
void mfhsquad_Move(MatchTeam*, std::int32_t) {}
void mfhsquad_Select(MatchTeam*, std::int32_t*) {}
void mfhsquad_Back(MatchTeam*, std::int32_t* peNext) { *peNext = 47; }
void mfhsquad_Draw() {}

namespace {
struct Conditions {
  std::int32_t iCamera = 2, iLength = 10, bFouls = 1, iReferee = 1, iExtraTime = 0, bPenalties = 1;
};
Conditions s_oConditions;
}  // namespace
std::int32_t mcondi_CameraGet() { return s_oConditions.iCamera; }
std::int32_t mcondi_DayNightGet() { return 1; }
std::int32_t mcondi_FoulsGet() { return s_oConditions.bFouls; }
std::int32_t mcondi_MatchLengthGet() { return s_oConditions.iLength; }
std::int32_t mcondi_RefereeGet() { return s_oConditions.iReferee; }
std::int32_t mcondi_ExtraTimeGet() { return s_oConditions.iExtraTime; }
std::int32_t mcondi_PenaltiesGet() { return s_oConditions.bPenalties; }
void mcondi_MatchLengthSet(std::int32_t iMinutes) { s_oConditions.iLength = iMinutes; }
void mcondi_ExtraTimeSet(std::int32_t iExtraTime) { s_oConditions.iExtraTime = iExtraTime; }
void mcondi_PenaltiesSet(std::int32_t bPenalties) { s_oConditions.bPenalties = bPenalties; }
void mcondi_FoulsSet(std::int32_t bFouls) { s_oConditions.bFouls = bFouls; }
void mcondi_RefereeSet(std::int32_t iReferee) { s_oConditions.iReferee = iReferee; }
void mcondi_CameraSet(std::int32_t iCamera) { s_oConditions.iCamera = iCamera; }

// The quick-match team table until the team screens: team and year of each
// entry. Its draws come from a generator of their own, so the teams of a
// Quick Start or a demo depend on nothing but how many were drawn before.
namespace {
const char* const kQuickTable[MQUICK_TEAMS] = {
    "ARG78", "ARG86", "BRA58", "BRA62", "BRA70", "BRA82", "BRA94", "ENG66", "ENG70", "FRA82", "FRG74", "FRG90",
    "HOL74", "HOL78", "ITA70", "ITA82", "POL82", "ARG90", "BRA78", "CZH62", "ENG90", "FRA58", "FRA86", "FRG66",
    "FRG70", "FRG82", "FRG86", "ITA90", "ITA94", "POL74", "POR66", "SWE58", "SWE94", "USR66", "YUG62", "BEL86",
    "BGR94", "BRA74", "BRA86", "CHI62", "ENG82", "FRG58", "FRG78", "HOL94", "ITA78", "POL78", "SCO78", "URU70",
    "ARG66", "ARG74", "ARG82", "ARG94", "ARG98", "AUT78", "AUT82", "BEL82", "BEL90", "BRA66", "BRA90", "BRA98",
    "CMR90", "CZH58", "CZH90", "DDR74", "DEN86", "ENG58", "ENG62", "ENG86", "ENG98", "ESP66", "ESP82", "ESP86",
    "ESP94", "ESP98", "FRA78", "FRA98", "FRG62", "GER94", "GER98", "HOL90", "HOL98", "HUN58", "HUN62", "HUN66",
    "IRL90", "ITA74", "ITA86", "ITA98", "MEX70", "MEX86", "NGA94", "NGA98", "NIR58", "NIR82", "PER70", "PER78",
    "ROM94", "SCO74", "SWE74", "URU66", "USR58", "USR62", "USR70", "USR82", "USR86", "WAL58", "YUG58", "YUG74",
    "YUG90", "ESP62", "ESP78", "ESP90", "FRA66", "HRV98", "IRL94", "IRN98", "ITA62", "ITA66", "JAM98", "JPN98",
    "KOR86", "KOR90", "KOR94", "KOR98", "KSA94", "KSA98", "MEX98", "MOR98", "NOR98", "PAR98", "PRK66", "ROM98",
    "RSA98", "SCO58", "SCO82", "SCO86", "SCO90", "SCO98", "TUN98", "USA94", "USA98", "YUG98", "ENG74", "ENG78",
    "ENG94", "ESP58", "ESP70", "ESP74", "FRA62", "FRA90", "ITA58", "WAL82", "WAL86", "WAL94"};
constexpr std::uint32_t kQuickSeed = 0x6B2E1D05u;
std::uint32_t s_uQuickState = kQuickSeed;

std::int32_t QuickTeamId(std::int32_t iEntry) {
  char sz[4] = {kQuickTable[iEntry][0], kQuickTable[iEntry][1], kQuickTable[iEntry][2], 0};
  return tla_IDFind(sz);
}
}  // namespace

void mquick_RandomReset(std::uint32_t uSeed) { s_uQuickState = uSeed ? uSeed : kQuickSeed; }

std::int32_t mquick_RandomTeamGet() {
  s_uQuickState = s_uQuickState * 1664525u + 1013904223u;
  return static_cast<std::int32_t>((s_uQuickState >> 8) % MQUICK_TEAMS);
}

const char* mquick_TeamNameGet(std::int32_t iEntry) {
  QDX_ASSERT(iEntry >= 0 && iEntry < MQUICK_TEAMS);
  const std::int32_t iId = QuickTeamId(iEntry);
  return iId > 0 ? tla_NameGet(iId) : "";
}

std::uint32_t mquick_YearMaskGet(std::int32_t iEntry) {
  QDX_ASSERT(iEntry >= 0 && iEntry < MQUICK_TEAMS);
  const std::int32_t iYear = (kQuickTable[iEntry][3] - '0') * 10 + (kQuickTable[iEntry][4] - '0');
  return 1u << ((iYear - 58) / 4);
}

// Choosing sides until its screen exists: Quick Start goes on to its match.
void pcsides_Run() {
  global_SetGameMode(global_eGetExtendedGameMode() == GAME_MODE_QUICK_START ? GAME_MODE_QUICK_START
                                                                           : GAME_MODE_MAIN_MENU);
}
// Quick Start until the team screens: a match set up as the demo does, the
// first active user on the home side.
void mquick_MatchStart() {
  if (!matchflow_QuickStartSetup()) global_SetGameMode(GAME_MODE_MAIN_MENU);
}
void mfhsquad_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void mcondi_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void mfhmain_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void mfhfixtr_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void mfhgroup_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void mfhrole_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }
void mfhnews_Run() { global_SetGameMode(GAME_MODE_MAIN_MENU); }

std::int32_t pcsides_ComputerSideGet() { return 2; }
void pcsides_Reset() {}
void pcsides_ChoicesForget() {}
void mfhfixtr_Reset() {}
void mfhgroup_Reset() {}
void mfhmain_Reset() {}
void mfhnews_Reset() {}
void mfhrole_Reset() {}
void mfhsquad_Reset() {}

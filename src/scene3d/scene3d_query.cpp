#include "scene3d/scene3d_query.h"

#include "engine/zone.h"
#include "matchflow/environ.h"
#include "matchflow/caption.h"
#include "matchflow/matcha.h"
#include "shell/global.h"
#include "shell/texts.h"
#include "shell/pcinstall.h"
#include "shell/pcmain_states.h"
#include "tournament/stadium.h"
#include "tournament/tmgame.h"
#include "tournament/tournament_services.h"

std::int32_t scene3d_bNightGet() { return environ_bIsNight(); }
std::int32_t scene3d_iStadiumLookGet() { return environ_LookGet(); }
std::int32_t scene3d_iDetailSettingGet() { return pcinstall_iLODBias; }
std::int32_t scene3d_iPitchTypeGet() { return environ_PitchTypeGet(); }
std::int32_t scene3d_iMatchFrameGet() { return pcmain_iMatchFrame; }
std::int32_t scene3d_iHomeKitEditionGet() {
  const MatchTeam* t = match_HomeTeamGet();
  return t != nullptr ? match_TeamYearGet(t) : 10;
}
// The history mode is extended game mode 49.
std::int32_t scene3d_bHistoryFinalsGet() {
  return static_cast<std::int32_t>(global.eExtendedGameMode) == 49 && tmglobal_FinalsGet() != 0 ? 1 : 0;
}
// The kit table comes with the player kits; until then the match is drawn in
// colour.
std::int32_t scene3d_iExtendedModeGet() { return static_cast<std::int32_t>(global.eExtendedGameMode); }

const char* scene3d_pszTeamNameGet(std::int32_t bAway, std::int32_t iRoom) {
  static char aszName[2][64];
  char* psz = aszName[bAway ? 1 : 0];
  const MatchTeam* t = bAway ? match_AwayTeamGet() : match_HomeTeamGet();
  psz[0] = '\0';
  if (t != nullptr) caption_TeamFit(t, iRoom, psz, sizeof aszName[0]);
  return psz;
}

const char* scene3d_pszTeamYearGet(std::int32_t bAway) {
  const MatchTeam* t = bAway ? match_AwayTeamGet() : match_HomeTeamGet();
  return t != nullptr ? zone_YearToStr(match_TeamYearGet(t), 0) : "";
}

// The city of the match's stadium in the current language.
const char* scene3d_pszCityNameGet() {
  static char s_szCity[STADIUM_CITY_SIZE];
  stadium_CityNameGet(environ_StadiumGet(), s_szCity);
  return s_szCity;
}
const char* scene3d_pszRoundTitleGet() { return tmgame_RoundTitleGet(); }

const char* scene3d_pszFrontEndText(std::int32_t iId) { return festr_IDToStr(iId); }

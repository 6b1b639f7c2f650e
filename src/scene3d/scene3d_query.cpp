#include "scene3d/scene3d_query.h"

#include "engine/zone.h"
#include "matchflow/environ.h"
#include "matchflow/matcha.h"
#include "shell/global.h"
#include "shell/texts.h"
#include "shell/pcinstall.h"

std::int32_t scene3d_bNightGet() { return environ_bIsNight(); }
std::int32_t scene3d_iStadiumLookGet() { return environ_LookGet(); }
std::int32_t scene3d_iDetailSettingGet() { return pcinstall_iLODBias; }
std::int32_t scene3d_iPitchTypeGet() { return environ_PitchTypeGet(); }
// The kit table comes with the player kits; until then the match is drawn in
// colour.
void scene3d_KitColoursFind() {}

std::int32_t scene3d_iExtendedModeGet() { return static_cast<std::int32_t>(global.eExtendedGameMode); }

const char* scene3d_pszTeamNameGet(std::int32_t bAway) {
  const MatchTeam* t = bAway ? match_AwayTeamGet() : match_HomeTeamGet();
  return t != nullptr ? match_TeamNameGet(t) : "";
}

const char* scene3d_pszTeamYearGet(std::int32_t bAway) {
  const MatchTeam* t = bAway ? match_AwayTeamGet() : match_HomeTeamGet();
  return t != nullptr ? zone_YearToStr(match_TeamYearGet(t), 0) : "";
}

// The stadium's city and the history round title come with the tournament;
// until then the loading screen leaves those lines out.
const char* scene3d_pszCityNameGet() { return ""; }
const char* scene3d_pszRoundTitleGet() { return ""; }

const char* scene3d_pszFrontEndText(std::int32_t iId) { return festr_IDToStr(iId); }

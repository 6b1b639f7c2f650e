// Stadium lookups and the choice of the match stadium.
#include "tournament/stadium.h"

#include <cstdio>

#include "framework/math/qrand.h"
#include "matchflow/matcha.h"
#include "shell/debuglog.h"
#include "shell/global.h"
#include "shell/texts.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"

namespace {
bool Valid(std::int32_t iId) { return iId >= 0 && iId < STADIUM_COUNT; }
std::int32_t TeamOf(const MatchTeam& t) { return t.Squad ? t.Squad->iTeamId : 0; }
}  // namespace

std::int32_t stadium_HostGet(std::int32_t iId) { return Valid(iId) ? static_cast<std::int32_t>(stadium_aTable[iId].uHost) : 0; }
std::int32_t stadium_ModelGet(std::int32_t iId) { return Valid(iId) ? stadium_aTable[iId].uLook : 1; }
std::int32_t stadium_PitchGet(std::int32_t iId) { return Valid(iId) ? stadium_aTable[iId].cPitch : 0; }
std::int32_t stadium_SpecialGet(std::int32_t iId) { return Valid(iId) ? stadium_aTable[iId].bSpecial : 0; }

void stadium_CityNameGet(std::int32_t iId, char* pszOut) {
  const std::int32_t l = (mlang_iLanguage >= 0 && mlang_iLanguage < 6) ? mlang_iLanguage : 0;
  std::snprintf(pszOut, STADIUM_CITY_SIZE, "%s", Valid(iId) ? stadium_aszCities[l][iId] : "");
}

std::int32_t stadium_HomeFind(std::int32_t iTeam, std::int32_t iEdition) {
  const std::int32_t iYear = 1958 + 4 * iEdition;
  std::int32_t iType1 = -1, iType2 = -1, aType3[STADIUM_COUNT], c3 = 0;
  std::int32_t iAny1 = -1, iAny2 = -1;
  for (std::int32_t i = 0; i < STADIUM_COUNT; i++) {
    const StadiumRow& r = stadium_aTable[i];
    if (r.uHost != static_cast<std::uint32_t>(iTeam)) continue;
    if (r.cType == 1 && iAny1 < 0) iAny1 = i;
    if (r.cType == 2 && iAny2 < 0) iAny2 = i;
    if (iYear < r.uFirst || iYear > r.uLast) continue;
    if (r.cType == 1) iType1 = i;
    else if (r.cType == 2) iType2 = i;
    else if (r.cType == 3) aType3[c3++] = i;
  }
  if (iType1 >= 0) return iType1;
  if (iType2 >= 0) return iType2;
  if (c3 > 0) return aType3[QMathRandBetween(0, c3)];
  // No row covers the year: the team's first home row of any years, else row 0.
  if (iAny1 >= 0) return iAny1;
  if (iAny2 >= 0) return iAny2;
  return 0;
}

std::int32_t stadium_Choose(std::int32_t iEdition, const Round* pRound) {
  const std::int32_t iHome = TeamOf(match.HomeTeam);
  std::int32_t iId = stadium_HomeFind(iHome, iEdition);
  if (global.eExtendedGameMode == GAME_MODE_HISTORY) {
    const std::int32_t h = tmglobal.iCurrentHuman;
    const std::uint32_t Human = (h >= 0 && h < TM_HUMAN_MAX) ? tmglobal.aHumans[h].Name : 0;
    if (static_cast<std::uint32_t>(iHome) != Human && static_cast<std::uint32_t>(TeamOf(match.AwayTeam)) != Human)
      tmreport_Fault("human team plays", "Gen\\stadium");
    // A round without a stadium list plays at the home side's ground.
    if (!pRound) tmreport_Fault("pThisRound", "Gen\\stadium");
    else if (pRound->pStadiums) iId = pRound->pStadiums->uId;
  }
  match.HomeGround = (stadium_HostGet(iId) == iHome) ? 1 : 0;
  return iId;
}

std::int32_t stadium_IDFromText(const char* psz) {
  std::int32_t v = 0;
  for (; *psz >= '0' && *psz <= '9'; psz++) v = v < 100000 ? v * 10 + (*psz - '0') : v;
  return v;
}

std::int32_t stadium_RoundCountGet(const Round* pRound) {
  std::int32_t n = 0;
  for (const StadiumLink* s = pRound ? pRound->pStadiums : nullptr; s; s = s->pNext) n++;
  return n;
}

// The history's editions: beginning a history, loading a year and moving on
// to the next edition the human team takes part in.
#include <cstdint>

#include "frontend/mfhmain.h"
#include "frontend/frontend_services.h"
#include "frontend/mteam_conf.h"
#include "shell/global.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"

std::int32_t mfhmain_aiHumanEdition[TM_HUMAN_MAX] = {-1, -1, -1, -1};
std::int32_t mfhmain_bYearLoaded = 0;

namespace {

constexpr std::int32_t kLastEdition = 10;

std::uint32_t HumanName(std::int32_t i) { return i >= 0 && i < TM_HUMAN_MAX ? tmglobal.aHumans[i].Name : 0; }

std::uint32_t HolderOf(std::int32_t e) { return e >= 0 && e <= TM_EDITIONS ? tmglobal.aHolders[e] : 0; }

void DateSetToYearBefore(std::int32_t iYear) {
  global.iDay = 1;
  global.iMonth = 1;
  global.iYear = iYear - 1;
}

}  // namespace

void mfhmain_HistoryBegin() {
  if (!tmglobal.bStarted) {
    // One flag tells both: the year starts below and marks the history begun.
    tmglobal_YearSet(tmglobal.iStartYear);
    tmglobal.iCurrentHuman = 0;
    DateSetToYearBefore(tmglobal.iStartYear);
    mfhmain_oScreen.iCursor = 0;
    tmmain_PoolsReset();
    tmmain_PoolsReset();
    TheYearList = nullptr;
    newqual_Clear(tmglobal.aNewQual);
  }
  for (std::int32_t& e : mfhmain_aiHumanEdition) e = tmglobal_EditionGet();
  mfhmain_bYearLoaded = 1;
  mfhmain_YearLoad(tmglobal.iYear);
  mfhmain_oScreen.bHistoryOver = 0;
  mfhmain_oScreen.bFinals = tmglobal.bFinalsLoaded ? 1 : 0;
  tmglobal_FinalsSet(tmglobal.bFinalsLoaded);
}

void mfhmain_YearLoad(std::int32_t iYear) {
  const std::int32_t e = (iYear - 58) / 4;
  const std::uint32_t Human = HumanName(tmglobal.iCurrentHuman);
  const bool bSeeded = Human != 0 && (Human == result_HostGet(e) || Human == HolderOf(e));
  // The holder is kept out of the qualifiers unless the human team holds the
  // title; the loader reads the rule, so it is set before loading.
  if (Human != HolderOf(e)) tmglobal.bHolderOption = 1;
  if (!tmglobal.bFinalsLoaded && bSeeded && tmglobal.bPlayQualifiers) {
    // Straight into the finals: the qualifiers are loaded for the world's
    // other matches, the human team qualifies without playing.
    const std::int32_t bPlay = tmglobal.bPlayQualifiers;
    tmmain_YearStart(0, 1, iYear);
    tmglobal.bPlayQualifiers = bPlay;
    tmglobal.bStarted = 1;
    tmglobal.bTournamentOver = 0;
    tmglobal.bQualifiersExtracted = 1;
    tmmain_CurrentYearCache();
  } else if (!tmglobal.bStarted) {
    tmmain_YearStart(tmglobal.bPlayQualifiers, tmglobal.bSecondOption, iYear);
    if (TheYearList) history_YearFixturesSort(tmgame_CurrentYearGet());
  }
}

std::int32_t mfhmain_NextEditionForTeam(std::uint32_t TeamId) {
  for (std::int32_t e = tmglobal_EditionGet() + 1; e <= kLastEdition; e++) {
    if (e < 0) continue;
    const std::uint16_t uBit = static_cast<std::uint16_t>(1u << e);
    for (std::int32_t t = 0; t < MTEAM_CONFERENCES; t++)
      for (std::int32_t i = 0; i < mteam_acConferenceSizes[t]; i++) {
        const ConferenceEntry& c = mteam_apConferences[t][i];
        if (c.uTeam == TeamId && (c.uMask & uBit)) return e;
      }
  }
  return 0;
}

std::int32_t mfhmain_NextEditionStart() {
  const std::int32_t e = mfhmain_NextEditionForTeam(HumanName(0));
  if (e == 0) {
    mfhmain_oScreen.bHistoryOver = 1;
    return 0;
  }
  const std::int32_t iYear = tmglobal_YearFromEditionGet(e);
  tmglobal_YearSet(iYear);
  mfhmain_bYearLoaded = 0;
  tmglobal.bFinalsLoaded = 0;
  tmglobal.bTournamentOver = 0;
  tmglobal.bStarted = 0;
  tmmain_PoolsReset();
  mfhmain_oScreen.bQuitBox = 0;
  mfhmain_oScreen.cEditionsPlayed++;
  mfhmain_YearLoad(iYear);
  DateSetToYearBefore(iYear);
  // Every progress and news flag of the last edition goes.
  for (HumanTeam& h : tmglobal.aHumans) h.uFlags &= TMF_FLAG2;
  mfhmain_oScreen.bFinals = tmglobal.bFinalsLoaded ? 1 : 0;
  tmglobal_FinalsSet(tmglobal.bFinalsLoaded);
  const std::uint32_t Human = HumanName(tmglobal.iCurrentHuman);
  Year* y = TheYearList ? tmgame_CurrentYearGet() : nullptr;
  if (y && Human != 0 && !tmgame_IsTeamInYear(y, Human)) tmgame_TeamReplace(y, Human, HolderOf(e));
  return 1;
}

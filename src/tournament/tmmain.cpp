// Starting a history-mode edition: qualifiers, finals or both, and the
// qualifiers played through by the computer.
#include <cstring>

#include "shell/debuglog.h"
#include "shell/global.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"
#include "tournament/yearfile.h"

namespace {

constexpr const char* kSource = "Gen\\tmmain";
constexpr std::int32_t kConfCounters = 32;

std::uint32_t HostGet() { return result_HostGet(tmglobal_EditionGet()); }
std::uint32_t HolderGet() {
  const std::int32_t e = tmglobal_EditionGet();
  return (e >= 0 && e < TM_EDITIONS) ? tmglobal.aHolders[e] : 0;
}

void QualifiersRead(std::int32_t iYear) {
  if (!tmmain_QualifiersFileLoad(iYear)) tmreport_Fault("tmmain_QualifiersFileLoad", kSource);
}

// A round of one team completes as its fixtures are built, before any result
// could settle it: the human team alone in such a round goes through by its
// first place code, or has failed.
void LoneHumanRoundsSettle(Year* y) {
  const std::int32_t i = tmglobal.iCurrentHuman;
  if (i < 0 || i >= tmglobal.cHumans || i >= TM_HUMAN_MAX) return;
  for (Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext) {
        if (!r->bComplete || r->pFixtures || !tmteam_TeamEntryGet(r, tmglobal.aHumans[i].Name)) continue;
        if (r->szPlace1[0] && r->szPlace1[0] != 'o') {
          tmgame_QualifiedSet(i, 1);
          tmgame_QualifiedNewsSet(i, 1);
        } else {
          tmgame_FailedToQualifySet(i, 1);
          tmgame_FailedNewsSet(i, 1);
        }
      }
}

}  // namespace

std::int32_t tmteam_ConfIndexFind(const Year* pQual, std::uint32_t Name) {
  std::int32_t i = 0;
  for (const Confederation* c = pQual ? pQual->pConfs : nullptr; c; c = c->pNext, i++)
    for (const Group* g = c->pGroups; g; g = g->pNext)
      for (const Round* r = g->pRounds; r; r = r->pNext)
        if (tmteam_TeamEntryGet(r, Name)) return i;
  return -1;
}

void tmteam_ConfTeamCountsBuild(const Year* y, std::int32_t* pacCounts) {
  for (std::int32_t i = 0; i < kConfCounters; i++) pacCounts[i] = 0;
  const std::uint32_t Host = HostGet(), Holder = HolderGet();
  std::uint32_t aSeen[TMMAX_TEAMS];
  std::int32_t cSeen = 0;
  for (const Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (const Group* g = c->pGroups; g; g = g->pNext)
      for (const Round* r = g->pRounds; r; r = r->pNext)
        for (const TMTeam* t = r->pTeams; t; t = t->pNext) {
          if (!tmteam_IsProperName(t->Name) || t->Name == Host || t->Name == Holder) continue;
          bool bSeen = false;
          for (std::int32_t i = 0; i < cSeen && !bSeen; i++) bSeen = aSeen[i] == t->Name;
          if (bSeen || cSeen >= TMMAX_TEAMS) continue;
          aSeen[cSeen++] = t->Name;
          const std::int32_t iConf = tmteam_ConfIndexFind(TheYearList, t->Name);
          if (iConf >= 0 && iConf < kConfCounters) pacCounts[iConf]++;
        }
}

std::int32_t tmmain_FreeTeamSlotFill(Year* y, std::uint32_t Name) {
  for (Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext)
        for (TMTeam* t = r->pTeams; t; t = t->pNext)
          if (t->Name == static_cast<std::uint32_t>(TM_MAX)) {
            t->Name = Name;
            return 1;
          }
  return 0;
}

void tmgame_FinalsLoad(std::int32_t iYear, std::int32_t bAfterQualifiers, Squad*, std::int32_t cHumans) {
  if (!tmmain_FinalsFileLoad(iYear)) {
    tmreport_Fault("tmmain_FinalsFileLoad", kSource);
    return;
  }
  Year* y = TheYearList;
  while (y && y->pNext) y = y->pNext;
  if (!y) return;
  const std::uint32_t Host = HostGet();
  if (bAfterQualifiers) {
    std::uint32_t Holder = HolderGet();
    if (tmglobal.szReplaceName[0]) {
      const std::int32_t id = tmteam_NameFind(tmglobal.szReplaceName);
      if (id > 0) Holder = static_cast<std::uint32_t>(id);
    }
    history_FinalsTeamsFill(y, Host, Holder);
  } else {
    tmgame_FinalsFill(y, Host, HolderGet(), cHumans);
    tmgame_YearTeamsCollect(y);
  }
  history_YearFixturesBuild(y);
  history_UserFixturesMark(y);
}

void tmmain_YearLoad(std::int32_t iYear, std::int32_t bPlayQualifiers) {
  tmglobal_YearSet(iYear);
  tmmain_PoolsReset();
  history_QualifiedListClear();
  QualifiersRead(iYear);
  if (bPlayQualifiers) {
    history_YearFixturesBuild(TheYearList);
    history_PlaceholdersResolve(TheYearList);
    history_UserFixturesMark(TheYearList);
    LoneHumanRoundsSettle(TheYearList);
    return;
  }
  // The finals alone still follow the qualifying year in the tree, so the
  // current year is found the same way in both cases.
  tmgame_FinalsLoad(iYear, 0, nullptr, tmglobal.cHumans);
  tmglobal.bFinalsLoaded = 1;
}

void tmmain_YearStart(std::int32_t bPlayQualifiers, std::int32_t bSecondOption, std::int32_t iYear) {
  tmglobal.bPlayQualifiers = bPlayQualifiers;
  tmglobal.bSecondOption = bSecondOption;
  tmglobal_YearSet(iYear);
  newqual_Clear(tmglobal.aNewQual);
  if (!bSecondOption && !bPlayQualifiers) {
    tmmain_QualifiersAutoPlay();
  } else if (!bSecondOption) {
    if (!tmglobal.bStarted) {
      tmmain_YearLoad(iYear, bPlayQualifiers);
      tmglobal.bQualifiersExtracted = tmglobal.bFinalsLoaded = 0;
    }
  } else if (!bPlayQualifiers) {
    tmmain_PoolsReset();
    history_QualifiedListClear();
    QualifiersRead(iYear);
    tmgame_FinalsLoad(iYear, 0, nullptr, tmglobal.cHumans);
    tmglobal.bQualifiersExtracted = tmglobal.bFinalsLoaded = 1;
  } else if (tmglobal.bStarted) {
    tmmain_YearLoad(iYear, 0);
    tmglobal.bQualifiersExtracted = tmglobal.bFinalsLoaded = 1;
  } else {
    tmmain_YearLoad(iYear, bPlayQualifiers);
    tmglobal.bQualifiersExtracted = tmglobal.bFinalsLoaded = 0;
  }
  tmglobal_FinalsSet(tmglobal.bFinalsLoaded);
  tmglobal.bStarted = 1;
  tmglobal.bTournamentOver = 0;
  tmmain_CurrentYearCache();
}

void tmmain_QualifiersAutoPlay() {
  const std::int32_t iYear = tmglobal.iYear;
  tmmain_PoolsReset();
  history_QualifiedListClear();
  tmglobal.bFinalsLoaded = tmglobal.bQualifiersExtracted = 0;
  QualifiersRead(iYear);
  Year* q = TheYearList;
  if (!q) return;
  history_YearFixturesBuild(q);
  // The computer plays every fixture, the human teams' own ones included.
  const std::int32_t cHumans = tmglobal.cHumans;
  tmglobal.cHumans = 0;
  tmgame_YearPlayOut(q);
  tmglobal.cHumans = cHumans;
  // Those who qualified are taken first, in the order they qualified.
  if (q->bComplete) tmgame_QualifiersExtract();
  global.iDay = 1;
  global.iMonth = 1;
  global.iYear = iYear - 1;
  if (!tmmain_FinalsFileLoad(iYear) || !q->pNext) {
    tmreport_Fault("tmmain_FinalsFileLoad", kSource);
    return;
  }
  Year* y = q->pNext;
  tmglobal.bFinalsLoaded = 1;
  const std::uint32_t Host = HostGet(), Holder = HolderGet();
  std::int32_t acCounts[kConfCounters];
  tmteam_ConfTeamCountsBuild(y, acCounts);
  for (std::int32_t h = 0; h < cHumans && h < TM_HUMAN_MAX; h++) {
    const std::uint32_t Human = tmglobal.aHumans[h].Name;
    if (Human == Host || Human == Holder) continue;
    std::int32_t iConf = tmteam_ConfIndexFind(q, Human);
    // A confederation sending nobody gives its human team the place of the
    // confederation that sends the most.
    if (iConf < 0 || acCounts[iConf] <= 0) {
      iConf = 0;
      for (std::int32_t i = 1; i < kConfCounters; i++)
        if (acCounts[i] > acCounts[iConf]) iConf = i;
    }
    acCounts[iConf]--;
  }
  for (Confederation* c = y->pConfs; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext)
        for (TMTeam* t = r->pTeams; t; t = t->pNext)
          if (tmteam_IsProperName(t->Name)) t->Name = static_cast<std::uint32_t>(TM_MAX);
  std::int32_t iConf = 0;
  for (Confederation* qc = q->pConfs; qc; qc = qc->pNext, iConf++) {
    tmmain_TeamRatingsReset();
    for (std::int32_t i = 0; i < history_QualifiedCountGet(); i++)
      if (tmteam_ConfIndexFind(q, history_QualifiedGet(i)) == iConf && !tmgame_IsHumanTeam(history_QualifiedGet(i)))
        tmmain_TeamRatingAdd(history_QualifiedGet(i));
    for (Group* g = qc->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext)
        for (TMTeam* t = r->pTeams; t; t = t->pNext)
          if (tmteam_IsProperName(t->Name) && !tmgame_IsHumanTeam(t->Name) && t->Name != Host && t->Name != Holder)
            tmmain_TeamRatingAdd(t->Name);
    TeamRating* pNext = tmglobal.pRatings;
    for (Confederation* c = y->pConfs; c && iConf < kConfCounters && acCounts[iConf] > 0; c = c->pNext)
      for (Group* g = c->pGroups; g && acCounts[iConf] > 0; g = g->pNext)
        for (Round* r = g->pRounds; r && acCounts[iConf] > 0; r = r->pNext)
          for (TMTeam* t = r->pTeams; t && acCounts[iConf] > 0; t = t->pNext) {
            if (t->Name != static_cast<std::uint32_t>(TM_MAX)) continue;
            if (!pNext) {
              tmreport_Fault("pThisRating", kSource);
              acCounts[iConf] = 0;
              break;
            }
            t->Name = pNext->Name;
            pNext->uWord = 1;
            pNext = pNext->pNext;
            acCounts[iConf]--;
          }
  }
  tmmain_TeamRatingsReset();
  tmmain_FreeTeamSlotFill(y, Host);
  tmmain_FreeTeamSlotFill(y, Holder);
  for (std::int32_t h = 0; h < cHumans && h < TM_HUMAN_MAX; h++) {
    const std::uint32_t Human = tmglobal.aHumans[h].Name;
    if (Human != Host && Human != Holder) tmmain_FreeTeamSlotFill(y, Human);
  }
  for (Confederation* c = y->pConfs; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext)
        for (TMTeam* t = r->pTeams; t; t = t->pNext)
          if (t->Name == static_cast<std::uint32_t>(TM_MAX)) tmreport_Fault("pThisTeam->Name!=TM_MAX", kSource);
  history_YearFixturesBuild(y);
  history_UserFixturesMark(y);
  tmglobal.bFinalsLoaded = tmglobal.bQualifiersExtracted = 1;
  tmglobal_FinalsSet(1);
  tmmain_UserTeamFlagsClearAll();
}

// The history mode's game flow around the human team's matches: stepping the
// tournament date, entering the human result, qualifiers to finals, queries.
#include "tournament/tmgame.h"

#include <cstdio>
#include <cstring>

#include "shell/debuglog.h"
#include "framework/math/qrand.h"
#include "shell/global.h"
#include "shell/texts.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/tla.h"
#include "tournament/tmteam.h"
#include "tournament/yearfile.h"

namespace {

constexpr const char* kSource = "Gen\\tmgame";

std::uint32_t s_aQualified[TMMAX_TEAMS];
std::int32_t s_cQualified = 0;

struct PendingResult {
  std::int32_t bPending, iHome, iAway, iKind;
};
PendingResult s_Pending{};
char s_szStuck[96] = "";

std::uint8_t U8(std::int32_t v) { return static_cast<std::uint8_t>(v); }

std::uint32_t HumanName() {
  const std::int32_t i = tmglobal.iCurrentHuman;
  return (i >= 0 && i < tmglobal.cHumans && i < TM_HUMAN_MAX) ? tmglobal.aHumans[i].Name : 0xFFFFFFFFu;
}

void DateSet(std::int32_t d, std::int32_t m, std::int32_t y) {
  global.iDay = d;
  global.iMonth = m;
  global.iYear = y;
}

FixtureDate Today() {
  FixtureDate d{};
  d.cDay = U8(global.iDay);
  d.cMonth = U8(global.iMonth);
  d.cYear = U8(global.iYear);
  return d;
}

// A measure that grows whenever a pass plays a fixture, settles a round,
// resolves a placeholder or adds a play-off: a pass leaving it unchanged
// changed nothing.
std::int32_t Progress(const Year* y) {
  std::int32_t n = 0;
  for (const Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (const Group* g = c->pGroups; g; g = g->pNext)
      for (const Round* r = g->pRounds; r; r = r->pNext) {
        n += static_cast<std::int32_t>(r->bComplete) + tmteam_RoundRealTeamCount(r);
        for (const Fixture* f = r->pFixtures; f; f = f->pNext) n += 1 + (f->cFlags & FIX_PLAYED);
      }
  return n;
}

// Notes the first round of y that is not complete as the one the year waits on.
void StuckReport(const Year* y) {
  for (const Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (const Group* g = c->pGroups; g; g = g->pNext)
      for (const Round* r = g->pRounds; r; r = r->pNext)
        if (!r->bComplete) {
          std::snprintf(s_szStuck, sizeof(s_szStuck), "%s.%s.%s", c->szName, g->szName, r->szName);
          debuglog_Printf("tournament year cannot complete: round %s waits\n", s_szStuck);
          tmreport_Fault("year cannot complete", kSource);
          return;
        }
}

// One date of year y: simulated results, placeholders, completion, tables.
void DayOn(Year* y) {
  if (!y) return;
  history_DaySimulate(y);
  history_PlaceholdersResolve(y);
  history_YearCompleteCheck(y);
  tmteam_GroupTablesCollect(y);
  tmteam_GroupTablesSortAll(y);
  history_UserFixturesMark(y);
  if (y->bComplete && tmglobal.bFinalsLoaded && y == TheYearList->pNext) tmglobal.bTournamentOver = 1;
}

// Moves the date on to the first date after today at which a fixture of
// year y that the computer plays falls due; false when there is none.
bool NextDueDateSet(Year* y) {
  const FixtureDate now = Today();
  const FixtureDate* pNext = nullptr;
  for (Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext)
        for (Fixture* f = r->pFixtures; f; f = f->pNext) {
          if (f->cFlags & (FIX_PLAYED | FIX_BYNAMEID)) continue;
          const std::uint32_t A = history_FixtureTeamA(r, f), B = history_FixtureTeamB(r, f);
          if (!tmteam_IsProperName(A) || !tmteam_IsProperName(B)) continue;
          if (tmgame_IsHumanTeam(A) || tmgame_IsHumanTeam(B)) continue;
          // A fixture already due that is still unplayed (one the
          // simulator passes over) is no date to move on to.
          const FixtureDate* d = tmglobal_FixtureDateGet(r, f->cDate);
          if (!d || history_DateCompare(d, &now) <= 0) continue;
          if (!pNext || history_DateCompare(d, pNext) < 0) pNext = d;
        }
  if (!pNext) return false;
  DateSet(pNext->cDay, pNext->cMonth, pNext->cYear);
  return true;
}

void HumanStep() {
  tmgame_Step(tmgame_CurrentYearGet(), nullptr, tmglobal.iCurrentHuman, tmglobal.bPlayQualifiers);
}

// Moves the date to the day before the human team's next fixture, or to the
// latest date of round r when it has none.
void DateBeforeNextSet(Year* y, const Round* pPlayed) {
  Round* r = nullptr;
  Fixture* f = nullptr;
  if (history_FixtureFindByTeam(y, HumanName(), &r, &f)) {
    history_CurrentDateFromFixtureSet(r, f);
    history_DateDecrement(&global.iDay, &global.iMonth, &global.iYear);
    return;
  }
  const std::int32_t iFixtureDate = history_LatestFixtureDateGet(pPlayed);
  if (iFixtureDate == -1) {
    tmreport_Fault("iFixtureDate != -1", kSource);
    return;
  }
  history_CurrentDateFromRoundDateSet(pPlayed, iFixtureDate);
}

bool Protected(std::uint32_t Name) {
  static const char* const k[] = {"BRA", "ARG", "ITA", "ENG", "FRG", "GER", "HOL", "ESP", "FRA"};
  for (const char* p : k)
    if (static_cast<std::int32_t>(Name) == tla_IDFind(p)) return true;
  return false;
}

char* PlaceCode(Round* r, std::int32_t i) {
  char* const a[4] = {r->szPlace1, r->szPlace2, r->szPlace3, r->szPlace4};
  return a[i & 3];
}
constexpr std::size_t kPlaceCodeSize[4] = {55, 60, 25, 28};

// A draw of the range generator kept below n (it can give n itself).
std::int32_t DrawBelow(std::int32_t n) {
  const std::int32_t r = static_cast<std::int32_t>(QMathRandRange(static_cast<std::uint32_t>(n)));
  return r < n - 1 ? r : n - 1;
}

}  // namespace

void tmgame_FlowReset() {
  s_Pending = PendingResult{};
  s_szStuck[0] = 0;
  s_cQualified = 0;
}

// ---- Qualified list -----------------------------------------------------------------
void history_QualifiedListClear() { s_cQualified = 0; }
void history_QualifiedListAdd(std::uint32_t Name) {
  for (std::int32_t i = 0; i < s_cQualified; i++)
    if (s_aQualified[i] == Name) return;
  if (s_cQualified < TMMAX_TEAMS) s_aQualified[s_cQualified++] = Name;
}
std::int32_t history_QualifiedCountGet() { return s_cQualified; }
std::uint32_t history_QualifiedGet(std::int32_t n) { return (n >= 0 && n < s_cQualified) ? s_aQualified[n] : 0; }

// ---- Stepping -----------------------------------------------------------------------
Year* tmgame_CurrentYearGet() {
  tmmain_CurrentYearCache();
  return tmglobal.pCurrentYear;
}

void tmgame_DaySimulate() { DayOn(tmgame_CurrentYearGet()); }

const char* tmgame_StuckGet() { return s_szStuck; }

void tmgame_Step(Year* y, Squad*, std::int32_t iHuman, std::int32_t bPlayQualifiers) {
  (void)y;
  if (tmglobal.bTournamentOver) return;
  if (bPlayQualifiers && !tmglobal.bFinalsLoaded && TheYearList) {
    Year* q = TheYearList;
    while (!q->bComplete) {
      const std::int32_t iBefore = Progress(q);
      DayOn(q);
      if (!tmgame_QualifiedGet(iHuman)) break;
      if (Progress(q) == iBefore) break;  // nothing more falls due on this date
    }
  }
  Year* cur = tmgame_CurrentYearGet();
  if (!cur || cur->bComplete) return;
  DayOn(cur);
}

void tmgame_ResultPendingSet(std::int32_t iHome, std::int32_t iAway, std::int32_t iKind) {
  s_Pending = PendingResult{1, iHome, iAway, iKind};
}
std::int32_t tmgame_ResultPendingGet() { return s_Pending.bPending; }

void tmgame_UserResultApply(std::int32_t iHuman, std::int32_t bPlayQualifiers, std::int32_t iHome, std::int32_t iAway,
                            std::int32_t iKind) {
  (void)bPlayQualifiers;
  tmglobal.iCurrentHuman = iHuman;
  Year* y = tmgame_CurrentYearGet();
  Round* r = nullptr;
  Fixture* f = nullptr;
  Group* g = nullptr;
  if (!history_FixtureFindByTeam(y, HumanName(), &r, &f, nullptr, &g)) {
    tmreport_Fault("pThisFixture", kSource);
    return;
  }
  history_ResultClear(f);
  const bool bHumanA = history_FixtureTeamA(r, f) == HumanName();
  switch (iKind) {
    case 1:
      history_ScoreSet(f, bHumanA ? 0 : 10, bHumanA ? 10 : 0);
      break;
    case 2:
      history_ScoreSet(f, 10, 10);
      break;
    case 3:
      history_ScoreSet(f, tmglobal.cNormalA, tmglobal.cNormalB);
      if (tmglobal.iMatchPhase != 0 || tmglobal.cExtraA || tmglobal.cExtraB)
        history_ExtraTimeScoreSet(f, tmglobal.cExtraA, tmglobal.cExtraB);
      if (tmglobal.cPenA || tmglobal.cPenB) history_PenaltyScoreSet(f, tmglobal.cPenA, tmglobal.cPenB);
      break;
    default:
      history_ScoreSet(f, iHome, iAway);
      break;
  }
  f->cFlags = U8((f->cFlags | FIX_PLAYED) & ~FIX_SIMULATED);
  tmteam_FixtureResultApply(r, history_FixtureTeamA(r, f), f, 1);
  tmteam_FixtureResultApply(r, history_FixtureTeamB(r, f), f, 0);
  // Settled as a simulated result would be.
  history_PlaceholdersResolve(y);
  history_YearCompleteCheck(y);
  tmteam_GroupTablesCollect(y);
  tmteam_GroupTablesSortAll(y);
  history_UserFixturesMark(y);
  if (y->bComplete && tmglobal.bFinalsLoaded && y == TheYearList->pNext) tmglobal.bTournamentOver = 1;
}

void tmgame_FixtureDateSettle() {
  Year* y = tmgame_CurrentYearGet();
  if (!y) return;
  const std::uint32_t Human = HumanName();
  Round* r = nullptr;
  Fixture* f = nullptr;
  if (!history_FixtureFindByTeam(y, Human, &r, &f)) {
    if (s_Pending.bPending) tmreport_Fault("pThisFixture", kSource);
  } else {
    const std::uint32_t A = history_FixtureTeamA(r, f), B = history_FixtureTeamB(r, f);
    if (tmteam_IsProperName(A == Human ? B : A)) {
      history_CurrentDateFromFixtureSet(r, f);
      history_DateDecrement(&global.iDay, &global.iMonth, &global.iYear);
    } else {
      HumanStep();
    }
  }
  if (s_Pending.bPending && r) {
    tmgame_UserResultApply(tmglobal.iCurrentHuman, tmglobal.bPlayQualifiers, s_Pending.iHome, s_Pending.iAway,
                           s_Pending.iKind);
    for (std::int32_t i = 0; i < 2; i++) {
      DateBeforeNextSet(y, r);
      HumanStep();
      HumanStep();
    }
  }
  s_Pending.bPending = 0;
  // Without a next fixture the year is played on a date at a time, each
  // date until it settles nothing more, so a place decided by other groups
  // (a best third) gives the team its fixture on the date it is decided,
  // before anything later is played.
  bool bPlayedOn = false;
  while (!history_FixtureFindByTeam(y, Human, &r, &f) && !y->bComplete && !tmglobal.bTournamentOver) {
    const std::int32_t iBefore = Progress(y);
    HumanStep();
    bPlayedOn = true;
    if (Progress(y) != iBefore || NextDueDateSet(y)) continue;
    const FixtureDate now = Today();
    if (now.cDay == 31 && now.cMonth == 12 && now.cYear == 99) {
      StuckReport(y);
      break;
    }
    DateSet(31, 12, 99);
  }
  // The fixture found so: the day before it, as after a match.
  if (bPlayedOn && history_FixtureFindByTeam(y, Human, &r, &f)) {
    history_CurrentDateFromFixtureSet(r, f);
    history_DateDecrement(&global.iDay, &global.iMonth, &global.iYear);
    HumanStep();
  }
}

void tmgame_YearFinish() { tmgame_YearPlayOut(tmgame_CurrentYearGet()); }

void tmgame_YearPlayOut(Year* y) {
  DateSet(31, 12, 99);
  while (y && !y->bComplete) {
    const std::int32_t iBefore = Progress(y);
    DayOn(y);
    if (Progress(y) == iBefore) {
      StuckReport(y);
      break;
    }
  }
}

// ---- Qualifiers to finals -----------------------------------------------------------
void tmgame_QualifiersExtract() {
  Year* y = TheYearList;
  if (!y || !y->bComplete || tmglobal.bQualifiersExtracted) {
    tmreport_Fault("pThisYear->bComplete && !bQualifiersExtracted", kSource);
    return;
  }
  bool bUStat = false;
  for (Confederation* c = y->pConfs; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext) {
        RoundPlaces pl;
        tmteam_RoundOutcomeGet(g, r, &pl);
        for (std::int32_t i = 0; i < 4; i++) {
          const char* psz = PlaceCode(r, i);
          if (i == 1 && std::strcmp(psz, "*ustat2/3") == 0) bUStat = true;
          if (!psz[0] || psz[0] == 'o' || psz[0] == '*' || !pl.aName[i]) continue;
          history_QualifiedListAdd(pl.aName[i]);
        }
      }
  if (bUStat) tmteam_UCodesRank(y);
  tmglobal.bQualifiersExtracted = 1;
}

void tmgame_FinalsAfterQualifiersLoad() {
  if (tmglobal.bFinalsLoaded) {
    tmreport_Fault("!bFinalsLoaded", kSource);
    return;
  }
  tmgame_FinalsLoad(tmglobal.iYear, 1, nullptr, tmglobal.cHumans);
  tmglobal.bFinalsLoaded = 1;
  tmglobal_FinalsSet(1);
  tmmain_CurrentYearCache();
}

void tmgame_FinalsFill(Year* y, std::uint32_t Host, std::uint32_t Holder, std::int32_t cHumans) {
  if (!y || !y->pConfs) {
    tmreport_Fault("pThisYear", kSource);
    return;
  }
  const std::int32_t e = tmglobal_EditionGet();
  const std::uint32_t n = e <= 5 ? 16u : (e <= 9 ? 24u : 32u);
  for (std::int32_t h = 0; h < cHumans && h < TM_HUMAN_MAX; h++) {
    const std::uint32_t Human = tmglobal.aHumans[h].Name;
    if (tmgame_IsTeamInYear(y, Human)) continue;
    const std::int32_t r = DrawBelow(static_cast<std::int32_t>(n));
    std::int32_t iPos = 0;
    TMTeam* pBefore = nullptr;
    TMTeam* pTaken = nullptr;
    TMTeam* pLast = nullptr;
    for (Confederation* c = y->pConfs; c && !pTaken; c = c->pNext)
      for (Group* g = c->pGroups; g && !pTaken; g = g->pNext)
        for (Round* rd = g->pRounds; rd && !pTaken; rd = rd->pNext)
          for (TMTeam* t = rd->pTeams; t; t = t->pNext, iPos++) {
            pLast = t;
            // Another human team or a placeholder is never taken either.
            const bool bCandidate = t->Name != Host && t->Name != Holder && !Protected(t->Name) &&
                                    !tmgame_IsHumanTeam(t->Name) && tmteam_IsProperName(t->Name);
            if (!bCandidate) continue;
            if (iPos >= r) {
              pTaken = t;
              break;
            }
            pBefore = t;
          }
    if (!pTaken) pTaken = pBefore ? pBefore : pLast;
    if (!pTaken || !tmteam_IsProperName(pTaken->Name)) {
      tmreport_Fault("*festr_TMIDToStr(pThisTeam->Name) != '*'", kSource);
      continue;
    }
    tmgame_TeamReplace(y, Human, pTaken->Name);
  }
}

namespace {
// The team a route of the finals file gives: the host, the holder, or the team
// placed so in the complete qualifying round "*group.round*place"; 0 when it
// gives none (a ranking rule's place, a round not played).
std::uint32_t RouteTeam(const char* pszCode, std::uint32_t Host, std::uint32_t Holder) {
  if (std::strcmp(pszCode, "host") == 0) return Host;
  if (std::strcmp(pszCode, "holder") == 0) return Holder;
  char szGroup[32], szRound[32];
  char cPlace = 0;
  if (std::sscanf(pszCode, "*%31[^.].%31[^*]*%c", szGroup, szRound, &cPlace) != 3 || cPlace < 'a' || cPlace > 'd')
    return 0;
  Group* g = nullptr;
  Round* r = history_RoundFindByNames(TheYearList, szGroup, szRound, &g);
  if (!r || !r->bComplete) return 0;
  RoundPlaces pl;
  tmteam_RoundOutcomeGet(g, r, &pl);
  const std::uint32_t Name = pl.aName[cPlace - 'a'];
  return tmteam_IsProperName(Name) ? Name : 0;
}

// Every entry of the first stage takes the team that came through the route of
// the team the file puts there, so the real winners give the real draw and
// another winner takes the slot of the team it beat. An entry whose route gives
// no team, or one already placed, takes the next qualified team not placed.
void FinalsRoutesFill(Confederation* c, std::uint32_t Host, std::uint32_t Holder) {
  TMTeam* apEntries[TMMAX_TEAMS];
  std::uint32_t aTeam[TMMAX_TEAMS];
  std::int32_t cEntries = 0;
  for (Group* g = c->pGroups; g; g = g->pNext)
    for (Round* r = g->pRounds; r; r = r->pNext)
      for (TMTeam* t = r->pTeams; t && cEntries < TMMAX_TEAMS; t = t->pNext) {
        const char* pszCode = history_FinalsRouteGet(t->Name);
        std::uint32_t Name = pszCode ? RouteTeam(pszCode, Host, Holder) : 0;
        for (std::int32_t i = 0; i < cEntries && Name; i++)
          if (aTeam[i] == Name) Name = 0;
        apEntries[cEntries] = t;
        aTeam[cEntries++] = Name;
      }
  std::int32_t iNext = 0;
  for (std::int32_t i = 0; i < cEntries; i++) {
    while (!aTeam[i] && iNext < history_QualifiedCountGet()) {
      const std::uint32_t Name = history_QualifiedGet(iNext++);
      bool bPlaced = Name == Host || Name == Holder;
      for (std::int32_t k = 0; k < cEntries && !bPlaced; k++) bPlaced = aTeam[k] == Name;
      if (!bPlaced) aTeam[i] = Name;
    }
    if (aTeam[i]) apEntries[i]->Name = aTeam[i];
  }
}
}  // namespace

void history_FinalsTeamsFill(Year* y, std::uint32_t Host, std::uint32_t Holder) {
  Confederation* c = y ? y->pConfs : nullptr;
  if (!c || !c->pGroups) {
    tmreport_Fault("pGroup", "Gen\\history");
    return;
  }
  if (c->pGroups->pRounds && c->pGroups->pRounds->pTeams && history_FinalsRouteGet(c->pGroups->pRounds->pTeams->Name) &&
      TheYearList != y) {
    FinalsRoutesFill(c, Host, Holder);
    return;
  }
  TMTeam* apEntries[TMMAX_TEAMS];
  std::int32_t cEntries = 0, iNext = 0, cGiven = 0;
  for (Group* g = c->pGroups; g; g = g->pNext)
    for (Round* r = g->pRounds; r; r = r->pNext)
      for (TMTeam* t = r->pTeams; t && cEntries < TMMAX_TEAMS; t = t->pNext) {
        if (cEntries == 0) t->Name = Host;
        else if (cEntries == 1) t->Name = Holder;
        else if (tmteam_IsProperName(t->Name) && iNext < history_QualifiedCountGet()) {
          t->Name = history_QualifiedGet(iNext++);
          cGiven++;
        }
        apEntries[cEntries++] = t;
      }
  // The draw counts positions over every entry of the stage, host and holder
  // included, though only the qualified entries were filled: the host and the
  // holder can be moved into a later group by it.
  for (std::int32_t i = 0; i < cGiven; i++) {
    const std::int32_t r = DrawBelow(cGiven);
    if (r == i) continue;
    TMTeam* a = apEntries[r < i ? r : i];
    TMTeam* b = apEntries[r < i ? i : r];
    const std::uint32_t t = a->Name;
    a->Name = b->Name;
    b->Name = t;
  }
}

void tmgame_YearTeamsCollect(const Year* y) {
  for (const Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (const Group* g = c->pGroups; g; g = g->pNext)
      for (const Round* r = g->pRounds; r; r = r->pNext)
        for (const TMTeam* t = r->pTeams; t; t = t->pNext)
          if (tmteam_IsProperName(t->Name)) history_QualifiedListAdd(t->Name);
}

// ---- Queries ------------------------------------------------------------------------
std::int32_t tmgame_IsTeamInYear(const Year* y, std::uint32_t Name) {
  for (const Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (const Group* g = c->pGroups; g; g = g->pNext)
      for (const Round* r = g->pRounds; r; r = r->pNext)
        if (tmteam_TeamEntryGet(r, Name)) return 1;
  return 0;
}

void tmgame_TeamReplace(Year* y, std::uint32_t NewName, std::uint32_t OldName) {
  for (Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext) {
      for (TMTeam* t = g->pTeams; t; t = t->pNext)
        if (t->Name == OldName) t->Name = NewName;
      for (Round* r = g->pRounds; r; r = r->pNext)
        for (TMTeam* t = r->pTeams; t; t = t->pNext)
          if (t->Name == OldName) t->Name = NewName;
    }
}

std::int32_t history_FixtureFindByTeam(Year* y, std::uint32_t Name, Round** ppRound, Fixture** ppFixture,
                                       Confederation** ppConf, Group** ppGroup) {
  const FixtureDate* pBest = nullptr;
  for (Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext)
        for (Fixture* f = r->pFixtures; f; f = f->pNext) {
          if (f->cFlags & FIX_PLAYED) continue;
          if ((f->cFlags & FIX_BYNAMEID) && !(f->cFlags & FIX_SLOTFILLED)) continue;
          if (history_FixtureTeamA(r, f) != Name && history_FixtureTeamB(r, f) != Name) continue;
          const FixtureDate* d = tmglobal_FixtureDateGet(r, f->cDate);
          if (pBest && history_DateCompare(d, pBest) >= 0) continue;
          pBest = d;
          *ppRound = r;
          *ppFixture = f;
          if (ppConf) *ppConf = c;
          if (ppGroup) *ppGroup = g;
          if (!d) return 1;
        }
  return pBest ? 1 : 0;
}

std::int32_t history_IsNextFixtureOfTeam(const Round* r, const Fixture* pGiven, std::uint32_t Name) {
  const FixtureDate* d = tmglobal_FixtureDateGet(r, pGiven->cDate);
  for (const Fixture* f = r->pFixtures; f; f = f->pNext) {
    if (f == pGiven || (f->cFlags & FIX_PLAYED)) continue;
    if ((f->cFlags & FIX_BYNAMEID) && !(f->cFlags & FIX_SLOTFILLED)) continue;
    if (history_FixtureTeamA(r, f) != Name && history_FixtureTeamB(r, f) != Name) continue;
    if (history_DateCompare(tmglobal_FixtureDateGet(r, f->cDate), d) < 0) return 0;
  }
  return 1;
}

void history_UserFixturesMark(Year* y) {
  for (Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext)
        for (Fixture* f = r->pFixtures; f; f = f->pNext)
          if (tmgame_IsHumanTeam(history_FixtureTeamA(r, f)) || tmgame_IsHumanTeam(history_FixtureTeamB(r, f)))
            f->cFlags |= FIX_USER;
}

std::int32_t tmgame_IsRoundStarted(const Round* r) {
  for (const Fixture* f = r ? r->pFixtures : nullptr; f; f = f->pNext)
    if (f->cFlags & FIX_PLAYED) return 1;
  return 0;
}

namespace {

// Whether no computer fixture between proper teams is left unplayed that is
// dated before the current date, or on it too when bToday is set.
std::int32_t ComputerFixturesPlayed(const Year* y, bool bToday) {
  for (const Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (const Group* g = c->pGroups; g; g = g->pNext)
      for (const Round* r = g->pRounds; r; r = r->pNext)
        for (const Fixture* f = r->pFixtures; f; f = f->pNext) {
          if (f->cFlags & FIX_PLAYED) continue;
          if (!(bToday ? history_FixtureDateIsDue(r, f) : history_FixtureDateIsPast(r, f))) continue;
          const std::uint32_t A = history_FixtureTeamA(r, f), B = history_FixtureTeamB(r, f);
          if (tmgame_IsHumanTeam(A) || tmgame_IsHumanTeam(B)) continue;
          if (tmteam_IsProperName(A) && tmteam_IsProperName(B)) return 0;
        }
  return 1;
}

}  // namespace

std::int32_t tmgame_AreDueFixturesPlayed(const Year* y) { return ComputerFixturesPlayed(y, false); }

std::int32_t tmgame_AreFixturesDueByTodayPlayed(const Year* y) { return ComputerFixturesPlayed(y, true); }

void tmgame_UserFixtureDateSet() {
  Round* r = nullptr;
  Fixture* f = nullptr;
  if (history_FixtureFindByTeam(tmgame_CurrentYearGet(), HumanName(), &r, &f)) history_CurrentDateFromFixtureSet(r, f);
}

const char* tmgame_RoundTitleGet() {
  if (global.eExtendedGameMode != GAME_MODE_HISTORY || !TheYearList) return "";
  Round* r = nullptr;
  Fixture* f = nullptr;
  Confederation* c = nullptr;
  if (!history_FixtureFindByTeam(tmgame_CurrentYearGet(), HumanName(), &r, &f, &c)) return "";
  if (!tmglobal.bFinalsLoaded)
    return festr_IDToStr(std::strcmp(r->szLongName, festr_IDToStr(879)) == 0 ? 183 : 182);
  for (std::int32_t i = 0; i < 6; i++)
    if (std::strcmp(c->szName, festr_IDToStr(880 + i)) == 0) return festr_IDToStr(184 + i);
  return "";
}

// ---- Dates --------------------------------------------------------------------------
std::int32_t history_FixtureDateIsPast(const Round* r, const Fixture* f) {
  const FixtureDate now = Today();
  const FixtureDate* d = tmglobal_FixtureDateGet(r, f->cDate);
  return d && history_DateCompare(d, &now) < 0 ? 1 : 0;
}

std::int32_t history_FixtureDateIsOnOrAfter(const Round* r, const Fixture* f) {
  const FixtureDate now = Today();
  const FixtureDate* d = tmglobal_FixtureDateGet(r, f->cDate);
  return d && history_DateCompare(d, &now) >= 0 ? 1 : 0;
}

void history_CurrentDateFromFixtureSet(const Round* r, const Fixture* f) {
  history_CurrentDateFromRoundDateSet(r, f ? f->cDate : -1);
}

void history_CurrentDateFromRoundDateSet(const Round* r, std::int32_t iDate) {
  const FixtureDate* d = iDate >= 0 ? tmglobal_FixtureDateGet(r, iDate) : nullptr;
  if (!d) {
    tmreport_Fault("pThisFixtureDate", kSource);
    DateSet(30, 12, 99);
    return;
  }
  DateSet(d->cDay, d->cMonth, d->cYear);
}

std::int32_t history_LatestFixtureDateGet(const Round* r) {
  std::int32_t iBest = -1, i = 0;
  const FixtureDate* pBest = nullptr;
  for (const FixtureDate* d = r ? r->pDates : nullptr; d; d = d->pNext, i++)
    if (!pBest || history_DateCompare(d, pBest) > 0) {
      pBest = d;
      iBest = i;
    }
  return iBest;
}

void history_DateDecrement(std::int32_t* piDay, std::int32_t* piMonth, std::int32_t* piYear) {
  static const std::int32_t kLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (--*piDay >= 1) return;
  if (--*piMonth < 1) {
    *piMonth = 12;
    --*piYear;
  }
  *piDay = kLength[*piMonth - 1] + ((*piMonth == 2 && *piYear % 4 == 0) ? 1 : 0);
}

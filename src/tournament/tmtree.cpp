// Tournament tree pools, globals and accessors.
#include "tournament/tmtree.h"

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "shell/debuglog.h"
#include "shell/texts.h"
#include "tournament/tla.h"
#include "tournament/tournament_services.h"

TMGlobal tmglobal;
// The first leg of a two-legged tie, read by the period end of the second.
TMFirstLeg tmglobal_FirstLeg;
Year* TheYearList = nullptr;

namespace {

std::int32_t s_cReports = 0;

template <typename T, std::int32_t N>
struct Pool {
  T aNodes[N];
  std::int32_t iCursor;
  std::uint16_t cCount;
  void Reset() {
    std::memset(aNodes, 0, sizeof(aNodes));
    iCursor = 0;
    cCount = 0;
  }
  T* Alloc(const char* pszExpression) {
    if (iCursor >= N) {
      tmreport_Fault(pszExpression, "Gen\\tmmain");
      return nullptr;
    }
    T* p = &aNodes[iCursor++];
    std::memset(p, 0, sizeof(T));
    cCount++;
    return p;
  }
};

Pool<Year, TMMAX_YEARS> s_Years;
Pool<Confederation, TMMAX_CONFS> s_Confs;
Pool<Group, TMMAX_GROUPS> s_Groups;
Pool<Round, TMMAX_ROUNDS> s_Rounds;
Pool<TMTeam, TMMAX_TEAMS> s_Teams;
Pool<Fixture, TMMAX_FIXTURES> s_Fixtures;
Pool<FixtureDate, TMMAX_FIXTURES> s_Dates;
Pool<TeamRating, TMMAX_TEAMS> s_Ratings;
Pool<StadiumLink, TMMAX_STADIUMS> s_Stadiums;

const char* const kKeys[22] = {"58", "F58", "62", "F62", "66", "F66", "70", "F70", "74", "F74", "78",
                               "F78", "82", "F82", "86", "F86", "90", "F90", "94", "F94", "98", "F98"};

// Holder of the title entering each edition, and the winner of the last.
const char* const kHolders[TM_EDITIONS + 1] = {"FRG", "BRA", "BRA", "ENG", "BRA", "FRG",
                                               "ARG", "ITA", "ARG", "GER", "BRA", "FRA"};

std::uint32_t IdOf(const char* pszTLA) {
  const std::int32_t i = tla_IDFind(pszTLA);
  return i > 0 ? static_cast<std::uint32_t>(i) : 0u;
}

void FlagSet(std::int32_t iHuman, std::uint32_t uBit, std::int32_t b) {
  if (iHuman < 0 || iHuman >= TM_HUMAN_MAX) return;
  if (b) tmglobal.aHumans[iHuman].uFlags |= uBit;
  else tmglobal.aHumans[iHuman].uFlags &= ~uBit;
}
std::int32_t FlagGet(std::int32_t iHuman, std::uint32_t uBit) {
  if (iHuman < 0 || iHuman >= TM_HUMAN_MAX) return 0;
  return (tmglobal.aHumans[iHuman].uFlags & uBit) ? 1 : 0;
}

void FixFlag(Fixture* f, std::uint8_t uBit, std::int32_t b) {
  if (!f) {
    tmreport_Fault("pThisFixture", "Gen\\history");
    return;
  }
  if (b) f->cFlags = static_cast<std::uint8_t>(f->cFlags | uBit);
  else f->cFlags = static_cast<std::uint8_t>(f->cFlags & ~uBit);
}
std::int32_t FixFlagGet(const Fixture* f, std::uint8_t uBit) {
  if (!f) {
    tmreport_Fault("pThisFixture", "Gen\\history");
    return 0;
  }
  return (f->cFlags & uBit) ? 1 : 0;
}

std::uint8_t U8(std::int32_t v) { return static_cast<std::uint8_t>(v); }

}  // namespace

void tmreport_Fault(const char* pszExpression, const char* pszSource) {
  s_cReports++;
  debuglog_Printf("Assertion failed: %s (%s)\n", pszExpression, pszSource);
}
std::int32_t tmreport_CountGet() { return s_cReports; }
void tmreport_CountReset() { s_cReports = 0; }

void tmmain_PoolsReset() {
  s_Years.Reset();
  s_Confs.Reset();
  s_Groups.Reset();
  s_Rounds.Reset();
  s_Teams.Reset();
  s_Fixtures.Reset();
  s_Dates.Reset();
  s_Stadiums.Reset();
  tmmain_TeamRatingsReset();
  TheYearList = nullptr;
  tmglobal.pCurrentYear = nullptr;
}

void tmmain_TeamRatingsReset() {
  s_Ratings.Reset();
  tmglobal.pRatings = nullptr;
}

void tmmain_PoolCursorsRewind() {
  s_Years.iCursor = 0;
  s_Confs.iCursor = 0;
  s_Groups.iCursor = 0;
  s_Rounds.iCursor = 0;
  s_Teams.iCursor = 0;
  s_Fixtures.iCursor = 0;
  s_Dates.iCursor = 0;
}

Year* tmmain_YearAlloc() { return s_Years.Alloc("cDebugYearCount<TMMAX_YEARS+1"); }
Confederation* tmmain_ConfAlloc() { return s_Confs.Alloc("cDebugConfCount<TMMAX_CONFS+1"); }
Group* tmmain_GroupAlloc() { return s_Groups.Alloc("cDebugGroupCount<TMMAX_GROUPS+1"); }
Round* tmmain_RoundAlloc() { return s_Rounds.Alloc("cDebugRoundCount<TMMAX_ROUNDS+1"); }
TMTeam* tmmain_TeamAlloc() { return s_Teams.Alloc("cDebugTeamCount<TMMAX_TEAMS+1"); }
Fixture* tmmain_FixtureAlloc() { return s_Fixtures.Alloc("cDebugFixtureCount<TMMAX_FIXTURES+1"); }
FixtureDate* tmmain_FixtureDateAlloc() { return s_Dates.Alloc("cDebugFixtureDateCount<TMMAX_FIXTURES+1"); }
TeamRating* tmmain_TeamRatingAlloc() { return s_Ratings.Alloc("cDebugTeamRatingCount<TMMAX_TEAMS+1"); }
StadiumLink* tmmain_StadiumLinkAlloc() { return s_Stadiums.Alloc("cDebugStadiumCount<TMMAX_STADIUMS+1"); }

TMPoolCounts tmmain_PoolCountsGet() {
  return {s_Years.cCount, s_Confs.cCount,     s_Groups.cCount, s_Rounds.cCount,  s_Teams.cCount,
          s_Fixtures.cCount, s_Dates.cCount, s_Ratings.cCount, s_Stadiums.cCount};
}

void history_YearInit(Year* p) { p->bComplete = 0; p->pConfs = nullptr; p->pNext = nullptr; }
void history_ConfInit(Confederation* p) { std::memset(p, 0, sizeof(*p)); }
void history_GroupInit(Group* p) {
  p->uCreated = 1;
  p->bComplete = 0;
  p->pTeams = nullptr;
  p->pRounds = nullptr;
  p->pNext = nullptr;
}
void history_RoundInit(Round* p) {
  char szName[25];
  std::memcpy(szName, p->szName, sizeof(szName));
  std::memset(p, 0, sizeof(*p));
  std::memcpy(p->szName, szName, sizeof(szName));
}
void tmteam_TeamInit(TMTeam* p) {
  const std::uint32_t Name = p->Name;
  std::memset(p, 0, sizeof(*p));
  p->Name = Name;
}
void history_FixtureInit(Fixture* p) { std::memset(p, 0, sizeof(*p)); }
void history_FixtureDateInit(FixtureDate* p) { std::memset(p, 0, sizeof(*p)); }
void stadium_LinkInit(StadiumLink* p) {
  if (!p) {
    tmreport_Fault("pThisStadium", "Gen\\stadium");
    return;
  }
  p->uId = 0;
  p->pNext = nullptr;
}

TeamRating* tmmain_TeamRatingAdd(std::uint32_t Name) {
  TeamRating** pp = &tmglobal.pRatings;
  while (*pp) {
    if ((*pp)->Name == Name) return *pp;
    pp = &(*pp)->pNext;
  }
  TeamRating* p = tmmain_TeamRatingAlloc();
  if (!p) return nullptr;
  p->Name = Name;
  *pp = p;
  return p;
}

Year* tmmain_YearGet(std::int32_t bPlayQualifiers, std::int32_t bSecondOption) {
  if (!TheYearList) {
    tmreport_Fault("TheYearList", "Gen\\tmmain");
    return nullptr;
  }
  const bool bQual = bSecondOption ? (!tmglobal.bFinalsLoaded && bPlayQualifiers) : !tmglobal.bFinalsLoaded;
  if (bQual) return TheYearList;
  if (!TheYearList->pNext) tmreport_Fault("TheYearList->Next", "Gen\\tmmain");
  return TheYearList->pNext;
}

void tmmain_CurrentYearCache() {
  tmglobal.pCurrentYear = tmmain_YearGet(tmglobal.bPlayQualifiers, tmglobal.bSecondOption);
}

std::int32_t tmdata_KeyIndexGet(const char* pszKey) {
  for (std::int32_t i = 0; i < 22; i++) {
    if (std::strcmp(kKeys[i], pszKey) == 0) return i + 1;
  }
  tmreport_Fault("0", "Gen\\tmdata");
  return 0;
}

std::int32_t tmglobal_EditionGet() { return (tmglobal.iYear - 58) / 4; }
std::uint32_t tmglobal_EditionMaskMake(std::int32_t iEdition) {
  return (iEdition >= 0 && iEdition < 32) ? (1u << iEdition) : 0u;
}
std::uint32_t tmglobal_EditionMaskGet() { return tmglobal_EditionMaskMake(tmglobal_EditionGet()); }
std::int32_t tmglobal_YearFromEditionGet(std::int32_t iEdition) { return iEdition * 4 + 58; }

void tmglobal_HoldersReset() {
  for (std::int32_t i = 0; i <= TM_EDITIONS; i++) tmglobal.aHolders[i] = IdOf(kHolders[i]);
}

void tmglobal_Reset() {
  tmglobal = TMGlobal{};
  tmglobal_HoldersReset();
}

// ---- Counting and indexing ----------------------------------------------------------
std::int32_t history_ConfCountGet(const Year* y) {
  std::int32_t n = 0;
  for (const Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext) n++;
  return n;
}
Confederation* history_ConfGet(const Year* y, const char* pszName) {
  for (Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext) {
    if (std::strcmp(c->szName, pszName) == 0) return c;
  }
  return nullptr;
}
Confederation* history_ConfByIndexGet(const Year* y, std::int32_t n) {
  for (Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext, n--) {
    if (n == 0) return c;
  }
  return nullptr;
}
std::int32_t history_GroupCountGet(const Confederation* c) {
  std::int32_t n = 0;
  for (const Group* g = c ? c->pGroups : nullptr; g; g = g->pNext) n++;
  return n;
}
Group* history_GroupGet(const Confederation* c, std::int32_t n) {
  for (Group* g = c ? c->pGroups : nullptr; g; g = g->pNext, n--) {
    if (n == 0) return g;
  }
  return nullptr;
}
std::int32_t history_RoundCountGet(const Group* g) {
  std::int32_t n = 0;
  for (const Round* r = g ? g->pRounds : nullptr; r; r = r->pNext) n++;
  return n;
}
Round* history_RoundGet(const Group* g, std::int32_t n) {
  for (Round* r = g ? g->pRounds : nullptr; r; r = r->pNext, n--) {
    if (n == 0) return r;
  }
  return nullptr;
}
std::int32_t history_FixtureCountGet(const Round* r) {
  std::int32_t n = 0;
  for (const Fixture* f = r ? r->pFixtures : nullptr; f; f = f->pNext) n++;
  return n;
}
std::int32_t history_FixtureDateCountGet(const Round* r) {
  std::int32_t n = 0;
  for (const FixtureDate* d = r ? r->pDates : nullptr; d; d = d->pNext) n++;
  return n;
}
std::int32_t history_TeamCountGet(const Round* r) {
  std::int32_t n = 0;
  for (const TMTeam* t = r ? r->pTeams : nullptr; t; t = t->pNext) n++;
  return n;
}
std::int32_t tmteam_RoundTeamCountGet(const Round* r) { return history_TeamCountGet(r); }
TMTeam* history_TeamEntryGet(const Round* r, std::int32_t n) {
  for (TMTeam* t = r ? r->pTeams : nullptr; t; t = t->pNext, n--) {
    if (n == 0) return t;
  }
  return nullptr;
}
TMTeam* tmteam_TeamEntryGet(const Round* r, std::uint32_t Name) {
  for (TMTeam* t = r ? r->pTeams : nullptr; t; t = t->pNext) {
    if (t->Name == Name) return t;
  }
  return nullptr;
}
std::uint32_t tmglobal_TeamIDGet(const Round* r, std::int32_t n) {
  const TMTeam* t = history_TeamEntryGet(r, n);
  return t ? t->Name : 0u;
}
FixtureDate* tmglobal_FixtureDateGet(const Round* r, std::int32_t n) {
  for (FixtureDate* d = r ? r->pDates : nullptr; d; d = d->pNext, n--) {
    if (n == 0) return d;
  }
  return nullptr;
}
Fixture* history_FixtureGet(const Round* r, std::int32_t n) {
  for (Fixture* f = r ? r->pFixtures : nullptr; f; f = f->pNext, n--) {
    if (n == 0) return f;
  }
  return nullptr;
}
Fixture* history_LastFixtureGet(const Round* r) {
  Fixture* f = r ? r->pFixtures : nullptr;
  while (f && f->pNext) f = f->pNext;
  return f;
}
std::int32_t history_DateCountGet(const Round* r) {
  const std::int32_t n = history_FixtureDateCountGet(r);
  return n > 0 ? n - 1 : 0;
}
std::int32_t history_TeamIndexGet(const Round* r, std::uint32_t Name) {
  std::int32_t i = 0;
  for (const TMTeam* t = r ? r->pTeams : nullptr; t; t = t->pNext, i++) {
    if (t->Name == Name) return i;
  }
  tmreport_Fault("pThisTeam", "Gen\\history");
  return 0;
}
const char* tmteam_NameText(std::uint32_t Name) {
  if (Name >= static_cast<std::uint32_t>(TM_MAX)) return "";
  const char* p = festr_TMIDToStr(static_cast<std::int32_t>(Name));
  return p ? p : "";
}
const char* tmteam_TeamNameGet(const Round* r, std::int32_t n) {
  const TMTeam* t = history_TeamEntryGet(r, n);
  return t ? tmteam_NameText(t->Name) : "";
}
std::int32_t tmteam_IsProperName(std::uint32_t Name) {
  const char* p = tmteam_NameText(Name);
  return (p[0] != 0 && p[0] != '*') ? 1 : 0;
}
std::int32_t tmteam_NameFind(const char* pszName) {
  // The name table is fixed: indexed once by name, keeping each name's first id.
  static const std::map<std::string, std::int32_t, std::less<>> index = [] {
    std::map<std::string, std::int32_t, std::less<>> m;
    for (std::int32_t i = 0; i < TM_MAX; i++)
      if (const char* p = festr_TMIDToStr(i)) m.emplace(p, i);
    return m;
  }();
  const auto it = index.find(std::string_view(pszName));
  return it == index.end() ? -1 : it->second;
}
std::int32_t tmteam_RoundRealTeamCount(const Round* r) {
  std::int32_t n = 0;
  for (const TMTeam* t = r ? r->pTeams : nullptr; t; t = t->pNext) n += tmteam_IsProperName(t->Name);
  return n;
}
std::int32_t tmteam_GroupRealTeamCount(const Group* g) {
  std::int32_t n = 0;
  for (const Round* r = g ? g->pRounds : nullptr; r; r = r->pNext) n += tmteam_RoundRealTeamCount(r);
  return n;
}
std::int32_t tmteam_ConfRealTeamCount(const Confederation* c) {
  std::int32_t n = 0;
  for (const Group* g = c ? c->pGroups : nullptr; g; g = g->pNext) n += tmteam_GroupRealTeamCount(g);
  return n;
}
std::int32_t history_NameIDFixtureCount(const Round* r) {
  std::int32_t n = 0;
  for (const Fixture* f = r ? r->pFixtures : nullptr; f; f = f->pNext) n += (f->cFlags & FIX_BYNAMEID) ? 1 : 0;
  return n;
}
std::int32_t history_UserFixtureCount(const Round* r) {
  std::int32_t n = 0;
  for (const Fixture* f = r ? r->pFixtures : nullptr; f; f = f->pNext) n += (f->cFlags & FIX_USER) ? 1 : 0;
  return n;
}
std::int32_t history_UserFixtureDateGet(const Round* r, std::int32_t n) {
  for (const Fixture* f = r ? r->pFixtures : nullptr; f; f = f->pNext) {
    if ((f->cFlags & FIX_USER) && n-- == 0) return f->cDate;
  }
  tmreport_Fault("pThisFixture", "Gen\\history");
  return -1;
}

// ---- Fixture flags and results ------------------------------------------------------
std::int32_t tmglobal_FixturePlayedGet(const Fixture* f) { return FixFlagGet(f, FIX_PLAYED); }
void history_FixturePlayedSet(Fixture* f, std::int32_t b) { FixFlag(f, FIX_PLAYED, b); }
std::int32_t history_FixtureUserGet(const Fixture* f) { return FixFlagGet(f, FIX_USER); }
void history_FixtureUserSet(Fixture* f, std::int32_t b) { FixFlag(f, FIX_USER, b); }
std::int32_t history_FixtureByNameIDGet(const Fixture* f) { return FixFlagGet(f, FIX_BYNAMEID); }
void history_FixtureByNameIDSet(Fixture* f, std::int32_t b) { FixFlag(f, FIX_BYNAMEID, b); }
std::int32_t history_FixtureSlotBGet(const Fixture* f) { return FixFlagGet(f, FIX_SLOTB); }
void history_FixtureSlotBSet(Fixture* f, std::int32_t b) { FixFlag(f, FIX_SLOTB, b); }
std::int32_t history_FixtureSlotFilledGet(const Fixture* f) { return FixFlagGet(f, FIX_SLOTFILLED); }
void history_FixtureSlotFilledSet(Fixture* f, std::int32_t b) { FixFlag(f, FIX_SLOTFILLED, b); }
std::int32_t history_FixturePlayOffGet(const Fixture* f) { return FixFlagGet(f, FIX_PLAYOFF); }
void history_FixturePlayOffSet(Fixture* f, std::int32_t b) { FixFlag(f, FIX_PLAYOFF, b); }
std::int32_t tmglobal_FixtureSimulatedGet(const Fixture* f) { return FixFlagGet(f, FIX_SIMULATED); }
void history_FixtureSimulatedSet(Fixture* f, std::int32_t b) { FixFlag(f, FIX_SIMULATED, b); }

void history_ScoreSet(Fixture* f, std::int32_t a, std::int32_t b) {
  f->cScoreA = U8(a);
  f->cScoreB = U8(b);
  f->cResult |= RES_SCORE;
}
void history_ExtraTimeScoreSet(Fixture* f, std::int32_t a, std::int32_t b) {
  f->cExtraA = U8(a);
  f->cExtraB = U8(b);
  f->cResult |= RES_EXTRA;
}
void history_PenaltyScoreSet(Fixture* f, std::int32_t a, std::int32_t b) {
  f->cPenA = U8(a);
  f->cPenB = U8(b);
  f->cResult |= RES_PENALTIES;
}
void history_LotsSet(Fixture* f, std::int32_t bSecond) {
  f->cResult |= RES_LOTS;
  if (bSecond) f->cResult |= RES_LOTS_SECOND;
}
void history_ScoreClear(Fixture* f) {
  f->cScoreA = f->cScoreB = 0;
  f->cResult = U8(f->cResult & ~RES_SCORE);
}
void history_ExtraTimeScoreClear(Fixture* f) {
  f->cExtraA = f->cExtraB = 0;
  f->cResult = U8(f->cResult & ~RES_EXTRA);
}
void history_PenaltyScoreClear(Fixture* f) {
  f->cPenA = f->cPenB = 0;
  f->cResult = U8(f->cResult & ~RES_PENALTIES);
}
void history_LotsClear(Fixture* f) { f->cResult = U8(f->cResult & ~(RES_LOTS | RES_LOTS_SECOND)); }
void history_ResultClear(Fixture* f) {
  f->cScoreA = f->cScoreB = f->cExtraA = f->cExtraB = f->cPenA = f->cPenB = 0;
  f->cResult = 0;
}

// ---- Plain accessors ---------------------------------------------------------------
std::int32_t tmglobal_YearGet() { return tmglobal.iYear; }
void tmglobal_YearSet(std::int32_t iYear) { tmglobal.iYear = iYear; }
std::int32_t tmglobal_FinalsGet() { return tmglobal.bFinals; }
void tmglobal_FinalsSet(std::int32_t bFinals) { tmglobal.bFinals = bFinals; }
std::int32_t tmglobal_CurrentHumanGet() { return tmglobal.iCurrentHuman; }
std::int32_t tmglobal_MatchPhaseGet() { return tmglobal.iMatchPhase; }
void tmglobal_MatchPhaseSet(std::int32_t iPhase) { tmglobal.iMatchPhase = iPhase; }
std::int32_t tmglobal_RoundFormatGet() { return tmglobal.iRoundFormat; }
void tmglobal_RoundFormatSet(std::int32_t iFormat) { tmglobal.iRoundFormat = iFormat; }
std::int32_t tmglobal_TieBreakGet() { return tmglobal.iTieBreak; }
void tmglobal_TieBreakSet(std::int32_t iTieBreak) { tmglobal.iTieBreak = iTieBreak; }
std::int32_t tmglobal_TournamentMatchGet() { return tmglobal.bTournamentMatch; }
void tmglobal_TournamentMatchSet(std::int32_t bFlag) { tmglobal.bTournamentMatch = bFlag; }
std::int32_t tmglobal_GroupIndexGet() { return tmglobal.iGroupIndex; }
void tmglobal_GroupIndexSet(std::int32_t i) { tmglobal.iGroupIndex = i; }

void tmglobal_NormalTimeScoreSet(std::int32_t iHome, std::int32_t iAway) {
  tmglobal.cNormalA = U8(iHome);
  tmglobal.cNormalB = U8(iAway);
  tmglobal.cExtraA = tmglobal.cExtraB = tmglobal.cPenA = tmglobal.cPenB = 0;
}
void tmglobal_ExtraTimeScoreSet(std::int32_t iHome, std::int32_t iAway) {
  tmglobal.cExtraA = U8(iHome - tmglobal.cNormalA);
  tmglobal.cExtraB = U8(iAway - tmglobal.cNormalB);
}
void tmglobal_ExtraTimeScoreAdd(std::int32_t iHome, std::int32_t iAway) {
  tmglobal.cExtraA = U8(tmglobal.cExtraA + iHome);
  tmglobal.cExtraB = U8(tmglobal.cExtraB + iAway);
}
void tmglobal_PenaltyScoreSet(std::int32_t iHome, std::int32_t iAway) {
  tmglobal.cPenA = U8(iHome);
  tmglobal.cPenB = U8(iAway);
}

// ---- Human progress flags -------------------------------------------------------------
void tmgame_FailedToQualifySet(std::int32_t i, std::int32_t b) { FlagSet(i, TMF_FAILED, b); }
std::int32_t tmgame_FailedToQualifyGet(std::int32_t i) { return FlagGet(i, TMF_FAILED); }
void tmgame_QualifiedSet(std::int32_t i, std::int32_t b) { FlagSet(i, TMF_QUALIFIED, b); }
std::int32_t tmgame_QualifiedGet(std::int32_t i) { return FlagGet(i, TMF_QUALIFIED); }
void tmgame_Flag2Set(std::int32_t i, std::int32_t b) { FlagSet(i, TMF_FLAG2, b); }
void tmgame_WonSet(std::int32_t i, std::int32_t b) { FlagSet(i, TMF_WON, b); }
void tmgame_WonNewsSet(std::int32_t i, std::int32_t b) { FlagSet(i, TMF_WON, b); }
void tmgame_QualifiedNewsSet(std::int32_t i, std::int32_t b) { FlagSet(i, TMF_QUALIFIED_NEWS, b); }
void tmgame_EliminatedSet(std::int32_t i, std::int32_t b) { FlagSet(i, TMF_ELIMINATED, b); }
std::int32_t tmgame_EliminatedGet(std::int32_t i) { return FlagGet(i, TMF_ELIMINATED); }
void tmgame_FailedNewsSet(std::int32_t i, std::int32_t b) { FlagSet(i, TMF_FAILED_NEWS, b); }
void tmgame_EliminatedNewsSet(std::int32_t i, std::int32_t b) { FlagSet(i, TMF_ELIMINATED_NEWS, b); }
void tmgame_Played3rdPlacePOSet(std::int32_t i, std::int32_t b) {
  debuglog_Printf("tmgame_Played3rdPlacePOSet: %d\n", b);
  FlagSet(i, TMF_THIRD_PLACE, b);
}
std::int32_t tmgame_IsPlayed3rdPlacePO(std::int32_t i) {
  const std::int32_t b = FlagGet(i, TMF_THIRD_PLACE);
  debuglog_Printf("tmgame_IsPlayed3rdPlacePO: %d\n", b);
  return b;
}
void tmgame_UserTeamFlagsClear(std::int32_t i) {
  if (i >= 0 && i < TM_HUMAN_MAX) tmglobal.aHumans[i].uFlags = 0;
}
void tmmain_UserTeamFlagsClearAll() {
  for (std::int32_t i = 0; i < TM_HUMAN_MAX; i++) tmgame_UserTeamFlagsClear(i);
}
std::int32_t tmgame_IsHumanTeam(std::uint32_t Name) {
  for (std::int32_t i = 0; i < tmglobal.cHumans && i < TM_HUMAN_MAX; i++) {
    if (tmglobal.aHumans[i].Name == Name) return 1;
  }
  return 0;
}

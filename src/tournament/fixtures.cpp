// Round-robin schedules and fixture construction.
#include "tournament/fixtures.h"

#include <cstring>

#include "framework/math/qrand.h"
#include "shell/debuglog.h"
#include "tournament/fixture_lists.h"
#include "tournament/yearfile.h"

namespace {

const char* const kSource = "Gen\\history";

char s_aSingle[9][240];
char s_aDouble[9][400];
bool s_bReady = false;

void Ready() {
  if (s_bReady) return;
  history_PatternsReset();
}

char* ListGet(std::int32_t iTable, std::int32_t n) {
  Ready();
  if (n < 2 || n > 10) return nullptr;
  if (iTable == 1) return fixture_kSingle[n - 2] ? s_aSingle[n - 2] : nullptr;
  return fixture_kDouble[n - 2] ? s_aDouble[n - 2] : nullptr;
}

const FixtureDate* DateAt(const Round* r, std::int32_t i) { return tmglobal_FixtureDateGet(r, i); }

bool SameDay(const FixtureDate* a, const FixtureDate* b) {
  return a && b && a->cDay == b->cDay && a->cMonth == b->cMonth && a->cYear == b->cYear;
}

}  // namespace

void history_PatternsReset() {
  for (std::int32_t i = 0; i < 9; i++) {
    std::memset(s_aSingle[i], 0, sizeof(s_aSingle[i]));
    std::memset(s_aDouble[i], 0, sizeof(s_aDouble[i]));
    if (fixture_kSingle[i]) std::memcpy(s_aSingle[i], fixture_kSingle[i], std::strlen(fixture_kSingle[i]));
    if (fixture_kDouble[i]) std::memcpy(s_aDouble[i], fixture_kDouble[i], std::strlen(fixture_kDouble[i]));
  }
  s_bReady = true;
}

const char* history_PatternGet(std::int32_t iTable, std::int32_t n) { return ListGet(iTable, n); }

void history_PatternShuffle(char* pszList, std::int32_t n) {
  char ac[26];
  for (std::int32_t i = 0; i < n; i++) ac[i] = static_cast<char>('A' + i);
  std::uint32_t r = 0;
  for (std::int32_t i = 0; i < n; i++) {
    r = (r + QMathRandRange(50)) % static_cast<std::uint32_t>(n);
    const char t = ac[i];
    ac[i] = ac[r];
    ac[r] = t;
  }
  for (char* p = pszList; *p; p++) {
    if (*p >= 'A' && *p < 'A' + n) *p = ac[*p - 'A'];
  }
}

void history_PatternsShuffle() {
  for (std::int32_t n = 2; n <= 9; n++) {
    if (char* p = ListGet(2, n)) history_PatternShuffle(p, n);
    if (char* p = ListGet(1, n)) history_PatternShuffle(p, n);
  }
}

std::int32_t history_IsTeamOnFixtureDate(const Round* r, std::int32_t iTeam, std::int32_t iDate) {
  for (const Fixture* f = r->pFixtures; f; f = f->pNext) {
    if (f->cDate == iDate && (f->cTeamA == iTeam || f->cTeamB == iTeam)) return 1;
  }
  return 0;
}

std::int32_t history_IsTeamPlayingSameRealDate(const Round* r, std::int32_t iTeam, std::int32_t iDate) {
  const FixtureDate* d = DateAt(r, iDate);
  for (const Fixture* f = r->pFixtures; f; f = f->pNext) {
    if ((f->cTeamA == iTeam || f->cTeamB == iTeam) && SameDay(DateAt(r, f->cDate), d)) return 1;
  }
  return 0;
}

std::int32_t history_FixtureDatesArrange(Round* r, std::int32_t iTeam1, std::int32_t iTeam2, std::int32_t,
                                         std::int32_t cDates, std::int32_t iTable, std::int32_t cTeams) {
  const char* pList = ListGet(iTable, cTeams);
  bool bError = false;
  std::int32_t iCount = 0;
  if (!pList) {
    debuglog_Printf(iTable == 1 ? "Missing fixture date arrangement list [%d (once)].\n"
                                : "Missing fixture date arrangement list [%d].\n",
                    cTeams);
    tmreport_Fault("0", kSource);
    return -1;
  }
  const char c1 = static_cast<char>('A' + iTeam1), c2 = static_cast<char>('A' + iTeam2);
  for (const char* p = pList; !bError; p++) {
    if (*p == ',' ) continue;
    if (*p == 0) { bError = true; break; }
    if (*p == '!') {
      if (++iCount >= cDates) {
        debuglog_Printf("*** Error: Not enough dates!!!\n");
        bError = true;
      }
      continue;
    }
    if (*p == '$') {
      debuglog_Printf("*** Error: Reached off the end of dates list!!!\n");
      bError = true;
      break;
    }
    const char a = p[0], b = p[1];
    if (b == 0) { bError = true; break; }
    p++;
    const bool bMatch = (a == c1 && b == c2) || (iTable == 1 && a == c2 && b == c1);
    if (bMatch) {
      if (history_IsTeamPlayingSameRealDate(r, iTeam1, iCount) || history_IsTeamPlayingSameRealDate(r, iTeam2, iCount)) {
        debuglog_Printf("Round %s: teams %d and %d on date %d\n", r->szName, iTeam1, iTeam2, iCount);
        tmreport_Fault("!history_IsTeamPlayingSameRealDate(pRound, cTeam1, iDateCount) && "
                       "!history_IsTeamPlayingSameRealDate(pRound, cTeam2, iDateCount)",
                       kSource);
      }
      return iCount;
    }
  }
  for (const TMTeam* t = r->pTeams; t; t = t->pNext) debuglog_Printf("%s\n", tmteam_NameText(t->Name));
  debuglog_Printf("Number of teams: %d\nNumber of dates: %d\nDate count: %d\niTable: %d\n", cTeams, cDates, iCount,
                  iTable);
  tmreport_Fault("0", kSource);
  return -1;
}

void history_RoundFixturesBuild(Round* r, Group* g) {
  std::int32_t n = history_TeamCountGet(r);
  if (history_bTeamNotAdded && std::strncmp(history_szNotAddedGroup, g->szName, 15) == 0 &&
      std::strncmp(history_szNotAddedRound, r->szName, 15) == 0) {
    history_bTeamNotAdded = 0;
    n++;
  }
  // A one-team round (a bye reads no dates) passes its team on at once.
  const std::int32_t cListed = history_TeamCountGet(r);
  if (cListed == 1 && n == 1) {
    r->bComplete = 1;
    return;
  }
  const std::int32_t cDates = history_FixtureDateCountGet(r);
  if (cDates <= 0) {
    tmreport_Fault("iNumFixtureDates > 0", kSource);
    return;
  }
  std::int32_t iTable;
  switch (r->uFormat) {
    case FMT_HA: case FMT_TWICE: iTable = 2; break;
    case FMT_ONCE: case FMT_KO1: case FMT_KO2: case FMT_KO: case FMT_KO3: case FMT_KO4: case FMT_HA1: iTable = 1; break;
    default:
      tmreport_Fault("0", kSource);
      return;
  }
  // Every pairing first, so a schedule fault leaves the round without fixtures.
  // Ten teams home and away give the most: 90 pairings.
  constexpr std::int32_t kMaxPairs = 90;
  std::int32_t aPair[kMaxPairs][3];
  std::int32_t cPairs = 0;
  for (std::int32_t i = 0; i < cListed; i++) {
    for (std::int32_t j = 0; j < cListed; j++) {
      if (i == j || (iTable == 1 && j < i)) continue;
      if (cPairs >= kMaxPairs) {
        tmreport_Fault("too many pairings", kSource);
        return;
      }
      aPair[cPairs][0] = i;
      aPair[cPairs][1] = j;
      aPair[cPairs][2] = -1;
      cPairs++;
    }
  }
  Fixture** ppTail = &r->pFixtures;
  while (*ppTail) ppTail = &(*ppTail)->pNext;
  Fixture** ppFirst = ppTail;
  for (std::int32_t k = 0; k < cPairs; k++) {
    const std::int32_t iDate = history_FixtureDatesArrange(r, aPair[k][0], aPair[k][1], k, cDates, iTable, n);
    if (iDate < 0) {
      debuglog_Printf("Round %s of group %s gets no fixtures\n", r->szName, g->szName);
      *ppFirst = nullptr;
      return;
    }
    Fixture* f = tmmain_FixtureAlloc();
    if (!f) {
      *ppFirst = nullptr;
      return;
    }
    history_FixtureInit(f);
    f->cTeamA = static_cast<std::uint8_t>(aPair[k][0]);
    f->cTeamB = static_cast<std::uint8_t>(aPair[k][1]);
    f->cDate = static_cast<std::uint8_t>(iDate);
    *ppTail = f;
    ppTail = &f->pNext;
  }
}

void history_GroupFixturesBuild(Group* g) {
  for (Round* r = g->pRounds; r; r = r->pNext) {
    if (r->bComplete) continue;
    history_PatternsShuffle();
    history_RoundFixturesBuild(r, g);
  }
}
void history_ConfFixturesBuild(Confederation* c) {
  for (Group* g = c->pGroups; g; g = g->pNext) {
    if (!g->bComplete) history_GroupFixturesBuild(g);
  }
}
void history_YearFixturesBuild(Year* y) {
  if (!y) return;
  for (Confederation* c = y->pConfs; c; c = c->pNext) {
    if (!c->bComplete) history_ConfFixturesBuild(c);
  }
  history_YearFixturesSort(y);
}

void history_FixtureSwap(Fixture* a, Fixture* b) {
  Fixture* pA = a->pNext;
  Fixture* pB = b->pNext;
  const Fixture t = *a;
  *a = *b;
  *b = t;
  a->pNext = pA;
  b->pNext = pB;
}

std::int32_t history_DateCompare(const FixtureDate* a, const FixtureDate* b) {
  if (!a || !b) return 0;
  const std::int32_t ka = a->cYear * 10000 + a->cMonth * 100 + a->cDay;
  const std::int32_t kb = b->cYear * 10000 + b->cMonth * 100 + b->cDay;
  return ka < kb ? -1 : (ka > kb ? 1 : 0);
}

void history_RoundFixturesSort(Round* r) {
  const std::int32_t n = history_FixtureCountGet(r);
  // A pass without a swap leaves the list sorted: the passes after it would
  // change nothing.
  bool swapped = true;
  for (std::int32_t pass = 0; pass < n && swapped; pass++) {
    swapped = false;
    for (Fixture* f = r->pFixtures; f && f->pNext; f = f->pNext) {
      if (history_DateCompare(DateAt(r, f->pNext->cDate), DateAt(r, f->cDate)) < 0) {
        history_FixtureSwap(f, f->pNext);
        swapped = true;
      }
    }
  }
}

void history_YearFixturesSort(Year* y) {
  if (!y) return;
  for (Confederation* c = y->pConfs; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext) history_RoundFixturesSort(r);
}

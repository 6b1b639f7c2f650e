// Tables, settling of rounds, places and placeholder codes.
#include "tournament/tmteam.h"

#include <cstdio>
#include <cstring>

#include "framework/math/qrand.h"
#include "shell/debuglog.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tournament_services.h"

namespace {

const char* const kSource = "Gen\\Tmteam";

std::uint8_t U8(std::int32_t v) { return static_cast<std::uint8_t>(v); }

std::int32_t WinPoints(bool bByYearOnly) {
  const std::int32_t y = tmglobal_YearGet();
  if (bByYearOnly) return y >= 94 ? 3 : 2;
  return (y == 98 || (tmglobal_FinalsGet() && y >= 94)) ? 3 : 2;
}

void RowAdd(TMTeam* t, std::int32_t iFor, std::int32_t iAgainst, std::int32_t iOutcome, std::int32_t iWin) {
  if (iOutcome > 0) {
    t->cPoints = U8(t->cPoints + iWin);
    t->cWon++;
  } else if (iOutcome < 0) {
    t->cLost++;
  } else {
    t->cPoints = U8(t->cPoints + 1);
    t->cDrawn++;
  }
  t->cFor = U8(t->cFor + iFor);
  t->cAgainst = U8(t->cAgainst + iAgainst);
  t->cPlayed++;
}

char* PlaceCode(Round* r, std::int32_t i) {
  switch (i) {
    case 0: return r->szPlace1;
    case 1: return r->szPlace2;
    case 2: return r->szPlace3;
    default: return r->szPlace4;
  }
}
std::size_t PlaceCodeSize(std::int32_t i) {
  static const std::size_t k[4] = {55, 60, 25, 28};
  return k[i & 3];
}

bool CodeActs(const char* psz) { return psz[0] != 0 && psz[0] != 'o'; }

// The team-name id of the best third-placed teams' code
// "*randc*1.1*2.1*3.1*4.1*5.1*6.1": the entries holding it wait for the
// thirds of groups "1" to "6".
constexpr std::uint32_t kThirds = 418;

Year* YearOf(const Round* r) {
  for (Year* y = TheYearList; y; y = y->pNext)
    for (Confederation* c = y->pConfs; c; c = c->pNext)
      for (Group* g = c->pGroups; g; g = g->pNext)
        for (Round* p = g->pRounds; p; p = p->pNext)
          if (p == r) return y;
  return nullptr;
}

// Whether round r of group g is one whose third the best-third rule reads:
// the first round of one of the groups "1" to "6".
bool BestThirdRound(const Group* g, const Round* r) {
  return g && std::strcmp(r->szName, "1") == 0 && g->szName[0] >= '1' && g->szName[0] <= '6' && !g->szName[1];
}
// Whether the third of such a round may still go on as one of the best
// thirds: an entry of its year still holds the thirds' code.
bool BestThirdOpen(const Year* y, const Group* g, const Round* r) {
  if (!y || !BestThirdRound(g, r)) return false;
  for (const Confederation* c = y->pConfs; c; c = c->pNext)
    for (const Group* h = c->pGroups; h; h = h->pNext)
      for (const Round* p = h->pRounds; p; p = p->pNext)
        for (const TMTeam* t = p->pTeams; t; t = t->pNext)
          if (t->Name == kThirds) return true;
  return false;
}

// Whether the team stands in a round of a stage of year y after the one
// that holds round r: a team a rule has moved on from r (a best third) is
// not out of it.
bool InLaterStage(const Year* y, const Round* r, std::uint32_t Name) {
  const Confederation* pStage = nullptr;
  for (const Confederation* c = y ? y->pConfs : nullptr; c && !pStage; c = c->pNext)
    for (const Group* g = c->pGroups; g && !pStage; g = g->pNext)
      for (const Round* p = g->pRounds; p; p = p->pNext)
        if (p == r) pStage = c;
  for (const Confederation* c = pStage ? pStage->pNext : nullptr; c; c = c->pNext)
    for (const Group* g = c->pGroups; g; g = g->pNext)
      for (const Round* p = g->pRounds; p; p = p->pNext)
        if (tmteam_TeamEntryGet(p, Name)) return true;
  return false;
}

std::int32_t Score(const TMTeam* t) { return t->cPoints * 10000 + (t->cFor - t->cAgainst) * 100 + t->cFor; }

void TopTwo(const Round* r, TMTeam** ppA, TMTeam** ppB) {
  *ppA = *ppB = nullptr;
  std::int32_t iMax = -1;
  for (TMTeam* t = r->pTeams; t; t = t->pNext) iMax = t->cPoints > iMax ? t->cPoints : iMax;
  for (TMTeam* t = r->pTeams; t; t = t->pNext) {
    if (t->cPoints != iMax) continue;
    if (!*ppA) *ppA = t;
    else if (!*ppB) *ppB = t;
  }
}

Fixture* PlayOffGet(const Round* r) {
  for (Fixture* f = r->pFixtures; f; f = f->pNext)
    if (f->cFlags & FIX_PLAYOFF) return f;
  return nullptr;
}

void PointAward(TMTeam* t) {
  t->cPoints++;
  t->bTieBreak = 1;
}

void LotsDraw(Round* r, TMTeam* a, TMTeam* b, Fixture* f) {
  (void)r;
  if (QMathRandRange(1000) % 2 == 0) {
    PointAward(b);
    if (f) f->cPenB = 1;
  } else {
    PointAward(a);
    if (f) f->cPenA = 1;
  }
}

}  // namespace

void tmteam_FixtureResultApply(Round* r, std::uint32_t Name, const Fixture* f, std::int32_t bFirst) {
  TMTeam* t = tmteam_TeamEntryGet(r, Name);
  if (!t) {
    tmreport_Fault("pThisTeam", kSource);
    return;
  }
  const std::int32_t a = bFirst ? f->cScoreA : f->cScoreB, b = bFirst ? f->cScoreB : f->cScoreA;
  std::int32_t iOutcome = a > b ? 1 : (a < b ? -1 : 0);
  if (iOutcome == 0) {
    const std::int32_t ea = bFirst ? f->cExtraA : f->cExtraB, eb = bFirst ? f->cExtraB : f->cExtraA;
    const std::int32_t pa = bFirst ? f->cPenA : f->cPenB, pb = bFirst ? f->cPenB : f->cPenA;
    if (ea > eb || pa > pb) iOutcome = 1;
    else if (eb > ea || pb > pa) iOutcome = -1;
  }
  RowAdd(t, a, b, iOutcome, WinPoints(false));
}

void tmteam_ResultRecord(Round* r, std::uint32_t Name, std::int32_t iFor, std::int32_t iAgainst) {
  TMTeam* t = tmteam_TeamEntryGet(r, Name);
  if (!t) {
    tmreport_Fault("pThisTeam", kSource);
    return;
  }
  RowAdd(t, iFor, iAgainst, iFor > iAgainst ? 1 : (iFor < iAgainst ? -1 : 0), WinPoints(true));
}

std::int32_t history_TeamPointsGet(const TMTeam* t) { return t->cPoints - (t->bTieBreak ? 1 : 0); }

std::int32_t history_PlayOffNeeded(const Round* r) {
  if (PlayOffGet(r)) return 0;
  TMTeam *a, *b;
  TopTwo(r, &a, &b);
  if (!a || !b) return 0;
  if (r->uTieBreak == TB_PO) return 1;
  if (r->uTieBreak == TB_GD || r->uTieBreak == TB_GD1) return (a->cFor - a->cAgainst) == (b->cFor - b->cAgainst);
  return 0;
}

std::int32_t history_TieBreakApply(Round* r, std::int32_t bPlayOffExists) {
  TMTeam *a, *b;
  if (bPlayOffExists) {
    Fixture* f = PlayOffGet(r);
    if (f && !(f->cFlags & FIX_PLAYED)) {
      const std::uint32_t A = history_FixtureTeamA(r, f), B = history_FixtureTeamB(r, f);
      TMTeam* ta = tmteam_TeamEntryGet(r, A);
      TMTeam* tb = tmteam_TeamEntryGet(r, B);
      if (ta && tb && r->uTieBreak == TB_PO && f->cScoreA == f->cScoreB) {
        if (ta->cFor != tb->cFor) PointAward(ta->cFor > tb->cFor ? ta : tb);
        else LotsDraw(r, ta, tb, f);
      }
      if (f) f->cFlags |= FIX_PLAYED;
    }
    return 1;
  }
  TopTwo(r, &a, &b);
  if (!a || !b || a->cPoints != b->cPoints) return 1;
  const std::uint32_t tb = r->uTieBreak;
  if (tb < 1 || tb > 8 || tb == TB_AGG || tb == TB_AGG2 || tb == TB_BYE) return 1;
  if (tb == TB_GD || tb == TB_GD1) {
    const std::int32_t ka = (a->cPoints * 100 - a->cAgainst + a->cFor) * 100;
    const std::int32_t kb = (b->cPoints * 100 - b->cAgainst + b->cFor) * 100;
    if (ka != kb) {
      PointAward(ka > kb ? a : b);
      return 1;
    }
  } else if (tb == TB_GD2 || tb == TB_GD3) {
    if (Score(a) != Score(b)) {
      PointAward(Score(a) > Score(b) ? a : b);
      return 1;
    }
    if (tb == TB_GD2) {
      LotsDraw(r, a, b, nullptr);
      return 1;
    }
  }
  // A play-off between the two, on the round's last date.
  Fixture* f = tmmain_FixtureAlloc();
  if (!f) return 1;
  history_FixtureInit(f);
  f->cTeamA = U8(history_TeamIndexGet(r, a->Name));
  f->cTeamB = U8(history_TeamIndexGet(r, b->Name));
  f->cDate = U8(history_DateCountGet(r));
  f->cFlags = FIX_PLAYOFF;
  Fixture** pp = &r->pFixtures;
  while (*pp) pp = &(*pp)->pNext;
  *pp = f;
  if (tmgame_IsHumanTeam(a->Name) || tmgame_IsHumanTeam(b->Name)) return 0;
  const std::int32_t sa = QMathRandBetween(0, 4), sb = QMathRandBetween(0, 4);
  history_ScoreSet(f, sa, sb);
  tmteam_FixtureResultApply(r, a->Name, f, 1);
  tmteam_FixtureResultApply(r, b->Name, f, 0);
  if (sa == sb) {
    if (tb == TB_GD1 || tb == TB_GD3) {
      const std::int32_t ea = QMathRandBetween(0, 4), eb = QMathRandBetween(0, 4);
      if (ea != eb) PointAward(ea > eb ? a : b);
      history_PenaltyScoreSet(f, QMathRandBetween(0, 4), QMathRandBetween(0, 4));
    } else if (tb == TB_PO) {
      if (a->cFor != b->cFor) PointAward(a->cFor > b->cFor ? a : b);
      else LotsDraw(r, a, b, f);
    }
  }
  f->cFlags |= FIX_PLAYED;
  return 1;
}

std::int32_t history_TopTieResolve(Round* r, std::int32_t bPlayOffExists) {
  TMTeam *a, *b;
  TopTwo(r, &a, &b);
  if (!bPlayOffExists && (!a || !b)) return 1;
  return history_TieBreakApply(r, bPlayOffExists);
}

std::int32_t tmteam_IsRoundDecided(const Round* r) {
  if (r->bComplete) return 1;
  if (r->uTieBreak == TB_BYE && !r->pFixtures) return 1;
  for (const Fixture* f = r->pFixtures; f; f = f->pNext) {
    if (!(f->cFlags & FIX_PLAYED) && !(f->cFlags & FIX_BYNAMEID)) return 0;
  }
  // A tie at the top that the round's tie-break has still to settle (by a
  // play-off, a point on goals or lots) leaves the places open until the
  // round is settled: read earlier, a later round would take the wrong team.
  if (!PlayOffGet(r)) {
    TMTeam *a, *b;
    TopTwo(r, &a, &b);
    const std::uint32_t tb = r->uTieBreak;
    if (a && b && (tb == TB_PO || tb == TB_GD || tb == TB_GD1 || tb == TB_GD2 || tb == TB_GD3)) return 0;
  }
  return r->pFixtures != nullptr || history_TeamCountGet(r) == 1;
}

void tmteam_RoundOutcomeGet(const Group*, const Round* r, RoundPlaces* pOut) {
  std::memset(pOut, 0, sizeof(*pOut));
  const std::int32_t n = history_TeamCountGet(r);
  if (n == 1) {
    pOut->aName[0] = r->pTeams->Name;
    return;
  }
  const Fixture* f = r->pFixtures;
  const std::uint32_t fmt = r->uFormat;
  if (fmt == FMT_KO || fmt == FMT_KO2 || fmt == FMT_KO1 || fmt == FMT_KO3 || fmt == FMT_KO4) {
    if (!f) return;
    const std::uint32_t A = history_FixtureTeamA(r, f), B = history_FixtureTeamB(r, f);
    std::int32_t a = f->cScoreA, b = f->cScoreB;
    if (a == b) {
      a += f->cExtraA;
      b += f->cExtraB;
    }
    bool bAWins = a > b;
    if (a == b) {
      if (fmt == FMT_KO1) bAWins = !(f->cResult & RES_LOTS_SECOND);
      else if (fmt == FMT_KO3 || fmt == FMT_KO4) bAWins = f->cPenA > f->cPenB;
    }
    pOut->aName[0] = bAWins ? A : B;
    pOut->aName[1] = bAWins ? B : A;
    return;
  }
  const std::uint32_t tb = r->uTieBreak;
  if (tb == TB_AGG || tb == TB_AGG2) {
    if (!f || !f->pNext) return;
    const Fixture* s = f->pNext;
    const std::uint32_t A = history_FixtureTeamA(r, f), B = history_FixtureTeamB(r, f);
    std::int32_t aggA = f->cScoreA + s->cScoreB, aggB = f->cScoreB + s->cScoreA;
    std::int32_t awayA = s->cScoreB, awayB = f->cScoreB;
    bool bAWins;
    if (aggA != aggB) bAWins = aggA > aggB;
    else {
      aggA += s->cExtraB;
      aggB += s->cExtraA;
      awayA += s->cExtraB;
      if (aggA != aggB) bAWins = aggA > aggB;
      else if (awayA != awayB) bAWins = awayA > awayB;
      else {
        if (s->cPenA == s->cPenB) tmreport_Fault("iTeamAScore != iTeamBScore", kSource);
        bAWins = s->cPenB > s->cPenA;
      }
    }
    pOut->aName[0] = bAWins ? A : B;
    pOut->aName[1] = bAWins ? B : A;
    return;
  }
  if (!(tb == TB_PO || tb == TB_GD || tb == TB_GD1 || tb == TB_GD2 || tb == TB_GD3)) {
    tmreport_Fault("0", kSource);
  }
  const TMTeam* ap[64];
  std::int32_t c = 0;
  for (const TMTeam* t = r->pTeams; t && c < 64; t = t->pNext) ap[c++] = t;
  for (std::int32_t i = 1; i < c; i++) {  // stable insertion sort
    const TMTeam* t = ap[i];
    std::int32_t j = i;
    auto better = [](const TMTeam* x, const TMTeam* y) {
      if (x->cPoints != y->cPoints) return x->cPoints > y->cPoints;
      const std::int32_t dx = x->cFor - x->cAgainst, dy = y->cFor - y->cAgainst;
      if (dx != dy) return dx > dy;
      return x->cFor > y->cFor;
    };
    while (j > 0 && better(t, ap[j - 1])) {
      ap[j] = ap[j - 1];
      j--;
    }
    ap[j] = t;
  }
  for (std::int32_t i = 0; i < 4 && i < c; i++) pOut->aName[i] = ap[i]->Name;
}

Round* history_RoundFindByNames(Year* y, const char* pszGroup, const char* pszRound, Group** ppGroup) {
  for (Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext) {
      if (std::strcmp(g->szName, pszGroup) != 0) continue;
      for (Round* r = g->pRounds; r; r = r->pNext)
        if (std::strcmp(r->szName, pszRound) == 0) {
          if (ppGroup) *ppGroup = g;
          return r;
        }
    }
  return nullptr;
}

const char* history_SlotCodeMake(const Group* g, const Round* r) {
  static char sz[64];
  std::snprintf(sz, sizeof(sz), "*%s.%s", g->szName, r->szName);
  return sz;
}

namespace {
// Splits "*G.R[*x]" into group, round and place letter (0 when none).
bool CodeSplit(const char* psz, char* pszGroup, char* pszRound, char* pcPlace) {
  if (psz[0] != '*') return false;
  const char* p = psz + 1;
  std::int32_t i = 0;
  while (*p && *p != '.' && *p != '\n' && i < 27) pszGroup[i++] = *p++;
  pszGroup[i] = 0;
  if (*p != '.') return false;
  p++;
  i = 0;
  while (*p && *p != '*' && *p != '.' && *p != '\n' && i < 24) pszRound[i++] = *p++;
  pszRound[i] = 0;
  *pcPlace = (*p == '*' && p[1]) ? p[1] : 0;
  return true;
}
}  // namespace

std::int32_t history_SlotCodeLookup(Year* y, const char* pszCode, const char* pszText, std::int32_t iPlace) {
  char szG[28], szR[25], c;
  if (!CodeSplit(pszCode, szG, szR, &c)) return 0;
  Round* r = history_RoundFindByNames(y, szG, szR);
  if (!r || iPlace < 0 || iPlace > 2) return 0;
  std::snprintf(PlaceCode(r, iPlace), PlaceCodeSize(iPlace), "%s", pszText);
  return 1;
}

std::int32_t history_CodeTeamResolve(Year* y, const Round* r, std::int32_t n) {
  const char* psz = tmteam_TeamNameGet(r, n);
  if (psz[0] != '*') {
    tmreport_Fault("*pszCode == '*'", kSource);
    return 0;
  }
  char szG[28], szR[25], c;
  if (!CodeSplit(psz, szG, szR, &c)) return 0;
  const Round* x = history_RoundFindByNames(y, szG, szR, nullptr);
  if (!x) return 0;
  // Settled once every fixture is played, or when no unplayed one still
  // waits on an open slot the fixtures screen has filled.
  for (const Fixture* f = x->pFixtures; f; f = f->pNext)
    if (!(f->cFlags & FIX_PLAYED) && (f->cFlags & FIX_BYNAMEID) && (f->cFlags & FIX_SLOTFILLED)) return 0;
  return 1;
}

std::int32_t tmteam_PlaceCodeResolve(Year* y, const char* pszCode, std::uint32_t* pName, std::int32_t iPlace) {
  char szG[28], szR[25], c;
  *pName = 0;
  if (!CodeSplit(pszCode, szG, szR, &c)) return -1;
  Group* g = nullptr;
  Round* r = history_RoundFindByNames(y, szG, szR, &g);
  if (!r || !tmteam_IsRoundDecided(r)) return -1;
  RoundPlaces pl;
  tmteam_RoundOutcomeGet(g, r, &pl);
  if (iPlace < 0 || iPlace > 3 || !pl.aName[iPlace]) return -1;
  *pName = pl.aName[iPlace];
  const TMTeam* t = tmteam_TeamEntryGet(r, *pName);
  return t ? t->cPoints : 0;
}

std::int32_t tmteam_GroupPlaceFind(Year* y, const char* pszCode, std::uint32_t* pName) {
  *pName = 0;
  if (pszCode[0] != '*') tmreport_Fault("*pszCode == '*'", kSource);
  const char* pCode = pszCode[0] == '*' ? pszCode : pszCode - 1;
  char szG[28], szR[25], cPlace = 0;
  // Read from the first character when the '*' is missing.
  char szTmp[80];
  if (pCode != pszCode) {
    std::snprintf(szTmp, sizeof(szTmp), "*%s", pszCode);
    pCode = szTmp;
  }
  if (!CodeSplit(pCode, szG, szR, &cPlace)) return -1;
  const std::int32_t iPlace = (cPlace && cPlace != 'a') ? 2 : 1;
  for (Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext) {
    for (Group* g = c->pGroups; g; g = g->pNext) {
      if (std::strcmp(g->szName, szG) != 0) continue;
      for (Round* r = g->pRounds; r; r = r->pNext) {
        if (std::strcmp(r->szName, szR) != 0) continue;
        if (!r->pFixtures && r->uTieBreak == TB_BYE) {
          *pName = r->pTeams ? r->pTeams->Name : 0;
          return 1;
        }
        for (const Fixture* f = r->pFixtures; f; f = f->pNext)
          if (!(f->cFlags & FIX_PLAYED) && !(f->cFlags & FIX_BYNAMEID)) return -1;
        TMTeam* leader = nullptr;
        for (TMTeam* t = r->pTeams; t; t = t->pNext)
          if (!leader || t->cPoints > leader->cPoints) leader = t;
        if (!leader) return -1;
        const std::int32_t p = leader->cPoints;
        TMTeam* rival = nullptr;
        for (TMTeam* t = leader->pNext; t; t = t->pNext)
          if (t->cPoints == p) {
            rival = t;
            break;
          }
        if (!rival) {
          if (iPlace == 1) {
            *pName = leader->Name;
            return p;
          }
          TMTeam* second = nullptr;
          for (TMTeam* t = r->pTeams; t; t = t->pNext)
            if (t != leader && (!second || t->cPoints >= second->cPoints)) second = t;
          if (!second) return -1;
          *pName = second->Name;
          return second->cPoints;
        }
        TMTeam *first = leader, *other = rival;
        if (r->uFormat == FMT_KO1) {
          tmteam_ResultRecord(r, rival->Name, 1, 0);
          first = rival;
          other = leader;
        } else {
          const std::uint32_t tb = r->uTieBreak;
          if (tb == TB_GD || tb == TB_GD1 || tb == TB_GD2 || tb == TB_GD3) {
            const std::int32_t dl = leader->cFor - leader->cAgainst, dr = rival->cFor - rival->cAgainst;
            if (dl != dr) {
              first = dl > dr ? leader : rival;
              other = dl > dr ? rival : leader;
              *pName = iPlace == 1 ? first->Name : other->Name;
              return p;
            }
          } else if (tb == TB_PO || tb == TB_AGG) {
            tmreport_Fault("0", kSource);
          } else {
            tmreport_Fault("0", kSource);
            continue;
          }
          tmteam_ResultRecord(r, leader->Name, 1, 0);
        }
        *pName = iPlace == 1 ? first->Name : other->Name;
        return iPlace == 1 ? p + 1 : p;
      }
    }
  }
  return -1;
}

std::int32_t history_ResultsApply(Group* g, Round* r) {
  if (r->bComplete) return 1;
  for (const Fixture* f = r->pFixtures; f; f = f->pNext) {
    if (f->cFlags & FIX_PLAYED) continue;
    if ((f->cFlags & FIX_BYNAMEID) && !(f->cFlags & FIX_SLOTFILLED)) continue;
    return 0;
  }
  if (!r->pFixtures && history_TeamCountGet(r) > 1 && r->uTieBreak != TB_BYE) return 0;
  if (!history_TopTieResolve(r, PlayOffGet(r) != nullptr)) return 0;
  for (Fixture* f = r->pFixtures; f; f = f->pNext) f->cFlags = U8(f->cFlags & ~FIX_SIMULATED);
  r->bComplete = 1;
  Year* y = YearOf(r);
  const bool bFinals = y && (y->uKey % 2) == 0;
  RoundPlaces pl;
  tmteam_RoundOutcomeGet(g, r, &pl);
  bool bHumanIn = false, bHumanPlaced = false;
  const std::int32_t iHuman = tmglobal.iCurrentHuman;
  const std::uint32_t Human =
      (iHuman >= 0 && iHuman < tmglobal.cHumans) ? tmglobal.aHumans[iHuman].Name : 0xFFFFFFFFu;
  if (tmteam_TeamEntryGet(r, Human)) bHumanIn = true;
  bool bCodes = false, bThird = false, bFinal = false;
  for (std::int32_t i = 0; i < 4; i++) {
    char* psz = PlaceCode(r, i);
    if (!CodeActs(psz)) continue;
    if (psz[0] != '*') bCodes = true;
    const std::uint32_t Name = pl.aName[i];
    if (!Name) {
      tmreport_Fault("result != -1", kSource);
      continue;
    }
    if (Name == Human) bHumanPlaced = true;
    if (i == 0) {
      std::snprintf(tmglobal.szLastWinner, sizeof(tmglobal.szLastWinner), "%s", tmteam_NameText(Name));
      if (std::strcmp(psz, "Third") == 0) bThird = true;
      if (std::strcmp(psz, "Winner") == 0) {
        const std::int32_t e = tmglobal_EditionGet();
        if (e >= 0 && e < TM_EDITIONS) tmglobal.aHolders[e + 1] = Name;
        bFinal = true;
      }
    }
    if (psz[0] == 'w') {
      newqual_Add(tmglobal.aNewQual, Name);
      std::snprintf(psz, PlaceCodeSize(i), "%s", tmteam_NameText(Name));
    } else if (bFinals) {
      std::snprintf(psz, PlaceCodeSize(i), "%s", tmteam_NameText(Name));
    }
  }
  // A third that a best-third rule may still send on, or has sent on
  // already, is not out here: the rule decides (history_GroupCodesResolve).
  if (bHumanIn && !bHumanPlaced && pl.aName[2] == Human && BestThirdRound(g, r) &&
      (BestThirdOpen(y, g, r) || InLaterStage(y, r, Human)))
    bHumanPlaced = true;
  if (bHumanIn && !bHumanPlaced) {
    if (bFinals) {
      tmgame_EliminatedSet(iHuman, 1);
      tmgame_EliminatedNewsSet(iHuman, 1);
    } else {
      tmgame_FailedToQualifySet(iHuman, 1);
      tmgame_FailedNewsSet(iHuman, 1);
    }
  } else if (bHumanIn && bCodes) {
    if (bFinals) {
      if (bThird) tmgame_Played3rdPlacePOSet(iHuman, 1);
      else if (bFinal && pl.aName[0] == Human) {
        tmgame_WonSet(iHuman, 1);
        tmgame_WonNewsSet(iHuman, 1);
      } else {
        tmgame_EliminatedSet(iHuman, 0);
        tmgame_EliminatedNewsSet(iHuman, 1);
      }
    } else {
      tmgame_QualifiedSet(iHuman, 1);
      tmgame_QualifiedNewsSet(iHuman, 1);
    }
  }
  return 1;
}

namespace {
// Splits a list "*<tag>*G.R*G.R..." (or "*G.R*G.R") into its "*G.R" codes.
std::int32_t ListSplit(const char* pszList, char aszCodes[8][40]) {
  std::int32_t n = 0;
  const char* p = pszList;
  if (*p == '*') p++;
  // Skip a leading tag without '.'.
  const char* pStar = std::strchr(p, '*');
  const char* pDot = std::strchr(p, '.');
  if (pStar && (!pDot || pStar < pDot)) p = pStar + 1;
  while (*p && n < 8) {
    const char* e = std::strchr(p, '*');
    const std::size_t len = e ? static_cast<std::size_t>(e - p) : std::strlen(p);
    std::snprintf(aszCodes[n], 40, "*%.*s", static_cast<int>(len < 38 ? len : 38), p);
    n++;
    if (!e) break;
    p = e + 1;
  }
  return n;
}

std::int32_t Ranked(Year* y, const char* pszList, std::uint32_t* pName, bool bWinner) {
  char aszCodes[8][40];
  const std::int32_t n = ListSplit(pszList, aszCodes);
  std::int32_t iBest = -1, iBestPoints = 0;
  std::uint32_t Best = 0;
  for (std::int32_t i = 0; i < n; i++) {
    std::uint32_t Name = 0;
    const std::int32_t p = bWinner ? tmteam_PlaceCodeResolve(y, aszCodes[i], &Name, 0)
                                   : tmteam_GroupPlaceFind(y, aszCodes[i], &Name);
    if (p < 0) return -1;
    if (iBest < 0 || (bWinner ? p > iBestPoints : p < iBestPoints)) {
      iBest = i;
      iBestPoints = p;
      Best = Name;
    }
  }
  if (iBest < 0) return -1;
  *pName = Best;
  history_SlotCodeLookup(y, aszCodes[iBest], "out", 0);
  return 1;
}
}  // namespace

std::int32_t tmteam_WinnerGet(Year* y, const char* pszList, std::uint32_t* pName) {
  return Ranked(y, pszList, pName, true);
}

std::int32_t tmteam_LoserGet(Year* y, const char* pszList, std::uint32_t* pName) {
  debuglog_Printf("Get loser %s\n", pszList);
  const std::int32_t r = Ranked(y, pszList, pName, false);
  if (r == 1) debuglog_Printf("Get lost %s\n", tmteam_NameText(*pName));
  return r;
}

namespace {
bool Prefix(const Round* r, std::int32_t n, const char* pszPrefix) {
  const char* p = tmteam_TeamNameGet(r, n);
  return std::strncmp(p, pszPrefix, std::strlen(pszPrefix)) == 0;
}
}  // namespace
std::int32_t history_IsStatCode(const Round* r, std::int32_t n) {
  return Prefix(r, n, "*stat") && !Prefix(r, n, "*stat89");
}
std::int32_t history_IsLoserCode(const Round* r, std::int32_t n) { return Prefix(r, n, "*los"); }
std::int32_t history_IsStat89Code(const Round* r, std::int32_t n) { return Prefix(r, n, "*stat89"); }
std::int32_t history_IsCmbStatCode(const Round* r, std::int32_t n) { return Prefix(r, n, "*cmbsta"); }
std::int32_t history_IsRandCode(const Round* r, std::int32_t n) { return Prefix(r, n, "*rand"); }

namespace {
// The row at a place of round "1" of a group; false while undecided.
bool PlaceRow(Year* y, const char* pszGroup, std::int32_t iPlace, TMTeam* pRow, Round** ppRound) {
  Group* g = nullptr;
  Round* r = history_RoundFindByNames(y, pszGroup, "1", &g);
  if (!r || !tmteam_IsRoundDecided(r)) return false;
  RoundPlaces pl;
  tmteam_RoundOutcomeGet(g, r, &pl);
  const TMTeam* t = tmteam_TeamEntryGet(r, pl.aName[iPlace]);
  if (!t) return false;
  *pRow = *t;
  *ppRound = r;
  return true;
}
}  // namespace

namespace {
// Writes a qualifying code into a place of a round. A round settled already
// has applied its codes, so a "w" code written later is applied at once: the
// team joins the new qualifiers (and a human team is marked qualified) and
// the code is replaced by the team's name, as settling would have done.
void PlaceCodeWrite(Round* r, char* pszPlace, std::size_t cSize, const char* pszCode, std::uint32_t Name) {
  std::snprintf(pszPlace, cSize, "%s", pszCode);
  if (!r->bComplete || pszCode[0] != 'w') return;
  newqual_Add(tmglobal.aNewQual, Name);
  std::snprintf(pszPlace, cSize, "%s", tmteam_NameText(Name));
  const std::int32_t iHuman = tmglobal.iCurrentHuman;
  if (iHuman >= 0 && iHuman < tmglobal.cHumans && tmglobal.aHumans[iHuman].Name == Name) {
    tmgame_QualifiedSet(iHuman, 1);
    tmgame_QualifiedNewsSet(iHuman, 1);
  }
}
}  // namespace

void tmteam_UCodesRank(Year* y) {
  static const char* const kGroups[3] = {"u1", "u2", "u4"};
  std::uint32_t aName[3] = {};
  std::int32_t aScore[3] = {};
  for (std::int32_t i = 0; i < 3; i++) {
    Group* g = nullptr;
    Round* r = history_RoundFindByNames(y, kGroups[i], "1", &g);
    if (!r) return;
    RoundPlaces pl;
    tmteam_RoundOutcomeGet(g, r, &pl);
    aName[i] = pl.aName[1];
    const TMTeam* t = tmteam_TeamEntryGet(r, aName[i]);
    if (!t) return;
    std::snprintf(r->szPlace2, sizeof(r->szPlace2), "%s", tmteam_NameText(aName[i]));
    aScore[i] = t->cPoints * 10000 + (t->cFor - t->cAgainst) * 100 + t->cFor;
  }
  std::int32_t iLow = 0;
  for (std::int32_t i = 1; i < 3; i++)
    if (aScore[i] < aScore[iLow]) iLow = i;
  for (std::int32_t i = 0; i < 3; i++)
    if (i != iLow) history_QualifiedListAdd(aName[i]);
}

void history_UCodesResolve(Year* y) {
  TMTeam aRows[9];
  Round* apRounds[9];
  for (std::int32_t i = 0; i < 9; i++) {
    char sz[4] = {'u', static_cast<char>('1' + i), 0, 0};
    if (!PlaceRow(y, sz, 1, &aRows[i], &apRounds[i])) return;
  }
  std::int32_t iBest = 0;
  auto ppg = [](const TMTeam& t) { return t.cPlayed ? t.cPoints * 1000 / t.cPlayed : 0; };
  for (std::int32_t i = 1; i < 9; i++)
    if (ppg(aRows[i]) > ppg(aRows[iBest])) iBest = i;
  PlaceCodeWrite(apRounds[iBest], apRounds[iBest]->szPlace2, sizeof(apRounds[iBest]->szPlace2), "wcf", aRows[iBest].Name);
  std::int32_t iNext = 0;
  for (Group* g = y->pConfs ? y->pConfs->pGroups : nullptr; g && iNext < 9; g = g->pNext) {
    Round* r2 = g->pRounds ? g->pRounds->pNext : nullptr;
    std::int32_t cFilled = 0;
    for (TMTeam* t = r2 ? r2->pTeams : nullptr; t && cFilled < 2 && iNext < 9; t = t->pNext) {
      if (tmteam_IsProperName(t->Name)) continue;
      if (iNext == iBest) iNext++;
      if (iNext >= 9) break;
      t->Name = aRows[iNext++].Name;
      cFilled++;
    }
  }
}

void history_CombinedCodesResolve(Year* y, Round* pRound, std::int32_t n) {
  TMTeam aRows[3];
  Round* apRounds[3];
  for (std::int32_t i = 0; i < 3; i++) {
    char sz[8] = {'c', 'm', 'b', static_cast<char>('1' + i), 0};
    if (!PlaceRow(y, sz, 0, &aRows[i], &apRounds[i])) return;
  }
  std::int32_t iLow = 0;
  for (std::int32_t i = 1; i < 3; i++)
    if (Score(&aRows[i]) < Score(&aRows[iLow])) iLow = i;
  for (std::int32_t i = 0; i < 3; i++)
    PlaceCodeWrite(apRounds[i], apRounds[i]->szPlace1, sizeof(apRounds[i]->szPlace1), i == iLow ? "out" : "wcf",
                   aRows[i].Name);
  if (TMTeam* t = history_TeamEntryGet(pRound, n)) t->Name = aRows[iLow].Name;
}

void history_GroupCodesResolve(Year* y) {
  TMTeam* apEntries[8];
  std::int32_t cEntries = 0;
  for (Confederation* c = y->pConfs; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext)
        for (TMTeam* t = r->pTeams; t; t = t->pNext)
          if (t->Name == kThirds && cEntries < 8) apEntries[cEntries++] = t;
  if (cEntries == 0) return;
  TMTeam aRows[6];
  Round* apRounds[6];
  for (std::int32_t i = 0; i < 6; i++) {
    char szG[4] = {static_cast<char>('1' + i), 0, 0, 0};
    Group* g = nullptr;
    Round* r = history_RoundFindByNames(y, szG, "1", &g);
    if (!r || !tmteam_IsRoundDecided(r)) return;
    RoundPlaces pl;
    tmteam_RoundOutcomeGet(g, r, &pl);
    const TMTeam* t = tmteam_TeamEntryGet(r, pl.aName[2]);
    if (!t) return;
    aRows[i] = *t;
    apRounds[i] = r;
  }
  std::int32_t n = 6;
  while (n > 4) {
    std::int32_t iLow = 0;
    for (std::int32_t i = 1; i < n; i++)
      if (Score(&aRows[i]) < Score(&aRows[iLow])) iLow = i;
    std::snprintf(apRounds[iLow]->szPlace3, sizeof(apRounds[iLow]->szPlace3), "out");
    // A human third left out of a round already settled is out now; one
    // whose round is still to settle is found out by the settling.
    const std::int32_t iHuman = tmglobal.iCurrentHuman;
    if (apRounds[iLow]->bComplete && iHuman >= 0 && iHuman < tmglobal.cHumans &&
        tmglobal.aHumans[iHuman].Name == aRows[iLow].Name) {
      tmgame_EliminatedSet(iHuman, 1);
      tmgame_EliminatedNewsSet(iHuman, 1);
    }
    for (std::int32_t i = iLow; i + 1 < n; i++) {
      aRows[i] = aRows[i + 1];
      apRounds[i] = apRounds[i + 1];
    }
    n--;
  }
  for (std::int32_t i = 0; i < 4; i++) {
    const std::int32_t j = static_cast<std::int32_t>(QMathRandRange(100) & 3);
    const TMTeam t = aRows[i];
    aRows[i] = aRows[j];
    aRows[j] = t;
  }
  for (std::int32_t i = 0; i < cEntries && i < 4; i++) {
    TMTeam* pNext = apEntries[i]->pNext;
    *apEntries[i] = aRows[i];
    apEntries[i]->bTieBreak = aRows[i].bTieBreak;
    apEntries[i]->pNext = pNext;
  }
}

void history_PlaceholdersResolve(Year* y) {
  if (!y) return;
  history_GroupCodesResolve(y);
  for (Confederation* c = y->pConfs; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext) {
        if (r->bComplete) continue;
        std::int32_t iIndex = -1;
        for (TMTeam* t = r->pTeams; t; t = t->pNext) {
          iIndex++;
          const char* psz = tmteam_NameText(t->Name);
          if (psz[0] != '*') continue;
          if (history_IsStat89Code(r, iIndex)) {
            history_UCodesResolve(y);
            continue;
          }
          if (history_IsCmbStatCode(r, iIndex)) {
            history_CombinedCodesResolve(y, r, iIndex);
            continue;
          }
          if (history_IsStatCode(r, iIndex) || history_IsLoserCode(r, iIndex)) {
            std::uint32_t Name = 0;
            const bool bWin = history_IsStatCode(r, iIndex) != 0;
            if ((bWin ? tmteam_WinnerGet(y, psz, &Name) : tmteam_LoserGet(y, psz, &Name)) == 1 && Name &&
                !tmteam_TeamEntryGet(r, Name))
              t->Name = Name;
            continue;
          }
          char szG[28], szR[25], cPlace;
          if (!CodeSplit(psz, szG, szR, &cPlace)) continue;
          if (cPlace && (cPlace < 'a' || cPlace > 'd')) continue;
          std::uint32_t Name = 0;
          const std::int32_t iPlace = cPlace ? cPlace - 'a' : 0;
          if (tmteam_PlaceCodeResolve(y, psz, &Name, iPlace) < 0 || !Name) continue;
          if (tmteam_TeamEntryGet(r, Name)) continue;
          t->Name = Name;
        }
      }
  // Human fixtures are marked again.
  for (Confederation* c = y->pConfs; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext)
        for (Fixture* f = r->pFixtures; f; f = f->pNext)
          if (tmgame_IsHumanTeam(history_FixtureTeamA(r, f)) || tmgame_IsHumanTeam(history_FixtureTeamB(r, f)))
            f->cFlags |= FIX_USER;
}

void history_YearCompleteCheck(Year* y) {
  if (!y) return;
  history_YearFixturesSort(y);
  bool bYear = true;
  for (Confederation* c = y->pConfs; c; c = c->pNext) {
    bool bConf = true;
    for (Group* g = c->pGroups; g; g = g->pNext) {
      bool bGroup = true;
      for (Round* r = g->pRounds; r; r = r->pNext)
        if (!history_ResultsApply(g, r)) bGroup = false;
      g->bComplete = bGroup ? 1 : 0;
      bConf = bConf && bGroup;
    }
    c->bComplete = bConf ? 1 : 0;
    bYear = bYear && bConf;
  }
  y->bComplete = bYear ? 1 : 0;
}

void tmteam_GroupTablesCollect(Year* y) {
  for (Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext)
        for (TMTeam* t = r->pTeams; t; t = t->pNext) {
          if (!tmteam_IsProperName(t->Name)) continue;
          TMTeam** pp = &g->pTeams;
          while (*pp && (*pp)->Name != t->Name) pp = &(*pp)->pNext;
          TMTeam* row = *pp;
          if (!row) {
            row = tmmain_TeamAlloc();
            if (!row) return;
            *pp = row;
          }
          TMTeam* pNext = row->pNext;
          *row = *t;
          row->pNext = pNext;
        }
}

void tmteam_GroupTablesSortAll(Year* y) {
  for (Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext) {
      const std::int32_t n = tmteam_GroupTeamCountGet(g);
      for (std::int32_t pass = 0; pass < n; pass++)
        for (TMTeam* t = g->pTeams; t && t->pNext; t = t->pNext)
          if (t->pNext->cPoints > t->cPoints) {
            TMTeam* a = t->pNext;
            TMTeam* pAfter = a->pNext;
            const TMTeam tmp = *t;
            *t = *a;
            *a = tmp;
            t->pNext = a;
            a->pNext = pAfter;
          }
    }
}

std::int32_t tmteam_GroupTeamCountGet(const Group* g) {
  std::int32_t n = 0;
  for (const TMTeam* t = g ? g->pTeams : nullptr; t; t = t->pNext) n++;
  return n;
}

// ---- New qualifiers ---------------------------------------------------------------------
void newqual_Clear(NewQualifier* pList) {
  for (std::int32_t i = 0; i < NEWQUAL_NUM_QUALIFIERS; i++) pList[i] = NewQualifier{};
  tmglobal.newqual_iCurrentQualifier = 0;
}
void newqual_NewFlagsClear(NewQualifier* pList) {
  for (std::int32_t i = 0; i < NEWQUAL_NUM_QUALIFIERS; i++) pList[i].bNew = 0;
}
std::int32_t newqual_iCountGet() { return tmglobal.newqual_iCurrentQualifier; }
std::int32_t newqual_Add(NewQualifier* pList, std::uint32_t Name) {
  for (std::int32_t i = 0; i < tmglobal.newqual_iCurrentQualifier; i++)
    if (pList[i].Name == Name) return 1;
  if (tmglobal.newqual_iCurrentQualifier >= NEWQUAL_NUM_QUALIFIERS) {
    tmreport_Fault("tmglobal.newqual_iCurrentQualifier<NEWQUAL_NUM_QUALIFIERS", "Gen\\newqual");
    return 0;
  }
  pList[tmglobal.newqual_iCurrentQualifier].Name = Name;
  pList[tmglobal.newqual_iCurrentQualifier].bNew = 1;
  tmglobal.newqual_iCurrentQualifier++;
  return 1;
}

// ---- Roll of honour -------------------------------------------------------------------
namespace {
const char* const kRoll[TM_EDITIONS][4] = {
    {"BRA", "SWE", "FRA", "FRG"}, {"BRA", "CZH", "CHI", "YUG"}, {"ENG", "FRG", "POR", "USR"},
    {"BRA", "ITA", "FRG", "URU"}, {"FRG", "HOL", "POL", "BRA"}, {"ARG", "HOL", "BRA", "ITA"},
    {"ITA", "FRG", "POL", "FRA"}, {"ARG", "FRG", "FRA", "BEL"}, {"FRG", "ARG", "ITA", "ENG"},
    {"BRA", "ITA", "SWE", "BGR"}, {"FRA", "BRA", "HRV", "HOL"},
};
std::uint32_t Id(const char* psz) {
  const std::int32_t i = tla_IDFind(psz);
  return i > 0 ? static_cast<std::uint32_t>(i) : 0u;
}
}  // namespace

void tmmain_RollOfHonourDefaultsCopy(std::int32_t iFirst, std::int32_t iLast) {
  for (std::int32_t e = iFirst < 0 ? 0 : iFirst; e <= iLast && e < TM_EDITIONS; e++) {
    tmglobal.aRoll[e] = {Id(kRoll[e][0]), Id(kRoll[e][1]), Id(kRoll[e][2]), Id(kRoll[e][3])};
  }
}
void tmmain_RollOfHonourInit(std::int32_t iFirstEdition) {
  for (std::int32_t e = 0; e < TM_EDITIONS; e++) tmglobal.aRoll[e] = RollOfHonourEntry{};
  tmmain_RollOfHonourDefaultsCopy(0, iFirstEdition - 1);
}
RollOfHonourEntry* tmmain_RollOfHonourEntryGet(std::int32_t iEdition) {
  return (iEdition >= 0 && iEdition < TM_EDITIONS) ? &tmglobal.aRoll[iEdition] : nullptr;
}
void tmmain_RollOfHonourFromFinals(Year* y, RollOfHonourEntry* pEntry) {
  for (Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext) {
      const bool bThird = std::strcmp(g->szName, "Third") == 0, bFinal = std::strcmp(g->szName, "Final") == 0;
      if ((!bThird && !bFinal) || !g->pRounds) continue;
      char szCode[64];
      std::snprintf(szCode, sizeof(szCode), "*%s.%s", g->szName, g->pRounds->szName);
      std::uint32_t Name = 0;
      if (tmteam_PlaceCodeResolve(y, szCode, &Name, 0) < 0) continue;
      const std::uint32_t A = tmglobal_TeamIDGet(g->pRounds, 0), B = tmglobal_TeamIDGet(g->pRounds, 1);
      const std::uint32_t Other = Name == A ? B : A;
      if (bThird) {
        pEntry->Third = Name;
        pEntry->Fourth = Other;
      } else {
        pEntry->Winner = Name;
        pEntry->RunnerUp = Other;
      }
    }
}

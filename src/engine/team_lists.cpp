// Match sides: building the pitch, bench and reserve lists from a squad,
// matching the pitch list to a formation, shirt numbers, suspensions, the
// bench order, list cursors and swaps, and the players' chains.
#include "engine/team.h"

#include <cstring>
#include <initializer_list>

#include "engine/formation.h"
#include "engine/player.h"
#include "engine/zone.h"
#include "framework/qdx_assert.h"
#include "shell/global.h"
#include "shell/user.h"
#include "tournament/squad.h"
#include "tournament/tournament_services.h"

namespace {

constexpr std::int32_t kListMax = TEAM_SQUADSIZE_MAX;
// The kind of game set up through the quick match, where suspensions are
// ignored as in a friendly.
constexpr GameMode kQuickMatchKind = static_cast<GameMode>(74);
// List flags a swap of two players exchanges.
constexpr std::uint32_t kListFlags =
    DBPLAYER_FLAG_STARTER | DBPLAYER_FLAG_RESERVE | DBPLAYER_FLAG_RESERVE2 | DBPLAYER_FLAG_BENCH;

const std::int8_t aiBenchGroup[25] = {0, 1, 2, 4, 4, 1, 1, 2, 2, 3, 4, 3, 2, 2, 5, 4, 4, 1, 4, 6, 6, 6, 6, 6, 1};

// Set-up marks a listed player and derives the two words nothing reads.
void Listed(DBPlayer* p) {
  dbplayer_InSquadSet(p, 1);
  p->uFitness78 = 57;
  p->uFitness80 = ((static_cast<std::uint32_t>(p->uSkill53) * 84 / 100) * 144 / 30) / 30;
}

void Append(DBPlayer** ppoHead, DBPlayer* p) {
  p->poNext = nullptr;
  while (*ppoHead) ppoHead = &(*ppoHead)->poNext;
  *ppoHead = p;
}

struct List {
  DBPlayer* ap[kListMax];
  std::int32_t n = 0;
};

void Collect(DBPlayer* poHead, List* pl) {
  pl->n = 0;
  for (DBPlayer* p = poHead; p && pl->n < kListMax; p = p->poNext) pl->ap[pl->n++] = p;
}

DBPlayer* Relink(List* pl) {
  for (std::int32_t i = 0; i < pl->n; i++) pl->ap[i]->poNext = i + 1 < pl->n ? pl->ap[i + 1] : nullptr;
  return pl->n ? pl->ap[0] : nullptr;
}

// The slot index of a slot within the formation's record, or -1.
std::int32_t SlotIndex(const FormationSlot* poRecord, const FormationSlot* poSlot) {
  for (std::int32_t i = 0; i < FORMATION_SLOTS; i++)
    if (poSlot == &poRecord[i]) return i;
  return -1;
}

void RelinkBySlot(MatchTeam* t, const FormationSlot* poRecord) {
  DBPlayer* apo[FORMATION_SLOTS] = {};
  for (DBPlayer* p = t->poPitchList; p; p = p->poNext) {
    const std::int32_t i = SlotIndex(poRecord, p->poSlot);
    if (i >= 0) apo[i] = p;
  }
  List l;
  for (std::int32_t count = 0; count < FORMATION_SLOTS; count++) {
    QDX_ASSERT(apo[count] != NULL);
    l.ap[l.n++] = apo[count];
  }
  t->poPitchList = Relink(&l);
}

bool Matches(std::int32_t iPass, const FormationSlot& s, const DBPlayer* p) {
  const std::int32_t iCode = dbplayer_FirstPositionGet(p);
  const bool bSide = p->uSide == static_cast<std::uint32_t>(s.iSide);
  switch (iPass) {
    case 0: return iCode == s.iPosition && bSide;
    case 1: return iCode == s.iPosition;
    case 2: return team_PositionCompatible(s.iPosition, iCode) && bSide;
    case 3: return team_PositionCompatible(s.iPosition, iCode);
    default: return true;
  }
}

// A suspension ignored or without a replacement counts as served.
void SuspensionServed(DBPlayer* p) {
  dbplayer_SuspendedSet(p, 0);
  dbplayer_InjuryMonthSet(p, 0);
  dbplayer_SuspensionChangedSet(p, 1);
  dbplayer_SuspensionServe(p);
}

DBPlayer* FindReplacement(DBPlayer* poHead, std::int32_t iCode, bool bCompatible, bool bFirstChoiceOnly) {
  for (DBPlayer* p = poHead; p; p = p->poNext) {
    if (dbplayer_SuspendedGet(p)) continue;
    if (bFirstChoiceOnly && !dbplayer_ReserveGet(p)) continue;
    if (bCompatible && !team_PositionCompatible(iCode, dbplayer_FirstPositionGet(p))) continue;
    return p;
  }
  return nullptr;
}

// A swap that is neither a substitution nor a suspension's replacement.
bool s_bSwapKeepsFlags = false;

DBPlayer* Last(DBPlayer* p) {
  while (p && p->poNext) p = p->poNext;
  return p;
}

DBPlayer* Predecessor(DBPlayer* poHead, const DBPlayer* poNode) {
  for (DBPlayer* p = poHead; p; p = p->poNext)
    if (p->poNext == poNode) return p;
  return nullptr;
}

}  // namespace

// ---- Records and words ---------------------------------------------------------------

void team_PlayersInit() {
  Player* apo[PLAYER_MAX];
  for (std::int32_t i = 0; i < PLAYER_TEAM_SIZE; i++) {
    apo[i] = &player_aHome[i];
    apo[PLAYER_TEAM_SIZE + i] = &player_aAway[i];
  }
  for (std::int32_t i = 0; i < PLAYER_MAX; i++) apo[i]->pNext = i + 1 < PLAYER_MAX ? apo[i + 1] : nullptr;
}

void team_PlayersLink(MatchTeam* poHome, MatchTeam* poAway) {
  MatchTeam* apoTeams[2] = {poHome, poAway};
  Player* apoFirst[2] = {player_aHome, player_aAway};
  for (std::int32_t k = 0; k < 2; k++) {
    MatchTeam* t = apoTeams[k];
    if (!t) continue;
    Player* pa = apoFirst[k];
    t->poPlayers = &pa[0];
    DBPlayer* p = t->poPitchList;
    for (std::int32_t i = 0; i < PLAYER_TEAM_SIZE; i++) {
      pa[i].pDBPlayer = p;
      if (p) p = p->poNext;
      pa[i].pNext = i + 1 < PLAYER_TEAM_SIZE ? &pa[i + 1] : nullptr;
      pa[i].MyTeam = t->iTeam;
      pa[i].iCardState = 0;
    }
  }
}

std::int32_t team_PresentationFlagGet(const MatchTeam* t) { return t->bPresentation; }
void team_PresentationFlagSet(MatchTeam* t, std::int32_t b) { t->bPresentation = b; }
std::int32_t team_ImageGet(const MatchTeam* t) { return t->iImage; }
void team_ImageSet(MatchTeam* t, std::int32_t i) { t->iImage = i; }
std::int32_t team_SoundGet(const MatchTeam* t) { return t->iSound; }
void team_SoundSet(MatchTeam* t, std::int32_t i) { t->iSound = i; }
std::int32_t team_FormationGet(const MatchTeam* t) { return t->iFormation; }
std::int32_t team_FormationGetAlt(const MatchTeam* t) { return t->iFormation; }
void team_FormationSet(MatchTeam* t, std::int32_t f) { team_FormationApply(t, f); }
void team_FormationSetRaw(MatchTeam* t, std::int32_t f) { t->iFormation = f; }
std::int32_t team_SubsAllowedGet(const MatchTeam* t) { return t->iSubsAllowed; }
void team_SubsAllowedSet(MatchTeam* t, std::int32_t n) { t->iSubsAllowed = n; }

std::int32_t team_BenchGroupGet(std::int32_t iCode) {
  return iCode >= 0 && iCode < 25 ? aiBenchGroup[iCode] : 6;
}

std::int32_t team_PositionCompatible(std::int32_t iSlotCode, std::int32_t iPlayerCode) {
  if (iSlotCode == iPlayerCode) return 1;
  RolesCompat* pc = roles_CompatFind(iSlotCode);
  if (!pc) return 0;
  roles_CompatRewind(pc);
  while (roles_CompatHasNext(pc))
    if (roles_CompatNext(pc) == iPlayerCode) return 1;
  return 0;
}

// ---- Set-up -----------------------------------------------------------------------------

void team_SetUp(std::int32_t iFormation, MatchTeam* pTeam) {
  QDX_ASSERT(iFormation < FORMATION_MAX);
  QDX_ASSERT(pTeam);
  DBPlayer* pDBplayer = pTeam->MySquad;
  QDX_ASSERT(pDBplayer);
  const std::int32_t n = pTeam->iSquadSize;
  for (std::int32_t i = 0; i < n; i++) {
    dbplayer_InSquadSet(&pDBplayer[i], 0);
    pDBplayer[i].poNext = nullptr;
    pDBplayer[i].poSlot = nullptr;
  }
  pTeam->poPitchList = pTeam->poBenchList = pTeam->poReserveList = nullptr;
  for (std::int32_t i = 0; i < n; i++) {
    DBPlayer* p = &pDBplayer[i];
    if (!dbplayer_StarterGet(p)) continue;
    Append(&pTeam->poPitchList, p);
    Listed(p);
  }
  team_FormationApply(pTeam, iFormation);
  for (std::int32_t i = 0; i < n; i++) {
    DBPlayer* p = &pDBplayer[i];
    if (dbplayer_BenchGet(p) && !dbplayer_StarterGet(p)) {
      Append(&pTeam->poBenchList, p);
      Listed(p);
    }
  }
  // Reserves: first choice, then second choice, then any other.
  for (std::int32_t k = 0; k < 3; k++)
    for (std::int32_t i = 0; i < n; i++) {
      DBPlayer* p = &pDBplayer[i];
      if (dbplayer_StarterGet(p) || dbplayer_BenchGet(p)) continue;
      const std::int32_t iKind = dbplayer_ReserveGet(p) ? 0 : dbplayer_Reserve2Get(p) ? 1 : 2;
      if (iKind != k) continue;
      Append(&pTeam->poReserveList, p);
      Listed(p);
    }
  team_BenchOrder(pTeam);
  team_SuspensionsApply(pTeam);
}

void team_FormationApply(MatchTeam* pTeam, std::int32_t iFormation) {
  QDX_ASSERT(pTeam);
  const FormationSlot* poRecord = formation_RecordGet(iFormation);
  // Matching runs unless every pitch player already holds a slot of this
  // formation (a fresh squad can meet the side's last formation index).
  bool bAssign = pTeam->iFormation != iFormation;
  for (DBPlayer* p = pTeam->poPitchList; p && !bAssign; p = p->poNext)
    bAssign = SlotIndex(poRecord, p->poSlot) < 0;
  if (bAssign) {
    for (DBPlayer* p = pTeam->poPitchList; p; p = p->poNext) p->poSlot = nullptr;
    for (std::int32_t iPass = 0; iPass < 5; iPass++)
      for (std::int32_t s = 0; s < FORMATION_SLOTS; s++) {
        bool bTaken = false;
        for (DBPlayer* p = pTeam->poPitchList; p && !bTaken; p = p->poNext) bTaken = p->poSlot == &poRecord[s];
        if (bTaken) continue;
        for (DBPlayer* p = pTeam->poPitchList; p; p = p->poNext) {
          if (p->poSlot || !Matches(iPass, poRecord[s], p)) continue;
          p->poSlot = &poRecord[s];
          Listed(p);
          break;
        }
      }
  }
  RelinkBySlot(pTeam, poRecord);
  pTeam->iFormation = iFormation;
}

void team_NumbersAssign(MatchTeam* t) {
  std::uint32_t u = 1;
  for (DBPlayer* po : {t->poPitchList, t->poBenchList, t->poReserveList})
    for (DBPlayer* p = po; p; p = p->poNext) p->uField88 = u++;
}

void team_NumbersFromSlots(MatchTeam* t) {
  for (DBPlayer* p = t->poPitchList; p; p = p->poNext)
    p->uField88 = p->poSlot ? static_cast<std::uint32_t>(p->poSlot->iNumber) : 0;
  std::uint32_t u = TEAM_FIRST_BENCH_NUMBER;
  for (DBPlayer* p = t->poBenchList; p; p = p->poNext) p->uField88 = u++;
  const bool bCount = t->poBenchList == nullptr || tmglobal_FinalsGet();
  for (DBPlayer* p = t->poReserveList; p; p = p->poNext) p->uField88 = bCount ? u++ : 0;
}

void team_SuspensionsApply(MatchTeam* t) {
  const GameMode eKind = global_eGetExtendedGameMode();
  const bool bIgnored = eKind == GAME_MODE_START_FRIENDLY || eKind == kQuickMatchKind;
  List l;
  Collect(t->poPitchList, &l);
  for (std::int32_t i = 0; i < l.n; i++) {
    DBPlayer* p = l.ap[i];
    if (!dbplayer_SuspendedGet(p)) continue;
    if (bIgnored) {
      SuspensionServed(p);
      continue;
    }
    const std::int32_t iCode = p->poSlot ? p->poSlot->iPosition : dbplayer_FirstPositionGet(p);
    DBPlayer* r = FindReplacement(t->poReserveList, iCode, true, true);
    if (!r) r = FindReplacement(t->poBenchList, iCode, true, false);
    if (!r) r = FindReplacement(t->poReserveList, iCode, false, true);
    if (!r) r = FindReplacement(t->poBenchList, iCode, false, false);
    if (!r) {
      SuspensionServed(p);
      continue;
    }
    // The replacement keeps the lists' flags: it is redone at every set-up.
    s_bSwapKeepsFlags = true;
    team_PlayersSwap(t, p, r, 0);
    s_bSwapKeepsFlags = false;
    r->poSavedSlot = p->poSavedSlot;
  }
}

void team_BenchOrder(MatchTeam* t) {
  List l;
  Collect(t->poBenchList, &l);
  List o;
  for (std::int32_t g = 0; g <= 6; g++)
    for (std::int32_t i = 0; i < l.n; i++)
      if (team_BenchGroupGet(dbplayer_FirstPositionGet(l.ap[i])) == g) o.ap[o.n++] = l.ap[i];
  t->poBenchList = Relink(&o);
  Collect(t->poReserveList, &l);
  o.n = 0;
  for (std::int32_t k = 0; k < 2; k++)
    for (std::int32_t g = 0; g <= 6; g++)
      for (std::int32_t i = 0; i < l.n; i++)
        if ((dbplayer_ReserveGet(l.ap[i]) ? 0 : 1) == k && team_BenchGroupGet(dbplayer_FirstPositionGet(l.ap[i])) == g)
          o.ap[o.n++] = l.ap[i];
  t->poReserveList = Relink(&o);
}

// ---- Cursors ------------------------------------------------------------------------------

DBPlayer* team_PitchFirst(MatchTeam* t) { return t->poPitchCursor = t->poPitchList; }
DBPlayer* team_PitchCurrent(MatchTeam* t) { return t->poPitchCursor; }
DBPlayer* team_PitchNext(MatchTeam* t) {
  if (t->poPitchCursor) t->poPitchCursor = t->poPitchCursor->poNext;
  return t->poPitchCursor;
}
DBPlayer* team_PitchLast(MatchTeam* t) {
  DBPlayer* pDBp = Last(t->poPitchList);
  QDX_ASSERT(pDBp);
  return t->poPitchCursor = pDBp;
}
DBPlayer* team_PitchSeek(MatchTeam* t) { return t->poPitchCursor = Predecessor(t->poPitchList, t->poPitchCursor); }
void team_PitchPrevStep(MatchTeam* t, DBPlayer** pp) {
  t->poPitchCursor = *pp;
  *pp = team_PitchSeek(t);
}
DBPlayer* team_BenchFirst(MatchTeam* t) { return t->poBenchCursor = t->poBenchList; }
DBPlayer* team_BenchCurrent(MatchTeam* t) { return t->poBenchCursor; }
DBPlayer* team_BenchNext(MatchTeam* t) {
  if (t->poBenchCursor) t->poBenchCursor = t->poBenchCursor->poNext;
  return t->poBenchCursor;
}
DBPlayer* team_BenchLast(MatchTeam* t) { return t->poBenchCursor = Last(t->poBenchList); }
DBPlayer* team_BenchSeek(MatchTeam* t) { return t->poBenchCursor = Predecessor(t->poBenchList, t->poBenchCursor); }
void team_BenchPrevStep(MatchTeam* t, DBPlayer** pp) {
  t->poBenchCursor = *pp;
  *pp = team_BenchSeek(t);
}
DBPlayer* team_ReserveFirst(MatchTeam* t) { return t->poReserveCursor = t->poReserveList; }
DBPlayer* team_ReserveCurrent(MatchTeam* t) { return t->poReserveCursor; }
DBPlayer* team_ReserveNext(MatchTeam* t) {
  if (t->poReserveCursor) t->poReserveCursor = t->poReserveCursor->poNext;
  return t->poReserveCursor;
}
DBPlayer* team_ReserveSeek(MatchTeam* t) {
  return t->poReserveCursor = Predecessor(t->poReserveList, t->poReserveCursor);
}
void team_ReservePrevStep(MatchTeam* t, DBPlayer** pp) {
  t->poReserveCursor = *pp;
  *pp = team_ReserveSeek(t);
}

DBPlayer* team_PrevNodeFind(MatchTeam* t, const DBPlayer* poNode) {
  for (DBPlayer* po : {t->poPitchList, t->poBenchList, t->poReserveList}) {
    DBPlayer* p = Predecessor(po, poNode);
    if (p) return p;
  }
  QDX_ASSERT(!"node without predecessor");
  return nullptr;
}

std::int32_t team_IsOnPitch(const MatchTeam* t, const DBPlayer* poNode) {
  for (const DBPlayer* p = t->poPitchList; p; p = p->poNext)
    if (p == poNode) return 1;
  return 0;
}

std::int32_t team_BenchCount(const MatchTeam* pTeam) {
  QDX_ASSERT(pTeam);
  std::int32_t n = 0;
  for (const DBPlayer* p = pTeam->poBenchList; p; p = p->poNext) n++;
  return n;
}

std::int32_t team_ReserveCount(const MatchTeam* t) {
  std::int32_t n = 0;
  for (const DBPlayer* p = t->poReserveList; p; p = p->poNext) n++;
  return n;
}

std::int32_t team_PlayersSwap(MatchTeam* t, DBPlayer* a, DBPlayer* b, std::int32_t bSubstitution) {
  QDX_ASSERT(t);
  if (a == b || !a || !b) return 0;
  List lists[3];
  Collect(t->poPitchList, &lists[0]);
  Collect(t->poBenchList, &lists[1]);
  Collect(t->poReserveList, &lists[2]);
  std::int32_t la = -1, ia = -1, lb = -1, ib = -1;
  for (std::int32_t k = 0; k < 3; k++)
    for (std::int32_t i = 0; i < lists[k].n; i++) {
      if (lists[k].ap[i] == a) la = k, ia = i;
      if (lists[k].ap[i] == b) lb = k, ib = i;
    }
  QDX_ASSERT(la >= 0 && lb >= 0);
  // Nobody suspended comes onto the pitch (the replacement of a suspended
  // starter leaves the pitch, it does not arrive).
  if ((la == 0 && lb != 0 && dbplayer_SuspendedGet(b)) || (lb == 0 && la != 0 && dbplayer_SuspendedGet(a))) return 0;
  lists[la].ap[ia] = b;
  lists[lb].ap[ib] = a;
  t->poPitchList = Relink(&lists[0]);
  t->poBenchList = Relink(&lists[1]);
  t->poReserveList = Relink(&lists[2]);
  if (la == 0 && lb == 0) {
    const FormationSlot* s = a->poSlot;
    a->poSlot = b->poSlot;
    b->poSlot = s;
  } else if (la == 0) {
    b->poSlot = a->poSlot;
    a->poSlot = nullptr;
  } else if (lb == 0) {
    a->poSlot = b->poSlot;
    b->poSlot = nullptr;
  }
  if (bSubstitution) {
    if (la == 0 && lb != 0) dbplayer_SubstitutedSet(a, 1);
    if (lb == 0 && la != 0) dbplayer_SubstitutedSet(b, 1);
  } else if (!s_bSwapKeepsFlags) {
    // The lists are rebuilt from these flags at every set-up: a team-sheet
    // swap moves them with the players so that it survives the kick-off.
    const std::uint32_t fa = a->uFlags & kListFlags, fb = b->uFlags & kListFlags;
    a->uFlags = (a->uFlags & ~kListFlags) | fb;
    b->uFlags = (b->uFlags & ~kListFlags) | fa;
  }
  return 1;
}

std::int32_t team_IsComputerControlled(const MatchTeam* t) {
  for (const User& u : user_aUsers)
    if (u.bActive && u.MyTeam == t->iTeam) return 0;
  return 1;
}

DBPlayer* team_FirstNotInList(MatchTeam* t, const char* pszName) {
  for (DBPlayer* po : {t->poPitchList, t->poBenchList, t->poReserveList})
    for (DBPlayer* p = po; p; p = p->poNext)
      if (std::strcmp(dbplayer_NameGet(p), pszName) == 0) return p;
  return nullptr;
}

DBPlayer* team_PlayerFindByName(MatchTeam* t, const char* pszName) { return team_FirstNotInList(t, pszName); }

void team_FormationSave(MatchTeam* t) {
  t->iSavedFormation = t->iFormation;
  for (DBPlayer* p = t->poPitchList; p; p = p->poNext) p->poSavedSlot = p->poSlot;
}

void team_FormationReset(MatchTeam* pTeam) {
  QDX_ASSERT(pTeam);
  const std::int32_t iSaved = pTeam->iSavedFormation;
  pTeam->iFormation = -1;
  team_SetUp(iSaved, pTeam);
  for (DBPlayer* p = pTeam->poPitchList; p; p = p->poNext) p->poSlot = p->poSavedSlot;
  const FormationSlot* poRecord = formation_RecordGet(iSaved);
  bool bFull = true;
  for (std::int32_t s = 0; s < FORMATION_SLOTS; s++) {
    bool bHeld = false;
    for (DBPlayer* p = pTeam->poPitchList; p; p = p->poNext) bHeld = bHeld || p->poSlot == &poRecord[s];
    bFull = bFull && bHeld;
  }
  if (!bFull) {
    pTeam->iFormation = -1;
    team_SetUp(iSaved, pTeam);
    team_FormationSave(pTeam);
    return;
  }
  RelinkBySlot(pTeam, poRecord);
  pTeam->iFormation = iSaved;
}

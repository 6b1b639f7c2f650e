// The match record and the services kept with it.
#include "matchflow/matcha.h"

#include <cstring>
#include <initializer_list>

#include "audio/audio_services.h"
#include "engine/player.h"
#include "framework/math/qmath.h"
#include "framework/qdx_assert.h"
#include "matchflow/gstatso.h"
#include "shell/global.h"
#include "shell/user.h"
#include "tournament/tla.h"

Match match;
DBPlayer match_aHomeSquad[TEAM_SQUADSIZE_MAX];
DBPlayer match_aAwaySquad[TEAM_SQUADSIZE_MAX];
std::int32_t match_aiRemovals[2];

namespace {

std::int32_t match_bBenchAway = 0;    // the bench walk has stepped over to the away list
std::int32_t match_bReserveAway = 0;

void ClubStateSet(MatchTeam* poTeam, std::int32_t iState) {
  poTeam->iPrevClubState = poTeam->iClubState;
  poTeam->iClubState = iState;
  for (Player* pp = poTeam->poPlayers; pp; pp = pp->pNext) pp->oAIInfo.bIsAttacking = iState == 0;
}

void SquadCopy(MatchTeam* poTeam, Squad* poSquad) {
  for (std::int32_t i = 0; i < poSquad->Size; i++) {
    DBPlayer& o = poTeam->MySquad[i];
    o = poSquad->poFirstPlayer[i];
    o.poSlot = o.poSavedSlot = nullptr;
    o.poNext = nullptr;
  }
}

}  // namespace

void match_SquadBuffersPoint() {
  match.HomeTeam.MySquad = match_aHomeSquad;
  match.AwayTeam.MySquad = match_aAwaySquad;
}

MatchTeam* match_HomeTeamGet() { return &match.HomeTeam; }
MatchTeam* match_AwayTeamGet() { return &match.AwayTeam; }
Player* match_HomeFirstPlayerGet() { return match.HomeTeam.poPlayers; }
Player* match_HomeFirstPlayerGet2() { return match.HomeTeam.poPlayers; }
Player* match_AwayFirstPlayerGet() { return match.AwayTeam.poPlayers; }

Player* match_NextPlayerGet(Player* pp) {
  if (!pp) return nullptr;
  if (pp->pNext) return pp->pNext;
  return pp->MyTeam == player_PlaysFor_Home ? match.AwayTeam.poPlayers : nullptr;
}

Player* match_TeamNextPlayerGet(Player* pp) { return pp ? pp->pNext : nullptr; }
Player* match_TeamNextPlayerGet2(Player* pp) { return pp ? pp->pNext : nullptr; }

Player* match_StateTeamFirstPlayerGet() {
  return match.HomeTeam.iClubState != 0 ? match.AwayTeam.poPlayers : match.HomeTeam.poPlayers;
}

Player* match_OtherTeamFirstPlayerGet() {
  return match.HomeTeam.iClubState == 1 ? match.HomeTeam.poPlayers : match.AwayTeam.poPlayers;
}

Player* match_StateTeamFirstKeeperGet() {
  Player* pp = match_StateTeamFirstPlayerGet();
  while (pp && !roles_IsGoalkeeper(pp)) pp = pp->pNext;
  QDX_ASSERT(pp);
  return pp;
}

std::int32_t match_HomeClubStateGet() { return match.HomeTeam.iClubState; }
std::int32_t match_AwayClubStateGet() { return match.AwayTeam.iClubState; }

void match_HomeClubStateSet(std::int32_t HomeClubState) {
  QDX_ASSERT(HomeClubState < match_State_MaxStates);
  ClubStateSet(&match.HomeTeam, HomeClubState);
}

void match_AwayClubStateSet(std::int32_t AwayClubState) {
  QDX_ASSERT(AwayClubState < match_State_MaxStates);
  ClubStateSet(&match.AwayTeam, AwayClubState);
}

std::int32_t match_HomeKickOffFlagGet() { return match.HomeTeam.KickOff; }
std::int32_t match_AwayKickOffFlagGet() { return match.AwayTeam.KickOff; }
void match_HomeKickOffFlagSet(std::int32_t iFlag) { match.HomeTeam.KickOff = iFlag; }
void match_AwayKickOffFlagSet(std::int32_t iFlag) { match.AwayTeam.KickOff = iFlag; }
std::int32_t match_CoinTossGet() { return match.CoinToss; }
void match_CoinTossSet(std::int32_t iToss) { match.CoinToss = iToss; }

void match_HomeGoalScored() {
  match.HomeGoals++;
  crowd_ReactGoal();
  crowd_ChooseTrack(0);
  if (referee_GoldenGoalGet()) referee_MatchOverSet(1);
}

void match_AwayGoalScored() {
  match.AwayGoals++;
  crowd_ReactGoal();
  crowd_ChooseTrack(1);
  if (referee_GoldenGoalGet()) referee_MatchOverSet(1);
}

std::int32_t match_iGoalDifferenceGet(const MatchTeam* poTeam) {
  if (poTeam == &match.HomeTeam) return match.HomeGoals - match.AwayGoals;
  return match.AwayGoals - match.HomeGoals;
}

void match_HomeSquadSet(Squad* pHomeSquad) {
  match.HomeTeam.Squad = pHomeSquad;
  match.HomeTeam.iTeam = player_PlaysFor_Home;
  if (!pHomeSquad) {
    match.HomeTeam.iSquadSize = 0;
    return;
  }
  QDX_ASSERT(pHomeSquad->Size <= TEAM_SQUADSIZE_MAX);
  match.HomeTeam.iSquadSize = pHomeSquad->Size;
  QDX_ASSERT(match.HomeTeam.MySquad);
  SquadCopy(&match.HomeTeam, pHomeSquad);
}

void match_AwaySquadSet(Squad* pAwaySquad) {
  match.AwayTeam.Squad = pAwaySquad;
  match.AwayTeam.iTeam = player_PlaysFor_Away;
  if (!pAwaySquad) {
    match.AwayTeam.iSquadSize = 0;
    return;
  }
  QDX_ASSERT(pAwaySquad->Size <= TEAM_SQUADSIZE_MAX);
  match.AwayTeam.iSquadSize = pAwaySquad->Size;
  QDX_ASSERT(match.AwayTeam.MySquad);
  SquadCopy(&match.AwayTeam, pAwaySquad);
}

void match_SquadsCopyBack() {
  for (MatchTeam* t : {&match.HomeTeam, &match.AwayTeam}) {
    if (!t->Squad || !t->MySquad) continue;
    const std::int32_t n = t->iSquadSize < t->Squad->Size ? t->iSquadSize : t->Squad->Size;
    for (std::int32_t i = 0; i < n; i++)
      std::memcpy(&t->Squad->poFirstPlayer[i], &t->MySquad[i], DBPLAYER_FILE_SIZE);
  }
}

Squad* match_SquadGet(const MatchTeam* poTeam) { return poTeam->Squad; }
std::int32_t match_TeamIdGet(const MatchTeam* poTeam) { return poTeam->Squad ? poTeam->Squad->iTeamId : 0; }
std::int32_t match_TeamYearGet(const MatchTeam* poTeam) { return poTeam->Squad ? poTeam->Squad->iEdition : 0; }
const char* match_TeamNameGet(const MatchTeam* poTeam) { return tla_ShortNameGet(match_TeamIdGet(poTeam)); }

DBPlayer* match_BenchFirstGet() {
  match_bBenchAway = 0;
  if (match.HomeTeam.poBenchList) return match.HomeTeam.poBenchList;
  match_bBenchAway = 1;
  return match.AwayTeam.poBenchList;
}

DBPlayer* match_BenchNextGet(DBPlayer* poEntry) {
  if (poEntry && poEntry->poNext) return poEntry->poNext;
  if (match_bBenchAway) return nullptr;
  match_bBenchAway = 1;
  return match.AwayTeam.poBenchList;
}

DBPlayer* match_ReserveFirstGet() {
  match_bReserveAway = 0;
  if (match.HomeTeam.poReserveList) return match.HomeTeam.poReserveList;
  match_bReserveAway = 1;
  return match.AwayTeam.poReserveList;
}

DBPlayer* match_ReserveNextGet(DBPlayer* poEntry) {
  if (poEntry && poEntry->poNext) return poEntry->poNext;
  if (match_bReserveAway) return nullptr;
  match_bReserveAway = 1;
  return match.AwayTeam.poReserveList;
}

void match_PlayerRemove(Player* pp) {
  QDX_ASSERT(pp);
  const std::int32_t iSide = pp->MyTeam == player_PlaysFor_Home ? 0 : 1;
  MatchTeam* t = iSide == 0 ? &match.HomeTeam : &match.AwayTeam;
  // The first record (the goalkeeper's) is never taken off, and a player no
  // longer in the chain has nothing to unlink.
  if (!t->poPlayers || t->poPlayers == pp) return;
  Player* poPrev = t->poPlayers;
  while (poPrev->pNext && poPrev->pNext != pp) poPrev = poPrev->pNext;
  if (poPrev->pNext != pp) return;
  poPrev->pNext = pp->pNext;
  pp->pNext = nullptr;
  if (++match_aiRemovals[iSide] == MATCH_REMOVALS_NO_SEND_OFFS) referee_NoSendOffsSet();
  if (pp->Control == PLAYER_CONTROL_USER && pp->pUser) user_PlayerRelease(pp->pUser);
}

void match_KickOffSetup() {
  cpuman_Arm();
  match_aiRemovals[0] = match_aiRemovals[1] = 0;
  referee_NoSendOffsClear();
  referee_MatchOverSet(0);
  referee_GoldenGoalSet(0);
  team_FormationReset(&match.HomeTeam);
  if (global_eGetExtendedGameMode() != GAME_MODE_START_TRAINING) {
    team_FormationReset(&match.AwayTeam);
    match.CoinToss = static_cast<std::int32_t>(QMathRandNext() & 1);
    const std::int32_t iHome = match.CoinToss == 1 ? 0 : 1;
    for (int k = 0; k < 2; k++) {
      match_HomeClubStateSet(iHome);
      match_AwayClubStateSet(1 - iHome);
    }
    if (QMathRandNext() & 1) {
      match.HomeTeam.KickOff = 0;
      match.AwayTeam.KickOff = 1;
    } else {
      match.AwayTeam.KickOff = 0;
      match.HomeTeam.KickOff = 1;
    }
    team_PlayersLink(&match.HomeTeam, &match.AwayTeam);
  } else {
    for (int k = 0; k < 2; k++) {
      match_HomeClubStateSet(0);
      match_AwayClubStateSet(1);
    }
    match.HomeTeam.KickOff = 0;
    match.AwayTeam.KickOff = 1;
    team_PlayersLink(&match.HomeTeam, nullptr);
  }
  refact_Init();
  gstatso_Clear(&match.HomeTeam.MatchStats);
  gstatso_Clear(&match.AwayTeam.MatchStats);
  match.HomeTeam.SubRequest = 0;
  match.AwayTeam.SubRequest = 0;
}

void match_Clear() {
  match.HomeTeam.poPlayers = nullptr;
  match.AwayTeam.poPlayers = nullptr;
  team_PresentationFlagSet(&match.HomeTeam, 0);
  team_PresentationFlagSet(&match.AwayTeam, 0);
  match.HomeGoals = 0;
  match.AwayGoals = 0;
}

std::int32_t match_NearestOtherPlayerFind(Player* pp, std::int32_t x, std::int32_t y, Player** ppFound) {
  const std::int32_t iReach = 960 + PlayerO_Attr52Get(pp) * 1440 / 100;
  std::int32_t iBest = 14400;
  Player* poBest = nullptr;
  for (Player* p = match_StateTeamFirstPlayerGet(); p; p = match_TeamNextPlayerGet(p)) {
    if (p == pp) continue;
    const std::int32_t dx = p->x - x, dy = p->y - y;
    const std::int32_t d = QMathISqrt(dx * dx + dy * dy);
    if (d < iReach && d < iBest) {
      iBest = d;
      poBest = p;
    }
  }
  if (ppFound) *ppFound = poBest;
  return poBest ? 1 : 0;
}

void match_PlayerMarkClear(Player* pp) {
  pp->aiMarking[0] = 0;
  pp->aiMarking[1] = 0;
  pp->aiMarking[2] = 0;
}

void match_ScoreClockDraw() {}

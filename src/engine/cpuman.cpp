// The computer team manager and the position names.
#include "engine/cpuman.h"

#include "engine/engine_services.h"
#include "engine/player.h"
#include "engine/team.h"
#include "engine/zone.h"
#include "shell/global.h"
#include "shell/texts.h"
#include "tournament/dbplayer.h"

// What the manager asks of the match flow: the clock, the substitution
// queue and the frame drawn while it decides.
std::int32_t clock_MinuteGet();
std::int32_t match_iGoalDifferenceGet(const MatchTeam* poTeam);
std::int32_t subs_Queue(MatchTeam* poTeam, DBPlayer* poFirst, DBPlayer* poSecond);
std::int32_t subs_QueuedCount();
void subs_ScriptPush();
void game_MatchFrameNoSim();

namespace {

struct CpumanState {
  std::int32_t bArmed = 0;
  std::int32_t bPending = 0;
  MatchTeam* poPendingTeam = nullptr;
  std::int32_t iPendingFormation = -1;
  std::int32_t bModeFlag = 0;
};
CpumanState s;

constexpr std::int32_t kLastKindOneMinute = 75;
constexpr std::int32_t kFirstMinute = 55;

// The on-pitch database player whose slot plays the position.
DBPlayer* PitchPlayerAt(MatchTeam* poTeam, std::int32_t iCode) {
  for (DBPlayer* p = poTeam->poPitchList; p; p = p->poNext)
    if (p->poSlot && p->poSlot->iPosition == iCode) return p;
  return nullptr;
}

// A bench player not yet substituted (nor suspended) for the wanted
// position: one who plays it, else the first whose first preference fits.
DBPlayer* BenchPlayerFor(MatchTeam* poTeam, std::int32_t iWanted) {
  auto free = [](const DBPlayer* p) { return !dbplayer_SubstitutedGet(p) && !dbplayer_SuspendedGet(p); };
  for (DBPlayer* p = poTeam->poBenchList; p; p = p->poNext)
    if (free(p) && dbplayer_FirstPositionGet(p) == iWanted) return p;
  for (DBPlayer* p = poTeam->poBenchList; p; p = p->poNext)
    if (free(p) && team_PositionCompatible(iWanted, dbplayer_FirstPositionGet(p))) return p;
  return nullptr;
}

}  // namespace

void cpuman_Arm() {
  s = CpumanState{};
  s.bArmed = 1;
}

std::int32_t cpuman_bArmed() { return s.bArmed; }

const std::int32_t* cpuman_RowFind(std::int32_t iFormation) {
  for (std::int32_t i = 0; i < CPUMAN_ROWS + 1 && cpuman_aTable[i][0] >= 0; i++)
    if (cpuman_aTable[i][0] == iFormation) return cpuman_aTable[i];
  return nullptr;
}

void cpuman_Change(MatchTeam* poTeam, std::int32_t iKind) {
  if (global_eGetExtendedGameMode() == GAME_MODE_START_TRAINING) return;
  const std::int32_t* piRow = cpuman_RowFind(poTeam->iFormation);
  if (!piRow) return;
  const std::int32_t* piKind = piRow + 1 + (iKind == 1 ? 0 : CPUMAN_KIND_WORDS);
  for (std::int32_t i = 0; i < CPUMAN_ENTRIES; i++) {
    const std::int32_t* e = piKind + 1 + 3 * i;
    if (e[1] != 2) continue;
    if (team_SubsAllowedGet(poTeam) <= 0) break;
    DBPlayer* poOut = PitchPlayerAt(poTeam, e[0]);
    if (!poOut) break;
    DBPlayer* poIn = BenchPlayerFor(poTeam, e[2]);
    if (!poIn) continue;
    subs_Queue(poTeam, poOut, poIn);
  }
  s.bPending = 1;
  s.poPendingTeam = poTeam;
  s.iPendingFormation = piKind[0];
}

void cpuman_Update(MatchTeam* poTeam) {
  if (!s.bArmed || !poTeam) return;
  const std::int32_t iMinute = clock_MinuteGet();
  if (iMinute <= kFirstMinute) return;
  const std::int32_t d = match_iGoalDifferenceGet(poTeam);
  std::int32_t iKind;
  if (iMinute <= kLastKindOneMinute) {
    if (d > 0) return;
    iKind = 1;
  } else {
    if (d <= 0) return;
    iKind = 2;
  }
  cpuman_Change(poTeam, iKind);
  s.bArmed = 0;
  // Decided at a free kick (not in the manager's mode): the formation now,
  // the substitutes after the set piece.
  if (global_eGetGameMode() != GAME_MODE_CPU_SUBS) {
    cpuman_FormationApply();
    subs_ScriptPush();
  }
}

void cpuman_TeamFormationSet(MatchTeam* poTeam, std::int32_t iFormation) {
  team_FormationApply(poTeam, iFormation);
  poTeam->iFormation = iFormation;
  for (Player* pp = poTeam->poPlayers; pp; pp = pp->pNext) {
    const FormationSlot* ps = pp->pDBPlayer ? pp->pDBPlayer->poSlot : nullptr;
    if (!ps) continue;
    pp->PositionCode = ps->iPosition;
    roles_RoleSet(pp, ps->iPosition, ps->iRoleFlip);
  }
}

void cpuman_FormationApply() {
  if (!s.bPending) return;
  s.bPending = 0;
  if (s.poPendingTeam && s.iPendingFormation >= 0) cpuman_TeamFormationSet(s.poPendingTeam, s.iPendingFormation);
}

std::int32_t cpuman_PendingGet(MatchTeam** ppoTeam, std::int32_t* piFormation) {
  if (ppoTeam) *ppoTeam = s.poPendingTeam;
  if (piFormation) *piFormation = s.iPendingFormation;
  return s.bPending;
}

void cpuman_ModeInit() { s.bModeFlag = global_eGetGameMode() == GAME_MODE_SET_PIECE_SCRIPT ? 1 : 0; }

void cpuman_ModeRun() {
  if (!s.bModeFlag) {
    MatchTeam* apo[2] = {match_HomeTeamGet(), match_AwayTeamGet()};
    for (MatchTeam* po : apo)
      if (po && team_IsComputerControlled(po)) cpuman_Update(po);
    s.bModeFlag = 1;
  } else {
    cpuman_FormationApply();
    s.bModeFlag = 0;
    if (subs_QueuedCount() > 0) {
      // Leaves at once: the substitution script takes the mode's place.
      global_GameModePop();
      subs_ScriptPush();
    } else {
      global_GameModePopRequest();
    }
  }
  game_MatchFrameNoSim();
}

std::int32_t formation_PositionStrIdGet(std::int32_t iCode) {
  switch (iCode) {
    case 0: return 1;
    case 1: return 3;
    case 2: case 7: case 8: case 12: case 13: return 2;
    case 3: case 9: case 18: return 6;
    case 4: case 10: case 15: case 16: case 17: return 4;
    case 5: case 19: case 20: case 21: case 22: case 23: return 5;
    case 6: return 9;
    case 11: return 10;
    case 14: return 11;
    case 24: return 12;
    default: return 8;
  }
}

const char* formation_PositionStrGet(std::int32_t iCode) { return glstr_IDToStr(formation_PositionStrIdGet(iCode)); }

// The engine test match.
#include "engine_env.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "engine/action.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/chaser.h"
#include "engine/target.h"
#include "engine/engine_services.h"
#include "engine/colmodl.h"
#include "engine/move.h"
#include "engine/newgoalo.h"
#include "engine/refact.h"
#include "engine/referee.h"
#include "engine/team.h"
#include "framework/math/qmath.h"
#include "matchflow/clock.h"
#include "matchflow/matcha.h"
#include "shell/global.h"
#include "shell/vsync.h"
#include "shell/user.h"
#include "shell/usrmark.h"
#include "tournament/dbindex.h"
#include "tournament/dbplayer.h"
#include "tournament/squad.h"

static DBPlayer s_aoDb[PLAYER_MAX];
static FormationSlot s_aoSlots[PLAYER_MAX];

// A 4-4-2 for the side attacking toward +x; the other side is mirrored.
static const std::int32_t s_aaiSpots[PLAYER_TEAM_SIZE][2] = {
    {-8800, 0},     {-5600, -3600}, {-6000, -1200}, {-6000, 1200}, {-5600, 3600}, {-2400, -3800},
    {-2800, -1200}, {-2800, 1200},  {-2400, 3800},  {-600, -900},  {-900, 900},
};

Player* EnginePlayer(std::int32_t iId) { return iId < PLAYER_TEAM_SIZE ? &player_aHome[iId] : &player_aAway[iId - PLAYER_TEAM_SIZE]; }
DBPlayer* EngineDbPlayer(std::int32_t iId) { return &s_aoDb[iId]; }

void EnginePlace(Player* pp, std::int32_t x, std::int32_t y, std::int32_t iFacing) {
  pp->x = static_cast<std::int16_t>(x);
  pp->y = static_cast<std::int16_t>(y);
  pp->height = 0;
  pp->iFacing = static_cast<std::int16_t>(iFacing);
  pp->uWantedFacing = static_cast<std::uint16_t>(iFacing);
  pp->iDisplayFacing = static_cast<std::int16_t>(iFacing);
  pp->oAnimInfo.uHeading = static_cast<std::uint32_t>(iFacing);
  pp->iSpeed = 0;
  pp->iWantedSpeed = 0;
  pp->iTurnStep = 0;
  anim_TargetPointSet(&pp->oAnimInfo, x, y);
}

namespace {

// Brazil and Italy of 1970 from the generated database: each squad decoded
// from its block, handed to its side and set up in its formation; the
// pitch players in slot order.
void RealSquadsSet(DBPlayer** apoOut) {
  const char* pszBuild = std::getenv("KORVENA_BUILD_DIR");
  std::ifstream in(std::string(pszBuild ? pszBuild : ".") + "/data/database/dump/dump.dat", std::ios::binary);
  const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::int32_t aiTeams[2] = {144, 88};
  match_SquadBuffersPoint();
  for (std::int32_t k = 0; k < 2; k++) {
    const DBTeamEditions* t = dbteams_Find(aiTeams[k]);
    const std::uint32_t uOff = director_DumpBlockOffsetGet(t->iNumber * DB_KEY_STEP, 3);
    const std::uint32_t uSize = director_DumpBlockSizeGet(t->iNumber * DB_KEY_STEP, 3);
    static DBPlayer aBlock[TEAM_SQUADSIZE_MAX];
    std::int32_t n = 0;
    if (uOff + uSize > file.size() ||
        !squadcache_BlockDecode(&file[uOff], static_cast<std::int32_t>(uSize), aBlock, TEAM_SQUADSIZE_MAX, &n)) {
      std::fprintf(stderr, "engine harness: no database at %s\n", pszBuild ? pszBuild : ".");
      std::abort();
    }
    squadcache_SlotSet("", aiTeams[k], aBlock, n, 3, k);
    MatchTeam* poTeam = k == 0 ? match_HomeTeamGet() : match_AwayTeamGet();
    if (k == 0) match_HomeSquadSet(squadcache_SlotGet(0));
    else match_AwaySquadSet(squadcache_SlotGet(1));
    poTeam->iFormation = -1;
    team_SetUp(t->aiFormation[3], poTeam);
    team_NumbersFromSlots(poTeam);
    DBPlayer* p = poTeam->poPitchList;
    for (std::int32_t i = 0; i < PLAYER_TEAM_SIZE && p; i++, p = p->poNext) apoOut[k * PLAYER_TEAM_SIZE + i] = p;
  }
}

// Takes every player without steering him: the scripted orders stand.
ActionNode* KeepOrders(ActionNode* poList) {
  while (poList) poList = director_ListUnlink(poList);
  return nullptr;
}

void Setup(bool bRealSquads) {
  action_TableInit();
  for (ActionHandler& h : action_apfnHandlers)
    if (h) h = KeepOrders;
  QMathRandState oState;
  QMathRandStateInitial(&oState);
  QMathRandStateRestore(&oState);
  global_SetGameMode(GAME_MODE_PLAY);
  global_SetExtendedGameMode(GAME_MODE_PLAY);
  global_SpareFlagSet(0);
  engine_MatchClockSet(0);
  anim_TableInit();
  move_oTackle = MoveTackleState{};
  game_UsersReset();
  usrmark_PoolInit();
  // The ball at rest on the centre spot with no flight, path or chasers.
  ball_Init(&ball_oBall);
  ball_Release(&ball_oBall);
  ball_PlaceAt(&ball_oBall, 0, 0, 0);
  ball_oBall.iState = BALL_STATE_FREE;
  ball_iPathLength = 0;
  ball_iPathApex = 0;
  ball_iPathIndex = 0;
  ball_iPathCursor = 0;
  ball_iStepCounter = 0;
  ball_OutcomeClear();
  chaser_Clear();
  newgoalo_PoolReset();
  target_Clear();
  // The frame counter runs on from the last match, far enough that nothing
  // timed against it (the deflection sound) remembers that match.
  vsync_iFrame += 1000;

  MatchTeam* poHome = match_HomeTeamGet();
  MatchTeam* poAway = match_AwayTeamGet();
  poHome->poPlayers = &player_aHome[0];
  poAway->poPlayers = &player_aAway[0];
  poHome->KickOff = 0;  // home attacks toward +x
  poAway->KickOff = 1;
  DBPlayer* apoReal[PLAYER_MAX] = {};
  if (bRealSquads) RealSquadsSet(apoReal);
  poHome->iTeam = 1;
  poAway->iTeam = 2;
  for (std::int32_t i = 0; i < PLAYER_MAX; i++) {
    DBPlayer& db = s_aoDb[i];
    db = DBPlayer{};
    std::snprintf(db.szName, sizeof db.szName, "Player %d", i);
    std::int32_t k = i % PLAYER_TEAM_SIZE;
    // Varied but fixed skills.
    db.uSpeed = static_cast<std::uint8_t>(50 + (i * 7) % 45);
    db.uControl = static_cast<std::uint8_t>(40 + (i * 11) % 55);
    db.uTackling = static_cast<std::uint8_t>(30 + (i * 13) % 65);
    db.iStamina = static_cast<std::int8_t>(60 + (i * 3) % 40);
    db.uReactions = 70;
    db.uHandling = static_cast<std::uint8_t>(45 + (i * 5) % 50);
    db.uDiving = static_cast<std::uint8_t>(40 + (i * 17) % 55);
    db.uAwareness = 60;
    FormationSlot& s = s_aoSlots[i];
    s = FormationSlot{k, 0, k == 0 ? 0 : 1 + (k % 24), 0, 0, 0, k + 1};
    db.poSlot = &s;
    Player* pp = EnginePlayer(i);
    *pp = Player{};
    pp->ID = static_cast<std::uint8_t>(i);
    pp->MyTeam = i < PLAYER_TEAM_SIZE ? player_PlaysFor_Home : player_PlaysFor_Away;
    pp->pDBPlayer = bRealSquads ? apoReal[i] : &db;
    pp->pNext = k + 1 < PLAYER_TEAM_SIZE ? EnginePlayer(i + 1) : nullptr;
    pp->iInterceptEntry = -1;
  }
  match_HomeClubStateSet(0);
  match_HomeClubStateSet(0);
  match_AwayClubStateSet(1);
  match_AwayClubStateSet(1);
  for (std::int32_t i = 0; i < PLAYER_MAX; i++) {
    Player* pp = EnginePlayer(i);
    plyrInit_KickOffInit(pp, PLAYER_CONTROL_COMPUTER);
    std::int32_t k = i % PLAYER_TEAM_SIZE;
    std::int32_t sx = s_aaiSpots[k][0], sy = s_aaiSpots[k][1];
    if (pp->Direction == 0) {
      sx = -sx;
      sy = -sy;
    }
    EnginePlace(pp, sx, sy, pp->Direction == 1 ? 0 : 401);
    if (k == 0) {
      move_RequestPlay(pp, ANIM_GOALIE_STANCE);
      PlayerO_MoveStateSet(pp, MOVE_STATE_KEEPER_IDLE);
    }
  }
  match_HomeClubStateSet(0);
  match_AwayClubStateSet(1);

  // The referee as the kick-off set-up places him; he follows play. Restarts
  // he pushed in an earlier set-up are gone.
  global_ResetGameModeStack();
  refact_Init();
  referee_DecisionClear();
  referee_DecisionUnlock();
  referee_FoulLatchClear();
}

}  // namespace

void EngineMatchSetup() { Setup(false); }
void EngineMatchSetupFromSquads() { Setup(true); }

// The harness sets the match clock directly (ticks are thirtieths of a second).
void engine_MatchClockSet(std::int32_t iTicks) { clock_oClock.iClock = iTicks; }

void EngineTick() {
  vsync_iFrame++;
  player_FrameUpdate();
  anim_BallAtHolderPlace();
}

static void Mix(std::uint64_t& h, std::int64_t v) {
  h ^= static_cast<std::uint64_t>(v);
  h *= 0x100000001B3ull;
}

std::uint64_t EngineStateHash() {
  std::uint64_t h = 0xCBF29CE484222325ull;
  auto one = [&](const Player* pp) {
    Mix(h, pp->ID);
    Mix(h, pp->MoveState);
    Mix(h, pp->oAnimData.eActionAnim);
    Mix(h, pp->oAnimData.uPos);
    Mix(h, pp->oAnimData.uFlags);
    Mix(h, pp->oAnimInfo.eActionAnim);
    Mix(h, pp->x);
    Mix(h, pp->y);
    Mix(h, pp->height);
    Mix(h, pp->iFacing);
    Mix(h, pp->uWantedFacing);
    Mix(h, pp->iDisplayFacing);
    Mix(h, pp->iSpeed);
    Mix(h, pp->iWantedSpeed);
    Mix(h, pp->uStamina);
    Mix(h, pp->uPower);
    Mix(h, pp->iKnocks);
    Mix(h, pp->oTouch.iState);
  };
  for (std::int32_t i = 0; i < PLAYER_MAX; i++) one(EnginePlayer(i));
  one(&player_oReferee);
  Mix(h, ball_oBall.iX128);
  Mix(h, ball_oBall.iHeight128);
  Mix(h, ball_oBall.iY128);
  Mix(h, ball_oBall.poOwner ? ball_oBall.poOwner->ID : -1);
  // The keepers' machines and the joints their body test reads.
  for (std::int32_t k : {0, PLAYER_TEAM_SIZE}) {
    const GoalieObject* g = EnginePlayer(k)->pGoalie;
    if (!g) continue;
    Mix(h, g->eState);
    Mix(h, g->iSaveRow);
    Mix(h, g->iSaveColumn);
    Mix(h, g->iFrameCount);
  }
  for (const auto& a : colmodl_aiHomeKeeperJoints)
    for (std::int32_t v : a) Mix(h, v);
  for (const auto& a : colmodl_aiAwayKeeperJoints)
    for (std::int32_t v : a) Mix(h, v);
  return h;
}

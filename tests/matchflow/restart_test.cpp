// The restart modes over the engine's test match: one user on a port whose
// queue the tests fill with events; the referee's decisions walked through
// the game-mode stack to open play; the play-on countdown and the standing
// pause; the throw-in's kind and thrower, the goal kick's charge and the
// keeper's ball aim.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "../engine/engine_env.h"
#include "engine/action.h"
#include "engine/ball.h"
#include "engine/newballA.h"
#include "engine/newgoal.h"
#include "engine/newgoalo.h"
#include "engine/player.h"
#include "engine/referee.h"
#include "engine/target.h"
#include "engine/anim.h"
#include "engine/setp.h"
#include "framework/qdx_input.h"
#include "matchflow/gauge.h"
#include "matchflow/matcha.h"
#include "matchflow/restart.h"
#include "matchflow/usrctl.h"
#include "matchflow/usrctl_services.h"
#include "platform/platform.h"
#include "shell/game.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/user.h"
#include "shell/usrmark.h"
#include "shell/vsync.h"
#include "support/input_ports.h"

// The pause menu as the tests see it: the last resume operation.
static UsrctlResumeFn g_pfnResume = nullptr;
static int g_cPauseOpened = 0;
void pausemenu_Open(User*, UsrctlResumeFn pfn) {
  ++g_cPauseOpened;
  g_pfnResume = pfn;
}

namespace {

InputWidgetState s_oStick;

// A loose ball last played by a player, its last step from a to b.
void Loose(Player* pp, std::int32_t ax, std::int32_t ay, std::int32_t bx, std::int32_t by) {
  Ball* pb = &ball_oBall;
  pb->poOwner = nullptr;
  pb->poPrevOwner = pp;
  pb->pplyrWhoKicked = pp;
  pb->poLastPlayer = pp;
  pb->iStepStartX = ax;
  pb->iStepStartHeight = 100;
  pb->iStepStartY = ay;
  pb->iX128 = bx * 128;
  pb->iHeight128 = 100 * 128;
  pb->iY128 = by * 128;
}


class Restart : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { korvena_test::InputPortsUp(); }
  void SetUp() override {
    EngineMatchSetup();
    usrctl_Reset();
    vsync_Init();
    g_cPauseOpened = 0;
    g_pfnResume = nullptr;
    restart_oState = RestartState{};
    s_oStick = InputWidgetState{};
    for (std::int32_t i = 0; i < PLAYER_MAX; i++) EnginePlayer(i)->oAIInfo.bIsAttacking = i < PLAYER_TEAM_SIZE;
    korvena_test::HomeUserUp(&pusr);
    user_PlayerSet(pusr, EnginePlayer(9));
    referee_DecisionClear();
    referee_DecisionUnlock();
    referee_FoulLatchClear();
    global_ResetGameModeStack();
    global_GameModePush(nullptr, GAME_MODE_PLAY, nullptr);
    global_GameModeTransition();
  }
  void TearDown() override {
    input_EventQueueFlush(&Port().oEvents);
    global_ResetGameModeStack();
  }
  static InputPort& Port() { return *input_poGetPort(0); }
  // The referee gives the home side a throw-in (his club states then say
  // the home side restarts); the stack is back to open play.
  static void HomeRestarts() {
    Loose(EnginePlayer(14), 0, 5700, 0, 5800);
    referee_Update(REFEREE_EVENT_TOUCH, 0, 5800);
    ASSERT_EQ(referee_HomeClubStateGet(), 0);
    referee_DecisionUnlock();
    global_ResetGameModeStack();
    global_GameModePush(nullptr, GAME_MODE_PLAY, nullptr);
    global_GameModeTransition();
  }
  void Queue(std::vector<std::int32_t> aeEvents) { korvena_test::EventsQueue(&Port(), &s_oStick, aeEvents); }
  static void StickSet(std::int32_t iDegrees, std::int32_t iMagnitude) {
    s_oStick.iCurrent = korvena_test::StickWord(iDegrees, iMagnitude);
  }
  User* pusr = nullptr;
};

// ---- The mode sequence from each decision to open play -----------------------------------

// Walks the stack: each mode that becomes current (its enter run) is
// recorded and then asked to pop, until open play is current again.
std::vector<std::int32_t> WalkToOpenPlay() {
  std::vector<std::int32_t> a;
  global_GameModeTransition();
  for (int i = 0; i < 16 && global_eGetGameMode() != GAME_MODE_PLAY; i++) {
    a.push_back(global_eGetGameMode());
    global_GameModePopRequest();
    global_GameModeTransition();
  }
  return a;
}

bool Computer() {
  return team_IsComputerControlled(match_HomeTeamGet()) || team_IsComputerControlled(match_AwayTeamGet());
}

std::vector<std::int32_t> WithCpuPause(std::vector<std::int32_t> a) {
  if (Computer()) a.insert(a.begin(), {36, 85});  // the computer's substitution pause first
  return a;
}

TEST_F(Restart, EachDecisionWalksItsModesBackToOpenPlay) {
  struct Case {
    const char* pszName;
    void (*pfnStage)();
    std::vector<std::int32_t> aeModes;
    bool bCpuPause;
  };
  const Case aCases[] = {
      {"throw-in",
       [] {
         Loose(EnginePlayer(14), 1000, 5700, 1000, 5800);
         referee_Update(REFEREE_EVENT_TOUCH, 1000, 5800);
       },
       {82, 40},
       true},
      {"corner",
       [] {
         Loose(EnginePlayer(14), 9300, 2000, 9400, 2000);
         referee_Update(REFEREE_EVENT_GOAL_LINE_RIGHT, 9400, 2000);
       },
       {82, 27, 86},
       true},
      {"goal kick",
       [] {
         Loose(EnginePlayer(4), 9300, 2000, 9400, 2000);
         referee_Update(REFEREE_EVENT_GOAL_LINE_RIGHT, 9400, 2000);
       },
       {36, 26},
       true},
      {"free kick",
       [] {
         referee_CardDecide(EnginePlayer(15), EnginePlayer(6), 10);
         referee_FouledSet(EnginePlayer(6));
         referee_Update(REFEREE_EVENT_FOUL, 0, 0);
       },
       {82, 44, 86},
       false},
      {"penalty",
       [] {
         EnginePlace(EnginePlayer(9), 8000, 0, 0);
         referee_CardDecide(EnginePlayer(15), EnginePlayer(9), 10);
         referee_FouledSet(EnginePlayer(9));
         referee_Update(REFEREE_EVENT_FOUL, 8000, 0);
       },
       {82, 58, 86},
       false},
      {"offside",
       [] {
         referee_CardDecide(EnginePlayer(10), nullptr, 0);
         referee_Update(REFEREE_EVENT_OFFSIDE, 3000, 0);
       },
       {82, 44, 86},
       false},
      {"keeper's hands",
       [] { referee_Update(REFEREE_EVENT_KEEPER_HOLDS, 0, 0); },
       {80},
       false},
      {"goal",
       [] {
         Loose(EnginePlayer(9), 9300, 0, 9450, 0);
         referee_Update(REFEREE_EVENT_GOAL_LINE_RIGHT, 9450, 0);
       },
       {36, 64},
       false},
  };
  for (const Case& c : aCases) {
    SetUp();
    c.pfnStage();
    const std::vector<std::int32_t> aWant = c.bCpuPause ? WithCpuPause(c.aeModes) : c.aeModes;
    EXPECT_EQ(WalkToOpenPlay(), aWant) << c.pszName;
    // Each set-up chose a taker of the side that restarts.
    if (c.aeModes.size() > 1 && c.aeModes[1] != 64) {
      Player* poTaker = setp_poGetKickTaker();
      ASSERT_NE(poTaker, nullptr) << c.pszName;
      EXPECT_EQ(poTaker->MyTeam, match_HomeClubStateGet() == 0 ? 1 : 2) << c.pszName;
    }
    TearDown();
  }
}

// Whole restarts with computer takers through the match tick: from the
// staged stoppage, through the script, the restart mode and play on, back
// to open play.
TEST_F(Restart, EveryRestartRunsThroughTheMatchTickBackToOpenPlay) {
  struct Case {
    const char* pszName;
    void (*pfnStage)();
  };
  const Case aCases[] = {
      {"throw-in",
       [] {
         Loose(EnginePlayer(14), 1000, 5700, 1000, 5800);
         referee_Update(REFEREE_EVENT_TOUCH, 1000, 5800);
       }},
      {"corner",
       [] {
         Loose(EnginePlayer(14), 9300, 2000, 9400, 2000);
         referee_Update(REFEREE_EVENT_GOAL_LINE_RIGHT, 9400, 2000);
       }},
      {"goal kick",
       [] {
         Loose(EnginePlayer(4), 9300, 2000, 9400, 2000);
         referee_Update(REFEREE_EVENT_GOAL_LINE_RIGHT, 9400, 2000);
       }},
      {"free kick",
       [] {
         EnginePlace(EnginePlayer(6), 1000, 1000, 0);
         referee_CardDecide(EnginePlayer(15), EnginePlayer(6), 10);
         referee_FouledSet(EnginePlayer(6));
         referee_Update(REFEREE_EVENT_FOUL, 1000, 1000);
       }},
      {"penalty",
       [] {
         EnginePlace(EnginePlayer(9), 8000, 0, 0);
         referee_CardDecide(EnginePlayer(15), EnginePlayer(9), 10);
         referee_FouledSet(EnginePlayer(9));
         referee_Update(REFEREE_EVENT_FOUL, 8000, 0);
       }},
      {"offside",
       [] {
         referee_CardDecide(EnginePlayer(10), nullptr, 0);
         referee_Update(REFEREE_EVENT_OFFSIDE, 3000, 0);
       }},
      {"keeper's hands",
       [] {
         Player* pk = EnginePlayer(0);
         EnginePlace(pk, -8800, 300, 0);
         newballA_OwnerSet(pk, 1);
         ball_PlaceAt(&ball_oBall, -8800, 0, 300);
         referee_Update(REFEREE_EVENT_KEEPER_HOLDS, 0, 0);
       }},
  };
  for (const Case& c : aCases) {
    SetUp();
    action_TableInit();
    pusr->bActive = 0;  // computer takers, no port read
    Port().bInUse = 0;
    EnginePlayer(9)->Control = PLAYER_CONTROL_COMPUTER;
    EnginePlayer(9)->pUser = nullptr;
    pusr->phl->pplyr = nullptr;
    c.pfnStage();
    std::vector<std::int32_t> aModes;
    int t = 0;
    for (; t < 6000; t++) {
      game_MatchTick();
      vsync_TasksRun();
      const std::int32_t e = global_eGetGameMode();
      if (aModes.empty() || aModes.back() != e) aModes.push_back(e);
      if (e == GAME_MODE_PLAY && global.iStackPointer == 1) break;
    }
    std::string sModes;
    for (std::int32_t e : aModes) sModes += std::to_string(e) + " ";
    EXPECT_LT(t, 6000) << c.pszName << " never ended: " << sModes;
    EXPECT_EQ(aModes.back(), GAME_MODE_PLAY) << c.pszName << ": " << sModes;
    pusr->bActive = 1;
    Port().bInUse = 1;
    TearDown();
  }
}

TEST_F(Restart, ASetUpRunTwiceGivesTheSameResult) {
  struct Op {
    const char* pszName;
    void (*pfn)();
  };
  referee_CardDecide(EnginePlayer(15), EnginePlayer(6), 10);
  referee_FouledSet(EnginePlayer(6));
  ball_PlaceAt(&ball_oBall, 4000, 0, 5000);
  const Op aOps[] = {{"corner", corner_Setup},   {"free kick", freekick_Setup}, {"goal kick", mgoalkic_Start},
                     {"hands", mhands_Start},    {"throw-in", mthrowin_Start},  {"penalty", penalty_Start}};
  for (const Op& o : aOps) {
    o.pfn();
    Player* poFirst = setp_poGetKickTaker();
    const std::int32_t iKind = setp_KindGet();
    const std::int32_t eBinding = Port().eBinding;
    o.pfn();
    EXPECT_EQ(setp_poGetKickTaker(), poFirst) << o.pszName;
    EXPECT_EQ(setp_KindGet(), iKind) << o.pszName;
    EXPECT_EQ(Port().eBinding, eBinding) << o.pszName;
    EXPECT_NE(poFirst, nullptr) << o.pszName;
  }
}

// ---- Play on and the standing pause ------------------------------------------------------

TEST_F(Restart, PlayOnLastsItsCountdownAndZeroLastsOneTick) {
  for (std::int32_t n : {0, 1, 15}) {
    global.bPopRequest = 0;
    playon_CountSet(n);
    playon_Enter();
    std::int32_t cTicks = 0;
    while (!global.bPopRequest && cTicks < 100) {
      playon_Update();
      cTicks++;
    }
    EXPECT_EQ(cTicks, n < 1 ? 1 : n) << "countdown " << n;
  }
  global.bPopRequest = 0;
}

TEST_F(Restart, StandingPauseRegistersOneCountdownAcrossPauseAndResume) {
  global_GameModePush(returnpos_Enter, GAME_MODE_RETURN_POSITIONS, nullptr);
  global_GameModeTransition();
  ASSERT_EQ(global_eGetGameMode(), GAME_MODE_RETURN_POSITIONS);
  EXPECT_EQ(cVSync_Tasks, 1);
  // Start pauses with the enter as the resume; resuming runs it again.
  Queue({4});
  returnpos_UserInput(pusr);
  ASSERT_EQ(g_cPauseOpened, 1);
  ASSERT_EQ(g_pfnResume, returnpos_Enter);
  for (int i = 0; i < 3; i++) g_pfnResume();
  EXPECT_EQ(cVSync_Tasks, 1);
  EXPECT_TRUE(vsync_bTaskListed(referee_RestartDelayTick));
  // The countdown runs at one a tick: 60, then below 0 on the 61st tick.
  for (int i = 0; i < 60; i++) {
    vsync_TasksRun();
    ASSERT_EQ(restart_oState.bLeave, 0) << i;
  }
  vsync_TasksRun();
  EXPECT_EQ(restart_oState.bLeave, 1);
  EXPECT_EQ(cVSync_Tasks, 0);
  // The pause then ends at its next tick.
  global.bPopRequest = 0;
  returnpos_Update();
  EXPECT_EQ(global.bPopRequest, 1);
  EXPECT_EQ(restart_oState.bLeave, 0);
  global.bPopRequest = 0;
  // The long pause after a goal lasts 90.
  returnpos_EnterLong();
  EXPECT_EQ(referee_RestartDelayGet(), 90);
  EXPECT_EQ(cVSync_Tasks, 1);
}

// ---- Throw-in ------------------------------------------------------------------------------

TEST_F(Restart, ThrowInKindByEighthFromTheEndDefended) {
  const std::int32_t aCases[][3] = {
      // x, kind attacking +x, kind attacking -x
      {9360, 7, 0},  {-9360, 0, 7}, {-12000, 0, 7}, {12000, 7, 0}, {0, 4, 3},     {-1, 3, 4},
      {-7021, 0, 7}, {-7020, 1, 6}, {2340, 5, 2},   {2339, 4, 3},  {7019, 6, 1},  {7020, 7, 0},
  };
  for (const auto& c : aCases) {
    EXPECT_EQ(mthrowin_KindGet(c[0], 1), c[1]) << c[0];
    EXPECT_EQ(mthrowin_KindGet(c[0], 0), c[2]) << c[0];
  }
}

TEST_F(Restart, ThrowerBySlotAndNeverNobody) {
  // Home in possession, attacking +x. The test sides' slots all have side
  // 0 and position 1 + k: at y >= 0 the wanted side is 0 and code 6 (k 5)
  // is the first of the order 1, 6, ... that exists.
  HomeRestarts();
  EXPECT_EQ(mthrowin_ThrowerFind(100), EnginePlayer(5));
  // At y < 0 the wanted side is 1, then 2: nobody matches, the outfield
  // player nearest the ball throws.
  for (std::int32_t i = 1; i < PLAYER_TEAM_SIZE; i++) EnginePlace(EnginePlayer(i), -5000, 0, 0);
  EnginePlace(EnginePlayer(7), 1000, -5600, 0);
  ball_PlaceAt(&ball_oBall, 1000, 0, -5760);
  EXPECT_EQ(mthrowin_ThrowerFind(-5760), EnginePlayer(7));
  // The set-up: the user of the thrower moves to another player; the kind.
  user_PlayerSet(pusr, EnginePlayer(7));
  mthrowin_Start();
  EXPECT_EQ(setp_poGetKickTaker(), EnginePlayer(7));
  EXPECT_NE(pusr->phl->pplyr, EnginePlayer(7));
  EXPECT_EQ(setp_KindGet(), mthrowin_KindGet(1000, 1));
  EXPECT_EQ(Port().eBinding, 25);
  // Pass released before any partner was chosen: the thrower's nearest
  // team-mate, never nobody.
  setp_PartnerSet(nullptr);
  user_PlayerSet(pusr, EnginePlayer(0));  // the keeper is no partner
  Queue({73});
  mthrowin_UserInput(pusr);
  EXPECT_EQ(setp_CommandGet(), SETP_CMD_KICK);
  ASSERT_NE(setp_poGetPartner(), nullptr);
  EXPECT_EQ(setp_poGetPartner()->MyTeam, player_PlaysFor_Home);
  EXPECT_NE(setp_poGetPartner(), EnginePlayer(7));
}

// ---- Goal kick and keeper's hands ----------------------------------------------------------

TEST_F(Restart, GoalKickPowerFromHeldTicks) {
  HomeRestarts();
  mgoalkic_Start();
  ASSERT_EQ(setp_poGetKickTaker(), EnginePlayer(0));
  ASSERT_EQ(pusr->phl->pplyr, EnginePlayer(0));
  EXPECT_EQ(Port().eBinding, 23);
  struct Case {
    std::int32_t cHeld;
    std::int32_t iPower;
  };
  for (const Case& c : {Case{0, 0}, Case{1, 5}, Case{10, 50}, Case{19, 95}, Case{20, 100}, Case{30, 100}}) {
    setp_CommandClear();
    Queue({26});
    for (std::int32_t i = 0; i < c.cHeld; i++) Queue({27});
    Queue({28});
    mgoalkic_UserInput(pusr);
    EXPECT_EQ(setp_PowerGet(), c.iPower) << c.cHeld;
    EXPECT_EQ(setp_CommandGet(), SETP_CMD_READY) << c.cHeld;
    EXPECT_EQ(Port().eBinding, 22);
    EXPECT_EQ(restart_oState.bLocked, 1);
  }
  // Aiming only before the press.
  mgoalkic_Start();
  StickSet(90, 40);  // a = 180: aim one way
  Queue({23});
  mgoalkic_UserInput(pusr);
  EXPECT_EQ(setp_CommandGet(), SETP_CMD_AIM_LEFT);
  setp_CommandClear();
  StickSet(250, 40);  // a = 340
  Queue({23});
  mgoalkic_UserInput(pusr);
  EXPECT_EQ(setp_CommandGet(), SETP_CMD_AIM_RIGHT);
  setp_CommandClear();
  Queue({26, 23});
  mgoalkic_UserInput(pusr);
  EXPECT_EQ(setp_CommandGet(), SETP_CMD_NONE);
}

TEST_F(Restart, KeeperHandsThrowOrKick) {
  HomeRestarts();
  mhands_Start();
  EXPECT_EQ(Port().eBinding, 49);
  Queue({26, 27, 27, 27, 28});
  mhands_UserInput(pusr);
  EXPECT_EQ(setp_PowerGet(), 15);
  EXPECT_EQ(setp_CommandGet(), SETP_CMD_RELEASE);
  Queue({29, 30, 31});
  mhands_UserInput(pusr);
  EXPECT_EQ(setp_PowerGet(), 5);
  EXPECT_EQ(setp_CommandGet(), SETP_CMD_READY);
  Queue({163});
  mhands_UserInput(pusr);
  EXPECT_EQ(setp_CommandGet(), SETP_CMD_KICK);
}

// Pass or Chip pressed while the person's keeper still takes the catch (in
// open play, the ball in his hands) is his first press at the keeper's ball
// that follows, with the charge it had: released during the catch, the
// throw or kick waits for the keeper with that power; still held, the key
// comes up pressed anew with the keys of the keeper's ball and its charge
// goes on; let go as the keys change, it is released with its charge.
TEST_F(Restart, APressAsTheKeeperTakesTheCatchIsHisFirstAtTheKeepersBall) {
  // A key's events: its first, n held ticks and its release (0: none).
  auto Key = [](std::int32_t eFirst, std::int32_t n, std::int32_t eRelease) {
    std::vector<std::int32_t> a{eFirst};
    for (int i = 0; i < n; i++) a.push_back(eFirst == 26 || eFirst == 27 ? 27 : 30);
    if (eRelease) a.push_back(eRelease);
    return a;
  };
  struct Case {
    const char* pszWhat;
    std::vector<std::int32_t> aeCatch, aeHands;
    bool bHandsInput;
    std::int32_t eCommand, iPower, eBinding;
  };
  const Case aCases[] = {
      {"Pass released", Key(26, 12, 28), {}, false, SETP_CMD_RELEASE, 60, 22},
      {"Chip released", Key(29, 15, 31), {}, false, SETP_CMD_READY, 75, 22},
      {"Pass held past the top", Key(26, 30, 28), {}, false, SETP_CMD_RELEASE, 100, 22},
      {"Pass held on", Key(26, 6, 0), Key(26, 4, 28), true, SETP_CMD_RELEASE, 50, 22},
      {"Chip held on", Key(29, 6, 0), Key(30, 3, 31), true, SETP_CMD_READY, 50, 22},
      {"Chip let go as the keys change", Key(29, 6, 0), {}, true, SETP_CMD_READY, 30, 22},
      {"one press a catch", {26, 27, 27, 28, 29, 30, 31}, {}, false, SETP_CMD_RELEASE, 10, 22},
      {"Pass released, the stick held after it", Key(26, 4, 28), {23, 23}, true, SETP_CMD_RELEASE, 20, 22},
      {"Chip held on, the stick held with it", Key(29, 2, 0), {23, 29, 23, 30, 23, 31}, true, SETP_CMD_READY, 15, 22},
      {"no press", {}, {}, true, SETP_CMD_NONE, -1, 49},
  };
  // The person's keeper taking a catch, the ball his.
  const auto Catching = [&] {
    SetUp();
    HomeRestarts();
    Player* pk = EnginePlayer(0);
    user_PlayerSet(pusr, pk);
    newballA_OwnerSet(pk, 1);
    pk->pGoalie->eState = GOALIE_STATE_CATCH;
    return pk;
  };
  for (const Case& c : aCases) {
    Player* pk = Catching();
    Queue(c.aeCatch);
    usrctl_UserInput(pusr);
    EXPECT_EQ(ball_OwnerGet(), pk) << c.pszWhat << ": the catch plays nothing";
    setp_PowerSet(-1);
    mhands_Start();
    ASSERT_EQ(setp_poGetKickTaker(), pk);
    if (c.bHandsInput) {
      StickSet(180, 60);  // it would turn him
      Queue(c.aeHands);
      mhands_UserInput(pusr);
    }
    EXPECT_EQ(setp_CommandGet(), c.eCommand) << c.pszWhat;
    EXPECT_EQ(setp_PowerGet(), c.iPower) << c.pszWhat;
    EXPECT_EQ(Port().eBinding, c.eBinding) << c.pszWhat;
    EXPECT_EQ(restart_oState.bLocked, c.eCommand != SETP_CMD_NONE ? 1 : 0) << c.pszWhat;
    TearDown();
  }
  // A press at a catch whose ball went to another holder is void.
  Player* pk = Catching();
  Queue({26, 27, 27, 28});
  usrctl_UserInput(pusr);
  newballA_OwnerSet(EnginePlayer(3), 1);
  newballA_OwnerSet(pk, 1);
  mhands_Start();
  EXPECT_EQ(setp_CommandGet(), SETP_CMD_NONE);
  EXPECT_EQ(restart_oState.bLocked, 0);
}

// Through the match tick: a person's keeper gets up on his line from a save
// with the ball in his hands; his person presses Chip, holds it 15 ticks
// and lets go before the keeper's ball starts; the keeper's ball follows, he
// steps out to his spot and throws at once, 75 per cent long (75 x 64.8 +
// 1440 = 6300 along his facing, straight up the pitch, 6298 as the integer
// cosine gives it).
TEST_F(Restart, AThrowChargedAsTheKeeperGetsUpWithTheBallIsThrownThatLong) {
  action_TableInit();
  HomeRestarts();
  Player* pk = EnginePlayer(0);
  EnginePlace(pk, -9300, 200, 401);
  user_PlayerSet(pusr, pk);
  ball_PlaceAt(&ball_oBall, -9300, 0, 200);
  newballA_OwnerSet(pk, 1);
  // He gets up from his save with the ball in his hands.
  newgoalo_StateSet(pk->pGoalie, GOALIE_STATE_RECOVER);
  anim_RequestSet(&pk->oAnimInfo, 60);
  anim_ActionAnimSet(&pk->oAnimData, 60);
  std::vector<std::int32_t> aePress{29};
  for (int i = 0; i < 15; i++) aePress.push_back(30);
  aePress.push_back(31);
  Queue(aePress);
  Port().bInUse = 0;  // the queued events only: no keys read
  bool bHands = false, bThrown = false;
  std::int32_t iThrowX = 0, iThrowY = 0, iThrowFacing = -1;
  ASSERT_EQ(global_eGetGameMode(), GAME_MODE_PLAY);
  for (int t = 0; t < 600 && !bThrown; t++) {
    game_MatchTick();
    vsync_TasksRun();
    if (global_eGetGameMode() == GAME_MODE_KEEPER_HANDS) bHands = true;
    if (bHands && pk->oAnimData.eActionAnim == 69 && iThrowFacing < 0) {
      iThrowX = pk->x;
      iThrowY = pk->y;
      iThrowFacing = pk->iFacing;
    }
    if (bHands && ball_oBall.poOwner == nullptr) bThrown = true;
  }
  ASSERT_TRUE(bHands) << "no keeper's ball followed the catch";
  ASSERT_TRUE(bThrown) << "the keeper never threw";
  EXPECT_EQ(iThrowFacing, 0);
  EXPECT_EQ(iThrowX, -9072);
  EXPECT_EQ(setp_PowerGet(), 75);
  std::int32_t x, y;
  sphands_LaunchPointGet(&x, &y);
  EXPECT_EQ(x, -2774);
  EXPECT_EQ(y, iThrowY);
}

// A kick pressed at the keeper's ball is played whatever the stick does
// after it: a stick held down on the tick of the press, or every tick after
// it until the keeper is ready, no longer turns the kick into a turn (the
// kick keys are switched off with the release, so such a kick was lost and
// the keeper kept the ball for good). Before any press the stick turns him.
TEST_F(Restart, KeeperHandsKickPressedIsPlayedWhateverTheStick) {
  HomeRestarts();
  struct Case {
    const char* pszWhat;
    std::vector<std::int32_t> aiEvents;
    std::int32_t eCommand;
  };
  const Case aCases[] = {
      {"Pass with the stick held", {23, 26, 23, 27, 23, 28, 23, 23}, SETP_CMD_RELEASE},
      {"Shoot with the stick held", {23, 29, 23, 30, 31, 23, 23}, SETP_CMD_READY},
      {"Pass and Shoot", {26, 27, 28, 23, 29, 31, 23}, SETP_CMD_READY},
      {"the kick", {163, 23, 23}, SETP_CMD_KICK},
  };
  for (const Case& c : aCases) {
    for (std::int32_t iDegrees : {0, 180}) {  // each way the stick turns him
      mhands_Start();
      setp_CommandClear();
      StickSet(iDegrees, 60);
      for (std::int32_t e : c.aiEvents) {
        Queue({e});
        mhands_UserInput(pusr);
      }
      EXPECT_EQ(setp_CommandGet(), c.eCommand) << c.pszWhat << ", stick at " << iDegrees;
    }
  }
  // A new keeper's ball takes the stick again.
  mhands_Start();
  setp_CommandClear();
  StickSet(180, 60);
  Queue({23});
  mhands_UserInput(pusr);
  EXPECT_TRUE(setp_CommandGet() == SETP_CMD_AIM_LEFT || setp_CommandGet() == SETP_CMD_AIM_RIGHT)
      << setp_CommandGet();
}

// ---- Corner and free kick ------------------------------------------------------------------

TEST_F(Restart, CornerAimCommandsAndTheSecondPressTakesTheKick) {
  EXPECT_EQ(restart_AimCommandOf(260), SETP_CMD_AIM_RIGHT);  // a = 350
  EXPECT_EQ(restart_AimCommandOf(300), SETP_CMD_NONE);       // a = 30 is not below 30
  EXPECT_EQ(restart_AimCommandOf(299), SETP_CMD_AIM_RIGHT);
  EXPECT_EQ(restart_AimCommandOf(0), SETP_CMD_LOFT_UP);      // a = 90
  EXPECT_EQ(restart_AimCommandOf(90), SETP_CMD_AIM_LEFT);    // a = 180
  EXPECT_EQ(restart_AimCommandOf(180), SETP_CMD_LOFT_DOWN);  // a = 270
  EXPECT_EQ(restart_AimCommandOf(50), SETP_CMD_NONE);        // a = 140
  HomeRestarts();
  ball_PlaceAt(&ball_oBall, 9156, 0, 5712);
  corner_Setup();
  Player* poTaker = setp_poGetKickTaker();
  ASSERT_NE(poTaker, nullptr);
  EXPECT_FALSE(player_IsGoalkeeper(poTaker));
  EXPECT_EQ(Port().eBinding, 23);
  setp_AimDefaults();
  PowerGauge* pg = setp_poGetAimMarker();
  // Press and hold: the gauge rises; release latches the peak; the second
  // press takes the kick at once.
  Queue({26, 27, 27, 28});
  corner_UserInput(pusr);
  EXPECT_EQ(pusr->phl->pplyr, poTaker);
  EXPECT_EQ(restart_oState.bReleased, 1);
  EXPECT_EQ(pg->bReleased, 1);
  EXPECT_LT(pg->iPeak, pg->y + 80);
  EXPECT_NE(setp_CommandGet(), SETP_CMD_KICK);
  Queue({26});
  corner_UserInput(pusr);
  EXPECT_EQ(setp_CommandGet(), SETP_CMD_KICK);
  // Without a second press the falling gauge takes it when full.
  corner_Setup();
  setp_AimDefaults();
  Queue({26, 28});
  corner_UserInput(pusr);
  int cTicks = 0;
  while (setp_CommandGet() != SETP_CMD_KICK && cTicks < 100) {
    corner_UserInput(pusr);
    cTicks++;
  }
  EXPECT_EQ(setp_CommandGet(), SETP_CMD_KICK);
  EXPECT_LT(cTicks, 100);
}

TEST_F(Restart, FreeKickKindWallAndTaker) {
  for (std::int32_t z = 60; z < 80; z++) {
    const std::int32_t k = freekick_KindOfZone(z);
    EXPECT_EQ(k, z >= 70 && z <= 75 ? 9 + z - 70 : 15) << z;
    EXPECT_EQ(freekick_WallSizeOfZone(z), z >= 70 && z <= 73 ? 2 : z == 74 ? 4 : 0) << z;
  }
  // An offside (no fouled player): kind 15, no wall.
  HomeRestarts();
  referee_FouledPlayerSet(nullptr);
  ball_PlaceAt(&ball_oBall, 2000, 0, 0);
  freekick_Setup();
  EXPECT_EQ(setp_KindGet(), 15);
  for (Player* pp = match_AwayFirstPlayerGet(); pp; pp = pp->pNext) EXPECT_NE(pp->oSetPieceRole.iRole, 8);
  EXPECT_EQ(Port().eBinding, 32);
  // Deep in its own half the side's third player takes it.
  ball_PlaceAt(&ball_oBall, -3000, 0, 0);
  EXPECT_EQ(freekick_TakerChoose(), EnginePlayer(2));
  ball_PlaceAt(&ball_oBall, -2880, 0, 0);
  EXPECT_NE(freekick_TakerChoose(), nullptr);
  EXPECT_FALSE(player_IsGoalkeeper(freekick_TakerChoose()));
}

// ---- The keeper's ball in open play --------------------------------------------------------

TEST_F(Restart, KeeperBallAimStaysInItsRange) {
  std::mt19937 oRng(42);
  for (std::int32_t iX : {8000, 0, -8000}) {
    std::int32_t iAim = iX >= 0 ? 401 : 0;
    for (int i = 0; i < 5000; i++) {
      const std::int32_t iDeg = static_cast<std::int32_t>(oRng() % 360);
      iAim = keeperball_AimTurn(iAim, iX, iDeg);
      ASSERT_GE(iAim, 0);
      ASSERT_LE(iAim, 801);
      if (iX >= 0) {
        ASSERT_TRUE(iAim >= 201 && iAim <= 600) << iAim;
      } else {
        ASSERT_FALSE(iAim >= 200 && iAim <= 601) << iAim;
      }
    }
  }
  // One step: 22 a tick, toward 90 adds, toward 270 subtracts.
  EXPECT_EQ(keeperball_AimTurn(401, 8000, 90), 423);
  EXPECT_EQ(keeperball_AimTurn(401, 8000, 270), 379);
  EXPECT_EQ(keeperball_AimTurn(401, 8000, 0), 401);
  EXPECT_EQ(keeperball_AimTurn(590, 8000, 90), 590);  // 612 leaves the range: undone
  EXPECT_EQ(keeperball_AimTurn(10, -8000, 270), 790);
}

TEST_F(Restart, KeeperBallPassAndChipDistances) {
  HomeRestarts();
  Player* pk = EnginePlayer(0);
  EnginePlace(pk, -8000, 0, 0);
  newballA_OwnerSet(pk, 1);
  ball_PlaceAt(&ball_oBall, -8000, 0, 0);
  keeperball_Enter();
  ASSERT_EQ(pusr->phl->pplyr, pk);
  EXPECT_EQ(Port().eBinding, 26);
  EXPECT_EQ(restart_oState.iAim, ball_HeadingTo(8000, 0));  // toward the centre spot
  // A release without a press in this mode does nothing.
  global.bPopRequest = 0;
  Queue({76});
  keeperball_UserInput(pusr);
  EXPECT_EQ(global.bPopRequest, 0);
  struct Case {
    std::int32_t ePress;
    std::int32_t cHeld;
    std::int32_t iDistance;
    std::uint32_t eAnim;
  };
  const Case aCases[] = {
      {74, 0, 1 * 288 + 720, 68},   {74, 5, 6 * 288 + 720, 68},  {74, 20, 8 * 288 + 720, 70},
      {77, 0, 4 * 432 + 720, 69},   {77, 8, 9 * 432 + 720, 69},  {77, 30, 15 * 432 + 720, 69},
  };
  for (const Case& c : aCases) {
    global.bPopRequest = 0;
    Queue({c.ePress});
    for (std::int32_t i = 0; i < c.cHeld; i++) Queue({c.ePress + 1});
    Queue({c.ePress + 2});
    keeperball_UserInput(pusr);
    EXPECT_EQ(target_DistanceGet(), c.iDistance) << c.ePress << " held " << c.cHeld;
    EXPECT_EQ(anim_RequestGet(&pk->oAnimInfo), c.eAnim) << c.ePress << " held " << c.cHeld;
    EXPECT_EQ(global.bPopRequest, 1);
    EXPECT_EQ(pk->iSpeed, 0);
  }
  global.bPopRequest = 0;
}

TEST_F(Restart, EveryInputStepPausesAndStoresTheSprint) {
  struct Step {
    const char* pszName;
    void (*pfn)(User*);
  };
  const Step aSteps[] = {{"corner", corner_UserInput},     {"free kick", freekick_UserInput},
                         {"goal kick", mgoalkic_UserInput}, {"hands", mhands_UserInput},
                         {"throw-in", mthrowin_UserInput},  {"penalty", penalty_UserInput},
                         {"keeper's ball", keeperball_UserInput}, {"pause", returnpos_UserInput}};
  for (const Step& s : aSteps) {
    g_cPauseOpened = 0;
    g_pfnResume = nullptr;
    Queue({33, 4});
    s.pfn(pusr);
    EXPECT_EQ(usrctl_poWords(pusr)->bSprint, 1) << s.pszName;
    EXPECT_EQ(g_cPauseOpened, 1) << s.pszName;
    EXPECT_NE(g_pfnResume, nullptr) << s.pszName;
    s.pfn(pusr);  // the flag lasts one step
    EXPECT_EQ(usrctl_poWords(pusr)->bSprint, 0) << s.pszName;
  }
}

}  // namespace

// The person's keeper at his keeper's ball in hand, over the engine's test
// match: one press of the stick turns him one quarter however long it is
// held, and a press carried over from his catch keeps the stick from
// turning him before the key comes up again, its charge going on into the
// throw. From his catch until he waits he faces up the pitch with the ball
// in his hands, also while he steps out from his line to his spot.
// Until the keeper has struck the ball (or put it down at his feet)
// nobody else plays it; the keeper's ball then ends once every player has
// walked back to his place, at once when they are back already.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "../engine/engine_env.h"
#include "engine/action.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/newballA.h"
#include "engine/newgoalo.h"
#include "engine/player.h"
#include "engine/referee.h"
#include "engine/setp.h"
#include "matchflow/restart.h"
#include "matchflow/usrctl.h"
#include "matchflow/usrctl_services.h"
#include "shell/game.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/user.h"
#include "shell/vsync.h"
#include "support/input_ports.h"

void pausemenu_Open(User*, UsrctlResumeFn) {}

namespace {

InputWidgetState s_oStick;

class KeeperHands : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { korvena_test::InputPortsUp(); }
  void SetUp() override {
    EngineMatchSetup();
    usrctl_Reset();
    vsync_Init();
    restart_oState = RestartState{};
    s_oStick = InputWidgetState{};
    for (std::int32_t i = 0; i < PLAYER_MAX; i++) EnginePlayer(i)->oAIInfo.bIsAttacking = i < PLAYER_TEAM_SIZE;
    korvena_test::HomeUserUp(&pusr);
    referee_DecisionClear();
    referee_DecisionUnlock();
    referee_FoulLatchClear();
    global_ResetGameModeStack();
    global_GameModePush(nullptr, GAME_MODE_PLAY, nullptr);
    global_GameModeTransition();
    // The home side restarts: its keeper is the person's.
    pk = EnginePlayer(0);
    user_PlayerSet(pusr, pk);
    newballA_OwnerSet(pk, 1);
  }
  void TearDown() override {
    input_EventQueueFlush(&Port().oEvents);
    global_ResetGameModeStack();
  }
  static InputPort& Port() { return *input_poGetPort(0); }
  void Queue(std::vector<std::int32_t> aeEvents) { korvena_test::EventsQueue(&Port(), &s_oStick, aeEvents); }
  static void StickSet(std::int32_t iDegrees, std::int32_t iMagnitude) {
    s_oStick.iCurrent = korvena_test::StickWord(iDegrees, iMagnitude);
  }
  // One input step with the stick as it is (read every tick, as the port
  // gives it); the turn it asks for, taken by the keeper's handler.
  std::int32_t StickTick() {
    Queue({23});
    mhands_UserInput(pusr);
    const std::int32_t c = setp_CommandGet();
    setp_CommandClear();
    return c;
  }
  User* pusr = nullptr;
  Player* pk = nullptr;
};

// Each way the stick turns him: held for a second it turns him once; let go
// and pressed again, once more; pressed straight the other way, once that
// way. A tap of two ticks is one turn as well.
TEST_F(KeeperHands, OnePressOfTheStickIsOneQuarterTurn) {
  struct Way {
    std::int32_t iDegrees, iOther;
  };
  for (const Way w : {Way{0, 180}, Way{180, 0}}) {
    mhands_Start();
    setp_CommandClear();
    auto Turns = [&](std::int32_t iDegrees, std::int32_t iMagnitude, std::int32_t cTicks) {
      StickSet(iDegrees, iMagnitude);
      std::vector<std::int32_t> a;
      for (std::int32_t t = 0; t < cTicks; t++)
        if (const std::int32_t c = StickTick()) a.push_back(c);
      return a;
    };
    const std::vector<std::int32_t> aHeld = Turns(w.iDegrees, 100, 30);
    ASSERT_EQ(aHeld.size(), 1u) << "stick at " << w.iDegrees;
    EXPECT_TRUE(aHeld[0] == SETP_CMD_AIM_LEFT || aHeld[0] == SETP_CMD_AIM_RIGHT);
    EXPECT_TRUE(Turns(w.iDegrees, 0, 2).empty());
    EXPECT_EQ(Turns(w.iDegrees, 100, 2), aHeld) << "a tap after letting go";
    // Below the aiming dead zone the stick is let go.
    EXPECT_TRUE(Turns(w.iDegrees, USER_STICK_AIM_DEAD, 3).empty());
    EXPECT_EQ(Turns(w.iDegrees, USER_STICK_AIM_DEAD + 1, 20), aHeld);
    const std::vector<std::int32_t> aOther = Turns(w.iOther, 100, 20);
    ASSERT_EQ(aOther.size(), 1u);
    EXPECT_NE(aOther[0], aHeld[0]);
  }
}

// A press made as the keeper took the catch and still held when his
// keeper's ball starts is his first press there: the stick read before the
// key comes up again with the keys of the keeper's ball does not turn him,
// and the charge goes on into the throw.
TEST_F(KeeperHands, APressCarriedFromTheCatchKeepsTheStickFromTurningHim) {
  for (std::int32_t iDegrees : {0, 180}) {  // each way the stick would turn him
    if (iDegrees != 0) {
      TearDown();
      SetUp();
    }
    pk->pGoalie->eState = GOALIE_STATE_CATCH;
    Queue({29, 30, 30, 30});
    usrctl_UserInput(pusr);
    ASSERT_EQ(ball_OwnerGet(), pk);
    mhands_Start();
    ASSERT_EQ(setp_poGetKickTaker(), pk);
    StickSet(iDegrees, 100);
    Queue({23, 29, 23, 30});
    mhands_UserInput(pusr);
    EXPECT_EQ(setp_CommandGet(), SETP_CMD_NONE) << "stick at " << iDegrees;
    Queue({23, 30, 31});
    mhands_UserInput(pusr);
    EXPECT_EQ(setp_CommandGet(), SETP_CMD_READY) << "stick at " << iDegrees;
    // One press across the catch and the keeper's ball: charged as the same
    // press held as long at the keeper's ball alone.
    const std::int32_t iCarried = setp_PowerGet();
    mhands_Start();
    setp_CommandClear();
    Queue({29, 30, 30, 30, 30, 30, 31});
    mhands_UserInput(pusr);
    ASSERT_EQ(setp_CommandGet(), SETP_CMD_READY);
    EXPECT_EQ(iCarried, setp_PowerGet()) << "stick at " << iDegrees;
  }
}

// Through the match tick: the person's keeper waits with the ball, everyone
// else long back in his place, when his person lets go of Chip (H, a long
// kick up the pitch: he puts the ball down ahead of him and kicks it from a
// run-up) or Pass (J, to a team-mate ahead), or presses Shoot (Space, the
// ball put down at his feet). An opponent stands where the long kick's
// run-up puts the ball down and a team-mate beside him. Until the keeper has
// struck the ball, or put it down, the keeper's ball goes on (the clock
// stopped) and the ball is his alone: the first to play it is the keeper
// with his kick. The keeper's ball ends as soon as the ball has left him.
TEST_F(KeeperHands, NobodyButTheKeeperPlaysTheBallBeforeHisKick) {
  struct Case {
    const char* pszWhat;
    std::int32_t eCommand;
    bool bStrike;  // he kicks, rolls or throws it (else he puts it down)
  };
  for (const Case c : {Case{"H", SETP_CMD_READY, true}, Case{"J", SETP_CMD_RELEASE, true},
                       Case{"Space", SETP_CMD_KICK, false}}) {
    TearDown();
    SetUp();
    action_TableInit();
    EnginePlace(pk, -9000, 300, 0);
    ball_PlaceAt(&ball_oBall, -9000, 0, 300);
    newballA_OwnerSet(pk, 1);
    global_GameModePush(mhands_Start, GAME_MODE_KEEPER_HANDS, nullptr);
    global_GameModeTransition();
    Port().bInUse = 0;  // no keys read: the press is the keeper's ball's command
    const auto Tick = [] {
      game_MatchTick();
      vsync_TasksRun();
    };
    // He waits with the ball; the others walk back to their places.
    std::int32_t t = 0;
    for (; t < 900 && !(pk->oSetPiece.iEnterState == 13 && setp_iGetEnterCount() == 1); t++) Tick();
    ASSERT_EQ(pk->oSetPiece.iEnterState, 13) << c.pszWhat;
    ASSERT_EQ(setp_iGetEnterCount(), 1) << c.pszWhat << ": the others still on their way";
    std::int32_t ai[3];
    ASSERT_TRUE(anim_BallPointAt(pk->iFacing, 69, ai, 0));
    EnginePlace(EnginePlayer(PLAYER_TEAM_SIZE + 9), pk->x + ai[0], pk->y + ai[2], 401);
    EnginePlace(EnginePlayer(4), pk->x + ai[0], pk->y + ai[2] + 200, 401);
    setp_PowerSet(50);
    setp_CommandSet(c.eCommand);
    std::int32_t iStruck = -1;
    for (t = 0; t < 150 && global_eGetGameMode() == GAME_MODE_KEEPER_HANDS; t++) {
      Tick();
      if (ball_oBall.poOwner == pk || iStruck >= 0) continue;
      ASSERT_EQ(ball_oBall.poOwner, nullptr) << c.pszWhat << ": player " << ball_oBall.poOwner->ID
                                             << " took the ball " << t << " ticks after the press";
      EXPECT_TRUE(c.bStrike) << c.pszWhat << ": the ball left him";
      EXPECT_EQ(ball_oBall.pplyrWhoKicked, pk) << c.pszWhat;
      EXPECT_NE(ball_oBall.iKind, BALL_KIND_NONE) << c.pszWhat << ": the ball left him unplayed";
      iStruck = t;
    }
    ASSERT_EQ(global_eGetGameMode(), GAME_MODE_PLAY) << c.pszWhat << ": still the keeper's ball " << t << " ticks on";
    if (c.bStrike) {
      ASSERT_GE(iStruck, 0) << c.pszWhat << ": open play " << t << " ticks after the press, before his kick";
      EXPECT_LE(t - iStruck, 2) << c.pszWhat;
    } else {
      EXPECT_EQ(ball_oBall.poOwner, pk) << c.pszWhat;
      const bool bPuttingDown = pk->oAnimData.eActionAnim == 71 && !anim_IsEnded(&pk->oAnimData);
      EXPECT_FALSE(bPuttingDown) << c.pszWhat << ": open play " << t << " ticks after the press, before he has put the ball down";
    }
  }
}


// Wherever the person's keeper gathers the ball (out beyond his area, at its
// edge, in the goal mouth or on his line, the last two stepping out to his
// spot), turned toward his own goal and with a target left behind him: from
// the catch until he waits, on every tick, he faces up the pitch and holds
// the ball above his feet (his stance holds it at 108, his carrying clip
// higher, the plain stand clip on the ground).
TEST_F(KeeperHands, HisBallStaysInHisHandsFacingUpThePitchUntilHeWaits) {
  constexpr std::int32_t kAboveFeet = 54;
  struct Gather {
    const char* pszWhere;
    std::int32_t x, y;
  };
  for (const Gather g : {Gather{"out", -6000, 500}, Gather{"area", -8000, 0}, Gather{"mouth", -9200, -300},
                         Gather{"line", -9330, 100}}) {
    TearDown();
    SetUp();
    action_TableInit();
    EnginePlace(pk, g.x, g.y, 401);
    ball_PlaceAt(&ball_oBall, g.x, 0, g.y);
    newballA_OwnerSet(pk, 1);
    anim_TargetPointSet(&pk->oAnimInfo, -10800, g.y + 1500);
    global_GameModePush(mhands_Start, GAME_MODE_KEEPER_HANDS, nullptr);
    global_GameModeTransition();
    Port().bInUse = 0;
    bool bWaited = false;
    for (std::int32_t t = 0; t < 60 && !bWaited; t++) {
      game_MatchTick();
      vsync_TasksRun();
      bWaited = pk->oSetPiece.iEnterState == 13;  // his first tick waiting is checked too
      ASSERT_TRUE(bWaited || pk->oSetPiece.iEnterState == 29 || pk->oSetPiece.iEnterState == 30) << g.pszWhere;
      const std::int32_t iOff = (pk->iFacing % 802 + 802) % 802;
      EXPECT_LE(iOff < 401 ? iOff : 802 - iOff, 8) << g.pszWhere << ": facing " << pk->iFacing << " at tick " << t;
      ASSERT_EQ(ball_OwnerGet(), pk) << g.pszWhere << " at tick " << t;
      EXPECT_GT(ball_HeightGet(&ball_oBall), kAboveFeet) << g.pszWhere << ": clip " << pk->oAnimData.eActionAnim
                                                         << " at tick " << t;
    }
    EXPECT_TRUE(bWaited) << g.pszWhere;
    EXPECT_EQ(pk->x, g.x < -9072 ? -9072 : g.x) << g.pszWhere << ": stepped out to his spot";
  }
}

}  // namespace

// The person's keeper at his keeper's ball in hand, over the engine's test
// match: one press of the stick turns him one quarter however long it is
// held, and a press carried over from his catch keeps the stick from
// turning him before the key comes up again; once he has played the ball
// the keeper's ball ends at once, however far the others still have to go.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "../engine/engine_env.h"
#include "engine/action.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/newballA.h"
#include "engine/newgoal.h"
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
#include "shell/list.h"
#include "shell/user.h"
#include "shell/usrmark.h"
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
    EXPECT_EQ(setp_PowerGet(), 25);  // three held at the catch, two here
  }
}

}  // namespace

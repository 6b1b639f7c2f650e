// The keeper who stops a penalty calls it missed: once for each kick, so a
// second penalty he stops in the same match is called missed as well.
#include <gtest/gtest.h>

#include <cstdint>

#include "engine/ball.h"
#include "engine/newballA.h"
#include "engine/newgoal.h"
#include "engine/player.h"
#include "engine/referee.h"
#include "engine/setp.h"
#include "engine_env.h"
#include "shell/global.h"

namespace {

TEST(KeeperPenalty, EachPenaltyHeStopsIsCalledMissed) {
  EngineMatchSetup();
  newgoal_MatchReset();
  Player* pk = EnginePlayer(11);  // guards the goal at +x
  Player* ps = EnginePlayer(9);
  // The penalty: the home forward brought down in the area at +x.
  EnginePlace(ps, 8400, 300, 0);
  referee_OffenderSet(EnginePlayer(14));
  referee_FouledSet(ps);
  referee_Update(REFEREE_EVENT_FOUL, ps->x, ps->y);
  ASSERT_EQ(referee_DecisionGet(), REFEREE_DECISION_PENALTY);
  global_SetGameMode(GAME_MODE_PENALTY);
  for (int k = 0; k < 2; k++) {
    // The kick set up: the ball on the spot, the keeper's tick before it.
    setp_Init();
    setp_KickTakerSet(ps);
    newballA_OwnerSet(nullptr, 0);
    ball_PlaceAt(&ball_oBall, 7632, 0, 0);
    newgoal_Update(pk);
    EXPECT_EQ(setp_CommandGet(), 0) << "kick " << k;
    // Struck, and the keeper has the ball.
    setp_KickStruckSet();
    newballA_OwnerSet(pk, 1);
    newgoal_Update(pk);
    EXPECT_EQ(setp_CommandGet(), SETP_CMD_PEN_MISSED) << "kick " << k;
    setp_CommandClear();  // the set piece's end
  }
  global_SetGameMode(GAME_MODE_PLAY);
}

}  // namespace

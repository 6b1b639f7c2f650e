// Kick-offs and penalties on the engine match, taken by the computer from
// their first state to their end: every player runs the kind's handler each
// tick, the match and the ball step.
#include <gtest/gtest.h>

#include "engine/action_list.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/player.h"
#include "engine/setp.h"
#include "engine/setp_util.h"
#include "engine_env.h"
#include "shell/global.h"

namespace {

bool RunOn(ActionNode* (*pfn)(ActionNode*), Player* pp) {
  ActionNode n{nullptr, nullptr, pp};
  return pfn(&n) == nullptr;
}

class SetpRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EngineMatchSetup();
    setp_Init();
    setp_CommandClear();
    global.bPopRequest = 0;
    for (std::int32_t id = 0; id < 22; id++) {
      Player* pp = EnginePlayer(id);
      pp->oAIInfo.bIsAttacking = id < 11;
      setp_RecordInit(pp);
    }
  }
  template <typename Done>
  int Run(ActionNode* (*pfn)(ActionNode*), Done done) {
    int t = 0;
    for (; t < 3000 && !done(); t++) {
      for (std::int32_t id = 0; id < 22; id++) RunOn(pfn, EnginePlayer(id));
      EngineTick();
      ball_Update();
    }
    return t;
  }
};

TEST_F(SetpRunTest, KickOffWalksTheTakersToTheSpotAndStartsPlay) {
  Player* poTaker = EnginePlayer(9);
  Player* poPartner = EnginePlayer(10);
  EnginePlace(poTaker, -900, 300, 0);
  EnginePlace(poPartner, -600, -700, 0);
  ball_PositionSet(&ball_oBall, 0, 0, 0);
  setp_KickTakerSet(poTaker);
  setp_PartnerSet(poPartner);
  const int t = Run(spko_Handler, [] { return setp_poGetKickTaker() == nullptr; });
  EXPECT_LT(t, 3000) << "the kick-off never ended";
  // Both walked to their marks by the spot (within the arrival range), the
  // referee stands at (0, 1440), open play was pushed.
  const std::int32_t tx = poTaker->Direction == 1 ? -72 : 72, ty = poTaker->Direction == 1 ? 72 : -72;
  EXPECT_LT(setp_Distance(poTaker->x - tx, poTaker->y - ty), 2 * SETP_ARRIVE);
  EXPECT_LT(setp_Distance(poPartner->x, poPartner->y - (poTaker->Direction == 1 ? -72 : 72)), 2 * SETP_ARRIVE);
  EXPECT_LT(setp_Distance(player_oReferee.x, player_oReferee.y - 1440), SETP_ARRIVE);
  EXPECT_EQ(refact_ActionGet(), 1);
  EXPECT_EQ(anim_RequestGet(&poTaker->oAnimInfo), 108u);  // the tap to the partner
}

TEST_F(SetpRunTest, ComputerPenaltyIsShotAndTheModeEnds) {
  global_SetGameMode(static_cast<GameMode>(58));
  Player* poTaker = EnginePlayer(9);
  poTaker->Direction = 1;
  EnginePlace(poTaker, 6800, 0, 0);
  setp_KickTakerSet(poTaker);
  const int t = Run(sppen_Handler, [] { return global.bPopRequest != 0; });
  EXPECT_LT(t, 3000) << "the penalty never ended";
  EXPECT_GT(t, 135);  // the computer's delay
  // The ball was put on the spot and struck toward the goal at +x.
  EXPECT_EQ(ball_WhoKickedGet(), poTaker);
  EXPECT_GT(ball_XGet(&ball_oBall), 7632);
  // Team-mates took up places around the area's edge and stood.
  for (std::int32_t id = 1; id < 11; id++) {
    if (EnginePlayer(id) != poTaker) {
      EXPECT_EQ(EnginePlayer(id)->oSetPiece.iEnterState, 2) << id;
    }
  }
  global_SetGameMode(GAME_MODE_PLAY);
}

}  // namespace

// The player record's accessors, resets and queries.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/player.h"
#include "engine/team.h"
#include "engine_env.h"
#include "framework/math/qmath.h"
#include "tournament/dbplayer.h"

namespace {

class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override { EngineMatchSetup(); }
};

TEST_F(PlayerTest, MoveToClampsFarTargetsAndStandsOnArrival) {
  Player* pp = EnginePlayer(5);
  struct Case {
    std::int32_t x, y, wantX, wantY;
  } cases[] = {
      {10800, 0, 10800, 0},   {10801, 0, 9360, 0},   {-10801, 0, -9360, 0}, {-10800, 0, -10800, 0},
      {0, 7200, 0, 7200},     {0, 7201, 0, 5760},    {0, -7201, 0, -5760},  {11000, -8000, 9360, -5760},
  };
  for (const Case& c : cases) {
    PlayerO_MoveToSet(pp, c.x, c.y, ANIM_RUN);
    EXPECT_EQ(pp->oAnimInfo.iTargetX, c.wantX) << c.x;
    EXPECT_EQ(pp->oAnimInfo.iTargetY, c.wantY) << c.y;
    EXPECT_EQ(pp->oAnimInfo.eActionAnim, ANIM_RUN);
  }
  // At the target: a clip that may play in place is kept, another becomes a stand.
  pp->oAnimData.uFlags = 0;
  PlayerO_MoveToSet(pp, pp->x, pp->y, ANIM_RUN);
  EXPECT_EQ(pp->oAnimInfo.eActionAnim, ANIM_STAND);
  EXPECT_TRUE(anim_IsAtTarget(&pp->oAnimData));
  PlayerO_MoveToSet(pp, pp->x, pp->y, 152);
  EXPECT_EQ(pp->oAnimInfo.eActionAnim, 152u);
  // The wanted heading points at the target (802 a turn, 0 toward +x).
  PlayerO_MoveToSet(pp, pp->x + 1000, pp->y, ANIM_RUN);
  EXPECT_EQ(pp->oAnimInfo.uHeading, 0u);
  PlayerO_MoveToSet(pp, pp->x, pp->y + 1000, ANIM_RUN);
  EXPECT_EQ(pp->oAnimInfo.uHeading, 200u);
  PlayerO_MoveToSet(pp, pp->x - 1000, pp->y, ANIM_RUN);
  EXPECT_EQ(pp->oAnimInfo.uHeading, 401u);
}

TEST_F(PlayerTest, FacingFromSixteenBitAngles) {
  Player* pp = EnginePlayer(3);
  struct Case {
    std::int32_t a16, want;
  } cases[] = {{0, 0}, {32768, 401}, {65535, 802}, {16384, 200}, {49152, 602}, {100, 1}};
  for (const Case& c : cases) {
    player_FacingSet(pp, c.a16);
    EXPECT_EQ(pp->iFacing, c.want) << c.a16;
    EXPECT_EQ(pp->uWantedFacing, c.want);
    EXPECT_EQ(pp->iDisplayFacing, c.want);
  }
  // Facing a point behind him along -x.
  player_FaceTowards(pp, pp->x - 500, pp->y);
  EXPECT_EQ(pp->iFacing, 401);
}

TEST_F(PlayerTest, AttributesAreClampedAndPowerIsSetAtKickOff) {
  Player* pp = EnginePlayer(7);
  DBPlayer* db = EngineDbPlayer(7);
  db->iStamina = -20;
  db->uSpeed = 200;
  db->iHeading = -1;
  db->uTackling = 61;
  EXPECT_EQ(PlayerO_Attr66Get(pp), 0);
  EXPECT_EQ(PlayerO_Attr52Get(pp), 100);
  EXPECT_EQ(PlayerO_Attr52Get2(pp), 100);
  EXPECT_EQ(PlayerO_Attr57Get(pp), 0);
  EXPECT_EQ(PlayerO_Attr61Get(pp), 61);
  plyrInit_KickOffInit(pp, PLAYER_CONTROL_COMPUTER);
  EXPECT_EQ(pp->uPower, 0);  // a negative byte no longer wraps into a huge power
  db->iStamina = 87;
  plyrInit_KickOffInit(pp, PLAYER_CONTROL_COMPUTER);
  EXPECT_EQ(pp->uPower, 8700);
  EXPECT_EQ(pp->uStamina, 700);
  EXPECT_EQ(pp->x, 0);
  EXPECT_EQ(pp->y, -5760);
  EXPECT_EQ(pp->MoveState, MOVE_STATE_RUN);
  EXPECT_EQ(pp->oAnimInfo.eActionAnim, ANIM_STAND);
  EXPECT_EQ(pp->oAnimData.eActionAnim, ANIM_STAND);
}

TEST_F(PlayerTest, KickOffSidesAndKeepersFollowTheEndFlags) {
  // Home attacks toward +x (flag 0), away toward -x.
  EXPECT_EQ(EnginePlayer(0)->Direction, 1);
  EXPECT_EQ(EnginePlayer(11)->Direction, 0);
  ASSERT_NE(EnginePlayer(0)->pGoalie, nullptr);
  ASSERT_NE(EnginePlayer(11)->pGoalie, nullptr);
  EXPECT_EQ(EnginePlayer(4)->pGoalie, nullptr);
  match_HomeTeamGet()->KickOff = 1;
  plyrInit_KickOffInit(EnginePlayer(3), PLAYER_CONTROL_USER);
  EXPECT_EQ(EnginePlayer(3)->Direction, 0);
  EXPECT_EQ(EnginePlayer(3)->Control, PLAYER_CONTROL_USER);
  EXPECT_EQ(EnginePlayer(3)->PositionCode, 4);
}

TEST_F(PlayerTest, RestartHalvesKnocksAndKeepsStaminaAndPower) {
  struct Case {
    std::int16_t knocks, want;
  } cases[] = {{7, 3}, {0, 0}, {1, 0}, {101, 50}, {-3, -1}};
  Player* pp = EnginePlayer(8);
  for (const Case& c : cases) {
    pp->iKnocks = c.knocks;
    pp->uStamina = 123;
    pp->uPower = 4321;
    pp->Control = PLAYER_CONTROL_USER;
    plyrInit_RestartInit(pp);
    EXPECT_EQ(pp->iKnocks, c.want) << c.knocks;
    EXPECT_EQ(pp->uStamina, 123);
    EXPECT_EQ(pp->uPower, 4321);
    EXPECT_EQ(pp->Control, PLAYER_CONTROL_USER);
    EXPECT_EQ(pp->oTouch.iState, 1);
  }
}

TEST_F(PlayerTest, AccessorsAndMoveStateHistory) {
  Player* pp = EnginePlayer(2);
  PlayerO_MoveStateSet(pp, 5);
  PlayerO_MoveStateSet(pp, 6);
  EXPECT_EQ(pp->PrevMoveState, 5);
  PlayerO_MoveStateSet(pp, 6);
  EXPECT_EQ(pp->PrevMoveState, 5);  // the same state keeps the previous one
  PlayerO_MoveStateSet(nullptr, 3);  // no player: nothing
  pp->iSpeed = 32767;
  PlayerO_SpeedAdd(pp, 1);
  EXPECT_EQ(PlayerO_SpeedGet(pp), -32768);  // 16-bit wrap
  PlayerO_SpeedSub(pp, 1);
  EXPECT_EQ(PlayerO_SpeedGet(pp), 32767);
  PlayerO_XSet(pp, 100);
  PlayerO_XAdd(pp, -250);
  EXPECT_EQ(PlayerO_XGet(pp), -150);
  PlayerO_StrikeLinkSet(nullptr, pp);
  PlayerO_StrikeLinkSet(pp, EnginePlayer(3));
  EXPECT_EQ(pp->poStrikeLink, EnginePlayer(3));
  EXPECT_DEATH(PlayerO_ControlGet(nullptr), "pPlayerO != nullptr");
  EXPECT_DEATH(PlayerO_MoveToSet(pp, 0, 0, ANIM_NONE), "eAnim != ANIM_NONE");
  EXPECT_DEATH(PlayerO_MoveToSet(pp, 0, 0, 0), "eAnim");
}

TEST_F(PlayerTest, FreeToActForOutfieldAndKeepers) {
  Player* pp = EnginePlayer(4);
  anim_RequestSet(&pp->oAnimInfo, 143);
  EXPECT_FALSE(PlayerO_IsFreeToAct(pp));
  anim_RequestSet(&pp->oAnimInfo, ANIM_RUN);
  EXPECT_TRUE(PlayerO_IsFreeToAct(pp));
  Player* pk = EnginePlayer(0);
  for (std::uint32_t e : {136u, 161u, 105u, 129u, 58u}) {
    anim_RequestSet(&pk->oAnimInfo, e);
    ball_oBall.poOwner = nullptr;
    EXPECT_FALSE(PlayerO_IsFreeToAct(pk)) << e;
    ball_oBall.poOwner = pk;
    EXPECT_EQ(PlayerO_IsFreeToAct(pk), e != 58u) << e;
  }
}

// player_Search against a plain sort of every qualifying player.
TEST_F(PlayerTest, SearchMatchesBruteForce) {
  for (std::int32_t iRound = 0; iRound < 300; iRound++) {
    for (std::int32_t i = 0; i < PLAYER_MAX; i++) {
      Player* pp = EnginePlayer(i);
      pp->x = static_cast<std::int16_t>(static_cast<std::int32_t>(QMathRandRange(4000)) - 2000);
      pp->y = static_cast<std::int16_t>(static_cast<std::int32_t>(QMathRandRange(3000)) - 1500);
    }
    if (iRound % 3 == 0) {  // ties
      EnginePlayer(4)->x = EnginePlayer(15)->x;
      EnginePlayer(4)->y = EnginePlayer(15)->y;
    }
    std::int32_t x = static_cast<std::int32_t>(QMathRandRange(2000)) - 1000;
    std::int32_t y = static_cast<std::int32_t>(QMathRandRange(2000)) - 1000;
    std::int32_t rmin = static_cast<std::int32_t>(QMathRandRange(500));
    std::int32_t rmax = rmin + static_cast<std::int32_t>(QMathRandRange(3000));
    static const std::int32_t kFlags[] = {1, 2, 4, 8, 16, 1 | 32, 2 | 32, 8 | 32, 16 | 32, 8 | 16};
    std::int32_t iFlags = kFlags[iRound % 10];
    if (iRound % 20 == 7) {
      match_HomeClubStateSet(1);
      match_AwayClubStateSet(0);
    }
    std::vector<std::pair<std::int64_t, Player*>> all;
    for (std::int32_t i = 0; i < PLAYER_MAX; i++) {
      Player* pp = EnginePlayer(i);
      bool bHome = pp->MyTeam == player_PlaysFor_Home;
      bool bIn;
      if (iFlags & 1) bIn = true;
      else if (iFlags & 2) bIn = bHome == (match_HomeClubStateGet() == 0);
      else if (iFlags & 4) bIn = bHome == (match_HomeClubStateGet() == 1);
      else if (iFlags & 8) bIn = bHome;
      else bIn = !bHome;
      if ((iFlags & 32) && ((pp->Direction == 0 && pp->x < x) || (pp->Direction == 1 && pp->x > x))) bIn = false;
      std::int64_t d = player_Dist2(pp->x - x, pp->y - y);
      if (bIn && d >= std::int64_t{rmin} * rmin && d < std::int64_t{rmax} * rmax) all.push_back({d, pp});
    }
    // Match order (home first, each chain in order) is the tie order.
    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::int32_t iIndex = 0; iIndex <= static_cast<std::int32_t>(all.size()); iIndex++) {
      Player* po = nullptr;
      std::int32_t r = player_Search(&po, x, y, rmin, rmax, iIndex, iFlags);
      if (iIndex < static_cast<std::int32_t>(all.size())) {
        ASSERT_EQ(r, 1) << iRound << " " << iIndex;
        ASSERT_EQ(po, all[iIndex].second) << iRound << " " << iIndex;
      } else {
        EXPECT_EQ(r, 0);
      }
    }
  }
  Player* po = nullptr;
  EXPECT_DEATH(player_Search(&po, 0, 0, 0, 100, 0, 32), "player_Search");
}

TEST_F(PlayerTest, NearestQueriesAndGoalSide) {
  Ball* pb = &ball_oBall;
  pb->iX128 = 9000 * 128;  // beyond everybody toward the away goal
  pb->iY128 = 0;
  Player* po = nullptr;
  std::int32_t d2 = 0;
  // Away players attack toward -x: goal side of the ball means x above it.
  player_NearestToBallFind(player_PlaysFor_Away, &po, &d2);
  EXPECT_EQ(po, nullptr);
  EXPECT_EQ(d2, -1);
  pb->iX128 = 0;
  player_NearestToBallFind(player_PlaysFor_Away, &po, &d2);
  ASSERT_NE(po, nullptr);
  EXPECT_NE(po->ID, 11);
  EXPECT_EQ(d2, player_Dist2(po->x, po->y));
  // Empty defending chain.
  Player* poAwayFirst = match_AwayTeamGet()->poPlayers;
  match_AwayTeamGet()->poPlayers = nullptr;
  EXPECT_EQ(player_NearestOpponentDistGet(EnginePlayer(3)), -1);
  match_AwayTeamGet()->poPlayers = poAwayFirst;
  EXPECT_GT(player_NearestOpponentDistGet(EnginePlayer(3)), 0);

  Player* pp = EnginePlayer(6);  // Direction 1
  EXPECT_TRUE(player_IsGoalSideOf(pp, pp->x + 1, 0));
  EXPECT_FALSE(player_IsGoalSideOf(pp, pp->x, 0));
  EXPECT_TRUE(player_IsGoalSideOf(pp, pp->x, 1));
  EXPECT_TRUE(player_IsBeyondX(pp, pp->x - 1));
  EXPECT_TRUE(player_IsShortOfX(pp, pp->x + 1));
  EXPECT_EQ(player_GoalDistanceGet(pp), player_Dist(9360 - pp->x, pp->y));
  EXPECT_TRUE(player_IsNear(pp, pp->x + 719, pp->y));
  EXPECT_FALSE(player_IsNear(pp, pp->x + 720, pp->y));
  Player* pq = EnginePlayer(7);
  pq->x = static_cast<std::int16_t>(pp->x + 100);
  pq->y = static_cast<std::int16_t>(pp->y + 288);
  EXPECT_TRUE(player_IsAheadWithin(pp, pq, 100));
  EXPECT_FALSE(player_IsAheadWithin(pp, pq, 99));
  pq->y = static_cast<std::int16_t>(pp->y + 289);
  EXPECT_FALSE(player_IsAheadWithin(pp, pq, 100));

  // The nearest free mate skips keepers, user players and himself.
  Player* pm = nullptr;
  EnginePlace(EnginePlayer(9), 100, 0, 0);
  EnginePlace(EnginePlayer(10), 150, 0, 0);
  EnginePlace(EnginePlayer(0), 50, 0, 0);
  ASSERT_TRUE(player_NearestFreeMateFind(&pm, EnginePlayer(9), 0, 0, 1000));
  EXPECT_EQ(pm, EnginePlayer(10));
  EnginePlayer(10)->Control = PLAYER_CONTROL_USER;
  EXPECT_FALSE(player_NearestFreeMateFind(&pm, EnginePlayer(9), 0, 0, 1000));
  ASSERT_TRUE(player_NearestFreeMateFind(&pm, EnginePlayer(9), 0, 0, 5000));
  EXPECT_NE(pm, EnginePlayer(10));
  EXPECT_NE(pm, EnginePlayer(0));
  EXPECT_NE(pm, EnginePlayer(9));
  ASSERT_TRUE(player_NearestUserMateFind(EnginePlayer(9), &pm));
  EXPECT_EQ(pm, EnginePlayer(10));
  EXPECT_FALSE(player_NearestMateFind(&pm, EnginePlayer(9), 0, 0, 50));
  ASSERT_TRUE(player_NearestAnyFind0(&pm, 100, 0));
  EXPECT_EQ(pm, EnginePlayer(9));
  ASSERT_TRUE(player_NearestAnyFind(&pm, 100, 0));
  EXPECT_NE(pm, EnginePlayer(9));
}

}  // namespace

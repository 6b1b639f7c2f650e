// Users: markers roaming and homing, taking a player, the player choice
// against a plain model, bindings in open play, the stick mapping and the
// line fit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "engine/team.h"
#include "engine_env.h"
#include "framework/math/qmath.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/user.h"
#include "shell/usrmark.h"

namespace {

class UserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EngineMatchSetup();
    input_BindingTablesClear();
    input_PortsInit();
    input_DefaultBindingsRegister();
    input_FirstFreeUserAttach();
    User* pu = &user_aUsers[0];
    input_bUserActivate(pu);
    user_Init();
    user_MatchReset();
    pu->MyTeam = player_PlaysFor_Home;
  }
  User* U() { return &user_aUsers[0]; }
};

TEST_F(UserTest, MarkerPoolIsNeverRefilled) {
  usrmark_PoolInit();
  UserMarker* aphl[USRMARK_POOL_SIZE];
  for (auto& phl : aphl) ASSERT_TRUE(usrmark_bAlloc(&phl));
  UserMarker* phl = nullptr;
  EXPECT_FALSE(usrmark_bAlloc(&phl));
  EXPECT_EQ(aphl[7]->iIndex, 7);
  EXPECT_EQ(aphl[0]->iWidth, 8);
  // With the pool used up a user keeps the marker he has.
  UserMarker* phlFirst = U()->phl;
  user_Init();
  EXPECT_EQ(U()->phl, phlFirst);
  // Set-ups take fresh markers while the pool lasts; two users never share one.
  usrmark_PoolInit();
  User* pu2 = &user_aUsers[1];
  for (std::int32_t iMatch = 0; iMatch < 6; iMatch++) {
    if (iMatch == 2) pu2->pip = U()->pip + 1;  // a second user joins
    user_Init();
    if (pu2->pip) {
      EXPECT_NE(U()->phl, pu2->phl) << iMatch;
    }
    ASSERT_NE(U()->phl, nullptr);
  }
  pu2->pip = nullptr;
  pu2->phl = nullptr;
  usrmark_TimerAdd();
  usrmark_TimerAdd();
  EXPECT_EQ(usrmark_iTimer, 400);
}

TEST_F(UserTest, RoamingMarkerTakesTheNearestPlayerBelow2304) {
  struct Case {
    std::int32_t d;
    bool bTaken;
  } cases[] = {{2303, true}, {2304, false}, {0, true}, {5000, false}};
  for (const Case& c : cases) {
    SetUp();
    Player* pp = EnginePlayer(10);
    // Everybody else far away.
    for (std::int32_t i = 1; i < PLAYER_TEAM_SIZE; i++) {
      if (i != 10) EnginePlace(EnginePlayer(i), -9000, 5000, 0);
    }
    EnginePlace(pp, 1000, 1000, 0);
    usrmark_Activate(U()->phl);
    U()->phl->x = 1000 + c.d;
    U()->phl->y = 1000;
    user_Update();
    EXPECT_EQ(U()->phl->pplyr, pp) << c.d;
    EXPECT_EQ(U()->phl->iState == USRMARK_STATE_ON_PLAYER, c.bTaken) << c.d;
    EXPECT_EQ(pp->Control == PLAYER_CONTROL_USER, c.bTaken) << c.d;
    EXPECT_EQ(pp->pUser == U(), c.bTaken) << c.d;
  }
}

TEST_F(UserTest, HomingMarkerTakesItsPlayerAndMarkerFollows) {
  Player* pp = EnginePlayer(6);
  // From 419904 away or more the marker moves 1152 toward its player a step.
  EnginePlace(pp, 0, 0, 0);
  U()->phl->iState = USRMARK_STATE_HOMING;
  U()->phl->pplyr = pp;
  U()->phl->x = 419904;
  U()->phl->y = 0;
  user_Update();
  EXPECT_EQ(U()->phl->iState, USRMARK_STATE_HOMING);
  EXPECT_NEAR(U()->phl->x, 419904 - 1152, 1);
  EXPECT_EQ(U()->phl->y, 0);
  EXPECT_EQ(pp->Control, PLAYER_CONTROL_COMPUTER);
  user_Update();
  EXPECT_EQ(U()->phl->iState, USRMARK_STATE_ON_PLAYER);  // now below 419904

  U()->phl->iState = USRMARK_STATE_HOMING;
  U()->phl->pplyr = pp;
  U()->phl->x = -9000;
  U()->phl->y = -5000;
  user_Update();
  EXPECT_EQ(U()->phl->iState, USRMARK_STATE_ON_PLAYER);
  EXPECT_EQ(pp->Control, PLAYER_CONTROL_USER);
  EXPECT_EQ(U()->phl->iColour, USRMARK_COLOUR_DEFENDING);
  ball_oBall.poOwner = pp;
  EnginePlace(pp, 123, -45, 0);
  user_Update();
  EXPECT_EQ(U()->phl->x, 123);
  EXPECT_EQ(U()->phl->y, -45);
  EXPECT_EQ(U()->phl->iColour, USRMARK_COLOUR_HAS_BALL);
  ball_oBall.poOwner = EnginePlayer(7);
  user_Update();
  EXPECT_EQ(U()->phl->iColour, USRMARK_COLOUR_TEAM_HAS_BALL);
  EXPECT_EQ(player_UserGet(pp), U());
  EXPECT_EQ(player_UserGet(EnginePlayer(7)), nullptr);
}

TEST_F(UserTest, PlayerSetHandsBackThePreviousPlayerAndRespectsOtherUsers) {
  User* pu2 = &user_aUsers[1];
  *pu2 = User{};
  pu2->iIndex = 1;
  pu2->bActive = 1;
  pu2->MyTeam = player_PlaysFor_Home;
  usrmark_bAlloc(&pu2->phl);
  user_PlayerSet(U(), EnginePlayer(3));
  user_PlayerSet(pu2, EnginePlayer(4));
  user_PlayerSet(U(), EnginePlayer(5));
  EXPECT_EQ(EnginePlayer(3)->Control, PLAYER_CONTROL_COMPUTER);
  EXPECT_EQ(EnginePlayer(3)->pUser, nullptr);
  EXPECT_EQ(EnginePlayer(5)->Control, PLAYER_CONTROL_USER);
  EXPECT_EQ(U()->phl->iColour, USRMARK_COLOUR_INITIAL);
  // Taking another user's player changes nothing for either.
  user_PlayerSet(U(), EnginePlayer(4));
  EXPECT_EQ(U()->phl->pplyr, EnginePlayer(5));
  EXPECT_EQ(pu2->phl->pplyr, EnginePlayer(4));
  EXPECT_EQ(EnginePlayer(4)->pUser, pu2);
  EXPECT_DEATH(user_PlayerSet(U(), EnginePlayer(15)), "MyTeam");
  // Steering words.
  U()->uStickDirection = (270u << 16) | 100u;
  user_PlayerSteerApply(U());
  EXPECT_EQ(EnginePlayer(5)->uStickMagnitude, 100);
  EXPECT_EQ(EnginePlayer(5)->uStickAngle, 360);
  EXPECT_EQ(EnginePlayer(5)->bUserSteered, 1);
  user_PlayerSteerStop(U());
  EXPECT_EQ(EnginePlayer(5)->uStickMagnitude, 0);
  user_PlayerRelease(U());
  EXPECT_EQ(EnginePlayer(5)->bUserSteered, 0);
}

// A plain model of the defending choice: rank by the sector table seen from
// the ball toward the user's own goal line, then by squared distance.
Player* ModelDefender(User* pu, std::int32_t iMode) {
  Player* poCur = pu->phl->pplyr;
  std::int32_t bx = ball_XGet(&ball_oBall), by = ball_YGet(&ball_oBall);
  auto onPitch = [](const Player* p) { return std::abs(p->x) <= 9360 && std::abs(p->y) <= 5760; };
  if (poCur && onPitch(poCur) && player_Dist2(poCur->x - bx, poCur->y - by) < 1152 * 1152) return poCur;
  double dHeading = std::atan2(-by, -9360.0 - bx);  // home attacks +x: own line at -9360
  Player* poBest = nullptr;
  std::int32_t iBestRank = 100;
  std::int64_t iBestDist = 0;
  for (std::int32_t i = 1; i < PLAYER_TEAM_SIZE; i++) {
    Player* p = EnginePlayer(i);
    if (p == ball_oBall.poOwner || (p->Control == PLAYER_CONTROL_USER && p != poCur) || p->MoveState == 8) continue;
    if (!(iMode & 1) && p == poCur) continue;
    if ((iMode & 1) && !onPitch(p)) continue;
    double dx = p->x - bx, dy = p->y - by;
    std::int32_t d = player_Dist(p->x - bx, p->y - by);
    double a = std::atan2(dy, dx) - dHeading;
    while (a > std::numbers::pi) a -= 2 * std::numbers::pi;
    while (a < -std::numbers::pi) a += 2 * std::numbers::pi;
    double deg = std::fabs(a) * 180.0 / std::numbers::pi;
    std::int32_t iRank = 99;
    for (std::int32_t r = 0; r < USER_SECTOR_ROWS; r++) {
      const std::int32_t* t = user_aiSectorTable[r];
      if (d >= t[0] && d < t[1] && deg >= t[2] && deg < t[3]) {
        iRank = r;
        break;
      }
    }
    std::int32_t ddx = p->x - bx;
    if (!onPitch(p)) ddx = std::abs(ddx) + 2880;
    std::int64_t iDist = player_Dist2(ddx, p->y - by);
    if (!poBest || iRank < iBestRank || (iRank == iBestRank && iDist < iBestDist)) {
      poBest = p;
      iBestRank = iRank;
      iBestDist = iDist;
    }
  }
  return poBest;
}

TEST_F(UserTest, SectorRowsOfTheChoiceTable) {
  struct Case {
    std::int32_t x1, y1, iHeading, want;
  } cases[] = {
      {500, 0, 0, 0},        {575, 0, 0, 0},        {576, 0, 0, 1},      {1000, 0, 0, 1},   {1000, 1000, 0, 2},
      {1000, -1000, 0, 2},   {0, 1000, 0, 4},       {0, 1500, 0, 7},     {-1000, 0, 0, 8},  {2500, 0, 0, 5},
      {8000, 0, 0, 8},       {1000, 0, 32768, 8},   {0, 1000, 16384, 1}, {0, 0, 0, 0},
  };
  // Straight behind (half a turn) lies in no row: the maximum angles are
  // exclusive, 180 degrees included.
  for (const Case& c : cases) {
    EXPECT_EQ(roles_SectorFind(0, 0, c.x1, c.y1, c.iHeading, user_aiSectorTable, USER_SECTOR_ROWS), c.want)
        << c.x1 << "," << c.y1 << " heading " << c.iHeading;
  }
  EXPECT_EQ(roles_SectorFind(0, 0, 100, 0, 0, user_aiSectorTable, 0), 0);  // no rows: the count
}

TEST_F(UserTest, DefendingChoiceMatchesAPlainModel) {
  match_HomeClubStateSet(1);
  match_AwayClubStateSet(0);
  std::int32_t cAgree = 0, cRounds = 0;
  for (std::int32_t iRound = 0; iRound < 200; iRound++) {
    for (std::int32_t i = 1; i < PLAYER_MAX; i++) {
      Player* p = EnginePlayer(i);
      p->x = static_cast<std::int16_t>(static_cast<std::int32_t>(QMathRandRange(8000)) - 4000);
      p->y = static_cast<std::int16_t>(static_cast<std::int32_t>(QMathRandRange(6000)) - 3000);
      p->Control = PLAYER_CONTROL_COMPUTER;
      p->pUser = nullptr;
    }
    ball_oBall.iX128 = (static_cast<std::int32_t>(QMathRandRange(6000)) - 3000) * 128;
    ball_oBall.iY128 = (static_cast<std::int32_t>(QMathRandRange(4000)) - 2000) * 128;
    ball_oBall.poOwner = iRound % 2 ? EnginePlayer(12 + iRound % 9) : nullptr;
    Player* poCur = EnginePlayer(1 + iRound % 10);
    user_PlayerSet(U(), poCur);
    std::int32_t iMode = iRound % 4 == 0 ? 1 : 0;
    Player* poWant = ModelDefender(U(), iMode);
    user_PlayerChoose(U(), iMode);
    cRounds++;
    // The model measures angles in floating point; the game in 16-bit
    // units. They may differ only for a candidate right on a sector edge.
    if (U()->phl->pplyr == poWant) cAgree++;
    EXPECT_EQ(U()->phl->pplyr->MyTeam, player_PlaysFor_Home);
    EXPECT_FALSE(player_IsGoalkeeper(U()->phl->pplyr));
  }
  EXPECT_GE(cAgree, cRounds * 97 / 100);
}

TEST_F(UserTest, AttackingChoices) {
  // A team-mate on the ball is taken unless the mode says otherwise.
  Player* poHolder = EnginePlayer(9);
  ball_oBall.poOwner = poHolder;
  ball_oBall.iX128 = poHolder->x * 128;
  ball_oBall.iY128 = poHolder->y * 128;
  user_PlayerSet(U(), EnginePlayer(3));
  user_PlayerChoose(U(), 0);
  EXPECT_EQ(U()->phl->pplyr, poHolder);
  // Passed over the holder: the best placed mate toward the goal attacked,
  // never the holder or the keeper. A mate right ahead of the ball wins.
  EnginePlace(EnginePlayer(10), poHolder->x + 300, poHolder->y, 0);
  user_PlayerChoose(U(), USER_CHOOSE_NOT_TAKER);
  EXPECT_EQ(U()->phl->pplyr, EnginePlayer(10));
  // Cycling walks the players within 14400 of the ball nearest first.
  user_ChoiceRangeSet(0, 3);
  Player* poSeen[3];
  for (auto& po : poSeen) {
    user_PlayerChoose(U(), USER_CHOOSE_CYCLE);
    po = U()->phl->pplyr;
  }
  Player* po0 = nullptr;
  Player* po1 = nullptr;
  ASSERT_TRUE(player_Search(&po0, ball_XGet(&ball_oBall), ball_YGet(&ball_oBall), 0, 14400, 0, PLAYER_SEARCH_HOME));
  ASSERT_TRUE(player_Search(&po1, ball_XGet(&ball_oBall), ball_YGet(&ball_oBall), 0, 14400, 1, PLAYER_SEARCH_HOME));
  EXPECT_EQ(poSeen[0], po0);
  EXPECT_EQ(poSeen[1], po1);
  std::int32_t iMin, iMax, iCursor;
  user_ChoiceRangeGet(&iMin, &iMax, &iCursor);
  EXPECT_EQ(iCursor, 2);
  user_PlayerChoose(U(), USER_CHOOSE_CYCLE);
  user_ChoiceRangeGet(&iMin, &iMax, &iCursor);
  EXPECT_EQ(iCursor, 0);  // wrapped past the maximum
  EXPECT_DEATH(user_ChoiceRangeSet(-1, 3), "iMin >= 0");
  EXPECT_DEATH(user_ChoiceRangeSet(3, 3), "iMin < iMax");
  // With nobody on the ball the nearest free mate within 18720 of it.
  ball_oBall.poOwner = nullptr;
  ball_oBall.iX128 = EnginePlayer(8)->x * 128;
  ball_oBall.iY128 = EnginePlayer(8)->y * 128;
  user_PlayerSet(U(), EnginePlayer(2));
  user_PlayerChoose(U(), 0);
  EXPECT_EQ(U()->phl->pplyr, EnginePlayer(8));
  // A user without a player gets the nearest to the centre spot.
  U()->phl->pplyr->Control = PLAYER_CONTROL_COMPUTER;
  U()->phl->pplyr->pUser = nullptr;
  U()->phl->pplyr = nullptr;
  user_SelectPlayer(U());
  Player* poCentre = player_NearestOfSideFind(0, 0, 1);
  EXPECT_EQ(U()->phl->pplyr, poCentre);
}

// After a pass by a user's player the user moves to the free mate nearest
// the pass's end, unless the ball's target player has a user already.
TEST_F(UserTest, PassHandsTheUserToTheReceiver) {
  Player* pp = EnginePlayer(9);
  user_PlayerSet(U(), pp);
  EnginePlace(EnginePlayer(5), 3000, 2000, 0);
  player_PassUserSwitch(pp, 3100, 2000);
  EXPECT_EQ(U()->phl->pplyr, EnginePlayer(5));
  EXPECT_EQ(pp->Control, PLAYER_CONTROL_COMPUTER);
  // A contact player's pass keeps the user where he is.
  pp = EnginePlayer(5);
  pp->oTouch.iContactMark = 1;
  player_PassUserSwitch(pp, -5600, -3600);
  EXPECT_EQ(U()->phl->pplyr, EnginePlayer(5));
  pp->oTouch.iContactMark = 0;
  // A target player already steered by a user: no switch either.
  ball_oBall.poTargetPlayer = EnginePlayer(5);
  player_PassUserSwitch(pp, -5600, -3600);
  EXPECT_EQ(U()->phl->pplyr, EnginePlayer(5));
  ball_oBall.poTargetPlayer = nullptr;
  player_PassUserSwitch(pp, -5600, -3600);
  EXPECT_EQ(U()->phl->pplyr, EnginePlayer(1));
}

TEST_F(UserTest, BindingsInOpenPlay) {
  struct Case {
    GameMode eMode;
    std::int32_t iState;
    std::int32_t iHolder;  // -1 none
    std::int32_t iHomeClub;
    std::int32_t bHasBallWord;
    std::int32_t want;
  } cases[] = {
      {GAME_MODE_PLAY, USRMARK_STATE_ON_PLAYER, 9, 0, 0, 3},  {GAME_MODE_PLAY, USRMARK_STATE_ON_PLAYER, 5, 0, 0, 4},
      {GAME_MODE_PLAY, USRMARK_STATE_ON_PLAYER, 5, 0, 1, 5},  {GAME_MODE_PLAY_ON, USRMARK_STATE_ON_PLAYER, 15, 1, 0, 6},
      {GAME_MODE_PLAY, USRMARK_STATE_ON_PLAYER, -1, 0, 0, 7}, {GAME_MODE_PLAY, USRMARK_STATE_HOMING, 9, 0, 0, 9},
      {GAME_MODE_CORNER, USRMARK_STATE_HOMING, 9, 0, 0, 9},   {GAME_MODE_CORNER, USRMARK_STATE_ON_PLAYER, -1, 0, 0, 2},
      {GAME_MODE_PLAY, USRMARK_STATE_ROAMING, -1, 0, 0, 2},
  };
  for (const Case& c : cases) {
    input_PortBindingSet(2, U()->pip);
    global_SetGameMode(c.eMode);
    user_PlayerSet(U(), EnginePlayer(5));
    U()->phl->iState = c.iState;
    ball_oBall.poOwner = c.iHolder < 0 ? nullptr : EnginePlayer(c.iHolder);
    match_HomeClubStateSet(c.iHomeClub);
    U()->aiControlWords[USER_WORD_HAS_BALL] = c.bHasBallWord;
    user_PortBindingsUpdate();
    EXPECT_EQ(U()->pip->eBinding, c.want) << c.eMode << " " << c.iState << " " << c.iHolder;
  }
}

TEST_F(UserTest, DirectionMapAndLineFit) {
  user_DirectionMap(U(), 16384, 77);
  EXPECT_EQ(U()->uStickDirection, (270u << 16) | 77u);  // set-piece angle 0: rotated by 49152
  user_DirectionMap(U(), 32768, 128);
  EXPECT_EQ(U()->uStickDirection >> 16, 0u);
  struct Fit {
    std::int32_t x1, y1, x2, y2, slope, intercept;
  } fits[] = {
      {5, 1, 5, 9, 0, 5}, {0, 0, 10, 10, 128, 0}, {0, 3, 10, 3, 0, 3}, {2, 1, 6, 4, 96, -0}, {-4, 2, 4, -2, -64, 0},
      {1, 1, 4, 2, 42, 0},
  };
  for (const Fit& f : fits) {
    std::int32_t s, b;
    user_LineFit(f.x1, f.y1, f.x2, f.y2, &s, &b);
    EXPECT_EQ(s, f.slope) << f.x1 << "," << f.y1 << " " << f.x2 << "," << f.y2;
    EXPECT_EQ(b, f.intercept) << f.x1 << "," << f.y1 << " " << f.x2 << "," << f.y2;
  }
}

}  // namespace

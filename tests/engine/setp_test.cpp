// Set pieces on the engine test match: the shared state, the walks and the
// move-wait-choose cycle, the user's aim, and each kind's choices and limits
// against small models of their rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "engine/action.h"
#include "engine/action_list.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/newballA.h"
#include "engine/player.h"
#include "engine/setp.h"
#include "engine/setp_util.h"
#include "engine/zone.h"
#include "engine_env.h"
#include "framework/math/qrand.h"
#include "shell/global.h"
#include "shell/imath.h"
#include "tournament/dbplayer.h"

namespace {

class SetpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EngineMatchSetup();
    setp_Init();
    setp_KindSet(0);
    setp_CommandClear();
    setp_KickTakerSet(nullptr);
    setp_PartnerSet(nullptr);
    sphands_Start();
  }
  // Runs a handler on one player: 1 when it took him.
  static bool RunOn(ActionNode* (*pfn)(ActionNode*), Player* pp) {
    ActionNode n{nullptr, nullptr, pp};
    return pfn(&n) == nullptr;
  }
};

TEST_F(SetpTest, LoftRunsFrom21To77InStepsOf4) {
  Player* pp = EnginePlayer(5);
  ball_PositionSet(&ball_oBall, 0, 0, 0);
  setp_AimDefaults();
  EXPECT_EQ(setp_LoftGet(), 49);
  for (int i = 0; i < 8; i++) {
    setp_CommandSet(SETP_CMD_LOFT_DOWN);
    EXPECT_EQ(setp_TakerAim(pp), SETP_NOT_YET);
    EXPECT_EQ(setp_CommandGet(), 0);
    EXPECT_EQ(setp_LoftGet(), i < 7 ? 49 - 4 * (i + 1) : 21) << i;
  }
  for (int i = 0; i < 15; i++) {
    setp_CommandSet(SETP_CMD_LOFT_UP);
    setp_TakerAim(pp);
  }
  EXPECT_EQ(setp_LoftGet(), 77);
  setp_CommandSet(SETP_CMD_KICK);
  EXPECT_EQ(setp_TakerAim(pp), SETP_DONE);
  EXPECT_EQ(setp_UserAimGet(), 1);
  // The aim point lies the kick distance from the ball along the aim.
  std::int32_t x, y;
  setp_AimPointGet(&x, &y);
  EXPECT_EQ(setp_KickDistanceGet(), 10 * 10080 / 100);
  EXPECT_NEAR(setp_Distance(x, y), 1008, 2);
}

TEST_F(SetpTest, AimSectorOfADirection) {
  ball_PositionSet(&ball_oBall, 7632, 0, 0);
  EXPECT_EQ(setp_AimSectorFromAngle(0), 0);
  EXPECT_EQ(setp_AimSectorFromAngle(22), 0);
  EXPECT_EQ(setp_AimSectorFromAngle(23), 1);
  EXPECT_EQ(setp_AimSectorFromAngle(337), 7);
  EXPECT_EQ(setp_AimSectorFromAngle(338), 0);
  ball_PositionSet(&ball_oBall, -7632, 0, 0);
  EXPECT_EQ(setp_AimSectorFromAngle(0), 4);
  EXPECT_EQ(setp_AimSectorFromAngle(180), 0);
}

TEST_F(SetpTest, ThrowInKindByEighthFromTheOwnEnd) {
  for (std::int32_t x = -9360; x <= 9360; x += 97) {
    const std::int32_t k1 = setp_ThrowInKindGet(x, 1);
    const std::int32_t k0 = setp_ThrowInKindGet(x, 0);
    ASSERT_GE(k1, 0);
    ASSERT_LE(k1, 7);
    EXPECT_EQ(k1, std::min(7, (x + 9360) / 2340)) << x;
    EXPECT_EQ(k0, std::min(7, (9360 - x) / 2340)) << x;
  }
  EXPECT_EQ(setp_ThrowInKindGet(-20000, 1), 0);
  EXPECT_EQ(setp_ThrowInKindGet(20000, 1), 7);
}

TEST_F(SetpTest, KindsOutsideTheTablesAssert) {
  EXPECT_DEATH(setp_KindSet(16), "iKind");
  EXPECT_DEATH(setp_KindSet(-1), "iKind");
}

TEST_F(SetpTest, ThrowInAimIsClampedInsideTheLines) {
  struct Case {
    std::int32_t x, y, ex, ey;
  } cases[] = {{9360, 0, 9216, 0},        {9500, 5760, 9216, 5616}, {-9360, -5760, -9216, -5616},
               {9359, 5759, 9359, 5759},  {0, -6000, 0, -5616},     {-9400, 100, -9216, 100}};
  for (const Case& c : cases) {
    std::int32_t x = c.x, y = c.y;
    spthrow_AimPointClamp(&x, &y);
    EXPECT_EQ(x, c.ex);
    EXPECT_EQ(y, c.ey);
  }
  // A partner near the corner flag: the aim point 80 % of the way, clamped.
  Player* poThrower = EnginePlayer(3);
  Player* poPartner = EnginePlayer(4);
  EnginePlace(poThrower, 9000, 5760, 0);
  EnginePlace(poPartner, 9360, 5760, 0);
  setp_PartnerSet(poPartner);
  spthrow_AimUpdate(poThrower);
  std::int32_t ax, ay;
  setp_AimPointGet(&ax, &ay);
  EXPECT_EQ(ax, 9000 + 360 * 80 / 100);
  EXPECT_EQ(ay, 5616);
  EnginePlace(poThrower, 9300, -5760, 0);
  EnginePlace(poPartner, 9420, -5760, 0);
  spthrow_AimUpdate(poThrower);
  setp_AimPointGet(&ax, &ay);
  EXPECT_EQ(ax, 9216);
  EXPECT_EQ(ay, -5616);
  // Without a partner chosen the nearest team-mate is taken.
  setp_PartnerSet(nullptr);
  spthrow_AimUpdate(poThrower);
  EXPECT_EQ(setp_poGetPartner(), poPartner);
}

TEST_F(SetpTest, CornerAimNeverLeavesItsArc) {
  // Arcs around the four corners' lines to the penalty spots, including those
  // wrapping through 0, under random aim commands.
  const std::int32_t aCorners[4][2] = {{9360, 5760}, {9360, -5760}, {-9360, 5760}, {-9360, -5760}};
  Player* pp = EnginePlayer(7);
  for (const auto& c : aCorners) {
    const std::int32_t sx = c[0] > 0 ? 7632 : -7632;
    const std::int32_t a = setp_HeadingTo(c[0], c[1], sx, 0);
    const std::int32_t lo = setp_Wrap802(a - 200), hi = setp_Wrap802(a + 200);
    ball_PositionSet(&ball_oBall, c[0], 0, c[1]);
    setp_AimDefaults();
    setp_AimAngleSet(a);
    for (int i = 0; i < 2000; i++) {
      setp_CommandSet(QMathRandRange(1) ? SETP_CMD_AIM_LEFT : SETP_CMD_AIM_RIGHT);
      setp_TakerAim(pp);
      setp_AimAngleSet(spcorn_AimClamp(setp_AimAngleGet(), lo, hi));
      const std::int32_t d = setp_Wrap802(setp_AimAngleGet() - lo);
      ASSERT_LE(d, 400) << "corner " << c[0] << "," << c[1] << " step " << i;
    }
  }
  // The clamp keeps the nearer end.
  EXPECT_EQ(spcorn_AimClamp(500, 700, 100), 700);
  EXPECT_EQ(spcorn_AimClamp(200, 700, 100), 100);
  EXPECT_EQ(spcorn_AimClamp(50, 700, 100), 50);
  EXPECT_EQ(spcorn_AimClamp(801, 700, 100), 801);
}

TEST_F(SetpTest, FreeKickChoicesFollowTheRunningWeights) {
  // Reference: the first entry whose running sum reaches r.
  struct Row {
    std::int32_t kind, tree;
    std::vector<std::int32_t> w, z;
  } rows[] = {
      {9, 1964, {30, 20, 10, 20, 10, 10}, {1, 9, 16, 129, 10, 17}},
      {10, 468, {20, 20, 15, 15, 20, 10}, {1, 9, 16, 129, 10, 17}},
      {11, 1407, {30, 20, 10, 20, 10, 10}, {1, 9, 16, 129, 10, 17}},
      {12, 2207, {20, 20, 15, 15, 20, 10}, {1, 9, 16, 129, 10, 17}},
      {13, 720, {5, 5, 90}, {8, 15, -1}},
      {14, 1500, {65, 5, 5, 25}, {1, 9, 16, 130}},
      {15, 194, {25, 25, 25, 25}, {8, 15, 9, 16}},
  };
  for (const Row& row : rows) {
    for (std::int32_t r = 0; r < 100; r++) {
      std::int32_t sum = 0;
      std::size_t i = 0;
      while (i < row.w.size() && (sum += row.w[i]) < r) i++;
      std::int32_t tree = 0;
      EXPECT_EQ(spfk_ChoiceZoneGet(row.kind, r, &tree), row.z[i]) << row.kind << " r " << r;
      EXPECT_EQ(tree, row.tree);
    }
  }
  // Kind 13 by the rule: a direct shot in 89 of the 100 draws.
  int direct = 0;
  for (std::int32_t r = 0; r < 100; r++) {
    std::int32_t tree;
    direct += spfk_ChoiceZoneGet(13, r, &tree) == -1;
  }
  EXPECT_EQ(direct, 89);
}

TEST_F(SetpTest, ArrivalWithin72AndNoCircling) {
  Player* pp = EnginePlayer(6);
  EnginePlace(pp, 0, 0, 0);
  setp_WalkStart(pp, 71, 0, ANIM_WALK);
  EXPECT_EQ(setp_WalkUpdate(pp), 1);  // 71 units away counts as there
  setp_WalkStart(pp, 72, 0, ANIM_WALK);
  EXPECT_EQ(setp_WalkUpdate(pp), 0);
  // Within 144 but no nearer than the tick before: there.
  EXPECT_EQ(setp_WalkUpdate(pp), 1);
  setp_WalkStart(pp, 200, 0, ANIM_WALK);
  EXPECT_EQ(setp_WalkUpdate(pp), 0);
  EXPECT_EQ(setp_WalkUpdate(pp), 0);  // 200 away is never "there" by standing still
}

TEST_F(SetpTest, PositionCycleMovesWaitsAndChoosesInItsZones) {
  // An attacker at a throw-in: his options come from the tables; he walks to
  // a point of one of them, waits 90..179 ticks and chooses again.
  Player* pp = EnginePlayer(9);
  ball_PositionSet(&ball_oBall, 0, 0, -5760);
  setp_KindSet(3);
  pp->oAIInfo.bIsAttacking = 1;
  setp_AttackPositionChoose(pp);
  const SetPieceRecord& r = pp->oSetPiece;
  ASSERT_GT(r.cOptions, 0);
  ASSERT_LE(r.cOptions, 3);
  std::set<std::int32_t> seenStates;
  for (int t = 0; t < 1500; t++) {
    EXPECT_EQ(setp_PositionUpdate(pp), SETP_NOT_YET);
    seenStates.insert(r.iPosState);
    EngineTick();
  }
  EXPECT_EQ(seenStates, (std::set<std::int32_t>{1, 2, 3}));
  setp_CommandSet(SETP_CMD_HOLD);
  EXPECT_EQ(setp_PositionUpdate(pp), SETP_DONE);
  // A key with no row: no options, he holds his place.
  Player* pq = EnginePlayer(10);
  pq->oAIInfo.bIsAttacking = 1;
  pq->oSetPiece.piOptions = nullptr;
  setp_AttackPositionChoose(pq);
  if (pq->oSetPiece.iTreeKey <= 0) {
    EXPECT_EQ(pq->oSetPiece.cOptions, 0);
  }
  pq->oSetPiece.iTreeKey = 99999;
  pq->oSetPiece.cOptions = 0;
  pq->oSetPiece.piOptions = nullptr;
  pq->oSetPiece.iPosState = SETP_POS_CHOOSING;
  const std::int32_t x0 = pq->x, y0 = pq->y;
  setp_PositionUpdate(pq);
  EXPECT_EQ(pq->oSetPiece.iPosState, SETP_POS_CHOOSING);
  EXPECT_EQ(pq->x, x0);
  EXPECT_EQ(pq->y, y0);
}

TEST_F(SetpTest, GoalKickReachAndLongKickFromPower) {
  // Long kick: power x 7920 / 100 + 2880 along the keeper's facing.
  Player* pk = EnginePlayer(0);
  EnginePlace(pk, -8000, 0, 0);
  ball_PositionSet(&ball_oBall, -8000, 0, 0);
  for (std::int32_t power : {0, 10, 37, 50, 100}) {
    setp_PowerSet(power);
    setp_CommandSet(SETP_CMD_READY);
    spgk_CommandUpdate(pk);
    std::int32_t x, y;
    setp_AimPointGet(&x, &y);
    EXPECT_EQ(setp_KickDistanceGet(), power * 7920 / 100 + 2880);
    EXPECT_NEAR(x, -8000 + power * 7920 / 100 + 2880, 12);  // the table sine is 0.1 % short
    EXPECT_NEAR(y, 0, 2);
    EXPECT_EQ(anim_RequestGet(&pk->oAnimInfo), ANIM_GOALIE_PLACEKIK);
  }
  // Short pass: the farthest team-mate within power x 4320 / 100 ahead.
  for (std::int32_t id = 1; id < 11; id++) EnginePlace(EnginePlayer(id), 5000, 5000, 0);
  EnginePlace(EnginePlayer(2), -6000, 200, 0);   // 2000 ahead
  EnginePlace(EnginePlayer(3), -5200, 0, 0);     // 2800 ahead
  EnginePlace(EnginePlayer(4), -8000, 2500, 0);  // beside him: outside ±30 degrees
  setp_PowerSet(50);  // reach 2160
  setp_CommandSet(SETP_CMD_RELEASE);
  spgk_CommandUpdate(pk);
  EXPECT_EQ(setp_poGetPartner(), EnginePlayer(2));
  setp_PowerSet(70);  // reach 3024
  setp_CommandSet(SETP_CMD_RELEASE);
  spgk_CommandUpdate(pk);
  EXPECT_EQ(setp_poGetPartner(), EnginePlayer(3));
}

TEST_F(SetpTest, GoalKickTurnsOnlyWithinItsRange) {
  Player* pk = EnginePlayer(0);
  pk->Direction = 1;
  EnginePlace(pk, -8000, 0, 0);
  // Turning left stops once the heading leaves 60075..4733 (16-bit).
  for (int i = 0; i < 40; i++) {
    setp_CommandSet(SETP_CMD_AIM_LEFT);
    spgk_CommandUpdate(pk);
  }
  const std::int32_t hLeft = (pk->iFacing * 65536 / 802) & 0xFFFF;
  EXPECT_TRUE(hLeft > 4733 && hLeft <= 4733 + 800) << hLeft;
  for (int i = 0; i < 80; i++) {
    setp_CommandSet(SETP_CMD_AIM_RIGHT);
    spgk_CommandUpdate(pk);
  }
  const std::int32_t hRight = (pk->iFacing * 65536 / 802) & 0xFFFF;
  EXPECT_TRUE(hRight < 60803 && hRight >= 60803 - 800) << hRight;
}

TEST_F(SetpTest, KeepersBallTurnsInQuarterTurnsWithinHisHalf) {
  Player* pk = EnginePlayer(0);
  pk->Direction = 1;
  EnginePlace(pk, -7400, 0, 0);
  setp_KickTakerSet(pk);
  std::set<std::int32_t> headings;
  for (int i = 0; i < 12; i++) {
    setp_CommandSet(i % 3 ? SETP_CMD_AIM_LEFT : SETP_CMD_AIM_RIGHT);
    pk->oSetPiece.iEnterState = 13;
    RunOn(sphands_Handler, pk);
    headings.insert(pk->iFacing);
  }
  // Toward the pitch and along the line, never back toward his own goal.
  for (std::int32_t h : headings) EXPECT_TRUE(h == 0 || h == 200 || h == 601 || h == 602) << h;
  EXPECT_EQ(headings.count(401), 0u);
}

TEST_F(SetpTest, WalkOnLinesUpBesideTheTouchLineAndWaitsForTheFade) {
  // Each side lines up a yard apart in its own half, below the -y touch line.
  for (std::int32_t id = 1; id < 22; id++) {
    Player* pp = EnginePlayer(id);
    if (id == 11) continue;
    pp->oSetPiece.iEnterState = 1;
    RunOn(setp_EnterHandler, pp);
    EXPECT_LE(pp->y, -5760);
    EXPECT_GE(pp->y, -5760 - 720);
    EXPECT_EQ(pp->oSetPiece.iEnterState, 3);
  }
  EXPECT_EQ(setp_iGetEnterCount(), 20);
  // The command ends every walk at once; the last one waits for the fade.
  setp_CommandSet(SETP_CMD_KICK);
  for (std::int32_t id = 1; id < 22; id++)
    if (id != 11) RunOn(setp_EnterHandler, EnginePlayer(id));
  EXPECT_EQ(setp_iGetEnterCount(), 0);
  EXPECT_EQ(EnginePlayer(5)->oSetPiece.iEnterState, 2);
}

}  // namespace

namespace {

TEST_F(SetpTest, AKindWithNoTakerChosenTakesTheNearestAttacker) {
  // Nobody chosen for a throw-in: the attacking side's player nearest the
  // ball throws; a goal kick with nobody chosen goes to the keeper.
  for (std::int32_t id = 0; id < 22; id++) EnginePlayer(id)->oAIInfo.bIsAttacking = id < 11;
  ball_PositionSet(&ball_oBall, -2000, 0, -5760);
  EnginePlace(EnginePlayer(6), -1900, -5000, 0);
  EnginePlace(EnginePlayer(17), -2000, -5700, 0);  // nearer, but defending
  setp_KickTakerSet(nullptr);
  RunOn(spthrow_Handler, EnginePlayer(3));
  EXPECT_EQ(setp_poGetKickTaker(), EnginePlayer(6));
  setp_Init();
  setp_KickTakerSet(nullptr);
  EnginePlayer(5)->oSetPiece.iEnterState = 1;
  RunOn(spgk_Handler, EnginePlayer(5));
  EXPECT_EQ(setp_poGetKickTaker(), EnginePlayer(0));
}

}  // namespace

namespace {

TEST_F(SetpTest, PenaltySweepReversesAtItsEndsAndWeakerShootersSweepFaster) {
  Player* pp = EnginePlayer(9);
  pp->Direction = 1;
  ball_PositionSet(&ball_oBall, 7632, 0, 0);
  // Reversals over 1000 ticks for a shooter of the given accuracy, checked
  // tick by tick against the rule: aim at the offset point, offset += drift,
  // the drift turning at +577 and -577.
  auto sweep = [&](std::uint8_t acc) {
    EngineDbPlayer(9)->uAccuracy = acc;
    const std::int32_t iSwing = ((130 - PlayerO_Attr56Get(pp)) * 64 / 130) * 4;
    setp_AimSwingSet(iSwing);
    setp_AimDriftSet(iSwing);
    setp_AimOffsetSet(0);
    std::int32_t off = 0, drift = iSwing, reversals = 0;
    for (int t = 0; t < 1000; t++) {
      sppen_AimUpdate(pp);
      EXPECT_EQ(setp_AimAngleGet(), setp_Wrap802(imath_Atan2(off, 1440))) << t;
      off += drift;
      if (off >= 577 || off <= -577) drift = -drift, reversals++;
      EXPECT_EQ(setp_AimOffsetGet(), off) << t;
      EXPECT_EQ(setp_AimDriftGet(), drift) << t;
      EXPECT_LE(std::abs(off), 577 + iSwing);
    }
    return reversals;
  };
  const std::int32_t weak = sweep(20), strong = sweep(95);
  EXPECT_GT(strong, 0);
  EXPECT_GT(weak, strong);
}

}  // namespace

namespace {

// A computer-taken restart of each kind on the engine match: every player
// runs the kind's handler each tick (attackers, or everyone where the mode
// runs everyone), the match and the ball step, until the kind asks for its
// mode to be popped. The ball must have been played.
class SetpKindRunTest : public SetpTest {
 protected:
  int RunKind(ActionNode* (*pfn)(ActionNode*), bool bEveryone, bool bPopExpected = true) {
    global.bPopRequest = 0;
    int t = 0;
    for (; t < 3000 && !global.bPopRequest; t++) {
      for (std::int32_t id = 0; id < 22; id++) {
        Player* pp = EnginePlayer(id);
        if (bEveryone || pp->oAIInfo.bIsAttacking) RunOn(pfn, pp);
      }
      EngineTick();
      ball_Update();
    }
    if (bPopExpected) {
      EXPECT_EQ(global.bPopRequest, 1) << "never ended";
    }
    for (int i = 0; i < 40; i++) ball_Update();  // the ball on its way
    return t;
  }
  // The home keeper (attacking +x) with the ball where he stands, the
  // taker of a keeper's ball.
  Player* KeeperWithTheBall(std::int32_t x, std::int32_t y) {
    Attacking(1);
    Player* pk = EnginePlayer(0);
    EnginePlace(pk, x, y, 0);
    ball_PositionSet(&ball_oBall, x, 0, y);
    setp_KickTakerSet(pk);
    return pk;
  }
  void Attacking(std::int32_t iSide) {
    for (std::int32_t id = 0; id < 22; id++) {
      Player* pp = EnginePlayer(id);
      pp->oAIInfo.bIsAttacking = (id < 11) == (iSide == 1);
      setp_RecordInit(pp);
    }
  }
};

TEST_F(SetpKindRunTest, ComputerCornerIsKickedIntoTheBox) {
  Attacking(1);
  ball_PositionSet(&ball_oBall, 9360, 0, -5760);
  EnginePlace(EnginePlayer(7), 9200, -5600, 0);
  setp_KindSet(SETP_KIND_CORNER);
  setp_KickTakerSet(EnginePlayer(7));
  const int t = RunKind(spcorn_Handler, false);
  EXPECT_GT(t, 210);  // the computer's countdown
  EXPECT_EQ(ball_WhoKickedGet(), EnginePlayer(7));
  EXPECT_GT(setp_Distance(ball_XGet(&ball_oBall) - 9360, ball_YGet(&ball_oBall) + 5760), 1000);
  std::int32_t ax, ay;
  setp_AimPointGet(&ax, &ay);
  EXPECT_GT(ax, 5000);  // toward the goal at +x
  EXPECT_LT(std::abs(ay), 4000);
}

TEST_F(SetpKindRunTest, ComputerThrowInReachesATeamMate) {
  Attacking(1);
  ball_PositionSet(&ball_oBall, -2000, 0, -5760);
  EnginePlace(EnginePlayer(5), -2000, -5760, 200);
  setp_KindSet(setp_ThrowInKindGet(-2000, EnginePlayer(5)->Direction));
  setp_KickTakerSet(EnginePlayer(5));
  RunKind(spthrow_Handler, false);
  // Thrown into the pitch toward the team-mate the aim point was set for.
  EXPECT_LT(std::abs(ball_YGet(&ball_oBall)), 5760);
  std::int32_t ax, ay;
  setp_AimPointGet(&ax, &ay);
  Player* poNearest = nullptr;
  std::int64_t best = -1;
  for (std::int32_t id = 0; id < 11; id++) {
    Player* pp = EnginePlayer(id);
    const std::int64_t d = std::int64_t(pp->x - ax) * (pp->x - ax) + std::int64_t(pp->y - ay) * (pp->y - ay);
    if (pp != EnginePlayer(5) && (best < 0 || d < best)) best = d, poNearest = pp;
  }
  ASSERT_NE(poNearest, nullptr);
  EXPECT_EQ(poNearest->MyTeam, EnginePlayer(5)->MyTeam);
}

// A throw along the line that comes to rest between the line it counts as
// thrown in at and the one it is out at: the throw-in still ends.
TEST_F(SetpKindRunTest, AThrowThatStopsOnTheLineEndsTheThrowIn) {
  Attacking(1);
  Player* poThrower = EnginePlayer(5);
  EnginePlace(poThrower, -2000, -5760, 200);
  setp_KindSet(setp_ThrowInKindGet(-2000, poThrower->Direction));
  setp_KickTakerSet(poThrower);
  // He enters, then has thrown: the ball lies still at y -5770, nobody's.
  RunOn(spthrow_Handler, poThrower);
  setp_CommandSet(SETP_CMD_KICK);
  poThrower->oSetPiece.iEnterState = 11;
  poThrower->oSetPiece.iPosState = SETP_POS_KICKING;
  anim_CallbackSet(&poThrower->oAnimData, nullptr);
  ball_PositionSet(&ball_oBall, -3600, 0, -5770);
  ball_oBall.iKind = BALL_KIND_NONE;
  ASSERT_EQ(ball_OwnerGet(), nullptr);
  RunKind(spthrow_Handler, false);
  EXPECT_EQ(ball_YGet(&ball_oBall), -5770);
}

TEST_F(SetpKindRunTest, ComputerFreeKickIsTaken) {
  Attacking(1);
  ball_PositionSet(&ball_oBall, 4000, 0, 800);
  EnginePlace(EnginePlayer(8), 3900, 800, 0);
  setp_KindSet(SETP_KIND_OTHER_FREEKICK);
  setp_KickTakerSet(EnginePlayer(8));
  RunKind(spfk_Handler, false);
  EXPECT_EQ(ball_WhoKickedGet(), EnginePlayer(8));
  EXPECT_GT(setp_Distance(ball_XGet(&ball_oBall) - 4000, ball_YGet(&ball_oBall) - 800), 500);
}

TEST_F(SetpKindRunTest, KeepersBallBehindHisLineEndsForEveryone) {
  Attacking(1);
  ball_PositionSet(&ball_oBall, -9400, 0, 0);
  setp_KickTakerSet(EnginePlayer(0));
  const int t = RunKind(sphands_Handler, true);
  EXPECT_LT(t, 10);
}

// The keeper of the side's first player at (x, 0) with the ball, about to
// take his ball.
Player* KeepersBallAt(std::int32_t x) {
  Player* pk = EnginePlayer(0);
  EnginePlace(pk, x, 0, 0);
  ball_PositionSet(&ball_oBall, x, 0, 0);
  setp_KickTakerSet(pk);
  pk->oSetPiece.iEnterState = 1;
  return pk;
}

TEST_F(SetpKindRunTest, KeeperWhoCannotBackUpStillTakesHisBall) {
  // Holding the ball he never moves; he counts as there once he gets no
  // nearer his line than the tick before.
  Attacking(1);
  Player* pk = KeepersBallAt(-6000);
  RunOn(sphands_Handler, pk);
  EXPECT_EQ(pk->oSetPiece.iEnterState, 29);
  RunOn(sphands_Handler, pk);  // first look: not there yet
  EXPECT_EQ(pk->oSetPiece.iEnterState, 29);
  pk->x = -6000;
  RunOn(sphands_Handler, pk);  // no nearer than before: there
  EXPECT_EQ(pk->oSetPiece.iEnterState, 21);
}

// An out the referee hears of ends the keeper's ball for good: the keeper
// waiting to kick (the computer's countdown about to choose his aim) plays
// nothing more, whatever ticks of the ended keeper's ball still run before
// open play takes over.
TEST_F(SetpKindRunTest, AfterAnOutTheKeepersBallPlaysNothingMore) {
  Attacking(1);
  Player* pk = KeepersBallAt(-8000);
  RunOn(sphands_Handler, pk);
  RunOn(sphands_Handler, pk);
  ASSERT_EQ(pk->oSetPiece.iEnterState, 21);
  const std::uint32_t eAnim = pk->oAnimInfo.eActionAnim;
  global.bPopRequest = 0;
  sphands_BallOut();
  EXPECT_EQ(global.bPopRequest, 1);
  for (int i = 0; i < 120; i++) RunOn(sphands_Handler, pk);
  EXPECT_EQ(pk->oSetPiece.iEnterState, 21);
  EXPECT_EQ(pk->oAnimInfo.eActionAnim, eAnim);
  EXPECT_EQ(setp_CommandGet(), SETP_CMD_NONE);
  EXPECT_EQ(ball_XGet(&ball_oBall), -8000);
}

// A person's keeper who gathered on or near his goal line, facing his own
// net, turns to the pitch and steps out to his spot (32 a tick) before he
// waits for the person; one who gathered further out waits where he is,
// facing the pitch too. The computer's keeper is not walked out.
TEST_F(SetpKindRunTest, PersonsKeeperOnHisLineStepsOutFacingThePitchBeforeHeWaits) {
  struct Case {
    std::int32_t iDirection, iX, iY, iFacing;  // where he gathered, facing
    std::int32_t iSpotX, iFacingUpfield;       // where he waits
    std::int32_t cSteps;                       // ticks of stepping out
  };
  const Case aCases[] = {
      {1, -9380, 300, 401, -9072, 0, 10},    // defends -x: on his line facing his net
      {0, 9350, -500, 0, 9072, 401, 9},      // defends +x
      {0, 9100, 0, 200, 9072, 401, 1},       // just inside the spot
      {1, -8000, 100, 300, -8000, 0, 0},     // well out: waits where he is
  };
  for (const Case& k : aCases) {
    Attacking(1);
    Player* pk = EnginePlayer(0);
    pk->Direction = k.iDirection;
    pk->Control = PLAYER_CONTROL_USER;
    EnginePlace(pk, k.iX, k.iY, 0);
    setp_FaceHeading(pk, k.iFacing);
    ball_PositionSet(&ball_oBall, k.iX, 0, k.iY);
    setp_KickTakerSet(pk);
    pk->oSetPiece.iEnterState = 1;
    RunOn(sphands_Handler, pk);
    ASSERT_EQ(pk->oSetPiece.iEnterState, 29);
    RunOn(sphands_Handler, pk);
    EXPECT_EQ(pk->iFacing, k.iFacingUpfield) << k.iX;
    std::int32_t cSteps = 0;
    for (; cSteps < 40 && pk->oSetPiece.iEnterState != 13; cSteps++) {
      const std::int32_t x0 = pk->x;
      RunOn(sphands_Handler, pk);
      EXPECT_LE(std::abs(pk->x - x0), 32);
      EXPECT_LE(std::abs(pk->x), std::abs(x0)) << "toward his own line";
    }
    EXPECT_EQ(pk->oSetPiece.iEnterState, 13) << k.iX;
    EXPECT_EQ(cSteps - 1, k.cSteps) << k.iX;
    EXPECT_EQ(pk->x, k.iSpotX);
    EXPECT_EQ(pk->y, k.iY);
    EXPECT_EQ(pk->iFacing, k.iFacingUpfield);
    // Then he waits for the person: nothing moves him.
    for (int i = 0; i < 30; i++) RunOn(sphands_Handler, pk);
    EXPECT_EQ(pk->x, k.iSpotX);
    EXPECT_EQ(pk->oSetPiece.iEnterState, 13);
    pk->Control = PLAYER_CONTROL_COMPUTER;
  }
}

// A throw the person released at any moment of his keeper's ball (before
// the keeper backs up, while he steps out from his line, once he waits at
// his spot) is played with the power its press charged, as soon as he is
// ready: a quick long throw after a catch on the line goes long. Without a
// press the aim waits at its defaults.
TEST_F(SetpKindRunTest, PersonsKeeperThrowsWithThePowerThePressChargedWhenever) {
  struct Case {
    const char* pszWhen;
    std::int32_t iPressAtState;  // the keeper's state on the tick the throw is released
    std::int32_t iPower;
    std::int32_t iLaunchX;  // power x 64.8 + 1440 on from his spot, as the integer cosine gives it
  };
  const Case aCases[] = {
      {"before he backs up", 1, 75, -2774},
      {"as he steps out", 30, 90, -1802},
      {"at his spot", 13, 35, -5365},
  };
  for (const Case& c : aCases) {
    Attacking(1);
    Player* pk = EnginePlayer(0);
    pk->Direction = 1;
    pk->Control = PLAYER_CONTROL_USER;
    EnginePlace(pk, -9380, 300, 0);
    setp_FaceHeading(pk, 401);
    ball_PositionSet(&ball_oBall, -9380, 0, 300);
    setp_KickTakerSet(pk);
    setp_CommandClear();
    setp_PowerSet(10);
    pk->oSetPiece.iEnterState = 1;
    bool bPressed = false;
    std::int32_t cTicks = 0;
    for (; cTicks < 40 && pk->oSetPiece.iEnterState != 2; cTicks++) {
      if (!bPressed && pk->oSetPiece.iEnterState == c.iPressAtState) {
        // As the keys of the keeper's ball leave it: the power, then the throw.
        setp_PowerSet(c.iPower);
        setp_CommandSet(SETP_CMD_READY);
        bPressed = true;
      }
      RunOn(sphands_Handler, pk);
    }
    ASSERT_TRUE(bPressed) << c.pszWhen;
    ASSERT_EQ(pk->oSetPiece.iEnterState, 2) << c.pszWhen;
    EXPECT_EQ(setp_PowerGet(), c.iPower) << c.pszWhen;
    // Thrown from his spot straight up the pitch.
    EXPECT_EQ(pk->x, -9072) << c.pszWhen;
    std::int32_t x, y;
    sphands_LaunchPointGet(&x, &y);
    EXPECT_EQ(x, c.iLaunchX) << c.pszWhen;
    EXPECT_EQ(y, 300) << c.pszWhen;
    EXPECT_EQ(pk->oAnimInfo.eActionAnim, 69u) << c.pszWhen;
  }
  // No press: at his spot the aim is at its defaults.
  Attacking(1);
  Player* pk = EnginePlayer(0);
  EnginePlace(pk, -9380, 300, 0);
  ball_PositionSet(&ball_oBall, -9380, 0, 300);
  setp_KickTakerSet(pk);
  setp_CommandClear();
  setp_PowerSet(90);
  pk->oSetPiece.iEnterState = 1;
  for (int i = 0; i < 40 && pk->oSetPiece.iEnterState != 13; i++) RunOn(sphands_Handler, pk);
  ASSERT_EQ(pk->oSetPiece.iEnterState, 13);
  EXPECT_EQ(setp_PowerGet(), 10);
  pk->Control = PLAYER_CONTROL_COMPUTER;
}

// The keeper's ball begun afresh takes an out at once, however the last one
// ended; whatever ends it, its taker's set-piece state is reset with it.
TEST_F(SetpKindRunTest, AKeepersBallEndsOnTheFirstOutAfterTheLastOneEnded) {
  Player* pk = KeeperWithTheBall(-8000, 0);
  global.bPopRequest = 0;
  sphands_BallOut();  // the last keeper's ball ended on an out
  EXPECT_EQ(global.bPopRequest, 1);
  EXPECT_EQ(setp_poGetKickTaker(), nullptr);
  // The next one: the out the referee hears of before its first step.
  global.bPopRequest = 0;
  sphands_Start();
  setp_KickTakerSet(pk);
  pk->oSetPiece.iEnterState = 1;
  pk->oSetPieceRole.iRole = 3;
  sphands_BallOut();
  EXPECT_EQ(global.bPopRequest, 1);
  EXPECT_EQ(setp_poGetKickTaker(), nullptr);
  EXPECT_EQ(pk->oSetPieceRole.iRole, -1);
}

// A ball nobody holds at rest over a line during the keeper's ball (the
// referee hears only of a held or moving one) ends it from the keeper's
// own step.
TEST_F(SetpKindRunTest, AKeepersBallWithTheBallAtRestOverALineEndsAtItsNextStep) {
  Player* pk = KeeperWithTheBall(-8000, 0);
  pk->oSetPiece.iEnterState = 1;
  RunOn(sphands_Handler, pk);
  global.bPopRequest = 0;
  RunOn(sphands_Handler, pk);
  EXPECT_EQ(global.bPopRequest, 0);
  ball_PositionSet(&ball_oBall, -9400, 0, 200);
  RunOn(sphands_Handler, pk);
  EXPECT_EQ(global.bPopRequest, 1);
}

TEST_F(SetpKindRunTest, KeepersDropKickFliesUpThePitch) {
  // The ball leaves his hands 288 high and flies toward the launch point; it
  // must not lie still at his feet, where nobody would ever play it again.
  Attacking(1);
  Player* pk = EnginePlayer(0);
  EnginePlace(pk, -9000, -300, 0);
  ball_PositionSet(&ball_oBall, -9000, 0, -300);
  newballA_OwnerSet(pk, 1);
  sphands_LaunchPointSet(-7200, -300);
  sphands_DropKickLaunch(pk);
  EXPECT_EQ(ball_oBall.poOwner, nullptr);
  EXPECT_EQ(ball_oBall.iKind, 10);
  EXPECT_EQ(ball_HeightGet(&ball_oBall), 288);
  std::int32_t iTop = 0;
  for (int i = 0; i < 10; i++) {
    ball_Update();
    iTop = std::max(iTop, ball_HeightGet(&ball_oBall));
  }
  EXPECT_GT(iTop, 288);  // rising off his boot
  EXPECT_GT(ball_XGet(&ball_oBall), -9000 + 300);
  EXPECT_EQ(ball_oBall.poPrevOwner, pk);
}

TEST_F(SetpKindRunTest, ComputerGoalKickGoesLong) {
  Attacking(1);
  Player* pk = EnginePlayer(0);
  referee_RestartPointSet(-8400, 600);
  EnginePlace(pk, -8600, 0, 0);
  setp_KickTakerSet(pk);
  RunKind(spgk_Handler, true, false);
  EXPECT_EQ(ball_WhoKickedGet(), pk);
  EXPECT_GT(ball_XGet(&ball_oBall), -8400 + 2000);  // on its way up the pitch
  std::int32_t ax, ay;
  setp_AimPointGet(&ax, &ay);
  // Into the attacked half, short of the far penalty area.
  EXPECT_GT(ax, 0);
  EXPECT_LT(ax, 6768);
  EXPECT_EQ(setp_poGetKickTaker(), nullptr);  // the kind reset itself at its end
}

}  // namespace

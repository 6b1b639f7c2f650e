// The animation table's rows as the engine sees them, the animation state,
// stepping both ways, contact callbacks and the ball on its holder.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/newgoalo.h"
#include "engine/player.h"
#include "engine_env.h"
#include "shell/global.h"
#include "shell/user.h"

namespace {

class AnimTest : public ::testing::Test {
 protected:
  void SetUp() override { EngineMatchSetup(); }
  Player* pp = nullptr;
  AnimData* Data() { return &pp->oAnimData; }
};

std::int32_t s_cContact;
void CountContact(Player*) { s_cContact++; }

TEST_F(AnimTest, TableRowsZeroAndOneAndMissingIds) {
  EXPECT_EQ(anim_aTable[0].id, 0u);
  EXPECT_EQ(anim_aTable[0].followId, ANIM_NONE);
  EXPECT_EQ(anim_aTable[0].followFrame, 255);
  EXPECT_EQ(anim_aTable[0].contact, -1);
  EXPECT_EQ(anim_aTable[1].id, 0u);
  EXPECT_EQ(anim_aTable[1].pfnDispatch, move_EventDispatchNow);
  std::int32_t cFilled = 0;
  for (std::uint32_t i = 0; i < ANIM_MAX; i++) cFilled += anim_aTable[i].id == i && i > 1;
  EXPECT_EQ(cFilled, 162);
  for (std::uint32_t e : {15u, 16u, 17u, 24u, 26u, 34u, 103u, 104u, 111u, 126u, 128u, 134u, 135u, 150u, 151u, 162u,
                          166u, 176u, 180u, 181u}) {
    EXPECT_EQ(anim_aTable[e].id, 0u) << e;
  }
  // Codes mapped to the engine's functions.
  EXPECT_EQ(anim_aTable[6].pfnStep, anim_StepContact);
  EXPECT_EQ(anim_aTable[6].pfnHook, move_HookPlay);
  EXPECT_EQ(anim_aTable[6].pfnDispatch, move_EventDispatch);
  EXPECT_EQ(anim_aTable[129].pfnDispatch, move_EventDispatchRun);
  EXPECT_EQ(anim_aTable[127].pfnStep, anim_StepLoop);
  EXPECT_EQ(anim_aTable[127].pfnHook, move_HookRun);
  EXPECT_EQ(anim_aTable[35].pfnDispatch, move_EventDispatchFall);
  EXPECT_EQ(anim_aTable[12].pfnDispatch, move_EventDispatchCelebrate);
  EXPECT_EQ(anim_aTable[58].pfnStep, anim_StepForwardHold);
  EXPECT_EQ(anim_aTable[58].moveClass, 7u);
  EXPECT_EQ(anim_aTable[38].pfnStep, anim_StepForwardMoveAlt);
  EXPECT_EQ(anim_aTable[8].pfnStep, anim_StepForwardMove);
  EXPECT_EQ(anim_aTable[121].pfnStep, anim_StepHold);
  // The keeper save whose contact frame lies past its end has none.
  EXPECT_EQ(anim_aTable[44].contact, -1);
  EXPECT_EQ(anim_aTable[68].contact, 33);
  EXPECT_DEATH(anim_RecordGet(15), "");
  AnimData ad{};
  anim_Reset(&ad);
  EXPECT_DEATH(anim_ActionAnimSet(&ad, 0), "eActionAnim");
  EXPECT_DEATH(anim_ActionAnimSet(&ad, 16), "");
}

TEST_F(AnimTest, SwitchingFollowOnAndRepeatRequests) {
  pp = EnginePlayer(5);
  anim_ActionAnimSet(Data(), 127);
  for (int i = 0; i < 5; i++) anim_Advance(pp, Data());
  EXPECT_EQ(anim_FrameGet(Data()), 5);
  anim_ActionAnimSet(Data(), 127);  // already playing: no restart
  EXPECT_EQ(anim_FrameGet(Data()), 5);
  EXPECT_EQ(Data()->uTicks, 5);
  struct Case {
    std::uint32_t from, to;
    std::int32_t frame;
  } cases[] = {{2, 102, 18}, {3, 105, 18}, {4, 129, 7}, {5, 129, 5}, {2, 105, 0}, {4, 127, 0}, {5, 146, 0}};
  for (const Case& c : cases) {
    anim_ActionAnimSet(Data(), c.from);
    anim_InUseFlagSet(Data());
    Data()->uFlags |= ANIM_FLAG_ENDED;
    anim_ActionAnimSet(Data(), c.to);
    EXPECT_EQ(anim_FrameGet(Data()), c.frame) << c.from << "->" << c.to;
    EXPECT_EQ(Data()->ePrevAnim, c.from);
    EXPECT_EQ(Data()->uFlags, ANIM_FLAG_IN_USE);  // only the gesture bit survives
    EXPECT_EQ(Data()->uSpeed, 64);
    EXPECT_EQ(Data()->uTicks, 0);
  }
  anim_ActionAnimSetAt(Data(), 21, 7);
  EXPECT_EQ(anim_FrameGet(Data()), 7);
  EXPECT_EQ(Data()->uStart, 0);
  EXPECT_EQ(Data()->uFlags, 0);
}

// Frame after n ticks and the tick on which the ended bit first shows.
struct StepCase {
  std::uint32_t eAnim;
  std::int32_t ticks;
  std::int32_t frame;
  bool ended;
};

TEST_F(AnimTest, SteppingForwardBackwardLoopAndHold) {
  pp = EnginePlayer(6);
  const StepCase cases[] = {
      {127, 13, 13, false}, {127, 14, 0, true},  {127, 20, 6, true},   // loop 0-14
      {136, 1, 0, true},                                               // stand 0-1 ends every tick
      {121, 43, 43, false}, {121, 44, 43, true}, {121, 60, 43, true},  // hold one short of 44
      {124, 20, 1, false},  {124, 21, 1, true},  {124, 30, 1, true},   // backward 21-0 holds at 1
      {119, 42, 1, false},  {119, 43, 1, true},                        // backward 43-0
      {58, 5, 0, true},     {72, 36, 36, false}, {72, 37, 36, true},   // forward hold
      {2, 7, 7, false},     {2, 8, 7, true},
  };
  for (const StepCase& c : cases) {
    anim_ActionAnimSet(Data(), 170);
    anim_ActionAnimSet(Data(), c.eAnim);
    EnginePlace(pp, 0, 0, 0);
    for (int i = 0; i < c.ticks; i++) anim_Advance(pp, Data());
    EXPECT_EQ(anim_FrameGet(Data()), c.frame) << c.eAnim << " after " << c.ticks;
    EXPECT_EQ(anim_IsEnded(Data()) != 0, c.ended) << c.eAnim << " after " << c.ticks;
    EXPECT_EQ(Data()->uTicks, c.ticks);
  }
}

TEST_F(AnimTest, ContactCallbackRunsOnceAndOnlyWithTheBall) {
  pp = EnginePlayer(9);
  struct Case {
    bool bHolder;
    std::int32_t iSetPiece;
    std::int32_t want;
  } cases[] = {{true, 3, 1}, {false, 3, 0}, {false, 4, 1}};
  for (const Case& c : cases) {
    s_cContact = 0;
    ball_oBall.poOwner = c.bHolder ? pp : nullptr;
    pp->oSetPiece.iPosState = c.iSetPiece;
    anim_ActionAnimSet(Data(), 170);
    anim_ActionAnimSet(Data(), 6);  // contact frame 3, end 18
    anim_CallbackSet(Data(), CountContact);
    for (int i = 0; i < 2; i++) anim_Advance(pp, Data());
    EXPECT_EQ(s_cContact, 0);
    anim_Advance(pp, Data());  // frame 2 -> checks at 2, steps to 3
    anim_Advance(pp, Data());  // at frame 3
    EXPECT_EQ(s_cContact, c.want);
    EXPECT_EQ(Data()->pfnContact, nullptr);
    EXPECT_EQ(pp->oSetPiece.iPosState, 0);
    for (int i = 0; i < 30; i++) anim_Advance(pp, Data());
    EXPECT_EQ(s_cContact, c.want);
  }
}

TEST_F(AnimTest, HoldMoveCarriesTheRootMotionOnce) {
  pp = EnginePlayer(9);
  EnginePlace(pp, 1000, 500, 0);
  anim_ActionAnimSet(Data(), 170);
  anim_ActionAnimSet(Data(), 35);  // a fall 0-49, held at 48
  for (int i = 0; i < 48; i++) anim_Advance(pp, Data());
  EXPECT_FALSE(anim_IsEnded(Data()));
  std::int32_t x, h, y;
  anim_FramePointGet(pp, &x, &h, &y);
  anim_Advance(pp, Data());
  EXPECT_TRUE(anim_IsEnded(Data()));
  EXPECT_EQ(pp->x, x);
  EXPECT_EQ(pp->y, y);
  std::int32_t x1 = pp->x, y1 = pp->y;
  for (int i = 0; i < 5; i++) anim_Advance(pp, Data());
  EXPECT_EQ(pp->x, x1);
  EXPECT_EQ(pp->y, y1);
}

TEST_F(AnimTest, TargetClampsAndRequests) {
  AnimInfo ai{};
  anim_TargetPointSet(&ai, 20000, -20000);
  EXPECT_EQ(anim_TargetPtrGet(&ai)[0], 10800);
  EXPECT_EQ(anim_TargetPtrGet(&ai)[1], -7200);
  anim_RequestSet(&ai, 127);
  EXPECT_EQ(anim_RequestGet(&ai), 127u);
  EXPECT_DEATH(anim_RequestSet(&ai, ANIM_NONE), "eAnim != ANIM_NONE");
  EXPECT_TRUE(anim_IsInPlace(152));
  EXPECT_TRUE(anim_IsInPlace(165));
  EXPECT_FALSE(anim_IsInPlace(136));
  EXPECT_FALSE(anim_IsInPlace(168));
  EXPECT_TRUE(anim_IsKick(68));
  EXPECT_FALSE(anim_IsKick(127));
}

TEST_F(AnimTest, WorldPointsTurnWithTheFacingAndMirror) {
  // A mirrored twin's ball point is the plain one's with the lateral axis negated.
  for (std::int32_t iFacing : {0, 100, 200, 401, 650}) {
    for (auto pr : {std::pair<std::uint32_t, std::uint32_t>{20, 19}, {110, 109}, {131, 130}}) {
      std::int32_t a[3], b[3], c0[3], c1[3];
      ASSERT_TRUE(anim_ContactBallOffsetGet(0, pr.first, c0));
      ASSERT_TRUE(anim_ContactBallOffsetGet(0, pr.second, c1));
      EXPECT_EQ(c0[0], c1[0]);
      EXPECT_EQ(c0[1], c1[1]);
      EXPECT_EQ(c0[2], -c1[2]);
      ASSERT_TRUE(anim_ContactBallOffsetGet(iFacing, pr.first, a));
      ASSERT_TRUE(anim_BallPointAt(iFacing, pr.first, b, anim_ReleaseFrameGet(pr.first)));
      EXPECT_EQ(a[0], b[0]);
      EXPECT_EQ(a[2], b[2]);
      // The turned offset keeps its length (integer rounding aside).
      double r0 = std::hypot(c0[0], c0[2]), r1 = std::hypot(a[0], a[2]);
      EXPECT_NEAR(r0, r1, 3.0) << iFacing;
    }
  }
  // Facing 0 looks along +x, facing 200 along +y: a ball ahead of the feet
  // moves from +x to +y.
  std::int32_t o0[3], o200[3];
  ASSERT_TRUE(anim_ContactBallOffsetGet(0, 20, o0));
  ASSERT_TRUE(anim_ContactBallOffsetGet(200, 20, o200));
  EXPECT_GT(o0[0], 10);
  EXPECT_GT(o200[2], 10);
  EXPECT_EQ(anim_FacingToAngle16(401), -(180 * 182));
  std::int32_t aiOut[3];
  EXPECT_FALSE(anim_BallPointAt(0, 7, aiOut, 0));  // no track
}

TEST_F(AnimTest, BallFollowsItsHolder) {
  pp = EnginePlayer(9);
  EnginePlace(pp, 2000, 1000, 0);
  ball_oBall.poOwner = pp;
  // A clip without a ball track: at the feet 48 ahead of the body.
  anim_ActionAnimSet(Data(), 169);
  anim_BallAtHolderPlace();
  std::int32_t rx, rh, ry;
  anim_FramePointGet(pp, &rx, &rh, &ry);
  EXPECT_NEAR(ball_XGet(&ball_oBall), rx + 48, 1);
  EXPECT_NEAR(ball_YGet(&ball_oBall), ry, 1);
  EXPECT_EQ(ball_HeightGet(&ball_oBall), 18);
  // With a track: the track point lowered by 18.
  anim_ActionAnimSet(Data(), 105);
  anim_BallAtHolderPlace();
  std::int32_t bx, bh, by;
  ASSERT_TRUE(anim_BallPointGet(pp, &bx, &bh, &by));
  EXPECT_EQ(ball_XGet(&ball_oBall), bx);
  EXPECT_EQ(ball_HeightGet(&ball_oBall), bh - 18);
  EXPECT_EQ(ball_oBall.iTargetX, bx);
  EXPECT_EQ(ball_oBall.iPrevX128, ball_oBall.iX128);
  // A carry clip leaves the ball alone before it gathers it.
  ball_oBall.iX128 = 5 * 128;
  anim_ActionAnimSet(Data(), 153);  // contact 4
  anim_BallAtHolderPlace();
  EXPECT_EQ(ball_XGet(&ball_oBall), 5);
  EXPECT_EQ(ball_oBall.iLaunchX, 5);
}

// The home keeper (defending the goal at -x) at -9362 with the ball owned
// at his feet (a clip without a ball track), the ball at iBallWasX on the
// tick before, in a mode and a state of his own machine; iStick >= 0 is the
// magnitude of his person's stick held toward his goal. Unheld, the step
// puts the ball at -9409 with the keeper at -9362.
struct LineStep {
  std::int32_t iBallX, iKeeperX;
};
LineStep KeeperStepAtHisLine(GameMode eMode, std::int32_t eGoalieState, std::int32_t iStick, std::int32_t iBallWasX) {
  EngineMatchSetup();
  Player* pp = EnginePlayer(0);
  EXPECT_EQ(pp->Direction, 1) << "he defends the goal at -x";
  if (pp->pGoalie == nullptr) {
    ADD_FAILURE() << "the keeper has no machine";
    return {};
  }
  static User oUser;
  oUser = User{};
  global_SetGameMode(eMode);
  pp->pGoalie->eState = eGoalieState;
  if (iStick >= 0) {
    pp->Control = PLAYER_CONTROL_USER;
    pp->pUser = &oUser;
    oUser.uStickDirection = 270u << 16 | static_cast<std::uint32_t>(iStick);
  }
  EnginePlace(pp, -9362, 40, 401);
  ball_PositionSet(&ball_oBall, iBallWasX, 18, 40);
  ball_oBall.poOwner = pp;
  ball_oBall.iState = BALL_STATE_HELD;  // as every owned ball of open play
  anim_ActionAnimSet(&pp->oAnimData, 169);
  anim_BallAtHolderPlace();
  EXPECT_EQ(ball_YGet(&ball_oBall), 40);
  EXPECT_EQ(pp->y, 40);
  const LineStep o{ball_XGet(&ball_oBall), pp->x};
  pp->Control = PLAYER_CONTROL_COMPUTER;
  pp->pUser = nullptr;
  global_SetGameMode(GAME_MODE_PLAY);
  return o;
}

// Where his step toward his own goal puts the ball, against where it lay the
// tick before: in his hands he and the ball stop 1 unit inside the referee's
// line; a ball already over, a replay and a person walking him with the ball
// at his feet are left where the step puts them.
TEST_F(AnimTest, AKeeperWithTheBallInHisHandsStopsAtHisGoalLine) {
  struct Case {
    const char* pszWhat;
    GameMode eMode;
    std::int32_t eGoalieState;
    bool bPerson;            // his user's stick walks him
    std::int32_t iBallWasX;  // the ball's x on the tick before
    std::int32_t iBallX, iKeeperX;
  };
  const Case aCases[] = {
      {"a catch carried over", GAME_MODE_PLAY, GOALIE_STATE_CATCH, false, -9300, -9384, -9337},
      {"a person's catch carried over", GAME_MODE_PLAY, GOALIE_STATE_CATCH, true, -9300, -9384, -9337},
      {"the keeper's ball", GAME_MODE_KEEPER_HANDS, GOALIE_STATE_DECIDE, true, -9300, -9384, -9337},
      {"the hold in play on", GAME_MODE_PLAY_ON, GOALIE_STATE_HOLD, false, -9300, -9384, -9337},
      {"the computer's keeper at his feet", GAME_MODE_PLAY, GOALIE_STATE_DECIDE, false, -9300, -9384, -9337},
      {"a ball already over", GAME_MODE_PLAY, GOALIE_STATE_CATCH, false, -9390, -9409, -9362},
      {"a replay", GAME_MODE_REPLAY, GOALIE_STATE_CATCH, false, -9300, -9409, -9362},
      {"a person walking him with the ball at his feet", GAME_MODE_PLAY, GOALIE_STATE_DECIDE, true, -9300, -9409,
       -9362},
  };
  for (const Case& c : aCases) {
    SCOPED_TRACE(c.pszWhat);
    const LineStep o = KeeperStepAtHisLine(c.eMode, c.eGoalieState, c.bPerson ? 100 : -1, c.iBallWasX);
    EXPECT_EQ(o.iBallX, c.iBallX);
    EXPECT_EQ(o.iKeeperX, c.iKeeperX);
  }
}

// Every state of his own machine that has the ball in his hands holds a
// person's keeper at his line however hard the stick walks him; the states
// around them (the ball at his feet, the wait for a shot) let him carry it.
TEST_F(AnimTest, EveryHandsStateHoldsAPersonsKeeperAtHisLine) {
  const struct {
    std::int32_t eState;
    bool bHands;
  } aStates[] = {
      {GOALIE_STATE_SAVE_MOVE, true}, {GOALIE_STATE_SAVE_END, true}, {GOALIE_STATE_RECOVER, true},
      {GOALIE_STATE_CATCH, true},     {GOALIE_STATE_SMOTHER, true},  {GOALIE_STATE_HOLD, true},
      {GOALIE_STATE_DECIDE, false},   {GOALIE_STATE_SAVE_WAIT, false}, {GOALIE_STATE_RUN_OUT, false},
  };
  for (const auto& c : aStates) {
    SCOPED_TRACE(c.eState);
    const LineStep o = KeeperStepAtHisLine(GAME_MODE_PLAY, c.eState, 128, -9300);
    EXPECT_EQ(o.iBallX, c.bHands ? -9384 : -9409);
    EXPECT_EQ(o.iKeeperX, c.bHands ? -9337 : -9362);
  }
}

// With the ball at his feet, the stick that starts to steer a person's keeper
// also takes him and the ball over his line; one below it leaves him held
// there as a computer's keeper is.
TEST_F(AnimTest, TheStickThatSteersAKeeperWalksHimOverHisLine) {
  const struct {
    std::int32_t iStick;
    std::int32_t iBallX, iKeeperX;
  } aCases[] = {{0, -9384, -9337},
                {USER_STICK_STEER_MIN - 1, -9384, -9337},
                {USER_STICK_STEER_MIN, -9409, -9362},
                {USER_STICK_STEER_MIN + 1, -9409, -9362}};
  for (const auto& c : aCases) {
    SCOPED_TRACE(c.iStick);
    const LineStep o = KeeperStepAtHisLine(GAME_MODE_PLAY, GOALIE_STATE_DECIDE, c.iStick, -9300);
    EXPECT_EQ(o.iBallX, c.iBallX);
    EXPECT_EQ(o.iKeeperX, c.iKeeperX);
  }
}

TEST_F(AnimTest, BallSamples) {
  ball_oBall.iX128 = 300 * 128;
  ball_oBall.iHeight128 = 40 * 128;
  ball_oBall.iY128 = -70 * 128;
  BallSample bs{};
  ballsample_Take(&bs, 17);
  EXPECT_EQ(ballsample_ValueGet(&bs), 17);
  EXPECT_EQ(ballsample_PointGet(&bs)[0], 300);
  EXPECT_EQ(ballsample_PointGet(&bs)[1], 40);
  EXPECT_EQ(ballsample_PointGet(&bs)[2], -70);
  EXPECT_EQ(ballsample_FlagGet(&bs), 0);
  ballsample_FlagSet(&bs);
  EXPECT_EQ(ballsample_FlagGet(&bs), 1);
  EXPECT_EQ(ballsample_AgeGet(&bs), 17 - ball_PathValidMarkGet());
}

}  // namespace

namespace {

// At a kick's contact frame the ball sits at the striking foot or the head:
// whatever the facing, the ball point of the animation state and the joints
// of the skeleton walk keep the same distance, mirrored or not.
TEST_F(AnimTest, JointsMeetTheBallAtContactAtEveryFacing) {
  pp = EnginePlayer(5);
  std::int32_t cKicks = 0;
  for (std::uint32_t e = 2; e < ANIM_MAX; e++) {
    const AnimRecord& r = anim_aTable[e];
    if (r.id != e || r.type != ANIM_TYPE_KICK || !r.pfTrack || r.contact < 0) continue;
    cKicks++;
    double dRef = -1;
    for (std::int32_t iFacing : {0, 90, 250, 401, 555, 700}) {
      EnginePlace(pp, 1234, -321, iFacing);
      anim_ActionAnimSet(Data(), 170);
      anim_ActionAnimSet(Data(), e);
      Data()->uPos = static_cast<std::uint16_t>(r.contact << 6);
      std::int32_t aiJoints[ANIM_SEGMENTS][3];
      anim_JointsGet(pp, aiJoints);
      std::int32_t bx, bh, by;
      ASSERT_TRUE(anim_BallPointGet(pp, &bx, &bh, &by));
      double dMin = 1e9;
      for (std::int32_t s : {10, 13, 16}) {
        double d = std::sqrt(std::pow(aiJoints[s][0] - bx, 2) + std::pow(aiJoints[s][1] - bh, 2) +
                             std::pow(aiJoints[s][2] - by, 2));
        dMin = std::min(dMin, d);
      }
      if (dRef < 0) dRef = dMin;
      EXPECT_NEAR(dMin, dRef, 4.0) << "animation " << e << " facing " << iFacing;
      // The ball's centre lies a ball's radius and a foot's length from the
      // ankle, or a ball's radius from the head.
      EXPECT_LT(dMin, 56.0) << "animation " << e << " facing " << iFacing;
      // The root joint is the frame's root point.
      std::int32_t rx, rh, ry;
      anim_FramePointGet(pp, &rx, &rh, &ry);
      EXPECT_NEAR(aiJoints[0][0], rx, 2) << e;
      EXPECT_NEAR(aiJoints[0][1], rh, 2) << e;
      EXPECT_NEAR(aiJoints[0][2], ry, 2) << e;
    }
  }
  EXPECT_GT(cKicks, 40);
}

}  // namespace

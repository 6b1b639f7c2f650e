// User control in open play over the engine's test match: one user on a
// port whose queue the tests fill with events, steering home player 9.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "../engine/engine_env.h"
#include "engine/aihelp.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/kick.h"
#include "engine/newballA.h"
#include "engine/player.h"
#include "engine/target.h"
#include "framework/qdx_input.h"
#include "engine/team.h"
#include "matchflow/matcha.h"
#include "matchflow/usrctl.h"
#include "matchflow/usrctl_services.h"
#include "platform/platform.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/user.h"
#include "shell/usrmark.h"
#include "support/input_ports.h"

// The pause menu as the tests see it: every opening is counted.
static int g_cPauseOpened = 0;
void pausemenu_Open(User*, UsrctlResumeFn) { ++g_cPauseOpened; }
int usrctl_test_PauseOpenings() { return g_cPauseOpened; }

namespace {

InputWidgetState s_oStick;

class UserControl : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { korvena_test::InputPortsUp(); }
  void SetUp() override {
    EngineMatchSetup();
    usrctl_Reset();
    g_cPauseOpened = 0;
    s_oStick = InputWidgetState{};
    for (std::int32_t i = 0; i < PLAYER_MAX; i++) EnginePlayer(i)->oAIInfo.bIsAttacking = i < PLAYER_TEAM_SIZE;
    korvena_test::HomeUserUp(&pusr);
    Port().eBinding = 4;
    pp = EnginePlayer(9);
    EnginePlace(pp, 0, 0, 0);
    user_PlayerSet(pusr, pp);
    newballA_OwnerSet(pp, 1);
    ball_PlaceAt(&ball_oBall, 0, 0, 0);
    w = usrctl_poWords(pusr);
  }
  void TearDown() override { input_EventQueueFlush(&Port().oEvents); }
  static InputPort& Port() { return *input_poGetPort(0); }
  // Queues events and runs the user's step once.
  void Step(std::vector<std::int32_t> aeEvents) {
    korvena_test::EventsQueue(&Port(), &s_oStick, aeEvents);
    usrctl_UserInput(pusr);
  }
  // The stick reading that event 23 stores: degrees << 16 | magnitude.
  void Stick(std::int32_t iDegrees, std::int32_t iMagnitude) {
    s_oStick.iCurrent = korvena_test::StickWord(iDegrees, iMagnitude);
    Step({23});
  }
  // Press, n held ticks, release of a kick button (press event p).
  void Charge(std::int32_t p, std::int32_t n) {
    Step({p});
    for (std::int32_t i = 0; i < n; i++) Step({p + 1});
  }
  User* pusr = nullptr;
  Player* pp = nullptr;
  UsrctlUser* w = nullptr;
};

// ---- Kinds, charges and launches ------------------------------------------------------

TEST_F(UserControl, APassChargesWhileHeldAndLaunchesOnRelease) {
  Charge(26, 3);
  EXPECT_EQ(usrctl_oKick.eKind, USRCTL_KIND_PASS);
  EXPECT_EQ(w->iPassCharge, 3);
  EXPECT_EQ(usrctl_oKick.iShown, 3);
  EXPECT_EQ(usrctl_oKick.iMax, 8);
  EXPECT_EQ(w->iKickInput, USRCTL_KICK_INPUT);
  EXPECT_EQ(w->iPress, 2);
  EXPECT_EQ(w->iKickDistance, 100);
  EXPECT_TRUE(pp->bUserSteered);
  Step({28});
  EXPECT_EQ(usrctl_oKick.eKind, USRCTL_KIND_NONE);
  EXPECT_EQ(usrctl_oKick.iShown, 0);
  EXPECT_EQ(w->iKickInput, 0);
  // A tap pass: the tap strike, to a team-mate, with the kick that suits his point.
  Player* poReceiver = target_poGetReceiver();
  ASSERT_NE(poReceiver, nullptr);
  EXPECT_EQ(poReceiver->MyTeam, player_PlaysFor_Home);
  EXPECT_EQ(usrctl_oKick.poLastReceiver, poReceiver);
  EXPECT_EQ(pp->oAnimData.pfnContact, target_DoTapHeader);
  EXPECT_TRUE(kick_IsKickAnim(pp->oAnimInfo.eActionAnim));
  EXPECT_FALSE(usrctl_bPassPendingGet(pp));
}

TEST_F(UserControl, PassChargeFourTapsAndFiveIsALongPassWithExtraOne) {
  Charge(26, 4);
  Step({28});
  EXPECT_EQ(pp->oAnimData.pfnContact, target_DoTapHeader);
  EXPECT_FALSE(usrctl_bPassPendingGet(pp));

  SetUp();
  Charge(26, 5);
  Step({28});
  EXPECT_EQ(pp->oAnimData.pfnContact, target_DoHeaderPass);
  EXPECT_EQ(usrctl_PassExtraGet(), 1);
  EXPECT_TRUE(usrctl_bPassPendingGet(pp));
}

TEST_F(UserControl, HeldToTheMaximumLaunchesOnceAndTheReleaseIsIgnored) {
  // Pass: the charge reaches 8 on the eighth held tick, the ninth launches.
  Charge(26, 8);
  EXPECT_EQ(w->iPassCharge, 8);
  EXPECT_EQ(usrctl_oKick.eKind, USRCTL_KIND_PASS);
  Step({27});
  EXPECT_EQ(usrctl_oKick.eKind, USRCTL_KIND_NONE);
  EXPECT_EQ(w->bIgnoreRelease, 1);
  EXPECT_EQ(pp->oAnimData.pfnContact, target_DoHeaderPass);
  EXPECT_EQ(usrctl_PassExtraGet(), 4);
  // The physical release changes nothing.
  pp->oAnimData.pfnContact = nullptr;
  Step({28});
  EXPECT_EQ(pp->oAnimData.pfnContact, nullptr);

  // Every kind's maximum: one held tick more than it launches.
  struct {
    std::int32_t iPress, iMax, x, y;
  } aKinds[] = {
      {29, 15, 0, 0},     // chip
      {48, 13, 0, 0},     // kick ahead
      {53, 10, 0, 0},     // shot
      {58, 8, 0, 0},      // long ball (outside the attacking zone)
      {58, 9, 5000, 3000},  // cross (inside it)
  };
  for (auto& k : aKinds) {
    SetUp();
    EnginePlace(pp, k.x, k.y, 0);
    Charge(k.iPress, k.iMax);
    EXPECT_EQ(w->iCharge, k.iMax) << k.iPress;
    EXPECT_NE(usrctl_oKick.eKind, USRCTL_KIND_NONE) << k.iPress;
    EXPECT_EQ(usrctl_oKick.iShown, k.iMax);
    Step({k.iPress + 1});
    EXPECT_EQ(usrctl_oKick.eKind, USRCTL_KIND_NONE) << k.iPress;
    EXPECT_EQ(w->bIgnoreRelease, 1) << k.iPress;
  }
}

TEST_F(UserControl, PressesWhilePlayingAKickAreIgnoredAndTheirReleaseDoesNothing) {
  pp->oAnimData.eActionAnim = 131;  // a kick animation
  Step({53});
  EXPECT_EQ(usrctl_oKick.eKind, USRCTL_KIND_NONE);
  EXPECT_EQ(w->bIgnoreRelease, 1);
  pp->oAnimData.eActionAnim = ANIM_STAND;
  const std::uint32_t eBefore = pp->oAnimInfo.eActionAnim;
  Step({54, 55});
  EXPECT_EQ(usrctl_oKick.eKind, USRCTL_KIND_NONE);
  EXPECT_EQ(pp->oAnimInfo.eActionAnim, eBefore);
  EXPECT_EQ(pp->oAnimData.pfnContact, nullptr);
  // The next press clears the flag and charges again.
  Charge(53, 2);
  EXPECT_EQ(w->bIgnoreRelease, 0);
  EXPECT_EQ(usrctl_oKick.eKind, USRCTL_KIND_SHOT);
}

TEST_F(UserControl, OneKindChargesAtATime) {
  Charge(53, 2);
  // A chip press while the shot charges changes nothing; its held ticks are
  // not the charging kind's.
  Step({29, 30, 30});
  EXPECT_EQ(usrctl_oKick.eKind, USRCTL_KIND_SHOT);
  EXPECT_EQ(w->iCharge, 2);
  // A pass press keeps the kind but restarts the set-up.
  Step({26});
  EXPECT_EQ(usrctl_oKick.eKind, USRCTL_KIND_SHOT);
  EXPECT_EQ(w->iCharge, 0);
  EXPECT_EQ(usrctl_oKick.iMax, USRCTL_MAX_PASS);
}

TEST_F(UserControl, ShotsByCharge) {
  // Released at 4 or more: the full-power shot; below 4 the random-power one
  // (unless the long-kick choice gives animation 22 or 23).
  Charge(53, 6);
  Step({55});
  EXPECT_EQ(w->iKickInput, USRCTL_KICK_INPUT);  // a shot keeps the input open
  const std::uint32_t eShot = pp->oAnimInfo.eActionAnim;
  ASSERT_TRUE(kick_IsKickAnim(eShot));
  EXPECT_EQ(pp->oAnimData.pfnContact, eShot == 22 || eShot == 23 ? target_DoShotByMode : target_DoShotFull);
  EXPECT_EQ(target_DistanceGet(), 6);

  SetUp();
  Charge(53, 2);
  Step({55});
  const std::uint32_t e2 = pp->oAnimInfo.eActionAnim;
  EXPECT_EQ(pp->oAnimData.pfnContact, e2 == 22 || e2 == 23 ? target_DoShotByMode : target_DoShotRandom);
}

TEST_F(UserControl, ChipsByChargeAndPlace) {
  Charge(29, 5);
  Step({31});
  EXPECT_EQ(pp->oAnimInfo.eActionAnim, 106u);
  EXPECT_EQ(pp->oAnimData.pfnContact, target_DoAngledKick);
  EXPECT_EQ(target_DistanceGet(), 6 * 720);
  EXPECT_EQ(w->iKickInput, 0);

  // Charge 3 inside the goal area he attacks: a shot.
  SetUp();
  EnginePlace(pp, 8500, 300, 0);
  Charge(29, 3);
  Step({31});
  EXPECT_TRUE(pp->oAnimData.pfnContact == target_DoShotRandom || pp->oAnimData.pfnContact == target_DoShotByMode);

  // Charge 3 elsewhere, walking: animation 144 with the keeper-release strike.
  SetUp();
  Charge(29, 3);
  Step({31});
  EXPECT_EQ(pp->oAnimInfo.eActionAnim, 144u);
  EXPECT_EQ(pp->oAnimData.pfnContact, target_DoKeeperRelease);

  // At speed 5 or more the ball is played along his facing at once.
  SetUp();
  pp->iSpeed = 8;
  Charge(29, 3);
  Step({31});
  EXPECT_EQ(ball_OwnerGet(), nullptr);
  EXPECT_EQ(target_PowerGet(), 8);
}

TEST_F(UserControl, KickAheadAtFeetOrOnTheRun) {
  Charge(48, 2);
  EXPECT_EQ(w->iPress, 0);  // the kick-ahead press leaves the press word
  Step({50});
  EXPECT_EQ(pp->oAnimInfo.eActionAnim, 21u);
  EXPECT_EQ(pp->oAnimData.pfnContact, target_DoGroundAtFeet);

  SetUp();
  Charge(48, 5);
  EXPECT_EQ(w->iKickDistance, 5 * 720);
  Step({50});
  EXPECT_EQ(pp->oAnimData.pfnContact, target_DoLob);
  EXPECT_EQ(target_DistanceGet(), 5 * 720);
  EXPECT_TRUE(pp->oAnimInfo.eActionAnim == 19u || pp->oAnimInfo.eActionAnim == 20u);
}

TEST_F(UserControl, CrossInTheAttackingZoneLongBallElsewhere) {
  EnginePlace(pp, 5000, -3000, 0);
  Charge(58, 4);
  EXPECT_EQ(w->bCross, 1);
  EXPECT_EQ(w->iKickDistance, 4 * 460);
  Step({60});
  EXPECT_EQ(pp->oAnimData.pfnContact, target_StrikeExecute);
  EXPECT_EQ(target_DistanceGet(), 4 * 460);

  SetUp();
  Charge(58, 2);
  EXPECT_EQ(w->bCross, 0);
  EXPECT_EQ(w->iKickDistance, 100);
  Step({60});
  // A long ball: to a player near the landing point, or hoofed.
  const AnimContactFn pfn = pp->oAnimData.pfnContact;
  EXPECT_TRUE(pfn == target_DoVolley || pfn == target_DoAngledKick);
  EXPECT_EQ(target_DistanceGet(), (2 + 8) * 432);
}

TEST_F(UserControl, AChargedPassLeavesThePlayersFootInPlay) {
  Charge(26, 6);
  Step({28});
  Player* poReceiver = target_poGetReceiver();
  ASSERT_NE(poReceiver, nullptr);
  bool bKicked = false;
  for (int t = 0; t < 60 && !bKicked; t++) {
    EngineTick();
    bKicked = ball_OwnerGet() != pp;
  }
  EXPECT_TRUE(bKicked);
  EXPECT_EQ(ball_oBall.poTargetPlayer, poReceiver);
}

TEST_F(UserControl, ANewOwnerEndsTheChargeAndTheBar) {
  Charge(53, 3);
  EXPECT_EQ(usrctl_oKick.iShown, 3);
  newballA_OwnerSet(EnginePlayer(14), 1);
  EXPECT_EQ(usrctl_oKick.eKind, USRCTL_KIND_NONE);
  EXPECT_EQ(usrctl_oKick.iShown, 0);
  EXPECT_EQ(w->iCharge, 0);
  EXPECT_EQ(w->iPassCharge, 0);
  // With the bar gone Start pauses again.
  Step({4});
  EXPECT_EQ(g_cPauseOpened, 1);
}

TEST_F(UserControl, StartWhileChargingDoesNotPause) {
  Charge(26, 2);
  Step({4});
  EXPECT_EQ(g_cPauseOpened, 0);
  // A press shows charge 0: no bar, Start pauses.
  SetUp();
  Step({53});
  EXPECT_EQ(usrctl_oKick.iShown, 0);
  Step({4});
  EXPECT_EQ(g_cPauseOpened, 1);
}

TEST_F(UserControl, OtherEvents) {
  Step({33, 41});
  EXPECT_EQ(w->bSprint, 1);
  EXPECT_TRUE(usrctl_bIsSprinting(pusr));
  EXPECT_EQ(w->iRequest, 2);
  Step({});  // the sprint flag lasts the tick it is held
  EXPECT_EQ(w->bSprint, 0);
  Step({168});
  EXPECT_EQ(w->iPress, 0);
  Step({156});
  EXPECT_EQ(pp->oAnimInfo.eActionAnim, 167u);
  // Select toggles the side's substitution request.
  Step({137});
  EXPECT_EQ(match_HomeTeamGet()->SubRequest, 1);
  Step({137});
  EXPECT_EQ(match_HomeTeamGet()->SubRequest, 0);
  // Event 1: the menu user joins open play.
  global_SetGameMode(GAME_MODE_KICK_OFF);
  Step({1});
  EXPECT_EQ(global.eGameMode, GAME_MODE_PLAY);
  // Stick readings.
  Stick(90, 128);
  Stick(180, 64);
  EXPECT_EQ(pusr->uStickDirection, (180u << 16) | 64u);
  EXPECT_EQ(w->uStickPrev, (90u << 16) | 128u);
}

TEST_F(UserControl, SelectInTrainingStagesASetPiece) {
  global_SetExtendedGameMode(GAME_MODE_START_TRAINING);
  global_ResetGameModeStack();
  EnginePlace(pp, -8000, 1000, 0);  // in the area he defends (attacking +x)
  Step({137});
  global_GameModeTransition();
  EXPECT_EQ(static_cast<int>(global.eGameMode), 58);
  global_ResetGameModeStack();
  EnginePlace(pp, 8000, 1000, 0);
  Step({137});
  global_GameModeTransition();
  EXPECT_EQ(global.eGameMode, GAME_MODE_SET_PIECE_SCRIPT);
  global_SetExtendedGameMode(GAME_MODE_PLAY);
}

TEST_F(UserControl, LooseBallTouchByTheAngleToTheFacing) {
  newballA_OwnerSet(nullptr, 0);
  ball_oBall.poOwner = nullptr;
  w->bIgnoreRelease = 1;
  Step({127});
  EXPECT_EQ(w->bIgnoreRelease, 0);
  // Facing 0 (+x); a stick straight along +x is 270 on the stick's scale.
  Stick(270, 128);
  Step({127});
  EXPECT_EQ(target_AngleGet(), 0);
  Stick(0, 128);  // 90 degrees off
  Step({127});
  EXPECT_EQ(target_AngleGet(), 200);
}

TEST_F(UserControl, TargetPointKicksOnlyUnderThePenaltyBindings) {
  ball_PlaceAt(&ball_oBall, 7632, 0, 0);
  Port().eBinding = 4;
  EXPECT_EQ(usrctl_KickDecide(pusr, 129), USRCTL_KICK_INPUT);
  EXPECT_EQ(usrctl_oKick.iMax, 0);
  Port().eBinding = 33;
  usrctl_KickDecide(pusr, 129);
  EXPECT_EQ(target_XGet(), 8784);
  EXPECT_EQ(usrctl_oKick.iMax, 9);
  for (int i = 0; i < 9; i++) usrctl_KickDecide(pusr, 130);
  EXPECT_EQ(w->iCharge, 9);
  EXPECT_EQ(target_XGet(), 8784 + 9 * 48);
  // At the maximum the held tick shoots at the point.
  EXPECT_EQ(usrctl_KickDecide(pusr, 130), 0);
  EXPECT_TRUE(pp->oAnimInfo.eActionAnim == 115u || pp->oAnimInfo.eActionAnim == 116u);
  EXPECT_EQ(pp->oAnimData.pfnContact, target_DoShotAtPoint);
  // The pass to a point holds to 10.
  SetUp();
  ball_PlaceAt(&ball_oBall, -7632, 0, 0);
  Port().eBinding = 33;
  usrctl_KickDecide(pusr, 132);
  EXPECT_EQ(target_XGet(), -8784);
  for (int i = 0; i < 10; i++) usrctl_KickDecide(pusr, 133);
  EXPECT_EQ(usrctl_oKick.iShown, 10);
  EXPECT_EQ(usrctl_KickDecide(pusr, 134), 0);
  EXPECT_EQ(pp->oAnimData.pfnContact, target_DoPassToPoint);
}

TEST_F(UserControl, TheUpdateRunsUsersWithASideThenOneFrame) {
  InputEvent* pEvent = nullptr;
  ASSERT_TRUE(input_bEventAlloc(&pEvent));
  pEvent->eEvent = 41;
  pEvent->pWidget = &s_oStick;
  queue_Append(&Port().oEvents, &pEvent->oLink);
  pusr->MyTeam = 0;  // a user without a side is left alone
  usrctl_Update();
  EXPECT_EQ(w->iRequest, 0);
  pusr->MyTeam = player_PlaysFor_Home;
  usrctl_bStepRelease = 1;
  usrctl_Update();
  EXPECT_EQ(w->iRequest, 2);
  EXPECT_EQ(usrctl_bStepRelease, 0);  // the step request is cleared
}

TEST_F(UserControl, SimulationHoldIsAPlainFlag) {
  EXPECT_EQ(usrctl_bSimulationHeld(), 0);
  usrctl_bHold = 1;
  EXPECT_EQ(usrctl_bSimulationHeld(), 1);
  usrctl_bStepRelease = 1;
  EXPECT_EQ(usrctl_bSimulationHeld(), 0);
  usrctl_bHold = 0;
  usrctl_bStepRelease = 0;
}

// ---- Aim operations against a model ------------------------------------------------------

// The model works in floating degrees and turns, apart from the code's integer forms.
int ModelStickAim(int iDeg, int iMag, int iAngleBefore) {
  if (iMag <= 30) return iAngleBefore;
  return (iDeg + 90) * 802 / 360 % 802;
}

TEST_F(UserControl, AimFromStickOverAGrid) {
  for (int iMag : {0, 1, 29, 30, 31, 64, 128})
    for (int iDeg = 0; iDeg < 360; iDeg += 3) {
      target_AngleSet(123);
      Stick(iDeg, iMag);
      usrctl_AimFromStick(pusr);
      EXPECT_EQ(target_AngleGet(), ModelStickAim(iDeg, iMag, 123)) << iDeg << " " << iMag;
    }
}

TEST_F(UserControl, CurveOffsets) {
  const int aExpected[21] = {0, 11, 22, 33, 44, 55, 66, 77, 88, 99, 44, 55, 66, 77, 88, 99, 110, 121, 132, 143, 155};
  for (int c = -20; c <= 20; c++) EXPECT_EQ(usrctl_CurveOffsetGet(c), c < 0 ? -aExpected[-c] : aExpected[c]) << c;
}

TEST_F(UserControl, ShotSideAimOverAGrid) {
  for (int x : {-3000, 3000})
    for (int iMag : {0, 30, 31, 128})
      for (int iDeg = 0; iDeg < 360; iDeg++)
        for (int y0 : {0, 1400, -1400}) {
          EnginePlace(pp, x, 0, 0);
          target_YSet(y0);
          target_KindSet(7);
          Stick(iDeg, iMag);
          usrctl_ShotSideAim(pusr);
          // Model: the stick's screen direction a; which half of the circle
          // moves the aim up or down depends on the end he plays toward.
          int iKind = 0, y = y0;
          if (iMag > 30) {
            const int a = (iDeg + 90) % 360;
            const bool bDownHalf = x < 0 ? (a > 135 && a < 315) : !(a >= 45 && a <= 225);
            const bool bEdge = x < 0 ? (a == 135 || a == 315) : (a == 45 || a == 225);
            if (bEdge) iKind = 0;
            else if (bDownHalf) { iKind = 2; y = std::max(-1440, y0 - 96); }
            else { iKind = 1; y = std::min(1440, y0 + 96); }
          }
          ASSERT_EQ(target_KindGet(), iKind) << x << " " << iDeg << " " << iMag;
          ASSERT_EQ(target_YGet(), y) << x << " " << iDeg << " " << iMag << " " << y0;
        }
}

TEST_F(UserControl, CrossAimOverAGrid) {
  for (int iMag : {0, 30, 31, 100})
    for (int iDeg = 0; iDeg < 360; iDeg++)
      for (int iAim0 : {-55, -53, 0, 53, 55}) {
        Stick(iDeg, iMag);
        w->iAim = iAim0;
        usrctl_CrossAim(pusr);
        int iAim = iAim0;
        const int a = iDeg + 90;  // not wrapped: 310..449 all lower the aim
        if (iMag > 30 && a > 310) iAim = std::max(-55, iAim0 - 4);
        if (iMag > 30 && a >= 131 && a <= 229) iAim = std::min(55, iAim0 + 4);
        ASSERT_EQ(w->iAim, iAim) << iDeg << " " << iMag << " " << iAim0;
      }
}

TEST_F(UserControl, TargetPointAimOverAGrid) {
  for (int bx : {-7632, 7632})
    for (int iMag : {0, 31})
      for (int iDeg = 0; iDeg < 360; iDeg++)
        for (int y0 : {-864, -816, 0, 816, 864}) {
          ball_PlaceAt(&ball_oBall, bx, 0, 0);
          Stick(iDeg, iMag);
          target_YSet(y0);
          usrctl_TargetPointAim(pusr);
          int iStep = 0;
          if (iMag > 30 && std::abs(iDeg - 90) < 25) iStep = 48;
          if (iMag > 30 && std::abs(iDeg - 270) < 25) iStep = -48;
          if (bx < 1) iStep = -iStep;
          int y = y0;
          if (iStep > 0 && y0 < 864) y += iStep;
          if (iStep < 0 && y0 > -864) y += iStep;
          ASSERT_EQ(target_YGet(), y) << bx << " " << iDeg << " " << iMag << " " << y0;
        }
}

TEST_F(UserControl, CurveAimOverAGrid) {
  // The player not steering, his stick at rest: only the on-ball stick bends
  // the kick, one step a call, whichever way it points from the aim.
  for (int iAim : {0, 200, 401, 700})
    for (int iOn = 0; iOn < 360; iOn += 5)
      for (int iOnMag : {0, 30, 31, 128})
        for (int iCurve0 : {-20, 0, 19, 20}) {
          Stick(0, 0);
          pp->bUserSteered = 0;
          w->iAim = iAim;
          w->iAimStep = 0;
          w->iCurve = iCurve0;
          w->uStickOnBall = static_cast<std::uint32_t>(iOn) << 16 | static_cast<std::uint32_t>(iOnMag);
          target_AngleSet(5);
          usrctl_CurveAim(pusr);
          // Model in degrees: the on-ball direction against the aim.
          const int iOnDeg = (iOn + 90) % 360;
          const int iAimDeg = iAim * 180 / 401;
          int iApart = std::abs(iOnDeg - iAimDeg);
          if (iApart > 180) iApart = 360 - iApart;
          int iCurve = iCurve0, iAngle = 5;
          if (iOnMag > 30 && iApart > 5) {
            const int d = iOnDeg * 802 / 360 - iAim;
            if ((d >= -311 && d <= -89) || d >= 490) iCurve = std::max(-20, iCurve - 1);
            else if ((d >= 89 && d <= 311) || d <= -490) iCurve = std::min(20, iCurve + 1);
            iAngle = ((iAim + usrctl_CurveOffsetGet(iCurve)) % 802 + 802) % 802;
          }
          ASSERT_EQ(w->iCurve, iCurve) << iAim << " " << iOn << " " << iOnMag << " " << iCurve0;
          ASSERT_EQ(target_AngleGet(), iAngle) << iAim << " " << iOn << " " << iOnMag << " " << iCurve0;
        }
}

// ---- Attacking zone ------------------------------------------------------------------------

TEST_F(UserControl, AttackingZoneBoundaries) {
  struct {
    int x, y, iDirection, bIn;
  } aCases[] = {
      {2880, 2160, 1, 1},  {2879, 2160, 1, 0},  {2880, 2159, 1, 0},  {2880, -2160, 1, 1},
      {6480, 0, 1, 1},     {6479, 0, 1, 0},     {-2880, 2160, 0, 1}, {-2879, 3000, 0, 0},
      {-6480, 0, 0, 1},    {6480, 0, 0, 0},     {-9000, 4000, 1, 0},
  };
  for (auto& c : aCases) {
    pp->x = static_cast<std::int16_t>(c.x);
    pp->y = static_cast<std::int16_t>(c.y);
    pp->Direction = c.iDirection;
    EXPECT_EQ(aihelp_IsInAttackingZone(pp), c.bIn) << c.x << "," << c.y << " dir " << c.iDirection;
  }
}

}  // namespace

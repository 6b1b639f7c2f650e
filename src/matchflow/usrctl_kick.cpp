// User control's kicks: the decision that turns kick presses, held ticks and
// releases into a charge and a launch, the launch of each kind, the kicks at
// a target point of the penalty bindings, the aim operations and the power
// bar.
#include <cstdlib>

#include "engine/aihelp.h"
#include "engine/aiopt.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/ball_services.h"
#include "engine/kick.h"
#include "engine/player.h"
#include "engine/shtpass.h"
#include "engine/target.h"
#include "matchflow/matcha.h"
#include "matchflow/restart.h"
#include "matchflow/usrctl.h"
#include "matchflow/usrctl_services.h"
#include "shell/debuglog.h"
#include "shell/draw2d.h"
#include "shell/imath.h"
#include "shell/input.h"
#include "shell/user.h"
#include "shell/usrmark.h"
#include "tournament/dbplayer.h"

namespace {

Player* Controlled(const User* pusr) { return pusr->phl ? pusr->phl->pplyr : nullptr; }
std::int32_t MagnitudeOf(std::uint32_t uStick) { return static_cast<std::int32_t>(uStick & 0xFFFF); }
std::int32_t AngleOf(std::uint32_t uStick) { return static_cast<std::int32_t>(uStick >> 16); }

std::int32_t Wrap360(std::int32_t a) {
  a %= 360;
  return a < 0 ? a + 360 : a;
}
std::int32_t Wrap802(std::int32_t a) {
  a %= 802;
  return a < 0 ? a + 802 : a;
}
// Degrees (0..359) of an angle of 802 units a turn.
std::int32_t DegreesOf802(std::int32_t a) { return Wrap802(a) * 180 / 401; }
std::int32_t DegreesApart(std::int32_t a, std::int32_t b) {
  const std::int32_t d = Wrap360(a - b);
  return d > 180 ? 360 - d : d;
}

std::int32_t KindOfEvent(std::int32_t eEvent) {
  switch (eEvent) {
    case 26: case 27: case 28: return USRCTL_KIND_PASS;
    case 29: case 30: case 31: return USRCTL_KIND_CHIP;
    case 48: case 49: case 50: return USRCTL_KIND_KICK_AHEAD;
    case 53: case 54: case 55: return USRCTL_KIND_SHOT;
    case 58: case 59: case 60: return USRCTL_KIND_CROSS;
    default: return USRCTL_KIND_NONE;
  }
}

void Request(Player* pp, std::uint32_t eAnim, AnimContactFn pfnContact) {
  if (eAnim == ANIM_NONE) return;
  pp->eKickAnim = eAnim;
  anim_RequestSet(&pp->oAnimInfo, eAnim);
  anim_CallbackSet(&pp->oAnimData, pfnContact);
}

// Releases the player's steering and the strike before a launch.
void ReleaseAndClear(User* pusr) {
  user_PlayerRelease(pusr);
  target_Clear();
}

std::int32_t LaunchShot(User* pusr, UsrctlUser* w, Player* pp) {
  if (pp->oTouch.iState == 2) touch_ContactSet(pp, pp, 4);
  ball_SpinSet(&ball_oBall, 0);
  usrctl_ShotSideAim(pusr);
  target_DistanceSet(w->iCharge);
  ReleaseAndClear(pusr);
  const std::int32_t iGoalX = pp->Direction == 1 ? 9360 : -9360;
  const std::uint32_t eAnim =
      kick_AnimChooseAlt(pp, iGoalX, target_YGet(), ball_HeightGet(&ball_oBall), pp->iFacing);
  AnimContactFn pfn = target_DoShotRandom;
  if (eAnim == 22 || eAnim == 23) pfn = target_DoShotByMode;
  else if (w->iCharge >= 4) pfn = target_DoShotFull;
  Request(pp, eAnim, pfn);
  return USRCTL_KICK_INPUT;
}

std::int32_t LaunchPass(User* pusr, UsrctlUser* w, Player* pp) {
  if (pp->oTouch.iState == 2) touch_ContactSet(pp, pp, 2);
  ball_SpinSet(&ball_oBall, 0);
  usrctl_PassPendingSet(pp, 0);
  usrctl_AimFromStick(pusr);
  ReleaseAndClear(pusr);
  ReceiverRecord oRec{};
  if (!shtpass_PassChoose(pp, &oRec, target_AngleGet())) {
    // Nobody to pass to: the ball goes 1440 along the aim.
    const std::int32_t iDeg = DegreesOf802(target_AngleGet());
    oRec.x = pp->x + imath_CosScale(1440, iDeg);
    oRec.y = pp->y + imath_SinScale(1440, iDeg);
  }
  target_ReceiverSet(oRec.poReceiver);
  pass_RecordSet(PASS_RECORD_AT_POINT, oRec.x, oRec.y);
  usrctl_oKick.poLastReceiver = oRec.poReceiver;
  usrctl_oKick.iLastX = oRec.x;
  usrctl_oKick.iLastY = oRec.y;
  const std::uint32_t eAnim = kick_AnimChoose(pp, oRec.x, oRec.y, ball_HeightGet(&ball_oBall), pp->iFacing);
  const std::int32_t c = w->iPassCharge;
  AnimContactFn pfn = target_DoTapHeader;
  if (c > 4) {
    usrctl_oKick.iPassExtra = c - 4;
    usrctl_PassPendingSet(pp, 1);
    if (oRec.poReceiver == nullptr || !player_IsGoalkeeper(oRec.poReceiver)) pfn = target_DoHeaderPass;
  } else {
    const char* pszName = "";
    if (oRec.poReceiver && oRec.poReceiver->pDBPlayer) pszName = dbplayer_NameGet(oRec.poReceiver->pDBPlayer);
    debuglog_Printf("TapPass toooo: %s\n", pszName);
  }
  Request(pp, eAnim, pfn);
  return 0;
}

bool InAttackedGoalArea(const Player* pp) {
  const std::int32_t x = pp->x, y = pp->y;
  if (y < -720 || y > 720) return false;
  return pp->Direction == 1 ? (x >= 7920 && x <= 9360) : (x >= -9360 && x <= -7920);
}

std::int32_t LaunchChip(User* pusr, UsrctlUser* w, Player* pp) {
  const std::int32_t c = w->iCharge;
  if (c >= 4) {
    usrctl_CurveAim(pusr);
    ball_SpinSet(&ball_oBall, w->iCurve * 48);
    target_DistanceSet((c + 1) * 720);
    ReleaseAndClear(pusr);
    Request(pp, 106, target_DoAngledKick);
    return 0;
  }
  if (InAttackedGoalArea(pp)) {
    LaunchShot(pusr, w, pp);
    return 0;
  }
  ball_SpinSet(&ball_oBall, 0);
  ReleaseAndClear(pusr);
  target_PowerSet(pp->iSpeed);
  if (pp->iSpeed >= 5) target_DoKeeperRelease(pp);
  else Request(pp, 144, target_DoKeeperRelease);
  return 0;
}

std::int32_t LaunchKickAhead(User* pusr, UsrctlUser* w, Player* pp) {
  if (pp->iSpeed < 5 && w->iCharge < 4) {
    ReleaseAndClear(pusr);
    Request(pp, 21, target_DoGroundAtFeet);
    ball_SpinSet(&ball_oBall, 0);
    return 0;
  }
  usrctl_CurveAim(pusr);
  target_PowerSet(pp->iSpeed);
  target_DistanceSet(w->iKickDistance);
  ball_SpinSet(&ball_oBall, w->iCurve * 48);
  kick_AnimStartSide(pp);
  return 0;
}

std::int32_t LaunchLongBall(User* pusr, UsrctlUser* w, Player* pp) {
  usrctl_CurveAim(pusr);
  const std::int32_t iDist = (w->iCharge + 8) * 432;
  const std::int32_t iDeg = DegreesOf802(target_AngleGet());
  const std::int32_t x = pp->x + imath_CosScale(iDist, iDeg);
  const std::int32_t y = pp->y + imath_SinScale(iDist, iDeg);
  Player* poFound = nullptr;
  match_NearestOtherPlayerFind(pp, x, y, &poFound);
  target_DistanceSet(iDist);
  if (poFound == nullptr) {
    debuglog_Printf("hoof ");
    usrctl_CurveAim(pusr);
    ball_SpinSet(&ball_oBall, w->iCurve * 48);
    target_DistanceSet(iDist);
    ReleaseAndClear(pusr);
    Request(pp, 106, target_DoAngledKick);
  } else {
    debuglog_Printf("to player ");
    target_ReceiverSet(poFound);
    ball_SpinSet(&ball_oBall, 0);
    kick_PointAnimStart(pp, poFound->x, poFound->y);
  }
  debuglog_Printf(" done\n");
  return USRCTL_KICK_INPUT;
}

std::int32_t LaunchCross(User* pusr, UsrctlUser* w, Player* pp) {
  usrctl_CrossAim(pusr);
  target_DistanceSet(w->iKickDistance);
  target_AngleSet(w->iAim);
  ReleaseAndClear(pusr);
  std::int32_t iSpin = w->iAim * 180 / 401 * 48;
  if (pp->y >= 1) iSpin = -iSpin;
  ball_SpinSet(&ball_oBall, iSpin);
  kick_ShotAnimStart(pp);
  debuglog_Printf("cross\n");
  debuglog_Printf(" done\n");
  return USRCTL_KICK_INPUT;
}

std::int32_t Launch(User* pusr, UsrctlUser* w, Player* pp) {
  const std::int32_t eKind = usrctl_oKick.eKind;
  usrctl_oKick.eKind = USRCTL_KIND_NONE;
  usrctl_oKick.iShown = 0;
  switch (eKind) {
    case USRCTL_KIND_PASS: return LaunchPass(pusr, w, pp);
    case USRCTL_KIND_CHIP: return LaunchChip(pusr, w, pp);
    case USRCTL_KIND_KICK_AHEAD: return LaunchKickAhead(pusr, w, pp);
    case USRCTL_KIND_SHOT: return LaunchShot(pusr, w, pp);
    case USRCTL_KIND_CROSS: return w->bCross ? LaunchCross(pusr, w, pp) : LaunchLongBall(pusr, w, pp);
    default: return USRCTL_KICK_INPUT;
  }
}

std::int32_t Press(User* pusr, UsrctlUser* w, Player* pp, std::int32_t eEvent) {
  const std::int32_t eKind = KindOfEvent(eEvent);
  if (eKind == USRCTL_KIND_PASS) {
    if (usrctl_oKick.eKind == USRCTL_KIND_NONE) usrctl_oKick.eKind = eKind;
  } else {
    if (usrctl_oKick.eKind != USRCTL_KIND_NONE) return USRCTL_KICK_INPUT;
    usrctl_oKick.eKind = eKind;
  }
  bool bLongBall = false;
  if (eKind == USRCTL_KIND_CROSS) {
    w->bCross = aihelp_IsInAttackingZone(pp) ? 1 : 0;
    bLongBall = !w->bCross;
  }
  w->bIgnoreRelease = 0;
  user_PlayerSteerApply(pusr);
  const bool bFar = eKind == USRCTL_KIND_PASS || eKind == USRCTL_KIND_CHIP || bLongBall;
  w->iKickDistance = bFar ? 100 : 0;
  w->iAim = user_iGetPlayerHeading(pusr);
  std::int32_t iStrikeKind = 1;
  std::int32_t iMax = USRCTL_MAX_KICK_AHEAD;
  switch (eKind) {
    case USRCTL_KIND_PASS: iStrikeKind = 3; iMax = USRCTL_MAX_PASS; break;
    case USRCTL_KIND_CHIP: iStrikeKind = 2; iMax = USRCTL_MAX_CHIP; break;
    case USRCTL_KIND_SHOT: iStrikeKind = 4; iMax = USRCTL_MAX_SHOT; break;
    case USRCTL_KIND_CROSS:
      iStrikeKind = bLongBall ? 3 : 1;
      iMax = bLongBall ? USRCTL_MAX_LONG_BALL : USRCTL_MAX_CROSS;
      break;
    default: break;
  }
  w->iCurve = 0;
  if (bLongBall) {
    usrctl_CurveAim(pusr);
    w->iAim = pp->uWantedFacing;
  } else if (eKind == USRCTL_KIND_CROSS) {
    w->iAim = 0;
    w->iKickDistance = 0;
  }
  target_Start(w, w->iAim, iStrikeKind);
  target_AngleSet(w->iAim);
  w->iCurve = 0;
  w->iPassCharge = 0;
  w->iCharge = 0;
  usrctl_oKick.iShown = 0;
  usrctl_oKick.iMax = iMax;
  if (eKind == USRCTL_KIND_SHOT) target_YSet(0);
  return USRCTL_KICK_INPUT;
}

std::int32_t Held(User* pusr, UsrctlUser* w, Player* pp, std::int32_t eEvent) {
  const std::int32_t eKind = KindOfEvent(eEvent);
  if (eKind != usrctl_oKick.eKind) return USRCTL_KICK_INPUT;
  user_PlayerSteerFlagSet(pusr);
  std::int32_t& c = eKind == USRCTL_KIND_PASS ? w->iPassCharge : w->iCharge;
  if (c >= usrctl_oKick.iMax) {
    if (w->bIgnoreRelease) return USRCTL_KICK_INPUT;
    w->bIgnoreRelease = 1;
    return Launch(pusr, w, pp);
  }
  c++;
  switch (eKind) {
    case USRCTL_KIND_PASS:
      if (c <= 2) usrctl_AimFromStick(pusr);
      break;
    case USRCTL_KIND_CHIP:
      usrctl_CurveAim(pusr);
      break;
    case USRCTL_KIND_KICK_AHEAD:
      usrctl_CurveAim(pusr);
      w->iKickDistance = c * 720;
      break;
    case USRCTL_KIND_SHOT:
      usrctl_ShotSideAim(pusr);
      w->iKickDistance = c;
      break;
    case USRCTL_KIND_CROSS:
      if (w->bCross) {
        usrctl_CrossAim(pusr);
        w->iKickDistance = c * 460;
      } else {
        usrctl_CurveAim(pusr);
      }
      break;
    default: break;
  }
  usrctl_oKick.iShown = c;
  return USRCTL_KICK_INPUT;
}

std::int32_t Release(User* pusr, UsrctlUser* w, Player* pp) {
  if (w->bIgnoreRelease) return USRCTL_KICK_INPUT;
  Player* poOwner = ball_OwnerGet();
  if (poOwner != nullptr && player_IsGoalkeeper(poOwner) && newgoal_StateGet(poOwner) != 2) return USRCTL_KICK_INPUT;
  return Launch(pusr, w, pp);
}

// Which side of the player's wanted facing the strike angle lies.
bool StrikeLeftOfFacing(const Player* pp) {
  return Wrap802(target_AngleGet() - static_cast<std::int32_t>(pp->uWantedFacing)) < 401;
}

std::int32_t PointKick(User* pusr, UsrctlUser* w, Player* pp, std::int32_t eEvent) {
  if (pusr->pip == nullptr || (pusr->pip->eBinding != 33 && pusr->pip->eBinding != 37)) return USRCTL_KICK_INPUT;
  switch (eEvent) {
    case 129:
    case 132: {
      const std::int32_t bx = ball_XGet(&ball_oBall), by = ball_YGet(&ball_oBall);
      w->iAim = ball_HeadingTo(bx, by);
      target_Start(w, w->iAim, eEvent == 129 ? 4 : 3);
      target_ZSet(0);
      target_XSet(bx < 1 ? -8784 : 8784);
      target_AngleSet(w->iAim);
      target_DistanceSet(0);
      w->iKickDistance = 0;
      w->iCharge = 0;
      usrctl_oKick.iShown = 0;
      usrctl_oKick.iMax = eEvent == 129 ? USRCTL_MAX_POINT_SHOT : USRCTL_MAX_POINT_PASS;
      return USRCTL_KICK_INPUT;
    }
    case 130:
    case 133: {
      usrctl_TargetPointAim(pusr);
      const std::int32_t iMax = eEvent == 130 ? USRCTL_MAX_POINT_SHOT : USRCTL_MAX_POINT_PASS;
      if (w->iCharge >= iMax) return PointKick(pusr, w, pp, eEvent + 1);
      w->iCharge++;
      usrctl_oKick.iShown = w->iCharge;
      const std::int32_t x = target_XGet();
      if (std::abs(x) < 9360) target_XSet(x < 0 ? x - 48 : x + 48);
      return USRCTL_KICK_INPUT;
    }
    case 131:
      usrctl_oKick.iShown = 0;
      Request(pp, StrikeLeftOfFacing(pp) ? 116 : 115, target_DoShotAtPoint);
      return 0;
    case 134:
      usrctl_oKick.iShown = 0;
      Request(pp, StrikeLeftOfFacing(pp) ? 118 : 117, target_DoPassToPoint);
      return 0;
    default:
      return USRCTL_KICK_INPUT;
  }
}

}  // namespace

std::int32_t usrctl_KickDecide(User* pusr, std::int32_t eEvent) {
  Player* pp = Controlled(pusr);
  UsrctlUser* w = usrctl_poWords(pusr);
  if (pp == nullptr) return USRCTL_KICK_INPUT;
  // A keeper taking the catch plays nothing yet: Pass and Chip charge the
  // throw or kick of the keeper's ball that follows.
  if (eEvent >= 26 && eEvent <= 31 && ball_OwnerGet() == pp && player_IsGoalkeeper(pp) &&
      anim_bBallInKeepersHands(pp)) {
    mhands_CatchPressEvent(pusr, eEvent);
    return USRCTL_KICK_INPUT;
  }
  if (player_IsAnimKick(pp)) {
    debuglog_Printf("Ignore kick - anim %d, Cframe %d\n", static_cast<int>(pp->oAnimData.eActionAnim),
                    static_cast<int>(anim_FrameGet(&pp->oAnimData)));
    w->bIgnoreRelease = 1;
    return USRCTL_KICK_INPUT;
  }
  if (eEvent < 26 || eEvent > 134) return USRCTL_KICK_INPUT;
  switch (eEvent) {
    case 26: case 29: case 48: case 53: case 58: return Press(pusr, w, pp, eEvent);
    case 27: case 30: case 49: case 54: case 59: return Held(pusr, w, pp, eEvent);
    case 28: case 31: case 50: case 55: case 60: return Release(pusr, w, pp);
    case 129: case 130: case 131: case 132: case 133: case 134: return PointKick(pusr, w, pp, eEvent);
    default: return USRCTL_KICK_INPUT;
  }
}

// ---- Aim operations -------------------------------------------------------------------

void usrctl_AimFromStick(User* pusr) {
  const std::uint32_t s = pusr->uStickDirection;
  if (MagnitudeOf(s) > USER_STICK_AIM_DEAD) target_AngleSet((AngleOf(s) + 90) * 802 / 360);
}

std::int32_t usrctl_CurveOffsetGet(std::int32_t iCurve) {
  const std::int32_t a = std::abs(iCurve);
  std::int32_t r;
  if (a < 10) r = 11 * a;
  else if (a < 20) r = 11 * (a - 6);
  else r = 11 * 20 - 65;
  return iCurve < 0 ? -r : r;
}

void usrctl_CurveAim(User* pusr) {
  UsrctlUser* w = usrctl_poWords(pusr);
  Player* pp = Controlled(pusr);
  if (MagnitudeOf(pusr->uStickDirection) < USER_STICK_AIM_DEAD) user_PlayerSteerStop(pusr);
  const std::uint32_t uOn = w->uStickOnBall;
  const std::int32_t iOnMag = MagnitudeOf(uOn);
  const std::int32_t iOnDeg = Wrap360(AngleOf(uOn) + 90);
  const std::int32_t iAimDeg = DegreesOf802(w->iAim);
  const bool bSteering = pp != nullptr && pp->bUserSteered;
  const bool bA = !bSteering && iOnMag > USER_STICK_AIM_DEAD && DegreesApart(iOnDeg, iAimDeg) > 5;
  const bool bB = bSteering && iOnMag >= USER_STICK_CURVE_STEERED_MIN &&
                  DegreesApart(Wrap360(AngleOf(pusr->uStickDirection) + 90), iAimDeg) >= 6 &&
                  DegreesApart(Wrap360(AngleOf(w->uStickPrev) + 90), iAimDeg) >= 6;
  if (!bA && !bB) return;
  const std::int32_t d = iOnDeg * 802 / 360 - w->iAim;
  if ((d >= -311 && d <= -89) || d >= 490) {
    if (w->iCurve > -20) w->iCurve--;
  } else if ((d >= 89 && d <= 311) || d <= -490) {
    if (w->iCurve < 20) w->iCurve++;
  }
  target_AngleSet(w->iAim + 11 * w->iAimStep + usrctl_CurveOffsetGet(w->iCurve));
}

void usrctl_ShotSideAim(User* pusr) {
  Player* pp = Controlled(pusr);
  const std::uint32_t s = pusr->uStickDirection;
  if (MagnitudeOf(s) <= USER_STICK_AIM_DEAD || pp == nullptr) {
    target_KindSet(0);
    return;
  }
  const std::int32_t a = Wrap360(AngleOf(s) + 90);
  std::int32_t y = target_YGet();
  const auto up = [&] {
    y += 96;
    if (y > 1440) y = 1440;
    target_KindSet(1);
  };
  const auto down = [&] {
    y -= 96;
    if (y < -1440) y = -1440;
    target_KindSet(2);
  };
  if (pp->x < 0) {
    if (a >= 136 && a <= 314) down();
    else if (a == 135 || a == 315) target_KindSet(0);
    else up();
  } else {
    if (a >= 46 && a <= 224) up();
    else if (a == 45 || a == 225) target_KindSet(0);
    else down();
  }
  target_YSet(y);
}

void usrctl_TargetPointAim(User* pusr) {
  const std::uint32_t s = pusr->uStickDirection;
  if (MagnitudeOf(s) <= USER_STICK_AIM_DEAD) return;
  const std::int32_t a = AngleOf(s);
  std::int32_t iStep;
  if (input_bAngleNear90(a)) iStep = 48;
  else if (input_bAngleNear270(a)) iStep = -48;
  else return;
  if (ball_XGet(&ball_oBall) < 1) iStep = -iStep;
  const std::int32_t y = target_YGet();
  if (iStep > 0 && y < 864) target_YSet(y + iStep);
  if (iStep < 0 && y > -864) target_YSet(y + iStep);
}

void usrctl_CrossAim(User* pusr) {
  UsrctlUser* w = usrctl_poWords(pusr);
  const std::uint32_t s = pusr->uStickDirection;
  if (MagnitudeOf(s) <= USER_STICK_AIM_DEAD) return;
  const std::int32_t a = AngleOf(s) + 90;
  if (a > 310) {
    w->iAim -= 4;
    if (w->iAim < -55) w->iAim = -55;
  } else if (a >= 131 && a <= 229) {
    w->iAim += 4;
    if (w->iAim > 55) w->iAim = 55;
  }
}

// ---- Power bar ---------------------------------------------------------------------------

void usrctl_PowerBarDraw() {
  const std::int32_t c = usrctl_oKick.iShown;
  if (c < 1 || c > 1000 || usrctl_oKick.iMax <= 0) return;
  // On the 640 x 480 overlay: the frame at the foot of the screen, the bar
  // on a nearer layer so that it shows in front of it.
  constexpr std::int32_t kBarLayer = 1, kFrameLayer = 2;
  const std::int32_t iLength = 12800 / usrctl_oKick.iMax * c / 128;
  const std::int32_t x = 640 / 2 - 54, y = 480 - 36;
  draw2d_FillColourSet(0, 0, 0, 255);
  draw2d_RectFill(x, y, 108, 11, kFrameLayer);
  const std::int32_t bx = x + 4, by = y + 2;
  draw2d_FillColourSet(255, 255, 0, 255);
  draw2d_RectFill(bx, by, iLength < 15 ? iLength : 15, 7, kBarLayer);
  if (iLength > 15) {
    draw2d_GradientSet(255, 255, 0, 255, 0, 0, 255, 0, 0, 255, 255, 0, 255);
    draw2d_GradientRectFill(bx + 15, by, iLength - 15, 7, kBarLayer);
  }
}

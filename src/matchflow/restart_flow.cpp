// The restart modes around the set pieces: play on (86) hands back to open
// play after a countdown, the standing pause (36) holds everybody until the
// referee's countdown runs out, and the goalkeeper's ball in open play (32)
// lets the keeper's user aim and kick.
#include <cstdint>
#include <cstdlib>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/newballA.h"
#include "engine/newgoal.h"
#include "engine/player.h"
#include "engine/referee.h"
#include "engine/setp.h"
#include "engine/target.h"
#include "matchflow/camera.h"
#include "matchflow/matcha.h"
#include "matchflow/replay.h"
#include "matchflow/restart.h"
#include "matchflow/restart_util.h"
#include "matchflow/usrctl.h"
#include "shell/game.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/user.h"
#include "shell/vsync.h"

using namespace restart;

// ---- Play on ------------------------------------------------------------------------------

void playon_CountSet(std::int32_t iTicks) { restart_oState.iPlayOn = iTicks; }

void playon_Enter() {
  replay_StartRecording();
  restart_oState.bPlayOnStarted = 0;
}

void playon_Enter2() {
  replay_StartRecording();
  restart_oState.bPlayOnStarted = 0;
}

void playon_Update() {
  user_PortBindingsUpdate();
  UsersThenFrame(usrctl_UserInput);
  if (--restart_oState.iPlayOn <= 0) global_GameModePopRequest();
}

// ---- Standing pause ----------------------------------------------------------------------

namespace {

void PauseEnter(std::int32_t iTicks) {
  touch_ContactClear();
  for (User& u : user_aUsers)
    if (u.bActive && u.pip && u.MyTeam != 0) Bind(&u, 30);
  for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp)) {
    if (player_IsGoalkeeper(pp)) continue;
    PlayerO_SpeedSet(pp, 0);
    pp->iWantedSpeed = 0;
    PlayerO_MoveToSet(pp, pp->x, pp->y, ANIM_STAND);
  }
  restart_oState.bLeave = 0;
  referee_RestartDelaySet(iTicks);
  // Resuming from the pause menu runs the enter again: one countdown task.
  if (!vsync_bTaskListed(referee_RestartDelayTick)) vsync_TaskAdd(referee_RestartDelayTick);
}

void PauseEvent(User* pusr, const InputEvent* pEvent) { CommonEvents(pusr, pEvent, returnpos_Enter); }

}  // namespace

void returnpos_Enter() { PauseEnter(60); }

void returnpos_EnterFade() {
  camera_FadeStart();
  PauseEnter(60);
}

void returnpos_EnterLong() { PauseEnter(90); }

void returnpos_LeaveSet() { restart_oState.bLeave = 1; }

void returnpos_UserInput(User* pusr) { EachEvent(pusr, PauseEvent); }

void returnpos_Update() {
  ForEachSideUser(returnpos_UserInput);
  // The pause ends once the countdown has run out and no keeper is still busy
  // with a save; a keeper's come-out alert is cleared only by his positioning
  // in open play, so it cannot hold the pause.
  if (restart_oState.bLeave && !newgoal_IsAnyKeeperFlagged()) {
    global_GameModePopRequest();
    restart_oState.bLeave = 0;
  }
  game_MatchFrame();
}

// ---- The goalkeeper's ball in open play ------------------------------------------------------

namespace {

constexpr std::uint32_t kAnimRoll = 68;
constexpr std::uint32_t kAnimChip = 69;
constexpr std::uint32_t kAnimDropKick = 70;
constexpr std::uint32_t kAnimPut = 71;

std::int32_t s_iLandX;
std::int32_t s_iLandY;

std::int32_t DegreesApart(std::int32_t a, std::int32_t b) {
  const std::int32_t d = Wrap360(a - b);
  return d > 180 ? 360 - d : d;
}

Player* Keeper() { return match_StateTeamFirstKeeperGet(); }

// Within the range a keeper at x may aim: toward the far end.
bool AimAllowed(std::int32_t iAim, std::int32_t iKeeperX) {
  return iKeeperX >= 0 ? iAim >= 201 && iAim <= 600 : !(iAim >= 200 && iAim <= 601);
}

void StickAim(User* pusr, Player* poKeeper) {
  const std::uint32_t v = pusr->uStickDirection;
  if (StickMagnitude(v) < USER_STICK_STEER_MIN) return;
  const std::int32_t iAim = Wrap360(StickDegrees(v) + 90) * 802 / 360;
  if (AimAllowed(iAim, poKeeper->x)) restart_oState.iAim = iAim;
  target_AngleSet(restart_oState.iAim);
}

void CurveAim(UsrctlUser* w) {
  const std::uint32_t v = w->uStickOnBall;
  if (StickMagnitude(v) == 0) return;
  const std::int32_t d = StickDegrees(v);
  if (DegreesApart(d, 90) <= 25 && w->iCurve < 20) w->iCurve++;
  if (DegreesApart(d, 270) <= 25 && w->iCurve > -20) w->iCurve--;
}

// The keeper's-hands launches toward the landing point: a roll (68), a
// drop kick (70) or the chip (69).
void KickStart(Player* poKeeper, std::uint32_t eAnim) {
  sphands_LaunchPointSet(s_iLandX, s_iLandY);
  move_RequestPlay(poKeeper, eAnim);
  referee_OffsideIgnoreNext();
  anim_CallbackSet(&poKeeper->oAnimData, eAnim == kAnimRoll       ? sphands_RollLaunch
                                         : eAnim == kAnimDropKick ? sphands_DropKickLaunch
                                                                  : sphands_ThrowLaunch);
  PlayerO_SpeedSet(poKeeper, 0);
  poKeeper->iWantedSpeed = 0;
}

void KeeperBallEvent(User* pusr, const InputEvent* pEvent) {
  RestartState& r = restart_oState;
  UsrctlUser* w = usrctl_poWords(pusr);
  Player* poKeeper = Keeper();
  const bool bKeeper = poKeeper && Controlled(pusr) == poKeeper;
  switch (pEvent->eEvent) {
    case 45: {
      w->uStickOnBall = EventValue(pEvent);
      if (bKeeper && StickMagnitude(w->uStickOnBall) != 0) {
        r.iAim = keeperball_AimTurn(r.iAim, poKeeper->x, StickDegrees(w->uStickOnBall));
        target_AngleSet(r.iAim);
      }
      return;
    }
    case 74:
    case 77:
      if (!bKeeper) return;
      r.bKeeperPress = 1;
      w->iCurve = 0;
      w->iKickDistance = 100;
      r.iAim = poKeeper->iFacing;
      target_KindSet(pEvent->eEvent == 74 ? 3 : 2);
      usrctl_oKick.eKind = pEvent->eEvent == 74 ? USRCTL_KIND_PASS : USRCTL_KIND_CHIP;
      usrctl_oKick.iMax = pEvent->eEvent == 74 ? USRCTL_MAX_PASS : USRCTL_MAX_CHIP;
      w->iPassCharge = 1;
      w->iCharge = 1;
      usrctl_oKick.iShown = 1;
      return;
    case 75:
      if (!bKeeper || !r.bKeeperPress) return;
      if (w->iPassCharge < USRCTL_MAX_PASS) w->iPassCharge++;
      usrctl_oKick.iShown = w->iPassCharge;
      if (w->iPassCharge == 3) {
        r.iAim = poKeeper->iFacing;
        CurveAim(w);
      } else if (w->iPassCharge > 3) {
        CurveAim(w);
      } else {
        StickAim(pusr, poKeeper);
      }
      return;
    case 78:
      if (!bKeeper || !r.bKeeperPress) return;
      CurveAim(w);
      if (w->iCharge < USRCTL_MAX_CHIP) w->iCharge++;
      usrctl_oKick.iShown = w->iCharge;
      return;
    case 76:
    case 79: {
      // A release without a press in this mode is ignored (no stale charge).
      if (!bKeeper || !r.bKeeperPress) return;
      const bool bPass = pEvent->eEvent == 76;
      std::int32_t iCharge = bPass ? w->iPassCharge : w->iCharge;
      if (!bPass) {
        if (iCharge < 4) iCharge = 4;
        CurveAim(w);
      }
      usrctl_KickLatchClear();
      usrctl_ChargeReset();
      target_DistanceSet(bPass ? iCharge * 288 + 720 : iCharge * 432 + 720);
      target_AngleSet(r.iAim);
      keeperball_KickAim(poKeeper);
      if (!bPass) {
        KickStart(poKeeper, kAnimChip);
        camera_TargetSourceDefault();
      }
      r.bKeeperPress = 0;
      global_GameModePopRequest();
      return;
    }
    case 95:
      if (!bKeeper) return;
      global_GameModePopRequest();
      move_RequestPlay(poKeeper, kAnimPut);
      PlayerO_SpeedSet(poKeeper, 0);
      poKeeper->iWantedSpeed = 0;
      return;
    case 40:
    case 41: w->iRequest = pEvent->eEvent - 39; return;
    default: CommonEvents(pusr, pEvent, keeperball_Enter); return;
  }
}

}  // namespace

std::int32_t keeperball_AimTurn(std::int32_t iAim, std::int32_t iKeeperX, std::int32_t iStickDegrees) {
  std::int32_t iStep = 0;
  const bool bNear270 = DegreesApart(iStickDegrees, 270) <= 25;
  const bool bNear90 = DegreesApart(iStickDegrees, 90) <= 25;
  if (iKeeperX >= 0) {
    if (bNear270) iStep = -22;
    else if (bNear90) iStep = 22;
  } else {
    if (bNear90) iStep = 22;
    else if (bNear270) iStep = -22;
  }
  if (iStep == 0) return iAim;
  std::int32_t iNew = (iAim + iStep) % 802;
  if (iNew < 0) iNew += 802;
  return AimAllowed(iNew, iKeeperX) ? iNew : iAim;
}

void keeperball_KickAim(Player* poKeeper) {
  const std::int32_t d = target_DistanceGet();
  const std::int32_t a = target_AngleGet();
  const std::int32_t a16 = (a * 65536 / 802) & 0xFFFF;
  s_iLandX = poKeeper->x + static_cast<std::int32_t>(static_cast<std::int64_t>(d) * ball_CosDeg(a16 * 360 / 65536) / 16384);
  s_iLandY = poKeeper->y + static_cast<std::int32_t>(static_cast<std::int64_t>(d) * ball_SinDeg(a16 * 360 / 65536) / 16384);
  Player* poReceiver = nullptr;
  match_NearestOtherPlayerFind(poKeeper, s_iLandX, s_iLandY, &poReceiver);
  target_ReceiverSet(poReceiver);
  KickStart(poKeeper, d >= 2880 ? kAnimDropKick : kAnimRoll);
}

void keeperball_Enter() {
  Player* poKeeper = Keeper();
  for (User& u : user_aUsers)
    if (u.bActive && u.pip) Bind(&u, 6);
  if (poKeeper) {
    User* poUser = poKeeper->Control == PLAYER_CONTROL_USER ? player_UserGet(poKeeper) : nullptr;
    if (poUser == nullptr) {
      for (User& u : user_aUsers) {
        if (!u.bActive || u.pip == nullptr || u.MyTeam != poKeeper->MyTeam || u.MyTeam != PossessionSide()) continue;
        Bind(&u, 26);
        if (u.phl) user_PlayerSet(&u, poKeeper);
        break;
      }
    } else {
      Bind(poUser, 26);
    }
  }
  restart_oState.iAim = ball_HeadingTo(-ball_CurXGet(), -ball_CurYGet());
  restart_oState.bKeeperPress = 0;
}

void keeperball_UserInput(User* pusr) { EachEvent(pusr, KeeperBallEvent); }

void keeperball_Run() {
  for (User& u : user_aUsers)
    if (u.bActive && u.pip) keeperball_UserInput(&u);
  Player* poKeeper = Keeper();
  if (poKeeper) {
    const std::uint32_t e = poKeeper->oAnimData.eActionAnim;
    if (((e == 58 || e == 136) && anim_FrameGet(&poKeeper->oAnimData) >= 1) ||
        poKeeper->MoveState == MOVE_STATE_KEEPER_IDLE) {
      poKeeper->iFacing = static_cast<std::int16_t>(restart_oState.iAim);
      poKeeper->uWantedFacing = static_cast<std::uint16_t>(restart_oState.iAim);
      anim_HeadingSet(&poKeeper->oAnimInfo, static_cast<std::uint32_t>(restart_oState.iAim));
    }
  }
  game_MatchFrame();
}

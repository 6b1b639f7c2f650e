// User control in open play: the enter operation of mode 2, the per-tick
// update and each user's input step. The kick decision and the aim
// operations are in usrctl_kick.cpp.
#include "matchflow/usrctl.h"

#include <cstring>

#include "engine/action.h"
#include "engine/aiopt.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/chaser.h"
#include "engine/engine_services.h"
#include "engine/newballA.h"
#include "engine/player.h"
#include "engine/spscript.h"
#include "engine/target.h"
#include "engine/team.h"
#include "frontend/pctext.h"
#include "matchflow/camera.h"
#include "matchflow/clock.h"
#include "matchflow/matchstate.h"
#include "matchflow/replay.h"
#include "matchflow/restart.h"
#include "matchflow/usrctl_services.h"
#include "shell/debuglog.h"
#include "shell/game.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/user.h"
#include "shell/usrmark.h"

static_assert(USER_MAX == 4 && PLAYER_MAX == 22, "the user controls' record is sized for 4 users, 22 players");
namespace {
constexpr UsrctlState kUsrctlFresh = {};
}  // namespace
UsrctlState usrctl_oState = kUsrctlFresh;
UsrctlKick& usrctl_oKick = usrctl_oState.oKick;
UsrctlUser (&usrctl_aUsers)[4] = usrctl_oState.aUsers;
std::int32_t& usrctl_bHold = usrctl_oState.bHold;
std::int32_t& usrctl_bStepRelease = usrctl_oState.bStepRelease;

namespace {

std::uint8_t (&s_abPassPending)[PLAYER_MAX] = usrctl_oState.abPassPending;

Player* Controlled(const User* pusr) { return pusr->phl ? pusr->phl->pplyr : nullptr; }

std::int32_t DegreesOf802(std::int32_t iAngle) {
  std::int32_t d = iAngle % 802;
  if (d < 0) d += 802;
  return d * 180 / 401;
}

// Shorter way round between two angles in whole degrees 0..359.
std::int32_t DegreesApart(std::int32_t a, std::int32_t b) {
  std::int32_t d = (a - b) % 360;
  if (d < 0) d += 360;
  return d > 180 ? 360 - d : d;
}

// The penalty area of the end the player defends.
bool InOwnPenaltyArea(const Player* pp) {
  const std::int32_t x = pp->x, y = pp->y;
  if (x > -6768 && x < 6768) return false;
  if (y < -3168 || y > 3168) return false;
  return pp->Direction == 1 ? x < 0 : x > 0;
}

MatchTeam* SideOf(const User* pusr) {
  return pusr->MyTeam == player_PlaysFor_Home ? match_HomeTeamGet() : match_AwayTeamGet();
}

bool ShownChargeShows() { return usrctl_oKick.iShown >= 1 && usrctl_oKick.iShown <= 1000; }

// The one-two: the last chosen receiver played at once.
void OneTwo(Player* pp) {
  s_abPassPending[pp->ID % PLAYER_MAX] = 0;
  Player* poReceiver = usrctl_oKick.poLastReceiver;
  if (!player_IsGoalkeeper(pp) && (poReceiver == nullptr || !player_IsGoalkeeper(poReceiver))) {
    newballA_QuietReleaseSet();
    target_ReceiverSet(poReceiver);
    // Played first time to where the receiver stands.
    pass_RecordSet(PASS_RECORD_AT_RECEIVER, poReceiver ? poReceiver->x : 0, poReceiver ? poReceiver->y : 0);
    touch_ContactSet(pp, pp, 1);
    chaser_ReactionDelaysSet();
    target_DoTapHeader(pp);
    anim_EndFlagSet(&pp->oAnimData);
  }
  usrctl_oKick.iShown = 0;
}

void LooseBallTouch(User* pusr, UsrctlUser* w, Player* pp, std::int32_t iKind) {
  if (ball_OwnerGet() != nullptr) return;
  if (w->bIgnoreRelease) {
    w->bIgnoreRelease = 0;
    return;
  }
  if (iKind != 4) {
    usrctl_AimFromStick(pusr);
    const std::int32_t d = DegreesApart(DegreesOf802(target_AngleGet()), DegreesOf802(pp->iFacing));
    iKind = d >= 25 ? 3 : 2;
  }
  touch_ContactSet(pp, pp, iKind);
}

void SelectPressed(User* pusr, Player* pp) {
  if (global_eGetExtendedGameMode() != GAME_MODE_START_TRAINING) {
    MatchTeam* poSide = SideOf(pusr);
    poSide->SubRequest = poSide->SubRequest ? 0 : 1;
    return;
  }
  if (pp == nullptr) return;
  if (InOwnPenaltyArea(pp)) {
    // The penalty picks its taker, places the ball and binds the keys as it
    // starts; without that nobody steps up and the session stands still.
    global_GameModePush(penalty_Start, GAME_MODE_PENALTY, nullptr);
  } else {
    // The free kick sets itself up where the ball is; the script that runs
    // first walks the players to their places.
    global_GameModePush(freekick_Setup, GAME_MODE_FREE_KICK, nullptr);
    global_GameModePush(spscript_StartFreeKick, GAME_MODE_SET_PIECE_SCRIPT, nullptr);
  }
}

void KickPressed(User* pusr, UsrctlUser* w, std::int32_t eEvent, bool bPressWord) {
  w->iKickInput = USRCTL_KICK_INPUT;
  w->iCurve = 0;
  w->uStickOnBall = 0;
  if (bPressWord) w->iPress = 2;
  w->iKickInput = usrctl_KickDecide(pusr, eEvent);
}

void EventHandle(User* pusr, UsrctlUser* w, const InputEvent* pEvent) {
  Player* pp = Controlled(pusr);
  const std::int32_t eEvent = pEvent->eEvent;
  const std::uint32_t uValue = pEvent->pWidget ? static_cast<std::uint32_t>(pEvent->pWidget->iCurrent) : 0u;
  switch (eEvent) {
    case 1:
      input_PortBindingSet(9, pusr->pip);
      if (pusr->phl) usrmark_Activate(pusr->phl);
      global_SetGameMode(GAME_MODE_PLAY);
      return;
    case 4:
      if (!ShownChargeShows()) pausemenu_Open(pusr, usrctl_StartPlay);
      return;
    case 23:
      w->uStickPrev = pusr->uStickDirection;
      pusr->uStickDirection = uValue;
      return;
    case 45:
      w->uStickOnBall = uValue;
      return;
    case 25:
      user_SelectPlayer(pusr);
      return;
    case 26:
    case 29:
    case 53:
    case 58:
      KickPressed(pusr, w, eEvent, true);
      return;
    case 48:
      KickPressed(pusr, w, eEvent, false);
      return;
    case 33:
      w->bSprint = 1;
      return;
    case 40:
    case 41:
    case 42:
      w->iRequest = eEvent - 39;
      return;
    case 127:
      if (pp) LooseBallTouch(pusr, w, pp, 0);
      return;
    case 128:
      if (pp) LooseBallTouch(pusr, w, pp, 4);
      return;
    case 137:
      SelectPressed(pusr, pp);
      return;
    case 153:
      if (pp) OneTwo(pp);
      return;
    case 156:
      if (pp) anim_RequestSet(&pp->oAnimInfo, 167);
      return;
    case 158:
      demo_StopRequest();
      return;
    case 168:
      if (pp) newgoal_SideFlagSet(pp->MyTeam, 1);
      w->iPress = 0;
      return;
    default:
      if (w->iKickInput == USRCTL_KICK_INPUT) w->iKickInput = usrctl_KickDecide(pusr, eEvent);
      return;
  }
}

}  // namespace

UsrctlUser* usrctl_poWords(const User* pusr) {
  const std::int32_t i = pusr->iIndex;
  return &usrctl_aUsers[i >= 0 && i < USER_MAX ? i : 0];
}

MatchStateBlock usrctl_MatchState() { return {"usrctl", &usrctl_oState, sizeof usrctl_oState}; }
// A hold of the simulation left by the last match would stop this one's.
void usrctl_Reset() { matchstate_Restore(usrctl_oState, kUsrctlFresh); }

void usrctl_PassPendingSet(const Player* pp, std::int32_t bFlag) {
  s_abPassPending[pp->ID % PLAYER_MAX] = static_cast<std::uint8_t>(bFlag ? 1 : 0);
}
std::int32_t usrctl_bPassPendingGet(const Player* pp) { return s_abPassPending[pp->ID % PLAYER_MAX]; }

void usrctl_StartPlay() {
  clock_Start();
  replay_StartRecording();
  director_Reset();
  const bool bDemo = global_eGetExtendedGameMode() == GAME_MODE_DEMO;
  for (User& u : user_aUsers) {
    if (!u.bActive || u.pip == nullptr) continue;
    const std::int32_t eBinding = u.MyTeam != 0 ? 9 : (bDemo ? 45 : 16);
    input_PortBindingSet(eBinding, u.pip);
    input_PortBindingSave(u.pip);
  }
  camera_TargetSourceDefault();
  pctext_FontSet(0);
  for (Player* pp = match_HomeFirstPlayerGet(); pp != nullptr; pp = match_NextPlayerGet(pp))
    pp->oSetPieceRole.iRole = -1;
}

void usrctl_Update() {
  user_PortBindingsUpdate();
  usrctl_bStepRelease = 0;
  const bool bDemo = global_eGetExtendedGameMode() == GAME_MODE_DEMO;
  for (User& u : user_aUsers) {
    if (!u.bActive || u.pip == nullptr) continue;
    if (u.MyTeam == 0 && !bDemo) continue;
    usrctl_UserInput(&u);
  }
  game_MatchFrame();
}

void usrctl_UserInput(User* pusr) {
  UsrctlUser* w = usrctl_poWords(pusr);
  if (Player* pp = Controlled(pusr)) pp->bUserSteered = 0;
  // The sprint flag lasts one tick: the held button sets it again.
  w->bSprint = 0;
  if (pusr->pip == nullptr) return;
  while (ListNode* pNode = queue_RemoveHead(&pusr->pip->oEvents)) {
    InputEvent* pEvent = reinterpret_cast<InputEvent*>(pNode);
    EventHandle(pusr, w, pEvent);
    input_EventFree(&pEvent);
  }
}

void usrctl_KickLatchClear() {
  // A new owner ends any charging kick, and the bar that showed it.
  usrctl_oKick.eKind = USRCTL_KIND_NONE;
  usrctl_oKick.iShown = 0;
  mhands_CatchPressClear();
}

void usrctl_ChargeReset() {
  for (UsrctlUser& w : usrctl_aUsers) {
    w.iPassCharge = 0;
    w.iCharge = 0;
  }
}

std::int32_t usrctl_bIsSprinting(const User* pusr) { return pusr ? usrctl_poWords(pusr)->bSprint : 0; }

std::int32_t usrctl_bSimulationHeld() { return usrctl_bHold && !usrctl_bStepRelease; }

std::int32_t usrctl_PassExtraGet() { return usrctl_oKick.iPassExtra; }

// The set-piece restart modes: corner, free kick, goal kick, keeper's ball in
// hand, throw-in and penalty. Each set-up chooses the taker, hands him to a
// user, binds the users' ports and clears the mode's flags; each per-tick
// operation runs the users' input steps and one match frame. A set-up runs
// twice for one restart (from the script's start and when the restart mode
// becomes current), so each gives the same result both times.
#include "matchflow/restart.h"

#include <cstdint>
#include <cstdlib>
#include <initializer_list>

#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "engine/referee.h"
#include "engine/setp.h"
#include "engine/sptab.h"
#include "engine/team.h"
#include "engine/zone.h"
#include "framework/qdx_assert.h"
#include "matchflow/camera.h"
#include "matchflow/gauge.h"
#include "matchflow/matcha.h"
#include "matchflow/replay.h"
#include "matchflow/restart_util.h"
#include "matchflow/usrctl.h"
#include "matchflow/usrctl_services.h"
#include "shell/debuglog.h"
#include "shell/game.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/list.h"
#include "shell/user.h"
#include "shell/usrmark.h"
#include "tournament/dbplayer.h"
#include "tournament/tournament_services.h"

RestartState restart_oState;

namespace restart {

Player* Controlled(const User* pusr) { return pusr->phl ? pusr->phl->pplyr : nullptr; }

std::int32_t PossessionSide() {
  return match_HomeClubStateGet() == 0 ? player_PlaysFor_Home : player_PlaysFor_Away;
}

std::int32_t StickDegrees(std::uint32_t uStick) { return static_cast<std::int32_t>(uStick >> 16); }
std::int32_t StickMagnitude(std::uint32_t uStick) { return static_cast<std::int32_t>(uStick & 0xFFFF); }
std::int32_t Wrap360(std::int32_t a) {
  a %= 360;
  return a < 0 ? a + 360 : a;
}

void ForEachSideUser(void (*pfn)(User*)) {
  for (User& u : user_aUsers) {
    if (!u.bActive || u.pip == nullptr || u.MyTeam == 0) continue;
    pfn(&u);
  }
}

void UsersThenFrame(void (*pfn)(User*)) {
  ForEachSideUser(pfn);
  game_MatchFrame();
}

void Bind(User* pusr, std::int32_t eBinding) {
  if (pusr->pip) input_PortBindingSet(eBinding, pusr->pip);
}

// Bindings: the taker's side, the other users with a side, users without one
// (-1 leaves them alone).
void BindSides(std::int32_t iTakerSide, std::int32_t eTaker, std::int32_t eOther, std::int32_t eNoSide) {
  for (User& u : user_aUsers) {
    if (!u.bActive || u.pip == nullptr) continue;
    if (u.MyTeam == 0) {
      if (eNoSide >= 0) Bind(&u, eNoSide);
    } else {
      Bind(&u, u.MyTeam == iTakerSide ? eTaker : eOther);
    }
  }
}

void HandOver(Player* poTaker) {
  if (poTaker == nullptr || poTaker->Control == PLAYER_CONTROL_USER) return;
  for (User& u : user_aUsers) {
    if (!u.bActive || u.MyTeam != poTaker->MyTeam || u.phl == nullptr) continue;
    user_PlayerSet(&u, poTaker);
    return;
  }
}

void DefenceZones(std::int32_t iKind) {
  for (Player* pp = match_OtherTeamFirstPlayerGet(); pp; pp = pp->pNext) {
    SetPieceRecord& r = pp->oSetPiece;
    r.iTreeKey = zone_iTreeIndexGet(pp);
    const std::int32_t* pi = nullptr;
    if (sptab_DefenceGet(r.iTreeKey, iKind, &pi) && pi && *pi >= 0) {
      r.piOptions = pi;
      r.cOptions = 1;
    } else {
      // No row or no zone: no option, and he holds his place.
      r.piOptions = nullptr;
      r.cOptions = 0;
    }
  }
}

void CommonSetup() {
  setp_Init();
  touch_ContactClear();
  setp_KickDistanceSet(2880);
}

Player* NearestOutfield(Player* poFirst) {
  Player* poBest = nullptr;
  std::int64_t iBest = 0;
  const std::int64_t iLimit = static_cast<std::int64_t>(253440) * 253440;
  for (Player* pp = poFirst; pp; pp = pp->pNext) {
    if (player_IsGoalkeeper(pp)) continue;
    const std::int64_t d2 = player_Dist2(ball_CurXGet() - pp->x, ball_CurYGet() - pp->y);
    if (d2 > iLimit) continue;
    if (poBest == nullptr || d2 <= iBest) {  // ties go to the later player
      poBest = pp;
      iBest = d2;
    }
  }
  if (poBest == nullptr) poBest = poFirst;  // a side of its keeper alone
  return poBest;
}

Player* DesignatedOrNearest(Player* poFirst) {
  for (Player* pp = poFirst; pp; pp = pp->pNext)
    if (!player_IsGoalkeeper(pp) && pp->pDBPlayer && dbplayer_SetPieceTakerGet(pp->pDBPlayer)) return pp;
  return NearestOutfield(poFirst);
}

Player* FirstKeeper(Player* poFirst) {
  for (Player* pp = poFirst; pp; pp = pp->pNext)
    if (player_IsGoalkeeper(pp)) return pp;
  return nullptr;
}

void CommonEvents(User* pusr, const InputEvent* pEvent, UsrctlResumeFn pfnResume) {
  UsrctlUser* w = usrctl_poWords(pusr);
  switch (pEvent->eEvent) {
    case 4: pausemenu_Open(pusr, pfnResume); break;
    case 25:
      if (Controlled(pusr) != setp_poGetKickTaker()) user_PlayerChoose(pusr, USER_CHOOSE_NOT_TAKER);
      break;
    case 23: pusr->uStickDirection = EventValue(pEvent); break;
    case 33: w->bSprint = 1; break;
    default: break;
  }
}

std::uint32_t EventValue(const InputEvent* pEvent) {
  return pEvent->pWidget ? static_cast<std::uint32_t>(pEvent->pWidget->iCurrent) : 0u;
}

void EachEvent(User* pusr, void (*pfn)(User*, const InputEvent*)) {
  usrctl_poWords(pusr)->bSprint = 0;
  if (pusr->pip == nullptr) return;
  while (ListNode* pNode = queue_RemoveHead(&pusr->pip->oEvents)) {
    InputEvent* pEvent = reinterpret_cast<InputEvent*>(pNode);
    pfn(pusr, pEvent);
    input_EventFree(&pEvent);
  }
}

bool IsTakersUser(const User* pusr) {
  const Player* poTaker = setp_poGetKickTaker();
  return poTaker != nullptr && Controlled(pusr) == poTaker;
}

// A user of the side that takes the restart.
bool OnTakersSide(const User* pusr) {
  const Player* poTaker = setp_poGetKickTaker();
  return poTaker != nullptr && pusr->MyTeam == poTaker->MyTeam;
}

}  // namespace restart

using namespace restart;

std::int32_t restart_AimCommandOf(std::int32_t iStickDegrees) {
  const std::int32_t a = Wrap360(iStickDegrees + 90);
  if (a > 330 || a < 30) return SETP_CMD_AIM_RIGHT;
  if (a >= 61 && a <= 119) return SETP_CMD_LOFT_UP;
  if (a >= 151 && a <= 199) return SETP_CMD_AIM_LEFT;
  if (a >= 211 && a <= 299) return SETP_CMD_LOFT_DOWN;
  return SETP_CMD_NONE;
}

// ---- Corner and free kick: one input behaviour ------------------------------------------

namespace {

void AimedKickEvent(User* pusr, const InputEvent* pEvent, UsrctlResumeFn pfnResume) {
  RestartState& r = restart_oState;
  PowerGauge* pg = setp_poGetAimMarker();
  const bool bTaker = IsTakersUser(pusr);
  switch (pEvent->eEvent) {
    case 23: {
      const std::uint32_t v = EventValue(pEvent);
      if (bTaker) {
        if (StickMagnitude(v) > USER_STICK_AIM_DEAD && !r.bReleased) {
          const std::int32_t c = restart_AimCommandOf(StickDegrees(v));
          if (c != SETP_CMD_NONE) setp_CommandSet(c);
          pusr->uStickDirection = 0;
        }
      } else {
        pusr->uStickDirection = v;
        if (StickMagnitude(v) >= USER_STICK_STEER_MIN) user_DirectionMap(pusr, StickDegrees(v), StickMagnitude(v));
      }
      return;
    }
    case 26:
    case 29:
      if (!bTaker) return;
      r.bPressed = 1;
      if (pg->bReleased) {
        gauge_RunningSet(pg, 0);
        setp_CommandSet(SETP_CMD_KICK);
      } else {
        gauge_RunningSet(pg, 1);
        gauge_Step(pg, -1, 0);
      }
      return;
    case 27:
    case 30:
      if (bTaker && r.bPressed && !pg->bReleased) gauge_Step(pg, -1, 0);
      return;
    case 28:
    case 31:
      if (!bTaker || !r.bPressed) return;
      r.bReleased = 1;
      if (!pg->bReleased) gauge_Step(pg, 0, 1);
      replay_StartRecording();
      return;
    case 152: return;
    default: CommonEvents(pusr, pEvent, pfnResume); return;
  }
}

void AimedKickInput(User* pusr, void (*pfnEvent)(User*, const InputEvent*)) {
  Player* poTaker = setp_poGetKickTaker();
  if (poTaker && poTaker->Control != PLAYER_CONTROL_USER) {
    for (User& u : user_aUsers) {
      if (u.bActive && u.MyTeam == poTaker->MyTeam && u.phl) {
        user_PlayerSet(&u, poTaker);
        break;
      }
    }
  }
  EachEvent(pusr, pfnEvent);
  if (!IsTakersUser(pusr)) return;
  PowerGauge* pg = setp_poGetAimMarker();
  if (pg->bReleased && pg->bRunning) {
    gauge_Step(pg, 1, 0);
    if (pg->bFull) {
      gauge_RunningSet(pg, 0);
      setp_CommandSet(SETP_CMD_KICK);
    }
  }
}

void CornerBind() {
  const Player* poTaker = setp_poGetKickTaker();
  const std::int32_t iSide = poTaker ? poTaker->MyTeam : PossessionSide();
  BindSides(iSide, 23, 22, -1);
}

void FreeKickBind() {
  const Player* poTaker = setp_poGetKickTaker();
  const std::int32_t iSide = poTaker ? poTaker->MyTeam : PossessionSide();
  BindSides(iSide, 32, 6, -1);
}

void CornerEvent(User* pusr, const InputEvent* pEvent) { AimedKickEvent(pusr, pEvent, CornerBind); }
void FreeKickEvent(User* pusr, const InputEvent* pEvent) { AimedKickEvent(pusr, pEvent, FreeKickBind); }

}  // namespace

namespace {
// The debug log names each restart with its taker and his side (0 and -1
// when the side in possession has nobody to take it).
void RestartLog(const char* pszKind, const Player* poTaker) {
  debuglog_Printf("restart: %s, side %d, taker %d\n", pszKind, poTaker ? static_cast<int>(poTaker->MyTeam) : 0,
                  poTaker ? static_cast<int>(poTaker->ID) : -1);
}
}  // namespace

Player* corner_TakerChoose() { return DesignatedOrNearest(match_StateTeamFirstPlayerGet()); }

void corner_Setup() {
  CommonSetup();
  setp_KindSet(SETP_KIND_CORNER);
  DefenceZones(SETP_KIND_CORNER);
  Player* poTaker = corner_TakerChoose();
  setp_KickTakerSet(poTaker);
  RestartLog("corner", poTaker);
  if (global_eGetGameMode() != GAME_MODE_SET_PIECE_SCRIPT) HandOver(poTaker);
  CornerBind();
  restart_oState.bPressed = 0;
  restart_oState.bReleased = 0;
}

void corner_UserInput(User* pusr) { AimedKickInput(pusr, CornerEvent); }

void corner_Run() { UsersThenFrame(corner_UserInput); }

std::int32_t freekick_KindOfZone(std::int32_t iZone) {
  return iZone >= 70 && iZone <= 75 ? SETP_KIND_FREEKICK_FIRST + iZone - 70 : SETP_KIND_OTHER_FREEKICK;
}

std::int32_t freekick_WallSizeOfZone(std::int32_t iZone) {
  if (iZone >= 70 && iZone <= 73) return 2;
  return iZone == 74 ? 4 : 0;
}

Player* freekick_TakerChoose() {
  Player* poFirst = match_StateTeamFirstPlayerGet();
  if (poFirst == nullptr) return nullptr;
  const std::int32_t x = ball_CurXGet();
  const bool bDeep = poFirst->Direction == 1 ? x < -2880 : x >= 2881;
  if (bDeep && poFirst->pNext && poFirst->pNext->pNext) return poFirst->pNext->pNext;
  return DesignatedOrNearest(poFirst);
}

void freekick_Setup() {
  CommonSetup();
  restart_oState.bPressed = 0;
  Player* poFouled = referee_poFouledGet();
  std::int32_t iZone = -1;
  if (poFouled) iZone = zone_iChildAtPlayer(2016, poFouled);
  const std::int32_t iKind = poFouled ? freekick_KindOfZone(iZone) : SETP_KIND_OTHER_FREEKICK;
  setp_KindSet(iKind);
  DefenceZones(iKind);
  // The wall: the defending side's players numbered down from its tenth.
  const std::int32_t cWall = poFouled ? freekick_WallSizeOfZone(iZone) : 0;
  setp_WallCountClear();
  Player* poDefFirst = match_OtherTeamFirstPlayerGet();
  if (poDefFirst) {
    const std::int32_t iFirstId = poDefFirst->MyTeam == player_PlaysFor_Home ? 0 : PLAYER_TEAM_SIZE;
    for (std::int32_t i = 0; i < cWall; i++) {
      const std::int32_t id = iFirstId + 9 - i;
      for (Player* pp = poDefFirst; pp; pp = pp->pNext) {
        if (pp->ID != id) continue;
        setp_PlayerRoleSet(pp, 8);
        if (pp->Control == PLAYER_CONTROL_USER && pp->pUser) user_PlayerChoose(pp->pUser, USER_CHOOSE_CYCLE);
      }
    }
  }
  Player* poTaker = freekick_TakerChoose();
  setp_KickTakerSet(poTaker);
  HandOver(poTaker);
  if (global_eGetExtendedGameMode() == GAME_MODE_START_TRAINING) {
    ball_StateReset(&ball_oBall);
    camera_Push(13);
    referee_RestartPointSet(ball_CurXGet(), ball_CurYGet());
  }
  restart_oState.bReleased = 0;
  FreeKickBind();
}

void freekick_UserInput(User* pusr) { AimedKickInput(pusr, FreeKickEvent); }

void freekick_Run() { UsersThenFrame(freekick_UserInput); }

// ---- Goal kick and keeper's ball in hand --------------------------------------------------

namespace {

void KeeperKickBind(std::int32_t eTaker) {
  const Player* poTaker = setp_poGetKickTaker();
  for (User& u : user_aUsers) {
    if (!u.bActive || u.pip == nullptr) continue;
    if (poTaker && Controlled(&u) == poTaker) Bind(&u, eTaker);
    else if (u.MyTeam != 0) Bind(&u, 22);
    else if (eTaker == 23) Bind(&u, 16);
  }
}
void GoalKickBind() { KeeperKickBind(23); }
void HandsBind() { KeeperKickBind(49); }

// The keeper of the side in possession; a side without one (never in a
// match: the keeper's record heads the chain) gives its player nearest the
// ball rather than no taker.
Player* KeeperTaker() {
  Player* poFirst = match_StateTeamFirstPlayerGet();
  Player* poKeeper = FirstKeeper(poFirst);
  return poKeeper ? poKeeper : NearestOutfield(poFirst);
}

void ChargeEvents(User* pusr, std::int32_t eEvent) {
  RestartState& r = restart_oState;
  switch (eEvent) {
    case 26:
    case 29:
      r.iCharge = 0;
      r.iHeld = 0;
      usrctl_oKick.iMax = 20;
      break;
    case 27:
    case 30:
      r.iHeld++;
      if (r.iHeld < 21) r.iCharge++;
      break;
    default: break;
  }
}

void GoalKickEvent(User* pusr, const InputEvent* pEvent) {
  RestartState& r = restart_oState;
  const bool bTaker = IsTakersUser(pusr);
  switch (pEvent->eEvent) {
    case 23: {
      const std::uint32_t v = EventValue(pEvent);
      if (!bTaker) {
        pusr->uStickDirection = v;
      } else if (!r.bLocked && StickMagnitude(v) > USER_STICK_AIM_DEAD) {
        const std::int32_t a = StickDegrees(v) + 90;
        if (a >= 136 && a <= 214) setp_CommandSet(SETP_CMD_AIM_LEFT);
        else if (a > 315) setp_CommandSet(SETP_CMD_AIM_RIGHT);
      }
      return;
    }
    case 26:
    case 29:
      if (!bTaker) return;
      r.bLocked = 1;
      ChargeEvents(pusr, pEvent->eEvent);
      return;
    case 27:
    case 30:
      if (bTaker) ChargeEvents(pusr, pEvent->eEvent);
      return;
    case 28:
    case 31:
      if (!bTaker) return;
      setp_PowerSet(r.iCharge * 5);
      setp_CommandSet(SETP_CMD_READY);
      r.iCharge = 0;
      Bind(pusr, 22);
      return;
    default: CommonEvents(pusr, pEvent, GoalKickBind); return;
  }
}

// The Pass (28) or Chip (31) release at the keeper's ball: the throw or kick
// with the power its press charged, played once the keeper is ready.
void HandsRelease(User* pusr, std::int32_t eReleased) {
  RestartState& r = restart_oState;
  r.bLocked = 1;
  setp_PowerSet(r.iCharge * 5);
  setp_CommandSet(eReleased == 28 ? SETP_CMD_RELEASE : SETP_CMD_READY);
  Bind(pusr, 22);
}

// The ways the taker's stick turns the keeper at his keeper's ball.
constexpr std::int32_t kHandsStickIdle = 0, kHandsStickUp = 1, kHandsStickDown = 2;

// The keeper guards goal 2 (at +x) while he attacks toward -x.
bool GuardsGoal2(const Player* poKeeper) { return poKeeper->Direction == 0; }

void HandsEvent(User* pusr, const InputEvent* pEvent) {
  RestartState& r = restart_oState;
  const bool bTaker = IsTakersUser(pusr);
  Player* poKeeper = setp_poGetKickTaker();
  switch (pEvent->eEvent) {
    case 23: {
      const std::uint32_t v = EventValue(pEvent);
      if (!bTaker || poKeeper == nullptr) {
        pusr->uStickDirection = v;
        return;
      }
      // Once a kick is pressed the stick no longer aims: the kick waits for
      // the keeper to be ready and is played whatever the stick does.
      if (r.bLocked) return;
      // The stick is read every tick it is held: a press turns him one
      // quarter when it reaches a turning way, and he turns again only once
      // it has left that way (let go, or pressed the other way).
      std::int32_t eWay = kHandsStickIdle;
      if (StickMagnitude(v) > USER_STICK_AIM_DEAD) {
        const std::int32_t a = StickDegrees(v) + 90;
        if (a < 135) eWay = kHandsStickUp;
        else if (a >= 226 && a <= 314) eWay = kHandsStickDown;
      }
      if (eWay != kHandsStickIdle && eWay != r.eTurnWay) {
        // A turn to the right takes the stick reading with it.
        const bool bRight = (eWay == kHandsStickUp) == GuardsGoal2(poKeeper);
        setp_CommandSet(bRight ? SETP_CMD_AIM_RIGHT : SETP_CMD_AIM_LEFT);
        if (bRight) pusr->uStickDirection = 0;
      }
      r.eTurnWay = eWay;
      return;
    }
    case 26:
    case 29:
      if (!bTaker) return;
      r.bLocked = 1;
      // The key of a press carried over from the catch comes up as pressed
      // anew with the keys of the keeper's ball: its charge goes on.
      if (r.bCarried && pEvent->eEvent == r.eCatchKey) {
        r.bCarried = 0;
        return;
      }
      r.bCarried = 0;
      ChargeEvents(pusr, pEvent->eEvent);
      return;
    case 27:
    case 30:
      if (!bTaker) return;
      if (pEvent->eEvent == r.eCatchKey + 1) r.bCarried = 0;
      ChargeEvents(pusr, pEvent->eEvent);
      return;
    case 28:
    case 31:
      if (!bTaker) return;
      r.bCarried = 0;
      HandsRelease(pusr, pEvent->eEvent);
      return;
    case 163:
      if (!bTaker) return;
      r.bLocked = 1;
      setp_CommandSet(SETP_CMD_KICK);
      return;
    default: CommonEvents(pusr, pEvent, HandsBind); return;
  }
}

}  // namespace

void mgoalkic_Start() {
  CommonSetup();
  Player* poTaker = KeeperTaker();
  setp_KickTakerSet(poTaker);
  RestartLog("goal kick", poTaker);
  HandOver(poTaker);
  GoalKickBind();
  camera_FadeRelease();
  restart_oState.bLocked = 0;
  restart_oState.iCharge = 0;
  restart_oState.iHeld = 0;
}

void mgoalkic_UserInput(User* pusr) { EachEvent(pusr, GoalKickEvent); }

void mgoalkic_Update() { UsersThenFrame(mgoalkic_UserInput); }

void mhands_Start() {
  RestartState& r = restart_oState;
  const RestartState oCatch = r;
  mhands_CatchPressClear();
  sphands_Start();
  CommonSetup();
  Player* poTaker = KeeperTaker();
  setp_KickTakerSet(poTaker);
  HandOver(poTaker);
  HandsBind();
  r.bLocked = 0;
  r.iCharge = 0;
  r.iHeld = 0;
  r.bCarried = 0;
  r.eTurnWay = kHandsStickIdle;
  // A press his user made as the keeper took the catch is his first press
  // at this keeper's ball, with the charge it had.
  if (poTaker == nullptr || oCatch.poCatchKeeper != poTaker) return;
  r.bLocked = 1;
  r.iCharge = oCatch.iCharge;
  r.iHeld = oCatch.iHeld;
  r.eCatchKey = oCatch.eCatchKey;
  if (oCatch.eCatchRelease == 0) {
    r.bCarried = 1;
  } else if (poTaker->pUser) {
    HandsRelease(poTaker->pUser, oCatch.eCatchKey + 2);
  }
}

void mhands_UserInput(User* pusr) {
  RestartState& r = restart_oState;
  EachEvent(pusr, HandsEvent);
  // A carried press whose key neither came up pressed nor held with the
  // keys of the keeper's ball was let go as they changed: it is released.
  if (r.bCarried && IsTakersUser(pusr)) {
    r.bCarried = 0;
    HandsRelease(pusr, r.eCatchKey + 2);
  }
}

void mhands_CatchPressEvent(User* pusr, std::int32_t eEvent) {
  RestartState& r = restart_oState;
  Player* pp = Controlled(pusr);
  if (pp == nullptr) return;
  switch (eEvent) {
    case 26:
    case 29:
      if (r.poCatchKeeper == pp) return;  // one press a catch
      r.poCatchKeeper = pp;
      r.eCatchKey = eEvent;
      r.eCatchRelease = 0;
      ChargeEvents(pusr, eEvent);
      return;
    case 27:
    case 30:
      if (r.poCatchKeeper == pp && r.eCatchRelease == 0 && eEvent == r.eCatchKey + 1) ChargeEvents(pusr, eEvent);
      return;
    case 28:
    case 31:
      if (r.poCatchKeeper == pp && r.eCatchRelease == 0 && eEvent == r.eCatchKey + 2) r.eCatchRelease = eEvent;
      return;
    default: return;
  }
}

void mhands_CatchPressClear() {
  RestartState& r = restart_oState;
  r.poCatchKeeper = nullptr;
  r.eCatchKey = 0;
  r.eCatchRelease = 0;
}

void mhands_Update() { UsersThenFrame(mhands_UserInput); }

// ---- Throw-in ----------------------------------------------------------------------------

std::int32_t mthrowin_KindGet(std::int32_t x, std::int32_t iDirection) {
  std::int32_t k = (x + 9360) / 2340;
  if (k < 0) k = 0;
  if (k > 7) k = 7;
  return iDirection == 0 ? 7 - k : k;
}

Player* mthrowin_ThrowerFind(std::int32_t y) {
  static const std::int32_t aiCodes[] = {1, 6, 12, 7, 24, 3, 18, 9, 17, 2, 13, 4, 10, 19, 5};
  Player* poFirst = match_StateTeamFirstPlayerGet();
  if (poFirst == nullptr) return nullptr;
  const std::int32_t iWanted = poFirst->Direction == 1 ? (y < 0 ? 1 : 0) : (y >= 1 ? 1 : 0);
  for (std::int32_t iSide : {iWanted, 2}) {
    for (std::int32_t iCode : aiCodes) {
      for (Player* pp = poFirst; pp; pp = pp->pNext) {
        if (player_IsGoalkeeper(pp) || pp->pDBPlayer == nullptr || pp->pDBPlayer->poSlot == nullptr) continue;
        const FormationSlot* ps = pp->pDBPlayer->poSlot;
        if (ps->iSide == iSide && ps->iPosition == iCode) return pp;
      }
    }
  }
  // No slot matches: the outfield player nearest the ball throws.
  return NearestOutfield(poFirst);
}

namespace {

void ThrowInBind() {
  const std::int32_t iSide = PossessionSide();
  BindSides(iSide, 25, 24, 16);
}

// The thrower's team-mate nearest to him: the partner when none was chosen.
Player* NearestMate(const Player* poThrower) {
  if (poThrower == nullptr) return nullptr;
  Player* poBest = nullptr;
  std::int64_t iBest = 0;
  for (Player* pp = match_StateTeamFirstPlayerGet(); pp; pp = pp->pNext) {
    if (pp == poThrower || player_IsGoalkeeper(pp)) continue;
    const std::int64_t d2 = player_Dist2(pp->x - poThrower->x, pp->y - poThrower->y);
    if (poBest == nullptr || d2 < iBest) {
      poBest = pp;
      iBest = d2;
    }
  }
  return poBest;
}

void ThrowInEvent(User* pusr, const InputEvent* pEvent) {
  Player* pp = Controlled(pusr);
  switch (pEvent->eEvent) {
    case 23:
      pusr->uStickDirection = EventValue(pEvent);
      if (pp && pp->MyTeam == PossessionSide() && pp != setp_poGetKickTaker()) setp_PartnerSet(pp);
      return;
    case 25: user_PlayerChoose(pusr, 4); return;
    case 73: {
      Player* poPartner = pp && pp->MyTeam == PossessionSide() && pp != setp_poGetKickTaker() ? pp : nullptr;
      if (poPartner == nullptr) poPartner = setp_poGetPartner();
      if (poPartner == nullptr) poPartner = NearestMate(setp_poGetKickTaker());
      setp_PartnerSet(poPartner);
      setp_CommandSet(SETP_CMD_KICK);
      replay_StartRecording();
      return;
    }
    default: CommonEvents(pusr, pEvent, ThrowInBind); return;
  }
}

}  // namespace

void mthrowin_Start() {
  user_ChoiceRangeSet(1, 3);
  ThrowInBind();
  setp_Init();
  touch_ContactClear();
  setp_KickDistanceSet(2880);
  Player* poThrower = mthrowin_ThrowerFind(ball_CurYGet());
  setp_KickTakerSet(poThrower);
  RestartLog("throw-in", poThrower);
  const std::int32_t iKind = poThrower ? mthrowin_KindGet(ball_CurXGet(), poThrower->Direction) : 0;
  setp_KindSet(iKind);
  DefenceZones(iKind);
  // The thrower is always the computer's.
  if (poThrower && poThrower->Control == PLAYER_CONTROL_USER && poThrower->pUser)
    user_PlayerChoose(poThrower->pUser, USER_CHOOSE_NOT_TAKER);
}

void mthrowin_UserInput(User* pusr) { EachEvent(pusr, ThrowInEvent); }

void mthrowin_Update() { UsersThenFrame(mthrowin_UserInput); }

// ---- Penalty ---------------------------------------------------------------------------------

namespace {

void PenaltyBind() {
  const Player* poTaker = setp_poGetKickTaker();
  const std::int32_t iSide = poTaker ? poTaker->MyTeam : PossessionSide();
  BindSides(iSide, 33, 48, -1);
}

void PenaltyEvent(User* pusr, const InputEvent* pEvent) {
  const bool bTaker = IsTakersUser(pusr);
  switch (pEvent->eEvent) {
    case 23: {
      const std::uint32_t v = EventValue(pEvent);
      pusr->uStickDirection = v;
      if (!bTaker) return;
      // A stick reading queued behind a press of the run-up or the kick
      // does not undo it.
      const std::int32_t cNow = setp_CommandGet();
      if (cNow == SETP_CMD_KICK || cNow == SETP_CMD_KEEPER_A || cNow == SETP_CMD_KEEPER_B) return;
      if (StickMagnitude(v) > USER_STICK_AIM_DEAD) {
        const std::int32_t c = restart_AimCommandOf(StickDegrees(v));
        if (c != SETP_CMD_NONE) setp_CommandSet(c);
      } else {
        setp_CommandSet(SETP_CMD_AIM_LEFT);
      }
      return;
    }
    case 129:
      if (bTaker) setp_CommandSet(SETP_CMD_KEEPER_A);
      return;
    case 130:
      if (bTaker) setp_CommandSet(SETP_CMD_KEEPER_B);
      return;
    case 131:
      if (bTaker) setp_CommandSet(SETP_CMD_KICK);
      return;
    case 162:
      if (setp_PenaltyFlagGet()) {
        const std::uint32_t v = pusr->uStickDirection;
        setp_AimSectorSet(StickMagnitude(v) > USER_STICK_AIM_DEAD ? setp_AimSectorFromAngle(StickDegrees(v) + 90) : 8);
      }
      return;
    default: CommonEvents(pusr, pEvent, PenaltyBind); return;
  }
}

}  // namespace

void penalty_Start() {
  setp_Init();
  const std::int32_t iSide = PossessionSide();
  Player* poTaker = dbplayer_poPenaltyTakerChoose(iSide, 0);
  if (poTaker == nullptr) poTaker = DesignatedOrNearest(match_StateTeamFirstPlayerGet());
  setp_KickTakerSet(poTaker);
  setp_AimSectorSet(setp_AimSectorFromAngle(90));
  if (global_eGetExtendedGameMode() == GAME_MODE_START_TRAINING) camera_Push(11);
  PenaltyBind();
}

void penalty_UserInput(User* pusr) {
  EachEvent(pusr, PenaltyEvent);
  if (OnTakersSide(pusr)) return;
  const std::uint32_t v = pusr->uStickDirection;
  setp_AimSectorSet(StickMagnitude(v) > USER_STICK_AIM_DEAD ? setp_AimSectorFromAngle(StickDegrees(v) + 90) : 8);
}

void penalty_Update() { UsersThenFrame(penalty_UserInput); }

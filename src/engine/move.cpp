// The movement pass: stepping every player's clip, raising and dispatching
// move events, the run event with its speed choice and turning, steering and
// collision pushes.
#include "engine/move.h"

#include <cstdlib>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "framework/math/qmath.h"
#include "framework/qdx_assert.h"
#include "shell/global.h"
#include "shell/imath.h"

MoveTackleState move_oTackle;

const MoveEventFn move_apfnEvents[8] = {
    nullptr,        move_RunEvent,       move_PlayEvent,       move_TackleEvent,
    move_TakeEvent, move_StopEvent,      move_CelebrateEvent,  move_RunAnimEvent,
};

// Animation 129 (running with the ball): per frame, the events that may run
// and their order (the last listed is tried first). 0 matches nothing.
#define ROW_A {3, 1, 2, 3, 5, 0}
#define ROW_B {3, 2, 3, 5, 0, 0}
#define ROW_C {5, 2, 3, 5, 0, 0}
#define ROW_D {5, 1, 2, 3, 5, 7}
const std::uint8_t move_aEventPriority[MOVE_PRIORITY_ROWS][6] = {
    ROW_A, ROW_A,                                                        // 0-1
    ROW_B, ROW_B, ROW_B, ROW_B, ROW_B, ROW_B, ROW_B, ROW_B, ROW_B, ROW_B, ROW_B,  // 2-12
    ROW_C, ROW_C, ROW_C, ROW_C, ROW_C,                                   // 13-17
    ROW_B, ROW_B, ROW_B, ROW_B, ROW_B, ROW_B,                            // 18-23
    ROW_A, ROW_A, ROW_A, ROW_A, ROW_A,                                   // 24-28
    ROW_D, ROW_D, ROW_D, ROW_D, ROW_D, ROW_D, ROW_D, ROW_D, ROW_D, ROW_D,  // 29-38
    ROW_A, ROW_A, ROW_A, ROW_A, ROW_A, ROW_A, ROW_A,                     // 39-45
};
#undef ROW_A
#undef ROW_B
#undef ROW_C
#undef ROW_D

// ---- Helpers -------------------------------------------------------------------------

std::int32_t move_FacingWrap(std::int32_t iFacing) {
  iFacing %= 802;
  if (iFacing < 0) iFacing += 802;
  return iFacing;
}
std::int32_t move_HeadingToDegrees(std::int32_t iHeading) { return iHeading * 180 / 401; }
std::int32_t move_DirectionTo(const Player* pp, std::int32_t x, std::int32_t y) {
  return imath_Atan2(y - pp->y, x - pp->x);
}
void move_Along(Player* pp, std::int32_t iHeading, std::int32_t iDist) {
  std::int32_t iDeg = move_HeadingToDegrees(iHeading);
  pp->x = static_cast<std::int16_t>(pp->x + imath_CosScale(iDist, iDeg));
  pp->y = static_cast<std::int16_t>(pp->y + imath_SinScale(iDist, iDeg));
}
void move_Play(Player* pp, std::uint32_t eAnim) { anim_ActionAnimSet(&pp->oAnimData, eAnim); }
void move_RequestPlay(Player* pp, std::uint32_t eAnim) {
  anim_RequestSet(&pp->oAnimInfo, eAnim);
  anim_ActionAnimSet(&pp->oAnimData, eAnim);
}
std::int32_t move_IsHolder(const Player* pp) { return ball_oBall.poOwner == pp; }
std::int32_t move_IsOpenPlay() {
  GameMode e = global_eGetGameMode();
  return e == GAME_MODE_PLAY || e == GAME_MODE_PLAY_ON;
}
// The global simple-rules byte: set, the referee takes no part in the movement pass.
std::int32_t move_SimpleRules() { return global_bSpareFlagGet() != 0; }

static std::uint32_t Requested(const Player* pp) { return pp->oAnimInfo.eActionAnim; }
static const AnimRecord* RowOf(std::uint32_t eAnim) { return &anim_aTable[eAnim < ANIM_MAX ? eAnim : 0]; }
static std::int32_t Facing16(std::int32_t iFacing) { return static_cast<std::int32_t>(iFacing * 65536 / 803) & 0xFFFF; }

// ---- The movement pass -----------------------------------------------------------------

void move_EventRaise(Player* pp, std::int32_t iEvent) {
  QDX_ASSERT(iEvent > 0 && iEvent < MOVE_EVENT_MAX);
  pp->abMoveEvents[iEvent] = 1;
}

void move_HookPlay(Player* pp) { move_EventRaise(pp, MOVE_EVENT_PLAY); }
void move_HookTake(Player* pp) { move_EventRaise(pp, MOVE_EVENT_TAKE); }
void move_HookRun(Player* pp) { move_EventRaise(pp, MOVE_EVENT_RUN); }
void move_HookTackle(Player* pp) { move_EventRaise(pp, MOVE_EVENT_TACKLE); }
void move_HookCelebrate(Player* pp) { move_EventRaise(pp, MOVE_EVENT_CELEBRATE); }
void move_HookRunAnim(Player* pp) { move_EventRaise(pp, MOVE_EVENT_RUN_ANIM); }
void move_HookStop(Player* pp) { move_EventRaise(pp, MOVE_EVENT_STOP); }

static void RunState(Player* pp) {
  QDX_ASSERT(pp->MoveState >= 0 && pp->MoveState < MOVE_STATE_MAX);
  move_apfnStates[pp->MoveState](pp);
}

static void Dispatch(Player* pp) {
  const AnimRecord* pr = RowOf(pp->oAnimData.eActionAnim);
  if (pr->pfnDispatch) pr->pfnDispatch(pp, Requested(pp), &pp->oAnimData);
}

static void Hook(Player* pp) {
  const AnimRecord* pr = RowOf(Requested(pp));
  if (pr->pfnHook) pr->pfnHook(pp);
}

void move_FrameUpdate() {
  for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp)) {
    if (pp->pGoalie && !newgoalo_MoveFlagGet(pp->pGoalie)) {
      newgoalo_MoveFlagSet(pp->pGoalie, 1);
      anim_Advance(pp, &pp->oAnimData);
      continue;
    }
    anim_Advance(pp, &pp->oAnimData);
    std::uint32_t eRaising = Requested(pp);
    if (pp->MoveState != MOVE_STATE_SCRIPT) {
      Hook(pp);
      if (Requested(pp) != ANIM_RUN) {
        std::int32_t s = pp->uStamina + 2;
        pp->uStamina = static_cast<std::uint16_t>(s > PLAYER_STAMINA_FULL ? PLAYER_STAMINA_FULL : s);
      }
    }
    RunState(pp);
    // A state that put its own clip over the request (a tackle, a fall)
    // leaves no play event of the old request behind.
    if (Requested(pp) != eRaising) pp->abMoveEvents[MOVE_EVENT_PLAY] = 0;
    if (pp->x < -9936) pp->x = -9936;
    if (pp->x > 9936) pp->x = 9936;
    if (pp->y < -6336) pp->y = -6336;
    if (pp->y > 6336) pp->y = 6336;
    if (pp->MoveState != MOVE_STATE_SCRIPT) Dispatch(pp);
  }
  if (!move_SimpleRules()) {
    Player* pr = &player_oReferee;
    anim_Advance(pr, &pr->oAnimData);
    Hook(pr);
    RunState(pr);
    Dispatch(pr);
  }
}

// ---- Dispatchers --------------------------------------------------------------------------

static void RunRaised(Player* pp, std::uint32_t eRequested) {
  for (std::int32_t e = MOVE_EVENT_RUN_ANIM; e >= MOVE_EVENT_RUN; e--) {
    if (!pp->abMoveEvents[e]) continue;
    pp->abMoveEvents[e] = 0;
    move_apfnEvents[e](pp, eRequested);
  }
}

static bool RunPlayAlone(Player* pp, std::uint32_t eRequested) {
  if (!pp->abMoveEvents[MOVE_EVENT_PLAY]) return false;
  pp->abMoveEvents[MOVE_EVENT_PLAY] = 0;
  move_PlayEvent(pp, eRequested);
  return true;
}

static void DropRaised(Player* pp) {
  for (std::uint8_t& b : pp->abMoveEvents) b = 0;
}

void move_EventDispatchNow(Player* pp, std::uint32_t eRequested, AnimData*) {
  move_StateFromAnim(pp);
  if (RunPlayAlone(pp, eRequested)) return;
  RunRaised(pp, eRequested);
}

void move_EventDispatch(Player* pp, std::uint32_t eRequested, AnimData* pad) {
  move_StateFromAnim(pp);
  if (RunPlayAlone(pp, eRequested)) return;
  if (RowOf(pad->eActionAnim)->type == ANIM_TYPE_3 || anim_IsEnded(pad)) {
    RunRaised(pp, eRequested);
  } else {
    DropRaised(pp);
  }
}

void move_EventDispatchFall(Player* pp, std::uint32_t eRequested, AnimData* pad) {
  if (RunPlayAlone(pp, eRequested)) return;
  if (anim_IsEnded(pad)) RunRaised(pp, eRequested);
}

void move_EventDispatchCelebrate(Player* pp, std::uint32_t eRequested, AnimData*) {
  if (!pp->abMoveEvents[MOVE_EVENT_CELEBRATE]) return;
  pp->abMoveEvents[MOVE_EVENT_CELEBRATE] = 0;
  move_CelebrateEvent(pp, eRequested);
}

void move_EventDispatchRun(Player* pp, std::uint32_t eRequested, AnimData* pad) {
  std::int32_t iHeading = static_cast<std::int32_t>(pp->oAnimInfo.uHeading);
  if (iHeading != pp->iFacing) {
    std::int32_t d = iHeading - pp->iFacing;
    bool bNeg = (d > 0 && d < 402) || d <= -402;
    pp->iTurnRate = static_cast<std::int16_t>(bNeg ? -pp->iTurnRateMag : pp->iTurnRateMag);
  }
  if (eRequested == ANIM_STAND) {
    pp->iWantedSpeed = 0;
    move_Play(pp, 137);
    PlayerO_MoveStateSet(pp, MOVE_STATE_STOP);
    return;
  }
  for (std::int32_t e = 1; e < MOVE_EVENT_MAX; e++) {
    if (!pp->abMoveEvents[e]) continue;
    pp->abPendingEvents[e] = 1;
    pp->aePendingAnims[e] = eRequested;
  }
  std::int32_t iFrame = anim_FrameGet(pad);
  if (iFrame >= MOVE_PRIORITY_ROWS) iFrame = MOVE_PRIORITY_ROWS - 1;
  const std::uint8_t* row = move_aEventPriority[iFrame];
  for (std::int32_t i = row[0]; i >= 1; i--) {
    std::int32_t e = row[i];
    if (e == 0 || !pp->abPendingEvents[e]) continue;
    pp->abPendingEvents[e] = 0;
    move_apfnEvents[e](pp, pp->aePendingAnims[e]);
    break;
  }
  DropRaised(pp);
}

void move_StateFromAnim(Player* pp) {
  std::int32_t s = pp->MoveState;
  if (s != MOVE_STATE_RUN && s != MOVE_STATE_STAND && s != MOVE_STATE_KEEPER_IDLE) return;
  switch (RowOf(Requested(pp))->moveClass) {
    case 1: PlayerO_MoveStateSet(pp, MOVE_STATE_STAND); break;
    case 2: PlayerO_MoveStateSet(pp, MOVE_STATE_ANIM_START); break;
    case 3: PlayerO_MoveStateSet(pp, MOVE_STATE_ANIM_START_TURN); break;
    case 4: PlayerO_MoveStateSet(pp, MOVE_STATE_ANIM_PLAY); break;
    case 7: PlayerO_MoveStateSet(pp, MOVE_STATE_KEEPER_IDLE); break;
    case 11:
      move_Play(pp, Requested(pp));
      PlayerO_MoveStateSet(pp, MOVE_STATE_20);
      break;
    case 12: PlayerO_MoveStateSet(pp, MOVE_STATE_11); break;
    default: break;
  }
}

// ---- Events ----------------------------------------------------------------------------------

void move_PlayEvent(Player* pp, std::uint32_t eAnim) {
  pp->iSpeed = 0;
  pp->iWantedSpeed = 0;
  pp->uWantedFacing = static_cast<std::uint16_t>(pp->oAnimInfo.uHeading);
  PlayerO_MoveStateSet(pp, MOVE_STATE_ANIM_WAIT);
  move_Play(pp, eAnim);
}

void move_TakeEvent(Player* pp, std::uint32_t) {
  referee_FoulLatchClear();
  move_Play(pp, 33);
  PlayerO_MoveStateSet(pp, MOVE_STATE_BALL_TAKE);
}

void move_StopEvent(Player* pp, std::uint32_t) {
  pp->iSpeed = 0;
  pp->iWantedSpeed = 0;
  PlayerO_MoveStateSet(pp, MOVE_STATE_STOP);
}

void move_CelebrateEvent(Player* pp, std::uint32_t eAnim) {
  pp->iSpeed = 0;
  pp->iWantedSpeed = 0;
  move_Play(pp, eAnim);
  if (eAnim == 12) {
    PlayerO_MoveStateSet(pp, MOVE_STATE_ON_GROUND);
  } else if (eAnim == 14) {
    PlayerO_MoveStateSet(pp, MOVE_STATE_CELEBRATE_14);
  } else {
    PlayerO_MoveStateSet(pp, MOVE_STATE_ANIM_WAIT);
  }
}

void move_RunAnimEvent(Player* pp, std::uint32_t eAnim) {
  if (pp->iSpeed <= 0) return;
  move_Play(pp, eAnim);
  PlayerO_MoveStateSet(pp, MOVE_STATE_RUN_ANIM);
  touch_StateForce(pp, 10);
  target_DoNudge(pp);
  chaser_ReactionDelaysSet();
}

void move_TackleEvent(Player* pp, std::uint32_t eAnim) {
  pp->iTurnRate = 0;
  move_oTackle.bContact = 0;
  // A new challenge is judged afresh by its own flags. The referee's latch is
  // left alone: once he has called a foul, no other is called until the
  // restart's script resets it (or a take clears it).
  move_oTackle.bFoulLatch = 0;
  move_oTackle.bFoulJudged = 0;
  move_oTackle.iSeverity = 0;
  Ball* pb = &ball_oBall;
  std::int32_t iAimX = ball_XGet(pb);
  std::int32_t iAimY = ball_YGet(pb);
  if (eAnim == 143 || eAnim == 154) {
    if (pp->iSpeed == 0) pp->iSpeed = 31;
    Player* po = pb->poOwner;
    if (po && po != pp) {
      std::int32_t iDeg = move_HeadingToDegrees(move_DirectionTo(po, pp->x, pp->y)) -
                          move_HeadingToDegrees(po->iFacing);
      iDeg = ((iDeg % 360) + 360) % 360;
      if (iDeg >= 115 && iDeg <= 315 && eAnim == 143) eAnim = 154;
      if (po->iSpeed > 0) {
        std::int32_t iDeg2 = move_HeadingToDegrees(po->iFacing);
        iAimX += imath_CosScale(288, iDeg2);
        iAimY += imath_SinScale(288, iDeg2);
      }
    }
  } else if (eAnim == 78 || eAnim == 79) {
    if (pp->iSpeed < 41) pp->iSpeed = static_cast<std::int16_t>((PlayerO_Attr70Get(pp) + 28) * 41 >> 7);
  } else if (eAnim == 8 && pp->iSpeed == 0) {
    // The shoulder challenge is a step into the man, and its clip is drawn
    // in place: only the tackle state carries the challenger. From a
    // standstill he steps in at the challenge's own pace; without it he
    // would lean in where he stands, reach nothing beyond his feet and be
    // sent in again and again beside a holder who does not move.
    pp->iSpeed = MOVE_CHALLENGE_STEP_SPEED;
  }
  move_Play(pp, eAnim);
  std::int32_t iDir = iAimX == pp->x && iAimY == pp->y ? pp->iFacing : move_DirectionTo(pp, iAimX, iAimY);
  pp->iFacing = static_cast<std::int16_t>(iDir);
  pp->uWantedFacing = static_cast<std::uint16_t>(iDir);
  pp->iDisplayFacing = pp->iFacing;
  PlayerO_MoveStateSet(pp, MOVE_STATE_TACKLE);
}

// ---- The run event ---------------------------------------------------------------------------

static void StaminaUse(Player* pp, std::int32_t iCost, std::int32_t* piWanted) {
  std::int32_t s = static_cast<std::int32_t>(pp->uStamina) - iCost;
  if (s < 1) {
    s = 0;
    if (clock_MinuteGet() >= 30) {
      std::int32_t iPower = static_cast<std::int32_t>(pp->uPower) - 4;
      pp->uPower = static_cast<std::uint16_t>(iPower < 0 ? 0 : iPower);
    }
    *piWanted = *piWanted * pp->uPower / 10000;
  }
  pp->uStamina = static_cast<std::uint16_t>(s);
}

void move_RunSpeedChoose(Player* pp, std::uint32_t* peAnim) {
  bool bHolder = move_IsHolder(pp);
  std::int32_t iState = MOVE_STATE_RUN;
  switch (*peAnim) {
    case 7: {
      std::int32_t a = Facing16(pp->iFacing);
      if (a < 5462 || (a >= 27306 && a <= 38229) || a >= 60074) {
        pp->iWantedSpeed = 27;
      } else {
        pp->iWantedSpeed = 31;
        *peAnim = 102;
      }
      pp->iTurnRateMag = 0;
      pp->iTurnStep = 0;
      break;
    }
    case 10: case 11: case 18:
      pp->iWantedSpeed = 31;
      pp->iTurnRateMag = 6;
      break;
    case 102:
      pp->iWantedSpeed = bHolder ? 30 : 31;
      *peAnim = bHolder ? 105 : 102;
      pp->iTurnRateMag = 6;
      break;
    case 127: {
      std::int32_t iWanted;
      if (!bHolder) {
        iWanted = PlayerO_Attr52Get(pp) * 10 / 65 + 34;
        StaminaUse(pp, 2, &iWanted);
        if (iWanted >= 31) {
          *peAnim = 127;
        } else {
          iWanted = 31;
          *peAnim = 102;
        }
      } else {
        iWanted = PlayerO_Attr52Get(pp) * 10 / 120 + 34;
        StaminaUse(pp, 8, &iWanted);
        if (iWanted >= 30) {
          *peAnim = 129;
        } else {
          iWanted = 34;
          *peAnim = 105;
        }
      }
      pp->iWantedSpeed = static_cast<std::int16_t>(iWanted);
      pp->iTurnRateMag = 13;
      break;
    }
    case 137:
      pp->iTurnRateMag = 0;
      iState = MOVE_STATE_STOP;
      break;
    case 160:
      *peAnim = bHolder ? 161 : 160;
      pp->iWantedSpeed = 7;
      pp->iTurnRateMag = 0;
      break;
    default:
      pp->iTurnRateMag = 0;
      break;
  }
  PlayerO_MoveStateSet(pp, iState);
}

void move_RunCheck(Player* pp, std::uint32_t* peAnim) {
  Player* po = ball_oBall.poOwner;
  if (!po || po->MyTeam == pp->MyTeam) return;
  std::int32_t d = move_DirectionTo(pp, po->x, po->y) - static_cast<std::int32_t>(pp->oAnimInfo.uHeading);
  std::int32_t iDeg = std::abs(move_HeadingToDegrees(d)) % 360;
  if (iDeg < 135 || iDeg > 225) return;
  if (pp->oAnimData.eActionAnim == 7 && pp->oAnimData.ePrevAnim == 146) return;
  if (player_Dist2(po->x - pp->x, po->y - pp->y) > 576 * 576) return;
  if (pp->iSpeed > 27) return;
  pp->iWantedSpeed = 27;
  *peAnim = 146;
  pp->iTurnRateMag = 0;
  pp->iFacing = static_cast<std::int16_t>(pp->oAnimInfo.uHeading);
  pp->uWantedFacing = static_cast<std::uint16_t>(move_DirectionTo(pp, po->x, po->y));
  PlayerO_MoveStateSet(pp, MOVE_STATE_RUN);
}

void move_TurnToTarget(Player* pp, std::uint32_t* peAnim) {
  std::int32_t iHeading = static_cast<std::int32_t>(pp->oAnimInfo.uHeading);
  if (iHeading != pp->iFacing) {
    pp->uWantedFacing = static_cast<std::uint16_t>(iHeading);
    if (pp->iFacing == 0) pp->iFacing = 802;
    if (pp->uWantedFacing == 0) pp->uWantedFacing = 802;
  }
  std::int32_t t = std::abs(static_cast<std::int32_t>(pp->uWantedFacing) - pp->iFacing);
  std::uint32_t ePlaying = pp->oAnimData.eActionAnim;
  if (ePlaying == 146 || *peAnim == 146) {
    pp->iFacing = static_cast<std::int16_t>(pp->uWantedFacing);
    pp->iDisplayFacing = pp->iFacing;
  } else if (ePlaying == 7 || *peAnim == 7) {
    pp->iFacing = static_cast<std::int16_t>(pp->uWantedFacing);
    pp->iDisplayFacing = static_cast<std::int16_t>(move_FacingWrap(pp->uWantedFacing - 401));
  } else if (t >= 256 && t <= 544) {
    if (move_IsHolder(pp)) {
      if (pp->iSpeed > 0) {
        *peAnim = 4;
      } else if (Requested(pp) == ANIM_RUN) {
        *peAnim = 5;
      } else {
        *peAnim = 3;
      }
    } else {
      *peAnim = 2;
    }
    PlayerO_MoveStateSet(pp, MOVE_STATE_TURN_ABOUT);
  } else {
    move_TurnStep(pp);
  }
}

void move_RunEvent(Player* pp, std::uint32_t eAnim) {
  std::uint32_t ePlaying = pp->oAnimData.eActionAnim;
  std::int32_t iRadius = 96;
  if (ePlaying == 7 || ePlaying == 102 || ePlaying == 160) iRadius = 24;
  if (ePlaying == 127) iRadius = 48;
  std::int32_t dx = pp->oAnimInfo.iTargetX - pp->x;
  std::int32_t dy = pp->oAnimInfo.iTargetY - pp->y;
  if (player_Dist(dx, dy) <= iRadius) {
    std::int32_t s = pp->MoveState;
    std::uint32_t e = (anim_IsInPlace(eAnim) || s == 12 || s == 15 || s == 16) ? eAnim : ANIM_STAND;
    move_RequestPlay(pp, e);
    pp->iSpeed = 0;
    pp->iWantedSpeed = 0;
    pp->iTurnStep = 0;
    pp->oAnimData.uFlags |= ANIM_FLAG_AT_TARGET;
    return;
  }
  if (pp->Control == PLAYER_CONTROL_COMPUTER) {
    std::int32_t a16 = QMathAtan2(dx, dy) & 0xFFFF;
    pp->uWantedFacing = static_cast<std::uint16_t>((a16 * 803) >> 16);
    // The turn clip is for targets well behind him: the difference is taken
    // the short way round, so that facings either side of the +x axis
    // (802 and 1) count as close.
    std::int32_t f16 = Facing16(pp->iFacing);
    std::int32_t iDiff = a16 > f16 ? a16 - f16 : f16 - a16;
    if (iDiff > 32768) iDiff = 65536 - iDiff;
    if (iDiff > 24576) {
      eAnim = ANIM_TURN;
      move_RequestPlay(pp, ANIM_TURN);
    }
    pp->oAnimInfo.uHeading = pp->uWantedFacing;
  }
  if (ball_oBall.poOwner && (eAnim == 7 || eAnim == 102 || eAnim == 127 || eAnim == 160)) {
    move_RunCheck(pp, &eAnim);
  }
  if (eAnim != 146) {
    move_RunSpeedChoose(pp, &eAnim);
    move_TurnToTarget(pp, &eAnim);
  }
  QDX_ASSERT(eAnim > ANIM_NONE && eAnim < ANIM_MAX);
  move_Play(pp, eAnim);
}

// ---- Steering, turning, collisions --------------------------------------------------------

void move_Steer(Player* pp, std::int32_t iHeading, std::int32_t iAccel) {
  move_Collide(pp);
  if (pp->iSpeed != pp->iWantedSpeed) {
    if (pp->iSpeed < pp->iWantedSpeed) {
      std::int32_t s = pp->iSpeed + iAccel;
      pp->iSpeed = static_cast<std::int16_t>(s > pp->iWantedSpeed ? pp->iWantedSpeed : s);
    } else if (move_IsHolder(pp) && pp->iWantedSpeed == 0 && pp->iSpeed >= 30) {
      move_Play(pp, 137);
      PlayerO_MoveStateSet(pp, MOVE_STATE_STOP);
    } else {
      pp->iSpeed = static_cast<std::int16_t>(pp->iSpeed - 8);
      if (pp->iSpeed <= 0) {
        pp->iSpeed = pp->iWantedSpeed;
        if (pp->MoveState != MOVE_STATE_SCRIPT) {
          move_Play(pp, ANIM_STAND);
          PlayerO_MoveStateSet(pp, MOVE_STATE_STOP);
        }
      }
    }
  }
  pp->iDisplayFacing = pp->oAnimData.eActionAnim == 129 ? pp->iFacing : static_cast<std::int16_t>(pp->uWantedFacing);
  move_Along(pp, iHeading, pp->iSpeed);
}

std::int32_t move_TurnStep(Player* pp) {
  std::int32_t f16 = pp->iFacing * 65536 / 802;
  std::int32_t w16 = static_cast<std::int32_t>(pp->uWantedFacing) * 65536 / 802;
  if (f16 == w16) {
    pp->iTurnRate = 0;
    pp->iDisplayFacing = pp->iFacing;
    return 0;
  }
  std::int32_t d = (w16 - f16) & 0xFFFF;
  if (d >= 32768) d -= 65536;
  if (std::abs(d) < 5060) {
    f16 = w16;
  } else {
    f16 += d > 0 ? 5060 : -5060;
  }
  pp->iTurnRate = static_cast<std::int16_t>(d > 0 ? pp->iTurnRateMag : -pp->iTurnRateMag);
  pp->iFacing = static_cast<std::int16_t>(((f16 & 0xFFFF) * 803) >> 16);
  pp->iDisplayFacing = pp->iFacing;
  return 1;
}

static bool CollideCandidate(const Player* pp, const Player* po) {
  if (po == pp || !(po->bCollide || po == &player_oReferee)) return false;
  if (po->oTouch.iState == 6) return false;
  std::uint32_t e = po->oAnimData.eActionAnim;
  if (e == 155 || e == 35) return false;
  return player_Dist2(po->x - pp->x, po->y - pp->y) < 9216;
}

Player* move_Collide(Player* pp) {
  if (!move_IsOpenPlay() || !(pp->bCollide || pp == &player_oReferee)) return nullptr;
  if (RowOf(pp->oAnimData.eActionAnim)->type == ANIM_TYPE_4 || RowOf(pp->oAnimData.ePrevAnim)->type == ANIM_TYPE_4) {
    return nullptr;
  }
  if (pp->MoveState == MOVE_STATE_ON_GROUND) return nullptr;
  Player* po = nullptr;
  for (Player* pq = match_HomeFirstPlayerGet(); pq; pq = match_NextPlayerGet(pq)) {
    if (CollideCandidate(pp, pq)) {
      po = pq;
      break;
    }
  }
  if (!po && !move_SimpleRules() && CollideCandidate(pp, &player_oReferee)) po = &player_oReferee;
  if (!po) return nullptr;
  std::int32_t iDeg = move_HeadingToDegrees(move_DirectionTo(pp, po->x, po->y));
  Player* poMate = nullptr;
  if (pp->Control == PLAYER_CONTROL_COMPUTER && ball_oBall.poOwner == po && po->MyTeam != pp->MyTeam &&
      !player_NearestUserMateFind(pp, &poMate)) {
    pp->iSpeed = 0;
    anim_RequestSet(&pp->oAnimInfo, 143);
    move_TackleEvent(pp, 143);
    iDeg += static_cast<std::int32_t>(QMathRandRange(30)) - 15;
  }
  po->x = static_cast<std::int16_t>(po->x + imath_CosScale(31, iDeg));
  po->y = static_cast<std::int16_t>(po->y + imath_SinScale(31, iDeg));
  return po;
}

std::uint32_t move_IdleAnimChoose(Player* pp) {
  std::uint32_t eReq = Requested(pp);
  if (player_IsGoalkeeper(pp) || global_eGetGameMode() == GAME_MODE_GOAL_CELEBRATION || eReq == 152 || eReq == 107 ||
      eReq == 171) {
    return eReq;
  }
  return pp->oAIInfo.bIsAttacking ? ANIM_OFFENCE_IDLE : ANIM_DEFENCE_IDLE;
}

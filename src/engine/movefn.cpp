// The 22 movement state functions, run for every player once a tick.
#include <cstdlib>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/player.h"
#include "framework/math/qmath.h"
#include "framework/qdx_assert.h"
#include "shell/global.h"
#include "shell/user.h"

static std::uint32_t Requested(const Player* pp) { return pp->oAnimInfo.eActionAnim; }
static std::uint32_t Playing(const Player* pp) { return pp->oAnimData.eActionAnim; }
static bool Ended(const Player* pp) { return anim_IsEnded(&pp->oAnimData) != 0; }
static void State(Player* pp, std::int32_t s) { PlayerO_MoveStateSet(pp, s); }
static void RequestIsPlaying(Player* pp) { pp->oAnimInfo.eActionAnim = Playing(pp); }
static void TurnStepTowardRate(Player* pp) {
  if (pp->iTurnStep < pp->iTurnRate) {
    pp->iTurnStep = static_cast<std::int16_t>(pp->iTurnStep + 2 > pp->iTurnRate ? pp->iTurnRate : pp->iTurnStep + 2);
  } else if (pp->iTurnStep > pp->iTurnRate) {
    pp->iTurnStep = static_cast<std::int16_t>(pp->iTurnStep - 2 < pp->iTurnRate ? pp->iTurnRate : pp->iTurnStep - 2);
  }
}
static void FacingsToWanted(Player* pp) {
  pp->iFacing = static_cast<std::int16_t>(pp->uWantedFacing);
  pp->iDisplayFacing = pp->iFacing;
}
static void Fall(Player* pp, std::uint32_t eAnim, std::int32_t iState) {
  move_RequestPlay(pp, eAnim);
  State(pp, iState);
}

static void StateRun(Player* pp) {
  TurnStepTowardRate(pp);
  move_Steer(pp, pp->iFacing, 7);
}

static void StateStand(Player* pp) {
  pp->iWantedSpeed = 0;
  pp->iTurnStep = 0;
  if (global_eGetGameMode() == GAME_MODE_SET_PIECE_SCRIPT &&
      (pp == setp_poGetKickTaker() || pp == referee_poOffenderGet() || pp == referee_poFouledGet() ||
       pp == &player_oReferee)) {
    State(pp, MOVE_STATE_SCRIPT);
    return;
  }
  if (Playing(pp) == 7) pp->uWantedFacing = static_cast<std::uint16_t>(move_FacingWrap(pp->iFacing - 401));
  if (pp->iSpeed == 0) {
    if (Playing(pp) == 146 || Playing(pp) == 7) pp->iFacing = static_cast<std::int16_t>(pp->uWantedFacing);
    std::uint32_t eIdle = move_IdleAnimChoose(pp);
    if (anim_IsKick(Requested(pp)) || eIdle <= ANIM_NONE || eIdle >= ANIM_MAX || anim_aTable[eIdle].id != eIdle) return;
    move_Play(pp, eIdle);
    if (!anim_IsInPlace(eIdle) && !move_IsHolder(pp) && pp->oTouch.iState != 6 && pp != setp_poGetKickTaker()) {
      Ball* pb = &ball_oBall;
      std::int32_t bx = ball_XGet(pb), by = ball_YGet(pb);
      if (bx != pp->x || by != pp->y) pp->uWantedFacing = static_cast<std::uint16_t>(move_DirectionTo(pp, bx, by));
      move_TurnStep(pp);
      State(pp, MOVE_STATE_SLOW_DOWN);
    }
  } else {
    move_Steer(pp, pp->iFacing, 7);
  }
}

static void StateAnimStart(Player* pp) {
  pp->iWantedSpeed = 0;
  pp->iTurnStep = 0;
  move_Play(pp, Requested(pp));
  State(pp, MOVE_STATE_ANIM_END);
}

static void StateAnimStartTurn(Player* pp) {
  move_Play(pp, Requested(pp));
  State(pp, MOVE_STATE_ANIM_END);
  TurnStepTowardRate(pp);
  move_Steer(pp, pp->iFacing, 7);
}

static void StateAnimPlay(Player* pp) {
  pp->iWantedSpeed = 0;
  move_Play(pp, Requested(pp));
  State(pp, MOVE_STATE_ANIM_WAIT);
}

static void StateAnimWait(Player* pp) {
  std::uint32_t ePrev = pp->oAnimData.ePrevAnim;
  if (ePrev == 8 || ePrev == 9 || ePrev == 143 || ePrev == 154) {
    move_Play(pp, Requested(pp));
  } else {
    RequestIsPlaying(pp);
  }
  if (!Ended(pp)) return;
  std::uint32_t e = Playing(pp);
  if (e == 112 || e == 99 || e == 93 || e == 94) {
    if (e == 112) pp->iFacing = static_cast<std::int16_t>(move_FacingWrap(pp->iFacing - 200));
    pp->iDisplayFacing = pp->iFacing;
    pp->uWantedFacing = static_cast<std::uint16_t>(pp->iFacing);
    pp->iSpeed = 0;
    pp->iWantedSpeed = 0;
    move_RequestPlay(pp, 65);
    State(pp, MOVE_STATE_STOP);
    touch_ContactClear();
  } else {
    move_RequestPlay(pp, ANIM_STAND);
    pp->iFacing = static_cast<std::int16_t>(pp->uWantedFacing);
    State(pp, MOVE_STATE_RUN);
  }
}

void move_StateTackle(Player* pp);

// Taking the ball: whoever the taker runs into in the middle of the lunge is
// brought down.
static void StateBallTake(Player* pp) {
  RequestIsPlaying(pp);
  std::int32_t f = anim_FrameGet(&pp->oAnimData);
  if (f >= 6 && f <= 14) {
    Player* po = move_Collide(pp);
    if (po) {
      po->height = 0;
      newballA_OwnerSet(nullptr, 0);
      touch_StateForce(po, 30);
      Fall(po, 35, MOVE_STATE_ON_GROUND);
      if (referee_ChallengeJudge(pp, po)) {
        referee_FouledSet(po);
        referee_Update(4, pp->x, pp->y);
      }
    }
  }
  move_Along(pp, pp->iFacing, pp->iSpeed);
  if (Ended(pp)) {
    move_RequestPlay(pp, ANIM_STAND);
    pp->iWantedSpeed = 0;
    State(pp, MOVE_STATE_RUN);
  }
}

static void StateStop(Player* pp) {
  pp->iTurnStep = 0;
  pp->iSpeed = pp->iWantedSpeed;
  move_Along(pp, pp->iFacing, pp->iSpeed);
  if (Ended(pp)) {
    pp->iFacing = static_cast<std::int16_t>(pp->uWantedFacing);
    move_Play(pp, ANIM_STAND);
    State(pp, MOVE_STATE_RUN);
  }
}

static void StateSlowDown(Player* pp) {
  pp->iSpeed = static_cast<std::int16_t>(pp->iSpeed - 8);
  if (pp->iSpeed <= pp->iWantedSpeed) {
    pp->iSpeed = pp->iWantedSpeed;
    State(pp, MOVE_STATE_RUN);
  }
}

// The turn-about clips start facing back the way he came and unwind toward
// the wanted facing, a share of the rest every frame.
static void StateTurnAbout(Player* pp) {
  AnimData* pad = &pp->oAnimData;
  std::int32_t f = anim_FrameGet(pad);
  if (f == 1) {
    // The clip starts turned half round: the drawn facing flips with it and
    // both unwind toward the wanted facing.
    pp->iDisplayFacing = static_cast<std::int16_t>(move_FacingWrap(pp->iDisplayFacing + 401));
    pp->iTurnAboutAngle = static_cast<std::int16_t>(move_HeadingToDegrees(pp->iDisplayFacing) % 360);
  }
  std::int32_t iDiff = move_HeadingToDegrees(pp->uWantedFacing) - pp->iTurnAboutAngle;
  iDiff = ((iDiff % 360) + 360) % 360;
  if (iDiff > 180) iDiff -= 360;
  std::int32_t iLeft = static_cast<std::int32_t>(pad->uEnd) - f;
  if (iLeft < 1) iLeft = 1;
  std::int32_t iShare = iDiff / iLeft;
  pp->iDisplayFacing = static_cast<std::int16_t>(move_FacingWrap(pp->iDisplayFacing + iShare * 802 / 360));
  pp->iTurnAboutAngle = static_cast<std::int16_t>(pp->iTurnAboutAngle + iShare);
  if (!Ended(pp)) return;
  if (Requested(pp) == ANIM_STAND) {
    move_Play(pp, ANIM_STAND);
    pp->iSpeed = 0;
    pp->iWantedSpeed = 0;
  } else {
    pp->iSpeed = 30;
    pp->iWantedSpeed = 30;
  }
  FacingsToWanted(pp);
  State(pp, MOVE_STATE_RUN);
  move_Steer(pp, pp->iFacing, 7);
}

static void State11(Player* pp) {
  if (Ended(pp)) move_Play(pp, ANIM_STAND);
}

static void StateAnimEnd(Player* pp) {
  RequestIsPlaying(pp);
  pp->uWantedFacing = static_cast<std::uint16_t>(pp->iFacing);
  if (!Ended(pp)) return;
  pp->iSpeed = 0;
  pp->height = 0;
  if (pp->ID == 0 || pp->ID == 11) {
    move_RequestPlay(pp, ANIM_GOALIE_STANCE);
    for (std::uint8_t& b : pp->abMoveEvents) b = 0;
  } else {
    move_RequestPlay(pp, ANIM_STAND);
  }
  State(pp, MOVE_STATE_STAND);
}

static void StateKeeperIdle(Player* pp) {
  AnimData* pad = &pp->oAnimData;
  if (Playing(pp) == ANIM_GOALIE_STANCE && Requested(pp) == ANIM_GOALIE_STANCE && pad->uTicks >= 20) {
    anim_RequestSet(&pp->oAnimInfo, 72 + QMathRandRange(2));
    move_Play(pp, Requested(pp));
    anim_TargetPointSet(&pp->oAnimInfo, pp->x, pp->y);
  } else if ((Playing(pp) == 72 || Playing(pp) == 73 || Playing(pp) == 74) && Ended(pp)) {
    move_RequestPlay(pp, ANIM_GOALIE_STANCE);
    anim_TargetPointSet(&pp->oAnimInfo, pp->x, pp->y);
  }
}

static void StateOnGround(Player* pp) {
  RequestIsPlaying(pp);
  FacingsToWanted(pp);
  pp->iSpeed = 0;
  pp->iWantedSpeed = 0;
  if (!Ended(pp)) return;
  pp->height = 0;
  if (pp->iKnocks > 100) {
    if (pp->Control == PLAYER_CONTROL_USER && pp->pUser) user_SelectPlayer(pp->pUser);
    Fall(pp, 100, MOVE_STATE_CELEBRATE_14);
  } else {
    Fall(pp, 155, MOVE_STATE_ANIM_END);
  }
}

// Set-piece gestures: the first clip holds its last frame for two seconds,
// then the same clip plays backward.
static void StateGesture(Player* pp, std::uint32_t eA, std::uint32_t eB, std::uint32_t eBackA, std::uint32_t eBackB) {
  RequestIsPlaying(pp);
  FacingsToWanted(pp);
  if (!Ended(pp)) return;
  std::uint32_t e = Playing(pp);
  if (e == eA || e == eB) {
    if (pp->oAnimData.uTicks >= 60) move_RequestPlay(pp, e == eA ? eBackA : eBackB);
  } else {
    move_RequestPlay(pp, ANIM_STAND);
    State(pp, MOVE_STATE_STOP);
  }
}
static void StateSetPieceA(Player* pp) { StateGesture(pp, 138, 139, 140, 141); }
static void StateSetPieceB(Player* pp) { StateGesture(pp, 121, 122, 119, 120); }

static void StateCelebrate14(Player* pp) {
  RequestIsPlaying(pp);
  FacingsToWanted(pp);
  if (!Ended(pp)) return;
  pp->iFacing = static_cast<std::int16_t>(move_FacingWrap(pp->iFacing + 445));
  pp->iDisplayFacing = pp->iFacing;
  pp->uWantedFacing = static_cast<std::uint16_t>(pp->iFacing);
  move_RequestPlay(pp, 67);
  State(pp, MOVE_STATE_STOP);
}

static void StateInvalid(Player* pp) {
  (void)pp;
  QDX_ASSERT(!"MOVE_STATE_INVALID");
}

static void StateRunAnim(Player* pp) {
  pp->iTurnStep = 0;
  if (Ended(pp)) {
    move_RequestPlay(pp, pp->oAnimData.ePrevAnim);
    State(pp, MOVE_STATE_RUN);
  }
  move_Along(pp, pp->iFacing, pp->iSpeed);
}

static void State20(Player* pp) {
  pp->iTurnStep = 0;
  if (Ended(pp)) {
    move_RequestPlay(pp, 152);
    State(pp, MOVE_STATE_RUN);
  }
  move_Along(pp, static_cast<std::int32_t>(pp->oAnimInfo.uHeading), 3);
}

static void ScriptDone(Player* pp, bool bRun) {
  anim_InUseFlagSet(&pp->oAnimData);
  if (bRun) spscript_Run();
}

static void StateScript(Player* pp) {
  RequestIsPlaying(pp);
  pp->iWantedSpeed = 0;
  if (pp->iSpeed > 0) {
    std::int32_t s = pp->iSpeed - 8;
    pp->iSpeed = static_cast<std::int16_t>(s < 0 ? 0 : s);
    if (pp->iSpeed == 0) for (std::uint8_t& b : pp->abMoveEvents) b = 0;
  }
  move_Steer(pp, pp->iFacing, 7);
  AnimData* pad = &pp->oAnimData;
  bool bEnded = Ended(pp);
  switch (Playing(pp)) {
    case 33: case 119:
      if (bEnded) move_RequestPlay(pp, ANIM_STAND);
      break;
    case 35: if (bEnded) move_RequestPlay(pp, 36); break;
    case 36: if (bEnded) move_RequestPlay(pp, 100); break;
    case 100: if (bEnded) move_RequestPlay(pp, 101); break;
    case 101:
      if (bEnded) {
        pp->iFacing = static_cast<std::int16_t>(move_FacingWrap(pp->iFacing + 401));
        pp->iDisplayFacing = pp->iFacing;
        pp->uWantedFacing = static_cast<std::uint16_t>(pp->iFacing);
        move_RequestPlay(pp, 67);
      }
      break;
    case 121: if (bEnded) move_RequestPlay(pp, 119); break;
    case 123: if (bEnded) move_RequestPlay(pp, 125); break;
    case 125:
      if (pad->uTicks == 15) {
        ScriptDone(pp, true);
        move_RequestPlay(pp, 124);
      }
      break;
    case 124: if (bEnded) ScriptDone(pp, true); break;
    case 179:
      anim_CardMarkerDraw(pp);
      if (bEnded) {
        referee_SecondBookingClear();
        ScriptDone(pp, true);
        move_RequestPlay(pp, ANIM_STAND);
      }
      break;
    default:
      if (bEnded) {
        move_Play(pp, ANIM_STAND);
        ScriptDone(pp, pp->PrevMoveState != MOVE_STATE_BALL_TAKE);
      }
      break;
  }
}

const MoveStateFn move_apfnStates[MOVE_STATE_MAX] = {
    StateRun,        StateStand,      StateAnimStart,   StateAnimStartTurn, StateAnimPlay,  StateAnimWait,
    move_StateTackle, StateBallTake,  StateStop,        StateSlowDown,      StateTurnAbout, State11,
    StateAnimEnd,    StateKeeperIdle, StateOnGround,    StateSetPieceA,     StateSetPieceB, StateCelebrate14,
    StateInvalid,    StateRunAnim,    State20,          StateScript,
};

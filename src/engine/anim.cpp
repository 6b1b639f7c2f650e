// The animation state of a player: switching clips, stepping the frame
// position, the flags and queries the movement and AI code read, the request
// record, and the world points of the skeleton root and the ball.
#include "engine/anim.h"

#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/newgoal.h"
#include "engine/newgoalo.h"
#include "engine/player.h"
#include "framework/math/qmath.h"
#include "framework/qdx_assert.h"
#include "scene3d/scene3d_services.h"
#include "shell/global.h"
#include "shell/user.h"

AnimRecord anim_aTable[ANIM_MAX];

const AnimRecord* anim_RecordGet(std::uint32_t eAnim) {
  QDX_ASSERT(eAnim < ANIM_MAX);
  const AnimRecord* pr = &anim_aTable[eAnim];
  QDX_ASSERT(pr->id == eAnim && eAnim != ANIM_UNDEFINED);
  return pr;
}

std::int32_t anim_FrameGet(const AnimData* pad) { return pad->uPos >> 6; }

// Starts a clip. The frame position comes from the old clip's follow-on frame
// when the old clip names the new one as its follow-on (never into 146).
static void AnimStart(AnimData* pad, std::uint32_t eNew, std::int32_t iStartFrame, bool bExplicit) {
  const AnimRecord* pr = anim_RecordGet(eNew);
  std::uint32_t eOld = pad->eActionAnim < ANIM_MAX ? pad->eActionAnim : ANIM_UNDEFINED;
  const AnimRecord* po = &anim_aTable[eOld];
  if (po->followId != ANIM_NONE && po->followId == eNew && eNew != 146) {
    pad->uPos = static_cast<std::uint16_t>(po->followFrame << 6);
    pad->uStart = bExplicit ? 0 : po->start;
  } else if (bExplicit) {
    pad->uPos = static_cast<std::uint16_t>(iStartFrame << 6);
    pad->uStart = 0;
  } else {
    pad->uPos = static_cast<std::uint16_t>(pr->start << 6);
    pad->uStart = pr->start;
  }
  pad->uFlags = bExplicit ? 0 : (pad->uFlags & ANIM_FLAG_IN_USE);
  pad->pfPose = pr->pfPose;
  pad->uEnd = pr->end;
  pad->pfnStep = pr->pfnStep;
  pad->bMirror = static_cast<std::uint8_t>(pr->mirror);
  pad->bLookAtBall = static_cast<std::uint8_t>(pr->lookAtBall);
  pad->uSpeed = ANIM_POS_SPEED;
  pad->uTicks = 0;
  pad->ePrevAnim = pad->eActionAnim;
  pad->eActionAnim = eNew;
}

void anim_ActionAnimSet(AnimData* pad, std::uint32_t eActionAnim) {
  QDX_ASSERT((int)eActionAnim != 0);
  anim_RecordGet(eActionAnim);
  if (pad->eActionAnim == eActionAnim) return;
  AnimStart(pad, eActionAnim, 0, false);
}

void anim_ActionAnimSetAt(AnimData* pad, std::uint32_t eActionAnim, std::int32_t iStartFrame) {
  QDX_ASSERT(eActionAnim != ANIM_UNDEFINED);
  QDX_ASSERT(eActionAnim != ANIM_NONE);
  QDX_ASSERT(iStartFrame >= 0);
  anim_RecordGet(eActionAnim);
  if (pad->eActionAnim == eActionAnim) return;
  AnimStart(pad, eActionAnim, iStartFrame, true);
}

void anim_Reset(AnimData* pad) {
  const AnimRecord* pr = anim_RecordGet(ANIM_STAND);
  *pad = AnimData{};
  pad->pfPose = pr->pfPose;
  pad->eActionAnim = ANIM_STAND;
  pad->ePrevAnim = ANIM_STAND;
  pad->uPos = static_cast<std::uint16_t>(pr->start << 6);
  pad->uSpeed = ANIM_POS_SPEED;
  pad->uStart = pr->start;
  pad->uEnd = pr->end;
  pad->pfnStep = pr->pfnStep;
  pad->bMirror = static_cast<std::uint8_t>(pr->mirror);
  pad->bLookAtBall = static_cast<std::uint8_t>(pr->lookAtBall);
}

void anim_Advance(Player* pp, AnimData* pad) {
  pad->uTicks++;
  if (pad->pfnStep) pad->pfnStep(pp, pad);
}

std::int32_t anim_IsEnded(const AnimData* pad) { return (pad->uFlags & ANIM_FLAG_ENDED) != 0; }
void anim_EndFlagSet(AnimData* pad) { pad->uFlags |= ANIM_FLAG_ENDED; }
std::int32_t anim_IsAtTarget(const AnimData* pad) { return (pad->uFlags & ANIM_FLAG_AT_TARGET) != 0; }
void anim_InUseFlagSet(AnimData* pad) { pad->uFlags |= ANIM_FLAG_IN_USE; }
void anim_InUseFlagClear(AnimData* pad) { pad->uFlags &= static_cast<std::uint8_t>(~ANIM_FLAG_IN_USE); }
std::int32_t anim_IsInUseFlag(const AnimData* pad) { return (pad->uFlags & ANIM_FLAG_IN_USE) != 0; }

std::int32_t anim_IsAtTick(const AnimData* pad, std::uint32_t eAnim, std::int32_t n) {
  return pad->eActionAnim == eAnim && pad->uTicks >= n;
}
std::int32_t anim_IsFrameReached(const AnimData* pad, std::int32_t n) { return anim_FrameGet(pad) >= n; }
std::int32_t anim_IsBeforeRelease(const AnimData* pad) {
  return anim_FrameGet(pad) < anim_ReleaseFrameGet(pad->eActionAnim);
}
std::int32_t anim_IsAtReleaseFrame(const AnimData* pad) {
  return anim_FrameGet(pad) == anim_ReleaseFrameGet(pad->eActionAnim);
}
std::int32_t anim_ReleaseFrameGet(std::uint32_t eAnim) { return anim_RecordGet(eAnim)->contact; }
std::int32_t anim_IsKick(std::uint32_t eAnim) { return anim_RecordGet(eAnim)->type == ANIM_TYPE_KICK; }
std::int32_t anim_IsGoalie(std::uint32_t eAnim) { return anim_RecordGet(eAnim)->type == ANIM_TYPE_GOALIE; }
std::int32_t anim_IsType3(std::uint32_t eAnim) { return anim_RecordGet(eAnim)->type == ANIM_TYPE_3; }
std::int32_t anim_IsType4(std::uint32_t eAnim) { return anim_RecordGet(eAnim)->type == ANIM_TYPE_4; }
std::int32_t anim_IsStepForwardMove(const AnimData* pad) { return pad->pfnStep == anim_StepForwardMove; }

std::int32_t anim_IsInPlace(std::uint32_t eAnim) {
  switch (eAnim) {
    case 6: case 9: case 23: case 58: case 66: case 71: case 72: case 73: case 74:
    case 88: case 89: case 90: case 91: case 92: case 93: case 94: case 95: case 96: case 97: case 98: case 99:
    case 109: case 110: case 112: case 113: case 114: case 130: case 131: case 133: case 149: case 152:
    case 153: case 156: case 157: case 158: case 159: case 163: case 164: case 165:
      return 1;
    default:
      return 0;
  }
}

void anim_HeadingSet(AnimInfo* pai, std::uint32_t uHeading) { pai->uHeading = uHeading; }
std::uint32_t anim_HeadingGet(const AnimInfo* pai) { return pai->uHeading; }
void anim_TargetPointSet(AnimInfo* pai, std::int32_t x, std::int32_t y) {
  pai->iTargetX = x < -10800 ? -10800 : (x > 10800 ? 10800 : x);
  pai->iTargetY = y < -7200 ? -7200 : (y > 7200 ? 7200 : y);
}
const std::int32_t* anim_TargetPtrGet(const AnimInfo* pai) { return &pai->iTargetX; }
void anim_RequestSet(AnimInfo* pai, std::uint32_t eAnim) {
  QDX_ASSERT(eAnim != ANIM_NONE);
  pai->eActionAnim = eAnim;
}
std::uint32_t anim_RequestGet(const AnimInfo* pai) { return pai->eActionAnim; }

void anim_CallbackSet(AnimData* pad, AnimContactFn pfn) { pad->pfnContact = pfn; }

// ---- Stepping callbacks ---------------------------------------------------------------

void anim_StepLoop(Player*, AnimData* pad) {
  if (pad->uEnd >= pad->uStart) {
    pad->uPos = static_cast<std::uint16_t>(pad->uPos + pad->uSpeed);
    if (anim_FrameGet(pad) >= pad->uEnd) {
      pad->uPos = static_cast<std::uint16_t>(pad->uStart * pad->uSpeed);
      pad->uFlags |= ANIM_FLAG_ENDED;
    }
  } else {
    pad->uPos = static_cast<std::uint16_t>(pad->uPos - pad->uSpeed);
    if (anim_FrameGet(pad) <= pad->uEnd) {
      pad->uPos = static_cast<std::uint16_t>(pad->uStart * pad->uSpeed);
      pad->uFlags |= ANIM_FLAG_ENDED;
    }
  }
}

// Holds the clip one frame short of its end. With bMove the player is put on
// the root point of the held frame the first time it is reached, so the root
// motion of the clip carries over into his position once.
static void StepHoldCommon(Player* pp, AnimData* pad, bool bMove, bool bBackward) {
  if (pad->uEnd >= pad->uStart) {
    pad->uPos = static_cast<std::uint16_t>(pad->uPos + pad->uSpeed);
    if (anim_FrameGet(pad) >= pad->uEnd) {
      pad->uPos = static_cast<std::uint16_t>((pad->uEnd - 1) << 6);
      if (bMove && pp && !(pad->uFlags & ANIM_FLAG_ENDED)) {
        std::int32_t x, h, y;
        anim_FramePointGet(pp, &x, &h, &y);
        pp->x = static_cast<std::int16_t>(x);
        pp->y = static_cast<std::int16_t>(y);
      }
      pad->uFlags |= ANIM_FLAG_ENDED;
    }
  } else if (bBackward) {
    pad->uPos = static_cast<std::uint16_t>(pad->uPos - pad->uSpeed);
    if (anim_FrameGet(pad) <= pad->uEnd) {
      pad->uPos = static_cast<std::uint16_t>((pad->uEnd + 1) << 6);
      pad->uFlags |= ANIM_FLAG_ENDED;
    }
  }
}

void anim_StepHoldMove(Player* pp, AnimData* pad) { StepHoldCommon(pp, pad, true, true); }
void anim_StepHold(Player* pp, AnimData* pad) { StepHoldCommon(pp, pad, false, true); }
void anim_StepForwardMove(Player* pp, AnimData* pad) { StepHoldCommon(pp, pad, true, false); }
void anim_StepForwardMoveAlt(Player* pp, AnimData* pad) { StepHoldCommon(pp, pad, true, false); }

void anim_StepForwardHold(Player*, AnimData* pad) {
  if (pad->uEnd < pad->uStart) return;
  pad->uPos = static_cast<std::uint16_t>(pad->uPos + pad->uSpeed);
  if (anim_FrameGet(pad) >= pad->uEnd) {
    pad->uPos = static_cast<std::uint16_t>((pad->uEnd - 1) << 6);
    pad->uFlags |= ANIM_FLAG_ENDED;
  }
}

void anim_StepContact(Player* pp, AnimData* pad) {
  if (pad->pfnContact && anim_FrameGet(pad) == anim_aTable[pad->eActionAnim].contact) {
    AnimContactFn pfn = pad->pfnContact;
    if (ball_oBall.poOwner == pp || pp->oSetPiece.iPosState == 4) {
      pfn(pp);
      touch_StateForce(pp, 10);
      if (pfn == target_DoTapHeader) {
        chaser_ReactionDelaysShortSet();
      } else {
        chaser_ReactionDelaysSet();
      }
      setp_CommandSet(1);
    }
    pad->pfnContact = nullptr;
    pp->oSetPiece.iPosState = 0;
  }
  anim_StepHoldMove(pp, pad);
}

// ---- Geometry -----------------------------------------------------------------------------

std::int32_t anim_FacingToAngle16(std::int32_t iFacing) {
  std::int32_t iDegrees = iFacing * 180 / 401;
  return -(iDegrees * 182);
}

// Turns a clip-space point {forward, height, lateral} (pitch units) into a
// pitch offset {x, height, y} for a 16-bit angle.
static void Rotate(std::int32_t iAngle16, const std::int32_t aiIn[3], std::int32_t aiOut[3]) {
  std::int64_t c = QMathCos(iAngle16);
  std::int64_t s = QMathSin(iAngle16);
  aiOut[0] = static_cast<std::int32_t>((aiIn[0] * c + aiIn[2] * s) / 65536);
  aiOut[1] = aiIn[1];
  aiOut[2] = static_cast<std::int32_t>((aiIn[2] * c - aiIn[0] * s) / 65536);
}

static std::int32_t Units(float f) { return static_cast<std::int32_t>(f * ANIM_METRES_TO_UNITS); }

static std::int32_t ClipFrame(const AnimRecord* pr, std::int32_t iFrame) {
  if (iFrame < 0) iFrame = 0;
  if (pr->cFrames > 0 && iFrame >= pr->cFrames) iFrame = pr->cFrames - 1;
  return iFrame;
}

// Clip-space root and ball of a frame, scaled to units, lateral mirrored.
static void RootLocal(const AnimRecord* pr, std::int32_t iFrame, std::int32_t bMirror, std::int32_t aiOut[3]) {
  aiOut[0] = aiOut[1] = aiOut[2] = 0;
  if (!pr->pfPose) return;
  const float* pf = pr->pfPose + static_cast<std::size_t>(ClipFrame(pr, iFrame)) * ANIM_POSE_FLOATS;
  aiOut[0] = Units(pf[0]);
  aiOut[1] = Units(pf[1]);
  aiOut[2] = Units(pf[2]);
  if (bMirror) aiOut[2] = -aiOut[2];
}
static bool BallLocal(const AnimRecord* pr, std::int32_t iFrame, std::int32_t bMirror, std::int32_t aiOut[3]) {
  if (!pr->pfTrack) return false;
  std::int32_t aiRoot[3];
  RootLocal(pr, iFrame, bMirror, aiRoot);
  const float* pf = pr->pfTrack + static_cast<std::size_t>(ClipFrame(pr, iFrame)) * ANIM_TRACK_FLOATS;
  std::int32_t aiTrack[3] = {Units(pf[0]), Units(pf[1]), Units(pf[2])};
  if (bMirror) aiTrack[2] = -aiTrack[2];
  for (int i = 0; i < 3; i++) aiOut[i] = aiRoot[i] + aiTrack[i];
  return true;
}

void anim_FramePointGet(const Player* pp, std::int32_t* px, std::int32_t* ph, std::int32_t* py) {
  const AnimData* pad = &pp->oAnimData;
  const AnimRecord* pr = &anim_aTable[pad->eActionAnim < ANIM_MAX ? pad->eActionAnim : 0];
  std::int32_t aiLocal[3], aiWorld[3];
  RootLocal(pr, anim_FrameGet(pad), pad->bMirror, aiLocal);
  Rotate(anim_FacingToAngle16(pp->iDisplayFacing), aiLocal, aiWorld);
  *px = pp->x + aiWorld[0];
  *ph = pp->height + aiWorld[1];
  *py = pp->y + aiWorld[2];
}

std::int32_t anim_BallPointGet(const Player* pp, std::int32_t* px, std::int32_t* ph, std::int32_t* py) {
  const AnimData* pad = &pp->oAnimData;
  const AnimRecord* pr = &anim_aTable[pad->eActionAnim < ANIM_MAX ? pad->eActionAnim : 0];
  std::int32_t aiLocal[3], aiWorld[3];
  if (!BallLocal(pr, anim_FrameGet(pad), pad->bMirror, aiLocal)) return 0;
  Rotate(anim_FacingToAngle16(pp->iDisplayFacing), aiLocal, aiWorld);
  *px = pp->x + aiWorld[0];
  *ph = pp->height + aiWorld[1];
  *py = pp->y + aiWorld[2];
  return 1;
}

std::int32_t anim_BallPointAt(std::int32_t iHeading, std::uint32_t eAnim, std::int32_t aiOut[3], std::int32_t iFrame) {
  const AnimRecord* pr = anim_RecordGet(eAnim);
  std::int32_t aiLocal[3];
  if (!BallLocal(pr, iFrame, pr->mirror, aiLocal)) return 0;
  Rotate(anim_FacingToAngle16(iHeading), aiLocal, aiOut);
  return 1;
}

std::int32_t anim_ContactBallOffsetGet(std::int32_t iHeading, std::uint32_t eAnim, std::int32_t aiOut[3]) {
  const AnimRecord* pr = anim_RecordGet(eAnim);
  if (pr->contact < 0) return 0;
  return anim_BallPointAt(iHeading, eAnim, aiOut, pr->contact);
}

// ---- The ball on its holder ------------------------------------------------------------------

// A keeper with the ball in his hands stops at his own goal line: where his
// hands or feet (a catch's or a dive's travel, a turn, an idle step, the
// keeper's ball) would take over it a ball that lay inside it on the tick
// before, he and the ball stay 1 unit inside the referee's line. A ball that
// was already over stays where it is for the referee to judge. Only live
// play: a replay shows what was played.
//
// The ball is in his hands while his own machine has it (a save, a catch, a
// smother and the recovery from it, the hold before the keeper's ball) and
// throughout the keeper's ball. Any other ball he owns is at his feet, taken
// as any player takes it (a back pass, a loose ball): a person who walks him
// over his line with it carries it over as he would any outfield player, for
// the referee to judge (between the posts a goal, outside them a corner).
// The computer's keeper is held at his line with it either way.
bool anim_bBallInKeepersHands(const Player* pp) {
  if (global_eGetGameMode() == GAME_MODE_KEEPER_HANDS) return true;
  switch (newgoal_StateGet(pp)) {
    case GOALIE_STATE_SAVE_MOVE:
    case GOALIE_STATE_SAVE_END:
    case GOALIE_STATE_RECOVER:
    case GOALIE_STATE_CATCH:
    case GOALIE_STATE_SMOTHER:
    case GOALIE_STATE_HOLD: return true;
    default: return false;
  }
}
static void KeeperLineHold(Player* pp, const Ball* pb, std::int32_t* px) {
  const GameMode e = global_eGetGameMode();
  if (e != GAME_MODE_PLAY && e != GAME_MODE_PLAY_ON && e != GAME_MODE_KEEPER_HANDS) return;
  if (!player_IsGoalkeeper(pp)) return;
  // At his feet the ball goes where the person's stick walks him (from the
  // magnitude that steers him on); in his hands the stick only aims.
  if (!anim_bBallInKeepersHands(pp) && pp->Control == PLAYER_CONTROL_USER && pp->pUser &&
      static_cast<std::int32_t>(pp->pUser->uStickDirection & 0xFFFF) >= USER_STICK_STEER_MIN)
    return;
  const std::int32_t iOwn = pp->Direction == 1 ? -1 : 1;  // the side of the goal he defends
  if (iOwn * ball_XGet(pb) >= BALL_OUT_GOAL_X || iOwn * *px < BALL_OUT_GOAL_X) return;
  const std::int32_t iBack = *px - iOwn * (BALL_OUT_GOAL_X - 1);
  pp->x = static_cast<std::int16_t>(pp->x - iBack);
  *px -= iBack;
}

void anim_BallAtHolderPlace() {
  Ball* pb = &ball_oBall;
  Player* pp = pb->poOwner;
  if (!pp) return;
  pb->iLaunchX = ball_XGet(pb);
  pb->iLaunchHeight = ball_HeightGet(pb);
  pb->iLaunchY = ball_YGet(pb);
  const AnimData* pad = &pp->oAnimData;
  const AnimRecord* pr = &anim_aTable[pad->eActionAnim < ANIM_MAX ? pad->eActionAnim : 0];
  bool bLeave = pr->type == ANIM_TYPE_CARRY && anim_FrameGet(pad) < pr->contact;
  if (!bLeave) {
    std::int32_t x, h, y;
    if (anim_BallPointGet(pp, &x, &h, &y)) {
      h -= ANIM_HOLDER_BALL_DROP;
    } else {
      // Clips without a ball track (idles, lunges, challenges): the ball
      // lies at the feet ahead of the body.
      std::int32_t rx, rh, ry;
      anim_FramePointGet(pp, &rx, &rh, &ry);
      std::int32_t aiAhead[3] = {48, 0, 0}, aiWorld[3];
      Rotate(anim_FacingToAngle16(pp->iDisplayFacing), aiAhead, aiWorld);
      x = rx + aiWorld[0];
      y = ry + aiWorld[2];
      h = ANIM_HOLDER_BALL_DROP;
    }
    KeeperLineHold(pp, pb, &x);
    pb->iX128 = x * 128;
    pb->iHeight128 = h * 128;
    pb->iY128 = y * 128;
    pb->iPrevX128 = pb->iX128;
    pb->iPrevY128 = pb->iY128;
    pb->iTargetX = x;
    pb->iTargetHeight = h;
    pb->iTargetY = y;
  }
  ball_SpinAxisFromHolderSet(pp);
}

void anim_CardMarkerDraw(Player* pp) {
  const AnimData* pad = &pp->oAnimData;
  const AnimRecord* pr = &anim_aTable[pad->eActionAnim < ANIM_MAX ? pad->eActionAnim : 0];
  if (!pr->pfTrack || pr->contact < 0) return;
  std::int32_t iFrame = anim_FrameGet(pad);
  if (iFrame < pr->contact) return;
  std::int32_t x, h, y;
  if (!anim_BallPointGet(pp, &x, &h, &y)) return;
  const std::int32_t aaiCorner[4][3] = {
      {x - 8, h + 8, y}, {x + 8, h + 8, y}, {x + 8, h - 12, y}, {x - 8, h - 12, y}};
  std::int32_t iValue;
  if (referee_bSecondBookingGet()) {
    iValue = iFrame >= pr->contact + 15 ? 1 : 0;
  } else {
    iValue = referee_bCardFlagGet() ? 0 : 1;
  }
  pcframe_AddQuadMarker(aaiCorner, iValue);
}

// ---- Ball samples -------------------------------------------------------------------------------

void ballsample_Take(BallSample* pbs, std::int32_t iValue) {
  pbs->iValue = iValue;
  pbs->x = ball_XGet(&ball_oBall);
  pbs->height = ball_HeightGet(&ball_oBall);
  pbs->y = ball_YGet(&ball_oBall);
  pbs->iFlag = 0;
}
std::int32_t ballsample_ValueGet(const BallSample* pbs) { return pbs->iValue; }
const std::int32_t* ballsample_PointGet(const BallSample* pbs) { return &pbs->x; }
std::int32_t ballsample_XGet(const BallSample* pbs) { return pbs->x; }
std::int32_t ballsample_HeightGet(const BallSample* pbs) { return pbs->height; }
std::int32_t ballsample_YGet(const BallSample* pbs) { return pbs->y; }
std::int32_t ballsample_FlagGet(const BallSample* pbs) { return pbs->iFlag; }
void ballsample_FlagSet(BallSample* pbs) { pbs->iFlag = 1; }
std::int32_t ballsample_AgeGet(const BallSample* pbs) { return pbs->iValue - ball_PathValidMarkGet(); }

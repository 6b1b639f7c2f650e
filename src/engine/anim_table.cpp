// Fills the animation table at match start from the generated rows: row 0
// cleared, row 1 with only its dispatcher, and one row per filled id with
// its codes mapped to the stepping callbacks, hooks and dispatchers.
#include "engine/anim.h"
#include "engine/anim_pose.h"
#include "engine/player.h"
#include "engine/move.h"
#include "framework/qdx_assert.h"

static AnimStepFn StepFor(AnimStepCode c) {
  switch (c) {
    case ANIM_STEP_LOOP: return anim_StepLoop;
    case ANIM_STEP_HOLD_MOVE: return anim_StepHoldMove;
    case ANIM_STEP_HOLD: return anim_StepHold;
    case ANIM_STEP_CONTACT: return anim_StepContact;
    case ANIM_STEP_FORWARD_MOVE: return anim_StepForwardMove;
    case ANIM_STEP_FORWARD_MOVE_ALT: return anim_StepForwardMoveAlt;
    case ANIM_STEP_FORWARD_HOLD: return anim_StepForwardHold;
    default: return nullptr;
  }
}

static AnimHookFn HookFor(AnimHookCode c) {
  switch (c) {
    case ANIM_HOOK_PLAY: return move_HookPlay;
    case ANIM_HOOK_TAKE: return move_HookTake;
    case ANIM_HOOK_RUN: return move_HookRun;
    case ANIM_HOOK_TACKLE: return move_HookTackle;
    case ANIM_HOOK_CELEBRATE: return move_HookCelebrate;
    case ANIM_HOOK_RUN_ANIM: return move_HookRunAnim;
    case ANIM_HOOK_STOP: return move_HookStop;
    default: return nullptr;
  }
}

static AnimDispatchFn DispatchFor(AnimDispatchCode c) {
  switch (c) {
    case ANIM_DISPATCH_EVENT: return move_EventDispatch;
    case ANIM_DISPATCH_NOW: return move_EventDispatchNow;
    case ANIM_DISPATCH_RUN: return move_EventDispatchRun;
    case ANIM_DISPATCH_CELEBRATE: return move_EventDispatchCelebrate;
    case ANIM_DISPATCH_FALL: return move_EventDispatchFall;
    default: return nullptr;
  }
}

void anim_TableInit() {
  for (AnimRecord& r : anim_aTable) r = AnimRecord{};
  anim_aTable[ANIM_UNDEFINED].followId = ANIM_NONE;
  anim_aTable[ANIM_UNDEFINED].followFrame = 255;
  anim_aTable[ANIM_UNDEFINED].contact = -1;
  anim_aTable[ANIM_NONE].pfnDispatch = move_EventDispatchNow;
  for (const AnimGenRow& g : anim_aGenRows) {
    QDX_ASSERT(g.id > ANIM_NONE && g.id < ANIM_MAX);
    AnimRecord& r = anim_aTable[g.id];
    r.id = g.id;
    r.type = g.type;
    r.pfPose = g.pfPose;
    r.pfTrack = g.pfTrack;
    r.start = g.start;
    r.end = g.end;
    r.followFrame = g.followFrame;
    r.contact = g.contact == 255 ? -1 : static_cast<std::int8_t>(g.contact);
    // A contact frame the clip never shows (past its end) is no contact.
    std::int32_t iLast = g.end >= g.start ? g.end : g.start;
    if (r.contact >= iLast) r.contact = -1;
    r.followId = g.followId;
    r.mirror = g.mirror;
    r.lookAtBall = g.lookAtBall;
    r.pfnStep = StepFor(g.step);
    r.pfnHook = HookFor(g.hook);
    r.pfnDispatch = DispatchFor(g.dispatch);
    r.moveClass = g.moveClass;
    r.cFrames = g.cFrames;
  }
}

// The skeleton of the playing frame in the world: mirrored as the clip is,
// turned by the display facing, placed at the player.
void anim_JointsGet(const Player* pp, std::int32_t aiOut[ANIM_SEGMENTS][3]) {
  const AnimData* pad = &pp->oAnimData;
  const AnimRecord* pr = anim_RecordGet(pad->eActionAnim);
  std::int32_t iFrame = anim_FrameGet(pad);
  if (pr->cFrames > 0 && iFrame >= pr->cFrames) iFrame = pr->cFrames - 1;
  const float* pfFrame = pr->pfPose + static_cast<std::size_t>(iFrame) * ANIM_POSE_FLOATS;
  std::uint16_t uAngle16 = static_cast<std::uint16_t>(anim_FacingToAngle16(pp->iDisplayFacing));
  animpose_JointsWorld(pfFrame, pad->bMirror, uAngle16, pp->x, pp->height, pp->y, aiOut);
}

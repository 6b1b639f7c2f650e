#pragma once
// The animation data compiled into the program: one generated row per filled
// animation id, with its pose frames and ball track, and the skeleton the
// poses are built on. tools/anim/animgen writes the definitions from
// assets/anim/ into <build>/generated/engine/anim_data*.cpp; anim_TableInit
// copies the rows into anim_aTable and maps the codes below to the stepping
// callbacks, per-tick hooks and event dispatchers.
#include <cstdint>

// Stepping callback of a row.
enum AnimStepCode : std::uint8_t {
  ANIM_STEP_NONE = 0,
  ANIM_STEP_LOOP,               // anim_StepLoop
  ANIM_STEP_HOLD_MOVE,          // anim_StepHoldMove
  ANIM_STEP_HOLD,               // anim_StepHold
  ANIM_STEP_CONTACT,            // anim_StepContact
  ANIM_STEP_FORWARD_MOVE,       // anim_StepForwardMove
  ANIM_STEP_FORWARD_MOVE_ALT,   // anim_StepForwardMoveAlt
  ANIM_STEP_FORWARD_HOLD,       // anim_StepForwardHold
};

// Move event the per-tick hook raises.
enum AnimHookCode : std::uint8_t {
  ANIM_HOOK_NONE = 0,
  ANIM_HOOK_PLAY,
  ANIM_HOOK_TAKE,
  ANIM_HOOK_RUN,
  ANIM_HOOK_TACKLE,
  ANIM_HOOK_CELEBRATE,
  ANIM_HOOK_RUN_ANIM,
  ANIM_HOOK_STOP,
};

// Event dispatcher of a row.
enum AnimDispatchCode : std::uint8_t {
  ANIM_DISPATCH_NONE = 0,
  ANIM_DISPATCH_EVENT,          // move_EventDispatch
  ANIM_DISPATCH_NOW,            // move_EventDispatchNow
  ANIM_DISPATCH_RUN,            // move_EventDispatchRun
  ANIM_DISPATCH_CELEBRATE,      // move_EventDispatchCelebrate
  ANIM_DISPATCH_FALL,           // move_EventDispatchFall
};

constexpr int ANIM_SEGMENTS = 17;
constexpr int ANIM_POSE_FLOATS = ANIM_SEGMENTS * 7;  // 119: origin xyz + quaternion xyzw a segment
constexpr int ANIM_TRACK_FLOATS = 3;                  // ball x, height, lateral from the root
constexpr float ANIM_METRES_TO_UNITS = 157.4784f;

// One generated row. Pose frames are 119 floats each: for every segment its
// origin in the parent's space (metres; segment 0's origin places the body
// relative to the player's origin as x, height, lateral) and its rotation
// relative to the parent as a unit quaternion x, y, z, w. The ball track
// gives 3 floats a frame, or is null. Mirrored and backward ids share their
// twin's frames.
struct AnimGenRow {
  std::uint32_t id;
  std::uint32_t type;             // ANIM_TYPE_*
  const float* pfPose;            // cFrames x 119 floats
  const float* pfTrack;           // cFrames x 3 floats, or null
  std::uint16_t cFrames;          // frames stored (at least max(start, end) + 1)
  std::uint8_t start;
  std::uint8_t end;
  std::uint8_t followFrame;       // 255 none
  std::uint8_t contact;           // 255 none
  std::uint32_t followId;         // 1 (ANIM_NONE) none
  std::uint16_t mirror;
  std::uint16_t lookAtBall;
  AnimStepCode step;
  AnimHookCode hook;
  AnimDispatchCode dispatch;
  std::uint32_t moveClass;
};

constexpr int ANIM_GEN_ROWS = 162;
extern const AnimGenRow anim_aGenRows[ANIM_GEN_ROWS];  // ascending ids

// The skeleton: parents by the walk order (pushes before 1, 3, 6, 11; pops
// after 5, 8, 10, 13), rest origins in the parent's space (metres).
struct AnimSkeletonSegment {
  std::int8_t parent;             // -1 for the root
  std::int8_t push;               // save the matrix before this segment
  std::int8_t pop;                // restore it after this segment
  float restOrigin[3];
};
extern const AnimSkeletonSegment anim_aSkeleton[ANIM_SEGMENTS];

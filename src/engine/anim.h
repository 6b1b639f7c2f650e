#pragma once
// The animation table and the animation state of a player: which clip he
// plays and where in it, what the AI or the user asks him to play, the
// stepping callbacks that advance the clip, and the world points of the
// skeleton root and the ball in the current frame.
#include <cstdint>

#include "engine/anim_data.h"

struct Player;
struct AnimData;

constexpr std::uint32_t ANIM_MAX = 184;
constexpr std::uint32_t ANIM_UNDEFINED = 0;
constexpr std::uint32_t ANIM_NONE = 1;
constexpr std::uint32_t ANIM_GOALIE_STANCE = 58;
constexpr std::uint32_t ANIM_GOALIE_PLACEKIK = 77;
constexpr std::uint32_t ANIM_WALK = 102;
constexpr std::uint32_t ANIM_RUN = 127;
constexpr std::uint32_t ANIM_STAND = 136;
constexpr std::uint32_t ANIM_TURN = 160;
constexpr std::uint32_t ANIM_DEFENCE_IDLE = 168;
constexpr std::uint32_t ANIM_OFFENCE_IDLE = 169;
constexpr std::uint32_t ANIM_SHUFIDLE = 170;

enum : std::uint32_t {
  ANIM_TYPE_GENERAL = 0,
  ANIM_TYPE_KICK = 1,
  ANIM_TYPE_GOALIE = 2,
  ANIM_TYPE_3 = 3,   // scripted gestures
  ANIM_TYPE_4 = 4,   // falls
  ANIM_TYPE_CARRY = 5,
};

// Flags of AnimData::uFlags.
enum : std::uint8_t {
  ANIM_FLAG_ENDED = 1u << 0,
  ANIM_FLAG_AT_TARGET = 1u << 1,
  ANIM_FLAG_IN_USE = 1u << 2,  // the script's gesture-done bit, kept across clips
};

constexpr std::uint16_t ANIM_POS_SPEED = 64;  // frame position units a tick (one frame)
constexpr std::int32_t ANIM_HOLDER_BALL_DROP = 18;

using AnimStepFn = void (*)(Player*, AnimData*);
using AnimHookFn = void (*)(Player*);
using AnimDispatchFn = void (*)(Player*, std::uint32_t eRequested, AnimData*);
using AnimContactFn = void (*)(Player*);

struct AnimRecord {
  std::uint32_t id;                // equals the row index; 0 in a row that is not filled
  std::uint32_t type;              // ANIM_TYPE_*
  const float* pfPose;             // 119 floats a frame
  const float* pfTrack;            // 3 floats a frame, or null
  std::uint8_t start;
  std::uint8_t end;                // below start: played backward
  std::uint8_t followFrame;        // 255 none
  std::int8_t contact;             // -1 none
  std::uint32_t followId;          // ANIM_NONE for none
  std::uint16_t mirror;
  std::uint16_t lookAtBall;
  AnimStepFn pfnStep;
  AnimHookFn pfnHook;
  AnimDispatchFn pfnDispatch;
  std::uint32_t moveClass;
  std::uint16_t cFrames;           // frames of pose data behind pfPose
};

struct AnimData {
  const float* pfPose;             // pose data of the playing clip
  std::uint32_t eActionAnim;       // the playing clip
  std::uint32_t ePrevAnim;
  std::uint16_t uPos;              // frame position in 1/64 frame
  std::uint8_t uSpeed;             // always 64
  std::uint8_t uStart;
  std::uint8_t uEnd;
  std::uint8_t uFlags;             // ANIM_FLAG_*
  AnimStepFn pfnStep;
  std::uint16_t uTicks;            // ticks since the clip started
  std::uint8_t bMirror;
  std::uint8_t bLookAtBall;
  AnimContactFn pfnContact;        // run once at a kick's contact frame
};

struct AnimInfo {
  std::uint32_t uHeading;          // wanted heading, 802 a turn
  std::int32_t iTargetX;           // clamped to -10800..10800
  std::int32_t iTargetY;           // clamped to -7200..7200
  std::uint32_t eActionAnim;       // the requested clip
};

extern AnimRecord anim_aTable[ANIM_MAX];

void anim_TableInit();
// The row of an id; asserts that the id has one.
const AnimRecord* anim_RecordGet(std::uint32_t eAnim);

void anim_ActionAnimSet(AnimData* pad, std::uint32_t eActionAnim);
void anim_ActionAnimSetAt(AnimData* pad, std::uint32_t eActionAnim, std::int32_t iStartFrame);
void anim_Reset(AnimData* pad);
void anim_Advance(Player* pp, AnimData* pad);
std::int32_t anim_FrameGet(const AnimData* pad);

std::int32_t anim_IsEnded(const AnimData* pad);
void anim_EndFlagSet(AnimData* pad);
std::int32_t anim_IsAtTarget(const AnimData* pad);
void anim_InUseFlagSet(AnimData* pad);
void anim_InUseFlagClear(AnimData* pad);
std::int32_t anim_IsInUseFlag(const AnimData* pad);

std::int32_t anim_IsAtTick(const AnimData* pad, std::uint32_t eAnim, std::int32_t n);
std::int32_t anim_IsFrameReached(const AnimData* pad, std::int32_t n);
std::int32_t anim_IsBeforeRelease(const AnimData* pad);
std::int32_t anim_IsAtReleaseFrame(const AnimData* pad);
std::int32_t anim_ReleaseFrameGet(std::uint32_t eAnim);
std::int32_t anim_IsKick(std::uint32_t eAnim);
std::int32_t anim_IsGoalie(std::uint32_t eAnim);
std::int32_t anim_IsType3(std::uint32_t eAnim);
std::int32_t anim_IsType4(std::uint32_t eAnim);
std::int32_t anim_IsStepForwardMove(const AnimData* pad);
std::int32_t anim_IsInPlace(std::uint32_t eAnim);

void anim_HeadingSet(AnimInfo* pai, std::uint32_t uHeading);
std::uint32_t anim_HeadingGet(const AnimInfo* pai);
void anim_TargetPointSet(AnimInfo* pai, std::int32_t x, std::int32_t y);
const std::int32_t* anim_TargetPtrGet(const AnimInfo* pai);  // x, then y
void anim_RequestSet(AnimInfo* pai, std::uint32_t eAnim);
std::uint32_t anim_RequestGet(const AnimInfo* pai);

void anim_CallbackSet(AnimData* pad, AnimContactFn pfn);

// Stepping callbacks.
void anim_StepLoop(Player* pp, AnimData* pad);
void anim_StepHoldMove(Player* pp, AnimData* pad);
void anim_StepHold(Player* pp, AnimData* pad);
void anim_StepContact(Player* pp, AnimData* pad);
void anim_StepForwardMove(Player* pp, AnimData* pad);
void anim_StepForwardMoveAlt(Player* pp, AnimData* pad);
void anim_StepForwardHold(Player* pp, AnimData* pad);

// Geometry. World points use the player's display facing and position.
void anim_FramePointGet(const Player* pp, std::int32_t* px, std::int32_t* ph, std::int32_t* py);
// Returns 0 (and leaves the outputs) when the playing clip has no ball track.
std::int32_t anim_BallPointGet(const Player* pp, std::int32_t* px, std::int32_t* ph, std::int32_t* py);
// Offset {x, height, y} of the ball from the player at a frame, for a player
// facing `iHeading` (802 a turn); 0 when the clip has no ball track.
std::int32_t anim_BallPointAt(std::int32_t iHeading, std::uint32_t eAnim, std::int32_t aiOut[3], std::int32_t iFrame);
std::int32_t anim_ContactBallOffsetGet(std::int32_t iHeading, std::uint32_t eAnim, std::int32_t aiOut[3]);
// The 16-bit rotation angle of a display facing (802 a turn).
std::int32_t anim_FacingToAngle16(std::int32_t iFacing);
// World origins of the 17 skeleton segments in the player's current frame.
void anim_JointsGet(const Player* pp, std::int32_t aiOut[ANIM_SEGMENTS][3]);

// The ball on its holder: at the point of his clip, or at his feet ahead of
// him; a keeper with the ball in his hands stops at his own goal line.
void anim_BallAtHolderPlace();
// Whether a keeper who holds the ball has it in his hands (his own machine
// took it: a save, a catch, a smother, the hold, and the keeper's ball)
// rather than at his feet (taken as any player takes it).
bool anim_bBallInKeepersHands(const Player* pp);
void anim_CardMarkerDraw(Player* pp);

// Ball samples: a snapshot of the ball at a tick value.
struct BallSample {
  std::int32_t iValue;
  std::int32_t x;
  std::int32_t height;
  std::int32_t y;
  std::int32_t iFlag;
};
void ballsample_Take(BallSample* pbs, std::int32_t iValue);
std::int32_t ballsample_ValueGet(const BallSample* pbs);
const std::int32_t* ballsample_PointGet(const BallSample* pbs);  // x, height, y
std::int32_t ballsample_XGet(const BallSample* pbs);
std::int32_t ballsample_HeightGet(const BallSample* pbs);
std::int32_t ballsample_YGet(const BallSample* pbs);
std::int32_t ballsample_FlagGet(const BallSample* pbs);
void ballsample_FlagSet(BallSample* pbs);
// The sample's value minus the ball path's valid mark.
std::int32_t ballsample_AgeGet(const BallSample* pbs);

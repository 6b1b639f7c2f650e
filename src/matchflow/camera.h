#pragma once
// The match camera: a table of camera types with three-letter codes, a stack
// of up to five active camera ids, per-type routines that place eye and
// target each tick, the view basis built from them, a white screen fade that
// hides cuts, and the free camera moves of the action replay.
//
// World units are quarter inches: x along the pitch, y across, height up.
#include <cstdint>

#include "framework/math/qmath_types.h"

constexpr std::int32_t CAMERA_TYPES_MAX = 19;
constexpr std::int32_t CAMERA_STACK_MAX = 5;

// Camera ids of the registered types.
enum : std::int32_t {
  CAMERA_NOR = 1,
  CAMERA_FAR = 2,
  CAMERA_CLO = 3,
  CAMERA_CRN = 5,
  CAMERA_GOK = 6,
  CAMERA_RPY = 7,
  CAMERA_SUB = 8,
  CAMERA_NONE9 = 9,  // never registered
  CAMERA_VIR = 10,
  CAMERA_PEN = 11,
  CAMERA_DBG = 12,
  CAMERA_FRK = 13,
  CAMERA_THR = 14,
  CAMERA_VCL = 15,
  CAMERA_AGK = 16,
  CAMERA_CEL = 17,
  CAMERA_VFR = 18,
};

// Fade states.
enum : std::int32_t {
  CAMERA_FADE_IDLE = 0,
  CAMERA_FADE_START = 1,
  CAMERA_FADE_HOLDING = 2,
  CAMERA_FADE_RISING = 3,
  CAMERA_FADE_FALLING = 4,
  CAMERA_FADE_WAIT = 5,
};

// A target source: writes the point the camera looks at.
using CameraTargetFn = void (*)(std::intptr_t iArg, std::int32_t* px, std::int32_t* ph, std::int32_t* py);
using CameraUpdateFn = void (*)();

// One key of a scripted camera flight: frames F, eye start and end, target
// start and end (x, height, y each), hold frames H and the next key (-1 the
// following one, -2 stop, else its index).
struct CameraPathKey {
  std::int32_t iFrames;
  std::int32_t aiEyeStart[3];
  std::int32_t aiEyeEnd[3];
  std::int32_t aiTargetStart[3];
  std::int32_t aiTargetEnd[3];
  std::int32_t iHold;
  std::int32_t iNext;
};

struct CameraView {
  QMathMatrix oRotation;   // right, up, forward in columns 0, 1, 2
  QMathMatrix oRotation2;  // the same 3 x 3 block
  std::int32_t iCurrent;
  std::int32_t aiEye[3];     // x, height, y
  std::int32_t aiTarget[3];  // x, height, y
  std::int32_t abUp[3];      // exactly one set: x, height or y is up
  std::int32_t iKind;
  CameraUpdateFn pfnUpdate;
  CameraTargetFn pfnTarget;
  std::intptr_t iTargetArg;
  // Scripted path state.
  const CameraPathKey* poPath;
  std::int32_t iKey;
  std::int32_t iPhase;
  std::int32_t iCounter;
  std::int32_t aiEyeStep[3];
  std::int32_t aiTargetStep[3];
};

struct CameraType {
  std::int32_t bUsed;
  char acCode[4];
  std::int32_t iId;
  std::int32_t iKind;  // 0 x up, 1 height up, 2 y up; 3 unused
  CameraUpdateFn pfnUpdate;
};

struct CameraFade {
  std::int32_t iState;
  std::int32_t iCounter;
  std::int32_t r, g, b;
  std::int32_t bRelease;
};

// Parameters of the broadcast cameras: eye-x factor in sixteenths, elevation
// angle, distance behind the target, eye-y margin, near-side limit, lead
// radius and forward lead.
struct CameraBroadcastParams {
  std::int32_t iId;
  std::int32_t p, e, d, m, f, r, l;
};
extern const CameraBroadcastParams camera_aoBroadcastParams[5];

// The broadcast camera's smoothed state (1/256 units) and its leads.
struct CameraBroadcast {
  std::int32_t iId;
  CameraBroadcastParams oParams;
  std::int32_t iForwardLead;
  std::int32_t iLateralLead;
  std::int32_t aiTarget[3];        // the followed point
  std::int32_t aiSmoothTarget[3];  // x 256
  std::int32_t aiSmoothEye[3];     // x 256
};

extern CameraType camera_aoTypes[CAMERA_TYPES_MAX];
extern const char* camera_apszCodes[CAMERA_TYPES_MAX];

// Everything of the camera that belongs to one match, in one record: its
// view, its moves, its stack, its fade. The type table is kept across
// matches. The names below are the parts the rest of the game reads.
struct CameraMatch {
  CameraView oView;
  std::int32_t bViewValid;
  std::int32_t bTrackMode;
  // The straight move.
  std::int32_t aiStraightStep[3];
  std::int32_t iStraightFrames;
  std::int32_t bStraightReset;
  // The free camera's distance from its target.
  std::int32_t iViewRadius;
  CameraBroadcast oBroadcast;
  CameraFade oFade;
  std::int32_t aiStack[CAMERA_STACK_MAX];
  std::int32_t iStackPointer;
  // The throw-in camera's six words (eye x, height, y, target x, height, y),
  // set by the set-piece script.
  std::int32_t aiThrowView[6];
  // The eye and target the goal-kick camera leaves for later restoring.
  std::int32_t aiSavedView[6];
  // The player the celebration camera follows.
  struct Player* poCelebrationPlayer;
  std::uint16_t uOrbitAngle;
};
extern CameraMatch camera_oMatch;
extern CameraBroadcast& camera_oBroadcast;
extern CameraFade& camera_oFade;
extern std::int32_t (&camera_aiStack)[CAMERA_STACK_MAX];
extern std::int32_t& camera_iStackPointer;
extern std::uint16_t& camera_uOrbitAngle;
extern std::int32_t (&camera_aiThrowView)[6];
extern std::int32_t (&camera_aiSavedView)[6];
extern struct Player*& camera_poCelebrationPlayer;

void camera_TypesClear();
void camera_TypeRegister(const char* pszCode, std::int32_t iId, std::int32_t iKind, CameraUpdateFn pfnUpdate);
void camera_TypesRegister();
void camera_Init();
// The camera's match record back to how the program starts it; called by
// the start of every match before camera_Init.
struct MatchStateBlock;
MatchStateBlock camera_MatchState();
void camera_MatchReset();
void camera_Update();
void camera_Push(std::int32_t iId);
void camera_PushIfNew(std::int32_t iId);
void camera_Pop();
void camera_Reset();
void camera_Reset2();
void camera_PushWithDefaultSource(std::int32_t iId);
void camera_PushNone();
void camera_TargetSourceSet(std::intptr_t iArg, CameraTargetFn pfnSource);
void camera_TargetSourceDefault();
void camera_TargetNone(std::intptr_t iArg, std::int32_t* px, std::int32_t* ph, std::int32_t* py);
void camera_Activate(std::int32_t iId);
std::int32_t camera_iKindGet();
std::int32_t camera_bIsTypeRegistered(std::int32_t iId);
std::int32_t camera_iTypeKindGet(std::int32_t iId);
CameraView* camera_poViewGet();
std::int32_t camera_iCurrentGet();
void camera_ZoomCheck(std::int32_t iZoom);

void camera_FadeStart();
void camera_FadeRelease();
std::int32_t camera_bIsFadeHolding();
std::int32_t camera_bIsFading();
void camera_FadeUpdate();

std::int32_t camera_bIsViewValid();
void camera_ViewInvalidate();

void camera_PathStepSet(const std::int32_t aiStart[3], const std::int32_t aiEnd[3], std::int32_t iFrames,
                        std::int32_t bReset);
void camera_TrackModeSet(std::int32_t bFlag);
void camera_AngleSet(std::int32_t iHeading);
// 802-per-turn heading to a 16-bit angle: the camera divides by 803.
std::int32_t camera_HeadingToAngle(std::int32_t iHeading);

// The per-type routines.
void camera_BroadcastStart();
void camera_BroadcastUpdate();
void camera_CornerUpdate();
void camera_GoalKickUpdate();
void camera_SubUpdate();
void camera_PenaltyUpdate();
void camera_DebugUpdate();
void camera_FreeKickUpdate();
void camera_ThrowInUpdate();
void camera_StraightUpdate();
void camera_CelebrationUpdate();
void camera_ReplayUpdate();

// A free camera move of the replay (events 140 to 151).
void camera_FreeMove(std::int32_t iEvent);

// Scaled trigonometry of 16-bit angles: (table >> 4) x r >> 12.
std::int32_t camera_CosScale(std::int32_t iAngle, std::int32_t r);
std::int32_t camera_SinScale(std::int32_t iAngle, std::int32_t r);

#pragma once
// The one match ball: its flight (heading, elevation, clock, speeds, launch,
// landing and target points, curl), its state and owners, and the words that
// draw its rotation. Positions ending in 128 are in 1/128 pitch units, the
// others in pitch units; headings are 802 units a turn.
#include <cstdint>

struct Player;
struct User;

// Ball states.
enum : std::int32_t {
  BALL_STATE_FREE = 0,
  BALL_STATE_HELD = 2,
  BALL_STATE_PLACED = 3,
};
constexpr std::int32_t BALL_KIND_NONE = 15;  // no flight

struct Ball {
  std::int32_t iHeading;          // direction of travel
  std::int32_t iElevation;        // launch elevation, degrees (90 dropped vertically)
  std::int32_t iT;                // half-ticks since the launch or the last bounce
  std::int32_t iState;            // BALL_STATE_*; 1 does nothing
  std::int32_t iKind;             // flight kind; BALL_KIND_NONE none
  std::int32_t bActive;           // 1 once the match set-up has initialised the ball
  std::int32_t iLaunchX;          // start point of the current arc
  std::int32_t iLaunchHeight;
  std::int32_t iLaunchY;
  std::int32_t iX128;             // current position
  std::int32_t iHeight128;
  std::int32_t iY128;
  std::int32_t iPrevX128;         // position before the last step
  std::int32_t iPrevY128;
  std::int32_t iLandX;            // where the arc meets the ground; rolling: the next position
  std::int32_t iLandHeight;
  std::int32_t iLandY;
  std::int32_t iBounceCountdown;  // 2 at each launch, minus 1 per bounce, not below 0
  std::int32_t iStepStartX;       // position at the start of the last step
  std::int32_t iStepStartHeight;
  std::int32_t iStepStartY;
  std::int32_t iTargetX;          // the point the kick aims at
  std::int32_t iTargetHeight;
  std::int32_t iTargetY;
  std::int32_t iLineFlags;        // bit 1 straight x passed target x, bit 2 the same for y
  std::int32_t iSpin;             // back/top spin
  std::int32_t iRollAngle;        // accumulated rotation for display
  std::int32_t iCurveAmount;      // sideways curl x 128
  std::int32_t iCurveX;           // curl direction scaled by the amount
  std::int32_t iCurveY;
  std::int32_t iStraightX128;     // where the ball would be without curl
  std::int32_t iStraightY128;
  std::int32_t iCurvePhase;       // 16-bit angles
  std::int32_t iCurvePhaseStep;
  std::int32_t bCurl;             // a curl waits to be set up at the next launch
  std::int32_t iHSpeed;           // 1/128 unit per half-tick
  std::int32_t iVSpeed;           // units per half-tick
  Player* poPrevOwner;
  Player* poOwner;
  Player* pplyrWhoKicked;
  Player* poTargetPlayer;
  std::int32_t iTargetPointX;     // set by the possession code's target setter
  std::int32_t iTargetPointY;
  std::int32_t iTargetPointDirection;
  std::int32_t iFramesWithoutOwner;
  std::int32_t iFlightDuration;   // half-ticks from launch to landing plus 2
  std::int32_t iSpinAxisX;        // rotation drawn by the presentation
  std::int32_t iSpinAxisY;
  std::int32_t iSpinAxisZ;
  std::int32_t iSpinRate;
  std::int32_t bBounceSound;      // a bounce plays its sound while set
  Player* poLastPlayer;           // the last player given the ball
  User* poLastUser;               // the user steering him
};

extern Ball ball_oBall;

Ball* ball_Get();
// Position in pitch units: the fine position divided by 128 toward zero.
std::int32_t ball_XGet(const Ball* poBall);
std::int32_t ball_HeightGet(const Ball* poBall);
std::int32_t ball_YGet(const Ball* poBall);

// ---- Predicted path ---------------------------------------------------------
// Entry 0 is the ball when the flight was predicted, 1..254 the ball after
// each simulated tick.
struct BallPathEntry {
  std::int32_t iIndex;   // ticks after the prediction
  std::int32_t iX;
  std::int32_t iHeight;
  std::int32_t iY;
  std::int32_t bBounce;  // the simulated step bounced
};
constexpr std::int32_t BALL_PATH_MAX = 255;
constexpr std::int32_t BALL_PATH_REST = 16;  // length of the path of a ball at rest

extern BallPathEntry ball_aPath[BALL_PATH_MAX];
extern std::int32_t ball_iPathLength;  // 255, or 16 for a ball at rest
extern std::int32_t ball_iPathApex;    // first entry lower than the one before
extern std::int32_t ball_iPathIndex;   // ticks since the prediction (advanced by real steps)
extern std::int32_t ball_iPathCursor;  // intercept search cursor
extern std::int32_t ball_iStepCounter; // shared by real steps and predictions
// Frame of the last net sound (at most one in 25 frames).
constexpr std::int32_t BALL_NET_SOUND_NEVER = -1000000;
extern std::int32_t ball_iNetSoundFrame;

// Outcome of the predicted flight.
enum : std::int32_t {
  BALL_OUTCOME_NOTHING = 1,
  BALL_OUTCOME_WIDE = 2,       // over the goal line wide or high
  BALL_OUTCOME_NEAR_GOAL = 4,  // toward the goal area, not reaching it
  BALL_OUTCOME_ON_TARGET = 6,
  BALL_OUTCOME_GOAL = 7,
  BALL_OUTCOME_PENALTY = 8,
};

// Flight kinds.
enum : std::int32_t {
  BALL_KIND_GROUND_PASS = 0,
  BALL_KIND_VOLLEY = 2,
  BALL_KIND_HEADER = 3,
  BALL_KIND_LOFT = 4,
  BALL_KIND_SHOT = 5,
  BALL_KIND_CHIP = 6,
  BALL_KIND_LOB = 7,
  BALL_KIND_STRIKE = 8,
  BALL_KIND_ROLLING = 9,
  BALL_KIND_HIGH_HEADER = 10,
  BALL_KIND_THROW = 11,
  BALL_KIND_NUDGE = 12,
  BALL_KIND_KNOCK_ON = 13,
  BALL_KIND_DEFLECT = 14,
};

constexpr std::int32_t BALL_RADIUS = 36;
constexpr std::int32_t BALL_GOAL_LINE_X = 9360;
constexpr std::int32_t BALL_TOUCH_LINE_Y = 5760;
// The referee's rule for a ball over a line: its centre 25 units or more past
// the goal line, or more than 24 past a touch line.
constexpr std::int32_t BALL_OUT_GOAL_X = BALL_GOAL_LINE_X + 25;   // 9385
constexpr std::int32_t BALL_OUT_TOUCH_Y = BALL_TOUCH_LINE_Y + 25;  // 5785
inline bool ball_bOverGoalLine(std::int32_t x) { return x >= BALL_OUT_GOAL_X || x <= -BALL_OUT_GOAL_X; }
inline bool ball_bOverTouchLine(std::int32_t y) { return y >= BALL_OUT_TOUCH_Y || y <= -BALL_OUT_TOUCH_Y; }
inline bool ball_bOverALine(std::int32_t x, std::int32_t y) { return ball_bOverGoalLine(x) || ball_bOverTouchLine(y); }

// Sine of whole degrees scaled by 16384 (any integer degree, taken modulo 360).
std::int32_t ball_SinDeg(std::int32_t iDegrees);
std::int32_t ball_CosDeg(std::int32_t iDegrees);
// Heading (802 a turn, from +x toward +y) of the offset (dx, dy).
std::int32_t ball_HeadingTo(std::int32_t dx, std::int32_t dy);
// Floor of the square root (Newton iteration).
std::uint64_t ball_ISqrt(std::uint64_t v);

// ---- Set-up and state -------------------------------------------------------
void ball_Init(Ball* poBall);
void ball_Release(Ball* poBall);
void ball_StateReset(Ball* poBall);
void ball_PositionSet(Ball* poBall, std::int32_t x, std::int32_t h, std::int32_t y);
void ball_PlaceAt(Ball* poBall, std::int32_t x, std::int32_t h, std::int32_t y);
void ball_PositionGet(const Ball* poBall, std::int32_t* px, std::int32_t* ph, std::int32_t* py);
// Sideways curl for the next launch (0 clears it and the curl flag).
void ball_SpinSet(Ball* poBall, std::int32_t iCurve);

// ---- Getters -----------------------------------------------------------------
std::int32_t ball_CurXGet();
std::int32_t ball_CurYGet();
std::int32_t ball_PrevXGet();
std::int32_t ball_PrevYGet();
std::int32_t ball_LandXGet();
std::int32_t ball_LandYGet();
std::int32_t ball_LandXClampedGet();
std::int32_t ball_LandYClampedGet();
std::int32_t ball_LaunchXGet();
std::int32_t ball_LaunchYGet();
std::int32_t ball_StepStartXGet();
std::int32_t ball_StepStartHeightGet();
std::int32_t ball_StepStartYGet();
Player* ball_OwnerGet();
Player* ball_PrevOwnerGet();
Player* ball_WhoKickedGet();
Player* ball_LastPlayerGet();
User* ball_LastUserGet();
std::int32_t ball_RadiusGet();
std::int32_t ball_FlightTimeLeftGet();
BallPathEntry* ball_PathEntryPtrGet(std::int32_t i);
// Copies entry i; 0 (out untouched) outside 0..length - 1, else 1.
std::int32_t ball_PathEntryGet(std::int32_t i, BallPathEntry* poOut);
std::int32_t ball_PathLengthGet();
std::int32_t ball_PathIndexGet();
std::int32_t ball_OutcomeGet();
std::int32_t ball_OutcomeSideGet();
void ball_OutcomeSet(std::int32_t iOutcome, std::int32_t iSide);
void ball_OutcomeClear();

// ---- Line queries along the last step -------------------------------------------
std::int32_t ball_PathXAtY(std::int32_t v);
std::int32_t ball_PathYAtX(std::int32_t v);
std::int32_t ball_PathYAtGoalLine();
std::int32_t ball_PathYAtGoalEdge();
std::int32_t ball_PathHeightAtX(std::int32_t v);
std::int32_t ball_PathHeightAtY(std::int32_t v);
std::int32_t ball_PathHeightAtGoalLine();
std::int32_t ball_PathHeightAtGoalEdge();
std::int32_t ball_PathXAtHeight(std::int32_t v);
std::int32_t ball_PathYAtHeight(std::int32_t v);
std::int32_t ball_IsGoalMouthPassage();

// ---- Solvers and launchers ---------------------------------------------------
void ball_AngleLaunch(Ball* poBall, std::int32_t x, std::int32_t y, std::int32_t iDeg, std::int32_t iSpin);
void ball_HeightAngleLaunch(Ball* poBall, std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iDeg,
                            std::int32_t iSpin);
void ball_SpeedLaunch(Ball* poBall, std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iPower,
                      std::int32_t iSpin);
void ball_SpeedLaunchTwin(Ball* poBall, std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iPower,
                          std::int32_t iSpin);
void ball_CurlSetUp(Ball* poBall);

void ball_GroundPassLaunch(std::int32_t x, std::int32_t y);
void ball_HeaderPassLaunch(std::int32_t x, std::int32_t y);
void ball_HeaderLaunch(std::int32_t x, std::int32_t y);
void ball_VolleyLaunch(std::int32_t x, std::int32_t y, std::int32_t iDeg, std::int32_t iSpin);
void ball_LoftLaunch(std::int32_t x, std::int32_t y, std::int32_t iDeg, std::int32_t iSpin);
void ball_ReleaseLaunch(std::int32_t x, std::int32_t y, std::int32_t iDeg);
void ball_ShotLaunch(std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iSpeed);
void ball_ShotLaunchAlt(std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iSpeed);
void ball_ChipLaunch(std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iSpeed);
void ball_LobLaunch(std::int32_t x, std::int32_t y, std::int32_t iDeg, std::int32_t iSpin);
void ball_DropAtFeet(std::int32_t x, std::int32_t y);
void ball_StrikeLaunch(std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iDeg, std::int32_t iSpin);
void ball_ThrowLaunch(std::int32_t x, std::int32_t y, std::int32_t iDeg, std::int32_t iSpin);
void ball_NudgeLaunch(std::int32_t x, std::int32_t y, std::int32_t iDeg, std::int32_t iSpin);
void ball_Deflect(std::int32_t iAngleAdd, std::int32_t iHeadingAdd);
void ball_VectorLaunch(std::int32_t iSpeed, std::int32_t iHeadingDeg, std::int32_t iElevationDeg, std::int32_t iSpin);
// Kick sound of the volley, loft and strike launchers.
void ball_KickSoundB();

// ---- Stepping ---------------------------------------------------------------
void ball_Update();
// One tick of flight; 0 when the step bounced, else 1. A prediction steps a
// copy with bReal 0.
std::int32_t ball_FlightStep(Ball* poBall, std::int32_t bReal);
void ball_PredictPath(Ball* poBall);
// Outcome code of the stored path; its side in *piSide.
std::int32_t ball_OutcomeClassify(std::int32_t* piSide);
void ball_OutOfPlayCheck(Ball* poBall);
void ball_GoalFrameCollide(Ball* poBall);
void ball_ReflectX(Ball* poBall, std::int32_t iPercent);
void ball_ReflectY(Ball* poBall, std::int32_t iPercent);
void ball_AimMarkerAdd();

// ---- Path queries (players) ------------------------------------------------------
BallPathEntry* ball_PathClosestGet(const Player* poPlayer);
BallPathEntry* ball_PathKeeperPointGet(const Player* poKeeper, std::int32_t iMaxHeight);
BallPathEntry* ball_PathInterceptGet(const Player* poPlayer);
// First cursor entry: first entry below 384 after the apex (from the current index).
std::int32_t ball_PathCursorStart();
// Nearest player of the defending team (side 0) or the team in possession to
// the entry / point; the distance, or -1.
std::int32_t ball_PathNearestPlayerGet(Player** ppoOut, const BallPathEntry* poEntry, std::int32_t iSide);
std::int32_t ball_PointNearestPlayerGet(Player** ppoOut, std::int32_t x, std::int32_t y, std::int32_t iSide);
// Shot statistics of a predicted flight toward the goal its kicker attacks.
void ball_ShotStatsAdd(std::int32_t iOutcome, std::int32_t iSide);

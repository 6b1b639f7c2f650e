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

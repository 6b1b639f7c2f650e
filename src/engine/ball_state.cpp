// The ball's set-up, placing and getters, the path table's reads and the line
// queries along the ball's last step.
#include <cstdlib>
#include <cstring>

#include "engine/aiopt.h"
#include "engine/ball.h"
#include "engine/chaser.h"
#include "engine/newballA.h"
#include "engine/newgoal.h"
#include "engine/target.h"
#include "scene3d/scene3d_services.h"

void ball_Init(Ball* poBall) {
  std::memset(poBall, 0, sizeof(*poBall));
  poBall->bActive = 1;
  poBall->iKind = BALL_KIND_NONE;
  poBall->bBounceSound = 1;
  // A new match starts with no predicted path, no chasers and no strike.
  ball_iNetSoundFrame = BALL_NET_SOUND_NEVER;
  ball_iPathLength = 0;
  ball_iPathApex = 0;
  ball_iPathIndex = 0;
  ball_iPathCursor = 0;
  ball_iStepCounter = 0;
  ball_OutcomeClear();
  chaser_Clear();
  newballA_MatchReset();
  target_MatchReset();
  pass_MatchReset();
  newgoal_MatchReset();
}

void ball_Release(Ball* poBall) {
  poBall->iKind = BALL_KIND_NONE;
  poBall->poOwner = nullptr;
  poBall->poPrevOwner = nullptr;
  poBall->iState = BALL_STATE_FREE;
}

void ball_StateReset(Ball* poBall) {
  poBall->iKind = BALL_KIND_NONE;
  poBall->iState = BALL_STATE_PLACED;
  poBall->iSpin = 0;
  poBall->iHSpeed = 0;
  poBall->iVSpeed = 0;
}

static void PointsSet(Ball* poBall, std::int32_t x, std::int32_t h, std::int32_t y) {
  poBall->iLaunchX = poBall->iLandX = poBall->iTargetX = x;
  poBall->iLaunchHeight = poBall->iLandHeight = poBall->iTargetHeight = h;
  poBall->iLaunchY = poBall->iLandY = poBall->iTargetY = y;
  poBall->iX128 = poBall->iPrevX128 = poBall->iStraightX128 = x * 128;
  poBall->iY128 = poBall->iPrevY128 = poBall->iStraightY128 = y * 128;
  poBall->iHeight128 = h * 128;
  poBall->iStepStartX = x;
  poBall->iStepStartHeight = h;
  poBall->iStepStartY = y;
}

void ball_PositionSet(Ball* poBall, std::int32_t x, std::int32_t h, std::int32_t y) {
  PointsSet(poBall, x, h, y);
  poBall->poOwner = nullptr;
  poBall->poPrevOwner = nullptr;
  ball_StateReset(poBall);
}

void ball_PlaceAt(Ball* poBall, std::int32_t x, std::int32_t h, std::int32_t y) {
  PointsSet(poBall, x, h, y);
  poBall->iHSpeed = 0;
  poBall->iVSpeed = 0;
}

void ball_PositionGet(const Ball* poBall, std::int32_t* px, std::int32_t* ph, std::int32_t* py) {
  *px = ball_XGet(poBall);
  *ph = ball_HeightGet(poBall);
  *py = ball_YGet(poBall);
}

std::int32_t ball_CurXGet() { return ball_XGet(&ball_oBall); }
std::int32_t ball_CurYGet() { return ball_YGet(&ball_oBall); }
std::int32_t ball_PrevXGet() { return ball_oBall.iPrevX128 / 128; }
std::int32_t ball_PrevYGet() { return ball_oBall.iPrevY128 / 128; }
std::int32_t ball_LandXGet() { return ball_oBall.iLandX; }
std::int32_t ball_LandYGet() { return ball_oBall.iLandY; }
static std::int32_t Clamp(std::int32_t v, std::int32_t lim) { return v < -lim ? -lim : (v > lim ? lim : v); }
std::int32_t ball_LandXClampedGet() { return Clamp(ball_oBall.iLandX, BALL_GOAL_LINE_X); }
std::int32_t ball_LandYClampedGet() { return Clamp(ball_oBall.iLandY, BALL_TOUCH_LINE_Y); }
std::int32_t ball_LaunchXGet() { return ball_oBall.iLaunchX; }
std::int32_t ball_LaunchYGet() { return ball_oBall.iLaunchY; }
std::int32_t ball_StepStartXGet() { return ball_oBall.iStepStartX; }
std::int32_t ball_StepStartHeightGet() { return ball_oBall.iStepStartHeight; }
std::int32_t ball_StepStartYGet() { return ball_oBall.iStepStartY; }
Player* ball_OwnerGet() { return ball_oBall.poOwner; }
Player* ball_PrevOwnerGet() { return ball_oBall.poPrevOwner; }
Player* ball_WhoKickedGet() { return ball_oBall.pplyrWhoKicked; }
Player* ball_LastPlayerGet() { return ball_oBall.poLastPlayer; }
User* ball_LastUserGet() { return ball_oBall.poLastUser; }
std::int32_t ball_RadiusGet() { return BALL_RADIUS; }
std::int32_t ball_FlightTimeLeftGet() { return (ball_oBall.iFlightDuration - ball_oBall.iT) / 2 + 1; }

BallPathEntry* ball_PathEntryPtrGet(std::int32_t i) {
  if (i < 0 || i >= ball_iPathLength) return nullptr;
  return &ball_aPath[i];
}

std::int32_t ball_PathEntryGet(std::int32_t i, BallPathEntry* poOut) {
  const BallPathEntry* poEntry = ball_PathEntryPtrGet(i);
  if (poEntry == nullptr) return 0;
  *poOut = *poEntry;
  return 1;
}

std::int32_t ball_PathLengthGet() { return ball_iPathLength; }
std::int32_t ball_PathIndexGet() { return ball_iPathIndex; }
std::int32_t ball_PathValidMarkGet() { return ball_iPathIndex; }

// ---- Line queries ----------------------------------------------------------------
// Coordinate a (0 x, 1 height, 2 y) where coordinate b reaches v along the
// last step, by truncated proportion; the current a when b did not move.
static std::int32_t LineAt(int a, int b, std::int32_t v) {
  const Ball* poBall = &ball_oBall;
  std::int32_t aiStart[3] = {poBall->iStepStartX, poBall->iStepStartHeight, poBall->iStepStartY};
  std::int32_t aiNow[3] = {ball_XGet(poBall), ball_HeightGet(poBall), ball_YGet(poBall)};
  std::int64_t iRun = static_cast<std::int64_t>(aiNow[b]) - aiStart[b];
  if (iRun == 0) return aiNow[a];
  return static_cast<std::int32_t>(aiStart[a] + (static_cast<std::int64_t>(aiNow[a]) - aiStart[a]) *
                                                    (static_cast<std::int64_t>(v) - aiStart[b]) / iRun);
}

static std::int32_t GoalLineX() { return ball_CurXGet() > 0 ? BALL_GOAL_LINE_X : -BALL_GOAL_LINE_X; }
static std::int32_t GoalEdgeX() { return ball_CurXGet() >= 1 ? 9384 : -9384; }

std::int32_t ball_PathXAtY(std::int32_t v) { return LineAt(0, 2, v); }
std::int32_t ball_PathYAtX(std::int32_t v) { return LineAt(2, 0, v); }
std::int32_t ball_PathYAtGoalLine() { return LineAt(2, 0, GoalLineX()); }
std::int32_t ball_PathYAtGoalEdge() { return LineAt(2, 0, GoalEdgeX()); }
std::int32_t ball_PathHeightAtX(std::int32_t v) { return LineAt(1, 0, v); }
std::int32_t ball_PathHeightAtY(std::int32_t v) { return LineAt(1, 2, v); }
std::int32_t ball_PathHeightAtGoalLine() { return LineAt(1, 0, GoalLineX()); }
std::int32_t ball_PathHeightAtGoalEdge() { return LineAt(1, 0, GoalEdgeX()); }
std::int32_t ball_PathXAtHeight(std::int32_t v) { return LineAt(0, 1, v); }
std::int32_t ball_PathYAtHeight(std::int32_t v) { return LineAt(2, 1, v); }

std::int32_t ball_IsGoalMouthPassage() {
  return std::abs(ball_PathYAtGoalEdge()) < 576 && ball_PathHeightAtGoalEdge() < 384;
}

void ball_AimMarkerAdd() {
  const Ball* poBall = &ball_oBall;
  std::int32_t iHeading16 = poBall->iHeading * 65536 / 803;
  std::int32_t iElevation16 = poBall->iElevation * 65536 / 360;
  pcframe_AddAimMarker(ball_XGet(poBall), ball_YGet(poBall), static_cast<std::uint16_t>(iHeading16),
                       static_cast<std::uint16_t>(iElevation16 - 1638));
}

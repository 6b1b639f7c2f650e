// Queries of the predicted path that involve the players: the closest entry
// to a player, the keeper's point, a player's early intercept and the players
// nearest to an entry or point.
#include <cstdlib>

#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "shell/debuglog.h"

namespace {

std::int64_t Dist2(std::int32_t dx, std::int32_t dy) {
  return static_cast<std::int64_t>(dx) * dx + static_cast<std::int64_t>(dy) * dy;
}

std::int64_t Dist2To(const BallPathEntry& e, const Player* pp) {
  return Dist2(e.iX - PlayerO_XGet(pp), e.iY - PlayerO_YGet(pp));
}

// The ball at rest: its position sixteen times, and the outcome again.
void RestPathFill() {
  BallPathEntry oEntry = {0, ball_CurXGet(), ball_HeightGet(&ball_oBall), ball_CurYGet(), 0};
  for (std::int32_t i = 0; i < BALL_PATH_REST; i++) {
    oEntry.iIndex = i;
    ball_aPath[i] = oEntry;
  }
  ball_iPathLength = BALL_PATH_REST;
  ball_iPathApex = 0;
  ball_iPathIndex = 0;
  std::int32_t iSide = 0;
  std::int32_t iOutcome = ball_OutcomeClassify(&iSide);
  ball_OutcomeSet(iOutcome, iSide);
}

std::int32_t NearestOf(Player** ppoOut, Player* poFirst, std::int32_t x, std::int32_t y, bool bSkipKeepers) {
  Player* poBest = nullptr;
  std::int64_t iBest = 0;
  for (Player* pp = poFirst; pp != nullptr; pp = pp->pNext) {
    if (bSkipKeepers && player_IsGoalkeeper(pp)) continue;
    std::int64_t d = Dist2(x - PlayerO_XGet(pp), y - PlayerO_YGet(pp));
    if (poBest == nullptr || d < iBest) {
      poBest = pp;
      iBest = d;
    }
  }
  *ppoOut = poBest;
  if (poBest == nullptr) return -1;
  return static_cast<std::int32_t>(ball_ISqrt(static_cast<std::uint64_t>(iBest)));
}

Player* SideFirst(std::int32_t iSide) {
  return iSide == 0 ? match_OtherTeamFirstPlayerGet() : match_StateTeamFirstPlayerGet();
}

}  // namespace

std::int32_t ball_PathCursorStart() {
  std::int32_t i = ball_iPathApex > ball_iPathIndex ? ball_iPathApex : ball_iPathIndex;
  while (i < ball_iPathLength - 1 && ball_aPath[i].iHeight >= 384) i++;
  if (i >= ball_iPathLength) i = ball_iPathLength - 1;
  return i < 0 ? 0 : i;
}

BallPathEntry* ball_PathClosestGet(const Player* poPlayer) {
  if (ball_iPathLength <= 0) return nullptr;
  std::int32_t i = ball_iPathIndex < ball_iPathLength ? ball_iPathIndex : ball_iPathLength - 1;
  std::int64_t iPrev = Dist2To(ball_aPath[i], poPlayer);
  for (; i + 1 < ball_iPathLength; i++) {
    std::int64_t d = Dist2To(ball_aPath[i + 1], poPlayer);
    if (d > iPrev) break;
    iPrev = d;
  }
  return &ball_aPath[i];
}

BallPathEntry* ball_PathKeeperPointGet(const Player* poKeeper, std::int32_t iMaxHeight) {
  for (int iPass = 0; iPass < 2; iPass++) {
    std::int32_t iHalfWidth = iPass == 0 ? 2736 : 2592;
    for (std::int32_t i = ball_iPathIndex; i + 1 < ball_iPathLength; i++) {
      const BallPathEntry& e = ball_aPath[i];
      std::int32_t ax = std::abs(e.iX);
      if (iPass == 0 && e.iHeight >= iMaxHeight) continue;
      if (ax < 6913 || ax >= 9384 || std::abs(e.iY) >= iHalfWidth) continue;
      if (Dist2To(ball_aPath[i + 1], poKeeper) > Dist2To(e, poKeeper) + 4) return &ball_aPath[i];
    }
  }
  return nullptr;
}

BallPathEntry* ball_PathInterceptGet(const Player* poPlayer) {
  if (ball_oBall.iKind == BALL_KIND_NONE) {
    RestPathFill();
    ball_iPathCursor = 0;
    return &ball_aPath[0];
  }
  if (ball_iPathLength <= 0) return nullptr;
  ball_iPathCursor = ball_PathCursorStart();
  std::int32_t iCandidate = ball_iPathCursor;
  std::int64_t iPrevDist = -1;
  std::int32_t px = PlayerO_XGet(poPlayer);
  std::int32_t py = PlayerO_YGet(poPlayer);
  for (std::int32_t i = ball_iPathCursor; i < ball_iPathLength; i++) {
    const BallPathEntry& e = ball_aPath[i];
    bool bInside = std::abs(e.iX) <= BALL_GOAL_LINE_X && std::abs(e.iY) <= BALL_TOUCH_LINE_Y;
    if (bInside && e.iHeight >= 97 && e.iHeight <= 215) continue;
    if (e.iHeight >= 384) continue;
    std::int64_t d = static_cast<std::int64_t>(ball_ISqrt(static_cast<std::uint64_t>(Dist2(e.iX - px, e.iY - py))));
    std::int32_t iAhead = i - ball_iPathIndex;
    // The entry under the ball now is reachable only by standing on it.
    bool bReach = iAhead <= 0 ? d == 0 : d / iAhead < 31;
    if (bReach) {
      ball_iPathCursor = i;
      return &ball_aPath[i];
    }
    if (iPrevDist >= 0 && d >= iPrevDist + 8) {
      ball_iPathCursor = iCandidate;
      return &ball_aPath[iCandidate];
    }
    iPrevDist = d;
    iCandidate = i;
  }
  debuglog_Printf("No early intercept\n");
  ball_iPathCursor = iCandidate;
  return &ball_aPath[iCandidate];
}

std::int32_t ball_PathNearestPlayerGet(Player** ppoOut, const BallPathEntry* poEntry, std::int32_t iSide) {
  return NearestOf(ppoOut, SideFirst(iSide), poEntry->iX, poEntry->iY, false);
}

std::int32_t ball_PointNearestPlayerGet(Player** ppoOut, std::int32_t x, std::int32_t y, std::int32_t iSide) {
  return NearestOf(ppoOut, SideFirst(iSide), x, y, true);
}

// The rotation drawn while a player dribbles: about the axis across his
// facing, at the rate of a ball rolling at his speed.
void ball_SpinAxisFromHolderSet(Player* poHolder) {
  Ball* poBall = &ball_oBall;
  std::int32_t iDeg = PlayerO_AngleGet(poHolder) * 180 / 401;
  poBall->iSpinAxisX = 4 * ball_SinDeg(iDeg);
  poBall->iSpinAxisY = 0;
  poBall->iSpinAxisZ = 4 * ball_CosDeg(iDeg);
  poBall->iSpinRate = 36 * PlayerO_SpeedGet(poHolder) * 401 / 64;
}

// The goal frame: posts, crossbar, side nets, roof and back of each net, with
// the reflections, the ball trails drawn in the nets and the net sound.
#include <cstdlib>
#include <initializer_list>

#include "audio/audio_services.h"
#include "engine/ball.h"
#include "engine/ball_services.h"
#include "framework/math/qmath.h"
#include "scene3d/scene3d_services.h"
#include "shell/imath.h"
#include "shell/vsync.h"

namespace {

constexpr std::int32_t kPostInner = 564;
constexpr std::int32_t kPostOuter = 612;
constexpr std::int32_t kNetHalfWidth = 576;
constexpr std::int32_t kNetHeight = 384;
constexpr std::int32_t kNetSoundGap = 25;


void NetSound() {
  if (vsync_iFrame - ball_iNetSoundFrame < kNetSoundGap) return;
  ball_iNetSoundFrame = vsync_iFrame;
  static const std::int32_t aiEffects[4] = {16, 17, 16, 17};
  sfx_PlayAtVolume(aiEffects[QMathRandRange(3)], 8192);
}

void Trail(const Ball* poBall, std::int32_t iGoal, std::int32_t iPart) {
  if (poBall->poOwner != nullptr) return;
  pcframe_TrailAdd(poBall->iStepStartX, poBall->iStepStartHeight, poBall->iStepStartY, ball_XGet(poBall),
                   ball_HeightGet(poBall), ball_YGet(poBall), iGoal, iPart);
}

bool Crosses(std::int32_t a, std::int32_t b, std::int32_t v) { return (a < v && b >= v) || (a > v && b <= v); }

void Reflect(Ball* poBall, std::int32_t iHeading, std::int32_t iPercent) {
  if (iHeading < 0) iHeading += 802;
  poBall->iHeading = iHeading;
  poBall->iHSpeed = poBall->iHSpeed * iPercent / 100;
  poBall->iSpin /= 3;
  std::int32_t iLeft = poBall->iFlightDuration - poBall->iT;
  if (iLeft < 0) iLeft = 0;
  std::int32_t iDeg = poBall->iHeading * 180 / 401;
  std::int64_t T = static_cast<std::int64_t>(iLeft) * 256;
  poBall->iLandX = ball_XGet(poBall) + static_cast<std::int32_t>(imath_CosScale(poBall->iHSpeed, iDeg) * T / 32768);
  poBall->iLandY = ball_YGet(poBall) + static_cast<std::int32_t>(imath_SinScale(poBall->iHSpeed, iDeg) * T / 32768);
  ball_SpinSet(poBall, 0);
  ball_CurlSetUp(poBall);
  ball_PredictPath(poBall);
}

void PutAt(Ball* poBall, std::int32_t x, std::int32_t h, std::int32_t y) {
  poBall->iX128 = x * 128;
  poBall->iHeight128 = h * 128;
  poBall->iY128 = y * 128;
}

}  // namespace

std::int32_t ball_iNetSoundFrame = BALL_NET_SOUND_NEVER;

void ball_ReflectX(Ball* poBall, std::int32_t iPercent) { Reflect(poBall, 401 - poBall->iHeading, iPercent); }
void ball_ReflectY(Ball* poBall, std::int32_t iPercent) { Reflect(poBall, 802 - poBall->iHeading, iPercent); }

void ball_GoalFrameCollide(Ball* poBall) {
  std::int32_t x = ball_XGet(poBall);
  std::int32_t y = ball_YGet(poBall);
  std::int32_t h = ball_HeightGet(poBall);
  if (std::abs(x) < 8928 || std::abs(y) > 1152) return;
  std::int32_t s = x < 0 ? -1 : 1;
  std::int32_t iGoal = x < 0 ? 0 : 1;
  std::int32_t x0 = poBall->iStepStartX;
  std::int32_t y0 = poBall->iStepStartY;
  std::int32_t h0 = poBall->iStepStartHeight;
  std::int32_t iLineX = s * BALL_GOAL_LINE_X;
  std::int32_t iBackX = s * (BALL_GOAL_LINE_X + 4 * goals_NetDepth);

  // Posts and crossbar, met where the step crosses the goal line.
  if (Crosses(x0, x, iLineX)) {
    std::int32_t iLineY = ball_PathYAtX(iLineX);
    std::int32_t iLineH = ball_PathHeightAtX(iLineX);
    std::int32_t iAbsY = std::abs(iLineY);
    if (iLineH >= 0 && iLineH <= kNetHeight && iAbsY >= kPostInner && iAbsY <= kPostOuter) {
      PutAt(poBall, s * (BALL_GOAL_LINE_X - 28), iLineH, iLineY);
      if (std::abs(y0) < kPostInner) {
        ball_ReflectY(poBall, 60);
      } else {
        ball_ReflectX(poBall, 60);
      }
      mpenso_RecordKick(0);
      sfx_Play(9);
      return;
    }
    if (iLineH >= 360 && iLineH <= 432 && iAbsY <= kNetHalfWidth) {
      PutAt(poBall, s * (BALL_GOAL_LINE_X - 28), iLineH, iLineY);
      ball_ReflectX(poBall, 60);
      sfx_Play(9);
      return;
    }
  }

  bool bInsideX = std::abs(x) >= BALL_GOAL_LINE_X && std::abs(x) <= std::abs(iBackX);

  // Side nets.
  for (std::int32_t iSideY : {-kNetHalfWidth, kNetHalfWidth}) {
    if (!Crosses(y0, y, iSideY)) continue;
    std::int32_t iAtX = std::abs(ball_PathXAtY(iSideY));
    std::int32_t iAtH = ball_PathHeightAtY(iSideY);
    if (iAtX < BALL_GOAL_LINE_X || iAtX > std::abs(iBackX) || iAtH < 0 || iAtH > kNetHeight) continue;
    Trail(poBall, iGoal, iSideY < 0 ? 3 : 4);
    poBall->iY128 = (2 * iSideY - y) * 128;
    ball_ReflectY(poBall, 50);
    NetSound();
    return;
  }

  // Roof.
  if (bInsideX && std::abs(y) <= kNetHalfWidth && Crosses(h0, h, kNetHeight)) {
    Trail(poBall, iGoal, 2);
    std::int32_t iAtX = ball_PathXAtHeight(kNetHeight);
    std::int32_t iAtY = ball_PathYAtHeight(kNetHeight);
    if (h < h0) {
      PutAt(poBall, iAtX, 412, iAtY);
      ball_Deflect(0, 0);
    } else {
      PutAt(poBall, iAtX, 356, iAtY);
      poBall->iLaunchX = iAtX;
      poBall->iLaunchY = iAtY;
      poBall->iLaunchHeight = 356;
      poBall->iVSpeed = 1;
      poBall->iT = 0;
    }
    NetSound();
    return;
  }

  // Back of the net.
  if (Crosses(x0, x, iBackX) && std::abs(y) <= kNetHalfWidth && h >= 0 && h <= kNetHeight) {
    Trail(poBall, iGoal, 1);
    poBall->iX128 = (2 * iBackX - x) * 128;
    poBall->iVSpeed = 1;
    poBall->iT = 0;
    poBall->iLaunchX = ball_XGet(poBall);
    poBall->iLaunchY = ball_YGet(poBall);
    poBall->iLaunchHeight = ball_HeightGet(poBall);
    ball_ReflectX(poBall, static_cast<std::int32_t>(QMathRandRange(10)));
    NetSound();
    return;
  }
}

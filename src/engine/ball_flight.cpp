// The ball's flight: the solvers that turn an aim into speeds, the launchers
// that start each kind of flight, the per-tick flight step with bounce, roll
// and curl, the path prediction and its outcome, and the out-of-play report.
#include <cmath>
#include <cstdlib>

#include "audio/audio_services.h"
#include "engine/ball.h"
#include "engine/ball_services.h"
#include "engine/chaser.h"
#include "engine/newballA.h"
#include "engine/target.h"
#include "framework/math/qmath.h"
#include "scene3d/scene3d_services.h"
#include "shell/global.h"
#include "shell/imath.h"

BallPathEntry ball_aPath[BALL_PATH_MAX];
std::int32_t ball_iPathLength;
std::int32_t ball_iPathApex;
std::int32_t ball_iPathIndex;
std::int32_t ball_iPathCursor;
std::int32_t ball_iStepCounter;
static std::int32_t ball_iOutcome = BALL_OUTCOME_NOTHING;
static std::int32_t ball_iOutcomeSide;

namespace {

// Sines of whole degrees scaled by 16384, rounded.
struct SineTable {
  std::int16_t v[360];
  SineTable() {
    for (int d = 0; d < 360; d++) {
      v[d] = static_cast<std::int16_t>(std::lround(16384.0 * std::sin(d * 3.14159265358979323846 / 180.0)));
    }
  }
};
const SineTable ball_oSines;
const SineTable& Sines() { return ball_oSines; }

// Shifts of signed values that truncate toward zero.
std::int64_t Shr(std::int64_t v, int n) { return v / (std::int64_t{1} << n); }

std::int32_t Clamp32(std::int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < -INT32_MAX) return -INT32_MAX;
  return static_cast<std::int32_t>(v);
}

std::int32_t HeadingDeg(std::int32_t iHeading) { return iHeading * 180 / 401; }

std::int32_t SpinOrRandom(std::int32_t iSpin) {
  return iSpin != 0 ? iSpin : static_cast<std::int32_t>(QMathRandRange(300)) - 150;
}

// The curl's sideways sweep: the sine in 128ths with the low bits dropped.
std::int32_t CurlSweep(std::int32_t iPhase) { return ((QMathSin(iPhase) >> 2) & ~3) / 128; }

// Flight time, landing point and the launch words shared by every solver once
// the two speeds and the heading are known.
void FlightFinish(Ball* poBall, std::int32_t iSpin) {
  std::int32_t T = 256 + poBall->iVSpeed * 7680 / 13;
  std::int32_t iDeg = HeadingDeg(poBall->iHeading);
  poBall->iLandX = poBall->iLaunchX + Clamp32(Shr(static_cast<std::int64_t>(imath_CosScale(poBall->iHSpeed, iDeg)) * T, 14));
  poBall->iLandY = poBall->iLaunchY + Clamp32(Shr(static_cast<std::int64_t>(imath_SinScale(poBall->iHSpeed, iDeg)) * T, 14));
  poBall->iLandHeight = 0;
  poBall->iT = 0;
  poBall->iLineFlags = 0;
  poBall->iBounceCountdown = 2;
  poBall->iFlightDuration = T / 128;
  poBall->iSpin = iSpin;
  ball_CurlSetUp(poBall);
}

std::int32_t DistanceTo(const Ball* poBall, std::int32_t x, std::int32_t y) {
  std::int64_t dx = static_cast<std::int64_t>(x) - ball_XGet(poBall);
  std::int64_t dy = static_cast<std::int64_t>(y) - ball_YGet(poBall);
  return static_cast<std::int32_t>(ball_ISqrt(static_cast<std::uint64_t>(dx * dx + dy * dy)));
}

// Speed solver of the shots: power in feet per second, the elevation that
// reaches height h at the target's distance, or 45 degrees when none does.
void SpeedSolve(Ball* poBall, std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iPower, bool bTwin) {
  std::int64_t p = iPower;
  if (!bTwin && p > 120) p = 120;
  std::int64_t D = DistanceTo(poBall, x, y) / 4 / 12;
  if (D < 1) D = 1;
  std::int64_t H = h / 4 / 12;
  std::int64_t p2 = p * p;
  std::int64_t iDisc = p2 * p2 - 64 * H * p2 - 1024 * D * D;
  std::int32_t iElevation = 45;
  if (iDisc >= 0) {
    std::int64_t s = static_cast<std::int64_t>(ball_ISqrt(static_cast<std::uint64_t>(iDisc)));
    std::int64_t n = s - p2 < 0 ? s - p2 : -(p2 + s);
    std::int64_t iRatio = (n * 1024) / -32 * (1048576 / D) / 8388608;
    iElevation = imath_AtanRatio(Clamp32(iRatio)) * 180 / 401;
  }
  if (!bTwin && iElevation > 20) iElevation = 20;
  std::int32_t iSpeed = static_cast<std::int32_t>(p * 48 / 60);
  std::int32_t dx = x - ball_XGet(poBall);
  std::int32_t dy = y - ball_YGet(poBall);
  poBall->iElevation = iElevation;
  poBall->iHSpeed = ball_CosDeg(iElevation) * iSpeed / 128;
  poBall->iVSpeed = ball_SinDeg(iElevation) * iSpeed / 16384;
  poBall->iHeading = ball_HeadingTo(dx, dy);
  poBall->iLaunchX = ball_XGet(poBall);
  poBall->iLaunchY = ball_YGet(poBall);
  std::int32_t iHeight = bTwin ? 0 : ball_HeightGet(poBall);
  poBall->iLaunchHeight = iHeight < 0 ? 0 : iHeight;
}

// What every launcher does before its solver: the holder lets go, the ball is
// free, the flight kind and the aim are set.
void LaunchBegin(std::int32_t iKind, std::int32_t x, std::int32_t h, std::int32_t y) {
  Ball* poBall = &ball_oBall;
  if (poBall->poOwner != nullptr) newballA_OwnerSet(nullptr, 0);
  poBall->iState = BALL_STATE_FREE;
  poBall->iKind = iKind;
  poBall->iTargetX = x;
  poBall->iTargetHeight = h;
  poBall->iTargetY = y;
}

void PlayOneOf(const std::int32_t* paiEffects, std::int32_t cEffects) {
  sfx_Play(paiEffects[QMathRandRange(static_cast<std::uint32_t>(cEffects - 1))]);
}

void KickSoundA() {
  static const std::int32_t aiEffects[] = {0, 6};
  PlayOneOf(aiEffects, 2);
}
void KickSoundShot() {
  static const std::int32_t aiEffects[] = {1, 2, 3, 5};
  PlayOneOf(aiEffects, 4);
}

// Offset from the ball to (x, y) scaled by num / den, added to the ball.
void ScaledAim(std::int32_t x, std::int32_t y, std::int32_t iNum, std::int32_t iDen, std::int32_t* px,
               std::int32_t* py) {
  std::int32_t bx = ball_XGet(&ball_oBall);
  std::int32_t by = ball_YGet(&ball_oBall);
  *px = bx + (x - bx) * iNum / iDen;
  *py = by + (y - by) * iNum / iDen;
}

void PlaceOnGround(Ball* poBall) {
  poBall->iHeight128 = 0;
  poBall->iLandX = ball_XGet(poBall);
  poBall->iLandY = ball_YGet(poBall);
  poBall->iLandHeight = 0;
}

}  // namespace

std::int32_t ball_SinDeg(std::int32_t iDegrees) { return Sines().v[((iDegrees % 360) + 360) % 360]; }
std::int32_t ball_CosDeg(std::int32_t iDegrees) { return ball_SinDeg(iDegrees % 360 + 90); }

std::int32_t ball_HeadingTo(std::int32_t dx, std::int32_t dy) { return imath_Atan2(dy, dx); }

std::uint64_t ball_ISqrt(std::uint64_t v) {
  if (v < 2) return v;
  // Newton's iteration from above converges down onto the floor of the root.
  std::uint64_t x = v;
  std::uint64_t y = (x + 1) / 2;
  while (y < x) {
    x = y;
    y = (x + v / x) / 2;
  }
  return x;
}

void ball_CurlSetUp(Ball* poBall) {
  if (poBall->bCurl && poBall->iFlightDuration >= 3) {
    poBall->bCurl = 0;
    std::int32_t iDeg = HeadingDeg(poBall->iHeading) - 90;
    poBall->iCurveX = imath_CosScale(poBall->iCurveAmount, iDeg);
    poBall->iCurveY = imath_SinScale(poBall->iCurveAmount, iDeg);
    poBall->iStraightX128 = poBall->iX128;
    poBall->iStraightY128 = poBall->iY128;
    poBall->iCurvePhase = 8192;
    poBall->iCurvePhaseStep = 16384 / (poBall->iFlightDuration / 2);
    return;
  }
  poBall->iStraightX128 = poBall->iX128;
  poBall->iStraightY128 = poBall->iY128;
  poBall->iCurveX = 0;
  poBall->iCurveY = 0;
  poBall->iCurvePhase = 0;
  poBall->iCurvePhaseStep = 0;
}

void ball_SpinSet(Ball* poBall, std::int32_t iCurve) {
  poBall->iCurveAmount = iCurve * 128;
  poBall->bCurl = iCurve != 0;
}

// ---- Solvers ----------------------------------------------------------------

void ball_AngleLaunch(Ball* poBall, std::int32_t x, std::int32_t y, std::int32_t iDeg, std::int32_t iSpin) {
  poBall->iLaunchX = ball_XGet(poBall);
  poBall->iLaunchY = ball_YGet(poBall);
  poBall->iLaunchHeight = 0;
  std::int32_t dx = x - poBall->iLaunchX;
  std::int32_t dy = y - poBall->iLaunchY;
  if (dx == 0 && dy == 0) {
    poBall->iHeading = 0;
    ball_SpinSet(poBall, 0);
    ball_CurlSetUp(poBall);
    return;
  }
  std::int64_t d = static_cast<std::int64_t>(
      ball_ISqrt(static_cast<std::uint64_t>(static_cast<std::int64_t>(dx) * dx + static_cast<std::int64_t>(dy) * dy)));
  std::int64_t s = ball_SinDeg(iDeg);
  std::int64_t c = ball_CosDeg(iDeg);
  std::int64_t K = Shr(Shr(s * c, 14) * 75618, 14);
  if (K < 1) K = 1;  // a flat or vertical kick has no range; keep the division sound
  std::int64_t v = static_cast<std::int64_t>(ball_ISqrt(static_cast<std::uint64_t>((d << 14) / K)));
  poBall->iElevation = iDeg;
  poBall->iHSpeed = Clamp32(Shr(c * v, 7));
  poBall->iVSpeed = Clamp32(Shr(s * v, 14));
  poBall->iHeading = ball_HeadingTo(dx, dy);
  FlightFinish(poBall, SpinOrRandom(iSpin));
}

void ball_HeightAngleLaunch(Ball* poBall, std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iDeg,
                            std::int32_t iSpin) {
  poBall->iLaunchX = ball_XGet(poBall);
  poBall->iLaunchY = ball_YGet(poBall);
  std::int32_t iHeight = ball_HeightGet(poBall);
  poBall->iLaunchHeight = iHeight < 0 ? 0 : iHeight;
  if (iDeg < 0) iDeg += 360;
  std::int32_t dx = x - poBall->iLaunchX;
  std::int32_t dy = y - poBall->iLaunchY;
  std::int64_t d = static_cast<std::int64_t>(
      ball_ISqrt(static_cast<std::uint64_t>(static_cast<std::int64_t>(dx) * dx + static_cast<std::int64_t>(dy) * dy)));
  std::int64_t c = ball_CosDeg(iDeg);
  std::int64_t s = ball_SinDeg(iDeg);
  std::int64_t A = (static_cast<std::int64_t>(h - poBall->iLaunchHeight) * c * c) / 16384;
  std::int64_t B = ((s * c) / 16384) * d;
  std::int64_t iDen = (A - B) * 120;
  std::int64_t v = 5;
  if (iDen != 0) {
    std::int64_t iSquare = (d * d * -425984) / iDen;
    if (iSquare >= 0) v = static_cast<std::int64_t>(ball_ISqrt(static_cast<std::uint64_t>(iSquare)));
  }
  poBall->iElevation = iDeg;
  poBall->iHSpeed = Clamp32(Shr(c * v, 7));
  poBall->iVSpeed = Clamp32(Shr(s * v, 14));
  if (poBall->iVSpeed < 1) poBall->iVSpeed = 1;
  poBall->iHeading = ball_HeadingTo(dx, dy);
  FlightFinish(poBall, SpinOrRandom(iSpin));
}

void ball_SpeedLaunch(Ball* poBall, std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iPower,
                      std::int32_t iSpin) {
  SpeedSolve(poBall, x, h, y, iPower, false);
  FlightFinish(poBall, SpinOrRandom(iSpin));
}

void ball_SpeedLaunchTwin(Ball* poBall, std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iPower,
                          std::int32_t iSpin) {
  SpeedSolve(poBall, x, h, y, iPower, true);
  FlightFinish(poBall, SpinOrRandom(iSpin));
}

// ---- Launchers --------------------------------------------------------------

void ball_KickSoundB() {
  static const std::int32_t aiEffects[] = {1, 2, 4};
  PlayOneOf(aiEffects, 3);
}

void ball_GroundPassLaunch(std::int32_t x, std::int32_t y) {
  LaunchBegin(BALL_KIND_GROUND_PASS, x, 0, y);
  std::int32_t d = DistanceTo(&ball_oBall, x, y);
  std::int32_t iNum = 10;
  std::int32_t iDen = 16;
  if (d < 720) {
    iNum = 1;
    iDen = 1;
  } else if (d < 2160) {
    iNum = 14;
  } else if (d < 3600) {
    iNum = 11;
  }
  std::int32_t ax, ay;
  ScaledAim(x, y, iNum, iDen, &ax, &ay);
  ball_AngleLaunch(&ball_oBall, ax, ay, 5, 700);
  ball_PredictPath(&ball_oBall);
  KickSoundA();
}

void ball_HeaderPassLaunch(std::int32_t x, std::int32_t y) {
  LaunchBegin(BALL_KIND_GROUND_PASS, x, 0, y);
  std::int32_t d = DistanceTo(&ball_oBall, x, y);
  std::int32_t ax, ay;
  if (d < 1440 + 1) {
    ScaledAim(x, y, 7, 8, &ax, &ay);
  } else {
    ScaledAim(x, y, 5, 8, &ax, &ay);
  }
  ball_AngleLaunch(&ball_oBall, ax, ay, 7, -100);
  ball_PredictPath(&ball_oBall);
  KickSoundA();
}

void ball_HeaderLaunch(std::int32_t x, std::int32_t y) {
  LaunchBegin(BALL_KIND_HEADER, x, 0, y);
  std::int32_t ax, ay;
  ScaledAim(x, y, 3, 8, &ax, &ay);
  ball_AngleLaunch(&ball_oBall, ax, ay, 7, -500);
  ball_PredictPath(&ball_oBall);
  KickSoundA();
}

static void AngleKind(std::int32_t iKind, std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iDeg,
                      std::int32_t iSpin) {
  LaunchBegin(iKind, x, h, y);
  ball_AngleLaunch(&ball_oBall, x, y, iDeg, iSpin);
  ball_PredictPath(&ball_oBall);
}

void ball_VolleyLaunch(std::int32_t x, std::int32_t y, std::int32_t iDeg, std::int32_t iSpin) {
  AngleKind(BALL_KIND_VOLLEY, x, 0, y, iDeg, iSpin);
  ball_KickSoundB();
}

void ball_LoftLaunch(std::int32_t x, std::int32_t y, std::int32_t iDeg, std::int32_t iSpin) {
  AngleKind(BALL_KIND_LOFT, x, 0, y, iDeg, iSpin);
  ball_KickSoundB();
}

void ball_ReleaseLaunch(std::int32_t x, std::int32_t y, std::int32_t iDeg) {
  AngleKind(BALL_KIND_LOFT, x, 0, y, iDeg, 1300);
  ball_KickSoundB();
}

void ball_LobLaunch(std::int32_t x, std::int32_t y, std::int32_t iDeg, std::int32_t iSpin) {
  AngleKind(BALL_KIND_LOB, x, 0, y, iDeg, iSpin);
  sfx_Play(0);
}

void ball_StrikeLaunch(std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iDeg, std::int32_t iSpin) {
  AngleKind(BALL_KIND_STRIKE, x, h, y, iDeg, iSpin);
  ball_KickSoundB();
}

static void ShotKind(std::int32_t iKind, std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iSpeed,
                     bool bTwin) {
  LaunchBegin(iKind, x, h, y);
  Ball* poBall = &ball_oBall;
  SpeedSolve(poBall, x, h, y, iSpeed, bTwin);
  FlightFinish(poBall, (125 - poBall->iElevation) * 8);
  ball_PredictPath(poBall);
  KickSoundShot();
}

void ball_ShotLaunch(std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iSpeed) {
  ShotKind(BALL_KIND_SHOT, x, h, y, iSpeed, false);
}
void ball_ShotLaunchAlt(std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iSpeed) {
  ShotKind(BALL_KIND_SHOT, x, h, y, iSpeed, true);
}
void ball_ChipLaunch(std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iSpeed) {
  ShotKind(BALL_KIND_CHIP, x, h, y, iSpeed, false);
}

void ball_DropAtFeet(std::int32_t x, std::int32_t y) {
  LaunchBegin(BALL_KIND_LOB, x, 0, y);
  Ball* poBall = &ball_oBall;
  poBall->iLaunchX = ball_XGet(poBall);
  poBall->iLaunchY = ball_YGet(poBall);
  std::int32_t iHeight = ball_HeightGet(poBall);
  poBall->iLaunchHeight = iHeight < 0 ? 0 : iHeight;
  poBall->iHSpeed = 2;
  poBall->iVSpeed = 14;
  poBall->iHeading = 0;
  poBall->iElevation = 90;
  poBall->iLandX = poBall->iLaunchX;
  poBall->iLandY = poBall->iLaunchY;
  poBall->iLandHeight = 0;
  poBall->iT = 0;
  poBall->iLineFlags = 0;
  poBall->iBounceCountdown = 2;
  poBall->iFlightDuration = 66;
  poBall->iSpin = 0;
  ball_CurlSetUp(poBall);
  ball_PredictPath(poBall);
  KickSoundA();
}

void ball_ThrowLaunch(std::int32_t x, std::int32_t y, std::int32_t iDeg, std::int32_t iSpin) {
  LaunchBegin(BALL_KIND_THROW, x, 10, y);
  Ball* poBall = &ball_oBall;
  poBall->iHeight128 = 336 * 128;
  ball_SpinSet(poBall, 0);
  ball_HeightAngleLaunch(poBall, x, 10, y, iDeg - 15, iSpin);
  ball_PredictPath(poBall);
}

void ball_NudgeLaunch(std::int32_t x, std::int32_t y, std::int32_t iDeg, std::int32_t iSpin) {
  LaunchBegin(BALL_KIND_NUDGE, x, 0, y);
  Ball* poBall = &ball_oBall;
  ball_SpinSet(poBall, 0);
  ball_HeightAngleLaunch(poBall, x, 0, y, iDeg, iSpin);
  ball_PredictPath(poBall);
}

void ball_Deflect(std::int32_t iAngleAdd, std::int32_t iHeadingAdd) {
  Ball* poBall = &ball_oBall;
  std::int32_t iRise = (ball_HeightGet(poBall) - poBall->iStepStartHeight) * 128;
  std::int64_t iLen = static_cast<std::int64_t>(ball_ISqrt(static_cast<std::uint64_t>(
      static_cast<std::int64_t>(poBall->iHSpeed) * poBall->iHSpeed + static_cast<std::int64_t>(iRise) * iRise)));
  std::int64_t m = iLen / 2;
  if (m < 4096) m = 4096;
  std::int32_t a = QMathAtan2(poBall->iHSpeed, iRise) & 0xFFFF;
  // A rising ball keeps its climb plus the added angle; a falling one is
  // turned upward by the same angle; neither leaves steeper than 45 degrees.
  std::int32_t e = a < 32769 ? a + iAngleAdd : 65536 - a;
  if (e > 8192) e = 8192;
  e &= 0xFFFF;
  poBall->iHSpeed = Clamp32(((QMathCos(e) >> 4) * m) >> 12);
  poBall->iVSpeed = Clamp32((((QMathSin(e) >> 4) * m) >> 12) / 128);
  // Rounded up, so that the way back (x 803 >> 16) keeps a heading unturned.
  std::int32_t iHeading16 = (poBall->iHeading * 65536 + 802) / 803;
  poBall->iHeading =
      static_cast<std::int32_t>(((static_cast<std::int64_t>((iHeading16 + iHeadingAdd) & 0xFFFF) * 803) >> 16) % 802);
  poBall->iElevation = static_cast<std::int32_t>((static_cast<std::int64_t>(e) * 803) >> 16);
  poBall->iLaunchX = ball_XGet(poBall);
  poBall->iLaunchY = ball_YGet(poBall);
  std::int32_t iHeight = ball_HeightGet(poBall);
  poBall->iLaunchHeight = iHeight < 0 ? 0 : iHeight;
  poBall->iT = 0;
  poBall->iFlightDuration = 90;
  poBall->iSpin = 0;
  // The landing point of the new flight: where its arc from the launch height
  // meets the ground.
  // h(t) = vs t - 26 t^2 / 120 + h0 = 0, worked in 1024ths.
  std::int64_t vs = poBall->iVSpeed;
  std::int64_t iDisc = (vs * vs * 120 + 104 * static_cast<std::int64_t>(poBall->iLaunchHeight)) * 1024 * 1024 / 120;
  std::int64_t iRoot = static_cast<std::int64_t>(ball_ISqrt(static_cast<std::uint64_t>(iDisc)));
  std::int64_t iLandT = (vs * 1024 + iRoot) * 120 / (52 * 1024);
  std::int32_t iDeg = HeadingDeg(poBall->iHeading);
  poBall->iLandX = poBall->iLaunchX + Clamp32(imath_CosScale(poBall->iHSpeed, iDeg) * iLandT / 128);
  poBall->iLandY = poBall->iLaunchY + Clamp32(imath_SinScale(poBall->iHSpeed, iDeg) * iLandT / 128);
  poBall->iLandHeight = 0;
  if (poBall->poOwner != nullptr) newballA_OwnerSet(nullptr, 0);
  poBall->iState = BALL_STATE_FREE;
  ball_SpinSet(poBall, 0);
  ball_CurlSetUp(poBall);
  ball_PredictPath(poBall);
}

void ball_VectorLaunch(std::int32_t iSpeed, std::int32_t iHeadingDeg, std::int32_t iElevationDeg, std::int32_t iSpin) {
  Ball* poBall = &ball_oBall;
  if (poBall->poOwner != nullptr) newballA_OwnerSet(nullptr, 0);
  poBall->iState = BALL_STATE_FREE;
  poBall->iLaunchX = ball_XGet(poBall);
  poBall->iLaunchY = ball_YGet(poBall);
  poBall->iLaunchHeight = 0;
  poBall->iHeight128 = 0;
  poBall->iHeading = iHeadingDeg * 802 / 360;
  poBall->iElevation = iElevationDeg;
  poBall->iHSpeed = ball_CosDeg(iElevationDeg) * iSpeed / 128;
  poBall->iVSpeed = ball_SinDeg(iElevationDeg) * iSpeed / 16384;
  if (poBall->iHSpeed == 0 && poBall->iVSpeed == 0) {
    poBall->iKind = BALL_KIND_NONE;
    PlaceOnGround(poBall);
    ball_CurlSetUp(poBall);
    ball_PredictPath(poBall);
    return;
  }
  FlightFinish(poBall, SpinOrRandom(iSpin));
  ball_PredictPath(poBall);
}

// ---- Stepping ---------------------------------------------------------------

std::int32_t ball_FlightStep(Ball* poBall, std::int32_t bReal) {
  std::int32_t bNoBounce = 1;
  ball_iStepCounter++;
  if (ball_iStepCounter == 15) chaser_StepHandOver();

  poBall->iStepStartX = ball_XGet(poBall);
  poBall->iStepStartHeight = ball_HeightGet(poBall);
  poBall->iStepStartY = ball_YGet(poBall);
  std::int32_t iDeg = HeadingDeg(poBall->iHeading);
  std::int32_t hx = imath_CosScale(poBall->iHSpeed, iDeg);
  std::int32_t hy = imath_SinScale(poBall->iHSpeed, iDeg);
  poBall->iT += 2;

  std::int32_t iHeight;
  if (poBall->iVSpeed != 0) {
    std::int32_t t = poBall->iT;
    iHeight = poBall->iVSpeed * t - (t * t * 26) / 120 + poBall->iLaunchHeight;
    if (iHeight < 0) {
      bNoBounce = 0;
      if (bReal && poBall->bBounceSound) sfx_Play(8);
      poBall->iT = 0;
      std::int32_t iOldSpin = poBall->iSpin;
      std::int32_t iOldHSpeed = poBall->iHSpeed;
      poBall->iSpin = (iOldHSpeed / 4 + iOldSpin) / 2;
      std::int32_t iVSpeed = ((iHeight - poBall->iStepStartHeight) / 2 * -70) / 128;
      if (iVSpeed == 1) iVSpeed = 0;
      poBall->iVSpeed = iVSpeed;
      poBall->iLaunchHeight = 0;
      if (poBall->iCurveX != 0 || poBall->iCurveY != 0) {
        poBall->iHeading = ball_HeadingTo(poBall->iX128 - poBall->iPrevX128, poBall->iY128 - poBall->iPrevY128);
      }
      poBall->iHSpeed = iOldSpin + iOldHSpeed * 70 / 128;
      std::int32_t T = 256 + poBall->iVSpeed * 7680 / 13;
      poBall->iLaunchX = (poBall->iX128 + hx) / 128;
      poBall->iLaunchY = (poBall->iY128 + hy) / 128;
      std::int32_t iNewDeg = HeadingDeg(poBall->iHeading);
      poBall->iLandX = poBall->iLaunchX + Clamp32(static_cast<std::int64_t>(imath_CosScale(poBall->iHSpeed, iNewDeg)) * T / 16384);
      poBall->iLandY = poBall->iLaunchY + Clamp32(static_cast<std::int64_t>(imath_SinScale(poBall->iHSpeed, iNewDeg)) * T / 16384);
      poBall->iLandHeight = 0;
      poBall->iFlightDuration = T / 128;
      if (poBall->iBounceCountdown > 0) poBall->iBounceCountdown--;
      poBall->iCurveAmount = 0;
      poBall->iCurveX = 0;
      poBall->iCurveY = 0;
      poBall->iCurvePhase = 0;
      poBall->iCurvePhaseStep = 0;
      iHeight = 0;
    }
    poBall->iRollAngle += (poBall->iSpin << 7) / (36 * 157 * 2) / 8;
  } else {
    poBall->iKind = BALL_KIND_ROLLING;
    std::int32_t iOldSpin = poBall->iSpin;
    poBall->iSpin = iOldSpin / 3;
    poBall->iHSpeed += iOldSpin / 5 - 60;
    if (poBall->iHSpeed < 10) poBall->iHSpeed = 0;
    iHeight = 0;
    poBall->iLandX = (poBall->iX128 + hx) / 128;
    poBall->iLandY = (poBall->iY128 + hy) / 128;
    poBall->iLandHeight = 0;
    poBall->iRollAngle += (poBall->iHSpeed << 14) / (36 * 157 * 2) / 8;
  }

  // The straight line and the target it passes.
  std::int32_t iOldSX = poBall->iStraightX128;
  std::int32_t iOldSY = poBall->iStraightY128;
  poBall->iStraightX128 += 2 * hx;
  poBall->iStraightY128 += 2 * hy;
  std::int64_t tx = static_cast<std::int64_t>(poBall->iTargetX) * 128;
  std::int64_t ty = static_cast<std::int64_t>(poBall->iTargetY) * 128;
  auto Passes = [](std::int64_t a, std::int64_t b, std::int64_t v) { return (a <= v && v <= b) || (b <= v && v <= a); };
  if (Passes(iOldSX, poBall->iStraightX128, tx)) poBall->iLineFlags |= 1;
  if (Passes(iOldSY, poBall->iStraightY128, ty)) poBall->iLineFlags |= 2;
  if ((poBall->iLineFlags & 3) == 3) {
    poBall->iTargetX = poBall->iStraightX128 / 128;
    poBall->iTargetY = poBall->iStraightY128 / 128;
  }

  // Curl about the straight line.
  poBall->iPrevX128 = poBall->iX128;
  poBall->iPrevY128 = poBall->iY128;
  poBall->iCurvePhase += poBall->iCurvePhaseStep;
  std::int32_t iSweep = 0;
  if (poBall->iCurveX != 0 || poBall->iCurveY != 0) {
    static const std::int32_t s_iSweepStart = CurlSweep(8192);
    iSweep = CurlSweep(poBall->iCurvePhase) - s_iSweepStart;
  }
  poBall->iX128 = poBall->iStraightX128 + iSweep * poBall->iCurveX / 128;
  poBall->iY128 = poBall->iStraightY128 + iSweep * poBall->iCurveY / 128;
  poBall->iHeight128 = iHeight * 128;

  if (poBall->iHSpeed == 0 && poBall->iVSpeed == 0 && poBall->iKind != BALL_KIND_NONE) {
    if (bReal) mpenso_RecordKick(0);
    poBall->iKind = BALL_KIND_NONE;
    PlaceOnGround(poBall);
    if (bReal) {
      touch_ContactClear();
      chaser_Choose();
    }
  }

  if (bReal) {
    // Rotation for drawing (a prediction's copy is never drawn).
    std::int32_t iHeadDeg = HeadingDeg(poBall->iHeading);
    poBall->iSpinAxisX = 4 * ball_SinDeg(iHeadDeg);
    poBall->iSpinAxisY = 0;
    poBall->iSpinAxisZ = 4 * ball_CosDeg(iHeadDeg);
    poBall->iSpinRate = poBall->iKind == BALL_KIND_ROLLING ? 36 * poBall->iHSpeed * 401 / 128 / 32 : poBall->iSpin * 10;

    ball_iPathIndex++;
    ball_GoalFrameCollide(poBall);
    ball_OutOfPlayCheck(poBall);
    if (poBall->poTargetPlayer != nullptr) {
      std::int64_t dx = ball_XGet(poBall) - poBall->iTargetPointX;
      std::int64_t dy = ball_YGet(poBall) - poBall->iTargetPointY;
      if (dx * dx + dy * dy < 48 * 48) poBall->poTargetPlayer = nullptr;
    }
  }
  return bNoBounce;
}

void ball_Update() {
  Ball* poBall = &ball_oBall;
  if (!poBall->bActive) return;
  if (poBall->poOwner == nullptr) poBall->iFramesWithoutOwner++;
  switch (poBall->iState) {
    case BALL_STATE_FREE:
      // A ball somebody has taken flies no further, whatever the mode he took
      // it in: a flight stepped on under his hold would start each tick from
      // the height the step before reached, and climb without end.
      if (poBall->poOwner != nullptr) poBall->iKind = BALL_KIND_NONE;
      if (poBall->iKind != BALL_KIND_NONE) {
        ball_FlightStep(poBall, 1);
      } else {
        PlaceOnGround(poBall);
        // Still in open play: taken where the take leaves it free (a keeper's
        // catch at a free kick) and carried over a line, or come to rest
        // beyond one while nobody judged it (it went over during a restart),
        // it is out there as a held or moving ball is. So is one carried
        // over at the keeper's ball that followed such a catch.
        const GameMode eMode = global_eGetGameMode();
        if (eMode == GAME_MODE_PLAY || (eMode == GAME_MODE_KEEPER_HANDS && poBall->poOwner != nullptr))
          ball_OutOfPlayCheck(poBall);
      }
      break;
    case BALL_STATE_HELD:
      poBall->iKind = BALL_KIND_NONE;
      if (global_eGetGameMode() != GAME_MODE_SET_PIECE_SCRIPT) ball_OutOfPlayCheck(poBall);
      break;
    case BALL_STATE_PLACED:
      PlaceOnGround(poBall);
      break;
    default:
      break;
  }
}

void ball_PredictPath(Ball* poBall) {
  Ball oCopy = *poBall;
  ball_aPath[0] = {0, ball_XGet(&oCopy), ball_HeightGet(&oCopy), ball_YGet(&oCopy), 0};
  ball_iPathApex = 0;
  for (std::int32_t i = 1; i < BALL_PATH_MAX; i++) {
    std::int32_t bBounce = ball_FlightStep(&oCopy, 0) == 0;
    ball_aPath[i] = {i, ball_XGet(&oCopy), ball_HeightGet(&oCopy), ball_YGet(&oCopy), bBounce};
    if (ball_iPathApex == 0 && ball_aPath[i].iHeight < ball_aPath[i - 1].iHeight) ball_iPathApex = i;
  }
  ball_iStepCounter = 0;
  ball_iPathLength = BALL_PATH_MAX;
  ball_iPathIndex = 0;
  std::int32_t iSide = 0;
  std::int32_t iOutcome = ball_OutcomeClassify(&iSide);
  ball_OutcomeSet(iOutcome, iSide);
  if (iOutcome == BALL_OUTCOME_ON_TARGET || iOutcome == BALL_OUTCOME_GOAL) ball_ShotStatsAdd(iOutcome, iSide);
  if (global_eGetGameMode() != GAME_MODE_THROW_IN) chaser_Choose();
  if (poBall->iKind != BALL_KIND_THROW && poBall->iKind != BALL_KIND_DEFLECT) referee_OffsideCheck(poBall);
}

std::int32_t ball_OutcomeClassify(std::int32_t* piSide) {
  GameMode eMode = global_eGetGameMode();
  if (eMode == GAME_MODE_PENALTY || eMode == GAME_MODE_SHOOTOUT) {
    *piSide = ball_XGet(&ball_oBall) < 0 ? 1 : 2;
    return BALL_OUTCOME_PENALTY;
  }
  *piSide = 0;
  if (ball_iPathLength <= 0) return BALL_OUTCOME_NOTHING;
  bool bOnTarget = false;
  bool bNearGoal = false;
  for (std::int32_t i = 0; i < ball_iPathLength; i++) {
    const BallPathEntry& e = ball_aPath[i];
    std::int32_t iSide = e.iX < 0 ? 1 : 2;
    std::int32_t ax = std::abs(e.iX);
    std::int32_t ay = std::abs(e.iY);
    if (ax > BALL_GOAL_LINE_X) {
      *piSide = iSide;
      if (ay < 576 && e.iHeight < 384) return BALL_OUTCOME_GOAL;
      if (ay < 864 && e.iHeight < 528) return BALL_OUTCOME_ON_TARGET;
      if (bNearGoal && i >= 30) continue;
      return BALL_OUTCOME_WIDE;
    }
    if (ax > 9072 && ay < 576 && e.iHeight < 432) {
      bOnTarget = true;
      *piSide = iSide;
    }
    if (ax > 8064 && ay < 864 && e.iHeight < 432) {
      if (!bNearGoal && !bOnTarget) *piSide = iSide;
      bNearGoal = true;
    }
  }
  if (bOnTarget) return BALL_OUTCOME_ON_TARGET;
  if (!bNearGoal) {
    *piSide = ball_aPath[ball_iPathLength - 1].iX < 0 ? 1 : 2;
    return BALL_OUTCOME_NOTHING;
  }
  return BALL_OUTCOME_NEAR_GOAL;
}

void ball_OutOfPlayCheck(Ball* poBall) {
  std::int32_t x = ball_XGet(poBall);
  std::int32_t y = ball_YGet(poBall);
  if (!ball_bOverALine(x, y)) return;
  if (ball_bOverTouchLine(y)) {
    target_Clear();
    referee_Update(0, x, y);
  } else {
    referee_Update(x < 0 ? 1 : 2, x, y);
  }
}

void ball_OutcomeSet(std::int32_t iOutcome, std::int32_t iSide) {
  ball_iOutcome = iOutcome;
  ball_iOutcomeSide = iSide;
}
std::int32_t ball_OutcomeGet() { return ball_iOutcome; }
std::int32_t ball_OutcomeSideGet() { return ball_iOutcomeSide; }
void ball_OutcomeClear() {
  ball_iOutcome = BALL_OUTCOME_NOTHING;
  ball_iOutcomeSide = 0;
}

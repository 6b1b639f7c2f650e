// The match camera: type table, stack, per-type routines, view basis, fade
// and the replay's free camera moves.
#include "matchflow/camera.h"

#include <cmath>
#include <cstring>

#include "engine/action.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "framework/math/qvector.h"
#include "framework/math/trigw.h"
#include "framework/qdx_assert.h"
#include "frontend/frontend_services.h"
#include "matchflow/matchstate.h"
#include "matchflow/replay.h"
#include "matchflow/virtdir.h"
#include "scene3d/scene3d_services.h"
#include "shell/draw2d.h"
#include "shell/global.h"
#include "shell/imath.h"
#include "shell/pause.h"

CameraType camera_aoTypes[CAMERA_TYPES_MAX];
const char* camera_apszCodes[CAMERA_TYPES_MAX];

const CameraBroadcastParams camera_aoBroadcastParams[5] = {
    {CAMERA_NOR, 12, 5461, 4320, 3600, 1008, 576, 576},  {CAMERA_FAR, 12, 5461, 5040, 3600, 1152, 864, 576},
    {CAMERA_VFR, 12, 7281, 5760, 3600, 1152, 1152, 576}, {CAMERA_CLO, 14, 4004, 3600, 3600, 288, 288, 288},
    {CAMERA_VCL, 16, 2730, 2880, 3600, -144, 288, 0},
};

namespace {
void camera_DefaultTarget(std::intptr_t, std::int32_t* px, std::int32_t* ph, std::int32_t* py) {
  ball_PositionGet(ball_Get(), px, ph, py);
}

// Free camera words.
constexpr std::int32_t kMoveStep = 96;
constexpr std::int32_t kTurnStep = 2;
constexpr std::int32_t kZoomStep = 48;
// The free camera's view radius: how far ahead of the eye a turn puts the
// target, and the radius the zoom starts from.
constexpr std::int32_t kViewRadius = 4320;

constexpr CameraMatch camera_MatchFresh() {
  CameraMatch o{};
  o.oView.aiEye[1] = 7200;
  o.oView.aiEye[2] = 14400;
  o.oView.pfnTarget = camera_DefaultTarget;
  o.iViewRadius = kViewRadius;
  o.iStackPointer = -1;
  return o;
}
constexpr CameraMatch kCameraFresh = camera_MatchFresh();

}  // namespace

CameraMatch camera_oMatch = kCameraFresh;
CameraBroadcast& camera_oBroadcast = camera_oMatch.oBroadcast;
CameraFade& camera_oFade = camera_oMatch.oFade;
std::int32_t (&camera_aiStack)[CAMERA_STACK_MAX] = camera_oMatch.aiStack;
std::int32_t& camera_iStackPointer = camera_oMatch.iStackPointer;
std::uint16_t& camera_uOrbitAngle = camera_oMatch.uOrbitAngle;
std::int32_t (&camera_aiThrowView)[6] = camera_oMatch.aiThrowView;
std::int32_t (&camera_aiSavedView)[6] = camera_oMatch.aiSavedView;
Player*& camera_poCelebrationPlayer = camera_oMatch.poCelebrationPlayer;

namespace {

CameraView& s_oView = camera_oMatch.oView;
std::int32_t& s_bViewValid = camera_oMatch.bViewValid;
std::int32_t& s_bTrackMode = camera_oMatch.bTrackMode;
std::int32_t (&s_aiStraightStep)[3] = camera_oMatch.aiStraightStep;
std::int32_t& s_iStraightFrames = camera_oMatch.iStraightFrames;
std::int32_t& s_bStraightReset = camera_oMatch.bStraightReset;
std::int32_t& s_iViewRadius = camera_oMatch.iViewRadius;

std::int32_t camera_Clamp(std::int32_t v, std::int32_t lo, std::int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Moves a lead by 24 towards a wanted value when more than 24 away.
std::int32_t camera_LeadTowards(std::int32_t iLead, std::int32_t iWanted) {
  if (iLead < iWanted - 24) return iLead + 24;
  if (iLead > iWanted + 24) return iLead - 24;
  return iLead;
}

std::int32_t camera_Heading802(std::int32_t dx, std::int32_t dy) { return imath_Atan2(dx, dy); }
std::int32_t camera_HeadingDegrees(std::int32_t dx, std::int32_t dy) { return camera_Heading802(dx, dy) * 180 / 401; }
}  // namespace

std::int32_t camera_HeadingToAngle(std::int32_t iHeading) {
  return static_cast<std::int32_t>(static_cast<std::int64_t>(iHeading) * 65536 / 803);
}

std::int32_t camera_CosScale(std::int32_t iAngle, std::int32_t r) {
  return static_cast<std::int32_t>((static_cast<std::int64_t>(QMathCos(iAngle) >> 4) * r) >> 12);
}

std::int32_t camera_SinScale(std::int32_t iAngle, std::int32_t r) {
  return static_cast<std::int32_t>((static_cast<std::int64_t>(QMathSin(iAngle) >> 4) * r) >> 12);
}

// ---- Types ------------------------------------------------------------------------------

void camera_TypesClear() {
  for (std::int32_t i = 0; i < CAMERA_TYPES_MAX; i++) {
    camera_aoTypes[i] = CameraType{0, {0, 0, 0, 0}, i, 3, nullptr};
    camera_apszCodes[i] = nullptr;
  }
}

void camera_TypeRegister(const char* pszCode, std::int32_t iId, std::int32_t iKind, CameraUpdateFn pfnUpdate) {
  QDX_ASSERT(iId >= 0 && iId < CAMERA_TYPES_MAX);
  CameraType& t = camera_aoTypes[iId];
  if (t.bUsed) return;
  t.bUsed = 1;
  std::memcpy(t.acCode, pszCode, 3);
  t.acCode[3] = 0;
  t.iId = iId;
  t.iKind = iKind;
  t.pfnUpdate = pfnUpdate;
  camera_apszCodes[iId] = t.acCode;
}

void camera_TypesRegister() {
  camera_TypesClear();
  camera_TypeRegister("NOR", CAMERA_NOR, 1, camera_BroadcastUpdate);
  camera_TypeRegister("FAR", CAMERA_FAR, 1, camera_BroadcastUpdate);
  camera_TypeRegister("CLO", CAMERA_CLO, 1, camera_BroadcastUpdate);
  camera_TypeRegister("CRN", CAMERA_CRN, 1, camera_CornerUpdate);
  camera_TypeRegister("GOK", CAMERA_GOK, 1, camera_GoalKickUpdate);
  camera_TypeRegister("RPY", CAMERA_RPY, 1, camera_ReplayUpdate);
  camera_TypeRegister("SUB", CAMERA_SUB, 1, camera_SubUpdate);
  camera_TypeRegister("VIR", CAMERA_VIR, 1, virtdir_Update);
  camera_TypeRegister("PEN", CAMERA_PEN, 1, camera_PenaltyUpdate);
  camera_TypeRegister("DBG", CAMERA_DBG, 1, camera_DebugUpdate);
  camera_TypeRegister("FRK", CAMERA_FRK, 1, camera_FreeKickUpdate);
  camera_TypeRegister("THR", CAMERA_THR, 1, camera_ThrowInUpdate);
  camera_TypeRegister("VCL", CAMERA_VCL, 1, camera_BroadcastUpdate);
  camera_TypeRegister("AGK", CAMERA_AGK, 1, camera_StraightUpdate);
  camera_TypeRegister("CEL", CAMERA_CEL, 1, camera_CelebrationUpdate);
  camera_TypeRegister("VFR", CAMERA_VFR, 1, camera_BroadcastUpdate);
}

std::int32_t camera_bIsTypeRegistered(std::int32_t iId) {
  return iId >= 0 && iId < CAMERA_TYPES_MAX && camera_aoTypes[iId].bUsed ? 1 : 0;
}

std::int32_t camera_iTypeKindGet(std::int32_t iId) { return camera_bIsTypeRegistered(iId) ? camera_aoTypes[iId].iKind : 3; }
std::int32_t camera_iKindGet() { return s_oView.iKind; }
CameraView* camera_poViewGet() { return &s_oView; }
std::int32_t camera_iCurrentGet() { return s_oView.iCurrent; }

void camera_ZoomCheck(std::int32_t iZoom) {
  QDX_ASSERT(iZoom >= -50);
  QDX_ASSERT(iZoom <= 50);
}

// ---- Set-up and stack -----------------------------------------------------------------------

void camera_Init() {
  camera_oBroadcast.iId = CAMERA_NOR;
  s_oView.iTargetArg = 0;
  for (std::int32_t i = 0; i < 3; i++) {
    s_oView.aiTarget[i] = 0;
    s_oView.abUp[i] = 0;
  }
  s_oView.aiEye[0] = 0;
  s_oView.aiEye[1] = 7200;
  s_oView.aiEye[2] = 14400;
  camera_iStackPointer = -1;
  static const std::int32_t aiFirst[5] = {CAMERA_VCL, CAMERA_CLO, CAMERA_NOR, CAMERA_FAR, CAMERA_VFR};
  const std::int32_t iOption = mcondi_CameraGet();
  QDX_ASSERT(iOption >= 0 && iOption < 5);
  camera_Push(aiFirst[iOption]);
}

MatchStateBlock camera_MatchState() { return {"camera", &camera_oMatch, sizeof camera_oMatch}; }
void camera_MatchReset() {
  // A fade left running (a match quit behind its white screen) or a release
  // left asked for would swallow this match's first fade: the walk-on waits
  // for a hold that never comes.
  matchstate_Restore(camera_oMatch, kCameraFresh);
}

void camera_Activate(std::int32_t iId) {
  if (!camera_bIsTypeRegistered(iId)) return;
  const CameraType& t = camera_aoTypes[iId];
  s_oView.iCurrent = iId;
  s_oView.pfnUpdate = t.pfnUpdate;
  s_oView.iKind = t.iKind;
  QDX_ASSERT(t.iKind >= 0 && t.iKind <= 2);
  for (std::int32_t i = 0; i < 3; i++) s_oView.abUp[i] = i == t.iKind ? 1 : 0;
  if (iId == CAMERA_NOR || iId == CAMERA_FAR || iId == CAMERA_CLO || iId == CAMERA_VCL || iId == CAMERA_VFR) {
    camera_oBroadcast.iId = iId;
    camera_BroadcastStart();
  }
}

void camera_Push(std::int32_t iId) {
  camera_iStackPointer++;
  QDX_ASSERT(camera_iStackPointer < 5);
  camera_Activate(iId);
  camera_aiStack[camera_iStackPointer] = s_oView.iCurrent;
}

void camera_PushIfNew(std::int32_t iId) {
  if (camera_iStackPointer >= 0 && camera_aiStack[camera_iStackPointer] == iId) return;
  camera_Push(iId);
}

void camera_TargetSourceDefault() {
  s_oView.pfnTarget = camera_DefaultTarget;
  s_oView.iTargetArg = 0;
}

void camera_Pop() {
  camera_TargetSourceDefault();
  if (camera_iStackPointer <= 0) return;  // the base slot stays
  camera_iStackPointer--;
  camera_Activate(camera_aiStack[camera_iStackPointer]);
}

void camera_Reset() {
  camera_iStackPointer = 0;
  camera_TargetSourceDefault();
  camera_Activate(camera_aiStack[0]);
}

void camera_Reset2() { camera_Reset(); }

void camera_PushWithDefaultSource(std::int32_t iId) {
  camera_TargetSourceDefault();
  camera_Push(iId);
}

void camera_TargetNone(std::intptr_t, std::int32_t*, std::int32_t*, std::int32_t*) {}

void camera_PushNone() {
  camera_Push(CAMERA_NONE9);
  camera_TargetSourceSet(0, camera_TargetNone);
  s_oView.iPhase = 0;
}

void camera_TargetSourceSet(std::intptr_t iArg, CameraTargetFn pfnSource) {
  s_oView.iTargetArg = iArg;
  s_oView.pfnTarget = pfnSource;
}

// ---- Per tick -------------------------------------------------------------------------------

void camera_Update() {
  CameraView& v = s_oView;
  if (v.pfnTarget) v.pfnTarget(v.iTargetArg, &v.aiTarget[0], &v.aiTarget[1], &v.aiTarget[2]);
  if (v.pfnUpdate) v.pfnUpdate();

  QMathVec3 fwd = {static_cast<float>(v.aiTarget[0] - v.aiEye[0]), static_cast<float>(v.aiTarget[1] - v.aiEye[1]),
                   static_cast<float>(v.aiTarget[2] - v.aiEye[2])};
  if (fwd.x == 0.0f && fwd.y == 0.0f && fwd.z == 0.0f) fwd.z = 1.0f;  // eye on the target: keep a basis
  QMathVec3Normalise(&fwd, &fwd);
  const QMathVec3 a = {static_cast<float>(v.abUp[0]), static_cast<float>(v.abUp[1]), static_cast<float>(v.abUp[2])};
  const float d = QMathVec3Dot(&a, &fwd);
  QMathVec3 up = {a.x - fwd.x * d, a.y - fwd.y * d, a.z - fwd.z * d};
  if (QMathVec3Length(&up) < 1e-6f) up = {0.0f, 0.0f, 1.0f};  // looking straight along the up axis
  QMathVec3Normalise(&up, &up);
  QMathVec3 right;
  QMathVec3Cross(&right, &fwd, &up);
  QMathVec3Normalise(&right, &right);
  const QMathVec3* apCol[3] = {&right, &up, &fwd};
  for (std::int32_t c = 0; c < 3; c++) {
    const float af[3] = {apCol[c]->x, apCol[c]->y, apCol[c]->z};
    for (std::int32_t r = 0; r < 3; r++) {
      v.oRotation.m[r * 4 + c] = af[r];
      v.oRotation2.m[r * 4 + c] = af[r];
    }
  }
  v.oRotation.m[15] = v.oRotation2.m[15] = 1.0f;
  pcframe_CameraStore();
  s_bViewValid = 1;
  camera_FadeUpdate();
}

std::int32_t camera_bIsViewValid() { return s_bViewValid; }
void camera_ViewInvalidate() { s_bViewValid = 0; }

// ---- Broadcast ------------------------------------------------------------------------------

void camera_BroadcastStart() {
  for (const CameraBroadcastParams& o : camera_aoBroadcastParams)
    if (o.iId == camera_oBroadcast.iId) camera_oBroadcast.oParams = o;
  std::int32_t x, h, y;
  ball_PositionGet(ball_Get(), &x, &h, &y);
  s_oView.aiTarget[0] = x;
  s_oView.aiTarget[1] = h;
  s_oView.aiTarget[2] = y;
  camera_BroadcastUpdate();
  camera_oBroadcast.aiSmoothTarget[0] = x * 256;
  camera_oBroadcast.aiSmoothEye[0] = x * 256;
  camera_oBroadcast.iForwardLead = 0;
}

void camera_BroadcastUpdate() {
  CameraBroadcast& b = camera_oBroadcast;
  const CameraBroadcastParams& p = b.oParams;
  Player* poHolder = ball_OwnerGet();
  if (poHolder) {
    if (poHolder->Direction == 1) {
      if (b.iForwardLead < p.l) b.iForwardLead += 24;
      else if (b.iForwardLead > p.l + 24) b.iForwardLead -= 24;
    } else {
      if (b.iForwardLead > -p.l) b.iForwardLead -= 24;
      else if (b.iForwardLead < -p.l - 24) b.iForwardLead += 24;
    }
    if (b.iLateralLead < 24) b.iLateralLead += 24;
    else if (b.iLateralLead >= 48) b.iLateralLead -= 24;
    s_oView.aiTarget[0] = poHolder->x;
    s_oView.aiTarget[1] = 0;
    s_oView.aiTarget[2] = poHolder->y;
  } else {
    const std::int32_t c = camera_HeadingToAngle(ball_Get()->iHeading);
    b.iForwardLead = camera_LeadTowards(b.iForwardLead, camera_CosScale(c, p.r));
    b.iLateralLead = camera_LeadTowards(b.iLateralLead, camera_SinScale(c, p.r));
  }
  b.aiTarget[0] = camera_Clamp(s_oView.aiTarget[0] + b.iForwardLead, -9360, 9360);
  b.aiTarget[1] = 0;
  b.aiTarget[2] = camera_Clamp(s_oView.aiTarget[2] + b.iLateralLead, p.f - 5760, 5760);

  for (std::int32_t i = 0; i < 3; i++) {
    const std::int32_t iDelta = camera_Clamp(b.aiTarget[i] * 256 - b.aiSmoothTarget[i], -1228800, 1228800);
    b.aiSmoothTarget[i] += iDelta / 4;
    s_oView.aiTarget[i] = b.aiSmoothTarget[i] >> 8;
  }

  std::int32_t aiEye[3];
  aiEye[0] = b.iForwardLead / 2 + (p.p * s_oView.aiTarget[0]) / 16;
  aiEye[1] = static_cast<std::int32_t>(static_cast<std::int64_t>(action_AngleTan(p.e)) * p.d / 16384);
  aiEye[2] = camera_Clamp(s_oView.aiTarget[2] - p.d, -5760 - p.m, 5760 + p.m);
  for (std::int32_t i = 0; i < 3; i++) {
    std::int32_t iDelta = aiEye[i] * 256 - b.aiSmoothEye[i];
    if (i != 0) iDelta = camera_Clamp(iDelta, -1228800, 1228800);
    b.aiSmoothEye[i] += iDelta / 10;
    s_oView.aiEye[i] = b.aiSmoothEye[i] >> 8;
  }
}

// ---- Set-piece cameras ----------------------------------------------------------------------

void camera_CornerUpdate() {
  s_oView.aiTarget[0] = s_oView.aiEye[0] >= 1 ? 7920 : -7920;
  s_oView.aiTarget[1] = 0;
  s_oView.aiTarget[2] = 0;
}

void camera_GoalKickUpdate() {
  Player* poTaker = setp_poGetKickTaker();
  if (!poTaker) return;
  const std::int32_t a = camera_HeadingToAngle(poTaker->iDisplayFacing);
  s_oView.aiEye[0] = poTaker->x + camera_CosScale(a, -1900);
  s_oView.aiEye[1] = 700;
  s_oView.aiEye[2] = poTaker->y + camera_SinScale(a, -1900);
  s_oView.aiTarget[0] = poTaker->x;
  s_oView.aiTarget[1] = 384;
  s_oView.aiTarget[2] = poTaker->y;
  camera_uOrbitAngle = static_cast<std::uint16_t>(a);
  for (std::int32_t i = 0; i < 3; i++) {
    camera_aiSavedView[i] = s_oView.aiEye[i];
    camera_aiSavedView[3 + i] = s_oView.aiTarget[i];
  }
}

void camera_SubUpdate() {
  s_oView.aiEye[0] = 4320;
  s_oView.aiEye[1] = 960;
  s_oView.aiEye[2] = -9360;
  s_oView.aiTarget[0] = -8640;
  s_oView.aiTarget[1] = 480;
  s_oView.aiTarget[2] = 0;
}

void camera_PenaltyUpdate() {
  const std::int32_t s = ball_CurXGet() < 1 ? -1 : 1;
  s_oView.aiEye[0] = s * 5500;
  s_oView.aiEye[1] = 2000;
  s_oView.aiEye[2] = -2100;
  s_oView.aiTarget[0] = s * 8900;
  s_oView.aiTarget[1] = 0;
  s_oView.aiTarget[2] = 500;
}

void camera_DebugUpdate() {}

void camera_TrackModeSet(std::int32_t bFlag) { s_bTrackMode = bFlag; }

void camera_AngleSet(std::int32_t iHeading) {
  camera_uOrbitAngle = static_cast<std::uint16_t>(camera_HeadingToAngle(iHeading));
}

void camera_FreeKickUpdate() {
  const std::uint16_t uAim = static_cast<std::uint16_t>(camera_HeadingToAngle(setp_AngleGet()));
  const std::int16_t iDiff = static_cast<std::int16_t>(static_cast<std::uint16_t>(uAim - camera_uOrbitAngle));
  if (iDiff > 273) camera_uOrbitAngle = static_cast<std::uint16_t>(camera_uOrbitAngle + 273);
  else if (iDiff < -273) camera_uOrbitAngle = static_cast<std::uint16_t>(camera_uOrbitAngle - 273);
  else camera_uOrbitAngle = uAim;
  std::int32_t x, h, y;
  ball_PositionGet(ball_Get(), &x, &h, &y);
  const std::int32_t a = camera_uOrbitAngle;
  s_oView.aiEye[0] = x - camera_CosScale(a, 4320);
  s_oView.aiEye[1] = 1728;
  s_oView.aiEye[2] = y - camera_SinScale(a, 4320);
  const double dx = s_bTrackMode == 1 ? 9360.0 - x : x + 9360.0;
  std::int32_t g = static_cast<std::int32_t>(std::sqrt(dx * dx + static_cast<double>(y) * y));
  if (g > 9360) g = 9360;
  s_oView.aiTarget[0] = x + camera_CosScale(a, g / 2);
  s_oView.aiTarget[1] = 0;
  s_oView.aiTarget[2] = y + camera_SinScale(a, g / 2);
}

void camera_ThrowInUpdate() {
  for (std::int32_t i = 0; i < 3; i++) {
    s_oView.aiEye[i] = camera_aiThrowView[i];
    s_oView.aiTarget[i] = camera_aiThrowView[3 + i];
  }
}

void camera_PathStepSet(const std::int32_t aiStart[3], const std::int32_t aiEnd[3], std::int32_t iFrames,
                        std::int32_t bReset) {
  s_bStraightReset = bReset;
  if (iFrames <= 0) {
    // No frames to move over: the eye goes to the end point at once.
    for (std::int32_t i = 0; i < 3; i++) {
      s_aiStraightStep[i] = 0;
      s_oView.aiEye[i] = aiEnd[i];
    }
    s_iStraightFrames = 0;
    return;
  }
  for (std::int32_t i = 0; i < 3; i++) {
    s_aiStraightStep[i] = (aiEnd[i] - aiStart[i]) / iFrames;
    s_oView.aiEye[i] = aiStart[i];
  }
  s_iStraightFrames = iFrames;
}

void camera_StraightUpdate() {
  if (global_eGetGameMode() == GAME_MODE_PAUSE_MENU || s_iStraightFrames <= 0) return;
  for (std::int32_t i = 0; i < 3; i++) s_oView.aiEye[i] += s_aiStraightStep[i];
  if (--s_iStraightFrames == 0) {
    camera_oBroadcast.aiSmoothTarget[0] = ball_CurXGet() * 256;
    if (s_bStraightReset) camera_Reset();
  }
}

void camera_CelebrationUpdate() {
  const Player* pp = camera_poCelebrationPlayer;
  if (!pp) return;
  std::int32_t x = pp->x, h = pp->height, y = pp->y;
  const std::uint32_t a = pp->oAnimData.eActionAnim;
  if (a == 12 || a == 13 || a == 14 || a == 172) anim_FramePointGet(pp, &x, &h, &y);
  s_oView.aiEye[0] = x;
  s_oView.aiEye[1] = 288;
  s_oView.aiEye[2] = y - 1872;
  s_oView.aiTarget[0] = x;
  s_oView.aiTarget[1] = 288;
  s_oView.aiTarget[2] = y;
}

void camera_ReplayUpdate() {
  std::int32_t x, h, y;
  replay_BallPositionGet(&x, &h, &y);
  h += 144;
  if (h < 288) h = 288;
  const std::int32_t D = replay_iDistanceGet();
  const std::int32_t a = replay_uOrbitAngleGet();
  std::int32_t ex = camera_Clamp(x + camera_CosScale(a, D), -11520, 11520);
  std::int32_t ey = camera_Clamp(y + camera_SinScale(a, D), -7920, 7920);
  const std::int32_t eh =
      static_cast<std::int32_t>(static_cast<std::int64_t>(action_AngleTan(D * 2048 / 1800)) * D / 16384) + 288;
  if (h > eh - 432) h = eh - 432;  // at least 432 below the eye
  s_oView.aiEye[0] = ex;
  s_oView.aiEye[1] = eh;
  s_oView.aiEye[2] = ey;
  s_oView.aiTarget[0] = x;
  s_oView.aiTarget[1] = h;
  s_oView.aiTarget[2] = y;
}

// ---- Fade -----------------------------------------------------------------------------------

void camera_FadeStart() {
  if (camera_oFade.iState == CAMERA_FADE_IDLE) camera_oFade.iState = CAMERA_FADE_START;
}
void camera_FadeRelease() { camera_oFade.bRelease = 1; }
std::int32_t camera_bIsFadeHolding() { return camera_oFade.iState == CAMERA_FADE_HOLDING ? 1 : 0; }
std::int32_t camera_bIsFading() { return camera_oFade.iState != CAMERA_FADE_IDLE ? 1 : 0; }

void camera_FadeUpdate() {
  CameraFade& f = camera_oFade;
  auto fill = [&]() {
    const auto u = [](std::int32_t c) { return static_cast<std::uint8_t>(c < 0 ? 0 : (c > 255 ? 255 : c)); };
    draw2d_FillColourSet(u(f.r), u(f.g), u(f.b), 255);
  };
  switch (f.iState) {
    case CAMERA_FADE_IDLE: break;
    case CAMERA_FADE_START:
      f.iCounter = 0;
      f.r = f.g = f.b = 32;
      f.iState = CAMERA_FADE_WAIT;
      break;
    case CAMERA_FADE_WAIT:
      if (--f.iCounter < 1) f.iState = CAMERA_FADE_RISING;
      break;
    case CAMERA_FADE_RISING:
      fill();
      f.r += 32;
      f.g += 32;
      f.b += 32;
      if (f.r >= 255) {
        f.r = f.g = f.b = 255;
        f.iCounter = 45;
        f.iState = CAMERA_FADE_HOLDING;
      }
      break;
    case CAMERA_FADE_HOLDING:
      draw2d_FillColourSet(255, 255, 255, 255);
      // The match's modes wait for the fade to hold before they change the
      // scene (the kick-off after the walk-on, the second half, the return
      // from a replay), and see it hold only on the ticks they run. A paused
      // match runs none of them: the hold lasts until the match goes on, or
      // it would end behind the pause menu (or a replay watched from it) and
      // leave them waiting for ever.
      if (pause_bIsPaused()) break;
      f.iCounter--;
      if (f.bRelease || f.iCounter < 0) {
        f.iCounter = 0;
        f.bRelease = 0;
        f.iState = CAMERA_FADE_FALLING;
      }
      break;
    case CAMERA_FADE_FALLING:
      fill();
      f.r -= 32;
      f.g -= 32;
      f.b -= 32;
      if (f.r < 0) {
        f.r = f.g = f.b = 0;
        f.iState = CAMERA_FADE_IDLE;
      }
      break;
    default: QDX_ASSERT(!"unknown fade state"); break;
  }
}

// ---- Free camera --------------------------------------------------------------------------

void camera_FreeMove(std::int32_t iEvent) {
  std::int32_t* E = s_oView.aiEye;
  std::int32_t* T = s_oView.aiTarget;
  auto moveBoth = [&](std::int32_t iDegrees, std::int32_t iStep) {
    const std::int32_t dx = imath_SinScale(iStep, iDegrees), dy = imath_CosScale(iStep, iDegrees);
    E[0] += dx;
    E[2] += dy;
    T[0] += dx;
    T[2] += dy;
  };
  const std::int32_t iHeading = camera_HeadingDegrees(T[0] - E[0], T[2] - E[2]);
  switch (iEvent) {
    case 140: moveBoth(iHeading, kMoveStep); break;
    case 141: moveBoth(camera_HeadingDegrees(E[0] - T[0], E[2] - T[2]), kMoveStep); break;
    case 142: {
      const std::int32_t b = QMathAtan2(T[2] - E[2], T[0] - E[0]) - kTurnStep * 65536 / 360;
      T[0] = E[0] + camera_SinScale(b, kViewRadius);
      T[2] = E[2] + camera_CosScale(b, kViewRadius);
      break;
    }
    case 143: {
      const std::int32_t d = (iHeading + kTurnStep) % 360;
      T[0] = E[0] + imath_SinScale(kViewRadius, d);
      T[2] = E[2] + imath_CosScale(kViewRadius, d);
      break;
    }
    case 144:
    case 145: {
      const std::int32_t s = iEvent == 144 ? kZoomStep : -kZoomStep;
      E[0] += imath_SinScale(s, iHeading);
      E[2] += imath_CosScale(s, iHeading);
      s_iViewRadius -= s;
      break;
    }
    case 146: moveBoth((iHeading + 270) % 360, kMoveStep); break;
    case 147: moveBoth((iHeading + 90) % 360, kMoveStep); break;
    case 148: E[1] += 48; T[1] += 48; break;
    case 149: E[1] -= 48; T[1] -= 48; break;
    case 150: T[1] += 96; break;
    case 151: T[1] -= 96; break;
    default: break;
  }
}

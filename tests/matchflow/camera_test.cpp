// The match camera and its scripted paths.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "engine/ball.h"
#include "engine/player.h"
#include "framework/math/trigw.h"
#include "matchflow/camera.h"
#include "engine/action.h"
#include "matchflow/replay.h"
#include "matchflow/virtdir.h"
#include "shell/draw2d.h"
#include "shell/pause.h"

namespace {

void BallAt(std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iHeading, Player* poOwner) {
  Ball* b = ball_Get();
  b->iX128 = x * 128;
  b->iHeight128 = h * 128;
  b->iY128 = y * 128;
  b->iHeading = iHeading;
  b->poOwner = poOwner;
}

void FreshCamera() {
  BallAt(0, 0, 0, 0, nullptr);
  camera_TypesRegister();
  camera_TargetSourceDefault();
  camera_Init();
  camera_oFade = CameraFade{};
}

TEST(Camera, TypeTableHoldsTheSixteenRegisteredTypes) {
  camera_TypesRegister();
  struct Row {
    std::int32_t iId;
    const char* pszCode;
  };
  const Row aoRows[] = {{1, "NOR"},  {2, "FAR"},  {3, "CLO"},  {5, "CRN"},  {6, "GOK"},  {7, "RPY"},
                        {8, "SUB"},  {10, "VIR"}, {11, "PEN"}, {12, "DBG"}, {13, "FRK"}, {14, "THR"},
                        {15, "VCL"}, {16, "AGK"}, {17, "CEL"}, {18, "VFR"}};
  std::int32_t cRegistered = 0;
  for (std::int32_t i = 0; i < CAMERA_TYPES_MAX; i++) cRegistered += camera_bIsTypeRegistered(i);
  EXPECT_EQ(cRegistered, 16);
  for (const Row& r : aoRows) {
    SCOPED_TRACE(r.pszCode);
    ASSERT_TRUE(camera_bIsTypeRegistered(r.iId));
    EXPECT_STREQ(camera_apszCodes[r.iId], r.pszCode);
    EXPECT_EQ(camera_iTypeKindGet(r.iId), 1);
  }
  for (std::int32_t i : {0, 4, 9, -1, 19}) EXPECT_EQ(camera_iTypeKindGet(i), 3) << i;
  // A second registration of an id is ignored.
  camera_TypeRegister("XYZ", 1, 0, nullptr);
  EXPECT_STREQ(camera_apszCodes[1], "NOR");
  EXPECT_EQ(camera_iTypeKindGet(1), 1);
}

TEST(Camera, StackPushPopAndReset) {
  FreshCamera();
  // The "Camera" option's default (2) picks "NOR".
  EXPECT_EQ(camera_iCurrentGet(), CAMERA_NOR);
  EXPECT_EQ(camera_iStackPointer, 0);
  camera_PushIfNew(CAMERA_NOR);  // already on top
  EXPECT_EQ(camera_iStackPointer, 0);
  camera_Push(CAMERA_NONE9);  // unregistered: the current id is duplicated
  EXPECT_EQ(camera_iStackPointer, 1);
  EXPECT_EQ(camera_aiStack[1], CAMERA_NOR);
  EXPECT_EQ(camera_iCurrentGet(), CAMERA_NOR);
  camera_PushIfNew(CAMERA_CRN);
  EXPECT_EQ(camera_iStackPointer, 2);
  EXPECT_EQ(camera_iCurrentGet(), CAMERA_CRN);
  camera_PushIfNew(CAMERA_CRN);
  EXPECT_EQ(camera_iStackPointer, 2);
  camera_Pop();
  EXPECT_EQ(camera_iCurrentGet(), CAMERA_NOR);
  camera_Push(CAMERA_SUB);
  camera_Push(CAMERA_PEN);
  EXPECT_EQ(camera_iStackPointer, 3);
  camera_Reset();
  EXPECT_EQ(camera_iStackPointer, 0);
  EXPECT_EQ(camera_iCurrentGet(), CAMERA_NOR);
  // A pop at the base slot stays there.
  camera_Pop();
  camera_Pop();
  EXPECT_EQ(camera_iStackPointer, 0);
  EXPECT_EQ(camera_iCurrentGet(), CAMERA_NOR);
  for (std::int32_t i = 0; i < 4; i++) camera_Push(CAMERA_CRN);
  EXPECT_EQ(camera_iStackPointer, 4);
  EXPECT_DEATH(camera_Push(CAMERA_CRN), "camera_iStackPointer < 5");
}

TEST(Camera, ActivateSetsTheBroadcastParameters) {
  FreshCamera();
  const struct {
    std::int32_t iId, p, e, d, m, f, r, l;
  } aoRows[] = {{1, 12, 5461, 4320, 3600, 1008, 576, 576},
                {2, 12, 5461, 5040, 3600, 1152, 864, 576},
                {18, 12, 7281, 5760, 3600, 1152, 1152, 576},
                {3, 14, 4004, 3600, 3600, 288, 288, 288},
                {15, 16, 2730, 2880, 3600, -144, 288, 0}};
  for (const auto& r : aoRows) {
    camera_Activate(r.iId);
    const CameraBroadcastParams& o = camera_oBroadcast.oParams;
    EXPECT_EQ(camera_oBroadcast.iId, r.iId);
    EXPECT_EQ(o.p, r.p);
    EXPECT_EQ(o.e, r.e);
    EXPECT_EQ(o.d, r.d);
    EXPECT_EQ(o.m, r.m);
    EXPECT_EQ(o.f, r.f);
    EXPECT_EQ(o.r, r.r);
    EXPECT_EQ(o.l, r.l);
    EXPECT_EQ(camera_oBroadcast.iForwardLead, 0);
  }
  // A set-piece camera leaves the broadcast camera as it was.
  camera_Activate(CAMERA_CRN);
  EXPECT_EQ(camera_oBroadcast.iId, 15);
  EXPECT_EQ(camera_poViewGet()->abUp[1], 1);
  EXPECT_EQ(camera_poViewGet()->abUp[0] + camera_poViewGet()->abUp[2], 0);
}

TEST(Camera, FadeTicksPerState) {
  camera_oFade = CameraFade{};
  camera_FadeUpdate();  // idle: nothing
  EXPECT_FALSE(camera_bIsFading());
  camera_FadeStart();
  std::vector<std::int32_t> aiStates, aiDrawn;
  for (std::int32_t t = 0; t < 200 && camera_bIsFading(); t++) {
    const std::int32_t iState = camera_oFade.iState;
    draw2d_oFillColour = {0, 0, 0, 0};
    camera_FadeUpdate();
    aiStates.push_back(iState);
    aiDrawn.push_back(iState == CAMERA_FADE_START || iState == CAMERA_FADE_WAIT ? -1 : draw2d_oFillColour.r);
  }
  auto count = [&](std::int32_t s) {
    std::int32_t n = 0;
    for (std::int32_t v : aiStates) n += v == s;
    return n;
  };
  EXPECT_EQ(count(CAMERA_FADE_START), 1);
  EXPECT_EQ(count(CAMERA_FADE_WAIT), 1);
  EXPECT_EQ(count(CAMERA_FADE_RISING), 7);
  EXPECT_EQ(count(CAMERA_FADE_HOLDING), 46);
  EXPECT_EQ(count(CAMERA_FADE_FALLING), 8);
  ASSERT_EQ(aiDrawn.size(), 63u);
  for (std::int32_t i = 0; i < 7; i++) EXPECT_EQ(aiDrawn[2 + i], 32 + 32 * i);
  for (std::int32_t i = 0; i < 46; i++) EXPECT_EQ(aiDrawn[9 + i], 255);
  for (std::int32_t i = 0; i < 8; i++) EXPECT_EQ(aiDrawn[55 + i], 255 - 32 * i);

  // A release ends the white hold on the next tick.
  camera_FadeStart();
  for (std::int32_t i = 0; i < 9; i++) camera_FadeUpdate();
  EXPECT_TRUE(camera_bIsFadeHolding());
  camera_FadeRelease();
  camera_FadeUpdate();
  EXPECT_EQ(camera_oFade.iState, CAMERA_FADE_FALLING);
  camera_oFade.iState = 9;
  EXPECT_DEATH(camera_FadeUpdate(), "unknown fade state");
}

// While the match is paused the white hold lasts, however long the pause:
// the modes that wait for it to hold run only once the match goes on. The
// rise goes on through the pause, and the hold's 46 ticks start counting at
// the resume.
TEST(Camera, AFadeHoldsWhiteUntilAPausedMatchGoesOn) {
  camera_oFade = CameraFade{};
  camera_FadeStart();
  pause_bFlag = 1;
  for (std::int32_t i = 0; i < 2000; i++) camera_FadeUpdate();
  EXPECT_TRUE(camera_bIsFadeHolding());
  pause_bFlag = 0;
  std::int32_t cHeld = 0;
  while (camera_bIsFadeHolding() && cHeld < 100) {
    camera_FadeUpdate();
    cHeld++;
  }
  EXPECT_EQ(cHeld, 46);
  EXPECT_EQ(camera_oFade.iState, CAMERA_FADE_FALLING);
}

// The broadcast routine written out plainly over 64-bit integers.
struct BroadcastModel {
  std::int64_t fwd = 0, lat = 0;
  std::int64_t st[3] = {0, 0, 0}, se[3] = {0, 0, 0};
  std::int64_t tgt[3] = {0, 0, 0}, eye[3] = {0, 0, 0};

  static std::int64_t clamp(std::int64_t v, std::int64_t lo, std::int64_t hi) { return std::max(lo, std::min(hi, v)); }
  static std::int64_t toward(std::int64_t v, std::int64_t w) { return v < w - 24 ? v + 24 : (v > w + 24 ? v - 24 : v); }
  static std::int64_t scale(std::int32_t a, std::int64_t r, bool bCos) {
    return ((static_cast<std::int64_t>(bCos ? QMathCos(a) : QMathSin(a)) >> 4) * r) >> 12;
  }

  void step(const CameraBroadcastParams& p, std::int64_t bx, std::int64_t by, std::int32_t iHeading, const Player* h) {
    if (h) {
      const std::int64_t lo = h->Direction == 1 ? p.l : -p.l - 24, hi = lo + 24;
      if (fwd < lo) fwd += 24;
      else if (fwd > hi) fwd -= 24;
      if (lat < 24) lat += 24;
      else if (lat >= 48) lat -= 24;
      tgt[0] = h->x;
      tgt[2] = h->y;
    } else {
      const std::int32_t c = static_cast<std::int32_t>(static_cast<std::int64_t>(iHeading) * 65536 / 803);
      fwd = toward(fwd, scale(c, p.r, true));
      lat = toward(lat, scale(c, p.r, false));
      tgt[0] = bx;
      tgt[2] = by;
    }
    const std::int64_t want[3] = {clamp(tgt[0] + fwd, -9360, 9360), 0, clamp(tgt[2] + lat, p.f - 5760, 5760)};
    for (int i = 0; i < 3; i++) {
      st[i] += clamp(want[i] * 256 - st[i], -1228800, 1228800) / 4;
      tgt[i] = st[i] >> 8;
    }
    const std::int64_t tn = action_AngleTan(p.e);
    const std::int64_t eyeWant[3] = {fwd / 2 + (p.p * tgt[0]) / 16, tn * p.d / 16384,
                                     clamp(tgt[2] - p.d, -5760 - p.m, 5760 + p.m)};
    for (int i = 0; i < 3; i++) {
      std::int64_t d = eyeWant[i] * 256 - se[i];
      if (i) d = clamp(d, -1228800, 1228800);
      se[i] += d / 10;
      eye[i] = se[i] >> 8;
    }
  }
};

// The eye height the broadcast camera settles at is tan(e) x d with the
// engine's integer tangent (tan x 16384): 2492 normal, 2907 far, 770 very close.
TEST(Camera, BroadcastEyeHeightsUseTheEnginesTangent) {
  const struct {
    std::int32_t iId, iHeight;
  } aoRows[] = {{CAMERA_NOR, 2492}, {CAMERA_FAR, 2907}, {CAMERA_VCL, 770}};
  for (const auto& r : aoRows) {
    FreshCamera();
    camera_Activate(r.iId);
    const CameraBroadcastParams& o = camera_oBroadcast.oParams;
    EXPECT_EQ(static_cast<std::int64_t>(action_AngleTan(o.e)) * o.d / 16384, r.iHeight) << r.iId;
  }
}

TEST(Camera, BroadcastMatchesAnIntegerModelOverSeededPaths) {
  for (std::int32_t iCamera : {CAMERA_NOR, CAMERA_FAR, CAMERA_CLO, CAMERA_VCL, CAMERA_VFR}) {
    SCOPED_TRACE(iCamera);
    std::mt19937 rng(1234 + iCamera);
    FreshCamera();
    camera_Push(iCamera);
    const CameraView* v = camera_poViewGet();
    BroadcastModel m;
    m.fwd = camera_oBroadcast.iForwardLead;
    m.lat = camera_oBroadcast.iLateralLead;
    for (int i = 0; i < 3; i++) {
      m.st[i] = camera_oBroadcast.aiSmoothTarget[i];
      m.se[i] = camera_oBroadcast.aiSmoothEye[i];
    }
    std::int32_t bx = 0, by = 0;
    Player oHolder{};
    for (std::int32_t t = 0; t < 600; t++) {
      bx = std::max(-9800, std::min(9800, bx + static_cast<std::int32_t>(rng() % 401) - 200));
      by = std::max(-6200, std::min(6200, by + static_cast<std::int32_t>(rng() % 301) - 150));
      const std::int32_t iHeading = static_cast<std::int32_t>(rng() % 802);
      const bool bHeld = (t / 40) % 2 == 1;
      oHolder.x = static_cast<std::int16_t>(bx);
      oHolder.y = static_cast<std::int16_t>(by);
      oHolder.Direction = (t / 80) % 2;
      BallAt(bx, 0, by, iHeading, bHeld ? &oHolder : nullptr);
      camera_Update();
      m.step(camera_oBroadcast.oParams, bx, by, iHeading, bHeld ? &oHolder : nullptr);
      ASSERT_EQ(v->aiTarget[0], m.tgt[0]) << t;
      ASSERT_EQ(v->aiTarget[2], m.tgt[2]) << t;
      ASSERT_EQ(v->aiEye[0], m.eye[0]) << t;
      ASSERT_EQ(v->aiEye[1], m.eye[1]) << t;
      ASSERT_EQ(v->aiEye[2], m.eye[2]) << t;
    }
  }
}

TEST(Camera, ForwardLeadOfAHomeAttackerSettlesInItsBand) {
  FreshCamera();
  Player oHolder{};
  oHolder.Direction = 1;
  BallAt(0, 0, 0, 0, &oHolder);
  const std::int32_t l = camera_oBroadcast.oParams.l;
  std::int32_t iPrev = camera_oBroadcast.iForwardLead;
  for (std::int32_t t = 0; t < 60; t++) {
    camera_Update();
    const std::int32_t iLead = camera_oBroadcast.iForwardLead;
    if (iPrev < l) EXPECT_EQ(iLead, iPrev + 24);
    else EXPECT_TRUE(iLead >= l && iLead <= l + 24) << iLead;
    iPrev = iLead;
    EXPECT_TRUE(camera_oBroadcast.iLateralLead >= 0 && camera_oBroadcast.iLateralLead < 48);
  }
  EXPECT_TRUE(iPrev >= l && iPrev <= l + 24);
}

TEST(Camera, BasisIsOrthonormalAndRightHandedForEveryCamera) {
  FreshCamera();
  Player oFollowed{};
  oFollowed.x = 300;
  oFollowed.y = -400;
  camera_poCelebrationPlayer = &oFollowed;
  for (std::int32_t i = 0; i < 6; i++) camera_aiThrowView[i] = i < 3 ? 1000 * (i + 1) : -500 * i;
  for (std::int32_t iId = 0; iId < CAMERA_TYPES_MAX; iId++) {
    if (!camera_bIsTypeRegistered(iId)) continue;
    SCOPED_TRACE(iId);
    camera_Reset();
    BallAt(2500, 100, -1800, 123, nullptr);
    if (iId == CAMERA_VIR) virtdir_PathSet(2);
    else camera_PushWithDefaultSource(iId);
    for (std::int32_t t = 0; t < 3; t++) camera_Update();
    const float* m = camera_poViewGet()->oRotation.m;
    float c[3][3];
    for (int col = 0; col < 3; col++)
      for (int r = 0; r < 3; r++) c[col][r] = m[r * 4 + col];
    for (int a = 0; a < 3; a++) {
      float fLen = 0;
      for (int r = 0; r < 3; r++) fLen += c[a][r] * c[a][r];
      EXPECT_NEAR(fLen, 1.0f, 1e-4f);
      for (int b = a + 1; b < 3; b++) {
        float fDot = 0;
        for (int r = 0; r < 3; r++) fDot += c[a][r] * c[b][r];
        EXPECT_NEAR(fDot, 0.0f, 1e-4f);
      }
    }
    // right x up = forward, in (x, height, y) with height up.
    const float* R = c[0];
    const float* U = c[1];
    const float f[3] = {R[1] * U[2] - R[2] * U[1], R[2] * U[0] - R[0] * U[2], R[0] * U[1] - R[1] * U[0]};
    for (int r = 0; r < 3; r++) EXPECT_NEAR(f[r], c[2][r], 1e-4f);
    EXPECT_EQ(std::memcmp(m, camera_poViewGet()->oRotation2.m, sizeof(float) * 12), 0);
    EXPECT_TRUE(camera_bIsViewValid());
  }
  camera_poCelebrationPlayer = nullptr;
  // Looking along +y with height up, right is +x.
  camera_Reset();
  camera_Push(CAMERA_DBG);
  CameraView* v = camera_poViewGet();
  v->pfnTarget = nullptr;
  v->aiEye[0] = v->aiEye[1] = v->aiEye[2] = 0;
  v->aiTarget[0] = 0;
  v->aiTarget[1] = 0;
  v->aiTarget[2] = 1000;
  camera_Update();
  EXPECT_NEAR(v->oRotation.m[0], 1.0f, 1e-6f);
  EXPECT_NEAR(v->oRotation.m[4 + 1], 1.0f, 1e-6f);
  EXPECT_NEAR(v->oRotation.m[8 + 2], 1.0f, 1e-6f);
  camera_ViewInvalidate();
  EXPECT_FALSE(camera_bIsViewValid());
}

TEST(Camera, FreeKickOrbitTurnsAtMost273AndSnaps) {
  FreshCamera();
  camera_Push(CAMERA_FRK);
  // The aim stays at heading 0; the orbit starts half a turn away.
  camera_uOrbitAngle = 32768;
  std::int32_t cTicks = 0;
  std::uint16_t uPrev = camera_uOrbitAngle;
  while (camera_uOrbitAngle != 0 && cTicks < 1000) {
    camera_Update();
    const std::int32_t d = static_cast<std::int16_t>(static_cast<std::uint16_t>(camera_uOrbitAngle - uPrev));
    EXPECT_LE(std::abs(d), 273);
    if (camera_uOrbitAngle != 0) {
      EXPECT_EQ(std::abs(d), 273);
    }
    uPrev = camera_uOrbitAngle;
    cTicks++;
  }
  EXPECT_EQ(cTicks, 121);  // 120 whole steps, then the snap
  camera_Update();
  EXPECT_EQ(camera_uOrbitAngle, 0);
  // The eye stays 4320 behind the ball at height 1728, the target runs toward the goal.
  BallAt(1000, 0, 500, 0, nullptr);
  camera_Update();
  const CameraView* v = camera_poViewGet();
  EXPECT_EQ(v->aiEye[1], 1728);
  EXPECT_EQ(v->aiEye[0], 1000 - camera_CosScale(0, 4320));
  EXPECT_EQ(v->aiTarget[1], 0);
  const std::int32_t g = static_cast<std::int32_t>(std::sqrt(10360.0 * 10360.0 + 500.0 * 500.0));
  EXPECT_EQ(v->aiTarget[0], 1000 + camera_CosScale(0, std::min(g, 9360) / 2));
  camera_TrackModeSet(1);
  camera_Update();
  const std::int32_t g2 = static_cast<std::int32_t>(std::sqrt(8360.0 * 8360.0 + 500.0 * 500.0));
  EXPECT_EQ(v->aiTarget[0], 1000 + camera_CosScale(0, g2 / 2));
  camera_TrackModeSet(0);
}

TEST(Camera, HeadingsConvertBy803) {
  EXPECT_EQ(camera_HeadingToAngle(802), 802 * 65536 / 803);
  EXPECT_EQ(camera_HeadingToAngle(401), 32727);
  camera_AngleSet(200);
  EXPECT_EQ(camera_uOrbitAngle, 200 * 65536 / 803);
}

TEST(Camera, StraightMoveEndsAndResets) {
  FreshCamera();
  camera_Push(CAMERA_CRN);
  camera_Push(CAMERA_AGK);
  const std::int32_t aiStart[3] = {100, 200, 300}, aiEnd[3] = {1100, 250, -7};
  camera_PathStepSet(aiStart, aiEnd, 10, 1);
  CameraView* v = camera_poViewGet();
  EXPECT_EQ(v->aiEye[0], 100);
  for (std::int32_t t = 1; t <= 10; t++) {
    EXPECT_EQ(camera_iCurrentGet(), CAMERA_AGK);
    camera_Update();
    if (t < 10) {
      EXPECT_EQ(v->aiEye[0], 100 + 100 * t);
      EXPECT_EQ(v->aiEye[1], 200 + 5 * t);
      EXPECT_EQ(v->aiEye[2], 300 - 30 * t);  // -307 / 10 truncated toward zero
    }
  }
  // The last step lands the truncated distance and the stack goes back to its base.
  EXPECT_EQ(camera_iStackPointer, 0);
  EXPECT_EQ(camera_iCurrentGet(), CAMERA_NOR);

  // Without the reset flag the move simply stops; no frames puts the eye at the end at once.
  camera_Push(CAMERA_AGK);
  camera_PathStepSet(aiStart, aiEnd, 2, 0);
  for (std::int32_t t = 0; t < 5; t++) camera_Update();
  EXPECT_EQ(camera_iCurrentGet(), CAMERA_AGK);
  EXPECT_EQ(v->aiEye[0], 1100);
  camera_PathStepSet(aiStart, aiEnd, 0, 0);
  EXPECT_EQ(v->aiEye[0], 1100);
  EXPECT_EQ(v->aiEye[2], -7);
  camera_PathStepSet(aiEnd, aiStart, -3, 0);
  EXPECT_EQ(v->aiEye[2], 300);
}

TEST(Camera, FixedSetPieceCameras) {
  FreshCamera();
  CameraView* v = camera_poViewGet();
  camera_Push(CAMERA_PEN);
  BallAt(0, 0, 0, 0, nullptr);
  camera_Update();
  EXPECT_EQ(v->aiEye[0], -5500);
  EXPECT_EQ(v->aiTarget[0], -8900);
  BallAt(1, 0, 0, 0, nullptr);
  camera_Update();
  EXPECT_EQ(v->aiEye[0], 5500);
  EXPECT_EQ(v->aiEye[1], 2000);
  EXPECT_EQ(v->aiEye[2], -2100);
  EXPECT_EQ(v->aiTarget[2], 500);
  camera_Push(CAMERA_SUB);
  camera_Update();
  EXPECT_EQ(v->aiEye[2], -9360);
  EXPECT_EQ(v->aiTarget[0], -8640);
  camera_Push(CAMERA_CRN);
  v->aiEye[0] = 0;
  camera_Update();
  EXPECT_EQ(v->aiTarget[0], -7920);
  v->aiEye[0] = 1;
  camera_Update();
  EXPECT_EQ(v->aiTarget[0], 7920);
}

TEST(Camera, FreeMovesOfTheReplay) {
  FreshCamera();
  camera_Push(CAMERA_DBG);
  CameraView* v = camera_poViewGet();
  v->pfnTarget = nullptr;
  auto set = [&](std::int32_t ex, std::int32_t ey, std::int32_t tx, std::int32_t ty) {
    v->aiEye[0] = ex;
    v->aiEye[2] = ey;
    v->aiTarget[0] = tx;
    v->aiTarget[2] = ty;
    v->aiEye[1] = 500;
    v->aiTarget[1] = 100;
  };
  set(0, 0, 0, 4320);  // looking along +y
  // The table cosine of 0 is just under one: forward steps come out 95,
  // backward ones -96.
  camera_FreeMove(140);
  EXPECT_EQ(v->aiEye[2], 95);
  EXPECT_EQ(v->aiTarget[2], 4320 + 95);
  camera_FreeMove(141);
  EXPECT_EQ(v->aiEye[2], -1);
  // Sideways a quarter turn clockwise (+x) and back: the table sine of a
  // quarter turn is just under one, so the steps are 95 and -96.
  camera_FreeMove(147);
  EXPECT_EQ(v->aiEye[0], 95);
  EXPECT_EQ(v->aiTarget[0], 95);
  camera_FreeMove(146);
  EXPECT_EQ(v->aiEye[0], -1);
  EXPECT_EQ(v->aiEye[2], -1);
  camera_FreeMove(148);
  EXPECT_EQ(v->aiEye[1], 548);
  EXPECT_EQ(v->aiTarget[1], 148);
  camera_FreeMove(151);
  EXPECT_EQ(v->aiTarget[1], 52);
  camera_FreeMove(144);
  EXPECT_EQ(v->aiEye[2], -1 + 47);
  camera_FreeMove(145);
  EXPECT_EQ(v->aiEye[2], -1 + 47 - 48);
  // Turning keeps the target 4320 away.
  camera_FreeMove(143);
  const double d = std::hypot(v->aiTarget[0] - v->aiEye[0], v->aiTarget[2] - v->aiEye[2]);
  EXPECT_NEAR(d, 4320.0, 4.0);
  EXPECT_GT(v->aiTarget[0], 0);
}

TEST(Camera, ReplayOrbitAroundTheReplayedBall) {
  FreshCamera();
  replay_oState.iIndex = 0;
  replay_oState.iDistance = 4320;
  replay_oState.uOrbitAngle = 0;
  replay_oState.aiBallOffset[0] = replay_oState.aiBallOffset[1] = replay_oState.aiBallOffset[2] = 0;
  ReplayBall& b = replay_poSideGet(0)->oBall;
  camera_Push(CAMERA_RPY);
  camera_TargetSourceSet(0, camera_TargetNone);
  const CameraView* v = camera_poViewGet();
  // The eye height: tan(4320 x 2048 / 1800 as an angle, about 27 degrees) x 4320 + 288.
  const std::int32_t iEyeH = static_cast<std::int32_t>(std::tan(4915 * 2.0 * M_PI / 65536.0) * 4320.0) + 288;
  b = ReplayBall{};
  b.iX = 1000;
  b.iY = -200;
  camera_Update();
  EXPECT_EQ(v->aiTarget[0], 1000);
  EXPECT_EQ(v->aiTarget[1], 288);  // a ball on the ground: at least 288
  EXPECT_EQ(v->aiEye[0], 1000 + camera_CosScale(0, 4320));
  EXPECT_EQ(v->aiEye[2], -200);
  EXPECT_NEAR(v->aiEye[1], iEyeH, 3);
  // A high ball: the target stays 432 below the eye.
  b.iHeight = 3000;
  camera_Update();
  EXPECT_EQ(v->aiTarget[1], v->aiEye[1] - 432);
  b.iHeight = 1000;
  camera_Update();
  EXPECT_EQ(v->aiTarget[1], 1144);
  // The eye stays inside x 11520 and y 7920.
  b.iX = 9000;
  b.iY = 7000;
  replay_oState.uOrbitAngle = 8192;  // an eighth of a turn: both offsets positive
  camera_Update();
  EXPECT_EQ(v->aiEye[0], 11520);
  EXPECT_EQ(v->aiEye[2], 7920);
  b = ReplayBall{};
}

// ---- Camera paths -------------------------------------------------------------------------

TEST(CameraPath, TicksFromSelectionToRest) {
  // Each key takes F + H + 5 ticks.
  const struct {
    std::int32_t iPath, iTicks;
  } aoCases[] = {{1, (360 + 0 + 5) + (60 + 30 + 5) + (180 + 0 + 5) + (60 + 45 + 5) + (150 + 45 + 5)},
                 {2, 1245},
                 {3, (420 + 45 + 5) + (360 + 45 + 5) + (360 + 45 + 5)}};
  for (const auto& c : aoCases) {
    SCOPED_TRACE(c.iPath);
    FreshCamera();
    virtdir_PathSet(c.iPath);
    EXPECT_EQ(camera_iCurrentGet(), CAMERA_VIR);
    std::int32_t n = 0;
    while (camera_poViewGet()->iPhase != 5 && n < 5000) {
      camera_Update();
      n++;
    }
    EXPECT_EQ(n, c.iTicks);
  }
}

TEST(CameraPath, KeyEndsFollowTheTruncatedSteps) {
  const struct {
    std::int32_t iPath, iKey;
    std::int32_t aiEye[3], aiTarget[3];
  } aoCases[] = {
      // path 1 key 0: F 360, target x step 48, height 480 / 360 = 1: 361 steps.
      {1, 0, {0, 480, -7200 + 3610}, {-8640 + 48 * 361, 480 + 361, 4320}},
      // path 2 key 1: eye steps (2, 5, -13), target steps (18, 4, 16).
      {2, 1, {-720 + 2 * 361, 480 + 5 * 361, -5328 - 13 * 361}, {720 + 18 * 361, 4 * 361, 16 * 361}},
      // path 3 key 2: eye height 1680 / 360 = 4, target height 1920 / 360 = 5.
      {3, 2, {12240, 720 + 4 * 361, 0}, {0, 480 + 5 * 361, 0}},
  };
  for (const auto& c : aoCases) {
    SCOPED_TRACE(c.iPath * 10 + c.iKey);
    FreshCamera();
    virtdir_PathSet(c.iPath);
    const CameraView* v = camera_poViewGet();
    std::int32_t n = 0;
    while (!(v->iKey == c.iKey && v->iPhase == 2) && n < 5000) {
      camera_Update();
      n++;
    }
    ASSERT_LT(n, 5000);
    for (int i = 0; i < 3; i++) {
      EXPECT_EQ(v->aiEye[i], c.aiEye[i]) << i;
      EXPECT_EQ(v->aiTarget[i], c.aiTarget[i]) << i;
    }
  }
  // An unknown path keeps the previous table.
  FreshCamera();
  virtdir_PathSet(2);
  const CameraPathKey* po = camera_poViewGet()->poPath;
  virtdir_PathSet(7);
  EXPECT_EQ(camera_poViewGet()->poPath, po);
  EXPECT_EQ(virtdir_Abs(-5), 5);
  camera_poViewGet()->iPhase = 6;
  EXPECT_DEATH(virtdir_Update(), "unknown camera path phase");
}

}  // namespace

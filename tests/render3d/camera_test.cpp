// The camera: defaults, projection values against a double-precision model,
// recomputation by change flags, the screen rectangle and the view helpers.
#include <gtest/gtest.h>

#include <cmath>

#include "framework/math/qmatrix.h"
#include "framework/math/trigw.h"
#include "render3d/q3d_camera.h"

namespace {

// (x, y, z, w) of a camera-space point through a 4 x 4 row-vector matrix.
void Mul(const QMathMatrix& m, double x, double y, double z, double out[4]) {
  for (int j = 0; j < 4; ++j) out[j] = x * m.m[j] + y * m.m[4 + j] + z * m.m[8 + j] + m.m[12 + j];
}

TEST(Camera, DefaultsAndHeader) {
  Q3DCamera c;
  EXPECT_EQ(c.oHeader.uType, 3u);
  EXPECT_EQ(c.oHeader.uRefCount, 1u);
  EXPECT_STREQ(c.oHeader.szName, "UnNamed");
  EXPECT_EQ(c.uChanged, 0xFFFFFFFFu);
  EXPECT_EQ(c.uFov, 9648);
  EXPECT_FLOAT_EQ(c.fNear, 2.0f);
  EXPECT_FLOAT_EQ(c.fFar, 1000.0f);
  EXPECT_EQ(c.uWidth, 640u);
  EXPECT_EQ(c.uHeight, 480u);
  EXPECT_FLOAT_EQ(c.fLeft, -1.0f);
  EXPECT_FLOAT_EQ(c.fTop, 0.75f);
  EXPECT_FLOAT_EQ(c.fRight, 1.0f);
  EXPECT_FLOAT_EQ(c.fBottom, -0.75f);
  EXPECT_FLOAT_EQ(c.fOne, 1.0f);
  // Screen rectangle from the truncated viewport: 0, 0, 639, 479.
  EXPECT_EQ(c.aiScreenRect[0], 0);
  EXPECT_EQ(c.aiScreenRect[1], 0);
  EXPECT_EQ(c.aiScreenRect[2], 639);
  EXPECT_EQ(c.aiScreenRect[3], 479);
  // P and N against the formulas in double precision (half angle 4824).
  const double s = QMathSin(4824) / 65536.0, co = QMathCos(4824) / 65536.0;
  const double q = s / (1.0 - 2.0 / 1000.0);
  EXPECT_NEAR(c.mProj.m[0], 0.5 * co, 1e-6);
  EXPECT_NEAR(c.mProj.m[5], (2.0 / 3.0) * co, 1e-6);
  EXPECT_NEAR(c.mProj.m[8], 0.5 * s, 1e-6);
  EXPECT_NEAR(c.mProj.m[9], 0.5 * s, 1e-6);
  EXPECT_NEAR(c.mProj.m[10], q, 1e-6);
  EXPECT_NEAR(c.mProj.m[11], s, 1e-6);
  EXPECT_NEAR(c.mProj.m[14], -q * 2.0, 1e-6);
  EXPECT_EQ(c.mProj.m[15], 0.0f);
  EXPECT_NEAR(c.mNorm.m[0], co / s, 1e-5);
  EXPECT_NEAR(c.mNorm.m[10], q / s, 1e-5);
  EXPECT_EQ(c.mNorm.m[11], 1.0f);
  // Viewport S.
  EXPECT_NEAR(c.mViewport.m[0], 639.999, 1e-3);
  EXPECT_NEAR(c.mViewport.m[12], 0.0, 1e-4);
  EXPECT_NEAR(c.mViewport.m[5], -479.999, 1e-3);
  EXPECT_NEAR(c.mViewport.m[13], 479.999, 1e-3);
  EXPECT_EQ(c.mViewport.m[10], 1.0f);
  EXPECT_EQ(c.mViewport.m[15], 1.0f);
}

TEST(Camera, DefaultNearFarAndAxis) {
  Q3DCamera c;
  Q3DCameraUpdate(&c);
  double p[4];
  // Near plane to depth 0, far plane to depth 1, the axis to the screen centre.
  Mul(c.mViewProj, 0, 0, 2.0, p);
  EXPECT_NEAR(p[2] / p[3], 0.0, 1e-6);
  Mul(c.mViewProj, 0, 0, 1000.0, p);
  EXPECT_NEAR(p[2] / p[3], 1.0, 1e-5);
  Mul(c.mScreen, 0, 0, 50.0, p);
  EXPECT_NEAR(p[0] / p[3], 319.9995, 1e-3);
  EXPECT_NEAR(p[1] / p[3], 239.9995, 1e-3);
  // Clip space 0..w: the window's edges at x = 0 and x = w.
  const double t = std::tan(9648 / 2 * 2 * M_PI / 65536.0);
  Mul(c.mViewProj, -t * 10, 0, 10, p);
  EXPECT_NEAR(p[0] / p[3], 0.0, 1e-3);
  Mul(c.mViewProj, t * 10, 0, 10, p);
  EXPECT_NEAR(p[0] / p[3], 1.0, 1e-3);
  // The vertical opening is 0.75 of the horizontal one.
  Mul(c.mViewProj, 0, t * 7.5, 10, p);
  EXPECT_NEAR(p[1] / p[3], 1.0, 1e-3);
}

TEST(Camera, RecomputesByFlags) {
  Q3DCamera c;
  Q3DCameraUpdate(&c);
  EXPECT_EQ(Q3DCameraLastWork(), 62u);  // everything after construction
  Q3DCameraUpdate(&c);
  EXPECT_EQ(Q3DCameraLastWork(), 0u);

  // Flag 2 alone: VP and VPS, not P or S.
  const QMathMatrix P = c.mProj, S = c.mViewport;
  c.mProj.m[1] = 123.0f;     // a marker a recomputation of P would not keep
  c.mViewport.m[2] = 77.0f;  // likewise for S
  QMathMatrixSetRotateY(&c.mView, 4096);
  c.mView.m[12] = 3.0f;
  c.uChanged = Q3DCAM_VIEW;
  Q3DCameraUpdate(&c);
  EXPECT_EQ(Q3DCameraLastWork(), 20u);
  EXPECT_EQ(c.mProj.m[1], 123.0f);
  EXPECT_EQ(c.mViewport.m[2], 77.0f);
  EXPECT_EQ(c.uChanged, 0u);
  // VP = V x P over P's non-zero entries.
  for (int i = 0; i < 4; ++i) {
    const float* v = &c.mView.m[i * 4];
    EXPECT_FLOAT_EQ(c.mViewProj.m[i * 4 + 0], v[0] * P.m[0] + v[2] * P.m[8]);
    EXPECT_FLOAT_EQ(c.mViewProj.m[i * 4 + 3], v[2] * P.m[11]);
  }
  c.mProj = P;
  c.mViewport = S;

  // The same screen twice recomputes nothing; a new one the viewport and VPS,
  // plus everything flag 4 asks for.
  const uint32_t same[2] = {640, 480};
  Q3DCameraSetScreen(&c, same, 0.75f);
  EXPECT_EQ(Q3DCameraLastWork(), 0u);
  const uint32_t big[2] = {1024, 768};
  Q3DCameraSetScreen(&c, big, 0.75f);
  EXPECT_EQ(Q3DCameraLastWork(), 62u);
  EXPECT_NEAR(c.mViewport.m[0], 1023.999, 1e-3);
  Q3DCameraSetScreen(&c, big, 0.75f);
  EXPECT_EQ(Q3DCameraLastWork(), 0u);

  // Field of view: projection, VP and VPS.
  c.uFov = 5824;
  c.uChanged = Q3DCAM_FOV;
  Q3DCameraUpdate(&c);
  EXPECT_EQ(Q3DCameraLastWork(), 22u);
  c.uChanged = Q3DCAM_FOV2;
  Q3DCameraUpdate(&c);
  EXPECT_EQ(Q3DCameraLastWork(), 22u);
  c.uChanged = Q3DCAM_SCREEN;
  Q3DCameraUpdate(&c);
  EXPECT_EQ(Q3DCameraLastWork(), 24u);
}

TEST(Camera, WideWindowClampsProjectionButNotTheRectangle) {
  Q3DCamera c;
  Q3DCameraSetWindow(&c, 0.5f, 0.0f, 1.0f);  // L -0.5, R 1.5
  EXPECT_FLOAT_EQ(c.fLeft, -0.5f);
  EXPECT_FLOAT_EQ(c.fRight, 1.5f);
  EXPECT_FLOAT_EQ(c.fClampLeft, -0.5f);
  EXPECT_FLOAT_EQ(c.fClampRight, 1.0f);
  EXPECT_FLOAT_EQ(c.fClampTop, 0.75f);
  EXPECT_FLOAT_EQ(c.fClampBottom, -0.75f);
  // a uses the unclamped width R - L = 2 over the clamped one 1.5.
  const double co = QMathCos(4824) / 65536.0;
  EXPECT_NEAR(c.mProj.m[0], 2.0 / (2.0 * 1.5) * co, 1e-6);
  EXPECT_NEAR(c.mViewport.m[0], 1.5 * 319.9995, 1e-3);
  // Rectangle from the unclamped window: x = hw * -0.5 + hw, width to 1.5.
  const double hw = 319.9995;
  EXPECT_EQ(c.aiScreenRect[0], static_cast<int32_t>(hw * -0.5 + hw));
  EXPECT_EQ(c.aiScreenRect[2], static_cast<int32_t>(hw * 1.5 + hw - c.aiScreenRect[0]));
}

TEST(Camera, PositionAndFarPoint) {
  Q3DCamera c;
  // A camera at (10, 2, -5) turned a quarter about y.
  QMathMatrix world;
  QMathMatrixIdentity(&world);
  QMathMatrixSetRotateY(&world, 16384);
  world.m[12] = 10.0f;
  world.m[13] = 2.0f;
  world.m[14] = -5.0f;
  QMathMatrixInvertRigid(&c.mView, &world);
  c.uChanged = Q3DCAM_VIEW;
  Q3DCameraUpdate(&c);
  QMathVec3 pos;
  Q3DCameraPositionGet(&c, &pos);
  EXPECT_NEAR(pos.x, 10.0f, 1e-3);
  EXPECT_NEAR(pos.y, 2.0f, 1e-3);
  EXPECT_NEAR(pos.z, -5.0f, 1e-3);
  QMathVec3 far;
  Q3DCameraFarPointGet(&c, &far);
  // The viewing axis (camera +z) in world space is the third row of world.
  EXPECT_NEAR(far.x, 10.0f + 1000.0f * world.m[8], 1e-2);
  EXPECT_NEAR(far.y, 2.0f + 1000.0f * world.m[9], 1e-2);
  EXPECT_NEAR(far.z, -5.0f + 1000.0f * world.m[10], 1e-2);
}

}  // namespace

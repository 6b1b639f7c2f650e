// The scene camera.
#include "render3d/q3d_camera.h"

#include <cstring>

#include "framework/math/qmatrix.h"
#include "framework/math/trigw.h"

namespace {

uint32_t g_uLastWork = 0;

enum : uint32_t {
  WORK_PROJECTION = 2,
  WORK_VIEWPROJ = 4,
  WORK_VIEWPORT = 8,
  WORK_SCREEN = 16,
  WORK_CLAMP = 32,
};

inline float& At(QMathMatrix& m, int row, int col) { return m.m[row * 4 + col]; }
inline float At(const QMathMatrix& m, int row, int col) { return m.m[row * 4 + col]; }

void ClampWindow(Q3DCamera* c) {
  c->fClampLeft = c->fLeft < -1.0f ? -1.0f : c->fLeft;
  c->fClampRight = c->fRight > 1.0f ? 1.0f : c->fRight;
  c->fClampBottom = c->fBottom < -c->fAspect ? -c->fAspect : c->fBottom;
  c->fClampTop = c->fTop > c->fAspect ? c->fAspect : c->fTop;
}

void Projection(Q3DCamera* c) {
  const int32_t half = static_cast<int32_t>(c->uFov >> 1);
  const float s = static_cast<float>(QMathSin(half)) / 65536.0f;
  const float co = static_cast<float>(QMathCos(half)) / 65536.0f;
  const float q = s / (1.0f - c->fNear / c->fFar);
  const float L = c->fLeft, R = c->fRight, T = c->fTop, B = c->fBottom;
  const float Lc = c->fClampLeft, Rc = c->fClampRight, Tc = c->fClampTop, Bc = c->fClampBottom;
  // Both scales use the unclamped width R - L.
  const float a = (R - L) / (2.0f * (Rc - Lc));
  const float b = (R - L) / (2.0f * (Tc - Bc));
  const float e = (R - 2.0f * Lc + L) / (2.0f * (Rc - Lc));
  const float f = (B - 2.0f * Bc + T) / (2.0f * (Tc - Bc));
  QMathMatrix& P = c->mProj;
  At(P, 0, 0) = a * co;
  At(P, 1, 1) = b * co;
  At(P, 2, 0) = e * s;
  At(P, 2, 1) = f * s;
  At(P, 2, 2) = q;
  At(P, 2, 3) = s;
  At(P, 3, 2) = -q * c->fNear;
  QMathMatrix& N = c->mNorm;
  At(N, 0, 0) = co / s;
  At(N, 1, 1) = co / s;
  At(N, 2, 2) = q / s;
  At(N, 2, 3) = 1.0f;
  At(N, 3, 2) = -q * c->fNear / s;
}

// VP = V x P over P's non-zero entries, V's fourth column taken as (0, 0, 0, 1).
void ViewProjection(Q3DCamera* c) {
  const QMathMatrix& V = c->mView;
  const QMathMatrix& P = c->mProj;
  QMathMatrix& VP = c->mViewProj;
  for (int i = 0; i < 4; ++i) {
    At(VP, i, 0) = At(V, i, 0) * At(P, 0, 0) + At(V, i, 2) * At(P, 2, 0);
    At(VP, i, 1) = At(V, i, 1) * At(P, 1, 1) + At(V, i, 2) * At(P, 2, 1);
    At(VP, i, 2) = At(V, i, 2) * At(P, 2, 2);
    At(VP, i, 3) = At(V, i, 2) * At(P, 2, 3);
  }
  At(VP, 3, 2) += At(P, 3, 2);
}

struct ViewportScale {
  float hw, hm, sy;
};

ViewportScale Scale(const Q3DCamera* c) {
  ViewportScale v;
  v.hw = (static_cast<float>(c->uWidth) - 0.001f) * 0.5f;
  v.hm = static_cast<float>(c->uHeight) - 0.001f;
  v.sy = v.hm / (c->fAspect * -2.0f);
  return v;
}

void Viewport(Q3DCamera* c) {
  const ViewportScale v = Scale(c);
  QMathMatrix& S = c->mViewport;
  At(S, 0, 0) = (c->fClampRight - c->fClampLeft) * v.hw;
  At(S, 3, 0) = v.hw * c->fClampLeft + v.hw;
  At(S, 1, 1) = v.sy * (c->fClampTop - c->fClampBottom);
  At(S, 3, 1) = v.sy * c->fClampBottom + v.hm * 0.5f;
}

void ScreenRect(Q3DCamera* c) {
  const ViewportScale v = Scale(c);
  const float hh = v.hm * 0.5f;
  const float x = v.hw * c->fLeft + v.hw;
  const float y = v.sy * c->fTop + hh;
  c->aiScreenRect[0] = static_cast<int32_t>(x);
  c->aiScreenRect[1] = static_cast<int32_t>(y);
  c->aiScreenRect[2] = static_cast<int32_t>(v.hw * c->fRight + v.hw - static_cast<float>(c->aiScreenRect[0]));
  c->aiScreenRect[3] = static_cast<int32_t>(v.sy * c->fBottom + hh - static_cast<float>(c->aiScreenRect[1]));
}

}  // namespace

Q3DCamera::Q3DCamera() {
  oHeader.uType = Q3D_TYPE_FRAME;
  QMathMatrixIdentity(&mView);
  QMathMatrixIdentity(&mFrame2);
  std::memset(&mProj, 0, sizeof mProj);
  std::memset(&mViewProj, 0, sizeof mViewProj);
  std::memset(&mNorm, 0, sizeof mNorm);
  QMathMatrixIdentity(&mViewport);
  QMathMatrixIdentity(&mScreen);
  fLeft = fClampLeft = -1.0f;
  fTop = fClampTop = 0.75f;
  fRight = fClampRight = 1.0f;
  fBottom = fClampBottom = -0.75f;
  fOne = 1.0f;
  uFov = 9648;
  uPad = 0;
  fNear = 2.0f;
  fFar = 1000.0f;
  uWidth = 640;
  uHeight = 480;
  fAspect = 0.75f;
  aiScreenRect[0] = aiScreenRect[1] = aiScreenRect[2] = aiScreenRect[3] = 0;
  uChanged = 0;
  Projection(this);
  mViewProj = mProj;
  Viewport(this);
  QMathMatrixMultiply(&mScreen, &mViewProj, &mViewport);
  Q3DCameraSetWindow(this, 0.0f, 0.0f, 1.0f);
  uChanged = 0xFFFFFFFFu;
}

void Q3DCameraUpdate(Q3DCamera* c) {
  const uint32_t flags = c->uChanged;
  uint32_t work = 0;
  if (flags & Q3DCAM_SCREEN) work |= WORK_VIEWPORT | WORK_SCREEN;
  if (flags & Q3DCAM_WINDOW) work |= 62;
  if (flags & (Q3DCAM_FOV | Q3DCAM_FOV2)) work |= WORK_PROJECTION | WORK_VIEWPROJ | WORK_SCREEN;
  if (flags & Q3DCAM_VIEW) work |= WORK_VIEWPROJ | WORK_SCREEN;
  c->uChanged = 0;
  g_uLastWork = work;
  if (work == 0) return;
  if (work & WORK_CLAMP) ClampWindow(c);
  if (work & WORK_PROJECTION) Projection(c);
  if (work & WORK_VIEWPROJ) ViewProjection(c);
  if (work & WORK_VIEWPORT) Viewport(c);
  if (work & WORK_SCREEN) QMathMatrixMultiply(&c->mScreen, &c->mViewProj, &c->mViewport);
}

uint32_t Q3DCameraLastWork() { return g_uLastWork; }

void Q3DCameraSetWindow(Q3DCamera* c, float cx, float cy, float halfWidth) {
  c->fLeft = cx - halfWidth;
  c->fRight = cx + halfWidth;
  c->fBottom = cy - halfWidth * c->fAspect;
  c->fTop = cy + halfWidth * c->fAspect;
  c->uChanged |= Q3DCAM_WINDOW;
  Q3DCameraUpdate(c);
  ScreenRect(c);
}

void Q3DCameraSetScreen(Q3DCamera* c, const uint32_t* pSize, float aspect) {
  if (pSize[0] == c->uWidth && pSize[1] == c->uHeight && aspect == c->fAspect) {
    Q3DCameraUpdate(c);
    return;
  }
  c->uWidth = pSize[0];
  c->uHeight = pSize[1];
  c->fAspect = aspect;
  c->uChanged |= Q3DCAM_SCREEN | Q3DCAM_WINDOW;
  Q3DCameraUpdate(c);
}

void Q3DCameraPositionGet(const Q3DCamera* c, QMathVec3* pOut) {
  const QMathMatrix& V = c->mView;
  const float tx = At(V, 3, 0), ty = At(V, 3, 1), tz = At(V, 3, 2);
  // -(t x R transposed): component j is minus t dotted with row j of R.
  pOut->x = -(tx * At(V, 0, 0) + ty * At(V, 0, 1) + tz * At(V, 0, 2));
  pOut->y = -(tx * At(V, 1, 0) + ty * At(V, 1, 1) + tz * At(V, 1, 2));
  pOut->z = -(tx * At(V, 2, 0) + ty * At(V, 2, 1) + tz * At(V, 2, 2));
}

void Q3DCameraFarPointGet(const Q3DCamera* c, QMathVec3* pOut) {
  QMathMatrix inv;
  QMathMatrixIdentity(&inv);
  QMathMatrixTranspose3x3(&inv, &c->mView);
  const QMathVec3 back{-At(c->mView, 3, 0), -At(c->mView, 3, 1), -At(c->mView, 3, 2)};
  QMathMatrixTranslateLocal(&inv, &back);
  const QMathVec3 far{0.0f, 0.0f, c->fFar};
  QMathMatrixTransformPoint(&inv, pOut, &far);
}

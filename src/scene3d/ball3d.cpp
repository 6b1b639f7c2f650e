#include "scene3d/ball3d.h"

#include <algorithm>
#include <cmath>

#include "framework/math/g_fixpt.h"
#include "framework/math/qmatrix.h"
#include "framework/math/qquat.h"
#include "render3d/q3d_transform.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_query.h"
#include "scene3d/scene3d_state.h"
#include "scene3d/texture.h"

int32_t scene3d_bHighlight = 1;

namespace {

QMathQuat g_oPrevious = {0.0f, 0.0f, 0.0f, 1.0f};
float g_fRoll = 0.0f;

// The rotation matrix of a quaternion with k = 2 / |q|^2, translation p.
void QuatMatrix(QMathMatrix* m, const QMathQuat& q, const QMathVec3& p) {
  const float n = q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w;
  const float k = n > 0.0001f ? 2.0f / n : n;
  const float x = q.x, y = q.y, z = q.z, w = q.w;
  const float r[16] = {1 - k * (y * y + z * z), k * (x * y + w * z), k * (x * z - w * y), 0,
                       k * (x * y - w * z), 1 - k * (x * x + z * z), k * (y * z + w * x), 0,
                       k * (x * z + w * y), k * (y * z - w * x), 1 - k * (x * x + y * y), 0,
                       p.x, p.y, p.z, 1};
  std::copy(r, r + 16, m->m);
}

void MaterialFree(Q3DMaterial*& m) {
  if (m != nullptr) Q3DMaterialReset(m);
  delete m;
  m = nullptr;
}

}  // namespace

void ball_UpdateReset() {
  g_oPrevious = QMathQuat{0.0f, 0.0f, 0.0f, 1.0f};
  g_fRoll = 0.0f;
}

BallObject::BallObject() {
  int32_t edition = scene3d_iHomeKitEditionGet();
  edition = std::clamp(edition, 0, 10);
  const char* ball = nullptr;
  const char* highlight = nullptr;
  ball_TexturesGet(edition, scene3d_eColourMode, &ball, &highlight);
  poTexture = texture_poLoad(ball, nullptr, 1, -1);
  poHighlightTexture = texture_poLoad(highlight, nullptr, 1, -1);
  poMaterial = new Q3DMaterial(poTexture);
  poMaterial->oColour = Q3DColour{255, 255, 255, 255};
  poHighlightMaterial = new Q3DMaterial(poHighlightTexture);
  poHighlightMaterial->oColour = Q3DColour{255, 255, 255, 255};
  ball_DiscBuild(&oDisc);
  for (int i = 0; i < 24; ++i)
    for (int k = 0; k < 4; ++k) aQuads[i].auIndex[k] = oDisc.aQuad[i][k];
  oVertices.uCount = 25;
  oVertices.pVertices = oDisc.aVertex;
  oQuads.uCount = 24;
  oQuads.pQuads = aQuads;
  oQuads.pVertexList = &oVertices;
  aHighlight[0] = QMathVec3{-0.127f, 0.127f, -0.02f};
  aHighlight[1] = QMathVec3{0.127f, 0.127f, -0.02f};
  aHighlight[2] = QMathVec3{-0.127f, -0.127f, -0.02f};
  aHighlight[3] = QMathVec3{0.127f, -0.127f, -0.02f};
  static const uint16_t kIdx[4] = {0, 1, 3, 2};
  static const float kTex[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  oHighlightQuad = Q3DQuad{};
  for (int k = 0; k < 4; ++k) {
    oHighlightQuad.auIndex[k] = kIdx[k];
    const uint32_t w = poHighlightTexture != nullptr ? poHighlightTexture->uWidth : 64;
    const uint32_t h = poHighlightTexture != nullptr ? poHighlightTexture->uHeight : 64;
    if (scene3d_poDevice != nullptr) scene3d_poDevice->TexelMap(&oHighlightQuad.aTexel[k], kTex[k], w, h);
    else oHighlightQuad.aTexel[k] = Q3DTexel{kTex[k][0], kTex[k][1]};
  }
  oHighlightVertices.uCount = 4;
  oHighlightVertices.pVertices = aHighlight;
  oHighlightQuads.uCount = 1;
  oHighlightQuads.pQuads = &oHighlightQuad;
  oHighlightQuads.pVertexList = &oHighlightVertices;
  ball_Scroll(0.0f, 0.0f);
  TexelsApply();
  Q3DBoundsFromPoints(&oBounds, oDisc.aVertex, 25);
  // Until a frame places it, the ball rests on the centre spot: its centre
  // a radius above the ground, not in it.
  oCentre = QMathVec3{0.0f, kBallRadius, 0.0f};
  QMathMatrixIdentity(&mLocal);
  QMathMatrixSetTranslation(&mLocal, &oCentre);
  QMathMatrixIdentity(&mHighlight);
  QMathMatrixSetTranslation(&mHighlight, &oCentre);
}

BallObject::~BallObject() {
  MaterialFree(poMaterial);
  MaterialFree(poHighlightMaterial);
  texture_Free(poTexture);
  texture_Free(poHighlightTexture);
  Q3DVertexListRelease(&oVertices);
  Q3DVertexListRelease(&oHighlightVertices);
}

void BallObject::TexelsApply() {
  float su, sv;
  ball_ScrollGet(&su, &sv);
  for (int i = 0; i < 24; ++i)
    for (int k = 0; k < 4; ++k) {
      const float uv[2] = {oDisc.aTexel[i][k][0] + su, oDisc.aTexel[i][k][1] + sv};
      if (scene3d_poDevice != nullptr) scene3d_poDevice->TexelMap(&aQuads[i].aTexel[k], uv, 64, 64);
      else aQuads[i].aTexel[k] = Q3DTexel{uv[0], uv[1]};
    }
}

void BallObject::Update(const PacketBall& b) {
  oCentre.x = static_cast<float>(b.iX * 0.00635);
  oCentre.y = static_cast<float>(std::max(b.iHeight * 0.00635, 0.0) + 0.127);
  oCentre.z = static_cast<float>(b.iY * 0.00635);
  const QMathMatrix& v = scene3d_mWorldToView;
  QMathVec3 look{v.m[2], v.m[6], v.m[10]};
  QMathQuat qv, qb;
  QMathQuatFromDirection(&qv, &look);
  QMathVec3 to{oCentre.x - scene3d_oCameraPosition.x, oCentre.y - scene3d_oCameraPosition.y,
               oCentre.z - scene3d_oCameraPosition.z};
  const float lt = std::sqrt(to.x * to.x + to.y * to.y + to.z * to.z);
  if (lt > 0.0f) to = QMathVec3{to.x / lt, to.y / lt, to.z / lt};
  QMathQuatFromDirection(&qb, &to);
  // The turn of the view since the last frame rolls the pattern.
  QMathQuat prev = g_oPrevious, conj, qd;
  QMathQuatNormalise(&prev, &prev);
  QMathQuatConjugate(&conj, &prev);
  QMathQuatMultiply(&qd, &qv, &conj);
  g_oPrevious = qv;
  const float vv = qd.x * qd.x + qd.y * qd.y + qd.z * qd.z;
  const float len = vv > 0.0f ? vv * QMathFastInvSqrt(vv) : 0.0f;
  float a = 2.0f * std::atan2(len, qd.w);
  QMathVec3 axis = len < 0.00001f ? QMathVec3{0, 0, 1} : QMathVec3{qd.x / len, qd.y / len, qd.z / len};
  const float twoPi = 6.2831853f;
  if (twoPi - a < a) a -= twoPi;
  QMathVec3 va;
  QMathMatrixRotateVector(&v, &va, &axis);
  const float lv = std::sqrt(va.x * va.x + va.y * va.y + va.z * va.z);
  if (lv > 0.0f) va = QMathVec3{va.x / lv, va.y / lv, va.z / lv};
  const float rx = 0.15f * a * va.x, ry = 0.15f * a * va.y;
  g_fRoll += a * va.z;
  const float c = std::cos(g_fRoll), s = std::sin(g_fRoll);
  ball_Scroll(s * rx - c * ry, -c * rx - s * ry);
  TexelsApply();
  QMathQuat qt, qdisc;
  QMathQuatFromAngleZ(&qt, static_cast<int32_t>(static_cast<uint16_t>(static_cast<int32_t>(g_fRoll * 10430.378f + 0.5f))));
  QMathQuatMultiply(&qdisc, &qt, &qb);
  QuatMatrix(&mLocal, qdisc, oCentre);
  QuatMatrix(&mHighlight, qb, oCentre);
}

void BallObject::Draw() {
  Q3DDevice* d = scene3d_poDevice;
  if (d == nullptr || scene3d_poCamera == nullptr) return;
  if (oBounds.bStale != 0) Q3DBoundsCornersUpdate(&oBounds);
  const int32_t clip = model_iBoxOutcodes(oBounds.aCorner, &mLocal, scene3d_poCamera);
  if (clip == -1) return;
  d->RenderStateSet(4, 16);
  if (clip == 0) Q3DVertexListProject(&oVertices, 0, 25, &mLocal, scene3d_poCamera);
  else Q3DVertexListClipTransform(&oVertices, 0, 25, &mLocal, scene3d_poCamera);
  d->BatchBegin(0);
  d->TextureSet(poMaterial);
  d->FaceListDraw(&oQuads, scene3d_poCamera, static_cast<uint32_t>(clip));
  d->BatchEnd();
  if (!scene3d_bHighlight) return;
  d->RenderStateSet(4, 32);
  if (clip == 0) Q3DVertexListProject(&oHighlightVertices, 0, 4, &mHighlight, scene3d_poCamera);
  else Q3DVertexListClipTransform(&oHighlightVertices, 0, 4, &mHighlight, scene3d_poCamera);
  d->BatchBegin(0);
  d->TextureSet(poHighlightMaterial);
  d->FaceListDraw(&oHighlightQuads, scene3d_poCamera, static_cast<uint32_t>(clip));
  d->BatchEnd();
}

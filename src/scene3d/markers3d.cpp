#include "scene3d/markers3d.h"

#include <cmath>
#include <cstdio>

#include "framework/math/qmatrix.h"
#include "framework/math/trigw.h"
#include "render3d/q3d_camera.h"
#include "render3d/q3d_transform.h"
#include "scene3d/model.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_state.h"
#include "scene3d/texture.h"

const Q3DColour marker_aUserColours[4] = {{181, 0, 16, 255}, {0, 146, 0, 255}, {33, 3, 250, 255}, {248, 104, 0, 255}};

// Four bars 0.3048 wide from 0.508 to 1.016 out along +z, +x, -z, -x: the
// outer ends first (0 to 7), then the inner ends (8 to 15).
const QMathVec3 marker_aCrosshairShape[16] = {
    {-0.1524f, 0, 1.016f},  {0.1524f, 0, 1.016f},  {1.016f, 0, 0.1524f},   {1.016f, 0, -0.1524f},
    {0.1524f, 0, -1.016f},  {-0.1524f, 0, -1.016f}, {-1.016f, 0, -0.1524f}, {-1.016f, 0, 0.1524f},
    {-0.1524f, 0, 0.508f},  {0.1524f, 0, 0.508f},  {0.508f, 0, 0.1524f},   {0.508f, 0, -0.1524f},
    {0.1524f, 0, -0.508f},  {-0.1524f, 0, -0.508f}, {-0.508f, 0, -0.1524f}, {-0.508f, 0, 0.1524f}};
const QMathVec3 marker_aArrowShape[4] = {{0, 0, 1.4605f}, {0.381f, 0, 0.9525f}, {0, 0, 1.0795f}, {-0.381f, 0, 0.9525f}};
const QMathVec3 marker_aAimShape[7] = {{-0.254f, 0, 8.89f}, {0.254f, 0, 8.89f}, {-0.762f, 0, 0}, {0.762f, 0, 0},
                                       {-1.016f, 0, 8.89f}, {0, 0, 9.906f},     {1.016f, 0, 8.89f}};
const QMathVec3 marker_aBallCrossShape[8] = {{-0.0847f, 0, 0.3387f}, {0.0847f, 0, 0.3387f}, {-0.0847f, 0, -0.3387f},
                                             {0.0847f, 0, -0.3387f}, {-0.3387f, 0, 0.0847f}, {0.3387f, 0, 0.0847f},
                                             {-0.3387f, 0, -0.0847f}, {0.3387f, 0, -0.0847f}};

namespace {

const QMathVec3 kRingShape[4] = {{-0.762f, 0, 0.762f}, {0.762f, 0, 0.762f}, {-0.762f, 0, -0.762f}, {0.762f, 0, -0.762f}};

const uint16_t kCrosshairQuads[4][4] = {{0, 1, 9, 8}, {2, 3, 11, 10}, {4, 5, 13, 12}, {6, 7, 15, 14}};
const uint16_t kArrowQuads[1][4] = {{0, 1, 2, 3}};
const uint16_t kRingQuads[1][4] = {{0, 1, 3, 2}};
const float kRingTexels[1][8] = {{0, 0, 1, 0, 1, 1, 0, 1}};
const uint16_t kAimQuads[2][4] = {{0, 1, 3, 2}, {6, 4, 5, 6}};
const uint16_t kCrossQuads[2][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}};
const uint16_t kQuadQuads[1][4] = {{0, 1, 3, 2}};

// Highlight and user colour by user (alpha 255).
const uint8_t kPulse[4][2][3] = {{{222, 194, 8}, {181, 0, 16}},
                                 {{8, 222, 193}, {0, 146, 0}},
                                 {{249, 18, 214}, {33, 3, 250}},
                                 {{52, 149, 16}, {248, 104, 0}}};

void Translate(QMathMatrix* m, float x, float z) {
  m->m[12] = x;
  m->m[13] = 0.0f;
  m->m[14] = z;
}

}  // namespace

// ---- Shared --------------------------------------------------------------------------------

MarkerBase::MarkerBase(const QMathVec3* shape, uint32_t n, const uint16_t (*quads)[4], const float (*texels)[8],
                       uint32_t nq, uint32_t size) {
  oVertices.uCount = n;
  oVertices.pVertices = const_cast<QMathVec3*>(shape);
  aColours.assign(n, Q3DColour{255, 255, 255, 255});
  oVertices.pColours = aColours.data();
  std::vector<ModelSourceQuad> src(nq);
  for (uint32_t i = 0; i < nq; ++i) {
    src[i] = ModelSourceQuad{};
    for (int k = 0; k < 4; ++k) src[i].auIndex[k] = quads[i][k];
    if (texels != nullptr)
      for (int k = 0; k < 8; ++k) src[i].afUV[k] = texels[i][k];
  }
  model_QuadsConvert(&pQuads, src.data(), nq, size);
  oQuads.uCount = nq;
  oQuads.pQuads = pQuads;
  oQuads.pVertexList = &oVertices;
  oQuads.uFlags &= ~Q3D_FACES_NO_COLOURS;
  QMathMatrixIdentity(&oMatrix);
}

MarkerBase::~MarkerBase() {
  delete[] pQuads;
  Q3DVertexListRelease(&oVertices);
}

void MarkerBase::ColoursSet(Q3DColour c) {
  for (Q3DColour& k : aColours) k = c;
}

void MarkerBase::DrawQuads(uint32_t state, const QMathMatrix* m) {
  Q3DDevice* d = scene3d_poDevice;
  if (!bVisible || d == nullptr || scene3d_poCamera == nullptr) return;
  d->RenderStateSet(4, state);
  Q3DVertexListClipTransform(&oVertices, 0, oVertices.uCount, m, scene3d_poCamera);
  d->BatchBegin(0);
  d->FaceListDraw(&oQuads, scene3d_poCamera, 63);
  d->BatchEnd();
  bVisible = 0;
}

void MarkerPulse::Step(int32_t user, Q3DColour* c1, Q3DColour* c2) {
  fBlend -= 0.1f;
  if (fBlend < 0.0f) {
    fBlend = 1.0f;
    iPhase = (iPhase + 1) % 3;
  }
  const uint8_t* h = kPulse[user & 3][0];
  const uint8_t* u = kPulse[user & 3][1];
  uint8_t a[3], b[3];
  for (int k = 0; k < 3; ++k) {
    a[k] = static_cast<uint8_t>(h[k] * fBlend + u[k] * (1.0f - fBlend));
    b[k] = static_cast<uint8_t>(u[k] * fBlend + h[k] * (1.0f - fBlend));
  }
  *c1 = Q3DColour{a[0], a[1], a[2], 255};
  *c2 = Q3DColour{b[0], b[1], b[2], 255};
}

// ---- Kinds ---------------------------------------------------------------------------------

MarkerCrosshair::MarkerCrosshair(int32_t user)
    : MarkerBase(marker_aCrosshairShape, 16, kCrosshairQuads, nullptr, 4, 32), iUser(user) {}

void MarkerCrosshair::Place(float x, float z) {
  Translate(&oMatrix, x, z);
  bVisible = 1;
}

void MarkerCrosshair::Draw() {
  if (!bVisible) return;
  Q3DColour c1, c2;
  oPulse.Step(iUser, &c1, &c2);
  for (size_t i = 0; i < aColours.size(); ++i) aColours[i] = i < aColours.size() / 2 ? c2 : c1;
  DrawQuads(4, &oMatrix);
}

MarkerArrow::MarkerArrow(int32_t user) : MarkerBase(marker_aArrowShape, 4, kArrowQuads, nullptr, 1, 32), iUser(user) {}

void MarkerArrow::Place(float x, float z, uint16_t angle) {
  QMathMatrixSetRotateY(&oMatrix, angle);
  Translate(&oMatrix, x, z);
  bVisible = 1;
}

void MarkerArrow::Draw() {
  if (!bVisible) return;
  Q3DColour c1, c2;
  oPulse.Step(iUser, &c1, &c2);
  aColours[0] = c2;
  for (size_t i = 1; i < aColours.size(); ++i) aColours[i] = c1;
  DrawQuads(4, &oMatrix);
}

MarkerRing::MarkerRing(int32_t user) : MarkerBase(kRingShape, 4, kRingQuads, kRingTexels, 1, 32), iUser(user) {
  ColoursSet(marker_aUserColours[user & 3]);
  char numbered[32];
  std::snprintf(numbered, sizeof numbered, "markers\\ring%1d.tga", static_cast<int>((user & 3) + 1));
  apoTexture[0] = texture_poLoad("markers\\plainring.tga", nullptr, 0, -1);
  apoTexture[1] = texture_poLoad(numbered, nullptr, 0, -1);
  for (int i = 0; i < 2; ++i) {
    apoMaterial[i] = new Q3DMaterial(apoTexture[i]);
    apoMaterial[i]->oColour = Q3DColour{0, 0, 0, 255};
  }
}

MarkerRing::~MarkerRing() {
  for (int i = 0; i < 2; ++i) {
    if (apoMaterial[i] != nullptr) Q3DMaterialReset(apoMaterial[i]);
    delete apoMaterial[i];
    texture_Free(apoTexture[i]);
  }
}

void MarkerRing::Place(float x, float z, int32_t hasBall) {
  if (hasBall) {
    uAngle = static_cast<uint16_t>(uAngle + 2912);
    QMathMatrixSetRotateY(&oMatrix, uAngle);
    iStyle = 2;
  } else {
    iStyle = 1;
  }
  Translate(&oMatrix, x, z);
  bVisible = 1;
}

void MarkerRing::Draw() {
  Q3DDevice* d = scene3d_poDevice;
  if (iStyle == 0 || d == nullptr || scene3d_poCamera == nullptr) return;
  Q3DVertexListClipTransform(&oVertices, 0, 4, &oMatrix, scene3d_poCamera);
  d->RenderStateSet(4, iStyle == 2 ? 32 : 36);
  d->TextureSet(apoMaterial[iStyle == 2 ? 1 : 0]);
  d->BatchBegin(0);
  d->FaceListDraw(&oQuads, scene3d_poCamera, 63);
  d->BatchEnd();
  iStyle = 0;
  bVisible = 0;
}

MarkerAimArrow::MarkerAimArrow() : MarkerBase(marker_aAimShape, 7, kAimQuads, nullptr, 2, 32) {
  QMathMatrixIdentity(&oShadowMatrix);
  oQuads.uFlags |= Q3D_FACES_NO_COLOURS;  // one colour for the whole arrow
}

void MarkerAimArrow::Place(float x, float z, uint16_t direction, uint16_t loft) {
  QMathMatrix rx, ry;
  QMathMatrixIdentity(&rx);
  QMathMatrixIdentity(&ry);
  QMathMatrixSetRotateX(&rx, -static_cast<int32_t>(loft));
  QMathMatrixSetRotateY(&ry, 16384 - static_cast<int32_t>(direction));
  QMathMatrixMultiply(&oMatrix, &rx, &ry);
  Translate(&oMatrix, x, z);
  QMathMatrix flat;
  QMathMatrixIdentity(&flat);
  flat.m[4] = flat.m[5] = flat.m[6] = flat.m[7] = 0.0f;
  QMathMatrixMultiply(&oShadowMatrix, &oMatrix, &flat);
  Translate(&oShadowMatrix, x, z);
  mLocal = oMatrix;
  bVisible = 1;
}

void MarkerAimArrow::Draw() {
  Q3DDevice* d = scene3d_poDevice;
  if (!bVisible || d == nullptr || scene3d_poCamera == nullptr) return;
  d->BatchBegin(0);
  d->RenderStateSet(4, 3);
  const Q3DColour c{181, 0, 16, 96};
  d->ParameterSet(Q3D_PARAM_FLAT_COLOUR, &c);
  Q3DVertexListClipTransform(&oVertices, 0, 7, &oMatrix, scene3d_poCamera);
  d->FaceListDraw(&oQuads, scene3d_poCamera, 63);
  d->BatchEnd();
  bVisible = 0;
}

void MarkerAimArrow::ShadowDraw() {
  Q3DDevice* d = scene3d_poDevice;
  if (!bVisible || d == nullptr || scene3d_poCamera == nullptr) return;
  d->BatchBegin(0);
  d->RenderStateSet(4, 3);
  const Q3DColour c{0, 0, 0, 48};
  d->ParameterSet(Q3D_PARAM_FLAT_COLOUR, &c);
  Q3DVertexListClipTransform(&oVertices, 0, 7, &oShadowMatrix, scene3d_poCamera);
  d->FaceListDraw(&oQuads, scene3d_poCamera, 63);
  d->BatchEnd();
}

MarkerBallCross::MarkerBallCross() : MarkerBase(marker_aBallCrossShape, 8, kCrossQuads, nullptr, 2, 32) {
  ColoursSet(Q3DColour{255, 255, 0, 255});
  QMathMatrixSetRotateY(&oMatrix, 8192);
}

void MarkerBallCross::Place(float x, float z) {
  Translate(&oMatrix, x, z);
  bVisible = 1;
}

void MarkerBallCross::Draw() { DrawQuads(4, &oMatrix); }

MarkerUserPointer::MarkerUserPointer(int32_t user) : iUser(user) {
  for (Q3DScreenVertex& v : aVertex) Q3DScreenVertexReset(&v);
}

void MarkerUserPointer::Place(float x, float z) {
  if (scene3d_poCamera == nullptr) return;
  Q3DLine line;
  QMathVec3 far;
  Q3DCameraFarPointGet(scene3d_poCamera, &far);
  const QMathVec3 at{x, 0.0f, z};
  // A segment wholly outside the view leaves the pointer undrawn.
  if (Q3DLineProject(&line, &at, &far, scene3d_poCamera) == -1) return;
  const float ax = line.afA[0], ay = line.afA[1], bx = line.afB[0], by = line.afB[1];
  const int32_t turn = static_cast<int32_t>(std::atan2(by - ay, ax - bx) * 10430.378350469766 + 0.5);
  const int32_t angle = static_cast<uint16_t>(16384 - turn);
  const float s = static_cast<float>(QMathSin(angle)) / 65536.0f, c = static_cast<float>(QMathCos(angle)) / 65536.0f;
  static const float kOffset[3][2] = {{0, 0}, {10, 30}, {-10, 30}};
  const Q3DColour colour{marker_aUserColours[iUser & 3].r, marker_aUserColours[iUser & 3].g,
                         marker_aUserColours[iUser & 3].b, 192};
  for (int k = 0; k < 3; ++k) {
    const float px = kOffset[k][0], py = kOffset[k][1];
    aVertex[k].x = px * c - py * s + ax;
    aVertex[k].y = px * s + py * c + ay;
    aVertex[k].oColour = colour;
  }
  bVisible = 1;
}

void MarkerUserPointer::Draw() {
  Q3DDevice* d = scene3d_poDevice;
  if (!bVisible || d == nullptr) return;
  d->RenderStateSet(4, 12);
  d->BatchBegin(0);
  d->VertexListDraw(aVertex, 3, scene3d_poCamera, 63);
  d->BatchEnd();
  bVisible = 0;
}

MarkerQuad::MarkerQuad() : MarkerBase(marker_aBallCrossShape, 4, kQuadQuads, nullptr, 1, 32) {
  oVertices.pVertices = aCorner;
}

void MarkerQuad::Place(const float c[12], int32_t flag) {
  for (int k = 0; k < 4; ++k) aCorner[k] = QMathVec3{c[3 * k], c[3 * k + 1], c[3 * k + 2]};
  ColoursSet(flag ? Q3DColour{200, 0, 0, 255} : Q3DColour{200, 200, 0, 255});
  bVisible = 1;
}

void MarkerQuad::Draw() {
  QMathMatrix identity;
  QMathMatrixIdentity(&identity);
  DrawQuads(4, &identity);
}

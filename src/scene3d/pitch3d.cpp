#include "scene3d/pitch3d.h"

#include "framework/math/qmatrix.h"
#include "render3d/q3d_transform.h"
#include "scene3d/groundtab.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_state.h"
#include "scene3d/texture.h"

const QMathVec3 pitch_aCornerFlags[4] = {{-kPitchHalfLength, 0, kPitchHalfWidth},
                                         {kPitchHalfLength, 0, kPitchHalfWidth},
                                         {-kPitchHalfLength, 0, -kPitchHalfWidth},
                                         {kPitchHalfLength, 0, -kPitchHalfWidth}};

namespace {

constexpr float kOuterX = kGroundHalfLength + 4 * kPitchCell10;  // 105.15728
constexpr float kOuterZ = kGroundHalfWidth + 3 * kPitchCell10;   // 73.15289
constexpr float kSoft = 0.25f;

void QuadSet(Q3DQuad* q, uint16_t a, uint16_t b, uint16_t c, uint16_t d, const float (*texels)[2], uint32_t w,
             uint32_t h) {
  *q = Q3DQuad{};
  q->auIndex[0] = a;
  q->auIndex[1] = b;
  q->auIndex[2] = c;
  q->auIndex[3] = d;
  for (int k = 0; k < 4; ++k) {
    if (texels == nullptr) continue;
    if (scene3d_poDevice != nullptr) scene3d_poDevice->TexelMap(&q->aTexel[k], texels[k], w, h);
    else q->aTexel[k] = Q3DTexel{texels[k][0], texels[k][1]};
  }
}

void MaterialFree(Q3DMaterial*& m) {
  if (m != nullptr) Q3DMaterialReset(m);
  delete m;
  m = nullptr;
}

// Box-tests a mesh and transforms its vertices for the frame; the result is
// the clip mask to draw with, or -1 when nothing is to be drawn.
int32_t Prepare(Q3DVertexList* v, Q3DBounds* b, const QMathMatrix* m) {
  if (b->bStale != 0) Q3DBoundsCornersUpdate(b);
  const int32_t clip = model_iBoxOutcodes(b->aCorner, m, scene3d_poCamera);
  if (clip == 0) Q3DVertexListProject(v, 0, v->uCount, m, scene3d_poCamera);
  else if (clip != -1) Q3DVertexListClipTransform(v, 0, v->uCount, m, scene3d_poCamera);
  return clip;
}

}  // namespace

// ---- Grids ----------------------------------------------------------------------------------

PitchGrid::PitchGrid(int32_t rows, int32_t columns) : iRows(rows), iColumns(columns), oBounds{} {
  const int32_t across = columns + 1;
  m_aVertices.resize(static_cast<size_t>((rows + 1) * across));
  for (int32_t r = 0; r <= rows; ++r)
    for (int32_t c = 0; c <= columns; ++c)
      m_aVertices[static_cast<size_t>(r * across + c)] =
          QMathVec3{static_cast<float>(c) * kPitchCell10, 0.0f, -static_cast<float>(r) * kPitchCell10};
  static const float kWhole[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  m_aQuads.resize(static_cast<size_t>(rows * columns));
  for (int32_t r = 0; r < rows; ++r)
    for (int32_t c = 0; c < columns; ++c) {
      const uint16_t i = static_cast<uint16_t>(r * across + c);
      QuadSet(&m_aQuads[static_cast<size_t>(r * columns + c)], i, static_cast<uint16_t>(i + 1),
              static_cast<uint16_t>(i + across + 1), static_cast<uint16_t>(i + across), kWhole, 64, 64);
    }
  oVertices.uCount = static_cast<uint32_t>(m_aVertices.size());
  oVertices.pVertices = m_aVertices.data();
  oQuads.uCount = static_cast<uint32_t>(m_aQuads.size());
  oQuads.pQuads = m_aQuads.data();
  oQuads.pVertexList = &oVertices;
  Q3DBoundsFromPoints(&oBounds, m_aVertices.data(), oVertices.uCount);
  QMathMatrixIdentity(&oMatrix);
}

PitchGrid::~PitchGrid() { Q3DVertexListRelease(&oVertices); }

void PitchGrid::Draw(float x, float z) {
  Q3DDevice* d = scene3d_poDevice;
  if (d == nullptr) return;
  const QMathVec3 t{x, 0.0f, z};
  QMathMatrixIdentity(&oMatrix);
  QMathMatrixSetTranslation(&oMatrix, &t);
  const int32_t clip = Prepare(&oVertices, &oBounds, &oMatrix);
  if (clip == -1) return;
  d->BatchBegin(0);
  d->FaceListDraw(&oQuads, scene3d_poCamera, static_cast<uint32_t>(clip));
  d->BatchEnd();
}

// ---- The pitch ------------------------------------------------------------------------------

void Pitch3D::ColourSet(Q3DColour* pOut, const uint8_t* pIn) const {
  uint8_t c[4] = {pIn[0], pIn[1], pIn[2], pIn[3]};
  texture_TexelColourConvert(c);
  *pOut = Q3DColour{c[0], c[1], c[2], c[3]};
}

Pitch3D::Pitch3D(int32_t type) : iPitchType(type), bSoftware(scene3d_bSoftware != 0) {
  // A type outside the table takes type 0's texture and colours.
  const PitchType& pt = pitch_TypeGet(type);
  poPatternTexture = texture_poLoad(pt.pszPattern, nullptr, 1, -1);
  for (int i = 0; i < 4; ++i) {
    aLit[i] = pt.aLit[i];
    aShadow[i] = pt.aShadow[i];
  }
  poGrassMaterial = new Q3DMaterial(poPatternTexture);
  poGrassMaterial->oColour = Q3DColour{0, 96, 0, 210};
  poTrackTexture = texture_poLoad("pitch\\track.tga", nullptr, 1, -1);
  poTrackMaterial = new Q3DMaterial(poTrackTexture);
  QMathMatrixIdentity(&oMatrix);
  pitch_MarkingsBuild(&oMarkings);
  poCornerFlag = new MeshObject("goals\\flag.pcs", "goals\\goalpopo.tga");
  poLinesTexture = bSoftware ? texture_poLoad("pitch\\swlines.tga", nullptr, 1, 1)
                             : texture_poLoad("pitch\\lines.tga", nullptr, 1, -1);
  poLinesMaterial = new Q3DMaterial(poLinesTexture);
  iSurroundCellsX = 4;
  iSurroundCellsZ = 3;
  cDecals = 0;
  if (!bSoftware) {
    const Scene3D* s = scene3d_poScene;
    const bool night = s != nullptr && s->bNight == 1;
    const bool training = s != nullptr && s->uStadiumLook == 21;
    if (night || training || type == 4) {
      iShadowCellsX = iShadowCellsZ = 0;
      PlainGroundBuild();
    } else {
      iShadowCellsX = 5;
      iShadowCellsZ = 3;
      ShadowedGroundBuild();
      CornerDecalBuild();
    }
    RingBuild();
  } else {
    GridGroundBuild();
    poTrackSides = new PitchGrid(3, 15);
    poTrackEnds = new PitchGrid(2 * (iSurroundCellsZ + 5), 4);
  }
}

Pitch3D::~Pitch3D() {
  delete poTrackSides;
  delete poTrackEnds;
  for (int32_t i = 0; i < cDecals; ++i) {
    PitchDecal& dc = aDecals[i];
    MaterialFree(dc.poMaterial);
    texture_Free(dc.poTexture);
    Q3DVertexListRelease(&dc.oVertices);
  }
  delete poCornerFlag;
  MaterialFree(poGrassMaterial);
  MaterialFree(poTrackMaterial);
  MaterialFree(poLinesMaterial);
  texture_Free(poPatternTexture);
  texture_Free(poTrackTexture);
  texture_Free(poLinesTexture);
  Q3DVertexListRelease(&oGround);
  Q3DVertexListRelease(&oRing);
}

void Pitch3D::PlainGroundBuild() {
  m_aGround = {{-kGroundHalfLength, 0, kGroundHalfWidth},
               {kGroundHalfLength, 0, kGroundHalfWidth},
               {-kGroundHalfLength, 0, -kGroundHalfWidth},
               {kGroundHalfLength, 0, -kGroundHalfWidth}};
  m_aGroundColours.assign(4, Q3DColour{});
  for (Q3DColour& c : m_aGroundColours) ColourSet(&c, aLit);
  static const float kTex[4][2] = {{0, 0}, {15, 0}, {15, 10}, {0, 10}};
  const uint32_t w = poPatternTexture != nullptr ? poPatternTexture->uWidth : 64;
  const uint32_t h = poPatternTexture != nullptr ? poPatternTexture->uHeight : 64;
  m_aGrass.resize(1);
  QuadSet(&m_aGrass[0], 0, 1, 3, 2, kTex, w, h);
  m_aShading.resize(1);
  QuadSet(&m_aShading[0], 0, 1, 3, 2, nullptr, 0, 0);
  oGround.uCount = 4;
  oGround.pVertices = m_aGround.data();
  oGround.pColours = m_aGroundColours.data();
  oGrass.uCount = 1;
  oGrass.pQuads = m_aGrass.data();
  oGrass.pVertexList = &oGround;
  oShading.uCount = 1;
  oShading.pQuads = m_aShading.data();
  oShading.pVertexList = &oGround;
  oShading.uFlags &= ~Q3D_FACES_NO_COLOURS;
}

void Pitch3D::ShadowedGroundBuild() {
  const float x0 = pitch_fShadowX0(iShadowCellsX), z0 = pitch_fShadowZ0(iShadowCellsZ);
  const float L = kGroundHalfLength, W = kGroundHalfWidth;
  m_aGround = {{-L, 0, W}, {L, 0, W},  {-L, 0, -W}, {L, 0, -W}, {x0, 0, W},
               {x0 + kSoft, 0, W}, {x0, 0, z0}, {x0 + kSoft, 0, z0 + kSoft}, {L, 0, z0 + kSoft}, {L, 0, z0}};
  m_aGroundColours.assign(10, Q3DColour{});
  for (int i = 0; i < 10; ++i) {
    const bool lit = i == 1 || i == 5 || i == 7 || i == 8;
    ColourSet(&m_aGroundColours[static_cast<size_t>(i)], lit ? aLit : aShadow);
  }
  static const float kTex[4][2] = {{0, 0}, {15, 0}, {15, 10}, {0, 10}};
  const uint32_t w = poPatternTexture != nullptr ? poPatternTexture->uWidth : 64;
  const uint32_t h = poPatternTexture != nullptr ? poPatternTexture->uHeight : 64;
  m_aGrass.resize(1);
  QuadSet(&m_aGrass[0], 0, 1, 3, 2, kTex, w, h);
  static const uint16_t kShade[5][4] = {{0, 4, 6, 2}, {6, 9, 3, 2}, {4, 5, 7, 6}, {7, 8, 9, 6}, {5, 1, 8, 7}};
  m_aShading.resize(5);
  for (int i = 0; i < 5; ++i)
    QuadSet(&m_aShading[static_cast<size_t>(i)], kShade[i][0], kShade[i][1], kShade[i][2], kShade[i][3], nullptr,
            0, 0);
  oGround.uCount = 10;
  oGround.pVertices = m_aGround.data();
  oGround.pColours = m_aGroundColours.data();
  oGrass.uCount = 1;
  oGrass.pQuads = m_aGrass.data();
  oGrass.pVertexList = &oGround;
  oShading.uCount = 5;
  oShading.pQuads = m_aShading.data();
  oShading.pVertexList = &oGround;
  oShading.uFlags &= ~Q3D_FACES_NO_COLOURS;
}

void Pitch3D::CornerDecalBuild() {
  const float x0 = pitch_fShadowX0(iShadowCellsX), z0 = pitch_fShadowZ0(iShadowCellsZ);
  PitchDecal& dc = aDecals[cDecals];
  dc.poTexture = texture_poLoad("pitch\\LMCorner.tga", nullptr, 0, 1);
  dc.poMaterial = new Q3DMaterial(dc.poTexture);
  dc.aVertex[0] = QMathVec3{x0, 0, z0 + 4};
  dc.aVertex[1] = QMathVec3{x0 + 4, 0, z0 + 4};
  dc.aVertex[2] = QMathVec3{x0, 0, z0};
  dc.aVertex[3] = QMathVec3{x0 + 4, 0, z0};
  static const float kWhole[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  QuadSet(&dc.oQuad, 0, 1, 3, 2, kWhole, dc.poTexture != nullptr ? dc.poTexture->uWidth : 64,
          dc.poTexture != nullptr ? dc.poTexture->uHeight : 64);
  dc.oVertices.uCount = 4;
  dc.oVertices.pVertices = dc.aVertex;
  dc.oQuads.uCount = 1;
  dc.oQuads.pQuads = &dc.oQuad;
  dc.oQuads.pVertexList = &dc.oVertices;
  ++cDecals;
}

void Pitch3D::RingBuild() {
  const float x0 = pitch_fShadowX0(iShadowCellsX), z0 = pitch_fShadowZ0(iShadowCellsZ);
  const float L = kGroundHalfLength, W = kGroundHalfWidth, X = kOuterX, Z = kOuterZ;
  const QMathVec3 v[16] = {{-X, 0, Z}, {X, 0, Z}, {-X, 0, -Z}, {X, 0, -Z}, {-L, 0, W}, {L, 0, W}, {-L, 0, -W},
                           {L, 0, -W}, {x0, 0, Z}, {x0 + kSoft, 0, Z}, {x0, 0, W}, {x0 + kSoft, 0, W},
                           {L, 0, z0 + kSoft}, {X, 0, z0 + kSoft}, {L, 0, z0}, {X, 0, z0}};
  static const uint8_t kLit[4] = {255, 255, 255, 255}, kGrey[4] = {220, 220, 220, 255};
  for (int i = 0; i < 16; ++i) {
    m_aRing[i] = v[i];
    const bool lit = i == 1 || i == 5 || i == 9 || i == 11 || i == 12 || i == 13;
    ColourSet(&m_aRingColours[i], lit ? kLit : kGrey);
  }
  static const uint16_t kQuads[8][4] = {{0, 8, 10, 4},     {8, 9, 11, 10},    {9, 1, 5, 11},  {5, 1, 13, 12},
                                        {12, 13, 15, 14}, {14, 15, 3, 7},    {6, 7, 3, 2},   {0, 4, 6, 2}};
  // One texture repeat per 10-yard cell, counted from the outer corner at
  // -x, +z: the soft edge keeps its narrow strip of 0.25 / 9.144112.
  const uint32_t w = poTrackTexture != nullptr ? poTrackTexture->uWidth : 64;
  const uint32_t h = poTrackTexture != nullptr ? poTrackTexture->uHeight : 64;
  for (int q = 0; q < 8; ++q) {
    float tex[4][2];
    for (int k = 0; k < 4; ++k) {
      const QMathVec3& p = v[kQuads[q][k]];
      tex[k][0] = (p.x + X) / kPitchCell10;
      tex[k][1] = (Z - p.z) / kPitchCell10;
    }
    QuadSet(&m_aRingQuads[q], kQuads[q][0], kQuads[q][1], kQuads[q][2], kQuads[q][3], tex, w, h);
  }
  oRing.uCount = 16;
  oRing.pVertices = m_aRing;
  oRing.pColours = m_aRingColours;
  oRingQuads.uCount = 8;
  oRingQuads.pQuads = m_aRingQuads;
  oRingQuads.pVertexList = &oRing;
  oRingQuads.uFlags &= ~Q3D_FACES_NO_COLOURS;
}

void Pitch3D::GridGroundBuild() {
  m_aGround.resize(31 * 21);
  for (int r = 0; r < 21; ++r)
    for (int c = 0; c < 31; ++c)
      m_aGround[static_cast<size_t>(31 * r + c)] = QMathVec3{-kGroundHalfLength + static_cast<float>(c) * kPitchCell5,
                                                             0.0f, kGroundHalfWidth - static_cast<float>(r) * kPitchCell5};
  const uint32_t w = poPatternTexture != nullptr ? poPatternTexture->uWidth : 64;
  const uint32_t h = poPatternTexture != nullptr ? poPatternTexture->uHeight : 64;
  m_aGrass.resize(600);
  for (int r = 0; r < 20; ++r)
    for (int c = 0; c < 30; ++c) {
      const uint16_t i = static_cast<uint16_t>(31 * r + c);
      const float u0 = (c % 2) != 0 ? 0.5f : 0.0f, v0 = (r % 2) != 0 ? 0.5f : 0.0f;
      const float tex[4][2] = {{u0, v0}, {u0 + 0.5f, v0}, {u0 + 0.5f, v0 + 0.5f}, {u0, v0 + 0.5f}};
      QuadSet(&m_aGrass[static_cast<size_t>(30 * r + c)], i, static_cast<uint16_t>(i + 1),
              static_cast<uint16_t>(i + 32), static_cast<uint16_t>(i + 31), tex, w, h);
    }
  oGround.uCount = static_cast<uint32_t>(m_aGround.size());
  oGround.pVertices = m_aGround.data();
  oGrass.uCount = 600;
  oGrass.pQuads = m_aGrass.data();
  oGrass.pVertexList = &oGround;
}

void Pitch3D::GroundTransform() {
  if (scene3d_poCamera == nullptr || oGround.uCount == 0) return;
  Q3DVertexListClipTransform(&oGround, 0, oGround.uCount, &oMatrix, scene3d_poCamera);
}

void Pitch3D::ShadowDraw() {
  Q3DDevice* d = scene3d_poDevice;
  if (d == nullptr) return;
  d->RenderStateSet(4, 4);
  d->BatchBegin(0);
  d->FaceListDraw(&oShading, scene3d_poCamera, 63);
  d->BatchEnd();
  if (cDecals == 0) return;
  d->RenderStateSet(4, 32);
  for (int32_t i = 0; i < cDecals; ++i) {
    PitchDecal& dc = aDecals[i];
    Q3DVertexListClipTransform(&dc.oVertices, 0, 4, &oMatrix, scene3d_poCamera);
    d->BatchBegin(0);
    d->TextureSet(dc.poMaterial);
    d->FaceListDraw(&dc.oQuads, scene3d_poCamera, 63);
    d->BatchEnd();
  }
}

void Pitch3D::MarkingsDraw() {
  Q3DDevice* d = scene3d_poDevice;
  PitchMarkings& m = oMarkings;
  // The curves' detail by the depth of their origin in the view.
  auto level = [](const PitchLineMesh& mesh) {
    QMathMatrix v;
    QMathMatrixMultiply(&v, &mesh.oMatrix, &scene3d_mWorldToView);
    return pitch_iDetailLevel(v.m[14]);
  };
  PitchLineMesh* const penNear = &m.aPenaltyNear[level(m.aPenaltyNear[0])];
  PitchLineMesh* const penFar = &m.aPenaltyFar[level(m.aPenaltyFar[0])];
  PitchLineMesh* const circle = &m.aCircle[level(m.aCircle[0])];
  PitchLineMesh* const order[10] = {&m.oBoundary, &m.oEndNear, &m.oEndFar, &m.aCorner[0], &m.aCorner[1],
                                    &m.aCorner[2], &m.aCorner[3], penNear,    penFar,       circle};
  for (PitchLineMesh* p : order) p->iClip = Prepare(&p->oVertices, &p->oBounds, &p->oMatrix);
  d->RenderStateSet(4, 3);
  for (PitchLineMesh* p : order) {
    if (p->iClip == -1) continue;
    d->BatchBegin(0);
    d->ObjectDraw(&p->oEdges, scene3d_poCamera, static_cast<uint32_t>(p->iClip));
    d->BatchEnd();
  }
  d->RenderStateSet(4, 32);
  for (PitchLineMesh* p : order) {
    if (p->iClip == -1) continue;
    d->BatchBegin(0);
    d->FaceListDraw(&p->oQuads, scene3d_poCamera, static_cast<uint32_t>(p->iClip));
    d->BatchEnd();
  }
}

void Pitch3D::Draw() {
  Q3DDevice* d = scene3d_poDevice;
  if (d == nullptr || scene3d_poCamera == nullptr) return;
  d->RenderStateSet(4, bSoftware ? 16 : 18);
  d->TextureSet(poGrassMaterial);
  d->BatchBegin(0);
  d->FaceListDraw(&oGrass, scene3d_poCamera, 63);
  d->BatchEnd();
  d->TextureSet(poLinesMaterial);
  const Q3DColour line{200, 200, 200, 128};
  d->ParameterSet(Q3D_PARAM_FLAT_COLOUR, &line);
  MarkingsDraw();
  if (bSoftware) {
    d->TextureSet(poTrackMaterial);
    poTrackSides->Draw(-kGroundHalfLength, kOuterZ);
    poTrackSides->Draw(-kGroundHalfLength, -kGroundHalfWidth);
    poTrackEnds->Draw(-kOuterX, kOuterZ);
    poTrackEnds->Draw(kGroundHalfLength, kOuterZ);
    return;
  }
  d->RenderStateSet(4, iShadowCellsX != 0 ? 20 : 16);
  d->TextureSet(poTrackMaterial);
  Q3DVertexListClipTransform(&oRing, 0, 16, &oMatrix, scene3d_poCamera);
  d->BatchBegin(0);
  d->FaceListDraw(&oRingQuads, scene3d_poCamera, 63);
  d->BatchEnd();
  d->SceneEnd();
}

void Pitch3D::CornerFlagsDraw() {
  Q3DDevice* d = scene3d_poDevice;
  if (d == nullptr || poCornerFlag == nullptr) return;
  d->RenderStateSet(4, 16);
  for (const QMathVec3& p : pitch_aCornerFlags) {
    poCornerFlag->Place(&p, 0);
    poCornerFlag->Draw();
  }
}

void Pitch3D::CornerFlagsSort(SortList* poList) {
  if (poList == nullptr || poCornerFlag == nullptr) return;
  for (const QMathVec3& p : pitch_aCornerFlags) {
    poCornerFlag->Place(&p, 0);
    poList->AddWithMatrix(poCornerFlag, poCornerFlag->oViewPosition.z, &poCornerFlag->mLocal);
  }
}

float Pitch3D::fLightLevelGet(float x, float z) const { return pitch_fLightLevel(iShadowCellsX, iShadowCellsZ, x, z); }

#include "scene3d/shadows3d.h"

#include <algorithm>
#include <cmath>

#include "framework/math/qmatrix.h"
#include "render3d/q3d_transform.h"
#include "scene3d/player3d.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_state.h"
#include "scene3d/texture.h"

namespace {

// The quads: joint A with its half width, joint B with its.
struct QuadRow {
  int a;
  float wa;
  int b;
  float wb;
};
const QuadRow kQuads[SHADOW_PLAYER_QUADS] = {
    {12, 0.1f, 13, 0.1f}, {11, 0.15f, 12, 0.1f}, {0, 0.22f, 11, 0.15f}, {15, 0.1f, 16, 0.1f},  {14, 0.15f, 15, 0.1f},
    {0, 0.22f, 14, 0.15f}, {1, 0.24f, 0, 0.26f}, {2, 0.26f, 1, 0.25f},  {2, 0.2f, 6, 0.15f},   {6, 0.15f, 7, 0.1f},
    {7, 0.1f, 8, 0.1f},   {2, 0.2f, 3, 0.15f},   {3, 0.15f, 4, 0.1f},    {4, 0.1f, 5, 0.1f},   {10, 0.2f, 9, 0.18f},
};

// The skeleton's links for the walk: saves before 1, 3, 6, 11; restores after 5, 8, 10, 13.
const PlayerSegmentEntry kLinks[17] = {{0, 0, 0, 1}, {1, 0, 0, 1}, {0, 0, 0, 1}, {1, 0, 0, 1}, {0, 0, 0, 1}, {0, 1, 0, 1},
                                       {1, 0, 0, 1}, {0, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 0, 1}, {0, 1, 0, 1}, {1, 0, 0, 1},
                                       {0, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}};

}  // namespace

Shadow::Shadow(int32_t quads) : iQuads(quads), oRoot{0, 0, 0} {
  paVertices = new QMathVec3[4 * quads];
  paColours = new Q3DColour[4 * quads];
  paFaces = new Q3DFace[2 * quads];
  uint8_t shade[4] = {0, 0, 0, 150};
  texture_TexelColourConvert(shade);
  static const float kCorner[4][3] = {{-0.2f, 0, 0.2f}, {0.2f, 0, 0.2f}, {-0.2f, 0, -0.2f}, {0.2f, 0, -0.2f}};
  static const float kUV[2][3][2] = {{{0, 0}, {1, 0}, {0, 1}}, {{0, 1}, {1, 0}, {1, 1}}};
  for (int32_t i = 0; i < quads; ++i) {
    for (int k = 0; k < 4; ++k) {
      paVertices[4 * i + k] = QMathVec3{kCorner[k][0], kCorner[k][1], kCorner[k][2]};
      paColours[4 * i + k] = Q3DColour{shade[0], shade[1], shade[2], 150};
    }
    static const uint32_t kIdx[2][3] = {{0, 1, 2}, {2, 1, 3}};
    for (int t = 0; t < 2; ++t) {
      Q3DFace& f = paFaces[2 * i + t];
      for (int k = 0; k < 3; ++k) {
        f.auIndex[k] = static_cast<uint32_t>(4 * i) + kIdx[t][k];
        if (scene3d_poDevice != nullptr) scene3d_poDevice->TexelMap(&f.aTexel[k], kUV[t][k], 64, 64);
        else f.aTexel[k] = Q3DTexel{kUV[t][k][0], kUV[t][k][1]};
      }
      f.uSpare = 0;
    }
  }
  oVertices.uCount = static_cast<uint32_t>(4 * quads);
  oVertices.pVertices = paVertices;
  oVertices.pColours = scene3d_bSoftware ? paColours : nullptr;
  oFaces.uCount = static_cast<uint32_t>(2 * quads);
  oFaces.uFlags = 0;
  oFaces.pVertexList = &oVertices;
  oFaces.pFaces = paFaces;
  for (QMathVec3& j : aoJoints) j = QMathVec3{0, 0, 0};
}

Shadow::~Shadow() {
  oVertices.pColours = nullptr;
  Q3DVertexListRelease(&oVertices);
  delete[] paVertices;
  delete[] paColours;
  delete[] paFaces;
}

void Shadow::Draw() {
  Q3DDevice* d = scene3d_poDevice;
  if (d == nullptr || scene3d_poCamera == nullptr) return;
  QMathMatrix m;
  QMathMatrixIdentity(&m);
  m.m[12] = oRoot.x;
  m.m[14] = oRoot.z;
  d->BatchBegin(0);
  Q3DVertexListClipTransform(&oVertices, 0, oVertices.uCount, &m, scene3d_poCamera);
  d->MeshDraw(&oFaces, scene3d_poCamera, 63);
  d->BatchEnd();
}

bool shadow_bGroundMatrix(QMathMatrix* out, float dx, float dy, float dz) {
  if (dy == 0.0f) return false;
  QMathMatrixIdentity(out);
  out->m[4] = -dx / dy;
  out->m[5] = 0.0f;
  out->m[6] = -dz / dy;
  return true;
}

void shadow_QuadPlace(Shadow* s, int32_t i, const QMathVec3& a, float wa, const QMathVec3& b, float wb) {
  const float dx = a.x - b.x, dz = a.z - b.z;
  QMathVec3* v = &s->paVertices[4 * i];
  // Across the longer ground axis; the corner order keeps one winding.
  if (std::fabs(dz) >= std::fabs(dx)) {
    const float sa = dz >= 0.0f ? 1.0f : -1.0f;
    v[0] = QMathVec3{a.x - wa * sa, 0, a.z};
    v[1] = QMathVec3{a.x + wa * sa, 0, a.z};
    v[2] = QMathVec3{b.x - wb * sa, 0, b.z};
    v[3] = QMathVec3{b.x + wb * sa, 0, b.z};
  } else {
    const float sa = dx >= 0.0f ? 1.0f : -1.0f;
    v[0] = QMathVec3{a.x, 0, a.z + wa * sa};
    v[1] = QMathVec3{a.x, 0, a.z - wa * sa};
    v[2] = QMathVec3{b.x, 0, b.z + wb * sa};
    v[3] = QMathVec3{b.x, 0, b.z - wb * sa};
  }
}

bool shadow_PlayerBuild(Shadow* s, float dx, float dy, float dz, const Player3D* p) {
  QMathMatrix ground;
  if (p == nullptr || p->pfPose == nullptr || !shadow_bGroundMatrix(&ground, dx, dy, dz)) return false;
  QMathMatrix root, start;
  p->StartMatrix(&root);
  s->oRoot = QMathVec3{root.m[12], root.m[13], root.m[14]};
  QMathMatrixMultiply(&start, &root, &ground);
  start.m[12] = 0.0f;
  start.m[14] = 0.0f;
  QMathMatrix mats[17];
  player3d_Walk(kLinks, p->pfPose, &start, nullptr, mats, nullptr);
  for (int j = 0; j < 17; ++j) s->aoJoints[j] = QMathVec3{mats[j].m[12], mats[j].m[13], mats[j].m[14]};
  for (int32_t q = 0; q < SHADOW_PLAYER_QUADS && q < s->iQuads; ++q)
    shadow_QuadPlace(s, q, s->aoJoints[kQuads[q].a], kQuads[q].wa, s->aoJoints[kQuads[q].b], kQuads[q].wb);
  return true;
}

bool shadow_BallBuild(Shadow* s, float dx, float dy, float dz, const QMathVec3& centre) {
  QMathMatrix ground;
  if (!shadow_bGroundMatrix(&ground, dx, dy, dz)) return false;
  const float h = std::max(0.0f, centre.y - 0.127f);
  s->oRoot = QMathVec3{centre.x, 0.0f, centre.z};
  const QMathVec3 p0{-h * dx / dy, 0, -h * dz / dy};
  const QMathVec3 p1{-(h + 0.25f) * dx / dy, 0, -(h + 0.25f) * dz / dy};
  shadow_QuadPlace(s, 0, p1, 0.2f, p0, 0.2f);
  return true;
}

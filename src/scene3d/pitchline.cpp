#include "scene3d/pitchline.h"

#include <cmath>
#include <cstring>

#include "framework/math/qmatrix.h"

const float pitch_afBoundaryVertices[12][2] = {
    {-59.436722f, 36.576446f},  {59.436722f, 36.576446f},  {-59.347820f, 36.487545f}, {59.347820f, 36.487545f},
    {-0.04445054f, 36.487545f}, {0.04445054f, 36.487545f}, {-0.04445054f, -36.487545f}, {0.04445054f, -36.487545f},
    {-59.347820f, -36.487545f}, {59.347820f, -36.487545f}, {-59.436722f, -36.576446f}, {59.436722f, -36.576446f}};
const uint16_t pitch_aBoundaryQuads[3][4] = {{0, 1, 3, 2}, {5, 7, 6, 4}, {8, 9, 11, 10}};
const uint32_t pitch_aBoundaryEdges[3][2] = {{0, 1}, {5, 7}, {10, 11}};

const float pitch_afEndVertices[24][2] = {
    {-59.436722f, 36.576446f},  {-59.347820f, 36.487545f},  {-59.436722f, -36.576446f}, {-59.347820f, -36.487545f},
    {-59.347820f, 20.117044f},  {-42.977322f, 20.117044f},  {-59.347820f, 20.028143f},  {-43.066223f, 20.028143f},
    {-59.347820f, -20.028143f}, {-43.066223f, -20.028143f}, {-59.347820f, -20.117044f}, {-42.977322f, -20.117044f},
    {-59.347820f, 9.144112f},   {-53.950256f, 9.144112f},   {-59.347820f, 9.055210f},   {-54.039158f, 9.055210f},
    {-59.347820f, -9.055210f},  {-54.039158f, -9.055210f},  {-59.347820f, -9.144112f},  {-53.950256f, -9.144112f},
    {-48.713791f, 0.25f},       {-48.213791f, 0.25f},       {-48.713791f, -0.25f},      {-48.213791f, -0.25f}};
const uint16_t pitch_aEndQuads[8][4] = {{1, 3, 2, 0},     {4, 5, 7, 6},     {5, 11, 9, 7},    {8, 9, 11, 10},
                                        {12, 13, 15, 14}, {13, 19, 17, 15}, {16, 17, 19, 18}, {20, 21, 23, 22}};
const uint32_t pitch_aEndEdges[7][2] = {{0, 2}, {4, 5}, {5, 11}, {10, 11}, {12, 13}, {13, 19}, {18, 19}};

void pitch_QuadIndicesSet(Q3DQuad* pQuad, uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
  pQuad->auIndex[0] = a;
  pQuad->auIndex[1] = b;
  pQuad->auIndex[2] = c;
  pQuad->auIndex[3] = d;
}

void pitch_QuadRecordSet(Q3DQuad* pQuad, uint16_t a, uint16_t b, uint16_t c, uint16_t d, bool bSpot) {
  pitch_QuadIndicesSet(pQuad, a, b, c, d);
  const float u0 = bSpot ? 33.0f / 64.0f : 1.0f / 64.0f, u1 = bSpot ? 63.0f / 64.0f : 30.0f / 64.0f;
  const float v0 = 1.0f / 64.0f, v1 = 30.0f / 64.0f;
  pQuad->aTexel[0] = {u0, v0};
  pQuad->aTexel[1] = {u1, v0};
  pQuad->aTexel[2] = {u1, v1};
  pQuad->aTexel[3] = {u0, v1};
  pQuad->auSpare[0] = pQuad->auSpare[1] = 0;
}

void pitch_BoundsClear(Q3DBounds* pBounds) { std::memset(pBounds, 0, sizeof *pBounds); }

int32_t pitch_iDetailLevel(float fDepth) {
  static const float thresholds[3] = {40.0f, 60.0f, 1000.0f};
  for (int32_t i = 0; i < 3; ++i)
    if (fDepth < thresholds[i]) return i;
  return 2;
}

void pitch_ArcPoints(QMathVec3* pOut, int32_t count, float r, float start, float sweep, float cx, float cy, float cz) {
  const bool ring = sweep >= 360.0f;
  const float step = ring ? sweep / static_cast<float>(count) : sweep / static_cast<float>(count - 1);
  const double toRad = 3.14159265358979323846 / 180.0;
  for (int32_t k = 0; k < count; ++k) {
    const double a = (start + static_cast<float>(k) * step) * toRad;
    pOut[k] = QMathVec3{cx + r * static_cast<float>(std::sin(a)), cy, cz + r * static_cast<float>(std::cos(a))};
  }
}

PitchLineMesh::PitchLineMesh() {
  pitch_BoundsClear(&oBounds);
  QMathMatrixIdentity(&oMatrix);
}

PitchLineMesh::~PitchLineMesh() { Q3DVertexListRelease(&oVertices); }

void PitchLineMesh::Finish(uint16_t turn, QMathVec3 centre) {
  oVertices.uCount = static_cast<uint32_t>(m_aVertices.size());
  oVertices.pVertices = m_aVertices.data();
  oQuads.uCount = static_cast<uint32_t>(m_aQuads.size());
  oQuads.pQuads = m_aQuads.data();
  oQuads.pVertexList = &oVertices;
  oEdges.uCount = static_cast<uint32_t>(m_aEdges.size() / 2);
  oEdges.pEdges = reinterpret_cast<uint32_t(*)[2]>(m_aEdges.data());
  oEdges.pVertexList = &oVertices;
  pitch_BoundsClear(&oBounds);
  if (!m_aVertices.empty()) {
    QMathVec3 lo = m_aVertices[0], hi = m_aVertices[0];
    for (const QMathVec3& v : m_aVertices) {
      lo = QMathVec3{std::fmin(lo.x, v.x), std::fmin(lo.y, v.y), std::fmin(lo.z, v.z)};
      hi = QMathVec3{std::fmax(hi.x, v.x), std::fmax(hi.y, v.y), std::fmax(hi.z, v.z)};
    }
    oBounds.oMin = lo;
    oBounds.oMax = hi;
    for (int i = 0; i < 8; ++i)
      oBounds.aCorner[i] = QMathVec3{(i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z};
    const float dx = hi.x - lo.x, dy = hi.y - lo.y, dz = hi.z - lo.z;
    oBounds.fRadius = 0.5f * std::sqrt(dx * dx + dy * dy + dz * dz);
  }
  QMathMatrixIdentity(&oMatrix);
  QMathMatrixSetRotateY(&oMatrix, turn);
  QMathMatrixSetTranslation(&oMatrix, &centre);
}

void PitchLineMesh::TableBuild(const float (*pVertices)[2], uint32_t vertexCount, const uint16_t (*pQuads)[4],
                               uint32_t quadCount, const uint32_t (*pEdges)[2], uint32_t edgeCount, int32_t spotQuad,
                               uint16_t turn, QMathVec3 centre) {
  m_aVertices.resize(vertexCount);
  for (uint32_t i = 0; i < vertexCount; ++i) m_aVertices[i] = QMathVec3{pVertices[i][0], 0.0f, pVertices[i][1]};
  m_aQuads.resize(quadCount);
  for (uint32_t i = 0; i < quadCount; ++i)
    pitch_QuadRecordSet(&m_aQuads[i], pQuads[i][0], pQuads[i][1], pQuads[i][2], pQuads[i][3],
                        static_cast<int32_t>(i) == spotQuad);
  m_aEdges.clear();
  for (uint32_t i = 0; i < edgeCount; ++i) {
    m_aEdges.push_back(pEdges[i][0]);
    m_aEdges.push_back(pEdges[i][1]);
  }
  Finish(turn, centre);
}

void PitchLineMesh::ArcBuild(int32_t n, float r, float start, float sweep, QMathVec3 centre, uint16_t turn) {
  const int32_t half = n / 2;
  m_aVertices.assign(static_cast<size_t>(half) * 2, QMathVec3{});
  pitch_ArcPoints(m_aVertices.data(), half, r, start, sweep, 0, 0, 0);
  pitch_ArcPoints(m_aVertices.data() + half, half, r - kPitchLineWidth, start, sweep, 0, 0, 0);
  m_aQuads.assign(static_cast<size_t>(half - 1), Q3DQuad{});
  m_aEdges.clear();
  for (int32_t i = 0; i + 1 < half; ++i) {
    pitch_QuadRecordSet(&m_aQuads[static_cast<size_t>(i)], static_cast<uint16_t>(i), static_cast<uint16_t>(i + 1),
                        static_cast<uint16_t>(half + i + 1), static_cast<uint16_t>(half + i), false);
    m_aEdges.push_back(static_cast<uint32_t>(i));
    m_aEdges.push_back(static_cast<uint32_t>(i + 1));
  }
  Finish(turn, centre);
}

void PitchLineMesh::CentreCircleBuild(int32_t n) {
  const int32_t half = n / 2;
  m_aVertices.assign(static_cast<size_t>(half) * 2 + 4, QMathVec3{});
  pitch_ArcPoints(m_aVertices.data(), half, 9.1441112f, 0, 360, 0, 0, 0);
  pitch_ArcPoints(m_aVertices.data() + half, half, 9.0552101f, 0, 360, 0, 0, 0);
  const uint16_t s = static_cast<uint16_t>(half * 2);
  m_aVertices[s] = QMathVec3{-0.25f, 0, 0.25f};
  m_aVertices[s + 1u] = QMathVec3{0.25f, 0, 0.25f};
  m_aVertices[s + 2u] = QMathVec3{-0.25f, 0, -0.25f};
  m_aVertices[s + 3u] = QMathVec3{0.25f, 0, -0.25f};
  m_aQuads.assign(static_cast<size_t>(half) + 1, Q3DQuad{});
  m_aEdges.clear();
  for (int32_t i = 0; i < half; ++i) {
    const int32_t j = (i + 1) % half;
    pitch_QuadRecordSet(&m_aQuads[static_cast<size_t>(i)], static_cast<uint16_t>(i), static_cast<uint16_t>(j),
                        static_cast<uint16_t>(half + j), static_cast<uint16_t>(half + i), false);
    m_aEdges.push_back(static_cast<uint32_t>(i));
    m_aEdges.push_back(static_cast<uint32_t>(j));
  }
  pitch_QuadRecordSet(&m_aQuads[static_cast<size_t>(half)], s, static_cast<uint16_t>(s + 1),
                      static_cast<uint16_t>(s + 3), static_cast<uint16_t>(s + 2), true);
  Finish(0, QMathVec3{0, 0, 0});
}

void pitch_MarkingsBuild(PitchMarkings* p) {
  const QMathVec3 origin{0, 0, 0};
  p->oBoundary.TableBuild(pitch_afBoundaryVertices, 12, pitch_aBoundaryQuads, 3, pitch_aBoundaryEdges, 3, -1, 0, origin);
  p->oEndNear.TableBuild(pitch_afEndVertices, 24, pitch_aEndQuads, 8, pitch_aEndEdges, 7, 7, 0, origin);
  p->oEndFar.TableBuild(pitch_afEndVertices, 24, pitch_aEndQuads, 8, pitch_aEndEdges, 7, 7, 32768, origin);
  static const int32_t arcCounts[3] = {48, 32, 16}, circleCounts[3] = {96, 64, 48};
  for (int32_t i = 0; i < 3; ++i) {
    p->aPenaltyNear[i].ArcBuild(arcCounts[i], 9.144112f, 37.0f, 106.0f, QMathVec3{-48.46379f, 0, 0}, 0);
    p->aPenaltyFar[i].ArcBuild(arcCounts[i], 9.144112f, 37.0f, 106.0f, QMathVec3{48.46379f, 0, 0}, 32768);
  }
  static const struct {
    float x, z;
    uint16_t turn;
  } corners[4] = {{-59.34782f, 36.487545f, 0}, {59.34782f, 36.487545f, 16384}, {-59.34782f, -36.487545f, 49152},
                  {59.34782f, -36.487545f, 32768}};
  for (int32_t i = 0; i < 4; ++i)
    p->aCorner[i].ArcBuild(10, 0.9144111f, 90.0f, 90.0f, QMathVec3{corners[i].x, 0, corners[i].z}, corners[i].turn);
  for (int32_t i = 0; i < 3; ++i) p->aCircle[i].CentreCircleBuild(circleCounts[i]);
}

// Pitch markings: the white lines laid on the grass as flat meshes. Straight
// lines come from fixed tables; the penalty arcs, the corner arcs and the
// centre circle are bands between two arcs, the larger curves in three
// detail levels by their depth in the view.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/math/qmath_types.h"
#include "render3d/q3d.h"

// Ground measures (metres; x along the length, z across, y up).
inline constexpr float kPitchHalfLength = 59.436722f;  // goal lines' outer edges
inline constexpr float kPitchHalfWidth = 36.576446f;   // touch lines' outer edges
inline constexpr float kPitchLineWidth = 0.08890108f;

// The static tables of the straight markings.
extern const float pitch_afBoundaryVertices[12][2];
extern const uint16_t pitch_aBoundaryQuads[3][4];
extern const uint32_t pitch_aBoundaryEdges[3][2];
extern const float pitch_afEndVertices[24][2];
extern const uint16_t pitch_aEndQuads[8][4];
extern const uint32_t pitch_aEndEdges[7][2];

// Fills a quad record: its indexes and the four texel pairs of the line
// square, or of the spot (texels for a 64 by 64 page, 0..1).
void pitch_QuadRecordSet(Q3DQuad* pQuad, uint16_t a, uint16_t b, uint16_t c, uint16_t d, bool bSpot);
void pitch_QuadIndicesSet(Q3DQuad* pQuad, uint16_t a, uint16_t b, uint16_t c, uint16_t d);
void pitch_BoundsClear(Q3DBounds* pBounds);

// Detail level of a curved marking by its view depth: 0 below 40, 1 below
// 60, else 2.
int32_t pitch_iDetailLevel(float fDepth);

// Points on an arc: count points from the start angle over the sweep
// (degrees) round (cx, cy, cz) at radius r; a sweep of 360 or more makes a
// closed ring with no point repeated.
void pitch_ArcPoints(QMathVec3* pOut, int32_t count, float r, float start, float sweep, float cx, float cy, float cz);

class PitchLineMesh {
 public:
  PitchLineMesh();
  PitchLineMesh(const PitchLineMesh&) = delete;
  PitchLineMesh& operator=(const PitchLineMesh&) = delete;
  ~PitchLineMesh();

  // A mesh on static tables, used in place (the tables are copied into the
  // mesh's own arrays only to give them the record types).
  void TableBuild(const float (*pVertices)[2], uint32_t vertexCount, const uint16_t (*pQuads)[4], uint32_t quadCount,
                  const uint32_t (*pEdges)[2], uint32_t edgeCount, int32_t spotQuad, uint16_t turn, QMathVec3 centre);
  // An arc band of n vertices: outer arc radius r, inner r - line width.
  void ArcBuild(int32_t n, float r, float start, float sweep, QMathVec3 centre, uint16_t turn);
  // The centre circle band of n vertices and the centre spot.
  void CentreCircleBuild(int32_t n);

  Q3DVertexList oVertices;
  Q3DQuadList oQuads;
  Q3DEdgeList oEdges;
  Q3DBounds oBounds;
  QMathMatrix oMatrix;
  int32_t iClip = -1;  // last box test: -1 outside, 0 inside, else outcodes

 private:
  void Finish(uint16_t turn, QMathVec3 centre);
  std::vector<QMathVec3> m_aVertices;
  std::vector<Q3DQuad> m_aQuads;
  std::vector<uint32_t> m_aEdges;  // pairs
};

// The marking meshes of a pitch, in drawing order.
struct PitchMarkings {
  PitchLineMesh oBoundary, oEndNear, oEndFar;
  PitchLineMesh aCorner[4];
  PitchLineMesh aPenaltyNear[3], aPenaltyFar[3];
  PitchLineMesh aCircle[3];
};
void pitch_MarkingsBuild(PitchMarkings* p);

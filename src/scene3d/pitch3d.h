// The ground of a match: the grass with its mowing pattern, the stadium's
// shadow across one corner by day, the surround, the markings and the four
// corner flags, and the light level of a point of the ground.
#pragma once

#include <cstdint>
#include <vector>

#include "render3d/q3d.h"
#include "scene3d/model.h"
#include "scene3d/pitchline.h"

// A flat grid of 10-yard cells, each showing the whole texture once (the
// software renderer's surround).
class PitchGrid {
 public:
  PitchGrid(int32_t rows, int32_t columns);
  PitchGrid(const PitchGrid&) = delete;
  PitchGrid& operator=(const PitchGrid&) = delete;
  ~PitchGrid();
  // Draws the grid with its first vertex at (x, 0, z).
  void Draw(float x, float z);

  int32_t iRows, iColumns;
  Q3DVertexList oVertices;
  Q3DQuadList oQuads;
  Q3DBounds oBounds;
  QMathMatrix oMatrix;

 private:
  std::vector<QMathVec3> m_aVertices;
  std::vector<Q3DQuad> m_aQuads;
};

// A flat textured square laid on the grass (the soft light in the corner of
// the stadium's shadow).
struct PitchDecal {
  Q3DImageTexture* poTexture = nullptr;
  Q3DMaterial* poMaterial = nullptr;
  Q3DVertexList oVertices;
  Q3DQuadList oQuads;
  QMathVec3 aVertex[4];
  Q3DQuad oQuad;
};

class Pitch3D {
 public:
  // Builds the ground for a pitch type from the scene (renderer, night flag,
  // stadium look, colour mode).
  explicit Pitch3D(int32_t iPitchType);
  Pitch3D(const Pitch3D&) = delete;
  Pitch3D& operator=(const Pitch3D&) = delete;
  ~Pitch3D();

  void GroundTransform();
  void ShadowDraw();        // hardware renderers
  void Draw();
  void CornerFlagsDraw();   // hardware renderers
  void CornerFlagsSort(SortList* poList);  // software renderer
  float fLightLevelGet(float x, float z) const;

  int32_t iPitchType;
  bool bSoftware;
  Q3DImageTexture* poPatternTexture = nullptr;
  Q3DMaterial* poGrassMaterial = nullptr;
  Q3DImageTexture* poTrackTexture = nullptr;
  Q3DMaterial* poTrackMaterial = nullptr;
  Q3DImageTexture* poLinesTexture = nullptr;
  Q3DMaterial* poLinesMaterial = nullptr;
  uint8_t aLit[4] = {};
  uint8_t aShadow[4] = {};
  // The ground: vertices with their colours, the grass quads and (hardware)
  // the untextured shading quads.
  Q3DVertexList oGround;
  Q3DQuadList oGrass;
  Q3DQuadList oShading;
  int16_t iShadowCellsX = 0, iShadowCellsZ = 0;
  int16_t iSurroundCellsX = 4, iSurroundCellsZ = 3;
  PitchDecal aDecals[4];
  int32_t cDecals = 0;
  // The surround: a ring of 16 vertices and 8 quads (hardware), or two
  // grids drawn at four places (software).
  Q3DVertexList oRing;
  Q3DQuadList oRingQuads;
  PitchGrid* poTrackSides = nullptr;  // 3 rows by 15 columns
  PitchGrid* poTrackEnds = nullptr;   // 16 rows by 4 columns
  MeshObject* poCornerFlag = nullptr;
  PitchMarkings oMarkings;
  QMathMatrix oMatrix;

 private:
  void PlainGroundBuild();
  void ShadowedGroundBuild();
  void CornerDecalBuild();
  void RingBuild();
  void GridGroundBuild();
  void MarkingsDraw();
  void ColourSet(Q3DColour* pOut, const uint8_t* pIn) const;

  std::vector<QMathVec3> m_aGround;
  std::vector<Q3DColour> m_aGroundColours;
  std::vector<Q3DQuad> m_aGrass;
  std::vector<Q3DQuad> m_aShading;
  QMathVec3 m_aRing[16] = {};
  Q3DColour m_aRingColours[16] = {};
  Q3DQuad m_aRingQuads[8] = {};
};

// The four corner-flag points, in drawing order.
extern const QMathVec3 pitch_aCornerFlags[4];

#pragma once
// Shadows on the ground: each person casts one per light of the scene, 15
// tapered quads joining the posed skeleton's joints projected along the
// light's direction; the ball casts one quad.
#include <cstdint>

#include "framework/math/qmath_types.h"
#include "render3d/q3d.h"

class Player3D;

enum { SHADOW_PLAYER_QUADS = 15 };

class Shadow {
 public:
  explicit Shadow(int32_t iQuads);
  ~Shadow();
  Shadow(const Shadow&) = delete;
  Shadow& operator=(const Shadow&) = delete;

  // Draws the quads placed at the root's ground position.
  void Draw();

  int32_t iQuads;
  QMathVec3* paVertices;
  Q3DColour* paColours;
  Q3DFace* paFaces;
  Q3DVertexList oVertices;
  Q3DFaceList oFaces;
  QMathVec3 aoJoints[17];
  QMathVec3 oRoot;
};

// The ground projection along a direction (dx, dy, dz): (x, y, z) goes to
// (x - y dx/dy, 0, z - y dz/dy). False when dy is 0 (no shadow).
bool shadow_bGroundMatrix(QMathMatrix* pOut, float dx, float dy, float dz);
// One quad from joint a (half width wa) to joint b (half width wb) on the
// ground, its corners across the segment's longer ground axis, written as
// vertices 4i..4i+3.
void shadow_QuadPlace(Shadow* poShadow, int32_t i, const QMathVec3& a, float wa, const QMathVec3& b, float wb);
// Rebuilds a person's shadow for a light direction from his current pose;
// false (nothing to draw) when the direction is level or he is not posed.
bool shadow_PlayerBuild(Shadow* poShadow, float dx, float dy, float dz, const Player3D* poPlayer);
// Rebuilds the ball's quad for a light direction from the ball's centre.
bool shadow_BallBuild(Shadow* poShadow, float dx, float dy, float dz, const QMathVec3& oCentre);

// On-pitch markers: the guides drawn on and over the pitch for the players
// at the controls. Each kind places from its frame-packet entry (which makes
// it visible) and draws once, clearing the flag.
#pragma once

#include <cstdint>
#include <vector>

#include "render3d/q3d.h"
#include "render3d/sortlist.h"

// What the marker kinds share: a vertex list over a static shape table (the
// quad marker owns its vertices), its own colours, the converted quads, a
// matrix and the visible flag.
class MarkerBase {
 public:
  MarkerBase(const QMathVec3* pShape, uint32_t uVertices, const uint16_t (*pQuads)[4], const float (*pTexels)[8],
             uint32_t uQuads, uint32_t uTextureSize);
  MarkerBase(const MarkerBase&) = delete;
  MarkerBase& operator=(const MarkerBase&) = delete;
  virtual ~MarkerBase();
  void ColoursSet(Q3DColour c);
  // Render state 4 of the kind, a clip transform with the matrix, the
  // quads with clip mask 63; the visible flag cleared.
  void DrawQuads(uint32_t uState, const QMathMatrix* pMatrix);

  Q3DVertexList oVertices;
  std::vector<Q3DColour> aColours;
  Q3DQuadList oQuads;
  Q3DQuad* pQuads = nullptr;
  QMathMatrix oMatrix;
  int32_t bVisible = 0;
};

// The pulse of kinds 0 and 1: a blend from the highlight to the user colour.
struct MarkerPulse {
  float fBlend = 1.0f;
  int32_t iPhase = 0;
  // Steps the pulse and gives the two colours (C1, C2) of the user.
  void Step(int32_t iUser, Q3DColour* pC1, Q3DColour* pC2);
};

class MarkerCrosshair : public MarkerBase {  // kind 0
 public:
  explicit MarkerCrosshair(int32_t iUser);
  void Place(float x, float z);
  void Draw();
  int32_t iUser;
  MarkerPulse oPulse;
};

class MarkerArrow : public MarkerBase {  // kind 1
 public:
  explicit MarkerArrow(int32_t iUser);
  void Place(float x, float z, uint16_t uAngle);
  void Draw();
  int32_t iUser;
  MarkerPulse oPulse;
};

class MarkerRing : public MarkerBase {  // kind 2
 public:
  explicit MarkerRing(int32_t iUser);
  ~MarkerRing() override;
  void Place(float x, float z, int32_t bHasBall);
  void Draw();
  int32_t iUser;
  uint16_t uAngle = 0;
  int32_t iStyle = 0;  // 0 not drawn, 1 plain, 2 numbered (turning)
  Q3DImageTexture* apoTexture[2] = {};  // plain, numbered
  Q3DMaterial* apoMaterial[2] = {};
};

class MarkerAimArrow : public MarkerBase, public SortObject {  // kind 3
 public:
  MarkerAimArrow();
  void Place(float x, float z, uint16_t uDirection, uint16_t uLoft);
  void Draw() override;
  void ShadowDraw();
  QMathMatrix oShadowMatrix;
};

class MarkerBallCross : public MarkerBase {  // kind 4
 public:
  MarkerBallCross();
  void Place(float x, float z);
  void Draw();
};

class MarkerUserPointer {  // kind 5
 public:
  explicit MarkerUserPointer(int32_t iUser);
  void Place(float x, float z);
  void Draw();
  int32_t iUser;
  Q3DScreenVertex aVertex[3];
  int32_t bVisible = 0;
};

class MarkerQuad : public MarkerBase {  // kind 6
 public:
  MarkerQuad();
  void Place(const float afCorners[12], int32_t bFlag);
  void Draw();
  QMathVec3 aCorner[4];
};

// The shape tables (scene metres) and the user colours.
extern const QMathVec3 marker_aCrosshairShape[16];
extern const QMathVec3 marker_aArrowShape[4];
extern const QMathVec3 marker_aAimShape[7];
extern const QMathVec3 marker_aBallCrossShape[8];
extern const Q3DColour marker_aUserColours[4];

// The match ball: a disc of 25 vertices turned to face the camera, its
// texture window scrolling as the ball rolls, with a highlight square over
// it on renderers that blend (both of ours).
#pragma once

#include <cstdint>

#include "render3d/q3d.h"
#include "render3d/sortlist.h"
#include "scene3d/balldisc.h"
#include "scene3d/pcframe.h"

// Set when the renderer draws the ball's highlight; our two devices both
// blend, so the scene sets it whichever runs.
extern int32_t scene3d_bHighlight;

class BallObject : public SortObject {
 public:
  BallObject();
  BallObject(const BallObject&) = delete;
  BallObject& operator=(const BallObject&) = delete;
  ~BallObject() override;
  void Update(const PacketBall& oBall);
  void Draw() override;
  // The texels of the disc for the current scroll.
  void TexelsApply();

  Q3DImageTexture* poTexture = nullptr;
  Q3DImageTexture* poHighlightTexture = nullptr;
  Q3DMaterial* poMaterial = nullptr;
  Q3DMaterial* poHighlightMaterial = nullptr;
  BallDisc oDisc{};
  Q3DQuad aQuads[24];
  QMathMatrix mHighlight;
  Q3DVertexList oVertices;
  Q3DQuadList oQuads;
  Q3DBounds oBounds{};
  QMathVec3 aHighlight[4];
  Q3DQuad oHighlightQuad;
  Q3DVertexList oHighlightVertices;
  Q3DQuadList oHighlightQuads;
  QMathVec3 oCentre{};  // scene metres
  // The shadows come with the player objects' shadow code; none yet.
  int32_t cShadows = 0;
};

// The statics the ball's update keeps from frame to frame (the previous view
// quaternion and the roll angle), back to their first values.
void ball_UpdateReset();

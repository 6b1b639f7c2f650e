// The match ball's disc: 25 vertices on three rings round a centre, facing
// the camera, its texture window scrolling as the ball rolls.
#pragma once

#include <cstdint>

#include "framework/math/qmath_types.h"

inline constexpr float kBallRadius = 0.127f;

struct BallDisc {
  QMathVec3 aVertex[25];
  uint16_t aQuad[24][4];
  float aTexel[24][4][2];  // source texels of each quad's corners, before the scroll
};
void ball_DiscBuild(BallDisc* d);

// The shared scroll offsets: add (du, dv) and bring both back into 0..0.5.
void ball_Scroll(float du, float dv);
void ball_ScrollGet(float* su, float* sv);
void ball_ScrollReset();

// Ball and highlight textures by the home side's edition (0..10) and the
// colour mode (0 colour).
void ball_TexturesGet(int32_t edition, int32_t colourMode, const char** ppBall, const char** ppHighlight);

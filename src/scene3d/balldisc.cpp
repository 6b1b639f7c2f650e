#include "scene3d/balldisc.h"

#include <cmath>
#include <initializer_list>

namespace {

float g_su = 0.0f, g_sv = 0.0f;

void Ring(QMathVec3* out, float r) {
  const float pi = 3.14159265f, inv180 = 1.0f / 180.0f;
  for (int k = 0; k < 8; ++k) {
    const float a = static_cast<float>(45 * k) * pi * inv180;
    out[k] = QMathVec3{r * std::sin(a), r * std::cos(a), 0.0f};
  }
}

void Rings(QMathVec3* out, float r0, float r1, float r2) {
  out[0] = QMathVec3{0, 0, 0};
  Ring(out + 1, r0);
  Ring(out + 9, r1);
  Ring(out + 17, r2);
}

}  // namespace

void ball_DiscBuild(BallDisc* d) {
  Rings(d->aVertex, 0.0508f, 0.1016f, kBallRadius);
  QMathVec3 tex[25];
  Rings(tex, 0.08f, 0.16f, 0.24f);
  int q = 0;
  for (int k = 1; k <= 8; ++k, ++q) {
    const uint16_t next = static_cast<uint16_t>(k == 8 ? 1 : k + 1);
    const uint16_t quad[4] = {0, static_cast<uint16_t>(k), next, 0};
    for (int i = 0; i < 4; ++i) d->aQuad[q][i] = quad[i];
  }
  for (int base : {9, 17})
    for (int k = 0; k < 8; ++k, ++q) {
      const int k1 = (k + 1) % 8;
      const uint16_t quad[4] = {static_cast<uint16_t>(base + k), static_cast<uint16_t>(base + k1),
                                static_cast<uint16_t>(base + k1 - 8), static_cast<uint16_t>(base + k - 8)};
      for (int i = 0; i < 4; ++i) d->aQuad[q][i] = quad[i];
    }
  for (int i = 0; i < 24; ++i)
    for (int c = 0; c < 4; ++c) {
      const QMathVec3& t = tex[d->aQuad[i][c]];
      d->aTexel[i][c][0] = t.x + 0.25f;
      d->aTexel[i][c][1] = 0.25f - t.y;
    }
}

void ball_Scroll(float du, float dv) {
  g_su += du;
  g_sv += dv;
  int passes = 0;
  auto guard = [&]() {
    if (++passes > 21) {
      g_su = g_sv = 0.0f;
      return false;
    }
    return true;
  };
  while (g_su < 0.0f && guard()) g_su += 0.5f;
  while (g_sv < 0.0f && guard()) g_sv += 0.5f;
  while (g_su > 0.5f && guard()) g_su -= 0.5f * std::floor(2.0f * g_su);
  while (g_sv > 0.5f && guard()) g_sv -= 0.5f * std::floor(2.0f * g_sv);
}

void ball_ScrollGet(float* su, float* sv) {
  *su = g_su;
  *sv = g_sv;
}

void ball_ScrollReset() { g_su = g_sv = 0.0f; }

void ball_TexturesGet(int32_t edition, int32_t colourMode, const char** ppBall, const char** ppHighlight) {
  if (edition <= 2) {
    *ppBall = colourMode == 0 ? "ball\\tanpc.tga" : "ball\\chekpc.tga";
    *ppHighlight = colourMode == 0 ? "ball\\PChilight4b.tga" : "ball\\PChilight1.tga";
  } else if (edition <= 6) {
    *ppBall = "ball\\chekpc.tga";
    *ppHighlight = "ball\\PChilight1.tga";
  } else {
    *ppBall = "ball\\ball7.tga";
    *ppHighlight = "ball\\PChilight1.tga";
  }
}

#include "scene3d/groundtab.h"

#include <cmath>

const PitchType pitch_aTypes[kPitchTypeCount] = {
    {"pitch\\tartan.tga", {65, 115, 15, 255}, {30, 57, 4, 255}},
    {"pitch\\diamond.tga", {65, 115, 15, 255}, {30, 57, 4, 255}},
    {"pitch\\stripes.tga", {65, 115, 15, 255}, {30, 57, 4, 255}},
    {"pitch\\snow1.tga", {65, 115, 15, 255}, {30, 57, 4, 255}},
    {"pitch\\african.tga", {130, 123, 71, 255}, {113, 99, 52, 255}},
    {"pitch\\training.tga", {65, 115, 15, 255}, {30, 57, 4, 255}},
};

const PitchType& pitch_TypeGet(int32_t type) {
  return pitch_aTypes[(type < 0 || type >= kPitchTypeCount) ? 0 : type];
}

float pitch_fShadowX0(int32_t xCells) { return static_cast<float>(xCells) * kPitchCell5 - kGroundHalfLength; }
float pitch_fShadowZ0(int32_t zCells) { return static_cast<float>(zCells) * kPitchCell5 - kGroundHalfWidth; }

float pitch_fLightLevel(int32_t xCells, int32_t zCells, float x, float z) {
  if (xCells == 0) return 255.0f;
  const float x0 = pitch_fShadowX0(xCells), z0 = pitch_fShadowZ0(zCells);
  if (x < x0 || z < z0) return 200.0f;
  const bool xLit = x >= x0 + 0.25f, zLit = z >= z0 + 0.25f;
  if (xLit && zLit) return 255.0f;
  if (!xLit && zLit) return 200.0f + 56.0f * (x - x0) / 0.25f;
  if (xLit && !zLit) return 200.0f + 56.0f * (z - z0) / 0.25f;
  return 200.0f + 56.0f * std::sqrt((x - x0) + (z - z0)) / std::sqrt(0.5f);
}

#define KV_GEN(n) {1, n, {{-100, 60}, {100, 60}, {-100, -60}, {100, -60}}, 40}
const StadiumLook stadium3d_aLooks[kStadiumLookCount] = {
    {1, "NULL", {{0, 0}, {0, 0}, {0, 0}, {0, 0}}, 0},
    KV_GEN("gen1"), KV_GEN("gen2"), KV_GEN("gen3"), KV_GEN("gen4"), KV_GEN("gen5"), KV_GEN("gen6"), KV_GEN("gen7"),
    {1, "NULL", {{0, 0}, {0, 0}, {0, 0}, {0, 0}}, 0},
    KV_GEN("gen9"), KV_GEN("gen10"), KV_GEN("gen11"), KV_GEN("gen12"), KV_GEN("gen13"), KV_GEN("gen14"),
    KV_GEN("gen15"), KV_GEN("gen16"),
    {0, "munich", {{-81.5f, 71.5f}, {86.5f, 72.5f}, {-84.5f, -74}, {88, -73.5f}}, 47},
    {1, "stadfran", {{-50, 39}, {-50, -35}, {50, 39}, {50, -34}}, 40},
    {1, "sansiro", {{-65, 54}, {65, 54}, {-65, -54}, {65, -54}}, 40.5f},
    {1, "wembley", {{-100, 60}, {100, 60}, {-100, -60}, {100, -60}}, 40},
    {0, "training", {{-100, 60}, {100, 60}, {-100, -60}, {100, -60}}, 40},
    {1, "rosebowl", {{-100, 60}, {100, 60}, {-100, -60}, {100, -60}}, 40},
    {1, "fhad", {{-100, 60}, {100, 60}, {-100, -60}, {100, -60}}, 40},
    {0, "munichn", {{-100, 60}, {100, 60}, {-100, -60}, {100, -60}}, 40},
};
#undef KV_GEN

HoardingSpot stadium3d_HoardingSpot(int32_t i) {
  // 13 boards along each touch line, 11 yards apart, then 7 behind each goal;
  // each run is spread evenly between its two end boards, which keeps both
  // sides symmetric about the halfway line.
  if (i < 0 || i >= kHoardingCount) i = 0;
  auto along = [](int32_t k) { return -60.351f + 120.702f * static_cast<float>(k) / 12.0f; };
  auto across = [](int32_t k) { return -30.176f + 60.352f * static_cast<float>(k) / 6.0f; };
  if (i < 13) return {along(i), 42.977f, 0};
  if (i < 26) return {along(i - 13), -42.977f, 32768};
  if (i < 33) return {67.666f, across(i - 26), 16384};
  return {-67.666f, across(i - 33), 49152};
}

int32_t stadium3d_LightsPlace(int32_t look, int32_t night, QMathVec3 aOut[4]) {
  if (night == 0) {
    aOut[0] = QMathVec3{-200, 300, -200};
    return 1;
  }
  const StadiumLook& l = stadium3d_aLooks[(look < 0 || look >= kStadiumLookCount) ? 0 : look];
  for (int32_t i = 0; i < 4; ++i) aOut[i] = QMathVec3{l.afLights[i][0], l.fLightHeight + 15.0f, l.afLights[i][1]};
  return 4;
}

void stadium3d_AdvertTexels(int32_t k, float* pLeft, float* pTop) {
  k = ((k % 16) + 16) % 16;
  *pLeft = static_cast<float>(k % 2) * 0.5f;
  *pTop = static_cast<float>(k / 2) * 0.125f;
}

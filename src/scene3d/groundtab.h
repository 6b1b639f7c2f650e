// The ground's fixed tables: pitch types, the light on the ground, the
// stadium looks with their floodlights, and the hoarding spots.
#pragma once

#include <cstdint>

#include "framework/math/qmath_types.h"

struct PitchType {
  const char* pszPattern;   // texture path under the textures folder
  uint8_t aLit[4];          // r, g, b, a of the lit grass
  uint8_t aShadow[4];       // and of the grass in the stadium's shadow
};
inline constexpr int32_t kPitchTypeCount = 6;
extern const PitchType pitch_aTypes[kPitchTypeCount];
// The type's record; a type outside 0..5 takes type 0's.
const PitchType& pitch_TypeGet(int32_t type);

inline constexpr float kPitchCell5 = 4.572056f;   // 5 yards
inline constexpr float kPitchCell10 = 9.144112f;  // 10 yards
inline constexpr float kGroundHalfLength = 68.58083f;
inline constexpr float kGroundHalfWidth = 45.720554f;

// Shadow edges of a ground with the given shadow cells (5 and 3 by day).
float pitch_fShadowX0(int32_t xCells);
float pitch_fShadowZ0(int32_t zCells);
// Light level (0..255) of a ground point; no shadow (x cells 0) is 255.
float pitch_fLightLevel(int32_t xCells, int32_t zCells, float x, float z);

struct StadiumLook {
  uint32_t uHoardings;
  char szName[32];
  float afLights[4][2];  // x, z
  float fLightHeight;
};
inline constexpr int32_t kStadiumLookCount = 25;
extern const StadiumLook stadium3d_aLooks[kStadiumLookCount];

struct HoardingSpot {
  float fX, fZ;
  uint16_t uTurn;
};
inline constexpr int32_t kHoardingCount = 40;
// Spot i of the 40 in table order.
HoardingSpot stadium3d_HoardingSpot(int32_t i);

// The scene's lights for a look: by day one, the sun; at night four, the
// floodlights 15 above their height. Returns the count.
int32_t stadium3d_LightsPlace(int32_t look, int32_t night, QMathVec3 aOut[4]);

// Texel square of advert k (0..15) on a hoarding texture: left, top of a
// cell half the width and an eighth of the height.
void stadium3d_AdvertTexels(int32_t k, float* pLeft, float* pTop);

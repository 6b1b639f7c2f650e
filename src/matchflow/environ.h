#pragma once
// The match environment: from the match's stadium, the stadium look the 3D
// scene loads, a look variant, a random bit, night and floodlights, and the
// pitch type.
#include <cstdint>

struct Environment {
  std::int32_t StadiumID;
  std::int32_t iLook;        // stadium model index (21 the training ground)
  std::int32_t iVariant;     // 0..3
  std::int32_t iRandomBit;
  std::int32_t bNight;
  std::int32_t iLights;      // 1 at night, 0 by day, 5 for the day version of 117 and 125
  std::int32_t iPitchType;   // 0..4; 5 the training pitch
  std::int32_t iPitchWear;   // always 0
};
extern Environment environ_oEnvironment;

constexpr std::int32_t ENVIRON_LOOK_DEFAULT = 21;
constexpr std::int32_t ENVIRON_PITCH_DEFAULT = 5;

void environ_Reset();
void environ_PitchReset();
void environ_StadiumSet(std::int32_t iId);
std::int32_t environ_StadiumGet();
void environ_Choose();
void environ_PitchChoose();
void environ_NightChoose();
std::int32_t environ_LightsSet(std::int32_t bFlag);
std::int32_t environ_LookGet();
std::int32_t environ_VariantGet();
std::int32_t environ_RandomBitGet();
std::int32_t environ_bIsNight();
std::int32_t environ_LightsGet();
std::int32_t environ_PitchTypeGet();
std::int32_t environ_PitchWearGet();

#pragma once
// The set-piece power gauge: a small bar the user fills by holding the kick
// button; the level at release gives the kick's power, a second reading its
// accuracy percentage.
#include <cstdint>

struct PowerGauge {
  std::int32_t x, y;
  std::int32_t iRateA, iRateB;
  std::int32_t iMarker;  // percent of 24 pixels: height of the reference band
  std::int32_t iFill;    // level as a y coordinate, y .. y + 110
  std::int32_t bReleased;
  std::int32_t iPeak;
  std::int32_t bRunning;
  std::int32_t bFull;
  std::int32_t bMovedUp;
  std::int32_t iTimer;  // frames left on screen
};

void gauge_Init(PowerGauge* pg, std::int32_t x, std::int32_t y, std::int32_t iRateA, std::int32_t iRateB,
                std::int32_t iMarker);
void gauge_Reset(PowerGauge* pg, std::int32_t iRateA, std::int32_t iRateB);
void gauge_RunningSet(PowerGauge* pg, std::int32_t bRunning);
void gauge_Step(PowerGauge* pg, std::int32_t iDelta, std::int32_t bRelease);
std::int32_t gauge_iPowerGet(const PowerGauge* pg);
std::int32_t gauge_iPercentGet(PowerGauge* pg);
void gauge_Draw(PowerGauge* pg);

#pragma once
// Recording fakes of what the ball's flight calls outside itself, for tests
// that compile the ball's sources on their own.
#include <cstdint>
#include <vector>

struct BallFakeCall {
  std::int32_t a[8];
};

struct BallFakes {
  std::vector<std::int32_t> aSounds;          // sfx_Play effects
  std::vector<BallFakeCall> aVolumeSounds;    // {effect, volume}
  std::vector<BallFakeCall> aTrails;          // pcframe_TrailAdd arguments
  std::vector<BallFakeCall> aReferee;         // {event, x, y}
  std::vector<std::int32_t> aPenaltyKicks;    // mpenso_RecordKick arguments
  std::int32_t cChaserChoose = 0;
  std::int32_t cHandOver = 0;
  std::int32_t cContactClear = 0;
  std::int32_t cOffsideChecks = 0;
  std::int32_t cTargetClear = 0;
  std::vector<BallFakeCall> aShotStats;       // {outcome, side}
  std::int32_t iGameMode = 2;
};

extern BallFakes g_oBallFakes;
void BallFakesReset();

#pragma once
// Simulated results: score tables by strength, extra time, penalties, and
// the rules of each round format.
#include <cstdint>

#include "tournament/tmtree.h"

struct ScoreEntry {
  std::uint16_t uThreshold;
  std::uint8_t cFirst, cSecond;
};
struct ScoreTable {
  const ScoreEntry* pEntries;
  std::int32_t cEntries;
};
enum : std::int32_t { RT_CLOSE, RT_CLEAR, RT_BIG, RT_ROUT, RT_DRAW, RT_UPSET, RT_BIG_UPSET, RT_COUNT };
extern const ScoreTable result_aFullTime[RT_COUNT];
extern const ScoreTable result_aExtraTime[5];
extern const ScoreTable result_aExtraTime2[5];
extern const ScoreTable result_aPenalties[5];

// The generator behind the result draws: the runtime's rand contract (0 to
// 32767, a multiply-add step) over a state of our own, so runs repeat.
void result_RandSeed(std::uint32_t uSeed);
std::uint32_t result_RandStateGet();
std::int32_t result_Rand();
std::int32_t result_Random100();
std::int32_t result_Random1000();
std::int32_t result_CoinToss();
// The first entry whose threshold is not below R.
const ScoreEntry* result_TableDraw(const ScoreTable& t, std::int32_t R);
// Which full-time table a result uses: 0 A wins, 1 B wins, 2 draw.
std::int32_t result_TableChoose(std::int32_t iOutcome, std::int32_t a, std::int32_t b);
std::int32_t result_BandGet(std::int32_t iRatingA, std::int32_t iRatingB);
void result_Generate(std::int32_t iRatingA, std::int32_t iRatingB, std::int32_t* piA, std::int32_t* piB);
void result_ExtraTimeGenerate(std::int32_t iRatingA, std::int32_t iRatingB, std::int32_t* piA, std::int32_t* piB);
void result_ExtraTime2Generate(std::int32_t iRatingA, std::int32_t iRatingB, std::int32_t* piA, std::int32_t* piB);
void result_PenaltiesGenerate(std::int32_t iRatingA, std::int32_t iRatingB, std::int32_t* piA, std::int32_t* piB);

// Host of edition e + 1 (e 0..9).
std::uint32_t result_NextHostGet(std::int32_t iEdition);
std::uint32_t result_HostGet(std::int32_t iEdition);

void history_FixtureSimulate(Round* r, Fixture* f);
void history_DaySimulate(Year* y);
// The fixture's two team-name ids.
std::uint32_t history_FixtureTeamA(const Round* r, const Fixture* f);
std::uint32_t history_FixtureTeamB(const Round* r, const Fixture* f);
// Whether the fixture's date is on or before the current date.
std::int32_t history_FixtureDateIsDue(const Round* r, const Fixture* f);

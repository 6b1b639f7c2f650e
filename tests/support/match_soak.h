#pragma once
// Seeded whole matches across the kinds of rules, with a plausibility check
// of each match and of a run of them.
#include <cstdint>
#include <string>

#include "support/match_harness.h"

namespace match_harness {

// The rules a soak seed plays under (friendlies with and without extra time,
// golden goal, penalties on and off, tournament formats), length 1..3 minutes.
Config SoakConfig(std::uint32_t uSeed);

struct SoakTotals {
  std::int32_t cMatches = 0, cUnfinished = 0, cGoals = 0, cShots = 0, cSaves = 0, cCards = 0;
  std::int32_t cThrowIns = 0, cCorners = 0, cGoalKicks = 0, cFreeKicks = 0, cPenalties = 0, cShootouts = 0;
  std::int32_t cStill = 0;  // players who covered no ground in open play
  std::string oFirstFault;
  void Add(const Config& c, const Result& r);
  std::string Describe() const;
  // Restarts per match against football's (for the short matches played):
  // empty when every count lies in its band, else the counts outside.
  std::string OutOfBands() const;
};

}  // namespace match_harness

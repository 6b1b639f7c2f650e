#pragma once
// Seeded whole matches across the kinds of rules, with a plausibility check
// of each match and of a run of them.
#include <cstdint>
#include <string>
#include <vector>

#include "support/match_harness.h"
#include "support/match_watch.h"

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

// A person against the computer: the statistics soak's sides and rules,
// 2 to 4 minutes, the person at home or away by the seed, tapping Pass every
// 90 ticks all match (the pass-tapper) or the seeded monkey. bComputer: the
// same match with the computer on both sides.
Config PersonConfig(std::uint32_t uSeed, bool bComputer = false);

// The keepers' carries watch: SoakConfig's sides and rules over 10 minutes,
// the person at home on even seeds and away on odd ones, tapping Pass every
// 90 ticks from tick 30 (the pass-tapper, eKind User: every input table's
// Pass events, raw) or the monkey seeded seed x 7 + 3; eKind Computer leaves
// both sides to the computer.
Config CarryConfig(std::uint32_t uSeed, SideKind eKind);
// The faults the carries watch counts in one match: each carry the watch
// holds a fault, and one more when the match has any other (said in *pOther:
// no end, play left unjudged, a goal carried in), whatever carries it saw.
std::int32_t CarryMatchFaults(const MatchWatch& w, const Result& r, std::string* pOther);

// The statistics soak: computer against computer, the two sides two
// different entries of the quick-match table drawn by the seed, the match
// length cycling through 5, 10 and 15 minutes, fouls on and off, every
// referee setting, and the friendly and tournament rules of SoakConfig.
Config StatsConfig(std::uint32_t uSeed);

// The match statistics per 90 minutes of football (a match of L minutes is
// 90 compressed: its counts scale by 90 / L) over a run of matches, held to
// the bands of real football.
struct SoakStats {
  struct Sample {
    double d = 0;
    std::uint32_t uSeed = 0;
    std::int32_t iLength = 0;  // minutes of the match
  };
  // One figure over the matches it applies to.
  struct Series {
    std::vector<Sample> a;
    void Add(double d, std::uint32_t uSeed, std::int32_t iLength) { a.push_back({d, uSeed, iLength}); }
    double Mean() const;
    double MeanAt(std::int32_t iLength) const;  // over the matches of one length
    double Spread() const;  // the standard deviation
  };
  Series oGoals;          // goals a match
  Series oShots;          // shots a team
  Series oOnTarget;       // shots on target a team
  Series oFouls;          // fouls a team, fouls on
  Series oPenalties;      // penalties a match, fouls on
  Series oCards;          // yellow and red cards a match, fouls on
  Series oReds;           // red cards a match, fouls on
  Series oRedsHarsh;      // red cards a match, fouls on, a Harsh referee
  Series oCorners;        // corners a team
  Series oPossession;     // the home side's share of the ball, per cent
  std::int32_t cMatches = 0, cUnfinished = 0, cFoulsOn = 0;
  std::int64_t cShotsAll = 0, cOnTargetAll = 0, cGoalsAll = 0;
  // Shoot-outs: their kicks, goals, rows (kicks of the side that took more)
  // and the longest.
  std::int32_t cShootouts = 0, cShootoutKicks = 0, cShootoutGoals = 0, cShootoutsInFive = 0,
               cShootoutsPastEight = 0, cLongestShootout = 0;
  std::uint32_t uLongestShootoutSeed = 0;
  std::string oFirstFault;

  void Add(const Config& c, const Result& r);

  // A band: the figure, its bounds, and whether it is a known failure (a
  // known failure is reported but fails nothing).
  struct Band {
    std::string oName;
    double dValue, dLo, dHi;
    bool bKnown;
    bool In() const { return dValue >= dLo && dValue <= dHi; }
  };
  std::vector<Band> Bands() const;
  // Every figure with its mean, spread and extreme seeds, and each band.
  std::string Report() const;
  // The bands left that are not known failures; empty when all hold.
  std::string Failures() const;
};

}  // namespace match_harness

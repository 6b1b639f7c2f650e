#pragma once
// Seeded whole matches across the kinds of rules, with a plausibility check
// of each match and of a run of them.
#include <cstdint>
#include <string>
#include <vector>

#include "support/match_harness.h"
#include "support/match_watch.h"

namespace match_harness {

struct MatchRecord;

// The rules a soak seed plays under (friendlies with and without extra time,
// golden goal, penalties on and off, tournament formats), length 1..3 minutes.
Config SoakConfig(std::uint32_t uSeed);

struct SoakTotals {
  std::int32_t cMatches = 0, cUnfinished = 0, cGoals = 0, cShots = 0, cSaves = 0, cCards = 0;
  std::int32_t cThrowIns = 0, cCorners = 0, cGoalKicks = 0, cFreeKicks = 0, cPenalties = 0, cShootouts = 0;
  std::int32_t cStill = 0;  // players who covered no ground in open play
  std::string oFirstFault;
  void Add(const Config& c, const Result& r);
  void Add(const MatchRecord& o);
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

// ---- The statistics soak at full time ---------------------------------------------------------

// One match of a soak as the soak keeps it: its rules, its figures at full
// time (Result::FullTime), what came after, the whole match's restarts and
// what the watch found. One CSV line (SOAK_CSV, and the record a worker
// process hands back to the soak).
struct MatchRecord {
  std::int32_t iKind = 0;  // 0 the statistics soak's computer match, 1 a person's match
  std::uint32_t uSeed = 0;
  std::int32_t iLength = 0, iExtraTime = 0, bPenalties = 0, bFouls = 0, iReferee = 0, bTournament = 0;
  std::int32_t bFinished = 0, bFullTime = 0;
  // At full time, per side (home, away).
  std::int32_t aiGoals[2] = {}, aiPenaltyGoals[2] = {}, aiOwnGoals[2] = {};
  std::int32_t aiShots[2] = {}, aiOnTarget[2] = {}, aiCorners[2] = {}, aiFouled[2] = {};
  std::int32_t aiBooked[2] = {}, aiSentOff[2] = {}, aiPossession[2] = {};
  std::int32_t cPenaltyKicks = 0;
  std::int32_t aiShotOrigin[kShotOrigins] = {};  // both sides
  std::int32_t aiShotKicks[2] = {};
  std::int32_t aiShotKickOrigin[kShotOrigins] = {};  // both sides
  std::int32_t cChallenges = 0, cChallengesInArea = 0, cFoulsInArea = 0;
  std::int32_t cChallengesInAreaFoulScore = 0;  // of them, on the holder and scored a foul
  std::int32_t aiCornersOffKeeper[2] = {};      // of the side's corners, off the other keeper
  // Struck shots (Result::FullTime), per side; their origins both sides.
  std::int32_t aiStruck[2] = {}, aiStruckOnTarget[2] = {}, aiStruckScored[2] = {}, aiKeeperSaves[2] = {};
  std::int32_t aiStruckHeaders[2] = {};
  std::int32_t aiStruckOrigin[kShotOrigins] = {};
  // After full time: extra time played and its goals, the tie played again
  // (Result::bReplayed), the final score (a shoot-out's goals in it), the
  // shoot-out's kicks and goals.
  std::int32_t bExtraTime = 0, aiExtraGoals[2] = {}, bReplayed = 0;
  std::int32_t aiFinal[2] = {}, aiShootoutKicks[2] = {}, aiShootoutGoals[2] = {};
  // The whole match (SoakTotals): entries of the restart modes, shots,
  // saves and cards, players who never moved.
  std::int32_t cThrowIns = 0, cCornerKicks = 0, cGoalKicks = 0, cFreeKicks = 0, cPenalties = 0, cShootouts = 0;
  std::int32_t cShotsAll = 0, cSavesAll = 0, cCardsAll = 0, cStill = 0;
  std::string sFault;     // what the watch found (empty: nothing)
  std::string sDescribe;  // Result::Describe

  // Goals of the normal time from shots (neither penalty kicks nor own goals).
  std::int32_t ShotGoals() const;
  std::int32_t Goals() const { return aiGoals[0] + aiGoals[1]; }
};
MatchRecord RecordOf(const Config& c, const Result& r, const std::string& sFault = "");
std::string CsvHeader();
std::string CsvLine(const MatchRecord& o);
// False when the line is not a record's.
bool CsvRead(const std::string& sLine, MatchRecord* po);

// Plays the configs, each watched (support/match_watch.h), on cJobs worker
// processes forked from this one, each playing a run of them in order and
// handing back its records in a file of its own in a fresh temporary
// folder; the records come back in the configs' order whatever cJobs is.
// cJobs 1 plays them in this process. Empty, with *pWhy, when a worker
// failed (it names the seed it was playing).
std::vector<MatchRecord> PlayRecords(const std::vector<Config>& aoConfigs, std::int32_t cJobs, std::string* pWhy);

// A mean and its standard error.
struct Estimate {
  double dMean = 0, dError = 0;
  std::int32_t n = 0;
};
// The mean of the samples and sd / sqrt(n) (sd with n - 1).
Estimate MeanOf(const std::vector<double>& a);
// The ratio of the sums (a share over matches: shots on target of shots),
// its standard error linearised over the matches:
// sqrt(sum (y - R x)^2 / (n (n - 1))) / mean x.
Estimate RatioOf(const std::vector<double>& aNum, const std::vector<double>& aDen);

// The lengths the match conditions offer (minutes).
inline constexpr std::int32_t kSoakLengths[] = {5, 10, 15};

// One figure of the statistics soak over the matches of one length (0: all
// of them), with its band of football (bBand false: reported only). A
// figure held by the rules (sHeld, the reason) is one the game's rules keep
// out of football's band however well the game follows them: it is reported
// apart, beside its band, and fails nothing.
struct Figure {
  std::string sName;
  Estimate e;
  bool bBand = false;
  double dLo = 0, dHi = 0;
  bool bAboveLo = false;  // the mean must be above dLo, not only at it
  std::string sHeld{};
  bool In() const { return !bBand || ((bAboveLo ? e.dMean > dLo : e.dMean >= dLo) && e.dMean <= dHi); }
  bool Fails() const { return !In() && sHeld.empty(); }
  std::string BandText() const;
};
// The statistics soak's computer matches (iKind 0, finished) of a length.
std::vector<Figure> FullTimeFigures(const std::vector<MatchRecord>& a, std::int32_t iLength);
// Every figure per length and over all, mean and standard error beside its
// band, the figures held by the rules in a section of their own (each with
// its reason), then extra time and shoot-outs.
std::string FullTimeReport(const std::vector<MatchRecord>& a);
// The bands out (figure, length, value and band; not the figures held by
// the rules) and the matches that never reached full time or their end;
// empty when all hold.
std::string FullTimeFailures(const std::vector<MatchRecord>& a);

}  // namespace match_harness

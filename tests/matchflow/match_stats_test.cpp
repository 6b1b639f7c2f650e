// The match statistics of computer sides per 90 minutes: the figures the
// rules hold out of football's bands, the seeds' sides and rules, and two
// dozen seeded matches checked for what so few can show (make soak plays
// many more and holds the rates to football's bands).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "shell/global.h"
#include "support/match_harness.h"
#include "support/match_soak.h"

namespace mh = match_harness;

namespace {

mh::MatchRecord Played(std::uint32_t uSeed, std::int32_t iLength) {
  mh::MatchRecord o;
  o.uSeed = uSeed;
  o.iLength = iLength;
  o.bFinished = o.bFullTime = 1;
  o.bFouls = 1;
  o.aiPossession[0] = o.aiPossession[1] = 100;
  return o;
}

// Corners and penalties are held by the rules: out of their bands they are
// reported apart, each with its reason, and fail nothing, while any other
// figure out of its band still fails the run. One back in its band at every
// length is said to be banded again.
TEST(MatchStats, FiguresHeldByTheRulesAreReportedApartAndFailNothing) {
  // Two goalless 10-minute matches, fouls on: no corner, no penalty.
  std::vector<mh::MatchRecord> a = {Played(1, 10), Played(4, 10)};
  const std::vector<mh::Figure> af = mh::FullTimeFigures(a, 10);
  auto figure = [&af](const std::string& name) -> const mh::Figure& {
    for (const mh::Figure& f : af)
      if (f.sName == name) return f;
    ADD_FAILURE() << name;
    return af.front();
  };
  for (const char* psz : {"corners a team", "penalties a match (fouls on)"}) {
    EXPECT_FALSE(figure(psz).In()) << psz;
    EXPECT_FALSE(figure(psz).Fails()) << psz;
    EXPECT_FALSE(figure(psz).sHeld.empty()) << psz;
  }
  EXPECT_TRUE(figure("goals a match").sHeld.empty());
  EXPECT_TRUE(figure("goals a match").Fails());
  EXPECT_TRUE(figure("struck shots a team").Fails());
  const std::string f = mh::FullTimeFailures(a);
  EXPECT_NE(f.find("goals a match at 10 minutes 0.000"), std::string::npos) << f;
  EXPECT_EQ(f.find("corners"), std::string::npos) << f;
  EXPECT_EQ(f.find("penalties"), std::string::npos) << f;
  // The report: the held figures after the others, each row with its band
  // and a line of its reason.
  std::string r = mh::FullTimeReport(a);
  const std::size_t iHeld = r.find("\nHeld by the rules");
  ASSERT_NE(iHeld, std::string::npos) << r;
  EXPECT_LT(r.find("\ngoals a match "), iHeld) << r;
  for (const char* psz : {"\ncorners a team ", "\npenalties a match (fouls on) "}) {
    EXPECT_NE(r.find(psz), std::string::npos) << psz << r;
    EXPECT_EQ(r.find(psz, iHeld), r.find(psz)) << psz << r;  // only after it
  }
  EXPECT_LT(r.find("\ncorners off the keeper a team "), iHeld) << r;
  const std::string sCorners = "  why: " + figure("corners a team").sHeld;
  const std::string sPenalties = "  why: " + figure("penalties a match (fouls on)").sHeld;
  EXPECT_NE(r.find(sCorners + "\n"), std::string::npos) << r;
  EXPECT_NE(r.find(sPenalties + "\n"), std::string::npos) << r;
  // A corner to the home side in each: 4.5 a team per 90, in 4-6.
  for (mh::MatchRecord& o : a) o.aiCorners[0] = 1;
  r = mh::FullTimeReport(a);
  EXPECT_NE(r.find(sCorners + " (in its band now: band it again)\n"), std::string::npos) << r;
  EXPECT_NE(r.find(sPenalties + "\n"), std::string::npos) << r;
  EXPECT_EQ(mh::FullTimeFailures(a).find("corners"), std::string::npos);
}

// Sides and rules vary with the seed: two different quick-match entries,
// every length and referee, fouls on and off.
TEST(MatchStats, SeedsDrawDifferentSidesLengthsAndReferees) {
  bool abLength[16] = {}, abReferee[3] = {}, abFouls[2] = {};
  std::int32_t cPairs = 0;
  for (std::uint32_t s = 1; s <= 54; s++) {
    const mh::Config c = mh::StatsConfig(s);
    EXPECT_FALSE(c.aiTeam[0] == c.aiTeam[1] && c.aiEdition[0] == c.aiEdition[1]) << s;
    ASSERT_GE(c.iLength, 5);
    ASSERT_LE(c.iLength, 15);
    abLength[c.iLength] = true;
    abReferee[c.iReferee] = true;
    abFouls[c.bFouls] = true;
    const mh::Config d = mh::StatsConfig(s + 1);
    cPairs += c.aiTeam[0] != d.aiTeam[0] || c.aiEdition[0] != d.aiEdition[0];
    EXPECT_EQ(mh::StatsConfig(s).aiTeam[1], c.aiTeam[1]);
  }
  EXPECT_TRUE(abLength[5] && abLength[10] && abLength[15]);
  EXPECT_TRUE(abReferee[0] && abReferee[1] && abReferee[2]);
  EXPECT_TRUE(abFouls[0] && abFouls[1]);
  EXPECT_GT(cPairs, 45);
}

// The first two dozen seeds of the statistics soak, consecutive (eight
// matches of each length, fouls on and off, every referee), played whole:
// what so few matches can show. Their rates cannot be judged here: over
// the soak's 1,177 runs of 24 consecutive seeds a run's goals range from 0
// to 8 per 90 and its struck shots from 3 to 21 a team; the soak judges the
// rates with their standard errors. What two dozen matches do show: every
// match ends and reaches full time, each side's shots on target are its
// goals from them and its keeper's saves, every restart the game has but
// the penalty kick comes (a penalty is one in the soak's 1,200 matches; the
// fewest of the others in any of its runs: 4 corners, 27 goal kicks, 24
// free kicks with fouls on, 155 throw-ins, where a run gives 15 corners
// on average), and bounds no run of consecutive seeds reaches unless the game changes
// (a keeper who lets everything in, every shot on target or none, one side
// always on the ball). Each bound lies at least five standard deviations
// of a run's figure from the soak's mean, the spread taken over those 1,177
// runs, and outside the widest of them.
TEST(MatchStats, TwoDozenConsecutiveSeedsEndAndShowEveryRestart) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  constexpr std::uint32_t kFirst = 1;
  std::vector<mh::MatchRecord> a;
  std::map<std::int32_t, std::int32_t> mapEntries;
  std::int32_t cFreeKicksFoulsOn = 0;
  for (std::uint32_t s = kFirst; s < kFirst + 24; s++) {
    const mh::Config c = mh::StatsConfig(s);
    const mh::Result r = mh::Run(c);
    ASSERT_TRUE(r.bFinished) << r.Describe(c);
    ASSERT_TRUE(r.oFullTime.bReached) << r.Describe(c);
    const mh::Result::FullTime& f = r.oFullTime;
    for (std::int32_t k = 0; k < 2; k++) {
      EXPECT_EQ(f.aiStruckOnTarget[k], f.aiStruckScored[k] + f.aiKeeperSaves[k]) << r.Describe(c);
      EXPECT_LE(f.aiStruckOnTarget[k], f.aiStruck[k]) << r.Describe(c);
      EXPECT_LE(f.aiCornersOffKeeper[k], f.aiCorners[k]) << r.Describe(c);
    }
    for (const auto& [eMode, n] : r.mapEntries) mapEntries[eMode] += n;
    if (c.bFouls) cFreeKicksFoulsOn += r.mapEntries.count(GAME_MODE_FREE_KICK) ? r.mapEntries.at(GAME_MODE_FREE_KICK) : 0;
    a.push_back(mh::RecordOf(c, r));
  }
  const std::string report = mh::FullTimeReport(a);
  RecordProperty("report", report);
  for (std::int32_t eMode : {GAME_MODE_KICK_OFF, GAME_MODE_THROW_IN, GAME_MODE_GOAL_KICK, GAME_MODE_CORNER,
                             GAME_MODE_FREE_KICK, GAME_MODE_KEEPER_HANDS})
    EXPECT_GT(mapEntries[eMode], 0) << "mode " << eMode << "\n" << report;
  EXPECT_GT(cFreeKicksFoulsOn, 0) << report;
  // Bounds: the soak's mean, a run's spread, the soak's runs' extremes.
  struct Bound {
    const char* psz;
    double dLo, dHi;
  } const kBounds[] = {
      {"goals a match", 0, 11},                                    // 2.7, 1.24; 0 to 8
      {"share of struck shots on target", 0.1, 0.8},               // 0.45, 0.065; 0.27 to 0.60
      {"keepers' saves of struck shots on target", 0.35, 1},       // 0.77, 0.076; 0.48 to 1
      {"home possession in 35-65%", 0.5, 1},                       // 0.93, 0.046; 0.75 to 1
  };
  const std::vector<mh::Figure> af = mh::FullTimeFigures(a, 0);
  for (const Bound& o : kBounds) {
    const auto it = std::find_if(af.begin(), af.end(), [&o](const mh::Figure& f) { return f.sName == o.psz; });
    ASSERT_NE(it, af.end()) << o.psz;
    EXPECT_GE(it->e.dMean, o.dLo) << o.psz << "\n" << report;
    EXPECT_LE(it->e.dMean, o.dHi) << o.psz << "\n" << report;
  }
}

}  // namespace

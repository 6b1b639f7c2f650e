// The soak's pieces: the carries watch's count of a match's faults, the
// pass-tapper whose person never moves the stick, the statistics soak's
// means, errors and bands per length, its records and their CSV lines, the
// shot-origin classifier, the full-time snapshot of seeded matches and the
// worker processes that play them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/ball.h"
#include "engine/player.h"
#include "engine/referee.h"
#include "shell/global.h"
#include "support/match_soak.h"
#include "support/match_watch.h"

namespace {

namespace mh = match_harness;

// StatsConfig's seeds of a fifteen-minute golden-goal match level 1-1 at full
// time (a shoot-out decides it), and of a five-minute tournament tie level
// after extra time and played again.
constexpr std::uint32_t kLevelSeed = 770;
constexpr std::uint32_t kReplaySeed = 222;

// A carry by the keeper of the given side in the given mode.
mh::MatchWatch::Worst CarryOf(std::int32_t iSide, std::int32_t eMode) {
  mh::MatchWatch::Worst o;
  o.cTicks = 1;
  o.iFirst = o.iLast = 100;
  o.iSide = iSide;
  o.eMode = eMode;
  return o;
}

// The monkey's side: his keeper's carries in open play are his own doing,
// the other keeper's (the computer's) are faults.
struct CarryWatch : ::testing::Test {
  mh::Config c = mh::CarryConfig(3, mh::SideKind::Monkey);
  std::int32_t iMonkey = c.aeSide[0] == mh::SideKind::Monkey ? 0 : 1;
  mh::Result r;
  CarryWatch() { r.bFinished = true; }
};

TEST_F(CarryWatch, TheOtherFaultsOfAMatchCountBesideItsHarmlessCarries) {
  mh::MatchWatch w(c);
  std::string other;
  EXPECT_EQ(mh::CarryMatchFaults(w, r, &other), 0);
  EXPECT_EQ(other, "");
  // A harmless carry alone is no fault.
  w.aoCarries.push_back(CarryOf(iMonkey, GAME_MODE_PLAY));
  EXPECT_EQ(mh::CarryMatchFaults(w, r, &other), 0);
  EXPECT_EQ(other, "");
  // A ball left out unjudged in the same match is still one.
  w.oOutUnjudged = CarryOf(-1, GAME_MODE_PLAY);
  w.oOutUnjudged.cTicks = mh::kOutUnjudgedTicks + 1;
  EXPECT_EQ(mh::CarryMatchFaults(w, r, &other), 1);
  EXPECT_NE(other.find("a ball lay out of play unjudged"), std::string::npos) << other;
  // So is a match that did not end.
  w.oOutUnjudged = mh::MatchWatch::Worst{};
  r.bFinished = false;
  EXPECT_EQ(mh::CarryMatchFaults(w, r, &other), 1);
  EXPECT_NE(other.find("did not reach its end"), std::string::npos) << other;
}

TEST_F(CarryWatch, EachFaultyCarryCountsAndIsNotSaidAgainAmongTheOtherFaults) {
  mh::MatchWatch w(c);
  w.aoCarries.push_back(CarryOf(1 - iMonkey, GAME_MODE_PLAY));        // the computer's keeper
  w.aoCarries.push_back(CarryOf(iMonkey, GAME_MODE_KEEPER_HANDS));    // at his keeper's ball
  w.aoCarries.push_back(CarryOf(iMonkey, GAME_MODE_PLAY));            // the monkey's own
  std::string other;
  EXPECT_EQ(mh::CarryMatchFaults(w, r, &other), 2);
  EXPECT_EQ(other, "");
  EXPECT_NE(w.Faults(r).find("carried the ball over his own goal line"), std::string::npos);
  // With a hold past the taps beside them: one more.
  w.oHold = CarryOf(iMonkey, GAME_MODE_PLAY);
  EXPECT_EQ(mh::CarryMatchFaults(w, r, &other), 3);
  EXPECT_EQ(other.find("carried the ball over"), std::string::npos) << other;
  EXPECT_NE(other.find("kept the ball past his second tap"), std::string::npos) << other;
}

// The carries' pass-tapper posts every input table's Pass events and
// nothing else: the watch knows him for a person who never moves the stick.
TEST(PassTapper, TheCarriesPassTapperNeverMovesTheStickAndAnythingElseDoes) {
  for (std::uint32_t uSeed : {2u, 3u}) {
    mh::Config c = mh::CarryConfig(uSeed, mh::SideKind::User);
    const std::size_t k = c.aeSide[0] == mh::SideKind::User ? 0 : 1;
    ASSERT_FALSE(c.aoCommands[k].empty());
    for (const mh::Command& o : c.aoCommands[k]) EXPECT_TRUE(mh::IsPassEvent(o.iEvent)) << o.iEvent;
    EXPECT_TRUE(mh::MatchWatch(c).abStickIdle[k]) << uSeed;
    EXPECT_FALSE(mh::MatchWatch(c).abStickIdle[1 - k]) << uSeed;
    c.aoCommands[k].push_back(mh::Command{c.aoCommands[k].back().iTick + 1, 23, 0, 0});  // the stick
    EXPECT_FALSE(mh::MatchWatch(c).abStickIdle[k]) << uSeed;
  }
  EXPECT_FALSE(mh::IsPassEvent(0));
  EXPECT_FALSE(mh::IsPassEvent(29));  // Chip
  EXPECT_TRUE(mh::IsPassEvent(63));
}


// ---- Means and standard errors --------------------------------------------------------------

// sd / sqrt(n) with the sample deviation (n - 1), worked by hand.
TEST(SoakEstimate, AMeanCarriesTheSampleDeviationOverTheRootOfItsCount) {
  const mh::Estimate e = mh::MeanOf({1, 2, 3, 4});
  EXPECT_EQ(e.n, 4);
  EXPECT_DOUBLE_EQ(e.dMean, 2.5);
  EXPECT_DOUBLE_EQ(e.dError, std::sqrt(5.0 / 3.0) / 2.0);
  // One sample has no spread to give; none has no mean.
  EXPECT_DOUBLE_EQ(mh::MeanOf({7}).dMean, 7);
  EXPECT_DOUBLE_EQ(mh::MeanOf({7}).dError, 0);
  EXPECT_EQ(mh::MeanOf({}).n, 0);
  // A fair coin over 400 matches: the binomial error sqrt(p (1 - p) / n),
  // within the n / (n - 1) of the sample deviation.
  std::vector<double> a;
  for (int i = 0; i < 400; i++) a.push_back(i % 2);
  const mh::Estimate c = mh::MeanOf(a);
  EXPECT_DOUBLE_EQ(c.dMean, 0.5);
  EXPECT_NEAR(c.dError, std::sqrt(0.25 / 400), 0.0001);
  EXPECT_DOUBLE_EQ(c.dError, std::sqrt(100.0 / 399 / 400));
}

// A share of sums: with the same denominator in every match it is the mean
// of the matches' shares, with that mean's error; else the sums' ratio.
TEST(SoakEstimate, AShareOfSumsIsTheRatioOfTheSumsWithTheMatchesSpread) {
  const mh::Estimate r = mh::RatioOf({0, 1, 2, 1}, {2, 2, 2, 2});
  const mh::Estimate m = mh::MeanOf({0, 0.5, 1, 0.5});
  EXPECT_DOUBLE_EQ(r.dMean, 0.5);
  EXPECT_NEAR(r.dError, m.dError, 1e-12);
  const mh::Estimate u = mh::RatioOf({1, 3}, {1, 5});
  EXPECT_DOUBLE_EQ(u.dMean, 4.0 / 6.0);
  // Residuals 1 - 2/3 and 3 - 10/3: sqrt((1/9 + 1/9) / 2) / 3.
  EXPECT_NEAR(u.dError, std::sqrt(2.0 / 9.0 / 2.0) / 3.0, 1e-12);
  EXPECT_DOUBLE_EQ(mh::RatioOf({1, 2}, {0, 0}).dMean, 0);  // nothing to share
}

// ---- Figures and bands per length -----------------------------------------------------------

mh::MatchRecord Played(std::uint32_t uSeed, std::int32_t iLength, std::int32_t cHome, std::int32_t cAway) {
  mh::MatchRecord o;
  o.uSeed = uSeed;
  o.iLength = iLength;
  o.bFinished = o.bFullTime = 1;
  o.bFouls = 1;
  o.aiGoals[0] = cHome;
  o.aiGoals[1] = cAway;
  o.aiPossession[0] = o.aiPossession[1] = 100;
  return o;
}

const mh::Figure* FigureOf(const std::vector<mh::Figure>& a, const std::string& name) {
  for (const mh::Figure& f : a)
    if (f.sName == name) return &f;
  return nullptr;
}

// Goals are counted per 90 minutes of play: a match of 5, 10 or 15 minutes
// counts 18, 9 or 6 times. Three a match is in the band at every length
// (2.0-3.6 at five and fifteen, 2.3-3.2 at ten), one and a half at ten is
// out there only; the failures name the length.
TEST(SoakFigures, GoalsAreCountedPerNinetyMinutesAndHeldToTheirBandAtEachLength) {
  std::vector<mh::MatchRecord> a;
  for (std::uint32_t s = 0; s < 6; s++) {
    a.push_back(Played(3 * s + 1, 5, s == 0 ? 1 : 0, 0));       // 18 / 6
    a.push_back(Played(3 * s + 2, 10, 0, s % 3 == 0 ? 1 : 0));  // 2 * 9 / 6
    a.push_back(Played(3 * s + 3, 15, s % 3 == 0 ? 1 : 0, 0));  // 2 * 6 / 6
  }
  const std::vector<mh::Figure> af5 = mh::FullTimeFigures(a, 5), af10 = mh::FullTimeFigures(a, 10),
                                af15 = mh::FullTimeFigures(a, 15), afAll = mh::FullTimeFigures(a, 0);
  const mh::Figure* p5 = FigureOf(af5, "goals a match");
  const mh::Figure* p10 = FigureOf(af10, "goals a match");
  const mh::Figure* p15 = FigureOf(af15, "goals a match");
  const mh::Figure* pAll = FigureOf(afAll, "goals a match");
  const mh::Figure* pBoard = FigureOf(af10, "goals on the scoreboard at full time");
  ASSERT_TRUE(p5 && p10 && p15 && pAll && pBoard);
  EXPECT_DOUBLE_EQ(p5->e.dMean, 3);
  EXPECT_TRUE(p5->In());
  EXPECT_DOUBLE_EQ(p10->e.dMean, 3);
  EXPECT_TRUE(p10->In());
  EXPECT_DOUBLE_EQ(p15->e.dMean, 2);
  EXPECT_TRUE(p15->In());
  EXPECT_EQ(p10->BandText(), "2.3-3.2");
  EXPECT_EQ(p5->BandText(), "2-3.6");
  EXPECT_DOUBLE_EQ(pAll->e.dMean, (18.0 + 18 + 12) / 18);
  EXPECT_DOUBLE_EQ(pBoard->e.dMean, 2.0 / 6);  // as the matches ended
  EXPECT_FALSE(pBoard->bBand);
  // One and a half per 90 at ten: out there only.
  for (mh::MatchRecord& o : a)
    if (o.iLength == 10 && o.uSeed != 2) o.aiGoals[1] = 0;
  const std::string f = mh::FullTimeFailures(a);
  EXPECT_NE(f.find("goals a match at 10 minutes 1.500 +- 1.500 (band 2.3-3.2)"), std::string::npos) << f;
  EXPECT_EQ(f.find("goals a match at 5 minutes"), std::string::npos) << f;
  EXPECT_EQ(f.find("goals a match at 15 minutes"), std::string::npos) << f;
  EXPECT_EQ(f.find("goals a match over all"), std::string::npos) << f;
  EXPECT_NE(mh::FullTimeReport(a).find("1.50 +- 1.50!"), std::string::npos) << mh::FullTimeReport(a);
}

// Struck shots count a team, the share on target of their sums, the
// keepers' saves of those on target; the statistics' shots likewise, their
// on target less the goals from shots (penalty kicks and own goals are
// not); cards and penalties over the matches with fouls on; a person's
// match and an unfinished one count in no figure, and the unfinished one
// fails the soak.
TEST(SoakFigures, EachFigureCountsItsOwnMatchesAndGoals) {
  std::vector<mh::MatchRecord> a;
  mh::MatchRecord o = Played(1, 10, 2, 1);
  o.aiPenaltyGoals[0] = 1;
  o.aiOwnGoals[1] = 1;
  o.aiShots[0] = 7;
  o.aiShots[1] = 5;
  o.aiOnTarget[0] = 3;
  o.aiOnTarget[1] = 1;
  o.aiBooked[0] = 2;
  o.aiSentOff[1] = 1;
  o.cPenaltyKicks = 1;
  o.aiShotOrigin[mh::kShotInArea] = 5;
  o.aiShotOrigin[mh::kShotWithin25] = 4;
  o.aiShotOrigin[mh::kShotBeyond25] = 3;
  o.aiShotKicks[0] = 6;
  o.aiShotKicks[1] = 10;
  o.aiShotKickOrigin[mh::kShotBeyond25] = 12;
  o.aiStruck[0] = 9;
  o.aiStruck[1] = 3;
  o.aiStruckOnTarget[0] = 4;  // 3 saved, 1 in: the home side's goal that was no penalty
  o.aiStruckOnTarget[1] = 1;  // saved: the away side's goal was an own goal
  o.aiKeeperSaves[0] = 3;
  o.aiKeeperSaves[1] = 1;
  o.aiStruckScored[0] = 1;
  o.aiStruckHeaders[1] = 2;
  o.aiStruckOrigin[mh::kShotInArea] = 2;
  o.aiStruckOrigin[mh::kShotWithin25] = 4;
  o.aiStruckOrigin[mh::kShotBeyond25] = 6;
  o.aiPossession[0] = 300;
  o.aiPossession[1] = 100;  // 75%: outside 35-65
  a.push_back(o);
  mh::MatchRecord q = Played(2, 10, 0, 0);  // fouls off
  q.bFouls = 0;
  q.aiShots[0] = q.aiShots[1] = 4;
  q.aiOnTarget[0] = 4;
  q.aiBooked[0] = 5;  // not counted: fouls off
  q.aiShotOrigin[mh::kShotBeyond25] = 8;
  q.aiStruck[0] = 4;
  q.aiStruckOnTarget[0] = 3;
  q.aiKeeperSaves[0] = 3;
  q.aiStruckOrigin[mh::kShotInArea] = 4;
  a.push_back(q);
  mh::MatchRecord person = Played(3, 10, 9, 9);
  person.iKind = 1;
  a.push_back(person);
  mh::MatchRecord stuck = Played(4, 10, 9, 9);
  stuck.bFinished = 0;
  stuck.sDescribe = "seed 4: stopped";
  a.push_back(stuck);
  const std::vector<mh::Figure> af = mh::FullTimeFigures(a, 10);
  auto mean = [&](const char* psz) {
    const mh::Figure* p = FigureOf(af, psz);
    EXPECT_NE(p, nullptr) << psz;
    return p ? p->e.dMean : -1;
  };
  EXPECT_DOUBLE_EQ(mean("goals a match"), 9 * 1.5);  // per 90 minutes: nine times a 10-minute match
  EXPECT_DOUBLE_EQ(mean("goalless share"), 0.5);
  EXPECT_DOUBLE_EQ(mean("struck shots a team"), 9 * 4.0);  // (6 + 2) / 2
  EXPECT_DOUBLE_EQ(mean("struck shots on target a team"), 9 * 2.0);  // (2.5 + 1.5) / 2
  EXPECT_DOUBLE_EQ(mean("share of struck shots on target"), 8.0 / 16);
  EXPECT_DOUBLE_EQ(mean("keepers' saves of struck shots on target"), 7.0 / 8);
  EXPECT_DOUBLE_EQ(mean("struck shots from inside the area"), 6.0 / 16);
  EXPECT_DOUBLE_EQ(mean("struck shots from beyond 25 yards"), 6.0 / 16);
  EXPECT_DOUBLE_EQ(mean("struck inside area less beyond 25, a team"), 9 * (-2.0 + 2.0) / 2);
  EXPECT_DOUBLE_EQ(mean("share of struck shots headed"), 2.0 / 16);
  EXPECT_DOUBLE_EQ(mean("share of goals from struck shots"), 1.0 / 3);
  EXPECT_DOUBLE_EQ(mean("statistics' shots a team"), 9 * 5.0);  // (6 + 4) / 2
  EXPECT_DOUBLE_EQ(mean("statistics' share on target"), 8.0 / 20);
  // The goals from shots: 3 less a penalty and an own goal; 0 in the other.
  EXPECT_DOUBLE_EQ(mean("statistics' on target not scored"), 7.0 / 8);
  EXPECT_DOUBLE_EQ(mean("statistics' shots from inside the area"), 5.0 / 20);
  EXPECT_DOUBLE_EQ(mean("statistics' shots from beyond 25 yards"), 11.0 / 20);
  EXPECT_DOUBLE_EQ(mean("shot kicks a team"), 9 * 4.0);  // (8 + 0) / 2
  EXPECT_DOUBLE_EQ(mean("shot kicks from beyond 25 yards"), 12.0 / 16);
  EXPECT_DOUBLE_EQ(mean("home possession in 35-65%"), 0.5);
  EXPECT_DOUBLE_EQ(mean("cards a match (fouls on)"), 9 * 3.0);
  EXPECT_DOUBLE_EQ(mean("red cards a match (fouls on)"), 9.0);
  EXPECT_DOUBLE_EQ(mean("penalties a match (fouls on)"), 9.0);
  const std::string f = mh::FullTimeFailures(a);
  EXPECT_NE(f.find("1 unfinished, 0 ended before full time (first: seed 4: stopped)"), std::string::npos) << f;
  EXPECT_NE(f.find("red cards a match (fouls on) at 10 minutes 9.000"), std::string::npos) << f;
  EXPECT_NE(f.find("struck inside area less beyond 25, a team at 10 minutes"), std::string::npos) << f;
  EXPECT_NE(f.find("struck shots a team at 10 minutes 36.000"), std::string::npos) << f;
  EXPECT_EQ(f.find("share of struck shots on target"), std::string::npos) << f;
  EXPECT_NE(f.find("keepers' saves of struck shots on target at 10 minutes 0.875"), std::string::npos) << f;
  EXPECT_EQ(f.find("statistics'"), std::string::npos) << f;
  EXPECT_EQ(f.find("penalties a match"), std::string::npos) << f;
  EXPECT_NE(f.find("cards a match (fouls on) at 10 minutes 27.000"), std::string::npos) << f;
}

// More shots from inside the area than from beyond 25 yards: as many is
// not more.
TEST(SoakFigures, AsManyShotsFromInsideAsFromBeyondIsNotMore) {
  mh::MatchRecord o = Played(1, 5, 1, 1);
  o.aiStruckOrigin[mh::kShotInArea] = o.aiStruckOrigin[mh::kShotBeyond25] = 3;
  const std::vector<mh::Figure> af = mh::FullTimeFigures({o}, 5);
  const mh::Figure* p = FigureOf(af, "struck inside area less beyond 25, a team");
  ASSERT_NE(p, nullptr);
  EXPECT_FALSE(p->In());
  EXPECT_EQ(p->BandText(), "> 0");
  o.aiStruckOrigin[mh::kShotInArea] = 4;
  EXPECT_TRUE(FigureOf(mh::FullTimeFigures({o}, 5), "struck inside area less beyond 25, a team")->In());
}

// ---- Records and their CSV lines ---------------------------------------------------------------

TEST(SoakRecord, ARecordComesBackFromItsCsvLineWhole) {
  mh::MatchRecord o;
  o.uSeed = 4000000000u;
  o.iKind = 1;
  o.iLength = 15;
  o.aiGoals[1] = 3;
  o.aiPossession[0] = 123456;
  o.aiShotOrigin[mh::kShotBeyond25] = 7;
  o.aiKeeperSaves[1] = 5;
  o.aiStruckOrigin[mh::kShotWithin25] = 6;
  o.cStill = -2;
  o.sFault = "a ball lay out of play, \"unjudged\", for 4 ticks";
  o.sDescribe = "seed 1: finished, score 0-0, modes 2 3";
  const std::string line = mh::CsvLine(o);
  mh::MatchRecord back;
  ASSERT_TRUE(mh::CsvRead(line, &back)) << line;
  EXPECT_EQ(mh::CsvLine(back), line);
  EXPECT_EQ(back.uSeed, 4000000000u);
  EXPECT_EQ(back.aiGoals[1], 3);
  EXPECT_EQ(back.aiShotOrigin[mh::kShotBeyond25], 7);
  EXPECT_EQ(back.aiKeeperSaves[1], 5);
  EXPECT_EQ(back.aiStruckOrigin[mh::kShotWithin25], 6);
  EXPECT_EQ(back.sFault, o.sFault);
  EXPECT_EQ(back.sDescribe, o.sDescribe);
  // As many header names as fields before the quoted two.
  const std::string h = mh::CsvHeader();
  const std::string numbers = line.substr(0, line.find('"'));
  EXPECT_EQ(std::count(h.begin(), h.end(), ','), std::count(numbers.begin(), numbers.end(), ',') + 1);
  EXPECT_EQ(h.rfind("seed,kind,length,", 0), 0u) << h;
  // A line cut short, or with a word for a number, is no record.
  EXPECT_FALSE(mh::CsvRead(line.substr(0, line.size() - 1), &back));
  EXPECT_FALSE(mh::CsvRead("x" + line, &back));
  EXPECT_FALSE(mh::CsvRead(line.substr(0, line.find(',', 20)), &back));
  EXPECT_FALSE(mh::CsvRead("", &back));
}

// ---- Where a shot was struck ------------------------------------------------------------------

// The area's edges (18 yards out, 22 either side) are in it; 25 yards from
// the goal line is within 25; a spot on the other half is beyond. Both ends.
TEST(ShotOrigin, TheAreaAnd25YardsAreMeasuredFromTheGoalAttacked) {
  struct Spot {
    std::int32_t x, y;
    mh::ShotOrigin e;
  } const kSpots[] = {
      {9360 - 2592, 3168, mh::kShotInArea},      {9360 - 2592, -3168, mh::kShotInArea},
      {9360, 0, mh::kShotInArea},                {9360 - 2593, 0, mh::kShotWithin25},
      {9360 - 2592, 3169, mh::kShotWithin25},    {9000, -3169, mh::kShotWithin25},
      {9360 - 3600, 0, mh::kShotWithin25},       {9360 - 3601, 0, mh::kShotBeyond25},
      {0, 0, mh::kShotBeyond25},                 {-9000, 0, mh::kShotBeyond25},
  };
  for (const Spot& o : kSpots) {
    EXPECT_EQ(mh::ShotOriginOf(o.x, o.y, 1), o.e) << o.x << "," << o.y;
    EXPECT_EQ(mh::ShotOriginOf(-o.x, o.y, -1), o.e) << -o.x << "," << o.y;
  }
  EXPECT_EQ(mh::kPenaltyAreaDepth, 2592);
  // The referee's own test of the area agrees at its edges, at both ends.
  for (std::int32_t iDirection : {0, 1}) {
    const std::int32_t iSign = iDirection == 0 ? -1 : 1;
    for (std::int32_t x : {6767, 6768, 8000, 9360})
      for (std::int32_t y : {0, 3168, -3168, 3169}) {
        Player p{};
        p.Direction = iDirection;
        p.x = iSign * x;
        p.y = y;
        EXPECT_EQ(referee_bInPenaltyArea(&p) != 0, mh::ShotOriginOf(p.x, p.y, iSign) == mh::kShotInArea)
            << x << "," << y << " attacking " << iSign;
      }
  }
}

// ---- Seeded matches ---------------------------------------------------------------------------

struct SoakSeededMatches : ::testing::Test {
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
  }
};

// A fifteen-minute match with golden goal, level 1-1 at full time, goalless
// in extra time and decided by a shoot-out: the full-time score is the one
// the period end kept for normal time, and no count at full time passes the
// same count at the end.
TEST_F(SoakSeededMatches, TheFullTimeFiguresAreNormalTimesAndNoMore) {
  const mh::Config c = mh::StatsConfig(kLevelSeed);
  ASSERT_EQ(c.iLength, 15);
  ASSERT_EQ(c.iExtraTime, 2);
  const mh::Result r = mh::Run(c);
  ASSERT_TRUE(r.bFinished) << r.Describe(c);
  const mh::Result::FullTime& f = r.oFullTime;
  ASSERT_TRUE(f.bReached);
  EXPECT_TRUE(r.bExtraTime);
  EXPECT_FALSE(r.bReplayed);
  EXPECT_GT(f.iTick, 0);
  EXPECT_LT(f.iTick, r.cTicks);
  EXPECT_EQ(f.aiGoals[0], r.aiNormal[0]);
  EXPECT_EQ(f.aiGoals[1], r.aiNormal[1]);
  EXPECT_EQ(f.aiGoals[0] + f.aiGoals[1], 2);
  EXPECT_GT(r.aiPenalties[0] + r.aiPenalties[1], 0) << "a shoot-out follows";
  std::int32_t cOrigins = 0;
  for (std::int32_t k = 0; k < 2; k++) {
    // The final score: full time, extra time and the shoot-out.
    EXPECT_EQ(r.aiScore[k], f.aiGoals[k] + r.aiExtraGoals[k] + r.aiPenalties[k]);
    EXPECT_LE(f.aiShots[k], r.aiShots[k]);
    EXPECT_LE(f.aiOnTarget[k], r.aiOnTarget[k]);
    EXPECT_LE(f.aiOnTarget[k], f.aiShots[k]);
    EXPECT_LE(f.aiCorners[k], r.aiCorners[k]);
    EXPECT_LE(f.aiFouled[k], r.aiFouled[k]);
    for (std::int32_t i = 0; i < mh::kShotOrigins; i++) cOrigins += f.aaiShotOrigin[k][i];
  }
  // Every shot counted at full time has its origin, and so has every shot kick.
  EXPECT_EQ(cOrigins, f.aiShots[0] + f.aiShots[1]);
  std::int32_t cKickOrigins = 0;
  for (std::int32_t k = 0; k < 2; k++)
    for (std::int32_t i = 0; i < mh::kShotOrigins; i++) cKickOrigins += f.aaiShotKickOrigin[k][i];
  EXPECT_EQ(cKickOrigins, f.aiShotKicks[0] + f.aiShotKicks[1]);
  EXPECT_GT(f.aiShotKicks[0] + f.aiShotKicks[1], 0);
  // Each struck shot has its origin; those on target went in or the keeper
  // stopped them; a struck shot's goal is one of the side's. Followed apart,
  // the strikes that were no header are this match's shot kicks.
  std::int32_t cStruckOrigins = 0;
  for (std::int32_t k = 0; k < 2; k++) {
    for (std::int32_t i = 0; i < mh::kShotOrigins; i++) cStruckOrigins += f.aaiStruckOrigin[k][i];
    EXPECT_LE(f.aiStruckOnTarget[k], f.aiStruck[k]);
    EXPECT_EQ(f.aiStruckOnTarget[k], f.aiStruckScored[k] + f.aiKeeperSaves[k]);
    EXPECT_LE(f.aiStruckScored[k], f.aiGoals[k]);
    EXPECT_EQ(f.aiStruck[k] - f.aiStruckHeaders[k], f.aiShotKicks[k]) << k;
  }
  EXPECT_EQ(cStruckOrigins, f.aiStruck[0] + f.aiStruck[1]);
  EXPECT_GT(f.aiKeeperSaves[0] + f.aiKeeperSaves[1], 0);
  EXPECT_GT(f.aiStruckScored[0] + f.aiStruckScored[1], 0);
  EXPECT_GT(f.aiStruckHeaders[0] + f.aiStruckHeaders[1], 0);
  // Of the corners, those off the other keeper; of the challenges in the
  // own area, those the referee's rule scores a foul.
  for (std::int32_t k = 0; k < 2; k++) EXPECT_LE(f.aiCornersOffKeeper[k], f.aiCorners[k]) << k;
  EXPECT_GT(f.aiCornersOffKeeper[0] + f.aiCornersOffKeeper[1], 0);
  EXPECT_LE(f.cChallengesInAreaFoulScore, f.cChallengesInArea);
  // The ball was held in extra time too.
  EXPECT_GT(f.aiPossession[0] + f.aiPossession[1], 0);
  EXPECT_LT(f.aiPossession[0] + f.aiPossession[1], r.aiPossession[0] + r.aiPossession[1]);
}

// A five-minute tournament tie level after extra time and played again from
// the start: the full-time figures are the first match's (the statistics of
// the match played again start afresh), and the normal time the period end
// kept last is the second match's.
TEST_F(SoakSeededMatches, ATiePlayedAgainKeepsTheFullTimeOfTheFirstMatch) {
  const mh::Config c = mh::StatsConfig(kReplaySeed);
  ASSERT_EQ(c.iLength, 5);
  ASSERT_EQ(c.iRoundFormat, 3);
  const mh::Result r = mh::Run(c);
  ASSERT_TRUE(r.bFinished) << r.Describe(c);
  const mh::Result::FullTime& f = r.oFullTime;
  ASSERT_TRUE(f.bReached);
  EXPECT_TRUE(r.bExtraTime);
  EXPECT_TRUE(r.bReplayed);
  EXPECT_EQ(f.aiGoals[0], 0);
  EXPECT_EQ(f.aiGoals[1], 0);
  EXPECT_EQ(r.aiExtraGoals[0] + r.aiExtraGoals[1], 0);
  EXPECT_EQ(r.aiNormal[0] + r.aiNormal[1], 1) << "the match played again is won in its normal time";
  EXPECT_EQ(r.aiScore[0] + r.aiScore[1], 1);
  EXPECT_NE(f.aiPossession[0], r.aiPossession[0]);
  EXPECT_NE(f.aiPossession[1], r.aiPossession[1]);
}

// A friendly without extra time ends at full time: its figures there are
// the match's, and nothing follows them.
TEST_F(SoakSeededMatches, AMatchWithoutExtraTimeEndsWithItsFullTimeFigures) {
  mh::Config c = mh::StatsConfig(kReplaySeed);
  c.bTournament = 0;
  c.iExtraTime = 0;
  c.bPenalties = 0;
  const mh::Result r = mh::Run(c);
  ASSERT_TRUE(r.bFinished) << r.Describe(c);
  const mh::Result::FullTime& f = r.oFullTime;
  ASSERT_TRUE(f.bReached);
  EXPECT_FALSE(r.bExtraTime);
  for (std::int32_t k = 0; k < 2; k++) {
    EXPECT_EQ(f.aiGoals[k], r.aiScore[k]);
    EXPECT_EQ(f.aiShots[k], r.aiShots[k]);
    EXPECT_EQ(f.aiOnTarget[k], r.aiOnTarget[k]);
    EXPECT_EQ(f.aiCorners[k], r.aiCorners[k]);
    EXPECT_EQ(f.aiFouled[k], r.aiFouled[k]);
  }
  EXPECT_EQ(f.aiSentOff[0] + f.aiSentOff[1], r.cSentOff);
  EXPECT_EQ(f.aiBooked[0] + f.aiBooked[1] + f.aiSentOff[0] + f.aiSentOff[1], r.cCards);
  EXPECT_EQ(f.cPenaltyKicks, r.cPenaltyKicks);
}

// The same seeds on one process and on three worker processes: the same
// records in the same order, the same report. (Each worker's first match
// follows another match than it follows in the one process: nothing the last
// match left reaches a match's figures.)
TEST_F(SoakSeededMatches, WorkerProcessesGiveTheReportOneProcessGives) {
  std::vector<mh::Config> ao;
  for (std::uint32_t s : {kReplaySeed, 3u, 6u, 9u}) ao.push_back(mh::StatsConfig(s));
  ao.push_back(mh::PersonConfig(2));
  std::string why;
  const std::vector<mh::MatchRecord> aOne = mh::PlayRecords(ao, 1, &why);
  ASSERT_EQ(aOne.size(), ao.size()) << why;
  const std::vector<mh::MatchRecord> aThree = mh::PlayRecords(ao, 3, &why);
  ASSERT_EQ(aThree.size(), ao.size()) << why;
  for (std::size_t i = 0; i < ao.size(); i++) {
    EXPECT_EQ(aThree[i].uSeed, ao[i].uSeed);
    EXPECT_EQ(mh::CsvLine(aThree[i]), mh::CsvLine(aOne[i])) << i;
  }
  EXPECT_EQ(aThree.back().iKind, 1);
  EXPECT_EQ(mh::FullTimeReport(aThree), mh::FullTimeReport(aOne));
  EXPECT_NE(mh::FullTimeReport(aOne).find("5 minutes"), std::string::npos) << mh::FullTimeReport(aOne);
}

}  // namespace

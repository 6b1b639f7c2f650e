// Every match starts from the same state whatever the process played
// before: a seed played after another match equals, tick for tick, the same
// seed played as the only match of a new process (this program started
// again, so nothing of this one reaches it).
#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "engine/ball.h"
#include "engine/player.h"
#include "shell/global.h"
#include "support/match_harness.h"
#include "support/match_soak.h"

namespace mh = match_harness;

namespace {

// The configuration a test names by its seed: a short match, or a long one
// with fouls on (more free kicks, more players sent off).
mh::Config Cfg(std::uint32_t uSeed, bool bLong = false) {
  mh::Config c = mh::SoakConfig(uSeed);
  c.iLength = bLong ? 10 : 2;
  if (bLong) c.bFouls = 1;
  c.iReferee = 2;  // harsh: more cards
  c.bFreshRecords = false;  // the game's set-up alone clears the players and the clock
  return c;
}

// Who plays the home side of a match of a plan: the computer in a short or
// a long match; in a short one the pass-tapper, the monkey, or a person who
// double-taps Pass (the One-Two) at the pass-tapper's beat and takes his
// kick-offs.
enum class Home : char { Computer = 'c', Long = 'C', PassTapper = 'p', Monkey = 'm', OneTwos = 'o' };

struct Match {
  Home eHome;
  std::uint32_t uSeed;
};

// A person's match stops here: a first half shows what he left.
constexpr std::int32_t kPersonTicks = 3000;

mh::Config Cfg(const Match& m) {
  mh::Config c = Cfg(m.uSeed, m.eHome == Home::Long);
  if (m.eHome == Home::PassTapper || m.eHome == Home::OneTwos) {
    c.aeSide[0] = mh::SideKind::User;
    c.cTickCap = kPersonTicks;
    c.aoCommands[0] = m.eHome == Home::PassTapper ? mh::PassTaps(90, kPersonTicks) : mh::OneTwoTaps(90, kPersonTicks);
  } else if (m.eHome == Home::Monkey) {
    c.aeSide[0] = mh::SideKind::Monkey;
    c.uMonkeySeed = m.uSeed;
  }
  return c;
}

// What a match did with the ball, watched after every tick: the highest it
// went; how often a keeper caught a free kick still in flight (a take in the
// free kick's mode leaves the ball free); and, while a keeper held it free
// after such a catch or any other, the highest it lay and the ticks it still
// flew on (counted from the tick after his take: the take may come after the
// ball's step of its tick).
struct BallWatch {
  std::int32_t iHighest = 0;
  std::int32_t cFreeKicksCaught = 0;
  std::int32_t iHeldHighest = 0;
  std::int32_t cHeldInFlight = 0;
  bool bFreeKickFlying = false;      // after the tick before: a free kick in flight, nobody on it
  const Player* poHolder = nullptr;  // after the tick before: the keeper holding it free
};
void WatchBall(std::int32_t, void* pv) {
  BallWatch* pw = static_cast<BallWatch*>(pv);
  const Ball* pb = &ball_oBall;
  const std::int32_t h = ball_HeightGet(pb);
  if (h > pw->iHighest) pw->iHighest = h;
  const bool bKeeperHoldsFree =
      pb->poOwner != nullptr && player_IsGoalkeeper(pb->poOwner) && pb->iState == BALL_STATE_FREE;
  if (bKeeperHoldsFree) {
    if (pw->bFreeKickFlying) pw->cFreeKicksCaught++;
    if (h > pw->iHeldHighest) pw->iHeldHighest = h;
    if (pw->poHolder == pb->poOwner && pb->iKind != BALL_KIND_NONE) pw->cHeldInFlight++;
  }
  pw->poHolder = bKeeperHoldsFree ? pb->poOwner : nullptr;
  pw->bFreeKickFlying =
      global_eGetGameMode() == GAME_MODE_FREE_KICK && pb->poOwner == nullptr && pb->iKind != BALL_KIND_NONE;
}
// No kick of the game lifts the ball near this (units, a quarter inch each).
constexpr std::int32_t kBallCeiling = 12000;
// A keeper holds the ball no higher than his crossbar (8 feet).
constexpr std::int32_t kCrossbar = 384;

// A plan written as words, one a match: its home side's letter and its seed
// ("p21 m33 p45").
std::string PlanWords(const std::vector<Match>& aPlan) {
  std::string o;
  for (const Match& m : aPlan) o += (o.empty() ? "" : " ") + std::string(1, static_cast<char>(m.eHome)) + std::to_string(m.uSeed);
  return o;
}
std::vector<Match> PlanRead(const char* psz) {
  std::vector<Match> a;
  std::istringstream in(psz);
  std::string w;
  while (in >> w) a.push_back(Match{static_cast<Home>(w[0]), static_cast<std::uint32_t>(std::strtoul(w.c_str() + 1, nullptr, 10))});
  return a;
}

// In the started copy: KORVENA_FRESH_PLAN names the matches to play in turn,
// the last one's per-tick hashes go to KORVENA_FRESH_OUT, and the copy
// leaves before any test.
class FreshChild : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* pszPlan = std::getenv("KORVENA_FRESH_PLAN");
    const char* pszOut = std::getenv("KORVENA_FRESH_OUT");
    if (!pszPlan || !pszOut) return;
    const std::vector<Match> aPlan = PlanRead(pszPlan);
    if (aPlan.empty() || !mh::Setup()) std::_Exit(3);
    std::vector<mh::Hash> a;
    BallWatch w;
    for (std::size_t i = 0; i < aPlan.size(); i++) {
      const bool bLast = i + 1 == aPlan.size();
      const mh::Config c = Cfg(aPlan[i]);
      const mh::Result r = mh::Run(c, bLast ? &a : nullptr, bLast ? WatchBall : nullptr, &w);
      // A person's match may stop at its tick cap.
      if (!r.bFinished && c.aeSide[0] != mh::SideKind::User) std::_Exit(4);
    }
    if (w.iHighest > kBallCeiling || w.iHeldHighest > kCrossbar || w.cHeldInFlight != 0) std::_Exit(2);
    std::_Exit(mh::HashesWrite(pszOut, a) ? 0 : 1);
  }
};
::testing::Environment* const g_poChild = ::testing::AddGlobalTestEnvironment(new FreshChild);

// The hashes of the plan's last match, its matches played in turn from the
// start of a new process (empty when one did not finish).
std::vector<mh::Hash> FreshRun(const std::vector<Match>& aPlan) {
  return mh::ChildHashes("KORVENA_FRESH_PLAN='" + PlanWords(aPlan) + "'", "KORVENA_FRESH_OUT");
}
// The seed's hashes as the only match of a new process.
std::vector<mh::Hash> FreshRun(std::uint32_t uSeed, bool bLong = false) {
  return FreshRun({Match{bLong ? Home::Long : Home::Computer, uSeed}});
}

// The first tick and group where two runs differ, as words ("" when equal).
std::string FirstDifference(const std::vector<mh::Hash>& a, const std::vector<mh::Hash>& b) {
  for (std::size_t t = 0; t < a.size() && t < b.size(); t++)
    for (std::int32_t g = 0; g < mh::kGroups; g++)
      if (a[t].au[g] != b[t].au[g]) return "tick " + std::to_string(t) + " group " + mh::kGroupNames[g];
  if (a.size() != b.size()) return "lengths " + std::to_string(a.size()) + " and " + std::to_string(b.size());
  return "";
}

class MatchFresh : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
  }
};

// Seed B after seed A in this process against B alone in a new one. The
// pairs: a first match with a sending-off (the player to take off was kept
// and read by the next match's free kicks), ones with a booking, plain ones
// (the players' records were kept from one match to the next).
// 517 and 1366 are the first two seeds from 1 whose short match sends a
// player off (of seeds 1-2000 only 517, 1366, 1520, 1601 and 1793 do).
// 128 and 135 each book a player and send nobody off; 135 stands for 134,
// whose match no longer books anyone: it is the first seed after it that
// does. The second seeds are the pairs' own since they were written.
TEST_F(MatchFresh, ASeedAfterAnotherMatchPlaysAsInANewProcess) {
  struct Pair {
    std::uint32_t uFirst, uSecond;
    std::int32_t cSentOff;  // in the first match
    std::int32_t cCards;    // in the first match, at least
  };
  const Pair kPairs[] = {{517, 45, 1, 1}, {1366, 19, 1, 1}, {128, 50, 0, 1}, {135, 52, 0, 1}, {3, 4, 0, 0}, {11, 12, 0, 0}};
  for (const Pair& p : kPairs) {
    const mh::Result r1 = mh::Run(Cfg(p.uFirst));
    ASSERT_TRUE(r1.bFinished) << r1.Describe(Cfg(p.uFirst));
    ASSERT_EQ(r1.cSentOff, p.cSentOff) << r1.Describe(Cfg(p.uFirst));
    ASSERT_GE(r1.cCards, p.cCards) << r1.Describe(Cfg(p.uFirst));
    std::vector<mh::Hash> a;
    const mh::Result r2 = mh::Run(Cfg(p.uSecond), &a);
    ASSERT_TRUE(r2.bFinished) << r2.Describe(Cfg(p.uSecond));
    const std::vector<mh::Hash> b = FreshRun(p.uSecond);
    ASSERT_EQ(a.size(), b.size()) << p.uFirst << " then " << p.uSecond;
    for (std::size_t t = 0; t < a.size(); t++)
      for (std::int32_t g = 0; g < mh::kGroups; g++)
        ASSERT_EQ(a[t].au[g], b[t].au[g])
            << p.uFirst << " then " << p.uSecond << ": tick " << t << " group " << mh::kGroupNames[g];
  }
}

// A person's seed after persons' matches in this process against the seed
// alone in a new one. Before the double-tapper's seeds the pass-tapper passes
// (choosing his receivers) and the monkey charges, aims and kicks; the
// double-tapper's One-Two goes to the receiver he last chose, and a new
// match has none (the choice, with the users' kick words, was kept from one
// match to the next). Last, the pass-tapper's seed after the other two.
TEST_F(MatchFresh, APersonsSeedAfterPersonsMatchesPlaysAsInANewProcess) {
  const std::vector<Match> kPlans[] = {
      {{Home::PassTapper, 12}, {Home::Monkey, 22}, {Home::OneTwos, 2}},
      {{Home::PassTapper, 13}, {Home::OneTwos, 3}},
      {{Home::OneTwos, 14}, {Home::Monkey, 24}, {Home::PassTapper, 4}},
  };
  for (const std::vector<Match>& plan : kPlans) {
    std::vector<mh::Hash> a;
    for (std::size_t i = 0; i < plan.size(); i++) {
      const bool bLast = i + 1 == plan.size();
      const mh::Config c = Cfg(plan[i]);
      const mh::Result r = mh::Run(c, bLast ? &a : nullptr);
      if (c.aeSide[0] != mh::SideKind::User) {
        ASSERT_TRUE(r.bFinished) << r.Describe(c);
      }
      ASSERT_GT(r.cTicks, 1500) << r.Describe(c);
    }
    const std::vector<mh::Hash> b = FreshRun({plan.back()});
    ASSERT_FALSE(b.empty()) << PlanWords({plan.back()}) << " did not play in a new process";
    EXPECT_EQ(FirstDifference(a, b), "") << PlanWords(plan) << " in this process against " << PlanWords({plan.back()})
                                         << " in a new one";
  }
}

// Seed 5357, a long match, as the only match of a new process: at a free
// kick the keeper catches the ball still in flight, his catch leaving it
// free, and holds it into open play. It flies no further in his hands, and
// the match plays to its end as it does after another match. Such a catch
// is rare: 5357 is the first seed from 1 whose long match has one, and the
// only one of seeds 1-5600.
TEST_F(MatchFresh, AKeeperCatchingAFreeKickPlaysOnAsTheFirstMatchOfAProcess) {
  constexpr std::uint32_t kSeed = 5357;
  std::vector<mh::Hash> a;
  BallWatch w;
  const mh::Result r = mh::Run(Cfg(kSeed, true), &a, WatchBall, &w);
  ASSERT_TRUE(r.bFinished) << r.Describe(Cfg(kSeed, true));
  ASSERT_GE(w.cFreeKicksCaught, 1) << "no keeper caught a free kick in flight";
  EXPECT_EQ(w.cHeldInFlight, 0) << "the ball flew on in the keeper's hands";
  EXPECT_LE(w.iHeldHighest, kCrossbar);
  EXPECT_LE(w.iHighest, kBallCeiling);
  const std::vector<mh::Hash> b = FreshRun(kSeed, true);
  ASSERT_FALSE(b.empty()) << "seed " << kSeed << " did not play through in a new process, or its ball flew wrong";
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t t = 0; t < a.size(); t++)
    for (std::int32_t g = 0; g < mh::kGroups; g++)
      ASSERT_EQ(a[t].au[g], b[t].au[g]) << "tick " << t << " group " << mh::kGroupNames[g];
}

}  // namespace


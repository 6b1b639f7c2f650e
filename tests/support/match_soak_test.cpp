// The soak's pieces that need no match played: the carries watch's count of
// a match's faults, and the pass-tapper whose person never moves the stick.
#include <gtest/gtest.h>

#include <string>

#include "shell/global.h"
#include "support/match_soak.h"
#include "support/match_watch.h"

namespace {

namespace mh = match_harness;

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

TEST_F(CarryWatch, AMatchsOtherFaultsCountBesideItsHarmlessCarries) {
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

}  // namespace

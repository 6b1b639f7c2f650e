// Open play as football: the computer's ball holder moves the ball on
// (passes, shots) instead of carrying it back and forth, whether the other
// side is the computer or a person who does not come to meet him.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "engine/action.h"
#include "engine/ball.h"
#include "engine/player.h"
#include "matchflow/matcha.h"
#include "shell/global.h"
#include "support/match_harness.h"
#include "support/match_soak.h"

namespace mh = match_harness;

namespace {

// Ball possession in open play, tick by tick.
struct Possession {
  const Player* poHolder = nullptr;  // the last holder, kept while the ball travels
  std::int32_t cHeld = 0;
  std::int32_t cLongestOutfield = 0;
  std::int32_t cPasses = 0;     // the ball goes from one holder to a team-mate
  std::int32_t cTurnovers = 0;  // ... or to an opponent

  void StreakEnd() {
    // Outfield players the computer plays (a person may keep the ball as long as he likes).
    if (poHolder && poHolder->PositionCode != 0 && poHolder->Control != PLAYER_CONTROL_USER && cHeld > cLongestOutfield)
      cLongestOutfield = cHeld;
    cHeld = 0;
  }
  void Tick() {
    if (global.eGameMode != GAME_MODE_PLAY) {
      StreakEnd();
      poHolder = nullptr;
      return;
    }
    const Player* po = ball_oBall.poOwner;
    if (po == poHolder) {
      if (po) cHeld++;
      return;
    }
    StreakEnd();
    if (!po) return;
    if (poHolder) (po->MyTeam == poHolder->MyTeam ? cPasses : cTurnovers)++;
    poHolder = po;
  }
  static void Observe(std::int32_t, void* pv) { static_cast<Possession*>(pv)->Tick(); }
};

// Where open play goes: the ticks of play with the ball near a touch line
// (within about eight yards of it, at a player's feet or not).
struct Width {
  std::int32_t cPlay = 0;
  std::int32_t cWide = 0;
  static void Observe(std::int32_t, void* pv) {
    if (global.eGameMode != GAME_MODE_PLAY) return;
    Width& w = *static_cast<Width*>(pv);
    w.cPlay++;
    const std::int32_t y = ball_CurYGet();
    if (y > 5817 - 1152 || y < -5817 + 1152) w.cWide++;
  }
};

// The computer's free kicks that are played in the air: where each was
// taken, where it comes down and what its flight was judged to be.
struct FreeKickLofts {
  bool bInFlight = false;
  std::int32_t cLofts = 0;
  std::int32_t cAtGoal = 0;    // judged to end in the goal mouth
  std::int32_t cFarOut = 0;    // taken more than 60 yards from goal
  std::int32_t cFarOutAtGoal = 0;  // ... coming down within 14 yards of the goal
  std::int32_t cIntoArea = 0;  // coming down inside the area
  static void Observe(std::int32_t, void* pv) {
    FreeKickLofts& o = *static_cast<FreeKickLofts*>(pv);
    const Ball& b = ball_oBall;
    const bool bLoft = global.eGameMode == GAME_MODE_FREE_KICK && b.poOwner == nullptr && b.iKind == BALL_KIND_LOFT;
    if (bLoft && !o.bInFlight) {
      o.cLofts++;
      o.cAtGoal += ball_OutcomeGet() == BALL_OUTCOME_GOAL ? 1 : 0;
      // The goal it attacks is the one it comes down nearer.
      const std::int32_t gx = b.iLandX >= 0 ? 9360 : -9360;
      const bool bFar = std::abs(gx - b.iLaunchX) > 60 * 144;
      const bool bArea = std::abs(gx - b.iLandX) < 2592 && std::abs(b.iLandY) < 2952;
      const bool bAtGoal = std::abs(gx - b.iLandX) < 2016 && std::abs(b.iLandY) < 2952;
      o.cFarOut += bFar ? 1 : 0;
      o.cIntoArea += bArea ? 1 : 0;
      o.cFarOutAtGoal += bFar && bAtGoal ? 1 : 0;
    }
    o.bInFlight = bLoft;
  }
};

// Where the computer's wide players cross from: each time a holder starts
// a cross, his distance from the goal line he attacks, in yards.
struct CrossPlaces {
  std::int8_t aeAction[PLAYER_MAX] = {};
  std::int32_t cCrosses = 0;
  double dFarthest = 0;
  static void Observe(std::int32_t, void* pv) {
    CrossPlaces& o = *static_cast<CrossPlaces*>(pv);
    for (Player* po = match_HomeFirstPlayerGet(); po; po = match_NextPlayerGet(po)) {
      if (po->ID >= PLAYER_MAX) continue;
      const std::int8_t e = po->oAIInfo.eAction;
      if (e == ACTION_CROSS && o.aeAction[po->ID] != ACTION_CROSS && global.eGameMode == GAME_MODE_PLAY) {
        const double d = std::abs((po->Direction == 1 ? 9360.0 : -9360.0) - po->x) / 144.0;
        o.cCrosses++;
        if (d > o.dFarthest) o.dFarthest = d;
      }
      o.aeAction[po->ID] = e;
    }
  }
};

class OpenPlay : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
  }
};

TEST_F(OpenPlay, ComputerHoldersPassAndShootRatherThanCarryTheBallAbout) {
  // Six ten-minute matches of the soak's rules (several sides). The soak's
  // own lengths, 1 to 3 minutes, leave a few seconds of play between the
  // restarts: too few for a side to build three shots.
  constexpr std::int32_t kMatches = 6;
  constexpr std::uint32_t kFirst = 33;
  std::int32_t cShots = 0, cPasses = 0;
  for (std::uint32_t s = kFirst; s < kFirst + kMatches; s++) {
    mh::Config c = mh::SoakConfig(s);
    c.iLength = 10;
    Possession o;
    const mh::Result r = mh::Run(c, nullptr, Possession::Observe, &o);
    ASSERT_TRUE(r.bFinished) << r.Describe(c);
    o.StreakEnd();
    // About twelve seconds of play at most with the ball at one outfield
    // player's feet: a holder who only turns about with it held it for
    // minutes.
    EXPECT_LE(o.cLongestOutfield, 600) << "seed " << s;
    cShots += r.cShots;
    cPasses += o.cPasses;
  }
  EXPECT_GE(cPasses, 40 * kMatches);
  // Keepers' long kicks land in midfield, not in the far box: fewer shots
  // come straight from a restart. Holders shoot from inside the area or
  // close to it, and a ten-minute match holds at least three shots.
  EXPECT_GE(cShots, 3 * kMatches);
}

TEST_F(OpenPlay, ComputerFreeKicksAreCrossedBesideThePostsOrPlayedForwardNotDroppedOnTheKeeper) {
  // A free kick played into the area goes to the channels beside the posts
  // where the attackers meet it: a ball dropped in front of the goal would
  // bounce on into the keeper's hands and count as a shot on target. From
  // farther out than 60 yards it is played into the attacked third, not
  // punted at the goal: it comes down at least 14 yards out.
  FreeKickLofts o;
  for (std::uint32_t s = 3; s <= 3 * 23; s += 3) {
    const mh::Config c = mh::StatsConfig(s);
    if (!c.bFouls) continue;
    const mh::Result r = mh::Run(c, nullptr, FreeKickLofts::Observe, &o);
    ASSERT_TRUE(r.bFinished) << r.Describe(c);
  }
  ASSERT_GE(o.cLofts, 20);
  ASSERT_GE(o.cIntoArea, 3) << o.cLofts << " lofted free kicks";
  EXPECT_EQ(o.cAtGoal, 0) << o.cLofts << " lofted free kicks";
  ASSERT_GE(o.cFarOut, 5) << o.cLofts << " lofted free kicks";
  EXPECT_EQ(o.cFarOutAtGoal, 0) << o.cFarOut << " free kicks from far out";
}

TEST_F(OpenPlay, WidePlayersCrossFromWithinFortyYardsOfTheGoalLine) {
  // From farther out a cross is a long ball that runs on to the keeper (and
  // was judged a shot on target); wide players cross from the attacking
  // third, the last forty yards.
  CrossPlaces o;
  for (std::uint32_t s = 1; s <= 12; s++) {
    const mh::Result r = mh::Run(mh::StatsConfig(s), nullptr, CrossPlaces::Observe, &o);
    ASSERT_TRUE(r.bFinished) << r.Describe(mh::StatsConfig(s));
  }
  ASSERT_GE(o.cCrosses, 10);
  EXPECT_LE(o.dFarthest, 42.0) << o.cCrosses << " crosses";
}

TEST_F(OpenPlay, AnUnchallengedComputerHolderMovesTheBallOn) {
  // The home side is a person who never touches the controls: nobody of his
  // team presses the computer's holder (that is the person's part), and the
  // holder must still pass, shoot or lose the ball rather than turn about
  // with it. The match stops where it waits for the person.
  for (std::uint32_t s = 1; s <= 4; s++) {
    mh::Config c;
    c.uSeed = s;
    c.aeSide[0] = mh::SideKind::User;
    c.cTickCap = 9000;
    Possession o;
    const mh::Result r = mh::Run(c, nullptr, Possession::Observe, &o);
    o.StreakEnd();
    EXPECT_LE(o.cLongestOutfield, 600) << r.Describe(c);
  }
}

TEST_F(OpenPlay, WidePlayersTakeTheBallDownTheFlanksAndItGoesOutForThrowIns) {
  // Wide players carry the ball down their flank and cross it, central ones
  // switch play wide: the ball spends a real share of play by the touch
  // lines and goes out over them more often than over the goal lines for a
  // corner.
  constexpr std::int32_t kMatches = 12;
  Width w;
  std::int32_t cThrowIns = 0, cCorners = 0;
  for (std::uint32_t s = 1; s <= kMatches; s++) {
    const mh::Config c = mh::SoakConfig(s);
    const mh::Result r = mh::Run(c, nullptr, Width::Observe, &w);
    ASSERT_TRUE(r.bFinished) << r.Describe(c);
    const auto n = [&r](std::int32_t e) {
      const auto it = r.mapEntries.find(e);
      return it == r.mapEntries.end() ? 0 : it->second;
    };
    cThrowIns += n(GAME_MODE_THROW_IN);
    cCorners += n(GAME_MODE_CORNER);
  }
  // The ball was there about one tick of play in twenty when the holders all
  // made for the middle.
  EXPECT_GE(w.cWide * 100, w.cPlay * 8) << w.cWide << " of " << w.cPlay << " ticks of play";
  EXPECT_GE(cThrowIns, cCorners);
}

}  // namespace

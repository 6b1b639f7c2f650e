// Whole matches with a person on one side, watched every tick: a pass-tapper
// (Pass every 90 ticks, the stick never moved) or the seeded monkey, at home
// or away, over several sides, lengths and rules. The person's keeper never
// keeps the ball beyond his own goal line, no ball lies out of play without
// the referee judging it, a pass-tapper's players kick the ball on as the
// taps come, and every match reaches its end. The computer on both sides is
// held to the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/ball.h"
#include "engine/player.h"
#include "engine/setp.h"
#include "matchflow/clock.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/user.h"
#include "support/match_harness.h"
#include "support/match_soak.h"
#include "support/match_watch.h"
#include "tournament/tla.h"

namespace mh = match_harness;

namespace {

struct Case {
  const char* pszName;
  std::uint32_t uSeed;
  bool bComputer;
};

void PrintTo(const Case& c, std::ostream* po) { *po << c.pszName; }

class PersonSide : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
  }
};

TEST_P(PersonSide, NothingStandsUnjudgedAndTheMatchEnds) {
  const Case& k = GetParam();
  const mh::Config c = mh::PersonConfig(k.uSeed, k.bComputer);
  mh::MatchWatch w(c);
  const mh::Result r = mh::RunWatched(c, &w);
  std::printf("%s: %s\n  longest hold %s\n", k.pszName, r.Describe(c).c_str(), w.oLongestHold.Text().c_str());
  EXPECT_FALSE(r.bAsserted) << r.Describe(c);
  EXPECT_EQ(w.Faults(r), "") << r.Describe(c);
  // The person's players did come by the ball.
  if (!w.aaiTaps[0].empty() || !w.aaiTaps[1].empty()) {
    EXPECT_GE(w.cHolds, 10);
  }
}

// Seeds (each of these fell short before the keeper's ball and the referee
// were mended): even a pass-tapper, odd the monkey; the person at home for
// seeds 0 and 1 modulo 4, away for 2 and 3; the sides, rules and length (2
// to 4 minutes) drawn by the seed. The computer on both sides as a control.
INSTANTIATE_TEST_SUITE_P(Matches, PersonSide,
                         ::testing::Values(Case{"PassTapperAtHome4", 4, false}, Case{"PassTapperAtHome8", 8, false},
                                           Case{"PassTapperAtHome48", 48, false}, Case{"PassTapperAway2", 2, false},
                                           Case{"PassTapperAway14", 14, false}, Case{"PassTapperAway66", 66, false},
                                           Case{"MonkeyAtHome5", 5, false}, Case{"MonkeyAtHome13", 13, false},
                                           Case{"MonkeyAtHome29", 29, false}, Case{"MonkeyAway3", 3, false},
                                           Case{"MonkeyAway7", 7, false}, Case{"MonkeyAway23", 23, false},
                                           Case{"ComputerOnBothSides4", 4, true},
                                           Case{"ComputerOnBothSides7", 7, true}),
                         [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.pszName); });

// Ten-minute matches in which a keeper once took the ball over his own goal
// line: the pass-tapper (every input table's Pass events, raw), the monkey
// and the computer on both sides. No keeper carries the ball over his line
// at his keeper's ball, a keeper whose person never moves the stick and the
// computer's keeper never do it at all, and no goal is given with the
// conceding keeper carrying the ball in; every other check of the watch
// holds too.
struct CarryCase {
  const char* pszName;
  std::uint32_t uSeed;
  mh::SideKind eKind;
};

void PrintTo(const CarryCase& c, std::ostream* po) { *po << c.pszName; }

class KeeperCarries : public ::testing::TestWithParam<CarryCase> {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
  }
};

TEST_P(KeeperCarries, NoKeeperTakesTheBallOverHisOwnLineOnAnybodysBehalf) {
  const CarryCase& k = GetParam();
  const mh::Config c = mh::CarryConfig(k.uSeed, k.eKind);
  mh::MatchWatch w(c);
  const mh::Result r = mh::RunWatched(c, &w);
  std::printf("%s: %s\n  keeper holds %d and %d, carries %zu\n", k.pszName, r.Describe(c).c_str(),
              w.acKeeperHolds[0], w.acKeeperHolds[1], w.aoCarries.size());
  EXPECT_FALSE(r.bAsserted) << r.Describe(c);
  EXPECT_EQ(w.Faults(r), "") << r.Describe(c);
  // The keepers did have the ball.
  EXPECT_GE(w.acKeeperHolds[0] + w.acKeeperHolds[1], 2);
}

// Seeds with a keeper's carry before the keeper's line was kept: at the
// keeper's ball (the monkey's 7 and 17) and in open play (the pass-tapper's
// 23). Those seeds' matches have since changed, and some no longer give the
// keepers the ball twice; these stand in for them with keepers who have it:
// the pass-tapper's 2 (at home, as his 12 was: the person's keeper has the
// ball three times), his 37, 49 and 21 (away, as his 13, 33 and 23 were: the
// person's keeper has it five, four and six times) and the computer's 1 (in
// place of his 11 and then his 5: each keeper has it once).
INSTANTIATE_TEST_SUITE_P(Matches, KeeperCarries,
                         ::testing::Values(CarryCase{"PassTapper2", 2, mh::SideKind::User},
                                           CarryCase{"PassTapper37", 37, mh::SideKind::User},
                                           CarryCase{"PassTapper21", 21, mh::SideKind::User},
                                           CarryCase{"Monkey7", 7, mh::SideKind::Monkey},
                                           CarryCase{"Monkey17", 17, mh::SideKind::Monkey},
                                           CarryCase{"PassTapper49", 49, mh::SideKind::User},
                                           CarryCase{"Computer1", 1, mh::SideKind::Computer}),
                         [](const ::testing::TestParamInfo<CarryCase>& i) { return std::string(i.param.pszName); });

// A person on the keyboard who presses H (Chip: his keeper's throw) as his
// keeper gathers the ball and holds an arrow from then on, as a held arrow
// key does, every tick: the throw is played whatever the arrow does, the
// keeper's ball ends and the match goes on. The press comes before the
// keeper is ready (he still faces the pitch or steps out from his line); the
// kick keys are switched off once it is taken, so a throw the arrow undid
// was lost for good and the clock stood.
struct KickWithAnArrowHeld {
  std::int32_t iSide = 0;             // the person's side, 0 home
  InputWidgetState oStick{};          // the arrow: down, fully
  std::int32_t iPressed = -1;         // the press of the keeper's ball going on
  std::int32_t cPressed = 0, cEnded = 0;
  std::int32_t iLongest = 0;          // the longest from a press to the ball's end
  void Post(std::int32_t e) {
    InputEvent* pe = nullptr;
    if (!input_bEventAlloc(&pe)) return;
    pe->eEvent = e;
    pe->pWidget = &oStick;
    queue_Append(&user_aUsers[iSide].pip->oEvents, &pe->oLink);
  }
  static void Observe(std::int32_t iTick, void* pv) {
    KickWithAnArrowHeld& o = *static_cast<KickWithAnArrowHeld*>(pv);
    const Player* pk = setp_poGetKickTaker();
    const bool bHands = global.eGameMode == GAME_MODE_KEEPER_HANDS && pk && player_IsGoalkeeper(pk) &&
                        pk->MyTeam == (o.iSide == 0 ? player_PlaysFor_Home : player_PlaysFor_Away);
    if (!bHands) {
      if (o.iPressed >= 0) {
        o.cEnded++;
        o.iLongest = std::max(o.iLongest, iTick - o.iPressed);
        o.iPressed = -1;
      }
      return;
    }
    const std::int32_t iState = pk->oSetPiece.iEnterState;
    if (o.iPressed < 0 && (iState == 29 || iState == 30)) {
      o.iPressed = iTick;
      o.cPressed++;
      o.Post(29);  // Chip pressed and let go: the throw
      o.Post(31);
    }
    if (o.iPressed >= 0) o.Post(23);  // the arrow, every tick
  }
};

TEST(KeeperBallKick, AThrowPressedAsTheKeeperGathersIsPlayedWithAnArrowHeld) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  for (std::uint32_t uSeed : {12u, 13u}) {
    // Pass (J) tapped every 90 ticks as a pad button, which takes the
    // kick-offs and, at the keeper's ball, gives no kick once the kick keys
    // are off.
    mh::Config c = mh::CarryConfig(uSeed, mh::SideKind::User);
    KickWithAnArrowHeld o;
    o.iSide = c.aeSide[0] == mh::SideKind::User ? 0 : 1;
    c.cTickCap = 60000;
    c.aoCommands[o.iSide] = mh::PassTaps(90, c.cTickCap, 30);
    o.oStick.iCurrent = 180 << 16 | 100;  // a = 270: it turns a keeper who is ready
    mh::MatchWatch w(c);
    const mh::Result r = mh::RunWatched(c, &w, KickWithAnArrowHeld::Observe, &o);
    std::printf("seed %u: %s\n  keeper's balls pressed %d, ended %d, the longest %d ticks\n", uSeed,
                r.Describe(c).c_str(), o.cPressed, o.cEnded, o.iLongest);
    EXPECT_FALSE(r.bAsserted) << r.Describe(c);
    EXPECT_EQ(w.Faults(r), "") << r.Describe(c);
    ASSERT_GE(o.cPressed, 1) << "his keeper never had a keeper's ball";
    EXPECT_EQ(o.cEnded, o.cPressed);
    // The steps out, the throw's run-up and its flight: no wait for a key.
    EXPECT_LE(o.iLongest, 600);
  }
}

// The person's keeper gathers the ball while the person touches nothing:
// Czechoslovakia (1958) away to Wales (1958), the person tapping Pass every
// 90 ticks up to tick 3800, then nothing for 3000 ticks, then again to the
// end. His keeper takes the ball in that pause; he does not carry it over
// his own goal line nor stand with it beyond it, the ball he kicks when the
// taps come again is judged wherever it goes, and the match goes on to its
// end.
struct KeeperInThePause {
  std::int32_t iFrom = 0, iTo = 0;  // the pause
  std::int32_t iTaken = -1;         // the first tick his keeper had the ball in it
  std::int32_t iClockAtTo = -1;     // the clock when the taps came again
  std::int32_t iClockAfter = -1;    // ... and 1500 ticks later
  static void Observe(std::int32_t iTick, void* pv) {
    KeeperInThePause& o = *static_cast<KeeperInThePause*>(pv);
    const Player* po = ball_oBall.poOwner;
    if (o.iTaken < 0 && iTick > o.iFrom && iTick < o.iTo && po && player_IsGoalkeeper(po) &&
        po->MyTeam == player_PlaysFor_Away)
      o.iTaken = iTick;
    if (iTick == o.iTo) o.iClockAtTo = clock_ValueGet();
    if (iTick == o.iTo + 1500) o.iClockAfter = clock_ValueGet();
  }
};

TEST(KeeperOwnNet, CzechoslovakiasKeeperAwayToWalesKeepsTheBallOnThePitchWhileThePersonWaits) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  mh::Config c;
  c.aiTeam[0] = tla_IDFind("WAL");
  c.aiTeam[1] = tla_IDFind("CZH");
  c.aiEdition[0] = c.aiEdition[1] = 0;
  c.iLength = 3;
  c.aeSide = {mh::SideKind::Computer, mh::SideKind::User};
  KeeperInThePause o;
  o.iFrom = 3800;
  o.iTo = o.iFrom + 3000;
  c.aoCommands[1] = mh::PassTaps(90, o.iFrom);
  const std::vector<mh::Command> again = mh::PassTaps(90, c.cTickCap, o.iTo);
  c.aoCommands[1].insert(c.aoCommands[1].end(), again.begin(), again.end());
  mh::MatchWatch w(c);
  const mh::Result r = mh::RunWatched(c, &w, KeeperInThePause::Observe, &o);
  std::printf("%s\n  keeper's ball in the pause at tick %d, clock %d then %d\n", r.Describe(c).c_str(), o.iTaken,
              o.iClockAtTo, o.iClockAfter);
  ASSERT_GT(o.iTaken, o.iFrom) << "his keeper never had the ball in the pause";
  EXPECT_EQ(w.Faults(r), "") << r.Describe(c);
  // The clock goes on once the person plays again.
  EXPECT_GT(o.iClockAfter, o.iClockAtTo);
}

}  // namespace

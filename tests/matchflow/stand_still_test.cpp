// A person who takes the ball and stands still with it, played on the
// keyboard: the computer's defenders close down and challenge him as they do
// one who runs, and the match goes on around him instead of standing still.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/ball.h"
#include "engine/player.h"
#include "framework/qdx_input.h"
#include "frontend/pccontrols.h"
#include "platform/input_headless.h"
#include "shell/global.h"
#include "support/match_harness.h"

namespace mh = match_harness;

namespace {

constexpr std::uint8_t kKeyPass = 0x24;  // J: Pass on the first keyboard layout
constexpr std::int32_t kTicksASecond = 50;

// The person at the keys: at a kick-off or any other restart he taps Pass
// until play goes on; in open play he touches nothing, so a player of his
// who has the ball stands with it until somebody takes it off him.
struct StandingPerson {
  std::int32_t cTick = 0;
  // The longest the person's player kept the ball in open play, in ticks.
  std::int32_t cHeld = 0, cLongestHeld = 0, cHolds = 0;
  // Ticks of open play in a row in which none of the holder's opponents moved.
  std::int32_t cStill = 0, cLongestStill = 0;
  std::int16_t aiX[2][PLAYER_TEAM_SIZE] = {}, aiY[2][PLAYER_TEAM_SIZE] = {};

  static void Key(std::uint8_t c, bool bDown) {
    platform::headlessKey(c, bDown);
    QKeyboardPoll();
  }

  // True when one of the holder's opponents has moved since the last tick.
  bool AnOpponentMoved(const Player* poHolder) {
    bool bMoved = false;
    for (std::int32_t k = 0; k < 2; k++) {
      const Player* ap = k == 0 ? player_aHome : player_aAway;
      for (std::int32_t i = 0; i < PLAYER_TEAM_SIZE; i++) {
        if (poHolder && ap[i].MyTeam != poHolder->MyTeam && (ap[i].x != aiX[k][i] || ap[i].y != aiY[k][i]))
          bMoved = true;
        aiX[k][i] = ap[i].x;
        aiY[k][i] = ap[i].y;
      }
    }
    return bMoved;
  }

  void Tick() {
    cTick++;
    const Player* po = ball_OwnerGet();
    const bool bMoved = AnOpponentMoved(po);
    if (global.eGameMode != GAME_MODE_PLAY) {
      Key(kKeyPass, cTick % 20 < 3);
      cHeld = cStill = 0;
      return;
    }
    Key(kKeyPass, false);
    cStill = bMoved || !po ? 0 : cStill + 1;
    if (cStill > cLongestStill) cLongestStill = cStill;
    const bool bHolds = po && po->Control == PLAYER_CONTROL_USER && po->MyTeam == player_PlaysFor_Home;
    if (!bHolds) {
      cHeld = 0;
      return;
    }
    if (cHeld++ == 0) cHolds++;
    if (cHeld > cLongestHeld) cLongestHeld = cHeld;
  }
  static void Observe(std::int32_t, void* pv) { static_cast<StandingPerson*>(pv)->Tick(); }
};

class StandStill : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
    pccontrols_DefaultSet();
    pccontrols_BindingsApply();
  }
  void TearDown() override { StandingPerson::Key(kKeyPass, false); }
};

TEST_F(StandStill, AHolderWhoDoesNotMoveIsChallengedWithinTenSeconds) {
  // The person's side against the computer, over seeds and team editions;
  // four minutes of play each, at his feet the ball many times.
  static const std::int32_t kSides[][4] = {{144, 3, 88, 3}, {88, 6, 144, 3}, {144, 6, 88, 6}, {88, 3, 144, 6}};
  std::int32_t cHolds = 0;
  for (std::uint32_t s = 1; s <= 6; s++) {
    mh::Config c;
    c.uSeed = s;
    const std::int32_t* pi = kSides[s % 4];
    c.aiTeam[0] = pi[0];
    c.aiEdition[0] = pi[1];
    c.aiTeam[1] = pi[2];
    c.aiEdition[1] = pi[3];
    c.aeSide[0] = mh::SideKind::User;
    c.cTickCap = 12000;
    StandingPerson o;
    const mh::Result r = mh::Run(c, nullptr, StandingPerson::Observe, &o);
    EXPECT_FALSE(r.bAsserted) << r.Describe(c);
    // Taken off him within ten seconds of play.
    EXPECT_LE(o.cLongestHeld, 10 * kTicksASecond) << r.Describe(c);
    // His opponents do not stand frozen round him: not for longer than the
    // pause a side takes before it presses a new holder (at most six seconds).
    EXPECT_LE(o.cLongestStill, 8 * kTicksASecond) << r.Describe(c);
    cHolds += o.cHolds;
  }
  // The person's players did come by the ball, again and again.
  EXPECT_GE(cHolds, 6 * 4);
}

}  // namespace

// A person's keeper who gathers the ball while the person leaves the pad
// alone, in a history match loaded from a save and started from the hub,
// played in this process through the game's own frame loop with the
// keyboard: he keeps the ball on his side of his own goal line, no ball lies
// out of play without the referee judging it, and the match clock runs on.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "e2e/history_save.h"
#include "engine/ball.h"
#include "engine/player.h"
#include "frontend/mfhmain.h"
#include "frontend/pcsave.h"
#include "matchflow/clock.h"
#include "platform/headless.h"
#include "shell/global.h"
#include "shell/user.h"
#include "support/headless_env.h"
#include "support/history_driver.h"
#include "support/match_watch.h"
#include "support/run_game.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"
#include "tournament/yearfile.h"

namespace {

using korvena_test::HistoryDriver;
using korvena_test::scriptKey;

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-keeper-hands", true, nullptr, nullptr});

std::uint32_t IdOf(const std::string& sName) {
  for (std::int32_t id = 1; id < TLA_COUNT; id++)
    if (sName == tla_DisplayNameGet(id)) return static_cast<std::uint32_t>(id);
  return 0;
}

// A new 1958 history with the qualifiers, Czechoslovakia the person's team,
// saved by the game's own writer into this program's save folder. Its first
// match is the qualifier Wales against Czechoslovakia, at Wales.
void CzechoslovakiaHistorySave() {
  tmmain_PoolsReset();
  tmglobal_Reset();
  const std::string text = korvena_test::readFile(std::filesystem::path(korvena_test::BuildDir()) / "data" /
                                                  "database" / "tm" / "english" / "year58.csv");
  ASSERT_FALSE(text.empty());
  history_YearTextParse(text.data(), static_cast<std::int32_t>(text.size()));
  ASSERT_NE(TheYearList, nullptr);
  history_YearFixturesBuild(TheYearList);
  tmglobal.cHumans = 1;
  tmglobal.aHumans[0].Name = IdOf("Czechoslovakia");
  ASSERT_NE(tmglobal.aHumans[0].Name, 0u);
  history_UserFixturesMark(TheYearList);
  tmglobal.iYear = tmglobal.iStartYear = 58;
  tmglobal.bStarted = tmglobal.bPlayQualifiers = 1;
  tmmain_RollOfHonourInit(0);
  ASSERT_EQ(pcsave_ImageBuild(), 1);
  const std::filesystem::path folder = korvena_test::HeadlessRoot() / "share/korvena-football/savegame";
  std::filesystem::create_directories(folder);
  korvena_test::Write(folder / "Czechoslovakia 1958  1.5.57.SAV", reinterpret_cast<const char*>(pcsave_abImage),
                      PCSAVE_IMAGE_SIZE);
}

// Pass (J on the first keyboard layout) is tapped every kTapEvery steps
// from the match's first wait (the first taps end it and take the kick-off)
// to kLastTap; then the pad is left alone until Czechoslovakia's keeper has
// gathered the ball and held it kIdleHold steps. The person then taps Pass
// again kResumeTaps times, and the run ends kAfterResume steps after the
// first of them.
constexpr std::int32_t kFirstTap = 668, kTapEvery = 90, kLastTap = 938;
// The replay's event that leaves it.
constexpr std::int32_t kLeaveReplay = 83;
constexpr std::int32_t kIdleHold = 400, kResumeTaps = 4, kAfterResume = 900;

// The saved Czechoslovakia 1958 history loaded from the main menu, its
// Wales match started with Play Match, Pass tapped from the kick-off for a
// while and then not at all. Every step of open play and of the keeper's
// ball: Czechoslovakia's keeper never holds the ball wholly beyond his own
// goal line for longer than the referee takes to see it, and no ball nobody
// holds lies wholly out of play unjudged. Once he has gathered the ball with
// the pad left alone he keeps it (the clock waits at his keeper's ball) until
// the person taps Pass again; he plays it then and the match clock runs on.
TEST(KeeperHandsHistory, APersonsIdleKeeperKeepsTheBallInPlayAndTheClockRuns) {
  using namespace match_harness;
  CzechoslovakiaHistorySave();
  const std::uint32_t Czechoslovakia = IdOf("Czechoslovakia"), Wales = IdOf("Wales");
  ASSERT_NE(Wales, 0u);

  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == GAME_MODE_MAIN_MENU; }, 90)) << d.ModesText();
  d.Step();
  // The menu keys (Load Game, the save, Play Match at step 220) and the taps,
  // at their steps.
  std::string s = korvena_test::LoadAndPlayMatch();
  for (std::int32_t t = kFirstTap; t <= kLastTap; t += kTapEvery) s += scriptKey(t, "J");
  std::string why;
  ASSERT_LT(platform::headlessStep(), 100u);
  ASSERT_TRUE(platform::headlessLoadScriptText(s, &why)) << why;

  // The hub of the loaded history: the next match is Wales at home to
  // Czechoslovakia.
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == MFHMAIN_MODE; }, 400)) << d.ModesText();
  ASSERT_EQ(tmglobal.aHumans[0].Name, Czechoslovakia);
  Round* r = nullptr;
  Fixture* f = nullptr;
  ASSERT_TRUE(history_FixtureFindByTeam(tmgame_CurrentYearGet(), Czechoslovakia, &r, &f));
  EXPECT_EQ(history_FixtureTeamA(r, f), Wales);
  EXPECT_EQ(history_FixtureTeamB(r, f), Czechoslovakia);

  // A goal's replay is left as soon as it shows.
  d.Answer(GAME_MODE_REPLAY, [](HistoryDriver& h) { h.Events({kLeaveReplay}); });
  ASSERT_TRUE(d.RunUntil([&] { return global.eGameMode == GAME_MODE_KICK_OFF; }, kFirstTap + 200))
      << d.ModesText();
  User* poUser = global_poGetMenuUser();
  ASSERT_NE(poUser, nullptr);
  const std::int32_t iPerson = poUser->MyTeam;
  EXPECT_EQ(iPerson, player_PlaysFor_Away);

  // The match watch, the person's side one whose stick never moves.
  Config c;
  c.aeSide[1] = SideKind::User;
  MatchWatch w(c);
  w.abStickIdle[1] = true;
  std::int32_t iGather = -1, iGatherX = 0, iGatherY = 0, iResume = -1, iResumeClock = 0, iLetGo = -1;
  bool bHeldIdle = true;
  std::int32_t iStep = static_cast<std::int32_t>(platform::headlessStep());
  const auto Ends = [&] { return iGather < 0 ? iStep >= kLastTap + 1500 : iStep >= iGather + kIdleHold + kAfterResume; };
  while (!Ends()) {
    d.RunUntil([] { return false; }, 1);
    iStep = static_cast<std::int32_t>(platform::headlessStep());
    w.Tick(iStep);
    const std::int32_t e = global.eGameMode;
    const bool bLive = e == GAME_MODE_PLAY || e == GAME_MODE_KEEPER_HANDS;
    const Player* po = ball_oBall.poOwner;
    const std::int32_t bx = ball_XGet(&ball_oBall), by = ball_YGet(&ball_oBall);
    const bool bKeeper = po && player_IsGoalkeeper(po) && po->MyTeam == iPerson;
    // His gather with the pad left alone (the last tap let go).
    if (iGather < 0 && bLive && bKeeper && iStep > kLastTap + 2) {
      iGather = iStep;
      iGatherX = bx;
      iGatherY = by;
    } else if (iGather >= 0 && iResume < 0) {
      bHeldIdle = bHeldIdle && bKeeper;
      if (iStep >= iGather + kIdleHold) {
        // The person takes the pad again: Pass, a few times.
        iResume = iStep;
        iResumeClock = clock_SecondsGet();
        std::string sTaps;
        for (std::int32_t k = 0; k < kResumeTaps; k++) sTaps += scriptKey(iStep + 1 + k * kTapEvery, "J");
        ASSERT_TRUE(platform::headlessLoadScriptText(sTaps, &why)) << why;
      }
    } else if (iResume >= 0 && iLetGo < 0 && !bKeeper) {
      iLetGo = iStep;
    }
  }
  SCOPED_TRACE(d.ModesText());
  ASSERT_GE(iGather, 0) << "Czechoslovakia's keeper did not gather the ball after the taps stopped";
  SCOPED_TRACE("gathered at step " + std::to_string(iGather) + ", ball at (" + std::to_string(iGatherX) + ", " +
               std::to_string(iGatherY) + ")");
  EXPECT_EQ(w.PlayFaults(), "");
  // He kept it while the pad lay idle, and played it once the person
  // pressed Pass; the match clock then ran on.
  EXPECT_TRUE(bHeldIdle);
  EXPECT_GE(iLetGo, 0) << "the keeper kept the ball after the person tapped Pass again";
  EXPECT_GT(clock_SecondsGet(), iResumeClock + 60)
      << "the clock read " << clock_MinuteGet() << ":" << clock_SecondOfMinuteGet() << " at the end, "
      << iResumeClock / 60 << ":" << iResumeClock % 60 << " when the person took the pad again";
}

}  // namespace

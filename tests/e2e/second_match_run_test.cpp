// The real game, headless, playing a second match in the same run. A Quick
// Start quit from its pause menu during the stadium's pan, then a second
// Quick Start paused with Escape in its centre-spot wait and resumed with
// Pass a second later: the second match kicks off and is played, wherever in
// the wait the Escape comes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "frontend/frontend_services.h"
#include "matchflow/clock.h"
#include "matchflow/matchflow.h"
#include "platform/headless.h"
#include "shell/global.h"
#include "shell/pause.h"
#include "support/headless_env.h"
#include "support/history_driver.h"
#include "support/run_game.h"

namespace {

using korvena_test::HistoryDriver;
using korvena_test::scriptKey;

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-second-match", true, nullptr, nullptr});

// The replay's event that leaves it.
constexpr std::int32_t kLeaveReplay = 83;

// Matches entered so far: each one loads in the match start (mode 22).
std::int32_t MatchesEntered(const HistoryDriver& d) {
  std::int32_t c = 0;
  for (std::int32_t e : d.Modes()) c += e == GAME_MODE_MATCH_START;
  return c;
}

// The keys at their steps: Quick Start at home with the keyboard; Escape at
// step 580, in the stadium's pan; Quit Match and Yes; Quick Start again;
// Escape at step iEscape, in its centre-spot wait; Pass 60 steps later
// (Resume Match); then Pass every 300 steps.
std::string QuitThenSecondMatch(std::int32_t iEscape) {
  std::string s = scriptKey(100, "RIGHT") + scriptKey(110, "RETURN") + scriptKey(116, "LEFT") + scriptKey(122, "RETURN");
  s += scriptKey(580, "ESCAPE") + scriptKey(650, "DOWN") + scriptKey(660, "DOWN") + scriptKey(670, "J");
  s += scriptKey(690, "DOWN") + scriptKey(700, "J");
  s += scriptKey(740, "RETURN") + scriptKey(746, "LEFT") + scriptKey(752, "RETURN");
  s += scriptKey(iEscape, "ESCAPE") + scriptKey(iEscape + 60, "J");
  for (std::int32_t t = 1770; t <= 6000; t += 300) s += scriptKey(t, "J");
  return s;
}

class SecondMatchAfterQuit : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(SecondMatchAfterQuit, KicksOffAndIsPlayed) {
  const std::int32_t iEscape = GetParam();
  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == GAME_MODE_MAIN_MENU; }, 90)) << d.ModesText();
  d.Step();
  ASSERT_LT(platform::headlessStep(), 95u);
  std::string why;
  ASSERT_TRUE(platform::headlessLoadScriptText(QuitThenSecondMatch(iEscape), &why)) << why;
  // A goal's replay is left as soon as it shows.
  d.Answer(GAME_MODE_REPLAY, [](HistoryDriver& h) { h.Events({kLeaveReplay}); });

  // The first match: paused in its pan and quit.
  ASSERT_TRUE(d.RunUntil([&] { return MatchesEntered(d) == 2; }, 1000)) << d.ModesText();
  // The second: the Escape comes in its centre-spot wait.
  ASSERT_TRUE(d.RunUntil([&] { return platform::headlessStep() >= static_cast<std::uint64_t>(iEscape); }, 1000));
  EXPECT_EQ(d.Mode(), GAME_MODE_INTERVAL) << d.ModesText();
  ASSERT_TRUE(d.RunUntil([] { return global.eGameMode == GAME_MODE_PAUSE_MENU; }, 10)) << d.ModesText();
  // Resumed, it kicks off and is played: open play with its clock running
  // past the first five minutes.
  ASSERT_TRUE(d.RunUntil([] { return global.eGameMode == GAME_MODE_KICK_OFF; }, 1500))
      << "the second match never kicked off: " << d.ModesText();
  EXPECT_TRUE(d.RunUntil([] { return global.eGameMode == GAME_MODE_PLAY && clock_MinuteGet() >= 5; }, 3000))
      << d.ModesText();
  EXPECT_EQ(pause_bIsPaused(), 0);
}

INSTANTIATE_TEST_SUITE_P(EscapeInTheCentreSpotWait, SecondMatchAfterQuit,
                         ::testing::Values(966, 968, 970, 972, 974, 976, 978),
                         [](const ::testing::TestParamInfo<std::int32_t>& i) {
                           return "AtStep" + std::to_string(i.param);
                         });

}  // namespace

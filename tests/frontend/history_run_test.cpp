// Histories played in this process through the game's own frame loop, the
// player's answers given screen by screen.
#include <gtest/gtest.h>

#include <string>

#include "frontend/frontend_services.h"
#include "shell/global.h"
#include "support/headless_env.h"
#include "support/history_driver.h"
#include "tournament/tla.h"
#include "tournament/tmtree.h"

namespace {

using korvena_test::HistoryDriver;

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-history", true, nullptr, nullptr});

// The main menu's History (first column, second row) and the history film
// skipped.
void MenuToHistory(HistoryDriver& d) {
  d.Answer(GAME_MODE_MAIN_MENU, [](HistoryDriver& h) { h.Events({HistoryDriver::kDown, HistoryDriver::kSelect}); });
  d.Answer(84, [](HistoryDriver& h) { h.Events({HistoryDriver::kSkip}); });
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(HistoryRun, TheSetUpAndTheTeamChoiceStartAHistoryOfOneHumanTeamAndHandOverToTheNews) {
  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  MenuToHistory(d);
  // 1966 (two steps right), qualifiers played, ten minutes.
  d.Answer(45, [](HistoryDriver& h) {
    h.Events({HistoryDriver::kRight, HistoryDriver::kRight, HistoryDriver::kDown, HistoryDriver::kDown,
              HistoryDriver::kRight, HistoryDriver::kSelect});
  });
  // The map's first region and its first team.
  d.Answer(9, [](HistoryDriver& h) { h.Events({HistoryDriver::kSelect}); });
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == GAME_MODE_NEWS; }, 3000)) << d.ModesText();
  EXPECT_TRUE(EndsWith(d.ModesText(), " 12 84 45 9 57")) << d.ModesText();
  EXPECT_EQ(global_eGetExtendedGameMode(), GAME_MODE_HISTORY);
  EXPECT_EQ(tmglobal.iStartYear, 66);
  EXPECT_EQ(tmglobal.iYear, 66);
  EXPECT_EQ(tmglobal.bPlayQualifiers, 1);
  EXPECT_EQ(tmglobal.bFinals, 0);
  EXPECT_EQ(mcondi_MatchLengthGet(), 10);
  // One human team, chosen on the map: the tournament marks its fixtures
  // only for the teams it counts.
  EXPECT_EQ(tmglobal.cHumans, 1);
  const std::uint32_t Team = tmglobal.aHumans[0].Name;
  EXPECT_GT(Team, 0u);
  EXPECT_LT(Team, static_cast<std::uint32_t>(TLA_COUNT));
  EXPECT_EQ(d.Matches(), 0);
}

}  // namespace

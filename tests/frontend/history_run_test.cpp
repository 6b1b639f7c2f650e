// Histories played in this process through the game's own frame loop, the
// player's answers given screen by screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>
#include "tournament/tmteam.h"
#include "tournament/tournament_services.h"

#include "frontend/frontend_services.h"
#include "shell/global.h"
#include "shell/texts.h"
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

// The set-up from 1958 (Left at 1958 changes nothing) with the qualifiers,
// and the map's first team.
void SetUpFrom1958(HistoryDriver& d) {
  d.Answer(45, [](HistoryDriver& h) {
    h.Events({HistoryDriver::kLeft, HistoryDriver::kLeft, HistoryDriver::kLeft, HistoryDriver::kLeft,
              HistoryDriver::kLeft, HistoryDriver::kLeft, HistoryDriver::kLeft, HistoryDriver::kLeft,
              HistoryDriver::kLeft, HistoryDriver::kLeft, HistoryDriver::kDown, HistoryDriver::kLeft,
              HistoryDriver::kSelect});
  });
  d.Answer(9, [](HistoryDriver& h) { h.Events({HistoryDriver::kSelect}); });
}

// The player's answers through a whole edition: the news pages confirmed,
// Play Match in the hub, the films skipped; every match won by the test
// double, two goals to none or three to one.
void PlayerAnswers(HistoryDriver& d) {
  d.Answer(GAME_MODE_NEWS, [](HistoryDriver& h) { h.Events({HistoryDriver::kSelect}); });
  d.Answer(47, [](HistoryDriver& h) { h.Events({HistoryDriver::kSelect}); });
  for (int e : {75, 76, 77, 78, 79}) d.Answer(e, [](HistoryDriver& h) { h.Events({HistoryDriver::kSkip}); });
  // The squad pages: to the buttons and out.
  d.Answer(13, [](HistoryDriver& h) { h.Events({HistoryDriver::kBack, HistoryDriver::kBack}); });
  // The tables and the roll of honour the news opens: Escape goes back to it.
  for (int e : {48, 55, 56}) d.Answer(e, [](HistoryDriver& h) { h.Events({HistoryDriver::kEscape}); });
  d.DefaultAnswer([](HistoryDriver& h) { h.Events({HistoryDriver::kSelect}); });
  d.MatchDouble([&d] { return d.Matches() % 2 ? std::pair{3, 1} : std::pair{2, 0}; });
}

TEST(HistoryRun, OneEditionWonThroughTheScreensMovesOnToTheNextEdition) {
  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  MenuToHistory(d);
  SetUpFrom1958(d);
  PlayerAnswers(d);
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == GAME_MODE_NEWS; }, 3000)) << d.ModesText();
  const std::uint32_t Team = tmglobal.aHumans[0].Name;
  ASSERT_EQ(tmglobal.iStartYear, 58);
  tmreport_CountReset();
  // As the tournament's own campaigns of a team winning everything: through
  // the qualifiers, the winner of the finals, the holder of the next edition.
  ASSERT_TRUE(d.RunUntil([&] { return tmglobal.bTournamentOver || d.Mode() == GAME_MODE_MAIN_MENU; }, 60000))
      << d.ModesText();
  const std::uint32_t uFlags = tmglobal.aHumans[0].uFlags;
  EXPECT_TRUE(uFlags & TMF_QUALIFIED) << uFlags;
  EXPECT_TRUE(uFlags & TMF_WON) << uFlags;
  EXPECT_EQ(uFlags & (TMF_ELIMINATED | TMF_FAILED), 0u);
  // The edition ends in the hub of the team's next edition (or the history is over).
  ASSERT_TRUE(d.RunUntil([&] { return (tmglobal.iYear != 58 && d.Mode() == 47) || d.Mode() == GAME_MODE_MAIN_MENU; },
                         20000))
      << d.ModesText();
  SCOPED_TRACE(d.ModesText());
  EXPECT_EQ(tmreport_CountGet(), 0);
  EXPECT_GT(d.Matches(), 3);
  EXPECT_EQ(tmglobal.aRoll[0].Winner, Team);
  EXPECT_EQ(tmglobal.aHolders[1], Team);
  EXPECT_GT(tmglobal.iYear, 58);
  // Every screen of the edition was seen: news, hub, match, films.
  for (int e : {57, 47, 22, 76, 75})
    EXPECT_NE((" " + d.ModesText() + " ").find(" " + std::to_string(e) + " "), std::string::npos) << e;
}

// The hub at each stage: the fixtures, the group tables and the roll of
// honour, then Play Match; back from each with Escape. The cursor is first
// brought to Play Match (item 0) by going up past every item; from there
// Down to the last item 7 and Left gives Fixtures (3), Up from 7 the roll of
// honour (6) and Right the group tables (4), whether "Choose Squad" is
// skipped or not.
void HubTour(HistoryDriver& d, std::vector<int>& tour) {
  using H = HistoryDriver;
  d.Answer(47, [&tour](HistoryDriver& h) {
    const int k = static_cast<int>(tour.size());
    tour.push_back(0);
    h.Events({H::kUp, H::kUp, H::kUp, H::kUp, H::kUp, H::kUp, H::kUp});
    switch (k % 4) {
      case 0: h.Events({H::kDown, H::kDown, H::kDown, H::kDown, H::kDown, H::kDown, H::kDown, H::kLeft}); break;
      case 1: h.Events({H::kRight}); break;
      case 2: h.Events({H::kDown, H::kDown, H::kDown, H::kDown, H::kDown, H::kDown, H::kDown, H::kUp}); break;
      default: break;
    }
    h.Events({H::kSelect});
  });
  for (int e : {48, 55, 56}) d.Answer(e, [](HistoryDriver& h) { h.Events({H::kEscape}); });
}

// The same edition in each of the other languages: every screen's texts
// and pages in that language, no fault, on to the next edition's hub. The
// map's first team follows the language's sort, so it may be a host that
// goes straight to the finals.
class HistoryRunLanguage : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(HistoryRunLanguage, OneEditionThroughTheScreensMovesOnToTheNextEdition) {
  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  mlang_SetLanguage(GetParam());
  MenuToHistory(d);
  SetUpFrom1958(d);
  PlayerAnswers(d);
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == GAME_MODE_NEWS; }, 3000)) << d.ModesText();
  tmreport_CountReset();
  ASSERT_TRUE(d.RunUntil([&] { return (tmglobal.iYear != 58 && d.Mode() == 47) || d.Mode() == GAME_MODE_MAIN_MENU; },
                         80000))
      << d.ModesText();
  SCOPED_TRACE(d.ModesText());
  EXPECT_EQ(mlang_iLanguage, GetParam());
  EXPECT_EQ(d.Mode(), 47);
  EXPECT_EQ(tmreport_CountGet(), 0);
  EXPECT_GT(d.Matches(), 3);
  for (int e : {57, 47, 22, 55, 75})
    EXPECT_NE((" " + d.ModesText() + " ").find(" " + std::to_string(e) + " "), std::string::npos) << e;
}

INSTANTIATE_TEST_SUITE_P(Languages, HistoryRunLanguage, ::testing::Range<std::int32_t>(1, 6));

TEST(HistoryRun, AWholeHistoryFrom1958To1998ThroughTheScreensEndsInTheMainMenu) {
  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  MenuToHistory(d);
  SetUpFrom1958(d);
  PlayerAnswers(d);
  std::vector<int> tour;
  HubTour(d, tour);
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == GAME_MODE_NEWS; }, 3000)) << d.ModesText();
  const std::uint32_t Team = tmglobal.aHumans[0].Name;
  tmreport_CountReset();
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == GAME_MODE_MAIN_MENU; }, 150000)) << d.ModesText();
  SCOPED_TRACE(d.ModesText());
  EXPECT_EQ(tmreport_CountGet(), 0);
  // Every edition has its four; the team's own editions, all won, hold the
  // played results (a winner's film for each).
  int cWon = 0, cFilms = 0;
  for (int e = 0; e < TM_EDITIONS; e++) {
    EXPECT_NE(tmglobal.aRoll[e].Winner, 0u) << e;
    cWon += tmglobal.aRoll[e].Winner == Team;
  }
  for (int e : d.Modes()) cFilms += e == 75;
  EXPECT_GT(cWon, 3);
  EXPECT_EQ(cWon, cFilms);
  // Each stage toured the fixtures, the tables and the roll of honour.
  for (int e : {48, 55, 56, 13}) EXPECT_NE(std::count(d.Modes().begin(), d.Modes().end(), e), 0) << e;
}

}  // namespace

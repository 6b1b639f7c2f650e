// The human team's first history match played for real through the screens
// at the set-up's five minutes: news, hub, Play Match, the match to its end,
// and back to the news, which enters and shows the match's own result. And
// the same match left through its pause menu's "Quit History".
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "frontend/frontend_services.h"
#include "frontend/mfhnews.h"
#include "matchflow/matcha.h"
#include "shell/global.h"
#include "shell/pcmain_states.h"
#include "support/headless_env.h"
#include "support/history_driver.h"
#include "shell/user.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/tmgame.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"
#include "frontend/mfhfixtr.h"
#include "frontend/mfhgroup.h"
#include "frontend/mfhmain.h"
#include "frontend/mfhrole.h"
#include "frontend/mfhsetup.h"
#include "frontend/mtatics.h"
#include "frontend/mteam.h"
#include "frontend/wcqual.h"

namespace {

using H = korvena_test::HistoryDriver;

constexpr std::int32_t kReplayMode = 46, kReplayLeave = 83;

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-history-match", true, nullptr, nullptr});

TEST(HistoryRealMatch, TheFirstMatchPlayedAtFiveMinutesIsTheResultTheNewsShows) {
  H d;
  ASSERT_TRUE(d.Start());
  // History from the main menu, its film skipped; the set-up from 1958 with
  // the qualifiers and its match length left as it is; the map's first team.
  d.Answer(GAME_MODE_MAIN_MENU, [](H& h) { h.Events({H::kDown, H::kSelect}); });
  d.Answer(84, [](H& h) { h.Events({H::kSkip}); });
  d.Answer(MFHSETUP_MODE, [](H& h) {
    for (int i = 0; i < 10; i++) h.Events({H::kLeft});
    h.Events({H::kDown, H::kLeft, H::kSelect});
  });
  d.Answer(MTEAM_MODE, [](H& h) { h.Events({H::kSelect}); });
  d.Answer(GAME_MODE_NEWS, [](H& h) { h.Events({H::kSelect}); });
  d.Answer(MFHMAIN_MODE, [](H& h) { h.Events({H::kSelect}); });
  for (int e : {WC_MODE_WINNER, WC_MODE_QUALIFIED, WC_MODE_NOT_QUALIFIED, WC_MODE_ELIMINATED, WC_MODE_INTRO})
    d.Answer(e, [](H& h) { h.Events({H::kSkip}); });
  for (int e : {MFHFIXTR_MODE, MFHGROUP_MODE, MFHROLE_MODE}) d.Answer(e, [](H& h) { h.Events({H::kEscape}); });
  // A goal's replay is left as soon as it shows.
  d.Answer(kReplayMode, [](H& h) { h.Events({kReplayLeave}); });

  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == MFHMAIN_MODE; }, 5000)) << d.ModesText();
  ASSERT_EQ(mcondi_MatchLengthGet(), 5);
  const std::uint32_t Team = tmglobal.aHumans[0].Name;
  Round* r = nullptr;
  Fixture* f = nullptr;
  ASSERT_TRUE(history_FixtureFindByTeam(tmgame_CurrentYearGet(), Team, &r, &f));
  tmreport_CountReset();

  // Play Match: the human team is the side of the fixture's order. The
  // player then leaves his side to the computer (no user on either side),
  // so that the match plays itself to its end.
  ASSERT_TRUE(d.RunUntil([&] { return d.Matches() == 1; }, 200)) << d.ModesText();
  User* poUser = global_poGetMenuUser();
  ASSERT_NE(poUser, nullptr);
  EXPECT_EQ(poUser->MyTeam, history_FixtureTeamA(r, f) == Team ? 1 : 2);
  poUser->MyTeam = 0;
  global_SetHomeUser(nullptr);
  global_SetAwayUser(nullptr);
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == GAME_MODE_NEWS; }, 100000)) << d.ModesText();
  SCOPED_TRACE(d.ModesText());
  EXPECT_NE((" " + d.ModesText() + " ").find(" 22 "), std::string::npos);
  const std::int32_t iHome = match.HomeGoals, iAway = match.AwayGoals;

  // The news enters it and shows it on its results page before the hub.
  bool bResults = false;
  ASSERT_TRUE(d.RunUntil(
      [&] {
        bResults = bResults || (mfhnews_oScreen.iPage == 5 && mfhnews_oScreen.cLines > 0);
        return d.Mode() == MFHMAIN_MODE;
      },
      5000));
  EXPECT_TRUE(bResults);
  EXPECT_EQ(tmreport_CountGet(), 0);
  ASSERT_TRUE(tmglobal_FixturePlayedGet(f));
  EXPECT_EQ(f->cScoreA + f->cExtraA, iHome);
  EXPECT_EQ(f->cScoreB + f->cExtraB, iAway);
  EXPECT_EQ(d.Matches(), 1);

  // The rest of the edition by the test double, every match won: on to the
  // team's next edition (or the end of the history) without a fault.
  d.MatchDouble([] { return std::pair{2, 0}; });
  d.Answer(MTATICS_MODE, [](H& h) { h.Events({H::kBack, H::kBack}); });
  d.DefaultAnswer([](H& h) { h.Events({H::kSelect}); });
  ASSERT_TRUE(d.RunUntil(
      [&] { return (tmglobal.iYear != 58 && d.Mode() == MFHMAIN_MODE) || d.Mode() == GAME_MODE_MAIN_MENU; },
      80000));
  EXPECT_EQ(tmreport_CountGet(), 0);
  EXPECT_GT(d.Matches(), 2);
}

// The player's way to the first hub: History from the main menu, its film
// skipped, the set-up from 1958 with the qualifiers, the map's first team,
// the news pages confirmed.
void ToTheFirstHub(H& d) {
  d.Answer(GAME_MODE_MAIN_MENU, [](H& h) { h.Events({H::kDown, H::kSelect}); });
  d.Answer(84, [](H& h) { h.Events({H::kSkip}); });
  d.Answer(MFHSETUP_MODE, [](H& h) {
    for (int i = 0; i < 10; i++) h.Events({H::kLeft});
    h.Events({H::kDown, H::kLeft, H::kSelect});
  });
  d.Answer(MTEAM_MODE, [](H& h) { h.Events({H::kSelect}); });
  d.Answer(GAME_MODE_NEWS, [](H& h) { h.Events({H::kSelect}); });
  for (int e : {WC_MODE_WINNER, WC_MODE_QUALIFIED, WC_MODE_NOT_QUALIFIED, WC_MODE_ELIMINATED, WC_MODE_INTRO})
    d.Answer(e, [](H& h) { h.Events({H::kSkip}); });
  for (int e : {MFHFIXTR_MODE, MFHGROUP_MODE, MFHROLE_MODE}) d.Answer(e, [](H& h) { h.Events({H::kEscape}); });
  d.Answer(kReplayMode, [](H& h) { h.Events({kReplayLeave}); });
}

// Play Match, then in the match Escape (the keyboard's Start) pauses it and
// the pause menu's "Quit History", "Yes" leaves it: the history is over. The
// main menu follows, not the news; the fixture has no result and none waits
// to be entered; the history is not started.
TEST(HistoryRealMatch, QuitHistoryInTheMatchLeavesForTheMainMenuAndRecordsNothing) {
  H d;
  ASSERT_TRUE(d.Start());
  ToTheFirstHub(d);
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == MFHMAIN_MODE; }, 5000)) << d.ModesText();
  ASSERT_EQ(tmglobal.bStarted, 1);
  const std::uint32_t Team = tmglobal.aHumans[0].Name;
  Round* r = nullptr;
  Fixture* f = nullptr;
  ASSERT_TRUE(history_FixtureFindByTeam(tmgame_CurrentYearGet(), Team, &r, &f));
  ASSERT_FALSE(tmglobal_FixturePlayedGet(f));
  tmreport_CountReset();

  d.Answer(MFHMAIN_MODE, [](H& h) { h.Events({H::kSelect}); });
  ASSERT_TRUE(d.RunUntil([&] { return pcmain_eCurrentState == APP_STATE_MATCH; }, 3000)) << d.ModesText();
  d.Answer(MFHMAIN_MODE, [](H&) {});
  // Up from "Resume Match" wraps to the last item, "Quit History"; its page
  // opens on "No"; Down gives "Yes". Given once.
  bool bAsked = false;
  d.Answer(GAME_MODE_PAUSE_MENU, [&bAsked](H& h) {
    if (bAsked) return;
    bAsked = true;
    h.Events({8, 6, 9, 6});
  });
  // Escape pressed and let go until the match takes it.
  for (int i = 0; i < 60 && d.Mode() != GAME_MODE_PAUSE_MENU; i++) {
    d.KeyboardKey("ESCAPE", true);
    d.RunUntil([] { return false; }, 3);
    d.KeyboardKey("ESCAPE", false);
    d.RunUntil([&] { return d.Mode() == GAME_MODE_PAUSE_MENU; }, 30);
  }
  ASSERT_EQ(d.Mode(), GAME_MODE_PAUSE_MENU) << d.ModesText();
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == GAME_MODE_MAIN_MENU || d.Mode() == GAME_MODE_NEWS; }, 3000))
      << d.ModesText();
  SCOPED_TRACE(d.ModesText());
  EXPECT_TRUE(bAsked);
  EXPECT_EQ(d.Mode(), GAME_MODE_MAIN_MENU);
  EXPECT_EQ(d.Matches(), 1);
  EXPECT_FALSE(tmglobal_FixturePlayedGet(f));
  EXPECT_EQ(f->cScoreA + f->cExtraA + f->cScoreB + f->cExtraB, 0);
  EXPECT_EQ(tmgame_ResultPendingGet(), 0);
  EXPECT_EQ(tmglobal.bStarted, 0);
  EXPECT_NE(global_eGetExtendedGameMode(), GAME_MODE_HISTORY);
  EXPECT_EQ(tmreport_CountGet(), 0);
  // The menu stays: no news page comes after it.
  d.Answer(GAME_MODE_MAIN_MENU, [](H&) {});
  d.RunUntil([] { return false; }, 100);
  EXPECT_EQ(d.Mode(), GAME_MODE_MAIN_MENU);
}

}  // namespace

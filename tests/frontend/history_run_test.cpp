// Histories played in this process through the game's own frame loop, the
// player's answers given screen by screen.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>
#include "tournament/tmteam.h"
#include "tournament/tournament_services.h"

#include "frontend/frontend_services.h"
#include "framework/math/qrand.h"
#include "frontend/mfhfixtr_layout.h"
#include "frontend/mfhgroup.h"
#include "frontend/mfhmain.h"
#include "frontend/mfhmain_layout.h"
#include "frontend/mfhrole.h"
#include "frontend/mfhnews.h"
#include "frontend/pccontrols.h"
#include "frontend/mregion.h"
#include "frontend/mtatics.h"
#include "frontend/pcfe.h"
#include "frontend/pcsave.h"
#include "frontend/pctext.h"
#include "platform/display.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "support/captured_pictures.h"
#include "support/last_frame.h"
#include "support/frame_texts.h"
#include "support/headless_env.h"
#include "support/history_driver.h"
#include "support/team_names.h"
#include "support/temp_dir.h"
#include "tournament/result.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmtree.h"
#include "frontend/mfhfixtr.h"
#include "frontend/mfhopts.h"
#include "frontend/mfhsetup.h"
#include "frontend/mhelp.h"
#include "frontend/mteam.h"
#include "frontend/wcqual.h"
#include "matchflow/options.h"

namespace {

using korvena_test::LastFrame;

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

// The last modes entered as ModesText writes them, each after a space.
std::string Trail(std::initializer_list<std::int32_t> aeModes) {
  std::string s;
  for (std::int32_t e : aeModes) s += " " + std::to_string(e);
  return s;
}

TEST(HistoryRun, TheSetUpAndTheTeamChoiceStartAHistoryOfOneHumanTeamAndHandOverToTheNews) {
  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  MenuToHistory(d);
  // 1966 (two steps right), qualifiers played, ten minutes.
  d.Answer(MFHSETUP_MODE, [](HistoryDriver& h) {
    h.Events({HistoryDriver::kRight, HistoryDriver::kRight, HistoryDriver::kDown, HistoryDriver::kDown,
              HistoryDriver::kRight, HistoryDriver::kSelect});
  });
  // The map's first region and its first team.
  d.Answer(MTEAM_MODE, [](HistoryDriver& h) { h.Events({HistoryDriver::kSelect}); });
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == GAME_MODE_NEWS; }, 3000)) << d.ModesText();
  EXPECT_TRUE(EndsWith(d.ModesText(), Trail({GAME_MODE_MAIN_MENU, 84, MFHSETUP_MODE, MTEAM_MODE, MFHNEWS_MODE})))
      << d.ModesText();
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
  d.Answer(MFHSETUP_MODE, [](HistoryDriver& h) {
    h.Events({HistoryDriver::kLeft, HistoryDriver::kLeft, HistoryDriver::kLeft, HistoryDriver::kLeft,
              HistoryDriver::kLeft, HistoryDriver::kLeft, HistoryDriver::kLeft, HistoryDriver::kLeft,
              HistoryDriver::kLeft, HistoryDriver::kLeft, HistoryDriver::kDown, HistoryDriver::kLeft,
              HistoryDriver::kSelect});
  });
  d.Answer(MTEAM_MODE, [](HistoryDriver& h) { h.Events({HistoryDriver::kSelect}); });
}

// The player's answers through a whole edition: the news pages confirmed,
// Play Match in the hub, the films skipped; every match won by the test
// double, two goals to none or three to one.
void PlayerAnswers(HistoryDriver& d) {
  d.Answer(GAME_MODE_NEWS, [](HistoryDriver& h) { h.Events({HistoryDriver::kSelect}); });
  d.Answer(MFHMAIN_MODE, [](HistoryDriver& h) { h.Events({HistoryDriver::kSelect}); });
  for (int e : {WC_MODE_WINNER, WC_MODE_QUALIFIED, WC_MODE_NOT_QUALIFIED, WC_MODE_ELIMINATED, WC_MODE_INTRO})
    d.Answer(e, [](HistoryDriver& h) { h.Events({HistoryDriver::kSkip}); });
  // The squad pages: to the buttons and out.
  d.Answer(MTATICS_MODE, [](HistoryDriver& h) { h.Events({HistoryDriver::kBack, HistoryDriver::kBack}); });
  // The tables and the roll of honour the news opens: Escape goes back to it.
  for (int e : {MFHFIXTR_MODE, MFHGROUP_MODE, MFHROLE_MODE})
    d.Answer(e, [](HistoryDriver& h) { h.Events({HistoryDriver::kEscape}); });
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
  ASSERT_TRUE(d.RunUntil(
      [&] { return (tmglobal.iYear != 58 && d.Mode() == MFHMAIN_MODE) || d.Mode() == GAME_MODE_MAIN_MENU; },
      20000))
      << d.ModesText();
  SCOPED_TRACE(d.ModesText());
  EXPECT_EQ(tmreport_CountGet(), 0);
  EXPECT_GT(d.Matches(), 3);
  EXPECT_EQ(tmglobal.aRoll[0].Winner, Team);
  EXPECT_EQ(tmglobal.aHolders[1], Team);
  EXPECT_GT(tmglobal.iYear, 58);
  // Every screen of the edition was seen: news, hub, match, films.
  for (int e :
       std::initializer_list<int>{MFHNEWS_MODE, MFHMAIN_MODE, GAME_MODE_MATCH_START, WC_MODE_QUALIFIED, WC_MODE_WINNER})
    EXPECT_NE((" " + d.ModesText() + " ").find(" " + std::to_string(e) + " "), std::string::npos) << e;
}

// From the main menu to the hub of a new 1958 history, the set-up and the
// player screens answered; false when the hub does not show.
bool HubOfANew1958History(HistoryDriver& d) {
  MenuToHistory(d);
  SetUpFrom1958(d);
  PlayerAnswers(d);
  return d.RunUntil([&] { return d.Mode() == MFHMAIN_MODE; }, 5000);
}

// The hub at each stage: the fixtures, the group tables and the roll of
// honour, then Play Match; back from each with Escape. The cursor is first
// brought to Play Match (item 0) by going up past every item; from there
// Down to the last item 7 and Left gives Fixtures (3), Up from 7 the roll of
// honour (6) and Right the group tables (4), whether "Choose Squad" is
// skipped or not.
void HubTourStep(HistoryDriver& h, std::vector<int>& tour) {
  using H = HistoryDriver;
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
}

void HubTour(HistoryDriver& d, std::vector<int>& tour) {
  d.Answer(MFHMAIN_MODE, [&tour](HistoryDriver& h) { HubTourStep(h, tour); });
  for (int e : {MFHFIXTR_MODE, MFHGROUP_MODE, MFHROLE_MODE})
    d.Answer(e, [](HistoryDriver& h) { h.Events({HistoryDriver::kEscape}); });
}

// Escape held on a screen the hub opened leaves that screen once: back in
// the hub, the key still down (and repeating) does not open its quit box.
TEST(HistoryRun, EscapeHeldOnAScreenTheHubOpenedLeavesItWithoutTheHubsQuitBox) {
  using H = HistoryDriver;
  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  ASSERT_TRUE(HubOfANew1958History(d)) << d.ModesText();
  std::vector<int> tour, left;
  const auto away = [&] { return d.Mode() == MFHFIXTR_MODE || d.Mode() == MFHGROUP_MODE || d.Mode() == MFHROLE_MODE; };
  for (int k = 0; k < 3; k++) {
    d.Answer(MFHMAIN_MODE, [&tour](H& h) { HubTourStep(h, tour); });
    ASSERT_TRUE(d.RunUntil(away, 500)) << d.ModesText();
    left.push_back(d.Mode());
    d.Answer(MFHMAIN_MODE, [](H&) {});
    d.KeyboardKey("ESCAPE", true);
    d.RunUntil([] { return false; }, 240);
    d.KeyboardKey("ESCAPE", false);
    d.RunUntil([] { return false; }, 10);
    SCOPED_TRACE(d.ModesText());
    EXPECT_EQ(d.Mode(), MFHMAIN_MODE);
    EXPECT_EQ(mfhmain_oScreen.bQuitBox, 0) << left.back();
    mfhmain_oScreen.bQuitBox = 0;
  }
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<int>{MFHFIXTR_MODE, MFHGROUP_MODE, MFHROLE_MODE}));
  // A new press in the hub opens it.
  d.KeyboardKey("ESCAPE", true);
  d.RunUntil([] { return false; }, 3);
  d.KeyboardKey("ESCAPE", false);
  d.RunUntil([] { return false; }, 3);
  EXPECT_EQ(mfhmain_oScreen.bQuitBox, 1);
}

// Escape pressed on a screen, held for cHeld frames and let go, then cAfter
// frames.
void EscapeFor(HistoryDriver& d, int cHeld, int cAfter) {
  d.KeyboardKey("ESCAPE", true);
  d.RunUntil([] { return false; }, cHeld);
  d.KeyboardKey("ESCAPE", false);
  d.RunUntil([] { return false; }, cAfter);
}

// Escape held down on a screen and let go: the screen goes back one screen
// and no further, whatever the key does while it is held.
void EscapeHeld(HistoryDriver& d) { EscapeFor(d, 240, 10); }

// The set-up, the history options and the group tables take the keyboard's
// Escape as their way back, one screen a press: the set-up to the main menu,
// the other two to the hub (whose quit box the held key does not open). No
// event of the screens' own is given.
TEST(HistoryRun, EscapeGoesBackOneScreenFromTheSetUpTheHistoryOptionsAndTheGroupTables) {
  using H = HistoryDriver;
  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  MenuToHistory(d);
  d.Answer(MFHSETUP_MODE, [](H&) {});
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == MFHSETUP_MODE; }, 3000)) << d.ModesText();
  d.Answer(GAME_MODE_MAIN_MENU, [](H&) {});
  EscapeHeld(d);
  EXPECT_EQ(d.Mode(), GAME_MODE_MAIN_MENU) << d.ModesText();
  EXPECT_TRUE(EndsWith(d.ModesText(), Trail({MFHSETUP_MODE, GAME_MODE_MAIN_MENU}))) << d.ModesText();
  EXPECT_EQ(global_eGetExtendedGameMode(), GAME_MODE_MAIN_MENU);

  // The menu's cursor is still on History.
  MenuToHistory(d);
  d.Answer(GAME_MODE_MAIN_MENU, [](H& h) { h.Events({H::kSelect}); });
  SetUpFrom1958(d);
  PlayerAnswers(d);
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == MFHMAIN_MODE; }, 5000)) << d.ModesText();
  // Options (item 7: up to the first item, down to the last) and Group
  // Tables (item 4: right of the first).
  const std::pair<int, std::vector<int>> aWays[] = {
      {MFHOPTS_MODE,
       {H::kUp, H::kUp, H::kUp, H::kUp, H::kUp, H::kUp, H::kUp, H::kDown, H::kDown, H::kDown, H::kDown, H::kDown,
        H::kDown, H::kDown, H::kSelect}},
      {MFHGROUP_MODE, {H::kUp, H::kUp, H::kUp, H::kUp, H::kUp, H::kUp, H::kUp, H::kRight, H::kSelect}},
  };
  for (const auto& [eScreen, aKeys] : aWays) {
    d.Answer(eScreen, [](H&) {});
    d.Answer(MFHMAIN_MODE, [aKeys = aKeys](H& h) {
      for (int e : aKeys) h.Events({e});
    });
    ASSERT_TRUE(d.RunUntil([&, e = eScreen] { return d.Mode() == e; }, 500)) << d.ModesText();
    d.Answer(MFHMAIN_MODE, [](H&) {});
    d.RunUntil([] { return false; }, 20);
    ASSERT_EQ(d.Mode(), eScreen) << "the screen stays until Escape";
    EscapeHeld(d);
    SCOPED_TRACE(d.ModesText());
    EXPECT_EQ(d.Mode(), MFHMAIN_MODE) << eScreen;
    EXPECT_TRUE(EndsWith(d.ModesText(), Trail({eScreen, MFHMAIN_MODE}))) << eScreen;
    EXPECT_EQ(mfhmain_oScreen.bQuitBox, 0) << eScreen;
    EXPECT_EQ(global_eGetExtendedGameMode(), GAME_MODE_HISTORY) << eScreen;
  }
}

// A screen opened from the hub: the cursor brought to Play Match, then the
// keys and Select; the screen is left to settle with no answer.
void HubOpen(HistoryDriver& d, const std::vector<int>& aKeys, int eScreen) {
  using H = HistoryDriver;
  d.Answer(eScreen, [](H&) {});
  d.Answer(MFHMAIN_MODE, [aKeys](H& h) {
    for (int i = 0; i < 7; i++) h.Events({H::kUp});
    for (int e : aKeys) h.Events({e});
    h.Events({H::kSelect});
  });
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == eScreen; }, 800)) << d.ModesText();
  d.Answer(MFHMAIN_MODE, [](H&) {});
  d.RunUntil([] { return false; }, 10);
}

// One press of Escape: let go a frame later (a tap), or held for two
// seconds, through the key's repeats, and then let go.
void EscapePress(HistoryDriver& d, bool bHeld) { EscapeFor(d, bHeld ? 60 : 1, 20); }

// Every screen that Escape leaves for the hub or for the history options,
// each of which has an Escape of its own, goes back one screen for one
// press, tapped or held: the hub opens no "Quit History?" and the options
// stay. The group tables are left with the group selector and with the
// results area active; the team sheet, the opposition and the squad pages
// are left from where they open.
TEST(HistoryRun, OneEscapeActsOnOneScreenOnly) {
  using H = HistoryDriver;
  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  ASSERT_TRUE(HubOfANew1958History(d)) << d.ModesText();
  d.DefaultAnswer([](H&) {});
  d.Answer(MFHMAIN_MODE, [](H&) {});
  const bool bFinals = mfhmain_oScreen.bFinals != 0;
  const std::vector<int> aToOptions = {H::kRight, H::kDown, H::kDown, H::kDown};
  struct Way {
    const char* pszName;
    std::vector<int> aHubKeys;  // from Play Match to the item
    int eScreen;                // the screen the item opens
    std::vector<int> aKeys;     // then on that screen
    int eTarget;                // the screen Escape is pressed on
    int iFocus;                 // the group tables' focus there; -1 other screens
    int eBack;
  };
  std::vector<Way> aWays = {
      {"team", {H::kDown}, MTATICS_MODE, {}, MTATICS_MODE, -1, MFHMAIN_MODE},
      {"opposition", {H::kRight, H::kDown}, MTATICS_MODE, {}, MTATICS_MODE, -1, MFHMAIN_MODE},
      {"fixtures", {H::kDown, H::kDown, H::kDown}, MFHFIXTR_MODE, {}, MFHFIXTR_MODE, -1, MFHMAIN_MODE},
      {"group selector", {H::kRight}, MFHGROUP_MODE, {H::kSelect}, MFHGROUP_MODE, MFHGROUP_FOCUS_GROUP, MFHMAIN_MODE},
      {"group results", {H::kRight}, MFHGROUP_MODE, {H::kSelect, H::kSelect}, MFHGROUP_MODE, MFHGROUP_FOCUS_AREA,
       MFHMAIN_MODE},
      {"group tables", {H::kRight}, MFHGROUP_MODE, {}, MFHGROUP_MODE, MFHGROUP_FOCUS_CONF, MFHMAIN_MODE},
      {"roll of honour", {H::kRight, H::kDown, H::kDown}, MFHROLE_MODE, {}, MFHROLE_MODE, -1, MFHMAIN_MODE},
      {"options", aToOptions, MFHOPTS_MODE, {}, MFHOPTS_MODE, -1, MFHMAIN_MODE},
      {"save", aToOptions, MFHOPTS_MODE, {H::kDown, H::kDown, H::kDown, H::kDown, H::kSelect}, PCSAVE_MODE_SAVE, -1,
       MFHOPTS_MODE},
      {"load", aToOptions, MFHOPTS_MODE, {H::kDown, H::kDown, H::kDown, H::kDown, H::kDown, H::kSelect},
       PCSAVE_MODE_LOAD, -1, MFHOPTS_MODE},
      {"rules", aToOptions, MFHOPTS_MODE,
       {H::kDown, H::kDown, H::kDown, H::kDown, H::kDown, H::kDown, H::kDown, H::kDown, H::kSelect},
       MHELP_RULES_MODE, -1, MFHOPTS_MODE},
  };
  if (!bFinals) aWays.push_back({"squad", {H::kDown, H::kDown}, MTATICS_MODE, {}, MTATICS_MODE, -1, MFHMAIN_MODE});
  for (const Way& w : aWays)
    for (bool bHeld : {false, true}) {
      SCOPED_TRACE(std::string(w.pszName) + (bHeld ? ", held" : ", tapped"));
      HubOpen(d, w.aHubKeys, w.eScreen);
      if (!w.aKeys.empty()) {
        d.Answer(w.eTarget, [](H&) {});
        const std::vector<int> aKeys = w.aKeys;
        d.Answer(w.eScreen, [aKeys](H& h) {
          for (int e : aKeys) h.Events({e});
        });
        const std::size_t cModes = d.Modes().size();
        ASSERT_TRUE(d.RunUntil(
            [&] {
              if (w.eTarget != w.eScreen) return d.Mode() == w.eTarget;
              return d.Modes().size() == cModes && mfhgroup_oScreen.iFocus == w.iFocus;
            },
            400))
            << d.ModesText();
        d.Answer(w.eScreen, [](H&) {});
        d.RunUntil([] { return false; }, 10);
      }
      ASSERT_EQ(d.Mode(), w.eTarget) << d.ModesText();
      if (w.iFocus >= 0) {
        ASSERT_EQ(mfhgroup_oScreen.iFocus, w.iFocus);
      }
      d.Answer(w.eBack, [](H&) {});
      EscapePress(d, bHeld);
      EXPECT_EQ(d.Mode(), w.eBack) << d.ModesText();
      EXPECT_TRUE(EndsWith(d.ModesText(), std::to_string(w.eTarget) + " " + std::to_string(w.eBack))) << d.ModesText();
      EXPECT_EQ(mfhmain_oScreen.bQuitBox, 0);
      if (w.eBack != MFHMAIN_MODE) {
        // The options are left with a press of their own.
        EscapePress(d, bHeld);
        ASSERT_EQ(d.Mode(), MFHMAIN_MODE) << d.ModesText();
        EXPECT_EQ(mfhmain_oScreen.bQuitBox, 0);
      }
      mfhmain_oScreen.bQuitBox = 0;
    }
}

// The hub's texts as it draws them now.
std::vector<std::string> HubTexts() {
  pcframe_Begin();
  mfhmain_Draw();
  std::vector<std::string> a;
  for (const korvena_test::TextBox& t : korvena_test::FrameTexts()) a.push_back(t.text);
  pcframe_Begin();
  return a;
}

// The hub of a 1958 history in its qualifiers shows "World Cup Qualifier"
// under the next fixture; it still does when it comes back from the team
// sheet and the opposition (Escape) and from the squad pages (their Exit or
// Escape), with the history as the extended mode again.
TEST(HistoryRun, TheHubKeepsItsRoundTitleAfterTheTeamSheetAndTheSquadPages) {
  using H = HistoryDriver;
  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  ASSERT_TRUE(HubOfANew1958History(d)) << d.ModesText();
  d.DefaultAnswer([](H&) {});
  d.Answer(MFHMAIN_MODE, [](H&) {});
  ASSERT_EQ(tmglobal.bFinalsLoaded, 0);
  const std::string sTitle = festr_IDToStr(182);
  ASSERT_EQ(sTitle, "World Cup Qualifier");
  const auto Titled = [&] {
    const std::vector<std::string> a = HubTexts();
    return std::find(a.begin(), a.end(), sTitle) != a.end();
  };
  ASSERT_TRUE(Titled());
  struct Way {
    const char* pszName;
    std::vector<int> aHubKeys;
    std::vector<int> aLeave;  // the keys that leave the sheet; none: Escape
  };
  const Way aWays[] = {
      {"team", {H::kDown}, {}},
      {"opposition", {H::kRight, H::kDown}, {}},
      {"squad", {H::kDown, H::kDown}, {H::kRight, H::kSelect}},
      {"squad by Escape", {H::kDown, H::kDown}, {}},
  };
  for (const Way& w : aWays) {
    SCOPED_TRACE(w.pszName);
    HubOpen(d, w.aHubKeys, MTATICS_MODE);
    if (w.aLeave.empty()) {
      EscapePress(d, false);
    } else {
      const std::vector<int> aLeave = w.aLeave;
      d.Answer(MTATICS_MODE, [aLeave](H& h) {
        for (int e : aLeave) h.Events({e});
      });
      ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == MFHMAIN_MODE; }, 200)) << d.ModesText();
      d.Answer(MTATICS_MODE, [](H&) {});
      d.RunUntil([] { return false; }, 10);
    }
    ASSERT_EQ(d.Mode(), MFHMAIN_MODE) << d.ModesText();
    EXPECT_TRUE(Titled());
    EXPECT_EQ(global_eGetExtendedGameMode(), GAME_MODE_HISTORY);
  }
}

// Controller Setup from the main menu's Options (its first row): Escape goes
// back to the options screen once, keeping the layout chosen as Exit keeps
// it; a custom set with empty functions is not taken, the port keeps what it
// had.
TEST(HistoryRun, EscapeLeavesControllerSetupForTheOptionsScreen) {
  using H = HistoryDriver;
  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  d.Answer(GAME_MODE_MAIN_MENU, [](H& h) { h.Events({H::kRight, H::kDown, H::kSelect}); });
  d.Answer(OPTIONS_MODE, [](H& h) { h.Events({H::kSelect}); });
  d.Answer(PCCONTROLS_MODE, [](H&) {});
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == PCCONTROLS_MODE; }, 3000)) << d.ModesText();
  InputPort* pip = input_poGetPort(0);
  ASSERT_EQ(pip->iPreset, 0);
  ASSERT_EQ(pip->aoConfigured[0].cKey, 36);  // J passes
  d.Events({H::kRight});
  d.RunUntil([] { return false; }, 20);
  ASSERT_EQ(pip->iPreset, 1);
  ASSERT_EQ(d.Mode(), PCCONTROLS_MODE) << "the screen stays until Escape";
  d.Answer(OPTIONS_MODE, [](H&) {});
  EscapeHeld(d);
  EXPECT_EQ(d.Mode(), OPTIONS_MODE) << d.ModesText();
  EXPECT_TRUE(EndsWith(d.ModesText(), Trail({PCCONTROLS_MODE, OPTIONS_MODE}))) << d.ModesText();
  EXPECT_EQ(pip->iPreset, 1);
  EXPECT_EQ(pip->aoConfigured[0].cKey, 31);  // the second layout: S passes

  // Again, on to the custom set, whose functions are empty: left as it was.
  d.Answer(OPTIONS_MODE, [](H& h) { h.Events({H::kSelect}); });
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == PCCONTROLS_MODE; }, 500)) << d.ModesText();
  d.Answer(OPTIONS_MODE, [](H&) {});
  d.Events({H::kRight, H::kRight});
  d.RunUntil([] { return false; }, 20);
  ASSERT_EQ(pip->iPreset, PCCONTROLS_CUSTOM);
  EscapeHeld(d);
  EXPECT_EQ(d.Mode(), OPTIONS_MODE) << d.ModesText();
  EXPECT_EQ(pip->iPreset, 1);
  EXPECT_EQ(pip->aoConfigured[0].cKey, 31);
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
  ASSERT_TRUE(d.RunUntil(
      [&] { return (tmglobal.iYear != 58 && d.Mode() == MFHMAIN_MODE) || d.Mode() == GAME_MODE_MAIN_MENU; },
      80000))
      << d.ModesText();
  SCOPED_TRACE(d.ModesText());
  EXPECT_EQ(mlang_iLanguage, GetParam());
  EXPECT_EQ(d.Mode(), MFHMAIN_MODE);
  EXPECT_EQ(tmreport_CountGet(), 0);
  EXPECT_GT(d.Matches(), 3);
  for (int e :
       std::initializer_list<int>{MFHNEWS_MODE, MFHMAIN_MODE, GAME_MODE_MATCH_START, MFHGROUP_MODE, WC_MODE_WINNER})
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
  for (int e : {MFHFIXTR_MODE, MFHGROUP_MODE, MFHROLE_MODE, MTATICS_MODE})
    EXPECT_NE(std::count(d.Modes().begin(), d.Modes().end(), e), 0) << e;
}

// The human team's fixtures of the current edition as the tree holds them:
// teams, scores, flags and result bits, in tree order.
std::string HumanFixtures() {
  const std::uint32_t Human = tmglobal.aHumans[0].Name;
  if (!TheYearList) return "";
  Year* y = tmgame_CurrentYearGet();
  std::string s;
  for (Confederation* c = y ? y->pConfs : nullptr; c; c = c->pNext)
    for (Group* g = c->pGroups; g; g = g->pNext)
      for (Round* r = g->pRounds; r; r = r->pNext)
        for (Fixture* f = r->pFixtures; f; f = f->pNext) {
          const std::uint32_t A = history_FixtureTeamA(r, f), B = history_FixtureTeamB(r, f);
          if (A != Human && B != Human) continue;
          for (std::uint32_t v : {A, B, std::uint32_t{f->cDate}, std::uint32_t{f->cScoreA}, std::uint32_t{f->cScoreB},
                                  std::uint32_t{f->cExtraA}, std::uint32_t{f->cExtraB}, std::uint32_t{f->cPenA},
                                  std::uint32_t{f->cPenB}, std::uint32_t{f->cFlags}, std::uint32_t{f->cResult}})
            s += std::to_string(v) + ' ';
          s += r->szName + std::string("; ");
        }
  return s;
}

// A test double whose result depends only on the fixture being played (the
// edition, the opponent, the date), so that a campaign played again from a
// save gives the same results: the human team wins 1-0, 2-0 or 3-1.
std::pair<std::int32_t, std::int32_t> KeyedWin() {
  const std::uint32_t Human = tmglobal.aHumans[0].Name;
  Round* r = nullptr;
  Fixture* f = nullptr;
  if (!TheYearList || !history_FixtureFindByTeam(tmgame_CurrentYearGet(), Human, &r, &f)) return {1, 0};
  const std::uint32_t A = history_FixtureTeamA(r, f);
  const std::uint32_t Opponent = A == Human ? history_FixtureTeamB(r, f) : A;
  const std::int32_t k = static_cast<std::int32_t>((tmglobal.iYear * 31u + Opponent * 7u + f->cDate) % 3u);
  return {1 + k, k == 2 ? 1 : 0};
}

// What the saved edition left when it ended, compared between the run that
// went on and the loaded one.
struct EditionEnd {
  std::string fixtures;  // the human team's fixtures, as last seen
  std::uint32_t uFlags = 0;
  std::vector<std::int32_t> modes;  // the screens entered from the first hub after the save or the load
};

// A campaign started in 1962 through the set-up is saved through the hub's
// options and the save screen in the middle of its 1990 edition and goes on
// to its end; then the main menu's Load Game loads the save through the
// load screen and the campaign plays on to its end again. With results that
// depend only on the fixture, the loaded campaign ends the saved edition as
// the one that went on: the same screens, the same results of the human
// team, the same flags, the same roll of honour and holders up to it. Both
// ends keep the built-in 1958 entry and fill every played one.
//
// A save does not hold the program's random state (the generator and the
// fixture patterns shuffled by it) nor the news's draw markers: the loaded
// run is given the generator and the markers of the run that went on at the
// first hub after the save. The later editions' draws come from that random
// state, so they are compared only for being complete.
TEST(HistoryRun, ACampaignSavedMidEditionAndLoadedThroughTheScreensEndsTheEditionAsTheOneThatWentOn) {
  using H = HistoryDriver;
  // The save folder is a fresh one of this test.
  korvena_test::TempDir home;
  const char* pszOld = std::getenv("XDG_DATA_HOME");
  struct Restore {
    std::string s;
    bool b;
    ~Restore() {
      if (b) setenv("XDG_DATA_HOME", s.c_str(), 1);
      else unsetenv("XDG_DATA_HOME");
    }
  } restore{pszOld ? pszOld : "", pszOld != nullptr};
  setenv("XDG_DATA_HOME", home.path().c_str(), 1);

  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  MenuToHistory(d);
  // 1962 (one step right of 1958), the qualifiers played.
  d.Answer(MFHSETUP_MODE, [](HistoryDriver& h) {
    for (int i = 0; i < 10; i++) h.Events({H::kLeft});
    h.Events({H::kRight, H::kDown, H::kLeft, H::kSelect});
  });
  d.Answer(MTEAM_MODE, [](HistoryDriver& h) { h.Events({H::kSelect}); });
  PlayerAnswers(d);
  d.MatchDouble(KeyedWin);
  std::vector<int> tour;
  HubTour(d, tour);
  // The hub in the 1990 edition after the team's first match there: Options
  // (the last item), Save Game (the fifth row), Save; back from the options.
  enum { kBefore, kSaving, kBack, kSaved } stage = kBefore;
  std::int32_t iMatchesBefore = -1;
  bool bLoaded = false;
  QMathRandState oRand{};
  MFHNewsMarkers oMarkers{};
  EditionEnd run, loaded;
  d.Answer(MFHMAIN_MODE, [&](HistoryDriver& h) {
    if (tmglobal.iYear == 90 && iMatchesBefore < 0) iMatchesBefore = h.Matches();
    if (stage == kBefore && tmglobal.iYear == 90 && h.Matches() > iMatchesBefore) {
      stage = kSaving;
      h.Events({H::kUp, H::kUp, H::kUp, H::kUp, H::kUp, H::kUp, H::kUp});
      h.Events({H::kDown, H::kDown, H::kDown, H::kDown, H::kDown, H::kDown, H::kDown, H::kSelect});
      return;
    }
    if (stage == kBack) {
      // From here on both runs answer alike.
      stage = kSaved;
      tour.clear();
      if (bLoaded) {
        QMathRandStateRestore(&oRand);
        // The load gives the news its markers back: the draw already
        // shown is not shown again.
        const MFHNewsMarkers& m = mfhnews_oMarkers;
        EXPECT_EQ(m.iIntroYear, oMarkers.iIntroYear);
        for (int i = 0; i < 3; i++) {
          EXPECT_EQ(m.aiLast[i], oMarkers.aiLast[i]);
          EXPECT_EQ(m.aiBefore[i], oMarkers.aiBefore[i]);
        }
        EXPECT_STREQ(m.szDrawRound, oMarkers.szDrawRound);
        EXPECT_STREQ(m.szDrawGroup, oMarkers.szDrawGroup);
      } else {
        QMathRandStateSave(&oRand);
        oMarkers = mfhnews_oMarkers;
      }
    }
    HubTourStep(h, tour);
  });
  d.Answer(MFHOPTS_MODE, [&](HistoryDriver& h) {
    if (stage == kSaving) h.Events({H::kDown, H::kDown, H::kDown, H::kDown, H::kSelect});
    else h.Events({H::kBack});
  });
  d.Answer(PCSAVE_MODE_SAVE, [&](HistoryDriver& h) {
    // Save once; Back leaves the screen after the message (or an error).
    h.Events({stage == kSaving ? H::kSelect : H::kBack});
    if (stage == kSaving) stage = kBack;
  });

  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == GAME_MODE_NEWS; }, 3000)) << d.ModesText();
  ASSERT_EQ(tmglobal.iStartYear, 62);
  const std::uint32_t Team = tmglobal.aHumans[0].Name;
  tmreport_CountReset();
  // The saved edition as the screens go by, from the first hub after the
  // save (or the load) to its end.
  std::size_t cSeen = 0;
  const auto watch = [&](EditionEnd& into) {
    if (d.Modes().size() != cSeen && stage == kSaved && tmglobal.iYear == 90) {
      cSeen = d.Modes().size();
      into.modes.push_back(d.Mode());
      const std::string f = HumanFixtures();
      if (!f.empty()) into.fixtures = f;
      into.uFlags = tmglobal.aHumans[0].uFlags;
    }
    return d.Mode() == GAME_MODE_MAIN_MENU;
  };
  // Every edition has its four at the end, the built-in 1958 entry kept.
  const auto rollCheck = [&] {
    const RollOfHonourEntry& e58 = tmglobal.aRoll[0];
    EXPECT_EQ(e58.Winner, static_cast<std::uint32_t>(tla_IDFind("BRA")));
    EXPECT_EQ(e58.RunnerUp, static_cast<std::uint32_t>(tla_IDFind("SWE")));
    EXPECT_EQ(e58.Third, static_cast<std::uint32_t>(tla_IDFind("FRA")));
    EXPECT_EQ(e58.Fourth, static_cast<std::uint32_t>(tla_IDFind("FRG")));
    int cWon = 0;
    for (int e = 1; e < TM_EDITIONS; e++) {
      const RollOfHonourEntry& o = tmglobal.aRoll[e];
      for (std::uint32_t n : {o.Winner, o.RunnerUp, o.Third, o.Fourth}) EXPECT_NE(n, 0u) << e;
      cWon += o.Winner == Team;
    }
    EXPECT_GT(cWon, 3);
  };
  const auto upTo1990 = [] {
    std::vector<std::uint32_t> v(std::begin(tmglobal.aHolders), std::begin(tmglobal.aHolders) + 10);
    for (int e = 0; e <= 8; e++) {
      const RollOfHonourEntry& o = tmglobal.aRoll[e];
      v.insert(v.end(), {o.Winner, o.RunnerUp, o.Third, o.Fourth});
    }
    return v;
  };
  ASSERT_TRUE(d.RunUntil([&] { return watch(run); }, 150000)) << d.ModesText();
  ASSERT_EQ(stage, kSaved) << d.ModesText();
  EXPECT_EQ(tmreport_CountGet(), 0);
  rollCheck();
  const std::vector<std::uint32_t> runRoll = upTo1990();

  // One save, of the 1990 edition.
  const std::filesystem::path folder = home / "korvena-football/savegame";
  std::vector<std::string> saves;
  for (const auto& f : std::filesystem::directory_iterator(folder)) saves.push_back(f.path().filename().string());
  ASSERT_EQ(saves.size(), 1u);
  EXPECT_NE(saves[0].find(" 1990 "), std::string::npos) << saves[0];
  EXPECT_EQ(std::filesystem::file_size(folder / saves[0]), static_cast<std::uintmax_t>(PCSAVE_IMAGE_SIZE));

  // The main menu's Load Game (the third column's second row, wherever the
  // cursor was), Load and the only save; the hub follows.
  d.Answer(GAME_MODE_MAIN_MENU, [](HistoryDriver& h) {
    h.Events({H::kUp, H::kUp, H::kLeft, H::kLeft, H::kRight, H::kRight, H::kDown, H::kSelect});
  });
  d.Answer(PCSAVE_MODE_LOAD, [](HistoryDriver& h) { h.Events({H::kSelect, H::kSelect}); });
  stage = kBack;
  bLoaded = true;
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == MFHMAIN_MODE; }, 3000)) << d.ModesText();
  ASSERT_EQ(tmglobal.iYear, 90);
  EXPECT_TRUE(EndsWith(d.ModesText(), Trail({GAME_MODE_MAIN_MENU, PCSAVE_MODE_LOAD, MFHMAIN_MODE}))) << d.ModesText();
  cSeen = 0;
  ASSERT_TRUE(d.RunUntil([&] { return stage == kSaved && watch(loaded); }, 150000)) << d.ModesText();
  EXPECT_EQ(tmreport_CountGet(), 0);
  rollCheck();

  EXPECT_GT(run.modes.size(), 20u);
  EXPECT_EQ(loaded.modes, run.modes);
  EXPECT_FALSE(run.fixtures.empty());
  EXPECT_EQ(loaded.fixtures, run.fixtures);
  EXPECT_TRUE(run.uFlags & TMF_WON) << run.uFlags;
  EXPECT_EQ(loaded.uFlags, run.uFlags);
  EXPECT_EQ(upTo1990(), runRoll);
}

// A screen as it was captured: the frame and the regions of its layout.
struct Shot {
  korvena_test::Picture frame;
  std::vector<Region> regions;
  const Region* Find(const char* psz) const {
    for (const Region& r : regions)
      if (std::strcmp(r.szName, psz) == 0) return &r;
    return nullptr;
  }
};

const korvena_test::Picture* Sprite(const Region& r) {
  static std::map<int, std::vector<korvena_test::Picture>> s_sheets;
  if (r.iSheet < 0 || r.iSheet >= PCFE_SHEETS) return nullptr;
  if (!s_sheets.count(r.iSheet))
    s_sheets[r.iSheet] = korvena_test::ReadBank16(korvena_test::BuildDir() + "/data/frontend/" +
                                                  pcfe_aszSheetNames[r.iSheet] + "16.spr");
  const std::vector<korvena_test::Picture>& bank = s_sheets[r.iSheet];
  return r.iSprite >= 0 && r.iSprite < static_cast<int>(bank.size()) ? &bank[static_cast<std::size_t>(r.iSprite)]
                                                                      : nullptr;
}

// The share of the named region's sprite that the frame shows at its place.
double Shown(const Shot& s, const char* pszRegion) {
  const Region* r = s.Find(pszRegion);
  const korvena_test::Picture* sprite = r ? Sprite(*r) : nullptr;
  if (!sprite || s.frame.width == 0) return -1.0;
  int same = 0, all = 0;
  for (int j = 0; j < sprite->height; ++j)
    for (int i = 0; i < sprite->width; ++i) {
      const int x = r->x + i, y = r->y + j;
      if (x < 0 || y < 0 || x >= s.frame.width || y >= s.frame.height) continue;
      all++;
      same += s.frame.At(x, y) == sprite->At(i, j);
    }
  return all ? same / double(all) : 0.0;
}

// Pixels of the box that differ from the named backdrop's sprite: the texts
// and panels drawn over it.
int Written(const Shot& s, const char* pszBackdrop, int x0, int y0, int x1, int y1) {
  const Region* r = s.Find(pszBackdrop);
  const korvena_test::Picture* b = r ? Sprite(*r) : nullptr;
  if (!b || s.frame.width == 0) return -1;
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) n += s.frame.At(x, y) != b->At(x - r->x, y - r->y);
  return n;
}

// Every history screen of an edition captured once its regions are in place:
// the set-up, the options, the hub, the news, the fixtures, the group tables,
// the roll of honour and the team sheet's squad pages. Each frame shows the
// sprites of its layout where the regions put them and the texts over them.
TEST(HistoryRun, EveryHistoryScreenShowsItsSpritesAndTexts) {
  using H = HistoryDriver;
  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  MenuToHistory(d);
  SetUpFrom1958(d);
  PlayerAnswers(d);
  std::map<int, Shot> shots;
  int cPlaced = 0;
  // True once the screen is captured: every region at its place two steps on.
  const auto capture = [&](HistoryDriver& h, int key) {
    if (shots.count(key)) return true;
    bool bPlaced = h.Held() >= 10;
    for (int i = 0; i < mregion_cCount; i++) bPlaced = bPlaced && mregion_aoTable[i].bPlaced;
    cPlaced = bPlaced ? cPlaced + 1 : 0;
    if (cPlaced < 3) return false;
    cPlaced = 0;
    Shot& s = shots[key];
    s.frame = LastFrame();
    s.regions.assign(mregion_aoTable, mregion_aoTable + mregion_cCount);
    if (const char* pszDir = std::getenv("KORVENA_HISTORY_SHOTS")) {
      std::vector<std::uint8_t> rgb;
      int w = 0, hh = 0;
      if (platform::displayLastFrame(&rgb, &w, &hh))
        platform::writeRgbTga(std::string(pszDir) + "/screen" + std::to_string(key) + ".tga", rgb, w, hh);
    }
    return true;
  };
  // Wraps the answer of a mode: the capture first.
  const auto wrap = [&](int eMode, int key, std::function<void(HistoryDriver&)> fn) {
    d.Answer(eMode, [&capture, key, fn](HistoryDriver& h) {
      if (capture(h, key)) fn(h);
    });
  };
  wrap(MFHSETUP_MODE, MFHSETUP_MODE, [](HistoryDriver& h) {
    for (int i = 0; i < 10; i++) h.Events({H::kLeft});
    h.Events({H::kDown, H::kLeft, H::kSelect});
  });
  wrap(GAME_MODE_NEWS, GAME_MODE_NEWS, [](HistoryDriver& h) { h.Events({H::kSelect}); });
  for (int e : {MFHFIXTR_MODE, MFHGROUP_MODE, MFHROLE_MODE})
    wrap(e, e, [](HistoryDriver& h) { h.Events({H::kEscape}); });
  wrap(MFHOPTS_MODE, MFHOPTS_MODE, [](HistoryDriver& h) { h.Events({H::kBack}); });
  // The squad pages (the team sheet opened by "Choose Squad"); the team
  // sheet before a match only goes on.
  d.Answer(MTATICS_MODE, [&capture](HistoryDriver& h) {
    if (global_eGetExtendedGameMode() != 54 || capture(h, MTATICS_MODE)) h.Events({H::kBack, H::kBack});
  });
  // The hub: Choose Squad (in the qualifiers), Fixtures, the group tables,
  // the roll of honour, Options, then Play Match.
  int iVisit = 0;
  wrap(MFHMAIN_MODE, MFHMAIN_MODE, [&iVisit](HistoryDriver& h) {
    h.Events({H::kUp, H::kUp, H::kUp, H::kUp, H::kUp, H::kUp, H::kUp});
    const std::vector<std::int32_t> aDown7 = {H::kDown, H::kDown, H::kDown, H::kDown, H::kDown, H::kDown, H::kDown};
    switch (iVisit++) {
      case 0: h.Events({H::kDown, H::kDown}); break;
      case 1: for (int e : aDown7) h.Events({e}); h.Events({H::kLeft}); break;
      case 2: h.Events({H::kRight}); break;
      case 3: for (int e : aDown7) h.Events({e}); h.Events({H::kUp}); break;
      case 4: for (int e : aDown7) h.Events({e}); break;
      default: break;
    }
    h.Events({H::kSelect});
  });
  // Until every screen is captured, or the edition is over.
  ASSERT_TRUE(d.RunUntil(
      [&] {
        return shots.size() == 8 || (shots.count(GAME_MODE_NEWS) && (tmglobal.iYear != 58 || d.Mode() == GAME_MODE_MAIN_MENU));
      },
      40000))
      << d.ModesText();
  SCOPED_TRACE(d.ModesText());
  ASSERT_EQ(shots.size(), 8u);
  for (const auto& [e, s] : shots) {
    ASSERT_EQ(s.frame.width, 640) << e;
    ASSERT_EQ(s.frame.height, 480) << e;
  }
  // The set-up: its three rows, names and values.
  const Shot& setup = shots[MFHSETUP_MODE];
  EXPECT_GT(Shown(setup, "main"), 0.9);
  EXPECT_GT(Written(setup, "main", 90, 150, 570, 270), 1000);
  // The options with the cursor on the first row: the arrow down only.
  const Shot& options = shots[MFHOPTS_MODE];
  EXPECT_GT(Shown(options, "main"), 0.9);
  EXPECT_EQ(Shown(options, "YArrowD"), 1.0);
  EXPECT_LT(Shown(options, "YArrowU"), 0.5);
  EXPECT_GT(Written(options, "main", 120, 140, 420, 380), 2000);
  EXPECT_GT(Written(options, "main", 500, 405, 560, 435), 50);
  // The hub: the team and the date, the eight items, the next fixture.
  const Shot& hub = shots[MFHMAIN_MODE];
  EXPECT_GT(Shown(hub, "main"), 0.9);
  EXPECT_GT(Written(hub, "main", 175, 85, 600, 115), 300);
  EXPECT_GT(Written(hub, "main", 175, 135, 600, 300), 1500);
  EXPECT_GT(Written(hub, "main", 175, 320, 600, 400), 500);
  // The news: a page of text in its panel.
  const Shot& news = shots[GAME_MODE_NEWS];
  EXPECT_GT(Shown(news, "main"), 0.9);
  EXPECT_GT(Written(news, "main", 70, 130, 550, 380), 3000);
  // The fixtures outside the list: no arrow; the rows and both buttons.
  const Shot& fixtures = shots[MFHFIXTR_MODE];
  EXPECT_GT(Shown(fixtures, "main"), 0.9);
  EXPECT_LT(Shown(fixtures, "YArrowU"), 0.5);
  EXPECT_LT(Shown(fixtures, "YArrowD"), 0.5);
  EXPECT_GT(Written(fixtures, "main", 125, 155, 595, 280), 1500);
  EXPECT_GT(Written(fixtures, "main", 256, 352, 576, 382), 200);
  // The group tables of the team's group of three: the bars, the titles'
  // strip, three league rows with their texts; the next confederation's arrow.
  const Shot& groups = shots[MFHGROUP_MODE];
  for (const char* psz : {"Layer8", "Layer7", "Layer5", "Results1", "League1", "League2", "League3"})
    EXPECT_GT(Shown(groups, psz), 0.9) << psz;
  EXPECT_LT(Shown(groups, "League4"), 0.5);
  EXPECT_EQ(Shown(groups, "YArwRU"), 1.0);
  EXPECT_LT(Shown(groups, "YArwLU"), 0.5);
  EXPECT_GT(Written(groups, "Layer4", 60, 146, 580, 262), 5000);
  // The roll of honour at the first edition: the arrow right only, the title
  // and "Finals Incomplete".
  const Shot& roll = shots[MFHROLE_MODE];
  EXPECT_GT(Shown(roll, "main"), 0.9);
  EXPECT_EQ(Shown(roll, "YArrowR"), 1.0);
  EXPECT_LT(Shown(roll, "YArrowL"), 0.5);
  EXPECT_GT(Written(roll, "main", 200, 145, 560, 170), 200);
  EXPECT_GT(Written(roll, "main", 200, 195, 560, 215), 200);
  // The squad pages: the header and button bars, both lists of eight rows.
  const Shot& squad = shots[MTATICS_MODE];
  EXPECT_GT(Shown(squad, "opbar"), 0.9);
  EXPECT_GT(Shown(squad, "csquadbar"), 0.9);
  EXPECT_GT(Written(squad, "main", 32, 80, 310, 375), 20000);
  EXPECT_GT(Written(squad, "main", 325, 80, 600, 375), 20000);
}

using korvena_test::FrameTexts;
using korvena_test::TextBox;

// The team ids of the n widest display names in the screens' font.
std::vector<std::uint32_t> WidestNames(int n) {
  std::vector<std::pair<int, std::uint32_t>> a;
  pctext_FontSet(1);
  for (int id = 1; id < TLA_COUNT; id++) {
    const char* psz = tla_DisplayNameGet(id);
    if (psz[0] != '\0' && psz[0] != '*') a.push_back({pctext_WidthGet(psz), static_cast<std::uint32_t>(id)});
  }
  std::stable_sort(a.begin(), a.end(), [](const auto& x, const auto& y) { return x.first > y.first; });
  std::vector<std::uint32_t> v;
  for (int i = 0; i < n && i < static_cast<int>(a.size()); i++) v.push_back(a[i].second);
  return v;
}

// Whether the text lies across [left, right] of the display.
bool Inside(const TextBox& t, int left, int right) { return t.left >= left && t.right <= right; }

// Texts of one row (their tops a few units apart) that run into each other;
// a text and its shadow, one unit off, are one.
std::vector<std::string> Overlaps(const std::vector<TextBox>& a) {
  std::vector<std::string> v;
  for (std::size_t i = 0; i < a.size(); i++)
    for (std::size_t j = i + 1; j < a.size(); j++) {
      const TextBox &s = a[i], &t = a[j];
      if (s.text == t.text || std::abs(s.y - t.y) > 4) continue;
      if (s.left < t.right && t.left < s.right) v.push_back(s.text + " | " + t.text);
    }
  return v;
}

// The hub and the roll of honour with the widest team names there are: the
// team and its next fixture in the hub, four places and the title of an
// edition in the roll of honour. Every text stays inside its panel; the
// roll of honour's panel is centred on the screen.
TEST(HistoryRun, TheWidestTeamNamesStayInsideTheHubsAndTheRollOfHonoursPanels) {
  using H = HistoryDriver;
  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  ASSERT_TRUE(HubOfANew1958History(d)) << d.ModesText();
  d.Answer(MFHMAIN_MODE, [](H&) {});
  d.RunUntil([] { return false; }, 10);
  const std::vector<std::uint32_t> aWide = WidestNames(4);
  ASSERT_EQ(aWide.size(), 4u);
  ASSERT_GT(pctext_WidthGet(tla_DisplayNameGet(static_cast<int>(aWide[0]))), 160) << "a long name to fit";

  // The hub: the human team and its opponent take the two widest names.
  const std::uint32_t Human = tmglobal.aHumans[0].Name;
  Round* r = nullptr;
  Fixture* f = nullptr;
  ASSERT_TRUE(history_FixtureFindByTeam(tmgame_CurrentYearGet(), Human, &r, &f));
  const std::uint32_t Other = history_FixtureTeamA(r, f) == Human ? history_FixtureTeamB(r, f) : history_FixtureTeamA(r, f);
  std::vector<std::pair<TMTeam*, std::uint32_t>> aRenamed;
  for (TMTeam* t = r->pTeams; t != nullptr; t = t->pNext)
    if (t->Name == Human || t->Name == Other) {
      aRenamed.push_back({t, t->Name});
      t->Name = t->Name == Human ? aWide[0] : aWide[1];
    }
  tmglobal.aHumans[0].Name = aWide[0];
  pcframe_Begin();
  mfhmain_Draw();
  const std::vector<TextBox> aHub = FrameTexts();
  for (auto& [t, Name] : aRenamed) t->Name = Name;
  tmglobal.aHumans[0].Name = Human;
  ASSERT_FALSE(aHub.empty());
  EXPECT_EQ(Overlaps(aHub), std::vector<std::string>{});
  for (const TextBox& t : aHub) {
    bool bIn = false;
    for (const MFHPanel& p : mfhmain_aoPanels)
      bIn = bIn || (t.y >= p.y && t.y < p.y + p.h && Inside(t, p.x + 2, p.x + p.w - 2));
    EXPECT_TRUE(bIn) << t.text << " " << t.left << ".." << t.right << " y " << t.y;
  }
  // The names are there, by the team's rule where they must be shortened
  // (the short name, or that cut with a full stop; never initials).
  int cNames = 0;
  for (const TextBox& t : aHub)
    for (int k = 0; k < 2; k++)
      cNames += korvena_test::ShownAs(t.text, tla_DisplayNameGet(static_cast<int>(aWide[k])), korvena_test::kAnyRoom);
  EXPECT_GE(cNames, 3) << "the team's name and the fixture's two, with their shadows";

  // In French "Tch\351coslovaquie" as the team and its opponent: whole where
  // its room holds it, else its short name "Tch\351coslova." (the match's
  // too), never a cut of its own; the fixture's columns do not hold it.
  mlang_SetLanguage(1);
  const std::string sCzech = "Tch\351coslovaquie";
  const std::uint32_t Czech = static_cast<std::uint32_t>(korvena_test::TeamIdOf(sCzech));
  const std::string sShort = Czech > 0 ? tla_ShortNameGet(static_cast<int>(Czech)) : "";
  for (TMTeam* t = r->pTeams; t != nullptr && Czech > 0; t = t->pNext)
    if (t->Name == Human || t->Name == Other) {
      aRenamed.push_back({t, t->Name});
      t->Name = Czech;
    }
  tmglobal.aHumans[0].Name = Czech > 0 ? Czech : Human;
  pcframe_Begin();
  mfhmain_Draw();
  const std::vector<TextBox> aFrenchHub = FrameTexts();
  for (auto& [t, Name] : aRenamed) t->Name = Name;
  tmglobal.aHumans[0].Name = Human;
  ASSERT_GT(Czech, 0u);
  EXPECT_EQ(sShort, "Tch\351coslova.");
  std::vector<TextBox> aCzech;
  for (const TextBox& t : aFrenchHub)
    if (korvena_test::ShownAs(t.text, sCzech, korvena_test::kAnyRoom)) aCzech.push_back(t);
  mlang_SetLanguage(0);
  ASSERT_GE(aCzech.size(), 6u) << "the team's name and the fixture's two, with their shadows";
  int yTeam = aCzech[0].y;
  for (const TextBox& t : aCzech) yTeam = std::min(yTeam, t.y);
  for (const TextBox& t : aCzech) {
    EXPECT_TRUE(t.text == sCzech || t.text == sShort) << t.text;
    if (t.y > yTeam + 4) {
      EXPECT_EQ(t.text, sShort) << "in the fixture's columns";
    }
  }

  // The roll of honour (item 6: up from the last item), its places the four
  // widest names, browsed to 1994 (the longest host's name).
  d.Answer(MFHMAIN_MODE, [](H& h) {
    for (int i = 0; i < 7; i++) h.Events({H::kUp});
    for (int i = 0; i < 7; i++) h.Events({H::kDown});
    h.Events({H::kUp, H::kSelect});
  });
  d.Answer(MFHROLE_MODE, [](H&) {});
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == MFHROLE_MODE; }, 500)) << d.ModesText();
  d.Answer(MFHMAIN_MODE, [](H&) {});
  d.RunUntil([] { return false; }, 20);
  mfhrole_oScreen.iEdition = 9;
  RollOfHonourEntry* e = tmmain_RollOfHonourEntryGet(9);
  ASSERT_NE(e, nullptr);
  const RollOfHonourEntry oSaved = *e;
  e->Winner = aWide[0];
  e->RunnerUp = aWide[1];
  e->Third = aWide[2];
  e->Fourth = aWide[3];
  d.RunUntil([] { return false; }, 4);
  pcframe_Begin();
  mfhrole_Draw();
  const std::vector<TextBox> aRoll = FrameTexts();
  const korvena_test::Picture oShot = LastFrame();
  *e = oSaved;
  const MFHRoleBox& p = MFHROLE_PANEL;
  ASSERT_GE(aRoll.size(), 10u);
  EXPECT_EQ(Overlaps(aRoll), std::vector<std::string>{});
  for (const TextBox& t : aRoll) {
    const bool bExit = t.text == festr_IDToStr(IDS_FE_EXIT);
    if (bExit) continue;
    EXPECT_TRUE(t.y >= p.y && t.y < p.y + p.h && Inside(t, p.x + 2, p.x + p.w - 2))
        << t.text << " " << t.left << ".." << t.right << " y " << t.y;
  }
  // The panel's frame as drawn: its left and right edges on a row between
  // the last place and the plate under "Exit", equally far from the sides.
  ASSERT_EQ(oShot.width, 640);
  const int y = p.y + p.h - 4;
  int iLeft = -1, iRight = -1;
  for (int x = 0; x < oShot.width; x++) {
    const std::uint16_t c = oShot.pixels[static_cast<std::size_t>(y * oShot.width + x)];
    const int rr = (c >> 11) << 3, gg = ((c >> 5) & 63) << 2, bb = (c & 31) << 3;
    if (std::abs(rr - 150) <= 12 && std::abs(gg - 168) <= 12 && std::abs(bb - 200) <= 12) {
      if (iLeft < 0) iLeft = x;
      iRight = x;
    }
  }
  ASSERT_GE(iLeft, 0);
  EXPECT_NEAR(iLeft + iRight, 640 - 1, 4) << iLeft << ".." << iRight;
}

}  // namespace

// The history news's results page played in this process through the game's
// own frame loop: team names too wide for their columns are cut to them, so
// that every text of a result stays inside the reading panel and clear of
// its neighbours on the line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "frontend/mfhnews.h"
#include "frontend/mhelp_layout.h"
#include "frontend/pctext.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/texts.h"
#include "support/frame_texts.h"
#include "support/headless_env.h"
#include "support/team_names.h"
#include "support/history_driver.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"
#include "frontend/mfhmain.h"
#include "frontend/mfhsetup.h"
#include "frontend/mteam.h"

namespace {

using korvena_test::ShownAs;

using korvena_test::HistoryDriver;

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-results-fit", true, nullptr, nullptr});

using korvena_test::FrameTexts;
using korvena_test::TextBox;

// A 1958 history begun from the main menu; in its hub the first months of
// the qualifiers are played. The results page then lists the fixtures of
// two teams with long names, "United States of America" first on one line
// and second on the next: every name, date and score lies inside the
// reading panel, no two texts of a line run into each other, and each name
// shows in the form its column's room gives it: whole where the room holds
// it, else its short name or that cut. So does every team of the database,
// in English and in French, on either side. In French "Tch\351coslovaquie"
// is shown whole or by its short name in the same columns.
TEST(HistoryResults, LongTeamNamesAreCutToTheirColumnsInsideThePanel) {
  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  d.Answer(GAME_MODE_MAIN_MENU, [](HistoryDriver& h) { h.Events({HistoryDriver::kDown, HistoryDriver::kSelect}); });
  d.Answer(84, [](HistoryDriver& h) { h.Events({HistoryDriver::kSkip}); });
  d.Answer(MFHSETUP_MODE, [](HistoryDriver& h) {
    for (int i = 0; i < 10; i++) h.Events({HistoryDriver::kLeft});
    h.Events({HistoryDriver::kDown, HistoryDriver::kLeft, HistoryDriver::kSelect});
  });
  d.Answer(MTEAM_MODE, [](HistoryDriver& h) { h.Events({HistoryDriver::kSelect}); });
  d.Answer(GAME_MODE_NEWS, [](HistoryDriver& h) { h.Events({HistoryDriver::kSelect}); });
  d.Answer(MFHMAIN_MODE, [](HistoryDriver&) {});
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == MFHMAIN_MODE; }, 5000)) << d.ModesText();
  ASSERT_EQ(tmglobal.iYear, 58);

  // The qualifiers played up to the first of September 1957.
  global.iDay = 1;
  global.iMonth = 9;
  global.iYear = 57;
  for (int i = 0; i < 400 && !tmgame_AreDueFixturesPlayed(tmgame_CurrentYearGet()); i++) tmgame_DaySimulate();
  global.iDay = 1;
  global.iMonth = 9;
  global.iYear = 57;

  const std::string sLong = "United States of America", sOther = "Republic of Ireland";
  const std::int32_t idLong = korvena_test::TeamIdOf(sLong), idOther = korvena_test::TeamIdOf(sOther);
  ASSERT_GT(idLong, 0);
  ASSERT_GT(idOther, 0);
  // One frame of the results page (code 5 of the qualifying script), every
  // result since the start, in the font the screen leaves current, with the
  // first two played fixtures of the year (on the page's first lines)
  // renamed: the first team the home side of the first, the away side of
  // the second, the other team against it.
  const auto ResultsFrame = [](std::int32_t idFirst, std::int32_t idSecond) {
    std::vector<std::pair<TMTeam*, std::uint32_t>> aRenamed;
    int cFixtures = 0;
    for (Confederation* c = tmgame_CurrentYearGet()->pConfs; c && cFixtures < 2; c = c->pNext)
      for (Group* g = c->pGroups; g && cFixtures < 2; g = g->pNext)
        for (Round* r = g->pRounds; r && cFixtures < 2; r = r->pNext)
          for (Fixture* f = r->pFixtures; f && cFixtures < 2; f = f->pNext) {
            if (!tmglobal_FixturePlayedGet(f) || !history_FixtureDateIsPast(r, f)) continue;
            const std::uint32_t A = history_FixtureTeamA(r, f), B = history_FixtureTeamB(r, f);
            for (TMTeam* t = r->pTeams; t != nullptr; t = t->pNext)
              if (t->Name == A || t->Name == B) {
                aRenamed.push_back({t, t->Name});
                const bool bHome = t->Name == A;
                t->Name = static_cast<std::uint32_t>(bHome == (cFixtures == 0) ? idFirst : idSecond);
              }
            cFixtures++;
          }
    EXPECT_EQ(cFixtures, 2);
    mfhnews_oMarkers.aiLast[0] = mfhnews_oMarkers.aiLast[1] = mfhnews_oMarkers.aiLast[2] = 0;
    mfhnews_oScreen.iScript = MFHNEWS_QUALIFYING;
    mfhnews_oScreen.iPos = 6;
    mfhnews_oScreen.iPendingScript = -1;
    mfhnews_oScreen.iFirstLine = 0;
    mfhnews_oScreen.iLastLine = MFHNEWS_WINDOW_LINES;
    pctext_FontSet(0);
    pcframe_Begin();
    mfhnews_Draw();
    std::vector<TextBox> a = FrameTexts();
    for (auto& [t, Name] : aRenamed) t->Name = Name;
    return a;
  };
  const std::vector<TextBox> a = ResultsFrame(idLong, idOther);
  ASSERT_EQ(mfhnews_oScreen.iPage, 5);
  // The results are drawn in the small font (0), as the test leaves it.
  const int iRoom = mfhnews_ResultNameRoom();

  std::vector<int> aiDateRows;
  for (std::size_t i = 0; i < a.size(); i++) {
    const TextBox& t = a[i];
    // The title lies above the panel, Exit on its edge.
    if (t.y < MHELP_PANEL_Y0 || t.y >= MHELP_PANEL_Y1 || t.text == festr_IDToStr(IDS_FE_EXIT)) continue;
    EXPECT_TRUE(t.left >= MHELP_PANEL_X0 + 2 && t.right <= MHELP_PANEL_X1 - 2)
        << t.text << " " << t.left << ".." << t.right << " y " << t.y;
    // A name cut after a word ends at the word: no space before its dot.
    EXPECT_FALSE(t.text.size() >= 2 && t.text.compare(t.text.size() - 2, 2, " .") == 0) << t.text;
    for (std::size_t j = i + 1; j < a.size(); j++) {
      const TextBox& u = a[j];
      if (std::abs(t.y - u.y) > 4) continue;
      EXPECT_FALSE(t.left < u.right && u.left < t.right)
          << t.text << " " << t.left << ".." << t.right << " | " << u.text << " " << u.left << ".." << u.right;
    }
    int iDay = 0, iMonth = 0;
    char c = 0;
    if (std::sscanf(t.text.c_str(), "%d.%d%c", &iDay, &iMonth, &c) == 2) aiDateRows.push_back(t.y);
  }
  // The two renamed fixtures are the page's first two results: the home
  // side's name left of the away side's, each shown whole or cut short.
  std::sort(aiDateRows.begin(), aiDateRows.end());
  ASSERT_GE(aiDateRows.size(), 2u);
  for (int k = 0; k < 2; k++) {
    const std::string& sHome = k == 0 ? sLong : sOther;
    const std::string& sAway = k == 0 ? sOther : sLong;
    const TextBox* pHome = nullptr;
    const TextBox* pAway = nullptr;
    for (const TextBox& t : a) {
      if (t.y != aiDateRows[static_cast<std::size_t>(k)]) continue;
      if (ShownAs(t.text, sHome, iRoom) && !pHome) pHome = &t;
      else if (ShownAs(t.text, sAway, iRoom)) pAway = &t;
    }
    ASSERT_NE(pHome, nullptr) << k;
    ASSERT_NE(pAway, nullptr) << k;
    EXPECT_LT(pHome->right, pAway->left) << k;
  }
  EXPECT_NE(std::find_if(a.begin(), a.end(), [&](const TextBox& t) { return t.text != sLong && ShownAs(t.text, sLong, iRoom); }),
            a.end())
      << "the long name cut short";

  // Every team on the first line, home against "Republic of Ireland", and
  // on the second, away against it (and wherever its renamed group plays it
  // on the page): in the form its room gives it, and in no other.
  std::string sFaults;
  for (int l : {0, 1}) {
    mlang_SetLanguage(l);
    for (std::int32_t id = 1; id < TLA_COUNT; id++) {
      if (id == idOther) continue;
      const std::string sWhole = tla_NamesGet(id).pszWhole, sWanted = korvena_test::TeamNameShown(id, iRoom);
      int c = 0, cOther = 0;
      for (const TextBox& t : ResultsFrame(id, idOther)) {
        if (t.text == sWanted) c++;
        else if (ShownAs(t.text, sWhole, korvena_test::kAnyRoom)) cOther++;
      }
      if (c < 2 || cOther > 0)
        sFaults += "\n  " + sWanted + " (" + sWhole + ") " + std::to_string(c) + " " + std::to_string(cOther);
    }
  }
  mlang_SetLanguage(0);
  EXPECT_EQ(sFaults, "");

  // In French "Tch\351coslovaquie" (15 letters) on both lines, in one form:
  // whole where its column holds it, else its short name "Tch\351coslova.",
  // the form the match gives it too, never a cut of its own.
  mlang_SetLanguage(1);
  const std::string sCzech = "Tch\351coslovaquie";
  const std::int32_t idCzech = korvena_test::TeamIdOf(sCzech);
  const std::vector<TextBox> aFrench = idCzech > 0 ? ResultsFrame(idCzech, idOther) : std::vector<TextBox>{};
  const std::string sShort = idCzech > 0 ? tla_ShortNameGet(idCzech) : "";
  mlang_SetLanguage(0);
  ASSERT_GT(idCzech, 0);
  EXPECT_EQ(sShort, "Tch\351coslova.");
  std::vector<std::string> aNames;
  for (const TextBox& t : aFrench)
    if (ShownAs(t.text, sCzech, iRoom)) aNames.push_back(t.text);
  ASSERT_GE(aNames.size(), 2u);
  for (const std::string& n : aNames) {
    EXPECT_EQ(n, aNames[0]);
    EXPECT_TRUE(n == sCzech || n == sShort) << n;
  }
}

}  // namespace

// Screens of a history played in this process through the game's own frame
// loop: the team names on the team sheet's bottom bar stay inside the bar,
// long names fitted to it; every team of the database shows in the form its
// room gives it on that bar, in the group tables and in the map's team
// list; the history options' labels lie on dark reading
// panels, as light as the hub's items; the group tables' results show each
// date to come between its row's separator bar and its score box.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/team.h"
#include "frontend/mfhgroup.h"
#include "frontend/mfhmain.h"
#include "frontend/mfhmain_layout.h"
#include "frontend/mfhopts.h"
#include "frontend/mfhopts_layout.h"
#include "frontend/mfhsetup.h"
#include "frontend/mregion.h"
#include "frontend/mtatics.h"
#include "frontend/mteam.h"
#include "frontend/mteam_layout.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "matchflow/matcha.h"
#include "platform/display.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/texts.h"
#include "support/captured_pictures.h"
#include "support/last_frame.h"
#include "support/frame_texts.h"
#include "support/headless_env.h"
#include "support/team_names.h"
#include "support/history_driver.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/squad.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"

namespace {

using korvena_test::ShownAs;

using korvena_test::LastFrame;

using korvena_test::Box;
using korvena_test::Light;
using korvena_test::Lightest;
using korvena_test::TextLines;

using H = korvena_test::HistoryDriver;
using korvena_test::FrameTexts;
using korvena_test::TextBox;

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-sheets-fit", true, nullptr, nullptr});

const std::string kLong = "United States of America";
const std::string kCzech = "Tch\351coslovaquie";

// A new 1958 history with the qualifiers, the map's first team, at its hub.
bool HubOfANewHistory(H& d) {
  d.Answer(GAME_MODE_MAIN_MENU, [](H& h) { h.Events({H::kDown, H::kSelect}); });
  d.Answer(GAME_MODE_HISTORY_INTRO, [](H& h) { h.Events({H::kSkip}); });
  d.Answer(MFHSETUP_MODE, [](H& h) {
    for (int i = 0; i < 10; i++) h.Events({H::kLeft});
    h.Events({H::kDown, H::kLeft, H::kSelect});
  });
  d.Answer(MTEAM_MODE, [](H& h) { h.Events({H::kSelect}); });
  d.Answer(GAME_MODE_NEWS, [](H& h) { h.Events({H::kSelect}); });
  d.Answer(MFHMAIN_MODE, [](H&) {});
  return d.RunUntil([&] { return d.Mode() == MFHMAIN_MODE; }, 5000);
}

// A screen the hub opens: the cursor up to Play Match, the keys, Select.
bool HubOpen(H& d, std::vector<int> aKeys, int eScreen) {
  d.Answer(eScreen, [](H&) {});
  d.Answer(MFHMAIN_MODE, [aKeys](H& h) {
    for (int i = 0; i < 7; i++) h.Events({H::kUp});
    for (int e : aKeys) h.Events({e});
    h.Events({H::kSelect});
  });
  const bool b = d.RunUntil([&] { return d.Mode() == eScreen; }, 800);
  d.Answer(MFHMAIN_MODE, [](H&) {});
  d.RunUntil([] { return false; }, 10);
  return b;
}

// The texts one of the sheet's bars draws, on a fresh frame.
std::vector<TextBox> BarTexts(void (*pfnDraw)()) {
  pcframe_Begin();
  pfnDraw();
  std::vector<TextBox> a = FrameTexts();
  pcframe_Begin();
  return a;
}

// Every text of the bar lies inside it, clear of its ends, and no two run
// into each other; the long name is there in the form the bar's room gives
// it: whole where the room holds it, else its short name or that cut.
void ExpectInsideTheBar(const std::vector<TextBox>& a, int cLong, const std::string& sLong = kLong) {
  const FrontEndLayoutRecord& bar = mtatdisp_BarRecord();
  const int x0 = pcfe_ScaleX640(bar.x), x1 = pcfe_ScaleX640(static_cast<std::int16_t>(bar.x + bar.w));
  int c = 0;
  for (std::size_t i = 0; i < a.size(); i++) {
    const TextBox& t = a[i];
    EXPECT_GE(t.left, x0 + 2) << t.text << " " << t.left << ".." << t.right;
    EXPECT_LE(t.right, x1 - 2) << t.text << " " << t.left << ".." << t.right;
    for (std::size_t j = i + 1; j < a.size(); j++)
      if (a[j].y == t.y && a[j].text != t.text) {
        EXPECT_FALSE(t.left < a[j].right && a[j].left < t.right) << t.text << " | " << a[j].text;
      }
    if (ShownAs(t.text, sLong, mtatdisp_BarNameRoom())) c++;
  }
  // Each name is drawn twice: its shadow and itself.
  EXPECT_EQ(c, 2 * cLong);
}

// The team sheet the hub opens for the human team: with "United States of
// America" as the next opponent, and as both sides of the match header, the
// names on the bottom bar lie inside it; so does "Tch\351coslovaquie" in
// French, on both sides in one form, whole or its short name.
TEST(HistoryScreensFit, TheTeamSheetsBottomBarHoldsLongTeamNames) {
  H d;
  ASSERT_TRUE(d.Start());
  ASSERT_TRUE(HubOfANewHistory(d)) << d.ModesText();
  ASSERT_TRUE(HubOpen(d, {H::kDown}, MTATICS_MODE)) << d.ModesText();
  ASSERT_EQ(global_eGetExtendedGameMode(), 51);
  const std::int32_t idLong = korvena_test::TeamIdOf(kLong);
  ASSERT_GT(idLong, 0);

  // The history's bar: the human team and its next opponent, renamed.
  const std::uint32_t Human = tmglobal.aHumans[0].Name;
  Round* r = nullptr;
  Fixture* f = nullptr;
  ASSERT_TRUE(history_FixtureFindByTeam(tmgame_CurrentYearGet(), Human, &r, &f));
  const std::uint32_t Opponent =
      history_FixtureTeamA(r, f) == Human ? history_FixtureTeamB(r, f) : history_FixtureTeamA(r, f);
  std::vector<TMTeam*> apRenamed;
  for (TMTeam* t = r->pTeams; t != nullptr; t = t->pNext)
    if (t->Name == Opponent) {
      t->Name = static_cast<std::uint32_t>(idLong);
      apRenamed.push_back(t);
    }
  ASSERT_FALSE(apRenamed.empty());
  const std::vector<TextBox> aHistory = BarTexts(mtatdisp_HistoryHeaderDraw);
  for (TMTeam* t : apRenamed) t->Name = Opponent;
  {
    SCOPED_TRACE("history");
    ExpectInsideTheBar(aHistory, 1);
  }

  // The friendly's bar: the long name on both sides, with their editions.
  Squad* apSquads[2] = {match_HomeTeamGet()->Squad, match_AwayTeamGet()->Squad};
  ASSERT_NE(apSquads[0], nullptr);
  ASSERT_NE(apSquads[1], nullptr);
  const std::int32_t aiIds[2] = {apSquads[0]->iTeamId, apSquads[1]->iTeamId};
  apSquads[0]->iTeamId = apSquads[1]->iTeamId = idLong;
  const std::vector<TextBox> aMatch = BarTexts(mtatdisp_MatchHeaderDraw);
  // Every team of the database, in English and in French, on both sides:
  // each name in the form the bar's room gives it, measured in the menus'
  // font; whole wherever the room holds the whole name.
  std::string sFaults;
  for (int l : {0, 1}) {
    mlang_SetLanguage(l);
    for (std::int32_t id = 1; id < TLA_COUNT; id++) {
      apSquads[0]->iTeamId = apSquads[1]->iTeamId = id;
      const std::string sWanted = korvena_test::TeamNameShown(id, mtatdisp_BarNameRoom());
      int c = 0;
      for (const TextBox& t : BarTexts(mtatdisp_MatchHeaderDraw)) c += t.text == sWanted;
      if (c != 4) sFaults += "\n  " + sWanted + " (" + tla_NamesGet(id).pszWhole + ") " + std::to_string(c);
    }
  }
  EXPECT_EQ(sFaults, "");
  // In French "Tch\351coslovaquie" on both sides: whole where the bar's
  // room holds it, else its short name, the one form on both sides.
  mlang_SetLanguage(1);
  const std::int32_t idCzech = korvena_test::TeamIdOf(kCzech);
  apSquads[0]->iTeamId = apSquads[1]->iTeamId = idCzech;
  const std::vector<TextBox> aFrench = idCzech > 0 ? BarTexts(mtatdisp_MatchHeaderDraw) : std::vector<TextBox>{};
  const std::string sShort = idCzech > 0 ? tla_ShortNameGet(idCzech) : "";
  mlang_SetLanguage(0);
  apSquads[0]->iTeamId = aiIds[0];
  apSquads[1]->iTeamId = aiIds[1];
  {
    SCOPED_TRACE("match");
    ExpectInsideTheBar(aMatch, 2);
  }
  ASSERT_GT(idCzech, 0);
  EXPECT_EQ(sShort, "Tch\351coslova.");
  {
    SCOPED_TRACE("match in French");
    ExpectInsideTheBar(aFrench, 2, kCzech);
    std::vector<std::string> aNames;
    for (const TextBox& t : aFrench)
      if (ShownAs(t.text, kCzech, mtatdisp_BarNameRoom())) aNames.push_back(t.text);
    ASSERT_EQ(aNames.size(), 4u);
    for (const std::string& n : aNames) {
      EXPECT_EQ(n, aNames[0]);
      EXPECT_TRUE(n == kCzech || n == sShort) << n;
    }
  }
}

// The group tables the hub opens (its fifth item), their first team given
// every team of the database in turn, in English and in French: its row of
// the table and its results show it in the form each room gives it, whole
// where the room holds the name, else its short name or that cut, measured
// in the menus' font; never initials.
TEST(HistoryScreensFit, TheGroupTablesShowEveryTeamInTheFormItsRoomGivesIt) {
  H d;
  ASSERT_TRUE(d.Start());
  ASSERT_TRUE(HubOfANewHistory(d)) << d.ModesText();
  ASSERT_TRUE(HubOpen(d, {H::kDown, H::kDown, H::kDown, H::kDown}, MFHGROUP_MODE)) << d.ModesText();
  MFHGroupScreen& s = mfhgroup_oScreen;
  const Round* r = mfhgroup_OrderRoundGet(s.iEntry);
  ASSERT_NE(r, nullptr);
  ASSERT_EQ(mfhgroup_LayoutGet(r), MFHGROUP_LAYOUT_LEAGUE);
  ASSERT_NE(r->pTeams, nullptr);
  TMTeam* t = r->pTeams;
  const std::uint32_t Saved = t->Name;
  const auto Count = [&](std::int32_t iView, const std::string& sWanted) {
    s.iView = iView;
    pcframe_Begin();
    mfhgroup_Draw();
    int c = 0;
    for (const TextBox& b : FrameTexts()) c += b.text == sWanted;
    pcframe_Begin();
    return c;
  };
  std::string sFaults;
  for (int l : {0, 1}) {
    mlang_SetLanguage(l);
    for (std::int32_t id = 1; id < TLA_COUNT; id++) {
      t->Name = static_cast<std::uint32_t>(id);
      const std::string sRow = korvena_test::TeamNameShown(id, pcfe_ScaleX640(MFHGROUP_TABLE_NAME_ROOM));
      const std::string sResult = korvena_test::TeamNameShown(id, pcfe_ScaleX640(MFHGROUP_RESULT_NAME_ROOM));
      const int cRow = Count(MFHGROUP_VIEW_TABLE, sRow), cResults = Count(MFHGROUP_VIEW_RESULTS, sResult);
      if (cRow < 1 || cResults < 1)
        sFaults += "\n  " + sRow + " / " + sResult + " (" + tla_NamesGet(id).pszWhole + ") " + std::to_string(cRow) +
                   " " + std::to_string(cResults);
    }
  }
  mlang_SetLanguage(0);
  t->Name = Saved;
  s.iView = MFHGROUP_VIEW_TABLE;
  EXPECT_EQ(sFaults, "");
}

// The team choice of a new history, the first team of its list given
// every team of the database in turn, in English and in French: each shows
// in the form the list's room gives it, whole where the room holds it
// ("Papua New Guinea", not "Papua New G.", in a box that holds "United
// States of America"), measured in the menus' font.
TEST(HistoryScreensFit, TheMapsTeamListShowsEveryTeamInTheFormItsRoomGivesIt) {
  H d;
  ASSERT_TRUE(d.Start());
  d.Answer(GAME_MODE_MAIN_MENU, [](H& h) { h.Events({H::kDown, H::kSelect}); });
  d.Answer(GAME_MODE_HISTORY_INTRO, [](H& h) { h.Events({H::kSkip}); });
  d.Answer(MFHSETUP_MODE, [](H& h) {
    for (int i = 0; i < 10; i++) h.Events({H::kLeft});
    h.Events({H::kDown, H::kLeft, H::kSelect});
  });
  // The first player opens the list of the button the map starts on.
  d.Answer(MTEAM_MODE, [](H& h) {
    if (mteam_aoSides[0].iPhase == MTEAM_MAP) h.Events({H::kSelect});
  });
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == MTEAM_MODE && mteam_aoSides[0].iPhase == MTEAM_LIST; }, 5000))
      << d.ModesText();
  d.Answer(MTEAM_MODE, [](H&) {});
  const std::int32_t iSide = 0;
  ASSERT_EQ(mteam_iRedBlock, iSide);
  ConferenceEntry* e = mteam_TeamByIndex(iSide, tmglobal_EditionMaskGet(), mteam_iListTop);
  ASSERT_NE(e, nullptr);
  const std::uint32_t uSaved = e->uTeam;
  const std::int32_t iRoom = mteam_ListNameRoom(iSide);
  const std::int32_t iFont = pctext_iCurrentFont;
  pctext_FontSet(1);
  const std::int32_t wLongest = pctext_WidthGet("United States of America");
  pctext_FontSet(iFont);
  ASSERT_GE(iRoom, wLongest) << "the box holds the longest name in the list's font";
  std::string sFaults;
  for (int l : {0, 1}) {
    mlang_SetLanguage(l);
    for (std::int32_t id = 1; id < TLA_COUNT; id++) {
      e->uTeam = static_cast<std::uint32_t>(id);
      const std::string sWanted = korvena_test::TeamNameShown(id, iRoom);
      pcframe_Begin();
      mteam_Draw();
      int c = 0;
      for (const TextBox& t : FrameTexts()) c += t.text == sWanted;
      pcframe_Begin();
      if (c < 1) sFaults += "\n  " + sWanted + " (" + tla_NamesGet(id).pszWhole + ")";
    }
  }
  mlang_SetLanguage(0);
  e->uTeam = uSaved;
  EXPECT_EQ(sFaults, "");
}

std::vector<korvena_test::Picture> Sheet(const char* pszName) {
  return korvena_test::ReadBank16(korvena_test::BuildDir() + "/data/frontend/" + pszName + "16.spr");
}

std::string Text(const Box& b) {
  return "line " + std::to_string(b.x0) + "," + std::to_string(b.y0) + " to " + std::to_string(b.x1) + "," +
         std::to_string(b.y1);
}

bool OnAPanel(const Box& b) {
  for (const MFHOptsPanel& p : mfhopts_aoPanels)
    if (b.x0 >= p.x && b.y0 >= p.y && b.x1 <= p.x + p.w && b.y1 <= p.y + p.h) return true;
  return false;
}

// The history options the hub opens (its last item), the cursor on the first
// row: the nine rows with their values and Exit each lie on one of the
// backdrop's panels, over a backdrop no lighter than behind the hub's items,
// their letters as light as the hub's light grey (the cursor's yellow row a
// little less). No stand or hoarding shows behind "Fouls" and its "Yes".
TEST(HistoryScreensFit, TheHistoryOptionsLabelsLieOnDarkPanels) {
  H d;
  ASSERT_TRUE(d.Start());
  ASSERT_TRUE(HubOfANewHistory(d)) << d.ModesText();
  ASSERT_TRUE(HubOpen(d, {H::kDown, H::kDown, H::kDown, H::kDown, H::kDown, H::kDown, H::kDown}, MFHOPTS_MODE))
      << d.ModesText();
  d.RunUntil([] { return false; }, 20);
  ASSERT_EQ(d.Mode(), MFHOPTS_MODE);
  ASSERT_EQ(mfhopts_oScreen.iCursor, 0);
  const korvena_test::Picture shot = LastFrame();
  const std::vector<korvena_test::Picture> sheet = Sheet("fhops"), hub = Sheet("fhmain");
  ASSERT_EQ(shot.width, 640);
  ASSERT_FALSE(sheet.empty());
  ASSERT_FALSE(hub.empty());
  // The lightest backdrop where the hub's left column of items sits.
  const MFHPanel& m = mfhmain_aoPanels[1];
  const double hubBackdrop = Lightest(hub[0], {m.x + 4, m.y + 4, m.x + m.w / 2 - 18, m.y + m.h - 4});
  ASSERT_GT(hubBackdrop, 0);
  // The rows (labels from x 125, values from x 347), then Exit (x 521, y 416).
  const std::vector<Box> rows = TextLines(shot, sheet[0], {100, 136, 496, 398});
  const std::vector<Box> exit = TextLines(shot, sheet[0], {500, 400, 620, 460});
  ASSERT_EQ(rows.size(), 9u);
  ASSERT_EQ(exit.size(), 1u);
  for (std::size_t i = 0; i < rows.size() + 1; ++i) {
    const Box& b = i < rows.size() ? rows[i] : exit[0];
    EXPECT_TRUE(OnAPanel(b)) << Text(b);
    EXPECT_LE(Lightest(sheet[0], b), hubBackdrop + 4) << Text(b);
    EXPECT_GE(Lightest(shot, b), i == 0 ? 170 : 195) << Text(b);
  }
}

// A fixture's date as the results show it: its text cell as the display
// draws it (three pixels over the text's place, one font height tall) and
// the middle of its line.
struct DateCell {
  std::string text;
  int top, bottom, middle;
};

// The frame's pieces the results view is read from: the dates, the score
// boxes (left and top edges) and the separator bars.
struct ResultsFrame {
  std::vector<DateCell> dates;
  std::vector<Box> boxes, bars;
};

ResultsFrame ResultsFrameRead() {
  ResultsFrame o;
  std::vector<std::int32_t> aiCovers;
  for (const char* psz : {"ScoreCov", "ScoreCov_1"}) {
    const std::int32_t i = mregion_FindByName(psz);
    if (i >= 0) aiCovers.push_back(mregion_aoTable[i].iSprite);
  }
  const std::int32_t iFont = pctext_iCurrentFont;
  const int wCover = pcfe_ScaleX640(56), hCover = pcfe_ScaleY480(22);
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l != nullptr; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext) {
      const std::int16_t* c = i->aiCoord;
      if (i->uKind == PCFRAME_KIND_TEXT && i->pszText != nullptr) {
        int iDay = 0, iMonth = 0, iYear = 0;
        char cMore = 0;
        if (std::sscanf(i->pszText, "%d/%d/%d%c", &iDay, &iMonth, &iYear, &cMore) != 3) continue;
        pctext_iCurrentFont = c[2];
        const int w = pctext_WidthGet(i->pszText), h = pctext_HeightGet();
        const int left = c[3] == 0 ? c[0] : (c[3] == 1 ? c[0] - w : c[0] - w / 2);
        o.dates.push_back({i->pszText, c[1] - 3, c[1] - 3 + h, left + w / 2});
      } else if (i->uKind == PCFRAME_KIND_BACKDROP_SPRITE &&
                 std::find(aiCovers.begin(), aiCovers.end(), c[3]) != aiCovers.end()) {
        o.boxes.push_back({c[0], c[1], c[0] + wCover, c[1] + hCover});
      } else if (i->uKind == PCFRAME_KIND_BOX) {
        o.bars.push_back({c[0], c[1], c[2], c[3]});
      }
    }
  pctext_iCurrentFont = iFont;
  return o;
}

// The group tables the hub opens (its fifth item) in a new history, none of
// whose fixtures is played yet, switched to the results view: every row's
// date is drawn centred over its score box, its whole text cell below the
// bar that parts the row from the one above (on the first row, below the
// results panel's top) and above the score box.
TEST(HistoryScreensFit, TheResultsDatesLieBetweenTheSeparatorAndTheScoreBox) {
  H d;
  ASSERT_TRUE(d.Start());
  ASSERT_TRUE(HubOfANewHistory(d)) << d.ModesText();
  ASSERT_TRUE(HubOpen(d, {H::kDown, H::kDown, H::kDown, H::kDown}, MFHGROUP_MODE)) << d.ModesText();
  MFHGroupScreen& s = mfhgroup_oScreen;
  // Down to the view switch (past the group selector where there is one),
  // then select.
  for (int i = 0; i < 2 && s.iFocus != MFHGROUP_FOCUS_VIEW; i++) {
    const std::int32_t iFrom = s.iFocus;
    d.Events({H::kDown});
    d.RunUntil([&] { return s.iFocus != iFrom; }, 100);
  }
  ASSERT_EQ(s.iFocus, MFHGROUP_FOCUS_VIEW);
  d.Events({H::kSelect});
  ASSERT_TRUE(d.RunUntil([&] { return s.iView == MFHGROUP_VIEW_RESULTS; }, 100));
  ASSERT_EQ(d.Mode(), MFHGROUP_MODE);

  pcframe_Begin();
  mfhgroup_Draw();
  const ResultsFrame o = ResultsFrameRead();
  pcframe_Begin();

  // Every fixture shown is still to come: one date per score box.
  ASSERT_GE(o.boxes.size(), 2u);
  ASSERT_EQ(o.dates.size(), o.boxes.size());
  const int yPanel = pcfe_ScaleY480(mregion_aoTable[mregion_FindByName("Results")].y);
  for (const DateCell& t : o.dates) {
    const std::string sAt = t.text + " " + std::to_string(t.top) + ".." + std::to_string(t.bottom);
    // Its score box: the nearest below it under its middle.
    const Box* pBox = nullptr;
    for (const Box& b : o.boxes)
      if (b.x0 <= t.middle && t.middle < b.x1 && b.y0 > t.top && (!pBox || b.y0 < pBox->y0)) pBox = &b;
    ASSERT_NE(pBox, nullptr) << sAt;
    EXPECT_LE(t.bottom, pBox->y0) << sAt << " over the score box at " << pBox->y0;
    EXPECT_LE(std::abs(2 * t.middle - (pBox->x0 + pBox->x1)), 2) << sAt << " " << Text(*pBox);
    // The bar above the box: the nearest whose span holds the date's middle.
    const Box* pBar = nullptr;
    for (const Box& b : o.bars)
      if (b.x0 <= t.middle && t.middle < b.x1 && b.y1 <= pBox->y0 && pBox->y0 - b.y1 < pcfe_ScaleY480(56) &&
          (!pBar || b.y1 > pBar->y1))
        pBar = &b;
    EXPECT_GE(t.top, pBar ? pBar->y1 : yPanel) << sAt << " under " << (pBar ? Text(*pBar) : "the panel's top");
  }
}

}  // namespace

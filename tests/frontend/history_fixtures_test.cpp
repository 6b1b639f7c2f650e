// The history fixtures screen and the roll of honour: the fixture list of the
// human team's round, the buttons and the list, friendlies arranged on
// hand-made rounds, the editions browsed and filled from the finals, and
// what each screen draws.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "frontend/frontend_env.h"
#include "frontend/frontend_services.h"
#include "frontend/mfhfixtr.h"
#include "frontend/mfhfixtr_layout.h"
#include "frontend/mfhrole.h"
#include "frontend/mfhsetup.h"
#include "frontend/mregion.h"
#include "frontend/pcfe.h"
#include "frontend/screen_tools.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "shell/vsync.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"
#include "tournament/yearfile.h"

namespace {

int FixKeys(std::initializer_list<int> codes) { return FrontEndKeys(mfhfixtr_Input, codes); }

int RollKeys(std::initializer_list<int> codes) { return FrontEndKeys(mfhrole_Input, codes); }

std::uint32_t Id(const char* tla) { return static_cast<std::uint32_t>(tla_IDFind(tla)); }

// What a frame shows: its texts and the sprites of the screen's sheet.
struct Shown {
  std::vector<std::string> texts;
  std::vector<std::string> sprites;  // region names by sprite index
  int Count(const std::string& s) const {
    int n = 0;
    for (const std::string& t : texts) n += t == s;
    return n;
  }
  bool HasSprite(const std::string& s) const {
    for (const std::string& t : sprites)
      if (t == s) return true;
    return false;
  }
};

Shown Frame(void (*draw)(), const FrontEndLayoutRecord* layout, int records, int sheet) {
  pcframe_Begin();
  draw();
  Shown s;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l != nullptr; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext) {
      // Texts are printed twice (shadow and face) on the fixtures screen:
      // keep the faces, which come in colour.
      if (i->uKind == PCFRAME_KIND_TEXT && i->pszText && (i->aRed[0] || i->aGreen[0] || i->aBlue[0]))
        s.texts.push_back(i->pszText);
      if (i->uKind == PCFRAME_KIND_BACKDROP_SPRITE && i->aiCoord[2] == sheet && i->aiCoord[3] >= 0 &&
          i->aiCoord[3] < records)
        s.sprites.push_back(layout[i->aiCoord[3]].pszName);
    }
  return s;
}
Shown FixFrame() { return Frame(mfhfixtr_Draw, mfhfixtr_aoLayout, MFHFIXTR_LAYOUT_RECORDS, MFHFIXTR_SHEET); }
Shown RollFrame() { return Frame(mfhrole_Draw, mfhrole_aoLayout, MFHROLE_LAYOUT_RECORDS, MFHROLE_SHEET); }

// A hand-made qualifying year: one confederation, one group, rounds added
// with their teams, dates and fixtures.
struct Tree {
  Year* y = nullptr;
  Group* g = nullptr;
  Tree() {
    tmmain_PoolsReset();
    y = tmmain_YearAlloc();
    history_YearInit(y);
    TheYearList = y;
    Confederation* c = tmmain_ConfAlloc();
    history_ConfInit(c);
    std::snprintf(c->szName, sizeof c->szName, "UEFA");
    y->pConfs = c;
    g = tmmain_GroupAlloc();
    history_GroupInit(g);
    std::snprintf(g->szName, sizeof g->szName, "Group 1");
    c->pGroups = g;
  }
  Round* AddRound(std::initializer_list<const char*> teams) {
    Round* r = tmmain_RoundAlloc();
    history_RoundInit(r);
    std::snprintf(r->szName, sizeof r->szName, "R%d", history_RoundCountGet(g) + 1);
    Round** pp = &g->pRounds;
    while (*pp) pp = &(*pp)->pNext;
    *pp = r;
    TMTeam** pt = &r->pTeams;
    for (const char* t : teams) {
      TMTeam* n = tmmain_TeamAlloc();
      tmteam_TeamInit(n);
      n->Name = Id(t);
      *pt = n;
      pt = &n->pNext;
    }
    return r;
  }
  static int AddDate(Round* r, int day, int month, int year) {
    history_FixtureDateAdd(r, day, month, year);
    return history_FixtureDateCountGet(r) - 1;
  }
  // Teams by their index in the round, or by name id for a friendly.
  static Fixture* AddFixture(Round* r, int a, int b, int date, std::uint8_t flags = 0) {
    Fixture* f = tmmain_FixtureAlloc();
    history_FixtureInit(f);
    f->cTeamA = static_cast<std::uint8_t>(a);
    f->cTeamB = static_cast<std::uint8_t>(b);
    f->cDate = static_cast<std::uint8_t>(date);
    f->cFlags = flags;
    Fixture** pp = &r->pFixtures;
    while (*pp) pp = &(*pp)->pNext;
    *pp = f;
    return f;
  }
};

class HistoryLists : public ::testing::Test {
 protected:
  void SetUp() override {
    mlang_iLanguage = 0;
    vsync_Init();
    tmglobal_Reset();
    tmreport_CountReset();
    tmglobal.cHumans = 1;
    tmglobal.iCurrentHuman = 0;
    tmglobal.aHumans[0].Name = Id("SCO");
    tmglobal.bPlayQualifiers = 1;
    tmglobal.iYear = 78;
    user_aUsers[0].bActive = 1;
    user_aUsers[0].pip = input_poGetPort(0);
    global_SetMenuUser(&user_aUsers[0]);
    input_EventQueueFlush(&input_poGetPort(0)->oEvents);
    mfhfixtr_Reset();
    mfhrole_Reset();
    mfhrole_bFromNews = 0;
  }
  void TearDown() override {
    input_EventQueueFlush(&input_poGetPort(0)->oEvents);
    pcframe_Begin();
    tmmain_PoolsReset();
    TheYearList = nullptr;
    tmglobal_Reset();
    global_SetHomeUser(nullptr);
    global_SetAwayUser(nullptr);
    mfhfixtr_pendingChoice = 0;
  }
};

// ---- Fixtures -------------------------------------------------------------------------

TEST_F(HistoryLists, FixturesListTheHumanRoundInDateOrderFiveAtATime) {
  Tree t;
  Round* r = t.AddRound({"SCO", "WAL", "CZH", "ENG", "ITA", "FIN", "LUX", "NIR"});
  // Seven fixtures of the human team, stored out of date order, and two without it.
  const int days[7] = {20, 3, 11, 9, 28, 15, 1};
  for (int i = 0; i < 7; i++)
    Tree::AddFixture(r, i % 2 ? i + 1 : 0, i % 2 ? 0 : i + 1, Tree::AddDate(r, days[i], 10, 77), FIX_USER);
  Tree::AddFixture(r, 1, 2, Tree::AddDate(r, 2, 10, 77));
  Tree::AddFixture(r, 3, 4, Tree::AddDate(r, 4, 10, 77));
  const std::vector<Fixture*> v = mfhfixtr_ListBuild(r);
  ASSERT_EQ(v.size(), 7u);
  std::vector<int> seen;
  for (Fixture* f : v) seen.push_back(tmglobal_FixtureDateGet(r, f->cDate)->cDay);
  EXPECT_EQ(seen, (std::vector<int>{1, 3, 9, 11, 15, 20, 28}));

  mfhfixtr_Enter();
  EXPECT_EQ(pcfe_SheetGet(), MFHFIXTR_SHEET);
  EXPECT_EQ(mregion_FindByName("YArrowD"), 4);
  // Outside the list: the first five rows, no frame and no arrows; "Exit" lit.
  Shown s = FixFrame();
  EXPECT_TRUE(s.HasSprite("main"));
  EXPECT_FALSE(s.HasSprite("frame") || s.HasSprite("YArrowU") || s.HasSprite("YArrowD"));
  EXPECT_EQ(s.Count("1.10.77"), 1);
  EXPECT_EQ(s.Count("15.10.77"), 1);
  EXPECT_EQ(s.Count("20.10.77"), 0);
  EXPECT_EQ(s.Count("WCQ"), 5);
  EXPECT_EQ(s.Count(tla_DisplayNameGet(static_cast<int>(Id("NIR")))), 1);  // the first by date
  EXPECT_EQ(s.Count(tla_DisplayNameGet(static_cast<int>(Id("SCO")))), 1);  // the human team's title
  // Listed second on the 3rd, 9th and 15th, the human team plays away.
  EXPECT_EQ(s.Count("A"), 3);
  EXPECT_EQ(s.Count("H"), 2);

  // Into the list; Down scrolls the window once the cursor passes its end.
  EXPECT_EQ(FixKeys({10, 37}), 48);
  ASSERT_EQ(mfhfixtr_oScreen.bInList, 1);
  s = FixFrame();
  EXPECT_TRUE(s.HasSprite("frame"));
  EXPECT_FALSE(s.HasSprite("YArrowU"));
  EXPECT_TRUE(s.HasSprite("YArrowD"));
  struct Step {
    int code, cursor, first, last;
  } steps[] = {{9, 1, 0, 5}, {9, 2, 0, 5}, {9, 3, 0, 5}, {9, 4, 0, 5}, {9, 5, 1, 6}, {9, 6, 2, 7},
               {9, 6, 2, 7}, {8, 5, 2, 7}, {8, 2, 2, 7}, {8, 1, 1, 6}, {8, 0, 0, 5}, {8, 0, 0, 5}};
  for (const Step& st : steps) {
    if (st.code == 8 && st.cursor == 2) FixKeys({8, 8});
    FixKeys({st.code});
    EXPECT_EQ(mfhfixtr_oScreen.iCursor, st.cursor);
    EXPECT_EQ(mfhfixtr_oScreen.iFirst, st.first) << st.cursor;
    EXPECT_EQ(mfhfixtr_oScreen.iLast, st.last) << st.cursor;
  }
  FixKeys({9, 9, 9, 9, 9, 9});
  s = FixFrame();
  EXPECT_TRUE(s.HasSprite("YArrowU"));
  EXPECT_FALSE(s.HasSprite("YArrowD"));
  EXPECT_EQ(s.Count("28.10.77"), 1);
  EXPECT_EQ(s.Count("1.10.77"), 0);
  // Left/Right on a qualifier change nothing; select on it stays in the list.
  EXPECT_EQ(FixKeys({10, 11, 37}), 48);
  EXPECT_EQ(mfhfixtr_oScreen.bRowMode, 1);
  EXPECT_EQ(mfhfixtr_oScreen.bInList, 1);
  // The cursor fixture is kept on the next visit, the window starts again.
  mfhfixtr_Enter();
  EXPECT_EQ(mfhfixtr_oScreen.iCursor, 6);
  EXPECT_EQ(mfhfixtr_oScreen.iFirst, 0);
  EXPECT_EQ(mfhfixtr_oScreen.bInList, 0);
  EXPECT_EQ(tmreport_CountGet(), 0);
}

TEST_F(HistoryLists, FixturesButtonsAndListKeys) {
  Tree t;
  Round* r = t.AddRound({"SCO", "WAL"});
  Tree::AddFixture(r, 0, 1, Tree::AddDate(r, 1, 10, 77), FIX_USER);
  struct Case {
    int finals, inList, onFixtures, code, next, inListAfter, onFixturesAfter;
  } cases[] = {
      // Outside the list.
      {0, 0, 0, 10, 48, 0, 1}, {0, 0, 1, 11, 48, 0, 0}, {0, 0, 1, 10, 48, 0, 1}, {0, 0, 0, 11, 48, 0, 0},
      {1, 0, 0, 10, 48, 0, 0},  // in the finals "Fixtures" cannot be lit
      {0, 0, 0, 37, 47, 0, 0},  // "Exit"
      {0, 0, 1, 37, 48, 1, 1},  // "Fixtures" enters the list
      {0, 0, 1, 38, 47, 0, 1}, {0, 0, 1, 56, 47, 0, 1}, {0, 0, 1, 152, 47, 0, 1},
      {0, 0, 0, 8, 48, 0, 0},  {0, 0, 0, 9, 48, 0, 0},
      // In the list: back and start leave it, the escape key leaves the screen.
      {0, 1, 1, 38, 48, 0, 1}, {0, 1, 1, 56, 48, 0, 1}, {0, 1, 1, 152, 47, 1, 1}, {0, 1, 1, 10, 48, 1, 1},
  };
  for (const Case& c : cases) {
    tmglobal.bFinalsLoaded = c.finals;
    tmglobal.bPlayQualifiers = c.finals ? 0 : 1;
    if (c.finals) TheYearList->pNext = nullptr;
    mfhfixtr_oScreen.bInList = c.inList;
    mfhfixtr_oScreen.bOnFixtures = c.onFixtures;
    mfhfixtr_oScreen.bRowMode = 1;
    global_SetExtendedGameMode(GAME_MODE_HISTORY);
    EXPECT_EQ(FixKeys({c.code}), c.next) << c.finals << c.inList << c.onFixtures << " " << c.code;
    EXPECT_EQ(mfhfixtr_oScreen.bInList, c.inListAfter) << c.finals << c.inList << c.onFixtures << " " << c.code;
    EXPECT_EQ(mfhfixtr_oScreen.bOnFixtures, c.onFixturesAfter) << c.finals << c.inList << c.onFixtures << " " << c.code;
  }
  // In the finals "Fixtures" is dark and the kind is "WCF".
  tmglobal.bFinalsLoaded = 1;
  tmglobal.bPlayQualifiers = 0;
  Year* f = tmmain_YearAlloc();
  history_YearInit(f);
  std::swap(f->pConfs, TheYearList->pConfs);
  TheYearList->pNext = f;
  mfhfixtr_oScreen.bInList = 0;
  mfhfixtr_oScreen.bOnFixtures = 0;
  const Shown s = FixFrame();
  EXPECT_EQ(s.Count("WCF"), 1);
  EXPECT_EQ(s.Count("H"), 1);
  int dark = 0;
  pcframe_Begin();
  mfhfixtr_Draw();
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l != nullptr; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i != nullptr; i = i->pNext)
      if (i->uKind == PCFRAME_KIND_TEXT && i->aRed[0] == 64 && std::string(i->pszText) == "Fixtures") dark++;
  EXPECT_EQ(dark, 1);
  // Run hands the mode over and re-arms the screen.
  global_SetExtendedGameMode(static_cast<GameMode>(48));
  FrontEndPush(37);
  pcframe_Begin();
  mfhfixtr_oScreen.bNeedsEnter = 0;
  mfhfixtr_Run();
  global_GameModeTransition();
  EXPECT_EQ(global_eGetGameMode(), 47);
  EXPECT_EQ(global_eGetExtendedGameMode(), GAME_MODE_HISTORY);
  EXPECT_EQ(mfhfixtr_oScreen.bNeedsEnter, 1);
}

TEST_F(HistoryLists, FixturesOpenOnTheLastListedRoundWhenNoFixtureIsLeft) {
  Tree t;
  Round* r1 = t.AddRound({"SCO", "WAL"});
  Round* r2 = t.AddRound({"CZH", "SCO"});
  Round* r3 = t.AddRound({"ENG", "ITA"});
  Fixture* a = Tree::AddFixture(r1, 0, 1, Tree::AddDate(r1, 1, 10, 77), FIX_USER);
  Fixture* b = Tree::AddFixture(r2, 0, 1, Tree::AddDate(r2, 1, 11, 77), FIX_USER);
  Tree::AddFixture(r3, 0, 1, Tree::AddDate(r3, 1, 12, 77));
  const std::uint32_t sco = Id("SCO");
  EXPECT_EQ(mfhfixtr_RoundFind(TheYearList, sco), r1);  // the next fixture's round
  history_FixturePlayedSet(a, 1);
  EXPECT_EQ(mfhfixtr_RoundFind(TheYearList, sco), r2);
  history_FixturePlayedSet(b, 1);
  // Every fixture played: the last round that lists the team, not the first.
  EXPECT_EQ(mfhfixtr_RoundFind(TheYearList, sco), r2);
  mfhfixtr_Enter();
  Shown s = FixFrame();
  EXPECT_EQ(s.Count(tla_DisplayNameGet(static_cast<int>(Id("CZH")))), 1);
  EXPECT_EQ(s.Count("A"), 1);
  // An opponent still to be decided (a placeholder code) shows no name.
  std::uint32_t code = 0;
  for (int i = 1; i < TM_MAX && !code; i++)
    if (festr_TMIDToStr(i) && festr_TMIDToStr(i)[0] == '*') code = static_cast<std::uint32_t>(i);
  ASSERT_NE(code, 0u);
  r2->pTeams->Name = code;
  s = FixFrame();
  for (const std::string& text : s.texts) EXPECT_NE(text[0], '*') << text;
  EXPECT_EQ(s.Count("A"), 1);
  // A team no round lists: an empty list that cannot be entered.
  tmglobal.aHumans[0].Name = Id("BRA");
  EXPECT_EQ(mfhfixtr_RoundFind(TheYearList, Id("BRA")), nullptr);
  s = FixFrame();
  EXPECT_EQ(s.Count("WCQ"), 0);
  EXPECT_EQ(FixKeys({10, 37}), 48);
  EXPECT_EQ(mfhfixtr_oScreen.bInList, 0);
  EXPECT_EQ(tmreport_CountGet(), 0);
}

TEST_F(HistoryLists, AFriendlyIsArrangedOnTheMapThenPlayedHomeOrAway) {
  // No year file gives name-id fixtures: a hand-made round with a qualifier
  // and a friendly whose second slot is open.
  Tree t;
  Round* r = t.AddRound({"SCO", "WAL"});
  const std::uint8_t sco = static_cast<std::uint8_t>(Id("SCO"));
  Tree::AddFixture(r, 0, 1, Tree::AddDate(r, 5, 10, 77), FIX_USER);
  Fixture* fr = Tree::AddFixture(r, sco, 0, Tree::AddDate(r, 1, 9, 77), FIX_USER | FIX_BYNAMEID);
  mfhfixtr_Enter();
  Shown s = FixFrame();
  EXPECT_EQ(s.Count("Arrange Friendly"), 1);
  EXPECT_EQ(s.Count("-"), 1);
  EXPECT_EQ(s.Count("FR"), 1);
  // Not a next fixture while its slot is open.
  EXPECT_EQ(mfhfixtr_RoundFind(TheYearList, sco), r);
  // Select on the friendly (the first by date) opens the map for the opponent.
  EXPECT_EQ(FixKeys({10, 37}), 48);
  global_SetExtendedGameMode(GAME_MODE_HISTORY);
  EXPECT_EQ(FixKeys({37}), 9);
  EXPECT_EQ(global_eGetExtendedGameMode(), 69);
  EXPECT_EQ(global_poGetHomeUser(), &user_aUsers[0]);
  EXPECT_EQ(global_poGetAwayUser(), nullptr);
  EXPECT_EQ(history_FixtureSlotBGet(fr), 1);
  // The map's choice comes back: written into slot B, the screen in venue
  // mode on that fixture with "Fixtures" lit.
  mfhfixtr_chosenTeam = Id("ARG");
  mfhfixtr_pendingChoice = 1;
  mfhfixtr_Enter();
  EXPECT_EQ(mfhfixtr_pendingChoice, 0);
  EXPECT_EQ(fr->cTeamA, sco);
  EXPECT_EQ(fr->cTeamB, Id("ARG"));
  EXPECT_EQ(history_FixtureSlotFilledGet(fr), 1);
  EXPECT_EQ(mfhfixtr_oScreen.bInList, 1);
  EXPECT_EQ(mfhfixtr_oScreen.bRowMode, 0);
  EXPECT_EQ(mfhfixtr_oScreen.bOnFixtures, 1);
  EXPECT_EQ(mfhfixtr_oScreen.iCursor, 0);
  s = FixFrame();
  EXPECT_TRUE(s.HasSprite("framev"));
  EXPECT_FALSE(s.HasSprite("frame"));
  EXPECT_EQ(s.Count(tla_DisplayNameGet(static_cast<int>(Id("ARG")))), 1);
  EXPECT_EQ(s.Count("H"), 2);
  // Now the human team's next fixture.
  Round* pr = nullptr;
  Fixture* pf = nullptr;
  ASSERT_TRUE(history_FixtureFindByTeam(TheYearList, sco, &pr, &pf));
  EXPECT_EQ(pf, fr);
  // Left/Right swap home and away; Up/Down do not move in venue mode.
  FixKeys({11});
  EXPECT_EQ(fr->cTeamA, Id("ARG"));
  EXPECT_EQ(fr->cTeamB, sco);
  s = FixFrame();
  EXPECT_EQ(s.Count("A"), 1);
  FixKeys({10, 10, 9});
  EXPECT_EQ(fr->cTeamA, Id("ARG"));  // two swaps
  EXPECT_EQ(mfhfixtr_oScreen.iCursor, 0);
  // Select goes back to the rows; a second choice replaces the opponent in
  // whichever slot it holds, never the human team.
  ASSERT_EQ(fr->cTeamB, sco);
  EXPECT_EQ(FixKeys({37}), 48);
  EXPECT_EQ(mfhfixtr_oScreen.bRowMode, 1);
  EXPECT_EQ(FixKeys({37}), 9);
  EXPECT_EQ(history_FixtureSlotBGet(fr), 0);  // the opponent stands first
  mfhfixtr_chosenTeam = Id("FRG");
  mfhfixtr_pendingChoice = 1;
  mfhfixtr_Enter();
  EXPECT_EQ(fr->cTeamA, Id("FRG"));
  EXPECT_EQ(fr->cTeamB, sco);
  FixKeys({11});
  EXPECT_EQ(FixKeys({37, 37}), 9);
  EXPECT_EQ(history_FixtureSlotBGet(fr), 1);
  mfhfixtr_chosenTeam = Id("ARG");
  mfhfixtr_pendingChoice = 1;
  mfhfixtr_Enter();
  EXPECT_EQ(fr->cTeamA, sco);
  EXPECT_EQ(fr->cTeamB, Id("ARG"));
  // A played friendly is not arranged again.
  history_FixturePlayedSet(fr, 1);
  EXPECT_EQ(FixKeys({11, 37}), 48);
  EXPECT_EQ(fr->cTeamA, sco);
  EXPECT_EQ(tmreport_CountGet(), 0);
}

// ---- Roll of honour ---------------------------------------------------------------------

TEST_F(HistoryLists, RollBrowsesElevenEditionsAndLeavesToTheHubOrTheNews) {
  Tree t;
  tmmain_RollOfHonourInit(5);
  mfhrole_Enter();
  EXPECT_EQ(pcfe_SheetGet(), MFHROLE_SHEET);
  EXPECT_EQ(mfhrole_oScreen.iEdition, 5);  // 1978
  EXPECT_EQ(mfhrole_oScreen.bBrowsing, 1);
  EXPECT_EQ(mfhrole_oScreen.cUsers, 1);
  struct Case {
    int edition, browsing, code, next, editionAfter, browsingAfter;
  } cases[] = {
      {0, 1, 10, 56, 0, 1},   {10, 1, 11, 56, 10, 1}, {0, 1, 11, 56, 1, 1},  {10, 1, 10, 56, 9, 1},
      {4, 0, 10, 56, 4, 0},   {4, 0, 11, 56, 4, 0},   {4, 1, 9, 56, 4, 0},   {4, 0, 8, 56, 4, 1},
      {4, 1, 37, 56, 4, 1},   {4, 0, 37, 47, 4, 0},   {4, 1, 38, 47, 4, 1},  {4, 1, 56, 47, 4, 1},
      {4, 1, 152, 47, 4, 1},
  };
  for (const Case& c : cases) {
    mfhrole_oScreen.iEdition = c.edition;
    mfhrole_oScreen.bBrowsing = c.browsing;
    global_SetExtendedGameMode(GAME_MODE_NONE);
    EXPECT_EQ(RollKeys({c.code}), c.next) << c.edition << c.browsing << " " << c.code;
    EXPECT_EQ(mfhrole_oScreen.iEdition, c.editionAfter) << c.edition << c.browsing << " " << c.code;
    EXPECT_EQ(mfhrole_oScreen.bBrowsing, c.browsingAfter) << c.edition << c.browsing << " " << c.code;
    if (c.next == 47) {
      EXPECT_EQ(global_eGetExtendedGameMode(), GAME_MODE_HISTORY);
    }
  }
  // Arrows while browsing, within the editions.
  mfhrole_oScreen.bBrowsing = 1;
  mfhrole_oScreen.iEdition = 0;
  Shown s = RollFrame();
  EXPECT_TRUE(s.HasSprite("main"));
  EXPECT_FALSE(s.HasSprite("YArrowL"));
  EXPECT_TRUE(s.HasSprite("YArrowR"));
  mfhrole_oScreen.iEdition = 10;
  s = RollFrame();
  EXPECT_TRUE(s.HasSprite("YArrowL"));
  EXPECT_FALSE(s.HasSprite("YArrowR"));
  mfhrole_oScreen.bBrowsing = 0;
  s = RollFrame();
  EXPECT_FALSE(s.HasSprite("YArrowL") || s.HasSprite("YArrowR"));
  // Leaving: to the hub, or back to the news with its arrival flag.
  for (int fromNews : {0, 1}) {
    mfhrole_bFromNews = fromNews;
    mfhnews_bArrived = 0;
    mfhrole_oScreen.bNeedsEnter = 0;
    mfhrole_oScreen.iEdition = 3;
    FrontEndPush(152);
    pcframe_Begin();
    mfhrole_Run();
    global_GameModeTransition();
    EXPECT_EQ(global_eGetGameMode(), fromNews ? 57 : 47);
    EXPECT_EQ(mfhnews_bArrived, fromNews);
    EXPECT_EQ(mfhrole_bFromNews, 0);
    EXPECT_EQ(mfhrole_oScreen.iEdition, 0);
    EXPECT_EQ(mfhrole_oScreen.bNeedsEnter, 1);
  }
  mfhnews_bArrived = 0;
}

TEST_F(HistoryLists, RollEntryIsFilledOnlyWithDecidedPlaces) {
  // 1978's finals: the third-place match on the 24th, the final on the 25th.
  tmmain_PoolsReset();
  result_RandSeed(3);
  auto line = [](const std::string& key, const std::string& group, const std::string& date, const char* a,
                 const char* b) {
    return key + ",World Cup," + group + ",1,,ko3,,,Winner,,,," + date + ",,," + festr_TMIDToStr(tla_IDFind(a)) + "," +
           festr_TMIDToStr(tla_IDFind(b)) + "\r\n";
  };
  std::string text = line("78", "Group 1", "1/6/77", "SCO", "WAL");
  text += line("F78", "Third", "24/6/78", "BRA", "ITA");
  text += line("F78", "Final", "25/6/78", "ARG", "HOL");
  history_YearTextParse(text.data(), static_cast<int>(text.size()));
  ASSERT_NE(TheYearList, nullptr);
  Year* finals = TheYearList->pNext;
  ASSERT_NE(finals, nullptr);
  history_YearFixturesBuild(finals);
  tmglobal.bFinalsLoaded = 1;
  tmglobal.bPlayQualifiers = 0;
  tmmain_RollOfHonourInit(5);
  const RollOfHonourEntry* e = tmmain_RollOfHonourEntryGet(5);

  // Nothing played: the entry stays empty, the screen says so.
  mfhrole_Enter();
  EXPECT_EQ(e->Winner, 0u);
  EXPECT_EQ(e->Third, 0u);
  Shown s = RollFrame();
  EXPECT_EQ(s.Count("Finals Incomplete"), 1);
  EXPECT_EQ(s.Count("1st"), 0);
  EXPECT_EQ(s.Count(std::string(tla_DisplayNameGet(static_cast<int>(Id("ARG")))) + " 1978"), 1);

  // The third place decided, the final not: still incomplete.
  auto play = [](const char* group) {
    Round* r = history_RoundFindByNames(TheYearList->pNext, group, "1");
    ASSERT_NE(r, nullptr);
    Fixture* f = r->pFixtures;
    ASSERT_NE(f, nullptr);
    history_ScoreSet(f, 2, 1);
    history_FixturePlayedSet(f, 1);
    tmteam_FixtureResultApply(r, history_FixtureTeamA(r, f), f, 1);
    tmteam_FixtureResultApply(r, history_FixtureTeamB(r, f), f, 0);
    r->bComplete = 1;
  };
  play("Third");
  mfhrole_Enter();
  EXPECT_EQ(e->Winner, 0u);
  EXPECT_EQ(e->Third, Id("BRA"));
  EXPECT_EQ(e->Fourth, Id("ITA"));
  s = RollFrame();
  EXPECT_EQ(s.Count("Finals Incomplete"), 1);

  play("Final");
  mfhrole_Enter();
  EXPECT_EQ(e->Winner, Id("ARG"));
  EXPECT_EQ(e->RunnerUp, Id("HOL"));
  s = RollFrame();
  EXPECT_EQ(s.Count("Finals Incomplete"), 0);
  const char* order[4] = {"ARG", "HOL", "BRA", "ITA"};
  const char* labels[4] = {"1st", "2nd", "3rd", "4th"};
  for (int i = 0; i < 4; i++) {
    EXPECT_EQ(s.Count(tla_DisplayNameGet(static_cast<int>(Id(order[i])))), 1) << order[i];
    EXPECT_EQ(s.Count(labels[i]), 1) << labels[i];
  }
  EXPECT_EQ(s.Count("Exit"), 1);
}

TEST_F(HistoryLists, AHistoryFrom1962KeepsThe1958Entry) {
  mfhsetup_oSettings = {62, 1, 1, 1, 5};
  FrontEndPush(37);
  EXPECT_EQ(mfhsetup_Input(&user_aUsers[0]), 9);
  input_EventQueueFlush(&input_poGetPort(0)->oEvents);
  Tree t;
  mfhrole_Enter();
  EXPECT_EQ(mfhrole_oScreen.iEdition, 1);
  Shown s = RollFrame();
  EXPECT_EQ(s.Count("Finals Incomplete"), 1);
  EXPECT_EQ(RollKeys({10, 10}), 56);
  EXPECT_EQ(mfhrole_oScreen.iEdition, 0);
  s = RollFrame();
  const char* order[4] = {"BRA", "SWE", "FRA", "FRG"};
  for (int i = 0; i < 4; i++) EXPECT_EQ(s.Count(tla_DisplayNameGet(static_cast<int>(Id(order[i])))), 1) << order[i];
  EXPECT_EQ(s.Count(std::string(tla_DisplayNameGet(static_cast<int>(Id("SWE")))) + " 1958"), 1);
  EXPECT_EQ(s.Count("Finals Incomplete"), 0);
}

// ---- Art ------------------------------------------------------------------------------------

TEST(HistoryListSheets, EachSheetHoldsItsLayoutsSprites) {
  struct Sheet {
    const char* file;
    const FrontEndLayoutRecord* layout;
    int records;
  } sheets[] = {{"fhfl.spr", mfhfixtr_aoLayout, MFHFIXTR_LAYOUT_RECORDS},
                {"fhroh.spr", mfhrole_aoLayout, MFHROLE_LAYOUT_RECORDS}};
  for (const Sheet& sh : sheets) {
    const auto sizes = FrontEndSheetSpriteSizes(FrontEndBuildData() / "frontend" / sh.file);
    ASSERT_EQ(sizes.size(), static_cast<size_t>(sh.records)) << sh.file;
    for (int i = 0; i < sh.records; i++)
      EXPECT_EQ(sizes[static_cast<size_t>(i)], (std::pair<int, int>{sh.layout[i].w, sh.layout[i].h})) << sh.layout[i].pszName;
  }
}

}  // namespace

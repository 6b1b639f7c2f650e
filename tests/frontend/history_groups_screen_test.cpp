// The history groups and tables screen: layouts and markers by the round's
// rules, the league table's order against a reference sort, the focus machine
// over every focus, event and kind of round, the round it opens on and where
// it leaves to.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "campaign_driver.h"
#include "frontend/frontend_services.h"
#include "frontend/mfhgroup.h"
#include "frontend/mfhgroup_layout.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/user.h"
#include "shell/vsync.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmtree.h"

namespace {

std::uint32_t Id(const char* psz) { return static_cast<std::uint32_t>(tla_IDFind(psz)); }

Round* RoundMake(const char* pszName, std::uint32_t uFormat, std::uint32_t uTieBreak) {
  Round* r = tmmain_RoundAlloc();
  history_RoundInit(r);
  std::strcpy(r->szName, pszName);
  r->uFormat = uFormat;
  r->uTieBreak = uTieBreak;
  return r;
}

Fixture* FixtureAdd(Round* r) {
  Fixture* f = tmmain_FixtureAlloc();
  history_FixtureInit(f);
  Fixture** pp = &r->pFixtures;
  while (*pp) pp = &(*pp)->pNext;
  *pp = f;
  return f;
}

TMTeam* TeamAdd(Round* r, std::uint32_t Name) {
  TMTeam* t = tmmain_TeamAlloc();
  tmteam_TeamInit(t);
  t->Name = Name;
  TMTeam** pp = &r->pTeams;
  while (*pp) pp = &(*pp)->pNext;
  *pp = t;
  return t;
}

}  // namespace

TEST(GroupLayouts, EveryFormatAndTieBreak) {
  tmmain_PoolsReset();
  for (std::uint32_t tb = TB_NONE; tb <= TB_GD3; tb++)
    for (std::uint32_t fmt = FMT_HA; fmt <= FMT_HA1; fmt++) {
      const Round* r = RoundMake("1", fmt, tb);
      std::int32_t want = MFHGROUP_LAYOUT_LEAGUE;
      if (tb == TB_AGG || tb == TB_AGG2) want = MFHGROUP_LAYOUT_TWO_LEGS;
      else if (fmt == FMT_KO) want = MFHGROUP_LAYOUT_KO;
      else if (fmt == FMT_KO1) want = MFHGROUP_LAYOUT_KO_REPLAY;
      else if (fmt == FMT_KO2) want = MFHGROUP_LAYOUT_KO_REPEAT;
      else if (fmt == FMT_KO3) want = MFHGROUP_LAYOUT_KO_PENS;
      else if (fmt == FMT_KO4) want = MFHGROUP_LAYOUT_KO_GOLDEN;
      EXPECT_EQ(mfhgroup_LayoutGet(r), want) << "format " << fmt << " tie-break " << tb;
    }
}

TEST(GroupLayouts, MarkersOfEachKindOfDecidedFixture) {
  tmmain_PoolsReset();
  enum { E = MFHGROUP_MARK_EXTRA, P = MFHGROUP_MARK_PENALTIES, C = MFHGROUP_MARK_COIN_TOSS, G = MFHGROUP_MARK_GOLDEN_GOAL };
  struct Case {
    const char* what;
    std::uint32_t fmt, tb;
    int a, b, ea, eb, pa, pb;
    bool bExtra, bPens, bLots, bPlayed;
    std::uint32_t want;
  } cases[] = {
      {"won in normal time", FMT_KO, TB_NONE, 2, 1, 0, 0, 0, 0, false, false, false, true, 0},
      {"extra time", FMT_KO, TB_NONE, 1, 1, 1, 0, 0, 0, true, false, false, true, E},
      {"not played yet", FMT_KO3, TB_NONE, 0, 0, 0, 0, 0, 0, true, true, false, false, 0},
      {"penalties after extra time", FMT_KO3, TB_NONE, 1, 1, 0, 0, 5, 4, true, true, false, true, E | P},
      {"replayed tie drawn", FMT_KO1, TB_NONE, 1, 1, 0, 0, 0, 0, true, false, false, true, E},
      {"replay decided by lots", FMT_KO1, TB_NONE, 0, 0, 0, 0, 0, 0, true, false, true, true, E | C},
      {"repeated until decided", FMT_KO2, TB_NONE, 1, 1, 2, 1, 0, 0, true, false, false, true, E},
      {"golden goal", FMT_KO4, TB_NONE, 0, 0, 1, 0, 0, 0, true, false, false, true, G},
      {"no golden goal, penalties", FMT_KO4, TB_NONE, 0, 0, 0, 0, 3, 2, true, true, false, true, P},
      {"second leg to extra time", FMT_HA, TB_AGG, 1, 0, 1, 0, 0, 0, true, false, false, true, E},
      {"second leg to penalties", FMT_HA, TB_AGG2, 1, 0, 0, 0, 4, 2, true, true, false, true, E | P},
      {"lots outside their format", FMT_KO3, TB_NONE, 0, 0, 0, 0, 0, 0, false, false, true, true, 0},
      {"league match", FMT_HA, TB_GD2, 3, 3, 0, 0, 0, 0, false, false, false, true, 0},
  };
  for (const Case& c : cases) {
    Round* r = RoundMake("1", c.fmt, c.tb);
    Fixture* f = FixtureAdd(r);
    if (c.bPlayed) {
      history_FixturePlayedSet(f, 1);
      history_ScoreSet(f, c.a, c.b);
    }
    if (c.bExtra) history_ExtraTimeScoreSet(f, c.ea, c.eb);
    if (c.bPens) history_PenaltyScoreSet(f, c.pa, c.pb);
    if (c.bLots) history_LotsSet(f, 0);
    EXPECT_EQ(mfhgroup_MarkersGet(r, f), c.want) << c.what;
  }
}

TEST(GroupLeagueTable, SortedLikeAStableReferenceSort) {
  std::mt19937 rng(4242);
  for (int iTable = 0; iTable < 300; iTable++) {
    tmmain_PoolsReset();
    Round* r = RoundMake("1", FMT_HA, TB_GD2);
    const int n = 1 + static_cast<int>(rng() % 12);
    std::vector<TMTeam*> ref;
    for (int i = 0; i < n; i++) {
      TMTeam* t = TeamAdd(r, static_cast<std::uint32_t>(10 + i));
      // Narrow ranges: many teams level on points, difference or goals.
      t->cPoints = static_cast<std::uint8_t>(rng() % 4);
      t->cFor = static_cast<std::uint8_t>(rng() % 4);
      t->cAgainst = static_cast<std::uint8_t>(rng() % 4);
      t->bTieBreak = rng() % 5 == 0;
      ref.push_back(t);
    }
    auto key = [](const TMTeam* t) {
      return std::make_tuple(t->cPoints - (t->bTieBreak ? 1 : 0), t->cFor - t->cAgainst, int{t->cFor});
    };
    std::stable_sort(ref.begin(), ref.end(), [&](const TMTeam* a, const TMTeam* b) { return key(a) > key(b); });
    TMTeam* ap[MFHGROUP_TABLE_MAX];
    ASSERT_EQ(mfhgroup_LeagueSort(r, ap), n);
    for (int i = 0; i < n; i++) EXPECT_EQ(ap[i], ref[static_cast<size_t>(i)]) << "table " << iTable << " row " << i;
  }
  // Level on points and difference: more goals first; fully level: file order.
  tmmain_PoolsReset();
  Round* r = RoundMake("1", FMT_ONCE, TB_GD2);
  TMTeam* a = TeamAdd(r, 1);
  TMTeam* b = TeamAdd(r, 2);
  TMTeam* c = TeamAdd(r, 3);
  a->cPoints = b->cPoints = c->cPoints = 4;
  a->cFor = 2, a->cAgainst = 1;
  b->cFor = 3, b->cAgainst = 2;
  c->cFor = 2, c->cAgainst = 1;
  TMTeam* ap[MFHGROUP_TABLE_MAX];
  mfhgroup_LeagueSort(r, ap);
  EXPECT_EQ(ap[0], b);
  EXPECT_EQ(ap[1], a);
  EXPECT_EQ(ap[2], c);
}

namespace {

void Push(int code) {
  InputEvent* e = nullptr;
  ASSERT_TRUE(input_bEventAlloc(&e));
  e->eEvent = code;
  queue_Append(&input_poGetPort(0)->oEvents, &e->oLink);
}

int Keys(std::initializer_list<int> codes) {
  for (int c : codes) Push(c);
  return mfhgroup_Input(&user_aUsers[0]);
}

// Three confederations; the middle one has three groups: "G1" a league of
// seven, the second (named "G2", or unnamed) a league, "G3" a knock-out.
class GroupScreen : public ::testing::Test {
 protected:
  void TreeBuild(bool bSecondNamed) {
    tmmain_PoolsReset();
    Year* y = tmmain_YearAlloc();
    history_YearInit(y);
    Confederation** ppc = &y->pConfs;
    for (const char* pszConf : {"North", "Middle", "South"}) {
      Confederation* c = tmmain_ConfAlloc();
      history_ConfInit(c);
      std::strcpy(c->szName, pszConf);
      *ppc = c;
      ppc = &c->pNext;
      Group** ppg = &c->pGroups;
      const int cGroups = std::strcmp(pszConf, "Middle") == 0 ? 3 : 1;
      for (int i = 0; i < cGroups; i++) {
        Group* g = tmmain_GroupAlloc();
        history_GroupInit(g);
        std::snprintf(g->szName, sizeof g->szName, "G%d", i + 1);
        if (i == 1 && !bSecondNamed) g->szName[0] = '\0';
        g->pRounds = RoundMake(i == 2 ? "2" : "1", i == 2 ? FMT_KO : FMT_HA, TB_GD2);
        for (int t = 0; t < (i == 0 ? 7 : 2); t++) TeamAdd(g->pRounds, static_cast<std::uint32_t>(20 + 10 * i + t));
        for (int f = 0; f < (i == 0 ? 8 : 1); f++) FixtureAdd(g->pRounds);
        *ppg = g;
        ppg = &g->pNext;
      }
    }
    TheYearList = y;
    tmglobal.bPlayQualifiers = 1;
    tmglobal.bFinalsLoaded = 0;
  }
  void SetUp() override {
    vsync_Init();
    tmglobal_Reset();
    tmglobal.cHumans = 1;
    user_aUsers[0].bActive = 1;
    user_aUsers[0].pip = input_poGetPort(0);
    global_SetMenuUser(&user_aUsers[0]);
    input_EventQueueFlush(&input_poGetPort(0)->oEvents);
    mfhgroup_bFromNews = 0;
    mfhnews_bArrived = 0;
  }
  // The screen on the middle confederation's second entry.
  void At(std::int32_t iFocus, std::int32_t iEntry = 1) {
    MFHGroupScreen& s = mfhgroup_oScreen;
    s.iConf = 1;
    mfhgroup_OrderListBuild(history_ConfByIndexGet(TheYearList, 1));
    s.iEntry = iEntry;
    s.iFocus = iFocus;
    s.iView = MFHGROUP_VIEW_TABLE;
    s.iTableRow = s.iTableTop = s.iResultsRow = s.iResultsTop = 0;
  }
  void TearDown() override {
    input_EventQueueFlush(&input_poGetPort(0)->oEvents);
    pcframe_Begin();
    tmmain_PoolsReset();
    TheYearList = nullptr;
    tmglobal_Reset();
    mfhgroup_bFromNews = 0;
    mfhnews_bArrived = 0;
  }
};

std::string State(std::int32_t eMode) {
  const MFHGroupScreen& s = mfhgroup_oScreen;
  char sz[64];
  std::snprintf(sz, sizeof sz, "f%d c%d e%d v%d r%d m%d", s.iFocus, s.iConf, s.iEntry, s.iView, s.iTableRow, eMode);
  return sz;
}

}  // namespace

TEST_F(GroupScreen, EveryFocusEventAndKindOfRound) {
  const int kEvents[9] = {8, 9, 10, 11, 37, 38, 56, 152, 157};
  // Per focus the outcome of up, down, left, right, select, back, start,
  // escape and the focus key, from the middle confederation's second entry.
  // Named group first, then the differences for an unnamed one.
  const char* const kNamed[6][9] = {
      {"f5 c1 e1 v1 r0 m55", "f1 c1 e1 v1 r0 m55", "f0 c0 e0 v1 r0 m55", "f0 c2 e0 v1 r0 m55", "f1 c1 e1 v1 r0 m55",
       "f0 c1 e1 v1 r0 m47", "f0 c1 e1 v1 r0 m47", "f0 c1 e1 v1 r0 m47", "f1 c1 e1 v1 r0 m55"},
      {"f0 c1 e1 v1 r0 m55", "f3 c1 e1 v1 r0 m55", "f1 c1 e0 v1 r0 m55", "f1 c1 e2 v1 r0 m55", "f2 c1 e1 v1 r0 m55",
       "f1 c1 e1 v1 r0 m47", "f1 c1 e1 v1 r0 m47", "f1 c1 e1 v1 r0 m47", "f3 c1 e1 v1 r0 m55"},
      {"f2 c1 e1 v1 r0 m55", "f2 c1 e1 v1 r1 m55", "f2 c1 e1 v1 r0 m55", "f2 c1 e1 v1 r0 m55", "f5 c1 e1 v1 r0 m55",
       "f1 c1 e1 v1 r0 m55", "f2 c1 e1 v1 r0 m47", "f2 c1 e1 v1 r0 m47", "f0 c1 e1 v1 r0 m55"},
      {"f1 c1 e1 v1 r0 m55", "f5 c1 e1 v1 r0 m55", "f1 c1 e1 v1 r0 m55", "f5 c1 e1 v1 r0 m55", "f3 c1 e1 v2 r0 m55",
       "f3 c1 e1 v1 r0 m47", "f3 c1 e1 v1 r0 m47", "f3 c1 e1 v1 r0 m47", "f0 c1 e1 v1 r0 m55"},
      {"f3 c1 e1 v1 r0 m55", "f5 c1 e1 v1 r0 m55", "f3 c1 e1 v1 r0 m55", "f5 c1 e1 v1 r0 m55", "f4 c1 e1 v1 r0 m55",
       "f4 c1 e1 v1 r0 m47", "f4 c1 e1 v1 r0 m47", "f4 c1 e1 v1 r0 m47", "f0 c1 e1 v1 r0 m55"},
      {"f3 c1 e1 v1 r0 m55", "f0 c1 e1 v1 r0 m55", "f3 c1 e1 v1 r0 m55", "f0 c1 e1 v1 r0 m55", "f5 c1 e1 v1 r0 m47",
       "f5 c1 e1 v1 r0 m47", "f5 c1 e1 v1 r0 m47", "f5 c1 e1 v1 r0 m47", "f0 c1 e1 v1 r0 m55"},
  };
  struct Diff {
    int focus, event;
    const char* want;
  } kUnnamed[] = {
      {0, 9, "f3 c1 e1 v1 r0 m55"},   // down past the group selector
      {0, 37, "f2 c1 e1 v1 r0 m55"},  // select straight into the table
      {0, 157, "f3 c1 e1 v1 r0 m55"},
      {3, 8, "f0 c1 e1 v1 r0 m55"},   // up past the group selector
      {3, 10, "f0 c1 e1 v1 r0 m55"},
  };
  for (bool bNamed : {true, false}) {
    TreeBuild(bNamed);
    // The second group's round is the second entry; the table area
    // scrolls over the first group's seven rows, so start there for focus 2.
    for (int focus = 0; focus < 6; focus++)
      for (int k = 0; k < 9; k++) {
        At(focus, focus == 2 ? 0 : 1);
        const int e = kEvents[k];
        std::string want = kNamed[focus][k];
        if (focus == 2) want[7] = '0';  // entry 0
        if (!bNamed && focus != 2)
          for (const Diff& d : kUnnamed)
            if (d.focus == focus && d.event == e) want = d.want;
        const int m = Keys({e});
        EXPECT_EQ(State(m), want) << (bNamed ? "named" : "unnamed") << " focus " << focus << " event " << e;
      }
  }
  // Back from the table of a round without a group name: the confederation selector.
  At(MFHGROUP_FOCUS_AREA, 1);
  EXPECT_EQ(State(Keys({38})), "f0 c1 e1 v1 r0 m55");
}

TEST_F(GroupScreen, ScrollWindowsFollowTheCursorAndResetOnChanges) {
  TreeBuild(true);
  At(MFHGROUP_FOCUS_AREA, 0);  // "G1": seven teams, eight fixtures
  MFHGroupScreen& s = mfhgroup_oScreen;
  for (int i = 0; i < 9; i++) Keys({9});
  EXPECT_EQ(s.iTableRow, 6);
  EXPECT_EQ(s.iTableTop, 2);
  Keys({8, 8, 8, 8, 8});
  EXPECT_EQ(s.iTableRow, 1);
  EXPECT_EQ(s.iTableTop, 1);
  // The results have a window of their own.
  s.iView = MFHGROUP_VIEW_RESULTS;
  for (int i = 0; i < 9; i++) Keys({9});
  EXPECT_EQ(s.iResultsRow, 7);
  EXPECT_EQ(s.iResultsTop, 3);
  EXPECT_EQ(s.iTableRow, 1);
  // Back resets the results; a step of the group order list resets both.
  Keys({38});
  EXPECT_EQ(s.iFocus, MFHGROUP_FOCUS_GROUP);
  EXPECT_EQ(s.iResultsRow + s.iResultsTop, 0);
  EXPECT_EQ(s.iTableRow, 1);
  Keys({11});
  EXPECT_EQ(s.iEntry, 1);
  EXPECT_EQ(s.iTableRow + s.iTableTop, 0);
  // The ends of the list and of the confederations change nothing.
  Keys({11, 11, 11});
  EXPECT_EQ(s.iEntry, 2);
  Keys({8, 10, 10, 10});
  EXPECT_EQ(s.iConf, 0);
  EXPECT_EQ(s.iEntry, 0);
}

TEST_F(GroupScreen, OpenedByTheNewsItReturnsThereWithTheArrivalFlag) {
  TreeBuild(true);
  At(MFHGROUP_FOCUS_EXIT);
  mfhgroup_bFromNews = 1;
  EXPECT_EQ(Keys({37}), 57);
  EXPECT_EQ(mfhnews_bArrived, 1);
  EXPECT_EQ(mfhgroup_bFromNews, 0);
  mfhnews_bArrived = 0;
  global_SetExtendedGameMode(static_cast<GameMode>(MFHGROUP_MODE));
  EXPECT_EQ(Keys({152}), 47);  // the flag is spent
  EXPECT_EQ(mfhnews_bArrived, 0);
  EXPECT_EQ(global_eGetExtendedGameMode(), GAME_MODE_HISTORY);
}

TEST_F(GroupScreen, OpensOnTheHumanTeamsRound) {
  // No next fixture: the last round that lists the team ("G2" of the middle
  // confederation lists team 30), and from the news the same.
  TreeBuild(true);
  tmglobal.aHumans[0].Name = 30;
  for (int bNews : {0, 1}) {
    mfhgroup_bFromNews = bNews;
    mfhgroup_Reset();
    mfhgroup_Enter();
    EXPECT_EQ(mfhgroup_oScreen.iConf, 1);
    EXPECT_EQ(mfhgroup_oScreen.iEntry, 1);
    EXPECT_EQ(mfhgroup_oScreen.iFocus, MFHGROUP_FOCUS_CONF);
    EXPECT_EQ(mfhgroup_oScreen.iView, MFHGROUP_VIEW_TABLE);
    mfhgroup_Draw();
  }
  // A team in no round: the first confederation, and a screen that draws.
  mfhgroup_bFromNews = 0;
  tmglobal.aHumans[0].Name = 99;
  mfhgroup_Enter();
  EXPECT_EQ(mfhgroup_oScreen.iConf, 0);
  EXPECT_EQ(mfhgroup_oScreen.iEntry, 0);
  mfhgroup_Draw();
  // No year at all: an empty list.
  TheYearList = nullptr;
  mfhgroup_Enter();
  EXPECT_EQ(mfhgroup_OrderListSize(), 0);
  mfhgroup_Draw();
}

TEST(GroupScreenCampaign, OpensOnTheRoundOfTheNextFixture) {
  // Through the qualifiers and the finals of a campaign: the round of the
  // entry it opens on is the next fixture's round, or one of the same stage.
  const std::uint32_t Team = Id("SCO");
  Campaign c(Team, Script::Win, 3);
  int cChecked = 0;
  for (std::int32_t iYear : {74, 86, 98}) {
    if (!c.EditionStart(iYear)) continue;
    for (int i = 0; i < 40; i++) {
      Round* r = nullptr;
      Fixture* f = nullptr;
      if (history_FixtureFindByTeam(tmgame_CurrentYearGet(), Team, &r, &f) && r->szName[0] >= '1' &&
          r->szName[0] <= ':') {
        mfhgroup_bFromNews = 0;
        mfhgroup_Enter();
        const Round* shown = mfhgroup_OrderRoundGet(mfhgroup_oScreen.iEntry);
        EXPECT_STREQ(shown->szName, r->szName);
        // Another group's round of the same stage when the stage's long name
        // is listed once ("Play Off").
        EXPECT_TRUE(shown == r || (r->szLongName[0] && std::strcmp(shown->szLongName, r->szLongName) == 0))
            << "19" << iYear << " " << r->szName;
        mfhgroup_Draw();
        pcframe_Begin();
        cChecked++;
      }
      if (!c.MatchPlay()) break;
    }
    c.EditionFinish();
  }
  EXPECT_GT(cChecked, 10);
}

namespace {

// What one drawn frame holds: the sheet sprites by index and the texts.
struct Drawn {
  std::vector<int> sprites;
  std::vector<std::string> texts;
  bool Has(const std::string& s) const { return std::find(texts.begin(), texts.end(), s) != texts.end(); }
  bool HasSprite(int i) const { return std::find(sprites.begin(), sprites.end(), i) != sprites.end(); }
};

Drawn FrameDraw() {
  pcframe_Begin();
  mfhgroup_Draw();
  Drawn d;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i; i = i->pNext) {
      if (i->uKind == PCFRAME_KIND_BACKDROP_SPRITE && i->aiCoord[2] == 11) d.sprites.push_back(i->aiCoord[3]);
      if (i->uKind == PCFRAME_KIND_TEXT && i->pszText) d.texts.push_back(i->pszText);
    }
  pcframe_Begin();
  return d;
}

}  // namespace

TEST(GroupScreenCampaign, FramesShowTheLayoutsSpritesAndTexts) {
  // 1998, Scotland's qualifying group: a league table in the first view,
  // its results in the second; a two-leg play-off in the same confederation.
  const std::uint32_t Team = Id("SCO");
  Campaign c(Team, Script::Win, 3);
  ASSERT_TRUE(c.EditionStart(98));
  for (int i = 0; i < 4; i++) c.MatchPlay();
  mfhgroup_bFromNews = 0;
  mfhgroup_Reset();
  mfhgroup_Enter();
  const Round* r = mfhgroup_OrderRoundGet(mfhgroup_oScreen.iEntry);
  ASSERT_EQ(mfhgroup_LayoutGet(r), MFHGROUP_LAYOUT_LEAGUE);
  Drawn d = FrameDraw();
  for (int i = 0; i < 4; i++) EXPECT_TRUE(d.HasSprite(i)) << i;  // the backdrop layers
  for (int i = 4; i < 9; i++) EXPECT_TRUE(d.HasSprite(i)) << i;  // five rows of the table
  EXPECT_TRUE(d.HasSprite(10));                                   // the titles' strip
  EXPECT_TRUE(d.HasSprite(15) || d.HasSprite(16));                // the confederation arrows
  for (const char* psz : {"P", "W", "D", "L", "F", "A", "Pts", "UEFA", "Results", "Exit"}) EXPECT_TRUE(d.Has(psz)) << psz;
  EXPECT_TRUE(d.Has(tla_DisplayNameGet(static_cast<std::int32_t>(Team))));
  // Four matches played: Scotland's row shows them.
  EXPECT_TRUE(d.Has("4"));

  // The results: scores first, dates at the end where nothing is played yet.
  auto any = [](const Drawn& dd, bool bDate) {
    for (const std::string& s : dd.texts)
      if (bDate ? (s.size() == 8 && s[2] == '/' && s[5] == '/') : (s.size() >= 5 && s.find(" - ") != std::string::npos))
        return true;
    return false;
  };
  mfhgroup_oScreen.iView = MFHGROUP_VIEW_RESULTS;
  d = FrameDraw();
  EXPECT_TRUE(d.HasSprite(9));   // the results panel
  EXPECT_TRUE(d.HasSprite(13));  // score covers
  EXPECT_TRUE(d.Has("Group Tables"));
  EXPECT_FALSE(d.Has("Pts"));
  EXPECT_TRUE(any(d, false));
  mfhgroup_oScreen.iResultsTop = history_FixtureCountGet(r) - MFHGROUP_WINDOW;
  d = FrameDraw();
  EXPECT_TRUE(any(d, true));
  EXPECT_FALSE(any(d, false));

  // The play-offs of the same confederation: two legs side by side.
  bool bFound = false;
  for (std::int32_t e = 0; e < mfhgroup_OrderListSize() && !bFound; e++)
    if (mfhgroup_LayoutGet(mfhgroup_OrderRoundGet(e)) == MFHGROUP_LAYOUT_TWO_LEGS) {
      mfhgroup_oScreen.iEntry = e;
      bFound = true;
    }
  ASSERT_TRUE(bFound);
  d = FrameDraw();
  EXPECT_TRUE(d.HasSprite(11) && d.HasSprite(12));
  EXPECT_TRUE(d.Has("1st Leg") && d.Has("2nd"));
  c.EditionFinish();
}

TEST(GroupSheet, HoldsOneSpritePerLayoutRecordOfItsSize) {
  const char* build = std::getenv("KORVENA_BUILD_DIR");
  ASSERT_NE(build, nullptr);
  std::ifstream in(std::filesystem::path(build) / "data" / "frontend" / "fhgt.spr", std::ios::binary);
  const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto u16 = [&](size_t i) { return static_cast<int>(b.at(i) | (b.at(i + 1) << 8)); };
  auto u32 = [&](size_t i) { return static_cast<size_t>(u16(i)) | (static_cast<size_t>(u16(i + 2)) << 16); };
  size_t count = 0, table = 0;
  for (size_t at = 0; at + 6 <= b.size();) {
    const size_t len = u32(at + 2);
    if (len < 6) break;
    if (u16(at) == 2) count = static_cast<size_t>(u16(at + 6));
    if (u16(at) == 6) table = at + 6;
    at += len;
  }
  ASSERT_EQ(count, static_cast<size_t>(MFHGROUP_LAYOUT_RECORDS));
  ASSERT_NE(table, 0u);
  for (size_t i = 0; i < count; i++) {
    const FrontEndLayoutRecord& r = mfhgroup_aoLayout[i];
    EXPECT_EQ(u16(table + 10 * i), r.w) << r.pszName;
    EXPECT_EQ(u16(table + 10 * i + 2), r.h) << r.pszName;
  }
}

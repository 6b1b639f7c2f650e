// The history hub's match half over real generated editions and the player
// database: the sides of the next fixture, the team sheets kept across
// matches, the second leg, the round's stadiums, the hub's hand-overs to the
// match and the team sheet, and the forced score.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/team.h"
#include "frontend/frontend_services.h"
#include "frontend/mfhmain.h"
#include "frontend/mfhmain_layout.h"
#include "frontend/mfhsetup.h"
#include "frontend/pcfe.h"
#include "frontend/mregion.h"
#include "frontend/mtatics.h"
#include "frontend/mteam.h"
#include "frontend/screen_tools.h"
#include "matchflow/environ.h"
#include "matchflow/matcha.h"
#include "platform/paths.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/texts.h"
#include "shell/user.h"
#include "support/match_harness.h"
#include "tournament/dbplayer.h"
#include "tournament/result.h"
#include "tournament/squad.h"
#include "tournament/stadium.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"

namespace mh = match_harness;
namespace fs = std::filesystem;

namespace {

int Keys(std::initializer_list<int> codes) { return FrontEndKeys(mfhmain_Input, codes); }

std::uint32_t Id(const char* psz) { return static_cast<std::uint32_t>(tla_IDFind(psz)); }

class HistoryMatch : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
    // The generated year files beside the test's database.
    const char* pszBuild = std::getenv("KORVENA_BUILD_DIR");
    const fs::path from = (pszBuild ? fs::path(pszBuild) : fs::read_symlink("/proc/self/exe").parent_path().parent_path()) /
                          "data" / "database" / "tm";
    const fs::path to = fs::path(platform::executableDir()).parent_path() / "data" / "database" / "tm";
    if (!fs::exists(to)) {
      fs::create_directories(to);
      fs::copy(from, to, fs::copy_options::recursive);
    }
    mlang_iLanguage = 0;
    for (int i = 0; i < USER_MAX; i++) {
      user_aUsers[i].pip = input_poGetPort(i);
      user_aUsers[i].bActive = i == 0;
      input_EventQueueFlush(&user_aUsers[i].pip->oEvents);
    }
    global_SetMenuUser(&user_aUsers[0]);
    global_SetExtendedGameMode(GAME_MODE_HISTORY);
    squadcache_Clear();
    match_HomeSquadSet(nullptr);
    match_AwaySquadSet(nullptr);
    tmgame_FlowReset();
    mfhmain_Reset();
    mfhmain_ForcedScoreDisarm();
  }
  void TearDown() override {
    input_EventQueueFlush(&input_poGetPort(0)->oEvents);
    tmmain_PoolsReset();
    tmglobal_Reset();
    TheYearList = nullptr;
    global_SetHomeUser(nullptr);
    global_SetAwayUser(nullptr);
  }
  // An edition with one human team: its finals, or its qualifiers.
  void Load(int year, const char* team, bool qualifiers) {
    tmmain_PoolsReset();
    tmglobal_Reset();
    tmglobal.aHumans[0].Name = Id(team);
    tmglobal.cHumans = 1;
    tmglobal.iCurrentHuman = 0;
    tmglobal.iYear = year;
    tmglobal.bPlayQualifiers = qualifiers ? 1 : 0;
    tmmain_YearStart(qualifiers ? 1 : 0, 1, year);
    tmmain_CurrentYearCache();
    ASSERT_NE(tmgame_CurrentYearGet(), nullptr);
    ASSERT_EQ(tmglobal.bFinalsLoaded, qualifiers ? 0 : 1);
    mfhmain_Reset();
    mfhmain_Enter();
    mfhmain_oScreen.iInputDelay = 0;
  }
  bool Next(Round** r, Fixture** f) {
    return history_FixtureFindByTeam(tmgame_CurrentYearGet(), tmglobal.aHumans[0].Name, r, f) != 0;
  }
  int Prepare() { return mfhmain_MatchPrepare(tmgame_CurrentYearGet(), 0, &tmglobal.aHumans[0]); }
  static int TeamOf(const MatchTeam* t) { return t->Squad ? t->Squad->iTeamId : -1; }
};

TEST_F(HistoryMatch, SidesFollowTheFixtureWithTheHumanTeamInTheFirstSlot) {
  for (const char* team : {"BRA", "USA", "SUI"}) {
    SCOPED_TRACE(team);
    Load(94, team, false);
    Round* r = nullptr;
    Fixture* f = nullptr;
    ASSERT_TRUE(Next(&r, &f));
    const std::uint32_t a = history_FixtureTeamA(r, f), b = history_FixtureTeamB(r, f);
    ASSERT_EQ(Prepare(), 1);
    EXPECT_EQ(TeamOf(match_HomeTeamGet()), static_cast<int>(a));
    EXPECT_EQ(TeamOf(match_AwayTeamGet()), static_cast<int>(b));
    const bool home = a == Id(team);
    MatchTeam* human = home ? match_HomeTeamGet() : match_AwayTeamGet();
    EXPECT_EQ(human->Squad, squadcache_SlotGet(0));
    EXPECT_EQ(mfhmain_poMatchTeamGet(Id(team)), human);
    EXPECT_EQ(global_poGetHomeUser(), home ? &user_aUsers[0] : nullptr);
    EXPECT_EQ(global_poGetAwayUser(), home ? nullptr : &user_aUsers[0]);
    EXPECT_EQ(user_aUsers[0].MyTeam, home ? 1 : 2);
    EXPECT_EQ(tmglobal_TournamentMatchGet(), 1);
    EXPECT_EQ(tmglobal.iRoundFormat, static_cast<int>(r->uFormat));
    EXPECT_EQ(tmglobal.iTieBreak, static_cast<int>(r->uTieBreak));
    EXPECT_EQ(tmglobal.iMatchPhase, 0);
    for (const MatchTeam* t : {match_HomeTeamGet(), match_AwayTeamGet()}) {
      EXPECT_EQ(team_PresentationFlagGet(t), 1);
      int starters = 0;
      for (const DBPlayer* p = t->poPitchList; p; p = p->poNext) starters++;
      EXPECT_EQ(starters, 11);
    }
  }
}

TEST_F(HistoryMatch, TheTeamSheetSurvivesTheNextPreparationAndTheNextOpponent) {
  Load(94, "BRA", false);
  ASSERT_EQ(Prepare(), 1);
  MatchTeam* human = mfhmain_poMatchTeamGet(Id("BRA"));
  ASSERT_NE(human, nullptr);
  // The player picks another formation and brings a bench player on.
  const int chosen = team_FormationGet(human) == 3 ? 4 : 3;
  team_SetUp(chosen, human);
  team_FormationSave(human);
  DBPlayer* off = human->poPitchList->poNext;
  DBPlayer* on = human->poBenchList;
  ASSERT_NE(on, nullptr);
  const std::string onName = dbplayer_NameGet(on), offName = dbplayer_NameGet(off);
  ASSERT_EQ(team_PlayersSwap(human, off, on, 0), 1);
  auto starts = [&](const std::string& name) {
    MatchTeam* t = mfhmain_poMatchTeamGet(Id("BRA"));
    for (const DBPlayer* p = t ? t->poPitchList : nullptr; p; p = p->poNext)
      if (name == dbplayer_NameGet(p)) return true;
    return false;
  };
  ASSERT_EQ(Prepare(), 1);
  EXPECT_EQ(team_FormationGet(mfhmain_poMatchTeamGet(Id("BRA"))), chosen);
  EXPECT_TRUE(starts(onName));
  EXPECT_FALSE(starts(offName));
  // The fixture is played; the next one has another opponent.
  Round* r = nullptr;
  Fixture* f = nullptr;
  ASSERT_TRUE(Next(&r, &f));
  const std::uint32_t first = history_FixtureTeamA(r, f) == Id("BRA") ? history_FixtureTeamB(r, f) : history_FixtureTeamA(r, f);
  history_FixturePlayedSet(f, 1);
  ASSERT_TRUE(Next(&r, &f));
  const std::uint32_t second = history_FixtureTeamA(r, f) == Id("BRA") ? history_FixtureTeamB(r, f) : history_FixtureTeamA(r, f);
  ASSERT_NE(first, second);
  ASSERT_EQ(Prepare(), 1);
  EXPECT_NE(mfhmain_poMatchTeamGet(second), nullptr);
  EXPECT_EQ(mfhmain_poMatchTeamGet(first), nullptr);
  EXPECT_EQ(team_FormationGet(mfhmain_poMatchTeamGet(Id("BRA"))), chosen);
  EXPECT_TRUE(starts(onName));
  // A new front-end start forgets the kept sheets: the edition's formation.
  mfhmain_Reset();
  squadcache_Clear();
  ASSERT_EQ(Prepare(), 1);
  EXPECT_EQ(team_FormationGet(mfhmain_poMatchTeamGet(Id("BRA"))),
            mteam_FormationGet(mteam_FindConference(static_cast<int>(Id("BRA"))), tmglobal_EditionGet()));
}

TEST_F(HistoryMatch, TheSecondLegOfAnAggregateTieFollowsThePlayedFirstLeg) {
  // A two-legged tie of the 1994 qualifiers whose teams both have squads.
  bool found = false;
  for (int attempt = 0; attempt < 40 && !found; attempt++) {
    Load(94, "BRA", true);
    int seen = 0;
    for (Confederation* c = tmgame_CurrentYearGet()->pConfs; c && !found; c = c->pNext)
      for (Group* g = c->pGroups; g && !found; g = g->pNext)
        for (Round* r = g->pRounds; r && !found; r = r->pNext) {
          if ((r->uTieBreak != TB_AGG && r->uTieBreak != TB_AGG2) || history_FixtureCountGet(r) != 2) continue;
          Fixture* f0 = history_FixtureGet(r, 0);
          const std::uint32_t a = history_FixtureTeamA(r, f0);
          if (!tmteam_IsProperName(a) || !tmteam_IsProperName(history_FixtureTeamB(r, f0))) continue;
          if (seen++ != attempt) continue;
          tmglobal.aHumans[0].Name = a;
          Round* nr = nullptr;
          Fixture* nf = nullptr;
          if (!Next(&nr, &nf) || nr != r || nf != f0 || Prepare() != 1) continue;
          found = true;
          EXPECT_EQ(tmglobal.bSecondLeg, 0);
          history_FixturePlayedSet(f0, 1);
          ASSERT_TRUE(Next(&nr, &nf));
          ASSERT_EQ(nf, history_FixtureGet(r, 1));
          ASSERT_EQ(Prepare(), 1);
          EXPECT_EQ(tmglobal.bSecondLeg, 1);
          // The legs swap the grounds: the human side changes ends.
          EXPECT_EQ(TeamOf(match_HomeTeamGet()), static_cast<int>(history_FixtureTeamA(r, nf)));
        }
    if (seen <= attempt) break;
  }
  EXPECT_TRUE(found);
}

TEST_F(HistoryMatch, ARoundsStadiumsAreDrawnEvenlyAndARoundWithoutAListPlaysAtHome) {
  Load(94, "BRA", false);
  Round* r = nullptr;
  Fixture* f = nullptr;
  ASSERT_TRUE(Next(&r, &f));
  // The list names rows of the stadium table (a listed 0 is row 0).
  StadiumLink links[3] = {{0, &links[1]}, {40, &links[2]}, {117, nullptr}};
  r->pStadiums = links;
  std::map<int, int> counts;
  const int n = 600;
  for (int i = 0; i < n; i++) {
    ASSERT_EQ(Prepare(), 1);
    counts[environ_StadiumGet()]++;
  }
  ASSERT_EQ(counts.size(), 3u);
  for (int id : {0, 40, 117}) {
    EXPECT_GT(counts[id], n / 3 - 60) << id;
    EXPECT_LT(counts[id], n / 3 + 60) << id;
  }
  // Without a list: the home side's ground, with no fault reported.
  r->pStadiums = nullptr;
  tmreport_CountReset();
  ASSERT_EQ(Prepare(), 1);
  EXPECT_EQ(environ_StadiumGet(), stadium_HomeFind(TeamOf(match_HomeTeamGet()), tmglobal_EditionGet()));
  EXPECT_EQ(tmreport_CountGet(), 0);
}

TEST_F(HistoryMatch, HubItemsHandOverByFinalsAndNextFixture) {
  struct Case {
    int finals, fixture, item, mode, extended, side;
  } cases[] = {
      {0, 0, 0, 47, 49, -1}, {0, 0, 1, 47, 49, -1}, {0, 0, 2, 47, 49, -1}, {0, 0, 5, 47, 49, -1},
      {0, 1, 1, 13, 51, 0},  {0, 1, 2, 13, 54, 0},  {0, 1, 5, 13, 71, 1},  {0, 1, 0, 22, 49, -1},
      {1, 1, 1, 13, 51, 0},  {1, 1, 2, 47, 49, -1}, {1, 1, 5, 13, 71, 1},  {1, 1, 0, 22, 49, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.finals << c.fixture << " item " << c.item);
    Load(94, "BRA", c.finals == 0);
    if (!c.fixture) {
      // The human team is out of this edition.
      tmglobal.aHumans[0].Name = Id("DDR");
      ASSERT_EQ(mfhmain_bHasNextFixture(), 0);
    }
    for (TacticsSide& s : mteam_aoSides) s.poTeamPlayerTeam = nullptr;
    global_SetExtendedGameMode(GAME_MODE_HISTORY);
    mfhmain_oScreen.iCursor = c.item;
    tmglobal_NormalTimeScoreSet(3, 1);  // the last match's score
    EXPECT_EQ(Keys({37}), c.mode);
    EXPECT_EQ(global_eGetExtendedGameMode(), c.extended);
    if (c.side >= 0) {
      Round* r = nullptr;
      Fixture* f = nullptr;
      ASSERT_TRUE(Next(&r, &f));
      const std::uint32_t a = history_FixtureTeamA(r, f);
      const std::uint32_t want = c.side == 0 ? Id("BRA") : (a == Id("BRA") ? history_FixtureTeamB(r, f) : a);
      ASSERT_NE(mteam_aoSides[c.side].poTeamPlayerTeam, nullptr);
      EXPECT_EQ(mteam_aoSides[c.side].poTeamPlayerTeam, mfhmain_poMatchTeamGet(want));
      EXPECT_EQ(mteam_aoSides[c.side].iCurrentFormation, team_FormationGet(mteam_aoSides[c.side].poTeamPlayerTeam));
      EXPECT_EQ(mteam_aoSides[c.side].iCursorItem, c.extended == 54 ? 24 : 0);
    }
    if (c.mode == 22) {
      EXPECT_EQ(tmgame_ResultPendingGet(), 1);
      EXPECT_EQ(tmglobal.cNormalA + tmglobal.cNormalB, 0);
      EXPECT_EQ(tmglobal_TournamentMatchGet(), 1);
      EXPECT_TRUE(tmgame_AreDueFixturesPlayed(tmgame_CurrentYearGet()));
    }
    tmgame_FlowReset();
  }
}

TEST_F(HistoryMatch, TheHubShowsTheNextFixture) {
  Load(94, "BRA", false);
  Round* r = nullptr;
  Fixture* f = nullptr;
  ASSERT_TRUE(Next(&r, &f));
  pcframe_Begin();
  mfhmain_Draw();
  std::map<std::string, int> texts;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i; i = i->pNext)
      if (i->uKind == PCFRAME_KIND_TEXT) texts[i->pszText]++;
  const FixtureDate* d = tmglobal_FixtureDateGet(r, f->cDate);
  const std::string date = std::to_string(d->cDay) + "." + std::to_string(d->cMonth) + "." + std::to_string(d->cYear);
  for (const std::string& s : {std::string(tla_DisplayNameGet(static_cast<int>(history_FixtureTeamA(r, f)))),
                               std::string(tla_DisplayNameGet(static_cast<int>(history_FixtureTeamB(r, f)))),
                               std::string("v"), date, std::string(tmgame_RoundTitleGet())})
    EXPECT_EQ(texts[s], s == "Brazil" ? 4 : 2) << s;  // each with its shadow
  EXPECT_EQ(texts.count("FORCE SCORE 0 0"), 0u);
}

TEST_F(HistoryMatch, TheTeamSheetsHeaderNamesTheNextOpponent) {
  Load(94, "BRA", false);
  Round* r = nullptr;
  Fixture* f = nullptr;
  ASSERT_TRUE(Next(&r, &f));
  const std::uint32_t a = history_FixtureTeamA(r, f);
  const std::string opponent = tla_DisplayNameGet(static_cast<int>(a == Id("BRA") ? history_FixtureTeamB(r, f) : a));
  mfhmain_oScreen.iCursor = 1;
  ASSERT_EQ(Keys({37}), 13);
  auto header = [] {
    pcframe_Begin();
    mtatdisp_HistoryHeaderDraw();
    std::vector<std::pair<std::string, int>> v;
    for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
      for (DrawItem* i = l->poFirstItem; i; i = i->pNext)
        if (i->uKind == PCFRAME_KIND_TEXT) v.push_back({i->pszText, i->aiCoord[0]});
    return v;
  };
  auto v = header();
  ASSERT_EQ(v.size(), 4u);  // two names, each with its shadow
  std::map<std::string, int> x;
  for (const auto& [text, at] : v) x[text] = std::max(x[text], at);
  ASSERT_EQ(x.size(), 2u);
  ASSERT_EQ(x.count("Brazil"), 1u);
  ASSERT_EQ(x.count(opponent), 1u);
  EXPECT_LT(x["Brazil"], x[opponent]);  // the human team on the left
  // No next fixture: no names.
  tmglobal.aHumans[0].Name = Id("DDR");
  EXPECT_TRUE(header().empty());
}

TEST_F(HistoryMatch, TheBackdropsPanelsFrameEveryTextOfTheSetupAndTheHub) {
  auto framed = [](const MFHPanel* panels, int n, const char* what) {
    int texts = 0;
    for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
      for (DrawItem* i = l->poFirstItem; i; i = i->pNext) {
        if (i->uKind != PCFRAME_KIND_TEXT || !*i->pszText) continue;
        texts++;
        bool inside = false;
        for (int k = 0; k < n; k++) {
          const MFHPanel& p = panels[k];
          inside = inside || (i->aiCoord[0] >= pcfe_ScaleX640(p.x) && i->aiCoord[0] < pcfe_ScaleX640(p.x + p.w) &&
                              i->aiCoord[1] >= pcfe_ScaleY480(p.y) && i->aiCoord[1] < pcfe_ScaleY480(p.y + p.h));
        }
        EXPECT_TRUE(inside) << what << ": \"" << i->pszText << "\" at " << i->aiCoord[0] << "," << i->aiCoord[1];
      }
    return texts;
  };
  Load(94, "BRA", false);
  pcframe_Begin();
  mfhmain_Draw();
  EXPECT_GE(framed(mfhmain_aoPanels, MFHMAIN_PANELS, "hub"), 2 * (2 + 8 + 5));
  pcframe_Begin();
  mfhsetup_Draw();
  EXPECT_EQ(framed(mfhsetup_aoPanels, MFHSETUP_PANELS, "set-up"), 2 * 6);
}

TEST_F(HistoryMatch, TheForcedScoreArmsOnItsPatternAndCountsWithAWrap) {
  auto pattern = [] {
    for (int bit = 11; bit >= 0; bit--) Keys({(MFHMAIN_FORCE_PATTERN >> bit) & 1 ? 166 : 165});
  };
  int home = -1, away = -1;
  // Keys before the pattern only shift.
  Keys({165, 166, 166});
  EXPECT_EQ(mfhmain_ForcedScoreGet(&home, &away), 0);
  pattern();
  EXPECT_EQ(mfhmain_ForcedScoreGet(&home, &away), 0);
  Keys({166});  // arms it
  ASSERT_EQ(mfhmain_ForcedScoreGet(&home, &away), 1);
  EXPECT_EQ(home, 0);
  EXPECT_EQ(away, 0);
  for (int i = 0; i < 10; i++) Keys({165});
  Keys({166, 166});
  mfhmain_ForcedScoreGet(&home, &away);
  EXPECT_EQ(home, 10);
  EXPECT_EQ(away, 2);
  Keys({165});
  mfhmain_ForcedScoreGet(&home, &away);
  EXPECT_EQ(home, 0);  // wraps from 10
  pcframe_Begin();
  mfhmain_Draw();
  bool shown = false;
  for (DrawLayer* l = pcframe_poCurrent->poFirstLayer; l; l = l->pNext)
    for (DrawItem* i = l->poFirstItem; i; i = i->pNext)
      shown = shown || (i->uKind == PCFRAME_KIND_TEXT && std::string(i->pszText) == "FORCE SCORE 0 2");
  EXPECT_TRUE(shown);
  // The disarm key clears the register: the keys shift again.
  Keys({164, 165, 166});
  EXPECT_EQ(mfhmain_ForcedScoreGet(&home, &away), 0);
  // A wrong twelfth key does not arm it.
  for (int bit = 11; bit >= 1; bit--) Keys({(MFHMAIN_FORCE_PATTERN >> bit) & 1 ? 166 : 165});
  Keys({(MFHMAIN_FORCE_PATTERN & 1) ? 165 : 166, 165});
  EXPECT_EQ(mfhmain_ForcedScoreGet(&home, &away), 0);
}

}  // namespace

namespace {
std::vector<std::string> Names(const MatchTeam* t) {
  std::vector<std::string> v;
  for (const DBPlayer* l : {t->poPitchList, t->poBenchList, t->poReserveList})
    for (const DBPlayer* p = l; p; p = p->poNext) v.push_back(dbplayer_NameGet(p));
  return v;
}
}  // namespace

TEST_F(HistoryMatch, ANewHistoryShowsOnlyItsOwnTeamsPlayersAfterAnotherTeamsHistory) {
  // The first history (1962): the human team is the away side of its next fixture.
  Load(62, "USA", true);
  Round* r = nullptr;
  Fixture* f = nullptr;
  ASSERT_TRUE(Next(&r, &f));
  tmglobal.aHumans[0].Name = history_FixtureTeamB(r, f);
  const std::uint32_t first = tmglobal.aHumans[0].Name;
  ASSERT_EQ(Prepare(), 1);
  MatchTeam* human = mfhmain_poMatchTeamGet(first);
  ASSERT_EQ(human, match_AwayTeamGet());
  ASSERT_NE(human->poReserveList, nullptr);
  ASSERT_EQ(team_PlayersSwap(human, human->poPitchList->poNext, human->poReserveList, 0), 1);
  team_FormationSave(human);
  // A new history: the team choice sets up the new human team as the home side.
  Load(58, "AUT", false);
  mteam_Reset();
  mteam_Enter();
  mteam_aoSides[0].iButton = mregion_FindByName("EURO");
  const std::uint32_t uMask = tmglobal_EditionMaskGet();
  int c = 0;
  ASSERT_TRUE(mteam_TeamCountForMask(0, uMask, &c) > 0);
  mteam_aoSides[0].iTeamIndex = -1;
  for (int n = 0; n < mteam_TeamCountForMask(0, uMask, &c); n++)
    if (mteam_TeamByIndex(0, uMask, n)->uTeam == Id("AUT")) mteam_aoSides[0].iTeamIndex = n;
  ASSERT_GE(mteam_aoSides[0].iTeamIndex, 0);
  mteam_SidesBuild(47);
  ASSERT_EQ(TeamOf(match_HomeTeamGet()), static_cast<int>(Id("AUT")));
  const Squad* s = squadcache_SlotGet(0);
  std::vector<std::string> own;
  for (int i = 0; i < s->Size; i++) own.push_back(dbplayer_NameGet(&s->poFirstPlayer[i]));
  ASSERT_FALSE(own.empty());
  global_SetExtendedGameMode(GAME_MODE_HISTORY);
  ASSERT_EQ(Prepare(), 1);
  MatchTeam* aut = mfhmain_poMatchTeamGet(Id("AUT"));
  ASSERT_NE(aut, nullptr);
  const std::vector<std::string> shown = Names(aut);
  EXPECT_EQ(shown.size(), own.size());
  for (const std::string& n : shown) EXPECT_NE(std::find(own.begin(), own.end(), n), own.end()) << n;
}

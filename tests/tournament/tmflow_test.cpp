// Whole history-mode campaigns through the tournament flow, the flow's date
// helpers, and the filling of the finals.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "campaign_driver.h"
#include "shell/global.h"
#include "shell/texts.h"
#include "tournament/result.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"
#include "tournament/yearfile.h"
#include "tournament_env.h"

namespace {

std::uint32_t Id(const char* psz) { return static_cast<std::uint32_t>(tla_IDFind(psz)); }

std::string Describe(const EditionRecord& r) {
  return std::to_string(r.iYear) + " flags " + std::to_string(r.uFlags) + " matches " + std::to_string(r.cMatches) +
         " faults " + std::to_string(r.cFaults) + " stuck '" + r.sStuck + "'";
}

// Every finals entry once, no free slot left.
void ExpectFinalsProper(const Year* y) {
  std::set<std::uint32_t> seen;
  const Confederation* c = y->pConfs;
  for (const Group* g = c->pGroups; g; g = g->pNext)
    for (const Round* r = g->pRounds; r; r = r->pNext)
      for (const TMTeam* t = r->pTeams; t; t = t->pNext) {
        EXPECT_NE(t->Name, static_cast<std::uint32_t>(TM_MAX));
        if (tmteam_IsProperName(t->Name)) {
          EXPECT_TRUE(seen.insert(t->Name).second) << tmteam_NameText(t->Name);
        }
      }
}

const char* const kTeams[] = {"SCO", "MEX", "CHI", "KOR", "MOR", "AUS"};

}  // namespace

TEST(Campaign, WinningEverything) {
  for (const char* tla : kTeams) {
    Campaign c(Id(tla), Script::Win, 11);
    c.onMatch = [] {
      if (tmglobal.bFinalsLoaded) ExpectFinalsProper(TheYearList->pNext);
    };
    bool bHolder = false;
    for (const EditionRecord& r : c.Run()) {
      SCOPED_TRACE(std::string(tla) + " " + Describe(r));
      EXPECT_EQ(r.cFaults, 0);
      EXPECT_EQ(r.sStuck, "");
      // Every fixture of the team that was played was its own match.
      EXPECT_EQ(r.cPlayedFixtures, r.cMatches);
      if (!r.bTookPart) continue;
      EXPECT_EQ(r.bPlayedQualifiers, !bHolder && Id(tla) != result_HostGet((r.iYear - 58) / 4));
      EXPECT_EQ(r.uFlags & (TMF_ELIMINATED | TMF_THIRD_PLACE), 0u);
      if (r.bFinalsReached) {
        EXPECT_TRUE(r.uFlags & TMF_WON);
        EXPECT_TRUE(r.bFinalsComplete && r.bOver);
        EXPECT_EQ(tmglobal.aHolders[(r.iYear - 58) / 4 + 1], Id(tla));
        bHolder = true;
      } else {
        // Only a confederation sending nobody to the finals fails a team
        // that wins every match.
        EXPECT_TRUE(r.uFlags & TMF_FAILED);
      }
      if (r.bPlayedQualifiers && r.bFinalsReached) {
        EXPECT_TRUE(r.uFlags & TMF_QUALIFIED);
      }
    }
  }
}

TEST(Campaign, LosingEverything) {
  for (const char* tla : kTeams) {
    Campaign c(Id(tla), Script::Lose, 5);
    for (const EditionRecord& r : c.Run()) {
      SCOPED_TRACE(std::string(tla) + " " + Describe(r));
      EXPECT_EQ(r.cFaults, 0);
      EXPECT_EQ(r.sStuck, "");
      // Every fixture of the team that was played was its own match.
      EXPECT_EQ(r.cPlayedFixtures, r.cMatches);
      if (!r.bTookPart) continue;
      EXPECT_EQ(r.uFlags & TMF_WON, 0u);
      if (r.bPlayedQualifiers && r.cQualifierMatches == 0) {
        // Alone in its group: through (or out) without a match.
        EXPECT_NE(r.uFlags & (TMF_QUALIFIED | TMF_FAILED), 0u);
      } else if (r.bPlayedQualifiers) {
        EXPECT_EQ(r.uFlags & TMF_QUALIFIED, 0u);
        EXPECT_EQ(r.uFlags & (TMF_FAILED | TMF_FAILED_NEWS), TMF_FAILED | TMF_FAILED_NEWS);
        EXPECT_FALSE(r.bFinalsReached);
      } else {
        EXPECT_EQ(r.uFlags & (TMF_ELIMINATED | TMF_ELIMINATED_NEWS), TMF_ELIMINATED | TMF_ELIMINATED_NEWS);
        EXPECT_TRUE(r.bFinalsComplete && r.bOver);
      }
    }
  }
}

TEST(Campaign, DrawingEverything) {
  int cTwoLegged = 0, cPlayOffs = 0;
  for (const char* tla : {"SCO", "MEX", "SWE", "URU", "USA", "HUN"}) {
    for (std::uint32_t seed : {3u, 9u}) {
      Campaign c(Id(tla), Script::Draw, seed);
      for (const EditionRecord& r : c.Run()) {
        SCOPED_TRACE(std::string(tla) + " " + Describe(r));
        EXPECT_EQ(r.cFaults, 0);
        EXPECT_EQ(r.sStuck, "");
        // Every fixture of the team that was played was its own match.
        EXPECT_EQ(r.cPlayedFixtures, r.cMatches);
        cTwoLegged += r.cTwoLegged;
        cPlayOffs += r.cPlayOffs;
        if (r.bFinalsReached) {
          EXPECT_TRUE(r.bFinalsComplete && r.bOver);
        }
        const std::uint32_t ends = TMF_FAILED | TMF_WON | TMF_ELIMINATED | TMF_THIRD_PLACE;
        if (r.bTookPart) {
          EXPECT_NE(r.uFlags & ends, 0u);
        }
      }
    }
  }
  std::printf("two-legged second legs %d, play-offs %d\n", cTwoLegged, cPlayOffs);
  EXPECT_GT(cTwoLegged, 0);
  EXPECT_GT(cPlayOffs, 0);
}

TEST(Campaign, LosingTheSemiFinalPlaysForThirdPlace) {
  int cThird = 0;
  for (const char* tla : {"SCO", "MEX", "URU", "KOR"}) {
    Campaign c(Id(tla), Script::Third, 4);
    for (const EditionRecord& r : c.Run()) {
      SCOPED_TRACE(std::string(tla) + " " + Describe(r));
      EXPECT_EQ(r.cFaults, 0);
      EXPECT_EQ(r.sStuck, "");
      // 1974 and 1978 end their second stage in groups, without semi-finals.
      if (!r.bFinalsReached || r.iYear == 74 || r.iYear == 78) continue;
      EXPECT_TRUE(r.uFlags & TMF_THIRD_PLACE);
      EXPECT_EQ(r.uFlags & TMF_WON, 0u);
      EXPECT_TRUE(r.bFinalsComplete && r.bOver);
      EXPECT_NE(tmglobal.aHolders[(r.iYear - 58) / 4 + 1], Id(tla));
      cThird++;
    }
  }
  EXPECT_GT(cThird, 3);
}

TEST(Dates, TheDayBefore) {
  const struct {
    int d, m, y, ed, em, ey;
  } k[] = {{1, 3, 77, 28, 2, 77}, {1, 3, 60, 29, 2, 60}, {1, 1, 66, 31, 12, 65}, {15, 6, 98, 14, 6, 98},
           {1, 5, 70, 30, 4, 70},  {1, 8, 74, 31, 7, 74}, {1, 3, 0, 29, 2, 0}};
  for (const auto& c : k) {
    int d = c.d, m = c.m, y = c.y;
    history_DateDecrement(&d, &m, &y);
    EXPECT_EQ(d, c.ed);
    EXPECT_EQ(m, c.em);
    EXPECT_EQ(y, c.ey);
  }
}

TEST(Finals, FillNeverTakesAProtectedTeamHostOrHolder) {
  const char* protectedTeams[] = {"BRA", "ARG", "ITA", "ENG", "FRG", "GER", "HOL", "ESP", "FRA"};
  for (int e = 0; e < 11; e++) {
    for (std::uint32_t seed = 1; seed <= 6; seed++) {
      CampaignReset(seed);
      const int yy = 58 + 4 * e;
      tmglobal_YearSet(yy);
      tmglobal.aHumans[0].Name = Id("SCO") == result_HostGet(e) ? Id("WAL") : Id("SCO");
      tmglobal.aHumans[1].Name = Id("KOR");
      tmglobal.cHumans = 2;
      ASSERT_TRUE(tmmain_FinalsFileLoad(yy));
      Year* y = TheYearList;
      std::set<std::uint32_t> before;
      for (const Group* g = y->pConfs->pGroups; g; g = g->pNext)
        for (const TMTeam* t = g->pRounds->pTeams; t; t = t->pNext) before.insert(t->Name);
      const std::uint32_t host = result_HostGet(e), holder = tmglobal.aHolders[e];
      tmgame_FinalsFill(y, host, holder, 2);
      std::set<std::uint32_t> after;
      for (const Group* g = y->pConfs->pGroups; g; g = g->pNext)
        for (const TMTeam* t = g->pRounds->pTeams; t; t = t->pNext) after.insert(t->Name);
      for (std::uint32_t h : {tmglobal.aHumans[0].Name, tmglobal.aHumans[1].Name}) EXPECT_TRUE(after.count(h)) << yy;
      EXPECT_TRUE(after.count(host) && after.count(holder)) << yy;
      for (const char* p : protectedTeams)
        if (before.count(Id(p))) {
          EXPECT_TRUE(after.count(Id(p))) << p << " " << yy;
        }
      EXPECT_EQ(after.size(), before.size()) << yy;
      EXPECT_EQ(tmreport_CountGet(), 0);
    }
  }
}

TEST(Finals, AutoPlayedQualifiersLeaveNoFreeEntry) {
  for (int e = 0; e < 11; e++) {
    for (const char* tla : {"SCO", "KOR", "MEX"}) {
      CampaignReset(static_cast<std::uint32_t>(e + 1));
      tmglobal.aHumans[0].Name = Id(tla);
      tmglobal.cHumans = 1;
      tmglobal.bHolderOption = 1;
      tmmain_YearStart(0, 0, 58 + 4 * e);
      SCOPED_TRACE(std::string(tla) + " " + std::to_string(58 + 4 * e));
      ASSERT_TRUE(TheYearList && TheYearList->pNext);
      EXPECT_TRUE(TheYearList->bComplete);
      EXPECT_TRUE(tmglobal.bFinalsLoaded && tmglobal.bQualifiersExtracted);
      ExpectFinalsProper(TheYearList->pNext);
      EXPECT_TRUE(tmgame_IsTeamInYear(TheYearList->pNext, Id(tla)));
      EXPECT_TRUE(tmgame_IsTeamInYear(TheYearList->pNext, result_HostGet(e)));
      EXPECT_EQ(tmglobal.aHumans[0].uFlags, 0u);
      EXPECT_EQ(tmreport_CountGet(), 0);
      EXPECT_STREQ(tmgame_StuckGet(), "");
    }
  }
}

TEST(Flow, YearFinishStopsWhenAHumanFixtureBlocksTheYear) {
  CampaignReset(1);
  tmglobal.aHumans[0].Name = Id("SCO");
  tmglobal.cHumans = 1;
  tmmain_YearStart(1, 1, 58);
  ASSERT_FALSE(TheYearList->bComplete);
  tmgame_YearFinish();  // the human team's qualifiers are never simulated
  EXPECT_FALSE(TheYearList->bComplete);
  EXPECT_STRNE(tmgame_StuckGet(), "");
  EXPECT_GT(tmreport_CountGet(), 0);
}

TEST(Flow, RoundTitlesInEveryLanguage) {
  const GameMode eOld = global.eExtendedGameMode;
  global.eExtendedGameMode = GAME_MODE_HISTORY;
  for (int lang = 0; lang < 6; lang++) {
    mlang_iLanguage = lang;
    // Qualifiers: the human team's group.
    Campaign q(Id("SCO"), Script::Win, 4);
    ASSERT_TRUE(q.EditionStart(70));
    EXPECT_STREQ(tmgame_RoundTitleGet(), festr_IDToStr(182)) << lang;
    // Finals as the host: the first stage, then the final.
    Campaign f(Id("MEX"), Script::Win, 4);
    ASSERT_TRUE(f.EditionStart(70));
    std::set<std::string> titles;
    do titles.insert(tmgame_RoundTitleGet());
    while (f.MatchPlay());
    EXPECT_TRUE(tmglobal.aHumans[0].uFlags & TMF_WON) << lang;
    // 1970: groups, quarter-finals, semi-finals, the final.
    for (int id : {184, 186, 187, 189}) EXPECT_TRUE(titles.count(festr_IDToStr(id))) << lang << " " << id;
  }
  mlang_iLanguage = 0;
  EXPECT_STREQ(festr_IDToStr(184), "World Cup 1st Round");
  EXPECT_STREQ(festr_IDToStr(189), "World Cup Final");
  global.eExtendedGameMode = eOld;
}

// A 1990 history as Brazil, saved before the last group match and loaded
// from the main menu, played in this process through the game's own frame
// loop: the last match drawn 0-0 leaves Brazil third on three points, through
// as one of the best third-placed teams, and Brazil's round of 16 is offered
// at the hub and played.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "e2e/history_save.h"
#include "frontend/pcsave.h"
#include "shell/global.h"
#include "support/headless_env.h"
#include "support/history_driver.h"
#include "support/run_game.h"
#include "tournament/fixtures.h"
#include "tournament/result.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmteam.h"
#include "tournament/tmtree.h"
#include "tournament/tournament_services.h"
#include "frontend/mfhfixtr.h"
#include "frontend/mfhgroup.h"
#include "frontend/mfhmain.h"
#include "frontend/mfhrole.h"
#include "frontend/mtatics.h"
#include "frontend/wcqual.h"

namespace {

using korvena_test::HistoryDriver;

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-best-third", true, nullptr, nullptr});

std::uint32_t Id(const char* psz) { return static_cast<std::uint32_t>(tla_IDFind(psz)); }

Year* Finals() { return TheYearList ? TheYearList->pNext : nullptr; }

Round* GroupRound(const char* pszGroup) { return history_RoundFindByNames(Finals(), pszGroup, "1"); }

void Played(Round* r, Fixture* f, std::int32_t a, std::int32_t b, bool bHuman) {
  history_ResultClear(f);
  history_ScoreSet(f, a, b);
  f->cFlags = static_cast<std::uint8_t>(f->cFlags | FIX_PLAYED | (bHuman ? 0 : FIX_SIMULATED));
  tmteam_FixtureResultApply(r, history_FixtureTeamA(r, f), f, 1);
  tmteam_FixtureResultApply(r, history_FixtureTeamB(r, f), f, 0);
}

bool DueBy(const Round* r, const Fixture* f, const FixtureDate& today) {
  return history_DateCompare(tmglobal_FixtureDateGet(r, f->cDate), &today) <= 0;
}

// The 1990 finals with Brazil the person's team, every first-stage fixture
// due by 19 June played: Brazil drew both its matches 0-0, its last
// opponent lost 9-0 to each of the two others, and in every other group the
// team listed first beat every other, the second beat the last two, the
// third the last (1-0), so the thirds of groups 1, 2 and 4, already
// decided, have two points. Written by the game's own save writer into this
// program's save folder, the date the day before Brazil's last match.
void BrazilHistorySave(std::uint32_t* pLastOpponent) {
  const std::uint32_t Brazil = Id("BRA");
  tmmain_PoolsReset();
  tmglobal_Reset();
  tmgame_FlowReset();
  tmglobal.cHumans = 1;
  tmglobal.iCurrentHuman = 0;
  tmglobal.aHumans[0].Name = Brazil;
  tmglobal.iStartYear = 90;
  tmglobal_YearSet(90);
  tmmain_RollOfHonourInit(tmglobal_EditionGet());
  tmmain_YearStart(0, 1, 90);
  ASSERT_TRUE(tmglobal.bFinalsLoaded);
  ASSERT_NE(Finals(), nullptr);
  FixtureDate today{};
  today.cDay = 19;
  today.cMonth = 6;
  today.cYear = 90;
  Round* r3 = GroupRound("3");
  ASSERT_NE(r3, nullptr);
  ASSERT_NE(tmteam_TeamEntryGet(r3, Brazil), nullptr);
  *pLastOpponent = 0;
  for (Fixture* f = r3->pFixtures; f; f = f->pNext) {
    const std::uint32_t A = history_FixtureTeamA(r3, f), B = history_FixtureTeamB(r3, f);
    if ((A == Brazil || B == Brazil) && !DueBy(r3, f, today)) *pLastOpponent = A == Brazil ? B : A;
  }
  ASSERT_NE(*pLastOpponent, 0u);
  for (Group* g = Finals()->pConfs->pGroups; g; g = g->pNext) {
    if (g->szName[0] < '1' || g->szName[0] > '6' || g->szName[1]) continue;
    Round* r = g->pRounds;
    for (Fixture* f = r->pFixtures; f; f = f->pNext) {
      if (!DueBy(r, f, today)) continue;
      const std::uint32_t A = history_FixtureTeamA(r, f), B = history_FixtureTeamB(r, f);
      if (r != r3) Played(r, f, f->cTeamA < f->cTeamB ? 1 : 0, f->cTeamA < f->cTeamB ? 0 : 1, false);
      else if (A == Brazil || B == Brazil) Played(r, f, 0, 0, true);
      else Played(r, f, A == *pLastOpponent ? 0 : 9, A == *pLastOpponent ? 9 : 0, false);
    }
  }
  Year* y = Finals();
  history_PlaceholdersResolve(y);
  history_YearCompleteCheck(y);
  tmteam_GroupTablesCollect(y);
  tmteam_GroupTablesSortAll(y);
  history_UserFixturesMark(y);
  for (const char* psz : {"1", "2", "4"}) {
    ASSERT_TRUE(GroupRound(psz)->bComplete) << psz;
  }
  ASSERT_FALSE(r3->bComplete);
  global.iDay = 19;
  global.iMonth = 6;
  global.iYear = 90;
  tmglobal.bStarted = 1;
  ASSERT_EQ(pcsave_ImageBuild(), 1);
  const std::filesystem::path folder = korvena_test::HeadlessRoot() / "share/korvena-football/savegame";
  std::filesystem::create_directories(folder);
  korvena_test::Write(folder / "Brazil 1990  19.6.90.SAV", reinterpret_cast<const char*>(pcsave_abImage),
                      PCSAVE_IMAGE_SIZE);
}

}  // namespace

TEST(BestThirdHistory, BrazilThirdOnThreePointsPlaysItsRoundOf16) {
  using H = HistoryDriver;
  const std::uint32_t Brazil = Id("BRA");
  HistoryDriver d;
  ASSERT_TRUE(d.Start());
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == GAME_MODE_MAIN_MENU; }, 90)) << d.ModesText();
  // The save is written while the main menu shows; the load screen lists
  // the folder when it opens.
  std::uint32_t Opponent = 0;
  BrazilHistorySave(&Opponent);
  if (HasFatalFailure()) return;
  // The main menu's Load Game (the third column's second row), Load and the
  // only save.
  d.Answer(GAME_MODE_MAIN_MENU, [](H& h) { h.Events({H::kRight, H::kRight, H::kDown, H::kSelect}); });
  d.Answer(PCSAVE_MODE_LOAD, [](H& h) { h.Events({H::kSelect, H::kSelect}); });
  ASSERT_TRUE(d.RunUntil([&] { return d.Mode() == MFHMAIN_MODE; }, 3000)) << d.ModesText();
  ASSERT_EQ(tmglobal.iYear, 90);
  ASSERT_EQ(tmglobal.aHumans[0].Name, Brazil);
  // Its next match is the last group match, against the opponent saved.
  Round* r = nullptr;
  Fixture* f = nullptr;
  ASSERT_TRUE(history_FixtureFindByTeam(tmgame_CurrentYearGet(), Brazil, &r, &f));
  EXPECT_TRUE(history_FixtureTeamA(r, f) == Opponent || history_FixtureTeamB(r, f) == Opponent);

  // The person's answers: the news and its pages confirmed, Play Match at
  // the hub, the films skipped, the team sheet left as it is. The last group
  // match is drawn 0-0, the next won 1-0. The first hub after the draw and
  // the fixture the next match is played for are noted.
  d.Answer(GAME_MODE_NEWS, [](H& h) { h.Events({H::kSelect}); });
  for (int e : {WC_MODE_WINNER, WC_MODE_QUALIFIED, WC_MODE_NOT_QUALIFIED, WC_MODE_ELIMINATED, WC_MODE_INTRO})
    d.Answer(e, [](H& h) { h.Events({H::kSkip}); });
  d.Answer(MTATICS_MODE, [](H& h) { h.Events({H::kBack, H::kBack}); });
  for (int e : {MFHFIXTR_MODE, MFHGROUP_MODE, MFHROLE_MODE}) d.Answer(e, [](H& h) { h.Events({H::kEscape}); });
  d.DefaultAnswer([](H& h) { h.Events({H::kSelect}); });
  struct Next {
    bool bSeen = false;
    std::int32_t iYear = 0;
    std::uint32_t uFlags = 0, A = 0, B = 0;
    std::string sGroup, sRound;
    bool bDayBefore = false;
  } hub, played;
  const auto note = [&](Next& n) {
    n.bSeen = true;
    n.iYear = tmglobal.iYear;
    n.uFlags = tmglobal.aHumans[0].uFlags;
    Round* pr = nullptr;
    Fixture* pf = nullptr;
    Confederation* c = nullptr;
    Group* g = nullptr;
    if (!history_FixtureFindByTeam(tmgame_CurrentYearGet(), Brazil, &pr, &pf, &c, &g)) return;
    n.A = history_FixtureTeamA(pr, pf);
    n.B = history_FixtureTeamB(pr, pf);
    n.sGroup = g->szName;
    n.sRound = pr->szName;
    const FixtureDate* pd = tmglobal_FixtureDateGet(pr, pf->cDate);
    if (!pd) return;
    std::int32_t iDay = pd->cDay, iMonth = pd->cMonth, iYear = pd->cYear;
    history_DateDecrement(&iDay, &iMonth, &iYear);
    n.bDayBefore = iDay == global.iDay && iMonth == global.iMonth && iYear == global.iYear;
  };
  std::int32_t iPoints = -1, iPlace = -1;
  d.MatchDouble([&] {
    if (d.Matches() == 1) note(played);
    return d.Matches() == 0 ? std::pair{0, 0} : std::pair{1, 0};
  });
  d.Answer(MFHMAIN_MODE, [&](H& h) {
    if (h.Matches() == 1 && !hub.bSeen) {
      note(hub);
      // Brazil's place and points in group 3.
      if (Round* r3 = GroupRound("3")) {
        RoundPlaces pl;
        tmteam_RoundOutcomeGet(nullptr, r3, &pl);
        for (int i = 0; i < 4; i++)
          if (pl.aName[i] == Brazil) iPlace = i;
        if (const TMTeam* t = tmteam_TeamEntryGet(r3, Brazil)) iPoints = t->cPoints;
      }
    }
    h.Events({H::kSelect});
  });
  tmreport_CountReset();
  ASSERT_TRUE(d.RunUntil(
      [&] { return (d.Matches() >= 2 && d.Mode() == MFHMAIN_MODE)
           || tmglobal.iYear != 90 || d.Mode() == GAME_MODE_MAIN_MENU; },
      20000))
      << d.ModesText();
  SCOPED_TRACE(d.ModesText());

  // Brazil third in group 3 on three points, through as a best third: the
  // hub after the draw is still 1990's, Brazil not out, its next fixture
  // the round of 16 against a known team, the date the day before it.
  ASSERT_TRUE(hub.bSeen);
  EXPECT_EQ(iPlace, 2);
  EXPECT_EQ(iPoints, 3);
  EXPECT_EQ(hub.iYear, 90);
  EXPECT_EQ(hub.uFlags & (TMF_ELIMINATED | TMF_ELIMINATED_NEWS), 0u);
  EXPECT_EQ(hub.sGroup, "R16");
  EXPECT_TRUE(hub.A == Brazil || hub.B == Brazil);
  EXPECT_TRUE(tmteam_IsProperName(hub.A) && tmteam_IsProperName(hub.B));
  EXPECT_TRUE(hub.bDayBefore);
  // The person plays that tie, in 1990, and the game goes on without a fault.
  ASSERT_TRUE(played.bSeen);
  EXPECT_EQ(played.iYear, 90);
  EXPECT_EQ(played.sGroup, "R16");
  EXPECT_EQ(played.sRound, hub.sRound);
  EXPECT_EQ(played.A, hub.A);
  EXPECT_EQ(played.B, hub.B);
  EXPECT_EQ(d.Matches(), 2);
  EXPECT_EQ(tmglobal.iYear, 90);
  EXPECT_EQ(d.Mode(), MFHMAIN_MODE);
  EXPECT_EQ(tmreport_CountGet(), 0);
  EXPECT_STREQ(tmgame_StuckGet(), "");
}

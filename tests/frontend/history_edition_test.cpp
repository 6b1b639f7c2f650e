// The history's editions over the generated year files: beginning a history
// with and without qualifiers, a host going straight to the finals, the
// next edition of a team against the player database, and moving on.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "display/qdl.h"
#include "display/qdl_device.h"
#include "frontend/frontend_services.h"
#include "frontend/mfhmain.h"
#include "history_new.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/input.h"
#include "screens_up.h"
#include "support/headless_env.h"
#include "tournament/dbindex.h"
#include "tournament/tla.h"
#include "tournament/tmgame.h"
#include "tournament/tmtree.h"

namespace fs = std::filesystem;

fs::path BuildDir() {
  const char* psz = std::getenv("KORVENA_BUILD_DIR");
  return psz ? fs::path(psz) : fs::path();
}

namespace {

const bool g_bEnv = korvena_test::AddHeadlessEnvironment({"korvena-history-news", true, FrontEndScreensUp, FrontEndScreensDown});

// A new history of one human team as the set-up leaves it.
void NewHistory(const char* pszTeam, std::int32_t iStartYear, std::int32_t bPlayQualifiers) {
  HistoryNew(pszTeam, iStartYear, bPlayQualifiers, 7);
}

bool HasFixture(std::uint32_t Name) {
  Round* r = nullptr;
  Fixture* f = nullptr;
  return history_FixtureFindByTeam(tmgame_CurrentYearGet(), Name, &r, &f) != 0;
}

TEST(HistoryEdition, BeginsWithTheQualifiersOrTheFinalsByOptionAndSeed) {
  struct Case {
    const char* pszTeam;
    std::int32_t iYear, bPlayQualifiers, bFinals;
  };
  // Sweden hosts 1958 and West Germany holds the title entering it: both go
  // straight to the finals even with the qualifiers on.
  const Case aCases[] = {{"BRA", 58, 1, 0}, {"SWE", 58, 1, 1}, {"FRG", 58, 1, 1}, {"BRA", 58, 0, 1}, {"ITA", 82, 1, 0}};
  for (const Case& c : aCases) {
    SCOPED_TRACE(std::string(c.pszTeam) + " " + std::to_string(c.iYear));
    NewHistory(c.pszTeam, c.iYear, c.bPlayQualifiers);
    tmglobal.iCurrentHuman = 2;
    mfhmain_oScreen.iCursor = 5;
    mfhmain_HistoryBegin();
    EXPECT_EQ(tmglobal.bStarted, 1);
    EXPECT_EQ(tmglobal.iYear, c.iYear);
    EXPECT_EQ(tmglobal.iCurrentHuman, 0);
    EXPECT_EQ(mfhmain_oScreen.iCursor, 0);
    EXPECT_EQ(global.iDay, 1);
    EXPECT_EQ(global.iMonth, 1);
    EXPECT_EQ(global.iYear, c.iYear - 1);
    EXPECT_EQ(tmglobal.bFinalsLoaded, c.bFinals);
    EXPECT_EQ(mfhmain_oScreen.bFinals, c.bFinals);
    EXPECT_EQ(tmglobal.bFinals, c.bFinals);
    EXPECT_EQ(tmglobal.bPlayQualifiers, c.bPlayQualifiers) << "the option survives a seeded start";
    EXPECT_EQ(mfhmain_bYearLoaded, 1);
    EXPECT_EQ(mfhmain_aiHumanEdition[0], (c.iYear - 58) / 4);
    EXPECT_TRUE(HasFixture(Id(c.pszTeam)));
    EXPECT_EQ(tmreport_CountGet(), 0);
  }
}

TEST(HistoryEdition, ContinuingKeepsTheLoadedYear) {
  NewHistory("BRA", 58, 1);
  mfhmain_HistoryBegin();
  Round* r = nullptr;
  Fixture* f = nullptr;
  ASSERT_TRUE(history_FixtureFindByTeam(tmgame_CurrentYearGet(), Id("BRA"), &r, &f));
  history_FixturePlayedSet(f, 1);
  global.iMonth = 6;
  mfhmain_HistoryBegin();
  EXPECT_EQ(tmglobal_FixturePlayedGet(f), 1) << "the year was loaded again";
  EXPECT_EQ(global.iMonth, 6);
}

TEST(HistoryEdition, NextEditionOfEveryTeamAgreesWithTheDatabase) {
  for (std::int32_t i = 0; i < dbteams_cTeams; i++) {
    const DBTeamEditions& t = dbteams_aTeams[i];
    for (std::int32_t e = 0; e <= 10; e++) {
      tmglobal_YearSet(58 + 4 * e);
      std::int32_t iWant = 0;
      for (std::int32_t n = e + 1; n <= 10 && iWant == 0; n++)
        if (t.uMask & (1u << n)) iWant = n;
      ASSERT_EQ(mfhmain_NextEditionForTeam(static_cast<std::uint32_t>(t.iTeamId)), iWant)
          << "team " << t.iTeamId << " after edition " << e;
    }
  }
  tmglobal_YearSet(58);
  EXPECT_EQ(mfhmain_NextEditionForTeam(0), 0);
  EXPECT_EQ(mfhmain_NextEditionForTeam(Id("BRA")), 1);
}

TEST(HistoryEdition, NextEditionStartsTheTeamsNextYearOrEndsTheHistory) {
  NewHistory("BRA", 58, 1);
  mfhmain_HistoryBegin();
  tmgame_QualifiedSet(0, 1);
  tmgame_WonSet(0, 1);
  tmgame_EliminatedNewsSet(0, 1);
  tmgame_Played3rdPlacePOSet(0, 1);
  tmgame_FailedToQualifySet(3, 1);
  mfhmain_oScreen.bQuitBox = 1;
  ASSERT_EQ(mfhmain_NextEditionStart(), 1);
  EXPECT_EQ(tmglobal.iYear, 62);
  EXPECT_EQ(mfhmain_oScreen.cEditionsPlayed, 1);
  EXPECT_EQ(mfhmain_oScreen.bQuitBox, 0);
  for (const HumanTeam& h : tmglobal.aHumans) EXPECT_EQ(h.uFlags, 0u);
  EXPECT_EQ(global.iDay, 1);
  EXPECT_EQ(global.iYear, 61);
  EXPECT_EQ(tmglobal.bStarted, 1);
  // Brazil holds the title entering 1962: straight to the finals.
  EXPECT_EQ(tmglobal.bFinalsLoaded, 1);
  EXPECT_EQ(mfhmain_oScreen.bFinals, 1);
  EXPECT_TRUE(HasFixture(Id("BRA")));
  EXPECT_EQ(mfhmain_oScreen.bHistoryOver, 0);

  NewHistory("BRA", 98, 1);
  mfhmain_HistoryBegin();
  EXPECT_EQ(mfhmain_NextEditionStart(), 0);
  EXPECT_EQ(mfhmain_oScreen.bHistoryOver, 1);
  EXPECT_EQ(tmglobal.iYear, 98);
  EXPECT_EQ(mfhmain_oScreen.cEditionsPlayed, 0);
}

}  // namespace

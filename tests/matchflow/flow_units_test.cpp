// The shoot-out's decision against a small reference model, the line-up
// panel's placement, the end swap, and the quick-match draws.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "engine/player.h"
#include "framework/math/qrand.h"
#include "frontend/frontend_services.h"
#include "frontend/pcfe.h"
#include "frontend/pctext.h"
#include "matchflow/matcha.h"
#include "matchflow/matchflow.h"
#include "support/match_harness.h"
#include "tournament/dbindex.h"
#include "tournament/squad.h"

namespace mh = match_harness;

namespace {

// ---- Shoot-out ------------------------------------------------------------------------------

// The reference: kicks alternate home, away; during the first five each a
// side that cannot be caught wins at once; after five each, sudden death
// decides at the end of each pair of kicks. Returns 1 home, 2 away and the
// number of kicks taken.
std::pair<std::int32_t, std::int32_t> Reference(const std::vector<bool>& abScored) {
  std::int32_t g[2] = {0, 0}, k[2] = {0, 0};
  for (std::size_t i = 0; i < abScored.size(); i++) {
    const std::int32_t s = static_cast<std::int32_t>(i % 2);
    k[s]++;
    g[s] += abScored[i] ? 1 : 0;
    const std::int32_t n = static_cast<std::int32_t>(i) + 1;
    if (k[0] <= 5 && k[1] <= 5 && n <= 10) {
      if (g[0] > g[1] + (5 - k[1])) return {1, n};
      if (g[1] > g[0] + (5 - k[0])) return {2, n};
    } else if (n % 2 == 0 && g[0] != g[1]) {
      return {g[0] > g[1] ? 1 : 2, n};
    }
  }
  return {0, static_cast<std::int32_t>(abScored.size())};
}

class Shootout : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
    // Two real sides for the goal counts and statistics.
    match_SquadBuffersPoint();
    ASSERT_TRUE(matchflow_SideLoad(player_PlaysFor_Home, 144, 3));
    ASSERT_TRUE(matchflow_SideLoad(player_PlaysFor_Away, 88, 3));
    match.HomeGoals = match.AwayGoals = 0;
    for (std::int32_t i = 0; i < 2; i++) {
      match_HomeClubStateSet(0);
      match_AwayClubStateSet(1);
    }
    home_.MyTeam = player_PlaysFor_Home;
    away_.MyTeam = player_PlaysFor_Away;
    mpenso_Clear();
  }
  // One kick recorded and the phase machine stepped as its ticks would.
  void Kick(bool bScored) {
    MPensoState& m = mpenso_oState;
    m.poTaker = match_HomeClubStateGet() == 0 ? &home_ : &away_;
    m.bKickPending = 1;
    mpenso_RecordKick(bScored ? 1 : 0);
    mpenso_PhaseStep();
    if (m.iPhase == 2) mpenso_PhaseStep();
  }
  Player home_{}, away_{};
};

TEST_F(Shootout, ThreeNilAfterThreeKicksEachIsAHomeWinAtOnce) {
  for (bool b : {true, false, true, false, true, false}) Kick(b);
  EXPECT_EQ(mpenso_oState.iPhase, 3);
  EXPECT_EQ(match.HomeGoals, 3);
}

TEST_F(Shootout, LevelAfterFiveGoesToSuddenDeathAndTheTableClearsEveryFiveRows) {
  for (std::int32_t i = 0; i < 10; i++) Kick(true);
  EXPECT_EQ(mpenso_oState.iPhase, 1);
  EXPECT_EQ(mpenso_oState.iRow, 0);
  for (std::int32_t r : mpenso_oState.aiResult) EXPECT_EQ(r, 0);
  for (std::int32_t i = 0; i < 2; i++) Kick(true);  // 6-6: on
  EXPECT_EQ(mpenso_oState.iPhase, 1);
  EXPECT_EQ(mpenso_oState.aiResult[0], 1);
  EXPECT_EQ(mpenso_oState.aiResult[5], 1);
  for (std::int32_t i = 0; i < 8; i++) Kick(true);  // five sudden-death rows: the table starts again
  EXPECT_EQ(mpenso_oState.iPhase, 1);
  EXPECT_EQ(mpenso_oState.iRow, 0);
  for (std::int32_t r : mpenso_oState.aiResult) EXPECT_EQ(r, 0);
  // The first kick of a row never decides sudden death.
  Kick(true);
  EXPECT_EQ(mpenso_oState.iPhase, 1);
  Kick(false);
  EXPECT_EQ(mpenso_oState.iPhase, 3);
}

TEST_F(Shootout, SameWinnerAfterTheSameKickAsTheReferenceOverSeededKicks) {
  std::mt19937 rng(20261207);
  for (std::int32_t n = 0; n < 400; n++) {
    SetUp();
    std::vector<bool> ab;
    for (std::int32_t i = 0; i < 60; i++) ab.push_back(rng() % 4 != 0);
    const auto [iWinner, cKicks] = Reference(ab);
    std::int32_t cTaken = 0;
    for (std::size_t i = 0; i < ab.size() && mpenso_oState.iPhase != 3 && mpenso_oState.iPhase != 4; i++) {
      Kick(ab[i]);
      cTaken++;
      for (std::int32_t r : mpenso_oState.aiResult) ASSERT_TRUE(r >= 0 && r <= 2);
    }
    ASSERT_EQ(mpenso_oState.iPhase == 3 ? 1 : mpenso_oState.iPhase == 4 ? 2 : 0, iWinner) << "case " << n;
    ASSERT_EQ(cTaken, cKicks) << "case " << n;
  }
}

TEST_F(Shootout, ARecordWithoutAPendingKickChangesNothing) {
  mpenso_oState.poTaker = &home_;
  mpenso_oState.bKickPending = 0;
  mpenso_RecordKick(1);
  EXPECT_EQ(mpenso_oState.cTotal, 0);
  EXPECT_EQ(match.HomeGoals, 0);
}

// ---- Line-up panels ----------------------------------------------------------------------------

TEST(Lineup, RowsOfEachFormationHoldElevenAndAFiveIsDrawnAsAW) {
  for (std::int32_t f = 0; f < MATCHFLOW_FORMATIONS; f++) {
    std::int32_t n = 0;
    for (std::int32_t r = 0; r < MATCHFLOW_LINEUP_ROWS; r++) n += matchflow_aaiLineupRows[f][r];
    EXPECT_EQ(n, 11) << "formation " << f;
    EXPECT_EQ(matchflow_aaiLineupRows[f][0], 1) << "formation " << f;
  }
  // Four rows: the first at (26 - 4) x 3 = 66, rows (13 - 4) x 4 = 36 apart.
  std::int32_t x = 0, y = 0;
  matchflow_LineupNamePlace(4, 0, 1, 0, &x, &y);
  EXPECT_EQ(x, 320);
  EXPECT_EQ(y, 66);
  matchflow_LineupNamePlace(4, 2, 4, 3, &x, &y);
  EXPECT_EQ(x, 320 + 190);
  EXPECT_EQ(y, 66 + 72);
  const std::int32_t aiX[5] = {100, 210, 320, 430, 540};
  const std::int32_t aiDy[5] = {12, -12, 0, -12, 0};
  for (std::int32_t k = 0; k < 5; k++) {
    matchflow_LineupNamePlace(5, 1, 5, k, &x, &y);
    EXPECT_EQ(x, aiX[k]);
    EXPECT_EQ(y, (26 - 5) * 3 + (13 - 5) * 4 + aiDy[k]);
  }
  matchflow_LineupNamePlace(3, 1, 3, 0, &x, &y);
  EXPECT_EQ(x, 170);
}

TEST(Lineup, ANameWiderThanItsRoomShowsAsItsLastWordCutToTheRoom) {
  // Over the match every character takes a 16-pixel cell; on the match's
  // overlay at 640 x 480 a row of five leaves 110 pixels between centres, a
  // row of two 200, and a name keeps 16 of them free to its neighbour: 94
  // (five cells) and 184.
  const std::int32_t bWas = pctext_b3DTextMode;
  pctext_b3DTextMode = 1;
  pcfe_ScaleSet(640, 240, 640, 480);
  const auto Fit = [](const char* psz, std::int32_t n) {
    char sz[32];
    matchflow_LineupNameFit(psz, n, sz, static_cast<std::int32_t>(sizeof sz));
    return std::string(sz);
  };
  EXPECT_EQ(Fit("Branko Petic", 5), "Petic");
  EXPECT_EQ(Fit("Branko Petic", 2), "Petic");
  EXPECT_EQ(Fit("Jose Maria", 2), "Jose Maria");
  EXPECT_EQ(Fit("Ivan", 5), "Ivan");
  EXPECT_EQ(Fit("Jose Maria Rodrigues", 1), "Jose Maria Rodrigues");
  EXPECT_EQ(Fit("Jose Maria Rodrigues", 3), "Rodrigue");
  EXPECT_EQ(Fit("Dmitri Karenichev", 5), "Karen");
  EXPECT_EQ(Fit("Aleksandrovich", 4), "Aleksa");
  EXPECT_EQ(Fit("Trailing ", 5), "Trail");
  EXPECT_EQ(Fit("", 5), "");
  // At 1280 pixels across there is room for twice as much.
  pcfe_ScaleSet(640, 240, 1280, 960);
  EXPECT_EQ(Fit("Dmitri Karenichev", 5), "Karenichev");
  pcfe_ScaleSet(512, 240, 640, 480);
  pctext_b3DTextMode = bWas;
}

// ---- Ends and possession at the break ---------------------------------------------------------

TEST(PeriodBreak, TheTossFlipsPossessionFollowsAndTheEndsSwapAsZeroOrOne) {
  for (std::int32_t iToss : {0, 1}) {
    for (std::int32_t iAwayEnd : {0, 1}) {
      match.CoinToss = iToss;
      match.HomeTeam.KickOff = 1 - iAwayEnd;
      match.AwayTeam.KickOff = iAwayEnd;
      periodbreak_EndsSwap();
      EXPECT_EQ(match.CoinToss, 1 - iToss);
      // Toss 1 before: away in possession (club state 0).
      EXPECT_EQ(match_HomeClubStateGet(), iToss == 1 ? 1 : 0);
      EXPECT_EQ(match_AwayClubStateGet(), iToss == 1 ? 0 : 1);
      EXPECT_EQ(match.HomeTeam.KickOff, iAwayEnd);
      EXPECT_EQ(match.AwayTeam.KickOff, 1 - iAwayEnd);
    }
  }
}

// ---- Quick-match draws -------------------------------------------------------------------------

TEST(QuickMatch, EveryEntryIsATeamEditionWithASquad) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  for (std::int32_t e = 0; e < MQUICK_TEAMS; e++) {
    const std::uint32_t uMask = mquick_YearMaskGet(e);
    ASSERT_NE(uMask, 0u);
    MTeam* t = mteam_poFindTeamByName(mquick_TeamNameGet(e), mteam_YearIndexFromMask(uMask));
    ASSERT_NE(t, nullptr) << "entry " << e << " " << mquick_TeamNameGet(e);
    EXPECT_NE(t->uMask & uMask, 0u);
  }
  EXPECT_EQ(mteam_poFindTeamByName("no such team", 3), nullptr);
  EXPECT_EQ(mteam_poFindTeamByName(mquick_TeamNameGet(0), DB_EDITIONS), nullptr);
  EXPECT_EQ(mteam_YearIndexFromMask(1u << 7), 7);
}

TEST(QuickMatch, TheDrawsDependOnNothingButTheDrawsBefore) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  mquick_RandomReset(0);
  std::vector<std::int32_t> a;
  for (std::int32_t i = 0; i < 20; i++) a.push_back(mquick_RandomTeamGet());
  // The game's generator moving on (front-end ticks, other draws) changes nothing.
  mquick_RandomReset(0);
  for (std::int32_t i = 0; i < 12345; i++) (void)QMathRandNext();
  for (std::int32_t i = 0; i < 20; i++) EXPECT_EQ(mquick_RandomTeamGet(), a[static_cast<std::size_t>(i)]);
  for (std::int32_t v : a) EXPECT_TRUE(v >= 0 && v < MQUICK_TEAMS);
  EXPECT_GT(std::set<std::int32_t>(a.begin(), a.end()).size(), 10u);
}

TEST(QuickMatch, TwoDifferentTeamsAreSetUpWithTheirSquads) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  mquick_RandomReset(0);
  for (std::int32_t n = 0; n < 30; n++) {
    ASSERT_TRUE(matchflow_QuickTeamsSet());
    const Squad* h = match_HomeTeamGet()->Squad;
    const Squad* w = match_AwayTeamGet()->Squad;
    ASSERT_TRUE(h && w);
    EXPECT_FALSE(h->iTeamId == w->iTeamId && h->iEdition == w->iEdition);
    EXPECT_GE(match_HomeTeamGet()->iSquadSize, 11);
    EXPECT_GE(match_AwayTeamGet()->iSquadSize, 11);
  }
}

}  // namespace

// Quick match over many seeds: two different historical sides set up with
// their squads, formations and numbers, the stadium and the options written,
// the squad cache holding both sides and the scratch buffer free again; a
// match start whose squads cannot be loaded gives up after its draws.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "engine/player.h"
#include "engine/team.h"
#include "frontend/frontend_services.h"
#include "frontend/mquick.h"
#include "frontend/mteam_conf.h"
#include "frontend/pctext.h"
#include "matchflow/demo.h"
#include "matchflow/environ.h"
#include "matchflow/matcha.h"
#include "shell/global.h"
#include "shell/mem.h"
#include "support/match_harness.h"
#include "tournament/dbindex.h"
#include "tournament/dbplayer.h"
#include "tournament/squad.h"
#include "tournament/stadium.h"
#include "tournament/tla.h"
#include "tournament/tournament_services.h"

namespace mh = match_harness;

namespace {

std::pair<std::int32_t, std::int32_t> RowOf(const Squad* s) {
  return {s->iTeamId, s->iEdition};
}

// The table's row of a team edition, -1 when it has none.
std::int32_t TableRow(const Squad* s) {
  for (std::int32_t r = 0; r < MQUICK_TEAMS; r++)
    if (static_cast<std::int32_t>(mquick_aRows[r].uTeam) == s->iTeamId && mquick_aRows[r].uMask == 1u << s->iEdition)
      return r;
  return -1;
}

class QuickMatch : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
  }
  void Start(std::uint32_t uSeed) {
    mquick_RandomReset(uSeed);
    mcondi_MatchLengthSet(5);
    mcondi_CameraSet(0);
    mcondi_ExtraTimeSet(0);
    tmglobal_TournamentMatchSet(1);
    tmglobal_MatchPhaseSet(3);
    demo_Start();
    global_SetGameMode(GAME_MODE_QUICK_START);
    global_GameModeTransition();
    mquick_MatchStart();
    global_GameModeTransition();
  }
};

TEST_F(QuickMatch, TheTableHoldsEveryRowOnceEachOneEditionOfATeam) {
  std::set<std::pair<std::uint32_t, std::uint32_t>> seen;
  for (std::int32_t r = 0; r < MQUICK_TEAMS; r++) {
    const MQuickRow& q = mquick_aRows[r];
    EXPECT_TRUE(q.uMask != 0 && (q.uMask & (q.uMask - 1)) == 0 && q.uMask < (1u << DB_EDITIONS)) << r;
    EXPECT_TRUE(seen.insert({q.uTeam, q.uMask}).second) << r;
  }
  // Rows as the table gives them: the first, Brazil 1958 and the last.
  EXPECT_STREQ(tla_EnglishNameGet(static_cast<std::int32_t>(mquick_aRows[0].uTeam)), "Argentina");
  EXPECT_EQ(mquick_aRows[0].uMask, 1u << 5);
  EXPECT_STREQ(tla_EnglishNameGet(static_cast<std::int32_t>(mquick_aRows[2].uTeam)), "Brazil");
  EXPECT_EQ(mquick_aRows[2].uMask, 1u);
  EXPECT_STREQ(tla_EnglishNameGet(static_cast<std::int32_t>(mquick_aRows[153].uTeam)), "Wales");
  EXPECT_EQ(mquick_aRows[153].uMask, 1u << 9);
}

TEST_F(QuickMatch, EverySeedSetsUpTwoDifferentSidesAndStartsTheMatch) {
  for (std::uint32_t uSeed = 1; uSeed <= 40; uSeed++) {
    Start(uSeed);
    ASSERT_EQ(global_eGetGameMode(), GAME_MODE_MATCH_START) << uSeed;
    EXPECT_EQ(global_eGetExtendedGameMode(), 74) << uSeed;
    const MatchTeam* h = match_HomeTeamGet();
    const MatchTeam* a = match_AwayTeamGet();
    ASSERT_TRUE(h->Squad && a->Squad) << uSeed;
    EXPECT_NE(RowOf(h->Squad), RowOf(a->Squad)) << uSeed;
    EXPECT_GE(TableRow(h->Squad), 0) << uSeed;
    EXPECT_GE(TableRow(a->Squad), 0) << uSeed;
    // Home in squad-cache slot 0, away in slot 1; the scratch buffer free.
    EXPECT_EQ(h->Squad, squadcache_SlotGet(0)) << uSeed;
    EXPECT_EQ(a->Squad, squadcache_SlotGet(1)) << uSeed;
    EXPECT_EQ(mem_Lock, 0) << uSeed;
    // Each side in its edition's formation, remembered, numbered from its
    // slots, with eleven on the pitch.
    for (const MatchTeam* t : {h, a}) {
      const MTeam* e = mteam_poFindTeamByName(tla_NameGet(t->Squad->iTeamId), t->Squad->iEdition);
      ASSERT_NE(e, nullptr);
      EXPECT_EQ(t->iFormation, e->acFormations[t->Squad->iEdition]) << uSeed;
      EXPECT_EQ(t->iSavedFormation, t->iFormation) << uSeed;
      EXPECT_EQ(t->MySquad, t == h ? match_aHomeSquad : match_aAwaySquad);
      int n = 0;
      std::set<std::uint32_t> numbers;
      for (const DBPlayer* p = t->poPitchList; p; p = p->poNext, n++) {
        ASSERT_NE(p->poSlot, nullptr);
        EXPECT_EQ(p->uField88, static_cast<std::uint32_t>(p->poSlot->iNumber));
        EXPECT_EQ(p->poSavedSlot, p->poSlot);
        numbers.insert(p->uField88);
      }
      EXPECT_EQ(n, 11) << uSeed;
      EXPECT_EQ(numbers.size(), 11u) << uSeed;
    }
    EXPECT_EQ(a->SubRequest, 0);
    EXPECT_EQ(team_PresentationFlagGet(a), 1);
    EXPECT_EQ(team_ImageGet(a), 0);
    EXPECT_EQ(team_SoundGet(a), 0);
    // The stadium of the home side's edition, the match's options.
    EXPECT_EQ(environ_StadiumGet(), stadium_Choose(h->Squad->iEdition, nullptr)) << uSeed;
    EXPECT_EQ(tmglobal_YearGet(), 58 + 4 * h->Squad->iEdition);
    EXPECT_EQ(tmglobal_TournamentMatchGet(), 0);
    EXPECT_EQ(tmglobal_MatchPhaseGet(), 0);
    EXPECT_EQ(mcondi_MatchLengthGet(), 10);
    EXPECT_EQ(mcondi_CameraGet(), 2);
    EXPECT_EQ(mcondi_ExtraTimeGet(), 1);
    EXPECT_EQ(demo_bIsRunning(), 0);
  }
}

TEST_F(QuickMatch, OneNationMayMeetItselfFromTwoEditions) {
  // The seed whose first two different draws are one team in two editions.
  std::uint32_t uSeed = 0;
  for (std::uint32_t s = 1; s < 20000 && !uSeed; s++) {
    mquick_RandomReset(s);
    const std::int32_t a = mquick_RandomTeamGet();
    std::int32_t h = mquick_RandomTeamGet();
    while (h == a) h = mquick_RandomTeamGet();
    if (mquick_aRows[a].uTeam == mquick_aRows[h].uTeam) uSeed = s;
  }
  ASSERT_NE(uSeed, 0u);
  Start(uSeed);
  ASSERT_EQ(global_eGetGameMode(), GAME_MODE_MATCH_START);
  EXPECT_EQ(match_HomeTeamGet()->Squad->iTeamId, match_AwayTeamGet()->Squad->iTeamId);
  EXPECT_NE(match_HomeTeamGet()->Squad->iEdition, match_AwayTeamGet()->Squad->iEdition);
}

TEST_F(QuickMatch, SquadsThatCannotBeLoadedAreDrawnAgainThenGivenUp) {
  // The scratch buffer lent elsewhere: no squad can be loaded.
  void* pv = mem_pvLock();
  ASSERT_NE(pv, nullptr);
  Start(7);
  mem_Unlock();
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_RETURN_TO_MAIN_MENU);
  EXPECT_GT(pctext_iMessageFramesGet(), 0);
  // Eight rows were drawn for the away side, no more: the next draw is the
  // seed's ninth.
  const std::int32_t iNext = mquick_RandomTeamGet();
  mquick_RandomReset(7);
  for (std::int32_t k = 0; k < MQUICK_DRAWS; k++) (void)mquick_RandomTeamGet();
  EXPECT_EQ(iNext, mquick_RandomTeamGet());
  // A row whose team the lookup cannot find is refused.
  EXPECT_EQ(mteam_poFindTeamByName("no such team", 3), nullptr);
  // With the buffer back, the same seed starts its match.
  Start(7);
  EXPECT_EQ(global_eGetGameMode(), GAME_MODE_MATCH_START);
}

}  // namespace

// Shirt numbers over every squad of the player database, as the squad pages
// show them: each team edition set up in its formation and numbered from its
// slots, in the qualifiers and in the finals, and again after a starter and
// a reserve change places: no number is worn twice, each is 1 to 22, and in
// the finals (and in the editions without a bench) every player has one.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/team.h"
#include "matchflow/matcha.h"
#include "shell/global.h"
#include "tournament/dbindex.h"
#include "tournament/squad.h"
#include "tournament/tla.h"
#include "tournament/tmtree.h"
#include "tournament_env.h"

namespace {

std::vector<std::uint8_t> g_abBuffer(4 + 112 * TEAM_SQUADSIZE_MAX);

std::vector<DBPlayer*> Listed(const MatchTeam* t) {
  std::vector<DBPlayer*> a;
  for (DBPlayer* po : {t->poPitchList, t->poBenchList, t->poReserveList})
    for (DBPlayer* p = po; p; p = p->poNext) a.push_back(p);
  return a;
}

// The numbers shown are unique; "" when they are, else what is wrong.
std::string NumbersFault(const MatchTeam* t, bool bAllNumbered) {
  std::set<std::uint32_t> seen;
  for (const DBPlayer* p : Listed(t)) {
    const std::uint32_t u = p->uField88;
    if (u == 0) {
      if (bAllNumbered) return std::string(p->szName) + " has no number";
      continue;
    }
    if (u > 22) return std::string(p->szName) + " wears " + std::to_string(u);
    if (!seen.insert(u).second) return "number " + std::to_string(u) + " twice (" + p->szName + ")";
  }
  return "";
}

TEST(SquadNumbers, NoNumberTwiceInAnySquadInOrOutOfTheFinals) {
  const GameMode eOld = global.eExtendedGameMode;
  global.eExtendedGameMode = GAME_MODE_HISTORY;
  int cChecked = 0;
  for (std::int32_t k = 0; k < dbteams_cTeams; k++) {
    const DBTeamEditions& e = dbteams_aTeams[k];
    for (std::int32_t ed = 0; ed < DB_EDITIONS; ed++) {
      if (!((e.uMask >> ed) & 1)) continue;
      for (std::int32_t bFinals = 0; bFinals < 2; bFinals++) {
        if (bFinals && !((e.uFinalsMask >> ed) & 1)) continue;
        tmglobal_FinalsSet(bFinals);
        SquadTeamRef ref{e.iTeamId, e.iNumber * DB_KEY_STEP};
        Squad* s = squadcache_Load(&ref, ed, 0, g_abBuffer.data(), static_cast<std::int32_t>(g_abBuffer.size()));
        ASSERT_NE(s, nullptr);
        match_SquadBuffersPoint();
        match_HomeSquadSet(s);
        MatchTeam* t = match_HomeTeamGet();
        t->iFormation = -1;
        team_SetUp(e.aiFormation[ed], t);
        team_NumbersFromSlots(t);
        const std::string where = std::string(tla_NameGet(e.iTeamId)) + " 19" + std::to_string(58 + 4 * ed) +
                                  (bFinals ? " finals" : "");
        const bool bAll = bFinals || t->poBenchList == nullptr;
        EXPECT_EQ(NumbersFault(t, bAll), "") << where;
        // A starter and the last reserve change places; numbered again.
        if (t->poReserveList != nullptr) {
          DBPlayer* r = t->poReserveList;
          while (r->poNext) r = r->poNext;
          ASSERT_TRUE(team_PlayersSwap(t, t->poPitchList->poNext, r, 0)) << where;
          team_NumbersFromSlots(t);
          EXPECT_EQ(NumbersFault(t, bAll), "") << where << " after a swap";
        }
        cChecked++;
      }
    }
  }
  EXPECT_GT(cChecked, 1000);
  tmglobal_FinalsSet(0);
  global.eExtendedGameMode = eOld;
}

}  // namespace

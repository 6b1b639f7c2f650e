// Substitutions in whole matches through the headless harness: computer
// sides change late in the match; each substitute walks on as a twelfth
// player only while the substitution script runs, and the change leaves both
// chains made of the sides' own eleven records with the newcomer in the
// outgoing player's record.
#include <gtest/gtest.h>

#include <set>

#include "engine/player.h"
#include "engine/team.h"
#include "matchflow/clock.h"
#include "matchflow/matcha.h"
#include "matchflow/subs.h"
#include "shell/global.h"
#include "support/match_harness.h"
#include "tournament/dbplayer.h"

namespace mh = match_harness;

namespace {

struct Watch {
  DBPlayer* apoWas[PLAYER_MAX] = {};
  bool bPrimed = false;
  std::int32_t ePrevMode = 0;  // the mode the tick ran in
  int cChanges = 0;
  int cTwelve = 0;
  int iFirstChangeMinute = -1;
  std::set<int> minutes;
  std::string sFault;
};

Player* Record(int i) { return i < PLAYER_TEAM_SIZE ? &player_aHome[i] : &player_aAway[i - PLAYER_TEAM_SIZE]; }

void Fault(Watch* w, const std::string& s) {
  if (w->sFault.empty()) w->sFault = s;
}

void OnTick(std::int32_t iTick, void* pv) {
  Watch* w = static_cast<Watch*>(pv);
  const GameMode e = global_eGetGameMode();
  const std::int32_t eRan = w->ePrevMode;
  w->ePrevMode = e;
  if (e < GAME_MODE_KICK_OFF && e != GAME_MODE_PLAY) return;
  for (int k = 0; k < 2; k++) {
    MatchTeam* t = k == 0 ? match_HomeTeamGet() : match_AwayTeamGet();
    Player* aBase = k == 0 ? player_aHome : player_aAway;
    int n = 0;
    bool bSpare = false;
    for (Player* pp = t->poPlayers; pp && n < 20; pp = pp->pNext, n++) {
      const bool bOwn = pp >= aBase && pp < aBase + PLAYER_TEAM_SIZE;
      if (!bOwn) {
        bSpare = true;
        if (pp != subs_SparePlayerGet()) Fault(w, "a stranger in a chain at tick " + std::to_string(iTick));
      }
    }
    if (n > 12) Fault(w, "a chain runs on at tick " + std::to_string(iTick));
    if (bSpare) {
      w->cTwelve++;
      if (e != GAME_MODE_SET_PIECE_SCRIPT) Fault(w, "the spare on the pitch outside the script, mode " + std::to_string(e));
    }
    if (e == GAME_MODE_PLAY && n > PLAYER_TEAM_SIZE) Fault(w, "twelve in open play at tick " + std::to_string(iTick));
  }
  for (int i = 0; i < PLAYER_MAX; i++) {
    Player* pp = Record(i);
    // Substitutions are carried out by the substitution script; the records
    // are also relinked when a period starts.
    if (w->bPrimed && eRan == GAME_MODE_SET_PIECE_SCRIPT && pp->pDBPlayer != w->apoWas[i] && w->apoWas[i]) {
      // A change: the newcomer is on the pitch list, the outgoing player on
      // the bench marked substituted.
      MatchTeam* t = i < PLAYER_TEAM_SIZE ? match_HomeTeamGet() : match_AwayTeamGet();
      if (!team_IsOnPitch(t, pp->pDBPlayer)) Fault(w, "the newcomer is not on the pitch list");
      if (!dbplayer_SubstitutedGet(w->apoWas[i])) Fault(w, "the outgoing player is not marked");
      if (pp->iSupportState == 2) Fault(w, "the newcomer kept the walk-on's support state");
      w->cChanges++;
      w->minutes.insert(clock_MinuteGet());
      if (w->iFirstChangeMinute < 0) w->iFirstChangeMinute = clock_MinuteGet();
    }
    w->apoWas[i] = pp->pDBPlayer;
  }
  w->bPrimed = true;
}

TEST(SubsMatch, ComputerSidesChangeLateAndEachSubstituteWalksOn) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  int cMatchesWithChanges = 0;
  for (std::uint32_t uSeed : {3u, 4u, 5u, 6u, 7u, 8u}) {
    mh::Config c;
    c.uSeed = uSeed;
    c.iLength = 5;
    Watch w;
    mh::Result r = mh::Run(c, nullptr, OnTick, &w);
    ASSERT_TRUE(r.bFinished) << r.Describe(c);
    EXPECT_TRUE(w.sFault.empty()) << "seed " << uSeed << ": " << w.sFault;
    if (w.cChanges > 0) {
      cMatchesWithChanges++;
      EXPECT_GT(w.iFirstChangeMinute, 55) << uSeed;
      EXPECT_GT(w.cTwelve, 0) << uSeed;
    }
    EXPECT_LE(w.cChanges, 6) << uSeed;
  }
  EXPECT_GT(cMatchesWithChanges, 0);
}

}  // namespace

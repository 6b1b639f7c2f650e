// A drawn history tie played again from the start (round format 5: level
// after extra time, the match is replayed) keeps what the tournament keeps,
// the bookings and suspensions of the drawn match, and forgets who was
// substituted in it: at the replay's kick-off nobody is marked substituted,
// the sides have their three substitutions over the same bench as a new
// match, and a bench player who came on and went off again in the drawn
// match comes on in the replay.
//
// The substitutions are made as the computer's manager makes his: queued
// (subs_Queue) at a stoppage of the manager's mode, from where the
// substitution script walks the substitute on. A sending-off is rare at
// five minutes a half (none in seeds 1 to 24): an away player's record is
// marked sent off and suspended at the first stoppage, as the referee's card
// marks it.
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "engine/player.h"
#include "engine/team.h"
#include "matchflow/matcha.h"
#include "matchflow/injuryg.h"
#include "matchflow/matchstate.h"
#include "matchflow/subs.h"
#include "shell/global.h"
#include "support/match_harness.h"
#include "tournament/dbplayer.h"

namespace mh = match_harness;

namespace {

// The Player record that carries a squad record, or none.
const Player* Carrier(const DBPlayer* p) {
  for (const Player* pa : {player_aHome, player_aAway})
    for (std::int32_t i = 0; i < PLAYER_TEAM_SIZE; i++)
      if (pa[i].pDBPlayer == p) return &pa[i];
  return nullptr;
}

// On the pitch list and carried by one of the side's eleven.
bool Playing(MatchTeam* t, const DBPlayer* p) { return team_IsOnPitch(t, p) && Carrier(p) != nullptr; }

// An outfield player on the pitch other than poNot, with his record.
DBPlayer* OutfieldPlayer(MatchTeam* t, const DBPlayer* poNot) {
  for (DBPlayer* p = t->poPitchList; p; p = p->poNext) {
    const Player* pp = Carrier(p);
    if (p != poNot && pp && pp != t->poPlayers && !player_IsGoalkeeper(pp)) return p;
  }
  return nullptr;
}

// A bench player free to come on, other than poNot.
DBPlayer* FreeBenchPlayer(MatchTeam* t, const DBPlayer* poNot) {
  for (DBPlayer* p = t->poBenchList; p; p = p->poNext)
    if (p != poNot && !dbplayer_SubstitutedGet(p) && !dbplayer_SuspendedGet(p)) return p;
  return nullptr;
}

// Both sides' records: each one's card state and suspension as text, and
// how many are booked once, substituted and suspended.
struct Records {
  std::string sCards;
  std::int32_t cBookedOnce = 0, cSubstituted = 0, cSuspended = 0;
};
Records RecordsGet() {
  Records o;
  std::ostringstream ss;
  for (const MatchTeam* t : {&match.HomeTeam, &match.AwayTeam})
    for (std::int32_t i = 0; i < t->iSquadSize; i++) {
      const DBPlayer* p = &t->MySquad[i];
      const std::uint32_t uCard = dbplayer_CardStateGet(p);
      ss << uCard << dbplayer_SuspendedGet(p) << ' ';
      o.cBookedOnce += uCard == DBPLAYER_CARD_BOOKED;
      o.cSubstituted += dbplayer_SubstitutedGet(p);
      o.cSuspended += dbplayer_SuspendedGet(p);
    }
  o.sCards = ss.str();
  return o;
}

// One run: the drawn match and the replay up to its substitute's arrival.
struct Watch {
  std::int32_t cStarts = 0;
  std::int32_t iLevel = 2;  // period ends still to be levelled: full time, extra time
  bool bInPeriodEnd = false;
  // The drawn match: P taken off for B, then B taken off for C.
  DBPlayer* poP = nullptr;
  DBPlayer* poB = nullptr;
  DBPlayer* poC = nullptr;
  DBPlayer* poSentOff = nullptr;  // an away player
  std::int32_t iStep = 0;
  std::int32_t aiAvailableNew[2] = {-1, -1};  // substitutions the sides may make at the new match's kick-off
  // As the drawn match left the sides, up to the replay's start.
  Records oBefore;
  bool bBMarkedBefore = false;
  // At the replay's kick-off.
  bool bKickOffSeen = false;
  Records oAtKickOff;
  bool bPMarked = true, bBMarked = true, bBOnBench = false, bSentOffPlays = true;
  std::int32_t aiAvailableAgain[2] = {-1, -1};
  // In the replay.
  std::int32_t bBQueued = -1;
  bool bBCameOn = false;
  std::string sFault;
};
Watch g_w;

void Started() { g_w.cStarts++; }

void Fault(const std::string& s) {
  if (g_w.sFault.empty()) g_w.sFault = s;
}

void Look(std::int32_t iTick, void*) {
  Watch& w = g_w;
  MatchTeam* t = &match.HomeTeam;
  // The sides play a history's match.
  if (iTick == 0) global_SetExtendedGameMode(GAME_MODE_HISTORY);
  const bool bIn = global.eGameMode == GAME_MODE_PERIOD_END;
  if (bIn && !w.bInPeriodEnd && w.iLevel > 0) {
    match.AwayGoals = match.HomeGoals;
    w.iLevel--;
  }
  w.bInPeriodEnd = bIn;
  const bool bStoppage = global.eGameMode == GAME_MODE_CPU_SUBS;
  if (w.cStarts == 1) {
    if (global.eGameMode == GAME_MODE_KICK_OFF && w.aiAvailableNew[0] < 0) {
      w.aiAvailableNew[0] = subs_AvailableCount(&match.HomeTeam);
      w.aiAvailableNew[1] = subs_AvailableCount(&match.AwayTeam);
    }
    if (w.iStep == 0 && bStoppage) {
      w.poP = OutfieldPlayer(t, nullptr);
      w.poB = FreeBenchPlayer(t, nullptr);
      if (!w.poP || !w.poB) return Fault("no player to take off or bring on in the drawn match");
      if (subs_Queue(t, w.poP, w.poB) != 1) return Fault("B was not queued to come on in the drawn match");
      w.poSentOff = OutfieldPlayer(&match.AwayTeam, nullptr);
      if (!w.poSentOff) return Fault("no away player to send off");
      dbplayer_RedCardAdd(w.poSentOff);
      injuryg_SuspensionSet(w.poSentOff);
      w.iStep = 1;
    } else if (w.iStep == 1 && bStoppage && Playing(t, w.poB)) {
      w.poC = FreeBenchPlayer(t, w.poB);
      if (!w.poC) return Fault("no player to bring on for B");
      if (subs_Queue(t, w.poB, w.poC) != 1) return Fault("B was not queued to go off in the drawn match");
      w.iStep = 2;
    }
    w.oBefore = RecordsGet();
    w.bBMarkedBefore = w.poB && dbplayer_SubstitutedGet(w.poB);
    return;
  }
  if (w.cStarts != 2 || w.iStep < 2) return;
  if (!w.bKickOffSeen) {
    if (global.eGameMode != GAME_MODE_KICK_OFF) return;
    w.bKickOffSeen = true;
    w.oAtKickOff = RecordsGet();
    w.bPMarked = dbplayer_SubstitutedGet(w.poP) != 0;
    w.bBMarked = dbplayer_SubstitutedGet(w.poB) != 0;
    w.bSentOffPlays = team_IsOnPitch(&match.AwayTeam, w.poSentOff) != 0;
    // His team sheet puts him on the bench again.
    for (const DBPlayer* p = t->poBenchList; p; p = p->poNext) w.bBOnBench = w.bBOnBench || p == w.poB;
    w.aiAvailableAgain[0] = subs_AvailableCount(&match.HomeTeam);
    w.aiAvailableAgain[1] = subs_AvailableCount(&match.AwayTeam);
    return;
  }
  if (w.bBQueued < 0 && bStoppage && w.bBOnBench) {
    DBPlayer* poOff = OutfieldPlayer(t, nullptr);
    if (!poOff) return Fault("no player to take off in the replay");
    w.bBQueued = subs_Queue(t, poOff, w.poB);
    if (w.bBQueued != 1) global.eGameMode = GAME_MODE_MATCH_END;  // nothing more to see
    return;
  }
  if (w.bBQueued == 1 && global.eGameMode == GAME_MODE_PLAY && Playing(t, w.poB)) {
    w.bBCameOn = true;
    global.eGameMode = GAME_MODE_MATCH_END;  // the run ends here
  }
}

class HistoryReplay : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
    matchstate_ObserverSet(Started);
  }
  void TearDown() override {
    matchstate_ObserverSet(nullptr);
    global_SetExtendedGameMode(GAME_MODE_START_FRIENDLY);
  }
};

// Seeds 1 to 6: a tie of five-minute halves under a harsh referee, the
// computer on both sides.
TEST_F(HistoryReplay, ADrawnTiePlayedAgainForgetsItsSubstitutionsAndKeepsItsCards) {
  std::int32_t cBooked = 0;
  for (std::uint32_t uSeed = 1; uSeed <= 6; uSeed++) {
    SCOPED_TRACE("seed " + std::to_string(uSeed));
    mh::Config c;
    c.uSeed = uSeed;
    c.iLength = 5;
    c.iExtraTime = 0;
    c.bPenalties = 0;
    c.iReferee = 2;
    c.bTournament = 1;
    c.iRoundFormat = 5;
    g_w = Watch{};
    const mh::Result r = mh::Run(c, nullptr, Look);
    const Watch& w = g_w;
    ASSERT_TRUE(w.sFault.empty()) << w.sFault << ": " << r.Describe(c);
    ASSERT_EQ(w.iStep, 2) << "the drawn match made its two substitutions: " << r.Describe(c);
    ASSERT_TRUE(w.bKickOffSeen) << "no kick-off of the replay: " << r.Describe(c);
    // The drawn match marked both players it took off.
    EXPECT_TRUE(w.bBMarkedBefore);
    EXPECT_GE(w.oBefore.cSubstituted, 2);
    EXPECT_GE(w.oBefore.cSuspended, 1);
    cBooked += w.oBefore.cBookedOnce;
    // The replay: nobody substituted, the cards and suspensions as they were.
    EXPECT_EQ(w.oAtKickOff.cSubstituted, 0);
    EXPECT_FALSE(w.bPMarked);
    EXPECT_FALSE(w.bBMarked);
    EXPECT_EQ(w.oAtKickOff.sCards, w.oBefore.sCards);
    // The history's suspension keeps the player sent off out of the replay.
    EXPECT_FALSE(w.bSentOffPlays);
    EXPECT_EQ(w.aiAvailableAgain[0], w.aiAvailableNew[0]);
    EXPECT_EQ(w.aiAvailableAgain[1], w.aiAvailableNew[1]);
    // B is on the bench again and comes on.
    EXPECT_TRUE(w.bBOnBench);
    EXPECT_EQ(w.bBQueued, 1);
    EXPECT_TRUE(w.bBCameOn) << r.Describe(c);
  }
  // The drawn matches booked somebody in play: their cards were there to keep.
  EXPECT_GT(cBooked, 0);
}

}  // namespace

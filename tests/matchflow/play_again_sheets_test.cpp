// A friendly played again (Play Again) starts from the team sheets its first
// match started from: at its kick-off the squads' records (flags, card
// states, suspensions, shirt numbers), the pitch, bench and reserve lists,
// the formations, the benches' substitutions and the players' records equal
// a new match's of the same sides and seed, however the first match booked,
// sent off or substituted its players. A drawn history match played again
// keeps what the tournament keeps: the bookings of its first match. Both
// start with the player speech's cool-downs reset, as a new match does. The
// friendly played again kicks off with the action table's match state (the
// director, the close-down, the steering, the touch words) as a new match's,
// and with every player as fresh.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <utility>

#include "audio/sound.h"
#include "engine/action.h"
#include "engine/action_react.h"
#include "engine/formation.h"
#include "engine/player.h"
#include "engine/team.h"
#include "engine/touch.h"
#include "matchflow/matcha.h"
#include "matchflow/matchflow.h"
#include "matchflow/matchstate.h"
#include "matchflow/subs.h"
#include "shell/global.h"
#include "support/match_harness.h"
#include "tournament/dbplayer.h"
#include "tournament/squad.h"

namespace mh = match_harness;

namespace {

// ---- The action table's match state as text -----------------------------------------------

// A player by his record: "h3", "a7", "-" for none.
std::string PlayerName(const Player* pp) {
  if (!pp) return "-";
  for (std::int32_t i = 0; i < PLAYER_TEAM_SIZE; i++) {
    if (pp == &player_aHome[i]) return "h" + std::to_string(i);
    if (pp == &player_aAway[i]) return "a" + std::to_string(i);
  }
  return "?";
}

// What the action table's reset sets up for a match: the director, the
// player closing down and his delay, the steering point, the users' turns,
// both sides' touch words and each player's touch record.
std::string TableText() {
  std::ostringstream ss;
  std::int32_t x = 0, y = 0;
  action_SteeringPointGet(&x, &y);
  ss << "director " << PlayerName(director_poPlayerGet()) << " close-down " << PlayerName(closedown_poPlayerGet())
     << " delay " << closedown_DelayGet() << " steer " << x << ',' << y << " turns";
  for (std::int32_t i = 0; i < 4; i++) ss << ' ' << action_UserTurnGet(i);
  for (const TouchTeam& t : touch_aTeams)
    ss << "\ntouch " << PlayerName(t.poContact) << ' ' << t.iKind << ' ' << t.iSavedKind << ' ' << t.iOffsetX << ' '
       << t.iOffsetY << ' ' << t.iOffsetH << ' ' << t.iHeading << ' ' << t.iTurn;
  for (const Player* pa : {player_aHome, player_aAway})
    for (std::int32_t i = 0; i < PLAYER_TEAM_SIZE; i++) {
      const TouchRecord& o = pa[i].oTouch;
      ss << "\n" << PlayerName(&pa[i]) << ' ' << o.iState << ' ' << o.iContactMark << ' ' << o.iTimer << ' '
         << o.aiOffset[0] << ' ' << o.aiOffset[1];
    }
  return ss.str();
}

// ---- The team sheets as text ---------------------------------------------------------------

std::int32_t IndexOf(const MatchTeam& t, const DBPlayer* p) {
  for (std::int32_t i = 0; i < t.iSquadSize; i++)
    if (&t.MySquad[i] == p) return i;
  return p ? -2 : -1;  // -2: a record outside the squad copy
}

std::int32_t SlotOf(const FormationSlot* ps) { return ps ? ps->iSlot : -1; }

// A side's sheet: its formations and lists, each squad record's file bytes
// and links (by squad index), the substitutions it may make, and which
// record each of its eleven players carries with his card word.
std::string SheetText(const MatchTeam& t, const Player* paPlayers) {
  std::ostringstream ss;
  ss << "formation " << t.iFormation << " saved " << t.iSavedFormation << " size " << t.iSquadSize << "\n";
  const char* const kNames[3] = {"pitch", "bench", "reserves"};
  const DBPlayer* const apo[3] = {t.poPitchList, t.poBenchList, t.poReserveList};
  for (std::int32_t k = 0; k < 3; k++) {
    ss << kNames[k] << ":";
    std::int32_t n = 0;
    for (const DBPlayer* p = apo[k]; p && n <= TEAM_SQUADSIZE_MAX; p = p->poNext, n++) ss << ' ' << IndexOf(t, p);
    ss << "\n";
  }
  for (std::int32_t i = 0; i < t.iSquadSize; i++) {
    const DBPlayer& o = t.MySquad[i];
    ss << i << ": flags " << std::hex << o.uFlags << std::dec << " card "
       << dbplayer_CardStateGet(&o) << " out " << static_cast<int>(o.iInjuryDay) << "/"
       << static_cast<int>(o.uInjuryMonth) << " slot " << SlotOf(o.poSlot) << " saved " << SlotOf(o.poSavedSlot)
       << " next " << IndexOf(t, o.poNext) << " bytes";
    const auto* pb = reinterpret_cast<const std::uint8_t*>(&o);
    char sz[4];
    for (std::int32_t b = 0; b < DBPLAYER_FILE_SIZE; b++) {
      std::snprintf(sz, sizeof sz, "%02x", pb[b]);
      ss << sz;
    }
    ss << "\n";
  }
  ss << "subs " << team_SubsAllowedGet(&t) << " available " << subs_AvailableCount(&t) << "\n";
  if (paPlayers) {
    ss << "players:";
    for (std::int32_t i = 0; i < PLAYER_TEAM_SIZE; i++)
      ss << ' ' << IndexOf(t, paPlayers[i].pDBPlayer) << "/" << paPlayers[i].iCardState;
    ss << "\n";
  }
  return ss.str();
}

std::string SheetsText(bool bPlayers = true) {
  return "home\n" + SheetText(match.HomeTeam, bPlayers ? player_aHome : nullptr) + "away\n" +
         SheetText(match.AwayTeam, bPlayers ? player_aAway : nullptr);
}

// The first differing line of two texts, for the failure message.
std::string FirstDifference(const std::string& a, const std::string& b) {
  std::istringstream sa(a), sb(b);
  std::string la, lb;
  for (std::int32_t n = 1;; n++) {
    const bool ba = static_cast<bool>(std::getline(sa, la)), bb = static_cast<bool>(std::getline(sb, lb));
    if (!ba && !bb) return "";
    if (!ba || !bb || la != lb) return "line " + std::to_string(n) + ":\n  " + la + "\nagainst\n  " + lb;
  }
}

// What the matches so far did to the squads' records.
struct Marks {
  std::int32_t cBooked = 0, cSubstituted = 0, cSuspended = 0;
};
Marks MarksGet() {
  Marks m;
  for (const MatchTeam* t : {&match.HomeTeam, &match.AwayTeam})
    for (std::int32_t i = 0; i < t->iSquadSize; i++) {
      const DBPlayer* p = &t->MySquad[i];
      m.cBooked += dbplayer_CardStateGet(p) != DBPLAYER_CARD_NONE;
      m.cSubstituted += dbplayer_SubstitutedGet(p);
      m.cSuspended += dbplayer_SuspendedGet(p);
    }
  return m;
}

// Each record's card state and suspension, home then away.
std::string CardsText() {
  std::ostringstream ss;
  for (const MatchTeam* t : {&match.HomeTeam, &match.AwayTeam})
    for (std::int32_t i = 0; i < t->iSquadSize; i++)
      ss << dbplayer_CardStateGet(&t->MySquad[i]) << dbplayer_SuspendedGet(&t->MySquad[i]) << ' ';
  return ss.str();
}

// The player speech as its reset leaves it on this tick: nothing queued, no
// recent shout, the referee's phrases and a player's call free to come.
bool SpeechReset() {
  const std::int32_t iNow = soundmatch_Frame();
  if (pchat_o.iShoutDelay != -1 || pchat_o.iRefereeDelay != -1 || pchat_o.iRecentCursor != 0 ||
      pchat_o.iLastCallFrame != iNow - 90)
    return false;
  for (std::int32_t n : pchat_o.aiRefereeStamp)
    if (n != iNow - 3000) return false;
  for (const auto& a : pchat_o.aaiRecent)
    for (std::int32_t n : a)
      if (n != -1) return false;
  return true;
}

// ---- Whole matches -------------------------------------------------------------------------

// A match watched at the kick-off of its iWanted-th start (1 a new match, 2
// the same sides played again); the run is cut off there.
struct Watch {
  std::int32_t iWanted = 1;
  std::int32_t cStarts = 0;
  bool bTaken = false;
  std::string sSheets;        // at the watched kick-off
  std::string sCardsBefore;   // as the matches before left them
  std::string sCardsAtKickOff;
  std::string sTable;         // the action table's match state at the watched kick-off
  std::string sTableBefore;   // and as the matches before left it
  std::string sStamina;       // each player's stamina at the watched kick-off
  Marks oBefore;              // what the matches before the watched start did
  bool bSpeechBefore = false;   // the speech not as a reset leaves it before the start
  bool bStartTick = false;      // the watched start came on this tick
  bool bSpeechReset = false;    // the speech as a reset leaves it after that tick
  std::int32_t iLevel = 0;      // period ends still to be levelled
  bool bInPeriodEnd = false;
};
Watch g_w;

void Started() {
  if (++g_w.cStarts == g_w.iWanted) g_w.bStartTick = true;
}

void Look(std::int32_t, void*) {
  Watch& w = g_w;
  if (w.cStarts < w.iWanted) {
    // As the matches before leave them, up to the tick the start comes on.
    w.oBefore = MarksGet();
    w.sCardsBefore = CardsText();
    w.sTableBefore = TableText();
    w.bSpeechBefore = !SpeechReset();
  } else if (w.bStartTick) {
    w.bStartTick = false;
    w.bSpeechReset = SpeechReset();
  }
  const bool bIn = global.eGameMode == GAME_MODE_PERIOD_END;
  if (bIn && !w.bInPeriodEnd && w.iLevel > 0) {
    match.AwayGoals = match.HomeGoals;
    w.iLevel--;
  }
  w.bInPeriodEnd = bIn;
  if (w.bTaken || w.cStarts != w.iWanted || global.eGameMode != GAME_MODE_KICK_OFF) return;
  w.bTaken = true;
  w.sSheets = SheetsText();
  w.sCardsAtKickOff = CardsText();
  w.sTable = TableText();
  for (const Player* pa : {player_aHome, player_aAway})
    for (std::int32_t i = 0; i < PLAYER_TEAM_SIZE; i++) w.sStamina += PlayerName(&pa[i]) + ' ' + std::to_string(pa[i].uStamina) + ' ';
  // Nothing more to see: the run ends here.
  global.eGameMode = GAME_MODE_MATCH_END;
}

// A friendly of five minutes a half with a harsh referee, the computer on
// both sides: seed 3 books a player and substitutes one before full time.
mh::Config Friendly() {
  mh::Config c;
  c.uSeed = 3;
  c.iLength = 5;
  c.iExtraTime = 0;
  c.bPenalties = 0;
  c.iReferee = 2;
  return c;
}

class PlayAgainSheets : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
    matchstate_ObserverSet(Started);
  }
  void TearDown() override { matchstate_ObserverSet(nullptr); }

  // The watched kick-off of the match c plays (its iWanted-th start).
  Watch Run(const mh::Config& c, std::int32_t iWanted, std::int32_t iLevel = 0) {
    g_w = Watch{};
    g_w.iWanted = iWanted;
    g_w.iLevel = iLevel;
    const mh::Result r = mh::Run(c, nullptr, Look);
    EXPECT_TRUE(g_w.bTaken) << "no kick-off of start " << iWanted << ": " << r.Describe(c);
    return g_w;
  }

  // The watched kick-offs of the friendly as a new match and played again.
  std::pair<Watch, Watch> NewAndAgain() {
    mh::Config c = Friendly();
    Watch oNew = Run(c, 1);
    c.bPlayAgain = true;
    return {oNew, Run(c, 2)};
  }
};


TEST_F(PlayAgainSheets, AFriendlyPlayedAgainStartsFromTheTeamSheetsOfANewMatch) {
  mh::Config c = Friendly();
  const Watch oNew = Run(c, 1);
  ASSERT_TRUE(oNew.bTaken);
  c.bPlayAgain = true;
  const Watch oAgain = Run(c, 2);
  ASSERT_TRUE(oAgain.bTaken);
  // The first match left its marks on the squads.
  EXPECT_GT(oAgain.oBefore.cBooked, 0) << "seed " << c.uSeed << " books nobody: take another";
  EXPECT_GT(oAgain.oBefore.cSubstituted, 0) << "seed " << c.uSeed << " substitutes nobody: take another";
  EXPECT_TRUE(oAgain.sSheets == oNew.sSheets) << FirstDifference(oAgain.sSheets, oNew.sSheets);
}

// The player speech of the match before is forgotten by the start of the
// one played again, as a new match's start forgets it.
TEST_F(PlayAgainSheets, APlayedAgainMatchStartsWithTheSpeechReset) {
  mh::Config c = Friendly();
  c.bPlayAgain = true;
  const Watch o = Run(c, 2);
  ASSERT_TRUE(o.bTaken);
  EXPECT_TRUE(o.bSpeechBefore) << "the first match left the speech as a reset does";
  EXPECT_TRUE(o.bSpeechReset);
}

// At its kick-off the match played again finds the action table's match
// state (the director, the close-down and its delay, the steering, the
// touch words) as a new match's kick-off finds it, whatever the first match
// left in it.
TEST_F(PlayAgainSheets, AFriendlyPlayedAgainKicksOffWithTheActionTableOfANewMatch) {
  const auto [oNew, oAgain] = NewAndAgain();
  ASSERT_TRUE(oNew.bTaken && oAgain.bTaken);
  EXPECT_NE(oAgain.sTableBefore, oNew.sTable) << "the first match left the table as a new match's kick-off has it";
  EXPECT_EQ(oAgain.sTable, oNew.sTable);
}

// Both kick off with every player fresh: a new match's keepers ran from the
// touch line to their goals in the wait at the centre spot, the match played
// again's were put there.
TEST_F(PlayAgainSheets, AFriendlyPlayedAgainKicksOffAsFreshAsANewMatch) {
  const auto [oNew, oAgain] = NewAndAgain();
  ASSERT_TRUE(oNew.bTaken && oAgain.bTaken);
  std::string sFresh;
  for (const char* psz : {"h", "a"})
    for (std::int32_t i = 0; i < PLAYER_TEAM_SIZE; i++) sFresh += psz + std::to_string(i) + " 700 ";
  EXPECT_EQ(oNew.sStamina, sFresh);
  EXPECT_EQ(oAgain.sStamina, sFresh);
}

// Round format 5: drawn after extra time, the match is played again. Its
// kick-off finds the bookings of the first match as the tournament keeps
// them.
TEST_F(PlayAgainSheets, AHistoryMatchPlayedAgainKeepsItsBookings) {
  mh::Config c = Friendly();
  c.bTournament = 1;
  c.iRoundFormat = 5;
  const Watch o = Run(c, 2, 2);
  ASSERT_TRUE(o.bTaken);
  EXPECT_GT(o.oBefore.cBooked, 0) << "seed " << c.uSeed << " books nobody: take another";
  EXPECT_EQ(o.sCardsAtKickOff, o.sCardsBefore);
  EXPECT_TRUE(o.bSpeechReset);
}

// ---- The start alone -----------------------------------------------------------------------

// Every kind of change a match makes to its sides' sheets, put back by a
// friendly's start again and kept by a tournament's.
class SheetsAtTheStart : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
    global_SetExtendedGameMode(GAME_MODE_START_FRIENDLY);
    squadcache_Clear();
    match_Clear();
    match_SquadBuffersPoint();
    ASSERT_TRUE(matchflow_SideLoad(player_PlaysFor_Home, 144, 3));
    ASSERT_TRUE(matchflow_SideLoad(player_PlaysFor_Away, 88, 3));
  }

  // What a match does to the sheets: bookings, a second booking, a
  // sending-off and its suspension, a substitution, a swap on the team
  // sheet, a formation changed and saved, shirt numbers.
  static void Scribble() {
    for (MatchTeam* t : {&match.HomeTeam, &match.AwayTeam}) {
      ASSERT_TRUE(t->poPitchList && t->poBenchList && t->poReserveList);
      DBPlayer* p0 = t->poPitchList->poNext;
      DBPlayer* p1 = p0->poNext;
      DBPlayer* p2 = p1->poNext;
      dbplayer_YellowCardAdd(p0);
      dbplayer_YellowCardAdd(p1);
      dbplayer_YellowCardAdd(p1);
      dbplayer_SuspendedSet(p1, 1);
      dbplayer_RedCardAdd(p2);
      dbplayer_SuspendedSet(p2, 1);
      dbplayer_InjuryDaySet(p2, -1);
      dbplayer_InjuryMonthSet(p2, 1);
      team_PlayersSwap(t, p0, t->poBenchList, 1);
      team_PlayersSwap(t, p2, t->poReserveList, 0);
      team_FormationApply(t, t->iFormation == 5 ? 10 : 5);
      team_FormationSave(t);
      t->poPitchList->uField88 = 99;
      team_PitchFirst(t);
    }
  }
};

TEST_F(SheetsAtTheStart, AFriendlyStartedAgainPutsEveryChangeBack) {
  matchflow_MatchBegin();
  // The scene's objects of the records are the scene's: left as they are.
  void* const pv3D = &match;
  for (std::int32_t i = 0; i < match.HomeTeam.iSquadSize; i++) match.HomeTeam.MySquad[i].po3DObject = pv3D;
  const std::string sKept = SheetsText(false);
  Scribble();
  const std::string sChanged = SheetsText(false);
  ASSERT_NE(sChanged, sKept);
  const Marks m = MarksGet();
  ASSERT_EQ(m.cSubstituted, 2);
  ASSERT_EQ(m.cSuspended, 4);
  matchflow_MatchBeginAgain(MatchAgain::kFriendly);
  EXPECT_TRUE(SheetsText(false) == sKept) << FirstDifference(SheetsText(false), sKept);
  const Marks n = MarksGet();
  EXPECT_EQ(n.cBooked + n.cSubstituted + n.cSuspended, 0);
  for (std::int32_t i = 0; i < match.HomeTeam.iSquadSize; i++) EXPECT_EQ(match.HomeTeam.MySquad[i].po3DObject, pv3D);
  // Played again once more: from the same sheets still.
  Scribble();
  matchflow_MatchBeginAgain(MatchAgain::kFriendly);
  EXPECT_TRUE(SheetsText(false) == sKept) << FirstDifference(SheetsText(false), sKept);
}

TEST_F(SheetsAtTheStart, ATournamentMatchStartedAgainKeepsThem) {
  matchflow_MatchBegin();
  Scribble();
  const std::string sChanged = SheetsText(false);
  matchflow_MatchBeginAgain(MatchAgain::kTournament);
  EXPECT_TRUE(SheetsText(false) == sChanged) << FirstDifference(SheetsText(false), sChanged);
}

// A new match takes the sheets it is handed, whatever the match before
// left: its own start keeps them, not the last one's.
TEST_F(SheetsAtTheStart, ANewMatchKeepsTheSheetsItIsHanded) {
  matchflow_MatchBegin();
  Scribble();
  const std::string sHanded = SheetsText(false);
  matchflow_MatchBegin();
  team_FormationApply(&match.HomeTeam, match.HomeTeam.iFormation == 1 ? 2 : 1);
  matchflow_MatchBeginAgain(MatchAgain::kFriendly);
  EXPECT_TRUE(SheetsText(false) == sHanded) << FirstDifference(SheetsText(false), sHanded);
}

}  // namespace

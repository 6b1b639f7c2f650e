// Both sides stand at their kick-off places whenever a kick-off is taken:
// the first of a match (after the walk-on), after a goal, at the second half,
// at both halves of extra time, at a match played again by Play Again and at
// a drawn history match played again. On every tick of the kick-off both
// keepers stand in their goal areas and the side not kicking off outside the
// centre circle; on the tick the ball is played every outfield player but
// the taker and his partner stands at the centre of his zone 35 in his own
// half (his keeper's), and nobody waits on a touch line. On its first tick
// (but after the walk-on) a player moved to his place starts from the
// standing clip and a keeper plays on the clip he had.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/newgoalo.h"
#include "engine/player.h"
#include "engine/zone.h"
#include "matchflow/clock.h"
#include "matchflow/matcha.h"
#include "matchflow/matchflow.h"
#include "shell/global.h"
#include "support/match_harness.h"

namespace mh = match_harness;

namespace {

// The pitch: the goal area 5.5 m deep and 18.32 m wide, the centre circle
// 9.15 m across the spot (1440 units).
constexpr std::int32_t kGoalAreaDepth = 866, kGoalAreaHalfWidth = 1443, kCircle = 1440;

bool InGoalArea(std::int32_t x, std::int32_t y) {
  return std::abs(x) <= BALL_GOAL_LINE_X && std::abs(x) >= BALL_GOAL_LINE_X - kGoalAreaDepth &&
         std::abs(y) <= kGoalAreaHalfWidth;
}
bool InCircle(std::int32_t x, std::int32_t y) {
  return static_cast<std::int64_t>(x) * x + static_cast<std::int64_t>(y) * y < static_cast<std::int64_t>(kCircle) * kCircle;
}

// What the laws forbid on any tick of a kick-off ("" when nothing): a keeper
// out of his goal area, a player of the side not kicking off in the circle.
std::string Unlawful() {
  std::ostringstream ss;
  const Player* poTaker = kickoff_poTakerGet();
  if (!poTaker) return "";
  for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp)) {
    if (player_IsGoalkeeper(pp)) {
      const int id = pp->ID;
      if (!InGoalArea(pp->x, pp->y)) ss << " keeper " << id << " at (" << pp->x << ", " << pp->y << ");";
      if (pp->height != 0) ss << " keeper " << id << " off the ground at " << pp->height << ";";
    } else if (pp->MyTeam != poTaker->MyTeam && InCircle(pp->x, pp->y)) {
      ss << " " << static_cast<int>(pp->ID) << " in the circle at (" << pp->x << ", " << pp->y << ");";
    }
  }
  return ss.str();
}

// What is wrong with the players' places on this tick ("" when nothing).
std::string Misplaced() {
  std::ostringstream ss;
  const Player* poTaker = kickoff_poTakerGet();
  const Player* poPartner = kickoff_poPartnerGet();
  for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp)) {
    const std::int32_t id = pp->ID;
    if (pp->y <= -5760 || pp->y >= 5760) ss << " " << id << " on a touch line;";
    if (player_IsGoalkeeper(pp) || pp == poTaker || pp == poPartner) continue;
    for (Player* pk = match_HomeFirstPlayerGet(); pk; pk = match_NextPlayerGet(pk))
      if (pk->MyTeam == pp->MyTeam && player_IsGoalkeeper(pk) && pp->x != 0 && (pp->x < 0) != (pk->x < 0))
        ss << " " << id << " in the other half;";
    QMathPoint pt{};
    if (!zone_bCentreGet(pp, &pt, 35)) ss << " " << id << " has no kick-off place;";
    else if (pp->x != pt.x || pp->y != pt.y)
      ss << " " << id << " at (" << pp->x << ", " << pp->y << "), his place (" << pt.x << ", " << pt.y << ");";
  }
  return ss.str();
}

// Where each player stood and the clip he played on a tick.
struct Was {
  std::int32_t x, y;
  AnimData oAnim;
};
using Whereabouts = std::map<const Player*, Was>;

Whereabouts Now() {
  Whereabouts m;
  for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp)) m[pp] = {pp->x, pp->y, pp->oAnimData};
  return m;
}

// What is wrong with the clips on a kick-off's first tick, against the tick
// before it ("" when nothing): a player moved to his place starts from the
// standing clip, whichever side he plays for; a keeper plays on the clip he
// had, moved or not (his clips are his own machine's).
std::string Clips(const Whereabouts& mBefore) {
  std::ostringstream ss;
  for (const auto& [pp, was] : mBefore) {
    const AnimData& o = pp->oAnimData;
    if (player_IsGoalkeeper(pp)) {
      if (o.eActionAnim != was.oAnim.eActionAnim || o.uTicks < was.oAnim.uTicks)
        ss << " keeper " << static_cast<int>(pp->ID) << "'s clip " << was.oAnim.eActionAnim << " (tick "
           << was.oAnim.uTicks << ") became " << o.eActionAnim << " (tick " << o.uTicks << ");";
    } else if ((pp->x != was.x || pp->y != was.y) && (o.eActionAnim != ANIM_STAND || o.uTicks != 0)) {
      ss << " " << static_cast<int>(pp->ID) << " moved to his place in clip " << o.eActionAnim << " at its tick "
         << o.uTicks << ";";
    }
  }
  return ss.str();
}

// Each kick-off taken, named by what came before it, and what was wrong on
// the tick its ball was played (the last tick of the kick-off). The first
// iLevel period ends are levelled, so that extra time or a match played
// again follows.
struct Watch {
  std::int32_t iLevel = 0;
  bool bInPeriodEnd = false;
  std::int32_t eBefore = 0;  // the last mode before the kick-off (replay and pause menu aside)
  std::int32_t eLast = 0;
  std::string sKind, sMisplaced, sUnlawful;
  Whereabouts mBefore;  // the last tick's
  std::int32_t cMovedAtStart = 0;  // players moved to their places at the kick-offs checked
  // Each period's end and goal is left as a save in the air would leave it
  // (both keepers off the ground, the ball judged a shot on target at one
  // goal or the other) on every tick up to the kick-off.
  bool bUpset = false;
  std::int32_t cUpset = 0;  // kick-offs that followed such a tick
  bool bUpsetLast = false;
  std::vector<std::string> asKinds, asFaults;
};

std::string Kind(std::int32_t eBefore) {
  if (eBefore == GAME_MODE_INTERVAL) return "first";
  if (eBefore == GAME_MODE_GOAL_CELEBRATION) return "after a goal";
  switch (clock_PeriodGet()) {
    case 0: return "played again";
    case 1: return "second half";
    case 2: return "extra time";
    case 3: return "extra time's second half";
    default: return "period " + std::to_string(clock_PeriodGet());
  }
}

void Observe(std::int32_t iTick, void* pv) {
  Watch& w = *static_cast<Watch*>(pv);
  const std::int32_t e = global.eGameMode;
  const bool bInPeriodEnd = e == GAME_MODE_PERIOD_END;
  if (bInPeriodEnd && !w.bInPeriodEnd && w.iLevel > 0) {
    match.AwayGoals = match.HomeGoals;
    w.iLevel--;
  }
  w.bInPeriodEnd = bInPeriodEnd;
  if (e == GAME_MODE_KICK_OFF) {
    if (w.eLast != GAME_MODE_KICK_OFF) {
      w.sKind = Kind(w.eBefore), w.sUnlawful.clear();
      w.cUpset += w.bUpsetLast;
      // The walk-on leaves everybody at his place for the first kick-off, and
      // a match played again starts every clip afresh before its own.
      if (w.sKind != "first" && w.sKind != "played again") {
        const std::string sClips = Clips(w.mBefore);
        if (!sClips.empty()) w.asFaults.push_back(w.sKind + ", on its first tick:" + sClips);
        for (const auto& [pp, was] : w.mBefore)
          w.cMovedAtStart += !player_IsGoalkeeper(pp) && (pp->x != was.x || pp->y != was.y);
      }
    }
    w.sMisplaced = Misplaced();
    if (w.sUnlawful.empty()) w.sUnlawful = Unlawful();
    // The ball waits on the spot: no keeper may still read it as a shot at
    // his goal, nor be saving one.
    const std::int32_t eOutcome = ball_OutcomeGet();
    if (w.sUnlawful.empty() && (eOutcome == BALL_OUTCOME_ON_TARGET || eOutcome == BALL_OUTCOME_GOAL))
      w.sUnlawful = " the ball judged a shot at the goal of side " + std::to_string(ball_OutcomeSideGet()) + ";";
    for (Player* pp = match_HomeFirstPlayerGet(); pp && w.sUnlawful.empty(); pp = match_NextPlayerGet(pp))
      if (player_IsGoalkeeper(pp) && pp->pGoalie && pp->pGoalie->eState >= GOALIE_STATE_SAVE_WAIT &&
          pp->pGoalie->eState != GOALIE_STATE_IDLE && pp->pGoalie->eState != GOALIE_STATE_INVALID)
        w.sUnlawful = " keeper " + std::to_string(pp->ID) + " saving (state " + std::to_string(pp->pGoalie->eState) + ");";
  } else if (w.eLast == GAME_MODE_KICK_OFF && e == GAME_MODE_PLAY) {
    w.asKinds.push_back(w.sKind);
    if (!w.sMisplaced.empty()) w.asFaults.push_back(w.sKind + ":" + w.sMisplaced);
    if (!w.sUnlawful.empty()) w.asFaults.push_back(w.sKind + ", while it waited:" + w.sUnlawful);
  }
  if (e != GAME_MODE_KICK_OFF && e != GAME_MODE_REPLAY && e != GAME_MODE_PAUSE_MENU) w.eBefore = e;
  w.bUpsetLast = w.bUpset && e != GAME_MODE_KICK_OFF &&
                 (w.eBefore == GAME_MODE_PERIOD_END || w.eBefore == GAME_MODE_PERIOD_BREAK ||
                  w.eBefore == GAME_MODE_GOAL_CELEBRATION);
  if (w.bUpsetLast) {
    for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp))
      if (player_IsGoalkeeper(pp)) pp->height = 150;
    ball_OutcomeSet(BALL_OUTCOME_GOAL, 1 + (iTick & 1));
  }
  w.mBefore = Now();
  w.eLast = e;
}

struct Case {
  const char* pszName;
  std::uint32_t uSeed;
  std::int32_t iRoundFormat;  // a history match's round format (0: a friendly)
  std::int32_t iLevel;
  bool bPlayAgain;
  std::vector<std::string> asWanted;  // kick-offs the match must have
  bool bPerson = false;               // the home side a person who taps Pass
  bool bUpset = false;                // see Watch::bUpset
};
void PrintTo(const Case& o, std::ostream* os) { *os << o.pszName; }

const Case kaCases[] = {
    // A friendly with a goal in its first half, drawn at full time, then
    // played again.
    {"FriendlyThenPlayAgain", 5, 0, 1, true,
     {"first", "after a goal", "second half", "extra time", "extra time's second half", "played again"}},
    // A goal in the first half (seed 104, the home side's): the scorer's
    // side, still about the other half where it celebrated, is put at its
    // places with every one of them in the middle of a moving clip (jog,
    // jockey, shuffle); the scorer's own celebration clip has ended by then.
    {"GoalStillCelebrating", 104, 0, 0, false, {"first", "after a goal", "second half"}},
    // A friendly drawn into extra time by itself. Seed 501 once left a
    // keeper in a dive at a period's end; since the shooting and keeping
    // were retuned neither keeper is saving at either end (both deciding, on
    // the ground): KeepersInTheAirAtEveryEnd sets that situation up.
    {"DrawnIntoExtraTime", 501, 0, 0, false, {"first", "second half", "extra time"}},
    // Every period's end and every goal left with both keepers in the air
    // and the ball judged a shot at a goal, up to the kick-off: a keeper
    // caught so by the end of a period (the ends then changed) or by a goal.
    // The situation is set up, so any seed has it: the first.
    {"KeepersInTheAirAtEveryEnd", 1, 0, 1, false,
     {"first", "second half", "extra time", "extra time's second half"}, false, true},
    // A person's side (tapping Pass, which takes his kick-offs) in a friendly
    // played again.
    {"PersonsSidePlayedAgain", 1, 0, 1, true, {"first", "second half", "extra time", "played again"}, true},
    // A history match drawn after extra time and played again (round format
    // 3: played again once, then extra time and lots).
    {"HistoryMatchPlayedAgain", 15, 3, 2, false,
     {"first", "second half", "extra time", "extra time's second half", "played again"}},
};

class KickOffPlaces : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
  }
};

TEST_P(KickOffPlaces, BothSidesStandAtTheirPlaces) {
  const Case& k = GetParam();
  mh::Config c;
  c.uSeed = k.uSeed;
  c.iLength = 2;
  c.iExtraTime = 1;
  c.bPenalties = 0;
  c.bPlayAgain = k.bPlayAgain;
  c.bTournament = k.iRoundFormat ? 1 : 0;
  c.iRoundFormat = k.iRoundFormat;
  c.cTickCap = 120000;
  if (k.bPerson) {
    c.aeSide[0] = mh::SideKind::User;
    c.aoCommands[0] = mh::PassTaps(90, c.cTickCap);
  }
  Watch w;
  w.iLevel = k.iLevel;
  w.bUpset = k.bUpset;
  const mh::Result r = mh::Run(c, nullptr, Observe, &w);
  ASSERT_TRUE(r.bFinished) << r.Describe(c);
  std::string sTaken;
  for (const std::string& s : w.asKinds) sTaken += s + "; ";
  for (const std::string& s : k.asWanted)
    EXPECT_NE(std::find(w.asKinds.begin(), w.asKinds.end(), s), w.asKinds.end())
        << "no kick-off " << s << " among " << sTaken;
  for (const std::string& s : w.asFaults) ADD_FAILURE() << s;
  EXPECT_GT(w.cMovedAtStart, 0) << "nobody was moved to his place at a kick-off";
  if (k.bUpset) {
    EXPECT_EQ(w.cUpset, static_cast<std::int32_t>(w.asKinds.size()) - 1) << "kick-offs after the upset";
  }
}

INSTANTIATE_TEST_SUITE_P(EveryKickOff, KickOffPlaces, ::testing::ValuesIn(kaCases),
                         [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.pszName); });

// Every role's kick-off place, on either flank and at either end: a keeper in
// his goal area (attacking or defending), every other player of the side
// not kicking off in his own half outside the centre circle.
TEST(KickOffPlaceData, EveryRolesPlaceKeepsTheLaws) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  for (std::int32_t iCode = 0; iCode < ROLES_CODES; iCode++) {
    for (std::int32_t iFlip = 0; iFlip < 4; iFlip++) {
      Player p{};
      p.oAIInfo.iZoneFlip = iFlip;
      const std::int32_t iOwnSide = iFlip & 1 ? 1 : -1;  // the flip mirrors the side attacking toward +x
      for (std::int32_t iTree : {roles_aTable[iCode][0], roles_aTable[iCode][1]}) {
        QMathPoint pt{};
        ASSERT_TRUE(zone_bCentreGetAt(&p, &pt, 35, iTree)) << "role " << iCode << " tree " << iTree;
        const std::string where = "role " + std::to_string(iCode) + " flip " + std::to_string(iFlip) + " tree " +
                                  std::to_string(iTree) + " at (" + std::to_string(pt.x) + ", " + std::to_string(pt.y) + ")";
        if (iCode == 0) {
          EXPECT_TRUE(InGoalArea(pt.x, pt.y) && pt.x * iOwnSide > 0) << where;
        } else if (iTree == roles_aTable[iCode][1]) {
          EXPECT_GT(pt.x * iOwnSide, 0) << where;
          EXPECT_FALSE(InCircle(pt.x, pt.y)) << where;
        }
      }
    }
  }
}

}  // namespace

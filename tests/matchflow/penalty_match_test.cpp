// Penalties inside whole matches: before the kick the ball on the spot is the
// taker's alone, however long a person takes over his kick, and every
// penalty is taken and the match goes on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/ball.h"
#include "engine/chaser.h"
#include "engine/move.h"
#include "engine/newballA.h"
#include "engine/newgoal.h"
#include "engine/newgoalo.h"
#include "engine/player.h"
#include "engine/referee.h"
#include "engine/setp.h"
#include "engine/touch.h"
#include "matchflow/matchflow.h"
#include "shell/global.h"
#include "shell/user.h"
#include "support/match_harness.h"
#include "support/match_soak.h"

namespace mh = match_harness;

namespace {

constexpr std::int32_t kFunctionPass = 4;
// The goal mouth: a keeper on his line stands within a step of the goal
// line and inside the posts.
constexpr std::int32_t kStep = 96;
constexpr std::int32_t kPostInner = 564;

// A foul as a tackle that brings a player down gives it: the referee hears of
// the foul, then the fouled player loses the ball and goes to the ground.
void TackleFoul(Player* poOffender, Player* poFouled) {
  referee_FouledSet(poFouled);
  referee_CardDecide(poOffender, poFouled, 80);
  referee_Update(REFEREE_EVENT_FOUL, poOffender->x, poOffender->y);
  newballA_OwnerSet(nullptr, 0);
  chaser_Choose();
  touch_StateForce(poFouled, 30);
  move_RequestPlay(poFouled, 35);
  PlayerO_MoveStateSet(poFouled, MOVE_STATE_ON_GROUND);
}

Player* Keeper(std::int32_t iSide) { return iSide == player_PlaysFor_Home ? &player_aHome[0] : &player_aAway[0]; }

// What a match's penalties did, read after each tick.
struct PenaltyWatch {
  std::int32_t cPenalties = 0;   // mode 58 entered
  std::int32_t cStruck = 0;      // the taker's kick met the ball
  std::int32_t iFirstTick = -1;  // the first penalty's first tick
  std::int32_t iStruckTick = -1; // and its kick
  std::int32_t iEndTick = -1;    // and the tick the match left it
  std::int32_t cOtherTouches = 0;  // ticks before a kick with the ball another's or off the spot
  std::string oFirstTouch;
  std::int32_t cKeeperSlides = 0;  // ticks before a kick with a keeper sliding in
  bool bPersonTaker = false;     // the first penalty's taker was a person's
  bool bIn = false, bStruck = false;
  std::int32_t iSpotX = 0, iSpotY = 0;

  void Tick(std::int32_t t) {
    const bool bPenalty = global.eGameMode == GAME_MODE_PENALTY;
    if (bPenalty && !bIn) {
      cPenalties++;
      bStruck = false;
      iSpotX = ball_XGet(&ball_oBall);
      iSpotY = ball_YGet(&ball_oBall);
      if (iFirstTick < 0) iFirstTick = t;
    }
    if (!bPenalty && bIn && iEndTick < 0) iEndTick = t;
    bIn = bPenalty;
    if (!bPenalty || bStruck) return;
    const Player* poTaker = setp_poGetKickTaker();
    if (t == iFirstTick + 1 && poTaker) bPersonTaker = poTaker->pUser != nullptr;
    if (setp_bKickStruck()) {
      bStruck = true;
      cStruck++;
      if (iStruckTick < 0) iStruckTick = t;
      return;
    }
    for (std::int32_t iSide : {player_PlaysFor_Home, player_PlaysFor_Away}) {
      const Player* poKeeper = Keeper(iSide);
      const std::uint32_t e = poKeeper->oAnimData.eActionAnim;
      if (newgoal_StateGet(poKeeper) == GOALIE_STATE_SMOTHER || e == 78 || e == 79) cKeeperSlides++;
    }
    const Player* po = ball_OwnerGet();
    const bool bOff = ball_XGet(&ball_oBall) != iSpotX || ball_YGet(&ball_oBall) != iSpotY;
    if ((po && po != poTaker) || bOff) {
      if (cOtherTouches++ == 0)
        oFirstTouch = "tick " + std::to_string(t) + (po ? ": player " + std::to_string(po->ID) + " has it" : "") +
                      (bOff ? ": off the spot" : "");
    }
  }
};

// The person (home) taps Pass every 3 s up to kSetUpTick; on the first tick
// of open play from then on the harness gives him a penalty: his forward is
// fouled in the area while the other side's keeper stands on his six-yard
// line straight in front of the spot with his come-out alert on.
constexpr std::int32_t kSetUpTick = 1500;

struct PersonPenalty {
  PenaltyWatch w;
  bool bSetUp = false;
  // The ball taken off the spot and the person's control moved off the taker
  // this many ticks into the penalty (0: never): carried off by an opponent,
  // or knocked away loose.
  std::int32_t iSnatchAfter = 0;
  bool bKnockedAway = false;
  bool bSnatched = false;
  bool bBackOnSpot = false, bTakerBack = false;
  // The defending keeper's place a second before this tick and on it.
  std::int32_t iLookTick = -1, aiKeeperX[2] = {}, aiKeeperY[2] = {};

  static void Tick(std::int32_t t, void* pv) {
    PersonPenalty& o = *static_cast<PersonPenalty*>(pv);
    for (std::int32_t i : {0, 1}) {
      if (t != o.iLookTick - 60 * (1 - i)) continue;
      o.aiKeeperX[i] = std::abs(Keeper(player_PlaysFor_Away)->x);
      o.aiKeeperY[i] = Keeper(player_PlaysFor_Away)->y;
    }
    if (o.bSnatched && t == o.w.iFirstTick + o.iSnatchAfter + 1) {
      o.bBackOnSpot = ball_OwnerGet() == nullptr && ball_XGet(&ball_oBall) == o.w.iSpotX &&
                      ball_YGet(&ball_oBall) == o.w.iSpotY && ball_HeightGet(&ball_oBall) == 0 &&
                      ball_oBall.iHSpeed == 0;
      o.bTakerBack = setp_poGetKickTaker() && setp_poGetKickTaker()->pUser == &user_aUsers[0];
    }
    if (!o.bSnatched && o.iSnatchAfter > 0 && o.w.iFirstTick >= 0 && t == o.w.iFirstTick + o.iSnatchAfter) {
      // The ball leaves the spot and the person is given another player.
      o.bSnatched = true;
      const std::int32_t iBack = o.w.iSpotX > 0 ? -1 : 1;  // toward the halfway line
      if (o.bKnockedAway) {
        ball_PositionSet(&ball_oBall, o.w.iSpotX + iBack * 300, 0, o.w.iSpotY + 200);
        ball_VectorLaunch(300, 90, 0, 0);
      } else {
        Player* poThief = &player_aAway[5];
        poThief->x = static_cast<std::int16_t>(o.w.iSpotX + iBack * 600);
        poThief->y = static_cast<std::int16_t>(o.w.iSpotY + 400);
        newballA_OwnerSet(poThief, 1);
        ball_PlaceAt(&ball_oBall, poThief->x, 0, poThief->y);
      }
      Player* poOther = setp_poGetKickTaker() == &player_aHome[3] ? &player_aHome[4] : &player_aHome[3];
      user_PlayerSet(&user_aUsers[0], poOther);
      return;  // this tick's look is the snatch, not the penalty
    }
    o.w.Tick(t);
    if (o.bSetUp || t < kSetUpTick || global.eGameMode != GAME_MODE_PLAY || referee_bDecisionLocked()) return;
    o.bSetUp = true;
    Player* poForward = &player_aHome[9];
    Player* poKeeper = Keeper(player_PlaysFor_Away);
    Player* poDefender = &player_aAway[4];
    const std::int32_t iSign = poForward->Direction == 1 ? 1 : -1;
    poForward->x = static_cast<std::int16_t>(iSign * 7200);
    poForward->y = 600;
    poDefender->x = static_cast<std::int16_t>(iSign * 7150);
    poDefender->y = 700;
    poKeeper->x = static_cast<std::int16_t>(iSign * 7056);
    poKeeper->y = 0;
    if (poKeeper->pGoalie) newgoalo_StateSet(poKeeper->pGoalie, 2);
    newgoal_SideFlagSet(poKeeper->MyTeam, 1);
    TackleFoul(poDefender, poForward);
  }
};

mh::Config PersonPenaltyConfig(std::int32_t iPressTick, std::uint32_t uSeed = 3) {
  mh::Config c;
  c.uSeed = uSeed;
  c.iLength = 2;
  c.aeSide[0] = mh::SideKind::User;
  c.aoCommands[0] = mh::PassTaps(90, kSetUpTick);
  if (iPressTick > 0) {
    // The kick: Pass pressed, held 6 ticks (the power rises) and let go;
    // then the taps again for the restarts to come.
    c.aoCommands[0].push_back({iPressTick, -kFunctionPass, 0, 1});
    c.aoCommands[0].push_back({iPressTick + 6, -kFunctionPass, 0, 0});
    const std::vector<mh::Command> a = mh::PassTaps(90, 400000, iPressTick + 90);
    c.aoCommands[0].insert(c.aoCommands[0].end(), a.begin(), a.end());
  }
  c.cTickCap = 40000;
  return c;
}

// The penalty's first tick when the person never presses (the match cut
// short a while into the penalty).
std::int32_t PenaltyStart(std::uint32_t uSeed = 3) {
  mh::Config c = PersonPenaltyConfig(0, uSeed);
  c.cTickCap = kSetUpTick + 1200;
  PersonPenalty o;
  mh::Run(c, nullptr, PersonPenalty::Tick, &o);
  return o.w.iFirstTick;
}

// The person waits 10, 20 and 30 s at his penalty: nobody else comes for the
// ball, the keeper stays on his line, and when he shoots the penalty is
// taken, the match goes on from it and is played to its end.
TEST(PenaltyMatch, APersonWhoWaitsBeforeHisKickIsLeftTheBall) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  const std::int32_t iStart = PenaltyStart();
  ASSERT_GT(iStart, kSetUpTick) << "no penalty was given";
  for (std::int32_t iWait : {300, 600, 900}) {
    PersonPenalty o;
    o.iLookTick = iStart + iWait - 1;
    const mh::Config c = PersonPenaltyConfig(iStart + iWait);
    const mh::Result r = mh::Run(c, nullptr, PersonPenalty::Tick, &o);
    SCOPED_TRACE("wait " + std::to_string(iWait));
    ASSERT_EQ(o.w.iFirstTick, iStart);
    EXPECT_TRUE(o.w.bPersonTaker);
    EXPECT_EQ(o.w.cOtherTouches, 0) << o.w.oFirstTouch;
    EXPECT_EQ(o.w.cKeeperSlides, 0);
    // The keeper waits on his line between his posts, and stands there.
    EXPECT_GE(o.aiKeeperX[1], BALL_GOAL_LINE_X - kStep);
    EXPECT_LE(o.aiKeeperX[1], BALL_GOAL_LINE_X);
    EXPECT_LT(std::abs(o.aiKeeperY[1]), kPostInner);
    EXPECT_EQ(o.aiKeeperX[0], o.aiKeeperX[1]);
    EXPECT_EQ(o.aiKeeperY[0], o.aiKeeperY[1]);
    // Kicked on the press (the power's hold and the run-up after it).
    EXPECT_GE(o.w.iStruckTick, iStart + iWait);
    EXPECT_LT(o.w.iStruckTick, iStart + iWait + 120);
    EXPECT_GT(o.w.iEndTick, o.w.iStruckTick);
    EXPECT_TRUE(r.bFinished) << r.Describe(c);
  }
}

// Should the ball leave the spot (carried off by an opponent, or knocked
// away loose) and the person lose his taker some other way while he waits,
// the ball is put back on the spot at rest, the taker is his again, and his
// kick is taken when he shoots.
TEST(PenaltyMatch, ABallTakenOffTheSpotBeforeTheKickIsPutBack) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  const std::int32_t iStart = PenaltyStart();
  ASSERT_GT(iStart, kSetUpTick) << "no penalty was given";
  for (bool bKnockedAway : {false, true}) {
    PersonPenalty o;
    o.iSnatchAfter = 200;
    o.bKnockedAway = bKnockedAway;
    const mh::Config c = PersonPenaltyConfig(iStart + 400);
    const mh::Result r = mh::Run(c, nullptr, PersonPenalty::Tick, &o);
    SCOPED_TRACE(bKnockedAway ? "knocked away" : "carried off");
    ASSERT_TRUE(o.bSnatched);
    EXPECT_TRUE(o.bBackOnSpot);
    EXPECT_TRUE(o.bTakerBack);
    EXPECT_EQ(o.w.cOtherTouches, 0) << o.w.oFirstTouch;
    EXPECT_GE(o.w.iStruckTick, iStart + 400);
    EXPECT_LT(o.w.iStruckTick, iStart + 520);
    EXPECT_TRUE(r.bFinished) << r.Describe(c);
  }
}

// Fouls forced by the harness: a foul given the way a tackle gives it, on an
// attacker in the area while the defending keeper's come-out alert is on and
// he stands near the spot. A keeper the alert let come for the ball once slid
// it off the spot before the kick, and play went on after he had it (in
// earlier matches the penalty stood for ever). Seeds 1, 9 and 71 of the
// person soak (the monkey plays one side) and 82 (the pass-tapper plays one
// side) each bring such a keeper near the spot with an attacker in his area.
struct AlertFoul {
  std::int32_t iFromTick = 0;
  bool bForced = false;
  PenaltyWatch w;
  static void Tick(std::int32_t t, void* pv) {
    AlertFoul& o = *static_cast<AlertFoul*>(pv);
    o.w.Tick(t);
    if (o.bForced || t < o.iFromTick || global.eGameMode != GAME_MODE_PLAY || referee_bDecisionLocked()) return;
    for (std::int32_t iSide : {player_PlaysFor_Home, player_PlaysFor_Away}) {
      const Player* poKeeper = Keeper(iSide);
      const std::int32_t iSpotX = poKeeper->x < 0 ? -7632 : 7632;
      if (!newgoal_SideFlagGet(iSide) || std::abs(poKeeper->x - iSpotX) + std::abs(poKeeper->y) > 1000) continue;
      for (std::int32_t i = 0; i < 22; i++) {
        Player* pp = i < 11 ? &player_aHome[i] : &player_aAway[i - 11];
        if (pp->MyTeam == iSide || player_IsGoalkeeper(pp) || !referee_bInPenaltyArea(pp)) continue;
        // The nearest outfield opponent fouls him.
        Player* poOffender = nullptr;
        std::int32_t iBest = 1 << 30;
        for (std::int32_t j = 1; j < 11; j++) {
          Player* po = iSide == player_PlaysFor_Home ? &player_aHome[j] : &player_aAway[j];
          const std::int32_t d = std::abs(po->x - pp->x) + std::abs(po->y - pp->y);
          if (d < iBest) iBest = d, poOffender = po;
        }
        o.bForced = true;
        TackleFoul(poOffender, pp);
        return;
      }
    }
  }
};

TEST(PenaltyMatch, AForcedFoulBeforeAnAlertedKeeperIsTakenAndPlayGoesOn) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  for (std::uint32_t s : {1u, 9u, 71u, 82u}) {
    mh::Config c = mh::PersonConfig(s);
    c.bFouls = 1;
    c.cTickCap = 60000;
    AlertFoul o;
    o.iFromTick = 600 + static_cast<std::int32_t>(s % 13) * 150;
    const mh::Result r = mh::Run(c, nullptr, AlertFoul::Tick, &o);
    SCOPED_TRACE("seed " + std::to_string(s));
    ASSERT_TRUE(o.bForced);
    EXPECT_GE(o.w.cPenalties, 1);
    EXPECT_EQ(o.w.cOtherTouches, 0) << o.w.oFirstTouch;
    EXPECT_EQ(o.w.cKeeperSlides, 0);
    EXPECT_EQ(o.w.cStruck, o.w.cPenalties);
    EXPECT_TRUE(r.bFinished) << r.Describe(c);
  }
}

// The penalty's aim swing set for the person's kick, and the swing the
// match's next free kick or corner after it starts with.
struct SwingAfterPenalty {
  PersonPenalty p;
  std::int32_t iPenaltySwing = 0;
  bool bStruck = false;
  std::int32_t eNextMode = 0, iNextSwing = -1;
  static void Tick(std::int32_t t, void* pv) {
    SwingAfterPenalty& o = *static_cast<SwingAfterPenalty*>(pv);
    PersonPenalty::Tick(t, &o.p);
    const GameMode e = global.eGameMode;
    if (e == GAME_MODE_PENALTY && !o.bStruck) {
      o.iPenaltySwing = std::max(o.iPenaltySwing, setp_AimSwingGet());
      o.bStruck = setp_bKickStruck();
    }
    if (o.bStruck && o.eNextMode == 0 && (e == GAME_MODE_FREE_KICK || e == GAME_MODE_CORNER)) {
      o.eNextMode = e;
      o.iNextSwing = setp_AimSwingGet();
    }
  }
};

// A person's free kick or corner after the match's penalty aims as any
// other: the penalty's swing (a random aim and up to a quarter of the power
// off) is gone once the penalty is struck.
TEST(PenaltyMatch, TheNextFreeKickOrCornerAfterAPenaltyHasNoSwing) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  // Seed 12: a corner comes after the penalty.
  constexpr std::uint32_t kSeed = 12;
  const std::int32_t iStart = PenaltyStart(kSeed);
  ASSERT_GT(iStart, kSetUpTick) << "no penalty was given";
  SwingAfterPenalty o;
  const mh::Config c = PersonPenaltyConfig(iStart + 300, kSeed);
  const mh::Result r = mh::Run(c, nullptr, SwingAfterPenalty::Tick, &o);
  ASSERT_TRUE(o.bStruck);
  EXPECT_GT(o.iPenaltySwing, 0);
  ASSERT_NE(o.eNextMode, 0) << "no free kick or corner after the penalty";
  EXPECT_EQ(o.iNextSwing, 0) << "mode " << o.eNextMode;
  EXPECT_TRUE(r.bFinished) << r.Describe(c);
}

// ---- A kick from the spot the keeper gathers -------------------------------------------------

// Once the kick is struck its ball is made a slow one along the ground at the
// keeper facing it (his save set-up dropped): he slides onto it and has it.
struct GatheredKick {
  GameMode eMode = GAME_MODE_SHOOTOUT;
  std::int32_t iSpeed = 0;
  PersonPenalty* poPerson = nullptr;  // the match penalty's person and foul
  Player* poKeeper = nullptr;
  const Player* poTaker = nullptr;
  std::int32_t iRolled = -1, iGathered = -1;
  // The shoot-out: the kicks and goals before it, the tick it is recorded,
  // whether as a goal, and the first tick of the next kick.
  std::int32_t cKicks = 0, cGoals = 0, iRecorded = -1, iNextKick = -1;
  bool bScored = false;
  // The match penalty: missed, its end, and the keeper's ball after it.
  std::int32_t iMissed = -1, iEnd = -1, iKeepersBall = -1;
  // The set piece's command word cleared 3 ticks after the miss, the keeper
  // still holding the ball; the times the command word became the miss while
  // the penalty lasted.
  bool bClearAfterMiss = false;
  std::int32_t iCleared = -1, cMissedCalls = 0, iCommandBefore = 0;

  static void Tick(std::int32_t t, void* pv) {
    GatheredKick& o = *static_cast<GatheredKick*>(pv);
    if (o.poPerson) PersonPenalty::Tick(t, o.poPerson);
    const MPensoState& m = mpenso_oState;
    if (o.iRolled < 0) {
      if (global.eGameMode != o.eMode || !setp_bKickStruck()) return;
      if (o.eMode == GAME_MODE_SHOOTOUT && !m.bKickPending) return;
      o.iRolled = t;
      o.poTaker = setp_poGetKickTaker();
      o.poKeeper = Keeper(o.poTaker->MyTeam == player_PlaysFor_Home ? player_PlaysFor_Away : player_PlaysFor_Home);
      o.cKicks = m.aiKicks[0] + m.aiKicks[1];
      o.cGoals = m.aiGoals[0] + m.aiGoals[1];
      ball_VectorLaunch(o.iSpeed, o.poKeeper->x > ball_XGet(&ball_oBall) ? 0 : 180, 0, 0);
      ball_OutcomeClear();
      if (o.poKeeper->pGoalie) newgoalo_StateSet(o.poKeeper->pGoalie, GOALIE_STATE_DECIDE);
      return;
    }
    if (o.iGathered < 0 && ball_OwnerGet() == o.poKeeper) o.iGathered = t;
    if (o.eMode == GAME_MODE_SHOOTOUT) {
      if (global.eGameMode != GAME_MODE_SHOOTOUT) return;
      if (o.iRecorded < 0 && m.aiKicks[0] + m.aiKicks[1] > o.cKicks) {
        o.iRecorded = t;
        o.bScored = m.aiGoals[0] + m.aiGoals[1] > o.cGoals;
      }
      if (o.iRecorded >= 0 && o.iNextKick < 0 && m.bKickPending && m.poTaker && m.poTaker->MyTeam != o.poTaker->MyTeam)
        o.iNextKick = t;
      return;
    }
    if (o.iEnd < 0) {
      const std::int32_t iCommand = setp_CommandGet();
      if (global.eGameMode == GAME_MODE_PENALTY && iCommand == SETP_CMD_PEN_MISSED) {
        if (o.iMissed < 0) o.iMissed = t;
        if (o.iCommandBefore != SETP_CMD_PEN_MISSED) o.cMissedCalls++;
      }
      o.iCommandBefore = iCommand;
      if (o.bClearAfterMiss && o.iCleared < 0 && o.iMissed >= 0 && t == o.iMissed + 3 &&
          global.eGameMode == GAME_MODE_PENALTY && ball_OwnerGet() == o.poKeeper) {
        setp_CommandClear();
        o.iCommandBefore = setp_CommandGet();
        o.iCleared = t;
      }
      if (global.eGameMode != GAME_MODE_PENALTY) o.iEnd = t;
    } else if (o.iKeepersBall < 0 && global.eGameMode == GAME_MODE_KEEPER_HANDS) {
      o.iKeepersBall = t;
    }
  }
};

// The kick is recorded missed once the keeper has the ball, and the other
// side's kick follows; the shoot-out is played to its end.
TEST(PenaltyMatch, AShootOutKickTheKeeperSlidesOntoIsMissedAndTheNextKickComes) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  // 80: as slow as a real penalty's kick; 400 and 600 a few times faster.
  for (std::int32_t iSpeed : {80, 400, 600}) {
    mh::Config c;
    c.uSeed = 100;
    c.iLength = 1;
    c.iExtraTime = 1;
    c.bPenalties = 1;
    c.cTickCap = 20000;
    GatheredKick o;
    o.iSpeed = iSpeed;
    const mh::Result r = mh::Run(c, nullptr, GatheredKick::Tick, &o);
    SCOPED_TRACE("speed " + std::to_string(iSpeed));
    ASSERT_GE(o.iRolled, 0) << "no shoot-out";
    ASSERT_GE(o.iGathered, 0) << "the keeper never had the ball";
    EXPECT_GE(o.iRecorded, o.iGathered - 1) << "recorded before he had it";
    EXPECT_LE(o.iRecorded, o.iGathered + 1) << "not recorded when he had it";
    EXPECT_FALSE(o.bScored);
    EXPECT_GT(o.iNextKick, o.iRecorded);
    EXPECT_LE(o.iNextKick, o.iRecorded + 61);
    EXPECT_TRUE(r.bFinished) << r.Describe(c);
  }
}

// The penalty is missed once the keeper has the ball (his side reacts), it
// ends, and open play goes on from his keeper's ball. The miss is called
// once for the kick however long he holds the ball: once the command word
// has been cleared after it, his holding on does not call it again.
TEST(PenaltyMatch, APenaltyTheKeeperSlidesOntoIsMissedAndPlayGoesOnFromHisBall) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  // A keeper's slide does not always hold the ball (his handling decides):
  // seed 3's keeper holds the rolled kick at each speed below.
  constexpr std::uint32_t kSeed = 3;
  const std::int32_t iStart = PenaltyStart(kSeed);
  ASSERT_GT(iStart, kSetUpTick) << "no penalty was given";
  struct Case {
    std::int32_t iSpeed;
    bool bClear;
  };
  // 70 and 80: as slow as real penalty kicks.
  for (const Case& k : {Case{70, false}, Case{80, false}, Case{120, false}, Case{80, true}}) {
    const std::int32_t iSpeed = k.iSpeed;
    PersonPenalty p;
    GatheredKick o;
    o.eMode = GAME_MODE_PENALTY;
    o.iSpeed = iSpeed;
    o.poPerson = &p;
    o.bClearAfterMiss = k.bClear;
    const mh::Config c = PersonPenaltyConfig(iStart + 300, kSeed);
    const mh::Result r = mh::Run(c, nullptr, GatheredKick::Tick, &o);
    SCOPED_TRACE("speed " + std::to_string(iSpeed) + (k.bClear ? ", the command cleared after the miss" : ""));
    ASSERT_GE(o.iRolled, 0) << "the penalty was not struck";
    ASSERT_GE(o.iGathered, 0) << "the keeper never had the ball";
    ASSERT_LT(o.iGathered, o.iEnd) << "the penalty ended before he had it";
    EXPECT_GE(o.iMissed, o.iGathered - 1);
    EXPECT_LE(o.iMissed, o.iGathered + 1);
    EXPECT_EQ(o.cMissedCalls, 1);
    if (k.bClear) {
      ASSERT_GE(o.iCleared, 0) << "he no longer held the ball 3 ticks after the miss";
      ASSERT_LT(o.iCleared, o.iEnd);
    }
    EXPECT_GT(o.iKeepersBall, o.iEnd);
    EXPECT_LE(o.iKeepersBall, o.iEnd + 60);
    EXPECT_TRUE(r.bFinished) << r.Describe(c);
  }
}

}  // namespace

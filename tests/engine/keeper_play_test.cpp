// Real shots played through the engine at the keeper of the goal at +x:
// the states he goes through, the hold count on the kick's tick, the
// penalty guess, and the share of catches, parries and goals over a grid of
// shots.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/action.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/newballA.h"
#include "engine/newgoal.h"
#include "engine/newgoalo.h"
#include "engine/player.h"
#include "engine_env.h"
#include "engine/engine_services.h"
#include "engine/team.h"
#include "shell/global.h"
#include "tournament/squad.h"

namespace {

enum class End { kNone, kCatch, kParry, kGoal, kWide };

struct Shot {
  End eEnd = End::kNone;
  std::vector<std::int32_t> aStates;  // each state he entered, in order
};

Player* Keeper() { return EnginePlayer(11); }  // guards the goal at +x
Player* Shooter() { return EnginePlayer(9); }

void Tick() {
  ball_Update();
  EngineTick();
}

void Record(Shot& s) {
  std::int32_t e = newgoalo_StateGet(Keeper()->pGoalie);
  if (s.aStates.empty() || s.aStates.back() != e) s.aStates.push_back(e);
}

// The keeper at his place for a ball at (sx, sy), then a shot from there.
void Kick(std::int32_t sx, std::int32_t sy, std::int32_t ty, std::int32_t th, std::int32_t iPower) {
  EngineMatchSetup();
  global_SetGameMode(GAME_MODE_PLAY);
  Player* pk = Keeper();
  ball_PlaceAt(&ball_oBall, sx, 0, sy);
  std::int32_t kx, ky;
  newgoal_PositionTargetGet(pk, &kx, &ky);
  EnginePlace(pk, kx, ky, 401);
  player_FaceTowards(pk, sx, sy);
  newgoal_ReactionDelaySet(pk, 30 - PlayerO_Attr67Get(pk) * 30 / 104);
  Player* ps = Shooter();
  EnginePlace(ps, sx - 40, sy, 0);
  newballA_OwnerSet(ps, 1);
  ball_ShotLaunch(9700, th, ty, iPower);
  newgoal_KeeperCountSet();
}

Shot Play(std::int32_t sx, std::int32_t sy, std::int32_t ty, std::int32_t th, std::int32_t iPower) {
  Kick(sx, sy, ty, th, iPower);
  Shot s;
  Player* pk = Keeper();
  const std::int32_t iHeading = ball_oBall.iHeading;
  Record(s);
  for (int t = 0; t < 150; t++) {
    Tick();
    Record(s);
    const Ball* pb = &ball_oBall;
    if (pb->poOwner == pk) {
      s.eEnd = End::kCatch;
      break;
    }
    const std::int32_t bx = ball_XGet(pb), by = ball_YGet(pb), bh = ball_HeightGet(pb);
    if (bx > BALL_GOAL_LINE_X) {
      if (std::abs(by) < 576 && bh < 384) {
        s.eEnd = End::kGoal;
      } else {
        s.eEnd = pk->pGoalie->bParryPending && pb->iHeading != iHeading ? End::kParry : End::kWide;
      }
      break;
    }
    if (pb->iHeading != iHeading && std::abs(bx - pk->x) < 400 && pk->pGoalie->bParryPending && s.eEnd == End::kNone)
      s.eEnd = End::kParry;
    if (s.eEnd == End::kParry && (t > 60 || bx < 8000)) break;
  }
  return s;
}

bool Contains(const std::vector<std::int32_t>& v, std::int32_t e) {
  for (std::int32_t x : v)
    if (x == e) return true;
  return false;
}

std::int32_t IndexOf(const std::vector<std::int32_t>& v, std::int32_t e) {
  for (std::size_t i = 0; i < v.size(); i++)
    if (v[i] == e) return static_cast<std::int32_t>(i);
  return -1;
}

TEST(KeeperPlay, AShotOnTargetIsWaitedForSavedAndRecoveredFrom) {
  int cSeen = 0;
  for (std::int32_t ty : {-300, -100, 150, 350}) {
    for (std::int32_t th : {40, 160, 300}) {
      Shot s = Play(6500, 300, ty, th, 80);
      SCOPED_TRACE(testing::Message() << "aim " << ty << ", " << th);
      ASSERT_GE(s.aStates.size(), 3u);
      EXPECT_EQ(s.aStates[0], GOALIE_STATE_DECIDE);
      const std::int32_t iMove = IndexOf(s.aStates, GOALIE_STATE_SAVE_MOVE);
      ASSERT_GE(iMove, 1);
      // Waiting (or already late) before the move.
      const std::int32_t ePrev = s.aStates[static_cast<std::size_t>(iMove) - 1];
      EXPECT_TRUE(ePrev == GOALIE_STATE_SAVE_WAIT || ePrev == GOALIE_STATE_REACT_WAIT || ePrev == GOALIE_STATE_DECIDE)
          << ePrev;
      ASSERT_GT(s.aStates.size(), static_cast<std::size_t>(iMove) + 1);
      const std::int32_t eAfter = s.aStates[static_cast<std::size_t>(iMove) + 1];
      EXPECT_TRUE(eAfter == GOALIE_STATE_SAVE_END || eAfter == GOALIE_STATE_CATCH) << eAfter;
      if (s.eEnd == End::kCatch) {
        EXPECT_EQ(eAfter, GOALIE_STATE_CATCH);
      }
      // Play on until he is back on his feet.
      for (int t = 0; t < 200; t++) {
        Tick();
        Record(s);
      }
      const std::int32_t eLast = s.aStates.back();
      EXPECT_TRUE(eLast == GOALIE_STATE_DECIDE || eLast == GOALIE_STATE_HOLD) << eLast << " after " << [&] {
        std::string t;
        for (std::int32_t e : s.aStates) t += std::to_string(e) + " ";
        return t;
      }() << "anim " << Keeper()->oAnimData.eActionAnim << " req " << Keeper()->oAnimInfo.eActionAnim;
      if (ball_oBall.poOwner == Keeper()) {
        // Held: the recovery (if his row has one) comes before the hold.
        EXPECT_TRUE(Contains(s.aStates, GOALIE_STATE_HOLD) || Contains(s.aStates, GOALIE_STATE_DECIDE));
      }
      EXPECT_EQ(newgoal_IsAnyKeeperFlagged(), 0);
      cSeen++;
    }
  }
  EXPECT_EQ(cSeen, 12);
}

TEST(KeeperPlay, TheHoldCountMakesBothKeepersSkipTheKicksTick) {
  Kick(6000, 0, 100, 100, 90);
  EXPECT_EQ(newgoal_KeeperCountGet(), 2);
  EngineTick();
  EXPECT_EQ(newgoal_KeeperCountGet(), 0);
  EXPECT_EQ(newgoalo_StateGet(Keeper()->pGoalie), GOALIE_STATE_DECIDE);
  EXPECT_EQ(newgoalo_StateGet(EnginePlayer(0)->pGoalie), GOALIE_STATE_DECIDE);
  Tick();
  EXPECT_NE(newgoalo_StateGet(Keeper()->pGoalie), GOALIE_STATE_DECIDE);
  // Without the count he commits at once.
  Kick(6000, 0, 100, 100, 90);
  while (newgoal_KeeperCountGet() > 0) newgoal_Update(EnginePlayer(0));
  EngineTick();
  EXPECT_NE(newgoalo_StateGet(Keeper()->pGoalie), GOALIE_STATE_DECIDE);
}

TEST(KeeperPlay, APenaltyGuessedRightTakesTheRealEntry) {
  // The taker aims nowhere (sector 8): a shot at mid height through the
  // middle is in that sector, one low into a corner is not.
  for (int k = 0; k < 2; k++) {
    EngineMatchSetup();
    global_SetGameMode(static_cast<GameMode>(58));
    Player* pk = Keeper();
    EnginePlace(pk, 9336, 0, 401);
    Player* ps = Shooter();
    EnginePlace(ps, 7600, 0, 0);
    ball_PlaceAt(&ball_oBall, 7632, 0, 0);
    newballA_OwnerSet(ps, 1);
    const std::int32_t ty = k == 0 ? 0 : 420, th = k == 0 ? 180 : 30;
    ball_ShotLaunch(9700, th, ty, 90);
    ASSERT_EQ(ball_OutcomeGet(), BALL_OUTCOME_PENALTY);
    for (int t = 0; t < 3 && newgoalo_StateGet(pk->pGoalie) == GOALIE_STATE_DECIDE; t++) Tick();
    const GoalieObject* g = pk->pGoalie;
    ASSERT_NE(g->eState, GOALIE_STATE_DECIDE);
    if (k == 0) {
      EXPECT_EQ(newgoal_GuessedFlagGet(), 1);
      EXPECT_LT(std::abs(g->iTargetY), 40);
      EXPECT_GT(g->iTargetHeight, 96);
    } else {
      EXPECT_EQ(newgoal_GuessedFlagGet(), 0);
      // Sector 8 of his own: a made-up point 144..287 either side of the middle.
      EXPECT_GE(std::abs(g->iTargetY), 144);
      EXPECT_LE(std::abs(g->iTargetY), 287);
      EXPECT_GE(g->iTargetHeight, 96);
      EXPECT_LE(g->iTargetHeight, 239);
    }
  }
  global_SetGameMode(GAME_MODE_PLAY);
}

TEST(KeeperPlay, TheBallIsHisToPlayAndTheBackPassRule) {
  EngineMatchSetup();
  Player* pk = Keeper();
  Player* mate = EnginePlayer(14);
  Player* opp = EnginePlayer(3);
  Ball* pb = &ball_oBall;
  newballA_OwnerSet(nullptr, 0);
  pb->poPrevOwner = nullptr;
  EXPECT_EQ(newgoal_IsBallHis(pk), 1);  // nobody has played it
  pb->poPrevOwner = opp;
  EXPECT_EQ(newgoal_IsBallHis(pk), 1);  // last played by an opponent
  pb->poPrevOwner = pk;
  EXPECT_EQ(newgoal_IsBallHis(pk), 1);  // his own
  // Played back to him by a team-mate: his to pick up before 1994 only.
  Squad oSquad{};
  MatchTeam* poHome = match_HomeTeamGet();
  ::Squad* poOld = poHome->Squad;
  poHome->Squad = &oSquad;
  pb->poPrevOwner = mate;
  oSquad.iEdition = 8;  // 1986
  EXPECT_EQ(newgoal_IsBallHis(pk), 1);
  oSquad.iEdition = 9;  // 1994
  EXPECT_EQ(newgoal_IsBallHis(pk), 0);
  pb->iKind = BALL_KIND_KNOCK_ON;  // a knock-on is anybody's
  EXPECT_EQ(newgoal_IsBallHis(pk), 1);
  pb->iKind = BALL_KIND_NONE;
  newballA_OwnerSet(mate, 0);
  EXPECT_EQ(newgoal_IsBallHis(pk), 0);
  newballA_OwnerSet(opp, 0);
  EXPECT_EQ(newgoal_IsBallHis(pk), 1);
  poHome->Squad = poOld;
}

TEST(KeeperPlay, AUsersKeeperWithTheBallAtHisFeetIsLeftToHisUser) {
  // Out at the edge of his area with the ball, his user steering him: the
  // machine must not walk him back to his line, which would also undo every
  // kick the user starts (the match stood still around him).
  EngineMatchSetup();
  global_SetGameMode(GAME_MODE_PLAY);
  Player* pk = Keeper();
  EnginePlace(pk, 6400, 1500, 401);
  ball_PlaceAt(&ball_oBall, 6352, 0, 1500);
  newballA_OwnerSet(pk, 1);
  pk->Control = PLAYER_CONTROL_USER;
  newgoalo_StateSet(pk->pGoalie, GOALIE_STATE_DECIDE);
  for (int t = 0; t < 40; t++) {
    pk->bUserSteered = 1;
    newgoal_Update(pk);
    EngineTick();
    ASSERT_EQ(ball_oBall.poOwner, pk) << t;
  }
  EXPECT_LT(std::abs(pk->x - 6400) + std::abs(pk->y - 1500), 100) << pk->x << " " << pk->y;
  pk->Control = PLAYER_CONTROL_COMPUTER;
}

TEST(KeeperPlay, ARollingBallAcrossHisAreaBringsHimToHisSixYardLine) {
  EngineMatchSetup();
  global_SetGameMode(GAME_MODE_PLAY);
  Player* pk = Keeper();
  // Nobody near the goal but him: a ball rolled across the front of it.
  for (std::int32_t i = 0; i < PLAYER_MAX; i++) {
    Player* pp = EnginePlayer(i);
    if (pp != pk && pp->x > 7000) EnginePlace(pp, 5000, pp->y, pp->iFacing);
  }
  ball_PlaceAt(&ball_oBall, 7900, 0, -1300);
  ball_GroundPassLaunch(7900, 1300);
  ASSERT_EQ(ball_oBall.iKind, BALL_KIND_GROUND_PASS);
  ball_oBall.iKind = BALL_KIND_ROLLING;
  bool bAlert = false;
  std::int32_t iMinX = pk->x;
  for (int t = 0; t < 40; t++) {
    Tick();
    bAlert = bAlert || newgoal_SideFlagGet(2);
    if (pk->x < iMinX) iMinX = pk->x;
  }
  EXPECT_TRUE(bAlert);
  EXPECT_LT(iMinX, 8900);  // off his line toward the six-yard line
  // Out of play modes clear it.
  global_SetGameMode(GAME_MODE_THROW_IN);
  newgoal_AlertUpdate(pk);
  EXPECT_EQ(newgoal_SideFlagGet(2), 0);
  global_SetGameMode(GAME_MODE_PLAY);
}

TEST(KeeperPlay, InAShootOutTheKickersKeeperWalksOffAndTheOtherKeepsGoal) {
  EngineMatchSetup();
  global_SetGameMode(static_cast<GameMode>(66));
  Player* pk = Keeper();       // his side defends the kick
  Player* po = EnginePlayer(0);  // the kicking side's keeper
  EnginePlace(pk, 8800, 600, 401);
  ball_PlaceAt(&ball_oBall, 7632, 0, 0);
  for (int t = 0; t < 200; t++) {
    action_AttackingSet(po, 1);
    action_AttackingSet(pk, 0);
    newgoal_Update(po);
    newgoal_Update(pk);
    EngineTick();
  }
  // The keeper in goal stands at its centre; the other heads for the centre spot.
  EXPECT_LT(std::abs(pk->x - 9360), 60);
  EXPECT_LT(std::abs(static_cast<std::int32_t>(pk->y)), 60);
  EXPECT_LT(std::abs(static_cast<std::int32_t>(po->x)), 9000);
  EXPECT_EQ(po->oAnimInfo.iTargetX, 0);
  EXPECT_EQ(po->oAnimInfo.iTargetY, 0);
  global_SetGameMode(GAME_MODE_PLAY);
}

TEST(KeeperPlay, FiveHundredShotsAreCaughtParriedOrScored) {
  int cCatch = 0, cParry = 0, cGoal = 0, cWide = 0, cNone = 0, n = 0;
  int cLowMid = 0, cLowMidSaved = 0, cTop = 0, cTopSaved = 0;
  for (std::int32_t d : {1500, 2300, 3100, 4000, 5000}) {
    for (std::int32_t sy : {-1600, -700, 0, 700, 1600}) {
      for (std::int32_t ty : {-470, -230, 0, 230, 470}) {
        for (std::int32_t th : {30, 330}) {
          for (std::int32_t p : {70, 110}) {
            Shot s = Play(BALL_GOAL_LINE_X - d, sy, ty, th, p);
            n++;
            const bool bSaved = s.eEnd == End::kCatch || s.eEnd == End::kParry;
            cCatch += s.eEnd == End::kCatch;
            cParry += s.eEnd == End::kParry;
            cGoal += s.eEnd == End::kGoal;
            cWide += s.eEnd == End::kWide;
            cNone += s.eEnd == End::kNone;
            if (th == 30 && std::abs(ty) <= 230) {
              cLowMid++;
              cLowMidSaved += bSaved;
            }
            if (th == 330 && std::abs(ty) == 470) {
              cTop++;
              cTopSaved += bSaved;
            }
          }
        }
      }
    }
  }
  std::printf("shots %d: catches %d, parries %d, goals %d, wide %d, other %d; low middle saved %d of %d, top corners %d of %d\n",
              n, cCatch, cParry, cGoal, cWide, cNone, cLowMidSaved, cLowMid, cTopSaved, cTop);
  EXPECT_EQ(n, 500);
  for (int c : {cCatch, cParry, cGoal}) {
    EXPECT_GT(c, 0);
    EXPECT_LT(c, n);
  }
  EXPECT_GT(cLowMidSaved * cTop, cTopSaved * cLowMid);
}

// Where a parried ball goes: the turn the parry gives its heading, seen from
// the goal's middle line (positive away from it, toward the side the ball
// is on), and whether it then crosses the line inside the goal.
struct Parry {
  bool bParried = false;
  std::int32_t iTurnOut = 0;  // 16-bit
  bool bInNet = false;
};

Parry PlayParry(std::int32_t sx, std::int32_t sy, std::int32_t ty, std::int32_t th, std::int32_t iPower) {
  Kick(sx, sy, ty, th, iPower);
  Parry r;
  Player* pk = Keeper();
  const std::int32_t iHeading = ball_oBall.iHeading;
  for (int t = 0; t < 150; t++) {
    Tick();
    const Ball* pb = &ball_oBall;
    if (pb->poOwner) break;
    const std::int32_t bx = ball_XGet(pb), by = ball_YGet(pb), bh = ball_HeightGet(pb);
    if (!r.bParried && pb->iHeading != iHeading && pk->pGoalie->bParryPending) {
      r.bParried = true;
      std::int32_t d = ((pb->iHeading - iHeading) * 65536 / 803) % 65536;
      if (d > 32768) d -= 65536;
      if (d < -32768) d += 65536;
      r.iTurnOut = by < 0 ? -d : d;
    }
    if (bx > BALL_GOAL_LINE_X) {
      r.bInNet = r.bParried && std::abs(by) < 576 && bh < 384;
      break;
    }
  }
  return r;
}

TEST(KeeperPlay, AParryTurnsTheBallAwayFromTheGoalMouth) {
  int cParry = 0, cOut = 0, cIn = 0, cNet = 0;
  for (std::int32_t d : {1500, 2300, 3100, 4000, 5000}) {
    for (std::int32_t sy : {-1600, -700, 700, 1600}) {
      for (std::int32_t ty : {-470, -230, 230, 470}) {
        for (std::int32_t th : {30, 150, 330}) {
          for (std::int32_t p : {70, 90, 110}) {
            const Parry r = PlayParry(BALL_GOAL_LINE_X - d, sy, ty, th, p);
            if (!r.bParried) continue;
            cParry++;
            cOut += r.iTurnOut > 0;
            cIn += r.iTurnOut < 0;
            cNet += r.bInNet;
          }
        }
      }
    }
  }
  std::printf("parries %d: turned away from the middle %d, toward it %d, into the net %d\n", cParry, cOut, cIn, cNet);
  EXPECT_GT(cParry, 50);
  // A ball near the middle may pass the keeper on the other side of it.
  EXPECT_LT(cIn * 10, cParry);
  // Some parries of hard shots still go in; most go wide or back out.
  EXPECT_LT(cNet * 5, cParry);
}

}  // namespace

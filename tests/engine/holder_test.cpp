// The ball holder's actions and the reactions around him: the common guard,
// which shooting and crossing zones ever try, the random draws of the cross,
// the clearance and the pass to a team-mate over many seeds, the touch
// contact chance for every rating, the user steering step and the goal
// celebration.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>

#include "engine/action.h"
#include "engine/action_react.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/newballA.h"
#include "engine/player.h"
#include "engine/aiopt.h"
#include "engine/target.h"
#include "engine/team.h"
#include "engine/touch.h"
#include "engine/zone.h"
#include "engine_env.h"
#include "framework/math/qrand.h"
#include "matchflow/matcha.h"
#include "matchflow/usrctl.h"
#include "shell/global.h"
#include "shell/user.h"
#include "shell/usrmark.h"

namespace {

class Holder : public ::testing::Test {
 protected:
  void SetUp() override {
    EngineMatchSetup();
    global_SetGameMode(GAME_MODE_PLAY);
    action_TableInit();
    closedown_DelaySet(0);
    ball_oBall.poOwner = nullptr;
  }
  void TearDown() override { action_TableInit(); }
  static void Seed(std::uint32_t n) {
    QMathRandState o;
    QMathRandStateInitial(&o);
    QMathRandStateRestore(&o);
    QMathRandSkip(n);
  }
  // Player 9 (home, attacking +x) holds the ball at (x, y), facing the goal
  // he attacks, the others far away.
  static Player* HolderAt(std::int32_t x, std::int32_t y) {
    for (std::int32_t id = 1; id < PLAYER_MAX; id++)
      if (id != 11) EnginePlace(EnginePlayer(id), id < 11 ? -8000 : 8000, -5000 + (id % 11) * 900, 0);
    Player* pp = EnginePlayer(9);
    EnginePlace(pp, x, y, 0);
    ball_PlaceAt(&ball_oBall, x, 0, y);
    newballA_OwnerSet(pp, 1);
    anim_RequestSet(&pp->oAnimInfo, ANIM_STAND);
    pp->MoveState = MOVE_STATE_STAND;
    pp->Control = PLAYER_CONTROL_COMPUTER;
    action_AttackingSet(pp, 1);
    return pp;
  }
  static ActionNode* Run(ActionHandler pfn, Player* pp) {
    static ActionNode o;
    o = ActionNode{nullptr, nullptr, pp};
    return pfn(&o);
  }
  static void Params(Player* pp, std::int32_t a, std::int32_t b, std::int32_t c) {
    pp->oAIInfo.abParams[0] = static_cast<std::uint8_t>(a);
    pp->oAIInfo.abParams[1] = static_cast<std::uint8_t>(b);
    pp->oAIInfo.abParams[2] = static_cast<std::uint8_t>(c);
    pp->oAIInfo.cParams = 3;
  }
};

// ---- The guard ----------------------------------------------------------------------------------------
TEST_F(Holder, TheGuardTakesOnlyAFreeComputerHolderNotKicking) {
  struct Row {
    const char* psz;
    bool bHolds;
    std::uint32_t eRequest;
    std::int32_t iControl;
    std::int32_t iMoveState;
    bool bPasses;
  } rows[] = {
      {"free holder", true, ANIM_STAND, PLAYER_CONTROL_COMPUTER, MOVE_STATE_STAND, true},
      {"user's holder", true, ANIM_RUN, PLAYER_CONTROL_USER, MOVE_STATE_RUN, true},
      {"not holding", false, ANIM_STAND, PLAYER_CONTROL_COMPUTER, MOVE_STATE_STAND, false},
      {"kick asked for", true, 131, PLAYER_CONTROL_COMPUTER, MOVE_STATE_STAND, false},
      {"not played", true, ANIM_STAND, PLAYER_CONTROL_NONE, MOVE_STATE_STAND, false},
      {"turning about", true, ANIM_STAND, PLAYER_CONTROL_COMPUTER, MOVE_STATE_TURN_ABOUT, false},
      {"tackling", true, ANIM_STAND, PLAYER_CONTROL_COMPUTER, MOVE_STATE_TACKLE, false},
  };
  for (const Row& r : rows) {
    Player* pp = HolderAt(7000, 0);
    if (!r.bHolds) newballA_OwnerSet(EnginePlayer(5), 1);
    anim_RequestSet(&pp->oAnimInfo, r.eRequest);
    pp->Control = r.iControl;
    pp->MoveState = r.iMoveState;
    EXPECT_EQ(action_HolderGuard(pp) != 0, r.bPasses) << r.psz;
    // Every holder action refuses whom the guard refuses.
    if (!r.bPasses) {
      for (ActionHandler pfn : {action_ShootHandler, action_CrossHandler, action_ShootOrPassHandler,
                                action_PassToMateHandler, action_ClearHandler, action_HolderChooseHandler}) {
        Params(pp, 1, 2, 101);
        EXPECT_NE(Run(pfn, pp), nullptr) << r.psz;
      }
    }
  }
}

// ---- Shooting and crossing zones ---------------------------------------------------------------------------
// Over a grid of the attacking half: every class the tree gives, tried 40
// times with fresh draws.
std::map<std::int32_t, std::pair<int, int>> TriesByClass(ActionHandler pfn, std::int32_t iTree,
                                                          void (*Reset)(), Player* (*At)(std::int32_t, std::int32_t)) {
  std::map<std::int32_t, std::pair<int, int>> m;  // class -> (tries, taken)
  std::uint32_t s = 0;
  for (std::int32_t x = 0; x <= 9300; x += 300) {
    for (std::int32_t y = -5700; y <= 5700; y += 300) {
      Reset();
      Player* pp = At(x, y);
      std::int32_t c = zone_iChildAtPlayer(iTree, pp);
      auto& e = m[c];
      if (e.first >= 40) continue;
      for (int i = 0; i < 4; i++) {
        Reset();
        pp = At(x, y);
        QMathRandSkip(++s);
        ActionNode o{nullptr, nullptr, pp};
        e.first++;
        e.second += pfn(&o) == nullptr;
      }
    }
  }
  return m;
}

TEST_F(Holder, ClassOneAlwaysShootsAndClassesFiveToSevenNever) {
  auto m = TriesByClass(action_ShootHandler, 551, [] { EngineMatchSetup(); action_TableInit(); }, HolderAt);
  ASSERT_TRUE(m.count(1));
  EXPECT_EQ(m[1].second, m[1].first);
  if (m.count(2)) {
    EXPECT_LT(m[2].second, m[2].first);
  }
  // Only the shooting classes ever shoot, the nearer the likelier.
  for (const auto& e : m) {
    if (e.first >= 1 && e.first <= 4) continue;
    if (e.first == 8) continue;
    EXPECT_EQ(e.second.second, 0) << "class " << e.first;
  }
  ASSERT_TRUE(m.count(4));
  EXPECT_LT(m[4].second, m[2].second + 1);
}

TEST_F(Holder, ACrossIsNeverTriedOutsideClassesOneToFour) {
  auto m = TriesByClass(action_CrossHandler, 884, [] { EngineMatchSetup(); action_TableInit(); }, HolderAt);
  for (const auto& e : m) {
    if (e.first >= 1 && e.first <= 4) continue;
    EXPECT_EQ(e.second.second, 0) << "class " << e.first;
  }
  ASSERT_TRUE(m.count(1));
  EXPECT_EQ(m[1].second, m[1].first);
}

// ---- Random draws ------------------------------------------------------------------------------------------
TEST_F(Holder, TheCrossDistanceAndAngleStayInTheirRangesOverManySeeds) {
  // A place the crossing tree rates class 1 (always crosses).
  std::int32_t cx = 0, cy = 0;
  for (std::int32_t x = 9300; x > 0 && !cx; x -= 150)
    for (std::int32_t y = -5700; y <= 5700 && !cx; y += 150)
      if (zone_iChildAtPlayer(884, HolderAt(x, y)) == 1) cx = x, cy = y;
  ASSERT_NE(cx, 0);
  for (std::uint32_t s = 0; s < 400; s++) {
    SetUp();
    Player* pp = HolderAt(cx, cy);
    std::int32_t k = 100 - PlayerO_Attr52Get(pp);
    Seed(s);
    ASSERT_EQ(Run(action_CrossHandler, pp), nullptr) << "seed " << s;
    EXPECT_GE(target_DistanceGet(), 2000 - (10 * k + 300));
    EXPECT_LT(target_DistanceGet(), 10 * k + 2300);
    std::int32_t a = target_AngleGet();
    if (a > 401) a -= 802;
    std::int32_t iSpread = (25 * k / 70 + 5) * 802 / 360;
    EXPECT_LE(std::abs(a), iSpread) << "seed " << s;
    EXPECT_EQ(touch_ContactGet(pp), 1);
    EXPECT_EQ(touch_aTeams[0].iKind, TOUCH_KIND_FIRST_TOUCH);
    EXPECT_EQ(pp->oAIInfo.eAction, ACTION_CROSS);
  }
}

// Opponents close in front of him leave him little room.
void Crowd(Player* pp) {
  std::int32_t s = pp->Direction == 1 ? 1 : -1;
  static const std::int32_t kAt[6][2] = {{200, 0}, {240, 200}, {240, -200}, {400, 400}, {400, -400}, {480, 0}};
  for (std::int32_t i = 0; i < 6; i++) {
    Player* po = EnginePlayer(pp->MyTeam == player_PlaysFor_Home ? 13 + i : 2 + i);
    EnginePlace(po, pp->x + s * kAt[i][0], pp->y + kAt[i][1], 0);
  }
}

TEST_F(Holder, TheClearanceAngleWrapsAndPointsUpfieldOverManySeeds) {
  std::set<std::int32_t> aSeen;
  for (std::uint32_t s = 0; s < 300; s++) {
    for (std::int32_t iDir : {1, 0}) {
      SetUp();
      Player* pp = HolderAt(iDir ? -6000 : 6000, 1000);
      pp->Direction = iDir;
      pp->iFacing = iDir ? 0 : 401;
      action_AttackingSet(pp, 1);
      Crowd(pp);
      Seed(s);
      ASSERT_EQ(Run(action_ClearHandler, pp), nullptr) << "seed " << s;
      std::int32_t a = target_AngleGet();
      EXPECT_GE(a, 0);
      EXPECT_LT(a, 802);
      // 20 degrees left of straight upfield down to 20 right of it.
      std::int32_t off = iDir ? (a > 401 ? a - 802 : a) : a - 401;
      EXPECT_GE(off, iDir ? 44 - 89 : -45) << "seed " << s;
      EXPECT_LE(off, iDir ? 44 : 45 + 0) << "seed " << s;
      aSeen.insert(a);
      EXPECT_GE(target_DistanceGet(), 4320);
      EXPECT_LT(target_DistanceGet(), 7200);
    }
  }
  // Both sides of the wrap are met toward +x.
  EXPECT_TRUE(aSeen.count(0) || *aSeen.begin() < 44);
  EXPECT_GT(*aSeen.rbegin(), 760);
}

TEST_F(Holder, AHolderWithRoomDoesNotClear) {
  Player* pp = HolderAt(-6000, 1000);
  EXPECT_NE(Run(action_ClearHandler, pp), nullptr);
}

TEST_F(Holder, ThePassToAMateDrawsItsDistanceInYardsWithinTheRecord) {
  for (std::uint32_t s = 0; s < 300; s++) {
    SetUp();
    Player* pp = HolderAt(-2000, 0);
    // Team-mates all around within reach of any point.
    for (std::int32_t i = 1; i <= 8; i++) EnginePlace(EnginePlayer(i), -2000 + (i % 3 - 1) * 2500, (i % 4 - 2) * 1500, 0);
    std::int32_t lo = 10 + static_cast<std::int32_t>(s % 10), hi = lo + 5 + static_cast<std::int32_t>(s % 7);
    Params(pp, 1 + static_cast<std::int32_t>(s % 8), lo, hi);
    Seed(s);
    ActionNode* po = Run(action_PassToMateHandler, pp);
    std::int32_t d = target_DistanceGet();
    EXPECT_EQ(d % 144, 0);
    EXPECT_GE(d, lo * 144) << "seed " << s;
    EXPECT_LT(d, hi * 144) << "seed " << s;
    if (po == nullptr) {
      ASSERT_NE(target_poGetReceiver(), nullptr);
      EXPECT_NE(target_poGetReceiver(), pp);
      EXPECT_EQ(target_poGetReceiver()->MyTeam, pp->MyTeam);
    }
  }
}

TEST_F(Holder, APassToTheChoicesPointRecordsThatPoint) {
  // Whatever way the holder looks, a pass he starts is recorded at the point
  // the pass choice gave, for the tap header at its contact.
  std::int32_t cPasses = 0;
  for (std::int32_t iSector = 0; iSector < 8; iSector++) {
    SetUp();
    Player* pp = HolderAt(-2000, 0);
    for (std::int32_t i = 1; i <= 8; i++) EnginePlace(EnginePlayer(i), -2000 + (i % 3 - 1) * 2500, (i % 4 - 2) * 1500, 0);
    Params(pp, iSector, 0, 0);
    pass_RecordSet(PASS_RECORD_AHEAD, 12345, -321);
    if (Run(action_ShootOrPassHandler, pp) != nullptr) continue;
    cPasses++;
    ASSERT_NE(pp->oReceiver.poReceiver, nullptr);
    EXPECT_EQ(pp->oAnimData.pfnContact, target_DoTapHeader);
    EXPECT_EQ(pass_RecordModeGet(), PASS_RECORD_AT_POINT);
    std::int32_t x = 0, y = 0;
    pass_RecordPointGet(&x, &y);
    EXPECT_EQ(x, pp->oReceiver.x) << "sector " << iSector;
    EXPECT_EQ(y, pp->oReceiver.y) << "sector " << iSector;
  }
  EXPECT_GE(cPasses, 4);
}

TEST_F(Holder, AHolderWithRoomAheadKeepsTheBall) {
  Player* pp = HolderAt(-2000, 0);
  Params(pp, 1, 2, 0);  // any share of free directions is at least 0
  EXPECT_NE(Run(action_HolderChooseHandler, pp), nullptr);
  EXPECT_NE(pp->oAIInfo.eAction, ACTION_SHOOT_OR_PASS);
}

// ---- Touch contact chance ----------------------------------------------------------------------------------
TEST_F(Holder, TheContactChanceReadsRatingsAboveTenAsTen) {
  Player* pp = EnginePlayer(4);
  MatchTeam* poTeam = match_HomeTeamGet();
  std::int32_t cHits = 0;
  for (std::uint32_t s = 0; s < 2000; s++) {
    poTeam->iRating = 10;
    Seed(s);
    std::int32_t iTen = action_ContactChance(pp, 1000);
    cHits += iTen;
    for (std::int32_t r = 11; r <= 15; r++) {
      poTeam->iRating = r;
      Seed(s);
      EXPECT_EQ(action_ContactChance(pp, 1000), iTen) << "rating " << r;
    }
  }
  // 1000 of 75 x 40: a third.
  EXPECT_GT(cHits, 2000 * 25 / 100);
  EXPECT_LT(cHits, 2000 * 42 / 100);
  // The weakest side: 1000 of 825 x 40, about 3 in 100.
  poTeam->iRating = 0;
  cHits = 0;
  for (std::uint32_t s = 0; s < 2000; s++) {
    Seed(s);
    cHits += action_ContactChance(pp, 1000);
  }
  EXPECT_GT(cHits, 20);
  EXPECT_LT(cHits, 100);
}

// ---- User steering ------------------------------------------------------------------------------------------
class Steering : public Holder {
 protected:
  Player* pp = nullptr;
  User* pu = nullptr;
  void SetUp() override {
    Holder::SetUp();
    pp = EnginePlayer(7);
    EnginePlace(pp, 0, 3000, 0);
    ball_PlaceAt(&ball_oBall, -6000, 0, -3000);
    pu = &user_aUsers[0];
    pu->iIndex = 0;
    pu->MyTeam = player_PlaysFor_Home;
    pu->bActive = 1;
    usrmark_PoolInit();
    ASSERT_TRUE(usrmark_bAlloc(&pu->phl));
    user_PlayerSet(pu, pp);
    ASSERT_EQ(player_UserGet(pp), pu);
    pp->Control = PLAYER_CONTROL_USER;
    pp->bUserSteered = 0;
    *usrctl_poWords(pu) = UsrctlUser{};
  }
  void Stick(std::int32_t iDeg, std::int32_t m) {
    pu->uStickDirection = static_cast<std::uint32_t>(iDeg) << 16 | static_cast<std::uint32_t>(m);
  }
};

TEST_F(Steering, AFullStickWalksAndRunsOnlyWhileSprintIsHeld) {
  Stick(0, 128);
  usrctl_poWords(pu)->bSprint = 1;
  action_UserSteer(pp);
  EXPECT_EQ(anim_RequestGet(&pp->oAnimInfo), ANIM_RUN);
  EXPECT_EQ(usrctl_poWords(pu)->bSprint, 0);
  action_UserSteer(pp);
  EXPECT_EQ(anim_RequestGet(&pp->oAnimInfo), ANIM_WALK);
  struct Row {
    std::int32_t m;
    std::uint32_t e;
  } rows[] = {{0, ANIM_STAND}, {25, ANIM_STAND}, {26, ANIM_TURN}, {70, ANIM_TURN}, {71, ANIM_WALK}, {128, ANIM_WALK}};
  for (const Row& r : rows) {
    Stick(45, r.m);
    action_UserSteer(pp);
    EXPECT_EQ(anim_RequestGet(&pp->oAnimInfo), r.e) << r.m;
    const std::int32_t* pt = anim_TargetPtrGet(&pp->oAnimInfo);
    EXPECT_EQ(pt[0], 9358);
    EXPECT_EQ(pt[1], 5758);
  }
}

TEST_F(Steering, ButtonRequestsPlayOnceAndDependOnMoving) {
  Stick(0, 0);
  usrctl_poWords(pu)->iRequest = 1;
  action_UserSteer(pp);
  EXPECT_EQ(anim_RequestGet(&pp->oAnimInfo), 9u);
  EXPECT_EQ(usrctl_poWords(pu)->iRequest, 0);
  pp->iSpeed = 20;
  usrctl_poWords(pu)->iRequest = 1;
  action_UserSteer(pp);
  EXPECT_EQ(anim_RequestGet(&pp->oAnimInfo), 8u);
  usrctl_poWords(pu)->iRequest = 2;
  action_UserSteer(pp);
  EXPECT_EQ(anim_RequestGet(&pp->oAnimInfo), 33u);
  usrctl_poWords(pu)->iRequest = 3;
  action_UserSteer(pp);
  EXPECT_EQ(anim_RequestGet(&pp->oAnimInfo), 143u);
  action_UserSteer(pp);
  EXPECT_EQ(anim_RequestGet(&pp->oAnimInfo), ANIM_STAND);
}

TEST_F(Steering, EveryStickAngleGivesAHeadingOnTheCircle) {
  for (std::int32_t iDeg = 0; iDeg < 360; iDeg += 5) {
    Stick(iDeg, 128);
    action_UserSteer(pp);
    std::uint32_t h = anim_HeadingGet(&pp->oAnimInfo);
    EXPECT_LT(h, 802u) << iDeg;
    // A quarter turn on from the stick's degrees, within a unit.
    std::int32_t iWant = (iDeg + 90) % 360 * 802 / 360;
    std::int32_t d = std::abs(static_cast<std::int32_t>(h) - iWant);
    EXPECT_LE(std::min(d, 802 - d), 2) << iDeg;
  }
}

TEST_F(Steering, NearALooseBallTheStickBendsTowardIt) {
  ball_PlaceAt(&ball_oBall, 1000, 0, 3000);  // straight ahead along +x
  // A stick 30 degrees off the ball's direction is bent onto it.
  std::int32_t iBallDeg = 0;
  std::int32_t iStickDeg = (iBallDeg + 30 - 90 + 360) % 360;
  Stick(iStickDeg, 128);
  action_UserSteer(pp);
  EXPECT_LE(anim_HeadingGet(&pp->oAnimInfo) % 802, 1u);
  // 70 degrees off: the stick holds.
  iStickDeg = (iBallDeg + 70 - 90 + 360) % 360;
  Stick(iStickDeg, 128);
  action_UserSteer(pp);
  EXPECT_NEAR(static_cast<double>(anim_HeadingGet(&pp->oAnimInfo)), 70 * 802 / 360.0, 2);
}

TEST_F(Steering, AUserSteeredPlayerIsLeftAlone) {
  newballA_OwnerSet(pp, 1);
  pp->bUserSteered = 1;
  anim_RequestSet(&pp->oAnimInfo, 102);
  Stick(0, 128);
  action_UserSteer(pp);
  EXPECT_EQ(anim_RequestGet(&pp->oAnimInfo), 102u);
}

// ---- A computer keeper holding the ball ----------------------------------------------------------------------
TEST_F(Holder, AKeeperWaitsInHisStanceThenKicksLongOrAimsShort) {
  std::int32_t cLong = 0, cShort = 0;
  for (std::uint32_t s = 0; s < 200; s++) {
    SetUp();
    Player* pk = EnginePlayer(0);
    EnginePlace(pk, -8800, 300, 0);
    pk->Control = PLAYER_CONTROL_COMPUTER;
    action_AttackingSet(pk, 1);
    anim_ActionAnimSetAt(&pk->oAnimData, ANIM_GOALIE_STANCE, 0);
    global.bPopRequest = 0;
    // Before ten ticks in the stance he only stands in it.
    ASSERT_EQ(Run(action_AttackIdleHandler, pk), nullptr);
    EXPECT_EQ(anim_RequestGet(&pk->oAnimInfo), ANIM_GOALIE_STANCE);
    EXPECT_EQ(pk->iSpeed, 0);
    EXPECT_EQ(global.bPopRequest, 0);
    EXPECT_EQ(pk->oAIInfo.eAction, ACTION_ATTACK_IDLE);
    // He faces the centre spot.
    EXPECT_NEAR(pk->iFacing, ball_HeadingTo(8800, -300), 1);
    pk->oAnimData.uTicks = 10;
    Seed(s);
    ASSERT_EQ(Run(action_AttackIdleHandler, pk), nullptr);
    EXPECT_EQ(global.bPopRequest, 1);
    std::int32_t d = target_DistanceGet();
    EXPECT_EQ(d % 144, 0);
    if (anim_RequestGet(&pk->oAnimInfo) == 69u) {
      cLong++;
      EXPECT_GE(d, 20 * 144);
      EXPECT_LT(d, 75 * 144);
    } else {
      cShort++;
      EXPECT_GE(d, 15 * 144);
      EXPECT_LT(d, 35 * 144);
    }
  }
  EXPECT_GT(cLong, 50);
  EXPECT_GT(cShort, 50);
  // A defending keeper, or one under a user, is left alone.
  Player* pk = EnginePlayer(11);
  action_AttackingSet(pk, 0);
  pk->Control = PLAYER_CONTROL_COMPUTER;
  EXPECT_NE(Run(action_AttackIdleHandler, pk), nullptr);
}

// ---- After a goal -------------------------------------------------------------------------------------------
TEST_F(Holder, TheCelebrationPlaysOncePerGoal) {
  Player* pp = EnginePlayer(9);
  EnginePlace(pp, 5000, 1000, 0);
  react_GoalCelebrationArm();
  EXPECT_EQ(Run(action_GoalCelebrateHandler, pp), nullptr);
  std::uint32_t e = anim_RequestGet(&pp->oAnimInfo);
  EXPECT_TRUE(e == 12 || e == 14 || e == 172 || e == 13) << e;
  EXPECT_EQ(react_GoalCelebrationArmed(), 0);
  EXPECT_EQ(Run(action_GoalCelebrateHandler, pp), nullptr);
  EXPECT_EQ(anim_RequestGet(&pp->oAnimInfo), 10u);
  const std::int32_t* pt = anim_TargetPtrGet(&pp->oAnimInfo);
  EXPECT_EQ(pt[0], 0);
  EXPECT_EQ(pt[1], 0);
  EXPECT_EQ(pp->oAIInfo.eAction, ACTION_GOAL_CELEBRATE);
}

}  // namespace

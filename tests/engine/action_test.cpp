// The action table and its records, the action pass for every game mode
// (with recording handlers in the table), the director's batches and walk,
// the steering point, the zone flip bits and the closing-down choice.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/action.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/chaser.h"
#include "engine/engine_services.h"
#include "engine/target.h"
#include "engine/team.h"
#include "engine/zone.h"
#include "engine/player.h"
#include "engine_env.h"
#include "shell/global.h"

namespace {

// Calls seen by the recording handlers: (player id, action id).
std::vector<std::pair<int, int>> g_calls;
bool g_abTakes[ACTION_TABLE_SIZE];

template <int N>
ActionNode* Spy(ActionNode* poList) {
  g_calls.emplace_back(poList->poPlayer->ID, N);
  if (!g_abTakes[N]) return poList;
  action_Set(poList->poPlayer, N);
  return director_ListUnlink(poList);
}

template <int... N>
void InstallSpies(std::integer_sequence<int, N...>) {
  ((action_apfnHandlers[N] = action_apfnHandlers[N] ? Spy<N> : nullptr), ...);
}

class Actions : public ::testing::Test {
 protected:
  void SetUp() override {
    EngineMatchSetup();
    global_SetGameMode(GAME_MODE_PLAY);
    action_TableInit();
    closedown_DelaySet(0);
    ball_oBall.poOwner = nullptr;
  }
  void TearDown() override { action_TableInit(); }
  void Spies(std::initializer_list<int> takes) {
    InstallSpies(std::make_integer_sequence<int, ACTION_TABLE_SIZE>());
    for (bool& b : g_abTakes) b = false;
    for (int t : takes) g_abTakes[t] = true;
    g_calls.clear();
  }
  std::vector<int> CallsOf(int id) const {
    std::vector<int> v;
    for (auto& c : g_calls)
      if (c.first == id) v.push_back(c.second);
    return v;
  }
};

TEST_F(Actions, TableHas43HandlersAndFourEmptySlots) {
  int c = 0;
  for (int i = 0; i < ACTION_TABLE_SIZE; i++) {
    bool bEmpty = i == 11 || i == 25 || i == 40 || i == 41;
    EXPECT_EQ(action_apfnHandlers[i] == nullptr, bEmpty) << "slot " << i;
    c += action_apfnHandlers[i] != nullptr;
  }
  EXPECT_EQ(c, 43);
}

TEST_F(Actions, RunAssertsOnIdsOutsideTheTable) {
  Player* pp = EnginePlayer(3);
  EXPECT_DEATH(action_Run(pp, -1), "eAction >= 0");
  EXPECT_DEATH(action_Run(pp, 47), "eAction < ACTION_TABLE_SIZE");
}

TEST_F(Actions, SetKeepsThePreviousIdOnlyOnAChange) {
  Player* pp = EnginePlayer(4);
  pp->oAIInfo.eAction = 7;
  pp->oAIInfo.ePrevAction = 2;
  action_Set(pp, 7);
  EXPECT_EQ(pp->oAIInfo.ePrevAction, 2);
  action_Set(pp, 15);
  EXPECT_EQ(pp->oAIInfo.eAction, 15);
  EXPECT_EQ(pp->oAIInfo.ePrevAction, 7);
}

TEST_F(Actions, RecordsLoadAndAdvance) {
  static const std::uint8_t prog[] = {35, 0, 15, 3, 14, 40, 60, 6, 3, 1, 2, 50, 46, 1, 1, 0, 0};
  Player* pp = EnginePlayer(5);
  pp->oAIInfo.pbProgram = nullptr;
  EXPECT_EQ(action_RecordLoad(pp), 0);
  pp->oAIInfo.pbProgram = prog;
  struct Row {
    int id, n, p0, p1, p2;
  };
  const Row rows[] = {{35, 0, 0, 0, 0}, {15, 3, 14, 40, 60}, {6, 3, 1, 2, 50}, {46, 1, 1, 0, 0}, {0, 0, 0, 0, 0}};
  for (const Row& r : rows) {
    EXPECT_EQ(action_RecordLoad(pp), r.id);
    EXPECT_EQ(pp->oAIInfo.cParams, r.n);
    EXPECT_EQ(pp->oAIInfo.abParams[0], r.p0);
    EXPECT_EQ(pp->oAIInfo.abParams[1], r.p1);
    EXPECT_EQ(pp->oAIInfo.abParams[2], r.p2);
    action_RunForPlayer(pp);
  }
  EXPECT_EQ(pp->oAIInfo.pbProgram, prog + sizeof prog);
  action_RecordClear(pp);
  EXPECT_EQ(pp->oAIInfo.pbProgram, nullptr);
}

TEST_F(Actions, ProgramResetUsesTheKeeperRecordOutsideOpenPlay) {
  Player* pp = EnginePlayer(6);
  global_SetGameMode(GAME_MODE_CORNER);
  action_ProgramReset(pp);
  EXPECT_EQ(pp->oAIInfo.pbProgram, pp->oAIInfo.abKeeperProgram);
  EXPECT_EQ(action_RecordLoad(pp), ACTION_GOALKEEPER);
  global_SetGameMode(GAME_MODE_PLAY);
  action_ProgramReset(pp);
  EXPECT_NE(pp->oAIInfo.pbProgram, pp->oAIInfo.abKeeperProgram);
  Player* pk = EnginePlayer(0);
  action_ProgramReset(pk);
  EXPECT_EQ(pk->oAIInfo.pbProgram, pk->oAIInfo.abKeeperProgram);
}

// A program whose every action fails ends standing within one tick.
TEST_F(Actions, FailingProgramReachesStand) {
  static const std::uint8_t prog[] = {1, 0, 27, 0, 34, 0, 0, 0};
  for (int i = 0; i < PLAYER_MAX; i++) EnginePlayer(i)->iLastActionResult = 1;
  Player* pp = EnginePlayer(8);
  pp->iLastActionResult = 0;
  pp->oAIInfo.eAction = 5;
  pp->oAIInfo.pbProgram = prog;
  director_PlayerSet(EnginePlayer(2));
  director_Update();
  EXPECT_EQ(pp->oAIInfo.eAction, ACTION_STAND);
  EXPECT_EQ(pp->oAIInfo.ePrevAction, 5);
}

TEST_F(Actions, DirectorRunsSevenATickWrapsAndResets) {
  // Every action a program may hold takes: the first record of every program takes.
  Spies({0, 5, 6, 9, 13, 15, 23, 24, 29, 35, 36, 37, 42, 43, 45, 46});
  director_Reset();
  EXPECT_EQ(director_poPlayerGet(), EnginePlayer(0));
  EXPECT_EQ(EnginePlayer(0)->iLastActionResult, 1);
  EXPECT_EQ(EnginePlayer(11)->iLastActionResult, 1);
  std::vector<int> aOrder;
  const size_t acPerTick[] = {7, 7, 6, 7};
  for (size_t n : acPerTick) {
    g_calls.clear();
    director_Update();
    EXPECT_EQ(g_calls.size(), n);
    for (auto& c : g_calls) aOrder.push_back(c.first);
  }
  // Every outfield player once in match order, keepers never; when all are
  // done the director resets and starts again at the top.
  std::vector<int> want = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
                           1, 2, 3, 4, 5, 6, 7};
  EXPECT_EQ(aOrder, want);
  // All marked done: the update resets at once.
  for (int i = 0; i < PLAYER_MAX; i++) EnginePlayer(i)->iLastActionResult = 1;
  g_calls.clear();
  director_PlayerSet(EnginePlayer(6));
  director_Update();
  EXPECT_TRUE(g_calls.empty());
  EXPECT_EQ(director_poPlayerGet(), EnginePlayer(0));
  EXPECT_EQ(EnginePlayer(6)->iLastActionResult, 0);
}

TEST_F(Actions, DirectorWalkCases) {
  for (int i = 0; i < PLAYER_MAX; i++) EnginePlayer(i)->iLastActionResult = 1;
  // Nobody left: nothing, and the director is not moved.
  director_PlayerSet(EnginePlayer(7));
  EXPECT_EQ(director_NextPlayerGet(), nullptr);
  // Only the last one run is left: he comes round again.
  EnginePlayer(7)->iLastActionResult = 0;
  EXPECT_EQ(director_NextPlayerGet(), EnginePlayer(7));
  // Wrap from the last away player to the first home player left.
  EnginePlayer(3)->iLastActionResult = 0;
  EnginePlayer(7)->iLastActionResult = 1;
  director_PlayerSet(EnginePlayer(21));
  EXPECT_EQ(director_NextPlayerGet(), EnginePlayer(3));
  // A player taken off the pitch: the walk starts at the first home player
  // and ends after one pass.
  Player* poOff = EnginePlayer(15);
  EnginePlayer(14)->pNext = EnginePlayer(16);
  director_PlayerSet(poOff);
  EXPECT_EQ(director_NextPlayerGet(), EnginePlayer(3));
  EnginePlayer(3)->iLastActionResult = 1;
  director_PlayerSet(poOff);
  EXPECT_EQ(director_NextPlayerGet(), nullptr);
  EnginePlayer(14)->pNext = poOff;
}

// Who gets which action in each game mode (home attacks; nothing takes
// except the slots named).
TEST_F(Actions, FramePassByGameMode) {
  using V = std::vector<int>;
  struct Case {
    int eMode;
    std::initializer_list<int> takes;
    int id;
    V want;
  };
  const Case cases[] = {
      {GAME_MODE_KICK_OFF, {}, 4, V{20}},
      {GAME_MODE_KICK_OFF, {}, 0, V{20}},
      {GAME_MODE_GOAL_KICK, {}, 15, V{17}},
      {GAME_MODE_CORNER, {}, 4, V{18, 7}},
      {GAME_MODE_CORNER, {}, 0, V{}},
      {GAME_MODE_CORNER, {}, 15, V{7, 12}},
      {GAME_MODE_CORNER, {7}, 15, V{7}},
      {GAME_MODE_PERIOD_BREAK, {}, 4, V{}},
      {GAME_MODE_PERIOD_END, {}, 15, V{}},
      {GAME_MODE_THROW_IN, {}, 4, V{19, 7}},
      {GAME_MODE_THROW_IN, {}, 15, V{12, 7}},
      {GAME_MODE_THROW_IN, {}, 11, V{}},
      {GAME_MODE_FREE_KICK, {}, 4, V{16, 7}},
      {GAME_MODE_FREE_KICK, {}, 15, V{7, 12}},
      {GAME_MODE_FREE_KICK, {7}, 15, V{7}},
      {58, {}, 0, V{14}},
      {66, {}, 12, V{14}},
      {GAME_MODE_INTERVAL, {}, 4, V{21}},
      {GAME_MODE_INTERVAL, {}, 0, V{}},
      {GAME_MODE_KEEPER_HANDS, {}, 15, V{44}},
      {GAME_MODE_SET_PIECE_SCRIPT, {}, 9, V{0}},
      {GAME_MODE_MATCH_END, {}, 9, V{0}},
      {GAME_MODE_PLAY, {}, 4, V{22, 7, 2}},
      {GAME_MODE_PLAY, {7}, 4, V{22, 7}},
      {GAME_MODE_PLAY, {}, 0, V{}},
  };
  for (const Case& c : cases) {
    SetUp();
    Spies(c.takes);
    global_SetGameMode(static_cast<GameMode>(c.eMode));
    action_FramePass(c.eMode);
    V got = CallsOf(c.id);
    if (c.eMode == GAME_MODE_PLAY) got.resize(std::min<size_t>(got.size(), c.want.size()));
    EXPECT_EQ(got, c.want) << "mode " << c.eMode << " player " << c.id;
  }
}

// In play-on only the side's chaser does anything but stand.
TEST_F(Actions, PlayOnOnlyTheChaserActs) {
  Spies({0, 2});
  chaser_PlayerSet(EnginePlayer(9));
  action_FramePass(GAME_MODE_PLAY_ON);
  for (int i = 0; i < PLAYER_MAX; i++) {
    std::vector<int> want = i == 9 ? std::vector<int>{22, 7, 2} : std::vector<int>{0};
    if (chaser_PlayerGet(EnginePlayer(i)) == EnginePlayer(i) && i != 9) continue;
    EXPECT_EQ(CallsOf(i), want) << "player " << i;
  }
}

TEST_F(Actions, SteeringPointAndFlipBits) {
  struct Case {
    int x, y, h, px, py, wx, wy;
  };
  const Case cases[] = {
      {1000, -200, 0, 0, 0, 1000, -200},
      {1000, -200, 480, 0, 0, 1000, -200},
      {1000, -200, 481, 9500, -6000, 9360, -5760},
      {1000, -200, 900, -9400, 5800, -9360, 5760},
      {1000, -200, 900, 300, 400, 300, 400},
  };
  for (const Case& c : cases) {
    ball_oBall.iX128 = c.x * 128;
    ball_oBall.iY128 = c.y * 128;
    ball_oBall.iHeight128 = c.h * 128;
    ball_oBall.iPrevX128 = c.px * 128;
    ball_oBall.iPrevY128 = c.py * 128;
    Spies({0});
    action_FramePass(GAME_MODE_MATCH_END);
    int x = 0, y = 0;
    action_SteeringPointGet(&x, &y);
    EXPECT_EQ(x, c.wx);
    EXPECT_EQ(y, c.wy);
  }
  // Home attacks toward +x and has the ball: flip 4; away defends toward -x: 3.
  Player* ph = EnginePlayer(5);
  Player* pa = EnginePlayer(16);
  ph->oRole.iFlip = 0;
  pa->oRole.iFlip = 0;
  action_AttackingSet(ph, 1);
  action_AttackingSet(pa, 0);
  EXPECT_EQ(ph->oAIInfo.iZoneFlip, 4);
  EXPECT_EQ(pa->oAIInfo.iZoneFlip, 3);
  EXPECT_EQ(ph->oAIInfo.bIsAttacking, 1);
  EXPECT_EQ(pa->oAIInfo.bIsAttacking, 0);
  EXPECT_EQ(ph->oAIInfo.poZoneBoxList, &zone_aBoxes[ph->oRole.iAttackTree]);
  EXPECT_EQ(pa->oAIInfo.poZoneBoxList, &zone_aBoxes[pa->oRole.iDefendTree]);
  EXPECT_GE(ph->oAIInfo.iPlayerZoneClass, 0);
  EXPECT_LE(ph->oAIInfo.iPlayerZoneClass, 7);
}

TEST_F(Actions, ClosingDownChoice) {
  Player* poHolder = EnginePlayer(9);
  ball_oBall.poOwner = poHolder;
  ball_oBall.iX128 = 0;
  ball_oBall.iY128 = 0;
  // Away defends the goal at +x; park everyone far from the ball.
  for (int i = 11; i < PLAYER_MAX; i++) EnginePlace(EnginePlayer(i), -8000, 5000, 0);
  struct Case {
    int ax, ay, bx, by, kx, ky;
    int want;  // 0 A, 1 B
  };
  const Case cases[] = {
      {500, 0, 300, 100, 100, 0, 1},        // equal sectors: the nearer one
      {300, 100, 500, 0, 100, 0, 0},        // the same swapped
      {1500, 0, -1000, 50, 100, 0, 0},      // the lower sector wins over distance
      {-1000, 50, 1500, 0, 8000, 0, 1},     // the same swapped; keeper far
  };
  for (const Case& c : cases) {
    Player* pa = EnginePlayer(14);
    Player* pb = EnginePlayer(17);
    EnginePlace(pa, c.ax, c.ay, 0);
    EnginePlace(pb, c.bx, c.by, 0);
    EnginePlace(EnginePlayer(11), c.kx, c.ky, 0);  // the keeper never presses
    closedown_DelaySet(0);
    closedown_PlayerChoose();
    EXPECT_EQ(closedown_poPlayerGet(), c.want ? pb : pa);
  }
  // While the delay runs nobody presses.
  closedown_DelaySet(3);
  for (int i = 0; i < 3; i++) {
    closedown_PlayerChoose();
    EXPECT_EQ(closedown_poPlayerGet(), nullptr);
  }
  closedown_PlayerChoose();
  EXPECT_NE(closedown_poPlayerGet(), nullptr);
  ball_oBall.poOwner = nullptr;
  closedown_PlayerChoose();
  EXPECT_EQ(closedown_poPlayerGet(), nullptr);
}

TEST_F(Actions, AngleHelpers) {
  struct In {
    int a, from, to, want;
  };
  const In in[] = {{100, 0, 100, 1}, {101, 0, 100, 0}, {0, 0, 100, 1},      {10, 65000, 100, 1},
                   {64999, 65000, 100, 0}, {-5, 65500, 10, 1}, {32768, 16384, 49152, 1}, {16383, 16384, 49152, 0}};
  for (const In& c : in) EXPECT_EQ(action_AngleInRange(c.a, c.from, c.to), c.want) << c.a << " " << c.from;
  EXPECT_EQ(action_AngleTan(0), 0);
  EXPECT_EQ(action_AngleTan(8192), 16384);
  EXPECT_LT(action_AngleTan(-8192), 0);
  EXPECT_EQ(action_AngleTan(16384), INT32_MAX);
}

}  // namespace

namespace {

class Retreat : public Actions {};

// The class zone (1..7) at a point of the player's tree.
int ClassAt(const Player* pp, int x, int y) {
  std::int32_t ai[4] = {0, 0, 0, 0};
  QMathPoint pt{x, y};
  zone_ClassesAtPoint(pp, &pt, ai);
  return ai[0];
}

TEST_F(Retreat, FormationPointByDistanceAngleAndFlip) {
  Player* pp = EnginePlayer(6);
  ball_oBall.iX128 = 500 * 128;
  ball_oBall.iY128 = -300 * 128;
  ball_oBall.iHeight128 = 0;
  struct Case {
    int dist, angleByte, flip, wx, wy;
  };
  // Distances in yards (144 units), angle bytes of 3 degrees.
  const Case cases[] = {
      {10, 0, 0, 500 + 1440, -300},  {10, 30, 0, 500, -300 + 1440}, {10, 30, 2, 500, -300 - 1440},
      {10, 0, 1, 500 - 1440, -300},  {5, 60, 0, 500 - 720, -300},    {10, 90, 0, 500, -300 - 1440},
  };
  for (const Case& c : cases) {
    pp->oRole.iFlip = 0;
    action_AttackingSet(pp, 1);
    pp->oAIInfo.iZoneFlip = 4 | c.flip;
    int id = ClassAt(pp, c.wx, c.wy);
    ASSERT_GT(id, 0);
    pp->oAIInfo.abParams[0] = static_cast<std::uint8_t>(id);
    pp->oAIInfo.abParams[1] = static_cast<std::uint8_t>(c.dist);
    pp->oAIInfo.abParams[2] = static_cast<std::uint8_t>(c.angleByte);
    EnginePlace(pp, -6000, 4000, 0);
    EXPECT_TRUE(action_Run(pp, ACTION_FORMATION_RETREAT));
    EXPECT_NEAR(pp->oAnimInfo.iTargetX, c.wx, 1) << c.dist << " " << c.angleByte << " " << c.flip;
    EXPECT_NEAR(pp->oAnimInfo.iTargetY, c.wy, 1) << c.dist << " " << c.angleByte << " " << c.flip;
    EXPECT_EQ(pp->oAIInfo.eAction, ACTION_FORMATION_RETREAT);
  }
  // A point outside the zone is brought into it; a missing zone leaves him.
  pp->oAIInfo.iZoneFlip = 4;
  int id = ClassAt(pp, 500, -300);
  pp->oAIInfo.abParams[0] = static_cast<std::uint8_t>(id);
  pp->oAIInfo.abParams[1] = 60;
  pp->oAIInfo.abParams[2] = 0;
  EXPECT_TRUE(action_Run(pp, ACTION_FORMATION_RETREAT));
  QMathPoint t{pp->oAnimInfo.iTargetX, pp->oAnimInfo.iTargetY};
  EXPECT_TRUE(zone_bHasPoint(pp, &t, id));
  EXPECT_LT(t.x, 500 + 60 * 144);
  pp->oAIInfo.abParams[0] = 250;
  EXPECT_FALSE(action_Run(pp, ACTION_FORMATION_RETREAT));
}

TEST_F(Retreat, FormationAnimationsAndStayingPut) {
  Player* pp = EnginePlayer(6);  // home attacks toward +x
  ball_oBall.iX128 = 0;
  ball_oBall.iY128 = 0;
  ball_oBall.iHeight128 = 0;
  pp->oRole.iFlip = 0;
  action_AttackingSet(pp, 1);
  pp->oAIInfo.iZoneFlip = 4;
  const int tx = -1440, ty = 0;  // 10 yards behind the ball
  int id = ClassAt(pp, tx, ty);
  ASSERT_GT(id, 0);
  pp->oAIInfo.abParams[0] = static_cast<std::uint8_t>(id);
  pp->oAIInfo.abParams[1] = 10;
  pp->oAIInfo.abParams[2] = 60;  // 180 degrees
  struct Case {
    int x, y;
    std::uint32_t ePrev, want;
    bool stays;
  };
  const Case cases[] = {
      {tx + 100, 0, ANIM_WALK, ANIM_STAND, true},       // within 144: stays
      {-200, 1200, ANIM_WALK, 7, false},                // beyond the point, short of the ball, 1153+ from it
      {-400, 0, ANIM_WALK, ANIM_WALK, false},           // too near the ball to back-pedal
      {tx - 1200, 0, ANIM_WALK, ANIM_RUN, false},       // more than 1152 away
      {tx - 500, 0, ANIM_RUN, ANIM_RUN, false},         // running and 433+ away
      {tx - 500, 0, ANIM_WALK, ANIM_WALK, false},
      {tx - 400, 0, ANIM_RUN, ANIM_WALK, false},
      {tx, 3000, ANIM_WALK, ANIM_RUN, false},
  };
  for (const Case& c : cases) {
    EnginePlace(pp, c.x, c.y, 0);
    pp->oAnimInfo.eActionAnim = c.ePrev;
    EXPECT_TRUE(action_Run(pp, ACTION_FORMATION_RETREAT));
    EXPECT_EQ(pp->oAnimInfo.eActionAnim, c.want) << c.x << "," << c.y;
    if (c.stays) {
      EXPECT_EQ(pp->oAnimInfo.iTargetX, c.x);
    } else {
      EXPECT_NEAR(pp->oAnimInfo.iTargetX, tx, 1);
    }
  }
}

TEST_F(Retreat, WallRetreatRunsBackIntoTheZoneOnly) {
  Player* pp = EnginePlayer(7);
  ball_oBall.iX128 = 2000 * 128;
  ball_oBall.iY128 = 0;
  ball_oBall.iHeight128 = 0;
  action_AttackingSet(pp, 1);
  int id = ClassAt(pp, 2000, 0);
  ASSERT_GT(id, 0);
  pp->oAIInfo.abParams[0] = static_cast<std::uint8_t>(id);
  EnginePlace(pp, 2000, 0, 0);
  EXPECT_FALSE(action_Run(pp, ACTION_WALL_RETREAT));  // already inside
  int iOther = ClassAt(pp, -8000, 0);
  ASSERT_NE(iOther, id);
  EnginePlace(pp, -8000, 0, 0);
  EXPECT_TRUE(action_Run(pp, ACTION_WALL_RETREAT));
  EXPECT_EQ(pp->oAnimInfo.eActionAnim, ANIM_RUN);
  QMathPoint t{pp->oAnimInfo.iTargetX, pp->oAnimInfo.iTargetY};
  EXPECT_TRUE(zone_bHasPoint(pp, &t, id));
}

}  // namespace

namespace {

class Reactions : public Actions {};

TEST_F(Reactions, OnlyTheChosenDefenderClosesDown) {
  Player* poHolder = EnginePlayer(9);  // attacks toward +x
  EnginePlace(poHolder, 1000, 200, 0);
  ball_oBall.poOwner = poHolder;
  ball_oBall.iX128 = 1000 * 128;
  ball_oBall.iY128 = 200 * 128;
  for (int i = 11; i < PLAYER_MAX; i++) EnginePlace(EnginePlayer(i), -8000, 5000, 0);
  // Goal-side offset (418, -10): within sqrt(418^2 + 10^2 + 288^2) ~ 507 he walks at the holder.
  struct Case {
    int px, py;
    std::uint32_t eAnim;
    int tx, ty;
  };
  const Case cases[] = {{1400, 200, ANIM_WALK, 1000, 200}, {1507, 200, ANIM_WALK, 1000, 200},
                        {1508, 200, ANIM_RUN, 1418, 190},  {1600, 200, ANIM_RUN, 1418, 190}};
  Player* pp = EnginePlayer(14);
  for (const Case& c : cases) {
    EnginePlace(pp, c.px, c.py, 0);
    closedown_PlayerChoose();
    ASSERT_EQ(closedown_poPlayerGet(), pp);
    EXPECT_TRUE(action_Run(pp, ACTION_CLOSE_DOWN));
    EXPECT_EQ(pp->oAnimInfo.eActionAnim, c.eAnim) << c.px;
    EXPECT_EQ(pp->oAnimInfo.iTargetX, c.tx) << c.px;
    EXPECT_EQ(pp->oAnimInfo.iTargetY, c.ty) << c.px;
    EXPECT_EQ(pp->oAIInfo.eAction, ACTION_CLOSE_DOWN);
  }
  EXPECT_FALSE(action_Run(EnginePlayer(15), ACTION_CLOSE_DOWN));
  ball_oBall.poOwner = nullptr;
  EXPECT_FALSE(action_Run(pp, ACTION_CLOSE_DOWN));
}

TEST_F(Reactions, HolderReactChallengesSlidesOrWaits) {
  Player* poHolder = EnginePlayer(9);
  EnginePlace(poHolder, 1000, 0, 0);
  ball_oBall.poOwner = poHolder;
  Player* pp = EnginePlayer(15);  // attacks toward -x: the holder is ahead of him when at smaller x
  EnginePlace(pp, 1200, 0, 401);
  EXPECT_TRUE(action_Run(pp, ACTION_HOLDER_REACT));
  EXPECT_EQ(pp->oAnimInfo.eActionAnim, 8u);
  EXPECT_EQ(pp->oAnimInfo.iTargetX, 1000);
  int cSlides = 0, cLeft = 0;
  for (int i = 0; i < 200; i++) {
    EnginePlace(pp, 1400, 0, 401);
    pp->oAIInfo.eAction = 0;
    if (action_Run(pp, ACTION_HOLDER_REACT)) {
      cSlides++;
      EXPECT_EQ(pp->oAnimInfo.eActionAnim, 143u);
    } else {
      cLeft++;
    }
    EXPECT_EQ(pp->oAIInfo.eAction, ACTION_HOLDER_REACT);
  }
  EXPECT_GT(cSlides, 60);
  EXPECT_GT(cLeft, 60);
  EnginePlace(pp, 1500, 0, 401);
  EXPECT_FALSE(action_Run(pp, ACTION_HOLDER_REACT));
  EnginePlace(pp, 800, 0, 401);  // the holder is behind him
  EXPECT_FALSE(action_Run(pp, ACTION_HOLDER_REACT));
  EXPECT_FALSE(action_Run(poHolder, ACTION_HOLDER_REACT));
  ball_oBall.poOwner = EnginePlayer(0);  // a keeper holding the ball is left alone
  EnginePlace(EnginePlayer(0), 1000, 0, 0);
  EnginePlace(pp, 1200, 0, 401);
  EXPECT_FALSE(action_Run(pp, ACTION_HOLDER_REACT));
}

TEST_F(Reactions, FaceCentreTakesOnlyTheScorersOpponents) {
  global.poScorer = EnginePlayer(9);
  ActionNode a{nullptr, nullptr, EnginePlayer(15)};
  ActionNode b{&a, nullptr, EnginePlayer(5)};
  ActionNode c{&b, nullptr, EnginePlayer(16)};
  a.poNext = &b;
  b.poNext = &c;
  ActionNode* poLeft = action_FaceCentreHandler(&a);
  ASSERT_EQ(poLeft, &b);
  EXPECT_EQ(b.poNext, nullptr);
  EXPECT_EQ(b.poPrev, nullptr);
  for (int id : {15, 16}) {
    EXPECT_EQ(EnginePlayer(id)->oAnimInfo.eActionAnim, ANIM_TURN);
    EXPECT_EQ(EnginePlayer(id)->oAIInfo.eAction, ACTION_FACE_CENTRE);
    EXPECT_EQ(EnginePlayer(id)->oAnimInfo.iTargetX, 0);
  }
  EXPECT_NE(EnginePlayer(5)->oAIInfo.eAction, ACTION_FACE_CENTRE);
  global.poScorer = nullptr;
}

}  // namespace

namespace {

class Holder : public Actions {};

TEST_F(Holder, ShotsByZoneClassAndTheGuard) {
  Player* pp = EnginePlayer(9);
  action_AttackingSet(pp, 1);
  // One point of each shooting class of the holder's tree.
  int aX[9], aY[9];
  bool abFound[9] = {};
  for (int x = -9000; x <= 9000; x += 180)
    for (int y = -5600; y <= 5600; y += 160) {
      pp->x = x;
      pp->y = y;
      int c = zone_iChildAtPlayer(551, pp);
      if (c >= 1 && c <= 8 && !abFound[c]) abFound[c] = true, aX[c] = x, aY[c] = y;
    }
  ASSERT_TRUE(abFound[1]);
  for (int c = 1; c <= 8; c++) {
    if (!abFound[c]) continue;
    int cShots = 0;
    for (int i = 0; i < 60; i++) {
      EnginePlace(pp, aX[c], aY[c], 0);
      ball_oBall.poOwner = pp;
      pp->oAIInfo.eAction = 0;
      pp->oAnimInfo.eActionAnim = ANIM_STAND;
      if (action_Run(pp, ACTION_SHOOT)) {
        cShots++;
        EXPECT_EQ(pp->oAIInfo.eAction, ACTION_SHOOT);
        EXPECT_EQ(pp->oAnimData.pfnContact, target_DoShotRandom);
      }
    }
    if (c == 1) {
      EXPECT_EQ(cShots, 60);
    } else if (c >= 5 && c <= 7) {
      EXPECT_EQ(cShots, 0) << "class " << c;
    } else if (c == 8) {
      EXPECT_GT(cShots, 40);
    }
  }
  // The guard: already kicking, not the holder, or not played.
  EnginePlace(pp, aX[1], aY[1], 0);
  ball_oBall.poOwner = pp;
  pp->oAnimInfo.eActionAnim = ANIM_STAND;
  EXPECT_TRUE(action_Run(pp, ACTION_SHOOT));
  EXPECT_FALSE(action_Run(pp, ACTION_SHOOT));
  pp->oAnimInfo.eActionAnim = ANIM_STAND;
  ball_oBall.poOwner = EnginePlayer(8);
  EXPECT_FALSE(action_Run(pp, ACTION_SHOOT));
  ball_oBall.poOwner = pp;
  pp->Control = PLAYER_CONTROL_NONE;
  EXPECT_FALSE(action_Run(pp, ACTION_SHOOT));
  pp->Control = PLAYER_CONTROL_COMPUTER;
  ball_oBall.poOwner = nullptr;
}

}  // namespace

namespace {

class GoalReact : public Actions {};

TEST_F(GoalReact, MatesGatherByShirtOthersGoToTheCentre) {
  Player* poScorer = EnginePlayer(9);
  EnginePlace(poScorer, 1000, 500, 0);
  global.poScorer = poScorer;
  struct Case {
    int id;
    std::uint32_t eAnim;
    int tx, ty;
  };
  // Shirt 1: 576 straight ahead; shirt 3: 672 at 30 degrees; shirt 10: on the scorer.
  const Case cases[] = {{1, 18, 1576, 500}, {3, 102, 1581, 836}, {10, 18, 1000, 500}, {15, ANIM_TURN, 0, 0}};
  for (const Case& c : cases) {
    Player* pp = EnginePlayer(c.id);
    EnginePlace(pp, -3000, -2000, 0);
    EXPECT_TRUE(action_Run(pp, ACTION_GOAL_REACT));
    EXPECT_EQ(pp->oAnimInfo.eActionAnim, c.eAnim) << c.id;
    EXPECT_NEAR(pp->oAnimInfo.iTargetX, c.tx, 1) << c.id;
    EXPECT_NEAR(pp->oAnimInfo.iTargetY, c.ty, 1) << c.id;
  }
  // Facing half a turn (401 of 802) turns shirt 1's point with him.
  EnginePlace(poScorer, 1000, 500, 401);
  EXPECT_TRUE(action_Run(EnginePlayer(1), ACTION_GOAL_REACT));
  EXPECT_NEAR(EnginePlayer(1)->oAnimInfo.iTargetX, 424, 2);
  EXPECT_NEAR(EnginePlayer(1)->oAnimInfo.iTargetY, 500, 2);
  // A user-controlled player is left.
  EnginePlayer(2)->Control = PLAYER_CONTROL_USER;
  EXPECT_FALSE(action_Run(EnginePlayer(2), ACTION_GOAL_REACT));
  EnginePlayer(2)->Control = PLAYER_CONTROL_COMPUTER;
  global.poScorer = nullptr;
}

}  // namespace

namespace {

class Marking : public Actions {
 protected:
  void SetUp() override {
    Actions::SetUp();
    for (int i = 0; i < 22; i++)
      for (std::int32_t& w : EnginePlayer(i)->aiMarking) w = 0;
  }
  void TearDown() override {
    for (int i = 0; i < 22; i++) EnginePlayer(i)->oSetPiece.piOptions = nullptr;
    Actions::TearDown();
  }
};

TEST_F(Marking, MarkerFollowsHisOpponent) {
  Player* poOpp = match_StateTeamFirstPlayerGet();
  Player* pp = match_OtherTeamFirstPlayerGet();
  pp->aiMarking[0] = 1;
  pp->aiMarking[2] = poOpp->ID;
  EnginePlace(pp, 0, 0, 0);
  struct Case {
    int x, y;
    std::uint32_t eAnim;
    int wx;
    std::uint32_t wAnim;
  };
  const Case cases[] = {
      {500, 300, ANIM_STAND, 788, ANIM_TURN},   {0, -40, ANIM_RUN, 288, ANIM_RUN},
      {-1, 10, ANIM_WALK, -289, ANIM_WALK},     {9200, 0, ANIM_RUN, 9360, ANIM_RUN},
      {-9300, 700, ANIM_STAND, -9360, ANIM_TURN},
  };
  for (const Case& c : cases) {
    EnginePlace(poOpp, c.x, c.y, 0);
    poOpp->oAnimInfo.eActionAnim = c.eAnim;
    pp->oAIInfo.eAction = ACTION_STAND;
    ActionNode n{nullptr, nullptr, pp};
    EXPECT_EQ(match_MarkingUpdate(&n), nullptr);
    EXPECT_EQ(pp->oAnimInfo.iTargetX, c.wx) << c.x;
    EXPECT_EQ(pp->oAnimInfo.iTargetY, c.y) << c.x;
    EXPECT_EQ(pp->oAnimInfo.eActionAnim, c.wAnim) << c.x;
    EXPECT_EQ(pp->oAIInfo.eAction, ACTION_MARK);
  }
}

TEST_F(Marking, FirstUnmarkedOpponentInTheZoneElseTheZoneCentre) {
  Player* pp = match_OtherTeamFirstPlayerGet();
  pp = match_TeamNextPlayerGet(pp);  // an outfield player
  action_AttackingSet(pp, 0);
  const int iZone = ClassAt(pp, 0, 0);
  ASSERT_GT(iZone, 0);
  int ox = -9000;
  while (ClassAt(pp, ox, 0) == iZone) ox += 1440;
  ASSERT_LT(ox, 9000);
  static std::int32_t aiOptions[1];
  aiOptions[0] = iZone;
  pp->oSetPiece.piOptions = aiOptions;
  pp->oSetPiece.cOptions = 1;

  // Every attacker outside the zone but three: the first already marked.
  std::vector<Player*> apAtt;
  for (Player* p = match_StateTeamFirstPlayerGet(); p; p = match_TeamNextPlayerGet(p)) {
    EnginePlace(p, ox, 0, 0);
    apAtt.push_back(p);
  }
  ASSERT_GE(apAtt.size(), 6u);
  for (int i : {2, 3, 5}) EnginePlace(apAtt[i], 0, 0, 0);
  apAtt[2]->aiMarking[1] = 1;
  EnginePlace(pp, 3000, 3000, 0);
  ActionNode an[2] = {{nullptr, nullptr, pp}, {nullptr, nullptr, EnginePlayer(pp->ID == 12 ? 13 : 12)}};
  an[0].poNext = &an[1];
  an[1].poPrev = &an[0];
  an[1].poPlayer->oSetPiece.piOptions = nullptr;
  EXPECT_EQ(match_MarkingUpdate(&an[0]), nullptr);
  EXPECT_EQ(an[0].poNext, nullptr);
  EXPECT_EQ(an[1].poPrev, nullptr);
  EXPECT_EQ(pp->aiMarking[0], 1);
  EXPECT_EQ(pp->aiMarking[2], apAtt[3]->ID);
  EXPECT_EQ(apAtt[3]->aiMarking[1], 1);
  EXPECT_EQ(apAtt[5]->aiMarking[1], 0);
  EXPECT_EQ(an[1].poPlayer->aiMarking[0], 0);

  // Nobody left in the zone: he covers its centre, walking when 288 or more away.
  for (int i : {3, 5}) EnginePlace(apAtt[i], ox, 0, 0);
  for (std::int32_t& w : pp->aiMarking) w = 0;
  apAtt[3]->aiMarking[1] = 0;
  QMathPoint c{};
  ASSERT_TRUE(zone_bCentreGet(pp, &c, iZone));
  struct Case {
    int dx;
    std::uint32_t wAnim;
    int wAction;
  };
  const Case cases[] = {{2000, ANIM_WALK, ACTION_MARK}, {288, ANIM_WALK, ACTION_MARK}, {287, ANIM_STAND, ACTION_STAND}};
  for (const Case& k : cases) {
    EnginePlace(pp, c.x + k.dx, c.y, 0);
    pp->oAIInfo.eAction = ACTION_STAND;
    ActionNode n{nullptr, nullptr, pp};
    EXPECT_EQ(match_MarkingUpdate(&n), nullptr);
    EXPECT_EQ(pp->aiMarking[0], 0);
    EXPECT_EQ(pp->oAnimInfo.iTargetX, c.x) << k.dx;
    EXPECT_EQ(pp->oAnimInfo.iTargetY, c.y) << k.dx;
    EXPECT_EQ(pp->oAnimInfo.eActionAnim, k.wAnim) << k.dx;
    EXPECT_EQ(pp->oAIInfo.eAction, k.wAction) << k.dx;
  }
}

TEST_F(Marking, ZoneRunWaitsForItsCountdown) {
  Player* a = EnginePlayer(6);
  Player* b = EnginePlayer(7);
  Player* d = EnginePlayer(8);
  action_AttackingSet(a, 1);
  const int iZone = ClassAt(a, 0, 0);
  ASSERT_GT(iZone, 0);
  a->oAIInfo.abParams[0] = static_cast<std::uint8_t>(iZone);
  a->oAIInfo.abParams[1] = 7;
  a->oAIInfo.iZoneCountdown = 0;
  action_AttackingSet(b, 1);
  b->oAIInfo.abParams[0] = static_cast<std::uint8_t>(ClassAt(b, 0, 0));
  ASSERT_GT(b->oAIInfo.abParams[0], 0);
  b->oAIInfo.iZoneCountdown = 3;
  d->oAIInfo.abParams[0] = 250;  // no such zone
  d->oAIInfo.iZoneCountdown = 0;
  for (Player* p : {a, b, d}) {
    EnginePlace(p, -8000, 5000, 0);
    p->oAIInfo.eAction = ACTION_STAND;
  }
  ActionNode an[3] = {{nullptr, nullptr, a}, {nullptr, nullptr, b}, {nullptr, nullptr, d}};
  an[0].poNext = &an[1];
  an[1].poPrev = &an[0];
  an[1].poNext = &an[2];
  an[2].poPrev = &an[1];
  EXPECT_EQ(team_ZoneRunHandler(&an[0]), &an[1]);
  EXPECT_EQ(an[1].poNext, &an[2]);
  EXPECT_EQ(an[1].poPrev, nullptr);
  EXPECT_EQ(a->oAIInfo.eAction, ACTION_ZONE_RUN);
  EXPECT_EQ(a->oAnimInfo.eActionAnim, ANIM_RUN);
  EXPECT_EQ(a->oAIInfo.iZoneCountdown, 7);
  QMathPoint t{a->oAnimInfo.iTargetX, a->oAnimInfo.iTargetY};
  EXPECT_TRUE(zone_bHasPoint(a, &t, iZone));
  EXPECT_EQ(b->oAIInfo.iZoneCountdown, 2);
  EXPECT_EQ(b->oAIInfo.eAction, ACTION_STAND);
  EXPECT_EQ(d->oAIInfo.eAction, ACTION_STAND);
  // The waiting player comes due once his countdown has run out.
  b->oAIInfo.abParams[1] = 4;
  for (int i = 0; i < 2; i++) {
    ActionNode n{nullptr, nullptr, b};
    EXPECT_EQ(team_ZoneRunHandler(&n), &n);
  }
  ActionNode n{nullptr, nullptr, b};
  EXPECT_EQ(team_ZoneRunHandler(&n), nullptr);
  EXPECT_EQ(b->oAIInfo.iZoneCountdown, 4);
  EXPECT_EQ(b->oAIInfo.eAction, ACTION_ZONE_RUN);
}

}  // namespace

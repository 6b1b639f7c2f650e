// The goalkeepers: the body-against-ball spheres, the save tables, the save
// set-up against a small model of its arithmetic, the reach test, the
// positioning against a floating-point model, and real shots played through
// the engine.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/colmodl.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/newballA.h"
#include "engine/newgoal.h"
#include "engine/newgoalo.h"
#include "engine/player.h"
#include "engine_env.h"
#include "framework/math/qmath.h"
#include "shell/global.h"
#include "tournament/dbplayer.h"

namespace {

// ---- The spheres ------------------------------------------------------------------------
// A second transcription: {bone a, bone b, numerator, denominator, radius}
// (b = -1 for a sphere on bone a).
const int kSpheres[17][5] = {
    {10, -1, 0, 0, 24}, {6, -1, 0, 0, 12},   {3, -1, 0, 0, 12},   {7, -1, 0, 0, 12},  {4, -1, 0, 0, 12},
    {7, 8, 24, 40, 12}, {4, 5, 24, 40, 12},  {2, -1, 0, 0, 28},   {1, -1, 0, 0, 32},  {0, 14, 76, 48, 20},
    {0, 11, 76, 48, 20}, {14, -1, 0, 0, 16}, {11, -1, 0, 0, 16},  {14, 15, 72, 36, 16}, {11, 12, 72, 36, 16},
    {16, -1, 0, 0, 8},  {13, -1, 0, 0, 8},
};

void RefCentre(const std::int32_t j[17][3], int i, std::int64_t c[3]) {
  const int* s = kSpheres[i];
  for (int k = 0; k < 3; k++) {
    c[k] = j[s[0]][k];
    if (s[1] >= 0) {
      // Integer division per component, toward zero.
      std::int64_t d = static_cast<std::int64_t>(j[s[1]][k]) - j[s[0]][k];
      c[k] += d * s[2] / s[3];
    }
  }
}

int RefHits(const std::int32_t j[17][3], const std::int32_t p[3], int r) {
  int n = 0;
  for (int i = 0; i < 17; i++) {
    std::int64_t c[3];
    RefCentre(j, i, c);
    std::int64_t d2 = 0;
    for (int k = 0; k < 3; k++) d2 += (p[k] - c[k]) * (p[k] - c[k]);
    std::int64_t rr = kSpheres[i][4] + r;
    n += d2 < rr * rr;
  }
  return n;
}

class Keeper : public ::testing::Test {
 protected:
  void SetUp() override {
    EngineMatchSetup();
    global_SetGameMode(GAME_MODE_PLAY);
  }
  static Player* HomeKeeper() { return EnginePlayer(0); }
  static Player* AwayKeeper() { return EnginePlayer(11); }
};

TEST_F(Keeper, SphereCentresForBothFlags) {
  std::int32_t j[17][3] = {};
  for (int s = 0; s < 17; s++) {
    j[s][0] = 1000 + s * 100;
    j[s][1] = 50 + s * 7;
    j[s][2] = -300 - s * 30;
  }
  // Sphere 9: from bone 0 toward bone 14 and beyond (76 / 48); a negative
  // difference divides toward zero.
  j[0][0] = 100;  j[0][1] = 200; j[0][2] = 300;
  j[14][0] = 110; j[14][1] = 190; j[14][2] = 307;
  std::int32_t c[3];
  colmodl_SphereCentreGet(j, 9, c);
  EXPECT_EQ(c[0], 100 + 10 * 76 / 48);  // 115
  EXPECT_EQ(c[1], 200 - 15);            // -10 x 76 / 48 = -15 (not -16)
  EXPECT_EQ(c[2], 300 + 11);
  // Sphere 13: 72 / 36 puts it as far beyond bone 15 as bone 15 is from 14.
  colmodl_SphereCentreGet(j, 13, c);
  EXPECT_EQ(c[0], j[14][0] + 2 * (j[15][0] - j[14][0]));
  // Sphere 5: part-way, 24 / 40 of the way from bone 7 to 8.
  colmodl_SphereCentreGet(j, 5, c);
  EXPECT_EQ(c[0], j[7][0] + (j[8][0] - j[7][0]) * 24 / 40);
  // Flag 1 on bone a.
  colmodl_SphereCentreGet(j, 0, c);
  EXPECT_EQ(c[0], j[10][0]);
  EXPECT_EQ(c[2], j[10][2]);
  for (int i = 0; i < 17; i++) {
    std::int64_t r[3];
    RefCentre(j, i, r);
    colmodl_SphereCentreGet(j, i, c);
    for (int k = 0; k < 3; k++) EXPECT_EQ(c[k], r[k]) << "sphere " << i;
  }
}

TEST_F(Keeper, EverySphereTouchesAndTheSumOfRadiiDoesNot) {
  Player* pk = HomeKeeper();
  std::int32_t(*j)[3] = colmodl_aiHomeKeeperJoints;
  std::int32_t p[3];
  std::int32_t iOut = 0;
  // Every bone on one point: the largest sphere (32) decides.
  for (int s = 0; s < 17; s++) j[s][0] = 500, j[s][1] = 100, j[s][2] = -200;
  p[0] = 500 + 32 + 36; p[1] = 100; p[2] = -200;
  EXPECT_EQ(colmodl_KeeperBallHit(&iOut, pk, p, 36), 0);
  EXPECT_EQ(iOut, 3);
  p[0]--;
  iOut = 0;
  EXPECT_EQ(colmodl_KeeperBallHit(&iOut, pk, p, 36), 1);
  EXPECT_EQ(iOut, 3);
  // Each sphere alone: bones spread far apart, the ball just inside sphere i.
  std::uint32_t seed = 12345;
  auto next = [&seed](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<std::int32_t>((seed >> 8) % static_cast<std::uint32_t>(n));
  };
  for (int i = 0; i < 17; i++) {
    int cOnly = 0;
    for (int tries = 0; tries < 50 && cOnly == 0; tries++) {
      for (int s = 0; s < 17; s++) {
        j[s][0] = next(40000) - 20000;
        j[s][1] = next(4000);
        j[s][2] = next(40000) - 20000;
      }
      std::int64_t c[3];
      RefCentre(j, i, c);
      const int r = kSpheres[i][4] + 10;
      p[0] = static_cast<std::int32_t>(c[0]) + r - 1;
      p[1] = static_cast<std::int32_t>(c[1]);
      p[2] = static_cast<std::int32_t>(c[2]);
      if (RefHits(j, p, 10) != 1) continue;
      cOnly++;
      EXPECT_EQ(colmodl_KeeperBallHit(&iOut, pk, p, 10), 1) << "sphere " << i;
      p[0]++;
      EXPECT_EQ(colmodl_KeeperBallHit(&iOut, AwayKeeper() == pk ? pk : pk, p, 10), 0) << "sphere " << i;
    }
    EXPECT_EQ(cOnly, 1) << "sphere " << i << " never alone";
  }
  // Random arrays and points against the second transcription.
  for (int t = 0; t < 3000; t++) {
    for (int s = 0; s < 17; s++) {
      j[s][0] = next(400) - 200;
      j[s][1] = next(300);
      j[s][2] = next(400) - 200;
    }
    p[0] = next(600) - 300;
    p[1] = next(400) - 50;
    p[2] = next(600) - 300;
    const int r = next(40);
    EXPECT_EQ(colmodl_KeeperBallHit(&iOut, pk, p, r), RefHits(j, p, r) > 0 ? 1 : 0) << "case " << t;
  }
}

TEST_F(Keeper, OnlyTheKeepersHaveABody) {
  std::int32_t p[3] = {0, 0, 0};
  std::int32_t iOut = 0;
  EXPECT_DEATH(colmodl_KeeperBallHit(&iOut, EnginePlayer(5), p, 36), "ID == 0");
  EXPECT_EQ(colmodl_KeeperBallHit(&iOut, AwayKeeper(), p, 36) >= 0, true);
}

TEST_F(Keeper, JointsFollowTheKeepersPose) {
  Player* pk = HomeKeeper();
  EnginePlace(pk, -8000, 400, 0);
  move_RequestPlay(pk, ANIM_GOALIE_STANCE);
  colmodl_JointsUpdate(pk);
  std::int32_t a[17][3];
  for (int s = 0; s < 17; s++)
    for (int k = 0; k < 3; k++) a[s][k] = colmodl_aiHomeKeeperJoints[s][k];
  // Standing: every joint near him, the head the highest, nothing under the ground.
  std::int32_t iTop = 0;
  for (int s = 0; s < 17; s++) {
    EXPECT_LT(std::abs(a[s][0] + 8000), 200) << s;
    EXPECT_LT(std::abs(a[s][2] - 400), 200) << s;
    EXPECT_GE(a[s][1], -2) << s;
    if (a[s][1] > a[iTop][1]) iTop = s;
  }
  EXPECT_EQ(iTop, 10);  // the head sphere's bone
  EXPECT_GT(a[10][1], 200);
  // A ball at his chest touches, one a metre to the side does not.
  std::int32_t iOut, p[3] = {a[2][0], a[2][1], a[2][2]};
  EXPECT_EQ(colmodl_KeeperBallHit(&iOut, pk, p, 36), 1);
  p[2] += 160;
  EXPECT_EQ(colmodl_KeeperBallHit(&iOut, pk, p, 36), 0);
  // Moved by 500: every joint moves by exactly that.
  pk->x = static_cast<std::int16_t>(pk->x + 500);
  colmodl_JointsUpdate(pk);
  for (int s = 0; s < 17; s++) EXPECT_EQ(colmodl_aiHomeKeeperJoints[s][0], a[s][0] + 500) << s;
  // The away keeper has his own array.
  colmodl_JointsUpdate(AwayKeeper());
  EXPECT_NE(colmodl_aiAwayKeeperJoints[10][0], colmodl_aiHomeKeeperJoints[10][0]);
}

// ---- The pool -----------------------------------------------------------------------------
TEST_F(Keeper, PoolHandsOutItsTwoRecordsInTurn) {
  newgoalo_PoolReset();
  GoalieObject* a = newgoalo_Alloc(1);
  GoalieObject* b = newgoalo_Alloc(2);
  GoalieObject* c = newgoalo_Alloc(2);
  EXPECT_NE(a, b);
  EXPECT_EQ(a, c);
  EXPECT_EQ(newgoalo_StateGet(b), GOALIE_STATE_DECIDE);
  EXPECT_EQ(newgoalo_SideGet(b), 2);
  EXPECT_EQ(newgoalo_SideGet(c), 2);
  EXPECT_EQ(b->iPossession, 0);
  newgoalo_CounterSet(b, 2);
  EXPECT_EQ(newgoalo_CounterDecTest(b), 0);
  EXPECT_EQ(newgoalo_CounterDecTest(b), 1);
  EXPECT_DEATH(newgoalo_StateSet(b, GOALIE_STATE_UNDEFINED), "GOALIE_STATE_UNDEFINED");
  // Home keeper guards -x (side 1) when the home side attacks +x.
  EngineMatchSetup();
  EXPECT_EQ(newgoalo_SideGet(HomeKeeper()->pGoalie), HomeKeeper()->Direction == 1 ? 1 : 2);
  EXPECT_NE(newgoalo_SideGet(HomeKeeper()->pGoalie), newgoalo_SideGet(AwayKeeper()->pGoalie));
}

// ---- The tables ------------------------------------------------------------------------------
const char* const kFirst[18] = {
    "11 11 11 10 8 8 8 7 7 7 7 7 7 7", "11 11 11 10 8 8 8 7 7 7 7 7 7 7", "10 10 10 10 8 8 8 7 7 7 7 7 7 7",
    "10 10 10 10 8 8 8 7 7 7 7 7 7 7", "10 10 10 10 8 8 8 8 7 7 7 7 7 7", "10 10 10 10 8 8 8 8 7 7 7 7 7 7",
    "6 6 6 6 5 5 5 5 7 7 7 7 7 7",     "6 6 6 6 5 5 5 5 7 7 7 7 7 7",     "6 6 6 6 5 5 5 5 7 7 7 7 7 7",
    "6 6 6 6 5 5 5 5 5 7 7 7 7 7",     "3 3 3 3 3 5 5 5 5 0 0 0 0 0",     "3 3 3 3 3 5 5 5 5 0 0 0 0 0",
    "3 3 3 3 3 5 5 5 5 0 0 0 0 0",     "3 3 3 3 1 1 1 1 1 0 0 0 0 0",     "3 3 3 3 1 1 1 1 1 0 0 0 0 0",
    "3 3 12 12 2 2 0 0 0 0 0 0 0 0",   "3 12 2 2 2 2 0 0 0 0 0 0 0 0",    "12 12 2 2 2 2 0 0 0 0 0 0 0 0",
};
const char* const kSecond[18] = {
    "13 13 13 13 13 13 8 8 8 8 8 0 7 7",  "13 13 13 13 13 13 8 8 8 8 8 7 7 7",  "14 14 14 14 14 14 8 8 8 8 8 7 7 7",
    "14 14 14 14 14 14 8 8 8 8 7 7 7 7",  "14 14 14 14 8 8 8 8 8 8 7 7 7 7",    "15 15 14 14 8 8 8 8 8 8 7 7 7 7",
    "15 15 15 15 15 5 5 5 5 5 7 7 7 7",   "15 15 15 15 15 15 5 5 5 5 7 7 7 7",  "15 15 15 15 15 5 5 5 5 7 7 7 7 7",
    "15 15 15 15 5 5 5 5 5 7 7 7 7 7",    "15 15 16 16 16 16 5 5 5 0 0 0 0 0",  "15 15 16 16 16 16 5 5 5 0 0 0 0 0",
    "15 16 16 16 16 16 5 5 5 0 0 0 0 0",  "15 16 16 16 16 16 1 1 1 0 0 0 0 0",  "12 12 2 2 2 2 0 0 1 0 0 0 0 0",
    "12 12 2 2 2 2 0 0 0 0 0 0 0 0",      "12 12 2 2 2 2 0 0 0 0 0 0 0 0",      "12 12 2 2 2 2 0 0 0 0 0 0 0 0",
};

TEST(KeeperTables, SaveChoiceAgainstASecondTranscription) {
  for (int t = 0; t < 2; t++) {
    for (int h = 0; h < 18; h++) {
      std::istringstream in((t == 0 ? kFirst : kSecond)[h]);
      for (int s = 0; s < 14; s++) {
        int v = -1;
        in >> v;
        EXPECT_EQ(newgoal_SaveRowChoose(t, h, s), v) << "table " << t << " height " << h << " speed " << s;
      }
    }
  }
  // Heights and lateral speeds to their classes.
  EXPECT_EQ(newgoal_HeightClassGet(-100), 0);
  EXPECT_EQ(newgoal_HeightClassGet(-7), 0);
  EXPECT_EQ(newgoal_HeightClassGet(-6), 1);
  EXPECT_EQ(newgoal_HeightClassGet(18), 2);
  EXPECT_EQ(newgoal_HeightClassGet(377), 16);
  EXPECT_EQ(newgoal_HeightClassGet(378), 17);
  EXPECT_EQ(newgoal_HeightClassGet(5000), 17);
  EXPECT_EQ(newgoal_SpeedClassGet(400, 10), 10);
  EXPECT_EQ(newgoal_SpeedClassGet(4000, 10), 13);
  EXPECT_EQ(newgoal_SpeedClassGet(40, 0), 10);  // at least one tick
}

TEST(KeeperTables, SaveRowsAsTheyAreUsed) {
  const int kAnims[19][2] = {{38, 39}, {40, 41}, {42, 42}, {44, 44}, {46, 47}, {48, 49}, {50, 50},
                             {51, 52}, {53, 54}, {55, 56}, {66, 66}, {45, 45}, {43, 43}, {80, 81},
                             {86, 87}, {82, 83}, {84, 85}, {1, 1},   {78, 79}};
  const int kReach[19] = {1, 2, 1, 2, 1, 2, 2, 1, 2, 1, 2, 2, 1, 1, 1, 1, 1, 1, 2};
  for (int r = 0; r < 19; r++) {
    EXPECT_EQ(newgoal_aaiSaveTable[r][NEWGOAL_WORD_ANIM1], kAnims[r][0]) << r;
    EXPECT_EQ(newgoal_aaiSaveTable[r][NEWGOAL_WORD_ANIM2], kAnims[r][1]) << r;
    EXPECT_EQ(newgoal_aaiSaveTable[r][NEWGOAL_WORD_REACH], kReach[r]) << r;
    const int p = r == 8 || r == 9 || r == 18 ? 9 : 0;
    EXPECT_EQ(newgoal_aaiSaveTable[r][NEWGOAL_WORD_PARAM1], p) << r;
    EXPECT_EQ(newgoal_aaiSaveTable[r][NEWGOAL_WORD_PARAM2], p) << r;
  }
  // Reach: class 0 is 48 whatever the skill; classes 1 and 2 grow with it.
  for (int skill : {0, 50, 100}) {
    for (int i = 0; i < 50; i++) {
      EXPECT_EQ(newgoal_ReachGet(0, skill), 48);
      const int r1 = newgoal_ReachGet(1, skill);
      EXPECT_GE(r1, (28 + skill) * 48 / 128);
      EXPECT_LE(r1, (56 + skill) * 48 / 128);
      const int r2 = newgoal_ReachGet(2, skill);
      EXPECT_GE(r2, (28 + skill) * 48 / 128 + 48);
      EXPECT_LE(r2, (56 + skill) * 48 / 128 + 48);
    }
  }
}

TEST_F(Keeper, ColumnBySideOfHisFacing) {
  Player* pk = AwayKeeper();
  EnginePlace(pk, 9000, 0, 401);  // facing -x: his left is -y
  EXPECT_EQ(newgoal_ColumnGet(pk, 8000, -300), 2);
  EXPECT_EQ(newgoal_ColumnGet(pk, 8000, 300), 1);
  EXPECT_NEAR(newgoal_LateralGet(pk, 8000, 300), 300, 6);
  Player* ph = HomeKeeper();
  EnginePlace(ph, -9000, 0, 0);  // facing +x: his left is +y
  EXPECT_EQ(newgoal_ColumnGet(ph, -8000, 300), 2);
  EXPECT_EQ(newgoal_ColumnGet(ph, -8000, -300), 1);
  EXPECT_NEAR(newgoal_LateralGet(ph, -8000, -300), 300, 6);
}

TEST(KeeperTables, PenaltySectors) {
  EXPECT_EQ(newgoal_PenaltySectorGet(2, 300, 250), 1);
  EXPECT_EQ(newgoal_PenaltySectorGet(2, 300, 100), 2);
  EXPECT_EQ(newgoal_PenaltySectorGet(2, 300, 50), 3);
  EXPECT_EQ(newgoal_PenaltySectorGet(2, 0, 50), 4);
  EXPECT_EQ(newgoal_PenaltySectorGet(2, -300, 50), 5);
  EXPECT_EQ(newgoal_PenaltySectorGet(2, -300, 100), 6);
  EXPECT_EQ(newgoal_PenaltySectorGet(2, -300, 250), 7);
  EXPECT_EQ(newgoal_PenaltySectorGet(2, 0, 150), 8);
  EXPECT_EQ(newgoal_PenaltySectorGet(2, 0, 300), 0);
  EXPECT_EQ(newgoal_PenaltySectorGet(1, -300, 250), 1);  // mirrored
  EXPECT_EQ(newgoal_PenaltySectorGet(1, 300, 50), 5);
}

// ---- The reach test --------------------------------------------------------------------------
TEST_F(Keeper, ReachTestBounds) {
  Player* pk = AwayKeeper();
  EnginePlace(pk, 9200, 0, 401);
  ball_iPathIndex = 0;
  int cNear = 0;
  for (int i = 0; i < 400; i++) {
    BallPathEntry e{1 + i % 5, 9457 + i, 100, (i * 37) % 2000 - 1000, 0};
    EXPECT_EQ(newgoal_ReachTest(pk, &e), 0);
    e.iX = -(9457 + i);
    EXPECT_EQ(newgoal_ReachTest(pk, &e), 0);
    e.iX = 8641 + i * 2;
    EXPECT_EQ(newgoal_ReachTest(pk, &e), 1);
    e.iX = -(8641 + i * 2);
    EXPECT_EQ(newgoal_ReachTest(pk, &e), 1);
    // Nearer the penalty spot: a straight ball in front of him mostly
    // passes, one 2,000 across in two ticks mostly fails.
    e.iX = 8000;
    e.iY = 0;
    e.iIndex = 20;
    cNear += newgoal_ReachTest(pk, &e);
    e.iY = 2000;
    e.iIndex = 2;
    cNear -= newgoal_ReachTest(pk, &e);
  }
  EXPECT_GT(cNear, 120);
  // An entry at the current index counts one tick (no division by zero).
  BallPathEntry e{0, 8000, 100, 500, 0};
  newgoal_ReachTest(pk, &e);
}

// ---- The save set-up against a model of its arithmetic ------------------------------------
struct SetUpResult {
  int iState, iRow, iColumn, iLimit, iCounter, iStart;
  bool bSaved;
  bool bShout;  // the slow save's shout draws from the generator too
  bool bLater;
};

// The set-up as written down, drawing from the same generator.
SetUpResult ModelSetUp(const Player* pk, BallPathEntry e, int iNow, int rd, bool bFreeKick, int bx) {
  auto R = [](int n) { return n > 0 ? static_cast<int>(QMathRandRange(static_cast<std::uint32_t>(n))) : 0; };
  SetUpResult o{2, 0, 0, 0, 0, 0, false, false, false};
  int n = e.iIndex - iNow;
  int d = R(rd);
  if (bFreeKick) d += R(2 * rd);
  if (n > 10 && std::abs(bx) < 6768) d += R(rd);
  d = std::min(d, n / 4);
  d = std::max(d, 0);
  bool bLater = false;
  if (n - d < 1) {
    int i = e.iIndex + 1 - (n - d);
    if (i < 0 || i >= ball_iPathLength) return o;
    e = ball_aPath[i];
    n = e.iIndex - iNow;
    bLater = true;
    o.bLater = true;
  }
  const double dx = e.iX - pk->x, dy = e.iY - pk->y;
  const int dist = static_cast<int>(std::sqrt(dx * dx + dy * dy));
  if (dist > 96 * n || dist >= 2161) return o;
  const int lat = newgoal_LateralGet(pk, e.iX, e.iY);
  int sc = std::min(13, (lat / 4) / std::max(1, n - d));
  int hc = std::clamp((30 + e.iHeight) / 24, 0, 17);
  const int t = bLater || (n < 7 && R(1) == 1) ? 1 : 0;
  std::istringstream in((t == 0 ? kFirst : kSecond)[hc]);
  int row = 0;
  for (int s = 0; s <= sc; s++) in >> row;
  o.iRow = row;
  o.bShout = sc < 2 && n >= 18;
  o.iColumn = newgoal_ColumnGet(pk, e.iX, e.iY);
  const int anim = newgoal_aaiSaveTable[row][o.iColumn == 1 ? 0 : 3];
  const AnimRecord* pr = anim_RecordGet(static_cast<std::uint32_t>(anim));
  // Up to the frame where the clip meets the ball.
  const int L = pr->contact >= 0 ? pr->contact : pr->end - 1;
  o.iLimit = n;
  o.bSaved = true;
  if (d + L + 1 >= n) {
    o.iStart = std::clamp(L - (n - d), 0, L);
    o.iState = d < 1 ? 5 : 14;
    o.iCounter = d;
  } else {
    o.iCounter = n - L;
    o.iState = d < 1 ? 4 : 14;
  }
  return o;
}

TEST_F(Keeper, SaveSetUpAgainstTheModel) {
  Player* pk = AwayKeeper();
  std::uint32_t seed = 99;
  auto next = [&seed](int n) {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
  };
  int aStates[15] = {}, cLater = 0, cFar = 0;
  for (int c = 0; c < 3000; c++) {
    // A straight path toward his goal.
    const int x0 = 4000 + next(4000), y0 = next(4000) - 2000, h0 = next(200);
    const int vx = 40 + next(120), vy = next(60) - 30;
    ball_iPathLength = BALL_PATH_MAX;
    for (int i = 0; i < BALL_PATH_MAX; i++) ball_aPath[i] = {i, x0 + vx * i, h0 + (next(3) - 1) * i, y0 + vy * i, 0};
    ball_iPathIndex = next(4);
    ball_PlaceAt(&ball_oBall, ball_aPath[ball_iPathIndex].iX, 0, ball_aPath[ball_iPathIndex].iY);
    EnginePlace(pk, 9200 - next(600), next(1200) - 600, 401 + next(200) - 100);
    global_SetGameMode(next(5) == 0 ? GAME_MODE_FREE_KICK : GAME_MODE_PLAY);
    const int rd = next(12);
    newgoal_ReactionDelaySet(pk, rd);
    newgoalo_StateSet(pk->pGoalie, GOALIE_STATE_DECIDE);
    const int iEntry = std::min(BALL_PATH_MAX - 1, ball_iPathIndex + next(40));
    QMathRandState st;
    QMathRandStateSave(&st);
    const std::int32_t bSaved = newgoal_SaveSetUp(pk, &ball_aPath[iEntry]);
    QMathRandState after;
    QMathRandStateSave(&after);
    QMathRandStateRestore(&st);
    const SetUpResult m = ModelSetUp(pk, ball_aPath[iEntry], ball_iPathIndex, rd,
                                     global_eGetGameMode() == GAME_MODE_FREE_KICK, ball_XGet(&ball_oBall));
    QMathRandState model;
    QMathRandStateSave(&model);
    ASSERT_EQ(bSaved != 0, m.bSaved) << "case " << c;
    cLater += m.bLater;
    if (!m.bShout) {
      EXPECT_EQ(std::memcmp(after.table, model.table, sizeof after.table), 0) << "draws differ, case " << c;
    }
    if (!m.bSaved) {
      cFar++;
      EXPECT_EQ(newgoalo_StateGet(pk->pGoalie), GOALIE_STATE_DECIDE);
      continue;
    }
    const GoalieObject* g = pk->pGoalie;
    ASSERT_EQ(g->eState, m.iState) << "case " << c;
    aStates[m.iState]++;
    EXPECT_EQ(g->iSaveRow, m.iRow) << "case " << c;
    EXPECT_EQ(g->iSaveColumn, m.iColumn) << "case " << c;
    EXPECT_EQ(g->iFrameLimit, m.iLimit) << "case " << c;
    EXPECT_EQ(g->iFrameCount, 0);
    EXPECT_EQ(g->iPossession, 1);
    if (m.iState == 5) {
      EXPECT_EQ(anim_FrameGet(&pk->oAnimData), m.iStart) << "case " << c;
    } else {
      EXPECT_EQ(g->iCounter, m.iCounter) << "case " << c;
    }
    // The motion never covers more than 72 a tick across the pitch.
    const NewgoalMotion* mo = newgoal_MotionGet(1);
    EXPECT_LE(std::abs(mo->iStepX) / 128 + std::abs(mo->iStepY) / 128, 2 * 72 + 2);
  }
  global_SetGameMode(GAME_MODE_PLAY);
  // Every branch was met.
  EXPECT_GT(aStates[4], 50);
  EXPECT_GT(aStates[5], 2);
  EXPECT_GT(aStates[14], 50);
  EXPECT_GT(cLater, 5);
  EXPECT_GT(cFar, 50);
}

// ---- Positioning against a floating-point model --------------------------------------------
TEST_F(Keeper, PositionOnTheClampedLineAtTheEdgeOfHisBox) {
  std::uint32_t seed = 7;
  auto next = [&seed](int n) {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
  };
  newballA_OwnerSet(nullptr, 0);
  ball_oBall.poPrevOwner = nullptr;
  for (int c = 0; c < 1000; c++) {
    Player* pk = c % 2 ? AwayKeeper() : HomeKeeper();
    const int sg = newgoalo_SideGet(pk->pGoalie) == 2 ? 1 : -1;
    newgoal_SideFlagSet(newgoalo_SideGet(pk->pGoalie), 0);
    const int bx = next(18720) - 9360, by = next(11520) - 5760;
    ball_PlaceAt(&ball_oBall, bx, 0, by);
    std::int32_t tx, ty;
    newgoal_PositionTargetGet(pk, &tx, &ty);
    EXPECT_EQ(tx % 48, 0);
    EXPECT_EQ(ty % 48, 0);
    // The model: his goal toward +X.
    const double X = sg * bx, Y = by;
    double a = std::atan2(Y, X - 9504.0);  // -pi..pi; straight out is pi
    if (a < 0) a += 2 * M_PI;
    const double lo = 20935 * 2 * M_PI / 65536, hi = 44600 * 2 * M_PI / 65536;
    a = std::clamp(a, lo, hi);
    const double d = std::clamp(9504.0 - X, 0.0, 9360.0);
    const double D = d * 1296 / 9360, W = 648 + d * 1008 / 5760;
    const double ca = std::cos(a), sa = std::sin(a);
    double t = std::fabs(ca) > 1e-9 ? D / std::fabs(ca) : 1e18;
    if (std::fabs(sa) > 1e-9) t = std::min(t, W / std::fabs(sa));
    double px = std::min(9504 + t * ca, 9360.0), py = t * sa;
    px *= sg;
    EXPECT_NEAR(tx, px, 48 + 8) << "ball " << bx << ", " << by;
    EXPECT_NEAR(ty, py, 48 + 8) << "ball " << bx << ", " << by;
    // Rounded toward zero: never farther from the centre than the model.
    EXPECT_LE(std::abs(tx), std::abs(px) + 8);
    EXPECT_LE(std::abs(ty), std::abs(py) + 8);
  }
}

TEST_F(Keeper, PositioningMovesHimTowardHisPoint) {
  Player* pk = AwayKeeper();
  EnginePlace(pk, 9000, 900, 401);
  ball_PlaceAt(&ball_oBall, 3000, 0, -2000);
  std::int32_t tx, ty;
  newgoal_PositionTargetGet(pk, &tx, &ty);
  const std::int32_t d0 = player_Dist(tx - pk->x, ty - pk->y);
  for (int i = 0; i < 60; i++) EngineTick();
  EXPECT_LT(player_Dist(tx - pk->x, ty - pk->y), d0 / 4 + 34);
  EXPECT_EQ(newgoalo_StateGet(pk->pGoalie), GOALIE_STATE_DECIDE);
  // On the spot he idles facing the ball.
  for (int i = 0; i < 60; i++) EngineTick();
  EXPECT_EQ(pk->x, tx);
  EXPECT_EQ(pk->y, ty);
  EXPECT_EQ(pk->oAnimData.eActionAnim, ANIM_SHUFIDLE);
  // Far out of his goal he runs back (anim 127), then shuffles onto the spot.
  EnginePlace(pk, 6500, -1500, 401);
  newgoal_PositionTargetGet(pk, &tx, &ty);
  EngineTick();
  EXPECT_EQ(pk->oAnimInfo.eActionAnim, ANIM_RUN);
  for (int i = 0; i < 150; i++) EngineTick();
  EXPECT_LE(player_Dist(tx - pk->x, ty - pk->y), 33);
}

}  // namespace

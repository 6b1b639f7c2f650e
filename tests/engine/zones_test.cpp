// Roles and zone queries: the role table, compatibility lists, the sector
// search, and the zone queries on a player's tree against a flat scan of
// mirrored boxes; the year labels.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <set>
#include <vector>

#include "engine/ball.h"
#include "engine/newgoalo.h"
#include "engine/player.h"
#include "engine/team.h"
#include "engine/zone.h"
#include "engine_env.h"
#include "framework/math/qrand.h"
#include "tournament/dbplayer.h"

namespace {

// The group of a tree: its root and the records before it back to the
// previous root.
std::int32_t GroupStart(std::int32_t iRoot) {
  std::int32_t b = iRoot;
  while (b > 0 && zone_aBoxes[b - 1].id != 0) b--;
  return b;
}

bool Inside(const ZoneBox& b, std::int32_t x, std::int32_t y) {
  return x >= b.x && x <= b.x + b.width && y >= b.y && y <= b.y + b.height;
}

ZoneBox Mirrored(ZoneBox b, std::int32_t f) {
  if (f & 1) b.x = -(b.x + b.width);
  if (f & 2) b.y = -(b.y + b.height);
  return b;
}

// The parent of every record of a group, from the links.
std::vector<std::int32_t> Parents(std::int32_t iRoot) {
  std::vector<std::int32_t> parent(iRoot + 1, -1);
  for (std::int32_t i = GroupStart(iRoot); i <= iRoot; i++)
    for (std::int32_t c = zone_aBoxes[i].iNextIfHit; c >= 0; c = zone_aBoxes[c].iNextIfMiss) parent[c] = i;
  return parent;
}

Player* TreePlayer(std::int32_t iRoot, std::int32_t iFlip) {
  static Player s_o;
  s_o = Player{};
  s_o.oAIInfo.poZoneBoxList = &zone_aBoxes[iRoot];
  s_o.oAIInfo.iZoneFlip = iFlip;
  return &s_o;
}

TEST(Roles, RoleSetCopiesTheRowAndTheFlip) {
  Player p{};
  roles_RoleSet(&p, 7, 2);
  EXPECT_EQ(p.oRole.iAttackTree, 218);
  EXPECT_EQ(p.oRole.iDefendTree, 14);
  EXPECT_EQ(p.oRole.iBallTree, 1079);
  EXPECT_EQ(p.oRole.iSetPieceTree, 1194);
  EXPECT_EQ(p.oRole.iAttackSet, 41);
  EXPECT_EQ(p.oRole.iDefendSet, 33);
  EXPECT_EQ(p.oRole.iBallSet, 73);
  EXPECT_EQ(p.oRole.iFlip, 2);
  for (std::int32_t r = 25; r < ROLES_TABLE_ROWS; r++)
    for (std::int32_t w = 0; w < 7; w++) EXPECT_EQ(roles_aTable[r][w], 0);
  // Every tree of the role table is a root.
  for (std::int32_t c = 0; c < ROLES_CODES; c++)
    for (std::int32_t w = 0; w < 4; w++) EXPECT_EQ(zone_aBoxes[roles_aTable[c][w]].id, 0) << c;
  EXPECT_DEATH(roles_RoleSet(&p, 25, 0), "");
}

// The keeper needs both his goalkeeper object and the keeper's slot: an
// outfield player put in goal, a keeper moved out to the field or on the
// bench, and a record without a database player are not keepers.
TEST(Roles, GoalkeeperTestNeedsTheObjectAndTheSlot) {
  GoalieObject oGoalie{};
  FormationSlot oKeeperSlot{};
  FormationSlot oFieldSlot{};
  oFieldSlot.iSlot = 4;
  oFieldSlot.iPosition = 3;
  DBPlayer oDb{};
  Player p{};
  p.pDBPlayer = &oDb;
  struct Case {
    GoalieObject* pGoalie;
    const FormationSlot* poSlot;
    std::int32_t want;
  };
  const Case cases[] = {{&oGoalie, &oKeeperSlot, 1}, {nullptr, &oKeeperSlot, 0}, {&oGoalie, &oFieldSlot, 0},
                        {&oGoalie, nullptr, 0}};
  for (const Case& c : cases) {
    p.pGoalie = c.pGoalie;
    oDb.poSlot = c.poSlot;
    EXPECT_EQ(roles_IsGoalkeeper(&p), c.want) << (c.pGoalie != nullptr) << " " << (c.poSlot != nullptr);
  }
  p.pGoalie = &oGoalie;
  oDb.poSlot = &oKeeperSlot;
  p.pDBPlayer = nullptr;
  EXPECT_EQ(roles_IsGoalkeeper(&p), 0);
  EXPECT_EQ(roles_IsGoalkeeper(nullptr), 0);
}

TEST(Roles, CompatibilityLists) {
  struct Case {
    std::int32_t code;
    std::vector<std::int32_t> list;
  } cases[] = {{2, {13, 8, 12, 7, 24}},
               {24, {2, 13, 8, 12, 7, 11, 16, 4, 10}},
               {14, {21, 23, 16, 17, 4, 3, 10, 9}},
               {5, {19, 20, 21, 22, 23, 14}},
               {0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}};
  for (const Case& c : cases) {
    RolesCompat* pc = roles_CompatFind(c.code);
    ASSERT_NE(pc, nullptr);
    roles_CompatRewind(pc);
    std::vector<std::int32_t> got;
    while (roles_CompatHasNext(pc)) got.push_back(roles_CompatNext(pc));
    EXPECT_EQ(got, c.list) << c.code;
    EXPECT_EQ(roles_CompatHasNext(pc), 0);
  }
  EXPECT_EQ(roles_CompatFind(25), nullptr);
}

TEST(Roles, SectorFindFirstBandHoldingTheMate) {
  const std::int32_t table[3][4] = {{720, 3600, 0, 10}, {720, 3600, 11, 20}, {0, 21600, 0, 45}};
  struct Case {
    std::int32_t x1, y1, heading, want;
  } cases[] = {
      {1000, 0, 0, 0},          // straight ahead
      {700, 0, 0, 2},           // too near for the first bands
      {1000, 270, 0, 1},        // about 15 degrees off
      {1000, -270, 0, 1},       // the other side folds the same
      {0, 1000, 0, 3},          // 90 degrees: none
      {0, 1000, 16384, 0},      // ahead of a quarter-turn heading
      {3600, 0, 0, 2},          // maximum distance excluded
  };
  for (const Case& c : cases) EXPECT_EQ(roles_SectorFind(0, 0, c.x1, c.y1, c.heading, table, 3), c.want) << c.x1 << "," << c.y1;
  EXPECT_EQ(roles_SectorFind(0, 0, 1000, 0, 0, table, 0), 0);
}

TEST(Zones, ClassesAndHasPointMatchAFlatScanOfMirroredBoxes) {
  std::set<std::int32_t> roots;
  for (std::int32_t i = 0; i < ZONE_BOX_COUNT; i++)
    if (zone_aBoxes[i].id == 0) roots.insert(i);
  ASSERT_EQ(roots.size(), static_cast<size_t>(ZONE_TREE_COUNT));
  std::uint32_t seed = 12345;
  auto next = [&](std::int32_t n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<std::int32_t>((seed >> 8) % static_cast<std::uint32_t>(n));
  };
  for (std::int32_t iRoot : roots) {
    std::vector<std::int32_t> parent = Parents(iRoot);
    std::int32_t b = GroupStart(iRoot);
    for (std::int32_t k = 0; k < 60; k++) {
      std::int32_t f = next(4);
      std::int32_t x = next(19600) - 9800, y = next(12400) - 6200;
      if (k < 8) {
        // Points on the edges of a box.
        ZoneBox z = Mirrored(zone_aBoxes[b + next(iRoot - b)], f);
        x = z.x + (k & 1 ? z.width : 0);
        y = z.y + (k & 2 ? z.height : 0);
      }
      Player* pp = TreePlayer(iRoot, f);
      // Reference: the first box of each sibling list that holds the point,
      // then down into its children; the classes met on that path.
      std::vector<std::int32_t> want;
      // Depth-first in link order.
      std::function<void(std::int32_t)> visit = [&](std::int32_t i) {
        for (; i >= 0; i = zone_aBoxes[i].iNextIfMiss) {
          if (!Inside(Mirrored(zone_aBoxes[i], f), x, y)) continue;
          if (zone_aBoxes[i].id >= 1 && zone_aBoxes[i].id <= 7) want.push_back(zone_aBoxes[i].id);
          visit(zone_aBoxes[i].iNextIfHit);
          return;
        }
      };
      if (Inside(Mirrored(zone_aBoxes[iRoot], f), x, y)) visit(zone_aBoxes[iRoot].iNextIfHit);
      std::int32_t out[4] = {-1, -1, -1, -1};
      QMathPoint pt{x, y};
      std::int32_t r = zone_ClassesAtPoint(pp, &pt, out);
      if (want.size() >= 4) {
        EXPECT_EQ(r, want[3]);
        for (int s = 0; s < 4; s++) EXPECT_EQ(out[s], want[s]);
      } else {
        EXPECT_EQ(r, 0);
        for (size_t s = 0; s < 4; s++) EXPECT_EQ(out[s], s < want.size() ? want[s] : 0) << iRoot << " slot " << s;
      }
      // Has-point, centre and child at a point against a flat scan.
      std::int32_t id = zone_aBoxes[b + next(iRoot - b)].id;
      bool bAny = false;
      std::int32_t iFirst = -1;
      for (std::int32_t i = iRoot - 1; i >= b; i--) {
        if (zone_aBoxes[i].id != id) continue;
        if (iFirst < 0) iFirst = i;
        if (Inside(Mirrored(zone_aBoxes[i], f), x, y)) bAny = true;
      }
      EXPECT_EQ(zone_bHasPoint(pp, &pt, id), bAny ? 1 : 0) << iRoot << " id " << id;
      EXPECT_EQ(zone_bHasPointAt(pp, &pt, id, iRoot), bAny ? 1 : 0);
      QMathPoint c{};
      ASSERT_EQ(zone_bCentreGet(pp, &c, id), 1);
      ZoneBox fz = Mirrored(zone_aBoxes[iFirst], f);
      EXPECT_EQ(c.x, fz.x + fz.width / 2);
      EXPECT_EQ(c.y, fz.y + fz.height / 2);
      QMathPoint rp{};
      ASSERT_EQ(zone_bRandomPoint(pp, &rp, id), 1);
      EXPECT_TRUE(rp.x >= fz.x + 288 && rp.x <= fz.x + fz.width - 288 && rp.y >= fz.y + 288 &&
                  rp.y <= fz.y + fz.height - 288);
      ASSERT_EQ(zone_bRandomPointAt(pp, &rp, id, iRoot), 1);
      EXPECT_TRUE(Inside(fz, rp.x, rp.y));
      std::int32_t iChild = 0;
      for (std::int32_t i = zone_aBoxes[iRoot].iNextIfHit; i >= 0; i = zone_aBoxes[i].iNextIfMiss)
        if (Inside(Mirrored(zone_aBoxes[i], f), x, y)) {
          iChild = zone_aBoxes[i].id;
          break;
        }
      pp->x = static_cast<std::int16_t>(x);
      pp->y = static_cast<std::int16_t>(y);
      EXPECT_EQ(zone_iChildAtPlayer(iRoot, pp), iChild);
      EXPECT_EQ(zone_bHasPlayer(pp, id), bAny ? 1 : 0);
    }
  }
}

TEST(Zones, MissingIdsAndTheFirstTree) {
  Player* pp = TreePlayer(14, 0);
  QMathPoint c{};
  EXPECT_EQ(zone_bCentreGet(pp, &c, 130), 0);
  EXPECT_EQ(zone_bRandomPoint(pp, &c, 130), 0);
  QMathPoint at{0, 0};
  EXPECT_EQ(zone_bNearestPoint(pp, &c, 130, &at), 0);
  // Zone 15 of the first tree (the record kept off the grid) and its mirror
  // through both bits.
  ASSERT_EQ(zone_bCentreGet(pp, &c, 15), 1);
  EXPECT_EQ(c.x, -8726 + 2181 / 2);
  EXPECT_EQ(c.y, -2181 + 2181 / 2);
  pp = TreePlayer(14, 3);
  ASSERT_EQ(zone_bCentreGet(pp, &c, 15), 1);
  EXPECT_EQ(c.x, -(-8726 + 2181) + 2181 / 2);
  EXPECT_EQ(c.y, 0 + 2181 / 2);
  // Nearest point: shrunk by 72 and clamped.
  QMathPoint from{-9000, 3000};
  ASSERT_EQ(zone_bNearestPoint(TreePlayer(14, 0), &c, 15, &from), 1);
  EXPECT_EQ(c.x, -8726 + 72);
  EXPECT_EQ(c.y, 0 - 72);
  // Out of reach (28800 or more away).
  QMathPoint far{30000, 20000};
  EXPECT_EQ(zone_bNearestPoint(TreePlayer(14, 0), &c, 15, &far), 0);
  // Children of the shot-class tree: any id comes back.
  pp = TreePlayer(551, 0);
  pp->x = 9000;
  EXPECT_EQ(zone_iChildAtPlayer(551, pp), 1);
  pp->x = 6000;  // 20 to 25 yards out
  EXPECT_EQ(zone_iChildAtPlayer(551, pp), 2);
  pp->x = 7000;
  EXPECT_EQ(zone_iChildAtPlayer(551, pp), 1);
  const std::int32_t y = pp->y;
  pp->y = -1800;  // beside the middle of the area
  EXPECT_EQ(zone_iChildAtPlayer(551, pp), 1);
  pp->x = 5500;  // 25 to 30 yards out: straight in front, then at a slant
  pp->y = 0;
  EXPECT_EQ(zone_iChildAtPlayer(551, pp), 2);
  pp->y = -1000;
  EXPECT_EQ(zone_iChildAtPlayer(551, pp), 3);
  pp->y = -2000;
  EXPECT_EQ(zone_iChildAtPlayer(551, pp), 9);
  pp->x = 9000;  // on the goal line: beside the goal area, then the area's corner
  pp->y = -1800;
  EXPECT_EQ(zone_iChildAtPlayer(551, pp), 2);
  pp->y = -2500;
  EXPECT_EQ(zone_iChildAtPlayer(551, pp), 4);
  pp->y = y;
  pp->x = 1500;
  EXPECT_EQ(zone_iChildAtPlayer(551, pp), 9);
  pp->x = -9000;
  EXPECT_EQ(zone_iChildAtPlayer(551, pp), 0);
}

TEST(Zones, YearLabels) {
  for (std::int32_t i = 0; i <= 10; i++) {
    char s[8], l[8];
    std::snprintf(s, sizeof s, "%2d", 58 + 4 * i);
    std::snprintf(l, sizeof l, "19%2d", 58 + 4 * i);
    EXPECT_STREQ(zone_YearToStr(i, 0), s);
    EXPECT_STREQ(zone_YearToStr(i, 1), l);
  }
  EXPECT_STREQ(zone_YearToStr(0, 0), "58");
  EXPECT_STREQ(zone_YearToStr(10, 1), "1998");
  EXPECT_STREQ(zone_YearToStr(11, 0), "DREAM");
  EXPECT_STREQ(zone_YearToStr(11, 1), "DRM");
}

}  // namespace

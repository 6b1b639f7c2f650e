// Cover maps and the support grid: the shadow table against the rule cell by
// cell, the cones, the free share around a holder on a set-up pitch, the
// rectangle marks, and the support grid's bounds.
#include <gtest/gtest.h>

#include "engine/cover.h"
#include "engine/engine_services.h"
#include "engine/grid.h"
#include "engine/player.h"
#include "engine/zone.h"
#include "engine_env.h"

namespace {

TEST(Cover, ShadowTableFollowsTheNearerCellRule) {
  for (int dy = -14; dy <= 14; dy++)
    for (int dx = -14; dx <= 14; dx++)
      for (int r = 0; r < 15; r++) {
        std::uint16_t want = 0;
        for (int c = 0; c < 15; c++) {
          double px = c - 7, py = r - 7;
          double me = px * px + py * py;
          double them = (px - dx) * (px - dx) + (py - dy) * (py - dy);
          if (me < them) want |= static_cast<std::uint16_t>(1 << (14 - c));
        }
        ASSERT_EQ(cover_oTables.aauShadow[(dx + 14) + (dy + 14) * 29][r], want) << dx << "," << dy << " row " << r;
      }
  // The masks the design draws.
  for (int r = 0; r < 15; r++) {
    EXPECT_EQ(cover_oTables.aauShadow[14 + 14 * 29][r], 0);
    EXPECT_EQ(cover_oTables.aauShadow[15 + 14 * 29][r], 0x7F80);
    EXPECT_EQ(cover_oTables.aauShadow[14 + 17 * 29][r], r <= 8 ? 0x7FFF : 0);
  }
  // Cones: +x from the right, -x its mirror, the upward one rows 0..7.
  for (int k = 0; k < 15; k++) {
    int n = std::min(k, 14 - k) + 1;
    EXPECT_EQ(cover_oTables.aauCone[0][k], (1 << n) - 1);
    EXPECT_EQ(cover_oTables.aauCone[1][k], ((1 << n) - 1) << (15 - n));
    EXPECT_EQ(cover_oTables.aauCone[2][k] != 0, k <= 7);
  }
}

TEST(Cover, FreeShareAroundTheHolder) {
  EngineMatchSetup();
  Player* pp = EnginePlayer(6);  // home attacks; the away side defends
  EnginePlace(pp, 0, 0, 0);
  for (std::int32_t i = 11; i < 22; i++) EnginePlace(EnginePlayer(i), -9000 + 200 * (i - 11), 5000, 0);
  player_OpponentGridBuild(pp);
  EXPECT_EQ(cover_MaskPercentA(pp->auOpponentGrid), 100);
  EXPECT_EQ(cover_MaskPercentB(pp->auOpponentGrid), 100);
  // An opponent on his cell closes everything.
  EnginePlace(EnginePlayer(15), 10, 10, 0);
  player_OpponentGridBuild(pp);
  EXPECT_EQ(cover_MaskPercentA(pp->auOpponentGrid), 0);
  EXPECT_EQ(cover_MaskPercentB(pp->auOpponentGrid), 0);
  // Fourteen cells away in either direction: no effect.
  EnginePlace(EnginePlayer(15), 14 * 120 + 10, 0, 0);
  player_OpponentGridBuild(pp);
  EXPECT_EQ(cover_MaskPercentA(pp->auOpponentGrid), 100);
  EnginePlace(EnginePlayer(15), 13 * 120 + 10, 0, 0);
  player_OpponentGridBuild(pp);
  EXPECT_LT(cover_MaskPercentA(pp->auOpponentGrid), 100);
  EXPECT_EQ(cover_MaskPercentB(pp->auOpponentGrid), 100);
  // Near a touch line the rows beyond it are cleared.
  EnginePlace(EnginePlayer(15), -9000, 5000, 0);
  EnginePlace(pp, 0, -5700, 0);
  player_OpponentGridBuild(pp);
  EXPECT_EQ(pp->auOpponentGrid[0], 0);
  EXPECT_EQ(pp->auOpponentGrid[6], 0);
  EXPECT_EQ(pp->auOpponentGrid[7], 0x7FFF);
  EXPECT_LT(cover_MaskPercentA(pp->auOpponentGrid), 100);
}

TEST(Cover, RectanglesAndZoneMarks) {
  std::uint16_t rows[15] = {};
  const std::int32_t r1[4] = {240, 120, 360, 240};  // cells x 2, y 1, 3 wide, 2 high
  cover_RectMaskAdd(r1, rows);
  EXPECT_EQ(rows[0], 0);
  EXPECT_EQ(rows[1], 0x7000 >> 2);
  EXPECT_EQ(rows[2], 0x7000 >> 2);
  EXPECT_EQ(rows[3], 0);
  // Rows past the window and widths above it are clipped.
  std::uint16_t guard[17] = {};
  const std::int32_t r2[4] = {0, 1680, 2400, 600};
  cover_RectMaskAdd(r2, guard + 1);
  EXPECT_EQ(guard[15], 0x7FFF);
  EXPECT_EQ(guard[16], 0);
  EXPECT_EQ(guard[0], 0);
  std::int32_t block[7] = {1, 2, 3, 4, 5, 6, 7};
  cover_Clear(block);
  for (std::int32_t v : block) EXPECT_EQ(v, 0);
  // A zone marked around a player inside it fills his window.
  Player p{};
  roles_RoleSet(&p, 7, 0);
  p.oAIInfo.poZoneBoxList = &zone_aBoxes[14];
  p.x = -7500;
  p.y = -1500;
  zone_GridMark(&p, 1);  // class 1 of the first tree: x -9453..-5817, y -2908..0
  for (int k = 0; k < 15; k++) EXPECT_EQ(p.auOccupancy[k], 0x7FFF) << k;
}

TEST(SupportGrid, ValuesAtTheCornersAndMirrors) {
  EXPECT_EQ(grid_ValueGet(155, 47), 254);
  EXPECT_EQ(grid_ValueGet(155, 48), 254);
  EXPECT_EQ(grid_ValueGet(0, 0), 29);
  EXPECT_EQ(grid_ValueGet(0, 95), 29);
  EXPECT_EQ(grid_ValueGet(155, 0), 185);
  EXPECT_EQ(grid_ValueGet(156, 0), 0);
  EXPECT_EQ(grid_ValueGet(-1, 0), 0);
  // Rows beyond a touch line read the edge row.
  EXPECT_EQ(grid_ValueGet(10, 96), grid_ValueGet(10, 0));
  EXPECT_EQ(grid_ValueGet(10, -3), grid_ValueGet(10, 0));
  for (int r = 0; r < 96; r++) {
    EXPECT_EQ(grid_ValueGetMirror(0, r), grid_ValueGet(155, r));
    EXPECT_EQ(grid_ValueGet(20, r), grid_ValueGet(20, 95 - r));
  }
  EXPECT_EQ(grid_ValueGetMirror(156, 0), 0);
  Player p{};
  grid_SupportStateInit(&p);
  EXPECT_EQ(grid_SupportStateGet(&p), 1);
  grid_SupportStateSet(&p, 3);
  EXPECT_EQ(grid_SupportStateGet(&p), 3);
}

}  // namespace

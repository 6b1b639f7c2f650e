// The offside line, the pass choice against a brute-force sector scan, the
// lead point of a header pass and the spread of a chip.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/offside.h"
#include "engine/player.h"
#include "engine/shtpass.h"
#include "engine/zone.h"
#include "engine_env.h"
#include "framework/math/qrand.h"
#include "framework/math/trigw.h"
#include "shell/imath.h"

namespace {

// The home side defends (the goal at -x); its players stand at the given x.
void HomeDefendsAt(const std::vector<std::int32_t>& xs) {
  EngineMatchSetup();
  offside_Reset();
  match_HomeClubStateSet(1);
  match_AwayClubStateSet(0);
  for (std::int32_t i = 0; i < 11; i++) {
    std::int32_t x = i < static_cast<std::int32_t>(xs.size()) ? xs[i] : 2000;
    EnginePlace(EnginePlayer(i), x, 300 * i - 1500, 0);
  }
}

TEST(Offside, LineCases) {
  std::int32_t x = 0, k = 0;
  // Keeper deepest; second-last at -3000; ball ahead of him: his line.
  HomeDefendsAt({-9000, -3000, -2000, -1000});
  ball_PlaceAt(&ball_oBall, 0, 0, 0);
  offside_LineUpdate();
  ASSERT_EQ(offside_LineXGet(&x), 1);
  ASSERT_EQ(offside_LineGet(&k), 1);
  EXPECT_EQ(x, -3000);
  EXPECT_EQ(k, OFFSIDE_KIND_DEFENDER);
  EXPECT_EQ(offside_CellGet(), (-3000 + 9360) * 156 / 18720);
  // The ball level with him, or nearer the goal: the ball's line.
  for (std::int32_t bx : {-3000, -4000}) {
    ball_PlaceAt(&ball_oBall, bx, 0, 0);
    offside_LineUpdate();
    ASSERT_EQ(offside_LineXGet(&x), 1);
    offside_LineGet(&k);
    EXPECT_EQ(x, bx);
    EXPECT_EQ(k, OFFSIDE_KIND_BALL);
  }
  // The second-last defender on the halfway line: no line.
  HomeDefendsAt({-9000, 0, 0, 0});
  offside_LineUpdate();
  EXPECT_EQ(offside_LineXGet(&x), 0);
  EXPECT_EQ(offside_LineGet(&k), 0);
  // Chain order: a deeper player after the keeper-less lead finds no second.
  HomeDefendsAt({-9000, -2000, -5000, 1000});
  ball_PlaceAt(&ball_oBall, 0, 0, 0);
  offside_LineUpdate();
  ASSERT_EQ(offside_LineXGet(&x), 1);
  EXPECT_EQ(x, -5000);
  // A chain of one keeps the previous line.
  EnginePlayer(0)->pNext = nullptr;
  EnginePlace(EnginePlayer(0), -100, 0, 0);
  offside_LineUpdate();
  ASSERT_EQ(offside_LineXGet(&x), 1);
  EXPECT_EQ(x, -5000);
  // The away side defends +x: mirrored.
  EngineMatchSetup();
  offside_Reset();
  const std::int32_t ax[11] = {9000, 3000, 2500, 2000, -100, -200, -300, -400, -500, -600, -700};
  for (std::int32_t i = 0; i < 11; i++) EnginePlace(EnginePlayer(11 + i), ax[i], 0, 0);
  ball_PlaceAt(&ball_oBall, 0, 0, 0);
  offside_LineUpdate();
  ASSERT_EQ(offside_LineXGet(&x), 1);
  EXPECT_EQ(x, 3000);
  ball_PlaceAt(&ball_oBall, 5000, 0, 0);
  offside_LineUpdate();
  offside_LineXGet(&x);
  EXPECT_EQ(x, 5000);
}

// Home attacks toward +x, holder at the ball.
Player* Stage(std::int32_t bx, std::int32_t by) {
  EngineMatchSetup();
  for (std::int32_t i = 0; i < 22; i++) EnginePlayer(i)->oAIInfo.bIsAttacking = i < 11;
  for (std::int32_t i = 0; i < 22; i++) EnginePlace(EnginePlayer(i), -9000 + 60 * i, i < 11 ? -5000 : 5000, 0);
  Player* h = EnginePlayer(6);
  EnginePlace(h, bx, by, 0);
  ball_PlaceAt(&ball_oBall, bx, 0, by);
  return h;
}

TEST(PassChoice, AgainstABruteForceSectorScan) {
  std::uint32_t seed = 99;
  auto next = [&](std::int32_t n) {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<std::int32_t>((seed >> 9) % static_cast<std::uint32_t>(n));
  };
  for (int run = 0; run < 300; run++) {
    Player* h = Stage(next(8000) - 4000, next(6000) - 3000);
    for (std::int32_t i = 1; i < 11; i++)
      if (i != 6) EnginePlace(EnginePlayer(i), h->x + next(9000) - 4500, h->y + next(7000) - 3500, 0);
    std::int32_t dir = next(802);
    // Brute force: the band of every mate from first principles.
    std::int32_t bx = h->x, by = h->y;
    Player* best = nullptr;
    std::int32_t bestBand = 99;
    std::int64_t bestD2 = 0;
    for (std::int32_t i = 0; i < 11; i++) {
      Player* pp = EnginePlayer(i);
      if (pp == h) continue;
      std::int64_t dx = pp->x - bx, dy = pp->y - by;
      std::int32_t d = static_cast<std::int32_t>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
      std::int32_t a = QMathAtan2(static_cast<std::int32_t>(dx), static_cast<std::int32_t>(dy)) & 0xFFFF;
      std::int32_t diff = std::abs(a - ((dir * 65536 / 802) & 0xFFFF));
      if (diff > 32768) diff = 65536 - diff;
      std::int32_t band = 23;
      for (std::int32_t s = 0; s < 23; s++) {
        const std::int32_t* e = shtpass_aiSectorTable[s];
        if (d >= e[0] && d < e[1] && diff >= e[2] * 65536 / 360 && diff < e[3] * 65536 / 360) {
          band = s;
          break;
        }
      }
      std::int64_t d2 = dx * dx + dy * dy;
      if (!best || band < bestBand || (band == bestBand && d2 < bestD2)) best = pp, bestBand = band, bestD2 = d2;
    }
    ReceiverRecord rec{};
    ASSERT_EQ(shtpass_PassChoose(h, &rec, dir), 1);
    EXPECT_EQ(rec.poReceiver, best) << run;
  }
}

TEST(PassChoice, LaneAndBend) {
  ReceiverRecord rec{};
  // A mate 700 away at 5 degrees: only the catch-all band 20 holds him.
  Player* h = Stage(0, 0);
  const std::int32_t t[3][4] = {{720, 3600, 0, 10}, {0, 21600, 0, 45}, {0, 21600, 46, 90}};
  EXPECT_EQ(roles_SectorFind(0, 0, 697, 61, 0, shtpass_aiSectorTable, 20), 20);
  EXPECT_EQ(roles_SectorFind(0, 0, 697, 61, 0, shtpass_aiSectorTable, 23), 20);
  (void)t;
  // A receiver 1000 ahead with the lane clear: the point is on him.
  EnginePlace(EnginePlayer(7), 1000, 0, 0);
  ASSERT_EQ(shtpass_PassChoose(h, &rec, 0), 1);
  EXPECT_EQ(rec.poReceiver, EnginePlayer(7));
  EXPECT_EQ(rec.x, 1000);
  EXPECT_EQ(rec.y, 0);
  EXPECT_EQ(rec.bBent, 0);
  EXPECT_EQ(shtpass_aiLane[0][1], 1000);
  // A defender in the lane just left of it (y > 0): the pass turns 5 degrees
  // to the other side and stays 1000 long.
  EnginePlace(EnginePlayer(15), 500, 60, 0);
  rec = ReceiverRecord{};
  ASSERT_EQ(shtpass_PassChoose(h, &rec, 0), 1);
  EXPECT_EQ(rec.bBent, 1);
  EXPECT_NEAR(rec.x, 996, 2);
  EXPECT_NEAR(rec.y, -87, 2);
  // A receiver 2000 away: 1440 long, turned off the chain's first player.
  Stage(0, 0);
  EnginePlace(EnginePlayer(7), 2000, 0, 0);
  EnginePlace(EnginePlayer(11), -8000, -3000, 0);  // the away keeper leads the chain, behind and right
  rec = ReceiverRecord{};
  ASSERT_EQ(shtpass_PassChoose(EnginePlayer(6), &rec, 0), 1);
  EXPECT_EQ(rec.poReceiver, EnginePlayer(7));
  EXPECT_EQ(rec.bBent, 1);
  EXPECT_NEAR(rec.x, 1434, 2);
  EXPECT_NEAR(rec.y, 125, 2);
  // Every member of the side in possession must be attacking.
  EnginePlayer(3)->oAIInfo.bIsAttacking = 0;
  EXPECT_DEATH(shtpass_PassChoose(EnginePlayer(6), &rec, 0), "poTeammate->oAIInfo.bIsAttacking");
}

TEST(PassLead, NearAndFarFromTheGoalLine) {
  EngineMatchSetup();
  Player* passer = EnginePlayer(6);  // home attacks +x
  Player* r = EnginePlayer(7);
  std::int32_t x = 0, y = 0;
  EnginePlace(r, 9360 - 700, 0, 0);
  pass_LeadPointGet(passer, r, &x, &y, 50);
  // 144 through the integer cosine, which reads a quarter turn as 4095/4096.
  EXPECT_LE(std::abs(imath_CosScale(144, 0) - 144), 1);
  EXPECT_EQ(x, 9360 - 700 + imath_CosScale(144, 0));
  EXPECT_EQ(y, 0);
  EnginePlace(r, 9360 - 1000, 0, 0);
  pass_LeadPointGet(passer, r, &x, &y, 50);
  EXPECT_EQ(x, 9360 - 1000 + imath_CosScale(500, 0));
  // Wide: straight ahead. The skill (0..100) is read on a 0..15 scale, so
  // the lead runs from 10 to 25 yards.
  EnginePlace(r, 0, 4000, 0);
  pass_LeadPointGet(passer, r, &x, &y, 10);
  EXPECT_EQ(x, (1 * 9 + 90) * 16);
  EXPECT_EQ(y, 4000);
  pass_LeadPointGet(passer, r, &x, &y, 100);
  EXPECT_EQ(x, (15 * 9 + 90) * 16);
  EnginePlace(r, 0, -4000, 0);  // the away side leads toward -x
  pass_LeadPointGet(EnginePlayer(17), r, &x, &y, 10);
  EXPECT_EQ(x, -(1 * 9 + 90) * 16);
  // The whole lead, however near the goal line: 2000 from it, skill 3 of 15
  // (20 of 100) leads (3 x 9 + 90) x 16 = 1872, to 128 from the line.
  EnginePlace(r, 9360 - 2000, 4000, 0);
  pass_LeadPointGet(passer, r, &x, &y, 20);
  EXPECT_EQ(x, 9360 - 128);
  EXPECT_EQ(y, 4000);
  EnginePlace(r, -(9360 - 2000), -4000, 0);
  pass_LeadPointGet(EnginePlayer(17), r, &x, &y, 20);
  EXPECT_EQ(x, -(9360 - 128));
  EXPECT_EQ(y, -4000);
  EnginePlace(r, 9360 - 6000, 4000, 0);
  pass_LeadPointGet(passer, r, &x, &y, 100);
  EXPECT_EQ(x, 9360 - 6000 + 3600);
  // A lead that would cross the line stops on it.
  EnginePlace(r, 9360 - 2000, 4000, 0);
  pass_LeadPointGet(passer, r, &x, &y, 100);
  EXPECT_EQ(x, 9360);
  EXPECT_EQ(y, 4000);
  EnginePlace(r, 9360 - 1500, 0, 0);
  pass_LeadPointGet(passer, r, &x, &y, 100);
  EXPECT_EQ(x, 9360);
  EXPECT_EQ(y, 0);
  EnginePlace(r, -(9360 - 1500), 0, 0);
  pass_LeadPointGet(EnginePlayer(17), r, &x, &y, 100);
  EXPECT_EQ(x, -9360);
  EXPECT_EQ(y, 0);
  // Central: toward the goal centre, whichever way the passer attacks.
  struct Case {
    Player* passer;
    std::int32_t rx, ry;
  } cases[] = {{passer, 5000, 2000}, {passer, 5000, -2000}, {EnginePlayer(17), -5000, 2000},
               {EnginePlayer(17), -5000, -2000}};
  for (const Case& c : cases) {
    EnginePlace(r, c.rx, c.ry, 0);
    pass_LeadPointGet(c.passer, r, &x, &y, 0);
    std::int32_t gx = c.passer->Direction == 1 ? 9360 : -9360;
    // The lead (1440 long) runs along the line to the goal centre, to within
    // the two degrees the whole-degree angle loses.
    double cross = static_cast<double>(x - c.rx) * (0 - c.ry) - static_cast<double>(y - c.ry) * (gx - c.rx);
    double len = std::sqrt(static_cast<double>(gx - c.rx) * (gx - c.rx) + static_cast<double>(c.ry) * c.ry);
    EXPECT_LT(std::abs(cross / len), 1440 * 0.035) << c.rx << "," << c.ry;
    EXPECT_NEAR(std::hypot(x - c.rx, y - c.ry), 1440, 3);
    EXPECT_LT(std::abs(y), std::abs(c.ry));
  }
}

TEST(ShotSpread, StaysNearTheGoalOverManySeeds) {
  EngineMatchSetup();
  Player* s = EnginePlayer(9);
  for (std::int32_t d : {2000, 2592, 4000, 9000}) {
    for (int k = 0; k < 400; k++) {
      EnginePlace(s, 9360 - d, 0, 0);
      std::int32_t x = 9360, h = 100, y = (k % 5 - 2) * 200;
      std::int32_t y0 = y;
      std::uint32_t before = QMathRandNext();
      (void)before;
      shot_SpreadGet(s, &x, &h, &y);
      EXPECT_EQ(x, 9360);
      EXPECT_GE(h, -600);
      EXPECT_LE(h, 1200);
      EXPECT_GE(y, -1200 - d / 4) << d << " " << y0;
      EXPECT_LE(y, 1200 + d / 4) << d << " " << y0;
    }
  }
}

}  // namespace

namespace {

TEST(ShotGrid, ShapeAndSpiralSearch) {
  for (std::int32_t r = 0; r < SHOT_GRID_ROWS; r++) {
    EXPECT_LE(shot_GridValueGet(0, r), 6);
    EXPECT_LE(shot_GridValueGet(47, r), 6);
    for (std::int32_t c = 0; c < SHOT_GRID_COLUMNS; c++) EXPECT_EQ(shot_GridValueGet(c, r), shot_GridValueGet(47 - c, r));
  }
  EXPECT_EQ(shot_GridValueGet(12, 0), 99);
  EXPECT_EQ(shot_GridValueGet(35, 7), 99);
  // From a peak: the peak itself; from a corner: the nearest cell at or above
  // the threshold by rings.
  std::int32_t c = 12, r = 0;
  EXPECT_EQ(shot_GridNearestFind(&c, &r, 99), 99);
  EXPECT_EQ(c, 12);
  EXPECT_EQ(r, 0);
  c = 0, r = 3;
  std::int32_t v = shot_GridNearestFind(&c, &r, 90);
  EXPECT_GE(v, 90);
  std::int32_t ring = std::max(std::abs(c - 0), std::abs(r - 3));
  for (std::int32_t rr = 0; rr < SHOT_GRID_ROWS; rr++)
    for (std::int32_t cc = 0; cc < SHOT_GRID_COLUMNS; cc++) {
      if (std::max(std::abs(cc), std::abs(rr - 3)) < ring) {
        EXPECT_LT(shot_GridValueGet(cc, rr), 90);
      }
    }
  c = 5, r = 5;
  EXPECT_EQ(shot_GridNearestFind(&c, &r, 100), -1);
  c = 40, r = 2;
  std::int32_t m = shot_GridNearestFindMirror(&c, &r, 99);
  EXPECT_EQ(m, 99);
  EXPECT_EQ(c, 35);  // the mirrored grid's peak nearest column 40
}

TEST(ShotGrid, RangeAndSkill) {
  EngineMatchSetup();
  Player* pp = EnginePlayer(9);  // attacks +x
  EnginePlace(pp, 3600, 0, 0);
  EXPECT_TRUE(shot_InRange(pp));
  EnginePlace(pp, 3599, 0, 0);
  EXPECT_FALSE(shot_InRange(pp));
  Player* po = EnginePlayer(20);  // attacks -x
  EnginePlace(po, -3600, 0, 0);
  EXPECT_TRUE(shot_InRange(po));
  EnginePlace(po, -3599, 0, 0);
  EXPECT_FALSE(shot_InRange(po));
  EXPECT_EQ(shot_SkillGet(pp), PlayerO_Attr56Get(pp));
}

}  // namespace

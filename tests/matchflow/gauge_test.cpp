// The set-piece power gauge: power and percentage against a plain model over
// every level, the display timer and the pause menu.
#include <gtest/gtest.h>

#include <cmath>

#include "matchflow/gauge.h"
#include "shell/global.h"

namespace {

int ModelPower(int drop) {  // drop: peak below the top, 0..110
  const double a = (80 - drop) * 5.0;
  const double b = std::trunc(a * 20 / 80);
  return static_cast<int>(std::trunc(b / 2)) + 50;
}

TEST(GaugeTest, PowerOverEveryPeak) {
  for (int drop = 0; drop <= 110; drop += 2) {
    PowerGauge g;
    gauge_Init(&g, 40, 100, 1, 2, 50);
    gauge_RunningSet(&g, 1);
    // The level moves two pixels a unit of delta: walk it there, then release.
    const int target = 100 + drop;
    while (g.iFill != target) gauge_Step(&g, g.iFill < target ? 1 : -1, 0);
    gauge_Step(&g, 0, 1);
    EXPECT_EQ(g.iPeak, target);
    EXPECT_EQ(gauge_iPowerGet(&g), ModelPower(drop)) << drop;
    g.iPeak = target + 1;  // odd levels, as a caller's own delta may leave them
    if (drop < 110) {
      EXPECT_EQ(gauge_iPowerGet(&g), ModelPower(drop + 1)) << drop + 1;
    }
  }
  PowerGauge g;
  gauge_Init(&g, 0, 0, 0, 0, 0);
  gauge_Step(&g, 0, 1);
  EXPECT_EQ(gauge_iPowerGet(&g), 50);  // released at once
  EXPECT_EQ(gauge_iPercentGet(&g), 0);
  g.iPeak = 0;
  EXPECT_EQ(gauge_iPowerGet(&g), 100);
}

TEST(GaugeTest, StepClampsAndPercent) {
  for (int delta = 1; delta <= 15; ++delta) {
    PowerGauge g;
    gauge_Init(&g, 0, 20, 0, 0, 0);
    gauge_Step(&g, delta, 0);
    EXPECT_EQ(g.iFill, 100);  // not running: no move
    gauge_RunningSet(&g, 1);
    gauge_Step(&g, delta, 0);
    const int fill = std::min(100 + 2 * delta, 130);
    EXPECT_EQ(g.iFill, fill);
    EXPECT_EQ(g.bFull, 100 + 2 * delta > 130);
    if (!g.bFull) {
      EXPECT_EQ(gauge_iPercentGet(&g), (fill - 100) * 100 / 30) << delta;
    }
  }
  PowerGauge g;
  gauge_Init(&g, 0, 20, 0, 0, 0);
  gauge_RunningSet(&g, 1);
  for (int i = 0; i < 100; ++i) gauge_Step(&g, -3, 0);
  EXPECT_EQ(g.iFill, 20);  // not above the top
  gauge_Step(&g, 20, 0);
  EXPECT_EQ(g.iFill, 60);
  // Once above the start the percentage is drawn at random, within 0..100.
  for (int i = 0; i < 200; ++i) {
    const int p = gauge_iPercentGet(&g);
    EXPECT_GE(p, 0);
    EXPECT_LE(p, 100);
  }
  EXPECT_EQ(g.bMovedUp, 1);
}

TEST(GaugeTest, TimerAndPause) {
  const GameMode saved = global.eGameMode;
  PowerGauge g;
  gauge_Init(&g, 10, 10, 0, 0, 100);
  global.eGameMode = GAME_MODE_PAUSE_MENU;
  for (int i = 0; i < 50; ++i) gauge_Draw(&g);
  EXPECT_EQ(g.iTimer, 30);  // frozen in the pause menu
  global.eGameMode = GAME_MODE_PLAY;
  for (int i = 0; i < 31; ++i) gauge_Draw(&g);
  EXPECT_EQ(g.iTimer, -1);
  gauge_Reset(&g, 3, 4);
  EXPECT_EQ(g.iTimer, 30);
  EXPECT_EQ(g.iRateA, 3);
  EXPECT_EQ(g.iRateB, 4);
  global.eGameMode = saved;
}

}  // namespace

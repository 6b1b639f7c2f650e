#include "matchflow/gauge.h"

#include "framework/math/qrand.h"
#include "shell/draw2d.h"
#include "shell/global.h"

namespace {
constexpr std::int32_t kStart = 80;   // start level below the top
constexpr std::int32_t kBottom = 110;  // lowest level below the top
constexpr std::int32_t kLayer = 1;
constexpr std::int32_t kWidth = 20;
}  // namespace

void gauge_Init(PowerGauge* pg, std::int32_t x, std::int32_t y, std::int32_t iRateA, std::int32_t iRateB,
                std::int32_t iMarker) {
  pg->x = x;
  pg->y = y;
  pg->iRateA = iRateA;
  pg->iRateB = iRateB;
  pg->iMarker = iMarker;
  pg->iFill = y + kStart;
  pg->bReleased = 0;
  pg->iPeak = 0;
  pg->bRunning = 0;
  pg->bFull = 0;
  pg->bMovedUp = 0;
  pg->iTimer = 30;
}

void gauge_Reset(PowerGauge* pg, std::int32_t iRateA, std::int32_t iRateB) {
  pg->iRateA = iRateA;
  pg->iRateB = iRateB;
  pg->iTimer = 30;
}

void gauge_RunningSet(PowerGauge* pg, std::int32_t bRunning) { pg->bRunning = bRunning; }

void gauge_Step(PowerGauge* pg, std::int32_t iDelta, std::int32_t bRelease) {
  if (pg->bRunning) {
    pg->iFill += 2 * iDelta;
    if (pg->iFill < pg->y) pg->iFill = pg->y;
    if (pg->iFill > pg->y + kBottom) {
      pg->iFill = pg->y + kBottom;
      pg->bFull = 1;
    }
  }
  if (bRelease) {
    pg->bReleased = 1;
    pg->iPeak = pg->iFill;
  }
}

std::int32_t gauge_iPowerGet(const PowerGauge* pg) {
  const std::int32_t a = (pg->y - pg->iPeak + kStart) * 5;
  const std::int32_t b = (a * 20) / 80;
  return b / 2 + 50;
}

std::int32_t gauge_iPercentGet(PowerGauge* pg) {
  if (pg->iFill < pg->y + kStart) pg->bMovedUp = 1;
  if (!pg->bFull && !pg->bMovedUp) return ((pg->iFill - pg->y - kStart) * 100) / 30;
  return static_cast<std::int32_t>(QMathRandRange(100));
}

void gauge_Draw(PowerGauge* pg) {
  if (global_eGetGameMode() == GAME_MODE_PAUSE_MENU) return;
  if (--pg->iTimer < 0) return;
  const std::int32_t x = pg->x, y = pg->y;
  draw2d_FillColourSet(255, 255, 255, 255);
  draw2d_RectFill(x, pg->iFill, kWidth, 2, kLayer);
  if (pg->bReleased) {
    draw2d_FillColourSet(190, 0, 0, 0);
    draw2d_RectFill(x, pg->iPeak, kWidth, kStart - (pg->iPeak - y), kLayer);
  }
  draw2d_FillColourSet(0, 0, 0, 0);
  draw2d_RectFill(x, y, kWidth, kStart, kLayer);
  const std::int32_t m = pg->iMarker * 24 / 100;
  draw2d_FillColourSet(170, 170, 0, 0);
  draw2d_RectFill(x, y + 95 - m / 2, kWidth, m, kLayer);
  draw2d_FillColourSet(0, 90, 0, 0);
  draw2d_RectFill(x, y + kStart, kWidth, kBottom - kStart, kLayer);
  draw2d_FillColourSet(0, 0, 0, 0);
  draw2d_TriangleFill(x, y + 80, x - 10, y + 87, x, y + 95, kLayer);
  draw2d_TriangleFill(x + 20, y + 95, x + 30, y + 102, x + 20, y + 110, kLayer);
}

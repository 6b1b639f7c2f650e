// Pass choice by sectors, the long-pass bend, the chip spread, the header
// pass lead point and the shot value grid.
#include "engine/shtpass.h"

#include <algorithm>
#include <cstdlib>

#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "engine/zone.h"
#include "framework/math/qrand.h"
#include "framework/math/trigw.h"
#include "framework/qdx_assert.h"
#include "shell/imath.h"

const std::int32_t shtpass_aiSectorTable[SHTPASS_SECTORS][4] = {
    {720, 3600, 0, 10},    {720, 3600, 11, 20},   {720, 2160, 21, 30},   {720, 2160, 31, 40},
    {720, 2160, 41, 50},   {720, 1440, 51, 60},   {720, 1440, 61, 70},   {720, 1440, 71, 80},
    {720, 1440, 81, 90},   {3600, 5760, 0, 10},   {3600, 4320, 11, 20},  {2160, 4320, 21, 30},
    {2160, 4320, 31, 40},  {2160, 4320, 41, 50},  {1440, 4320, 51, 60},  {1440, 4320, 61, 70},
    {1440, 4320, 71, 80},  {1440, 4320, 81, 90},  {720, 3600, 91, 140},  {720, 2160, 141, 180},
    {0, 21600, 0, 45},     {0, 21600, 46, 90},    {0, 21600, 91, 180},
};
std::int32_t shtpass_aiLane[1][4] = {{0, 0, 0, 20}};

std::int32_t shtpass_PassChoose(Player* poHolder, ReceiverRecord* pOut, std::int32_t iDirection) {
  std::int32_t bx = ball_CurXGet(), by = ball_CurYGet();
  std::int32_t iHeading = (iDirection * 65536 / 802) & 0xFFFF;
  Player* poBest = nullptr;
  std::int32_t iBest = 99;
  std::int64_t iBestD2 = 0;
  for (Player* poTeammate = match_StateTeamFirstPlayerGet(); poTeammate; poTeammate = poTeammate->pNext) {
    QDX_ASSERT(poTeammate->oAIInfo.bIsAttacking);
    if (poTeammate == poHolder) continue;
    const Player* pp = poTeammate;
    std::int32_t s = roles_SectorFind(bx, by, pp->x, pp->y, iHeading, shtpass_aiSectorTable, SHTPASS_SECTORS);
    std::int64_t d2 = player_Dist2(pp->x - bx, pp->y - by);
    if (!poBest || s < iBest || (s == iBest && d2 < iBestD2)) {
      poBest = poTeammate;
      iBest = s;
      iBestD2 = d2;
    }
  }
  if (!poBest) return 0;
  pOut->poReceiver = poBest;
  pOut->x = poBest->x;
  pOut->y = poBest->y;
  std::int32_t d = player_Dist(poBest->x - bx, poBest->y - by);
  shtpass_aiLane[0][1] = d;
  std::int32_t b = QMathAtan2(poBest->x - bx, poBest->y - by) & 0xFFFF;
  Player* poStop = nullptr;
  for (Player* po = match_OtherTeamFirstPlayerGet(); po; po = po->pNext) {
    // A long pass stops at the chain's first player; a short one at the
    // first defender in the lane.
    if (d > 1440 ||
        roles_SectorFind(bx, by, po->x, po->y, b, shtpass_aiLane, 1) == 0) {
      poStop = po;
      break;
    }
  }
  if (!poStop) return 1;
  std::int32_t iDef = QMathAtan2(poStop->x - bx, poStop->y - by) & 0xFFFF;
  std::int32_t a = ((iDef - b) & 0xFFFF) > 32768 ? b + 910 : b - 910;
  std::int32_t r = std::min(d, 1440);
  pOut->x = bx + static_cast<std::int32_t>((static_cast<std::int64_t>(QMathCos(a & 0xFFFF)) * r) >> 16);
  pOut->y = by + static_cast<std::int32_t>((static_cast<std::int64_t>(QMathSin(a & 0xFFFF)) * r) >> 16);
  pOut->bBent = 1;
  return 1;
}

void shot_SpreadGet(Player* poStriker, std::int32_t* px, std::int32_t* ph, std::int32_t* py) {
  auto rnd = [](std::int32_t n) { return static_cast<std::int32_t>(QMathRandRange(static_cast<std::uint32_t>(std::max(n, 0)))); };
  std::int32_t s0 = PlayerO_Attr56Get(poStriker);
  std::int32_t s = rnd(100 - s0) + s0;
  std::int32_t d = player_Dist(*px - poStriker->x, *py - poStriker->y);
  if (d > 2592) {
    s = (11952 - d) * s / 18720;
    std::int32_t q = 100 - s;
    *ph += rnd(288) * q / 100 + rnd(144);
    *py += (rnd(d / 2) - d / 4) * q / 100;
  }
  if (rnd(102) > s) *ph += rnd(288) * (100 - s) / 100 + rnd(144);
  std::int32_t c = rnd(96) + 192;
  std::int32_t iRef = *ph > c ? rnd(48) + 336 : rnd(48);
  *ph -= (rnd(100 - s) + s) * (*ph - iRef) / 100;
  if (*py >= 49) iRef = rnd(48) + 528;
  else if (*py >= -48) iRef = rnd(384) + *py - 192;
  else iRef = rnd(48) - 528;
  *py -= (rnd(100 - s) + s) * (*py - iRef) / 100;
}

void pass_LeadPointGet(Player* poPasser, Player* poReceiver, std::int32_t* px, std::int32_t* py, std::int32_t iSkill) {
  std::int32_t s = poPasser->Direction == 1 ? 1 : -1;
  std::int32_t d = 9360 - poReceiver->x * s;
  // The lead grows with the passer's skill from 10 to 25 yards (the skill
  // comes 0..100 and is read on a 0..15 scale).
  std::int32_t s15 = (iSkill < 0 ? 0 : iSkill > 100 ? 100 : iSkill) * 15 / 100;
  std::int32_t r = d < 720 ? 144 : d < 1440 ? d / 2 : (s15 * 9 + 90) * 16;
  if (poReceiver->y >= -3168 && poReceiver->y <= 3168) {
    // The angle off the line ahead toward the goal centre, in degrees (the
    // heading comes in 802 units a turn).
    std::int32_t a = imath_Atan2(-poReceiver->y, d) * 180 / 401;
    *px = poReceiver->x + imath_CosScale(r, a) * s;
    *py = poReceiver->y + imath_SinScale(r, a);
  } else {
    *px = poReceiver->x + r * s;
    *py = poReceiver->y;
  }
  // A long lead near the goal line stops on the pitch.
  *px = *px < -BALL_GOAL_LINE_X ? -BALL_GOAL_LINE_X : *px > BALL_GOAL_LINE_X ? BALL_GOAL_LINE_X : *px;
  *py = *py < -BALL_TOUCH_LINE_Y ? -BALL_TOUCH_LINE_Y : *py > BALL_TOUCH_LINE_Y ? BALL_TOUCH_LINE_Y : *py;
}

// ---- Shot value grid -------------------------------------------------------------
namespace {

// Symmetric about the middle: 0..6 on the outer columns, rising to 99 at
// columns 12 and 35 of rows 0 and 7, falling away from those rows.
constexpr std::int32_t ShotValue(std::int32_t c, std::int32_t r) {
  std::int32_t m = c < 24 ? c : 47 - c;          // mirrored column 0..23
  std::int32_t dc = m < 12 ? 12 - m : m - 12;    // columns from the peak, 0..12
  std::int32_t rr = r % 7;                       // rows 0 and 7 peak
  std::int32_t dr = rr < 4 ? rr : 7 - rr;        // 0..3
  std::int32_t v = 99 - dc * 93 / 12 - dr * 8;
  if (m == 0) v = dr * 2;
  return v < 0 ? 0 : v;
}
struct ShotGrid {
  std::int8_t a[SHOT_GRID_ROWS][SHOT_GRID_COLUMNS];
};
constexpr ShotGrid BuildShotGrid() {
  ShotGrid g{};
  for (std::int32_t r = 0; r < SHOT_GRID_ROWS; r++)
    for (std::int32_t c = 0; c < SHOT_GRID_COLUMNS; c++) g.a[r][c] = static_cast<std::int8_t>(ShotValue(c, r));
  return g;
}
constexpr ShotGrid kShotGrid = BuildShotGrid();
static_assert(kShotGrid.a[0][12] == 99 && kShotGrid.a[0][35] == 99 && kShotGrid.a[7][12] == 99 &&
              kShotGrid.a[7][35] == 99, "shot grid peaks");
constexpr bool ShotGridSane() {
  for (std::int32_t r = 0; r < SHOT_GRID_ROWS; r++) {
    if (kShotGrid.a[r][0] > 6 || kShotGrid.a[r][47] > 6) return false;
    for (std::int32_t c = 0; c < SHOT_GRID_COLUMNS; c++)
      if (kShotGrid.a[r][c] != kShotGrid.a[r][47 - c] || kShotGrid.a[r][c] < 0 || kShotGrid.a[r][c] > 99) return false;
  }
  return true;
}
static_assert(ShotGridSane(), "shot grid symmetric, outer columns 0..6");

std::int32_t Spiral(std::int32_t* pc, std::int32_t* pr, std::int32_t iThreshold, bool bMirror) {
  std::int32_t c0 = *pc, r0 = *pr;
  auto value = [&](std::int32_t c, std::int32_t r) {
    return shot_GridValueGet(bMirror ? SHOT_GRID_COLUMNS - 1 - c : c, r);
  };
  for (std::int32_t ring = 0;; ring++) {
    bool bColsOut = c0 - ring < 0 && c0 + ring >= SHOT_GRID_COLUMNS;
    bool bRowsOut = r0 - ring < 0 && r0 + ring >= SHOT_GRID_ROWS;
    if (bColsOut && bRowsOut) return -1;
    for (std::int32_t dr = -ring; dr <= ring; dr++)
      for (std::int32_t dc = -ring; dc <= ring; dc++) {
        if (std::abs(dr) != ring && std::abs(dc) != ring) continue;
        std::int32_t c = c0 + dc, r = r0 + dr;
        if (c < 0 || c >= SHOT_GRID_COLUMNS || r < 0 || r >= SHOT_GRID_ROWS) continue;
        std::int32_t v = value(c, r);
        if (v >= iThreshold) {
          *pc = c;
          *pr = r;
          return v;
        }
      }
  }
}

}  // namespace

std::int32_t shot_GridValueGet(std::int32_t c, std::int32_t r) {
  if (c < 0 || c >= SHOT_GRID_COLUMNS || r < 0 || r >= SHOT_GRID_ROWS) return 0;
  return kShotGrid.a[r][c];
}
std::int32_t shot_GridNearestFind(std::int32_t* pc, std::int32_t* pr, std::int32_t t) { return Spiral(pc, pr, t, false); }
std::int32_t shot_GridNearestFindMirror(std::int32_t* pc, std::int32_t* pr, std::int32_t t) {
  return Spiral(pc, pr, t, true);
}
std::int32_t shot_SkillGet(const Player* pp) { return PlayerO_Attr56Get(pp); }
std::int32_t shot_InRange(const Player* pp) { return pp->Direction == 1 ? pp->x >= 3600 : pp->x < -3599; }

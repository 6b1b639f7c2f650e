// Support grid reads and the support state word.
#include "engine/grid.h"

#include "engine/player.h"

std::int32_t grid_ValueGet(std::int32_t c, std::int32_t r) {
  if (c < 0 || c >= GRID_COLUMNS) return 0;
  // Rows past the far touch line read the edge row.
  if (r < 0) r = 0;
  if (r > 95) r = 95;
  if (r >= GRID_ROWS) r = 95 - r;
  return grid_aSupport[r][c];
}

std::int32_t grid_ValueGetMirror(std::int32_t c, std::int32_t r) {
  if (c < 0 || c >= GRID_COLUMNS) return 0;
  return grid_ValueGet(GRID_COLUMNS - 1 - c, r);
}

void grid_SupportStateSet(Player* pp, std::int32_t iState) { pp->iSupportState = iState; }
std::int32_t grid_SupportStateGet(const Player* pp) { return pp->iSupportState; }
void grid_SupportStateInit(Player* pp) { grid_SupportStateSet(pp, 1); }

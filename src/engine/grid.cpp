// Support grid reads and the support state word.
#include "engine/grid.h"

#include "engine/action_list.h"
#include "engine/aiopt.h"
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

// ---- Support handler and the target run -----------------------------------------------
std::int32_t grid_SupportState1(Player* pp) { return grid_SupportStateGet(pp); }
std::int32_t grid_SupportState2(Player* pp) { return grid_SupportStateGet(pp); }
std::int32_t grid_SupportState3(Player* pp) { return grid_SupportStateGet(pp); }
std::int32_t grid_SupportState4(Player* pp) { return grid_SupportStateGet(pp); }
std::int32_t grid_SupportState5(Player* pp) { return grid_SupportStateGet(pp); }

ActionNode* grid_SupportHandler(ActionNode* poList) {
  using StateFn = std::int32_t (*)(Player*);
  static const StateFn s_apfn[5] = {grid_SupportState1, grid_SupportState2, grid_SupportState3, grid_SupportState4,
                                    grid_SupportState5};
  ActionNode* poHead = poList;
  for (ActionNode* po = poList; po;) {
    ActionNode* poNext = po->poNext;
    Player* pp = po->poPlayer;
    std::int32_t s = grid_SupportStateGet(pp);
    if (s >= 1 && s <= 5) {
      std::int32_t n = s_apfn[s - 1](pp);
      if (n != s) grid_SupportStateSet(pp, n);
      if (n != s || s >= 2) {
        ActionNode* poRest = director_ListUnlink(po);
        if (po == poHead) poHead = poRest;
      }
    }
    po = poNext;
  }
  return poHead;
}

ActionNode* grid_TargetRunHandler(ActionNode* poList) {
  if (!poList) return poList;
  Player* pp = poList->poPlayer;
  Player* poFound = nullptr;
  if (player_Search(&poFound, pp->x, pp->y, 0, 14400, 1, PLAYER_SEARCH_DEFENDING | PLAYER_SEARCH_NOT_BEYOND))
    return poList;
  if (pp->oAIInfo.abParams[0] == 1) {
    PlayerO_MoveToSet(pp, pp->Direction == 1 ? 9360 : -9360, 0, ANIM_RUN);
  } else {
    PlayerO_MoveToSet(pp, pp->x + (pp->Direction == 1 ? 1440 : -1440), pp->y, ANIM_RUN);
  }
  action_Set(pp, ACTION_TARGET_RUN);
  director_ListUnlink(poList);
  return nullptr;
}

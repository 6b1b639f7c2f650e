// The offside line.
#include "engine/offside.h"

#include "engine/action_list.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "frontend/frontend_services.h"
#include "shell/global.h"

namespace {

struct OffsideState {
  std::int32_t bValid;
  std::int32_t iKind;
  std::int32_t x;
  std::int32_t iCell;
  std::int32_t bSwitch;
};
OffsideState s_o = {0, 0, 0, 0, 1};

}  // namespace

void offside_Reset() { s_o = OffsideState{0, 0, 0, 0, 1}; }
void offside_SwitchSet(std::int32_t bOn) { s_o.bSwitch = bOn; }
std::int32_t offside_SwitchGet() { return s_o.bSwitch; }

void offside_LineUpdate() {
  Player* poFirst = match_OtherTeamFirstPlayerGet();
  if (!poFirst) return;
  std::int32_t iDir = poFirst->Direction;
  std::int32_t iDeepest = 0, iSecond = 0;
  bool bSecond = false;
  std::int32_t cPlayers = 0;
  for (Player* pp = poFirst; pp; pp = pp->pNext) {
    std::int32_t x = pp->x;
    cPlayers++;
    if (iDir == 1) {
      // Defends the goal at -x.
      if (x < iDeepest) {
        iSecond = iDeepest;
        iDeepest = x;
      } else if (x < iSecond) {
        iSecond = x;
        bSecond = true;
      }
    } else {
      if (x > iDeepest) {
        iSecond = iDeepest;
        iDeepest = x;
      } else if (x > iSecond) {
        iSecond = x;
        bSecond = true;
      }
    }
  }
  // With the keeper leading his chain, no second found among two or more
  // means the second-last defender stands on or beyond the halfway line: no
  // line then (a stale one would judge offside against where the defence
  // was). A chain of one leaves the line as it was.
  if (!bSecond && cPlayers < 2) return;
  if (!bSecond || (iDir == 1 && iSecond >= 0) || (iDir != 1 && iSecond < 1)) {
    // The second-last defender stands in the other half.
    s_o.bValid = 0;
    return;
  }
  std::int32_t iBallX = ball_CurXGet();
  bool bDefender = iDir == 1 ? iSecond < iBallX : iSecond > iBallX;
  s_o.iKind = bDefender ? OFFSIDE_KIND_DEFENDER : OFFSIDE_KIND_BALL;
  s_o.x = bDefender ? iSecond : iBallX;
  s_o.bValid = 1;
  s_o.iCell = (s_o.x + 9360) * 156 / 18720;
}

std::int32_t offside_LineXGet(std::int32_t* px) {
  if (!s_o.bValid) return 0;
  *px = s_o.x;
  return 1;
}

std::int32_t offside_LineGet(std::int32_t* piKind) {
  if (!s_o.bValid) return 0;
  *piKind = s_o.iKind;
  return 1;
}

std::int32_t offside_CellGet() { return s_o.iCell; }

// ---- The offside candidate and the walk back onside ---------------------------------------
namespace {
std::int32_t s_bOption = 1;
}  // namespace

void offside_OptionSet(std::int32_t bOn) { s_bOption = bOn; }

std::int32_t offside_CandidateFind(Ball*, Player** ppAttacker, Player** ppDefender) {
  *ppAttacker = nullptr;
  *ppDefender = nullptr;
  if (!s_bOption || !mcondi_OffsideGet() || !s_o.bSwitch || global_eGetExtendedGameMode() == GAME_MODE_START_TRAINING) return -9360;
  if (global_eGetGameMode() != GAME_MODE_PLAY) return -9360;
  Player* poKicker = ball_OwnerGet();
  if (!poKicker) poKicker = ball_PrevOwnerGet();
  if (!poKicker || player_IsGoalkeeper(poKicker)) return -9360;
  Player* poDef = match_OtherTeamFirstPlayerGet();
  if (!poDef) return -18720;
  std::int32_t lx = ball_LandXGet(), ly = ball_LandYGet(), bx = ball_CurXGet();
  std::int32_t s = poDef->Direction == 0 ? 1 : -1;  // the way the attack goes
  if ((lx - bx) * s < 0) return -9360;               // played backward
  // The two deepest defenders, in the attack's direction.
  std::int32_t iFirst = -9360, iSecond = -9360;
  Player *poFirst = nullptr, *poSecond = nullptr;
  for (Player* pp = poDef; pp; pp = pp->pNext) {
    std::int32_t x = pp->x * s;
    if (x > iFirst) {
      iSecond = iFirst, poSecond = poFirst;
      iFirst = x, poFirst = pp;
    } else if (x > iSecond) {
      iSecond = x, poSecond = pp;
    }
  }
  Player* poBest = nullptr;
  std::int32_t iBest = 0;
  std::int32_t aly = ly < 0 ? -ly : ly;
  for (Player* pp = match_StateTeamFirstPlayerGet(); pp; pp = pp->pNext) {
    if (pp == poKicker) continue;
    std::int32_t x = pp->x * s;
    std::int32_t ay = pp->y < 0 ? -pp->y : pp->y;
    std::int32_t dy = ly - pp->y;
    if (poBest && x <= iBest) continue;
    if (ay >= 5760 || lx * s <= x - 1440 || (dy < 0 ? -dy : dy) >= 4320) continue;
    if (ball_OutcomeGet() == 7 && ay <= aly - 288) continue;
    poBest = pp;
    iBest = x;
  }
  if (!poBest || iBest < 0 || iBest <= bx * s) return -18720;
  *ppAttacker = poBest;
  *ppDefender = poSecond;
  return iBest - iSecond;
}

ActionNode* offside_OnsideHandler(ActionNode* poList) {
  std::int32_t iLine = 0;
  if (!offside_LineXGet(&iLine)) iLine = 0;
  ActionNode* poHead = poList;
  for (ActionNode* po = poList; po;) {
    ActionNode* poNext = po->poNext;
    Player* pp = po->poPlayer;
    bool bOff = (iLine < 0 && pp->x < iLine) || (iLine > 0 && pp->x > iLine);
    if (bOff) {
      ActionNode* poRest = director_ListUnlink(po);
      if (po == poHead) poHead = poRest;
      action_Set(pp, ACTION_ONSIDE);
      PlayerO_MoveToSet(pp, iLine < 1 ? iLine + 720 : iLine - 720, pp->y, ANIM_WALK);
    }
    po = poNext;
  }
  return poHead;
}

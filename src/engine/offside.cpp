// The offside line.
#include "engine/offside.h"

#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/player.h"

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

// What the computer's ball holder does: here the shot, tried by the part of
// the attacking third he stands in.
#include <cstdint>

#include "engine/action.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/kick.h"
#include "engine/move.h"
#include "engine/player.h"
#include "engine/target.h"
#include "engine/zone.h"
#include "framework/math/qrand.h"

namespace {
constexpr std::int32_t kShotTree = 551;
constexpr std::int32_t kMoveStateNoAction = 10;

// Per mille chance of a shot by the holder's shooting zone (0 never).
std::int32_t ShotChance(std::int32_t iClass) {
  switch (iClass) {
    case 1: return 1000;
    case 2: return 150;
    case 3: return 30;
    case 4: return 10;
    case 8: return 850;
    default: return 0;
  }
}
}  // namespace

std::int32_t action_HolderGuard(const Player* pp) {
  return !anim_IsKick(pp->oAnimInfo.eActionAnim) && ball_OwnerGet() == pp && pp->Control != PLAYER_CONTROL_NONE &&
         PlayerO_MoveStateGet(pp) != kMoveStateNoAction && PlayerO_MoveStateGet(pp) != MOVE_STATE_TACKLE;
}

ActionNode* action_ShootHandler(ActionNode* poList) {
  Player* pp = poList->poPlayer;
  if (!action_HolderGuard(pp)) return poList;
  std::int32_t iChance = ShotChance(zone_iChildAtPlayer(kShotTree, pp));
  if (iChance == 0 || QMathRandBetween(0, 1000) >= iChance) return poList;
  std::uint32_t eKick = kick_AnimChooseAlt(pp, pp->Direction == 1 ? 9360 : -9360, 0, 0, pp->iFacing);
  if (eKick == ANIM_NONE) return poList;
  anim_RequestSet(&pp->oAnimInfo, eKick);
  anim_CallbackSet(&pp->oAnimData, target_DoShotRandom);
  action_Set(pp, ACTION_SHOOT);
  return director_ListUnlink(poList);
}

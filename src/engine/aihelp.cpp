// Helpers of the computer team manager about where a player stands.
#include "engine/aihelp.h"

#include "engine/engine_services.h"
#include "engine/player.h"

std::int32_t aihelp_IsInAttackingZone(const Player* pp) {
  // How far he stands into the half he attacks.
  const std::int32_t a = pp->Direction == 1 ? pp->x : -pp->x;
  if (a >= 6480) return 1;
  return a >= 2880 && (pp->y >= 2160 || pp->y <= -2160) ? 1 : 0;
}

std::int32_t aihelp_MateNearPointFind(const Player* pp, std::int32_t x, std::int32_t y, Player** ppOut) {
  constexpr std::int64_t kReach = 576;
  *ppOut = nullptr;
  for (Player* po = match_StateTeamFirstPlayerGet(); po; po = po->pNext) {
    if (po == pp) continue;
    if (player_Dist2(po->x - x, po->y - y) <= kReach * kReach) {
      *ppOut = po;
      return 1;
    }
  }
  return 0;
}

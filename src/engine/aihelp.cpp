// Helpers of the computer team manager about where a player stands.
#include "engine/aihelp.h"

#include "engine/player.h"

std::int32_t aihelp_IsInAttackingZone(const Player* pp) {
  // How far he stands into the half he attacks.
  const std::int32_t a = pp->Direction == 1 ? pp->x : -pp->x;
  if (a >= 6480) return 1;
  return a >= 2880 && (pp->y >= 2160 || pp->y <= -2160) ? 1 : 0;
}

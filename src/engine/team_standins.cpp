// Stand-in for the roles module's goalkeeper test, until it exists: a player
// with a goalkeeper object whose formation slot is the goalkeeper's.
#include "engine/player.h"
#include "engine/team.h"
#include "tournament/dbplayer.h"

std::int32_t roles_IsGoalkeeper(const Player* pp) {
  if (!pp || !pp->pGoalie || !pp->pDBPlayer) return 0;
  return dbplayer_AssignedPositionGet(pp->pDBPlayer) == 0;
}

// Stand-ins for the two roles services the team code uses, until the roles
// module exists: the position compatibility lists and the goalkeeper test.
#include "engine/player.h"
#include "engine/team.h"
#include "tournament/dbplayer.h"

namespace {

// Each code's compatible positions, ended by -1.
const std::int8_t aaiCompatible[25][10] = {
    {-1},
    {6, 18, 3, 9, 12, 7, 23, -1},
    {13, 8, 12, 7, 24, -1},
    {18, 17, 9, 23, 21, 14, 6, -1},
    {16, 17, 10, 15, 11, 14, -1},
    {19, 20, 21, 22, 23, 14, -1},
    {1, 18, 3, 9, 23, -1},
    {2, 13, 8, 12, 24, -1},
    {2, 13, 12, 7, 24, -1},
    {18, 17, 3, 15, 11, 14, 6, -1},
    {16, 17, 4, 15, 11, -1},
    {16, 17, 4, 10, 15, 24, -1},
    {2, 13, 8, 7, 24, -1},
    {2, 8, 12, 7, 24, -1},
    {21, 23, 16, 17, 4, 3, 10, 9, -1},
    {16, 17, 4, 10, 11, -1},
    {17, 4, 10, 15, 11, 14, -1},
    {16, 4, 10, 15, 11, 14, -1},
    {17, 3, 9, 23, 21, 14, 6, -1},
    {5, 20, 21, 22, 23, -1},
    {5, 19, 21, 22, 23, -1},
    {5, 19, 20, 23, 22, 18, 3, 14, -1},
    {20, 21, 5, 19, 23, 18, 3, 14, -1},
    {20, 21, 5, 19, 22, 18, 3, 14, -1},
    {2, 13, 8, 12, 7, 11, 16, 4, 10, -1},
};

}  // namespace

std::int32_t roles_bPositionCompatible(std::int32_t iCode, std::int32_t iOther) {
  if (iCode < 1 || iCode > 24) return 0;  // the goalkeeper's list is empty
  for (std::int8_t c : aaiCompatible[iCode]) {
    if (c < 0) break;
    if (c == iOther) return 1;
  }
  return 0;
}

std::int32_t roles_IsGoalkeeper(const Player* pp) {
  if (!pp || !pp->pGoalie || !pp->pDBPlayer) return 0;
  return dbplayer_AssignedPositionGet(pp->pDBPlayer) == 0;
}

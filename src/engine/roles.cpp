// Roles: each position code's trees and program sets, the role flip of his
// formation slot, the position compatibility lists and the sector search.
#include <cstdlib>

#include "engine/player.h"
#include "engine/team.h"
#include "engine/zone.h"
#include "framework/math/g_fixpt.h"
#include "framework/math/trigw.h"
#include "framework/qdx_assert.h"
#include "tournament/dbplayer.h"

namespace {

// Each code's alternatives, ended by -1; the goalkeeper's record is all zeros.
RolesCompat s_aoCompat[ROLES_CODES] = {
    {0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0},
    {1, {6, 18, 3, 9, 12, 7, 23, -1}, 0},
    {2, {13, 8, 12, 7, 24, -1}, 0},
    {3, {18, 17, 9, 23, 21, 14, 6, -1}, 0},
    {4, {16, 17, 10, 15, 11, 14, -1}, 0},
    {5, {19, 20, 21, 22, 23, 14, -1}, 0},
    {6, {1, 18, 3, 9, 23, -1}, 0},
    {7, {2, 13, 8, 12, 24, -1}, 0},
    {8, {2, 13, 12, 7, 24, -1}, 0},
    {9, {18, 17, 3, 15, 11, 14, 6, -1}, 0},
    {10, {16, 17, 4, 15, 11, -1}, 0},
    {11, {16, 17, 4, 10, 15, 24, -1}, 0},
    {12, {2, 13, 8, 7, 24, -1}, 0},
    {13, {2, 8, 12, 7, 24, -1}, 0},
    {14, {21, 23, 16, 17, 4, 3, 10, 9, -1}, 0},
    {15, {16, 17, 4, 10, 11, -1}, 0},
    {16, {17, 4, 10, 15, 11, 14, -1}, 0},
    {17, {16, 4, 10, 15, 11, 14, -1}, 0},
    {18, {17, 3, 9, 23, 21, 14, 6, -1}, 0},
    {19, {5, 20, 21, 22, 23, -1}, 0},
    {20, {5, 19, 21, 22, 23, -1}, 0},
    {21, {5, 19, 20, 23, 22, 18, 3, 14, -1}, 0},
    {22, {20, 21, 5, 19, 23, 18, 3, 14, -1}, 0},
    {23, {20, 21, 5, 19, 22, 18, 3, 14, -1}, 0},
    {24, {2, 13, 8, 12, 7, 11, 16, 4, 10, -1}, 0},
};

}  // namespace

void roles_RoleCopy(RoleRecord* pRole, std::int32_t iCode) {
  QDX_ASSERT(iCode >= 0 && iCode < ROLES_CODES);
  const std::int32_t* w = roles_aTable[iCode];
  pRole->iAttackTree = w[0];
  pRole->iDefendTree = w[1];
  pRole->iBallTree = w[2];
  pRole->iSetPieceTree = w[3];
  pRole->iAttackSet = w[4];
  pRole->iDefendSet = w[5];
  pRole->iBallSet = w[6];
}

// The keeper: a goalkeeper object, and the goalkeeper's code in the
// formation slot he holds (a bench player holds none).
std::int32_t roles_IsGoalkeeper(const Player* pp) {
  if (!pp || !pp->pGoalie || !pp->pDBPlayer) return 0;
  return dbplayer_AssignedPositionGet(pp->pDBPlayer) == 0 ? 1 : 0;
}

void roles_RoleSet(Player* pp, std::int32_t iCode, std::int32_t iFlip) {
  roles_RoleCopy(&pp->oRole, iCode);
  pp->oRole.iFlip = iFlip;
}

RolesCompat* roles_CompatFind(std::int32_t iCode) {
  for (RolesCompat& c : s_aoCompat)
    if (c.iCode == iCode) return &c;
  return nullptr;
}

void roles_CompatRewind(RolesCompat* pc) { pc->iCursor = 0; }

std::int32_t roles_CompatHasNext(const RolesCompat* pc) {
  return pc->iCursor < ROLES_COMPAT_ALTERNATIVES && pc->aiAlternative[pc->iCursor] != -1;
}

std::int32_t roles_CompatNext(RolesCompat* pc) {
  std::int32_t v = pc->aiAlternative[pc->iCursor];
  pc->iCursor++;
  return v;
}

std::int32_t roles_SectorFind(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                              std::int32_t iHeading, const std::int32_t (*paiTable)[4], std::int32_t iCount) {
  std::int64_t dx = static_cast<std::int64_t>(x1) - x0;
  std::int64_t dy = static_cast<std::int64_t>(y1) - y0;
  std::int64_t d2 = dx * dx + dy * dy;
  std::int32_t d = d2 > INT32_MAX ? 46340 : static_cast<std::int32_t>(QMathISqrt(static_cast<std::int32_t>(d2)));
  std::int32_t a = QMathAtan2(static_cast<std::int32_t>(dx), static_cast<std::int32_t>(dy)) & 0xFFFF;
  std::int32_t iDiff = std::abs(a - (iHeading & 0xFFFF));
  if (iDiff > 32768) iDiff = 65536 - iDiff;
  for (std::int32_t i = 0; i < iCount; i++) {
    const std::int32_t* r = paiTable[i];
    if (r[0] <= d && d < r[1] && r[2] * 65536 / 360 <= iDiff && iDiff < r[3] * 65536 / 360) return i;
  }
  return iCount;
}

// The goalkeeper's body against the ball.
#include "engine/colmodl.h"

#include "engine/anim.h"
#include "engine/player.h"
#include "framework/qdx_assert.h"

const ColmodlSphere colmodl_aSpheres[COLMODL_SPHERES] = {
    {10, 0, 0, 0, 24, 1},  {6, 0, 0, 0, 12, 1},    {3, 0, 0, 0, 12, 1},    {7, 0, 0, 0, 12, 1},
    {4, 0, 0, 0, 12, 1},   {7, 8, 24, 40, 12, 2},  {4, 5, 24, 40, 12, 2},  {2, 0, 0, 0, 28, 1},
    {1, 0, 0, 0, 32, 1},   {0, 14, 76, 48, 20, 2}, {0, 11, 76, 48, 20, 2}, {14, 0, 0, 0, 16, 1},
    {11, 0, 0, 0, 16, 1},  {14, 15, 72, 36, 16, 2}, {11, 12, 72, 36, 16, 2}, {16, 0, 0, 0, 8, 1},
    {13, 0, 0, 0, 8, 1},
};

std::int32_t colmodl_aiHomeKeeperJoints[ANIM_SEGMENTS][3];
std::int32_t colmodl_aiAwayKeeperJoints[ANIM_SEGMENTS][3];

std::int32_t (*colmodl_JointsOf(const Player* poPlayer))[3] {
  return poPlayer->ID == 0 ? colmodl_aiHomeKeeperJoints : colmodl_aiAwayKeeperJoints;
}

void colmodl_JointsUpdate(const Player* poPlayer) {
  QDX_ASSERT((poPlayer->ID == 0) || (poPlayer->ID == 11));
  anim_JointsGet(poPlayer, colmodl_JointsOf(poPlayer));
}

void colmodl_SphereCentreGet(const std::int32_t aiJoints[ANIM_SEGMENTS][3], std::int32_t i, std::int32_t aiOut[3]) {
  const ColmodlSphere& s = colmodl_aSpheres[i];
  const std::int32_t* a = aiJoints[s.iBoneA];
  if (s.iFlags == 1) {
    for (int k = 0; k < 3; k++) aiOut[k] = a[k];
    return;
  }
  const std::int32_t* b = aiJoints[s.iBoneB];
  for (int k = 0; k < 3; k++) aiOut[k] = a[k] + (b[k] - a[k]) * s.iNum / s.iDen;
}

std::int32_t colmodl_KeeperBallHit(std::int32_t* piOut, const Player* poPlayer, const std::int32_t aiPoint[3],
                                   std::int32_t iRadius) {
  QDX_ASSERT((poPlayer->ID == 0) || (poPlayer->ID == 11));
  *piOut = 3;
  const std::int32_t(*aiJoints)[3] = colmodl_JointsOf(poPlayer);
  std::int32_t bHit = 0;
  for (std::int32_t i = 0; i < COLMODL_SPHERES; i++) {
    std::int32_t c[3];
    colmodl_SphereCentreGet(aiJoints, i, c);
    std::int64_t d2 = 0;
    for (int k = 0; k < 3; k++) {
      std::int64_t d = static_cast<std::int64_t>(aiPoint[k]) - c[k];
      d2 += d * d;
    }
    std::int64_t r = static_cast<std::int64_t>(colmodl_aSpheres[i].iRadius) + iRadius;
    if (d2 < r * r) bHit = 1;
  }
  return bHit;
}

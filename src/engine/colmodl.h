#pragma once
// Whether a goalkeeper's body touches the ball: 17 spheres hung on his posed
// skeleton, some part-way along a bone. The engine fills each keeper's joint
// array from his current pose every tick, before the keeper logic runs.
#include <cstdint>

#include "engine/anim_data.h"

struct Player;

constexpr std::int32_t COLMODL_SPHERES = 17;

struct ColmodlSphere {
  std::int32_t iBoneA;
  std::int32_t iBoneB;
  std::int32_t iNum;
  std::int32_t iDen;
  std::int32_t iRadius;
  std::int32_t iFlags;  // 1 on bone a; 2 at a + (b - a) x num / den
};
extern const ColmodlSphere colmodl_aSpheres[COLMODL_SPHERES];

// World positions {x, height, y} of each keeper's segment origins.
extern std::int32_t colmodl_aiHomeKeeperJoints[ANIM_SEGMENTS][3];
extern std::int32_t colmodl_aiAwayKeeperJoints[ANIM_SEGMENTS][3];

// The joint array of a keeper (id 0 or 11).
std::int32_t (*colmodl_JointsOf(const Player* poPlayer))[3];
// Refreshes the keeper's joint array from his current pose.
void colmodl_JointsUpdate(const Player* poPlayer);
// Centre of sphere i from a joint array.
void colmodl_SphereCentreGet(const std::int32_t aiJoints[ANIM_SEGMENTS][3], std::int32_t i, std::int32_t aiOut[3]);
// 1 when any sphere touches a ball of the given radius at the point
// {x, height, y}; *piOut is always set to 3.
std::int32_t colmodl_KeeperBallHit(std::int32_t* piOut, const Player* poPlayer, const std::int32_t aiPoint[3],
                                   std::int32_t iRadius);

#pragma once
// Helpers of the computer team manager about where a player stands.
#include <cstdint>

struct Player;

// True when the player is at least 2880 into the half he attacks and at
// least 2160 from the long axis, or at least 6480 into that half.
std::int32_t aihelp_IsInAttackingZone(const Player* pp);
// The first player of the side in possession, other than the given one,
// standing within 576 of the point; true when one is found (*ppOut is set,
// else cleared).
std::int32_t aihelp_MateNearPointFind(const Player* pp, std::int32_t x, std::int32_t y, Player** ppOut);

#pragma once
// The ball chasers: while nobody holds the ball each side sends one player to
// the point of the predicted path where he can reach it. Beside them every
// player's reaction delay, which keeps a computer player walking for a moment
// after a kick.
#include <cstdint>

struct Player;

void chaser_Choose();
void chaser_PlayerSet(Player* pp);
// The chaser of the player's side.
Player* chaser_PlayerGet(const Player* pp);
// The chaser of a side (1 home, 2 away).
Player* chaser_poGet(std::int32_t iSide);
void chaser_Clear();
void chaser_ReactionDelaysSet();
void chaser_ReactionDelaysShortSet();
// Hands a computer chaser to his side's user early in a flight.
void chaser_StepHandOver();
// Running animation of a chaser: walk for a user's player who is not
// sprinting, else run.
std::uint32_t chaser_RunAnimGet(const Player* pp);
// The chase action: with nobody holding the ball, the first listed player
// who is his side's chaser runs (or, during his reaction delay, walks) to his
// point; the player taken, or none.
Player* chaser_ChaseTake(Player* const* apoList, std::int32_t cList);

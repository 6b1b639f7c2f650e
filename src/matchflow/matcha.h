#pragma once
// The match record: the two sides of the match being played, the goals, the
// coin toss, and the services kept with it.
#include <cstdint>

struct Player;

// Takes a player off the pitch.
void match_PlayerRemove(Player* pp);

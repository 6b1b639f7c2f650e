#pragma once
// A match on the pitch without the match flow: two sides of eleven built
// from fake database players, the referee, the ball at the centre spot, the
// animation table filled, open play, the random generator at its start.
#include <cstdint>

#include "engine/player.h"

struct DBPlayer;

// Fills the table, links both chains, fills the action table with
// handlers that take every player without steering him (so scripted orders
// stand; action_TableInit() installs the real ones), runs the kick-off reset for every
// player and places him at his formation spot facing the way he attacks.
void EngineMatchSetup();
// The same with Brazil and Italy of 1970 from the generated player database,
// set up in their formations.
void EngineMatchSetupFromSquads();
// One match tick of the engine: the player step and the ball on its holder.
void EngineTick();
// The player with the given id (0..21).
Player* EnginePlayer(std::int32_t iId);
// The fake database record behind a player, to vary his attributes.
DBPlayer* EngineDbPlayer(std::int32_t iId);
// Places a player and resets his motion: standing, speed 0, facing `iFacing`.
void EnginePlace(Player* pp, std::int32_t x, std::int32_t y, std::int32_t iFacing);
// A hash of everything the movement writes: ids, states, clips, frames,
// positions, facings, speeds, stamina, power, knocks, the ball and its owner.
std::uint64_t EngineStateHash();
// Sets the match clock (ticks).
void engine_MatchClockSet(std::int32_t iTicks);

#pragma once
// The action program sets and the team trap table, both generated from
// assets/match by progasm. A set holds 64 programs, one per player-zone class
// x 8 + ball-zone class; a program is a run of action records
// {id, count, count parameter bytes} closed by {0, 0}.
#include <cstdint>

#include "engine/action.h"  // ACTION_PROGRAM_SETS, ACTION_PROGRAM_ENTRIES, action_ProgramGet

extern const std::int32_t action_iProgramBytes;
extern const std::uint8_t action_abProgramRecords[];
// Offsets into the records, per set and entry.
extern const std::uint16_t action_aauProgramSets[ACTION_PROGRAM_SETS][ACTION_PROGRAM_ENTRIES];


// The team trap table: the animation that takes a loose ball by its height
// class (ball height / 24, at most 7), or ANIM_NONE for none.
constexpr std::int32_t TRAP_HEIGHT_CLASSES = 8;
extern const std::uint32_t trap_auAnims[TRAP_HEIGHT_CLASSES];
std::uint32_t trap_AnimGet(std::int32_t iHeightClass);

#pragma once
// Formations: nineteen records of eleven slots (slot 0 the goalkeeper's), in
// the order of their names among the global texts, and the int table the team
// sheet and the screens read by index. Both are generated from
// assets/match/formations.txt.
#include <cstdint>

#include "tournament/dbplayer.h"

constexpr std::int32_t FORMATION_MAX = 19;
constexpr std::int32_t FORMATION_SLOTS = 11;
constexpr std::int32_t FORMATION_TABLE_SIZE = 31;
// Global text id of formation 0's name; formation i is this + i.
constexpr std::int32_t FORMATION_FIRST_NAME_TEXT = 18;

extern const FormationSlot formation_aRecords[FORMATION_MAX][FORMATION_SLOTS];
extern const std::int32_t formation_aiTable[FORMATION_TABLE_SIZE];

// The formation's eleven slots; an index of 19 or more asserts.
const FormationSlot* formation_RecordGet(std::int32_t iFormation);
// Entry i of the int table; an index past it asserts.
std::int32_t formation_TableGet(std::int32_t i);

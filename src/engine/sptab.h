#pragma once
// Set-piece position tables: for each role's zone-tree key and set-piece kind
// the zones a player takes up at a throw-in (kinds 0..7), a corner (8) or a
// free kick (9..15): up to three options for the attackers on the ball's
// side and on the far side, one zone for the defenders. Generated from
// assets/setpieces/positions.txt.
#include <cstdint>

constexpr int SPTAB_ROWS = 25;
constexpr int SPTAB_THROWIN_WORDS = 113;
constexpr int SPTAB_CORNER_WORDS = 8;
constexpr int SPTAB_FREEKICK_WORDS = 29;

extern const std::int32_t sptab_aThrowIn[SPTAB_ROWS][SPTAB_THROWIN_WORDS];
extern const std::int32_t sptab_aCorner[SPTAB_ROWS][SPTAB_CORNER_WORDS];
extern const std::int32_t sptab_aFreeKick[SPTAB_ROWS][SPTAB_FREEKICK_WORDS];

// Each returns 1 with *ppiOut pointing into the table, or 0 (pointer left
// alone) when no row has the key. A kind outside 0..15 asserts.
std::int32_t sptab_NearSideGet(std::int32_t iKey, std::int32_t iKind, const std::int32_t** ppiOut);
std::int32_t sptab_FarSideGet(std::int32_t iKey, std::int32_t iKind, const std::int32_t** ppiOut);
std::int32_t sptab_DefenceGet(std::int32_t iKey, std::int32_t iKind, const std::int32_t** ppiOut);

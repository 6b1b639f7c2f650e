#pragma once
// Quick match (front-end modes 14 and 19): no screen, only a set-up step that
// fills both match teams with historical sides drawn at random and hands over
// to the match start.
#include <cstdint>

// A row of the quick-match table: the team's abbreviation id and its edition
// as a one-bit mask (bit e: 1958 + 4e). The table is generated from
// assets/frontend/quickmatch.txt.
struct MQuickRow {
  std::uint32_t uTeam;
  std::uint32_t uMask;
};
extern const MQuickRow mquick_aRows[];

constexpr std::int32_t MQUICK_DRAWS = 8;  // rows drawn for a side before giving up

// Loads row iRow's squad into a side (1 home, 2 away) through the squad cache
// and the scratch buffer and sets the side up; 0 when the team or its squad
// cannot be had.
std::int32_t mquick_SideLoad(std::int32_t iSide, std::int32_t iRow);

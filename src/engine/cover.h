#pragma once
// Cover maps: a 15 x 15 window of 120-unit cells around a player, kept as 15
// row masks (bits 14..0 = columns left to right, row 7 bit 7 his own cell);
// a set bit is a cell no opponent shadows. Also the row-mask form of
// rectangles used to mark zones.
#include <cstdint>

struct Player;

constexpr std::int32_t COVER_ROWS = 15;
constexpr std::int32_t COVER_SPAN = 29;  // offsets -14..14
constexpr std::int32_t COVER_MAP_ARRAY_LENGTH_FIRST = 0;
constexpr std::int32_t COVER_MAP_ARRAY_LENGTH_LAST = COVER_SPAN - 1;
constexpr std::int32_t COVER_MAP_ARRAY_WIDTH_FIRST = 0;
constexpr std::int32_t COVER_MAP_ARRAY_WIDTH_LAST = COVER_SPAN - 1;

struct CoverTables {
  std::uint16_t aauShadow[COVER_SPAN * COVER_SPAN][COVER_ROWS];  // (dx + 14) + (dy + 14) x 29
  std::uint16_t aauCone[3][COVER_ROWS];                          // toward +x, toward -x, upward
  std::uint8_t abPopcount[256];
  std::uint16_t auRegion[16];
};
extern const CoverTables cover_oTables;

// A cell of the window stays open behind an opponent at (dx, dy) when it is
// strictly nearer the player's cell than the opponent's.
std::uint16_t cover_ShadowRow(std::int32_t dx, std::int32_t dy, std::int32_t iRow);

void cover_Fill(std::uint16_t* pauWindow);
void cover_CellAnd(std::uint16_t* pauWindow, std::int32_t dx, std::int32_t dy);
void cover_RowsClip(std::uint16_t* pauWindow, std::int32_t iColumn, std::int32_t iRow);
void cover_Clear(std::int32_t* paiBlock);
std::int32_t cover_MaskPercentA(const std::uint16_t* pauWindow);
std::int32_t cover_MaskPercentB(const std::uint16_t* pauWindow);
// rect = {x, y, width, height} in units from the window's corner.
void cover_RectMaskAdd(const std::int32_t* paiRect, std::uint16_t* pauRows);

// Pitch cell of a position (156 columns x 96 rows of 120 units).
std::int32_t cover_ColumnOf(std::int32_t x);
std::int32_t cover_RowOf(std::int32_t y);

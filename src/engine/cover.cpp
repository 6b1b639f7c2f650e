// Cover maps: the shadow table built from one rule at compile time, the cones
// and the window operations.
#include "engine/cover.h"

#include <cstring>

#include "engine/engine_services.h"
#include "engine/player.h"
#include "framework/qdx_assert.h"

namespace {

constexpr std::uint16_t ShadowRow(std::int32_t dx, std::int32_t dy, std::int32_t iRow) {
  std::uint16_t u = 0;
  for (std::int32_t j = 0; j < 15; j++) {
    std::int32_t cx = j - 7, cy = iRow - 7;
    std::int32_t dMe = cx * cx + cy * cy;
    std::int32_t dThem = (cx - dx) * (cx - dx) + (cy - dy) * (cy - dy);
    if (dMe < dThem) u = static_cast<std::uint16_t>(u | (1u << (14 - j)));
  }
  return u;
}

constexpr CoverTables Build() {
  CoverTables t{};
  for (std::int32_t dy = -14; dy <= 14; dy++)
    for (std::int32_t dx = -14; dx <= 14; dx++)
      for (std::int32_t r = 0; r < COVER_ROWS; r++)
        t.aauShadow[(dx + 14) + (dy + 14) * COVER_SPAN][r] = ShadowRow(dx, dy, r);
  for (std::int32_t k = 0; k < COVER_ROWS; k++) {
    std::int32_t n = (k < 14 - k ? k : 14 - k) + 1;
    t.aauCone[0][k] = static_cast<std::uint16_t>((1u << n) - 1);
    t.aauCone[1][k] = static_cast<std::uint16_t>(((1u << n) - 1) << (15 - n));
    t.aauCone[2][k] = 0;
    if (k <= 7) {
      std::int32_t h = 7 - k;
      t.aauCone[2][k] = static_cast<std::uint16_t>(((1u << (2 * h + 1)) - 1) << (7 - h));
    }
  }
  for (std::int32_t v = 0; v < 256; v++) {
    std::int32_t c = 0;
    for (std::int32_t b = 0; b < 8; b++) c += (v >> b) & 1;
    t.abPopcount[v] = static_cast<std::uint8_t>(c);
  }
  for (std::int32_t w = 0; w < 16; w++) t.auRegion[w] = static_cast<std::uint16_t>(((1u << w) - 1) << (15 - w));
  return t;
}

constexpr CoverTables kTables = Build();

constexpr std::int32_t Bits(const std::uint16_t* rows) {
  std::int32_t n = 0;
  for (std::int32_t r = 0; r < COVER_ROWS; r++)
    for (std::int32_t b = 0; b < 16; b++) n += (rows[r] >> b) & 1;
  return n;
}
constexpr bool AllRows(const std::uint16_t* rows, std::uint16_t u) {
  for (std::int32_t r = 0; r < COVER_ROWS; r++)
    if (rows[r] != u) return false;
  return true;
}
constexpr bool RowsUpTo(const std::uint16_t* rows, std::int32_t last) {
  for (std::int32_t r = 0; r < COVER_ROWS; r++)
    if (rows[r] != (r <= last ? 0x7FFF : 0)) return false;
  return true;
}
// The three masks the design draws and the cones' sizes.
static_assert(AllRows(kTables.aauShadow[14 + 14 * COVER_SPAN], 0), "an opponent on the player's cell covers all");
static_assert(AllRows(kTables.aauShadow[15 + 14 * COVER_SPAN], 0x7F80), "offset (1, 0) keeps columns 0..7");
static_assert(RowsUpTo(kTables.aauShadow[14 + 17 * COVER_SPAN], 8), "offset (0, 3) keeps rows 0..8");
static_assert(Bits(kTables.aauCone[0]) == 64 && Bits(kTables.aauCone[1]) == 64 && Bits(kTables.aauCone[2]) == 64,
              "every cone holds 64 cells");
static_assert(kTables.auRegion[15] == 0x7FFF && kTables.auRegion[1] == 0x4000, "region masks");

std::int32_t PercentOf(const std::uint16_t* w, const std::uint16_t* cone) {
  std::int32_t n = 0;
  for (std::int32_t r = 0; r < COVER_ROWS; r++) {
    std::uint16_t u = static_cast<std::uint16_t>(w[r] & cone[r]);
    n += cover_oTables.abPopcount[u & 0xFF] + cover_oTables.abPopcount[u >> 8];
  }
  return n * 100 / 64;
}

}  // namespace

const CoverTables cover_oTables = kTables;

std::uint16_t cover_ShadowRow(std::int32_t dx, std::int32_t dy, std::int32_t iRow) { return ShadowRow(dx, dy, iRow); }

void cover_Fill(std::uint16_t* w) {
  for (std::int32_t r = 0; r < COVER_ROWS; r++) w[r] = 0x7FFF;
}

void cover_CellAnd(std::uint16_t* w, std::int32_t dx, std::int32_t dy) {
  std::int32_t idSL = dx + 14;
  std::int32_t idSW = dy + 14;
  QDX_ASSERT((COVER_MAP_ARRAY_LENGTH_FIRST <= idSL) && (idSL <= COVER_MAP_ARRAY_LENGTH_LAST));
  QDX_ASSERT((COVER_MAP_ARRAY_WIDTH_FIRST <= idSW) && (idSW <= COVER_MAP_ARRAY_WIDTH_LAST));
  const std::uint16_t* m = cover_oTables.aauShadow[idSL + idSW * COVER_SPAN];
  for (std::int32_t r = 0; r < COVER_ROWS; r++) w[r] &= m[r];
}

void cover_RowsClip(std::uint16_t* w, std::int32_t, std::int32_t iRow) {
  for (std::int32_t k = 0; k < COVER_ROWS; k++) {
    std::int32_t r = iRow - 7 + k;
    if (r < 0 || r > 95) w[k] = 0;
  }
}

void cover_Clear(std::int32_t* paiBlock) { std::memset(paiBlock, 0, 28); }

std::int32_t cover_MaskPercentA(const std::uint16_t* w) { return PercentOf(w, cover_oTables.aauCone[0]); }
std::int32_t cover_MaskPercentB(const std::uint16_t* w) { return PercentOf(w, cover_oTables.aauCone[1]); }

void cover_RectMaskAdd(const std::int32_t* r, std::uint16_t* rows) {
  std::int32_t cx = (r[0] + 60) / 120;
  std::int32_t cy = (r[1] + 60) / 120;
  std::int32_t cw = (r[2] + 60) / 120;
  std::int32_t ch = (r[3] + 60) / 120;
  // Widths above the window and rows outside it are clipped.
  if (cw > 15) cw = 15;
  if (cw < 0 || cx < 0 || cx > 15) return;
  std::uint16_t u = static_cast<std::uint16_t>(cover_oTables.auRegion[cw] >> cx);
  for (std::int32_t k = 0; k < ch; k++) {
    std::int32_t row = cy + k;
    if (row >= 0 && row < COVER_ROWS) rows[row] |= u;
  }
}

std::int32_t cover_ColumnOf(std::int32_t x) { return (x + 9360) * 156 / 18720; }
std::int32_t cover_RowOf(std::int32_t y) { return (y + 5760) * 96 / 11520; }

void player_OpponentGridBuild(Player* pp) {
  std::int32_t c = cover_ColumnOf(pp->x);
  std::int32_t r = cover_RowOf(pp->y);
  cover_Fill(pp->auOpponentGrid);
  cover_RowsClip(pp->auOpponentGrid, c, r);
  for (Player* po = match_OtherTeamFirstPlayerGet(); po; po = po->pNext) {
    std::int32_t dx = cover_ColumnOf(po->x) - c;
    std::int32_t dy = cover_RowOf(po->y) - r;
    if (dx >= -13 && dx <= 13 && dy >= -13 && dy <= 13) cover_CellAnd(pp->auOpponentGrid, dx, dy);
  }
}

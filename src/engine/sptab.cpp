// Set-piece position lookups over the generated tables.
#include "engine/sptab.h"

#include "framework/qdx_assert.h"

namespace {

// Row of the key in a table of rows words wide: the first that holds it.
template <int W>
const std::int32_t* Row(const std::int32_t (&table)[SPTAB_ROWS][W], std::int32_t iKey) {
  for (int r = 0; r < SPTAB_ROWS; r++)
    if (table[r][0] == iKey) return table[r];
  return nullptr;
}

std::int32_t Lookup(std::int32_t iKey, std::int32_t iKind, const std::int32_t** ppiOut, int iPart) {
  QDX_ASSERT(iKind >= 0 && iKind <= 15);
  const std::int32_t* row;
  std::int32_t iWord;
  if (iKind < 8) {
    row = Row(sptab_aThrowIn, iKey);
    iWord = iPart == 0 ? 1 + 3 * iKind : iPart == 1 ? 49 + 3 * iKind : 97 + iKind;
  } else if (iKind == 8) {
    row = Row(sptab_aCorner, iKey);
    iWord = iPart == 0 ? 1 : iPart == 1 ? 4 : 7;
  } else {
    row = Row(sptab_aFreeKick, iKey);
    iWord = iPart == 2 ? 13 + iKind : 1 + 3 * (iKind - 9);
  }
  if (!row) return 0;
  *ppiOut = row + iWord;
  return 1;
}

}  // namespace

std::int32_t sptab_NearSideGet(std::int32_t iKey, std::int32_t iKind, const std::int32_t** ppiOut) {
  return Lookup(iKey, iKind, ppiOut, 0);
}
std::int32_t sptab_FarSideGet(std::int32_t iKey, std::int32_t iKind, const std::int32_t** ppiOut) {
  return Lookup(iKey, iKind, ppiOut, 1);
}
std::int32_t sptab_DefenceGet(std::int32_t iKey, std::int32_t iKind, const std::int32_t** ppiOut) {
  return Lookup(iKey, iKind, ppiOut, 2);
}

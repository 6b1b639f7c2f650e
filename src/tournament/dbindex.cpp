// Look-ups in the generated block index and team-edition table.
#include "tournament/dbindex.h"

namespace {

const std::uint32_t* Pair(std::int32_t iKey, std::int32_t iEdition) {
  // A negative key, one past the index or an edition outside 0..10 (the
  // dream team is 11) names no block: reading on would land in the next row.
  if (iKey < 0 || iEdition < 0 || iEdition >= DB_EDITIONS) return nullptr;
  const std::int32_t iRow = iKey / DB_KEY_STEP;
  if (iRow >= director_cDumpIndexRows) return nullptr;
  return director_auDumpIndex[iRow][iEdition];
}

}  // namespace

std::uint32_t director_DumpBlockOffsetGet(std::int32_t iKey, std::int32_t iEdition) {
  const std::uint32_t* p = Pair(iKey, iEdition);
  return p ? p[0] : 0;
}

std::uint32_t director_DumpBlockSizeGet(std::int32_t iKey, std::int32_t iEdition) {
  const std::uint32_t* p = Pair(iKey, iEdition);
  return p ? p[1] : 0;
}

const DBTeamEditions* dbteams_Find(std::int32_t iTeamId) {
  for (std::int32_t i = 0; i < dbteams_cTeams; i++)
    if (dbteams_aTeams[i].iTeamId == iTeamId) return &dbteams_aTeams[i];
  return nullptr;
}

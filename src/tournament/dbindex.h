#pragma once
// The block index of the player database and the team editions it was built
// from, both generated with the database (tools/database/dbgen).
//
// The index has one row per database number (a team's key divided by 16) and
// in it one {byte offset, byte size} pair per edition, 1958 to 1998. Offsets
// are multiples of 2048; a size is 4 + 112 x the players of the block, or 0
// where the team has no squad for that edition.
#include <cstdint>

constexpr std::int32_t DB_EDITIONS = 11;        // 1958 to 1998
constexpr std::int32_t DB_BLOCK_ALIGN = 2048;
constexpr std::int32_t DB_BLOCK_HEADER = 4;
constexpr std::int32_t DB_KEY_STEP = 16;        // key = 16 x database number

extern const std::uint32_t director_auDumpIndex[][DB_EDITIONS][2];
extern const std::int32_t director_cDumpIndexRows;

// The pair of the team's key and the edition. An edition outside 0..10 or a
// key past the index has no block: both give 0.
std::uint32_t director_DumpBlockOffsetGet(std::int32_t iKey, std::int32_t iEdition);
std::uint32_t director_DumpBlockSizeGet(std::int32_t iKey, std::int32_t iEdition);

// A team's editions as the database has them: the source of the
// confederation tables' masks, ratings, formations and keys.
struct DBTeamEditions {
  std::int32_t iTeamId;          // 1..204, the abbreviation id
  std::int32_t iNumber;          // database number; key = 16 x number
  std::uint16_t uMask;           // bit e: the team entered edition e
  std::uint16_t uFinalsMask;     // bit e: the team played the finals of edition e
  std::int8_t aiRating[DB_EDITIONS];     // 1..10 where entered, else 0
  std::int8_t aiFormation[DB_EDITIONS];  // 0..18 where entered, else 0
};

extern const DBTeamEditions dbteams_aTeams[];
extern const std::int32_t dbteams_cTeams;

// The editions of a team id, or null for a team the database does not hold.
const DBTeamEditions* dbteams_Find(std::int32_t iTeamId);

#pragma once
// A history-mode tournament as a byte stream in the save file's 65536-byte
// block: the size word, the global chunk, the team-state block and the tree
// as tagged chunks in tree order.
#include <cstdint>

#include "tournament/tmtree.h"

constexpr std::int32_t TMSAVE_BLOCK_SIZE = 65536;
constexpr std::int32_t TMSAVE_GLOBAL_SIZE = 640;
constexpr std::int32_t TMSAVE_TEAMSTATE_SIZE = 17652;
constexpr std::int32_t TMSAVE_VERSION = 125;

enum : std::uint8_t {
  TMMAIN_CHUNKGLOBAL = 'O', TMMAIN_CHUNKYEAR = 'G', TMMAIN_CHUNKCONF = 'H', TMMAIN_CHUNKGROUP = 'I',
  TMMAIN_CHUNKROUND = 'J', TMMAIN_CHUNKGROUPTEAM = 'K', TMMAIN_CHUNKROUNDTEAM = 'L', TMMAIN_CHUNKFIXTURE = 'M',
  TMMAIN_CHUNKFIXTUREDATE = 'N', TMMAIN_CHUNKEND = 'P',
};

// Bytes of the tree chunks of a year list, the end chunk included.
std::int32_t tmmain_TreeSizeGet(const Year* pList);
std::int32_t tmmain_TeamStateSizeGet();

// Per-chunk writers: each writes its chunk at the cursor and advances it.
void tmmain_YearChunkWrite(std::uint8_t** pp, const Year* y);
void tmmain_ConfChunkWrite(std::uint8_t** pp, const Confederation* c);
void tmmain_GroupChunkWrite(std::uint8_t** pp, const Group* g);
void tmmain_RoundChunkWrite(std::uint8_t** pp, const Round* r);
void tmmain_TeamChunkWrite(std::uint8_t** pp, const TMTeam* t, std::int32_t bRoundTeam);
void tmmain_FixtureChunkWrite(std::uint8_t** pp, const Fixture* f);
void tmmain_FixtureDateChunkWrite(std::uint8_t** pp, const FixtureDate* d);
void tmmain_EndChunkWrite(std::uint8_t** pp);
void tmmain_TreeSave(const Year* pList, std::uint8_t** pp);
// The global chunk followed by the team-state block; 0 when the team state
// does not fit its block.
std::int32_t tmmain_GlobalChunkSave(std::uint8_t** pp);

// The team-state block: the match record (match_SaveAreaWrite), the two
// squad-cache slots, the players of each slot as a squad block, and the
// settings words. The save fails (0) when a slot holds more players than a
// block keeps.
constexpr std::int32_t TMSAVE_SQUAD_BLOCK_SIZE = 2516;
constexpr std::int32_t TMSAVE_SQUAD_BLOCK_PLAYERS = 22;
constexpr std::int32_t TMSAVE_SETTINGS_WORDS = 48;
std::int32_t tmmain_TeamStateSave(std::uint8_t* pb);
// Settings words 26 to 46 belong to the history screens: they give the words
// to write, check the words read before anything changes, and take them back
// after a load. Without them the words are written 0 and must read 0.
constexpr std::int32_t TMSAVE_HISTORY_FIRST = 26;
constexpr std::int32_t TMSAVE_HISTORY_WORDS = 21;
struct TMSaveHistoryWords {
  void (*pfnWrite)(std::uint32_t* puWords);
  std::int32_t (*pfnCheck)(const std::uint32_t* puWords);
  void (*pfnRead)(const std::uint32_t* puWords);
};
void tmsave_HistoryWordsSet(const TMSaveHistoryWords* poWords);
// 1 when the block can be read back; nothing changes.
std::int32_t tmmain_TeamStateCheck(const std::uint8_t* pb);
// The team-name id of human team 2 to 4 (iHuman 1 to 3) that a block keeps.
std::uint32_t tmmain_TeamStateHumanGet(const std::uint8_t* pb, std::int32_t iHuman);
// Restores a checked block: match record, squad cache, settings.
void tmmain_TeamStateLoad(const std::uint8_t* pb);

// The whole stream into a block of cBlock bytes (undefined bytes 0); its
// length, or 0 when it does not fit.
std::int32_t tmsave_Write(std::uint8_t* pBlock, std::int32_t cBlock);
// Checks the whole stream (and the shape of every year against its year
// file) before anything changes; 1 when the tournament was replaced by it,
// 0 when it was refused and the running tournament left as it was.
std::int32_t tmsave_Read(const std::uint8_t* pBlock, std::int32_t cBlock);
// Why the last tmsave_Read refused its stream, in words ("" when it read it).
const char* tmsave_RefusalGet();
// Records the reason of a refusal (printf style); false, for the checks to
// return.
bool tmsave_RefusalSet(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));
// Where the reader takes a year's file text from (by key index) instead of
// the year files; null for the files.
void tmsave_YearTextSourceSet(const char* (*pfn)(std::uint32_t uKey, std::int32_t* pcLength));

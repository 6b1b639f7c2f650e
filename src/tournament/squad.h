#pragma once
// The squad cache: two slots, one per side of the next match, each holding
// one team's squad of database players for one edition. A slot keeps its
// players in a store of its own, so it outlives the buffer the squad was read
// through.
#include <cstdint>

#include "tournament/dbplayer.h"

constexpr std::int32_t SQUAD_NAME_SIZE = 40;  // with the terminating NUL
constexpr std::int32_t TEAM_SQUADSIZE_MAX = 50;
constexpr std::int32_t SQUADCACHE_SLOTS = 2;

struct Squad {
  char szTeamName[SQUAD_NAME_SIZE];  // full team name in the current language
  std::int32_t iTeamId;              // word 10
  std::int32_t iEdition;             // word 11: 0..10, 11 the dream team
  void* pvBlock;                     // the loaded block
  DBPlayer* poFirstPlayer;           // first entry of the squad
  std::int32_t aiCleared[2];         // cleared on loading
  std::int32_t Size;                 // entries, at most TEAM_SQUADSIZE_MAX
  std::int32_t iCleared;             // cleared on loading
};

// The team a squad is loaded for: its abbreviation id and its database key
// (16 x its row of the block index).
struct SquadTeamRef {
  std::int32_t iTeamId;
  std::int32_t iKey;
};

// Reads the team's block for the edition through the buffer (which must hold
// 4 + 112 x the block's players; a longer block is refused) and registers it
// in the slot. Returns the slot, or null when the database cannot be opened,
// the index has no block, or the block is damaged; the slots are then as they
// were.
Squad* squadcache_Load(const SquadTeamRef* poTeam, std::int32_t iEdition, std::int32_t iSlot, void* pvBuffer,
                       std::int32_t cbBuffer);
// Decodes a block (its 4-byte header and 112-byte records) into at most cMax
// records. Returns 0, writing nothing to *pcOut, when the header's count does
// not match the block's size or a record is unusable.
std::int32_t squadcache_BlockDecode(const std::uint8_t* pbBlock, std::int32_t cbBlock, DBPlayer* paOut,
                                   std::int32_t cMax, std::int32_t* pcOut);
// The slot whose team id and edition match, else null.
Squad* squadcache_Find(std::int32_t iTeamId, std::int32_t iEdition);
// Empties both slots.
void squadcache_Clear();
// Registers a squad in a slot: the name, the team id, the edition and at most
// TEAM_SQUADSIZE_MAX players copied into the slot's store.
void squadcache_SlotSet(const char* pszName, std::int32_t iTeamId, const DBPlayer* paPlayers, std::int32_t cPlayers,
                        std::int32_t iEdition, std::int32_t iSlot);
Squad* squadcache_SlotGet(std::int32_t iSlot);

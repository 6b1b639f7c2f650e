#pragma once
// A squad-cache slot: one team's squad of database players for one edition.
// There are two slots; the match sides point at them, and the team id and the
// edition are what a side's rating is looked up by.
#include <cstdint>

#include "tournament/dbplayer.h"

constexpr std::int32_t SQUAD_NAME_SIZE = 40;  // with the terminating NUL
constexpr std::int32_t TEAM_SQUADSIZE_MAX = 50;

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

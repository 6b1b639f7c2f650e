#pragma once
// Stadiums of every team and finals venue, with their years of use and city
// names in six languages (generated from assets/tournament/stadiums.txt).
#include <cstdint>

struct Round;

constexpr std::int32_t STADIUM_COUNT = 323;
constexpr std::int32_t STADIUM_CITY_SIZE = 20;

struct StadiumRow {
  std::uint32_t uHost;   // team id
  std::uint8_t cType;    // 1 home, 2 second home, 3 one of several, 0 finals venue
  std::uint8_t cPitch;   // 0..4
  std::uint16_t uFirst;  // four-digit years of use
  std::uint16_t uLast;
  std::uint16_t uLook;
  std::uint8_t bSpecial;
};

extern const StadiumRow stadium_aTable[STADIUM_COUNT];
extern const char* const stadium_aszCities[6][STADIUM_COUNT];

std::int32_t stadium_HostGet(std::int32_t iId);
void stadium_CityNameGet(std::int32_t iId, char* pszOut);
// The team's stadium in the year 1958 + 4 x edition.
std::int32_t stadium_HomeFind(std::int32_t iTeam, std::int32_t iEdition);
// The stadium of the current match; sets the match's home-ground word.
std::int32_t stadium_Choose(std::int32_t iEdition, const Round* pRound);
std::int32_t stadium_IDFromText(const char* psz);
std::int32_t stadium_RoundCountGet(const Round* pRound);

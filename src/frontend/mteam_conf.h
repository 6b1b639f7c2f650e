#pragma once
// The confederation tables of the team selection: one entry per team and
// confederation, with the editions the team took part in, its rating and
// formation for each and its database key (generated from the assets).
#include <cstdint>

struct ConferenceEntry {
  std::uint32_t uTeam;
  std::uint16_t uMask;          // bit e: edition e
  std::uint8_t acRatings[6];    // edition e: low nibble (e even) or high nibble of byte e / 2
  std::int8_t acFormations[11];
  std::uint32_t uKey;           // 16 x the team's database number
};

constexpr std::int32_t MTEAM_CONFERENCES = 6;
// The team selection sorts them in place by the current language's names.
extern ConferenceEntry* const mteam_apConferences[MTEAM_CONFERENCES];
extern const std::int32_t mteam_acConferenceSizes[MTEAM_CONFERENCES];

// The first entry, tables 0 to 5, of the team with the current edition's
// bit; null (after a message) when there is none.
const ConferenceEntry* mteam_FindConference(std::int32_t iTeam);
const ConferenceEntry* mteam_FindConferenceForYear(std::int32_t iTeam, std::int32_t iEdition);
std::int32_t mteam_RatingGet(const ConferenceEntry* p, std::int32_t iEdition);

// Lookups in the confederation tables.
#include "frontend/mteam_conf.h"

#include <cstdio>

#include "tournament/tmtree.h"

namespace {
const ConferenceEntry* Find(std::int32_t iTeam, std::uint32_t uMask) {
  for (std::int32_t t = 0; t < MTEAM_CONFERENCES; t++)
    for (std::int32_t i = 0; i < mteam_acConferenceSizes[t]; i++) {
      const ConferenceEntry& e = mteam_apConferences[t][i];
      if (e.uTeam == static_cast<std::uint32_t>(iTeam) && (e.uMask & uMask)) return &e;
    }
  return nullptr;
}
}  // namespace

const ConferenceEntry* mteam_FindConference(std::int32_t iTeam) {
  const ConferenceEntry* p = Find(iTeam, tmglobal_EditionMaskGet());
  if (!p)
    std::printf("can't find conference for TLA %d, cYear %u: file \"%s\" line %d\n", iTeam, tmglobal_EditionMaskGet(),
                __FILE__, __LINE__);
  return p;
}

const ConferenceEntry* mteam_FindConferenceForYear(std::int32_t iTeam, std::int32_t iEdition) {
  const ConferenceEntry* p = Find(iTeam, tmglobal_EditionMaskMake(iEdition));
  if (!p)
    std::printf("can't find conference AGAIN for TLA %d, cYear %u: file \"%s\" line %d\n", iTeam,
                tmglobal_EditionMaskMake(iEdition), __FILE__, __LINE__);
  return p;
}

std::int32_t mteam_RatingGet(const ConferenceEntry* p, std::int32_t iEdition) {
  if (!p || iEdition < 0 || iEdition > 10) return 0;
  const std::uint8_t b = p->acRatings[iEdition / 2];
  return (iEdition % 2) ? (b >> 4) : (b & 15);
}

#pragma once
// A new history of one human team as the set-up leaves it, over the
// tournament's campaign driver, for the history screens' tests.
#include <cstdint>

#include "campaign_driver.h"
#include "frontend/mfhmain.h"
#include "tournament/tla.h"
#include "tournament/tmtree.h"

inline std::uint32_t Id(const char* psz) { return static_cast<std::uint32_t>(tla_IDFind(psz)); }

inline void HistoryNew(const char* pszTeam, std::int32_t iStartYear, std::int32_t bPlayQualifiers,
                       std::uint32_t uSeed) {
  CampaignReset(uSeed);
  tmglobal.aHumans[0].Name = Id(pszTeam);
  tmglobal.cHumans = 1;
  tmglobal.iStartYear = iStartYear;
  tmglobal_YearSet(iStartYear);
  tmglobal.bPlayQualifiers = bPlayQualifiers;
  tmglobal.bSecondOption = 1;
  tmglobal.bStarted = 0;
  tmglobal.bFinalsLoaded = 0;
  mfhmain_oScreen.cEditionsPlayed = 0;
}

#pragma once
// What a loaded tournament names as teams can be shown: every id the screens
// hand to the name tables is one of theirs (the human teams, the roll of
// honour, the new qualifiers, the holders, the squads), and every team of the
// tree a name of the tournament's table or a free slot.
#include <cstdint>

#include "fuzz_support.h"
#include "tournament/squad.h"
#include "tournament/tla.h"
#include "tournament/tmtree.h"

namespace korvena_fuzz {

inline void TeamShown(std::uint32_t u, const char* pszWhat) {
  if (u >= static_cast<std::uint32_t>(TLA_COUNT)) Fail(pszWhat);
  if (tla_NameGet(static_cast<std::int32_t>(u)) == nullptr) Fail(pszWhat);
}

inline void LoadedTeamsShownCheck() {
  for (const HumanTeam& h : tmglobal.aHumans) TeamShown(h.Name, "a loaded human team has no name");
  for (const RollOfHonourEntry& e : tmglobal.aRoll)
    for (std::uint32_t u : {e.Winner, e.RunnerUp, e.Third, e.Fourth}) TeamShown(u, "a loaded roll of honour team has no name");
  for (std::int32_t i = 0; i < tmglobal.newqual_iCurrentQualifier && i < NEWQUAL_NUM_QUALIFIERS; i++)
    TeamShown(tmglobal.aNewQual[i].Name, "a loaded new qualifier has no name");
  for (std::uint32_t u : tmglobal.aHolders) TeamShown(u, "a loaded holder has no name");
  for (std::int32_t k = 0; k < SQUADCACHE_SLOTS; k++)
    TeamShown(static_cast<std::uint32_t>(squadcache_SlotGet(k)->iTeamId), "a loaded squad's team has no name");
  for (const Year* y = TheYearList; y; y = y->pNext)
    for (const Confederation* c = y->pConfs; c; c = c->pNext)
      for (const Group* g = c->pGroups; g; g = g->pNext)
        for (const Round* r = g->pRounds; r; r = r->pNext)
          for (const TMTeam* t = r->pTeams; t; t = t->pNext) {
            if (t->Name > static_cast<std::uint32_t>(TM_MAX)) Fail("a loaded tree team is past the name table");
            (void)tmteam_NameText(t->Name);
          }
}

}  // namespace korvena_fuzz

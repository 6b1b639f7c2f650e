// The history hub's services.
#include <cstring>

#include "frontend/frontend_services.h"
#include "tournament/tmtree.h"

// The code of the first confederation, in tree order, whose rounds list the
// team; "CONMEBOL" counts as 16 in its "Group B". 0 when none lists it.
int32_t mfhmain_ConfCodeGet(std::uint32_t TeamId) {
  static const char* const kNames[] = {"UEFA", "CONMEBOL", "CONCACAF", "AFC-CAF", "CAF-AFC-OFC", "AFC-OFC", "OFC",
                                       "CAF", "AFC", "UEFA-CONMEBOL", "UEFA-OFC", "UEFA-AFC-CAF", "CONMEBOL-OFC",
                                       "CONCACAF-OFC"};
  if (TeamId == 0) return 0;
  for (const Year* y = TheYearList; y != nullptr; y = y->pNext)
    for (const Confederation* c = y->pConfs; c != nullptr; c = c->pNext)
      for (const Group* g = c->pGroups; g != nullptr; g = g->pNext)
        for (const Round* r = g->pRounds; r != nullptr; r = r->pNext)
          for (const TMTeam* t = r->pTeams; t != nullptr; t = t->pNext) {
            if (t->Name != TeamId) continue;
            for (int32_t i = 0; i < 14; ++i) {
              if (std::strcmp(c->szName, kNames[i]) != 0) continue;
              return i == 1 && std::strcmp(g->szName, "Group B") == 0 ? 16 : i + 1;
            }
            break;  // a confederation without a code: look further
          }
  return 0;
}
